// The generator of independently layered columns: every column shares the
// lower cells of equal relative height with its neighbours and divides the
// uppermost interval into as many cells as it needs, so the top cell of a
// short column faces several cells of a taller one; those many-to-one
// contacts are listed per cell and side after all blocks are built.
#include <algorithm>
#include <cmath>

#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

constexpr double kNearOne = 0.99999;
constexpr double kNearZero = 1e-10;

// Line counts from the depth relative to the deepest water of the base grid.
void countLines(const GridBlock &b, double deepest) {
  const double span = znumber - 2;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      std::fill(num[i][j] + 1, num[i][j] + znumber + 1, 0);
      const double h = zval[i][j][znumber] - zval[i][j][1];
      if (h < MinVertDist0) {
        antlin[i][j] = 1;
      } else if (h < MinVertDist1) {
        antlin[i][j] = 2;
      } else {
        antlin[i][j] = static_cast<int>(std::pow(h / deepest, GridDistCoeff) * span) + 2;
      }
    }
  }
}

// Cells per column: the largest corner count less one, at most znumber - 1
// so that levels 2..a+1 fit; only blocks sized from the depth get cells.
void countCells(const GridBlock &b) {
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int c1 = antlin[i - 1][j - 1], c2 = antlin[i][j - 1], c3 = antlin[i][j], c4 = antlin[i - 1][j];
      int a = std::max({c1, c2, c3, c4}) - 1;
      if (c1 + c2 + c3 + c4 < 2) a = 0;
      a = std::min(a, znumber - 1);
      if (bedOutBlock[i][j] == 1 || b.k1 != 1) a = 0;
      ant[i][j] = std::max(a, 0);
    }
  }
}

// The smallest and largest positive cell count of the four columns around
// every grid point.
void cornerCounts(const GridBlock &b) {
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      int lo = 0, hi = 0;
      for (int a : {ant[i][j], ant[i + 1][j], ant[i + 1][j + 1], ant[i][j + 1]}) {
        if (a <= 0) continue;
        lo = lo == 0 ? a : std::min(lo, a);
        hi = std::max(hi, a);
      }
      antmin[i][j] = lo;
      antmax[i][j] = hi;
    }
  }
}

void numberCells(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      const int a = ant[i][j];
      if (a <= 0) continue;
      zval[i][j][0] = NoCells + 1;
      for (int k = 2; k <= a + 1; ++k) num[i][j][k] = ++NoCells;
    }
  }
}

// The level of a corner of the cell at level k of a column of a cells, at
// grid point (gi, gj). Below the smallest count m around the point all
// columns share m equal intervals; the last one is shared out in M - m + 1
// parts among the cells above, and every top cell ends on the surface.
double cornerLevel(int gi, int gj, int k, int a, bool top) {
  const int L = antlin[gi][gj], m = antmin[gi][gj], M = antmax[gi][gj];
  const int kk = std::min(k, a);
  double f;
  if (top) {
    if (L < 2 || k == a + 1) {
      f = 1.0;
    } else if (m < kk) {
      f = 1.0 - static_cast<double>(M - k + 1) / ((M - m + 1) * m);
    } else {
      f = (k - 1) / (m + 1e-10);
    }
  } else {
    if (L <= 1) {
      f = 1.0;
    } else if (m < kk) {
      f = 1.0 - static_cast<double>(M - k + 2) / ((M - m + 1) * m);
    } else {
      f = (k - 2) / (m + 1e-10);
    }
  }
  if (f > kNearOne) f = 1.0;
  if (f < kNearZero) f = 0.0;
  return f * zval[gi][gj][znumber] + (1.0 - f) * zval[gi][gj][1];
}

// The cell beside level k in the neighbouring column: the same level, or
// the neighbour's top cell for the levels at and above it.
int sideNeighbour(int ni, int nj, bool onEdge, int k) {
  if (onEdge) return 0;
  const int other = ant[ni][nj];
  if (other <= 0) return 0;
  return k > other ? num[ni][nj][other + 1] : num[ni][nj][k];
}

// Two cells share their side face only where they touch one to one.
bool oneToOne(int a, int k, int ni, int nj) {
  const int d = a - ant[ni][nj];
  return d == 0 || (d < 0 && k <= a) || (d > 0 && k <= ant[ni][nj]);
}

