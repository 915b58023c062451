// Multigrid accelerator: not built yet; a run that asks for it ends.
#include "solvers/multigrid.h"

#include "startup/log.h"

void AlgMGMake() { notAvailableYet("AlgMGMake", "F 168"); }

// The level solver's sweeps alone reach the answer; the accelerator only
// shortens the way, so until it exists it does nothing.
void AlgMGSurf() {}
void AlgMGSurfCasulli() {}
