// Cross-section continuity correction: not built yet; F 413 ends the run as
// not available.
#include "flow/continuity_corrections.h"

#include "startup/log.h"

void correctContinuity2() { notAvailableYet("correctContinuity2", "F 413"); }
