// The horizontal-velocity step of the hydrostatic and depth-averaged drivers.
#pragma once

// U, then V, assembled from the coefficients the caller built for U over the
// work range, with the pressure force, the boundary terms, Coriolis, wind and
// the baroclinic force, relaxed and solved. dimension 2: the work range is
// the column block and each water column's boundary terms are gathered onto
// its column cell; 3: the three-dimensional cells themselves. A U diagonal
// below 1e-30 (or not a number) is reported, sets FlagErrorBreak and ends
// the step before V.
void SimpleWater(int dimension);
