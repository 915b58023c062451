// The depth-summed accelerator on the two-dimensional block of GridMake2D:
// the current equation summed over each water column, relaxed on the block
// and its coarser levels and handed back to the column cells.
#pragma once

// Column sums, coarse sums, one sweep per level from the coarsest down, and
// the value of each column's cell given to every cell of the column.
void Acc2D();

// The summed coefficients of the block and of `levels` levels (at most
// F 168), with every diagonal raised by the four couplings; Cf untouched.
void Acc2Dcoeff(int levels);

// The column means of the current residual field relaxed on the levels and
// added to the solution field of Equations 1, 2, 3, 5 and 6; Cf is restored.
void Acc2Dsolver(int levels);
