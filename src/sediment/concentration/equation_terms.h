// The suspended-sediment equation of one time step: diffusivity,
// convection-diffusion coefficients of every grain size, the deflection of
// the near-bed flow by the bed slope, the time term, the bed-load vector and
// deferred-correction terms, rising particles, inflow and nested borders, the
// bed-cell coefficients and finally the near-bed concentration.
#pragma once

// Builds Equation 7 over the work ranges. When the coefficient build sets
// FlagErrorBreak it stops there: the sediment loop then ends at once.
void sedimentEquationTerms();

// The time term of one time step, Cvol·1000/TimeStep on the diagonal and
// times the old concentration in the source, plus the neighbour coefficients
// on the diagonal: into Cap, Csource for one size, else Capm, Csourcem.
void sedimentTimeTerm();

// F 84 10, or F 78 1 with one size: the bottom cells' velocities are turned
// across the transverse bed slope, the face fluxes and horizontal
// coefficients rebuilt from them, and the velocities put back.
void deflectNearBedFlow();

// The routines the equation calls through pointers, so that tests can
// replace them with recorders: the bed-cell outflow coefficient of size l,
// the bed-load vector sources and the classic formulas.
extern void (*makeApCall)(int l);
extern void (*computeBedLoadVectorCall)();
extern void (*computeBedLoadVector3Call)();
extern void (*computeBedLoadVector4Call)();
extern void (*concEngelundCall)();
