// The nine-point level-change equation of algorithm 7 of the modular
// dispatch, with its Froude-number controls for supercritical flow.
#pragma once

// Fills the coefficient set at the bottom cells of the updated columns and
// clears Cf over the work range.
void computeCoeffTFS7();
