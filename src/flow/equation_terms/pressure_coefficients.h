// Neighbour coefficients of the pressure-correction equation (1000 D A^2)
// over the faces of the work range.
#pragma once

void pressure_coeff();
