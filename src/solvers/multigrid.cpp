// The level builder of the depth-summed accelerator: one level cell per wet
// column of the working blocks, then one per 2x2 group of the level below,
// with neighbour links inside the blocks and across the block connections.
#include "solvers/multigrid.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

bool takesPart(const GridBlock &b) { return b.BlockKind == 0 && b.WorkFlag == 1 && b.LayerMark == 0; }

void checkBlockRows() {
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].j2 >= ynumber) {
      fatalExit(kExitBlockAlloc, "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n");
    }
  }
}

// The next level cell; the levels live in the cell tables after NoCells.
int nextLevelCell(int &last) {
  const int n = last + 1;
  if (n >= MaxCeller) {
    fatalPrintf(kExitUnreadable, nullptr,
                "Error: Number of cells in the unstructured arrays are too small\n"
                "when using the multi-grid solver, as it needs extra arrays. \n"
                "Increase the array sizes on the F 65 data set.\n"
                "Current value that needs increase: %d\n",
                MaxCeller);
  }
  last = n;
  Ccelle[n] = Ccellw[n] = Ccelln[n] = Ccells[n] = Ccellt[n] = Ccellb[n] = 0;
  CflagDim[n] = 1;
  for (int e = 0; e < 5; ++e) MGSCpoint[n][e] = 0;
  return n;
}

// In the slide modes the level covers only the moving part of a column.
bool slideModes() { return FlagThixo > 5 && FlagThixo != 100 && Cthixolev != nullptr; }

// The lowest cell of the column that the level covers, 0 when none.
int firstCovered(int bottom) {
  if (!slideModes()) return bottom;
  for (int c = bottom; c != 0; c = Ccellt[c]) {
    if (Cthixolev[c] > 1) return c;
  }
  return 0;
}

int *sideLink(int side) {
  switch (side) {
    case 1: return Ccells;
    case 2: return Ccelle;
    case 3: return Ccelln;
    case 4: return Ccellw;
    default: return nullptr;
  }
}

void levelOneCells(int &last) {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (!takesPart(blk)) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        num[i][j][1] = 0;
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom == 0) continue;
        const int first = firstCovered(bottom);
        if (first == 0) continue;
        const int n = nextLevelCell(last);
        num[i][j][1] = n;
        int top = first;
        for (int c = first; c != 0; c = Ccellt[c]) {
          MGSCpoint[c][0] = n;
          top = c;
        }
        MGSCpoint[n][1] = first;
        MGSCpoint[n][2] = top;
      }
    }
  }
}

void levelOneLinks() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (!takesPart(blk)) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int n = num[i][j][1];
        if (n == 0) continue;
        Ccelle[n] = num[i + 1][j][1];
        Ccellw[n] = num[i - 1][j][1];
        Ccells[n] = num[i][j - 1][1];
        Ccelln[n] = num[i][j + 1][1];
      }
    }
  }
}

// A column at a block connection has no structured neighbour there; its
// bottom cell's neighbour across the connection gives the link.
void levelOneLinksAcrossConnections() {
  if (NoBlocks <= 1 || Bkooi == nullptr || Cbed == nullptr) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0 || blk.WorkFlag != 1) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        const int n = num[i][j][1];
        if (n == 0) continue;
        const int bottom = static_cast<int>(zval[i][j][0]);
        for (int side = 1; side <= 4; ++side) {
          int *link = sideLink(side);
          const int m = link[bottom];
          if (link[n] != 0 || m == 0) continue;
          const int bed = Cbed[m];
          if (bed >= 1) link[n] = num[Bkooi[bed]][Bkooj[bed]][1];
        }
      }
    }
  }
}

}  // namespace

