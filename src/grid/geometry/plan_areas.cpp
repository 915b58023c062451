// Plan areas of the water columns: armap of every column of the blocks of the
// base grid, from the corner positions in xval and yval.
#include <cmath>

#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"
#include "model/structured.h"

// Half the cross product of the two diagonals is the area of any plane
// quadrilateral, convex or not; a degenerate column (area below 1e-20 m2) gets 0.
void ArmapMake() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const double ax = xval[i][j] - xval[i - 1][j - 1], ay = yval[i][j] - yval[i - 1][j - 1];
        const double bx = xval[i - 1][j] - xval[i][j - 1], by = yval[i - 1][j] - yval[i][j - 1];
        const double area = 0.5 * std::fabs(ax * by - ay * bx);
        armap[i][j] = area < 1e-20 ? 0.0 : area;
      }
    }
  }
}
