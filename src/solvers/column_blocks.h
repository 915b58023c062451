// Blocks of whole water columns over a cell range, for the solvers that relax
// the columns of a block on one thread and the blocks concurrently.
#pragma once

// Fills bound[0..blocks] for cells first..last: bound[0] = first - 1, bound[k]
// the last cell of block k, bound[blocks] = last. The nominal cuts are k times
// (n / blocks) truncated, or with `sixteenths` trunc(k * n * 0.0625); each is
// then moved up its column to the column's top cell, so that no column is
// split. Blocks between equal cuts are empty.
void cutColumnBlocks(int first, int last, int blocks, bool sixteenths, int *bound);
