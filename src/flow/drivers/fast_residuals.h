// The residuals of the fast flow driver's five variables (F 170).
#pragma once

// Over WCStart..WCEnd: the change one Jacobi update would make to each row
// of Cff, kept per cell (with F 153 1) and summed into MaxResidual[1, 2, 3,
// 5, 6] over NormResidual; ends the run when a normaliser is not set.
void residualFast();
