// Line solver: not built yet; F 186 ends the run as not available.
#include "solvers/line_solver.h"

#include "startup/log.h"

void solverTDMA() { notAvailableYet("solverTDMA", "F 186"); }
