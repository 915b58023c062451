// The hydrostatic and depth-averaged drivers: the flow solved on the appended
// column block (one cell per water column) and carried into the columns of
// the three-dimensional blocks, either whole (F 68 3) or as the pressure
// under which the three-dimensional velocities, k and epsilon are computed
// and the vertical velocities rebuilt from continuity (F 68 1).
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/write_check.h"
#include "flow/boundaries/boundary_fluxes.h"
#include "flow/hydrostatic/column_block.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/hydrostatic/layer_drivers.h"
#include "flow/drivers/modular_steps.h"
#include "flow/hydrostatic/simple_water.h"
#include "flow/stages/stage_steps.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "quality/components/component_drivers.h"
#include "solvers/coefficients.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "turbulence/eddy_viscosity.h"

namespace {

enum class Layer { DepthAveraged, Hydrostatic };

// The Cf and Cf_old of the caller, restored around every stage that re-points them.
double *entryCf, *entryCfOld;
void restoreCf() {
  Cf = entryCf;
  Cf_old = entryCfOld;
}

bool constantViscosity() { return TurbulenceModel >= 4 && TurbulenceModel <= 7; }

void requireColumnBlock() {
  if (!columnBlockPresent() || columnLinks().empty()) {
    fatalPrintf(kExitInconsistent, nullptr, "Error: F 68 %d needs the one-cell-per-column block of the grid generation\n",
                Hydrostatic);
  }
}

void columnBlockRange() {
  const GridBlock &b = block[NoBlocks];
  WCStart = b.FirstCell;
  WCEnd = b.LastCell;
  WFStart = b.FirstFace;
  WFEnd = b.LastFace;
}

void threeDimensionalRange() {
  const GridBlock &b = block[NoBlocks - 1];
  WCStart = WFStart = 1;
  WCEnd = b.LastCell;
  WFEnd = b.LastFace;
}

// The time step's old fields, once per outer iteration.
void shiftOldFields() {
  const int n = NoCells + 1;
  if (FlagTimeOrder > 0 && Cxvel_old2) {
    std::copy(Cxvel_old + 1, Cxvel_old + n, Cxvel_old2 + 1);
    std::copy(Cyvel_old + 1, Cyvel_old + n, Cyvel_old2 + 1);
    std::copy(Czvel_old + 1, Czvel_old + n, Czvel_old2 + 1);
  }
  if (Cxvel_old) {
    std::copy(Cxvel + 1, Cxvel + n, Cxvel_old + 1);
    std::copy(Cyvel + 1, Cyvel + n, Cyvel_old + 1);
    std::copy(Czvel + 1, Czvel + n, Czvel_old + 1);
    std::copy(Ckinen + 1, Ckinen + n, Ckinen_old + 1);
    std::copy(Cepsilon + 1, Cepsilon + n, Cepsilon_old + 1);
  }
  if (FlagTComp == 1 && Ccomp_old) {
    for (int m = 0; m < NoComponents; ++m) std::copy(Ccomp[m] + 1, Ccomp[m] + n, Ccomp_old[m] + 1);
  }
  stimet += TimeStep;
}

// The largest of the six residuals (entries below 1e-90 become 0) and the
// first equation holding it; a residual that is not a number is the largest.
struct Largest {
  double value;
  int equation;
};
Largest largestResidual() {
  Largest r{0.0, 1};
  for (int e = 1; e <= 6; ++e) {
    if (MaxResidual[e] < 1e-90) MaxResidual[e] = 0.0;
    if (std::isnan(MaxResidual[e])) return {MaxResidual[e], e};
    if (MaxResidual[e] > r.value) r = {MaxResidual[e], e};
  }
  return r;
}

// The report after an inner iteration; true when the solution diverged,
// which ends the driver.
bool reportDiverged(int inner) {
  const Largest r = largestResidual();
  logText("");  // a log that cannot be opened ends the run here
  if (inner == TransInnerIter && FlagPrint == 0) {
    logPrintf("Iter: %d, Resid: %8.2e %8.2e %8.2e %8.2e %8.2e %8.2e\n", Iter, MaxResidual[1], MaxResidual[2],
              MaxResidual[3], MaxResidual[4], MaxResidual[5], MaxResidual[6]);
  }
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "%d ResMax: %8.2e for eq: %d", Iter, r.value, r.equation);
  setStatus(mc_message, message);
  if (!std::isnan(r.value) && !(r.value > MaxCrashDef)) return false;
  logText("Solution diverged\n");
  setStatus(mc_message, "Solution diverged  ");
  FlagErrorBreak = 1;
  return true;
}

