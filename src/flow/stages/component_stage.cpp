// The component stage of an inner iteration: every water-quality component
// transported with one set of coefficients over the whole grid, with its own
// sources and time term, and the component results written when due.
#include "flow/boundaries/boundary_conditions.h"
#include "flow/outer_steps/driver_state.h"
#include "flow/boundaries/face_fluxes.h"
#include "flow/stages/flow_stages.h"
#include "flow/stages/stage_steps.h"
#include "files/file_services.h"
#include "grid/blocks/nested_sources.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "solvers/coefficients.h"
#include "solvers/net_outflow.h"
#include "solvers/point_solver.h"
#include "turbulence/eddy_viscosity.h"

namespace {

// Cells of nested blocks take the flow of their parent cells.
void copyParentFlow() {
  for (int c = 1; c <= NoCells; ++c) {
    const int p = Cinterpolnest[c];
    if (p <= 0) continue;
    Cxvel[c] = Cxvel[p];
    Cyvel[c] = Cyvel[p];
    Czvel[c] = Czvel[p];
    Ckinen[c] = Ckinen[p];
    Cepsilon[c] = Cepsilon[p];
    Cpres[c] = Cpres[p];
    Cgamma[c] = Cgamma[p];
  }
}

// The equation of component n: the shared neighbour coefficients, its
// sources, the time term with its old values, and two solves. Components
// are neither under-relaxed nor counted in the residuals.
void solveComponent(int n) {
  for (int c = 1; c <= NoCells; ++c) Cap[c] = 0.0;
  addNeighbourSum(1, NoCells, sou[8] == 1);
  // What the cell gives away, so that no component is made or lost where
  // the face fluxes of the iteration do not close.
  addNetOutflow(WFStart, WFEnd, Cap, {{nullptr, Cas, Cae, Can, Caw, Cab, Cat}}, 0.0, implicitShare(sou[8] == 1));
  addGroupOutflow(Cap, false);
  for (int c = 1; c <= NoCells; ++c) Csource[c] = 0.0;
  Equation = 8 + n;
  nestComponentSource(Ccomp[n]);
  CompSource();
  // Components keep a time level only with F 62 1, which shifts their old
  // values every time step; without it the equation has no time term.
  if (TimeStep > 1e-8 && FlagTComp == 1 && Ccomp_old != nullptr) {
    Cf_old = Ccomp_old[n];
    const double *old = Ccomp_old[n];
    for (int c = 1; c <= NoCells; ++c) {
      const double storage = 1000.0 * Cvol[c] / TimeStep;
      Cap[c] += storage;
      Csource[c] += storage * old[c];
    }
  }
  Cf = Ccomp[n];
  solver();
  solver();
}

}  // namespace

void componentStage() {
  if (NoComponents <= 0) return;
  // The components are transported over the whole grid, and the work
  // ranges stay so for the rest of the driver call.
  setWholeGridRange(NoCells, NoSurfaces);
  if (NoNestflater > 0) copyParentFlow();
  Equation = 8;
  GammaCalc(1, NoCells);
  waterflow(WFStart, WFEnd);
  coeff_make(WFStart, WFEnd);
  for (int n = 0; n < NoComponents; ++n) solveComponent(n);
  if (FlagTSC == 0 && PrintComp != 0 && StageInner == TransInnerIter && isMultiple(Iter, PrintComp))
    writeConqRes();
}
