// Defaults of the block and discharge-group tables, set before "control" is read.
#include "model/blocks_groups.h"

void setBlockAndGroupDefaults() {
  for (GridBlock &b : block) {
    b = GridBlock{};
    b.InitFlag = 1;
  }
  NoBlocks = 0;
  for (DischargeGroup &g : DischargeStruct) {
    g.type = 1;
    g.boundaryKind = 0;
    g.fromLevel = 1;
    g.toLevel = 151;
    g.faceCount = 0;
    g.polygonCount = 0;
    g.discharge = 0.0;
    g.bedCells[0] = 0;
  }
  for (int i = 0; i < 20; ++i) DischargeArray[i] = -1.0;
}
