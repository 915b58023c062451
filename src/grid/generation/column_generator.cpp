// The default column generator: vertical line counts from the local depth,
// cell counts per column, the cell numbers of a block, then its columns bottom
// cell first through NewCell and MakeCell. Writes antlin, ant, num, zval[.][.][0]
// and, through the cell builder, the cells, faces and points of the block.
#include <algorithm>
#include <cmath>

#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "grid/plan_grid/grid_rectangles.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

// Corner fractions this close to 1 or 0 are snapped, so that corners meet
// the bed and the surface exactly.
constexpr double kNearOne = 0.99999;
constexpr double kNearZero = 1e-10;

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// Nested blocks are resolved against the deepest point of the grid; F 192
// scales the others.
double depthScale(const GridBlock &b) {
  return (b.NestLevel >= 1 ? 1.0 : NestNoRatio) / (MaxDepth + 1e-10);
}

// F 238 1 puts the water level, 2 the bed level of every grid line of a
// nested block at the level of F 238, before the lines are counted.
void levelNestedLines(const GridBlock &b) {
  if (b.NestLevel < 1 || (FlagNestTop != 1 && FlagNestTop != 2)) return;
  const int k = FlagNestTop == 1 ? znumber : 1;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) zval[i][j][k] = LevelNestTop;
  }
}

// With the path methods of the minimum water levels (F 371 above 50), every
// column of block 1 that has a minimum level keeps at least one cell, so the
// path stays connected however shallow it runs.
void keepPathColumns(const GridBlock &b) {
  if (&b != &block[1] || FlagNoGridSplit <= 50 || NoBCells <= 0 || !Bminwaterlevel) return;
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int bed = pointbed[i][j];
      if (bed > 0 && Bminwaterlevel[bed] > -10.0) ant[i][j] = std::max(ant[i][j], 1);
    }
  }
}

// Cells per column: line counts, the two filters with the pond removal of
// F 394 between them, then the columns the G 13 rectangles and the bed take
// out. The ponds are those of block 1; they are looked for while block 1 is
// counted, before its cells are built.
void countCells(const GridBlock &b) {
  if (MinDepthGrid < 0.0) MinDepthGrid = MinVertDist0;
  levelNestedLines(b);
  const bool pondBlock = &b == &block[1];
  MakeAntlin(b.i1, b.i2, b.j1, b.j2, depthScale(b));
  if (FlagRemovePonds > 1000 && pondBlock) makeRidge();
  Grid1Stability(b.i1, b.i2, b.j1, b.j2);
  MakeAnt(b.i1, b.i2, b.j1, b.j2);
  if (FlagRemovePonds > 0 && pondBlock) removePonds();
  Grid2Stability(b.i1, b.i2, b.j1, b.j2);
  clearOutBlockColumns();
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      if (bedOutBlock[i][j] == 1) ant[i][j] = 0;
    }
  }
  keepPathColumns(b);
}

// A column's cells take consecutive numbers bottom up at the top a levels.
void numberColumn(int i, int j) {
  const int a = ant[i][j];
  if (a <= 0) return;
  zval[i][j][0] = NoCells + 1;
  for (int k = znumber - a + 1; k <= znumber; ++k) num[i][j][k] = ++NoCells;
}

// F 165 numbers the rows from the last j; the cells are still built in rising j.
void numberCells(const GridBlock &b) {
  if (FlagUnstrucDir == 0) {
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) numberColumn(i, j);
    }
  } else {
    for (int j = b.j2; j >= b.j1; --j) {
      for (int i = b.i1; i <= b.i2; ++i) numberColumn(i, j);
    }
  }
}

// Bed slopes steeper than this between two grid points mark the higher one
// (F 159 fifth value 3).
constexpr double kSteepSlope = 0.37;
// A bed whose normal is at least this vertical (20 degrees) is not steep
// (F 159 fifth value 4).
constexpr double kGentleNormal = 0.93969;

// The drop counts of the corners 1..4 of the column being built (value 4).
int drops[5];

