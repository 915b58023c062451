// The result file of the flow solution ("result.end", a numbered series, or
// binary "resultb"): velocities, k, epsilon, pressure and face fluxes.
#pragma once

void print_result(int unused);
