// Minimum water levels of the columns of block 1: a falling surface must not
// split a cross-section into separate pools, so each column gets a level the
// grid points around it are raised to before the grid is regenerated.
#include "grid/bed_levels/minimum_water_levels.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "base/log.h"
#include "surface/backwater_curve.h"
#include "surface/surface_services.h"

using columns::bottomCell;
using columns::lowestBed;
using columns::meanBed;
using columns::speed;
using columns::topCell;

namespace {

constexpr double kNone = -1000.0;

// Raises the minimum level of column (i, j), when it has a bed cell, to at least z.
void raiseColumn(int i, int j, double z) {
  const int b = pointbed[i][j];
  if (b > 0) Bminwaterlevel[b] = std::max(Bminwaterlevel[b], z);
}

void setColumn(int i, int j, double z) {
  const int b = pointbed[i][j];
  if (b > 0) Bminwaterlevel[b] = z;
}

void resetLevels(int method) {
  const GridBlock &g = block[1];
  Cxvel[0] = Cyvel[0] = 0.0;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0) continue;
      if (method != 9) Bminwaterlevel[b] = kNone;
      Bminlevdh[b] = -10.0;
      if (BLevFroude) BLevFroude[b] = kNone;
    }
  }
}

// The third-lowest bed among the points where water flows: with it the
// section keeps at least three wet points.
void thirdLowestBed(double D) {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    double low1 = 100000.0, low2 = 100000.0, low3 = 100000.0;
    double level1 = 0.0, level2 = 0.0;
    double before = 0.0;
    for (int j = g.j1; j <= g.j2 - 1; ++j) {
      const int c = bottomCell(i, j);
      const double s = c > 0 ? speed(c) : 0.0;
      const bool counts = s > 0.1 || before > 0.1;
      before = s;
      if (!counts) continue;
      const double z = zval[i][j][1], level = zval[i][j][znumber];
      if (z <= low1) {
        low3 = low2;
        low2 = low1;
        level2 = level1;
        low1 = z;
        level1 = level;
      } else if (z < low2) {
        low3 = low2;
        low2 = z;
        level2 = level;
      } else if (z < low3) {
        low3 = z;
      }
    }
    // Fewer than three flowing points: the section keeps its reset values.
    if (low3 > 99999.0) continue;
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0) continue;
      Bminwaterlevel[b] = low3 + D;
      Bminlevdh[b] = low2 + D - level2;
    }
  }
}

// Froude limit per column from the Froude numbers of the last update: a fast
// column is given the depth at which it would flow at FroudeSplit.
void froudePerColumn(int method) {
  if (!BFroude || !Bdepth) return;
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0 || bottomCell(i, j) <= 0) continue;
      const double Fr = std::min(BFroude[b], 3.0);
      if (!(Fr > FroudeSplit)) continue;
      const double h = std::pow(std::pow(Bdepth[b], 1.5) * Fr * 3.132 / (3.132 * FroudeSplit), 0.6666666667);
      const double sum = zval[i][j][1] + zval[i - 1][j][1] + zval[i][j - 1][1] + zval[i - 1][j - 1][1];
      const double zb = method == 10 ? 0.5 * lowestBed(i, j) + 0.125 * sum : 0.25 * sum;
      Bminwaterlevel[b] = std::max(Bminwaterlevel[b], zb + h);
      raiseColumn(i + 1, j, zb + 0.6 * h);
      raiseColumn(i - 1, j, zb + 0.6 * h);
      raiseColumn(i, j + 1, zb + 0.6 * h);
      raiseColumn(i, j - 1, zb + 0.6 * h);
    }
  }
}

// Bed reference of the fastest column (F 444); values above 2 take the bottom face.
double bandBed(int i, int j) {
  const int c = bottomCell(i, j);
  const double face = c > 0 ? Czcenter[c] - Ckdist[c] : meanBed(i, j);
  if (FlagGrid13 == 1) return meanBed(i, j);
  if (FlagGrid13 == 2) {
    const double sum = zval[i][j][1] + zval[i - 1][j][1] + zval[i][j - 1][1] + zval[i - 1][j - 1][1];
    return 0.125 * sum + 0.5 * face;
  }
  return face;
}

// A band of nine columns around the fastest column of each section, highest
// at the fastest and falling by a fifth of D per column.
void bandAroundFastest(double D) {
  const GridBlock &g = block[1];
  int jf = 0;
  for (int i = g.i1; i <= g.i2; ++i) {
    double best = -1.0;
    int found = 0;
    for (int j = g.j1 + gridSplitKant; j <= g.j2 - gridSplitKant; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const double s = std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c] + 1e-5);
      if (s > best) {
        best = s;
        found = j;
      }
    }
    if (found > 0) jf = found;
    if (jf == 0) continue;  // no fastest column yet: the section keeps its reset values
    const double zb = bandBed(i, jf);
    for (int j = std::max(g.j1, jf - 4); j <= std::min(g.j2, jf + 4); ++j) {
      const double v = (1.0 - std::fabs(0.2 * (j - jf))) * D + zb;
      setColumn(i, j, v);
      if (i < g.i2) setColumn(i + 1, j, v);
      if (i > g.i1) raiseColumn(i - 1, j, v);
    }
  }
}

