// The coarse grid levels of the coarse-to-fine flow solution: level 2 one
// full-depth cell per wet column, each further level one cell per complete
// 2x2 group of the level below, each cell with faces on all six sides.
#include "solvers/coarse_grid_levels.h"

#include <algorithm>

#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/multigrid.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

bool inGrid(int i, int j) { return i >= 0 && i <= xnumber + 1 && j >= 0 && j <= ynumber + 1; }

int levelCellAt(int i, int j, int k) { return inGrid(i, j) ? num[i][j][k] : 0; }

// A coarse cell and its faces must fit: the flow would otherwise run on
// half-built levels.
void checkCellRoom() {
  if (NoCells + 1 >= MaxCeller - 2) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error: Unstructured arrays are too small. Increase cell numbers in the F 65 data set.\n"
                " \t\t\t\tNoPoints, NoSurfaces, NoCells = %d %d %d\n",
                NoPoints, NoSurfaces, NoCells);
  }
}

void checkFaceRoom(bool levelTwo) {
  if (NoSurfaces + 6 < MaxFlater - 1) return;
  if (levelTwo) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error: Unstructured arrays are too small. Increase NoSurfaces with the F 65 data set.\n"
                " \t\t\t\t\tNoPoints, NoSurfaces, NoCells = %d %d %d\n",
                NoPoints, NoSurfaces, NoCells);
  }
  fatalPrintf(kExitTableFull, nullptr,
              "Error: Unstructured arrays are too small. Increase NoSurfaces with the F 65 data set.\n"
              " \t\t\t\t\t\tNoPoints, NoSurfaces, NoCells = %d %d %d\n",
              NoPoints, NoSurfaces, NoCells);
}

int newCell() {
  checkCellRoom();
  const int n = ++NoCells;
  Cflatee[n] = Cflatew[n] = Cflaten[n] = Cflates[n] = Cflatet[n] = Cflateb[n] = 0;
  Ccelle[n] = Ccellw[n] = Ccelln[n] = Ccells[n] = Ccellt[n] = Ccellb[n] = 0;
  return n;
}

int newFace(int cell1, int cell2, int p1, int p2, int p3, int p4) {
  const int f = ++NoSurfaces;
  Fcell1[f] = cell1;
  Fcell2[f] = cell2;
  Fpoint1[f] = p1;
  Fpoint2[f] = p2;
  Fpoint3[f] = p3;
  Fpoint4[f] = p4;
  return f;
}

// The six faces of cell n; a face between two coarse cells is made by the
// cell visited first and found in place by the other.
void makeFaces(int n) {
  const int e = Ccelle[n], w = Ccellw[n], s = Ccells[n], no = Ccelln[n];
  if (Cflatee[n] == 0) {
    Cflatee[n] = newFace(n, e, Cpoint2[n], Cpoint3[n], Cpoint7[n], Cpoint6[n]);
    if (e > 0) Cflatew[e] = Cflatee[n];
  }
  if (Cflatew[n] == 0) {
    Cflatew[n] = newFace(w, n, Cpoint1[n], Cpoint4[n], Cpoint8[n], Cpoint5[n]);
    if (w > 0) Cflatee[w] = Cflatew[n];
  }
  if (Cflates[n] == 0) {
    Cflates[n] = newFace(s, n, Cpoint2[n], Cpoint1[n], Cpoint5[n], Cpoint6[n]);
    if (s > 0) Cflaten[s] = Cflates[n];
  }
  if (Cflaten[n] == 0) {
    Cflaten[n] = newFace(n, no, Cpoint3[n], Cpoint4[n], Cpoint8[n], Cpoint7[n]);
    if (no > 0) Cflates[no] = Cflaten[n];
  }
  Cflateb[n] = newFace(0, n, Cpoint1[n], Cpoint2[n], Cpoint3[n], Cpoint4[n]);
  Cflatet[n] = newFace(n, 0, Cpoint5[n], Cpoint6[n], Cpoint7[n], Cpoint8[n]);
}

int topOf(int c) {
  while (Ccellt[c] != 0) c = Ccellt[c];
  return c;
}

void openLevel(GridBlock &b, int level) {
  b = GridBlock{};
  b.GridLevel = level;
  b.FirstCell = NoCells + 1;
  b.FirstFace = NoSurfaces + 1;
  b.FirstPoint = NoPoints;
}

// The level ends at the current counts, becomes the work range and is joined
// to other blocks on its free sides.
void closeLevel(GridBlock &b) {
  b.LastCell = NoCells;
  b.LastFace = NoSurfaces;
  b.LastPoint = NoPoints;
  WCStart = b.FirstCell;
  WCEnd = NoCells;
  if (NoConnect <= 0) return;
  for (int n = b.FirstCell; n <= b.LastCell; ++n) {
    if (Ccells[n] == 0) Connect(Cpoint1[n], Cpoint2[n], n, 1);
    if (Ccelle[n] == 0) Connect(Cpoint2[n], Cpoint3[n], n, 2);
    if (Ccelln[n] == 0) Connect(Cpoint3[n], Cpoint4[n], n, 3);
    if (Ccellw[n] == 0) Connect(Cpoint4[n], Cpoint1[n], n, 4);
  }
}

