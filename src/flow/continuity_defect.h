// The mass defect of every cell as the source of the pressure-correction
// equation, the discharges in use (DischargeArray) and GlobFluxDefect.
#pragma once

// Downstream water level of the "timei" series at stimet, m, as the last call
// of pressure_fluxes found it (0 without a discharge series); the outflow
// rule of F 234 4 compares the surface with it.
inline double Hout;

// Builds Csource (kg/s, positive = net inflow) of the pressure correction
// over WCStart..WCEnd with the boundary fluxes of the discharge groups.
void pressure_fluxes();
