// The one gate of every file the engine reads: a name is opened only when it
// holds a regular file that can be read, so that a folder, a device or a pipe
// in the case folder never reaches a reader (a folder's end-of-file offset is
// no size, and a pipe would block the run), and the buffer of a loaded file
// is asked of the allocator before the text is read into it.
#pragma once

#include <cstdio>
#include <string>

// What the gate found under a name.
enum class InputState {
  Readable,    // a regular file, opened or loaded
  Missing,     // nothing by that name (a dangling link included)
  NotRegular,  // a folder, device, pipe or socket
  Unreadable,  // a regular file that cannot be opened or read
};

// Opens the file for reading when it is a regular, readable file; null
// otherwise, with the reason in state when given.
std::FILE *openInputFile(const char *name, InputState *state = nullptr);

// Loads the whole file into text (replacing what it held). The size is
// checked against what the machine can hold before the buffer is taken; a
// buffer that cannot be had ends the run as out of memory.
InputState loadInputFile(const char *name, std::string &text);

// Loads the whole of a text file; false when it cannot be opened or read
// (the reader then gives its own message).
bool readTextFile(const char *name, std::string &text);

// For a file the run may go without: false when nothing of that name
// exists; a name that holds something that cannot be read ends the run.
bool readOptionalTextFile(const char *name, std::string &text);
std::FILE *openOptionalInputFile(const char *name);

// Ends the run for a file that is there but cannot be read, where its reader
// has no message of its own: "Error: cannot read '<name>': not a regular
// file" and -3.
[[noreturn]] void refuseInputFile(const char *name, InputState state);

// Ends the run when a buffer or table cannot be had: "Could not allocate
// enough memory" and -3.
[[noreturn]] void endOutOfMemory();
