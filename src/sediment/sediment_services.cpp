// Sediment transport is not built yet: a run that asks for it ends.
#include "sediment/sediment_services.h"

#include "base/log.h"

int concRijn() { notAvailableYet("concRijn", "I"); }
void morphology_tsc() { notAvailableYet("morphology_tsc", "S"); }
