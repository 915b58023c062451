// The pressure-correction filter of F 372 = 1: not in the engine yet, so a
// run that asks for it ends here as not available.
#include "flow/pressure_filter.h"

#include "startup/log.h"

void FilterPressure() { notAvailableYet("FilterPressure", "F 372 1"); }
