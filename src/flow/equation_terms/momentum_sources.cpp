// Momentum sources and sinks of the velocity equations: the ordered list of
// VelocitySources, and the bridge-deck drag, turbidity current, damping of
// shallow faces, thermocline buoyancy and normal stresses. They write Cap
// (terms that brake a velocity) and Csource (driving forces) of the cells.
#include "flow/equation_terms/momentum_sources.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "flow/boundaries/boundary_conditions.h"
#include "flow/equation_terms/stage_routines.h"
#include "flow/stages/stage_steps.h"
#include "grid/geometry/gradients.h"
#include "grid/blocks/nested_sources.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "solvers/coefficients.h"
#include "base/log.h"

namespace {

// The water depth at grid point (i, j), 0 where the surface lies below the bed.
double pointDepth(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// The shallow-face damping across the face f between bottom cells c and n
// whose depth is d: both columns braked in step up to the shorter's top.
void dampAcrossFace(int c, int n, int f, double d) {
  const double r = d / (Ckdist[c] + Ckdist[n]);
  if (r >= 0.5) return;
  const double F = 1000.0 * (1.0 - r * r);
  const double nx = Fvx[f], ny = Fvy[f];
  for (int x = c, y = n; x > 0 && y > 0; x = Ccellt[x], y = Ccellt[y]) {
    Cap[x] += F * std::fabs(Cxvel[x] * nx + Cyvel[x] * ny);
    Cap[y] += F * std::fabs(Cxvel[y] * nx + Cyvel[y] * ny);
  }
}

// The halving relaxation of every triangular cell (F 235 11).
void halveTriangularCells() {
  for (int c = WCStart; c <= WCEnd; ++c)
    if (Ctrekant[c] > 0) halveRelaxation(c, Cf);
}

void dampSlopingCellsOfRange() { dampSlopingCells(WCStart, WCEnd, Cf); }

void addDeadEndsOfRange() { addDeadEndCells(WCStart, WCEnd); }

void addGravity() { GravityFunction(Equation, WCStart, WCEnd); }

void addWind() { WindFunction(Equation); }

void addDensityGradients() { DensityGradients(3); }

void addThermocline() { addThermoclineBuoyancy(WCStart, WCEnd); }

void addDeferredCorrection() { coeff_make_source(WFStart, WFEnd); }

void stampSources() { otime[5] = wallClock(); }

VelocitySourceStep engineSteps[kVelocitySourceSteps] = {
    {"boundary", [] { return true; }, boundary},
    {"vegetation", [] { return FlagDragDLL > 0; }, extra_source},
    {"dune drag", [] { return FlagDragDune == 1 && Equation <= 3; }, computeDragDune},
    {"clock", [] { return FlagThixoIsComputing == 0; }, stampSources},
    {"gravity", [] { return FlagGravity > 0 || FlagGravityTerm > 0; }, addGravity},
    {"nesting", [] { return NoNestflater > 0; }, nestsource},
    // The speed of F 52 decides, also when the wind comes from "timei".
    {"wind", [] { return Wind[0] > 1e-10 && Equation != 3; }, addWind},
    {"density gradients", [] { return TemperatureFlag == 1 && FlagThermocline == 0; }, addDensityGradients},
    {"thermocline", [] { return FlagThermocline == 1 && Equation == 3; }, addThermocline},
    {"coriolis", [] { return FlagCoriolis == 1; }, CoriolisFunction},
    {"turbidity current", [] { return SourDens > 0.001 && Equation == 3; }, turbiditycurrentSource},
    {"deferred correction", [] { return sou[Equation] > 9; }, addDeferredCorrection},
    {"dead ends", [] { return OneCellSource == 1; }, addDeadEndsOfRange},
    {"triangular cells", [] { return FlagCorrTrekant == 11; }, halveTriangularCells},
    {"sloping cells", [] { return FlagDamp2 >= 1 && FlagDamp2 <= 3; }, dampSlopingCellsOfRange},
    {"shallow faces", [] { return FlagShallowDamp > 0; }, sourceShallowDamp},
    {"bridges", [] { return BridgeNo > 0; }, sourceBridge},
};

}  // namespace

VelocitySourceStep velocitySourceSteps[kVelocitySourceSteps] = {};

void restoreVelocitySourceSteps() { std::copy(std::begin(engineSteps), std::end(engineSteps), velocitySourceSteps); }

namespace {
// The table starts as the engine's own.
const bool kStepsFilled = (restoreVelocitySourceSteps(), true);
}  // namespace

void VelocitySources() {
  for (const VelocitySourceStep &step : velocitySourceSteps)
    if (step.applies()) step.run();
}

// Bridge decks: every cell of a listed column overlapping the deck's band
// gets 1000 Cd o w on Cap, o the overlap in m and w the column's width; below
// Cd 0.7 the overlap is weighed with the horizontal speed (a linearised
// quadratic drag), from 0.7 up it is a linear friction.
void sourceBridge() {
  for (int b = 1; b <= BridgeNo; ++b) {
    const BridgeEntry &deck = Bridge[b];
    const bool quadratic = deck.coefficient < 0.7;
    for (int i = deck.i1; i <= deck.i2; ++i) {
      for (int j = deck.j1; j <= deck.j2; ++j) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom <= 0) continue;
        const double width = std::sqrt(Barea[Cbed[bottom]]);
        for (int c = bottom; c > 0; c = Ccellt[c]) {
          const double top = Czcenter[c] + Ckdist[c], base = Czcenter[c] - Ckdist[c];
          double o = std::max(0.0, std::min(top, deck.upper) - std::max(base, deck.lower));
          if (quadratic) o *= std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]);
          Cap[c] += o * deck.coefficient * width * 1000.0;
        }
      }
    }
  }
}

