// The column correction of the depth-summed accelerator (F 168, K 5 10-12):
// the current equation summed over the water columns onto the levels of
// AlgMGMake, relaxed level by level and handed back to the columns.
#pragma once

// For p' the level-1 value replaces the values of its column; for the other
// equations the correction from the column means of the residual is added.
// F 344 1 or 2 ends with the column or line TDMA. Does nothing without levels.
void AlgMGSolve();

// Per-cell residuals of cells first..last from the horizontal couplings into
// the current equation's residual field (the source itself for p').
void AlgMGResidual(int first, int last);
