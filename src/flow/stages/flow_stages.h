// The stages of one inner iteration of the main flow driver, in the order
// the driver calls them.
#pragma once

// Pseudo-velocities and pressure equation of F 171 = 2, 4, 5.
void pressureEquationVariant();
// U, V, W (W left out with F 69's Seiche4), keeping 1/Ap of U in CinvAp.
void momentumStage(int inner);
// Pressure correction: fluxes, coefficients, defect, solve, corrections.
// Returns 1 when the driver must return at once (the F 36 = 6 surface call).
int pressureStage(int inner);
// k and epsilon.
void turbulenceStage(int inner);
// The water-quality components.
void componentStage();
