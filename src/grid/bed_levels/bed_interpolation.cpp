// Bed levels of the structured grid points from the measured bed points: the
// nearest point in each quadrant around a grid point, weighted by inverse
// distance; the grid lines of a block are shared out among the threads.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "grid/bed_levels/bed_points.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

// Quadrants around a grid point, in the order the reports list them.
enum Quadrant { NE = 0, NW = 1, SW = 2, SE = 3 };

// Distance of a quadrant without a bed point, m.
constexpr double kNoPoint = 1e10;
// Levels at or below this are markers of "no value", never bed levels.
constexpr double kMarkerLevel = -1e9;

// The nearest bed point per quadrant: its position (-1 none) and plan distance.
struct Nearest {
  int n[4] = {-1, -1, -1, -1};
  double d[4] = {kNoPoint, kNoPoint, kNoPoint, kNoPoint};
  bool has(int q) const { return n[q] >= 0; }
};

// The settings of one interpolation, fixed before the threads start.
struct Options {
  double radius;  // F 47 search radius, or infinity when it does not apply
  int weighting;  // F 129
  bool detail;    // debugging letter D
  std::FILE *log;
};

// Every bed point in table order; a nearer point replaces the quadrant's
// nearest, an equally near one does not. Comparing squared distances first
// skips the root for points that cannot be nearer (the root is monotonic).
// The quadrant is found without a branch, as bits west | south << 1.
void searchQuadrants(double x, double y, double radius, Nearest &q) {
  constexpr int kOrder[4] = {NE, NW, SE, SW};  // bit pattern -> quadrant
  double best2[4] = {1e20, 1e20, 1e20, 1e20};
  double best[4] = {kNoPoint, kNoPoint, kNoPoint, kNoPoint};
  int found[4] = {-1, -1, -1, -1};
  const double *xs = xg, *ys = yg;
  for (int n = 0; n < NoGeo; ++n) {
    const double dx = xs[n] - x, dy = ys[n] - y;
    const int k = static_cast<int>(xs[n] < x) | (static_cast<int>(ys[n] < y) << 1);
    const double d2 = dx * dx + dy * dy;
    if (d2 < best2[k]) {
      const double d = std::sqrt(d2);
      if (d < best[k] && d < radius) {
        best[k] = d;
        found[k] = n;
        best2[k] = d2;
      }
    }
  }
  for (int k = 0; k < 4; ++k) {
    q.d[kOrder[k]] = best[k];
    q.n[kOrder[k]] = found[k];
  }
}

// The level of the bed point nearest in quadrant q (0 when none).
inline double levelOf(const Nearest &q, int k) { return q.has(k) ? zg[q.n[k]] : 0.0; }

// The new level is also the bed at the start of later runs (plane 0), so
// that the bed change reports count from the interpolated bed.
void storeLevel(int i, int j, double level) {
  zval[i][j][1] = level;
  Surfaces[0][i][j] = level;
  if (FlagMakeKoomin > 0) Surfaces[3][i][j] = level - FlagMakeKoomin;
}

// Interpolates grid point (i, j); false when no quadrant holds a point. The
// weights are the share of each quadrant's level in the result, for the report.
bool interpolateLevel(int i, int j, const Nearest &q, const Options &o, double &level, double w[4]) {
  const double dNE = q.d[NE], dNW = q.d[NW], dSW = q.d[SW], dSE = q.d[SE];
  const double zNE = levelOf(q, NE), zNW = levelOf(q, NW), zSW = levelOf(q, SW), zSE = levelOf(q, SE);
  const bool all = q.has(NE) && q.has(NW) && q.has(SW) && q.has(SE);
  for (int k = 0; k < 4; ++k) w[k] = 0.0;
  if (all && o.weighting != 1) {
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) {
      w[k] = 1.0 / (q.d[k] + 1e-20);
      sum += w[k];
    }
    for (int k = 0; k < 4; ++k) w[k] /= sum;
    level = w[NE] * zNE + w[NW] * zNW + w[SW] * zSW + w[SE] * zSE;
  } else if (all) {
    // Each diagonal pair is interpolated along its diagonal; the pairs are
    // then weighted by the other pair's distances.
    const double s = dNE + dNW + dSW + dSE;
    const double a = (dNW + dSE) / s, b = (dNE + dSW) / s;
    level = a * (dSW * zNE + dNE * zSW) / (dNE + dSW) + b * (dSE * zNW + dNW * zSE) / (dNW + dSE);
    w[NE] = a * dSW / (dNE + dSW);
    w[SW] = a * dNE / (dNE + dSW);
    w[NW] = b * dSE / (dNW + dSE);
    w[SE] = b * dNW / (dNW + dSE);
  } else if (q.has(NE) && q.has(SW)) {
    level = (dSW * zNE + dNE * zSW) / (dNE + dSW);
    w[NE] = dSW / (dNE + dSW);
    w[SW] = dNE / (dNE + dSW);
  } else if (q.has(NW) && q.has(SE)) {
    level = (dSE * zNW + dNW * zSE) / (dNW + dSE);
    w[NW] = dSE / (dNW + dSE);
    w[SE] = dNW / (dNW + dSE);
  } else {
    // No full diagonal: the point lies outside the surveyed area on one side.
    int present = 0;
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) {
      if (q.has(k)) {
        ++present;
        sum += levelOf(q, k);
      }
    }
    if (present == 0) return false;
    level = sum / present;
    for (int k = 0; k < 4; ++k) w[k] = q.has(k) ? 1.0 / present : 0.0;
    bedLogLine(o.log, "\nWarning, using approximate value for i,j=%d %d\nWarning, scewed value for i,j=%d %d\n", i, j,
               i, j);
  }
  return true;
}

