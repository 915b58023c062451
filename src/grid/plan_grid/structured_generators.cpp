// Structured-grid generators of one block: straight sides, linear and
// transfinite interpolation, diagonal and elliptic smoothing, a line of fixed
// points, a circle through fixed points, the vertical redistribution of
// "gridchange" and the "koordina.new" writer. Writes xval, yval, zval, P, Q
// and the W 6 list.
#include "grid/plan_grid/structured_generators.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// The first and last grid lines of the current block.
struct Frame {
  int i0, i1, j0, j1;
};

Frame currentFrame() {
  if (BlockID == 0) BlockID = 1;
  const GridBlock &b = block[BlockID];
  // A partition's first i line is shared with its neighbour and stays put.
  return {FlagMPI > 1 ? b.i1 : b.i1 - 1, b.i2, b.j1 - 1, b.j2};
}

// The W 6 points as a map over the structured arrays, built once per call.
class FixedPoints {
 public:
  FixedPoints() : rows_(ynumber + 2), mark_(static_cast<std::size_t>(xnumber + 2) * rows_, 0) {
    for (int n = 1; n <= FastNo; ++n) {
      if (inside(iFast[n], jFast[n])) mark_[index(iFast[n], jFast[n])] = 1;
    }
  }
  bool operator()(int i, int j) const { return inside(i, j) && mark_[index(i, j)] != 0; }

 private:
  static bool inside(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }
  std::size_t index(int i, int j) const { return static_cast<std::size_t>(i) * rows_ + j; }
  int rows_;
  std::vector<char> mark_;
};

enum class Levels { Bed, BedAndWater };

// Point (i, j) takes (1 - t) of point a and t of point b: x, y, the bed and,
// when asked, the water level.
void blend(int i, int j, int ai, int aj, int bi, int bj, double t, Levels levels) {
  xval[i][j] = (1.0 - t) * xval[ai][aj] + t * xval[bi][bj];
  yval[i][j] = (1.0 - t) * yval[ai][aj] + t * yval[bi][bj];
  zval[i][j][1] = (1.0 - t) * zval[ai][aj][1] + t * zval[bi][bj][1];
  if (levels == Levels::BedAndWater) {
    zval[i][j][znumber] = (1.0 - t) * zval[ai][aj][znumber] + t * zval[bi][bj][znumber];
  }
}

// One grid line from (i, j) in steps (di, dj), count + 1 points: the points
// between consecutive anchors (and the ends) become linear by index.
template <typename Anchor>
void straightenBetweenAnchors(int i, int j, int di, int dj, int count, const Anchor &anchor) {
  int last = 0;
  for (int s = 1; s <= count; ++s) {
    if (s < count && !anchor(i + s * di, j + s * dj)) continue;
    for (int m = last + 1; m < s; ++m) {
      blend(i + m * di, j + m * dj, i + last * di, j + last * dj, i + s * di, j + s * dj,
            static_cast<double>(m - last) / (s - last), Levels::BedAndWater);
    }
    last = s;
  }
}

// Range of the block's coordinates over its frame lines.
struct Extent {
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
};

Extent extentOf(const Frame &f) {
  Extent e;
  for (int i = f.i0; i <= f.i1; ++i) {
    for (int j = f.j0; j <= f.j1; ++j) {
      e.xmin = std::min(e.xmin, xval[i][j]);
      e.xmax = std::max(e.xmax, xval[i][j]);
      e.ymin = std::min(e.ymin, yval[i][j]);
      e.ymax = std::max(e.ymax, yval[i][j]);
    }
  }
  return e;
}

double signOf(int d) { return d > 0 ? 1.0 : d < 0 ? -1.0 : 0.0; }

