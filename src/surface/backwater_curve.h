// The backwater curve of block 1: water levels marched upstream from the
// downstream level with the Manning-Strickler friction law, the Froude number
// of a cross-section, and the top-cell pressures the level update reads.
#pragma once

// Area and wetted perimeter (bed only) of the section of points (i, j1 - 1)
// .. (i, j2) of block 1 under level z, m2 and m.
struct BackwaterSection {
  double area, perimeter;
};
BackwaterSection backwaterSection(int i, double z);

// d90 of a bed layer from the fractions of the grain sizes (size 1 the
// coarsest), interpolated where the cumulated fraction passes 0.9, m.
double bedD90(int layer, int b);

// Froude number of block 1 between grid lines i - 1 and i for discharge Q
// (m3/s) at level z: (Q / A) / sqrt(9.81 A / B), B the top width.
double computeFroude(int i, double Q, double z);

// Level change per column of block 1 (in Cf at its bottom cell) from the
// top-cell pressures line by line from the downstream end.
void backwaterPres();

// The median top-cell pressure of discharge group g (at most 49 faces), Pa.
// Ends the run when the group has no face at the surface.
double findMedianPressure(int g);

// The larger surface slope at point (i, j) of block 1, in i or in j.
double computeSlopeWatersurface(int i, int j);
