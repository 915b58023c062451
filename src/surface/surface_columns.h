// The water columns the surface routines walk: the blocks whose surface an
// update moves, the top cell of a column and the level of its top face.
#pragma once

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

// A base-grid block whose surface the update moves (G 26 code 1).
inline bool treated(int b) { return block[b].GridLevel == 0 && SurfUpdate[b] == 1; }

// The top cell of the column of cell c; 0 for 0.
inline int topOf(int c) {
  while (c > 0 && Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// The level of the top face of cell t.
inline double surfaceOf(int t) { return Czcenter[t] + Ckdist[t]; }

// Every wet column of the treated blocks, with the index pairs of the
// builders' range i1 - 1..i2, j1 - 1..j2: visit(bottom cell, i, j).
template <typename Visit>
void eachTreatedColumn(Visit &&visit) {
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c > 0) visit(c, i, j);
      }
    }
  }
}
