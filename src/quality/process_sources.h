// Sources of the other processes in the flow and component equations:
// vegetation drag, wind, Coriolis, density gradients and component sources.
#pragma once

void extra_source();              // vegetation and porosity drag (F 115)
void WindFunction(int equation);  // wind shear at the surface (F 52)
void CoriolisFunction();          // Coriolis force (F 51, F 80)
void DensityGradients(int mode);  // temperature-driven density (F 67)
void CompSource();                // sources of the current component (F 50, F 67)