// The level of a cell corner at grid point (gi, gj). The grid line is cut into
// antlin - 1 equal intervals from the surface down; a column with more cells
// than the line has intervals collapses its lower cells at that corner onto
// the first point above the bed. F 159 fifth value 2 keeps a depth of at
// least MinDepthGrid below the surface, 3 a depth of MinVertDist1 at the
// steep-slope marks, 8 lifts the surface to MinDepthGrid; every other value
// takes the levels as they are.
double cornerLevel(int gi, int gj, int k, int n, bool top) {
  double bed = zval[gi][gj][1], surface = zval[gi][gj][znumber];
  if (FlagGridStab5 == 2) {
    bed = std::min(bed, surface - MinDepthGrid);
  } else if (FlagGridStab5 == 3 && vv[gi][gj] == 1) {
    bed = std::min(bed, surface - MinVertDist1);
  } else if (FlagGridStab5 == 8) {
    surface = std::max(surface, bed + MinDepthGrid);
  }
  const double q = antlin[gi][gj] - 1 + 1e-10;
  double f;
  if (top) {
    f = std::min((znumber - k) / q, 1.0 - 1.0 / q);
  } else {
    f = (znumber - k + 1) / q;
    if (n != 1) f = std::min(f, 1.0 - 1.0 / q);
  }
  if (f > kNearOne) f = 1.0;
  if (f < kNearZero) f = 0.0;
  if (bed > surface) f = 0.0;
  return f * bed + (1.0 - f) * surface;
}

// The cell of the neighbouring column (ni, nj) beside cell n (level k) of a
// column of a cells. Columns of unequal counts are aligned at the surface:
// the two bottom cells are linked to each other, and the cells of the taller
// column that face the other's bottom cell have no neighbour on that side.
int sideNeighbour(int ni, int nj, bool onEdge, int a, int n, int k) {
  if (onEdge) return 0;
  const int other = ant[ni][nj];
  if (other <= 0) return 0;
  const int d = a - other;
  if (d != 0 && n == 1) return num[ni][nj][znumber] - other + 1;
  if (d > 0 && n <= d + 1) return 0;
  return num[ni][nj][k];
}

// F 159 second value 9, 10, 13: no flow across a side whose two end points
// are both shallower than MinVertDist0, 0 or MinVertDist1.
bool sideCut(int ia, int ja, int ib, int jb) {
  double limit;
  switch (FlagGridStab2) {
    case 9: limit = MinVertDist0; break;
    case 10: limit = 0.0; break;
    case 13: limit = MinVertDist1; break;
    default: return false;
  }
  return depthAt(ia, ja) < limit && depthAt(ib, jb) < limit;
}

// F 159 fifth value 4: below a steep corner the lowest cells are linked to
// the neighbour's cell above its own drop, or not at all while this column
// still drops; v and vn are the drop marks of the two columns.
int dropLink(int link, int ni, int nj, bool onEdge, int n, int v) {
  if (onEdge || ant[ni][nj] <= 0) return link;
  const int vn = vv[ni][nj];
  const int bottom = num[ni][nj][znumber] - ant[ni][nj] + 1;
  const int above = vn + 1 <= ant[ni][nj] ? bottom + vn : 0;
  if (v == n - 1) return above;
  if (v >= n) return vn < n ? 0 : above;
  return link;
}

// F 64 12: two single-cell columns are linked only where the water over their
// common side is at least MinVertDist deep.
bool shallowSingleCells(int a, int ni, int nj, int ia, int ja, int ib, int jb) {
  if (UMethod != 12 || a != 1 || ant[ni][nj] != 1) return false;
  return std::max(depthAt(ia, ja), 0.0) + std::max(depthAt(ib, jb), 0.0) < MinVertDist;
}

