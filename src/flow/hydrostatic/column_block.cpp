// Links between the cells of the appended column block and the water columns
// they stand for, built once per grid from the structured bottom-cell numbers
// so that gathering and copying need no search per cell.
#include "flow/hydrostatic/column_block.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/structured.h"

namespace {

std::vector<ColumnLink> links;
// What the links were built for: a regenerated grid changes one of these.
int builtForCells = -1, builtForBlocks = -1, builtForFirst = -1, builtForLast = -1;

bool upToDate() {
  const GridBlock &b = block[NoBlocks];
  return builtForCells == NoCells && builtForBlocks == NoBlocks && builtForFirst == b.FirstCell &&
         builtForLast == b.LastCell;
}

void build() {
  links.clear();
  const GridBlock &layer = block[NoBlocks];
  builtForCells = NoCells;
  builtForBlocks = NoBlocks;
  builtForFirst = layer.FirstCell;
  builtForLast = layer.LastCell;
  int cell = layer.FirstCell;
  for (int m = 1; m < NoBlocks; ++m) {
    const GridBlock &b = block[m];
    if (b.BlockKind == 1) continue;
    const bool collected = b.NestLevel == 0 && b.BlockKind == 0;
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom <= 0) continue;
        int top = bottom;
        while (Ccellt[top] > 0) top = Ccellt[top];
        links.push_back({cell++, bottom, top, collected});
      }
    }
  }
  if (cell != layer.LastCell + 1) links.clear();
}

}  // namespace

bool columnBlockPresent() { return NoBlocks >= 1 && block[NoBlocks].BlockKind == 1; }

const std::vector<ColumnLink> &columnLinks() {
  if (!columnBlockPresent()) {
    links.clear();
    builtForCells = -1;
    return links;
  }
  if (!upToDate()) build();
  return links;
}

void forgetColumnLinks() { builtForCells = -1; }
