// Tail of a steady surface update: the outflow and edge levels, the flushing
// limits, the regeneration of the grid on the new levels (Unstructure, metric,
// BedMake, waterflow) and the reset of what belonged to the old grid.
#include "surface/steady/surface_tail.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "grid/generation/cell_numbering.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "sediment/statistics/braiding_measures.h"
#include "solvers/multigrid.h"
#include "startup/operations.h"
#include "surface/steady/surface_driver.h"
#include "surface/surface_services.h"

namespace {

double &surfaceLevel(int i, int j) { return zval[i][j][znumber]; }

// Both points of each boundary side of a column (bottom cell c at (i, j)).
// Sides in the order east, west, north, south.
template <typename Visit>
void boundarySides(int c, int i, int j, Visit &&visit) {
  if (Ccelle[c] == 0) visit(0, i, j - 1, i, j);
  if (Ccellw[c] == 0) visit(1, i - 1, j - 1, i - 1, j);
  if (Ccelln[c] == 0) visit(2, i - 1, j, i, j);
  if (Ccells[c] == 0) visit(3, i - 1, j - 1, i, j - 1);
}

// Every boundary column of the group, once per face row: its faces' cells
// that are top cells, walked down to the bottom cell.
template <typename Visit>
void boundaryColumns(const DischargeGroup &group, Visit &&visit) {
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k];
    int c = Fcell1[f] > 0 ? Fcell1[f] : Fcell2[f];
    if (c <= 0 || Ccellt[c] != 0) continue;
    while (Ccellb[c] > 0) c = Ccellb[c];
    const int b = Cbed[c];
    visit(c, Bkooi[b], Bkooj[b]);
  }
}

bool inGrid(int i, int j) { return i >= 0 && j >= 0 && i <= xnumber + 1 && j <= ynumber + 1; }

// The flushing limits of F 381 on block 1's levels.
void flushLimits() {
  const GridBlock &b = block[1];
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      surfaceLevel(i, j) = std::max(FlushWaterLevelMin, std::min(FlushWaterLevelMax, surfaceLevel(i, j)));
    }
  }
}

// The cells on the new levels: the previous time step's fields move into
// the old-time slots first, so that the regeneration carries both.
void regenerate() {
  if (Cxvel_old) {
    const int first = WCStart, last = WCEnd + 1;
    if (Cxvel_old2 && first < last) {
      std::copy(Cxvel_old + first, Cxvel_old + last, Cxvel_old2 + first);
      std::copy(Cyvel_old + first, Cyvel_old + last, Cyvel_old2 + first);
      std::copy(Czvel_old + first, Czvel_old + last, Czvel_old2 + first);
    }
    if (first < last) {
      std::copy(Cxvel + first, Cxvel + last, Cxvel_old + first);
      std::copy(Cyvel + first, Cyvel + last, Cyvel_old + first);
      std::copy(Czvel + first, Czvel + last, Czvel_old + first);
      std::copy(Cpres + first, Cpres + last, Cpres_old + first);
      std::copy(Ckinen + first, Ckinen + last, Ckinen_old + first);
      std::copy(Cepsilon + first, Cepsilon + last, Cepsilon_old + first);
    }
  }
  // A grid that does not fit the F 65 tables ends the run before anything
  // works on it. A steady run keeps its fields on the cell numbers: right
  // while every column keeps its cell count; a transient run's BedMake
  // carries them to the new cells.
  rememberCellNumbering();
  endOnGridFailure(operations.Unstructure());
  operations.metric();
  operations.BedMake();
  clearPressureWeightsIfRenumbered();
  operations.waterflow(WFStart, WFEnd);
  if (Flag2DAccSolver > 0 && block[NoBlocks].BlockKind == 0) AlgMGMake();
}

void clearRegressionSums() {
  RegIter = 0;
  if (!PresRegresN) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || SurfUpdate[n] != 1) continue;
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        PresRegresN[i][j] = PresRegresSumX[i][j] = PresRegresSumXX[i][j] = 0;
        PresRegresSumPres[i][j] = PresRegresSumXPres[i][j] = 0.0;
      }
    }
  }
}

void setBoth(int i, int j, double z) { zval[i][j][znumber] = zval[i][j][znumber + 1] = z; }

