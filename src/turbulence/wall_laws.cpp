// Wall laws: not built yet, does nothing.
#include "turbulence/wall_laws.h"

void wall_laws(int, int) {}
