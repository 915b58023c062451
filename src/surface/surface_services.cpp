// Free-surface operations that are not built yet: each ends the run that
// reaches it.
#include "surface/surface_services.h"

#include "startup/log.h"

void surface_tfs(int, int) { notAvailableYet("surface_tfs", "F 36"); }
void surface_LS_update() { notAvailableYet("surface_LS_update", "F 36 50"); }
void surface_LS() { notAvailableYet("surface_LS", "F 36 50"); }
void computeSetPresZero() { notAvailableYet("computeSetPresZero", "F 128, F 549"); }

void surfaceEdge(double) { notAvailableYet("surfaceEdge", "F 187"); }
void surface_smoother() { notAvailableYet("surface_smoother", "F 154"); }
void reducePonds() { notAvailableYet("reducePonds", "F 379"); }
void NoGridSplit() { notAvailableYet("NoGridSplit", "F 371"); }
void NoGridSplitRise() { notAvailableYet("NoGridSplitRise", "F 371"); }
void smoothNewCorners() { notAvailableYet("smoothNewCorners", "F 425"); }
void interpolateSurfaceNested() { notAvailableYet("interpolateSurfaceNested", "F 238"); }
void scalePressureNested() { notAvailableYet("scalePressureNested", "F 238"); }
