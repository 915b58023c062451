// Process entry and run-letter dispatch: make sure "control" exists, read it,
// allocate the tables and execute the run letters of F 2.
#pragma once

#include <cstdint>

// The process entry; returns 1, the status of a normal run.
int telvaMain();

// Reads "control", allocates the unstructured tables and runs the letters.
void InitialFunction();

// Executes one run letter of the given pass (1-based); false ends the letters.
bool RunLetter(char letter, std::int64_t pass);
