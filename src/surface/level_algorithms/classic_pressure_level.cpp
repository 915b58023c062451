// Classic pressure-based level of the modular dispatch: a point whose top
// cells stand (p - P) / 9810 m of water above the reference pressure P moves
// towards Z + that head, under-relaxed, with the Froude and slope limits.
// Writes zval[i][j][znumber] and zval[i][j][znumber + 1].
#include "surface/level_algorithms/classic_pressure_level.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_columns.h"

namespace {

constexpr double kHeadPerPascal = 0.000101937;  // m of water per Pa

// A missing column of the four around a point, taken from the neighbours of
// the present ones (blocks joined along a line).
void substitute(int k[4]) {
  if (k[0] == 0 && k[1] != 0) k[0] = Ccells[k[1]];
  if (k[0] == 0 && k[3] != 0) k[0] = Ccellw[k[3]];
  if (k[1] == 0 && k[0] != 0) k[1] = Ccelln[k[0]];
  if (k[1] == 0 && k[2] != 0) k[1] = Ccellw[k[2]];
  if (k[2] == 0 && k[1] != 0) k[2] = Ccelle[k[1]];
  if (k[2] == 0 && k[3] != 0) k[2] = Ccelln[k[3]];
  if (k[3] == 0 && k[0] != 0) k[3] = Ccelle[k[0]];
  if (k[3] == 0 && k[2] != 0) k[3] = Ccells[k[2]];
}

void substituteTwice(int k[4]) {
  if (NoBlocks < 2) return;
  substitute(k);
  substitute(k);
}

double pointDistance(int i, int j, int c) { return std::hypot(xval[i][j] - Cxcenter[c], yval[i][j] - Cycenter[c]); }

}  // namespace

void computeSurfClassic() {
  Cpres[0] = 0.0;
  const int c1 = static_cast<int>(zval[iPres][jPres][0]);
  const int c2 = jSurf != 0 ? static_cast<int>(zval[iPres2][jPres2][0]) : 0;
  const bool twoReferences = jSurf != 0;
  const bool columnMeans = (FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7) && Bpresavg;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0 || SurfUpdate[b] != 1) continue;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        int k[4] = {static_cast<int>(zval[i][j][0]), static_cast<int>(zval[i][j + 1][0]),
                    static_cast<int>(zval[i + 1][j + 1][0]), static_cast<int>(zval[i + 1][j][0])};
        if (k[0] == 0 && k[1] == 0 && k[2] == 0 && k[3] == 0) continue;
        if (TopBed == 1) {
          for (int &x : k) x = topOf(x);
          substituteTwice(k);
        } else {
          substituteTwice(k);
          for (int &x : k) x = topOf(x);
        }
        const int n = (k[0] != 0) + (k[1] != 0) + (k[2] != 0) + (k[3] != 0);
        double p = 0.0, u = 0.0, v = 0.0;
        for (int x : k) {
          p += columnMeans ? (x != 0 ? Bpresavg[Cbed[x]] : 0.0) : Cpres[x];
          u += Cxvel[x];
          v += Cyvel[x];
        }
        p /= n;
        double P = GlobPresRef, Z = GlobZRef;
        if (twoReferences) {
          const double d1 = pointDistance(i, j, c1), d2 = pointDistance(i, j, c2);
          const double w = d1 / (d1 + d2 + 1e-20);
          P = (1.0 - w) * GlobPresRef + w * GlobPresRef2;
          Z = (1.0 - w) * GlobZRef + w * GlobZRef2;
        }
        const double level = zval[i][j][znumber];
        double delta = ((p - P) * kHeadPerPascal - (level - Z)) * RelaxSurface;
        const double depth = level - zval[i][j][1];
        if (FroudeMaxSurface > 0.5 && depth > 0.0) {
          u /= n;
          v /= n;
          delta = std::max(delta, (u * u + v * v) / (FroudeMaxSurface * FroudeMaxSurface * 9.81) - depth);
        }
        double next = level + delta;
        if (MaxSurfSlope > 0.0) {
          double upper = 100000.0, lower = -100000.0;
          auto bound = [&](int ni, int nj) {
            const double L = std::hypot(xval[ni][nj] - xval[i][j], yval[ni][nj] - yval[i][j]);
            upper = std::min(upper, zval[ni][nj][znumber] + MaxSurfSlope * L);
            lower = std::max(lower, zval[ni][nj][znumber] - MaxSurfSlope * L);
          };
          if (i >= blk.i1) bound(i - 1, j);
          if (i < blk.i2) bound(i + 1, j);
          if (j < blk.j2) bound(i, j + 1);
          if (j >= blk.j1) bound(i, j - 1);
          next = upper < lower ? level : level + std::max(std::min(delta, upper - level), lower - level);
        }
        zval[i][j][znumber] = next;
        zval[i][j][znumber + 1] = next;
      }
    }
  }
}
