// Pond reduction: shallow water that stands still on the bed around a grid
// point is lowered to just above the bed, so that the regeneration after the
// surface update leaves those columns dry. Writes the grid-point levels.
#include <initializer_list>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_services.h"

namespace {

// The bed shear stress of a column, 300 times the kinetic energy of its
// bottom cell (Pa), as the largest over the wet columns around point (i, j).
double largestShearAround(int i, int j) {
  double tau = -1e20;
  for (const int di : {0, 1}) {
    for (const int dj : {0, 1}) {
      const int c = static_cast<int>(zval[i + di][j + dj][0]);
      if (c > 0 && 300.0 * Ckinen[c] > tau) tau = 300.0 * Ckinen[c];
    }
  }
  return tau;
}

}  // namespace

void reducePonds() {
  if (FlagReducePonds != 1) return;
  const double shallow = CritReducePonds * MinVertDist0;
  const double pondLevel = 0.5 * MinVertDist0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || SurfUpdate[n] != 1) continue;
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        const double tau = largestShearAround(i, j);
        if (!(tau > 0.0 && tau < ShearReducePonds)) continue;
        double &z = zval[i][j][znumber];
        const double bed = zval[i][j][1];
        if (z - bed < shallow && bed + pondLevel < z) z = bed + pondLevel;
      }
    }
  }
}
