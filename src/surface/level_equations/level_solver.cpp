// The two-dimensional level solver: Gauss-Seidel sweeps over the wet columns'
// bottom cells of the blocks whose surface is updated, in place in Cf (or in
// Bdeltah for the level-set form), with the coefficient set the caller left.
#include "surface/level_equations/level_solver.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/surface_multigrid.h"
#include "base/log.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"

namespace {

int bottomCellAt(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The five-point value of column c from its side neighbours; an absent
// neighbour is cell 0.
inline double fivePoint(int c) {
  return (Cf[Ccelle[c]] * Cae[c] + Cf[Ccellw[c]] * Caw[c] + Cf[Ccelln[c]] * Can[c] + Cf[Ccells[c]] * Cas[c] +
          Csource[c]) /
         Cap[c];
}

// The nine-point value: the side neighbours and the four diagonal ones, each
// found through a side neighbour (north-east is east of north, or north of
// east when the first is absent).
inline double ninePoint(int c) {
  const int n = Ccelln[c], s = Ccells[c], e = Ccelle[c], w = Ccellw[c];
  const int ne = Ccelle[n] != 0 ? Ccelle[n] : Ccelln[e];
  const int se = Ccelle[s] != 0 ? Ccelle[s] : Ccells[e];
  const int nw = Ccellw[n] != 0 ? Ccellw[n] : Ccelln[w];
  const int sw = Ccellw[s] != 0 ? Ccellw[s] : Ccells[w];
  return (Cf[e] * Cae[c] + Cf[w] * Caw[c] + Cf[n] * Can[c] + Cf[s] * Cas[c] + Cf[ne] * Caee[c] + Cf[se] * Cass[c] +
          Cf[nw] * Cann[c] + Cf[sw] * Caww[c] + Csource[c]) /
         Cap[c];
}

// The bottom cells of the treated blocks in cell order, block by block, so
// that the sweeps of codes 4 and 43 skip the cells above them. The table is
// sized once at the cell capacity; filling it is one pass over the cells,
// against two per iteration that it saves.
struct BottomCellTable {
  std::vector<int> cells;
  int blockStart[kMaxBlocks + 1];  // entries of block n: blockStart[n - 1] .. blockStart[n] - 1
  int blocks = 0;
};
BottomCellTable bottomCells;

void fillBottomCells() {
  BottomCellTable &t = bottomCells;
  if (t.cells.size() < static_cast<std::size_t>(std::max(MaxCeller, NoCells) + 1)) {
    t.cells.resize(static_cast<std::size_t>(std::max(MaxCeller, NoCells) + 1));
  }
  int n = 0;
  t.blocks = 0;
  t.blockStart[0] = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    for (int c = std::max(block[b].FirstCell, 1); c <= block[b].LastCell; ++c) {
      if (Ccellb[c] == 0) t.cells[n++] = c;
    }
    t.blockStart[++t.blocks] = n;
  }
}

// Codes 4 and 43: each iteration a forward pass over every treated block's
// bottom cells and a backward pass (blocks in the same order, each from its
// last cell) that measures the mean change; the iterations stop below F 345
// or after the second value of F 239. With a floor every new value is
// raised to the column's Froude-limited value.
template <bool Floor>
void doubleSweeps() {
  fillBottomCells();
  const BottomCellTable &t = bottomCells;
  const int *const cells = t.cells.data();
  for (int iter = 0; iter < iterSurfSolv2; ++iter) {
    for (int n = 0; n < t.blockStart[t.blocks]; ++n) {
      const int c = cells[n];
      double v = fivePoint(c);
      if constexpr (Floor) v = std::max(v, BLevFroude[Cbed[c]]);
      Cf[c] = v;
    }
    double change = 0.0;
    for (int b = 1; b <= t.blocks; ++b) {
      for (int n = t.blockStart[b] - 1; n >= t.blockStart[b - 1]; --n) {
        const int c = cells[n];
        double v = fivePoint(c);
        if constexpr (Floor) v = std::max(v, BLevFroude[Cbed[c]]);
        change += std::fabs(v - Cf[c]);
        Cf[c] = v;
      }
    }
    if (change / (t.blockStart[t.blocks] + 1e-15) < residualCasulli) break;
  }
}

// One sweep of a block's wet columns in the structured index space, j the
// inner loop, in the directions given.
template <bool Floor>
void structuredSweep(const GridBlock &blk, bool iUp, bool jUp) {
  for (int n = 0; n <= blk.i2 - blk.i1; ++n) {
    const int i = iUp ? blk.i1 + n : blk.i2 - n;
    for (int m = 0; m <= blk.j2 - blk.j1; ++m) {
      const int j = jUp ? blk.j1 + m : blk.j2 - m;
      const int c = bottomCellAt(i, j);
      if (c <= 0) continue;
      double v = ninePoint(c);
      if constexpr (Floor) v = std::max(v, BLevFroude[Cbed[c]]);
      Cf[c] = v;
    }
  }
}

// Codes 8 and 83: the first value of F 239 iterations of four sweeps, each
// sweep over every treated block, turning the sweep direction each time.
template <bool Floor>
void fourSweeps() {
  constexpr bool kIUp[4] = {true, true, false, false}, kJUp[4] = {true, false, true, false};
  for (int iter = 0; iter < iterSurfSolv1; ++iter) {
    for (int sweep = 0; sweep < 4; ++sweep) {
      for (int b = 1; b <= NoBlocks; ++b) {
        if (treated(b)) structuredSweep<Floor>(block[b], kIUp[sweep], kJUp[sweep]);
      }
    }
  }
}

// Code 42: three passes from the downstream end up, each line i swept
// across and back.
void threePasses() {
  for (int pass = 0; pass < 3; ++pass) {
    for (int b = 1; b <= NoBlocks; ++b) {
      if (!treated(b)) continue;
      const GridBlock &blk = block[b];
      for (int i = blk.i2; i >= blk.i1; --i) {
        for (int j = blk.j1; j <= blk.j2; ++j) {
          if (const int c = bottomCellAt(i, j); c > 0) Cf[c] = fivePoint(c);
        }
        for (int j = blk.j2; j >= blk.j1; --j) {
          if (const int c = bottomCellAt(i, j); c > 0) Cf[c] = fivePoint(c);
        }
      }
    }
  }
}

// Code 41: the level-set change per column, in Bdeltah, with the level-set
// source; the forward pass drops values too small to matter.
void levelSetSweeps() {
  if (!Bdeltah || !BsourceLS) return;
  auto value = [](int c) {
    return (Bdeltah[Cbed[Ccelle[c]]] * Cae[c] + Bdeltah[Cbed[Ccellw[c]]] * Caw[c] + Bdeltah[Cbed[Ccelln[c]]] * Can[c] +
            Bdeltah[Cbed[Ccells[c]]] * Cas[c] + BsourceLS[Cbed[c]]) /
           Cap[c];
  };
  for (int iter = 0; iter < iterSurfSolv1; ++iter) {
    for (int b = 1; b <= NoBlocks; ++b) {
      if (!treated(b)) continue;
      for (int c = std::max(block[b].FirstCell, 1); c <= block[b].LastCell; ++c) {
        if (Ccellb[c] != 0) continue;
        const double v = value(c);
        Bdeltah[Cbed[c]] = std::fabs(v) < 1e-80 ? 0.0 : v;
      }
    }
    for (int b = 1; b <= NoBlocks; ++b) {
      if (!treated(b)) continue;
      for (int c = block[b].LastCell; c >= std::max(block[b].FirstCell, 1); --c) {
        if (Ccellb[c] == 0) Bdeltah[Cbed[c]] = value(c);
      }
    }
  }
}

void fivePointSolve() {
  if (FlagBugFind == 1) surfaceBugtrap(8);
  if (Flag2DAccSolver > 0 && BlockCasulli >= 3) {
    if (FlagTFS == 9 && FlagMGSurf == 0) {
      AlgMGSurfCasulli();
    } else {
      AlgMGSurf();
    }
  }
  if (FlagBugFind == 1) surfaceBugtrap(9);
  doubleSweeps<false>();
}

// With F 371 the levels of block 1 may not fall below the floor that keeps
// its cross-sections connected.
void gridSplitFloor() {
  if (FlagNoGridSplit <= 0 || NoBlocks < 1 || !Bminlevdh) return;
  const GridBlock &blk = block[1];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c = bottomCellAt(i, j);
      if (c > 0) Cf[c] = std::max(Cf[c], Bminlevdh[Cbed[c]]);
    }
  }
}

}  // namespace

