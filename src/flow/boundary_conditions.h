// Inflow and outflow conditions of the discharge groups for the current
// Equation: the discharges in use, Cinout, and the inflow terms in Cap and
// Csource.
#pragma once

void boundary();
void computeOutflow();
