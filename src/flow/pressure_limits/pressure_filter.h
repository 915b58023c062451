// The filter of the pressure correction at the boundary cells of block 1
// (F 372 = 1): each p' is held within the range of its horizontal neighbours.
#pragma once

// Filters the field Cf points at (the solved pressure correction).
void FilterPressure();
