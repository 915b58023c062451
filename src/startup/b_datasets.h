// The B data sets: rectangles of grid columns per block, taken by a second
// pass over "control" once the grid sizes of G 1 are final.
#pragma once

#include "startup/control_stream.h"

// Clears the B records: none written (NoBdatasets -1).
void setBDataSetDefaults();

// The second pass over the text of "control": at most 10,000 characters
// examined; skips the 10 characters after F 2 and F 7 and the 30 after T.
void readBDataSets(ControlStream &stream);

// Opens "control" again and runs the pass over it; a file that cannot be
// opened ends the process with -3.
void readBDataSets();
