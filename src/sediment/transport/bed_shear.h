// The bed shear stress that drives the sediment formulas: the column methods
// that fill the structured table bedshear, and the shear of one bed cell with
// its neighbour corrections, smoothing, grid factor and reductions.
#pragma once

// Fills bedshear on the columns of block 1 that have cells by the column
// method of F 499 (1 bed-form partition along each line, 2 log law, 3 slope,
// 4 and 5 log law combined with 300 k, 6 the mean of three); other values
// leave the table as it is.
void computeBedshear();

// Fills bedshear on the columns of block 1 that have cells with 300 times the
// largest k within the bed roughness above the bottom cell (F 189).
void computeShearTramel();

// The log-law shear of a column from its bottom cell c, Pa.
double logLawShear(int c);

// The number of the four neighbouring columns of (i, j) inside the block's
// rectangle that have no cells; above 0 marks a bank cell.
int dryNeighbourCount(int blockNo, int i, int j);

// The bed shear of one bed cell: tau, which the critical shear and the
// bed-form height read, and the effective shear tauE, whose excess over the
// critical shear drives the reference concentration.
struct BedCellShear {
  double tau, tauE;
};

// The shear of bed cell b (bottom cell c0, column (i, j), depth h, d90 of its
// bed surface, its dry-neighbour count) in block blockNo.
BedCellShear bedCellShear(int blockNo, int b, double h, double d90, int dryNeighbours);
