// The turbulence step of the modular driver: k (equation 5) or epsilon (6)
// assembled from the eddy viscosity, its sources, the wall laws and the
// boundary terms, relaxed by relax[e] (the wall values of epsilon too),
// solved, and k kept at least ArtMinKinen.
#include <algorithm>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/drivers/modular_steps.h"
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
#include "solvers/multigrid_accelerator.h"
#include "solvers/point_solver.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/k_epsilon_sources.h"
#include "turbulence/wall_laws.h"

namespace {

// Cleared coefficients, the sources and the wall terms of cells a..b. `turbulence` assigns Cap and Csource; models 2 and 3 have no
// sources, so Cap and Csource start from 0 for them (the wall laws of model
// 3 set every cell themselves).
void prepareTurbulenceCells(int a, int b, bool withSources, bool second) {
  clearNeighbourCoefficients(a, b, second);
  if (withSources) turbulence(a, b);
  else clearCentreAndSource(a, b);
  wall_laws(a, b);
}

}  // namespace

void SimpleTurbulence(int equation) {
  const int first = WCStart, last = WCEnd;
  const int b = equation == 5 ? 0 : 9;  // offset of the clock entries
  if (NoProcessesSolver > 0) {
    deltac = (last - first + 1) / NoProcessesSolver;
    deltaf = (WFEnd - WFStart + 1) / NoProcessesSolver;
  }
  if (TurbDensFlag > 0) {
    TDalpha = TurbDensAlphaT;
    TDbeta = TurbDensBetaT;
  }
  const double alpha = relax[equation];
  double *const field = equation == 5 ? Ckinen : Cepsilon;
  Cf_old = equation == 5 ? Ckinen_old : Cepsilon_old;
  if (FlagTimeOrder > 0) Cf_old2 = Cf_old;
  Equation = equation;
  stageStamp(18 + b);
  Cxvel[0] = Cyvel[0] = Czvel[0] = 0.0;

  const bool withSources = !(TurbulenceModel >= 2 && TurbulenceModel <= 7);
  const bool second = sou[equation] == 1;
  // The eddy viscosity on the chunks only where every step is the cell's
  // own: the column models and the mud steps write whole columns and blocks,
  // which a chunk border would split.
  if (NoProcessesSolver == 0 || FlagOpenMP[5] == 1) {
    GammaCalc(first, last);
    prepareTurbulenceCells(first, last, withSources, second);
    Cidist[0] = Cjdist[0] = Fflux[0] = 0.0;
    coeff_make(WFStart, WFEnd);
  } else {
    GammaCalcOnChunks(first, last);
    forEachChunk(first, last, [&](int a, int z) { prepareTurbulenceCells(a, z, withSources, second); });
    Cidist[0] = Cjdist[0] = Fflux[0] = 0.0;
    if (FlagOpenMP[0] == 0) coeff_make_chunked(WFStart, WFEnd);
    else coeff_make_pow(WFStart, WFEnd);
  }
  stageStamp(19 + b);
  boundary();
  stageStamp(20 + b);
  if (FlagDragDLL > 0) extra_source();
  if (NoNestflater > 0) nestsource();
  if (OneCellSource == 1) addDeadEndCells(first, last);
  if (Wind[0] > 1e-10) WindFunction(equation);
  stageStamp(21 + b);
  Cf = field;

  // Time term (always before the relaxation here), neighbour sum,
  // relaxation and residual.
  const bool transient = TimeStep > 1e-8;
  if (NoProcessesSolver > 0 && FlagOpenMP[9] == 0) {
    const bool sideDamping = transient && sideDampingApplies();
    if (sideDamping) {
      forEachChunk(first, last, [](int a, int z) { addTimestepCells(a, z); });
      addSideDamping();
    }
    const double total = sumOverChunks(first, last, [&](int a, int z) {
      if (transient && !sideDamping) addTimestepCells(a, z);
      addNeighbourSum(a, z, second);
      relaxEquation(a, z, alpha, 1.0 / alpha, field);
      return residualN(a, z);
    });
    endIfResidualNotSet();
    MaxResidual[equation] = total;
  } else {
    if (transient) addTimestep(first, last);
    addNeighbourSum(first, last, second);
    relaxEquation(first, last, alpha, 1.0 / alpha, field);
    MaxResidual[equation] = 0.0;
    residual(first, last);
  }

  // Only the multigrid accelerator acts on k and epsilon in this step.
  if (blockcorr[equation] == 10 && Flag2DAccSolver > 0) AlgMGSolve();
  stageStamp(22 + b);
  solver();
  stageStamp(23 + b);
  if (FlagCoupledNesting == 3) CoupledSolverNesting();
  if (equation == 5) keepAbove(Ckinen, ArtMinKinen);
  stageStamp(24 + b);
}
