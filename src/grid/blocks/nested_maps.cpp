// The maps that tie a nested block to its parent level: the parent cell of
// every fine cell, the coarse bed cell under every fine column and the nearest
// child grid point of every grid point; and the fine surface and pressure
// kept in step with the parent. Writes Cinterpolnest, Bnestcoarse, pointnest,
// the water levels of nested grid lines and Cpres of nested cells.
#include <algorithm>
#include <cmath>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"
#include "surface/surface_services.h"

namespace {

// Weight of the vertical extent in the search radius of a fine cell: the
// parent must lie within the cell's own plan size and a few cell heights.
// The same in serial and threaded runs, so the map does not depend on F 206.
constexpr double kVerticalWeight = 10.0;

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

double squaredDistance(int a, int b) {
  const double dx = Cxcenter[a] - Cxcenter[b], dy = Cycenter[a] - Cycenter[b], dz = Czcenter[a] - Czcenter[b];
  return dx * dx + dy * dy + dz * dz;
}

double planDistance2(int a, int b) {
  const double dx = Cxcenter[a] - Cxcenter[b], dy = Cycenter[a] - Cycenter[b];
  return dx * dx + dy * dy;
}

// Parent of fine cell c of a block at `level`: the nearest cell of a block of
// the level below (the last block is not searched) within the cell's radius;
// the first of equally near cells stays.
int nearestParent(int c, int level) {
  double r = 4.0 * (Cidist[c] * Cidist[c] + Cjdist[c] * Cjdist[c]) + kVerticalWeight * 4.0 * Ckdist[c] * Ckdist[c];
  int parent = 0;
  for (int b2 = 1; b2 <= NoBlocks - 1; ++b2) {
    const GridBlock &p = block[b2];
    if (p.NestLevel != level - 1) continue;
    for (int c2 = p.FirstCell; c2 <= p.LastCell; ++c2) {
      const double d = squaredDistance(c2, c);
      if (d < r) {
        parent = c2;
        r = d;
      }
    }
  }
  return parent;
}

// Before the bed cells exist: a search by cell centres, one region per
// nested block; each chunk writes only its own cells, so the map is the
// serial one whatever the thread count.
void parentsByRadius() {
  const bool threaded = NoProcessesSolver != 0 && FlagOpenMP[11] != 1;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0 || blk.FirstCell > blk.LastCell) continue;
    const int level = blk.NestLevel;
    auto search = [level](int first, int last) {
      for (int c = first; c <= last; ++c) Cinterpolnest[c] = nearestParent(c, level);
    };
    if (threaded) forEachChunk(blk.FirstCell, blk.LastCell, search);
    else search(blk.FirstCell, blk.LastCell);
  }
}

// The coarse column nearest in plan to fine bottom cell cf among the one
// under it (c0) and its north, east and north-east neighbours; 0 when none.
int chosenCoarseColumn(int c0, int cf) {
  if (c0 <= 0) return 0;
  const int n = Ccelln[c0], e = Ccelle[c0];
  int ne = n > 0 ? Ccelle[n] : 0;
  if (ne == 0 && e > 0) ne = Ccelln[e];
  const int candidates[4] = {c0, n, e, ne};
  int chosen = 0;
  double best = 1e30;
  for (int m : candidates) {
    const double d = m > 0 ? planDistance2(m, cf) : 1e30;
    if (d < best) {
      best = d;
      chosen = m;
    }
  }
  return chosen;
}

// The cell of the coarse column from `bottom` up whose centre level is
// nearest to z; the lower one on a tie.
int nearestInColumn(int bottom, double z) {
  int chosen = 0;
  double best = 1e300;
  for (int m = bottom; m > 0; m = Ccellt[m]) {
    const double d = std::fabs(Czcenter[m] - z);
    if (d < best) {
      best = d;
      chosen = m;
    }
  }
  return chosen;
}

// With the bed cells: every fine column takes the coarse column under its
// bed cell or a neighbour of it, and each fine cell the cell of that column
// at its own level.
void parentsByBedCells() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0) continue;
    for (int bed = std::max(blk.FirstBedCell, 1); bed <= blk.LastBedCell; ++bed) {
      const int cf = Bcellt[bed];
      if (cf <= 0) continue;
      const int coarse = Bnestcoarse[bed];
      const int column = chosenCoarseColumn(coarse > 0 ? Bcellt[coarse] : 0, cf);
      for (int c = cf; c > 0; c = Ccellt[c]) Cinterpolnest[c] = column > 0 ? nearestInColumn(column, Czcenter[c]) : 0;
    }
  }
}

// Search radius of a block: the larger of the plan size of the bottom cell of
// its middle column and the root of that column's plan area.
double blockRadius(const GridBlock &p) {
  const int mi = (p.i1 + p.i2) / 2, mj = (p.j1 + p.j2) / 2;
  const int c = bottomCell(mi, mj);
  return std::max(Cidist[c] + Cjdist[c], std::sqrt(std::max(armap[mi][mj], 0.0)));
}

double planGap(int i, int j, int i2, int j2) { return std::hypot(xval[i][j] - xval[i2][j2], yval[i][j] - yval[i2][j2]); }

