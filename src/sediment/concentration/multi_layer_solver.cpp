// The multi-layer concentration solver: the pick-up of each bottom cell is
// the settling coefficient times the equilibrium value of the size's share in
// the bed material within the active depth, limited by what that material
// can give in one time step; the bed change is recomputed after each solve.
#include "sediment/concentration/multi_layer_solver.h"

#include <algorithm>
#include <cstdio>

#include "bed/layers/bed_layer_operations.h"
#include "bed/layers/multi_layer_update.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "sediment/concentration/concentration_solvers.h"
#include "solvers/sediment_solvers.h"

namespace {

// The depth (<= 0) down to which the bed material is available: the active
// thickness below the bed as changed so far in this step, or the armour
// depth of F 447, never below the stack.
double activeDepth(int b, double active) {
  const double bottom = -stackThickness(b);
  const double depth = FlagArmourDepth == 0 ? Bedmove[b] - active : computeArmourDepth(b, active);
  return std::max(depth, bottom);
}

void setIterationStatus(int i) {
  char text[kStatusTextLength];
  std::snprintf(text, sizeof text, "Iter, %d   ", i);
  setStatus(mc_message, text);
}

}  // namespace

void pickUpFromLayers(int b, int c, double active) {
  double a[kMaxGrainSizes + 1];
  computeAvailableFraction(b, a, activeDepth(b, active));
  double sum = 1e-30;
  for (int l = 1; l <= lnumber; ++l) sum += a[l];
  const int top = BlayerTop[b];
  const double tau = 300.0 * Ckinen[c];
  const bool eroding = Bedmove[b] < 0.0;
  // Cohesive material holds while the bed shear stays below its cohesion;
  // a column without layers has nothing to erode anyway.
  const bool bedHolds = eroding && FlagCohesion == 2 && top >= 0 && Bcohesion[top][b] > tau;
  const double perStep = Barea[b] * 1000.0 / TimeStep;
  for (int l = 1; l <= lnumber; ++l) {
    const double Cn = Cconc[l][c];
    const double D = fallvelo[l] * Faz[Cflateb[c]] * 1000.0;
    const double layerRate = a[l] * perStep;
    double Esup = FlagMaxFlux == 1 ? layerRate + Cn * D : std::max(layerRate, Cn * D);
    if (eroding && ((cohesive[l] > 1e-10 && cohesive[l] > tau) || bedHolds)) Esup = 0.0;
    double Ceq = a[l] / sum * Bconc[l][b];
    if (FlagBedVer > 0) {
      Ceq = std::max(Ceq, Cn);
      if (FlagBedVer != 1) Ceq = std::min(Ceq, Bconc[l][b]);
    }
    double E = std::min(Esup, D * Ceq);
    if (E < 1e-30) E = 0.0;
    Csourcem[l][c] = Bsource[l][b] + E;
    Bupflux[l][b] = E;
  }
}

void morphology_tsc_solver_tsc3_standard() {
  const double active = referenceLayerThickness();
  for (int b = WBStart; b <= WBEnd; ++b) {
    Bedmove[b] = 0.0;
    for (int l = 1; l <= lnumber; ++l) Bupflux[l][b] = 0.0;
  }
  // Cleared here too, so that a run without inner iterations adds no
  // earlier step's bed change a second time.
  SumBedChangeLoc = 0.0;
  const bool bedVector = BedLoadVectorFlag >= 5 && BedLoadVectorFlag <= 9;
  for (int i = 0; i < iter_morph; ++i) {
    setIterationStatus(i);
    for (int b = WBStart; b <= WBEnd; ++b) {
      const int c = Bcellt[b];
      if (c > 0) pickUpFromLayers(b, c, active);
    }
    for (int l = 1; l <= lnumber; ++l) {
      if (BedLoadVectorFlag == 1 && i == 1) bedVectorSourceCall(l);
      Cf = Cconc[l];
      if (bedVector) solver2m(l);
      else solver2(l);
      double *conc = Cconc[l];
      for (int c = WCStart; c <= WCEnd; ++c) {
        if (conc[c] < 1e-30) conc[c] = 0.0;
      }
    }
    SumBedChangeLoc = 0.0;
    for (int b = WBStart; b <= WBEnd; ++b) computeBedmove(b);
  }
  SumBedChange += SumBedChangeLoc;
}
