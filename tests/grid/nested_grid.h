// The nested fixture (cases/nested) generated in process: block 1 is the
// channel (10 x 4 columns of nine cells, cells 1..360, j outer and i inner),
// block 2 covers x 2..4, y 1..3 with 4 x 4 columns of 0.5 m (cells
// 361..504); after Y, the nested koosurf, a regeneration, metric and BedMake.
#pragma once

#include <functional>
#include <string>

// `extraControl` is read after the case's "control" (before the tables are
// allocated); `settings` runs after that, before the grid is generated.
void generateNested(const std::function<void()> &settings = [] {}, const std::string &extraControl = "");

// The bottom cell of coarse column (i, j) of the channel.
inline int coarseBottom(int i, int j) { return ((j - 2) * 10 + (i - 2)) * 9 + 1; }

// The border entry of cell c on the face given, 0 for none.
int entryOf(int c, int face);
