// The second grid generator (F 488): line and cell counts of its two zones,
// the per-block build of points, faces and cells, and its reset.
#pragma once

struct GridBlock;

// Nest ratio of the block whose line counts are being chosen: 1 for nest
// level 1, F 192 otherwise.
inline double NestNoRatioLoc = 1.0;

// Regenerates the grid with two zones per vertical line: 1 on success, -1
// when the tables cannot be allocated, -46 when the nesting list is full.
// Ends the run (-4) when a table of F 65 is too small.
int Unstructure2();

// Clears what a generation fills, keeps the previous bottom cells in
// pointcell_old and sets the lower-zone top TurbTop of every grid line.
void setArraysZeroUnstruc();

// Line counts antlinT (lower zone) and antlin (whole line) of the grid lines
// i1-1..i2, j1-1..j2 by the depth rule, depth scale s.
void secondLineCounts(double s, int i1, int i2, int j1, int j2);

// The same with F 531: a lower zone whose surrounding bed roughness exceeds
// F 531 times its depth gets a single cell.
void computeAntlinRoughness(double s, int i1, int i2, int j1, int j2);

// antT and ant of the columns i1..i2, j1..j2 from their corner line counts.
void secondColumnCounts(int i1, int i2, int j1, int j2);

// F 492 2: an edge with as many cells as lines beside it gets one more line
// at both ends, with the water just above the bed there.
void stabiliseEdgeLines(int i1, int i2, int j1, int j2);

// Points, cells and faces of one block, and the cell links read from the
// faces. Ends the run (-4) when a table of F 65 is too small.
void buildSecondBlock(const GridBlock &b);
