// Line (TDMA) solvers of the current Equation: the vertical couplings taken
// implicitly along the cell numbers, the horizontal neighbours explicitly.
#pragma once

// One tridiagonal elimination over the work range in cell order (over every
// cell with the second-order scheme and its second neighbours), with the
// horizontal neighbour values held before the call.
void solverTDMA();

// Each water column of five cells or more of the base-grid blocks solved as its
// own tridiagonal system, columns i from i2 down to i1 and j up; a column
// reads the values already written for the columns solved before it.
void solverVertTDMA();