// Neighbours and shared faces of cell n at level k of column (i, j): the east
// face of the west cell, the north face of the south cell and the top face of
// the cell below are shared; the others are new and shared by later cells.
void describeLinks(const GridBlock &b, int i, int j, int k, int n, int a) {
  int *cell = NewCell.cell;
  cell[kSouth] = sideNeighbour(i, j - 1, j == b.j1, a, n, k);
  cell[kEast] = sideNeighbour(i + 1, j, i == b.i2, a, n, k);
  cell[kNorth] = sideNeighbour(i, j + 1, j == b.j2, a, n, k);
  cell[kWest] = sideNeighbour(i - 1, j, i == b.i1, a, n, k);
  cell[kBottom] = num[i][j][k - 1];
  cell[kTop] = num[i][j][k + 1];
  if (FlagGridStab5 == 4) {
    const int v = vv[i][j];
    cell[kSouth] = dropLink(cell[kSouth], i, j - 1, j == b.j1, n, v);
    cell[kEast] = dropLink(cell[kEast], i + 1, j, i == b.i2, n, v);
    cell[kNorth] = dropLink(cell[kNorth], i, j + 1, j == b.j2, n, v);
    cell[kWest] = dropLink(cell[kWest], i - 1, j, i == b.i1, n, v);
  }
  if (sideCut(i - 1, j - 1, i, j - 1) || shallowSingleCells(a, i, j - 1, i - 1, j - 1, i, j - 1)) cell[kSouth] = 0;
  if (sideCut(i, j - 1, i, j) || shallowSingleCells(a, i + 1, j, i, j - 1, i, j)) cell[kEast] = 0;
  if (sideCut(i - 1, j, i, j) || shallowSingleCells(a, i, j + 1, i - 1, j, i, j)) cell[kNorth] = 0;
  if (sideCut(i - 1, j - 1, i - 1, j) || shallowSingleCells(a, i - 1, j, i - 1, j - 1, i - 1, j)) cell[kWest] = 0;

  int *face = NewCell.face;
  std::fill(face, face + 7, 0);
  if (i > b.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
  if (j > b.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
  if (cell[kBottom] != 0) face[kBottom] = Cflatet[cell[kBottom]];
}

// F 64 10: in the bottom cell a dry corner beside a wet grid point is moved
// along the column side toward it, where the column's only neighbour around
// that corner lies across that side. Each corner has two sides: the corner
// at the other end, the column across it; and the diagonal column.
struct CornerSides {
  int alongA, colAi, colAj, alongB, colBi, colBj, diagI, diagJ;
};

void moveDryCorners(int i, int j, const int ci[5], const int cj[5]) {
  const CornerSides sides[5] = {{},
                                {4, i - 1, j, 2, i, j - 1, i - 1, j - 1},
                                {3, i + 1, j, 1, i, j - 1, i + 1, j - 1},
                                {2, i + 1, j, 4, i, j + 1, i + 1, j + 1},
                                {1, i - 1, j, 3, i, j + 1, i - 1, j + 1}};
  double x[5], y[5];
  for (int m = 1; m <= 4; ++m) {
    x[m] = NewCell.x[m];
    y[m] = NewCell.y[m];
  }
  for (int m = 1; m <= 4; ++m) {
    const double hd = depthAt(ci[m], cj[m]);
    if (!(hd < 0.0)) continue;
    const CornerSides &s = sides[m];
    if (ant[s.diagI][s.diagJ] > 0) continue;
    int toward = 0;
    if (ant[s.colAi][s.colAj] > 0 && ant[s.colBi][s.colBj] <= 0) toward = s.alongA;
    if (ant[s.colBi][s.colBj] > 0 && ant[s.colAi][s.colAj] <= 0) toward = s.alongB;
    if (toward == 0) continue;
    const double hw = depthAt(ci[toward], cj[toward]);
    if (!(hw > 0.0)) continue;
    const double t = std::min(-hd / (hw - hd), DistGridHoriz);
    NewCell.x[m] = NewCell.x[m + 4] = x[m] + t * (x[toward] - x[m]);
    NewCell.y[m] = NewCell.y[m + 4] = y[m] + t * (y[toward] - y[m]);
  }
}

void plainCorners(const int ci[5], const int cj[5]) {
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = xval[ci[m]][cj[m]];
    NewCell.y[m] = NewCell.y[m + 4] = yval[ci[m]][cj[m]];
  }
}

// Builds the numbered cells of column (i, j); false when the tables are full.
bool buildColumn(const GridBlock &b, int i, int j) {
  const int a = ant[i][j];
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  if (FlagGridStab5 == 4) steepBedDrop(i, j, drops);
  const bool moveCorners = UMethod == 10;
  plainCorners(ci, cj);
  for (int n = 1, k = znumber - a + 1; n <= a; ++n, ++k) {
    if (moveCorners) {
      plainCorners(ci, cj);
      if (n == 1) moveDryCorners(i, j, ci, cj);
    }
    for (int m = 1; m <= 4; ++m) {
      NewCell.z[m] = cornerLevel(ci[m], cj[m], k, n, false);
      NewCell.z[m + 4] = cornerLevel(ci[m], cj[m], k, n, true);
      if (FlagGridStab5 == 4 && n <= drops[m]) {
        const int L = antlin[ci[m]][cj[m]];
        const double delta = L > 1 ? std::max(depthAt(ci[m], cj[m]), 0.0) / L : 0.0;
        NewCell.z[m] -= (drops[m] - n + 1) * delta;
        NewCell.z[m + 4] -= (drops[m] - n) * delta;
      }
    }
    describeLinks(b, i, j, k, n, a);
    if (noRoomForCell()) return false;
    MakeCell(num[i][j][k]);
  }
  return true;
}

bool buildNumberedColumns(const GridBlock &b) {
  if (cellNumbersFull()) return false;
  if (FlagGridStab5 == 3) markSteepSlopes(b);
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (ant[i][j] > 0 && !buildColumn(b, i, j)) return false;
    }
  }
  return true;
}

}  // namespace

