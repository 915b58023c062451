// The two-dimensional smoother of the depth-summed levels: the current
// Equation relaxed with the four horizontal neighbours only.
#pragma once

// Relaxes cells first..last of the field behind Cf with the horizontal
// neighbours (and their second neighbours with the second-order scheme):
// Jacobi on the threads with F 164 27 (any range) or 29, 30, 33 (ranges of
// more than 300 cells), else `sweeps` symmetric Gauss-Seidel passes, or one
// symmetric pass over the neighbour lists on F 137 grids. No relaxation
// factor and no guard on Cap.
void Gauss2D(int first, int last, int sweeps);

// The same serial passes as Gauss2D without the source (the homogeneous
// equation); nothing on F 137 grids.
void Gauss2Dresi(int first, int last, int sweeps);

// One level of the depth-summed levels relaxed by Gauss2D with `sweeps`, in
// F 206 chunks on the threads (block Gauss-Seidel that reads the neighbouring
// chunks while they change) unless the run has no solver threads, F 164 is
// above 26 or entry 8 of G 50 asks for the serial solver.
void relaxLevelInChunks(int first, int last, int sweeps);
