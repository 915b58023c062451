// The turbulence stage of an inner iteration: k and then epsilon (omega in
// the k-omega models) assembled from the eddy viscosity, their sources, the
// wall laws and the boundary terms, relaxed, solved and kept above their
// lower limits.
#include <algorithm>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/stages/stage_dumps.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/stages/flow_stages.h"
#include "flow/stages/residuals.h"
#include "flow/stages/stage_steps.h"
#include "flow/equation_terms/time_term.h"
#include "grid/blocks/nested_sources.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "solvers/coefficients.h"
#include "solvers/line_solver.h"
#include "solvers/multigrid_accelerator.h"
#include "solvers/point_solver.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/k_epsilon_sources.h"
#include "turbulence/wall_laws.h"

namespace {

// Eddy viscosity, sources, wall terms and convection-diffusion coefficients
// of the current Equation (5 or 6). The sources of models 0, 1 and 8..20 are
// assigned by `turbulence`; models 2 and 3 carry none, so Cap and Csource
// start from 0 for every model. With the threaded completion the terms are
// formed on the cell chunks of F 206: each step writes only the cell's own
// entries.
void buildTurbulenceCoefficients(bool withSources) {
  const bool second = sou[Equation] == 1;
  auto cellTerms = [withSources, second](int a, int b) {
    clearNeighbourCoefficients(a, b, second);
    clearCentreAndSource(a, b);
    if (withSources) turbulence(a, b);
    wall_laws(a, b);
  };
  if (NoProcessesSolver > 0 && FlagOpenMP[9] == 0) {
    GammaCalcOnChunks(WCStart, WCEnd);
    forEachChunk(WCStart, WCEnd, cellTerms);
  } else {
    GammaCalc(WCStart, WCEnd);
    cellTerms(WCStart, WCEnd);
  }
}

// Boundary terms and the other sources of k (equation 5) or epsilon (6).
void addTurbulenceSources(int equation) {
  boundary();
  if (equation == 5) stageStamp(20);
  if (FlagDragDLL > 0) extra_source();
  if (NoNestflater > 0) nestsource();
  if (OneCellSource == 1) addDeadEndCells(WCStart, WCEnd);
  if (Wind[0] > 1e-10) WindFunction(equation);
}

// The completion of k or epsilon on the cell chunks of F 206: time term,
// Ap sum, relaxation and residual per chunk; the side damping of k and the
// nesting coupler, which reach other chunks, run between the passes.
void completeTurbulenceChunked(double relaxation, const double *f, double fixedFrom) {
  const int first = WCStart, last = WCEnd;
  const bool transient = TimeStep > 1e-8;
  const bool second = sou[Equation] == 1;
  const double inverse = 1.0 / relaxation;
  auto timeAndSum = [&](int a, int b) {
    if (transient) addTimestepCells(a, b);
    addNeighbourSum(a, b, second);
  };
  auto relaxAndResidual = [&](int a, int b) {
    relaxEquation(a, b, relaxation, inverse, f, fixedFrom);
    return residualN(a, b);
  };
  double total;
  if ((transient && sideDampingApplies()) || FlagCoupledNesting == 13) {
    if (transient && sideDampingApplies()) {
      forEachChunk(first, last, [](int a, int b) { addTimestepCells(a, b); });
      addSideDamping();
      forEachChunk(first, last, [&](int a, int b) { addNeighbourSum(a, b, second); });
    } else {
      forEachChunk(first, last, timeAndSum);
    }
    if (FlagCoupledNesting == 13) {
      forEachChunk(first, last, [&](int a, int b) { relaxEquation(a, b, relaxation, inverse, f, fixedFrom); });
      CoupledSolver2Nesting();
      total = sumOverChunks(first, last, [](int a, int b) { return residualN(a, b); });
    } else {
      total = sumOverChunks(first, last, relaxAndResidual);
    }
  } else {
    total = sumOverChunks(first, last, [&](int a, int b) {
      timeAndSum(a, b);
      return relaxAndResidual(a, b);
    });
  }
  endIfResidualNotSet();
  MaxResidual[Equation] = total;
}

// Time term, neighbour sum, under-relaxation and residual of the current
// Equation; cells whose Cap is `fixedFrom` or more keep their diagonal.
void completeTurbulenceEquation(double relaxation, const double *f, double fixedFrom) {
  if (NoProcessesSolver > 0 && FlagOpenMP[9] == 0) {
    completeTurbulenceChunked(relaxation, f, fixedFrom);
    return;
  }
  if (TimeStep > 1e-8) addTimestep(WCStart, WCEnd);
  addNeighbourSum(WCStart, WCEnd, sou[Equation] == 1);
  relaxEquation(WCStart, WCEnd, relaxation, 1.0 / relaxation, f, fixedFrom);
  if (FlagCoupledNesting == 13) CoupledSolver2Nesting();
  MaxResidual[Equation] = 0.0;
  residual(WCStart, WCEnd);
}

// The accelerator of a k or epsilon solve: the multigrid accelerator for
// K 5 = 10 with F 168, else the block correction by its rule.
void accelerateTurbulence(int inner) {
  if (blockcorr[Equation] == 10 && Flag2DAccSolver > 0) AlgMGSolve();
  else blockCorrectionByRule(Equation, inner);
}

// The old time level of k or epsilon; the second old level is the same.
void pointOldLevels(double *old) {
  Cf_old = old;
  if (FlagTimeOrder > 0) Cf_old2 = old;
}

}  // namespace