// A stage that found an unusable diagonal ends the driver as a divergence
// does; otherwise FlagErrorBreak keeps what the caller had.
bool horizontalVelocities(int dimension) {
  const int before = FlagErrorBreak;
  FlagErrorBreak = 0;
  SimpleWater(dimension);
  if (FlagErrorBreak == 1) return false;
  FlagErrorBreak = before;
  return true;
}

void turbulence() {
  if (constantViscosity()) return;
  SimpleTurbulence(5);
  SimpleTurbulence(6);
}

// Carries the column cells into their water columns: the pressure alone, or
// (depth-averaged) the whole flow with no vertical velocity.
void copyColumns(Layer layer) {
  for (const ColumnLink &link : columnLinks()) {
    if (!link.collected) continue;
    const int k = link.cell;
    for (int c = link.bottom; c <= link.top; ++c) Cpres[c] = Cpres[k];
    if (layer == Layer::Hydrostatic) continue;
    for (int c = link.bottom; c <= link.top; ++c) {
      Cxvel[c] = Cxvel[k];
      Cyvel[c] = Cyvel[k];
      Czvel[c] = 0.0;
      Ckinen[c] = Ckinen[k];
      Cepsilon[c] = Cepsilon[k];
      Cgamma[c] = Cgamma[k];
    }
  }
}

// The depth-averaged inner iterations on the column block; false after a
// divergence.
bool layerIterations() {
  setStatus(mc_program, " RA-Vavi 2D ");
  const int count = 20 * TransInnerIter;
  for (int inner = 1; inner <= count; ++inner) {
    if (FlagGridChange == 1) forgetColumnLinks();
    applyGridAndParameterChanges();
    // The first inner iteration of a run uses the conditions the start values set.
    if (!(inner == 1 && Iter == 1)) operations.boundary();
    Equation = 1;
    columnBlockRange();
    GammaCalc(WCStart, WCEnd);
    coeff_make(WFStart, WFEnd);
    if (!horizontalVelocities(2)) return false;
    restoreCf();
    SimplePressure(inner);
    turbulence();
    restoreCf();
    if (reportDiverged(inner)) return false;
    if (TimeStep > 1e-8 && TimeBreakLimit > largestResidual().value) break;
  }
  return true;
}

// Vertical fluxes and velocities of a column from the horizontal net inflow
// in Csource. F(face) is the upward mass flux; 0.0005 turns the mean of two
// mass fluxes into a velocity.
void verticalFromTop(int top) {
  double sum = 0.0;
  for (int c = top; Ccellb[c] > 0; c = Ccellb[c]) {
    sum += Csource[c];
    Fflux[Cflateb[c]] = -sum;
  }
}

void verticalFromBottom(int bottom) {
  double sum = 0.0;
  for (int c = bottom; Ccellt[c] > 0; c = Ccellt[c]) {
    sum += Csource[c];
    Fflux[Cflatet[c]] = sum;
  }
}

void velocitiesFromFluxes(int bottom) {
  for (int c = bottom; c > 0; c = Ccellt[c]) {
    Czvel[c] = 0.0005 * (Fflux[Cflateb[c]] + Fflux[Cflatet[c]]) / Farea[Cflatet[c]];
  }
}

// Variants 2 and 3: each cell's own net inflow as its velocity, the faces
// between cells from the two velocities beside them.
void velocitiesFromCells(int bottom, bool relaxed) {
  for (int c = bottom; c > 0; c = Ccellt[c]) {
    const double a = Farea[Cflatet[c]];
    Czvel[c] = relaxed ? 0.8 * Czvel[c] - 0.0002 * Csource[c] / a : -0.001 * Csource[c] / a;
  }
  for (int c = bottom; Ccellt[c] > 0; c = Ccellt[c]) {
    const int f = Cflatet[c];
    const double w = Czvel[c] + Czvel[Ccellt[c]];
    Fflux[f] = relaxed ? 0.8 * Fflux[f] + 100.0 * w * Farea[f] : 500.0 * w * Farea[f];
  }
}

// Variant 4: the column's net inflow taken out in proportion to the cell
// heights, so that nothing has to leave through the bed.
void balanceColumn(int top) {
  double s = 0.0, h = 1e-20;
  for (int c = top; c > 0; c = Ccellb[c]) {
    s += Csource[c];
    h += Ckdist[c];
  }
  for (int c = top; c > 0; c = Ccellb[c]) Csource[c] -= Ckdist[c] * s / h;
}

