// Inflow and outflow conditions of the discharge groups for the current
// Equation: the discharges in use, Cinout, and the inflow terms in Cap and
// Csource.
#pragma once

// Sets DischargeArray[1..9] and Cinout, then adds the inflow terms of the
// variant in force (uniform, shaped, logarithmic, cyclic, inflow table,
// coarse level) to the equation being built.
void boundary();

// The outflow (kg/s) of outflow group g that closes the mass balance of the
// other groups and of the water the last surface update took out; not below 0.
double computeOutflow(int g);
