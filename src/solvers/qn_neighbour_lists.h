// Coefficients and point relaxation over the neighbour lists of independently
// layered columns (F 137), where one side of a cell touches several cells of
// the next column.
#pragma once

// Builds the list coefficients Cqnae..Cqnas of the cells WCStart..WCEnd for
// the current Equation.
void QNGridCoeff();

// Symmetric point relaxation of cells first..last that reads the neighbour
// lists (one forward and one backward pass).
void GaussQN(int first, int last, int sweeps);

// The pressure-correction coefficients of the listed neighbours.
void pressureCoeffQN();
