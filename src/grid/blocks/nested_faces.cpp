// The border of the nested blocks: every face through which a fine block
// exchanges water with the coarse grid around it, and the marks of the fine
// cells. Writes Npcelle, Npflate, Npblock, NoNestflater and CflagDim.
#include "grid/generation/grid_build.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/log.h"

namespace {

// Appends one border face; false when the list is full (one entry is kept spare).
bool listFace(int cell, int face, int b) {
  if (NoNestflater >= MaxNester - 1) {
    logPrintf("Error, increase 4th integer on F 65 data set, now at: %d\n", NoNestflater);
    return false;
  }
  const int n = ++NoNestflater;
  Npcelle[n] = cell;
  Npflate[n] = face;
  Npblock[n] = b;
  return true;
}

// The open border sides of cell c of column (i, j): east, south, west, north,
// then the water surface with F 241. F 280 3 exchanges through the west border only.
bool listCellFaces(const GridBlock &blk, int b, int i, int j, int c) {
  const bool allSides = FlagNestFluxInterpol != 3;
  if (allSides && Ccelle[c] == 0 && i == blk.i2 && !listFace(c, Cflatee[c], b)) return false;
  if (allSides && Ccells[c] == 0 && j == blk.j1 && !listFace(c, Cflates[c], b)) return false;
  if (Ccellw[c] == 0 && i == blk.i1 && !listFace(c, Cflatew[c], b)) return false;
  if (allSides && Ccelln[c] == 0 && j == blk.j2 && !listFace(c, Cflaten[c], b)) return false;
  if (Ccellt[c] == 0 && NestSurf == 1 && !listFace(c, Cflatet[c], b)) return false;
  return true;
}

}  // namespace

int computeNestedArrays() {
  NoNestflater = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= 0) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
          CflagDim[c] = 2;
          if (!listCellFaces(blk, b, i, j, c)) return kNestListFull;
        }
      }
    }
  }
  return 0;
}
