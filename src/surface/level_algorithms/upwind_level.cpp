// Upwind level propagation: each column takes the weighted mean level of its
// downstream neighbours, supercritical columns stand at their critical-depth
// level, and each grid point moves, relaxed, to the mean level of its
// columns plus their top pressure heads. Writes the coefficient set, Cf and
// the grid levels.
#include "surface/level_algorithms/upwind_level.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "surface/level_equations/level_solver.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

constexpr double kFix = 1e20;
constexpr double kHead = 0.0001019;  // m of water per Pa, as this algorithm has it

// Weight of a neighbour: how far it lies downstream along the top-cell
// velocity (m2/s), never quite 0.
double downstreamWeight(int c, int nb, int t) {
  if (nb <= 0) return 0.0;
  return std::max(1e-20, (Cxcenter[nb] - Cxcenter[c]) * Cxvel[t] + (Cycenter[nb] - Cycenter[c]) * Cyvel[t]);
}

}  // namespace

void surfaceAlgo10(int ref, double zref) {
  Cpres[0] = 0.0;
  Cf[0] = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] != 0) continue;
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = zref;
  }
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c <= 0) continue;
        const int t = topOf(c);
        Caw[c] = downstreamWeight(c, Ccellw[c], t);
        Can[c] = downstreamWeight(c, Ccelln[c], t);
        Cae[c] = downstreamWeight(c, Ccelle[c], t);
        Cas[c] = downstreamWeight(c, Ccells[c], t);
        Cap[c] = Caw[c] + Can[c] + Cae[c] + Cas[c];
        const double F = BFroude[Cbed[c]];
        if (F > 1.0) {
          double half = 0.0;
          for (int k = c; k > 0; k = Ccellt[k]) half += Ckdist[k];
          const double h = 2.0 * half;
          const double U = F * std::sqrt(9.81 * h);
          const double hc = std::pow((U * h) * (U * h) / 9.81, 0.3333333);
          const double v = std::max(Czcenter[c] - Ckdist[c] + hc - kHead * Cpres[t], zref);
          Cap[c] = kFix;
          Csource[c] = kFix * v;
        }
      }
    }
  }
  int r = ref;
  while (r > 0 && Ccellb[r] > 0) r = Ccellb[r];
  if (r > 0) {
    Cap[r] = kFix;
    Csource[r] = kFix * zref;
  }
  surfaceSolver(kSurfaceSolverThreePasses);
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        int k[4] = {static_cast<int>(zval[i][j][0]), static_cast<int>(zval[i][j + 1][0]),
                    static_cast<int>(zval[i + 1][j + 1][0]), static_cast<int>(zval[i + 1][j][0])};
        if (k[0] == 0 && k[1] == 0 && k[2] == 0 && k[3] == 0) continue;
        if (NoBlocks != 1) {
          if (k[0] == 0 && k[1] != 0) k[0] = Ccells[k[1]];
          if (k[0] == 0 && k[3] != 0) k[0] = Ccellw[k[3]];
          if (k[1] == 0 && k[0] != 0) k[1] = Ccelln[k[0]];
          if (k[1] == 0 && k[2] != 0) k[1] = Ccellw[k[2]];
          if (k[2] == 0 && k[1] != 0) k[2] = Ccelle[k[1]];
          if (k[2] == 0 && k[3] != 0) k[2] = Ccelln[k[3]];
          if (k[3] == 0 && k[0] != 0) k[3] = Ccelle[k[0]];
          if (k[3] == 0 && k[2] != 0) k[3] = Ccells[k[2]];
        }
        if (TopBed == 1) {
          for (int &x : k) x = topOf(x);
        }
        const int n = (k[0] != 0) + (k[1] != 0) + (k[2] != 0) + (k[3] != 0);
        double levels = 0.0, pressures = 0.0;
        for (int x : k) {
          levels += Cf[x];
          pressures += Cpres[x];
        }
        const double m = (levels + kHead * pressures) / n;
        double &z = zval[i][j][znumber];
        z += RelaxSurface * (m - z);
        zval[i][j][znumber + 1] = z;
      }
    }
  }
}