int bottomOf(int c) {
  while (Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

}  // namespace

void hydrostaticVerticalVelocities() {
  const int variant = Seiche4;
  if (variant < 0 || variant > 4) return;
  const bool fromTop = variant == 0 || variant == 4;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (fromTop) {
      if (Ccellt[c] != 0 || Ccellb[c] == 0) continue;
      if (variant == 4) balanceColumn(c);
      verticalFromTop(c);
      velocitiesFromFluxes(bottomOf(c));
    } else {
      if (Ccellb[c] != 0 || Ccellt[c] == 0) continue;
      if (variant == 1) {
        verticalFromBottom(c);
        velocitiesFromFluxes(c);
      } else {
        velocitiesFromCells(c, variant == 3);
      }
    }
  }
}

namespace {

// The three-dimensional stage of the hydrostatic driver: U, V, k and epsilon
// under the column pressure, then the face fluxes, and the vertical fluxes
// and velocities from the horizontal net inflow of every cell, the
// discharges of the groups counted as the cell sources they are.
bool threeDimensionalStage() {
  setStatus(mc_program, " RA-Vavi 3D-Hystat    ");
  for (int n = 1; n <= TransInnerIter; ++n) {
    Equation = 1;
    GammaCalc(WCStart, WCEnd);
    coeff_make(WFStart, WFEnd);
    if (!horizontalVelocities(3)) return false;
    turbulence();
    restoreCf();
  }
  operations.waterflow(WFStart, WFEnd);
  for (int c = WCStart; c <= WCEnd; ++c) {
    Csource[c] = Fflux[Cflatew[c]] - Fflux[Cflatee[c]] + Fflux[Cflates[c]] - Fflux[Cflaten[c]];
  }
  boundaryFluxes();
  hydrostaticVerticalVelocities();
  // The components ride on the fluxes of this outer iteration.
  if (NoComponents > 0) {
    SimpleComponents();
    restoreCf();
    if (FlagTSC == 0 && PrintComp != 0 && isMultiple(Iter, PrintComp)) operations.writeConqRes();
  }
  return true;
}

// Both drivers: set-up, outer iterations of depth-averaged inner iterations,
// the column copy, the hydrostatic three-dimensional stage, periodic output.
// In the sediment loop (F 37) a call is one outer iteration of the caller's
// step: Iter stays and the time goes on from where it is.
void runLayerDriver(Layer layer) {
  requireColumnBlock();
  entryCf = Cf;
  entryCfOld = Cf_old;
  forgetColumnLinks();
  prepareFlowInMemory();
  FlagFlowParamChange = 0;
  if (TimePrintNo > 0 && FlagTSC == 0) emptyTimeSeriesOutput();
  const int first = block[NoBlocks].FirstCell, last = block[NoBlocks].LastCell;
  for (int c = 0; c <= NoCells; ++c) CflagDim[c] = c >= first && c <= last ? 1 : 0;
  const bool sedimentStep = FlagTSC > 0;
  if (!sedimentStep) {
    Iter = 1;
    if (TimeStep > 1e-8) stimet = 0.0;
  }
  while (sedimentStep || Iter <= iterGlobalMax) {
    if (!sedimentStep) FlagPrint = reportSwitch(layer == Layer::Hydrostatic);  // "J" only here
    setWholeGridRange(NoCells, NoSurfaces);
    if (TimeStep > 1e-8) shiftOldFields();
    if (!layerIterations()) break;
    copyColumns(layer);
    threeDimensionalRange();
    if (layer == Layer::Hydrostatic && !threeDimensionalStage()) break;
    if (PrintRes != 0 && isMultiple(Iter, PrintRes)) operations.sprintflow();
    if (TimePrintNo > 0 && FlagTSC == 0 && stimet >= TimePrint[0].time &&
        (layer == Layer::DepthAveraged || stimet > 1e-10) && (isMultiple(Iter, PrintIterTime) || Iter == 2)) {
      operations.TimePrintFunction();
    }
    if (sedimentStep) break;
    Iter += 1;
  }
  restoreCf();
  gFlagFlow = 0;
}

}  // namespace

void WaterSolve2D() { runLayerDriver(Layer::DepthAveraged); }

void WaterSolveHydrostatic() { runLayerDriver(Layer::Hydrostatic); }
