// Process entry and run-letter dispatch: make sure "control" exists, read it,
// allocate the tables and execute the run letters of F 2.
#pragma once

#include <cstdint>

// The process entry; returns 1 when every run letter did its work. A run
// whose letters stopped after an error line ends with 2, one whose flow
// diverged with 3 (through fatalExit, with its console line).
int telvaMain();

// Reads "control", allocates the unstructured tables and runs the letters;
// false when the letters stopped after an error line (allocation, grid file,
// "timei").
bool InitialFunction();

// Executes one run letter of the given pass (1-based); false ends the letters.
bool RunLetter(char letter, std::int64_t pass);