// A neighbour column counts as dry when its bottom cell has no bed cell.
bool wetColumn(int i, int j) {
  if (!inGrid(i, j)) return false;
  const int c = static_cast<int>(zval[i][j][0]);
  return c > 0 && Cbed[c] > 0;
}

void copyPoints(int ia, int ja, int ib, int jb, int fa, int fja, int fb, int fjb) {
  setBoth(ia, ja, surfaceLevel(fa, fja));
  setBoth(ib, jb, surfaceLevel(fb, fjb));
}

// Edge mode 1: a wet column beside a dry one continues the level of the
// side across from the dry one.
void edgeContinuation() {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || SurfUpdate[n] != 1) continue;
    for (int i = std::max(b.i1 - 1, 1); i <= b.i2; ++i) {
      for (int j = std::max(b.j1 - 1, 1); j <= b.j2; ++j) {
        if (zval[i][j][0] == 0.0) continue;
        const bool north = wetColumn(i, j + 1), south = wetColumn(i, j - 1);
        const bool east = wetColumn(i + 1, j), west = wetColumn(i - 1, j);
        if (!north && south) copyPoints(i - 1, j, i, j, i - 1, j - 1, i, j - 1);
        else if (!south && north) copyPoints(i - 1, j - 1, i, j - 1, i - 1, j, i, j);
        else if (!east && west) copyPoints(i, j, i, j - 1, i - 1, j, i - 1, j - 1);
        else if (!west && east) copyPoints(i - 1, j, i - 1, j - 1, i, j, i, j - 1);
      }
    }
  }
}

void raiseBoth(int i, int j, double z) {
  if (inGrid(i, j)) setBoth(i, j, std::max(surfaceLevel(i, j), z));
}

// Edge modes 2 to 99: the outflow sides at z and n point rows inward held
// at least at z.
void outflowRows(const DischargeGroup &group, int n, double z) {
  boundaryColumns(group, [n, z](int c, int i, int j) {
    boundarySides(c, i, j, [n, z, i, j](int side, int ia, int ja, int ib, int jb) {
      setBoth(ia, ja, z);
      setBoth(ib, jb, z);
      for (int k = 1; k <= n; ++k) {
        switch (side) {
          case 0: raiseBoth(i - k, j, z), raiseBoth(i - k, j - 1, z); break;
          case 1: raiseBoth(i + k - 1, j, z), raiseBoth(i + k - 1, j - 1, z); break;
          case 2: raiseBoth(i, j - k, z), raiseBoth(i - 1, j - k, z); break;
          default: raiseBoth(i, j + k - 1, z), raiseBoth(i - 1, j + k - 1, z); break;
        }
      }
    });
  });
}

// Edge modes 100 and 101: an east outflow at z with a quadratic transition
// over the four point rows upstream.
void eastTransition(const DischargeGroup &group, bool fromUpstream, double z) {
  boundaryColumns(group, [fromUpstream, z](int c, int i, int j) {
    if (Ccelle[c] != 0) return;
    setBoth(i, j, z);
    setBoth(i, j - 1, z);
    if (i - 5 < 0) return;
    for (int k = 1; k <= 4; ++k) {
      const double w = (0.2 * k) * (0.2 * k);
      for (int jj : {j, j - 1}) {
        const double from = fromUpstream ? surfaceLevel(i - 5, jj) : surfaceLevel(i - k, jj);
        setBoth(i - k, jj, w * from + (1.0 - w) * z);
      }
    }
  });
}

// Edge mode -1: the inflow sides of group 1 at least the minimum depth
// above the bed, where the side has neighbours on both ends.
void inflowMinimumDepth() {
  const DischargeGroup &group = DischargeStruct[1];
  if (group.type != 1 || group.faceCount <= 0) return;
  boundaryColumns(group, [](int c, int i, int j) {
    const bool alongJ = Ccelln[c] != 0 && Ccells[c] != 0, alongI = Ccelle[c] != 0 && Ccellw[c] != 0;
    boundarySides(c, i, j, [alongI, alongJ](int side, int ia, int ja, int ib, int jb) {
      if (side <= 1 ? !alongJ : !alongI) return;
      for (auto [pi, pj] : {std::pair{ia, ja}, std::pair{ib, jb}}) {
        setBoth(pi, pj, std::max(surfaceLevel(pi, pj), zval[pi][pj][1] + 1.0001 * MinVertDist0));
      }
    });
  });
}

}  // namespace

