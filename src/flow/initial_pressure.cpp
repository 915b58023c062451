// Initial pressure, pressure filter and time-step cut: not built yet; a run
// whose data sets ask for them ends.
#include "flow/initial_pressure.h"

#include "startup/log.h"

void initiatePressure() { notAvailableYet("initiatePressure", "F 540"); }
void pressureFilter() { notAvailableYet("pressureFilter", "F 426"); }
double computeChangeTimestep() { notAvailableYet("computeChangeTimestep", "F 336"); }
