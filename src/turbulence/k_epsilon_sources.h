// Production and dissipation of k and epsilon (Equation 5 or 6) over cells
// first..last, assigned to Csource and Cap.
#pragma once

void turbulence(int first, int last);
// On: the k build keeps the production rate of every cell it forms, and the
// epsilon build that follows takes the kept rates, for the stages that build
// both from the same velocities. Off: every build forms its own. Cells up to
// NoCells at the time it is turned on.
void keepRatesForEpsilon(bool keep);
// g x the vertical gradient of the relative density between two cells.
double densityDamp(int lower, int upper);
// S2 = 2 S:S of cell c from the velocity gradients by the Gauss theorem over
// its three pairs of opposite faces; a missing neighbour counts as the cell.
double strainRateSquared(int c);
