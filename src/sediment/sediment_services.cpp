// The sediment time loop is not built yet: a run that asks for it ends.
#include "sediment/sediment_services.h"

#include "base/log.h"

void morphology_tsc() { notAvailableYet("morphology_tsc", "S"); }
