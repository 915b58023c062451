// The discharges of the discharge groups in the pressure-correction source:
// inflow groups add, outflow groups withdraw, spread over the cells behind
// their faces.
#pragma once

void boundaryFluxes();
