// The corner weightings of F 205: they skew how a column's bed change
// reaches its four corners by the corners' levels, the flow direction or the
// bed slope, either through the area sums the moves are placed with or
// through the corner factors. Neither kind changes the volume placed, except
// option 21, which places a quarter and books the rest as defect.
#pragma once

#include "bed/levels/corner_spreading.h"

// Applies the weighting of F 205 to the column inside bedchange; option 12
// ends the run.
void weightCorners(CornerColumn &col);

// Skews the area sums the moves are placed with by the weights W[1..4] (a
// larger weight gives the corner a smaller share) without changing the
// volume: Sw_k = S_k·W_k·¼Σ 1/W_j, so that Σ S_k/(4·Sw_k) stays 1.
void skewAreaSums(CornerColumn &col, const double W[5]);

// The level weights of the corners with the skew p: with highHeavier
// (z_k - zmin)/(zmax - zmin) + p, else (zmax - z_k)/(zmax - zmin) + p.
void levelWeights(const CornerColumn &col, double p, bool highHeavier, double W[5]);
