// The mass defect of every cell as the source of the pressure-correction
// equation, the discharges in use (DischargeArray) and GlobFluxDefect.
#pragma once

void pressure_fluxes();
