// The one-cell-per-column block of the hydrostatic and two-dimensional
// solvers: one cell from bed to surface for each column, appended after the
// three-dimensional grid or rebuilt in place. Writes the block record, num[.][.][1],
// CflagDim, the new cells, faces and points and the work range of cells.
#include <algorithm>

#include "grid/blocks/appended_blocks.h"
#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

// The block of an earlier generation is rebuilt in place.
int oneCellBlockNumber() {
  const int n = (NoBlocks > 0 && block[NoBlocks].BlockKind == 1) ? NoBlocks : NoBlocks + 1;
  if (n >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error, the grid holds at most %d blocks: remove F 68 or F 311, or use fewer blocks\n",
                kMaxBlocks - 1);
  }
  return n;
}

GridBlock &openBlock(int n) {
  GridBlock &b = block[n];
  b.FirstCell = NoCells + 1;
  b.FirstFace = NoSurfaces + 1;
  b.FirstPoint = NoPoints + 1;
  b.NestLevel = 0;
  b.BlockKind = 1;
  // The block stands for the columns of block 1: the writers of the grid
  // side files walk its grid lines.
  b.i1 = block[1].i1;
  b.i2 = block[1].i2;
  b.j1 = block[1].j1;
  b.j2 = block[1].j2;
  return b;
}

// A half-built block cannot be computed on: the run ends.
void tablesFull() {
  logPrintf("Error: Unstructured arrays are too small. Increase with the F 65 data set.\n"
            " \t\t\t\tNoPoints, NoSurfaces, NoCells = %d %d %d\n",
            NoPoints, NoSurfaces, NoCells);
  endOnGridFailure(-std::max({NoCells, NoSurfaces, NoPoints}));
}

void numberColumn(int i, int j) {
  num[i][j][1] = ++NoCells;
  CflagDim[NoCells] = 1;
}

// Neighbours are the one-cell columns beside; the west and south faces are
// those of the cells already built there.
void describeLinks(int i, int j, int i1, int j1) {
  int *cell = NewCell.cell, *face = NewCell.face;
  cell[kSouth] = num[i][j - 1][1];
  cell[kEast] = num[i + 1][j][1];
  cell[kNorth] = num[i][j + 1][1];
  cell[kWest] = num[i - 1][j][1];
  cell[kBottom] = cell[kTop] = 0;
  std::fill(face, face + 7, 0);
  if (i > i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
  if (j > j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
}

void buildCell(int i, int j, int i1, int j1) {
  describeLinks(i, j, i1, j1);
  if (noRoomForCell()) tablesFull();
  MakeCell(num[i][j][1]);
}

int topOf(int c) {
  while (Ccellt[c] != 0) c = Ccellt[c];
  return c;
}

// The column's cell spans the lower corners of its bottom cell and the upper
// corners of its top cell.
void spanColumn(int bottom) {
  const int top = topOf(bottom);
  const int lower[5] = {0, Cpoint1[bottom], Cpoint2[bottom], Cpoint3[bottom], Cpoint4[bottom]};
  const int upper[5] = {0, Cpoint5[top], Cpoint6[top], Cpoint7[top], Cpoint8[top]};
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = Px[lower[m]];
    NewCell.y[m] = NewCell.y[m + 4] = Py[lower[m]];
    NewCell.z[m] = Pz[lower[m]];
    NewCell.z[m + 4] = Pz[upper[m]];
  }
}

// The new cells all stand on top: each free side is joined across the
// connection records to the cells of this block (the work range).
void connectBlock(const GridBlock &b) {
  if (NoConnect <= 0) return;
  for (int c = b.FirstCell; c <= b.LastCell; ++c) {
    if (Ccells[c] == 0) Connect(Cpoint1[c], Cpoint2[c], c, 1);
    if (Ccelle[c] == 0) Connect(Cpoint2[c], Cpoint3[c], c, 2);
    if (Ccelln[c] == 0) Connect(Cpoint3[c], Cpoint4[c], c, 3);
    if (Ccellw[c] == 0) Connect(Cpoint4[c], Cpoint1[c], c, 4);
  }
}

void closeBlock(int n) {
  GridBlock &b = block[n];
  NoBlocks = n;
  b.LastCell = NoCells;
  b.LastFace = NoSurfaces;
  b.LastPoint = NoPoints;
  WCStart = b.FirstCell;
  WCEnd = b.LastCell;
  connectBlock(b);
}

void clearOneCellNumbers() {
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) num[i][j][1] = 0;
  }
}

}  // namespace

// Every wet column of the other blocks, block by block: numbered first, then built.
void HydroStaticMake() {
  const int n = oneCellBlockNumber();
  openBlock(n);
  clearOneCellNumbers();
  for (int m = 1; m < n; ++m) {
    const GridBlock &b = block[m];
    if (b.BlockKind == 1) continue;
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) {
        if (zval[i][j][0] > 0.0) numberColumn(i, j);
      }
    }
    if (cellNumbersFull()) tablesFull();
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) {
        if (num[i][j][1] == 0) continue;
        spanColumn(static_cast<int>(zval[i][j][0]));
        buildCell(i, j, b.i1, b.j1);
      }
    }
  }
  closeBlock(n);
}

// Every column of block 1, dry ones included, on the structured levels; the
// cell becomes the column's bottom cell. Every corner lies at least
// MinVertDist0 above the bed: a dry column shares its corners with its wet
// neighbours, and none of them may be turned upside down.
void HydroStaticMake2() {
  const int n = oneCellBlockNumber();
  openBlock(n);
  const GridBlock &b = block[1];
  clearOneCellNumbers();
  const double least = std::max(MinVertDist0, 0.0);
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) numberColumn(i, j);
  }
  if (cellNumbersFull()) tablesFull();
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      const int ci[5] = {0, i - 1, i, i, i - 1}, cj[5] = {0, j - 1, j - 1, j, j};
      for (int m = 1; m <= 4; ++m) {
        const double bed = zval[ci[m]][cj[m]][1];
        double surface = zval[ci[m]][cj[m]][znumber];
        surface = std::max(surface, bed + least);
        NewCell.x[m] = NewCell.x[m + 4] = xval[ci[m]][cj[m]];
        NewCell.y[m] = NewCell.y[m + 4] = yval[ci[m]][cj[m]];
        NewCell.z[m] = bed;
        NewCell.z[m + 4] = surface;
      }
      zval[i][j][0] = num[i][j][1];
      buildCell(i, j, b.i1, b.j1);
    }
  }
  closeBlock(n);
}
