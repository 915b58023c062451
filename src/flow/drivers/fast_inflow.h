// The inflow and outflow conditions of the discharge groups in the fast flow
// driver's five-row arrays (F 170).
#pragma once

// Rewrites Cinout (+g behind an inflow face of group g, -g behind an outflow
// face) and adds the inflow mass flux to every row of CinvApf and what the
// water brings (U, V momentum, k, epsilon) to rows 0, 1, 3, 4 of Csourcem.
void boundaryFast();
