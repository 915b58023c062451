// The discharges of the discharge groups in the pressure-correction source:
// inflow groups add, outflow groups withdraw, spread over the cells behind
// their faces.
#pragma once


// Adds (inflow) or withdraws (outflow) the discharge of every group with faces
// to Csource of the cells behind its faces, by the rule the group type, its
// boundary kind and the selectors choose; on a multigrid level the sources go
// to the level's cells.
void boundaryFluxes();

// Roughness of the logarithmic inflow profile (F 202): XksInflow, or the
// wall roughness when that is not positive (logged once per run).
double inflowRoughness();
