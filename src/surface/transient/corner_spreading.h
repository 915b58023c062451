// Spreading of a column's transient level change onto its four grid points:
// upwind weights from the column's Froude number, wall factors, and a limit
// of a tenth of each corner's depth.
#pragma once

// Corners of column (i, j): 1 (i-1, j-1), 2 (i, j-1), 3 (i, j), 4 (i-1, j).
// Adds the increments of dh to the four corner levels and returns them in
// inc[0..3]; writes BFroude of the column and may raise dh first (F 179).
void spreadLevelChange(int i, int j, double &dh, double (&inc)[4]);
