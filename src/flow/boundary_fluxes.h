// The discharges of the discharge groups in the pressure-correction source:
// inflow groups add, outflow groups withdraw, spread over the cells behind
// their faces.
#pragma once

void boundaryFluxes();

// Roughness of the logarithmic inflow profile (F 202): XksInflow, or the
// wall roughness when that is not positive (logged once per run).
double inflowRoughness();
