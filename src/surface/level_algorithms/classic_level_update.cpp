// Classic point-wise level update of the steady free surface: a top-cell
// pressure p above GlobPresRef asks for a surface (p - GlobPresRef) / 9810 m
// above GlobZRef. Writes zval[i][j][znumber] and zval[i][j][znumber + 1].
#include "surface/level_algorithms/classic_level_update.h"

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

constexpr double kHeadPerPascal = 0.000101937;  // m of water per Pa: 1 / (1000 kg/m3 x 9.81 m/s2)

enum class Variant { Regression, Standard, TwoReferences, Direct };

// Where the point's pressure comes from.
enum class PressureFrom { TopCells, ColumnMeans, Regression };

// The four columns around grid point (i, j), SW, NW, NE, SE, as top cells
// (0 for an absent column), and the columns as first read, as top cells.
struct PointColumns {
  int cell[4];   // after the filling through the neighbours
  int first[4];  // as read, before the filling
  int present;
};

// Fills absent columns through the neighbours of present ones, which also
// reach across block connections; two passes, each step on the values as
// they stand.
void fillThroughNeighbours(int (&k)[4]) {
  int &sw = k[0], &nw = k[1], &ne = k[2], &se = k[3];
  for (int pass = 0; pass < 2; ++pass) {
    if (sw == 0 && nw > 0) sw = Ccells[nw];
    if (sw == 0 && se > 0) sw = Ccellw[se];
    if (nw == 0 && sw > 0) nw = Ccelln[sw];
    if (nw == 0 && ne > 0) nw = Ccellw[ne];
    if (ne == 0 && nw > 0) ne = Ccelle[nw];
    if (ne == 0 && se > 0) ne = Ccelln[se];
    if (se == 0 && sw > 0) se = Ccelle[sw];
    if (se == 0 && ne > 0) se = Ccells[ne];
  }
}

// false when none of the four columns has cells.
bool gatherColumns(int i, int j, bool fill, PointColumns &p) {
  int k[4] = {static_cast<int>(zval[i][j][0]), static_cast<int>(zval[i][j + 1][0]),
              static_cast<int>(zval[i + 1][j + 1][0]), static_cast<int>(zval[i + 1][j][0])};
  if (k[0] + k[1] + k[2] + k[3] <= 0) return false;
  for (int m = 0; m < 4; ++m) p.first[m] = topOf(k[m]);
  if (TopBed == 1) {
    for (int &c : k) c = topOf(c);
  }
  if (fill) fillThroughNeighbours(k);
  p.present = 0;
  for (int m = 0; m < 4; ++m) {
    p.cell[m] = topOf(k[m]);
    p.present += p.cell[m] > 0;
  }
  return p.present > 0;
}

double meanPressure(const PointColumns &p, PressureFrom from) {
  double sum = 0.0;
  for (int c : p.cell) {
    if (c <= 0) continue;
    switch (from) {
      case PressureFrom::TopCells: sum += Cpres[c]; break;
      case PressureFrom::ColumnMeans: sum += Bpresavg[Cbed[c]]; break;
      case PressureFrom::Regression: {
        const int b = Cbed[c];
        sum += PresRegresSumPres[Bkooi[b]][Bkooj[b]];
        break;
      }
    }
  }
  return sum / p.present;
}

// The mean top-cell speed of the point: the vector sum of the four cells'
// horizontal velocities over the present columns (cell 0 adds nothing).
double meanSpeed(const int (&cells)[4], int present) {
  double u = 0.0, v = 0.0;
  for (int c : cells) {
    u += Cxvel[c];
    v += Cyvel[c];
  }
  return std::sqrt(u * u + v * v) / present;
}

// The new depth may not fall below the depth at which the mean speed would
// reach the largest Froude number of F 132.
double froudeLimit(double dz, double z, double bed, double speed) {
  if (FroudeMaxSurface > 0.5 && bed < z) {
    dz = std::max(dz, speed * speed / (FroudeMaxSurface * FroudeMaxSurface * 9.81) - (z - bed));
  }
  return dz;
}

// The surface may not slope more than F 148 towards any neighbouring point
// of the block.
double slopeLimit(double dz, const GridBlock &b, int i, int j, double z) {
  if (!(MaxSurfSlope > 0.0)) return dz;
  double upper = 100000.0, lower = -100000.0;
  auto neighbour = [&](int in, int jn) {
    const double d = std::hypot(xval[in][jn] - xval[i][j], yval[in][jn] - yval[i][j]);
    const double zn = zval[in][jn][znumber];
    upper = std::min(upper, zn + d * MaxSurfSlope);
    lower = std::max(lower, zn - d * MaxSurfSlope);
  };
  if (i >= b.i1) neighbour(i - 1, j);
  if (i < b.i2) neighbour(i + 1, j);
  if (j < b.j2) neighbour(i, j + 1);
  if (j >= b.j1) neighbour(i, j - 1);
  dz = std::min(dz, upper - z);
  dz = std::max(dz, lower - z);
  return lower > upper ? 0.0 : dz;
}

void store(int i, int j, double level) {
  zval[i][j][znumber] = level;
  zval[i][j][znumber + 1] = level;
}

double horizontalDistance(int i, int j, int c) {
  return std::hypot(xval[i][j] - Cxcenter[c], yval[i][j] - Cycenter[c]);
}

// One grid point of a variant: its level change, limited, stored.
struct PointRule {
  Variant variant;
  PressureFrom pressure;
  int c, c2;
  double presRef, zRef;  // GlobPresRef and GlobZRef as read for the pass
};

