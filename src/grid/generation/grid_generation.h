// The parts of one grid generation that share the driver's bookkeeping: the
// room tests, the default column generator and the steps after the last block.
#pragma once

struct GridBlock;

// The cell numbers of a block are handed out before its first cell is built,
// so the cell table is tested once the block is numbered; faces and points
// are tested before each cell, with room for the six faces and eight points
// a cell can add. One entry is always kept spare.
bool cellNumbersFull();
bool noRoomForCell();

// Numbers and builds the cells of one block by the default column method;
// false when the tables filled up (nothing more may be built).
bool buildDefaultBlock(const GridBlock &b);

// Numbers the columns of a block whose counts ant are set (the top a levels,
// i rising inside j rising) and builds them by the default rules: corner
// levels, links, shared faces, the F 159 fifth-value variants.
bool buildCountedBlock(const GridBlock &b);

// NewCell's neighbours and shared faces of cell n (level k) of column (i, j)
// with a cells by the default rules.
void describeDefaultLinks(const GridBlock &b, int i, int j, int k, int n, int a);

// The default link of cell n (level k) of a column of a cells to the
// neighbouring column (ni, nj): the two bottom cells meet, the taller
// column's cells beside the other's bottom cell have none, the rest meet
// level by level; 0 on the block's edge or beside a column without cells.
int surfaceAlignedNeighbour(int ni, int nj, bool onEdge, int a, int n, int k);

// F 159 fifth value 3: marks in vv the higher grid point of every grid-line
// segment of the block whose bed slope is steeper than 0.37.
void markSteepSlopes(const GridBlock &b);

// F 159 fifth value 4: the drop counts m[1..4] of the corners of column
// (i, j) below the plane of its bed normal through its lowest corner, and
// their largest in vv[i][j]; all 0 where the bed is not steeper than 20 degrees.
void steepBedDrop(int i, int j, int m[5]);

// The generator of independently layered columns (F 137): numbers and builds
// the cells of one block with `deepest`, the largest water depth of the base
// grid, as depth scale; false when the tables filled up. After all blocks the
// lists of the several cells a short column's top cell touches are filled.
bool buildQNBlock(const GridBlock &b, double deepest);
void fillQNLists();

// The other column generators of F 64 (0-7, 9, 10, 12, 14, 15 and 30-37).
bool otherGenerator(int method);
// Numbers and builds one block by the method of F 64; false when full.
bool buildMemberBlock(GridBlock &b, double deepest);

// The marks of the other column generators, over the grid points
// i1-1..i2, j1-1..j2 of a block.
// F 231 1: one pass over the line counts of neighbouring grid points; where
// two lie within one cell height in depth but more than one point apart in
// count, the larger count is lowered to one above the smaller.
void smoothLineCounts(const GridBlock &b);
// vv = 1 at both ends of every grid-line segment whose bed slope exceeds 2.0.
void markSteepLines(const GridBlock &b);
// F 64 9: the crack marks crackI, crackJ of neighbouring column pairs from
// the cell counts and the bed slope (F 232), expanded along the crack with
// F 232 second value 1; both ends of a crack between two columns with cells
// get vv = 1, and vn counts the cracks ending at each grid point.
void markCracks(const GridBlock &b);
// The marks vv = 1 spread from a marked grid point along every segment
// between two columns of the block with cells and unequal counts.
void spreadBedMarks(const GridBlock &b);

// The steps after the last block, in their fixed order: 0, or the negative
// result the generator returns at once (a full nesting or connection list).
int finishGrid();

// The tables of F 65 are too small: the grid is written as "koosurf" and the
// settings as "control.new", the counts are logged; minus the largest count.
int reportTablesTooSmall();
