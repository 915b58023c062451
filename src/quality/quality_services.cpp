// Groundwater is not built yet: a run that asks for it ends. The components
// of letter C live in quality/components, letter P in quality/vegetation.
#include "quality/quality_services.h"

#include "base/log.h"

void groundwater() { notAvailableYet("groundwater", "G, F 262"); }
