// Start pressure of the free surface, the pressure filter and the cut of the
// time step of a slide run.
#pragma once

void initiatePressure();       // surface pressure at the start of a run (F 540)
void pressureFilter();         // smoothing of isolated pressures
double computeChangeTimestep();  // new time step of a thixotropic slide run (F 336)
