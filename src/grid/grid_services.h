// Grid generation and geometry as the other subsystems call it.
#pragma once

void readKoosurf();       // reads "koosurf" into a new block
void bedinter();          // bed levels of the grid points from the bed points
void computeRoughness();  // roughness from the bed points, "bedrough.new"

// Builds cells, faces and points from the blocks: 1 on success; -1 when the
// tables could not be allocated; negative when a table of F 65 is too small
// (the generator has logged which and what was reached).
int Unstructure();

// Every caller of Unstructure passes its result here: a failed generation
// leaves a half-built grid, so the run ends, with -1 after a failed
// allocation and -2 after a full table.
void endOnGridFailure(int result);
