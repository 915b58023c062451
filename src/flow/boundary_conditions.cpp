// Boundary conditions: not built yet, each routine does nothing.
#include "flow/boundary_conditions.h"

void boundary() {}
void computeOutflow() {}
