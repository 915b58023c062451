// The points of the plan-view files: the centres of a block's columns and a
// frame on the block's edge lines, each with the two grid lines it is the
// mean of and the column it takes its values from.
#pragma once

#include "files/visualisation/output_variables.h"
#include "model/cells.h"
#include "model/structured.h"

// One index direction of a plan point: the grid lines A and B whose mean
// places it and the column (icol or jcol) it reads.
struct PlanIndex {
  int a, b, column;
};

// Index k of the range first - 1 .. last + 1 of a block's columns: the
// first takes the column after it, the last the column before it.
inline PlanIndex planIndex(int k, int first, int last) {
  if (k == first - 1) return {k, k, k + 1};
  if (k == last + 1) return {k - 1, k - 1, k - 1};
  return {k, k - 1, k};
}

// The mean of a structured table over the four grid points of a plan point.
inline double planMean(double **table, const PlanIndex &i, const PlanIndex &j) {
  return 0.25 * (table[i.a][j.a] + table[i.b][j.a] + table[i.b][j.b] + table[i.a][j.b]);
}

// The mean of grid level k over the four grid points.
inline double planMeanLevel(int k, const PlanIndex &i, const PlanIndex &j) {
  return 0.25 * (zval[i.a][j.a][k] + zval[i.b][j.a][k] + zval[i.b][j.b][k] + zval[i.a][j.b][k]);
}

// The mean of a structured letter over the four grid points.
inline double planMeanValue(char letter, const PlanIndex &i, const PlanIndex &j) {
  return 0.25 * (structuredValue(letter, i.a, j.a) + structuredValue(letter, i.b, j.a) +
                 structuredValue(letter, i.b, j.b) + structuredValue(letter, i.a, j.b));
}

// The cell reached from the bottom cell of column (i, j) by climbing at
// most steps cells, stopping at the top cell; 0 for a dry column.
inline int planeCell(int i, int j, int steps) {
  int c = static_cast<int>(zval[i][j][0]);
  if (c == 0) return 0;
  for (int s = 0; s < steps && Ccellt[c] != 0; ++s) c = Ccellt[c];
  return c;
}
