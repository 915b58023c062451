// The backwater curve: from the downstream level of block 1, a standard step
// per grid line upstream with the Manning-Strickler friction slope, limited to
// a Froude number. Writes the levels of block 1 (F 36 30, F 343 30), Cf at the
// bottom cells and maxBackwater, the total rise that scales the level update.
#include "surface/backwater_curve.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

double bedAt(int i, int j) { return zval[i][j][1]; }
int bottomCellAt(int i, int j) { return static_cast<int>(zval[i][j][0]); }

void setLevel(int i, int j, double z) {
  zval[i][j][znumber] = z;
  zval[i][j][znumber + 1] = z;
}

// The march starts from the reference level, or from the level of W 1 when
// no reference has been set; the discharge is group 1's, or that of W 1.
double startLevel() { return GlobZRef < -1000.0 ? level : GlobZRef; }
double marchDischarge() { return DischargeArray[1] >= 1e-10 ? 0.001 * DischargeArray[1] : discharge; }

// One segment of a cross-section under level z: depths d0, d1 at its ends,
// plan length L. Adds the wet area, and either the sloping wet bed length or
// the water-surface width.
struct SegmentWet {
  double area, bed, top;
};
SegmentWet wetPart(double d0, double d1, double L) {
  if (d0 <= 0.0 && d1 <= 0.0) return {0.0, 0.0, 0.0};
  if (d0 > 0.0 && d1 > 0.0) return {(d0 + d1) * L / 2.0, std::sqrt((d1 - d0) * (d1 - d0) + L * L), L};
  const double d = d1 > 0.0 ? d1 : d0;
  const double wet = L * d / (d1 > 0.0 ? d1 - d0 : d0 - d1);  // the wet part of L
  return {d * wet / 2.0, std::sqrt(wet * wet + d * d), wet};
}

// Roughness height of line i from the d90 of the columns (i + 1, j) under
// segments wet at both ends; F 475 2 adds the bed forms.
double lineRoughness(int i, double z) {
  const GridBlock &b = block[1];
  const double finest = gsize[lnumber];
  double sum = 0.0;
  int count = 0;
  for (int j = b.j1; j <= b.j2; ++j) {
    const double d0 = z - bedAt(i, j - 1), d1 = z - bedAt(i, j);
    if (d0 <= 0.0 || d1 <= 0.0) continue;
    const int bc = pointbed[i + 1][j];
    if (!(Bd90[bc] > 0.5 * finest)) continue;
    double ks = Bd90[bc];
    if (FlagFriction == 2) {
      const double dune = Bedformheight[bc];
      ks += 1.1 * dune * (1.0 - std::exp(-6.8493150684931505 * dune / (d0 + d1))) * 0.33333333;
    }
    sum += ks;
    ++count;
  }
  return std::max(sum / (count + 1e-20), finest);
}

// The d90 of every wet column of block 1 (and of the line of columns just
// upstream of it) for the grain-size friction laws.
void columnD90() {
  if (!BSedDistrib) return;  // no bed layers: every d90 stays as it is
  const GridBlock &b = block[1];
  for (int i = b.i2; i >= b.i1 - 1; --i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int c = bottomCellAt(i, j);
      if (c <= 0) continue;
      const int bc = Cbed[c];
      const int layer = NoBedLayers == 2 && FlagTSC != 3 ? 1 : BlayerTop[bc];
      Bd90[bc] = bedD90(layer, bc);
      if (FlagFriction == 2) Bedformheight[bc] = 0.0;
    }
  }
}

// Length of the step from line i + 1 to line i: the length in i of the
// bottom cell of column (i, jm) at mid-width, or, where that column has no
// cell (the last line, a dry column), the plan distance of the two lines'
// points at mid-width.
double stepLength(int i) {
  const GridBlock &b = block[1];
  const int jm = (b.j1 + b.j2) / 2;
  const int m = bottomCellAt(i, jm);
  if (m > 0) return 2.0 * Cidist[m];
  return std::hypot(xval[i + 1][jm] - xval[i][jm], yval[i + 1][jm] - yval[i][jm]);
}

