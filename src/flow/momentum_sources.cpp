// Momentum sources: not built yet; F 18 ends the run as not available.
#include "flow/momentum_sources.h"

#include "startup/log.h"

void turbiditycurrentSource() { notAvailableYet("turbiditycurrentSource", "F 18"); }