// The control functions of the W 7 points: types 0 and 1 attract towards a
// point, 2 and 3 towards a line (at a fifth of the strength); 0 and 2 act on
// the i lines (P), 1 and 3 on the j lines (Q).
void attractionFunctions(const Frame &f) {
  const Extent e = extentOf(f);
  const double span = std::max(e.xmax, e.ymax) - std::min(e.xmin, e.ymin);
  for (int i = f.i0; i <= f.i1; ++i) {
    for (int j = f.j0; j <= f.j1; ++j) P[i][j] = Q[i][j] = 0.0;
  }
  if (span <= 0.0) return;
  const GridBlock &b = block[BlockID];
  const double scale = span / std::sqrt(static_cast<double>(b.i2) * b.j2);
  const double factor = 1.0 / (scale * scale);
  for (int n = 1; n <= AttractNo; ++n) {
    const AttractEntry &a = Attract[n];
    for (int i = f.i0; i <= f.i1; ++i) {
      for (int j = f.j0; j <= f.j1; ++j) {
        const int di = i - a.i, dj = j - a.j;
        const bool onI = a.type == 0 || a.type == 2;
        const double sign = signOf(onI ? di : dj);
        double distance = std::hypot(static_cast<double>(di), static_cast<double>(dj)), weight = 1.0;
        if (a.type >= 2) {
          distance = std::abs(onI ? di : dj);
          weight = 0.2;
        }
        const double term = -a.value1 * factor * sign * std::exp(-a.value2 * distance) * weight;
        (onI ? P : Q)[i][j] += term;
      }
    }
  }
}

// One point of the discrete elliptic equations with central differences:
// alpha x_ii - 2 beta x_ij + gamma x_jj + J^2 (P x_i + Q x_j) = 0, and the
// same for y.
void ellipticPoint(int i, int j, const Extent &e) {
  const double xi = 0.5 * (xval[i + 1][j] - xval[i - 1][j]), yi = 0.5 * (yval[i + 1][j] - yval[i - 1][j]);
  const double xj = 0.5 * (xval[i][j + 1] - xval[i][j - 1]), yj = 0.5 * (yval[i][j + 1] - yval[i][j - 1]);
  const double alpha = xj * xj + yj * yj, beta = xi * xj + yi * yj, gamma = xi * xi + yi * yi;
  const double jac = xi * yj - xj * yi, denom = 2.0 * (alpha + gamma);
  if (denom <= 0.0) return;
  const double xij = 0.25 * (xval[i + 1][j + 1] - xval[i + 1][j - 1] - xval[i - 1][j + 1] + xval[i - 1][j - 1]);
  const double yij = 0.25 * (yval[i + 1][j + 1] - yval[i + 1][j - 1] - yval[i - 1][j + 1] + yval[i - 1][j - 1]);
  const double source = jac * jac;
  double x = (alpha * (xval[i + 1][j] + xval[i - 1][j]) + gamma * (xval[i][j + 1] + xval[i][j - 1]) - 2.0 * beta * xij +
              source * (P[i][j] * xi + Q[i][j] * xj)) /
             denom;
  double y = (alpha * (yval[i + 1][j] + yval[i - 1][j]) + gamma * (yval[i][j + 1] + yval[i][j - 1]) - 2.0 * beta * yij +
              source * (P[i][j] * yi + Q[i][j] * yj)) /
             denom;
  x = std::clamp(x, e.xmin, e.xmax);
  y = std::clamp(y, e.ymin, e.ymax);
  // Half of the step: the attraction terms make the full step overshoot.
  xval[i][j] = 0.5 * (xval[i][j] + x);
  yval[i][j] = 0.5 * (yval[i][j] + y);
}

// Percentages of one Z data set: non-decreasing, 0..100, ending at 100.
bool goodPercentages(const double *p, int count) {
  for (int k = 1; k <= count; ++k) {
    if (!std::isfinite(p[k]) || p[k] < 0.0 || p[k] > 100.0) return false;
    if (k > 1 && p[k] < p[k - 1]) return false;
  }
  return std::fabs(p[count] - 100.0) <= 1e-5;
}

// The levels of one Z data set fit a fixed table of 28.
constexpr int kMaxZLevels = 28;

[[noreturn]] void refuseZ() { fatalExit(kExitInputError, "Input error for Z in control"); }

void readZ(ControlStream &in) {
  int i1 = 0, i2 = 0, j1 = 0, j2 = 0;
  const ScanResult r = scan(in, "%d%d%d%d", &i1, &i2, &j1, &j2);
  if (r.count != 4 || r.bad || i1 < 2 || j1 < 2 || i1 > i2 || j1 > j2 || i2 > xnumber || j2 > ynumber) refuseZ();
  if (znumber > kMaxZLevels) fatalExit(2, "Error, the Z data sets in control take at most 28 levels\n");
  double p[kMaxZLevels + 1] = {};
  for (int k = 1; k <= znumber; ++k) {
    const ScanResult v = scan(in, "%lf", &p[k]);
    if (v.count != 1 || v.bad) refuseZ();
  }
  if (znumber < 1 || !goodPercentages(p, znumber)) refuseZ();
  for (int i = i1; i <= i2; ++i) {
    for (int j = j1; j <= j2; ++j) {
      const double bed = zval[i][j][1], depth = zval[i][j][znumber] - bed;
      for (int k = 1; k <= znumber; ++k) zval[i][j][k] = bed + p[k] / 100.0 * depth;
    }
  }
}

}  // namespace