void updatePoint(const PointRule &rule, const GridBlock &b, int i, int j, bool fill) {
  PointColumns p;
  if (!gatherColumns(i, j, fill, p)) return;
  const double z = zval[i][j][znumber], bed = zval[i][j][1];
  const double pressure = meanPressure(p, rule.pressure);
  double dz = 0.0;
  switch (rule.variant) {
    case Variant::Regression: {
      if (rule.c2 > 0) {
        const double d1 = horizontalDistance(i, j, rule.c), d2 = horizontalDistance(i, j, rule.c2);
        const double w = d1 / (d2 + d1 + 1e-20);
        dz = ((pressure - rule.presRef * (1.0 - w) - GlobPresRef2 * w) * kHeadPerPascal -
              (z - rule.zRef * (1.0 - w) - GlobZRef2 * w)) * RelaxSurface;
      } else {
        dz = ((pressure - rule.presRef) * kHeadPerPascal - (z - rule.zRef)) * RelaxSurface;
      }
      dz = froudeLimit(dz, z, bed, meanSpeed(p.first, p.present));
      break;
    }
    case Variant::Standard: {
      double head = (pressure - rule.presRef) * kHeadPerPascal;
      if (FlagScaleFreeSource == 3) head *= scaleBackwater2;
      dz = scaleBackwater2 * RelaxSurface * (head - (z - rule.zRef));
      const double speed = meanSpeed(p.cell, p.present);
      dz = froudeLimit(dz, z, bed, speed);
      if (FlagScaleSurfFroude == 1) dz *= std::max(0.01, 1.0 - speed / std::max(z - bed, MinVertDist0));
      break;
    }
    case Variant::TwoReferences: {
      const double d1 = horizontalDistance(i, j, rule.c), d2 = horizontalDistance(i, j, rule.c2);
      const double w = d1 / (d2 + d1 + 1e-20);  // 0 at the first reference, 1 at the second
      dz = ((pressure - rule.presRef * (1.0 - w) - GlobPresRef2 * w) * kHeadPerPascal -
            (z - rule.zRef * (1.0 - w) - GlobZRef2 * w)) * RelaxSurface;
      break;
    }
    case Variant::Direct: {
      dz = (pressure - rule.presRef) * kHeadPerPascal - (z - rule.zRef);
      dz = froudeLimit(dz, z, bed, meanSpeed(p.cell, p.present));
      break;
    }
  }
  dz = slopeLimit(dz, b, i, j, z);
  store(i, j, z + dz);
}

// The regression variant's pressures: each column's sum becomes its mean,
// or with F 143 1 the regression line's value at the present sample.
void regressPressures() {
  for (int n = 1; n <= NoBlocks; ++n) {
    if (!treated(n)) continue;
    const GridBlock &b = block[n];
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        const int count = PresRegresN[i][j];
        if (count <= 1) continue;
        const double mean = PresRegresSumPres[i][j] / count;
        if (PresRegres == 2) {
          PresRegresSumPres[i][j] = mean;
          continue;
        }
        const double sx = PresRegresSumX[i][j], sxx = PresRegresSumXX[i][j];
        const double slope = ((PresRegresSumXPres[i][j] - PresRegresSumPres[i][j] * sx / count) / (count - 1)) /
                             ((sxx - sx * sx / count) / (count - 1));
        PresRegresSumPres[i][j] = mean + slope * (RegIter - sx / count);
      }
    }
  }
}

}  // namespace

void classicLevelUpdate(int c, int c2) {
  Cpres[0] = 0.0;
  Cxvel[0] = Cyvel[0] = Czvel[0] = 0.0;  // an absent column adds no speed
  const bool second = c2 > 0;
  const bool fill = NoBlocks > 1;
  const bool columnMeans = (FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7) && Bpresavg;
  PointRule rule{};
  rule.c = c;
  rule.c2 = second ? c2 : 0;
  if (PresRegres == 1 || PresRegres == 2) {
    rule.variant = Variant::Regression;
    rule.pressure = PressureFrom::Regression;
    regressPressures();
    GlobPresRef = PresRegresSumPres[iPres][jPres];
  } else if (FlagDeltaSurface <= 0) {
    rule.variant = second ? Variant::TwoReferences : Variant::Standard;
    rule.pressure = !second && columnMeans ? PressureFrom::ColumnMeans : PressureFrom::TopCells;
  } else {
    rule.variant = Variant::Direct;
    rule.pressure = columnMeans ? PressureFrom::ColumnMeans : PressureFrom::TopCells;
  }
  rule.presRef = GlobPresRef;
  rule.zRef = GlobZRef;

  for (int n = 1; n <= NoBlocks; ++n) {
    if (!treated(n)) continue;
    const GridBlock &b = block[n];
    switch (rule.variant) {
      case Variant::Regression:
        // The first grid lines i1 - 1 and j1 - 1 keep their levels.
        for (int i = b.i1; i <= b.i2; ++i) {
          for (int j = b.j1; j <= b.j2; ++j) updatePoint(rule, b, i, j, fill);
        }
        break;
      case Variant::Direct:
        // Downstream to upstream.
        for (int i = b.i2; i >= b.i1 - 1; --i) {
          for (int j = b.j1 - 1; j <= b.j2; ++j) updatePoint(rule, b, i, j, fill);
        }
        break;
      default:
        for (int i = b.i1 - 1; i <= b.i2; ++i) {
          for (int j = b.j1 - 1; j <= b.j2; ++j) updatePoint(rule, b, i, j, fill);
        }
        break;
    }
  }
}
