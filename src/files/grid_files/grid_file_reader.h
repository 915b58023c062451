// Starting a run from the grid file "unstruc" instead of generating the grid.
#pragma once

// Reads the grid file and the level files "koordina", "koomink" or "koomin",
// and leaves the grid computable (geometry, reference columns, roughness,
// bed-cell index). 0 read; 1 the file cannot be opened; -1 the tables could
// not be allocated; -54, -55 a block beyond the G 1 sizes; -58 a "koomink"
// or "koomin" point that does not match the grid.
int ReadUnstructure();
