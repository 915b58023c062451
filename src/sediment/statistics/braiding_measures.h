// Two measures of block 1 that the free-surface trace prints: the braiding
// index (channels per cross-section) and the mean water depth.
#pragma once

// Mean number, per cross-section i = IBraidedStart..i2 of block 1, of runs
// of neighbouring columns whose bed shear (300 k of the bottom cell) exceeds
// BraidedActive over at least BraidCells columns; 0 without cross-sections.
double computeBI();

// Mean of the positive water depths at the grid points i1-1..i2, j1-1..j2 of
// block 1, over all of those points (a dry point counts as depth 0).
double computeAvDepth();
