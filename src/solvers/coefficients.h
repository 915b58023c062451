// Convection-diffusion coefficients of the current Equation: the neighbour
// coefficients Cae..Cab (and Caee..Cabb for the second-order scheme) from
// the face fluxes and the eddy viscosity.
#pragma once

// Builds the coefficients of faces first..last with the scheme sou[Equation].
void coeff_make(int first, int last);
// Plain power-law coefficients (the variant builders of the stage regions).
void coeff_make_pow(int first, int last);
// Second-order upwind coefficients of the velocity equations.
void coeff_make_sou2(int first, int last);
// Deferred-correction sources of the limiter schemes (sou 10..19).
void coeff_make_source(int first, int last);
// Stratification damping of the vertical diffusion between a lower and an
// upper cell; 1 without damping.
double coeff_turbdens(int lower, int upper);
