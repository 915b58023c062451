// Boundary fluxes: not built yet, does nothing.
#include "flow/boundary_fluxes.h"

void boundaryFluxes() {}
