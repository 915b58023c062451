// Eddy viscosity of the turbulence models: Cgamma (side faces) and CgammaV
// (bottom and top faces), 1000 x m2/s, for the current Equation.
#pragma once

void GammaCalc(int first, int last);
