// The flow drivers other than the main one are not built yet: a run that
// chooses one ends instead of reporting a flow it never computed.
#include "flow/flow_drivers.h"

#include "startup/log.h"

void WaterSolveNew() { notAvailableYet("WaterSolveNew", "F 328"); }
void WaterSolveFast() { notAvailableYet("WaterSolveFast", "F 170"); }
