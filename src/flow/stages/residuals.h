// Normalised residuals of the current Equation: how far the field Cf is from
// its assembled equation, kept per cell (F 153 = 1) or reported in the log.
#pragma once

// Adds the residual of cells first..last over NormResidual[Equation] to
// MaxResidual[Equation]; ends the run when the normaliser is not set.
void residual(int first, int last);

// The normalised residual of one chunk of cells, for the stage regions; runs
// on worker threads. Without a normaliser it only marks the run for its end
// and returns 0: the caller ends it with endIfResidualNotSet after the join.
double residualN(int first, int last);

// On the calling thread after a region's join: when a chunk found no
// normaliser, logs the missing-normaliser lines and ends the run.
void endIfResidualNotSet();
