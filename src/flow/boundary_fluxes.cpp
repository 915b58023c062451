// Boundary fluxes: not built yet, does nothing.
#include "flow/boundary_fluxes.h"

#include "model/settings.h"

void boundaryFluxes() {}
double inflowRoughness() { return XksInflow; }
