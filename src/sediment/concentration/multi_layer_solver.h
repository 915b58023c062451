// The concentration solver of the multi-layer bed (F 37 3): every inner
// iteration picks up sediment from what the layers hold within the active
// depth, solves the concentration of every size and recomputes the step's
// bed change, which moves the active depth for the next inner iteration.
#pragma once

// Solves Cconc of every size over the work cells; leaves the pick-up in
// Bupflux, the step's bed change in Bedmove and Bbedchange, and adds its
// mass to SumBedChange.
void morphology_tsc_solver_tsc3_standard();

// The pick-up of every size at bed cell b with bottom cell c into Bupflux[l][b]
// and the bottom cell's source Csourcem[l][c]; active is the active-layer
// thickness, m.
void pickUpFromLayers(int b, int c, double active);
