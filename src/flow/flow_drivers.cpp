// Flow drivers that are not built yet: each does nothing.
#include "flow/flow_drivers.h"

void WaterSolveNew() {}
void WaterSolveFast() {}
void WaterSolveHydrostatic() {}
void WaterSolve2D() {}
void MGSsolver() {}
int shallowWater() { return 0; }
