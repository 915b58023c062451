// The mass defect of every cell as the source of the pressure-correction
// equation, the discharges in use (DischargeArray) and GlobFluxDefect.
#pragma once


// Builds Csource (kg/s, positive = net inflow) of the pressure correction
// over WCStart..WCEnd with the boundary fluxes of the discharge groups.
void pressure_fluxes();
