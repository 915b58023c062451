// The pressure-correction stage of an inner iteration: face fluxes, the
// coefficients and mass defect of p', its diagonal with the free-surface and
// dead-end terms, the solve, the corrections of fluxes, velocities and
// pressure, the surface pressure profiles and the continuity statistics.
#include <algorithm>
#include <cmath>
#include <utility>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/corrections/continuity_corrections.h"
#include "flow/corrections/continuity_defect.h"
#include "flow/corrections/correction_limiters.h"
#include "flow/stages/stage_dumps.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/stages/flow_stages.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "flow/stages/pressure_stage_steps.h"
#include "flow/outer_steps/initial_pressure.h"
#include "flow/equation_terms/pressure_stage_terms.h"
#include "flow/stages/residuals.h"
#include "flow/corrections/simple_corrections.h"
#include "flow/equation_terms/stage_routines.h"
#include "flow/stages/stage_steps.h"
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
#include "solvers/block_correction.h"
#include "solvers/coefficients.h"
#include "solvers/multigrid_accelerator.h"
#include "solvers/point_solver.h"
#include "surface/surface_services.h"
#include "turbulence/mud_friction.h"

namespace {

// The F 36 = 6 surface update is due: last inner iteration, a residual that
// has not run away, a movable surface, and an update interval reached.
bool surfaceReturnDue(int inner) {
  return FlagTFS == 6 && inner == TransInnerIter && LastLargestResidual < 1e6 && FlagRoof == 1 &&
         (FlagTSC == 0 || isMultiple(Iter, IterWaterUpdate)) && Iter != 0;
}

// F 184 4: a corner cell of a single-cell column gets at least a tenth of
// the diagonal of its neighbours along the two open sides; the four tests
// run in this order on the updated value.
void liftCornerDiagonals(int first, int last) {
  for (int c = first; c <= last; ++c) {
    if (!singleCellColumn(c)) continue;
    const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c];
    if (e == 0 && s == 0) Cap[c] = std::max({Cap[c], 0.1 * Cap[n], 0.1 * Cap[w]});
    if (e == 0 && n == 0) Cap[c] = std::max({Cap[c], 0.1 * Cap[w], 0.1 * Cap[s]});
    if (w == 0 && s == 0) Cap[c] = std::max({Cap[c], 0.1 * Cap[e], 0.1 * Cap[n]});
    if (w == 0 && n == 0) Cap[c] = std::max({Cap[c], 0.1 * Cap[e], 0.1 * Cap[s]});
  }
}

// Surface damping of the p' diagonal (F 419), a moving surface only.
void addSurfaceDamping(int first, int last) {
  const double per = 1.0 / (TimeStep * 9.81);
  switch (FlagPresSurfDamp) {
    case 1:
      for (int c = first; c <= last; ++c) Cap[c] += Farea[Cflatet[c]] * per;
      break;
    case 2:
      for (int c = first; c <= last; ++c)
        if (Ccellt[c] == 0) Cap[c] += Farea[Cflatet[c]] * per;
      break;
    case 3:
      // The top face's term shared equally by the n cells of the column.
      for (int t = first; t <= last; ++t) {
        if (Ccellt[t] != 0) continue;
        int n = 0;
        for (int c = t; c > 0; c = Ccellb[c]) ++n;
        const double f = Farea[Cflatet[t]] * per / n;
        for (int c = t; c > 0; c = Ccellb[c]) Cap[c] += f;
      }
      break;
    default:
      break;
  }
}

// The diagonal from the neighbour sum with its floor, and the border lift.
void sumPressureDiagonal(int first, int last, double lift) {
  for (int c = first; c <= last; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
  if (lift != 0.0)
    for (int c = first; c <= last; ++c) Cap[c] += lift;
}

// The steps of the diagonal that reach other cells of the column or the
// grid: the corner lift of F 184 4, the surface condition (once per cell,
// over the work range with F 181, else over the mud layer while it is
// computed) and the free-surface storage and damping.
void pressureSurfaceTerms(int first, int last) {
  if (FlagPCalg == 4) liftCornerDiagonals(first, last);
  const GridBlock &layer = block[NoBlocks];
  const bool layerBlock = NoBlocks > 0 && layer.LayerMark > 0 && layer.FirstCell < WCEnd;
  if (FlagGravity > 0) presSurfFunction(first, last);
  else if (FlagThixoIsComputing > 0 && layerBlock) presSurfFunction(layer.FirstCell, layer.LastCell);
  if (FlagTFS >= 1) {
    addSurfaceStorage(first, last);
    addSurfaceDamping(first, last);
  }
}

// F 373 (threaded form only): every existing horizontal neighbour
// coefficient at least 5 % of the diagonal, the diagonal summed again.
void stabilisePressureCoefficients(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const double L = 0.05 * Cap[c];
    if (Ccellw[c] > 0) Caw[c] = std::max(Caw[c], L);
    if (Ccells[c] > 0) Cas[c] = std::max(Cas[c], L);
    if (Ccelle[c] > 0) Cae[c] = std::max(Cae[c], L);
    if (Ccelln[c] > 0) Can[c] = std::max(Can[c], L);
    Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
  }
}

