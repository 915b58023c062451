// The fast flow driver (F 170): per inner iteration one eddy viscosity, one
// coefficient build and one solve serve U, V, W, k and epsilon as rows 0..4
// of Cff, CinvApf and Csourcem; then the usual pressure correction and the
// components, with the driver's own report and stop tests.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flow/boundaries/face_fluxes.h"
#include "flow/corrections/continuity_defect.h"
#include "flow/corrections/correction_limiters.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/drivers/fast_inflow.h"
#include "flow/drivers/fast_residuals.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/stages/flow_stages.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "flow/equation_terms/pressure_source.h"
#include "flow/stages/pressure_stage_steps.h"
#include "flow/stages/residuals.h"
#include "flow/corrections/simple_corrections.h"
#include "flow/equation_terms/stage_routines.h"
#include "flow/stages/stage_steps.h"
#include "flow/outer_steps/stop_test.h"
#include "grid/blocks/nested_sources.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/fast_solver.h"
#include "solvers/multigrid.h"
#include "solvers/point_solver.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/fast_k_epsilon_sources.h"
#include "turbulence/fast_wall_laws.h"

namespace {

constexpr int kRows = 5;

// What an inner iteration tells the outer loop.
enum class InnerEnd { Next, LeaveInnerLoop, EndDriver };

// The inner iterations work on the grid up to the last ordinary block that
// is not a first-level nest, when the grid has nested blocks.
void innerRanges() {
  WCStart = WFStart = 1;
  if (NoNestflater <= 0) {
    WCEnd = NoCells;
    WFEnd = NoSurfaces;
    return;
  }
  for (int b = NoBlocks; b >= 1; --b) {
    if (block[b].NestLevel != 1 && block[b].BlockKind == 0) {
      WCEnd = block[b].LastCell;
      WFEnd = block[b].LastFace;
      return;
    }
  }
}

// The fields of the five rows, their old-time values and relaxation factors.
struct Rows {
  double *field[kRows];
  double *old[kRows];
  double relax[kRows];
};

Rows currentRows() {
  return {{Cxvel, Cyvel, Czvel, Ckinen, Cepsilon},
          {Cxvel_old, Cyvel_old, Czvel_old, Ckinen_old, Cepsilon_old},
          {relaxVelocity, relaxVelocity, relaxVelocity, relaxK, relaxEpsilon}};
}

// The five-row system of the work range: sources, time term, the shared
// neighbour sum, under-relaxation, and the centre coefficients replaced by
// their reciprocals (CinvAp takes the U row for the pressure correction).
// Every step but the inflow conditions is the cell's own: the copies, the
// sources and the completion run on the cell chunks of F 206.
void assembleRows(const Rows &rows) {
  const int first = WCStart, last = WCEnd;
  forEachChunk(1, NoCells, [&rows, first, last](int a, int b) {
    for (int l = 0; l < kRows; ++l) {
      std::copy(rows.field[l] + a, rows.field[l] + b + 1, Cff[l] + a);
      const int from = std::max(a, first), to = std::min(b, last);
      if (from > to) continue;
      std::fill(CinvApf[l] + from, CinvApf[l] + to + 1, 0.0);
      std::fill(Csourcem[l] + from, Csourcem[l] + to + 1, 0.0);
    }
  });
  turbulenceFast();
  if (TurbulenceModel < 4 || TurbulenceModel > 7) wallFast();
  presSourceFast();
  boundaryFast();
  const bool timeTerm = TimeStep > 1e-8 && rows.old[0];
  const bool second = sou[Equation] == 1;
  forEachChunk(first, last, [&rows, timeTerm, second](int a, int b) {
    if (timeTerm) {
      for (int c = a; c <= b; ++c) {
        const double t = 1000.0 * Cvol[c] / TimeStep;
        for (int l = 0; l < kRows; ++l) {
          CinvApf[l][c] += t;
          Csourcem[l][c] += t * rows.old[l][c];
        }
      }
    }
    for (int c = a; c <= b; ++c) {
      double sum = Can[c] + Cas[c] + Cae[c] + Caw[c] + Cat[c] + Cab[c];
      if (second) sum += Cann[c] + Cass[c] + Caee[c] + Caww[c] + Catt[c] + Cabb[c];
      for (int l = 0; l < kRows; ++l) {
        const double r = rows.relax[l];
        const double ap = (CinvApf[l][c] + sum) / r;
        Csourcem[l][c] += (1.0 - r) * rows.field[l][c] * ap;
        CinvApf[l][c] = 1.0 / ap;
      }
      CinvAp[c] = CinvApf[0][c];
    }
  });
}

// The solved rows back into the fields, k and epsilon kept positive.
void takeSolvedRows(const Rows &rows) {
  forEachChunk(1, NoCells, [&rows](int a, int b) {
    for (int l = 0; l < kRows; ++l) std::copy(Cff[l] + a, Cff[l] + b + 1, rows.field[l] + a);
  });
  keepAbove(Ckinen, ArtMinKinen);
  keepAbove(Cepsilon, 1e-16);
}

// The F 36 6 surface update ends the call after the face fluxes of the last
// inner iteration, once the residuals have not run away.
bool surfaceEndDue(int inner, double lastLargest) {
  return FlagTFS == 6 && lastLargest < 1e6 && FlagRoof == 1 && inner == TransInnerIter &&
         (FlagTSC == 0 || (isMultiple(Iter, IterWaterUpdate) && Iter != 0));
}

// Pressure correction after the face fluxes: coefficients, mass defect,
// diagonal, residual, the solve with its accelerators, and the corrections
// of fluxes, velocities and pressure.
void correctPressure(int inner) {
  const int first = WCStart, last = WCEnd;
  pressure_coeff();
  pressure_fluxes();
  if (NoNestflater > 0) nestsource();
  forEachChunk(first, last, [](int a, int b) {
    for (int c = a; c <= b; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
  });
  if (FlagEndCorrect != 0) addEndCorrection(first, last);
  MaxResidual[Equation] = 0.0;
  residual(first, last);
  forEachChunk(first, last, [](int a, int b) {
    std::fill(Cf + a, Cf + b + 1, 0.0);
    std::fill(Cfn + a, Cfn + b + 1, 0.0);
  });
  accelerateSolve(4, inner);
  solver();
  if (FlagFroudeHystat == 1) FroudeHystatFunction();
  if (NoProcessesSolver == 0 || FlagOpenMP[4] == 1) SimpleCorrections(WFStart, WFEnd, WCStart, WCEnd);
  else SimpleCorrectionsRegion(WFStart, WFEnd, WCStart, WCEnd);
  CorrSimpleCorrections(inner);
  if (Seiche4 > 0) SeicheFunctions();
  if (NoNestflater > 0 && NestInterpolRelax > 1e-8) relaxNestedVelocities();
  continuityStatistics(first, last);
}

// The largest of the six residuals and its equation (0 when all are 0);
// entries below 1e-90 become 0, one that is not a number is left out and
// reported in `notANumber`.
double largestResidual(int &equation, bool &notANumber) {
  double largest = 0.0;
  equation = 0;
  notANumber = false;
  for (int e = 1; e <= 6; ++e) {
    if (MaxResidual[e] < 1e-90) MaxResidual[e] = 0.0;
    if (std::isnan(MaxResidual[e])) {
      notANumber = true;
    } else if (MaxResidual[e] > largest) {
      largest = MaxResidual[e];
      equation = e;
    }
  }
  return largest;
}

void reportLines() {
  logPrintf("Iter: %d, Resid: %8.2e %8.2e %8.2e %8.2e %8.2e %8.2e\n", Iter, MaxResidual[1], MaxResidual[2],
            MaxResidual[3], MaxResidual[4], MaxResidual[5], MaxResidual[6]);
  const int c = Glob_dmI;
  logPrintf("Cont: %8.2e, DefMax: %8.2e, U,V,W(%d): %8.2e %8.2e %8.2e\n", GlobContinuity, GlobDefMax, c, Cxvel[c],
            Cyvel[c], Czvel[c]);
  specialReportLine(4);
}

// The report and the three end tests of every inner iteration; true when
// the driver ends. A residual or defect that is not a number counts as
// divergence.
bool reportAndEndTests(int inner, double &largest) {
  logText("");  // a log that cannot be opened ends the run here
  int equation;
  bool notANumber;
  largest = largestResidual(equation, notANumber);
  if (inner == TransInnerIter && FlagPrint == 0) reportLines();
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "%d ResMax: %8.2e for eq: %d", Iter, largest, equation);
  setStatus(mc_message, message);
  const bool diverged = notANumber || std::isnan(GlobContinuity) || largest > MaxCrashDef;
  if (!diverged && largest < 0.001 && TimeStep < 1e-8) {
    logText("Solution converged\n");
    setStatus(mc_message, "Solution converged  ");
    gFlagFlow = 0;
    operations.sprintflow();
    return true;
  }
  if (diverged) {
    logText("Solution diverged\n");
    setStatus(mc_message, "Solution diverged  ");
    FlagErrorBreak = 1;
    gFlagFlow = 0;
    return true;
  }
  if (std::fabs(GlobContinuity) / NormResidual[4] > 1e-6 && FlagTFS == 0 && ContinuityFlag == 0) {
    logText("Error in continuity\n");
    setStatus(mc_message, "Error in continuity  ");
    gFlagFlow = 0;
    FlagErrorBreak = 1;
    return true;
  }
  return false;
}

// The free-surface update after the inner iterations, for the classic
// steady algorithms of F 36.
void outerSurfaceUpdate(double lastLargest) {
  const bool classic = FlagTFS > 1 && FlagTFS != 6 && (FlagTFS <= 10 || FlagTFS == 21 || FlagTFS == 30);
  if (!classic || !(lastLargest < 1e6) || FlagRoof != 1) return;
  if (FlagTSC == 0 || (isMultiple(Iter, IterWaterUpdate) && Iter != 0)) operations.surface();
}

class FastDriver {
 public:
  FastDriver() : entryCf_(Cf), entryCfOld_(Cf_old) {}

