// Free-surface operations that are not built yet: each ends the run that
// reaches it.
#include "surface/surface_services.h"

#include "startup/log.h"

void surface_LS_update() { notAvailableYet("surface_LS_update", "F 36 50"); }
void surface_LS() { notAvailableYet("surface_LS", "F 36 50"); }
void reducePonds() { notAvailableYet("reducePonds", "F 379"); }
void interpolateSurfaceNested() { notAvailableYet("interpolateSurfaceNested", "F 238"); }
void scalePressureNested() { notAvailableYet("scalePressureNested", "F 238"); }
void computeWeirs() { notAvailableYet("computeWeirs", "weirs"); }
