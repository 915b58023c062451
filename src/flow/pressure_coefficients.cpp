// Pressure-correction coefficients: not built yet, does nothing.
#include "flow/pressure_coefficients.h"

void pressure_coeff() {}
