// The one-cell-per-column block that the grid generation appends for the
// hydrostatic, depth-averaged and shallow-water computations, and the water
// columns of the three-dimensional blocks that its cells stand for.
#pragma once

#include <vector>

// One cell of the column block and its water column, whose cells carry the
// consecutive numbers bottom..top.
struct ColumnLink {
  int cell;        // the column-block cell
  int bottom;      // the bottom cell of the three-dimensional column
  int top;         // its top cell
  bool collected;  // the column lies in a block of NestLevel 0 and BlockKind 0
};

// True when the last block is the column block (BlockKind 1).
bool columnBlockPresent();

// The links in the order in which the grid generation numbered the column
// cells: blocks in order, rows j outer and columns i inner, every column
// with a bottom cell. Rebuilt when the grid has changed since the last call;
// a column block whose cell count does not match the wet columns is no
// block of this grid and gets no links (an empty list).
const std::vector<ColumnLink> &columnLinks();

// Forgets the links, so that the next call rebuilds them.
void forgetColumnLinks();
