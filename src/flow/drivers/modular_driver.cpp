// The modular pressure-correction driver (F 328 1): the outer and inner
// loops of the main driver, each SIMPLE stage a step of its own (velocities,
// pressure correction, k and epsilon), with the periodic results, the
// free-surface updates and the end of the driver. It solves no components.
#include "flow/drivers/modular_driver.h"

#include <cmath>
#include <cstdio>

#include "flow/stages/debug_dumps.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/drivers/modular_steps.h"
#include "flow/equation_terms/momentum_sources.h"
#include "flow/pressure_limits/partition_pressure.h"
#include "flow/stages/stage_steps.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/multigrid.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "turbulence/realizable_length_scale.h"

ModularSteps engineModularSteps() {
  return ModularSteps{.SimpleVelocities = SimpleVelocities,
                      .SimplePressure = SimplePressure,
                      .SimpleTurbulence = SimpleTurbulence,
                      .computeEpsilon = computeEpsilon};
}

ModularSteps modularSteps = engineModularSteps();

namespace {

// Running sums over the outer iterations of all calls, cleared when the flow
// is initialised.
double AverageMaxResidual;
int AverageInnerIter;
int NoAverages;

// The settings that the divergence remedies of the stop test change are
// taken back on every way out of the driver: a remedy lasts one call.
void restoreRemedies() {
  relaxPressure = relax[4];
  relaxVelocity = relax[1];
  invRelaxVelocity = 1.0 / relax[1];
  FlagRhieChow = OrigFlagRhieChow;
  if (FlagFlush > 0) {
    if (FlagGridStab2 != FlagGridStab2ori) {
      FlagGridStab2 = FlagGridStab2ori;
      FlagGridStab5 = FlagGridStab5ori;
    }
    Flag2DAccSolver = Flag2DAccSolverOri;
  }
}

// k and epsilon by the turbulence model: none with a constant eddy viscosity
// (4 to 7), k and epsilon from a length scale (18 to 20), else both
// equations.
void turbulenceSteps() {
  const int model = TurbulenceModel;
  if (model >= 4 && model <= 7) return;
  modularSteps.SimpleTurbulence(5);
  if (model >= 18 && model <= 20) modularSteps.computeEpsilon();
  else modularSteps.SimpleTurbulence(6);
}

// The free-surface update after the inner iterations, by F 36. The steady
// algorithms (F 36 3 among them) wait for the residual test.
void surfaceUpdate(double largest) {
  const int tfs = FlagTFS;
  const bool steady = (tfs >= 2 && tfs <= 5) || (tfs >= 7 && tfs <= 10) || tfs == 21 || tfs == 30;
  if (steady && FlagRoof == 1 && Iter != 0 && isMultiple(Iter, IterWaterUpdate)) {
    if (largest < SurfResCrit || (SurfResCrit < 0 && MaxResidual[4] < 0.001) || FlagMPI > 0) operations.surface();
    else ++NoNumNoSurfUpdate;
  }
  if ((tfs == 1 || (tfs >= 11 && tfs <= 19)) && FlagRoof == 1 && Iter != 0 && FlagThixo <= 1) {
    operations.surface_tfs(0, 1);
  }
  if (tfs == 50 && isMultiple(Iter, IterWaterUpdate)) operations.surface_LS_update();
}

// The triangular-cell statistics and trace of the last inner iteration.
void triangularCellChecks(int inner) {
  if (Ctrekant == nullptr || inner != TransInnerIter || Glob_dmI < 0 || Glob_dmI > NoCells) return;
  const int code = Ctrekant[Glob_dmI];
  if (code <= 0 || code >= 27) return;
  NoErrorsTrekant[code] += 1;
  if (FlagCorrTrekant > 0 && debugging == 'D' && MaxResidual[4] < 0.03 && Cpres_res != nullptr &&
      std::fabs(Cpres_res[Glob_dmI]) > 0.003) {
    printDebugTrekant(Glob_dmI, inner);
  }
}

}  // namespace

