// Source hooks of the flow stages, column by column: gravity and the bed-form
// and roughness-layer drag on the momentum equations (Csource, Cap), the
// Froude-number pressure and the seiche rebuilds of the vertical fluxes.
#include "flow/stage_routines.h"

#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "startup/log.h"

namespace {

double horizontalSpeed(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// The weight of a cell shared with its vertical neighbours so that the
// pressure difference between two centres carries the water between them:
// half of each neighbouring cell at the top and bottom of the column.
void subtractSharedWeight(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int t = Ccellt[c], b = Ccellb[c];
    if (t == 0 && b > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[b]);
    else if (b == 0 && t > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[t]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

// As above, the inner cells weighing a quarter of each neighbour as well.
void subtractSpreadWeight(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int t = Ccellt[c], b = Ccellb[c];
    if (t == 0 && b > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[b]);
    else if (b == 0 && t > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[t]);
    else if (t > 0 && b > 0) Csource[c] -= 2452.5 * (2.0 * Cvol[c] + Cvol[t] + Cvol[b]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

// The surface slope drives the horizontal flow: every cell of a column takes
// the along-slope weight of the normal of the column's top face.
void addSurfaceSlope(int eq, int first, int last) {
  const double *normal = eq == 1 ? Fvx : Fvy;
  for (int t = first; t <= last; ++t) {
    if (Ccellt[t] != 0) continue;
    const double s = 9810.0 * normal[Cflatet[t]];
    for (int c = t; c > 0; c = Ccellb[c]) Csource[c] += Cvol[c] * s;
  }
}

// The weight of a slide or mud layer: block 1 with the first mode, the
// appended layer block (without its bottom cells) with the others.
void subtractLayerWeight() {
  if (FlagThixo == 1) {
    subtractSharedWeight(block[1].FirstCell, block[1].LastCell);
    return;
  }
  if (NoBlocks < 2 || block[2].LayerMark <= 0) return;
  for (int c = block[2].FirstCell; c <= block[2].LastCell; ++c) {
    if (Ccellb[c] == 0) continue;
    if (Ccellt[c] == 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[Ccellb[c]]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

}  // namespace

// Gravity in the momentum equations: the surface slope on U and V (F 135),
// the weight of the water on W (F 181, or F 36 1 and 11..19, which solve the
// surface in time and need the weight in the pressure), the slide-layer
// weight, and a fixed along-slope drive of U (F 181 4, slope F 505).
void GravityFunction(int eq, int first, int last) {
  if (FlagThixo > 0 && FlagThixoIsComputing == 0) return;
  if (FlagGravityTerm >= 1 && eq <= 2) {
    addSurfaceSlope(eq, first, last);
    return;
  }
  if (eq == 3 && FlagThixo == 0) {
    switch (FlagGravity) {
      case 1: subtractSharedWeight(first, last); break;
      case 2:
        for (int c = first; c <= last; ++c) Csource[c] -= 9810.0 * Cvol[c];
        return;
      case 3: subtractSpreadWeight(first, last); break;
      default: break;
    }
  }
  if (eq == 3 && FlagThixo >= 1) {
    subtractLayerWeight();
    return;
  }
  if (FlagGravity == 4 && Equation == 1 && FlagThixo == 0) {
    const double drive = 9810.0 * GravitySlope;
    for (int c = first; c <= last; ++c) Csource[c] += drive * Cvol[c];
  }
}

void computeTramel(int first, int last) {
  if (first <= last) notAvailableYet("computeTramel", "F 189");
}

void computeDragDune() { notAvailableYet("computeDragDune", "F 498"); }

void FroudeHystatFunction() { notAvailableYet("FroudeHystatFunction", "F 93"); }

void SeicheFunctions() { notAvailableYet("SeicheFunctions", "F 69"); }
