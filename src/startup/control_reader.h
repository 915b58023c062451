// The control-file reader kread: truncates the log, sets every default, walks
// "control" once character by character and runs the reader of each data set
// whose letter it meets; then completes the read (checks across data sets,
// structured arrays, side files).
#pragma once

#include "startup/control_stream.h"

// Reads "control" completely; every read error ends the process inside it.
void kread();

// Assigns the default of every setting and table that "control" can change.
void kreadDefaults();

// The first pass over the control text: at most 30000 characters examined.
void kreadPass(ControlStream &stream);

// What follows the pass: closes "control" and completes the read.
void kreadTail();

// Runs the reader of one data-set letter met by the pass.
void readDataSetLetter(int letter, ControlStream &stream);
