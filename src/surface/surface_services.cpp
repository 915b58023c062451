// Free-surface operations that are not built yet. The letter Q keeps a
// do-nothing backwater curve; every other one ends the run that reaches it.
#include "surface/surface_services.h"

#include "startup/log.h"

void backwater() { notAvailableYet("backwater", "Q"); }

void surface_LS_update() { notAvailableYet("surface_LS_update", "F 36 50"); }
void surface_LS() { notAvailableYet("surface_LS", "F 36 50"); }

// The two-dimensional level solver is not built yet; its only caller so far
// is the roughness fill of letter K.
void surfaceSolver(int) { notAvailableYet("surfaceSolver", "letter K"); }

void reducePonds() { notAvailableYet("reducePonds", "F 379"); }
void NoGridSplit() { notAvailableYet("NoGridSplit", "F 371"); }
void NoGridSplitRise() { notAvailableYet("NoGridSplitRise", "F 371"); }
void smoothNewCorners() { notAvailableYet("smoothNewCorners", "F 425"); }
void interpolateSurfaceNested() { notAvailableYet("interpolateSurfaceNested", "F 238"); }
void scalePressureNested() { notAvailableYet("scalePressureNested", "F 238"); }
