// Writers of control files: "control.new" with a selection of the current
// settings (the grid generators write it when their tables overflow), and a
// minimal "control" that no routine calls.
#pragma once

// Writes "control.new"; a file that cannot be created ends the process with -4.
void writeControl();

// Writes a minimal "control" after setting an even vertical distribution and
// three start columns; returns the result of closing the file.
int writeControlMin();