void agglomerateLevel(int m, int &last) {
  const int s = 1 << (m - 1), h = s / 2;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (!takesPart(blk)) continue;
    for (int j = blk.j1; j <= blk.j2; j += s) {
      for (int i = blk.i1; i <= blk.i2; i += s) {
        const bool north = j + h <= blk.j2, east = i + h <= blk.i2;
        const int f1 = num[i][j][m - 1];
        const int f2 = north ? num[i][j + h][m - 1] : 0;
        const int f3 = north && east ? num[i + h][j + h][m - 1] : 0;
        const int f4 = east ? num[i + h][j][m - 1] : 0;
        if (f1 + f2 + f3 + f4 <= 0) continue;
        const int n = nextLevelCell(last);
        num[i][j][m] = n;
        const int children[4] = {f1, f2, f3, f4};
        for (int e = 0; e < 4; ++e) {
          MGSCpoint[n][e + 1] = children[e];
          if (children[e] > 0) MGSCpoint[children[e]][0] = n;
        }
        const int w = i - s >= 1 ? num[i - s][j][m] : 0;
        if (w > 0 && ((f1 > 0 && MGSCpoint[w][4] > 0) || (f2 > 0 && MGSCpoint[w][3] > 0))) {
          Ccellw[n] = w;
          Ccelle[w] = n;
        }
        const int q = j - s >= 1 ? num[i][j - s][m] : 0;
        if (q > 0 && ((f1 > 0 && MGSCpoint[q][2] > 0) || (f4 > 0 && MGSCpoint[q][3] > 0))) {
          Ccells[n] = q;
          Ccelln[q] = n;
        }
      }
    }
  }
}

namespace {

// The levels of two joined blocks are linked where their bottom cells meet,
// parent by parent up to the coarsest level.
void linksAcrossConnections() {
  for (int r = 1; r <= NoConnFlate; ++r) {
    const int f = connFlate[r][0];
    if (f <= 0) continue;
    int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0 || (Ccellb[c1] != 0 && Ccellb[c2] != 0)) continue;
    int *side1 = sideLink(Ftype1[f]), *side2 = sideLink(Ftype2[f]);
    for (int level = 0; level < NoMGlevels; ++level) {
      const int p1 = MGSCpoint[c1][0], p2 = MGSCpoint[c2][0];
      if (p1 == 0 && p2 == 0) break;
      // Two columns that fall into one coarse cell are no neighbours there.
      if (p1 != p2) {
        if (side1 && p1 > 0) side1[p1] = p2;
        if (side2 && p2 > 0) side2[p2] = p1;
      }
      c1 = p1;
      c2 = p2;
    }
  }
}

void clearRecordsFrom(int first) {
  for (int b = std::max(first, 1); b < kMaxBlocks; ++b) block[b] = GridBlock{};
}

}  // namespace

int firstLevelBlock() {
  if (NoMGlevels <= 0) return 0;
  for (int b = 1; b < kMaxBlocks; ++b) {
    if (block[b].BlockKind > 0) return b;
  }
  return 0;
}

void AlgMGMake() {
  int side = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (takesPart(blk)) side = std::max({side, blk.i2 - blk.i1 + 2, blk.j2 - blk.j1 + 2});
  }
  checkBlockRows();
  if (side == 0 || MGSCpoint == nullptr) {
    NoMGlevels = 0;
    clearRecordsFrom(NoBlocks + 1);
    return;
  }
  NoMGlevels = static_cast<int>(std::log(static_cast<double>(side))) + 3;
  if (NoBlocks + NoMGlevels - 1 >= kMaxBlocks) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error: %d blocks and %d multigrid levels do not fit into the %d block records.\n"
                "Reduce the blocks in koosurf or set F 168 to 0.\n",
                NoBlocks, NoMGlevels - 1, kMaxBlocks - 1);
  }
  const int depth = static_cast<int>(std::min<std::int64_t>(numDepth(), std::max(znumber, NoMGlevels) + 2));
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) std::fill(num[i][j], num[i][j] + depth, 0);
  }

  int last = NoCells;
  GridBlock &one = block[NoBlocks + 1];
  one = GridBlock{};
  one.BlockKind = 2;
  one.GridLevel = 2;
  one.FirstCell = NoCells + 1;
  one.FirstFace = NoSurfaces + 1;
  one.LastFace = NoSurfaces;
  one.FirstPoint = one.LastPoint = NoPoints;
  levelOneCells(last);
  levelOneLinks();
  levelOneLinksAcrossConnections();
  one.LastCell = last;

  int built = 1;
  for (int m = 2; m <= NoMGlevels - 1; ++m) {
    GridBlock &level = block[NoBlocks + m];
    level = GridBlock{};
    level.FirstCell = last + 1;
    agglomerateLevel(m, last);
    level.LastCell = last;
    level.GridLevel = m + 1;
    level.BlockKind = 2;
    built = m;
  }
  clearRecordsFrom(NoBlocks + built + 1);
  GridBlock &coarsest = block[NoBlocks + built];
  if (coarsest.FirstCell == coarsest.LastCell) {
    --NoMGlevels;
    coarsest.BlockKind = 0;
    coarsest.GridLevel = 0;
  }
  linksAcrossConnections();
}
