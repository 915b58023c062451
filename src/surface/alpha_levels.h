// Water levels from the volume fraction of an external two-phase run.
#pragma once

// Reads "alpha1" (one value per cell) into Cconc[0] and sets the levels of
// block 1 where the fraction crosses 0.5.
void OpenFOAM_MakeSurface();
