// The flow path through block 1: from the column of the first cross-section
// that carries the most water, column by column downstream to the last one,
// every column on the way keeps a minimum depth, so one wet channel runs through.
#include <algorithm>
#include <cmath>

#include "grid/bed_levels/minimum_water_levels.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/faces.h"
#include "model/run_state.h"

using columns::bottomCell;
using columns::meanBed;
using columns::speed;
using columns::topCell;

namespace {

constexpr int kRuteSize = 10000;

bool onPath(int b) { return Bminwaterlevel[b] >= -10.0; }

void raiseColumn(int i, int j, double z) {
  const int b = pointbed[i][j];
  if (b > 0) Bminwaterlevel[b] = std::max(Bminwaterlevel[b], z);
}

// The column of the first cross-section with the largest depth-weighted speed.
int startColumn(const GridBlock &g) {
  int found = 0;
  double best = -1.0;
  for (int j = g.j1; j <= g.j2; ++j) {
    const int c = bottomCell(g.i1, j);
    if (c <= 0 || pointbed[g.i1][j] <= 0) continue;
    double sum = 0.0;
    for (int m = c; m > 0; m = Ccellt[m]) sum += Ckdist[m] * speed(m);
    if (sum > best) {
      best = sum;
      found = j;
    }
  }
  return found;
}

// The next column: the wet neighbour off the path the top-cell velocity points
// at, or from the second step on the deepest one when it is deep enough.
bool nextColumn(const GridBlock &g, int i, int j, int k, int &ni, int &nj) {
  static constexpr int di[4] = {0, 1, 0, -1}, dj[4] = {-1, 0, 1, 0};
  const int c = bottomCell(i, j), t = topCell(c);
  double bestScore = -1e8, bestDepth = 0.0;
  int chosen = -1, deepest = -1;
  for (int m = 0; m < 4; ++m) {
    const int ci = i + di[m], cj = j + dj[m];
    if (ci < g.i1 || ci > g.i2 || cj < g.j1 || cj > g.j2) continue;
    const int n = bottomCell(ci, cj), b = pointbed[ci][cj];
    if (n <= 0 || b <= 0 || onPath(b)) continue;
    const int nt = topCell(n);
    const double along = (Cxcenter[n] - Cxcenter[c]) * Cxvel[t] + (Cycenter[n] - Cycenter[c]) * Cyvel[t];
    const double score = speed(nt) * Ckdist[nt] * std::min(0.1, along);
    if (score > bestScore) {
      bestScore = score;
      chosen = m;
    }
    if (deepest < 0 || Bdepth[b] > bestDepth) {
      bestDepth = Bdepth[b];
      deepest = m;
    }
  }
  if (chosen < 0) return false;
  if (k >= 1 && bestDepth > DepthBreakPath) chosen = deepest;
  ni = i + di[chosen];
  nj = j + dj[chosen];
  return true;
}

}  // namespace

void walkFlowPath(double D) {
  if (DepthBreakPath < 0.0) DepthBreakPath = 10.0 * MinVertDist0;
  const GridBlock &g = block[1];
  if (g.j1 > g.j2) return;
  const int start = startColumn(g);
  if (start == 0) return;  // no wet column upstream: the path stays empty
  std::fill(rute, rute + std::min(5 * g.i2, kRuteSize), 0);
  const int last = std::min(g.j2 * g.i2, kRuteSize);
  int i = g.i1, j = start, k = 0, kmax = 0, steps = 0;
  bool inLastSection = false;
  for (;;) {
    const int b = pointbed[i][j];
    const double zb = meanBed(i, j);
    rute[k] = b;
    kmax = std::max(kmax, k);
    Bminwaterlevel[b] = zb + D;
    if (FlagRiseNeighbours > 0) riseNeighbours(i, j, zb, D);
    if (k > 0 && FlagRiseNeighbours > 2) Bminwaterlevel[rute[k - 1]] = std::max(Bminwaterlevel[rute[k - 1]], zb + D);
    if (i == g.i2) {
      inLastSection = true;
      break;
    }
    if (++steps > 20000) break;
    int ni = 0, nj = 0;
    if (!nextColumn(g, i, j, k, ni, nj)) {
      if (k < 2) break;
      --k;  // dead end: back to the previous column, which is written again
      i = Bkooi[rute[k]];
      j = Bkooj[rute[k]];
      continue;
    }
    if (k + 1 >= last) {
      inLastSection = ni == g.i2;
      break;
    }
    ++k;
    i = ni;
    j = nj;
  }
  // Columns written beyond the end of a completed path are dead ends: out again.
  if (!inLastSection) return;
  for (int n = k + 1; n <= kmax; ++n) {
    if (rute[n] > 0) Bminwaterlevel[rute[n]] = -100.0;
    rute[n] = 0;
  }
}

