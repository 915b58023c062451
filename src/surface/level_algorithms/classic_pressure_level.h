// The classic pressure-based level of the modular dispatch (F 323 1 with
// F 36 0 or 2): every grid point moves towards the level at which its
// top-cell pressure would equal the reference pressure.
#pragma once

// Writes both level slots of the points of the updated blocks.
void computeSurfClassic();
