// The flow drivers other than the main one are not built yet: a run that
// chooses one ends instead of reporting a flow it never computed.
#include "flow/flow_drivers.h"

#include "startup/log.h"

void WaterSolveFast() { notAvailableYet("WaterSolveFast", "F 170"); }
void WaterSolveHydrostatic() { notAvailableYet("WaterSolveHydrostatic", "F 68"); }
void WaterSolve2D() { notAvailableYet("WaterSolve2D", "F 68"); }
void MGSsolver() { notAvailableYet("MGSsolver", "F 152"); }
int shallowWater() { notAvailableYet("shallowWater", "L"); }
