// The transient free surface: each time step moves the water levels of a
// block's grid points by the level change of every wet column, bounds them at
// the boundaries, smooths them and regenerates the grid on them.
#pragma once

// Level change of wet column (i, j) over one time step, m, by the rule of
// F 36 (with the slide additions of rule 17), before the limiters.
double transientLevelChange(int i, int j);

// The limiters of F 359 and F 530 applied to the level change dh of the
// column whose top cell is top.
double limitLevelChange(double dh, int top);

// The discharge through the west faces of column (i, j), m3/s (0 when dry).
double columnWestDischarge(int i, int j);
