// The horizontal-velocity step of the hydrostatic and depth-averaged drivers:
// U and V on the column block (depth-integrated) or on the three-dimensional
// cells, with Coriolis, wind and the baroclinic force of a temperature field.
// Writes the coefficients, Cxvel, Cyvel, CinvAp and MaxResidual[1], [2].
#include "flow/hydrostatic/simple_water.h"

#include <cmath>
#include <cstdio>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/hydrostatic/column_block.h"
#include "flow/equation_terms/momentum_sources.h"
#include "flow/equation_terms/pressure_source.h"
#include "flow/stages/residuals.h"
#include "flow/stages/stage_steps.h"
#include "flow/equation_terms/time_term.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "quality/forces/density_layers.h"
#include "solvers/point_solver.h"
#include "base/log.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/wall_laws.h"

namespace {

void pointFields(int e) {
  Equation = e;
  Cf_old = e == 1 ? Cxvel_old : Cyvel_old;
  if (FlagTimeOrder > 0) Cf_old2 = e == 1 ? Cxvel_old2 : Cyvel_old2;
}

// The boundary terms of the column block: the three-dimensional cells of
// the collected blocks start from 0, take the inflow and outflow terms of
// the discharge groups, and every column's sums go onto its column cell.
void gatherBoundaryTerms() {
  for (int b = 1; b <= NoBlocks - 1; ++b) {
    if (block[b].NestLevel != 0 || block[b].BlockKind != 0) continue;
    clearCentreAndSource(block[b].FirstCell, block[b].LastCell);
  }
  boundary();
  for (const ColumnLink &link : columnLinks()) {
    if (!link.collected) continue;
    double ap = 0.0, source = 0.0;
    for (int c = link.bottom; c <= link.top; ++c) {
      ap += Cap[c];
      source += Csource[c];
    }
    Cap[link.cell] += ap;
    Csource[link.cell] += source;
  }
}

// Coriolis force of the current velocities: +f v on U, -f u on V, in N.
void addCoriolis(int e) {
  const double sign = e == 1 ? 1.0 : -1.0;
  const double *other = e == 1 ? Cyvel : Cxvel;
  for (int c = WCStart; c <= WCEnd; ++c) Csource[c] += sign * other[c] * Coriolis * 1000.0 * Cvol[c];
}

// Wind shear on the top face of every top cell of the range.
void addWind(int e) {
  double speed, fx, fy;
  windNow(speed, fx, fy);
  const double stress = 0.0012 * windDrag(speed) * (e == 1 ? fx : fy);
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellt[c] == 0) Csource[c] += stress * Farea[Cflatet[c]];
  }
}

// The baroclinic force of the column below top cell `top`: at every level the
// horizontal difference of the density integral from the top down, times
// 9810 and the mean face area of the two sides. Each level's term goes to
// the level's cell (target 0) or, summed, to the target cell.
void columnBaroclinic(int e, int top, int target) {
  const double *area = e == 1 ? Fax : Fay;
  double dx = 0.0, dy = 0.0, sum = 0.0;
  int above = 0;
  for (int c = top; c > 0; above = c, c = Ccellb[c]) {
    const int east = Ccelle[c], west = Ccellw[c], north = Ccelln[c], south = Ccells[c];
    const double dC = densityStep(c, above);
    const double dE = densityStep(east, above > 0 ? Ccelle[above] : 0);
    const double dW = densityStep(west, above > 0 ? Ccellw[above] : 0);
    const double dN = densityStep(north, above > 0 ? Ccelln[above] : 0);
    const double dS = densityStep(south, above > 0 ? Ccells[above] : 0);
    dx += sideDifference(east, west, dE, dW, dC);
    dy += sideDifference(north, south, dN, dS, dC);
    const double term = -(dx * (area[Cflatee[c]] + area[Cflatew[c]]) + dy * (area[Cflaten[c]] + area[Cflates[c]])) * 9810.0 * 0.5;
    if (target > 0) sum += term;
    else Csource[c] += term;
  }
  if (target > 0) Csource[target] += sum;
}

