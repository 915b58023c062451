// Normalised residuals of the current Equation.
#pragma once

// Adds the residual of cells first..last over NormResidual[Equation] to
// MaxResidual[Equation].
void residual(int first, int last);
// The normalised residual of one chunk of cells, for the stage regions.
double residualN(int first, int last);
