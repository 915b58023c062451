// Work ranges of the sediment loop's stages (WCStart..WCEnd, WFStart..WFEnd,
// WBStart..WBEnd) and the blocks' WorkFlag.
#include "sediment/loop/work_stages.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

// Nothing to treat: every range starts above its end, so no loop reaches
// the dummy entries 0.
void emptyRanges() {
  WCStart = WFStart = WBStart = 1;
  WCEnd = WFEnd = WBEnd = 0;
}

// Ranges from block first's first entries to block last's last entries.
void blockRanges(int first, int last) {
  WCStart = block[first].FirstCell;
  WFStart = block[first].FirstFace;
  WBStart = block[first].FirstBedCell;
  WCEnd = block[last].LastCell;
  WFEnd = block[last].LastFace;
  WBEnd = block[last].LastBedCell;
}

// The whole grid; base-grid blocks are in the work.
void wholeGrid() {
  WCStart = WFStart = WBStart = 1;
  WCEnd = NoCells;
  WFEnd = NoSurfaces;
  WBEnd = NoBCells;
  for (int b = 1; b <= NoBlocks; ++b) block[b].WorkFlag = block[b].GridLevel == 0 ? 1 : 0;
}

}  // namespace

int workStageCount() {
  int stages = 1;
  for (int b = 1; b <= WorkBlockNo; ++b) stages = std::max(stages, WorkBlock[b]);
  return stages;
}

void computeWorkBlocks(int stage) {
  if (WorkBlockNo <= 0) {
    const int mark = NoBlocks > 0 ? block[NoBlocks].LayerMark : 0;
    if (mark == 0) {
      wholeGrid();
    } else if (mark > 0) {
      // A slide or groundwater layer appended last stays out of the work.
      const int before = NoBlocks - 1;
      WCStart = WFStart = WBStart = 1;
      WCEnd = before >= 1 ? block[before].LastCell : 0;
      WFEnd = before >= 1 ? block[before].LastFace : 0;
      WBEnd = before >= 1 ? block[before].LastBedCell : 0;
      for (int b = 1; b <= before; ++b) block[b].WorkFlag = block[b].GridLevel == 0 ? 1 : 0;
    } else {
      for (int b = 1; b <= NoBlocks; ++b) block[b].WorkFlag = 0;
      emptyRanges();
    }
    return;
  }
  int first = 0, last = 0;
  for (int b = 1; b <= NoBlocks; ++b) block[b].WorkFlag = 0;
  for (int b = 1; b <= WorkBlockNo && b <= NoBlocks; ++b) {
    if (WorkBlock[b] != stage) continue;
    if (first == 0) first = b;
    last = b;
    block[b].WorkFlag = 1;
  }
  if (first == 0) {
    emptyRanges();
  } else {
    blockRanges(first, last);
  }
}

bool emptyWorkRange() { return WCStart > WCEnd; }

void sedimentWorkRanges() {
  if (FlagWorkSedim == 0) {
    wholeGrid();
    return;
  }
  if (FlagWorkSedim == -1) {
    int first = 0, last = 0;
    for (int b = 1; b <= NoBlocks; ++b) {
      const bool nested = block[b].NestLevel >= 1;
      block[b].WorkFlag = nested ? 1 : 0;
      if (!nested) continue;
      if (first == 0) first = b;
      last = b;
    }
    if (first == 0) {
      emptyRanges();
    } else {
      blockRanges(first, last);
    }
    return;
  }
  for (int b = 1; b <= NoBlocks; ++b) block[b].WorkFlag = b == FlagWorkSedim ? 1 : 0;
  blockRanges(FlagWorkSedim, FlagWorkSedim);
}