void addBaroclinic(int e, int dimension) {
  if (dimension == 3) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (Ccellt[c] == 0) columnBaroclinic(e, c, 0);
    }
    return;
  }
  for (const ColumnLink &link : columnLinks()) {
    if (link.cell >= WCStart && link.cell <= WCEnd) columnBaroclinic(e, link.top, link.cell);
  }
}

int columnBottom(int c) {
  while (Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

int columnTop(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// The report of an unusable U diagonal; the caller ends the step.
void reportUnusableDiagonal(int c) {
  logPrintf("Error 4, Cap(%d) = %e\n", c, Cap[c]);
  logPrintf("Velocities: %e %e %e\n", Cxvel[c], Cyvel[c], Czvel[c]);
  logPrintf("Volume = %e\n", Cvol[c]);
  logPrintf("Neighbour indexes: %d %d %d %d %d %d\n", Ccellt[c], Ccellb[c], Ccelle[c], Ccelln[c], Ccellw[c], Ccells[c]);
  const int bottom = columnBottom(c), top = columnTop(c);
  logPrintf("Bed level: %e", Czcenter[bottom] - Ckdist[bottom]);
  const int b = Cbed ? Cbed[c] : 0;
  if (b > 0 && b <= NoBCells) logPrintf("b = %d, i = %d, j = %d\n", b, Bkooi[b], Bkooj[b]);
  logPrintf("Water level: %e", Czcenter[top] + Ckdist[top]);
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "Error, Cap(%d) = %e\n", c, Cap[c]);
  setStatus(mc_message, message);
  FlagErrorBreak = 1;
}

// 1/Ap of U; false at the first cell whose diagonal cannot be inverted.
bool keepInverseDiagonal() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (!(Cap[c] >= 1e-30) || !std::isfinite(Cap[c])) {
      reportUnusableDiagonal(c);
      return false;
    }
    CinvAp[c] = 1.0 / Cap[c];
  }
  return true;
}

void relaxTowardsParents() {
  const double r = NestInterpolRelax;
  for (int c = 1; c <= NoCells; ++c) {
    const int n = Cinterpolnest[c];
    if (n != 0) Cf[c] = r * Cf[n] + (1.0 - r) * Cf[c];
  }
}

}  // namespace

void SimpleWater(int dimension) {
  const bool transient = TimeStep > 1e-8;
  const bool baroclinic = TemperatureFlag == 1 && relaxDensityTurb > 0.0 && Ccomp && Ccomp[0];
  const bool nested = NoNestflater > 0 && NestInterpolRelax > 1e-8 && Cinterpolnest;
  for (int e = 1; e <= 2; ++e) {
    double *u = e == 1 ? Cxvel : Cyvel;
    pointFields(e);
    clearCentreAndSource(WCStart, WCEnd);
    wall_laws(WCStart, WCEnd);
    pressure_source(WCStart, WCEnd);
    if (dimension == 2) gatherBoundaryTerms();
    else boundary();
    if (FlagCoriolis == 1) addCoriolis(e);
    if (Wind[0] > 1e-10) addWind(e);
    if (baroclinic) addBaroclinic(e, dimension);
    // The time term stands on the other side of the relaxation than in the
    // modular velocity step: after it unless F 74 is 1.
    if (TimeRelaxFlag == 1 && transient) addTimestep(WCStart, WCEnd);
    addNeighbourSum(WCStart, WCEnd, sou[1] == 1);
    relaxEquation(WCStart, WCEnd, relaxVelocity, invRelaxVelocity, u);
    if (TimeRelaxFlag != 1 && transient) addTimestep(WCStart, WCEnd);
    if (e == 1 && !keepInverseDiagonal()) return;
    Cf = u;
    MaxResidual[e] = 0.0;
    residual(WCStart, WCEnd);
    solver();
    if (nested) relaxTowardsParents();
  }
}