// One grid point: search, exact hit (letter D), far-point rule (F 129 2),
// interpolation.
void interpolatePoint(int i, int j, const Options &o) {
  Nearest q;
  searchQuadrants(xval[i][j], yval[i][j], o.radius, q);

  bool hit = false;
  double level = 0.0;
  if (o.detail) {
    for (int k : {SE, SW, NW, NE}) {
      if (q.d[k] < InterLimit) {
        hit = true;
        level = zg[q.n[k]];
        bedLogLine(o.log, "Using exact value for %d %d: %lf\n", i, j, level);
        break;
      }
    }
    if (!hit) {
      bedLogLine(o.log, "Interpolation point (%6d,%6d) from %6d %6d %6d %6d\n", i, j, q.n[NE], q.n[NW], q.n[SW],
                 q.n[SE]);
    }
  }

  if (o.weighting == 2) {
    // A grid point farther from every bed point than two column widths is
    // marked, to be filled along its grid line.
    double nearest = 1e6;
    for (int k = 0; k < 4; ++k) {
      if (q.has(k)) nearest = std::min(nearest, q.d[k]);
    }
    if (nearest > 2.0 * std::sqrt(armap[std::max(i, 2)][std::max(j, 2)])) {
      zval[i][j][1] = -1e10;
      return;
    }
  }
  if (hit) {
    storeLevel(i, j, level);
    return;
  }

  double w[4];
  if (!interpolateLevel(i, j, q, o, level, w)) return;
  storeLevel(i, j, level);
  if (o.detail) {
    bedLogLine(o.log,
               "Details point (%d,%d) z-value: %lf d: %lf %lf %lf %lf, w: %lf %lf %lf %lf, zg: %lf %lf %lf %lf\n", i,
               j, level, q.d[NE], q.d[NW], q.d[SW], q.d[SE], w[NE], w[NW], w[SW], w[SE], levelOf(q, NE),
               levelOf(q, NW), levelOf(q, SW), levelOf(q, SE));
  }
}

// Fills the marked grid points of block 1 along each j line from the nearest
// valid levels below and above in i, sweeping up in i so that a point filled
// earlier serves the points after it.
void fillAlongLines() {
  const GridBlock &b = block[1];
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      if (!(zval[i][j][1] < kMarkerLevel)) continue;
      int low = -1, up = -1;
      for (int k = i - 1; k >= b.i1 - 1; --k) {
        if (zval[k][j][1] > kMarkerLevel) {
          low = k;
          break;
        }
      }
      for (int k = i + 1; k <= b.i2; ++k) {
        if (zval[k][j][1] > kMarkerLevel) {
          up = k;
          break;
        }
      }
      double level = kMarkerLevel;
      if (low >= 0 && up >= 0) {
        const double zl = zval[low][j][1], zu = zval[up][j][1];
        if (zl < -1e8) {
          level = zu;
        } else if (zu < -1e8) {
          level = zl;
        } else {
          const double wl = 1.0 / (i - low), wu = 1.0 / (up - i);
          level = (zl * wl + zu * wu) / (wl + wu);
        }
      } else if (low >= 0) {
        if (zval[low][j][1] >= -1e8) level = zval[low][j][1];
      } else if (up >= 0) {
        level = zval[up][j][1];
      }
      zval[i][j][1] = level;
      Surfaces[0][i][j] = level;
    }
  }
}

// Grid points still marked keep the level they had before; one warning per block.
void restoreMarkedLevels(std::FILE *log, const std::vector<double> &before, const std::vector<char> &treated) {
  const int stride = ynumber + 2;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated[b]) continue;
    const GridBlock &blk = block[b];
    int kept = 0;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        if (zval[i][j][1] <= kMarkerLevel) {
          zval[i][j][1] = before[static_cast<std::size_t>(i) * stride + j];
          Surfaces[0][i][j] = zval[i][j][1];
          ++kept;
        }
      }
    }
    if (kept > 0) {
      bedLogLine(log, "Warning: %d grid points of block %d kept their bed level: no bed point near enough\n", kept, b);
    }
  }
}

}  // namespace

