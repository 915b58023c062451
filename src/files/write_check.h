// Opening and closing of the files the writers create: a file that cannot
// be created or whose bytes did not all reach the disk ends the run.
#pragma once

#include <cstdio>

// Ends the run as a writer that cannot create its file: "Error writing file
// '<name>'" goes to the log, "cannot open file '<name>' " to mc_message, and
// the run ends with -3.
[[noreturn]] void endCannotOpen(const char *name);

// Closes a written file and checks that every write and the close itself
// succeeded; otherwise "Error writing file '<name>'" goes to the log,
// "cannot write file '<name>' " to mc_message, and the run ends with -3.
// A full disk shows only here, since the stream buffers the writes.
void closeWrittenFile(std::FILE *file, const char *name);
