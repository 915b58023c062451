// Depth, Froude number and bed twist of the water columns, the level floor of
// the Froude-limited surface solver and the column-mean pressure.
#pragma once

// Bed cells first..last (nothing when first > last): Bdepth, BFroude, Bfly;
// with F 351 1 and F 36 7 or 9 BLevFroude; with F 233 6 or 7 Bpresavg.
void computeBFroude(int first, int last);
