// Smoothing of the bed after a bed change: of the bed points by the methods
// of F 144 (bedsmooth), and of whole water columns with their layer stacks
// by F 451 (bedSmooth4) and F 414 (smoothBedchange).
#pragma once

// Smooths the bed of the treated blocks (BlockKind 0, GridLevel 0, WorkFlag
// 1) by method FlagBedSmooth of strength ParamBedSmooth: method 5 spreads
// the columns' change Bedmove, the others move the bed points zval[][][1] and
// add each move to plane 1 of Surfaces. Other values change nothing.
void bedsmooth();

// F 451: limits the step between a column's sediment surface and the mean of
// its two neighbours along i (and along j with F 451 2) by moving sediment,
// with its grain composition, between their layer stacks.
void bedSmooth4();

// F 414: a depositing column of block 1 whose sediment stands more than two
// reference thicknesses above its bed points passes the step's deposit
// (Bedmove, Bbedchange) to its lowest neighbour.
void smoothBedchange();
