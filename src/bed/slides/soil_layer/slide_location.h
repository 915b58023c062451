// Where the soil layer fails and which slides are unstable.
#pragma once

// Three double Gauss-Seidel sweeps (first..last, then last..first) over the
// bed cells of field f, indexed by bed cell, with the bottom cells'
// coefficients: north and south are the bed cells b+1 and b-1, east and west
// those of the neighbour cells; every value stays at most bound.
void solverB(double *f, int first, int last, double bound);
