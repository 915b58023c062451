// The two-dimensional algebraic multigrid accelerator of the pressure and
// surface equations (F 168).
#pragma once

// Appends the accelerator's depth-averaged block to the grid.
void AlgMGMake();
