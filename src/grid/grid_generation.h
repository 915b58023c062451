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

// The steps after the last block, in their fixed order: 0, or the negative
// result the generator returns at once (a full nesting or connection list).
int finishGrid();

// The tables of F 65 are too small: the grid is written as "koosurf" and the
// settings as "control.new", the counts are logged; minus the largest count.
int reportTablesTooSmall();
