// The work ranges of a flow computation: the cells and faces that every
// builder and solver treats, as the whole grid, the G 25 work blocks, or all
// blocks but an extra layer appended last. Writes WCStart..WCEnd, WFStart..WFEnd.
#include "flow/drivers/flow_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

// A mud, slide or groundwater layer appended as the last block has its own
// computation; the flow takes the blocks before it.
void allButLastBlock() {
  const GridBlock &b = block[NoBlocks - 1];
  WCStart = 1;
  WFStart = 1;
  WCEnd = b.LastCell;
  WFEnd = b.LastFace;
}

// The cells and faces from the first to the last selected block; numbering
// block by block makes that one range, which also spans blocks between them.
// Nothing selected leaves start above end: an empty range.
void workBlocks() {
  WCStart = NoCells;
  WCEnd = 1;
  WFStart = NoSurfaces;
  WFEnd = 1;
  for (int b = 1; b <= WorkBlockNo && b <= NoBlocks; ++b) {
    if (WorkBlock[b] <= 0) continue;
    const GridBlock &blk = block[b];
    if (blk.FirstCell < WCStart) WCStart = blk.FirstCell;
    if (blk.LastCell > WCEnd) WCEnd = blk.LastCell;
    if (blk.FirstFace < WFStart) WFStart = blk.FirstFace;
    if (blk.LastFace > WFEnd) WFEnd = blk.LastFace;
  }
}

}  // namespace

void computeWCStart() {
  if (MGSNo != 0) return;
  const int layer = NoBlocks >= 1 ? block[NoBlocks].LayerMark : 0;
  if (layer > 0 && (WorkBlockNo != 0 || FlagTSC != 0)) {
    allButLastBlock();
  } else if (WorkBlockNo == 0) {
    if (FlagTSC == 0 || layer == 0) setWholeGridRange(NoCells, NoSurfaces);
  } else if (WorkBlockNo > 0) {
    workBlocks();
  }
}
