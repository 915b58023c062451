// The bed levels at open boundaries after a bed change (F 222): columns that
// exchange water with the outside get the bed points of their open side
// corrected, so the boundary bed does not drift where no boundary condition
// governs it.
#pragma once

// Mode 1 keeps the outflow depth, 2 resets the open sides of inflow and
// outflow columns to the original bed, 3 resets outflow columns; any other
// F 222 leaves the bed alone. Every change is added to plane 1 of Surfaces
// and booked in SumBedMoveDef.
void computeBedBoundary();
