// Point maps and neighbourhoods of the 3D visualisation writers. The nearest
// grid point is found through buckets of the structured grid built once per
// call; the scratch tables keep their capacity for the whole run.
#include "files/visualisation/point_maps.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

#include "files/visualisation/output_variables.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

int *const *cornerTable(int corner) {
  static int *const *const tables[9] = {nullptr,   &Cpoint1, &Cpoint2, &Cpoint3, &Cpoint4,
                                        &Cpoint5, &Cpoint6, &Cpoint7, &Cpoint8};
  return tables[corner];
}

// The four columns around grid point (i, j) and the corners of their cells
// that stand on it: lower corner, upper corner above it.
struct ColumnCorner {
  int di, dj, lower, upper;
};
constexpr ColumnCorner kAround[4] = {{1, 1, 1, 5}, {0, 0, 3, 7}, {0, 1, 2, 6}, {1, 0, 4, 8}};

bool hasCorner(int c, int q, int lower, int upper) {
  return (*cornerTable(lower))[c] == q || (*cornerTable(upper))[c] == q;
}

int add(int *cells, int n, int c) {
  if (n < kMaxTouchingCells) cells[n++] = c;
  return n;
}

// The start cell of a dry column on a grid of several blocks: the diagonal
// column's bottom cell moved by two neighbour links, the second order tried
// when the first reaches nothing.
int acrossStart(int k, int i, int j) {
  switch (k) {
    case 0: {
      const int c0 = bottomCell(i, j);
      return c0 ? Ccelle[Ccelln[c0]] : 0;
    }
    case 1: {
      const int c0 = bottomCell(i + 1, j + 1);
      if (!c0) return 0;
      const int c = Ccellw[Ccells[c0]];
      return c ? c : Ccells[Ccellw[c0]];
    }
    case 2: {
      const int c0 = bottomCell(i + 1, j);
      if (!c0) return 0;
      const int c = Ccellw[Ccelln[c0]];
      return c ? c : Ccelln[Ccellw[c0]];
    }
    default: {
      const int c0 = bottomCell(i, j + 1);
      if (!c0) return 0;
      const int c = Ccelle[Ccells[c0]];
      return c ? c : Ccells[Ccelle[c0]];
    }
  }
}

// --- buckets of the structured grid points ---

std::vector<std::pair<std::uint64_t, int>> bucketed;  // (bucket key, point code i·(ynumber+2)+j), sorted
std::vector<double> spacings;                         // scratch for the typical spacing

constexpr double kMaxDistance = 1000.0;

std::int64_t bucketOf(double v, double origin, double h) { return static_cast<std::int64_t>(std::floor((v - origin) / h)); }

std::uint64_t keyOf(std::int64_t bx, std::int64_t by) {
  return (static_cast<std::uint64_t>(bx) << 32) ^ static_cast<std::uint64_t>(by & 0xffffffff);
}

}  // namespace

void fillPointPositions(int ia, int ib, int ja, int jb, int lastPoint) {
  std::fill(Pi, Pi + lastPoint + 1, 0);
  std::fill(Pj, Pj + lastPoint + 1, 0);
  for (int a = ia; a <= ib; ++a) {
    for (int b = ja; b <= jb; ++b) {
      for (int c = bottomCell(a, b); c != 0; c = Ccellt[c]) {
        const int corners[4][3] = {{1, a - 1, b - 1}, {2, a, b - 1}, {3, a, b}, {4, a - 1, b}};
        for (const auto &k : corners) {
          for (int p : {(*cornerTable(k[0]))[c], (*cornerTable(k[0] + 4))[c]}) {
            if (p < 1 || p > lastPoint) continue;
            Pi[p] = k[1];
            Pj[p] = k[2];
          }
        }
      }
    }
  }
}

void fillPointCells(int lastPoint) {
  for (int p = 0; p <= lastPoint; ++p) Pc[p] = p;
  for (int n = 1; n <= NoConnFlate; ++n) {
    const int f1 = connFlate[n][0], f2 = connFlate[n][1];
    for (int *const *corner : {&Fpoint1, &Fpoint2, &Fpoint3, &Fpoint4}) {
      const int p = (*corner)[f1];
      if (p >= 1 && p <= lastPoint) Pc[p] = (*corner)[f2];
    }
  }
}

int touchingCells(int q, int i, int j, int *cells) {
  int n = 0;
  for (const ColumnCorner &k : kAround) {
    for (int c = bottomCell(i + k.di, j + k.dj); c != 0; c = Ccellt[c]) {
      if (hasCorner(c, q, k.lower, k.upper)) n = add(cells, n, c);
    }
  }
  return n;
}

