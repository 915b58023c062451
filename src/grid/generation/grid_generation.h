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
// Refuses the methods whose rules are not settled, before any block is built.
void refuseUnsettledGenerator();
// Numbers and builds one block by the method of F 64; false when full.
bool buildMemberBlock(GridBlock &b, double deepest);

// The steps after the last block, in their fixed order: 0, or the negative
// result the generator returns at once (a full nesting or connection list).
int finishGrid();

// The tables of F 65 are too small: the grid is written as "koosurf" and the
// settings as "control.new", the counts are logged; minus the largest count.
int reportTablesTooSmall();
