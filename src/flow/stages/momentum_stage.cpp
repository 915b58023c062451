// The momentum stage of an inner iteration: U, V and W assembled (wall laws,
// pressure force, boundary terms, sources, time term, under-relaxation),
// 1/Ap of U kept in CinvAp, solved and damped; and the pressure-equation
// variant of F 171 2, 4, 5 that runs before it.
#include <algorithm>
#include <atomic>
#include <cmath>

#include "flow/corrections/continuity_corrections.h"
#include "flow/corrections/continuity_defect.h"
#include "flow/stages/stage_dumps.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/stages/flow_stages.h"
#include "flow/boundaries/boundary_conditions.h"
#include "flow/equation_terms/momentum_sources.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "flow/equation_terms/pressure_source.h"
#include "flow/stages/residuals.h"
#include "flow/equation_terms/stage_routines.h"
#include "flow/stages/stage_steps.h"
#include "flow/equation_terms/time_term.h"
#include "flow/corrections/triangle_flux_corrections.h"
#include "grid/blocks/nested_sources.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "solvers/coefficients.h"
#include "solvers/point_solver.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/mud_friction.h"
#include "turbulence/face_wall_laws.h"
#include "turbulence/wall_laws.h"

namespace {

// The momentum completion runs on the cell chunks of F 206 unless G 50
// entry 2 keeps it serial; the mud layer is always completed serially.
bool momentumRegionRuns() { return NoProcessesSolver > 0 && FlagOpenMP[2] == 0 && FlagThixoIsComputing == 0; }

// The completion of velocity equation e on the cell chunks: the time term
// first, then the Ap sum, the lift of F 382, the relaxation with the extra
// damping of triangular and sloping cells, 1/Ap of U and the residual. Steps
// that reach cells of other chunks (side damping, the F 382 lift, the
// neighbour damping of F 291 3, the nesting coupler, the F 327 columns) run
// once on this thread between the passes, in the order of the serial form.
void completeMomentumChunked(int e, double *u) {
  const int first = WCStart, last = WCEnd;
  const bool transient = TimeStep > 1e-8;
  const bool second = sou[e] == 1;
  const bool damping = transient && sideDampingApplies();
  const bool simplec = FlagSIMPLE == 1 && e == 1;
  const bool deadEnds = OneCellSource == 1;
  const double r = relaxVelocity, inverse = invRelaxVelocity;
  const bool trekant = FlagCorrTrekant == 11;
  const int slopeMode = FlagDamp2;
  const bool localSlopes = slopeMode == 1 || slopeMode == 2;
  auto sumAndCentre = [&](int a, int b) {
    if (deadEnds) addDeadEndCells(a, b);
    if (simplec)
      for (int c = a; c <= b; ++c) CinvApP[c] = relaxVelocity / Cap[c];
    addNeighbourSum(a, b, second);
  };
  if (damping) {
    forEachChunk(first, last, [](int a, int b) { addTimestepCells(a, b); });
    addSideDamping();
    forEachChunk(first, last, sumAndCentre);
  } else {
    forEachChunk(first, last, [&](int a, int b) {
      if (transient) addTimestepCells(a, b);
      sumAndCentre(a, b);
    });
  }
  if (FlagAddApTrekant > 0) addAp(first, last);
  auto relaxCells = [&](int a, int b) {
    relaxEquation(a, b, r, inverse, u);
    if (trekant)
      for (int c = a; c <= b; ++c)
        if (Ctrekant[c] > 0) halveRelaxation(c, u);
    if (localSlopes) dampSlopingCells(a, b, u);
  };
  std::atomic<int> unusable{0};
  auto inverseAndResidual = [&](int a, int b) {
    if (e == 1) keepInverseDiagonalChunk(a, b, unusable);
    return residualN(a, b);
  };
  const bool coupled = FlagCoupledNesting >= 11 && FlagCoupledNesting <= 19;
  const double total = chunkedPasses(
      first, last, slopeMode == 3 || coupled, relaxCells,
      [&] {
        if (slopeMode == 3) dampSlopingCells(first, last, u);
        if (coupled) CoupledSolver2Nesting();
      },
      inverseAndResidual);
  finishVelocityChunks(e, total, unusable.load());
}

// The assembly of one velocity equation over the cell work range. `full` is
// the momentum stage; without it the pseudo-velocity equation of the
// pressure-equation variant, which has no pressure force, roughness-layer,
// turbidity or deferred-correction source and leaves out the steps that
// belong to the solve that follows in the stage.
void assembleVelocityEquation(int e, bool full) {
  const int first = WCStart, last = WCEnd;
  double *u = velocityField(e);
  const bool transient = TimeStep > 1e-8;
  if (full && momentumRegionRuns()) {
    // The cells' own wall terms and pressure force chunk by chunk; then the
    // river law's bed friction of cells in the next chunk.
    forEachChunk(first, last, [](int a, int b) {
      clearCentreAndSource(a, b);
      wall_laws(a, b);
      pressure_source(a, b);
    });
    addDeferredBedFriction();
    if (FlagTramel == 1 && e < 3) computeTramel(first, last);
  } else {
    clearCentreAndSource(first, last);
    wall_laws(first, last);
    addDeferredBedFriction();
  }
  if (full && !momentumRegionRuns()) {
    if (FlagThixo != 0 && FlagThixoIsComputing > 0) {
      wall_thixo();
      const int saved = FlagPresGrad;
      FlagPresGrad = 6;
      pressure_source(first, last);
      FlagPresGrad = saved;
    } else {
      pressure_source(first, last);
    }
    if (FlagTramel == 1 && e < 3) computeTramel(first, last);
  }
  boundary();
  if (FlagDragDLL > 0) extra_source();
  if (FlagDragDune == 1) computeDragDune();
  stageStamp(5);
  if (FlagGravity > 0 || FlagGravityTerm != 0) GravityFunction(e, first, last);
  if (NoNestflater > 0) nestsource();
  if (Wind[0] > 1e-10 && e != 3) WindFunction(e);
  if (TemperatureFlag == 1 && FlagThermocline == 0) DensityGradients(3);
  if (FlagThermocline == 1 && e == 3) addThermoclineBuoyancy(first, last);
  if (FlagCoriolis == 1) CoriolisFunction();
  if (full) {
    if (SourDens > 0.001 && e == 3) turbiditycurrentSource();
    if (sou[e] > 9) coeff_make_source(WFStart, WFEnd);
  }
  if (full && momentumRegionRuns()) {
    completeMomentumChunked(e, u);
    return;
  }
  if (TimeRelaxFlag == 0 && transient) addTimestep(first, last);
  if (OneCellSource == 1) addDeadEndCells(first, last);
  if (full && FlagSIMPLE == 1 && e == 1) {
    for (int c = first; c <= last; ++c) CinvApP[c] = relaxVelocity / Cap[c];
  }
  addNeighbourSum(first, last, sou[e] == 1);
  if (full && FlagAddApTrekant > 0) addAp(first, last);
  relaxEquation(first, last, relaxVelocity, invRelaxVelocity, u);
  if (full) {
    if (FlagCorrTrekant == 11) {
      for (int c = first; c <= last; ++c)
        if (Ctrekant[c] > 0) halveRelaxation(c, u);
    }
    dampSlopingCells(first, last, u);
  }
  if (!full && e == 1) keepInverseDiagonal(first, last);
  if (TimeRelaxFlag != 0 && transient) addTimestep(first, last);
  if (!full) return;
  if (FlagCoupledNesting >= 11 && FlagCoupledNesting <= 19) CoupledSolver2Nesting();
  if (e == 1) keepInverseDiagonal(first, last);
  MaxResidual[e] = 0.0;
  residual(first, last);
}

// Mud mode: no slip of the bottom cell of every column.
void stopBottomCells(int first, int last) {
  for (int c = first; c <= last; ++c)
    if (Bcellt[Cbed[c]] == c) Cf[c] = 0.0;
}

// Mud mode: the velocities of every sliding column of block 2 are clipped so
// that a time step moves the mud at most one cell length or the layer depth.
void limitMudVelocities() {
  if (NoBlocks < 2) return;
  const GridBlock &b2 = block[2];
  if (b2.FirstBedCell < 1 || b2.LastBedCell < b2.FirstBedCell) return;
  for (int b = b2.FirstBedCell; b <= b2.LastBedCell; ++b) {
    if (Bcellth == nullptr || Bcellth[b] <= 0) continue;
    const int c0 = Bcellt[b];
    int t = c0;
    while (Ccellt[t] > 0) t = Ccellt[t];
    const double layer = Bthixolev != nullptr ? Czcenter[t] + Ckdist[t] - Bthixolev[b] : Ckdist[t];
    const double d = std::min({Cidist[c0], Cjdist[c0], std::max(Ckdist[t], layer)});
    const double limit = d / TimeStep;
    for (int c = c0; c > 0; c = Ccellt[c]) {
      for (double *u : {Cxvel, Cyvel, Czvel}) u[c] = std::clamp(u[c], -limit, limit);
    }
  }
}

// Coefficients of U (and of V and W while their schemes agree): eddy
// viscosity, cleared neighbour coefficients, fresh face fluxes once 1/Ap
// exists, the triangular flux corrections, then the builder of sou[1].
void buildMomentumCoefficients() {
  const bool chunked = NoProcessesSolver != 0 && FlagOpenMP[1] != 1;
  const bool second = sou[1] == 1;
  auto prepare = [second](int a, int b) {
    clearNeighbourCoefficients(a, b, second);
    if (ompbugtrap > 0) ompbugtrapFunction(a, b);
  };
  if (chunked) {
    GammaCalcOnChunks(WCStart, WCEnd);
    forEachChunk(WCStart, WCEnd, prepare);
  } else {
    GammaCalc(WCStart, WCEnd);
    prepare(WCStart, WCEnd);
  }
  if (FlagInitializedInvAp == 1) {
    if (NoProcessesSolver == 0 || FlagOpenMP[3] == 1) waterflow(WFStart, WFEnd);
    else waterflowChunked(WFStart, WFEnd);
  }
  if (FlagCorrTrekant >= 8 && FlagCorrTrekant <= 23) TrekantFluxCorr(WCStart, WCEnd);
  if (FlagCorrTrekant4 > 0) TrekantFluxCorr4(WCStart, WCEnd);
  if (sou[1] == 1) {
    if (chunked) coeff_make_sou2_chunked(WFStart, WFEnd);
    else coeff_make_sou2(WFStart, WFEnd);
  } else {
    if (chunked) coeff_make_chunked(WFStart, WFEnd);
    else coeff_make(WFStart, WFEnd);
  }
}

// V and W build again when their scheme differs from the previous
// component's; the second-order scheme then builds on one thread.
void rebuildMomentumCoefficients(int e) {
  if (NoProcessesSolver != 0 && FlagOpenMP[1] != 1 && sou[e] != 1) coeff_make_chunked(WFStart, WFEnd);
  else coeff_make(WFStart, WFEnd);
}

// Face value of a pseudo-velocity by the quadratic upwind weights: 0.75 the
// near cell, 0.375 the far cell, -0.125 the cell beyond the near one.
inline double quadraticFaceValue(const double *u, int near, int far, int beyond) {
  return 0.75 * u[near] + 0.375 * u[far] - 0.125 * u[beyond];
}

// Face fluxes of the pseudo-velocities (Cxvel..Czvel point at them): the
// Rhie-Chow fluxes without relaxation, then the quadratic face values on
// faces that have a cell beyond exactly one side.
void pseudoVelocityFluxes() {
  if (FlagInitializedInvAp == 1) waterflow(WFStart, WFEnd);
  for (int f = WFStart; f <= WFEnd; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0) continue;
    int near, far, beyond;
    if (Fcell11[f] >= 1 && Fcell22[f] == 0) {
      near = c1, far = c2, beyond = Fcell11[f];
    } else if (Fcell11[f] == 0 && Fcell22[f] > 0) {
      near = c2, far = c1, beyond = Fcell22[f];
    } else {
      continue;
    }
    Fflux[f] = 1000.0 * (quadraticFaceValue(Cxvel, near, far, beyond) * Fax[f] +
                         quadraticFaceValue(Cyvel, near, far, beyond) * Fay[f] +
                         quadraticFaceValue(Czvel, near, far, beyond) * Faz[f]);
  }
}

