// The steps of the modular flow driver (F 328 1), which the hydrostatic and
// depth-averaged drivers chain too. Each assembles, relaxes and solves its
// equations for one inner iteration and leaves the normalised residuals in
// MaxResidual; it picks its serial or threaded form from F 206 and G 50.
#pragma once

// U, V and W (W left out with F 69's Seiche4); 1/Ap of U kept in CinvAp.
// `inner` is the 1-based inner iteration of the driver.
void SimpleVelocities(int inner);

// The pressure correction (Equation 4) from the mass defect of the current
// velocities; corrects fluxes, velocities and pressure and sets the
// continuity statistics. p' is kept in the array Cf points at on entry.
void SimplePressure(int inner);

// k (equation 5) or epsilon (6), with the eddy viscosity computed first.
void SimpleTurbulence(int equation);
