// Production and dissipation of k and epsilon (Equation 5 or 6) over cells
// first..last, assigned to Csource and Cap.
#pragma once

void turbulence(int first, int last);
// g x the vertical gradient of the relative density between two cells.
double densityDamp(int lower, int upper);
