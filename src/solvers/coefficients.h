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

// The turbulence-model factor of the diffusion of the current Equation.
double diffusionFactor();
// Limiter psi(r) of deferred-correction scheme 10..19; 0 for other codes and
// where the closed form is not a number.
double deferredLimiter(int scheme, double r);
// The face pass of coeff_make_sou2 over faces first..last: 0, or the first
// face with a side code its cell cannot have (negative for Fcell1's side).
// A chunk of a stage region calls it and the caller reports after the join.
int coeffSou2Faces(int first, int last);
// Logs and ends the process for a failure of coeffSou2Faces (-77 for the
// first cell's side, -78 for the second); nothing for 0.
void reportSou2Failure(int failure);

// The same builds cut into the NoProcessesSolver face chunks of a stage
// region; each gives the coefficient set of one call over the whole range.
void coeff_make_chunked(int first, int last);
void coeff_make_pow_chunked(int first, int last);
void coeff_make_sou2_chunked(int first, int last);
