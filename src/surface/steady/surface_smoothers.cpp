// Surface smoothers: relaxation of the grid points' water levels toward the
// mean of their neighbours (F 154), and the friction, peak, clamp and slope
// limiters of the transient free surface (F 178, F 361). Writes zval levels.
#include "surface/steady/surface_smoothers.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

double &Z(int i, int j) { return zval[i][j][znumber]; }
double &S(int i, int j) { return zval[i][j][znumber + 1]; }
double bed(int i, int j) { return zval[i][j][1]; }
bool wet(int i, int j) { return zval[i][j][0] != 0.0; }

double planDistance(int ia, int ja, int ib, int jb) { return std::hypot(xval[ia][ja] - xval[ib][jb], yval[ia][ja] - yval[ib][jb]); }

void setBoth(int i, int j, double v) { Z(i, j) = S(i, j) = v; }

// --- surface_smoother -------------------------------------------------------

// Variants 1 and 2: a sweep in which the points smoothed already feed the
// later ones; the block's four corner points keep their levels.
void sweepSmoothing(const GridBlock &g, double v, bool edgeRows) {
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) S(i, j) = Z(i, j);
  }
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1; j <= g.j2 - 1; ++j) {
      setBoth(i, j, v * 0.25 * (S(i - 1, j) + S(i, j - 1) + S(i + 1, j) + S(i, j + 1)) + (1.0 - v) * S(i, j));
    }
    for (int j : {g.j1 - 1, g.j2}) setBoth(i, j, v * 0.5 * (S(i - 1, j) + S(i + 1, j)) + (1.0 - v) * S(i, j));
  }
  if (edgeRows) {
    for (int i : {g.i1 - 1, g.i2}) {
      if (i == g.i2) S(g.i1 - 1, g.j1 - 1) = v * S(g.i1 - 1, g.j1) + (1.0 - v) * Z(g.i1 - 1, g.j1 - 1);
      for (int j = g.j1; j <= g.j2 - 1; ++j) setBoth(i, j, v * 0.5 * (S(i, j - 1) + S(i, j + 1)) + (1.0 - v) * S(i, j));
    }
  }
  S(g.i2, g.j2) = v * S(g.i2, g.j2 - 1) + (1.0 - v) * Z(g.i2, g.j2);
}

// Variants 3 and 4: from the second slot as the update left it, only where
// all columns around a point are wet.
void wetSmoothing(const GridBlock &g, double v, bool edges) {
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1; j <= g.j2 - 1; ++j) {
      if (wet(i, j) && wet(i + 1, j) && wet(i, j + 1) && wet(i + 1, j + 1)) {
        setBoth(i, j, v * 0.25 * (S(i - 1, j) + S(i, j - 1) + S(i + 1, j) + S(i, j + 1)) + (1.0 - v) * S(i, j));
      }
    }
    if (!edges) continue;
    if (wet(i, g.j1) && wet(i + 1, g.j1)) {
      const int j = g.j1 - 1;
      setBoth(i, j, v * 0.5 * (S(i - 1, j) + S(i + 1, j)) + (1.0 - v) * S(i, j));
    }
    if (wet(i, g.j2) && wet(i + 1, g.j2)) {
      const int j = g.j2;
      setBoth(i, j, v * 0.5 * (S(i - 1, j) + S(i + 1, j)) + (1.0 - v) * S(i, j));
    }
  }
  if (!edges) return;
  for (int j = g.j1; j <= g.j2 - 1; ++j) {
    const int i = g.i1 - 1;
    if (wet(g.i1, j) && wet(g.i1, j + 1)) setBoth(i, j, v * 0.5 * (S(i, j - 1) + S(i, j + 1)) + (1.0 - v) * S(i, j));
  }
  for (int j = g.j1; j <= g.j2 - 1; ++j) {
    const int i = g.i2;
    if (wet(g.i2, j) && wet(g.i2, j + 1)) setBoth(i, j, v * 0.5 * (S(i, j - 1) + S(i, j + 1)) + (1.0 - v) * S(i, j));
  }
}

