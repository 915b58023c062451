// The completion of a bed change: smoothing, the nested points, the open
// boundaries and the sand slide on the moved bed points, then, every F 99
// steps, the grid regenerated on the new bed with the suspended mass that
// the move of the fields creates or loses booked.
#pragma once

// The routine whose step is finished: bedchange, or bedchange2, which runs
// no slope stability, takes its nested points by Bnestcoarse, updates no
// surface and splits no grid before the regeneration and checks no faces.
enum class BedChangeForm { Spread, Ordered };

// Finishes the step of the bed change of the given form.
void completeBedChange(BedChangeForm form = BedChangeForm::Spread);

// The suspended sediment of the work cells, sum of Cvol·Cconc over the sizes.
double suspendedVolume();
