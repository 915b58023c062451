// Small stage routines: not built yet; the data sets that ask for them end
// the run as not available.
#include "flow/stage_routines.h"

#include "startup/log.h"

void GravityFunction(int, int first, int last) {
  if (first <= last) notAvailableYet("GravityFunction", "F 181 or F 135");
}

void computeTramel(int first, int last) {
  if (first <= last) notAvailableYet("computeTramel", "F 189");
}

void computeDragDune() { notAvailableYet("computeDragDune", "F 498"); }

void FroudeHystatFunction() { notAvailableYet("FroudeHystatFunction", "F 93"); }

void SeicheFunctions() { notAvailableYet("SeicheFunctions", "F 69"); }
