// Coefficients and point relaxation over the neighbour lists of independently
// layered columns (F 137), where one side of a cell touches several cells of
// the next column.
#pragma once

// Builds the list coefficients Cqnae..Cqnas of the cells WCStart..WCEnd for
// the current Equation, when the grid has lists (QNFlag above 0).
void QNGridCoeff();

// Point relaxation of cells first..last over the neighbour lists: exactly one
// forward and one backward pass, whatever the sweep count.
void GaussQN(int first, int last, int sweeps);

// The same pass on one chunk while other threads relax the neighbouring
// chunks of the same field.
void GaussQNShared(int first, int last);

// The serial Jacobi form of the block solvers on a QN grid: two steps into
// Cfn, each copied back to the field, whatever the sweep count.
void GaussNQN(int first, int last);

// The pressure-correction coefficients of the listed neighbours.
void pressureCoeffQN();
