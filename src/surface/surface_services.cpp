// Free-surface operations that are not built yet: each ends the run that
// reaches it.
#include "surface/surface_services.h"

#include "startup/log.h"

void interpolateSurfaceNested() { notAvailableYet("interpolateSurfaceNested", "F 238"); }
void scalePressureNested() { notAvailableYet("scalePressureNested", "F 238"); }
