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

// Power-law factor of the diffusion of a face with Peclet number Pe: the
// diffusion fades as convection dominates, none from Pe 10.
inline double powerLawFactor(double Pe) {
  if (Pe > 20.0) return 0.0;
  const double b = 1.0 - 0.1 * Pe;
  return b > 0.0 ? b * b * b * b * b : 0.0;
}

// The convection pass of the second-order upwind scheme: the rows its
// vertical faces add into (a grain size's own, for the sediment), the part
// 1000·w·Faz of a fall velocity w taken out of the flux of vertical faces,
// whether faces marked in Fqndum are left to the QN lists, and whether only
// horizontal faces are treated.
struct UpwindPass {
  double *top, *bottom;
  double settling;
  bool skipListedFaces;
  bool horizontalOnly;
};
void secondOrderConvectionPass(int first, int last, const UpwindPass &pass);

// The diffusivity of the interior face f between c1 and c2, unclamped: with
// `constantViscosity` (TurbulenceModel 6) TCvert or TChoriz, else CgammaV
// (vertical faces) or Cgamma interpolated so that the nearer cell weighs more.
double faceDiffusivity(int f, int c1, int c2, bool vertical, bool constantViscosity);

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
