// Cross-section continuity corrections of F 413: every cross-section i of
// block 1 (the columns (i, j), j = j1..j2) is pushed towards the discharge of
// group 1.
#pragma once

void correctContinuity();   // F 413 1: the east-face fluxes of each cross-section scaled to it
void correctContinuity2();  // F 413 2 (U source) and 3 (U scaled) up to cross-section F 452 3

// Keeps the velocities of the cells 1..NoCells as the previous time step's and
// sets them to 0, except at the bottom and top cells of the P 17 columns;
// nothing outside transient runs.
void setVelocitiesZero();