void turbulenceStage(int inner) {
  StageInner = inner;
  if ((TurbulenceModel >= 4 && TurbulenceModel <= 7) || FlagThixoIsComputing != 0) {
    stageStamp(25);
    return;
  }
  const bool withSources = TurbulenceModel < 2 || TurbulenceModel > 7;

  // k, which keeps one old time level.
  Equation = 5;
  pointOldLevels(Ckinen_old);
  if (TurbDensFlag > 0) {
    TDalpha = TurbDensAlphaT;
    TDbeta = TurbDensBetaT;
  }
  stageStamp(18);
  Cxvel[0] = Cyvel[0] = Czvel[0] = 0.0;
  // The k solve leaves the velocities alone: epsilon takes k's strain rates.
  keepRatesForEpsilon(true);
  buildTurbulenceCoefficients(withSources);
  Cidist[0] = Cjdist[0] = 0.0;
  Fflux[0] = 0.0;
  // The threaded k stage builds by the plain power law, on face chunks
  // unless G 50 entry 0 keeps that build on one thread.
  if (NoProcessesSolver == 0 || FlagOpenMP[5] == 1) coeff_make(WFStart, WFEnd);
  else if (FlagOpenMP[0] == 0) coeff_make_pow_chunked(WFStart, WFEnd);
  else coeff_make_pow(WFStart, WFEnd);
  stageStamp(19);
  addTurbulenceSources(5);
  stageStamp(21);
  Cf = Ckinen;
  completeTurbulenceEquation(relaxK, Ckinen, 1e300);
  accelerateTurbulence(inner);
  stageStamp(22);
  solver();
  stageStamp(23);
  if (FlagCoupledNesting == 3) CoupledSolverNesting();
  if (debugDumpDue(inner)) printDebug(inner);
  keepAbove(Ckinen, ArtMinKinen);
  stageStamp(24);

  // Epsilon; diagonals of 1e20 and more, fixed by the wall laws, are not
  // relaxed.
  Equation = 6;
  Cf = Cepsilon;
  pointOldLevels(Cepsilon_old);
  buildTurbulenceCoefficients(withSources);
  keepRatesForEpsilon(false);
  if (NoProcessesSolver == 0 || FlagOpenMP[6] == 1) coeff_make(WFStart, WFEnd);
  else coeff_make_chunked(WFStart, WFEnd);
  addTurbulenceSources(6);
  completeTurbulenceEquation(relaxEpsilon, Cepsilon, 1e20);
  accelerateTurbulence(inner);
  if (FlagTDMA == 1) solverTDMA();
  else solver();
  keepAbove(Cepsilon, 1e-16);
  if (debugDumpDue(inner)) printDebug(inner);
  stageStamp(25);
}
