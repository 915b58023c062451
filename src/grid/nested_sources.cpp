// Nested-block sources and coupled solves: not built yet; a grid with nested
// blocks or F 261 ends the run as not available.
#include "grid/nested_sources.h"

#include "startup/log.h"

void nestsource() { notAvailableYet("nestsource", "nested blocks"); }

void CoupledSolverNesting() { notAvailableYet("CoupledSolverNesting", "F 261"); }

void CoupledSolver2Nesting() { notAvailableYet("CoupledSolver2Nesting", "F 261"); }
