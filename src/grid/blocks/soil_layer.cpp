// The soil layer of the slide, mud and groundwater models: a block with the
// plan grid of block 1, set apart in the structured index space, from the
// non-erodible level up to the bed, split at the level of the mobile layer.
// Writes the layer record, its grid lines, Surfaces planes 5 and 7, the column
// arrays of its rows, its cells, faces and points and the work ranges.
#include <algorithm>
#include <cmath>

#include "flow/drivers/flow_drivers.h"
#include "grid/blocks/appended_blocks.h"
#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

constexpr int kNonErodible = 3, kSplit = 5, kSlideStart = 7;

// The layer is never thinner than this below its split level, m.
constexpr double kThinnest = 0.001;

// Corner fractions this close to 1 or 0 are snapped, as in the water columns.
constexpr double kNearOne = 0.99999;
constexpr double kNearZero = 1e-10;

// The first layer of a run lies on the bed; later ones follow the mobile layer.
bool firstLayer = true;

// Where the layer sits: its record, the rows it is shifted by, and the block
// it lies under.
struct Layer {
  int n;       // record of the layer
  int offset;  // rows between a point of block b and the same point of the layer
  int i1, i2, j1, j2;
};

// The layer's rows must fit the structured arrays before anything is written.
void checkRows(const GridBlock &b, int offset) {
  if (b.j2 + offset >= ynumber) {
    fatalExit(kExitBlockAlloc, "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n");
  }
}

Layer placeLayer(int b) {
  const GridBlock &base = block[b];
  const int offset = base.j2 + 3 - base.j1;
  checkRows(base, offset);
  if (b + 1 >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr, "Error, the grid holds at most %d blocks: the soil layer of F 236 or F 262 "
                                         "needs one more, use fewer blocks\n", kMaxBlocks - 1);
  }
  return {b + 1, offset, base.i1, base.i2, base.j1 + offset, base.j2 + offset};
}

// The record after b, kept between generations; a new layer asks for the bed
// cells to be numbered again, its columns included.
GridBlock &openRecord(const Layer &l, int b, bool replaceAfterBase) {
  GridBlock &rec = block[l.n];
  if (rec.LayerMark == 1) {
    if (NoBlocks == b) NoBlocks = b + 1;
  } else {
    NoBCells = 0;
    ++NoBlocks;
  }
  const GridBlock &base = block[b];
  if (replaceAfterBase) {
    NoCells = base.LastCell;
    NoSurfaces = base.LastFace;
    NoPoints = base.LastPoint;
  }
  rec.i1 = l.i1;
  rec.i2 = l.i2;
  rec.j1 = l.j1;
  rec.j2 = l.j2;
  rec.FirstCell = NoCells + 1;
  rec.FirstFace = NoSurfaces + 1;
  rec.FirstPoint = NoPoints + 1;
  rec.LayerMark = 1;
  return rec;
}

double meanLevel(const int *bedCells, int count) {
  double sum = 0.0;
  int used = 0;
  for (int k = 0; k < count; ++k) {
    if (bedCells[k] <= 0) continue;
    sum += Bthixolev[bedCells[k]];
    ++used;
  }
  return sum / (used + 1e-20);
}