// Weight of variant 5: a whole number, each step truncated toward zero; 0
// wherever the top cell's pressure head is not well below 1.5 half heights.
double alongFlowWeight(int i, int j, double v) {
  int k2 = 0;
  const int bot = static_cast<int>(zval[i][j][0]);
  if (bot > 0) {
    const int t = topOf(bot);
    const double h = 1.5 * Ckdist[t];
    const double r = (h - Cpres[t - 1] / 9810.0) / h;
    const double k1 = std::trunc(r);
    k2 = std::max(0, static_cast<int>(std::trunc(k1 - 0.05)));
  }
  const double k3 = std::trunc(0.5 * k2);
  return std::trunc(k3 + v);
}

// Variant 5: along i only, from the old levels.
void alongFlowSmoothing(const GridBlock &g, double v) {
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) S(i, j) = Z(i, j);
  }
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      const double w = alongFlowWeight(i, j, v);
      S(i, j) = w * 0.5 * (Z(i - 1, j) + Z(i + 1, j)) + (1.0 - w) * Z(i, j);
    }
  }
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) Z(i, j) = S(i, j);
  }
}

// --- surface_smoother2 ------------------------------------------------------

bool wetPairAlongI(int i, int j) { return (wet(i, j) && wet(i + 1, j)) || (wet(i, j + 1) && wet(i + 1, j + 1)); }
bool wetPairAlongJ(int i, int j) { return (wet(i, j) && wet(i, j + 1)) || (wet(i + 1, j) && wet(i + 1, j + 1)); }

// Variant 1: no point stands above the friction head of its subcritical
// columns; a point next to a supercritical column is left alone.
void frictionCeiling(const GridBlock &g) {
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      const int cols[4][2] = {{i, j}, {i, j + 1}, {i + 1, j}, {i + 1, j + 1}};
      double ceiling = 0.0;
      bool anyWet = false, fast = false;
      for (int k = 0; k < 4 && !fast; ++k) {
        const int c = static_cast<int>(zval[cols[k][0]][cols[k][1]][0]);
        if (c <= 0) continue;
        if (BFroude[Cbed[c]] >= 1.0) {
          fast = true;
          break;
        }
        double H = 0.0;
        for (int m = c; m > 0; m = Ccellt[m]) H += Ckdist[m];
        const int t = topOf(c);
        const double V2 = Cxvel[t] * Cxvel[t] + Cyvel[t] * Cyvel[t];
        const double ceil = Czcenter[t] + Ckdist[t] +
                            std::sqrt(Cidist[t] * Cidist[t] + Cjdist[t] * Cjdist[t]) * V2 *
                                std::pow(Croughness[c], 0.333333) / (std::pow(2.0 * H, 1.333333) * 26.0 * 26.0);
        ceiling = k == 0 ? ceil : std::max(ceiling, ceil);  // from 0 when column (i, j) is dry
        anyWet = true;
      }
      if (anyWet && !fast) Z(i, j) = std::min(Z(i, j), ceiling + Z(i, j) - S(i, j));
    }
  }
}

// Depth-weighted velocity across face n of the column with bottom cell c.
void columnFlow(int c, int face, double &U, double &H, double &ks) {
  const double nx = Fvx[face], ny = Fvy[face];
  double sum = 0.0;
  H = 0.0;
  for (int m = c; m > 0; m = Ccellt[m]) {
    sum += (Cxvel[m] * ny + Cyvel[m] * nx) * Ckdist[m];
    H += Ckdist[m];
  }
  U = sum / H;
  ks = Croughness[c];
}

// Variant 2: along i, no level falls more than the friction loss between
// two subcritical points.
void frictionLossLimit(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      const int c1 = static_cast<int>(zval[i][j][0]), c2 = static_cast<int>(zval[i][j + 1][0]);
      if (c1 <= 0 && c2 <= 0) continue;
      double U1 = 0, H1 = 0, k1 = 0, U2 = 0, H2 = 0, k2 = 0;
      if (c1 > 0) columnFlow(c1, Cflaten[c1], U1, H1, k1);
      if (c2 > 0) columnFlow(c2, Cflates[c2], U2, H2, k2);
      double U, H, ks;
      if (c1 > 0 && c2 > 0) U = 0.5 * (U1 + U2), H = 0.5 * (H1 + H2), ks = 0.5 * (k1 + k2);
      else if (c1 > 0) U = U1, H = H1, ks = k1;
      else U = U2, H = H2, ks = k2;
      const double q = 2.0 * U * H;
      const double hA = Z(i - 1, j) - bed(i - 1, j) + 1e-20, hB = Z(i, j) - bed(i, j) + 1e-20;
      const double frA2 = std::pow(q / hA, 3) / (9.81 * q + 1e-20), frB2 = std::pow(q / hB, 3) / (9.81 * q + 1e-20);
      const double hf = std::fabs(U) * U * std::pow(ks, 0.333333) / (std::pow(2.0 * H, 1.333333) * 26.0 * 26.0) *
                        planDistance(i - 1, j, i, j);
      const double dz = Z(i - 1, j) - Z(i, j);
      if (dz > 0.0 && dz > hf && frA2 < 1.0 && frB2 < 1.0) Z(i - 1, j) = Z(i, j) + hf;
    }
  }
}