int touchingCellsAcross(int q, int i, int j, int *cells) {
  int n = 0;
  for (int k = 0; k < 4; ++k) {
    const ColumnCorner &a = kAround[k];
    int start = bottomCell(i + a.di, j + a.dj);
    if (start == 0 && NoBlocks > 1) start = acrossStart(k, i, j);
    if (start == 0) continue;
    const int end = std::min(start + znumber, NoCells);
    for (int c = start; c <= end; ++c) {
      if (hasCorner(c, q, a.lower, a.upper)) n = add(cells, n, c);
    }
  }
  return n;
}

void NearestGridPoints::build() {
  double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
  spacings.clear();
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      xmin = std::min(xmin, xval[i][j]);
      xmax = std::max(xmax, xval[i][j]);
      ymin = std::min(ymin, yval[i][j]);
      ymax = std::max(ymax, yval[i][j]);
      if (j < ynumber) {
        const double d = std::fabs(xval[i][j + 1] - xval[i][j]) + std::fabs(yval[i][j + 1] - yval[i][j]);
        if (d > 0.0) spacings.push_back(d);
      }
    }
  }
  // The typical spacing of neighbouring grid lines sizes the buckets, so
  // that the points far from the grid (unused lines at 0) do not widen them.
  double h = 1.0;
  if (!spacings.empty()) {
    std::nth_element(spacings.begin(), spacings.begin() + spacings.size() / 2, spacings.end());
    h = spacings[spacings.size() / 2];
  }
  const double extent = std::max(xmax - xmin, ymax - ymin);
  h = std::max(h, extent / 1e9);
  if (!(h > 0.0)) h = 1.0;
  x0_ = xmin;
  y0_ = ymin;
  h_ = h;
  bucketed.clear();
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      bucketed.emplace_back(keyOf(bucketOf(xval[i][j], x0_, h_), bucketOf(yval[i][j], y0_, h_)), i * (ynumber + 2) + j);
    }
  }
  std::sort(bucketed.begin(), bucketed.end());
  lastBucketX_ = bucketOf(xmax, x0_, h_);
  lastBucketY_ = bucketOf(ymax, y0_, h_);
}

NearestGridPoints::Found NearestGridPoints::find(double x, double y) const {
  const int row = ynumber + 2;
  int best1 = -1, best2 = -1;
  double d1 = 0.0, d2 = 0.0;
  // Better: nearer, or as near and earlier in the i-outer, j-inner order.
  auto better = [](double d, int code, double dBest, int codeBest) {
    return codeBest < 0 || d < dBest || (d == dBest && code < codeBest);
  };
  auto consider = [&](int code) {
    const int i = code / row, j = code % row;
    const double d = std::fabs(xval[i][j] - x) + std::fabs(yval[i][j] - y);
    if (!(d < kMaxDistance)) return;
    if (better(d, code, d1, best1)) {
      best2 = best1;
      d2 = d1;
      best1 = code;
      d1 = d;
    } else if (better(d, code, d2, best2)) {
      best2 = code;
      d2 = d;
    }
  };
  auto visit = [&](std::int64_t bx, std::int64_t by) {
    if (bx < 0 || by < 0) return;
    const std::uint64_t key = keyOf(bx, by);
    auto it = std::lower_bound(bucketed.begin(), bucketed.end(), std::make_pair(key, -1));
    for (; it != bucketed.end() && it->first == key; ++it) consider(it->second);
  };
  const std::int64_t qx = bucketOf(x, x0_, h_), qy = bucketOf(y, y0_, h_);
  // A point in a bucket beyond ring r lies more than r·h away in x or y.
  const std::int64_t maxRing = static_cast<std::int64_t>(std::ceil(kMaxDistance / h_)) + 1;
  for (std::int64_t r = 0; r <= maxRing; ++r) {
    if (r == 0) {
      visit(qx, qy);
    } else {
      for (std::int64_t dx = -r; dx <= r; ++dx) {
        visit(qx + dx, qy - r);
        visit(qx + dx, qy + r);
      }
      for (std::int64_t dy = -r + 1; dy <= r - 1; ++dy) {
        visit(qx - r, qy + dy);
        visit(qx + r, qy + dy);
      }
    }
    if (best2 >= 0 && d2 <= r * h_) break;
    const bool coversAll = qx - r <= 0 && qy - r <= 0 && qx + r >= lastBucketX_ && qy + r >= lastBucketY_;
    if (coversAll) break;
  }
  Found f;
  if (best1 >= 0) {
    f.i1 = best1 / row;
    f.j1 = best1 % row;
    f.d1 = d1;
  }
  if (best2 >= 0) {
    f.i2 = best2 / row;
    f.j2 = best2 % row;
    f.d2 = d2;
  }
  return f;
}

double NearestGridPoints::value(char letter, double x, double y) const {
  const Found f = find(x, y);
  if (f.i1 < 0) return 0.0;
  const double v1 = structuredValue(letter, f.i1, f.j1);
  if (f.d1 < 0.001 || f.i2 < 0) return v1;
  const double w = f.d1 / (f.d1 + f.d2);
  return (1.0 - w) * v1 + w * structuredValue(letter, f.i2, f.j2);
}
