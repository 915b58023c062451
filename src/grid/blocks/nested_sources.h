// Nested blocks in the equations: border sources from the parent cells and
// the coupled solves between fine and coarse cells.
#pragma once

void nestsource();             // border sources of the current Equation
// Border sources of a water-quality component: the parent cells' values of
// the component's own field, by the nest weights (updated with the first
// component, Equation 8).
void nestComponentSource(const double *component);
void CoupledSolverNesting();   // coarse cells from their fine cells after a solve (F 261)
void CoupledSolver2Nesting();  // fine-cell sources into coarse cells before a solve (F 261)
