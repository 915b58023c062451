// The pressure of the corner columns of block 1 (F 437), set from the mean
// pressures of their two neighbouring columns after the pressure update.
#pragma once

// Treats every corner column of block 1; the cell range is not used.
void TrekantPresCorr(int firstCell, int lastCell);
