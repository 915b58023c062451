// Convection-diffusion coefficients of the suspended-sediment equation
// (Equation 7): the settling flux taken out of the vertical faces, the eddy
// diffusion divided by the Schmidt number, per grain size where needed, and
// the bed-slope deflection of the bed load between bottom cells.
#pragma once

// One grain size: the shared Cas..Cat of faces first..last.
void coeff_make1(int first, int last);

// Several grain sizes: for each size l the bottom and top coefficients into
// Cabm[l], Catm[l] (each size settles at its own speed) and the side
// coefficients into the shared Cas, Cae, Can, Caw.
void coeff_make2(int first, int last);

// The bed-load vector variants (F 78 5..9): all six coefficients of every
// size into Casm, Caem, Canm, Cawm, Cabm, Catm; nothing with scheme 1.
void coeff_make2m(int first, int last);

// Only the horizontal faces, after the face fluxes were rebuilt within a
// sediment step: sides 1..4 of the shared coefficients, no Schmidt number.
void coeff_make1H(int first, int last);

// F 78 5..9: the bed load of a bottom cell is turned down the transverse bed
// slope; the deflection flux goes upwind into the per-size side coefficient
// of the receiving cell and the centre coefficient of the giving one.
void coeff_make_bedvector(int first, int last);
