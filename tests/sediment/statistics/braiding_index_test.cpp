// The braiding index of block 1: channels per cross-section, a channel
// being a run of columns whose bed shear 300 k lies above BraidedActive.
#include <gtest/gtest.h>

#include <vector>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "sediment/statistics/braiding_measures.h"
#include "surface/surface_fixture.h"

namespace {

using BraidingIndex = SurfaceFixture;

// Bed shear (Pa) of the bottom cells of cross-section i, columns j1.. .
void setShears(int i, const std::vector<double> &shears) {
  for (std::size_t m = 0; m < shears.size(); ++m) {
    Ckinen[static_cast<int>(zval[i][block[1].j1 + m][0])] = shears[m] / 300.0;
  }
}

}  // namespace

TEST_F(BraidingIndex, ChannelsPerCrossSection) {
  channelAt(0.0);
  BraidedTot = 1.0;
  BraidedActive = 2.0;
  BraidCells = 2;
  // Cross-sections 2..11 of four columns; only sections 10 and 11 carry
  // shear: 5 5 0 5 (one channel of two, the bank run of one too short) and
  // 5 1.5 5 5 (the middle column neither splits nor ends the run: one).
  IBraidedStart = 10;
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.0;
  setShears(10, {5.0, 5.0, 0.0, 5.0});
  setShears(11, {5.0, 1.5, 5.0, 5.0});
  EXPECT_DOUBLE_EQ(computeBI(), 1.0);
  // A run that reaches the bank counts when it is long enough.
  setShears(10, {0.0, 0.0, 5.0, 5.0});
  BraidCells = 3;
  EXPECT_DOUBLE_EQ(computeBI(), 0.5);  // section 11: 5, 1.5, 5, 5 counts three
  IBraidedStart = 12;
  EXPECT_EQ(computeBI(), 0.0) << "no cross-section";
}