// The pseudo-velocity of equation e: the neighbour sum of the assembled
// equation plus its source, times 1/Ap of U.
void pseudoVelocity(int e, double *target) {
  const double *u = velocityField(e);
  const bool second = sou[e] == 1;
  for (int c = WCStart; c <= WCEnd; ++c) {
    double sum = Cae[c] * u[Ccelle[c]] + Caw[c] * u[Ccellw[c]] + Can[c] * u[Ccelln[c]] + Cas[c] * u[Ccells[c]] +
                 Cat[c] * u[Ccellt[c]] + Cab[c] * u[Ccellb[c]];
    if (second)
      sum += Caee[c] * u[Ccelle[Ccelle[c]]] + Caww[c] * u[Ccellw[Ccellw[c]]] + Cann[c] * u[Ccelln[Ccelln[c]]] +
             Cass[c] * u[Ccells[Ccells[c]]] + Catt[c] * u[Ccellt[Ccellt[c]]] + Cabb[c] * u[Ccellb[Ccellb[c]]];
    target[c] = (sum + Csource[c]) * CinvAp[c];
  }
}

}  // namespace

void momentumStage(int inner) {
  StageInner = inner;
  keepDriverBuffers();
  LastLargestResidual = 0.0;
  for (int e = 1; e <= 6; ++e) {
    if (std::isnan(MaxResidual[e])) LastLargestResidual = HUGE_VAL;
    else if (MaxResidual[e] >= 1e-90) LastLargestResidual = std::max(LastLargestResidual, MaxResidual[e]);
  }
  Equation = 1;
  stageStamp(2);
  buildMomentumCoefficients();
  stageStamp(3);
  if (ompbugtrap == 1) computeOmpbugtrap();
  const int lastEquation = Seiche4 != 0 ? 2 : 3;
  for (int e = 1; e <= lastEquation; ++e) {
    Equation = e;
    pointVelocityFields(e);
    if (e > 1 && sou[e] != sou[e - 1]) rebuildMomentumCoefficients(e);
    stageStamp(4);
    assembleVelocityEquation(e, true);
    stageStamp(7);
    FlagInitializedInvAp = 1;
    if (FlagCorrectContinuity == 2 && e == 1) correctContinuity2();
    if (debugDumpDue(inner)) printDebug(inner);
    accelerateSolve(e, inner);
    stageStamp(8);
    solver();
    dampAfterSolve(WCStart, WCEnd);
    if (FlagCoupledNesting >= 1 && FlagCoupledNesting <= 9) CoupledSolverNesting();
    if (FlagThixoIsComputing == 1) stopBottomCells(WCStart, WCEnd);
    stageStamp(9);
  }
  if (FlagThixoIsComputing == 1) limitMudVelocities();
}

