// Free-surface operations that are not built yet: each ends the run that
// reaches it.
#include "surface/surface_services.h"

#include "startup/log.h"

void computeWeirs() { notAvailableYet("computeWeirs", "weirs"); }
