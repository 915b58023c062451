// The grid-point marks of the other column generators: the smoothing of the
// line counts of F 231, the steep grid lines of F 64 7 and 15, the crack marks
// of F 64 9, and the spreading of the marks that makes the corners of a
// column pair follow one rule. Writes antlin, vv, vn, crackI and crackJ.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "grid/generation/grid_generation.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Bed slopes steeper than this along a grid line mark both its ends.
constexpr double kMarkedSlope = 2.0;

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

bool inBlock(const GridBlock &b, int i, int j) { return i >= b.i1 && i <= b.i2 && j >= b.j1 && j <= b.j2; }

// Plan centre and mean bed level of column (i, j), from its four corners.
struct Centre {
  double x, y, bed;
};

Centre centreOf(int i, int j) {
  const int ci[4] = {i - 1, i, i, i - 1}, cj[4] = {j - 1, j - 1, j, j};
  Centre c{0.0, 0.0, 0.0};
  for (int m = 0; m < 4; ++m) {
    c.x += 0.25 * xval[ci[m]][cj[m]];
    c.y += 0.25 * yval[ci[m]][cj[m]];
    c.bed += 0.25 * zval[ci[m]][cj[m]][1];
  }
  return c;
}

// The crack mark of the column pair a -> b: their cell-count difference c
// (b minus a) when it exceeds F 232's count against the slope the bed takes
// from a to b: fewer cells up a slope steeper than F 232's angle value, more
// cells down a slope gentler than it. 0 otherwise.
int crackOf(int ia, int ja, int ib, int jb) {
  const int c = ant[ib][jb] - ant[ia][ja];
  const Centre a = centreOf(ia, ja), b = centreOf(ib, jb);
  const double s = (b.bed - a.bed) / (std::hypot(b.x - a.x, b.y - a.y) + 1e-20);
  if ((c < -FlagGridCNO && s > FlagGridVVANG) || (c > FlagGridCNO && s < FlagGridVVANG)) return c;
  return 0;
}

// F 232 second value 1: along a line of pairs, a pair without a mark takes
// the mark of the pair before it, else of the pair after it; only the marks
// found from the counts are copied, so an expansion reaches one pair.
template <class Mark>
void expandAlong(int first, int last, Mark mark) {
  int before = 0, current = first <= last ? mark(first) : 0;
  for (int n = first; n <= last; ++n) {
    const int next = n < last ? mark(n + 1) : 0;
    if (current == 0) mark(n) = before != 0 ? before : next;
    before = current;
    current = next;
  }
}

// Both ends of a crack between two columns with cells follow the bed; a
// crack beside a column without cells links nothing and marks nothing.
void markEnds(int ia, int ja, int ib, int jb, int ga, int gja, int gb, int gjb) {
  if (ant[ia][ja] <= 0 || ant[ib][jb] <= 0) return;
  ++vn[ga][gja];
  ++vn[gb][gjb];
  vv[ga][gja] = vv[gb][gjb] = 1;
}

}  // namespace

void smoothLineCounts(const GridBlock &b) {
  auto smooth = [](int ia, int ja, int ib, int jb) {
    const bool aLarger = antlin[ia][ja] > antlin[ib][jb];
    int &larger = aLarger ? antlin[ia][ja] : antlin[ib][jb];
    const int smaller = aLarger ? antlin[ib][jb] : antlin[ia][ja];
    if (larger <= smaller + 1) return;
    // The cell height at the finer line: the two points lie within one
    // cell of each other, so the finer line gets one point more, no more.
    const double h = aLarger ? depthAt(ia, ja) : depthAt(ib, jb);
    if (std::fabs(depthAt(ia, ja) - depthAt(ib, jb)) < h / (larger - 1)) larger = smaller + 1;
  };
  for (int j = b.j1 - 1; j <= b.j2; ++j) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      if (i < b.i2) smooth(i, j, i + 1, j);
      if (j < b.j2) smooth(i, j, i, j + 1);
    }
  }
}

void markSteepLines(const GridBlock &b) {
  auto mark = [](int ia, int ja, int ib, int jb) {
    const double run = std::hypot(xval[ib][jb] - xval[ia][ja], yval[ib][jb] - yval[ia][ja]);
    if (std::fabs(zval[ib][jb][1] - zval[ia][ja][1]) > kMarkedSlope * run) vv[ia][ja] = vv[ib][jb] = 1;
  };
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      if (i < b.i2) mark(i, j, i + 1, j);
      if (j < b.j2) mark(i, j, i, j + 1);
    }
  }
}

void markCracks(const GridBlock &b) {
  // crackI[i][j]: columns (i, j) and (i + 1, j); crackJ[i][j]: (i, j) and (i, j + 1).
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      if (i < b.i2) crackI[i][j] = crackOf(i, j, i + 1, j);
      if (j < b.j2) crackJ[i][j] = crackOf(i, j, i, j + 1);
    }
  }
  if (FlagGridQexpand == 1) {
    for (int i = b.i1; i < b.i2; ++i) expandAlong(b.j1, b.j2, [i](int j) -> int & { return crackI[i][j]; });
    for (int j = b.j1; j < b.j2; ++j) expandAlong(b.i1, b.i2, [j](int i) -> int & { return crackJ[i][j]; });
  }
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      // The side between (i, j) and (i + 1, j) runs from grid point (i, j - 1)
      // to (i, j); the side between (i, j) and (i, j + 1) from (i - 1, j).
      if (i < b.i2 && crackI[i][j] != 0) markEnds(i, j, i + 1, j, i, j - 1, i, j);
      if (j < b.j2 && crackJ[i][j] != 0) markEnds(i, j, i, j + 1, i - 1, j, i, j);
    }
  }
}

// The corners of a side are shared by the two columns beside it; where one
// end follows the bed and the other keeps the cap, the two columns' cells
// meet face to face only when they have equal counts. A mark therefore runs
// on along every segment between two columns with cells and unequal counts,
// until the region of such segments is closed.
void spreadBedMarks(const GridBlock &b) {
  static std::vector<std::pair<int, int>> open;  // keeps its room between grids
  open.clear();
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      if (vv[i][j] == 1) open.emplace_back(i, j);
    }
  }
  auto unequal = [&b](int ia, int ja, int ib, int jb) {
    return inBlock(b, ia, ja) && inBlock(b, ib, jb) && ant[ia][ja] > 0 && ant[ib][jb] > 0 && ant[ia][ja] != ant[ib][jb];
  };
  while (!open.empty()) {
    const auto [i, j] = open.back();
    open.pop_back();
    // The segment to each grid point beside (i, j) and the columns on its sides.
    const int ends[4][6] = {{i + 1, j, i + 1, j, i + 1, j + 1},
                            {i - 1, j, i, j, i, j + 1},
                            {i, j + 1, i, j + 1, i + 1, j + 1},
                            {i, j - 1, i, j, i + 1, j}};
    for (const auto &e : ends) {
      if (vv[e[0]][e[1]] == 1 || !unequal(e[2], e[3], e[4], e[5])) continue;
      vv[e[0]][e[1]] = 1;
      open.emplace_back(e[0], e[1]);
    }
  }
}