void bedinter() {
  if (NoGeo == 0) readGeodata();

  if (FlagMakeKoomin > 0 && NoBlocks >= 1) {
    const GridBlock &b = block[1];
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) Surfaces[3][i][j] = zval[i][j][1];
    }
  }

  std::FILE *log = std::fopen("boogie.bed", "a");
  if (!log) return;

  const Options o{InterALimit <= 10000.0 ? InterALimit : HUGE_VAL, FlagBedInterpol, debugging == 'D', log};

  // Levels before the interpolation, for grid points left without a value.
  const int stride = ynumber + 2;
  std::vector<double> before;
  std::vector<char> treated(NoBlocks + 1, 0);
  if (o.weighting == 2) {
    before.resize(static_cast<std::size_t>(xnumber + 2) * stride);
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) before[static_cast<std::size_t>(i) * stride + j] = zval[i][j][1];
    }
  }

  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.k1 != 1 || blk.BlockKind == 1 || blk.GridLevel != 0) continue;
    treated[b] = 1;
    char message[64];
    std::snprintf(message, sizeof message, " Interpolating block %d ", b);
    setStatus(mc_message, message);
    const int j1 = blk.j1 - 1, j2 = blk.j2;
    forEachThreadShare(blk.i1 - 1, blk.i2, [&](int first, int last) {
      for (int i = first; i <= last; ++i) {
        for (int j = j1; j <= j2; ++j) interpolatePoint(i, j, o);
      }
    });
  }

  if (o.weighting == 2) {
    if (NoBlocks >= 1) {
      fillAlongLines();
      treated[1] = 1;
    }
    restoreMarkedLevels(log, before, treated);
  }

  setStatus(mc_message, "Finished bed interpolation");
  std::fclose(log);
}

int delGeodataValues() {
  const double turn = (xDelGeo[2] - xDelGeo[1]) * (yDelGeo[3] - yDelGeo[1]) -
                      (yDelGeo[2] - yDelGeo[1]) * (xDelGeo[3] - xDelGeo[1]);
  if (turn < 0.0) return -1;
  xDelGeo[4] = xDelGeo[1];
  yDelGeo[4] = yDelGeo[1];
  if (!ig) return 0;
  forEachThreadShare(0, NoGeo - 1, [](int first, int last) {
    for (int n = first; n <= last; ++n) {
      if (insideTriGeo(n)) ig[n] = 1;
    }
  });
  return 0;
}

int nestbedinterpol() {
  for (int nb = 1; nb <= NoBlocks; ++nb) {
    const GridBlock &nest = block[nb];
    if (nest.NestLevel <= 0 || nest.GridLevel != 0) continue;
    // Plan bounding box of the nested block's four corner grid points.
    const int ci[4] = {nest.i1 - 1, nest.i2, nest.i2, nest.i1 - 1};
    const int cj[4] = {nest.j1 - 1, nest.j1 - 1, nest.j2, nest.j2};
    double xmin = xval[ci[0]][cj[0]], xmax = xmin, ymin = yval[ci[0]][cj[0]], ymax = ymin;
    for (int m = 1; m < 4; ++m) {
      xmin = std::min(xmin, xval[ci[m]][cj[m]]);
      xmax = std::max(xmax, xval[ci[m]][cj[m]]);
      ymin = std::min(ymin, yval[ci[m]][cj[m]]);
      ymax = std::max(ymax, yval[ci[m]][cj[m]]);
    }
    for (int ob = 1; ob <= NoBlocks; ++ob) {
      const GridBlock &outer = block[ob];
      if (ob == nb || outer.GridLevel != 0 || outer.NestLevel >= nest.NestLevel) continue;
      for (int i = outer.i1 - 1; i <= outer.i2; ++i) {
        for (int j = outer.j1 - 1; j <= outer.j2; ++j) {
          const double x = xval[i][j], y = yval[i][j];
          if (!(x > xmin && x < xmax && y > ymin && y < ymax)) continue;
          // The nested column whose bottom cell lies nearest the grid point.
          double best = 1e6;
          int bi = 0, bj = 0;
          for (int ni = nest.i1; ni <= nest.i2; ++ni) {
            for (int nj = nest.j1; nj <= nest.j2; ++nj) {
              const int c = static_cast<int>(zval[ni][nj][0]);
              if (c <= 0) continue;
              const double dx = Cxcenter[c] - x, dy = Cycenter[c] - y, d2 = dx * dx + dy * dy;
              if (d2 < best) {
                best = d2;
                bi = ni;
                bj = nj;
              }
            }
          }
          const int own = static_cast<int>(zval[i][j][0]);
          if (bi == 0 || own <= 0) continue;
          if (std::sqrt(best) < 2.0 * (Cidist[own] + Cjdist[own])) {
            zval[i][j][1] = zval[bi][bj][1];
            Surfaces[1][i][j] = Surfaces[1][bi][bj];
          }
        }
      }
    }
  }
  return NoBlocks;
}
