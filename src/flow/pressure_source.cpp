// Pressure-gradient source: not built yet, does nothing.
#include "flow/pressure_source.h"

void pressure_source(int, int) {}
