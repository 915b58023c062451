// The water-quality component drivers.
#pragma once

// The component step of the hydrostatic flow driver (F 68 1): every
// component carried by the face fluxes over the work range, once per outer
// iteration. Leaves Cf at the last component.
void SimpleComponents();
