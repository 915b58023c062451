// Nested blocks in the equations: border sources from the parent cells and
// the coupled solves between fine and coarse cells.
#pragma once

void nestsource();             // border sources of the current Equation
void CoupledSolverNesting();   // coarse cells from their fine cells after a solve (F 261)
void CoupledSolver2Nesting();  // fine-cell sources into coarse cells before a solve (F 261)