void computeSurfDownstream() {
  if (FlagDSO1 < 1 || FlagDSO1 > 9) return;
  const DischargeGroup &group = DischargeStruct[FlagDSO1];
  boundaryColumns(group, [](int c, int i, int j) {
    boundarySides(c, i, j, [](int, int ia, int ja, int ib, int jb) {
      surfaceLevel(ia, ja) = GlobZRef;
      surfaceLevel(ib, jb) = GlobZRef;
    });
  });
  if (surfaceDownstreamDamp == 10) {
    // A straight transition from the reference level at an east outflow to
    // the level ten points upstream; rows outside the grid are left out.
    if (group.faceCount <= 0) return;
    boundaryColumns(group, [](int c, int i, int j) {
      if (Ccelle[c] != 0 || !inGrid(i - 10, j - 1)) return;
      for (int k = 1; k <= 9; ++k) {
        for (int jj : {j, j - 1}) surfaceLevel(i - k, jj) = 0.1 * k * surfaceLevel(i - 10, jj) + (1.0 - 0.1 * k) * GlobZRef;
      }
    });
    return;
  }
  if (surfaceDownstreamDamp == 11 && NoBlocks >= 1) {
    // A parabola that leaves the upstream level with zero slope and meets
    // the boundary level at the last point row of block 1.
    const GridBlock &b = block[1];
    const int i2 = b.i2;
    if (i2 - 10 < 0) return;
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      const double x0 = xval[i2 - 10][j], z0 = surfaceLevel(i2 - 10, j), x1 = xval[i2][j], z1 = surfaceLevel(i2, j);
      for (int i = i2 - 9; i <= i2 - 1; ++i) {
        const double s = (xval[i][j] - x0) / (x1 - x0);
        surfaceLevel(i, j) = z0 + (z1 - z0) * s * s;
      }
    }
  }
}

void surfaceEdge(double z) {
  if (FlagSurfEdge == 1) {
    edgeContinuation();
    return;
  }
  if (!Bkooi) return;
  if (FlagSurfEdge >= 2 && FlagSurfEdge <= 101) {
    if (kSurf <= 0 || kSurf >= kDischargeGroups || DischargeStruct[kSurf].faceCount <= 0) return;
    if (FlagSurfEdge <= 99) outflowRows(DischargeStruct[kSurf], FlagSurfEdge, z);
    if (FlagSurfEdge >= 100) eastTransition(DischargeStruct[kSurf], FlagSurfEdge == 101, z);
  } else if (FlagSurfEdge == -1) {
    inflowMinimumDepth();
  }
}

void computeTailSurf() {
  if (FlagDSO1 > 0 && Bkooi) computeSurfDownstream();
  if (FlagSurfEdge != 0) surfaceEdge(GlobZRef);
  if (FlagNestTop == 3 || FlagNestTop == 5) interpolateSurfaceNested();
  if (FlagFlushWaterLevel == 1 && NoBlocks >= 1) flushLimits();
  if (FlagSmoothNewCorners > 0) smoothNewCorners();
  if (SurfSmoothFlag > 0) surface_smoother();
  if (FlagNoGridSplit > 0 && solverFroude != 2) NoGridSplitRise();
  if (FlagReducePonds == 1) reducePonds();
  if (!(FlagTSC != 0 && FlagSurfRegen != 1 && FlagMPI < 1)) regenerate();
  if (FlagTFS2 > 0 && Bdeltah) std::fill(Bdeltah + 1, Bdeltah + NoBCells + 1, 0.0);
  if (FlagGlobFlux > 0) SurfVolDefect -= computeVolRes();
  FlagGridChange = 1;
  if (FlagPresSetZero != 0) computeSetPresZero();
  if (PresRegres > 0) clearRegressionSums();
  if (debugging == 'C' || debugging == 'D' || debugging == 'E') {
    // The mean depth after the update ends the trace row the driver began.
    if (std::FILE *f = std::fopen("boogie-t", "a")) {
      std::fprintf(f, "%lf\n", computeAvDepth());
      std::fclose(f);
    }
  }
}