bool buildDefaultBlock(const GridBlock &b) {
  countCells(b);
  numberCells(b);
  return buildNumberedColumns(b);
}

void describeDefaultLinks(const GridBlock &b, int i, int j, int k, int n, int a) { describeLinks(b, i, j, k, n, a); }

int surfaceAlignedNeighbour(int ni, int nj, bool onEdge, int a, int n, int k) {
  return sideNeighbour(ni, nj, onEdge, a, n, k);
}

bool buildCountedBlock(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) numberColumn(i, j);
  }
  return buildNumberedColumns(b);
}

void markSteepSlopes(const GridBlock &b) {
  auto slope = [](int ia, int ja, int ib, int jb) {
    const double dx = xval[ib][jb] - xval[ia][ja], dy = yval[ib][jb] - yval[ia][ja];
    return (zval[ib][jb][1] - zval[ia][ja][1]) / std::sqrt(dx * dx + dy * dy + 1e-20);
  };
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      const double si = slope(i - 1, j, i, j);
      if (si > kSteepSlope) vv[i][j] = 1;
      if (si < -kSteepSlope) vv[i - 1][j] = 1;
      const double sj = slope(i, j - 1, i, j);
      if (sj > kSteepSlope) vv[i][j] = 1;
      if (sj < -kSteepSlope) vv[i][j - 1] = 1;
    }
  }
}

void steepBedDrop(int i, int j, int m[5]) {
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  auto P = [](int gi, int gj, int c) {
    return c == 0 ? xval[gi][gj] : c == 1 ? yval[gi][gj] : zval[gi][gj][1];
  };
  double d1[3], d2[3];
  for (int c = 0; c < 3; ++c) {
    d1[c] = P(i, j, c) - P(i - 1, j - 1, c);
    d2[c] = P(i, j - 1, c) - P(i - 1, j, c);
  }
  double nx = d1[1] * d2[2] - d1[2] * d2[1], ny = d1[2] * d2[0] - d1[0] * d2[2], nz = d1[0] * d2[1] - d1[1] * d2[0];
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz) + 1e-20;
  nx /= length;
  ny /= length;
  nz /= length;
  std::fill(m, m + 5, 0);
  // The sign of the normal follows the order of the diagonals; only its
  // slope counts.
  if (std::fabs(nz) >= kGentleNormal) return;
  int low = 1;
  for (int c = 2; c <= 4; ++c) {
    if (zval[ci[c]][cj[c]][1] < zval[ci[low]][cj[low]][1]) low = c;
  }
  const double x0 = xval[ci[low]][cj[low]], y0 = yval[ci[low]][cj[low]], z0 = zval[ci[low]][cj[low]][1];
  int most = 0;
  for (int c = 1; c <= 4; ++c) {
    const int gi = ci[c], gj = cj[c];
    const double plane = z0 - (nx * (xval[gi][gj] - x0) + ny * (yval[gi][gj] - y0)) / nz;
    const double h = std::max(zval[gi][gj][1] - plane, 0.0);
    const int L = antlin[gi][gj];
    if (L > 1) {
      const double interval = depthAt(gi, gj) / (L - 1);
      m[c] = interval > 0.0 ? static_cast<int>(h / interval) : 0;
    }
    most = std::max(most, m[c]);
  }
  vv[i][j] = most;
}
