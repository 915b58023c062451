// Face mass fluxes: Fflux (kg/s, 1000 x the volume flux, positive from
// Fcell1 to Fcell2) from the cell velocities with the pressure-weighted
// (Rhie-Chow) correction that keeps pressure and velocity coupled.
#pragma once

// Fluxes of faces first..last; the whole-grid steps run once after them.
void waterflow(int first, int last);
// The same over first..last, cut into the F 206 chunks on the threads.
void waterflowChunked(int first, int last);
// Scales the fluxes of unevenly connected block faces (F 348) to balance.
void correctFluxUneven();