// Variant 3: no point stands more than a tenth of its neighbours' distance
// above their mean.
void peakCap(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      if (wetPairAlongI(i, j)) {
        Z(i, j) = std::min(Z(i, j), 0.5 * (Z(i - 1, j) + Z(i + 1, j)) + 0.1 * planDistance(i - 1, j, i + 1, j));
      }
    }
  }
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (wetPairAlongJ(i, j)) {
        Z(i, j) = std::min(Z(i, j), 0.5 * (Z(i, j - 1) + Z(i, j + 1)) + 0.1 * planDistance(i, j - 1, i, j + 1));
      }
    }
  }
}

void clampAlongI(int i, int j, double share, double below) {
  const double e = share * planDistance(i - 1, j, i + 1, j);
  const double lo = std::min(Z(i - 1, j), Z(i + 1, j)) - below * e, hi = std::max(Z(i - 1, j), Z(i + 1, j)) + e;
  Z(i, j) = std::min(std::max(Z(i, j), lo), hi);
}

// Variants 4 and 5: between the neighbours along i, tight below; along j on
// the first two point rows.
void neighbourClamp(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      if (wetPairAlongI(i, j)) clampAlongI(i, j, 0.01, 3.0);
    }
  }
  for (int i : {g.i1 - 1, g.i1}) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (!wetPairAlongJ(i, j)) continue;
      const double e = 0.01 * planDistance(i, j - 1, i, j + 1);
      const double lo = std::min(Z(i, j - 1), Z(i, j + 1)) - 3.0 * e, hi = std::max(Z(i, j - 1), Z(i, j + 1)) + e;
      Z(i, j) = std::min(std::max(Z(i, j), lo), hi);
    }
  }
}

// Variants 6 and 7: between the neighbours along i, the even rows first.
void alternateClamp(const GridBlock &g, double share) {
  for (int start : {g.i1, g.i1 + 1}) {
    for (int i = start; i <= g.i2 - 1; i += 2) {
      for (int j = g.j1 - 1; j <= g.j2; ++j) {
        if (wetPairAlongI(i, j)) clampAlongI(i, j, share, 1.0);
      }
    }
  }
}

void slopeLimit(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      if (wetPairAlongI(i, j)) Z(i, j) = std::min(Z(i, j), Z(i - 1, j) + SurfSlopeVal * planDistance(i - 1, j, i + 1, j));
    }
  }
}

}  // namespace

void surface_smoother() {
  if (SurfSmoothFlag < 1 || SurfSmoothFlag > 5) return;
  const double v = SurfSmoothVal;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &g = block[b];
    if (g.GridLevel != 0 || SurfUpdate[b] != 1) continue;
    switch (SurfSmoothFlag) {
      case 1: sweepSmoothing(g, v, false); break;
      case 2: sweepSmoothing(g, v, true); break;
      case 3: wetSmoothing(g, v, false); break;
      case 4: wetSmoothing(g, v, true); break;
      default: alongFlowSmoothing(g, v); break;
    }
  }
}

void surface_smoother2(int b) {
  BFroude[0] = 0.0;
  const GridBlock &g = block[b];
  switch (FlagSurfSmooth) {
    case 1: frictionCeiling(g); break;
    case 2: frictionLossLimit(g); break;
    case 3: peakCap(g); break;
    case 4: case 5: neighbourClamp(g); break;
    case 6: alternateClamp(g, 0.1); break;
    case 7: alternateClamp(g, 0.2); break;
    default: break;
  }
  if (FlagSurfSlope == 1) slopeLimit(g);
}
