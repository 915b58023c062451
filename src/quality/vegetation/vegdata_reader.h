// The "vegdata" file: profiles of vegetation, porous structures and solid
// bodies over the elevation, per water column and time set.
#pragma once

// Reads "vegdata" into Bveg and VegTime and sets FlagTypeVegdata; clears
// Cporosity first. Ends the run on an unusable file.
void readVegdata();

// Value of one profile (levels L, values V, n of each) at the elevation z:
// the first value below the first level, linear between two levels, and 0 at
// or above the last level, so the water above the vegetation runs free.
double profileValue(const double *levels, const double *values, int n, double z);
