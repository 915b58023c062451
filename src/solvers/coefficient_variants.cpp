// Coefficient variants: the multigrid power law leaves nothing behind in the
// coeff_make build that runs it, so it does nothing yet; the bed-form
// diffusion of F 176 1..4 is not built yet and ends a run that asks for it.
#include "solvers/coefficient_variants.h"

#include "model/settings.h"
#include "startup/log.h"

void coeff_MGS(int, int) {}

double coeff_bedform(int, int, int) {
  if (FlagRBedformsmooth >= 1 && FlagRBedformsmooth <= 4) notAvailableYet("coeff_bedform", "F 176");
  return 0.0;
}