void riseNeighbours(int i, int j, double zb, double D) {
  const double z = zb + 0.8 * D;
  raiseColumn(i - 1, j, z);
  raiseColumn(i + 1, j, z);
  raiseColumn(i, j - 1, z);
  raiseColumn(i, j + 1, z);
  if (FlagRiseNeighbours <= 1) return;
  raiseColumn(i - 1, j - 1, z);
  raiseColumn(i + 1, j + 1, z);
  raiseColumn(i + 1, j - 1, z);
  raiseColumn(i - 1, j + 1, z);
}

namespace {

// Area, discharge and width of a wet stretch of columns: along i the water
// crosses the south and north faces, along j the east and west ones.
struct Stretch {
  int first, last;
  double A = 0.0, Q = 0.0, W = 0.0;
};

void addFaces(int f1, int f2, Stretch &s) {
  s.A += 0.5 * (Farea[f1] + Farea[f2]);
  s.Q += 0.5 * (Fflux[f1] + Fflux[f2]);
}

Stretch stretchAlongI(int i, int j) {
  Stretch s{i, i};
  while (s.last + 1 <= std::min(9999, xnumber) && bottomCell(s.last + 1, j) != 0) ++s.last;
  while (s.first - 1 >= 2 && bottomCell(s.first - 1, j) != 0) --s.first;
  for (int ii = s.first; ii <= s.last; ++ii) {
    int c = bottomCell(ii, j);
    for (; Ccellt[c] > 0; c = Ccellt[c]) addFaces(Cflates[c], Cflaten[c], s);
    s.W += Cidist[c];
  }
  s.Q = std::fabs(s.Q) * 0.001;
  return s;
}

Stretch stretchAlongJ(int i, int j) {
  Stretch s{j, j};
  while (s.last + 1 <= std::min(9999, ynumber) && bottomCell(i, s.last + 1) != 0) ++s.last;
  while (s.first - 1 >= 2 && bottomCell(i, s.first - 1) != 0) --s.first;
  for (int jj = s.first; jj <= s.last; ++jj) {
    int c = bottomCell(i, jj);
    for (; Ccellt[c] > 0; c = Ccellt[c]) addFaces(Cflatee[c], Cflatew[c], s);
    s.W += Cjdist[c];
  }
  s.Q = std::fabs(s.Q) * 0.001;
  return s;
}

}  // namespace

void computeCriticalCross() {
  for (int n = 0; n < kRuteSize && rute[n] >= 1; ++n) {
    const int i = Bkooi[rute[n]], j = Bkooj[rute[n]];
    const int c = bottomCell(i, j);
    if (c <= 0) continue;
    const Stretch along_i = stretchAlongI(i, j), along_j = stretchAlongJ(i, j);
    double H = 0.0;
    for (int m = c; Ccellt[m] > 0; m = Ccellt[m]) H += 2.0 * Ckdist[m];
    const double zb = Czcenter[c] - Ckdist[c];
    const bool useI = along_i.Q > along_j.Q;
    const Stretch &s = useI ? along_i : along_j;
    const double Fr = (s.Q / (s.A + 1e-20)) / std::sqrt(9.81 * s.A / (s.W + 1e-20));
    if (!(Fr > 1.0)) continue;
    const double level = zb + H * std::pow(Fr, 0.4);
    for (int m = s.first; m <= s.last; ++m) {
      const int b = useI ? pointbed[m][j] : pointbed[i][m];
      if (b > 0) Bminwaterlevel[b] = level;
    }
  }
}

void computeSurfLevFroude(int h) {
  if (!BLevFroude) return;
  const int count = std::min(5 * block[1].i2, kRuteSize);
  for (int n = 0; n < count; ++n) {
    const int b = rute[n];
    if (b == 0) break;
    const int c = bottomCell(Bkooi[b], Bkooj[b]);
    if (c <= 0) break;
    const int t = topCell(c);
    BLevFroude[b] = h - ((Czcenter[t] - Czcenter[c]) + Ckdist[c] + Ckdist[t]);
  }
}
