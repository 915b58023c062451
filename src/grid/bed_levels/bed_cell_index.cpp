// The bed-cell index: one bed cell per water column of the ordinary blocks,
// numbered once, and after every grid change the links between bed cells and
// cells. Writes pointbed, the B tables, Cbed, the blocks' bed-cell ranges,
// the _old column and geometry arrays and the groups' bed-cell lists.
#include <algorithm>
#include <cstdint>

#include "flow/drivers/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Only the three-dimensional blocks of the base grid own bed cells.
bool counted(const GridBlock &b) { return b.BlockKind == 0 && b.GridLevel == 0; }

std::int64_t columnsOf(const GridBlock &b) {
  if (b.i2 < b.i1 || b.j2 < b.j1) return 0;
  return (std::int64_t{b.i2} - b.i1 + 1) * (std::int64_t{b.j2} - b.j1 + 1);
}

// The numbering indexes the structured arrays with the block ranges and the
// bed tables with the count: a block record that does not fit them would
// write outside the tables, so the run stops before anything is numbered.
void checkBlocksFit() {
  std::int64_t total = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (!counted(b) || columnsOf(b) == 0) continue;
    if (b.i1 < 1 || b.j1 < 1 || b.i2 > xnumber + 1 || b.j2 > ynumber + 1) {
      fatalPrintf(kExitTableFull, nullptr,
                  "Error in BedMake: block %d lies outside the structured grid, increase the G 1 values in control "
                  "file\n",
                  n);
    }
    total += columnsOf(b);
  }
  if (total > bedCellCapacity() - 1) {
    fatalPrintf(kExitTableFull, nullptr,
                "Error in BedMake: %lld bed cells do not fit, increase the G 1 values in control file\n",
                static_cast<long long>(total));
  }
}

// Every column of every counted block gets the next number, wet or dry,
// blocks in order, i outer and j inner; a block not counted gets an empty range.
void numberBedCells() {
  checkBlocksFit();
  for (int i = 0; i <= xnumber + 1; ++i) std::fill(pointbed[i], pointbed[i] + ynumber + 2, 0);
  int count = 0;
  for (int n = 1; n <= NoBlocks; ++n) {
    GridBlock &b = block[n];
    b.FirstBedCell = count + 1;
    if (counted(b)) {
      for (int i = b.i1; i <= b.i2; ++i) {
        for (int j = b.j1; j <= b.j2; ++j) {
          const int bc = ++count;
          pointbed[i][j] = bc;
          Barea[bc] = armap[i][j];
          Bkooi[bc] = i;
          Bkooj[bc] = j;
          Bnocells[bc] = 0;
          Bcellt[bc] = 0;
          Bdepth[bc] = 0.0;
        }
      }
    }
    b.LastBedCell = count;
  }
  NoBCells = count;
  Cbed[0] = 0;
  for (int bc = 1; bc <= NoBCells; ++bc) {
    Binout[bc] = 0.0;
    Bcellth[bc] = 0;
  }
}

// The cells of the one-cell-per-column block of F 68 stand for the wet
// columns of the blocks before it: each takes the bed cell of its column.
// No cell of the three-dimensional grid changes.
void linkOneCellBlock() {
  if (NoBlocks < 1 || block[NoBlocks].BlockKind != 1) return;
  const GridBlock &one = block[NoBlocks];
  for (int n = 1; n < NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!counted(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c = num[i][j][1];
        if (c >= one.FirstCell && c <= one.LastCell) Cbed[c] = pointbed[i][j];
      }
    }
  }
}

// Links every cell of every counted column to its bed cell, bottom up, and
// gives the column its bottom cell, cell count and depth.
void linkColumns() {
  std::fill(Cbed, Cbed + MaxCeller, 0);
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!counted(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int b = pointbed[i][j];
        int c = static_cast<int>(zval[i][j][0]);
        Bcellt[b] = c;
        Bnocells[b] = 0;
        double halfHeights = 0.0;
        for (; c > 0; c = Ccellt[c]) {
          halfHeights += Ckdist[c];
          Cbed[c] = b;
          ++Bnocells[b];
        }
        Bdepth[b] = 2.0 * halfHeights;
      }
    }
  }
  linkOneCellBlock();
  Cbed[0] = 0;
}

// True once a grid of this run has been indexed: before that there are no
// previous columns to carry fields from, and the fields a result file has
// given the first grid are its own.
bool indexedBefore = false;

// The transient carry-over of the fields onto the new columns, and the
// discharge groups onto the new faces.
void carryFields() {
  otime[49] = wallClock();
  if (indexedBefore) InterpolateGrid();
  if (FlagGenerateUpFlux > 0 || FlagGenerateDownFlux > 0) {
    setFluxes();
  } else {
    InterpolateBoundary();
  }
  FlagNeedsToBeInterpolated = 0;
  otime[50] = wallClock();
}

// The bed cells under the faces of every discharge group, for the pond
// removal of the grid generator: a face counts when its cell is a bottom cell.
void fillPondLists() {
  for (int g = 1; g <= 9; ++g) {
    DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount <= 0) continue;
    int n = 0;
    for (int k = 0; k < group.faceCount; ++k) {
      const int f = group.faces[k];
      const int c = Fcell1[f] > 0 ? Fcell1[f] : Fcell2[f];
      if (c <= 0 || Ccellb[c] != 0) continue;
      if (n + 1 >= kGroupBedCells) {
        fatalPrintf(kExitTableFull, nullptr,
                    "Error in BedMake: more than %d bed cells in discharge group %d, use fewer faces in the group\n",
                    kGroupBedCells - 1, g);
      }
      group.bedCells[++n] = Cbed[c];
    }
    group.bedCells[0] = n;
  }
}

}  // namespace

void BedMake() {
  if (FlagExtraDebug == 1) logText("Start BedMake\n");
  const int numberedBefore = NoBCells;
  if (numberedBefore == 0) numberBedCells();
  if (FlagGridHasChanged == 1) {
    std::copy(Bcellt + 1, Bcellt + NoBCells + 1, Bcellt_old + 1);
    std::copy(Bnocells + 1, Bnocells + NoBCells + 1, Bnocells_old + 1);
    std::copy(Bdepth + 1, Bdepth + NoBCells + 1, Bdepth_old + 1);
  }
  FlagGridHasChanged = 0;
  linkColumns();
  if (Bnestcoarse && NoNestflater > 1 && numberedBefore == 0) computeBnestcoarse();
  if (Bdeltah) std::fill(Bdeltah + 1, Bdeltah + NoBCells + 1, 0.0);
  if (Bnocells && FlagNeedsToBeInterpolated == 1 && Cxvel_old) carryFields();
  if (FlagRemovePonds > 0 && DischargeStruct[1].bedCells[0] == 0) fillPondLists();
  if (ExtrapAlgo1 == 0 && Czcenter_old) std::copy(Czcenter + 1, Czcenter + NoCells + 1, Czcenter_old + 1);
  if (ExtrapAlgo1 == 2 && Ckdist_old) std::copy(Ckdist + 1, Ckdist + NoCells + 1, Ckdist_old + 1);
  indexedBefore = true;
  if (FlagExtraDebug == 1) logText("End BedMake\n");
}
