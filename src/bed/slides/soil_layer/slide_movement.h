// Movement of the soil layer's slides over one time step.
#pragma once

// Moves the unstable slides as rigid blocks, each with a velocity from its
// excess of driving over resisting force, and updates the grid and the
// layer's surface (F 236 3).
void computeSlideBlock();
