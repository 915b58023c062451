// Whether a grid regeneration kept the numbering of the cells, and the reset
// of the momentum diagonals when it did not.
#pragma once

// Notes the bottom cell of every column and the cell count before a
// regeneration.
void rememberCellNumbering();

// True when the regenerated grid numbers its cells as the noted one did.
bool cellNumberingKept();

// Clears CinvAp over the cells when the numbering changed. While the cells
// keep their numbers the momentum diagonals still belong to them: clearing
// them would take the pressure weighting out of the next face fluxes and
// kick the solution after every regeneration.
void clearPressureWeightsIfRenumbered();
