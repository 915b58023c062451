// The vertical corner lines of a built water column, as the routines that
// reshape the grid at the water edge see them: corner k (1..4) of column
// (i, j) stands on grid point (i-1, j-1), (i, j-1), (i, j), (i-1, j); its line
// is the lower corner point of the bottom cell and the upper corner point of
// every cell above.
#pragma once

#include "model/cells.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

inline constexpr int kCornerDi[5] = {0, -1, 0, 0, -1};
inline constexpr int kCornerDj[5] = {0, -1, -1, 0, 0};

inline int *lowerCorner(int k) {
  int *const t[5] = {nullptr, Cpoint1, Cpoint2, Cpoint3, Cpoint4};
  return t[k];
}

inline int *upperCorner(int k) {
  int *const t[5] = {nullptr, Cpoint5, Cpoint6, Cpoint7, Cpoint8};
  return t[k];
}

// Bottom cell of column (i, j), 0 for a column without cells or outside the arrays.
inline int columnBottom(int i, int j) {
  if (i < 0 || j < 0 || i > xnumber + 1 || j > ynumber + 1) return 0;
  return static_cast<int>(zval[i][j][0]);
}

inline double gridDepth(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// The top point of corner k of the column with bottom cell b.
inline int topOfCorner(int b, int k) {
  int c = b;
  while (Ccellt[c] > 0) c = Ccellt[c];
  return upperCorner(k)[c];
}

// Every point of the vertical line of corner k takes the plan position (x, y),
// so the line stays vertical.
inline void placeCornerLine(int b, int k, double x, double y) {
  const int bottom = lowerCorner(k)[b];
  Px[bottom] = x;
  Py[bottom] = y;
  for (int c = b; c > 0; c = Ccellt[c]) {
    const int p = upperCorner(k)[c];
    Px[p] = x;
    Py[p] = y;
  }
}
