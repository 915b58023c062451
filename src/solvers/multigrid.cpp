// Multigrid accelerator: not built yet; a run that asks for it ends.
#include "solvers/multigrid.h"

#include "startup/log.h"

void AlgMGMake() { notAvailableYet("AlgMGMake", "F 168"); }
