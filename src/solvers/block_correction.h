// Plane block correction of the current Equation before its solve (K 5): one
// additive correction per grid plane from the summed cell equations.
#pragma once

// Adds to every cell of each j-plane, then of each i-plane, the correction
// that the tridiagonal system of the plane sums gives: planes block by block
// (F 98 0) or chained over the whole grid (F 98 1). Does nothing with the
// second-order scheme and its second neighbours, on neighbour-list grids, or
// for other F 98 values.
void BlockCorrection();
