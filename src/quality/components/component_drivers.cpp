// The water-quality component drivers: run letter C computes the
// components on the flow in memory, steady or transient, and the hydrostatic
// driver (F 68 1) takes its component step. Writes Ccomp, Ccomp_old, the
// coefficient set, Cf and Equation.
#include "quality/components/component_drivers.h"

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "flow/outer_steps/driver_steps.h"
#include "flow/stages/stage_steps.h"
#include "grid/blocks/nested_sources.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "quality/quality_services.h"
#include "solvers/coefficients.h"
#include "solvers/net_outflow.h"
#include "solvers/point_solver.h"
#include "startup/operations.h"
#include "turbulence/eddy_viscosity.h"

namespace {

// What each cell gives away: its net outflow and the outflow groups' water,
// so that a component is neither made nor lost where the fluxes do not close.
void addComponentOutflow() {
  addNetOutflow(WFStart, WFEnd, Cap, {{nullptr, Cas, Cae, Can, Caw, Cab, Cat}}, 0.0, implicitShare(sou[8] == 1));
  addGroupOutflow(Cap, false);
}

// The diagonal every component of letter C starts from: the neighbour
// coefficients (second neighbours across the sides with the second-order
// scheme) and, in a transient run, the time term. What the sources of one
// component add never reaches the next.
void letterDiagonal(bool transient) {
  const double perVolume = transient ? 1000.0 / TimeStep : 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    Cap[c] = Cae[c] + Caw[c] + Cat[c] + Cab[c] + Cas[c] + Can[c] + perVolume * Cvol[c];
  }
  if (sou[8] == 1) {
    for (int c = 1; c <= NoCells; ++c) Cap[c] += Caee[c] + Cann[c] + Cass[c] + Caww[c];
  }
  addComponentOutflow();
}

// Two solves of component n, Cf pointed back where it was.
void solveInto(int n) {
  double *kept = Cf;
  Cf = Ccomp[n];
  solver();
  solver();
  Cf = kept;
}

}  // namespace

void Components() {
  logText("Started components\n");
  prepareFlowInMemory();
  const bool transient = TimeStep > 1e-8;

  // One set of coefficients serves every component; nothing passes the
  // water surface.
  Equation = 8;
  GammaCalc(WCStart, WCEnd);
  std::fill(Cap + WCStart, Cap + WCEnd + 1, 0.0);
  stimet = 0.0;
  coeff_make(WFStart, WFEnd);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) Cat[c] = 0.0;
  }
  // A transient run starts from clean water.
  if (transient) {
    for (int n = 0; n < NoComponents; ++n) std::fill(Ccomp[n] + 1, Ccomp[n] + NoCells + 1, 0.0);
  }
  if (transient && TimePrintNo > 0) emptyTimeSeriesOutput();

  const int outerCount = transient ? iterGlobalMax : 1;
  if (outerCount < 1) return;
  const OrdinarySolves ordinary;
  for (int r = 0; r < outerCount; ++r) {
    if (transient) {
      for (int n = 0; n < NoComponents; ++n) std::copy(Ccomp[n] + 1, Ccomp[n] + NoCells + 1, Ccomp_old[n] + 1);
      stimet += TimeStep;
    }
    for (int i = 0; i < TransInnerIter; ++i) {
      for (int n = 0; n < NoComponents; ++n) {
        char status[kStatusTextLength];
        std::snprintf(status, sizeof status, "Loop0 %d %d %d", r, i, n);
        setStatus(mc_message, status);
        Equation = 8 + n;
        letterDiagonal(transient);
        for (int c = 1; c <= NoCells; ++c) {
          Csource[c] = transient ? 1000.0 * Cvol[c] * Ccomp_old[n][c] / TimeStep : 0.0;
        }
        CompSource();
        nestComponentSource(Ccomp[n]);
        solveInto(n);
      }
    }
  }
}

void SimpleComponents() {
  Equation = 8;
  GammaCalc(WCStart, WCEnd);
  operations.waterflow(WFStart, WFEnd);
  coeff_make(WFStart, WFEnd);
  // Components keep a time level only with F 62 1, as the flow drivers do.
  const bool transient = TimeStep > 1e-8 && FlagTComp == 1 && Ccomp_old;
  const OrdinarySolves ordinary;
  for (int n = 0; n < NoComponents; ++n) {
    std::fill(Csource + WCStart, Csource + WCEnd + 1, 0.0);
    std::fill(Cap + WCStart, Cap + WCEnd + 1, 0.0);
    addNeighbourSum(WCStart, WCEnd, sou[8] == 1);
    addComponentOutflow();
    Equation = 8 + n;
    if (transient) {
      Cf_old = Ccomp_old[n];
      for (int c = WCStart; c <= WCEnd; ++c) {
        const double storage = 1000.0 * Cvol[c] / TimeStep;
        Cap[c] += storage;
        Csource[c] += storage * Ccomp_old[n][c];
      }
    }
    nestComponentSource(Ccomp[n]);
    CompSource();
    Cf = Ccomp[n];
    solver();
    solver();
  }
}
