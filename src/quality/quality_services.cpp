// Groundwater and vegetation are not built yet: a run that asks for them
// ends. The components of letter C live in quality/components.
#include "quality/quality_services.h"

#include "base/log.h"

void groundwater() { notAvailableYet("groundwater", "G, F 262"); }
int computeVegdataFromSTL() { notAvailableYet("computeVegdataFromSTL", "P"); }
