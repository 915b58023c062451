// The vertical corner lines of a built water column, as the routines that
// reshape the grid at the water edge see them: corner k (1..4) of column
// (i, j) stands on grid point (i-1, j-1), (i, j-1), (i, j), (i-1, j); its line
// is the lower corner point of the bottom cell and the upper corner point of
// every cell above.
#pragma once

#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

inline constexpr int kCornerDi[5] = {0, -1, 0, 0, -1};
inline constexpr int kCornerDj[5] = {0, -1, -1, 0, 0};

// Per corner 1..4: its two neighbours along the column's sides and the
// corner across the column.
inline constexpr int kAdjacentA[5] = {0, 2, 1, 2, 1};
inline constexpr int kAdjacentB[5] = {0, 4, 3, 4, 3};
inline constexpr int kOpposite[5] = {0, 3, 4, 1, 2};
// Of two adjacent corners at equal distance, the one a merge (or a move
// along the shorter edge) takes.
inline constexpr int kMergeTie[5] = {0, 4, 3, 4, 1};
// The adjacent corner on the same j line (along x) and on the same i line
// (along y).
inline constexpr int kAlongI[5] = {0, 2, 1, 4, 3};
inline constexpr int kAlongJ[5] = {0, 4, 3, 2, 1};
// The step from the column to the columns beyond corner k: -1 or +1 in i and j.
inline constexpr int kBeyondDi[5] = {0, -1, 1, 1, -1};
inline constexpr int kBeyondDj[5] = {0, -1, -1, 1, 1};

inline int *lowerCorner(int k) {
  int *const t[5] = {nullptr, Cpoint1, Cpoint2, Cpoint3, Cpoint4};
  return t[k];
}

inline int *upperCorner(int k) {
  int *const t[5] = {nullptr, Cpoint5, Cpoint6, Cpoint7, Cpoint8};
  return t[k];
}

// Whether (i, j) lies within the structured arrays, 0..xnumber+1, 0..ynumber+1.
inline bool onStructuredGrid(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }

// Bottom cell of column (i, j), 0 for a column without cells or outside the arrays.
inline int columnBottom(int i, int j) { return onStructuredGrid(i, j) ? static_cast<int>(zval[i][j][0]) : 0; }

// Vertical line count antlin of grid point (i, j), 0 outside the arrays.
inline int gridLines(int i, int j) { return onStructuredGrid(i, j) ? antlin[i][j] : 0; }

inline double gridDepth(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// Grid point of corner k of column (i, j): its depth, water level and
// structured plan position.
inline double cornerDepth(int i, int j, int k) { return gridDepth(i + kCornerDi[k], j + kCornerDj[k]); }
inline double cornerSurface(int i, int j, int k) { return zval[i + kCornerDi[k]][j + kCornerDj[k]][znumber]; }
inline double cornerGridX(int i, int j, int k) { return xval[i + kCornerDi[k]][j + kCornerDj[k]]; }
inline double cornerGridY(int i, int j, int k) { return yval[i + kCornerDi[k]][j + kCornerDj[k]]; }

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
