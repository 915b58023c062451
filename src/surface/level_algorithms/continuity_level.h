// The level change of every water column from its mass balance (F 36 5, 6).
#pragma once

// Builds the column equation at the bottom cells, solves it with the
// general solver and raises the grid points by the mean change of their
// columns (both level slots).
void surface_continuity();