void WaterSolveNew() {
  // Set-up.
  checkFlowDriverEntry();
  thermoclineWithoutTemperature();
  Glob_dmI = 0;
  GlobContinuity = 0.0;
  FlagFlushIter = 0;
  operations.metric();
  operations.BedMake();
  operations.startup();
  if (FlagTSC == 0 && MGSNo == 0) operations.computeWCStart();
  if (FlagInitialized == 0) {
    operations.waterflow(WFStart, WFEnd);
    AverageInnerIter = NoAverages = 0;
    AverageMaxResidual = 0.0;
  }
  FlagInitialized = 1;
  FlagFlowParamChange = 0;
  if (Cthixolev && Cthixorat && stimet < 1e-8) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      Cthixolev[c] = 0;
      Cthixorat[c] = 0.0;
    }
  }
  if (TimePrintNo > 0 && FlagTSC == 0) emptyTimeSeriesOutput();
  const int outerCount = MGSNo > 0 ? 300 : (FlagTSC > 0 ? 1 : iterGlobalMax);
  if (FlagTSC == 0 && TimeStep > 1e-8) stimet = 0.0;
  if (Flag2DAccSolver > 0 && NoBlocks > 0 && block[NoBlocks].BlockKind == 0) AlgMGMake();
  if (FlagTSC == 0) stageStamp(0);

  double *const entryCf = Cf;
  double *const entryCfOld = Cf_old;
  auto restoreCf = [&] {
    Cf = entryCf;
    Cf_old = entryCfOld;
  };
  double largest = 10000.0;  // largest residual of the last inner iteration

  for (int outer = 1; outer <= outerCount; ++outer) {
    relaxVelocity = relax[1];
    relaxPressure = relax[4];
    invRelaxVelocity = 1.0 / relax[1];
    if (FlagTSC == 0) {
      if (MGSNo == 0) Iter = outer;
      FlagPrint = reportSwitch(false);
    }
    if (NoProcessesSolver > 0) {
      deltac = (WCEnd - WCStart + 1) / NoProcessesSolver;
      deltaf = (WFEnd - WFStart + 1) / NoProcessesSolver;
    }
    if (TimeStep > 1e-8) shiftOldFields();
    if (TimePrintNo > 0 && FlagTSC == 0 && stimet >= TimePrint[0].time &&
        (isMultiple(Iter, PrintIterTime) || Iter == 2)) {
      operations.TimePrintFunction();
    }

    int inner = 1;
    for (; inner <= TransInnerIter; ++inner) {
      char program[kStatusTextLength];
      std::snprintf(program, sizeof program, " RA-Vavi new %d     ", inner);
      setStatus(mc_program, program);
      stageStamp(1);
      applyGridAndParameterChanges();
      thixotropicDamping(inner, false);
      if (debugging == 'A') gridTest();
      stageStamp(2);
      modularSteps.SimpleVelocities(inner);
      otime[9] = wallClock();
      restoreCf();
      modularSteps.SimplePressure(inner);
      stageStamp(17);
      turbulenceSteps();
      stageStamp(25);
      largest = largestResidual();
      restoreCf();
      triangularCellChecks(inner);
      if (operations.printEndWaterSolve(inner) == 1) {
        restoreRemedies();
        return;
      }
      if (isMultiple(Iter, IterSurface) && iSurf > 0 && largest < ConvSurface && FlagTFS == 0 && FlagRoof == 1) {
        operations.surface();
      }
      // A time step ends as soon as its residual is small enough.
      if (TimeStep > 1e-8 && FlagMPI == 0 && largest < TimeBreakLimit) break;
    }

    if (PrintRes != 0 && isMultiple(Iter + 1, PrintRes)) operations.sprintflow();
    else if (PrintResAlways != 0 && Iter > PrintResAlways) operations.sprintflow();
    GlobInnerIter = inner;
    AverageInnerIter += inner;
    AverageMaxResidual += largest;
    NoAverages += 1;
    if (FlagPrint == 0 && debugging == 'D') {
      logPrintf("Average max residual: %lf, Average number of inner iterations: %lf\n",
                AverageMaxResidual / (NoAverages + 1e-20), AverageInnerIter / (NoAverages + 1e-20));
    }
    if (PresRegres > 0) pressureRegression();
    surfaceUpdate(largest);
  }

  // The outer iterations are used up.
  if (FlagMPI > 0) {
    if (FlagPresMPIboundary == 8) limitPressureMPI();
    restoreRemedies();
    if (FlagTSC == 0) operations.sprintflow();
    return;
  }
  gFlagFlow = 0;
  restoreRemedies();
  // Running out of iterations writes no result: a result file would read as
  // a converged solution.
  if (FlagTSC == 0 && MGSNo == 0 && TimeStep <= 1e-8 && outerCount >= 1) {
    logPrintf("Warning: Solution not converged after %d outer iterations, max residual %8.2e\n", outerCount, largest);
  }
}
