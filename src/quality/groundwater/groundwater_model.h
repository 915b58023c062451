// The groundwater table under the river: a Darcy flow with storage in the
// bottom cells of the soil-layer block, fixed to the water surface under wet
// columns and capped at the top of the soil under dry ones.
#pragma once

// Advances the groundwater levels Bgroundwater: iterGlobalMax steps with
// F 262 1 (letter G, advancing stimet), 20 steps otherwise (the slide and
// mud-flow loops). The first call of a process reads "wlinit" and sets the
// start levels; every call rebuilds the coefficients first.
void groundwater();

// Conductances between the layer's bottom cells, the storage term, and the
// coupling to the surface water of the columns above.
void groundwater_coeff();

// Reads "wlinit" (records "i j level") into Bgroundwater; returns the number
// of levels used, or -1 when the file cannot be opened.
int readGroundwaterLevels();

// Lets the next call of groundwater set up again, as in a new process.
void forgetGroundwaterSetup();
