// Vertical resolution of the water columns: the depth thresholds, the number
// of grid lines at every grid line (antlin) and of cells in every column (ant).
// Writes antlin, ant, num of the block, MinVertDist0 and MinVertDist1.
#include <algorithm>
#include <cmath>

#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/log.h"

namespace {

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

}  // namespace

// The thresholds scale with the largest column: a 100 m2 column gives a
// one-cell depth of 1 m and a dry depth of 0.05 m.
void computeF94() {
  double largest = 0.0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) largest = std::max(largest, armap[i][j]);
    }
  }
  MinVertDist1 = 0.1 * std::sqrt(largest);
  MinVertDist0 = 0.05 * MinVertDist1;
  if (debugging == 'D') logPrintf("Computed F 94 parameters to %lf %lf\n", MinVertDist0, MinVertDist1);
}

// Below MinVertDist0 a line is dry (1), below MinVertDist1 it has one cell
// height (2); deeper lines follow the power law (d·s)^GridDistCoeff of the
// depth relative to MaxDepth, from 2 up to znumber lines.
void MakeAntlin(int i1, int i2, int j1, int j2, double s) {
  const double span = znumber - 2;
  for (int i = i1 - 1; i <= i2; ++i) {
    for (int j = j1 - 1; j <= j2; ++j) {
      std::fill(num[i][j] + 1, num[i][j] + znumber + 1, 0);
      const double d = depthAt(i, j);
      int lines;
      if (d < MinVertDist0) {
        lines = 1;
      } else if (d < MinVertDist1) {
        lines = 2;
      } else {
        const double v = std::pow(d * s, GridDistCoeff) * span;
        lines = v < span ? static_cast<int>(v) + 2 : znumber;
      }
      antlin[i][j] = lines;
    }
  }
}

// A column has cells as soon as one corner is wet: its count is the largest
// corner count less one. UMethod 13 keeps a newly wet column dry until its
// mean depth reaches MinVertDist2; a G 13 rectangle never has cells.
void MakeAnt(int i1, int i2, int j1, int j2) {
  for (int i = i1; i <= i2; ++i) {
    for (int j = j1; j <= j2; ++j) {
      int n = std::max({antlin[i - 1][j - 1], antlin[i - 1][j], antlin[i][j], antlin[i][j - 1]}) - 1;
      if (UMethod == 13 && pointcell_old[i][j] == 0) {
        const double mean = 0.25 * (depthAt(i - 1, j - 1) + depthAt(i - 1, j) + depthAt(i, j) + depthAt(i, j - 1));
        if (mean < MinVertDist2) n = 0;
      }
      if (bedOutBlock[i][j] == 1) n = 0;
      ant[i][j] = n;
    }
  }
}