void sides() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  auto anchor = [&](int i, int j) {
    if (fixed(i, j)) return true;
    for (int n = 0; n < NoConnect; ++n) {
      if ((conn[n][0] == i && conn[n][2] == j) || (conn[n][1] == i && conn[n][3] == j)) return true;
    }
    return false;
  };
  const int ni = f.i1 - f.i0, nj = f.j1 - f.j0;
  straightenBetweenAnchors(f.i0, f.j0, 1, 0, ni, anchor);
  straightenBetweenAnchors(f.i0, f.j1, 1, 0, ni, anchor);
  straightenBetweenAnchors(f.i0, f.j0, 0, 1, nj, anchor);
  straightenBetweenAnchors(f.i1, f.j0, 0, 1, nj, anchor);
}

void Itransfinite() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  for (int i = f.i0 + 1; i < f.i1; ++i) straightenBetweenAnchors(i, f.j0, 0, 1, f.j1 - f.j0, fixed);
}

void Jtransfinite() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  const int rows = f.i1 - f.i0 - 1;
  for (int j = f.j0 + 1; j < f.j1; ++j) {
    for (int k = 0; k < rows; ++k) {
      const int i = f.i0 + 1 + k;
      if (!fixed(i, j)) blend(i, j, f.i0, j, f.i1, j, (k + 1.0) / (rows + 1.0), Levels::Bed);
    }
  }
}

void Mtransfinite() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  for (int i = f.i0 + 1; i < f.i1; ++i) {
    const double s = static_cast<double>(i - f.i0) / (f.i1 - f.i0);
    for (int j = f.j0 + 1; j < f.j1; ++j) {
      if (fixed(i, j)) continue;
      const double t = static_cast<double>(j - f.j0) / (f.j1 - f.j0);
      auto mean = [&](double **v) {
        return 0.5 * ((1.0 - t) * v[i][f.j0] + t * v[i][f.j1] + (1.0 - s) * v[f.i0][j] + s * v[f.i1][j]);
      };
      const double x = mean(xval), y = mean(yval);
      const double bed = 0.5 * ((1.0 - t) * zval[i][f.j0][1] + t * zval[i][f.j1][1] + (1.0 - s) * zval[f.i0][j][1] +
                                s * zval[f.i1][j][1]);
      xval[i][j] = x;
      yval[i][j] = y;
      zval[i][j][1] = bed;
    }
  }
}

void transfinite() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  for (int sweep = 0; sweep < 501; ++sweep) {
    for (int i = f.i0 + 1; i < f.i1; ++i) {
      for (int j = f.j0 + 1; j < f.j1; ++j) {
        if (fixed(i, j)) continue;
        xval[i][j] = 0.25 * (xval[i + 1][j + 1] + xval[i + 1][j - 1] + xval[i - 1][j + 1] + xval[i - 1][j - 1]);
        yval[i][j] = 0.25 * (yval[i + 1][j + 1] + yval[i + 1][j - 1] + yval[i - 1][j + 1] + yval[i - 1][j - 1]);
      }
    }
  }
}

void elliptic() {
  const Frame f = currentFrame();
  const FixedPoints fixed;
  attractionFunctions(f);
  const Extent e = extentOf(f);
  for (int sweep = 0; sweep < 21; ++sweep) {
    for (int i = f.i0 + 1; i < f.i1; ++i) {
      for (int j = f.j0 + 1; j < f.j1; ++j) {
        if (!fixed(i, j)) ellipticPoint(i, j, e);
      }
    }
  }
}