void pressureEquationVariant() {
  if (FlagSIMPLE != 2 && FlagSIMPLE != 4 && FlagSIMPLE != 5) return;
  keepDriverBuffers();
  const int inner = StageInner;
  Equation = 1;
  GammaCalc(WCStart, WCEnd);
  coeff_make(WFStart, WFEnd);
  double *pseudo[4] = {nullptr, CxvelP, CyvelP, CzvelP};
  for (int e = 1; e <= 3; ++e) {
    Equation = e;
    pointVelocityFields(e);
    if (e > 1 && sou[e] != sou[e - 1]) coeff_make(WFStart, WFEnd);
    assembleVelocityEquation(e, false);
    pseudoVelocity(e, pseudo[e]);
  }

  // The pressure itself from the pseudo-velocities' mass defect.
  Equation = 4;
  Cf = Cpres;
  const double savedRhieChow = RelaxRhieChow;
  double *saved[3] = {Cxvel, Cyvel, Czvel};
  RelaxRhieChow = 0.0;
  Cxvel = CxvelP, Cyvel = CyvelP, Czvel = CzvelP;
  pseudoVelocityFluxes();
  Cxvel = saved[0], Cyvel = saved[1], Czvel = saved[2];
  RelaxRhieChow = savedRhieChow;
  pressure_coeff();
  pressure_fluxes();
  if (NoNestflater > 0) nestsource();
  for (int c = WCStart; c <= WCEnd; ++c)
    Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
  blockCorrectionByRule(4, inner);
  solver();
  Cf = CfSaved;
  if (FlagSIMPLE != 5) return;

  // Velocities from the pressure force and the pseudo-velocities, and the
  // mass defect they leave.
  for (int e = 1; e <= 3; ++e) {
    Equation = e;
    for (int c = WCStart; c <= WCEnd; ++c) Csource[c] = 0.0;
    pressure_source(WCStart, WCEnd);
    double *u = velocityField(e);
    for (int c = WCStart; c <= WCEnd; ++c) u[c] = Csource[c] * CinvAp[c] + pseudo[e][c];
  }
  Equation = 4;
  waterflow(WFStart, WFEnd);
  for (int c = WCStart; c <= WCEnd; ++c) Csource[c] = -netOutflow(c);
  MaxResidual[4] = 0.0;
  residual(WCStart, WCEnd);
}
