// Braiding measures of block 1: the braiding index (channels per
// cross-section) and the mean depth that the free-surface trace records, and
// the "braided" and "thalweg" rows of the sediment loop.
#pragma once

// Mean number, per cross-section i = IBraidedStart..i2 of block 1, of runs
// of neighbouring columns whose bed shear (300 k of the bottom cell) exceeds
// BraidedActive over at least BraidCells columns; 0 without cross-sections.
double computeBI();

// Mean of the positive water depths at the grid points i1-1..i2, j1-1..j2 of
// block 1, over all of those points (a dry point counts as depth 0).
double computeAvDepth();

// Appends to "braided" the channels per cross-section above the four shear
// thresholds of F 368, the wet and water-covered runs, the sinuosity of the
// thalweg and the share of cross-sections with an active bank; with F 378
// the thalweg points to "thalweg". Keeps the three averaging windows of BI.
void writeBraided();
