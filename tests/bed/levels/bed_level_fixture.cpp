// The in-process set-up shared by the bed-level tests.
#include "bed/levels/bed_level_fixture.h"

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

void BedLevelFixture::SetUp() {
  BedLayerFixture::SetUp();
  allocateBed(1, 2, false, 9, 9);
  flatGrid(0, xnumber + 1, 0, ynumber + 1, 1.0);
  TimeStep = 10.0;
  SolidFrac = 0.5;
  density = 2.65;
  Iter = 2;
  BedRecIter = 5;  // no regeneration in step 2
  FlagBedDownstream = 0;
  IterAvalanche = 0;
  FlagSlideDLL = 0;
  WCStart = 1;
  WCEnd = 0;
  BedMoveDefectSum = BedMoveDefectAbs = 0.0;
}

void BedLevelFixture::bedBlock(int i1, int i2, int j1, int j2) {
  addBedColumns(i1, i2, j1, j2);
  for (int b = NoBCells - (i2 - i1 + 1) * (j2 - j1 + 1) + 1; b <= NoBCells; ++b) Bedmove[b] = 0.0;
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      const int c = Bcellt[pointbed[i][j]];
      if (c <= 0) continue;
      Ccelle[c] = Bcellt[pointbed[i + 1][j]];
      Ccellw[c] = Bcellt[pointbed[i - 1][j]];
      Ccelln[c] = Bcellt[pointbed[i][j + 1]];
      Ccells[c] = Bcellt[pointbed[i][j - 1]];
    }
  }
}

double &BedLevelFixture::move(int i, int j) { return Bedmove[pointbed[i][j]]; }