void surfaceSolver(int code) {
  // The Froude floors exist with F 351 only; without them the floor codes
  // sweep without a floor.
  const bool floors = BLevFroude != nullptr;
  switch (code) {
    case kSurfaceSolverFivePoint: fivePointSolve(); break;
    case kSurfaceSolverFivePointFloor:
      if (Flag2DAccSolver >= 1 && (iterSurfSolv2 <= 9 || BlockCasulli == 3)) AlgMGSurf();
      floors ? doubleSweeps<true>() : doubleSweeps<false>();
      break;
    case kSurfaceSolverNinePoint: fourSweeps<false>(); break;
    case kSurfaceSolverNinePointFloor: floors ? fourSweeps<true>() : fourSweeps<false>(); break;
    case kSurfaceSolverThreePasses: threePasses(); break;
    case kSurfaceSolverLevelSet: levelSetSweeps(); break;
    default: break;
  }
  gridSplitFloor();
}

void surfaceBugtrap(int location) {
  double sumCap = 0.0, sumSource = 0.0, sumValue = 0.0;
  int count = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c = bottomCellAt(i, j);
        if (c <= 0 || !(Cap[c] < 1e10)) continue;
        sumSource += Csource[c];
        sumCap += Cap[c];
        sumValue += Cf[c];
        ++count;
      }
    }
    for (int c = std::max(blk.FirstCell, 1); c <= blk.LastCell; ++c) {
      if (Ccellb[c] != 0) continue;
      const double f = Cf[c];
      const bool sound = Cap[c] >= 1e-5 && Cae[c] >= -1e-10 && Caw[c] >= -1e-10 && Cas[c] >= -1e-10 &&
                         Can[c] >= -1e-10 && f >= -1000.0 && f <= 1000.0;
      if ((sound || std::fabs(f) <= 1e-10) && !std::isnan(f)) continue;
      logPrintf("Warning, strange values in surface algorithm, F 36 %d, cell %d\n", FlagTFS, c);
      logPrintf("Called from location %d\n", location);
      logPrintf("Cap, Cae, Caw, Cas, Can, Cf, Csource = %lf %lf %lf %lf %lf %lf %lf\n", Cap[c], Cae[c], Caw[c],
                Cas[c], Can[c], f, Csource[c]);
      logPrintf("Froude no.: %lf\n", BFroude && Cbed ? BFroude[Cbed[c]] : 0.0);
    }
  }
  if (location == 9 && debugging == 'D') {
    logText("Special data for F 369 1: \n");
    for (int b = 1; b <= 12 && b < kMaxBlocks; ++b) {
      logPrintf("Block %d, cellstart %d, cellend %d\n", b, block[b].FirstCell, block[b].LastCell);
    }
    logText("\n");
  }
  if (FlagTFS == 7 || FlagTFS == 4) {
    const double n = count > 0 ? count : 1.0;
    logPrintf("Surface sums: Cap = %lf, Csource = %lf, Cf = %lf\n", sumCap / n, sumSource / n, sumValue / n);
  }
}