int cellsInColumn(int c) {
  int n = 0;
  for (; c > 0; c = Ccellt[c]) ++n;
  return n;
}

// Critical depth of the water crossing face f, at most D; nothing for a collapsed face.
bool criticalDepth(int f, double D, double &h) {
  if (f <= 0 || !(Farea[f] >= SmallNumberUnstruc) || Farea[f] <= 0.0) return false;
  const double v = 0.001 * Fflux[f] / Farea[f];
  h = std::min(v * v / 9.81, D);
  return true;
}

// Single-cell columns get the critical depth of the water entering them over
// the lower bed corners on their downstream side.
void criticalDepthColumns(double D) {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1 + gridSplitKant; j <= g.j2 - gridSplitKant - 1; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0 || Ccellt[c] != 0) continue;
      double h = 0.0;
      if (criticalDepth(Cflatew[c], D, h)) {
        const double L1 = std::min(Pz[Cpoint2[c]], Pz[Cpoint3[c]]) + h;
        raiseColumn(i, j, L1);
        if (cellsInColumn(bottomCell(i + 1, j)) < 2) raiseColumn(i + 1, j, L1);
      }
      const int c2 = bottomCell(i + 1, j);
      if (c2 <= 0 || !criticalDepth(Cflaten[c2], D, h)) continue;
      const double L2 = std::min(Pz[Cpoint4[c2]], Pz[Cpoint3[c2]]) + h;
      raiseColumn(i + 1, j, L2);
      const int north = bottomCell(i, j + 1);
      if (north > 0 && Ccellt[north] == 0) raiseColumn(i, j + 1, L2);
    }
  }
}

// Slope of the pressure to the neighbour n over the distance 2 d, as a level slope.
double pressureSlope(int c, int n, double d) {
  if (n <= 0) return 0.0;
  return std::fabs(Cpres[n] - Cpres[c]) / (20.0 * 9810.0 * d);
}

// Where the surface slope of a column's bottom cell exceeds D, the column and
// its neighbours are raised above the lowest corner.
void slopeLimitedLevels(double D) {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1 + gridSplitKant; j <= g.j2 - gridSplitKant - 1; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const double slope = std::max(std::max(pressureSlope(c, Ccelle[c], Cidist[c]), pressureSlope(c, Ccellw[c], Cidist[c])),
                                    std::max(pressureSlope(c, Ccelln[c], Cjdist[c]), pressureSlope(c, Ccells[c], Cjdist[c])));
      if (!(slope > D)) continue;
      const double h = std::min(D, slope - D), zmin = lowestBed(i, j);
      raiseColumn(i, j, zmin + h);
      raiseColumn(i + 1, j, zmin + 0.5 * h);
      raiseColumn(i - 1, j, zmin + 0.5 * h);
      raiseColumn(i, j + 1, zmin + 0.5 * h);
      raiseColumn(i, j - 1, zmin + 0.5 * h);
    }
  }
}

double segmentLength(int i, int j) {
  return std::hypot(xval[i][j] - xval[i][j - 1], yval[i][j] - yval[i][j - 1]);
}

}  // namespace

double minimumLevelMargin(int method) {
  const double V0 = MinVertDist0, V1 = MinVertDist1;
  switch (method) {
    case 1: case 11: case 12: case 36: case 62: return 1.5 * V0;
    case 2: case 13: case 65: return V0;
    case 3: case 14: case 19: return 0.5 * V0;
    case 4: case 17: case 28: case 38: case 58: return 2.0 * V1;
    case 5: case 15: case 25: return 3.0 * V0;
    case 6: case 16: case 29: case 39: case 59: return 3.0 * V1;
    case 18: case 27: case 37: case 57: return V1;
    case 26: return 2.0 * V0;
    case 60: return 0.0;
    case 61: return 1.1 * V0;
    case 63: return 10.0 * V1;
    case 64: {
      const double Q1 = DischargeArray[1];
      if (!(Q1 > 0.0)) return 0.0;
      return std::pow(0.001 * Q1 / (9.81 * solverFroudeLimit), 0.33333333);
    }
    default: return 0.05;
  }
}

void NoGridSplit() {
  rute[0] = 0;
  if (NoBlocks < 1 || !Bminwaterlevel || !Bminlevdh) return;
  const int method = FlagNoGridSplit;
  const double D = minimumLevelMargin(method);
  resetLevels(method);
  if (method <= 6) {
    thirdLowestBed(D);
  } else if (method <= 8) {
    computeMinwaterlevel2();
  } else if (method == 9) {
    computeMinwaterlevel4();
  } else if (method <= 11) {
    froudePerColumn(method);
  } else if (method <= 23) {
    bandAroundFastest(D);
  } else if (method <= 35) {
    criticalDepthColumns(D);
  } else if (method <= 47) {
    slopeLimitedLevels(D);
  } else {
    walkFlowPath(D);
  }
  if (FlagCriticalCross == 1 && rute[0] > 0) computeCriticalCross();
  if (solverFroude == 2 && rute[0] > 0) computeSurfLevFroude(static_cast<int>(D));
}

