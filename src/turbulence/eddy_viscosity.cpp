// Eddy viscosity: not built yet, does nothing.
#include "turbulence/eddy_viscosity.h"

void GammaCalc(int, int) {}
