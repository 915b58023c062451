// The five-row point solver of the fast flow driver and the point solver of a
// thixotropic mud layer.
#pragma once

// Relaxes rows 0..4 of Cff (U, V, W, k, epsilon) over cells first..last by
// `sweeps` symmetric Gauss-Seidel sweeps on the shared neighbour coefficients,
// each row with its own source (Csourcem) and reciprocal centre coefficient
// (CinvApf).
void GaussFast(int first, int last, int sweeps);

// `sweeps` forward passes over first..last that relax only the cells of the
// thixotropic layer: with the 13-point scheme the cells with Cthixolev above
// 1 (the rest unchanged), otherwise those with Cthixorat above 1 (the rest
// set to 0).
void GaussThixo(int first, int last, int sweeps);