void levelTwo() {
  const bool topEntry = MGSNo >= 3;
  for (int b = 1; b <= NoBlocks0; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom <= 0) continue;
        const int n = newCell();
        num[i][j][1] = n;
        MGSCpoint[n][0] = 0;
        MGSCpoint[n][1] = bottom;
        int top = bottom;
        for (int c = bottom; c != 0; c = Ccellt[c]) {
          MGSCpoint[c][0] = n;
          top = c;
        }
        CflagDim[n] = 0;
        Cisolve[n] = i;
        Cjsolve[n] = j;
        if (topEntry) MGSCpoint[n][4] = top;
      }
    }
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int n = num[i][j][1];
        if (n == 0) continue;
        const int bottom = MGSCpoint[n][1], top = topOf(bottom);
        Cpoint1[n] = Cpoint1[bottom];
        Cpoint2[n] = Cpoint2[bottom];
        Cpoint3[n] = Cpoint3[bottom];
        Cpoint4[n] = Cpoint4[bottom];
        Cpoint5[n] = Cpoint5[top];
        Cpoint6[n] = Cpoint6[top];
        Cpoint7[n] = Cpoint7[top];
        Cpoint8[n] = Cpoint8[top];
        Ccells[n] = num[i][j - 1][1];
        Ccelln[n] = num[i][j + 1][1];
        Ccelle[n] = num[i + 1][j][1];
        Ccellw[n] = num[i - 1][j][1];
        checkFaceRoom(true);
        makeFaces(n);
      }
    }
  }
}

// Level k from the complete 2x2 groups of level k - 1 (num index k - 2).
void coarserLevel(int k) {
  const int s = 1 << (k - 2), h = s / 2;
  for (int b = 1; b <= NoBlocks0; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0) continue;
    for (int i = blk.i1; i <= blk.i2; i += s) {
      for (int j = blk.j1; j <= blk.j2; j += s) {
        const int f[4] = {levelCellAt(i, j, k - 2), levelCellAt(i, j + h, k - 2), levelCellAt(i + h, j + h, k - 2),
                          levelCellAt(i + h, j, k - 2)};
        if (f[0] == 0 || f[1] == 0 || f[2] == 0 || f[3] == 0) continue;
        const int n = newCell();
        num[i][j][k - 1] = n;
        MGSCpoint[n][0] = 0;
        for (int e = 0; e < 4; ++e) {
          MGSCpoint[f[e]][0] = n;
          MGSCpoint[n][e + 1] = f[e];
        }
      }
    }
    for (int i = blk.i1; i <= blk.i2; i += s) {
      for (int j = blk.j1; j <= blk.j2; j += s) {
        const int n = num[i][j][k - 1];
        if (n == 0) continue;
        const int f1 = MGSCpoint[n][1], f2 = MGSCpoint[n][2], f3 = MGSCpoint[n][3], f4 = MGSCpoint[n][4];
        Cpoint1[n] = Cpoint1[f1];
        Cpoint5[n] = Cpoint5[f1];
        Cpoint2[n] = Cpoint2[f4];
        Cpoint6[n] = Cpoint6[f4];
        Cpoint3[n] = Cpoint3[f3];
        Cpoint7[n] = Cpoint7[f3];
        Cpoint4[n] = Cpoint4[f2];
        Cpoint8[n] = Cpoint8[f2];
        Ccells[n] = levelCellAt(i, j - s, k - 1);
        Ccellw[n] = levelCellAt(i - s, j, k - 1);
        Ccelln[n] = levelCellAt(i, j + s, k - 1);
        Ccelle[n] = levelCellAt(i + s, j, k - 1);
        checkFaceRoom(false);
        makeFaces(n);
      }
    }
  }
}

}  // namespace

void MGSCoarserGridMake2D() {
  NoConnect = NoConnect0;
  NoSurfaces = NoSurfaces0;
  NoConnFlate = NoConnFlate0;
  NoBlocks = NoBlocks0;
  // The column indexes and every level index this call writes start empty,
  // so that no entry of an earlier call is taken for a child.
  const int depth = std::min(std::max(znumber, MGSNo) + 2, static_cast<int>(numDepth()));
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) std::fill(num[i][j], num[i][j] + depth, 0);
  }
  if (NoBlocks0 + std::max(2, MGSNo) - 1 >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error: %d blocks and %d coarse grid levels do not fit into the %d block records.\n"
                "Reduce the blocks in koosurf or the levels on F 152.\n",
                NoBlocks0, std::max(2, MGSNo) - 1, kMaxBlocks - 1);
  }
  GridBlock &two = block[NoBlocks0 + 1];
  openLevel(two, 2);
  levelTwo();
  NoBlocks = NoBlocks0 + 1;
  closeLevel(two);
  for (int k = 3; k <= MGSNo; ++k) {
    GridBlock &level = block[++NoBlocks];
    openLevel(level, k);
    coarserLevel(k);
    closeLevel(level);
  }
}

