// Continuity defect: not built yet, does nothing.
#include "flow/continuity_defect.h"

void pressure_fluxes() {}
