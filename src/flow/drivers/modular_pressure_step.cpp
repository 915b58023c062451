// The pressure step of the modular driver: face fluxes from the new
// velocities, the pressure-correction equation with the mass defect of each
// cell as its source, its solve, the corrections of fluxes, velocities and
// pressure, and the continuity statistics of the stop test.
#include "flow/corrections/continuity_defect.h"
#include "flow/corrections/correction_limiters.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/drivers/modular_steps.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "flow/stages/pressure_stage_steps.h"
#include "flow/equation_terms/pressure_stage_terms.h"
#include "flow/stages/residuals.h"
#include "flow/corrections/simple_corrections.h"
#include "flow/stages/stage_dumps.h"
#include "flow/equation_terms/stage_routines.h"
#include "flow/stages/stage_steps.h"
#include "grid/blocks/nested_sources.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/point_solver.h"
#include "turbulence/mud_friction.h"

namespace {

bool transientSurfaceProfile() { return FlagTFS >= 13 && FlagTFS <= 19; }

// The diagonal of p', its residual with p' of the previous inner iteration,
// and p' = 0 as the start of the solve, on one thread: the floor of the
// neighbour sum, the border lift of F 316, the top-cell treatment of the
// transient surface, the storage of F 296 and the end cells of F 104.
void pressureMatrixSerial(int first, int last) {
  const double lift = borderLift();
  for (int c = first; c <= last; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c)) + lift;
  if (transientSurfaceProfile()) presSurfFunction(first, last);
  if (FlagTFS >= 1) addSurfaceStorage(first, last);
  if (FlagEndCorrect != 0) addEndCorrection(first, last);
  MaxResidual[4] = 0.0;
  residual(first, last);
  for (int c = first; c <= last; ++c) Cf[c] = 0.0;
}

// The same on the cell chunks of F 206, without the lift, storage and end
// cells. The top-cell treatment reaches the cell below, so it runs on this
// thread between the two passes.
void pressureMatrixChunked(int first, int last) {
  const bool surface = transientSurfaceProfile();
  auto residualAndStart = [](int a, int b) {
    const double r = residualN(a, b);
    for (int c = a; c <= b; ++c) Cf[c] = 0.0;
    return r;
  };
  double total;
  if (surface) {
    forEachChunk(first, last, [](int a, int b) {
      for (int c = a; c <= b; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
    });
    presSurfFunction(first, last);
    total = sumOverChunks(first, last, residualAndStart);
  } else {
    total = sumOverChunks(first, last, [&](int a, int b) {
      for (int c = a; c <= b; ++c) Cap[c] = pressureDiagonal(pressureNeighbourSum(c));
      return residualAndStart(a, b);
    });
  }
  endIfResidualNotSet();
  MaxResidual[4] = total;
}

}  // namespace

void SimplePressure(int inner) {
  const int first = WCStart, last = WCEnd;
  Equation = 4;
  if (NoProcessesSolver > 0) {
    deltac = (last - first + 1) / NoProcessesSolver;
    deltaf = (WFEnd - WFStart + 1) / NoProcessesSolver;
  }
  if (NoProcessesSolver == 0 || FlagOpenMP[3] == 1) waterflow(WFStart, WFEnd);
  else waterflowChunked(WFStart, WFEnd);
  stageStamp(10);
  pressure_coeff();
  pressure_fluxes();
  if (FlagCorrTrekant == 7) {
    for (int c = 1; c <= NoCells; ++c)
      if (Ctrekant[c] != 0) Csource[c] *= 0.5;
  }
  stageStamp(11);
  if (NoNestflater > 0) nestsource();
  stageStamp(12);

  if (NoProcessesSolver == 0 || FlagOpenMP[7] == 1) pressureMatrixSerial(first, last);
  else pressureMatrixChunked(first, last);
  accelerateSolve(4, inner);
  stageStamp(13);
  // F 258 leaves p' at 0: the corrections then only apply the reference shift.
  if (FlagStressTerm == 0) solver();
  stageStamp(14);

  if (debugDumpDue(inner)) printDebug(inner);
  if (FlagPresDebug >= 1 && FlagPresDebug <= 99) printDebug2();
  if (FlagPresDebug == 0 && FlagGravity == 0) shiftPressureLevel(first, last);
  if (FlagFroudeHystat == 1) FroudeHystatFunction();
  stageStamp(15);

  if (NoProcessesSolver == 0 || FlagOpenMP[4] == 1) SimpleCorrections(WFStart, WFEnd, first, last);
  else SimpleCorrectionsRegion(WFStart, WFEnd, first, last);
  CorrSimpleCorrections(inner);
  stageStamp(16);
  if (Seiche4 > 0) SeicheFunctions();
  if (transientSurfaceProfile()) surfacePressureProfile(first, last);
  if (FlagThixo > 0 && FlagThixoDampVel > 0) ThixoVelDamp();
  if (NoNestflater > 0 && NestInterpolRelax > 1e-8) relaxNestedVelocities();
  continuityStatistics(first, last);
}