void addLineNoMovePoints() {
  if (FastNo < 2) return;
  const int ia = iFast[FastNo - 1], ja = jFast[FastNo - 1], ib = iFast[FastNo], jb = jFast[FastNo];
  int di = 0, dj = 0, count = 0;
  if (ja == jb && ia != ib) {
    di = ib > ia ? 1 : -1;
    count = std::abs(ib - ia);
  } else if (ia == ib && ja != jb) {
    dj = jb > ja ? 1 : -1;
    count = std::abs(jb - ja);
  } else {
    return;
  }
  if (FastNo + count - 1 >= kMaxFast) fatalExit(kExitTableFull, "Error, too many W 6 data sets\n");
  for (int m = 1; m < count; ++m) {
    const int i = ia + m * di, j = ja + m * dj;
    blend(i, j, ia, ja, ib, jb, static_cast<double>(m) / count, Levels::Bed);
    ++FastNo;
    iFast[FastNo] = i;
    jFast[FastNo] = j;
  }
}

void gridchange() {
  logText(" In gridchange \n\n");
  std::string text;
  if (readTextFile("control", text)) {
    ControlStream in(std::move(text));
    for (int c = in.get(); c != EOF; c = in.get()) {
      if (c == 'P') {
        int number = 0;
        if (scan(in, " %d", &number).count == 1 && number == 3) scan(in, "%d%d%d%d", &xnode, &ynode, &znode, &lnode);
      } else if (c == 'Z') {
        readZ(in);
      }
    }
  }
  logText(" End of gridchange \n\n");
}

void writekoor() {
  char name[64] = "koordina.new";
  if (FlagMPI > 0) std::snprintf(name, sizeof name, "koorina.mpi%d.new", FlagMPI);
  std::FILE *points = std::fopen(name, "w");
  if (!points) return;
  std::FILE *beds = std::fopen("koordina.si1", "w");
  if (!beds) {
    std::fclose(points);
    return;
  }
  const GridBlock &b = block[1];
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      const double x = xval[i][j], y = yval[i][j], bed = zval[i][j][1];
      if (FlagRoof == 1) {
        std::fprintf(points, "%d %d %lf %lf %lf\n", i, j, x, y, bed);
      } else {
        std::fprintf(points, "%d %d %lf %lf %lf %lf\n", i, j, x, y, bed, zval[i][j][znumber]);
      }
      std::fprintf(beds, "%d %d %lf %lf %lf\n", i, j, x, y, bed);
    }
  }
  std::fclose(points);
  std::fclose(beds);
}

void computeCircle() {
  if (FastNo < 3) return;
  const int n1 = FastNo - 2, n2 = FastNo - 1, n3 = FastNo;
  const int i = iFast[n1];
  // Only three points on one i line set points on their circle.
  if (iFast[n2] != i || iFast[n3] != i || jFast[n1] == jFast[n3]) return;
  const double x1 = xval[i][jFast[n1]], y1 = yval[i][jFast[n1]];
  const double x2 = xval[i][jFast[n2]], y2 = yval[i][jFast[n2]];
  const double x3 = xval[i][jFast[n3]], y3 = yval[i][jFast[n3]];
  const double d = 2.0 * (x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2));
  if (std::fabs(d) < 1e-12) return;  // on one straight line: no circle
  const double s1 = x1 * x1 + y1 * y1, s2 = x2 * x2 + y2 * y2, s3 = x3 * x3 + y3 * y3;
  const double cx = (s1 * (y2 - y3) + s2 * (y3 - y1) + s3 * (y1 - y2)) / d;
  const double cy = (s1 * (x3 - x2) + s2 * (x1 - x3) + s3 * (x2 - x1)) / d;
  const double radius = std::hypot(x1 - cx, y1 - cy);
  // The arc from the first to the last point that passes the middle one.
  auto turn = [](double a) { return a < 0.0 ? a + 2.0 * kPi : a; };
  const double a1 = std::atan2(y1 - cy, x1 - cx);
  const double to2 = turn(std::atan2(y2 - cy, x2 - cx) - a1), to3 = turn(std::atan2(y3 - cy, x3 - cx) - a1);
  const double sweep = to2 < to3 ? to3 : to3 - 2.0 * kPi;
  const FixedPoints fixed;
  const int ja = jFast[n1], jb = jFast[n3], steps = std::abs(jb - ja), dj = jb > ja ? 1 : -1;
  for (int m = 1; m < steps; ++m) {
    const int j = ja + m * dj;
    if (fixed(i, j)) continue;
    const double angle = a1 + sweep * m / steps;
    xval[i][j] = cx + radius * std::cos(angle);
    yval[i][j] = cy + radius * std::sin(angle);
  }
}