// The level of line i rises until the section flows at most at the
// Froude number of F 351.
double froudeLimited(int i, double Q, double z, double R) {
  const double limit = solverFroudeLimit;
  const double F = computeFroude(i, Q, z);
  if (!(F > limit)) return z;
  const double F2 = computeFroude(i, Q, z + R / 2.0);
  if (F2 < limit) return z + (R / 2.0) * (F - limit) / (F - F2 + 1e-20);
  return z + (R / 2.0) * (F - limit) / (F - limit + 1e-20);
}

// Line i takes level z; every wet column between it and line i + 1 gets the
// mean of its corner levels in Cf.
void setLine(int i, double z) {
  const GridBlock &b = block[1];
  for (int j = b.j1 - 1; j <= b.j2; ++j) {
    setLevel(i, j, z);
    const int c = j >= 1 ? bottomCellAt(i + 1, j) : 0;
    if (c > 0 && Cf) {
      Cf[c] = 0.25 * (zval[i][j - 1][znumber] + zval[i][j][znumber] + zval[i + 1][j][znumber] +
                      zval[i + 1][j - 1][znumber]);
    }
  }
}

}  // namespace

BackwaterSection backwaterSection(int i, double z) {
  const GridBlock &b = block[1];
  BackwaterSection s{0.0, 0.0};
  for (int j = b.j1; j <= b.j2; ++j) {
    const double L = std::hypot(xval[i][j] - xval[i][j - 1], yval[i][j] - yval[i][j - 1]);
    const SegmentWet w = wetPart(z - bedAt(i, j - 1), z - bedAt(i, j), L);
    s.area += w.area;
    s.perimeter += w.bed;
  }
  return s;
}

double bedD90(int layer, int b) {
  const int n = lnumber;
  auto fraction = [&](int k) { return k >= 1 && k <= n ? BSedDistrib[layer][k][b] : 0.0; };
  double finer = 0.0;  // fractions of the sizes finer than k
  for (int k = n; k >= 1; --k) {
    const double f = fraction(k);
    const double c = finer + 0.5 * f;
    if (c > 0.9) {
      if (k == n) return gsize[n];
      const double t = 2.0 * (c - 0.9) / (f + fraction(k + 1));
      return (1.0 - t) * gsize[k] + t * gsize[k + 1];
    }
    finer += f;
  }
  return gsize[1];
}

double computeFroude(int i, double Q, double z) {
  const GridBlock &b = block[1];
  const int p = std::max(i - 1, 0);
  double area = 0.0, top = 0.0;
  auto midX = [&](int j) { return 0.5 * (xval[i][j] + xval[p][j]); };
  auto midY = [&](int j) { return 0.5 * (yval[i][j] + yval[p][j]); };
  auto midBed = [&](int j) { return 0.5 * (bedAt(i, j) + bedAt(p, j)); };
  for (int j = b.j1; j <= b.j2; ++j) {
    const double L = std::hypot(midX(j) - midX(j - 1), midY(j) - midY(j - 1));
    const SegmentWet w = wetPart(z - midBed(j - 1), z - midBed(j), L);
    area += w.area;
    top += w.top;
  }
  return (Q / (area + 1e-20)) / std::sqrt(1e-20 + 9.81 * area / (top + 1e-20));
}

