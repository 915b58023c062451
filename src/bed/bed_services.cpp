// Soil stress is not built yet: a run that asks for it ends.
#include "bed/bed_services.h"

#include "base/log.h"

void computeSoilStress() { notAvailableYet("computeSoilStress", "N"); }