// The diagonal of p' and its residual on the cell chunks of F 206; the
// steps that reach other chunks run between the two passes.
void formPressureDiagonalChunked(int first, int last) {
  const double lift = borderLift();
  const bool stabilise = FlagPresCorrStab == 1;
  forEachChunk(first, last, [&](int a, int b) {
    for (int c = a; c <= b; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
    if (stabilise) stabilisePressureCoefficients(a, b);
    if (lift != 0.0)
      for (int c = a; c <= b; ++c) Cap[c] += lift;
  });
  pressureSurfaceTerms(first, last);
  const bool endCorrect = FlagEndCorrect != 0;
  double total = sumOverChunks(first, last, [&](int a, int b) {
    if (endCorrect) addEndCorrection(a, b);
    const double r = residualN(a, b);
    for (int c = a; c <= b; ++c) Cf[c] = 0.0;
    return r;
  });
  endIfResidualNotSet();
  // The storing residual measures the defect besides the groups' discharge.
  if (FlagResidual == 1) total = std::fabs(total - GlobFluxDefect / NormResidual[4]);
  MaxResidual[4] = total;
}

// The diagonal of p' and its residual; p' starts from 0.
void formPressureDiagonal(int first, int last) {
  if (NoProcessesSolver != 0 && FlagOpenMP[7] != 1) {
    formPressureDiagonalChunked(first, last);
    return;
  }
  sumPressureDiagonal(first, last, borderLift());
  pressureSurfaceTerms(first, last);
  if (FlagEndCorrect != 0) addEndCorrection(first, last);
  MaxResidual[4] = 0.0;
  residual(first, last);
  for (int c = first; c <= last; ++c) Cf[c] = 0.0;
}

// The multigrid accelerator runs for p' by K 5 (10 always, 11 first inner,
// 12 first inner of Iter 1) or whenever group 1 carries more than F 541;
// then the block correction by its rule.
void acceleratePressure(int inner) {
  if (FlagThixoIsComputing == 0 && Flag2DAccSolver > 0) {
    const bool large = DischargeArray[1] > dischargeSolverLimit;
    const int rule = blockcorr[4];
    bool run;
    if (rule == 10) run = true;
    else if (rule == 11) run = inner == 1 || large;
    else if (rule == 12) run = (inner == 1 && Iter == 1) || large;
    else run = large;
    if (run) AlgMGSolve();
  }
  blockCorrectionByRule(4, inner);
}

// F 235 6: p' of a triangular cell smoothed with its four neighbours.
void smoothTriangularCells() {
  Cf[0] = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ctrekant[c] > 0)
      Cf[c] = 0.75 * Cf[c] + 0.125 * (Cf[Ccells[c]] + Cf[Ccelln[c]] + Cf[Ccelle[c]] + Cf[Ccellw[c]]);
  }
}

void correctFluxesVelocitiesPressure() {
  if (NoProcessesSolver == 0 || FlagOpenMP[4] == 1) SimpleCorrections(WFStart, WFEnd, WCStart, WCEnd);
  else SimpleCorrectionsRegion(WFStart, WFEnd, WCStart, WCEnd);
}

// F 171 3: a second correction from the defect the first one left.
void secondCorrector(int inner) {
  for (int c = WCStart; c <= WCEnd; ++c) {
    CxvelP[c] -= Cxvel[c];
    CyvelP[c] -= Cyvel[c];
    CzvelP[c] -= Czvel[c];
    Cpres[c] += relaxPressure * Cf[c];
  }
  Equation = 1;
  coeff_make(WFStart, WFEnd);
  Equation = 4;
  for (int c = WCStart; c <= WCEnd; ++c) {
    Csource[c] = -netOutflow(c);
    Cf[c] = 0.0;
  }
  pressure_coeff();
  pressure_fluxes();
  accelerateSolve(4, inner);
  solver();
  SimpleCorrections(WFStart, WFEnd, WCStart, WCEnd);
  CorrSimpleCorrections(inner);
  for (int c = WCStart; c <= WCEnd; ++c) Cpres[c] += relaxPressure * Cf[c];
}

}  // namespace

void addSurfaceStorage(int first, int last) {
  switch (FlagTimeSIMPLE) {
    case 1:
      for (int c = first; c <= last; ++c) Csource[c] *= 0.5;
      break;
    case 2:
    case 3: {
      if (FlagTFS == 1 || Bdepth == nullptr) break;
      // A column receives Faz / (9810 TimeStep) in all, spread by cell height.
      const double scale = FlagTimeSIMPLE == 3 ? static_cast<double>(IterWaterUpdate) * TransInnerIter : 1.0;
      for (int c = first; c <= last; ++c) {
        const int b = Cbed[c];
        const double f = 2.0 * Faz[Cflateb[Bcellt[b]]] / (TimeStep * 9810.0 * Bdepth[b]);
        Cap[c] += scale * f * Ckdist[c];
      }
      break;
    }
    case 4:
      for (int c = first; c <= last; ++c)
        if (Ccellt[c] == 0) Cap[c] += 9810.0 * Faz[Cflateb[c]] / relax[4];
      break;
    default:
      break;
  }
}

