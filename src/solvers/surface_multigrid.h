// Multigrid of the two-dimensional water-level equation of the free-surface
// algorithms on the depth-summed levels (F 168): the equation stored at the
// bottom cells is summed up the levels, smoothed from the coarsest down and
// written back to the bottom cells.
#pragma once

// The level equation from a zero start; F 168 1 (or too few level cells)
// leaves it alone.
void AlgMGSurf();

// The Casulli form: the current levels as start, fixed cells kept out of the
// level equations, halved couplings on the coarser levels, no north-south
// coupling above level F 468, and with F 343 3 the reference column as the
// east neighbour of the levels above it.
void AlgMGSurfCasulli();
