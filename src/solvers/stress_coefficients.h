// Coefficients of the displacement equations of an elastic soil body under
// its own weight, on the flow grid and in the flow's coefficient set.
#pragma once

// Builds the neighbour coefficients of faces first..last for the displacement
// equation `equation` (3 z, 2 y, 1 x) by FlagStressStrain: 9 a normal and a
// shear stiffness per face, 5 one-dimensional compression with MModulus, 2
// stiffnesses switched by the sign of Fflux; other values build nothing.
void coeff_make_stress(int equation, int first, int last);
