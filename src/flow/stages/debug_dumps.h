// Diagnostic dumps of single cells to the log.
#pragma once

// The values of a collapsed cell at the water edge after inner iteration `inner`.
void printDebugTrekant(int cell, int inner);
