// The completion of a bed change: smoothing, the nested points, the open
// boundaries and the sand slide on the moved bed points, then, every F 99
// steps, the grid regenerated on the new bed with the suspended mass that
// the move of the fields creates or loses booked.
#pragma once

// Finishes the step of bedchange.
void completeBedChange();

// The suspended sediment of the work cells, sum of Cvol·Cconc over the sizes.
double suspendedVolume();