void backwater() {
  if (NoBlocks < 1) return;
  if (FlagFriction >= 3) {
    fatalPrintf(kExitInconsistent, nullptr, "Error: F 475 %d selects no friction law (0, 1 or 2)\n", FlagFriction);
  }
  const GridBlock &b = block[1];
  const double z0 = startLevel();
  const double Q = marchDischarge();
  maxBackwater = -z0;
  double z = z0;
  if (FlagFriction >= 1 && Iter <= 1) columnD90();
  for (int j = b.j1 - 1; j <= b.j2; ++j) setLevel(b.i2, j, z0);
  if (b.i2 < b.i1) {
    maxBackwater += z;
    return;
  }
  const bool setLevels = FlagTFS == 30 || BlockCasulli == 30;
  for (int i = b.i2 - 1; i >= b.i1 - 1; --i) {
    const BackwaterSection s = backwaterSection(i, z);
    if (s.area > 0.0) {
      const double R = s.area / s.perimeter;
      const double U = Q / s.area;
      double M = ManningInit;
      if (FlagFriction >= 1) M = 26.0 / (1e-20 + std::pow(lineRoughness(i, z), 0.166666667));
      const double S = U * U / (M * M * std::pow(R, 1.33333));
      z += S * stepLength(i);
      if (solverFroude > 0) z = froudeLimited(i, Q, z, R);
    } else {
      logPrintf("Warning: backwater line %d is dry at level %lf\n", i, z);
    }
    if (setLevels) setLine(i, z);
  }
  maxBackwater += z;
}

void backwaterPres() {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  const double z0 = startLevel();
  double mean = 0.0;
  int wet = 0;
  for (int j = b.j1; j <= b.j2; ++j) {
    const int c = bottomCellAt(b.i2, j);
    if (c <= 0) continue;
    Cf[c] = 0.0;
    mean += Cpres[topOf(c)];
    ++wet;
  }
  if (wet > 0) mean /= wet;
  for (int i = b.i2 - 1; i >= b.i1; --i) {
    double pressure = 0.0, surface = 0.0;
    int n = 0;
    for (int j = b.j1; j <= b.j2; ++j) {
      const int t = topOf(bottomCellAt(i, j));
      if (t <= 0) continue;
      pressure += Cpres[t];
      surface += Czcenter[t] + Ckdist[t];
      ++n;
    }
    // A line without a wet column has nothing to set and passes the
    // downstream pressure on.
    if (n == 0) continue;
    pressure /= n;
    surface /= n;
    double dh = (pressure - mean) / 9810.0;
    if (FlagScaleFreeSource > 0) dh *= scaleBackwater2;
    for (int j = b.j1; j <= b.j2; ++j) {
      const int c = bottomCellAt(i, j);
      if (c > 0) Cf[c] = dh - (surface - z0);
    }
    mean = pressure;
  }
}

double findMedianPressure(int g) {
  constexpr int kMaxValues = 49;
  double values[kMaxValues];
  int n = 0;
  const DischargeGroup &group = DischargeStruct[g];
  for (int k = 0; k < group.faceCount && n < kMaxValues; ++k) {
    const int f = group.faces[k];
    const int c = Fcell1[f] >= 1 ? Fcell1[f] : Fcell2[f];
    if (c >= 1 && Ccellt[c] == 0) values[n++] = Cpres[c];
  }
  if (n == 0) {
    fatalExit(kExitInconsistent,
              "Error: F 477 and F 343 30 need discharge groups 1 and 2 with faces at the surface\n");
  }
  std::sort(values, values + n);
  return values[n / 2];
}

double computeSlopeWatersurface(int i, int j) {
  const GridBlock &b = block[1];
  auto slope = [](int ia, int ja, int ib, int jb) {
    const double d = std::hypot(xval[ib][jb] - xval[ia][ja], yval[ib][jb] - yval[ia][ja]);
    return std::fabs(zval[ib][jb][znumber] - zval[ia][ja][znumber]) / d;
  };
  const int ia = i == b.i1 - 1 ? i : i - 1, ib = i == b.i2 ? i : i + 1;
  const int ja = j == b.j1 - 1 ? j : j - 1, jb = j == b.j2 ? j : j + 1;
  return std::max(slope(ia, j, ib, j), slope(i, ja, i, jb));
}
