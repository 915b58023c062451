// Convection-diffusion coefficients: not built yet, each routine does nothing.
#include "solvers/coefficients.h"

void coeff_make(int, int) {}
void coeff_make_pow(int, int) {}
void coeff_make_sou2(int, int) {}
void coeff_make_source(int, int) {}
double coeff_turbdens(int, int) { return 1.0; }