void describeLinks(const GridBlock &b, int i, int j, int k, int a) {
  int *cell = NewCell.cell;
  cell[kSouth] = sideNeighbour(i, j - 1, j == b.j1, k);
  cell[kEast] = sideNeighbour(i + 1, j, i == b.i2, k);
  cell[kNorth] = sideNeighbour(i, j + 1, j == b.j2, k);
  cell[kWest] = sideNeighbour(i - 1, j, i == b.i1, k);
  cell[kBottom] = num[i][j][k - 1];
  cell[kTop] = num[i][j][k + 1];
  int *face = NewCell.face;
  std::fill(face, face + 7, 0);
  if (j > b.j1 && cell[kSouth] != 0 && oneToOne(a, k, i, j - 1)) face[kSouth] = Cflaten[cell[kSouth]];
  if (i > b.i1 && cell[kWest] != 0 && oneToOne(a, k, i - 1, j)) face[kWest] = Cflatee[cell[kWest]];
  if (cell[kBottom] != 0) face[kBottom] = Cflatet[cell[kBottom]];
}

bool buildColumn(const GridBlock &b, int i, int j) {
  const int a = ant[i][j];
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = xval[ci[m]][cj[m]];
    NewCell.y[m] = NewCell.y[m + 4] = yval[ci[m]][cj[m]];
  }
  for (int k = 2; k <= a + 1; ++k) {
    for (int m = 1; m <= 4; ++m) {
      NewCell.z[m] = cornerLevel(ci[m], cj[m], k, a, false);
      NewCell.z[m + 4] = cornerLevel(ci[m], cj[m], k, a, true);
    }
    describeLinks(b, i, j, k, a);
    if (noRoomForCell()) return false;
    MakeCell(num[i][j][k]);
  }
  return true;
}

// One side of the top cell c of a column of a cells (h the list position its
// own face takes): the neighbour's cells from level a+1 up all touch c.
struct ListedSide {
  int *count;
  int **list;
  int *ownFace;         // c's face on the side
  int *listedFace;      // a listed cell's face toward c
  bool cellIsFirst;     // c is Fcell1 of the listed faces (east, north)
};

void listSide(const ListedSide &s, int c, int a, int ni, int nj) {
  const int other = ant[ni][nj];
  if (other <= 0 || a >= other) return;
  const int n = other - a + 1;
  const int first = num[ni][nj][a + 1];
  s.count[c] = n;
  for (int m = 0; m < n; ++m) {
    s.list[c][m] = first + m;
    const int f = s.listedFace[first + m];
    (s.cellIsFirst ? Fcell1 : Fcell2)[f] = c;
  }
  // The face of c takes a listed cell from the middle of the column's
  // height; a short column beside a much taller one keeps it in the list.
  const int h = std::min((a + 1) / 2, n - 1);
  const int f = s.ownFace[c];
  (s.cellIsFirst ? Fcell2 : Fcell1)[f] = first + h;
  Fqndum[f] = 1;
}

}  // namespace

bool buildQNBlock(const GridBlock &b, double deepest) {
  countLines(b, deepest);
  countCells(b);
  cornerCounts(b);
  numberCells(b);
  if (cellNumbersFull()) return false;
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (ant[i][j] > 0 && !buildColumn(b, i, j)) return false;
    }
  }
  return true;
}

void fillQNLists() {
  const ListedSide south{Cncells, Cqncells, Cflates, Cflaten, false};
  const ListedSide east{Cncelle, Cqncelle, Cflatee, Cflatew, true};
  const ListedSide north{Cncelln, Cqncelln, Cflaten, Cflates, true};
  const ListedSide west{Cncellw, Cqncellw, Cflatew, Cflatee, false};
  for (int bl = 1; bl <= NoBlocks; ++bl) {
    const GridBlock &b = block[bl];
    if (b.BlockKind == 1) continue;
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) {
        const int a = ant[i][j];
        if (a <= 0) continue;
        const int c = num[i][j][a + 1];
        if (j > b.j1) listSide(south, c, a, i, j - 1);
        if (i < b.i2) listSide(east, c, a, i + 1, j);
        if (j < b.j2) listSide(north, c, a, i, j + 1);
        if (i > b.i1) listSide(west, c, a, i - 1, j);
      }
    }
  }
}
