// The bed of every water column at the start of a sediment run: layer
// thicknesses, grain fractions, top layer and solid fractions, fresh from the
// N data sets or checked against a restart file's layers.
#pragma once

// Gives every column of the base-grid 3D blocks its start bed (the loop skips
// it with debug letter L). Ends the run with -44 on a negative active layer and with
// -8 when restart layers do not fill the sediment thickness and F 310 is 0.
void initialiseBed();

// The solid fraction of a layer of bed cell b from the sorting of its grain
// sizes: 0.64 + 0.06 times the variance of log2 of the diameters, 0.05..0.99.
double sortedSolidFraction(int layer, int b);