// Split level of the layer's grid point (i, j) from the mobile layer of the
// four columns around it; where fewer than three carry a slide layer it stays
// on the bed. Never below the non-erodible level.
void splitFromSlideLayer(const Layer &l) {
  if (!Bthixolev || !pointbed) return;
  double ***s = Surfaces;
  const bool thin = l.i1 == l.i2 || l.j1 == l.j2;
  for (int j = l.j1 - 1; j <= l.j2; ++j) {
    const int from = thin ? l.i1 - 1 : l.i1, to = thin ? l.i2 : l.i2 - 1;
    for (int i = from; i <= to; ++i) {
      const int cells[4] = {pointbed[i][j], pointbed[i + 1][j], pointbed[i][j + 1], pointbed[i + 1][j + 1]};
      const int jb = j - l.offset;
      if (thin) {
        s[kSplit][i][j] = meanLevel(cells, 4);
        continue;
      }
      int sliding = 0;
      for (const int bc : cells) sliding += (bc > 0 && Bcellth && Bcellth[bc] > 0) ? 1 : 0;
      s[kSplit][i][j] = sliding >= 3 ? meanLevel(cells, 4) : zval[i][jb][1];
      s[kSplit][i][j] = std::max(s[kSplit][i][j], s[kNonErodible][i][jb]);
    }
  }
  if (thin) return;
  for (int i = l.i1 - 1; i <= l.i2; ++i) {
    for (const int j : {l.j1 - 1, l.j2}) s[kSplit][i][j] = std::max(s[kSplit][i][j], s[kNonErodible][i][j - l.offset]);
  }
  for (const int i : {l.i1 - 1, l.i2}) {
    for (int j = l.j1; j <= l.j2; ++j) {
      const int jb = j - l.offset;
      s[kSplit][i][j] = std::max(zval[i][jb][1], s[kNonErodible][i][jb]);
    }
  }
}

// Plan position from block 1, top on its bed, bottom on the non-erodible
// level, and the split level (the bed on the first layer of a run).
void placePoints(const Layer &l, bool split) {
  double ***s = Surfaces;
  for (int i = l.i1 - 1; i <= l.i2; ++i) {
    for (int j = l.j1 - 1; j <= l.j2; ++j) {
      const int jb = j - l.offset;
      const double bed = zval[i][jb][1], hard = s[kNonErodible][i][jb];
      xval[i][j] = xval[i][jb];
      yval[i][j] = yval[i][jb];
      zval[i][j][znumber] = bed;
      s[kNonErodible][i][j] = hard;
      const double level = split ? std::min(s[kSplit][i][j], bed) : bed;
      s[kSplit][i][j] = s[kSplit][i][jb] = level;
      zval[i][j][1] = level - kThinnest <= hard ? level - kThinnest : hard;
      if (!split) s[kSlideStart][i][j] = s[kSlideStart][i][jb] = 0.0;
    }
  }
}

// Grid lines above the split level: F 236 3 moves the layer as one block
// and gets at most one cell above the split.
int linesAboveSplit(double h) {
  if (FlagThixo == 3) return h > MinVertDist1 ? 2 : 1;
  if (h < MinVertDist1) return 1;
  const double room = znumber - 3;
  const double n = std::min(std::pow(h * NestNoRatio / (MaxDepth + 1e-10), ThixoGridDistCoeff) * room, room);
  return n > 2.0 ? static_cast<int>(n) + 2 : 4;
}

void countLines(const Layer &l) {
  for (int i = l.i1 - 1; i <= l.i2; ++i) {
    for (int j = l.j1 - 1; j <= l.j2; ++j) {
      std::fill(num[i][j] + 1, num[i][j] + znumber + 1, 0);
      antmin[i][j] = 2;
      antlin[i][j] = linesAboveSplit(zval[i][j][znumber] - Surfaces[kSplit][i][j]);
    }
  }
}

// Cells above the bottom cell of each column; the G 13 rectangles act on the
// layer's own rows only.
void countCells(const Layer &l) {
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      const int corners[4] = {antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]};
      const int most = *std::max_element(corners, corners + 4);
      ant[i][j] = corners[0] + corners[1] + corners[2] + corners[3] < 2 ? 0 : most - 1;
      antmax[i][j] = 1;
      if (bedOutBlock[i][j] == 1) ant[i][j] = antmax[i][j] = 0;
    }
  }
  Grid2Stability(l.i1, l.i2, l.j1, l.j2);
  for (int r = 1; r <= OutBlockNo; ++r) {
    const OutBlockEntry &out = OutBlock[r];
    const int i1 = std::max(out.i1, l.i1), i2 = std::min(out.i2, l.i2);
    const int j1 = std::max(out.j1, l.j1), j2 = std::min(out.j2 - l.offset, l.j2);
    for (int i = i1; i <= i2; ++i) {
      for (int j = j1; j <= j2; ++j) ant[i][j] = antmax[i][j] = 0;
    }
  }
}

