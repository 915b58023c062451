// Process sources not built yet: the data sets that ask for them end the
// run as not available. The component sources live in quality/components,
// the vegetation and blockage terms in quality/vegetation.
#include "quality/process_sources.h"

#include "base/log.h"

void WindFunction(int) { notAvailableYet("WindFunction", "F 52"); }

void CoriolisFunction() { notAvailableYet("CoriolisFunction", "F 51"); }

void DensityGradients(int) { notAvailableYet("DensityGradients", "F 67"); }
