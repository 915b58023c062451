// Means over the four corner points of plan column (i, j): the grid points
// (i, j), (i-1, j), (i-1, j-1) and (i, j-1), summed in that order.
#pragma once

#include "model/structured.h"

// Mean of a plane of grid-point values (a Surfaces plane, say).
inline double cornerMean(double **plane, int i, int j) {
  return 0.25 * (plane[i][j] + plane[i - 1][j] + plane[i - 1][j - 1] + plane[i][j - 1]);
}

// Mean of level k of zval at the corners (k = 1: the bed).
inline double cornerMean(int i, int j, int k) {
  return 0.25 * (zval[i][j][k] + zval[i - 1][j][k] + zval[i - 1][j - 1][k] + zval[i][j - 1][k]);
}