bool hasCells(int i, int j) { return antmax[i][j] > 0 || ant[i][j] > 0; }

void numberBottom(int i, int j) {
  if (!hasCells(i, j)) return;
  num[i][j][2] = ++NoCells;
  zval[i][j][0] = NoCells;
}

void numberUpper(int i, int j) {
  for (int k = znumber - ant[i][j] + 1; k <= znumber && ant[i][j] > 0; ++k) num[i][j][k] = ++NoCells;
}

// F 339 numbers every bottom cell first, row by row, then the upper cells.
void numberCells(const Layer &l) {
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      numberBottom(i, j);
      if (FlagUnstrucThixo == 0 && hasCells(i, j)) numberUpper(i, j);
    }
  }
  if (FlagUnstrucThixo == 0) return;
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      if (hasCells(i, j)) numberUpper(i, j);
    }
  }
}

void setPlan(int i, int j) {
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = xval[ci[m]][cj[m]];
    NewCell.y[m] = NewCell.y[m + 4] = yval[ci[m]][cj[m]];
  }
}

int bottomCellAt(const Layer &l, int i, int j) {
  if (i < l.i1 || i > l.i2 || j < l.j1 || j > l.j2) return 0;
  return num[i][j][2];
}

void buildBottomCell(const Layer &l, int i, int j) {
  setPlan(i, j);
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  for (int m = 1; m <= 4; ++m) {
    NewCell.z[m] = zval[ci[m]][cj[m]][1];
    NewCell.z[m + 4] = Surfaces[kSplit][ci[m]][cj[m]];
  }
  int *cell = NewCell.cell, *face = NewCell.face;
  cell[kSouth] = bottomCellAt(l, i, j - 1);
  cell[kEast] = bottomCellAt(l, i + 1, j);
  cell[kNorth] = bottomCellAt(l, i, j + 1);
  cell[kWest] = bottomCellAt(l, i - 1, j);
  cell[kBottom] = 0;
  cell[kTop] = ant[i][j] > 0 ? num[i][j][znumber - ant[i][j] + 1] : 0;
  std::fill(face, face + 7, 0);
  if (i > l.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
  if (j > l.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
  MakeCell(num[i][j][2]);
}

// Level of an upper cell's corner at grid point (gi, gj): the stack above the
// split level is cut into antlin - 1 equal parts from the top down; at a
// corner with fewer lines the surplus cells have zero height above the lowest.
double upperCorner(int gi, int gj, int above, bool lowest, bool upper) {
  const double top = zval[gi][gj][znumber], split = Surfaces[kSplit][gi][gj];
  const double q = antlin[gi][gj] - 1 + 1e-10;
  double f;
  if (upper) {
    f = std::min(above / q, 1.0 - 1.0 / q);
  } else {
    f = (above + 1) / q;
    if (!lowest) f = std::min(f, 1.0 - 1.0 / q);
  }
  if (f > kNearOne) f = 1.0;
  if (f < kNearZero) f = 0.0;
  if (top < split) f = 0.0;
  return top - f * (top - split);
}

// The neighbour of upper cell n (from the bottom, level k) in the layer column
// (ni, nj): stacks of unequal height meet at their lowest cells, and the cells
// of the taller stack beside the other's lowest have none.
int upperNeighbour(const Layer &l, int ni, int nj, int a, int n, int k) {
  if (ni < l.i1 || ni > l.i2 || nj < l.j1 || nj > l.j2) return 0;
  const int other = ant[ni][nj];
  if (other <= 0) return 0;
  const int d = a - other;
  if (d != 0 && n == 1) return num[ni][nj][znumber - other + 1];
  if (d > 0 && n <= d + 1) return 0;
  return num[ni][nj][k];
}

void buildUpperCells(const Layer &l, int i, int j) {
  const int a = ant[i][j];
  const int bottom = num[i][j][2];
  setPlan(i, j);
  const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
  for (int n = 1, k = znumber - a + 1; n <= a; ++n, ++k) {
    for (int m = 1; m <= 4; ++m) {
      NewCell.z[m] = upperCorner(ci[m], cj[m], znumber - k, n == 1, false);
      NewCell.z[m + 4] = upperCorner(ci[m], cj[m], znumber - k, n == 1, true);
    }
    int *cell = NewCell.cell, *face = NewCell.face;
    cell[kSouth] = upperNeighbour(l, i, j - 1, a, n, k);
    cell[kEast] = upperNeighbour(l, i + 1, j, a, n, k);
    cell[kNorth] = upperNeighbour(l, i, j + 1, a, n, k);
    cell[kWest] = upperNeighbour(l, i - 1, j, a, n, k);
    cell[kBottom] = n == 1 ? 0 : num[i][j][k - 1];
    cell[kTop] = k < znumber ? num[i][j][k + 1] : 0;
    std::fill(face, face + 7, 0);
    if (i > l.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
    if (j > l.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
    // Only a stack standing right on the bottom cell's level shares its top
    // face; the face keeps the bottom cell as its only cell.
    const bool onBottom = n == 1 && k == 3;
    if (n > 1) face[kBottom] = Cflatet[cell[kBottom]];
    if (onBottom) face[kBottom] = Cflatet[bottom];
    if (noRoomForCell()) return;
    MakeCell(num[i][j][k]);
    if (onBottom) Fcell2[Cflatet[bottom]] = 0;
  }
}

void closeRecord(GridBlock &rec) {
  rec.LastCell = NoCells;
  rec.LastFace = NoSurfaces;
  rec.LastPoint = NoPoints;
}

}  // namespace

void refuseLayerWithOneCellBlock() {
  if (Hydrostatic == 1 || Hydrostatic >= 3 || FlagShallowWater == 1) {
    fatalExit(kExitInconsistent,
              "Error: the layer of F 236/F 262 cannot be combined with the one-cell block of F 68/F 311\n");
  }
}

int UnstrucThixo3(int b) {
  const Layer l = placeLayer(b);
  GridBlock &rec = openRecord(l, b, true);
  SurfUpdate[l.n] = 0;
  if (!firstLayer) splitFromSlideLayer(l);
  placePoints(l, !firstLayer);
  firstLayer = false;
  countLines(l);
  countCells(l);
  numberCells(l);
  // The tables are full: the grid is written for a coarser try and the
  // caller ends the run.
  if (cellNumbersFull()) return reportTablesTooSmall();
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      if (!hasCells(i, j)) continue;
      if (noRoomForCell()) return reportTablesTooSmall();
      buildBottomCell(l, i, j);
      buildUpperCells(l, i, j);
      if (noRoomForCell()) return reportTablesTooSmall();
    }
  }
  closeRecord(rec);
  if (MGSNo == 0) computeWCStart();
  return 0;
}

// The whole layer, bottom to bed, in one graded stack per column; the split
// level is kept for the slide model but does not cut the cells.
void UnstrucThixo2(int b) {
  const Layer l = placeLayer(b);
  GridBlock &rec = openRecord(l, b, false);
  double ***s = Surfaces;
  for (int i = l.i1 - 1; i <= l.i2; ++i) {
    for (int j = l.j1 - 1; j <= l.j2; ++j) {
      const int jb = j - l.offset;
      const double bed = zval[i][jb][1];
      double level = bed;
      if (Bthixolev && pointbed && Bcellt) {
        double sum = 0.0;
        int used = 0;
        for (const int bc : {pointbed[i][j], pointbed[i + 1][j], pointbed[i][j + 1], pointbed[i + 1][j + 1]}) {
          if (bc > 0 && Bcellt[bc] > 0) {
            sum += Bthixolev[bc];
            ++used;
          }
        }
        level = std::min(sum / (used + 1e-20), bed);
      }
      s[kSplit][i][j] = s[kSplit][i][jb] = level;
      xval[i][j] = xval[i][jb];
      yval[i][j] = yval[i][jb];
      s[kNonErodible][i][j] = s[kNonErodible][i][jb];
      zval[i][j][1] = s[kNonErodible][i][jb];
      zval[i][j][znumber] = bed;
      std::fill(num[i][j] + 1, num[i][j] + znumber + 1, 0);
      const double h = bed - zval[i][j][1];
      int lines;
      if (h < MinVertDist0) {
        lines = 1;
      } else if (h < MinVertDist1) {
        lines = 2;
      } else {
        const double n = std::pow(h * NestNoRatio / (MaxDepth + 1e-10), GridDistCoeff) * (znumber - 2);
        lines = n >= znumber - 2 ? znumber : static_cast<int>(n) + 2;
      }
      antlin[i][j] = lines;
    }
  }
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      const int most = std::max({antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]});
      ant[i][j] = bedOutBlock[i][j] == 1 ? 0 : most - 1;
      antmax[i][j] = 0;
      for (int k = znumber - ant[i][j] + 1; k <= znumber && ant[i][j] > 0; ++k) {
        if (k == znumber - ant[i][j] + 1) zval[i][j][0] = NoCells + 1;
        num[i][j][k] = ++NoCells;
      }
    }
  }
  if (cellNumbersFull()) {
    reportTablesTooSmall();
    fatalExit(kExitUnreadable, nullptr);
  }
  for (int j = l.j1; j <= l.j2; ++j) {
    for (int i = l.i1; i <= l.i2; ++i) {
      const int a = ant[i][j];
      if (a <= 0) continue;
      setPlan(i, j);
      const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
      for (int n = 1, k = znumber - a + 1; n <= a; ++n, ++k) {
        for (int m = 1; m <= 4; ++m) {
          const double top = zval[ci[m]][cj[m]][znumber], bottom = zval[ci[m]][cj[m]][1];
          const double q = antlin[ci[m]][cj[m]] - 1 + 1e-10;
          double lower = (znumber - k + 1) / q, upper = std::min((znumber - k) / q, 1.0 - 1.0 / q);
          if (n != 1) lower = std::min(lower, 1.0 - 1.0 / q);
          for (double *f : {&lower, &upper}) {
            if (*f > kNearOne) *f = 1.0;
            if (*f < kNearZero) *f = 0.0;
            if (top < bottom) *f = 0.0;
          }
          NewCell.z[m] = top - lower * (top - bottom);
          NewCell.z[m + 4] = top - upper * (top - bottom);
        }
        int *cell = NewCell.cell, *face = NewCell.face;
        cell[kSouth] = upperNeighbour(l, i, j - 1, a, n, k);
        cell[kEast] = upperNeighbour(l, i + 1, j, a, n, k);
        cell[kNorth] = upperNeighbour(l, i, j + 1, a, n, k);
        cell[kWest] = upperNeighbour(l, i - 1, j, a, n, k);
        cell[kBottom] = num[i][j][k - 1];
        cell[kTop] = k < znumber ? num[i][j][k + 1] : 0;
        std::fill(face, face + 7, 0);
        if (i > l.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
        if (j > l.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
        if (cell[kBottom] != 0) face[kBottom] = Cflatet[cell[kBottom]];
        if (noRoomForCell()) {
          reportTablesTooSmall();
          fatalExit(kExitUnreadable, nullptr);
        }
        MakeCell(num[i][j][k]);
      }
    }
  }
  closeRecord(rec);
}
