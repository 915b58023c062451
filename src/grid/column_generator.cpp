// The default column generator: vertical line counts from the local depth,
// cell counts per column, the cell numbers of a block, then its columns bottom
// cell first through NewCell and MakeCell. Writes antlin, ant, num, zval[.][.][0]
// and, through the cell builder, the cells, faces and points of the block.
#include <algorithm>

#include "grid/grid_build.h"
#include "grid/grid_generation.h"
#include "grid/grid_rectangles.h"
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

// Cells per column: line counts, the two filters with the pond removal of
// F 394 between them, then the columns the G 13 rectangles and the bed take
// out. The ponds are those of block 1; they are looked for while block 1 is
// counted, before its cells are built.
void countCells(const GridBlock &b) {
  if (MinDepthGrid < 0.0) MinDepthGrid = MinVertDist0;
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

// The level of a cell corner at grid point (gi, gj). The grid line is cut into
// antlin - 1 equal intervals from the surface down; a column with more cells
// than the line has intervals collapses its lower cells at that corner onto
// the first point above the bed. F 159 fifth value 2 keeps a depth of at
// least MinDepthGrid below the surface, 8 lifts the surface to that depth;
// every other value takes the levels as they are.
double cornerLevel(int gi, int gj, int k, int n, bool top) {
  double bed = zval[gi][gj][1], surface = zval[gi][gj][znumber];
  if (FlagGridStab5 == 2) {
    bed = std::min(bed, surface - MinDepthGrid);
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
  if (sideCut(i - 1, j - 1, i, j - 1)) cell[kSouth] = 0;
  if (sideCut(i, j - 1, i, j)) cell[kEast] = 0;
  if (sideCut(i - 1, j, i, j)) cell[kNorth] = 0;
  if (sideCut(i - 1, j - 1, i - 1, j)) cell[kWest] = 0;

  int *face = NewCell.face;
  std::fill(face, face + 7, 0);
  if (i > b.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
  if (j > b.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
  if (cell[kBottom] != 0) face[kBottom] = Cflatet[cell[kBottom]];
}

// Builds the numbered cells of column (i, j); false when the tables are full.
bool buildColumn(const GridBlock &b, int i, int j) {
  const int a = ant[i][j];
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = xval[ci[m]][cj[m]];
    NewCell.y[m] = NewCell.y[m + 4] = yval[ci[m]][cj[m]];
  }
  for (int n = 1, k = znumber - a + 1; n <= a; ++n, ++k) {
    for (int m = 1; m <= 4; ++m) {
      NewCell.z[m] = cornerLevel(ci[m], cj[m], k, n, false);
      NewCell.z[m + 4] = cornerLevel(ci[m], cj[m], k, n, true);
    }
    describeLinks(b, i, j, k, n, a);
    if (noRoomForCell()) return false;
    MakeCell(num[i][j][k]);
  }
  return true;
}

}  // namespace

bool buildDefaultBlock(const GridBlock &b) {
  countCells(b);
  numberCells(b);
  if (cellNumbersFull()) return false;
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (ant[i][j] > 0 && !buildColumn(b, i, j)) return false;
    }
  }
  return true;
}
