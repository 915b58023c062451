// The steady free-surface update driver (surface, declared with the other
// free-surface operations) and the water volume of the updated blocks.
#pragma once

// Water volume of the columns of the blocks the steady updates treat, m3;
// negative corner depths count as 0.
double computeVolRes();

// Values the driver keeps for the level equations of F 36 4 and 21: the
// minimum depth of F 94 at the start of the update, and (F 427 5) three
// times the mean absolute pressure-correction residual.
inline double surfaceMinVertDist0;
inline double surfaceResidualLimit;
