// Turbulence models beyond the constant-coefficient eddy viscosity: the
// realizable k-epsilon model and epsilon from k and a length scale.
#pragma once

// Model 17: Cgamma of cells first..last with a coefficient that follows the
// local strain and rotation in place of 0.09.
void GammaCalcRealizable(int first, int last);

// Models 18 to 20: epsilon of the work range from k and a length (the eddy
// viscosity, the height of the density current, the water depth) in place of
// an epsilon equation. Any other model ends the run (-8).
void computeEpsilon();