// The wet column of block p nearest to grid point (i, j) within radius r.
bool nearestWetColumn(const GridBlock &p, int i, int j, double r, int &fi, int &fj) {
  double best = 1e20;
  bool found = false;
  for (int i2 = p.i1; i2 <= p.i2; ++i2) {
    for (int j2 = p.j1; j2 <= p.j2; ++j2) {
      if (bottomCell(i2, j2) < 1) continue;
      const double d = planGap(i2, j2, i, j);
      if (d < best && d < r) {
        best = d;
        fi = i2;
        fj = j2;
        found = true;
      }
    }
  }
  return found;
}

void coarseBedCells() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int own = pointbed[i][j];
        if (own <= 0) continue;
        for (int p = 1; p <= NoBlocks; ++p) {
          const GridBlock &parent = block[p];
          if (parent.NestLevel != blk.NestLevel - 1) continue;
          int fi = 0, fj = 0;
          if (nearestWetColumn(parent, i, j, blockRadius(parent), fi, fj)) Bnestcoarse[own] = pointbed[fi][fj];
        }
      }
    }
  }
}

// Every grid point of a block of level 0 or 1 takes the nearest grid point of
// the next finer level within the block's radius.
void childGridPoints() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) pointnest[i][j][0] = pointnest[i][j][1] = 0;
    }
  }
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel >= 2 || bottomCell((blk.i1 + blk.i2) / 2, (blk.j1 + blk.j2) / 2) < 1) continue;
    const double r = blockRadius(blk);
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        double best = 1e20;
        for (int c = 1; c <= NoBlocks; ++c) {
          const GridBlock &child = block[c];
          if (child.NestLevel != blk.NestLevel + 1) continue;
          for (int i2 = child.i1 - 1; i2 <= child.i2; ++i2) {
            for (int j2 = child.j1 - 1; j2 <= child.j2; ++j2) {
              const double d = planGap(i2, j2, i, j);
              if (d < best && d < r) {
                best = d;
                pointnest[i][j][0] = i2;
                pointnest[i][j][1] = j2;
              }
            }
          }
        }
      }
    }
  }
}

// The coarse bed cell of the fine column (ci, cj), 0 when it has none or its
// coarse column is dry.
int coarseBedOf(int ci, int cj) {
  if (ci < 0 || cj < 0 || ci > xnumber + 1 || cj > ynumber + 1) return 0;
  const int coarse = Bnestcoarse[Cbed[bottomCell(ci, cj)]];
  return coarse > 0 && Bcellt[coarse] > 0 ? coarse : 0;
}

// Two in-place smoothing passes over the inner grid points of block b, the
// second in the reverse order.
void smoothSurface(const GridBlock &b) {
  const int top = znumber;
  auto relax = [top](int i, int j) {
    zval[i][j][top] = 0.5 * zval[i][j][top] +
                      0.125 * (zval[i - 1][j][top] + zval[i + 1][j][top] + zval[i][j - 1][top] + zval[i][j + 1][top]);
  };
  for (int j = b.j1; j <= b.j2 - 1; ++j) {
    for (int i = b.i1; i <= b.i2 - 1; ++i) relax(i, j);
  }
  for (int j = b.j2 - 1; j >= b.j1; --j) {
    for (int i = b.i2 - 1; i >= b.i1; --i) relax(i, j);
  }
}

}  // namespace

void computeCinterpolnest() {
  if (!Cinterpolnest) return;
  // Without the coarse bed cells the bed-cell rule has nothing to stand on.
  if (NoBCells < 1 || !Bnestcoarse || !Bcellt) parentsByRadius();
  else parentsByBedCells();
}

void computeBnestcoarse() {
  if (!Bnestcoarse || !pointbed) return;
  for (int b = 1; b <= NoBCells; ++b) Bnestcoarse[b] = 0;
  coarseBedCells();
  if (pointnest) childGridPoints();
}

void interpolateSurfaceNested() {
  if (!Bnestcoarse || !Cbed || !Bcellt) return;
  Bnestcoarse[0] = 0;
  if (FlagNestTop == 5) computeBnestcoarse();
  for (int b = 2; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0) continue;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        const int ci = std::max(i, blk.i1), cj = std::max(j, blk.j1);
        int coarse = coarseBedOf(ci, cj);
        const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (int s = 0; s < 4 && coarse == 0; ++s) coarse = coarseBedOf(ci + steps[s][0], cj + steps[s][1]);
        if (coarse == 0) continue;
        int t = Bcellt[coarse];
        while (Ccellt[t] > 0) t = Ccellt[t];
        zval[i][j][znumber] = Czcenter[t] + Ckdist[t];
      }
    }
    smoothSurface(blk);
  }
}

void scalePressureNested() {
  if (!Cinterpolnest) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0) continue;
    double own = 0.0, parents = 0.0;
    int count = 0;
    for (int c = blk.FirstCell; c <= blk.LastCell; ++c) {
      const int p = Cinterpolnest[c];
      if (p <= 0) continue;
      own += Cpres[c];
      parents += Cpres[p];
      ++count;
    }
    const double shift = count > 0 ? (parents - own) / count : 0.0;
    for (int c = blk.FirstCell; c <= blk.LastCell; ++c) Cpres[c] += shift;
  }
}
