// Process sources not built yet: the data sets that ask for them end the
// run as not available. The component sources live in quality/components,
// wind, the Coriolis force and the density gradients in quality/forces.
#include "quality/process_sources.h"

#include "base/log.h"

void extra_source() { notAvailableYet("extra_source", "F 115"); }
