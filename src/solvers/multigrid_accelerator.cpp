// Multigrid accelerator solve: not built yet; F 168 with K 5 values 10..12
// ends the run as not available.
#include "solvers/multigrid_accelerator.h"

#include "startup/log.h"

void AlgMGSolve() { notAvailableYet("AlgMGSolve", "F 168"); }
