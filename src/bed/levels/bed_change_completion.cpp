// Finishes a bed change after the bed points moved: the routines that act on
// the moved points, the grid regeneration in the steps F 99 selects, and the
// tally SuspVolChangeDef of the suspended mass the regeneration moves.
#include "bed/levels/bed_change_completion.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "bed/levels/bed_smoothing.h"
#include "bed/levels/open_boundary_levels.h"
#include "bed/slides/bed_slopes/limit_equilibrium.h"
#include "grid/generation/cell_numbering.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/coarse_grid_levels.h"
#include "startup/operations.h"
#include "surface/surface_services.h"

namespace {

// Grid points of the ordinary and first-level nested blocks take the bed
// level and movement of the coarser point they coincide with.
void copyNestedPoints() {
  if (pointnest == nullptr || NoNestflater <= 1 || NoBlocks < 1) return;
  for (int n = NoBlocks; n >= 1; --n) {
    const GridBlock &g = block[n];
    if (g.NestLevel != 0 && g.NestLevel != 1) continue;
    for (int i = g.i1 - 1; i <= g.i2; ++i) {
      for (int j = g.j1 - 1; j <= g.j2; ++j) {
        const int li = pointnest[i][j][0], lj = pointnest[i][j][1];
        if (li <= 0) continue;
        zval[i][j][1] = zval[li][lj][1];
        Surfaces[1][i][j] = Surfaces[1][li][lj];
      }
    }
  }
}

// The nested columns give their corner 1 point's level, and with
// countMovement its movement, to the coinciding point of the coarse column.
void copyNestedColumns(bool countMovement) {
  if (Bnestcoarse == nullptr || NoNestflater < 2 || NoBCells <= 0) return;
  for (int b = 1; b <= NoBCells; ++b) {
    const int n = Bnestcoarse[b];
    if (n <= 0) continue;
    const int ci = Bkooi[n], cj = Bkooj[n], fi = Bkooi[b], fj = Bkooj[b];
    zval[ci][cj][1] = zval[fi][fj][1];
    if (countMovement) Surfaces[1][ci][cj] = Surfaces[1][fi][fj];
  }
}

// The free surface before the regeneration (F 432 1), when an update is due.
void updateSurfaceIfDue() {
  const bool tfsUpdates = FlagTFS != 6 && FlagTFS >= 2 && (FlagTFS <= 10 || FlagTFS == 30);
  const bool due = tfsUpdates && FlagRoof == 1 && Iter != 0 && FlagThixoIsComputing == 0 &&
                   std::fabs(std::fmod(static_cast<double>(Iter), static_cast<double>(IterWaterUpdate))) < 0.001;
  if (!due) return;
  double maxres = 0.0;
  for (int e = 1; e <= 6; ++e) maxres = std::max(maxres, MaxResidual[e]);
  if (maxres < SurfResCrit || (SurfResCrit < 0.0 && MaxResidual[4] < 0.001) || FlagMPI > 0 || FlagTFS == 3) {
    operations.surface();
  } else {
    ++NoNumNoSurfUpdate;
  }
}

// The minimum water levels of F 371 follow the bed before the grid splits.
void splitGrid() {
  if (FlagNoGridSplit <= 0 || FlagGridsplitBedmove <= 0) return;
  if (FlagGridsplitBedmove == 2) {
    const GridBlock &g = block[1];
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int b = pointbed[i][j];
        if (b > 0 && Bminwaterlevel[b] > -10.0) Bminwaterlevel[b] += Bedmove[b];
      }
    }
  }
  if (FlagExtraDebug == 1) logText("Before NoGridSplit\n");
  NoGridSplit();
  if (FlagExtraDebug == 1) logText("After NoGridSplit\n");
  NoGridSplitRise();
}

void regenerateGrid(BedLevelRoutine routine) {
  const bool columns = routine == BedLevelRoutine::Columns;
  const bool stamps = routine != BedLevelRoutine::PointMeans;
  if (columns) {
    if (FlagCallSurface == 1) updateSurfaceIfDue();
    splitGrid();
  }
  if (stamps) otime[41] = wallClock();
  rememberCellNumbering();
  const int result = operations.Unstructure();
  if (result < 0) endOnGridFailure(result);
  if (stamps) otime[42] = wallClock();
  if (MGSNo > 0) MGSCoarserGridMake2D();
  if (stamps) otime[43] = wallClock();
  operations.metric();
  if (stamps) otime[48] = wallClock();
  if (columns && Iter == 1 && UMethod2 == 0) CheckFparam();
  operations.BedMake();
  if (stamps) otime[51] = wallClock();
  clearPressureWeightsIfRenumbered();
  operations.waterflow(WFStart, WFEnd);
}

}  // namespace

double suspendedVolume() {
  double sum = 0.0;
  for (int s = 1; s <= lnumber; ++s) {
    for (int c = WCStart; c <= WCEnd; ++c) sum += Cvol[c] * Cconc[s][c];
  }
  return sum;
}

void sandSlideIfDue() {
  if (IterAvalanche < 1 ? FlagSlideDLL > 0 : IterAvalanche != 205 && IterAvalanche != 206) {
    operations.computeSandSlide();
  }
}

void slideAfterBedChange() {
  sandSlideIfDue();
  if (FlagBedSmooth4 > 0) bedSmooth4();
}

void completeBedChange() { completeBedChange(BedLevelRoutine::Columns); }

void completeBedChange(BedLevelRoutine routine, bool countMovement) {
  const bool columns = routine == BedLevelRoutine::Columns;
  if (columns && debugging == 'P') otime[38] = wallClock();
  const bool smooths = routine == BedLevelRoutine::PointMeans
                           ? FlagBedSmooth == 1 || FlagBedSmooth == 3
                           : FlagBedSmooth == 1 || FlagBedSmooth == 3 || FlagBedSmooth == 6 || FlagBedSmooth > 8;
  // Method 5 smoothed the column changes before the points moved.
  if (smooths) bedsmooth();
  if (columns) {
    if (FlagGLEA > 0) computeGLEA();
    copyNestedPoints();
  } else {
    copyNestedColumns(countMovement);
  }
  if (FlagBedDownstream != 0) computeBedBoundary();
  if (routine == BedLevelRoutine::LayerLines) {
    slideAfterBedChange();
  } else if (routine != BedLevelRoutine::Layers) {
    sandSlideIfDue();
  }
  const double before = suspendedVolume();
  if (routine != BedLevelRoutine::PointMeans) otime[39] = otime[40] = wallClock();
  if (std::fabs(std::fmod(static_cast<double>(Iter - 1), static_cast<double>(BedRecIter))) < 0.001) {
    regenerateGrid(routine);
  }
  SuspVolChangeDef += density * (before - suspendedVolume()) * 1000.0;
}
