// The bed change of the multi-layer bed (F 37 3): the settling and pick-up
// fluxes of a step become a per-size change of every column
// (computeBedmove), which the grain-fraction update applies to the layer
// stacks in parallel over bed cells (morphology3_fractions), keeping the
// layers' solid fractions by F 264 and turning the stack change into Bedmove.
#pragma once

// Bbedchange[k][b] and Bedmove[b] of bed cell b from the settling through the
// bottom face and the pick-up Bupflux; the mass goes to SumBedChangeLoc.
void computeBedmove(int b);

// The layer update of one bed cell; active is the active-layer thickness
// (F 264 above 0). The kilograms the bed could not supply are added to
// leftKg[1..lnumber], the caller's sums.
void morphology3_fractions_parallel(int b, double active, double leftKg[]);

// The layer update of every work bed cell, on the threads of F 206; adds the
// shortage of the bed to Bvollefttot.
void morphology3_fractions(double active);
