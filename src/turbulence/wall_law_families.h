// The families of wall laws besides the default rough law: smooth walls,
// transitional roughness (with bed transpiration), smooth side walls over a
// rough bed, the fixed wall k, and the law of turbulence model 3.
#pragma once

#include "turbulence/wall_law_cells.h"

// F 15 5: smooth walls in every equation.
void smoothWallLaw(int first, int last, const wall_cells::LawConstants &k);

// F 15 8, and 9 with the transpiration correction at the bed.
void transitionalWallLaw(int first, int last, const wall_cells::LawConstants &k, bool transpiration);

// F 15 19: smooth side walls, the rough law at the bed and the lid.
void mixedWallLaw(int first, int last, const wall_cells::LawConstants &k);

// F 15 11's k equation: k fixed at every wall from the wall shear.
void fixedKWallLaw(int first, int last, const wall_cells::LawConstants &k);

// Turbulence model 3's k or epsilon law in every cell of the range.
void modelThreeWallLaw(int first, int last, const wall_cells::LawConstants &k);

// The omega wall value of the k-omega model 16, pair by pair, with the
// surface value of F 185 1 when `surface` is set.
void omegaWallLaw(int first, int last, bool surface);
