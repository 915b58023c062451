// Running statistics of the sediment loop kept in grid arrays: the relaxed
// bed movement and veering angle per column, and the bottom current that
// runs under a reverse flow (a turbidity current).
#pragma once

// Planes 5 (bed movement, m) and 6 (veering angle between bed and surface
// velocity, degrees) of Surfaces over the columns of the work blocks: the
// first call clears them; F 404 5 sums the bed movement, other values relax
// both towards the step's value with RelaxMorphStatistics.
void computeMorphStatistics();

// BTheight, BTdischarge and BTugrad of the columns i1..i2, j1..j2 of block 1:
// the height and discharge per metre width of the flow from the bed up to
// and including the first cell that flows backwards over a forward flow,
// and that height over the largest forward velocity (at least TDvelo).
void computeDensityStat(int i1, int i2);
