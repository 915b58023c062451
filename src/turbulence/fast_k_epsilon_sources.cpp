// The standard k-epsilon sources of the fast flow driver with fixed
// constants: writes Csourcem[3], Csourcem[4], CinvApf[3] and CinvApf[4] over
// the work range and clears the dummy cell's velocities and half extents.
#include "turbulence/fast_k_epsilon_sources.h"

#include "model/cells.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "turbulence/k_epsilon_sources.h"
#include "turbulence/wall_law_cells.h"

// The five rows share one set of neighbour coefficients, so k and epsilon
// diffuse with the eddy viscosity of U itself. The production of k is the
// shear production Cgamma S2 V; at cells with a wall face the wall law sets
// it. The dissipation of k is implicit (1000 epsilon/k V in the centre
// coefficient), epsilon is produced by 1.44 times the k production per
// unit k and dissipated by 1.92 (1920 = 1.92 x 1000). The other drivers
// raise their epsilon production by 1.3 only to undo the lowered viscosity
// of the epsilon equation; the five rows here share the unlowered one, so
// the standard constants stand as they are.
void turbulenceFast() {
  const int model = TurbulenceModel;
  if (model >= 2 && model <= 7) return;
  const int first = WCStart, last = WCEnd;
  double *pk = Csourcem[3], *pe = Csourcem[4], *dk = CinvApf[3], *de = CinvApf[4];
  // Every cell's own terms, on the cell chunks of F 206.
  forEachChunk(first, last, [pk](int a, int b) {
    for (int c = a; c <= b; ++c) {
      if (wall_cells::wallSides(c) == 0) pk[c] = Cgamma[c] * strainRateSquared(c) * Cvol[c];
    }
  });
  // The dummy cell stays empty for every later reader of a missing neighbour.
  Cxvel[0] = Cyvel[0] = Czvel[0] = 0.0;
  Cidist[0] = Cjdist[0] = Ckdist[0] = 0.0;
  // RNG: a smaller k production; epsilon keeps the full one.
  const double kFactor = model == 1 ? 0.719 : 1.0;
  forEachChunk(first, last, [=](int a, int b) {
    for (int c = a; c <= b; ++c) {
      const double r = Cepsilon[c] / (Ckinen[c] + 1e-20), v = Cvol[c];
      dk[c] = 1000.0 * r * v;
      pe[c] = pk[c] * r * 1.44;
      de[c] = 1920.0 * r * v;
      if (kFactor != 1.0) pk[c] *= kFactor;
    }
  });
}
