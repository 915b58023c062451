// Corrections of k at the bottom cells of discharge boundaries before the
// bed shear is taken from it: the first cell of an inflow often carries an
// unrepresentative k, and shallow outflows may need extra shear.
#pragma once

// F 320: k of an inflow bottom cell from the cell one (or two) steps
// inward; above 19 also limits k of an outflow bottom cell by its inward
// neighbour.
void computeZeroGradSedim();

// F 512: adds outflowFixShear / 300 to k of outflow bottom cells whose
// column is shallower than outflowFixDepth.
void computeOutflowFix();
