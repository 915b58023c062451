// The concentration solvers of the two-layer bed (F 37 1 and 2): each time
// step they solve Cconc of every grain size iter_morph times and couple the
// bottom cell of every water column to the bed beneath it.
#pragma once

// F 37 1, fixed-value solvers: after each solve the bottom cell's value comes
// from a local mass balance with the bed and is held fixed for the next one.
void morphology_tsc_solver_tsc1_single();
void morphology_tsc_solver_tsc1_multiple();

// F 37 2, source solvers: the bottom cell keeps its equation and receives a
// pick-up source limited by what the bed holds; Bsource keeps the pick-up of
// the last inner iteration for the bed balance.
void morphology_tsc_solver_tsc2_single();
void morphology_tsc_solver_tsc2_multiple();

// F 37 2 with F 303 2: the bottom cells alone, as one plane exchanging
// horizontally; Bsource keeps the exchange plus the settling of the step.
void morphology_tsc_solver_tsc2_multiple_v2();

// Set-up check of the sediment run: the implicit pick-up of F 253 1 lives in
// solver2, where the source solvers already add their pick-up and the
// fixed-value solvers fix the bottom cells; with several sizes and a solver
// that calls solver2 the run ends: "Error: F 253 1 can not be combined with
// F 37 %d\n", status 251. One size never reaches solver2.
void checkImplicitExchange();

// F 484 1: 1/Q when the suspended load of all sizes together, Q in units of
// their equilibrium values at bed cell b, lies between 0.02 and 1; else 1.
double findSuspFraction(int b);

// The bed-load vector source of size l (F 78 1 and 3) that the solvers call
// before a solve; tests and the bed-load vector routines replace it.
extern void (*bedVectorSourceCall)(int l);
