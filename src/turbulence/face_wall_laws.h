// The two simpler wall laws that F 305 puts in place of the default one:
// both add one wall term per wall face (momentum) or per pair of opposite
// sides (k, epsilon), with ks from Croughness and C_mu 0.09.
#pragma once

// F 305 1: all six sides alike, the lid included; cells of first..last with a
// wall face are cleared for every equation.
void wall_laws_new(int first, int last);

// F 305 2: the lid is never a wall, and the bed friction of a column is
// shared by the cells within its bed forms. Shares for cells above `last`
// wait for addDeferredBedFriction.
void wall_laws_river(int first, int last);

// Adds the river law's shares that fell beyond the last cell of a range; a
// caller that cuts the work range into chunks calls it after the join.
void addDeferredBedFriction();
