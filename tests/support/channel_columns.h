// The water columns of a generated channel as the flow checks read them:
// the cells of a column and the pressure slope along a row of columns.
#pragma once

#include <vector>

#include "model/cells.h"
#include "model/structured.h"

// The cells of column (i, j), bottom up.
inline std::vector<int> columnCells(int i, int j) {
  std::vector<int> cells;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) cells.push_back(c);
  return cells;
}

// The least-squares slope along x of value(cell) over the mid-depth cells of
// columns i = firstI..lastI of row j; 0 when one of the columns is dry.
template <class Value>
double midDepthSlope(int firstI, int lastI, int j, Value value) {
  double n = 0, sx = 0, sxx = 0, sp = 0, sxp = 0;
  for (int i = firstI; i <= lastI; ++i) {
    const std::vector<int> cells = columnCells(i, j);
    if (cells.empty()) return 0.0;
    const int mid = cells[cells.size() / 2];
    const double x = Cxcenter[mid], p = value(mid);
    n += 1;
    sx += x;
    sxx += x * x;
    sp += p;
    sxp += x * p;
  }
  return (n * sxp - sx * sp) / (n * sxx - sx * sx);
}
