// Pressure filter: not built yet; F 426 ends the run as not available.
#include "flow/pressure_filter.h"

#include "startup/log.h"

void pressureFilter() { notAvailableYet("pressureFilter", "F 426"); }