namespace {

// The full-depth cell of column (i, j) through the cell builder: the lower
// corners of the bottom cell, the upper corners of the top cell, the south
// and west faces shared with the neighbours already made.
void makeColumnCell(int n, int i, int j, int bottom, int top) {
  NewCell = NewCellRecord{};
  const int lower[4] = {Cpoint1[bottom], Cpoint2[bottom], Cpoint3[bottom], Cpoint4[bottom]};
  const int upper[4] = {Cpoint5[top], Cpoint6[top], Cpoint7[top], Cpoint8[top]};
  for (int m = 0; m < 4; ++m) {
    NewCell.x[m + 1] = NewCell.x[m + 5] = Px[lower[m]];
    NewCell.y[m + 1] = NewCell.y[m + 5] = Py[lower[m]];
    NewCell.z[m + 1] = Pz[lower[m]];
    NewCell.z[m + 5] = Pz[upper[m]];
  }
  const int south = num[i][j - 1][1], west = num[i - 1][j][1];
  NewCell.cell[1] = south;
  NewCell.cell[2] = num[i + 1][j][1];
  NewCell.cell[3] = num[i][j + 1][1];
  NewCell.cell[4] = west;
  if (south > 0) NewCell.face[1] = Cflaten[south];
  if (west > 0) NewCell.face[4] = Cflatee[west];
  MakeCell(n);
  CflagDim[n] = 1;
}

bool roomForColumnCell(int n) {
  if (n < MaxCeller - 1 && NoSurfaces + 6 < MaxFlater - 1 && NoPoints + 8 < MaxPunkter - 1) return true;
  logPrintf("Error: Unstructured arrays are too small. Increase with the F 65 data set.\n"
            " \t\t\t\t\tNoPointsNew, NoSurfacesNew, NoCells = %d %d\n",
            NoPoints, NoSurfaces);
  return false;
}

}  // namespace

void GridMake2D() {
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].j2 >= ynumber) {
      fatalExit(kExitBlockAlloc, "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n");
    }
  }
  const int depth = static_cast<int>(numDepth());
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) std::fill(num[i][j], num[i][j] + depth, 0);
  }
  const int base = NoBlocks;
  GridBlock &two = block[base + 1];
  two = GridBlock{};
  two.BlockKind = 2;
  two.GridLevel = 2;
  two.FirstCell = NoCells + 1;
  two.FirstFace = NoSurfaces + 1;
  two.FirstPoint = NoPoints + 1;
  int last = NoCells;
  for (int b = 1; b <= base; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        if (zval[i][j][0] > 0) num[i][j][1] = ++last;
      }
    }
  }
  for (int b = 1; b <= base; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int n = num[i][j][1];
        if (n == 0) continue;
        if (!roomForColumnCell(n)) return;
        const int bottom = static_cast<int>(zval[i][j][0]), top = topOf(bottom);
        makeColumnCell(n, i, j, bottom, top);
        for (int e = 0; e < 5; ++e) MGSCpoint[n][e] = 0;
        MGSCpoint[n][1] = bottom;
        MGSCpoint[n][2] = top;
        for (int c = bottom; c != 0; c = Ccellt[c]) MGSCpoint[c][0] = n;
      }
    }
  }
  two.LastCell = last;
  two.LastFace = NoSurfaces;
  two.LastPoint = NoPoints;
  if (NoConnect > 0) {
    for (int n = two.FirstCell; n <= two.LastCell; ++n) {
      if (Ccells[n] == 0) Connect(Cpoint1[n], Cpoint2[n], n, 1);
      if (Ccelle[n] == 0) Connect(Cpoint2[n], Cpoint3[n], n, 2);
      if (Ccelln[n] == 0) Connect(Cpoint3[n], Cpoint4[n], n, 3);
      if (Ccellw[n] == 0) Connect(Cpoint4[n], Cpoint1[n], n, 4);
    }
  }
  NoBlocks = base + 1;
  // The coarser levels of the accelerator follow the block, counted by
  // level: F 168 levels with the block itself, within the third extent of num.
  for (int m = 2; m <= Flag2DAccSolver && base + m < kMaxBlocks && m < depth; ++m) {
    GridBlock &level = block[base + m];
    level = GridBlock{};
    level.FirstCell = last + 1;
    agglomerateLevel(m, last);
    level.LastCell = last;
    level.GridLevel = m + 1;
    level.BlockKind = 2;
  }
}
