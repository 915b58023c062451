// Steady algorithm dispatch: the level algorithm F 36 chooses (classic,
// fixed, five-point, continuity, algorithm 7, nine-point, Casulli,
// algorithm 10, backwater curve), then the tail that regenerates the grid,
// and the timing line of letter P.
#include "surface/steady/steady_dispatch.h"

#include "flow/boundaries/weirs.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "surface/backwater_curve.h"
#include "surface/level_algorithms/casulli_level.h"
#include "surface/level_algorithms/classic_pressure_level.h"
#include "surface/level_algorithms/continuity_level.h"
#include "surface/steady/grid_level_update.h"
#include "surface/level_equations/level_coefficients.h"
#include "surface/level_equations/level_solver.h"
#include "surface/level_equations/nine_point_coefficients.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"
#include "surface/steady/surface_tail.h"
#include "surface/level_algorithms/upwind_level.h"

namespace {

constexpr double kHeadPerPascal = 0.000101937;  // m of water per Pa

// F 36 3: the base blocks of the three-dimensional kind without a layer
// move by one amount (or, with slides, to GlobZRef).
void fixedLevel() {
  const double shift = GlobZRef - zval[iPres][jPres][znumber];
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || b.BlockKind != 0 || b.LayerMark != 0) continue;
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        zval[i][j][znumber] = FlagThixo == 0 ? zval[i][j][znumber] + shift : GlobZRef;
        zval[i][j][znumber + 1] = zval[i][j][znumber];
      }
    }
  }
}

// F 36 7: a nested cell's change is tied to that of its coarse cell.
void tieNestedCells() {
  if (NoNestflater <= 1 || FlagCoupledNesting != 4) return;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccoarsenest[c] > 0) {
      Cap[c] = 1e20;
      Csource[c] = 1e20 * Cf[Ccoarsenest[c]];
    }
  }
}

void algorithm7() {
  computeCoeffTFS7();
  setSurfaceBoundary();
  tieNestedCells();
  for (int c = WCStart; c <= WCEnd; ++c) Cf[c] = 0.0;
  surfaceSolver(solverFroude != 0 ? kSurfaceSolverNinePointFloor : kSurfaceSolverNinePoint);
  if (debugging == 'E') surfaceBugtrap(7);
  Cf[0] = 0.0;
  if (FlagUpdateDownwind != 0) {
    surfaceUpdateDownwind();
  } else {
    surfaceUpdate(ColumnValue::Change);
  }
  if (FlagPreventDiv != 0) surfacePreventDiv();
  if (FlagTFS2 == 3 || FlagTFS2 == 4) computeBDeltah();
}

void casulli() {
  computeCoeffCasulli();
  if (FlagMomentSurf == 1) computeSourceCasulli();
  setSurfaceBoundary();
  if (NoWeirs > 0) computeWeirs();
  setStatus(mc_program, "Surface block solver");
  otime[28] = wallClock();
  if (BlockCasulli == 1) computeBlockCasulliMG();
  if (BlockCasulli == 2) computeBlockCasulli();
  otime[29] = wallClock();
  setStatus(mc_program, "Surface solver");
  surfaceSolver(solverFroude != 0 ? kSurfaceSolverFivePointFloor : kSurfaceSolverFivePoint);
  otime[30] = wallClock();
  setStatus(mc_program, "End surface solver");
  if (debugging == 'D' || debugging == 'E') surfaceBugtrap(1);
  Cf[0] = 0.0;
  surfaceUpdate(ColumnValue::Level);
}

void endOfUpdate() {
  if (debugging == 'P') {
    const double t = wallClock();
    logPrintf("Surface genereation time: %lf seconds at %lf seconds\n", t - otime[72], t - otime[0]);
    otimeSurfsolve += t - otime[72];
  }
  setStatus(mc_program, "End Surface ");
}

}  // namespace

// The reference level is lowered by the pressure head of the reference
// column for this update and its tail only: nothing else would set it again
// before the next update, and it would sink each time.
void levelAlgorithm10() {
  const int c = static_cast<int>(zval[iPres][jPres][0]);
  const double kept = GlobZRef;
  GlobZRef -= kHeadPerPascal * Cpres[c];
  surfaceAlgo10(c, GlobZRef);
  computeTailSurf();
  GlobZRef = kept;
}

void surface2() {
  switch (FlagTFS) {
    case 0:
    case 2: computeSurfClassic(); break;
    case 3: fixedLevel(); break;
    case 4:
      computeCoeffTFS4();
      for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
      surfaceSolver(kSurfaceSolverFivePoint);
      if (debugging == 'D' || debugging == 'E') surfaceBugtrap(5);
      Cf[0] = 0.0;
      surfaceUpdate(ColumnValue::Change);
      break;
    case 5:
    case 6: surface_continuity(); break;
    case 7: algorithm7(); break;
    case 8:
      computeCoeffTFS8();
      for (int c = WCStart; c <= WCEnd; ++c) Cf[c] = 0.0;
      surfaceSolver(kSurfaceSolverNinePoint);
      if (debugging == 'E') surfaceBugtrap(6);
      Cf[0] = 0.0;
      surfaceUpdate(ColumnValue::Change);
      break;
    case 9: casulli(); break;
    case 10:
      levelAlgorithm10();
      endOfUpdate();
      return;
    case 30: backwater(); break;
    default: break;
  }
  computeTailSurf();
  endOfUpdate();
}

void surface3() {
  const GridBlock &blk = block[1];
  const int first = static_cast<int>(zval[iPres][jPres][0]);
  const int second = iPres2 > 0 ? static_cast<int>(zval[iPres2][jPres2][0]) : static_cast<int>(zval[blk.i1][blk.j2 / 2][0]);
  if (first == 0 || second == 0) fatalExit(kExitUnreadable, "Error, dry upstream/downstream surface3\n\n");
  for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
    for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
      const int k[4] = {static_cast<int>(zval[i][j][0]), static_cast<int>(zval[i + 1][j][0]),
                        static_cast<int>(zval[i][j + 1][0]), static_cast<int>(zval[i + 1][j + 1][0])};
      double p = 0.0;
      int n = 0;
      for (int c : k) {
        if (c <= 0) continue;
        p += Cpres[topOf(c)];
        ++n;
      }
      if (n > 0) zval[i][j][znumber] += 0.1 * (p / n) / 9810.0;
    }
  }
  computeTailSurf();
  endOfUpdate();
}
