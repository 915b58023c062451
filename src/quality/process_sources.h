// Sources of the other processes in the flow and component equations, as the
// stages call them: vegetation drag (quality/vegetation), wind, Coriolis and
// density gradients (quality/forces), component sources (quality/components).
#pragma once

void extra_source();              // vegetation and porosity drag (F 115)
void WindFunction(int equation);  // wind shear at the surface (F 52)
void CoriolisFunction();          // Coriolis force (F 51, F 80)
void DensityGradients(int mode);  // temperature-driven density (F 67)
void CompSource();                // sources of the current component (F 50, F 67)
