// The pressure of the corner columns of block 1 (F 437): a column open on two
// adjacent sides only takes the mean of its two neighbours' column-mean
// pressures, which the correction stage cannot balance there.
#include "flow/pressure_limits/corner_column_pressure.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/structured.h"

namespace {

double columnMeanPressure(int c) {
  double sum = 0.0;
  int n = 0;
  for (int k = c; k > 0; k = Ccellt[k]) {
    sum += Cpres[k];
    ++n;
  }
  return sum / n;
}

}  // namespace

// The interior columns of block 1 (outermost lines excluded); the value goes
// to the bottom cell, which for the usual one-cell corners is the column.
void TrekantPresCorr(int, int) {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1 + 1; i <= b.i2 - 1; ++i) {
    for (int j = b.j1 + 1; j <= b.j2 - 1; ++j) {
      const int b0 = static_cast<int>(zval[i][j][0]);
      if (b0 <= 0) continue;
      const int e = Ccelle[b0], w = Ccellw[b0], n = Ccelln[b0], s = Ccells[b0];
      int k1 = 0, k2 = 0;
      if (e == 0 && s == 0 && n > 0 && w > 0) k1 = n, k2 = w;
      else if (e == 0 && n == 0 && s > 0 && w > 0) k1 = s, k2 = w;
      else if (w == 0 && s == 0 && e > 0 && n > 0) k1 = e, k2 = n;
      else if (w == 0 && n == 0 && e > 0 && s > 0) k1 = e, k2 = s;
      else continue;
      Cpres[b0] = 0.5 * columnMeanPressure(k1) + 0.5 * columnMeanPressure(k2);
    }
  }
}