void computeMinwaterlevel2() {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    int j = g.j1;
    while (j <= g.j2) {
      if (bottomCell(i, j) <= 0) {
        ++j;
        continue;
      }
      const int first = j;
      double A = 0.0, Q = 0.0, W = 0.0, S = 0.0;
      int n = 0;
      for (; j <= g.j2 && bottomCell(i, j) > 0; ++j) {
        int c = bottomCell(i, j);
        for (int m = c; m > 0; m = Ccellt[m]) {
          A += 4.0 * Ckdist[m] * Cjdist[m];
          Q += 0.5 * (Fflux[Cflatee[m]] + Fflux[Cflatew[m]]);
          c = m;
        }
        W += 2.0 * Cjdist[c];
        S += Czcenter[c] + Ckdist[c];
        ++n;
      }
      const double u = std::fabs(0.001 * Q / (A + 1e-30));
      const double wave = std::sqrt(9.81 * (A + 1e-30) / (W + 1e-30));
      const double r = std::pow(FroudeSplit / (u / wave), 0.666667);
      const double level = S / n - (1.0 - 1.0 / (r + 1e-30)) * A / (W + 1e-30);
      for (int k = first; k < j; ++k) setColumn(i, k, level);
    }
  }
}

void computeMinwaterlevel3() {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    double zb = 1e20, Q = 0.0, W = 0.0;
    for (int j = g.j1; j <= g.j2; ++j) {
      int c = bottomCell(i, j);
      if (c <= 0) continue;
      zb = std::min(zb, Czcenter[c] - Ckdist[c]);
      for (int m = c; m > 0; m = Ccellt[m]) {
        Q += 0.5 * (Fflux[Cflatee[m]] + Fflux[Cflatew[m]]);
        c = m;
      }
      W += 2.0 * Cjdist[c];
    }
    const double Qs = std::max(Q, 0.9 * DischargeArray[1]);
    const double level = zb + std::pow(Qs * Qs * 1e-6 / (W * W * 9.81 * FroudeSplit * FroudeSplit), 0.333333333);
    for (int j = g.j1; j <= g.j2; ++j) setColumn(i, j, level);
  }
}

void computeMinwaterlevel4() {
  const GridBlock &g = block[1];
  const double Q = 0.001 * DischargeArray[1];
  for (int i = g.i2; i >= g.i1; --i) {
    double zmin = 1e20, W = 0.0;
    bool counted = false;
    for (int j = g.j1; j <= g.j2; ++j) {
      if (bottomCell(i, j) <= 0) continue;
      zmin = std::min(zmin, meanBed(i, j));
      const int n = znumber;
      const double level = 0.25 * (zval[i][j][n] + zval[i - 1][j][n] + zval[i][j - 1][n] + zval[i - 1][j - 1][n]);
      if (level > 10000.0) {
        logPrintf("Warning, F 371 9 has too high water level as input for time %lf cross-section %d, point %d, wlevel = %lf\n",
                  stimet, i, j, level);
        continue;
      }
      W += segmentLength(i, j);
      counted = true;
    }
    if (!counted) W += segmentLength(i, g.j2 / 2 + 1);
    const double hc = std::pow((Q / W) * (Q / W) / (9.81 * FroudeSplit * FroudeSplit), 0.333333333);
    double L = std::max(zmin + 2.0 * hc, zmin + 2.0 * MinVertDist0);
    const double H = L - zmin;
    double dz = 0.1 * H, Fr = 0.0, F2 = 0.0, move = 0.0;
    bool converged = false;
    for (int round = 0; round < 100 && !converged; ++round) {
      Fr = computeFroude(i, Q, L);
      if (Fr > FroudeSplit) {
        F2 = computeFroude(i, Q, L + dz);
        const double w = (Fr - FroudeSplit) / (std::fabs(Fr - F2) + 0.01);
        move = w < 1.0 ? w : 1.0;
        L += move * dz;
      } else {
        F2 = computeFroude(i, Q, L - dz);
        const double w = (FroudeSplit - Fr) / (std::fabs(F2 - Fr) + 0.01);
        move = w < 1.0 ? w : 1.0;
        L -= move * dz;
        dz = std::max(0.9 * dz, 0.01 * H);
      }
      converged = std::fabs(Fr - FroudeSplit) < 0.01;
    }
    if (!converged) {
      logPrintf("Warning, F 371 9 algorithm failed for time %lf cross-section %d, wlevel = %lf Froude1 = %lf, Froude2 = %lf, "
                "weight = %lf, zmin = %lf, deltaz = %lf, maxdepth = %lf\n",
                stimet, i, L, Fr, F2, move, zmin, dz, H);
      L = zmin + 2.0 * MinVertDist0;
    }
    for (int j = g.j1; j <= g.j2; ++j) setColumn(i, j, L);
  }
}