  void run();

 private:
  void restoreCf() {
    Cf = entryCf_;
    Cf_old = entryCfOld_;
  }
  InnerEnd innerIteration(int inner);

  double *const entryCf_;
  double *const entryCfOld_;
  double lastLargest_ = 10000.0;  // largest residual of the last report
};

InnerEnd FastDriver::innerIteration(int inner) {
  char program[kStatusTextLength];
  std::snprintf(program, sizeof program, " RA-Vavi fast %d          ", inner);
  setStatus(mc_program, program);
  StageInner = inner;
  if (MGSNo == 0) innerRanges();
  applyGridAndParameterChanges();

  // U, V, W, k and epsilon on the coefficients of U.
  Equation = 1;
  if (NoProcessesSolver != 0 && FlagOpenMP[1] != 1) {
    GammaCalcOnChunks(WCStart, WCEnd);
    coeff_make_chunked(WFStart, WFEnd);
  } else {
    GammaCalc(WCStart, WCEnd);
    coeff_make(WFStart, WFEnd);
  }
  const Rows rows = currentRows();
  assembleRows(rows);
  residualFast();
  GaussFast(WCStart, WCEnd, sweeps[1]);
  takeSolvedRows(rows);

  Equation = 4;
  restoreCf();
  if (NoProcessesSolver == 0 || FlagOpenMP[3] == 1) operations.waterflow(WFStart, WFEnd);
  else waterflowChunked(WFStart, WFEnd);
  if (surfaceEndDue(inner, lastLargest_)) {
    operations.surface();
    if (FlagTSC == 0) {
      logText("Warning: F 36 6 ends a W run after one surface update; it is meant for the sediment loop (F 37)\n");
    }
    return InnerEnd::EndDriver;
  }
  correctPressure(inner);
  if (NoComponents > 0) componentStage();
  if (inner == TransInnerIter &&
      ((PrintRes != 0 && isMultiple(Iter + 1, PrintRes)) || (PrintResAlways != 0 && Iter > PrintResAlways))) {
    setStatus(mc_v1, "Written from watersolve_fast");
    operations.sprintflow();
  }

  restoreCf();
  double largest;
  const bool ends = reportAndEndTests(inner, largest);
  lastLargest_ = largest;
  if (ends) return InnerEnd::EndDriver;
  if (isMultiple(Iter, IterSurface) && iSurf > 0 && ConvSurface > largest && FlagTFS == 0 && FlagRoof == 1) {
    operations.surface();
  }
  if (TimeStep > 1e-8 && TimeBreakLimit > largest) return InnerEnd::LeaveInnerLoop;
  return InnerEnd::Next;
}

void FastDriver::run() {
  warnModularOnlyInputs();
  operations.metric();
  // The bed-cell index serves the wall law's roughness and the bed results.
  if (NoBCells == 0) operations.BedMake();
  operations.startup();
  if (FlagInitialized == 0) operations.waterflow(WFStart, WFEnd);
  FlagInitialized = 1;
  FlagFlowParamChange = 0;
  if (FlagTSC == 0 && TimePrintNo > 0) emptyTimeSeriesOutput();
  const int outerCount = MGSNo > 0 ? 300 : FlagTSC > 0 ? 1 : iterGlobalMax;
  if (FlagTSC == 0 && TimeStep > 1e-8) stimet = 0.0;
  if (Flag2DAccSolver > 0 && block[NoBlocks].BlockKind == 0) AlgMGMake();

  const OrdinarySolves ordinary;
  for (int outer = 1; outer <= outerCount; ++outer) {
    if (FlagTSC == 0) {
      if (MGSNo == 0) {
        Iter = outer;
        setWholeGridRange(NoCells, NoSurfaces);
      }
      FlagPrint = reportSwitch(false);
    } else if (MGSNo == 0) {
      setWholeGridRange(NoCells, NoSurfaces);
    }
    if (TimeStep > 1e-8) shiftOldFields();
    if (TimePrintNo > 0 && FlagTSC == 0 && stimet >= TimePrint[0].time &&
        (isMultiple(Iter, PrintIterTime) || Iter == 2)) {
      operations.TimePrintFunction();
    }
    for (int inner = 1; inner <= TransInnerIter; ++inner) {
      const InnerEnd end = innerIteration(inner);
      if (end == InnerEnd::EndDriver) {
        restoreCf();
        return;
      }
      if (end == InnerEnd::LeaveInnerLoop) break;
    }
    if (PresRegres > 0) pressureRegression();
    outerSurfaceUpdate(lastLargest_);
  }
  restoreCf();
  gFlagFlow = 0;
  // Running out of iterations writes no result: a result file would read as
  // a converged solution.
  if (FlagTSC == 0 && MGSNo == 0 && TimeStep <= 1e-8 && outerCount >= 1) {
    logPrintf("Warning: Solution not converged after %d outer iterations, max residual %8.2e\n", outerCount,
              lastLargest_);
  }
}

}  // namespace

void WaterSolveFast() {
  FastDriver driver;
  driver.run();
}
