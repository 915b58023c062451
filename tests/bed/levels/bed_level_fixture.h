// In-process set-up of the bed-level tests: a plan grid of 1 m2 columns with
// a flat bed at 0 under 1 m of water, one cell per column, in a step without
// regeneration; blocks of bed columns are added by the tests.
#pragma once

#include "bed/layers/bed_layer_fixture.h"

class BedLevelFixture : public BedLayerFixture {
 protected:
  void SetUp() override;

  // A bed block of columns i1..i2, j1..j2 with its cells and bed cells; the
  // cells are linked east, west, north and south to the cells of the
  // neighbouring columns that have them, in any block.
  static void bedBlock(int i1, int i2, int j1, int j2);

  // The bed change of column (i, j).
  static double &move(int i, int j);
};
