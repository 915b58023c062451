// Extra terms of the pressure-correction stage: the surface extrapolation of
// top cells and the flux correction of block 1.
#pragma once

// Top cells with a cell below: p' extrapolated linearly to 0 at the surface.
void presSurfFunction(int first, int last);
// Flux correction (F 360) over columns i1..i2 of block 1.
void fluxCorrFunction(int i1, int i2);
