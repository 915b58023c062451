// The two-dimensional algebraic multigrid accelerator of the pressure and
// surface equations (F 168).
#pragma once

// Appends the accelerator's depth-averaged block to the grid.
void AlgMGMake();

// Multigrid solution of the two-dimensional level equation at the columns'
// bottom cells (the five-point form, and the level form of F 36 9).
void AlgMGSurf();
void AlgMGSurfCasulli();
