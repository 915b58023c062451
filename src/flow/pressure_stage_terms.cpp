// Extra pressure-correction terms: not built yet; the data sets that ask for
// them end the run as not available.
#include "flow/pressure_stage_terms.h"

#include "startup/log.h"

void presSurfFunction(int first, int last) {
  if (first <= last) notAvailableYet("presSurfFunction", "F 181");
}

void fluxCorrFunction(int, int) { notAvailableYet("fluxCorrFunction", "F 360"); }
