// The bed balance on grids of independently layered columns (F 137): a side
// of a bottom cell may touch several cells of the next column, each with its
// own coefficient, and the bed change takes all of them.
#pragma once

// Bed change of every work bed cell from its bottom cell's coefficient
// balance with the listed neighbours, then, with several grain sizes, the
// update of the two-layer bed or of the layer stack; active is the
// active-layer thickness, m.
void morphology_QNfractions(double active);
