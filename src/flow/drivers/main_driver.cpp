// The main pressure-correction driver: set-up, outer iterations (steady
// iterations or time steps) of inner SIMPLE iterations, periodic results,
// the free-surface calls, and the end of the driver.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flow/stages/debug_dumps.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/outer_steps/initial_pressure.h"
#include "flow/equation_terms/momentum_sources.h"
#include "flow/pressure_limits/partition_pressure.h"
#include "flow/stages/stage_steps.h"
#include "grid/bed_levels/grid_modification.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/multigrid.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "surface/surface_services.h"

namespace {

// Running sums over the outer iterations of all calls.
double AverageMaxResidual;
int AverageInnerIter;
int NoAverages;

// Start pressure: every cell 9810 times the depth of its centre below the top
// of its column.
void hydrostaticStart() {
  for (int top = 1; top <= NoCells; ++top) {
    if (Ccellt[top] != 0) continue;
    double depth = 0.0;
    for (int c = top; c >= 1; c = Ccellb[c]) {
      depth += Ckdist[c];
      Cpres[c] = 9810.0 * depth;
      depth += Ckdist[c];
    }
  }
}

// Before a surface update the pressure of block 1 is taken relative to the
// reference column (or to its last cell).
void shiftBlockPressure() {
  const int first = block[1].FirstCell, last = block[1].LastCell;
  double p0 = Cpres[last];
  if (iPres > 0 && jPres > 0 && iPres <= xnumber + 1 && jPres <= ynumber + 1) {
    const int c = static_cast<int>(zval[iPres][jPres][0]);
    if (c >= 1) p0 = Cpres[c];
  }
  for (int c = first; c <= last; ++c) Cpres[c] -= p0;
}

}  // namespace

