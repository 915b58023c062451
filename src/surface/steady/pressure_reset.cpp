// Pressure reset after the grid has moved to new water levels (F 128): all
// pressures to 0, supercritical cross-sections raised to critical flow, or
// hydrostatic pressures from the column tops. Writes Cpres.
#include <algorithm>
#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

int bottomCellOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

double bed(int i, int j) { return zval[i][j][1]; }

// Mean velocity through the column's faces on one side (east or north),
// positive toward the neighbour, and its Froude number.
void crossSection(int top, const int *sideFace, double &U, double &Fr) {
  double dz = 0.0, area = 0.0, flux = 0.0;
  for (int c = top; c > 0; c = Ccellb[c]) {
    const int f = sideFace[c];
    dz += Fdz[f];
    area += Farea[f];
    flux += Fflux[f];
  }
  U = flux * 0.001 / (area + 1e-20);
  Fr = std::fabs(U) / std::sqrt(9.81 * dz + 1e-20);
}

// A supercritical cross-section: the upstream column's pressures are raised
// to the energy level of critical flow at the face, less the velocity head
// of its top cell.
void raiseToCritical(int upstreamTop, double meanBed, double U) {
  const double u = Cxvel[upstreamTop], v = Cyvel[upstreamTop];
  const double p = (meanBed + 1.5 * U * U / 9.81 - (u * u + v * v) / 19.62 - GlobZRef) * 9810.0 + GlobPresRef;
  for (int c = upstreamTop; c > 0; c = Ccellb[c]) Cpres[c] = std::max(Cpres[c], p);
}

void criticalColumn(int i, int j) {
  const int ta = topOf(bottomCellOf(i, j));
  if (ta <= 0) return;
  const int tb = topOf(bottomCellOf(i, j + 1)), td = topOf(bottomCellOf(i + 1, j));
  double U, Fr;
  if (td > 0) {
    crossSection(ta, Cflatee, U, Fr);
    if (Fr > 1.0) raiseToCritical(U > 0.0 ? ta : td, 0.5 * (bed(i, j - 1) + bed(i, j)), U);
  }
  if (tb > 0) {
    crossSection(ta, Cflaten, U, Fr);
    if (Fr > 1.0) raiseToCritical(U > 0.0 ? ta : tb, 0.5 * (bed(i, j) + bed(i - 1, j)), U);
  }
}

// Hydrostatic pressure of the column's top face relative to the reference
// level, the same in every cell of the column.
void hydrostaticColumn(int i, int j) {
  const int t = topOf(bottomCellOf(i, j));
  if (t <= 0) return;
  const double p = (Czcenter[t] + Ckdist[t] - GlobZRef) * 9810.0;
  for (int c = t; c > 0; c = Ccellb[c]) Cpres[c] = p;
}

}  // namespace

void computeSetPresZero() {
  if (FlagPresSetZero == -1) {
    std::fill(Cpres, Cpres + NoCells + 1, 0.0);
    return;
  }
  if (FlagPresSetZero != 2 && FlagPresSetZero != 3) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &g = block[b];
    if (g.GridLevel != 0 || SurfUpdate[b] != 1) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) FlagPresSetZero == 2 ? criticalColumn(i, j) : hydrostaticColumn(i, j);
    }
  }
}
