// The velocity step of the modular driver: eddy viscosity and coefficients,
// then U, V and W each assembled (wall laws, pressure force, the sources of
// VelocitySources, time term, neighbour sum, under-relaxation), with 1/Ap of
// U kept in CinvAp, the residual in MaxResidual[1..3], and solved.
#include <atomic>

#include "flow/boundaries/face_fluxes.h"
#include "flow/drivers/modular_steps.h"
#include "flow/equation_terms/momentum_sources.h"
#include "flow/equation_terms/pressure_source.h"
#include "flow/stages/residuals.h"
#include "flow/stages/stage_dumps.h"
#include "flow/stages/stage_steps.h"
#include "flow/equation_terms/time_term.h"
#include "flow/corrections/triangle_flux_corrections.h"
#include "grid/blocks/nested_sources.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/point_solver.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/face_wall_laws.h"
#include "turbulence/wall_laws.h"

namespace {

// Eddy viscosity, cleared coefficients, the coefficient trap of F 223 and,
// once 1/Ap exists, fresh face fluxes; then the coefficients of U by its
// scheme (second-order upwind for sou 1). `chunked`: on the cell and face
// chunks of F 206.
void buildVelocityCoefficients(bool chunked) {
  const bool second = sou[1] == 1;
  // The eddy viscosity on the chunks only where every step is the cell's
  // own: the column models and the mud steps write whole columns and blocks,
  // which a chunk border would split.
  if (chunked) GammaCalcOnChunks(WCStart, WCEnd);
  else GammaCalc(WCStart, WCEnd);
  auto prepare = [second](int a, int b) {
    clearNeighbourCoefficients(a, b, second);
    if (ompbugtrap > 0) ompbugtrapFunction(a, b);
  };
  if (chunked) forEachChunk(WCStart, WCEnd, prepare);
  else prepare(WCStart, WCEnd);
  if (FlagInitializedInvAp == 1) {
    if (chunked) waterflowChunked(WFStart, WFEnd);
    else waterflow(WFStart, WFEnd);
  }
  if (FlagCorrTrekant >= 8 && FlagCorrTrekant <= 23) TrekantFluxCorr(WCStart, WCEnd);
  if (second) {
    if (chunked) coeff_make_sou2_chunked(WFStart, WFEnd);
    else coeff_make_sou2(WFStart, WFEnd);
  } else {
    if (chunked) coeff_make_chunked(WFStart, WFEnd);
    else coeff_make(WFStart, WFEnd);
  }
}

// The pressure force: over the work range, or with a mud or slide layer
// (F 280) per block, block 1 by the variant 5 and block 2 by 6.
void pressureForce() {
  if (FlagThixo == 0) {
    pressure_source(WCStart, WCEnd);
    return;
  }
  const int kept = FlagPresGrad;
  FlagPresGrad = 5;
  pressure_source(block[1].FirstCell, block[1].LastCell);
  if (NoBlocks >= 2) {
    FlagPresGrad = 6;
    pressure_source(block[2].FirstCell, block[2].LastCell);
  }
  FlagPresGrad = kept;
}

// Assembly of component e over the work range on one thread. The time term
// enters before the relaxation unless F 74 puts it after.
void assembleVelocitySerial(int e) {
  const int first = WCStart, last = WCEnd;
  const bool transient = TimeStep > 1e-8;
  clearCentreAndSource(first, last);
  wall_laws(first, last);
  pressureForce();
  VelocitySources();
  if (TimeRelaxFlag == 0 && transient) addTimestep(first, last);
  if (FlagSIMPLE == 1 && e == 1)
    for (int c = first; c <= last; ++c) CinvApP[c] = relaxVelocity / Cap[c];
  addNeighbourSum(first, last, sou[e] == 1);
  if (FlagAddApTrekant > 0) addAp(first, last);
  relaxEquation(first, last, relaxVelocity, invRelaxVelocity, Cf);
  if (TimeRelaxFlag != 0 && transient) addTimestep(first, last);
  if (e == 1) keepInverseDiagonal(first, last);
  MaxResidual[e] = 0.0;
  residual(first, last);
}

// Assembly of component e on the cell chunks of F 206. VelocitySources, the
// side damping of F 415, the lift of F 382 and the column smoothing of
// F 327, which reach cells of other chunks, run on this thread between the
// passes. The time term always enters before the relaxation here.
void assembleVelocityChunked(int e) {
  const int first = WCStart, last = WCEnd;
  const bool transient = TimeStep > 1e-8;
  const bool second = sou[e] == 1;
  const bool simplec = FlagSIMPLE == 1 && e == 1;
  const bool sideDamping = transient && sideDampingApplies();
  const bool lift = FlagAddApTrekant > 0;
  double *u = Cf;
  forEachChunk(first, last, [](int a, int b) {
    clearCentreAndSource(a, b);
    wall_laws(a, b);
    pressure_source(a, b);
  });
  // The river law's bed friction for cells of the next chunk.
  addDeferredBedFriction();
  VelocitySources();
  stageStamp(6);
  auto sumCentre = [&](int a, int b) {
    if (transient && !sideDamping) addTimestepCells(a, b);
    if (simplec)
      for (int c = a; c <= b; ++c) CinvApP[c] = relaxVelocity / Cap[c];
    addNeighbourSum(a, b, second);
  };
  if (sideDamping) {
    forEachChunk(first, last, [](int a, int b) { addTimestepCells(a, b); });
    addSideDamping();
  }
  std::atomic<int> unusable{0};
  auto relaxAndResidual = [&](int a, int b) {
    relaxEquation(a, b, relaxVelocity, invRelaxVelocity, u);
    if (e == 1) keepInverseDiagonalChunk(a, b, unusable);
    return residualN(a, b);
  };
  const double total = chunkedPasses(first, last, lift, sumCentre, [&] { addAp(first, last); }, relaxAndResidual);
  finishVelocityChunks(e, total, unusable.load());
}

}  // namespace