void turbiditycurrentSource() {
  if (Cconc == nullptr || Cconc[0] == nullptr) return;
  const double weight = 1000.0 * 9.81 * (density - 1.0) * SourDens;
  for (int c = WCStart; c <= WCEnd; ++c) Csource[c] -= weight * Cvol[c] * Cconc[0][c];
}

// The columns of block 1 only, first across the east faces, then across the
// north faces. The depth is the mean of the two ends of the column's east
// edge, (i, j) and (i, j - 1), for both passes.
void sourceShallowDamp() {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  auto depth = [](int i, int j) {
    const double sum = pointDepth(i, j) + pointDepth(i, j - 1);
    return sum > 0.0 ? 0.5 * sum : 0.0;
  };
  for (int pass = 0; pass < 2; ++pass) {
    const bool east = pass == 0;
    for (int i = b.i1; i <= (east ? b.i2 - 1 : b.i2); ++i) {
      for (int j = b.j1; j <= (east ? b.j2 : b.j2 - 1); ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c <= 0) continue;
        const int n = east ? Ccelle[c] : Ccelln[c];
        const int f = east ? Cflatee[c] : Cflaten[c];
        if (n <= 0 || f <= 0 || Fflagflow[f] != 1) continue;
        dampAcrossFace(c, n, f, depth(i, j));
      }
    }
  }
}

// The deviatoric (F 324 1) or plain (F 324 2) normal stress of the velocity
// gradient on the side faces (U, V) or the top face (W).
void computeNormStress(int first, int last) {
  const int mode = FlagNormStress;
  if (mode != 1 && mode != 2) return;
  const int e = Equation;
  if (e < 1 || e > 3) return;
  for (int c = first; c <= last; ++c) {
    const double dudx = d_dx_orth_x(Cxvel, 1, c), dvdy = d_dx_orth_x(Cyvel, 2, c), dwdz = d_dx_orth_x(Czvel, 3, c);
    const double g = Cgamma[c];
    const double *area = e == 1 ? Fax : Fay;
    const double own = e == 1 ? dudx : (e == 2 ? dvdy : dwdz);
    const double faces = e == 3 ? Faz[Cflatet[c]]
                                : 0.5 * (area[Cflatee[c]] + area[Cflatew[c]] + area[Cflates[c]] + area[Cflaten[c]]);
    if (mode == 1) {
      const double mean = (dudx + dvdy + dwdz) * 0.333333;
      Csource[c] -= (own - mean) * g * faces;
    } else {
      Csource[c] += own * g * faces;
    }
  }
}

double relativeWaterDensity(double t) {
  return 0.9999726 * (1.0 - 9.297173e-06 * std::pow(std::fabs(t - 4.029325), 1.894816));
}

// 1000 Cvol times the density difference, without a gravity factor.
void addThermoclineBuoyancy(int first, int last) {
  if (Ccomp == nullptr || NoComponents < 1 || Ccomp[0] == nullptr) return;
  const double reference = relativeWaterDensity(Thermocline);
  for (int c = first; c <= last; ++c) Csource[c] += 1000.0 * Cvol[c] * (reference - relativeWaterDensity(Ccomp[0][c]));
}

bool thermoclineWithoutTemperature() {
  static bool warned = false;
  if (FlagThermocline != 1 || (NoComponents >= 1 && Ccomp != nullptr && Ccomp[0] != nullptr)) return false;
  if (!warned) {
    warned = true;
    logText("Warning: F 75 needs a temperature component (F 67 1); no thermocline buoyancy\n");
  }
  return true;
}

void halveRelaxation(int c, const double *u) {
  Csource[c] += Cap[c] * u[c];
  Cap[c] *= 2.0;
}

void dampSlopingCells(int first, int last, const double *u) {
  const int mode = FlagDamp2;
  if (mode < 1 || mode > 3) return;
  for (int c = first; c <= last; ++c) {
    if (!slopingBed(c)) continue;
    if (mode == 1 && !singleCellColumn(c)) continue;
    halveRelaxation(c, u);
    if (mode == 3) {
      for (int n : {Ccellw[c], Ccells[c], Ccelle[c], Ccelln[c]})
        if (n > 0) halveRelaxation(n, u);
    }
  }
}