void addEndCorrection(int first, int last) {
  for (int c = first; c <= last; ++c) {
    if (!singleCellColumn(c)) continue;
    const int neighbours = (Ccelle[c] > 0) + (Ccellw[c] > 0) + (Ccelln[c] > 0) + (Ccells[c] > 0);
    if (neighbours < 2) Cap[c] += FlagEndCorrect * Cvol[c];
  }
}

double borderLift() {
  if (FlagPresMPIboundary < 4 || FlagPresMPIboundary > 6) return 0.0;
  return FlagPresMPIboundary == 4 ? 1e-6 : (FlagPresMPIboundary == 5 ? 0.001 : 1.0);
}

void shiftPressureLevel(int first, int last) {
  for (int c = first; c <= last; ++c) Cf[c] -= Cf[NoCells] + 0.001;
}

void surfacePressureProfile(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int b = Ccellb[c];
    if (Ccellt[c] == 0 && b > 0) Cpres[c] = Cpres[b] * Ckdist[c] / (2.0 * Ckdist[c] + Ckdist[b]);
  }
}

void relaxNestedVelocities() {
  const double r = NestInterpolRelax;
  for (int c = 1; c <= NoCells; ++c) {
    const int p = Cinterpolnest[c];
    if (p <= 0) continue;
    for (double *u : {Cxvel, Cyvel, Czvel}) u[c] = r * u[p] + (1.0 - r) * u[c];
  }
}

int pressureStage(int inner) {
  StageInner = inner;
  if (FlagSIMPLE == 4 || FlagSIMPLE == 5) return 0;
  keepDriverBuffers();
  const int first = WCStart, last = WCEnd;
  if (FlagSIMPLE == 3) {
    for (int c = first; c <= last; ++c) {
      CxvelP[c] = Cxvel[c];
      CyvelP[c] = Cyvel[c];
      CzvelP[c] = Czvel[c];
    }
  }
  Equation = 4;
  Cf = CfSaved;
  Cf_old = CfOldSaved;
  if (NoProcessesSolver == 0 || FlagOpenMP[3] == 1) waterflow(WFStart, WFEnd);
  else waterflowChunked(WFStart, WFEnd);
  if (FlagFluxCorr > 0) fluxCorrFunction(block[1].i1, block[1].i2);
  if (FlagThixoIsComputing == 1) {
    for (int b = 1; b <= NoBCells; ++b) Fflux[Cflatet[Bcellt[b]]] = 0.0;
  } else {
    stageStamp(10);
  }
  if (surfaceReturnDue(inner)) {
    surface();
    return 1;
  }

  // Coefficients and mass defect; with F 171 1 they see SIMPLEC's 1/Ap.
  if (FlagSIMPLE == 1) std::swap(CinvAp, CinvApP);
  if (FlagTFS == 50 && LastLargestResidual < 1e6 && FlagRoof == 1 && inner == TransInnerIter) {
    pressure_fluxes();
    surface_LS();
  }
  pressure_coeff();
  pressure_fluxes();
  if (FlagCorrTrekant == 7) {
    for (int c = 1; c <= NoCells; ++c)
      if (Ctrekant[c] > 0) Csource[c] *= 0.5;
  }
  stageStamp(11);
  if (FlagSIMPLE == 1) std::swap(CinvAp, CinvApP);
  if (NoNestflater > 0) nestsource();
  stageStamp(12);

  formPressureDiagonal(first, last);
  acceleratePressure(inner);
  stageStamp(13);
  if (FlagStressTerm == 0) solver();
  stageStamp(14);

  if (FlagCorrTrekant == 6) smoothTriangularCells();
  if (debugDumpDue(inner)) printDebug(inner);
  if (FlagPresDebug >= 1 && FlagPresDebug <= 99) printDebug2();
  if (FlagPresDebug == 0 && FlagGravity == 0) shiftPressureLevel(first, last);
  if (FlagFroudeHystat == 1) FroudeHystatFunction();
  stageStamp(15);

  correctFluxesVelocitiesPressure();
  CorrSimpleCorrections(inner);
  stageStamp(16);
  if (Seiche4 > 0) SeicheFunctions();
  if (FlagTFS >= 13 && FlagTFS <= 19) surfacePressureProfile(first, last);
  if (FlagPresFilter > 0) pressureFilter();
  const GridBlock &layer = block[NoBlocks];
  if (NoBlocks >= 2 && layer.LayerMark > 0 && layer.FirstCell < WCEnd)
    surfacePressureProfile(block[2].FirstCell, block[2].LastCell);
  if (FlagThixoIsComputing > 0 && FlagThixoDampVel > 0) ThixoVelDamp();
  if (FlagCorrectContinuity == 3) correctContinuity2();
  if (NoNestflater > 0 && NestInterpolRelax > 1e-8) relaxNestedVelocities();
  continuityStatistics(first, last);
  stageStamp(17);
  if (FlagSIMPLE == 3) secondCorrector(inner);
  return 0;
}