void WaterSolve() {
  // Set-up.
  Glob_dmI = 0;
  GlobContinuity = 0.0;
  FlagFlushIter = 0;
  int innerCount = TransInnerIter;
  if (Iter == 1 && FirstIterNo > 0 && FlagThixoIsComputing == 0) innerCount = std::max(TransInnerIter, FirstIterNo);
  checkFlowDriverEntry();
  warnModularOnlyInputs();
  thermoclineWithoutTemperature();
  operations.metric();
  // The bed-cell index is needed by the wall laws and the bed results of
  // every run, so a grid without one gets it here.
  if (NoBCells == 0 && (FlagTSC == 0 || Iter == 0)) operations.BedMake();
  if (FlagRoughness == 1 && FlagReadBedrough == 0) operations.readBedrough();
  operations.startup();
  if (FlagTSC == 0 && MGSNo == 0) operations.computeWCStart();
  if (FlagInitialized == 0) {
    operations.waterflow(WFStart, WFEnd);
    AverageInnerIter = NoAverages = 0;
    AverageMaxResidual = 0.0;
  }
  FlagInitialized = 1;
  FlagFlowParamChange = 0;
  if (FlagTSC == 0 && FlagTFS >= 2 && FlagTFS <= 10 && NoBCells == 0) operations.BedMake();
  if (FlagTFS > 0 && jPres == 0 && kSurf > 0) SetiPresjPres();
  if (Cthixolev && Cthixorat && stimet < 1e-9) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      Cthixolev[c] = 0;
      Cthixorat[c] = 0.0;
    }
  }
  if (TurbDensFlag > 0) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      double total = 0.0;
      for (int s = 1; s <= lnumber; ++s) total += Cconc[s][c];
      Cconc[0][c] = total;
    }
  }
  if (TimePrintNo > 0 && FlagTSC == 0) emptyTimeSeriesOutput();
  if (FlagGravityInitialize == 1 && FlagGravity > 0 && NoCells > 0) hydrostaticStart();
  if (FlagInitiatePres > 1 || (FlagInitiatePres == 1 && Iter == 1)) initiatePressure();
  const int outerCount = MGSNo >= 1 ? 300 : FlagTSC >= 1 ? 1 : iterGlobalMax;
  if (FlagTSC == 0 && TimeStep > 1e-8) stimet = 0.0;
  if (Flag2DAccSolver > 0 && block[NoBlocks].BlockKind == 0) AlgMGMake();
  if (FlagTSC == 0) stageStamp(0);

  double *const entryCf = Cf;
  double *const entryCfOld = Cf_old;
  CfSaved = entryCf;  // the pressure-correction buffer of the stages
  CfOldSaved = entryCfOld;
  auto restoreCf = [&] {
    Cf = entryCf;
    Cf_old = entryCfOld;
  };
  double largest = 10000.0;  // largest residual of the last inner iteration of this call
  // The remedies of the divergence recovery last for one driver call: they
  // are undone on every way out of it.
  auto undoRemedies = [] {
    if (FlagMPI >= 1 && FlagTSC == 0) return;
    relaxPressure = relax[4];
    FlagRhieChow = OrigFlagRhieChow;
    relaxVelocity = relax[1];
    invRelaxVelocity = 1.0 / relax[1];
    relaxK = relax[5];
    relaxEpsilon = relax[6];
  };

  for (int outer = 1; outer <= outerCount; ++outer) {
    if (FlagTSC == 0 && MGSNo == 0) Iter = outer;
    relaxPressure = relax[4];
    relaxVelocity = relax[1];
    invRelaxVelocity = 1.0 / relax[1];
    relaxK = relax[5];
    relaxEpsilon = relax[6];
    if (NoProcessesSolver > 0) {
      deltac = (WCEnd - WCStart + 1) / NoProcessesSolver;
      deltaf = (WFEnd - WFStart + 1) / NoProcessesSolver;
    }
    if (FlagTSC == 0) FlagPrint = reportSwitch(true);
    if (TimeStep > 1e-8) shiftOldFields();
    if (TimePrintNo >= 1 && FlagTSC == 0 && stimet >= TimePrint[0].time &&
        (isMultiple(Iter, PrintIterTime) || Iter == 2)) {
      operations.TimePrintFunction();
    }
    if (FlagThixoDamp == 5 && FlagTSC == 0) {
      if (FlagGroundwater == 2) operations.groundwater();
      operations.computeSlideLocation();
      if (FlagThixoTimestep == 1) computeChangeTimestep();
    }

    int inner = 1;
    for (; inner <= innerCount; ++inner) {
      char program[kStatusTextLength];
      std::snprintf(program, sizeof program, " RA-Vavi %d %d           ", FlagThixoIsComputing, inner);
      setStatus(mc_program, program);
      StageInner = inner;
      stageStamp(1);
      applyGridAndParameterChanges();
      thixotropicDamping(inner, true);
      if (TurbDensFlag > 0) {
        TDalpha = TurbDensAlphaU;
        TDbeta = TurbDensBetaU;
      }
      if (FlagSIMPLE == 2 || FlagSIMPLE == 4 || FlagSIMPLE == 5) operations.pressureEquationVariant();
      if (debugging == 'A') gridTest();
      if (FlagSIMPLE != 5) {
        operations.momentumStage(inner);
        restoreCf();
        if (FlagSIMPLE != 4) {
          if (operations.pressureStage(inner) == 1) {
            // F 36 6: the surface update ends this call.
            restoreCf();
            undoRemedies();
            if (FlagTSC == 0 && FlagTFS == 6) {
              logText("Warning: F 36 6 ends a W run after one surface update; it is meant for the sediment loop (F 37)\n");
            }
            return;
          }
          stageStamp(17);
        }
      }
      if (!(TurbulenceModel >= 4 && TurbulenceModel <= 7) && FlagThixoIsComputing == 0) operations.turbulenceStage(inner);
      if (NoComponents > 0) operations.componentStage();

      largest = largestResidual();
      restoreCf();
      if (Ctrekant && inner == TransInnerIter && Glob_dmI >= 0 && Glob_dmI <= NoCells) {
        const int code = Ctrekant[Glob_dmI];
        if (code > 0 && code < 27) NoErrorsTrekant[code] += 1;
        if (FlagCorrTrekant > 0 && debugging == 'D' && MaxResidual[4] < 0.03 && code > 0 && Cpres_res &&
            std::fabs(Cpres_res[Glob_dmI]) > 0.003) {
          printDebugTrekant(Glob_dmI, inner);
        }
      }
      if (FlagModifyGrid > 0 && largest > MaxModifyGrid && inner > 10) ModifyGrid();
      if (operations.printEndWaterSolve(inner) == 1) {
        undoRemedies();
        return;
      }
      if (isMultiple(Iter, IterSurface) && iSurf > 0 && largest < ConvSurface && FlagTFS == 0 && FlagRoof == 1) {
        operations.surface();
      }
      // A time step ends as soon as its residual is small enough.
      if (!(TimeStep <= 1e-8 || largest >= TimeBreakLimit || FlagMPI != 0)) break;
    }

    if (FlagThixoIsComputing == 0) {
      if (PrintRes != 0 && isMultiple(Iter + 1, PrintRes)) {
        operations.sprintflow();
      } else if (PrintResAlways != 0 && Iter > PrintResAlways) {
        operations.sprintflow();
      }
      stageStamp(26);
    }
    AverageMaxResidual += largest;
    AverageInnerIter += inner;
    NoAverages += 1;
    GlobInnerIter = inner;
    if (FlagPrint == 0 && debugging == 'D') {
      logPrintf("Average max residual: %lf, Average number of inner iterations: %lf\n",
                AverageMaxResidual / (NoAverages + 1e-20), AverageInnerIter / (NoAverages + 1e-20));
    }
    if (PresRegres > 0) pressureRegression();
    stageStamp(27);
    if (FlagThixoIsComputing == 0) otime[28] = otime[29] = otime[30] = otime[27];

    const bool classicSurface = (FlagTFS >= 2 && FlagTFS <= 5) || (FlagTFS >= 7 && FlagTFS <= 10) || FlagTFS == 21 || FlagTFS == 30;
    if (FlagCallSurface == 0 && classicSurface && FlagRoof == 1 && Iter != 0 && FlagThixoIsComputing == 0 &&
        isMultiple(Iter, IterWaterUpdate)) {
      if (largest < SurfResCrit || (SurfResCrit < 0 && MaxResidual[4] < 0.001) || FlagMPI > 0 || FlagTFS == 3) {
        if (FlagScalePressure > 0) shiftBlockPressure();
        operations.surface();
      } else {
        ++NoNumNoSurfUpdate;
      }
    }
    if (((FlagTFS >= 11 && FlagTFS <= 19) || FlagTFS == 1) && FlagRoof == 1 && Iter != 0 && FlagThixo < 2) {
      operations.surface_tfs(0, 1);
    }
    if (FlagTFS == 50 && isMultiple(Iter, IterWaterUpdate)) operations.surface_LS_update();
    stageStamp(31);
    if (stimet > TimeEnd) break;
  }

  // End of the driver: undo the remedies of the divergence recovery.
  if (FlagMPI >= 1 && FlagPresMPIboundary == 8) limitPressureMPI();
  if (FlagMPI < 1 || FlagTSC != 0) {
    gFlagFlow = 0;
    undoRemedies();
    stageStamp(32);
  } else {
    operations.sprintflow();
  }
  // Running out of iterations writes no result: a result file would read as
  // a converged solution.
  if (FlagTSC == 0 && MGSNo == 0 && TimeStep <= 1e-8 && outerCount >= 1) {
    logPrintf("Warning: Solution not converged after %d outer iterations, max residual %8.2e\n", outerCount, largest);
  }
}