void SimpleVelocities(int inner) {
  if (NoProcessesSolver > 0) {
    deltac = (WCEnd - WCStart + 1) / NoProcessesSolver;
    deltaf = (WFEnd - WFStart + 1) / NoProcessesSolver;
  }
  if (TurbDensFlag > 0) {
    TDalpha = TurbDensAlphaU;
    TDbeta = TurbDensBetaU;
  }
  Equation = 1;
  const bool chunkedCoefficients = NoProcessesSolver != 0 && FlagOpenMP[1] != 1;
  const bool chunkedMatrix = NoProcessesSolver > 0 && FlagOpenMP[2] == 0;
  buildVelocityCoefficients(chunkedCoefficients);
  stageStamp(3);
  if (ompbugtrap == 1) computeOmpbugtrap();

  const int lastComponent = Seiche4 != 0 ? 2 : 3;
  for (int e = 1; e <= lastComponent; ++e) {
    Equation = e;
    pointVelocityFields(e);
    // V and W reuse the previous component's coefficients while the schemes
    // agree, and never build by the second-order builder.
    if (e > 1 && sou[e] != sou[e - 1]) {
      if (chunkedCoefficients && sou[e] != 1) coeff_make_chunked(WFStart, WFEnd);
      else coeff_make(WFStart, WFEnd);
    }
    stageStamp(4);
    if (chunkedMatrix) assembleVelocityChunked(e);
    else assembleVelocitySerial(e);
    if (FlagCoupledNesting >= 11 && FlagCoupledNesting <= 19) CoupledSolver2Nesting();
    stageStamp(7);
    FlagInitializedInvAp = 1;
    if (debugDumpDue(inner)) printDebug(inner);
    accelerateSolve(e, inner);
    stageStamp(8);
    solver();
    dampAfterSolve(WCStart, WCEnd);
    if (FlagCoupledNesting >= 1 && FlagCoupledNesting <= 9) CoupledSolverNesting();
  }
}
