// Solver dispatcher: not built yet, does nothing.
#include "solvers/point_solver.h"

void solver() {}
