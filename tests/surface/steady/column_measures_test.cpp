// Measures of the water columns on the channel: Froude numbers, the outflow
// levels of the tail, the water volume of the updated blocks and the mean
// depth of block 1.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "sediment/statistics/braiding_measures.h"
#include "surface/steady/froude_numbers.h"
#include "surface/steady/surface_driver.h"
#include "surface/surface_fixture.h"
#include "surface/steady/surface_tail.h"

namespace {

using ColumnMeasures = SurfaceFixture;

int bedCellOf(int i, int j) { return pointbed[i][j]; }

// The cells of column (i, j), bottom up.
std::vector<int> columnOf(int i, int j) {
  std::vector<int> cells;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) cells.push_back(c);
  return cells;
}

}  // namespace

TEST_F(ColumnMeasures, FroudeNumberOfTheMeanVelocity) {
  solverFroude = 1;  // BLevFroude is allocated
  FlagNonHydrostaticSurf = 6;  // and Bpresavg
  channelAt(0.0);
  // Column (3, 2): half its cells at (1, 0), half at (0, 1) m/s (nine
  // cells: the depth weights give (4/9, 5/9)); column (4, 2) dry.
  const std::vector<int> cells = columnOf(3, 2);
  for (std::size_t m = 0; m < cells.size(); ++m) {
    Cxvel[cells[m]] = m < 4 ? 1.0 : 0.0;
    Cyvel[cells[m]] = m < 4 ? 0.0 : 1.0;
    Cpres[cells[m]] = 100.0 * m;
  }
  const int b = bedCellOf(3, 2), dry = bedCellOf(4, 2);
  Bcellt[dry] = 0;
  FlagTFS = 2;
  computeBFroude(b, dry);
  const double speed = std::sqrt(16.0 + 25.0) / 9.0;
  EXPECT_NEAR(Bdepth[b], 1.0, 1e-12);
  EXPECT_NEAR(BFroude[b], speed / std::sqrt(9.81), 1e-12);
  EXPECT_NEAR(Bpresavg[b], 400.0, 1e-12);
  EXPECT_EQ(Bdepth[dry], 2e-20);
  EXPECT_EQ(BFroude[dry], 0.0);
  EXPECT_EQ(Bfly[b], 0.0) << "a flat bed has no twist";
}

TEST_F(ColumnMeasures, TwoEqualCellsGiveTheSpeedOfTheMeanVector) {
  channelAt(0.0);
  // Only the top two cells: a column of two equal cells.
  const std::vector<int> cells = columnOf(5, 3);
  const int b = bedCellOf(5, 3);
  Bcellt[b] = cells[7];
  Cxvel[cells[7]] = 1.0;
  Cyvel[cells[8]] = 1.0;
  computeBFroude(b, b);
  EXPECT_NEAR(BFroude[b], std::sqrt(0.5) / std::sqrt(9.81 * 2.0 / 9.0), 1e-9);
}

TEST_F(ColumnMeasures, FroudeFloorsOfAlgorithms7And9) {
  solverFroude = 1;
  channelAt(0.0);
  const int b = bedCellOf(5, 3);
  for (int c : columnOf(5, 3)) Cxvel[c] = 2.0;
  // Algorithm 7: 4 / 9.81 - 1 m of the deepest corner; after a -10 mark
  // the floor is taken unblended even late in the run.
  FlagTFS = 7;
  Iter = 50;
  BLevFroude[b] = -10.0;
  computeBFroude(b, b);
  EXPECT_NEAR(BLevFroude[b], 4.0 / 9.81 - 1.0, 1e-12);
  computeBFroude(b, b);
  EXPECT_NEAR(BLevFroude[b], 4.0 / 9.81 - 1.0, 1e-12) << "blended with itself";
  // F 351 2 leaves the floor alone.
  solverFroude = 2;
  BLevFroude[b] = 3.0;
  computeBFroude(b, b);
  EXPECT_EQ(BLevFroude[b], 3.0);
  // Algorithm 9 in the first iteration: the bed plus the critical depth.
  solverFroude = 1;
  FlagTFS = 9;
  Iter = 1;
  computeBFroude(b, b);
  EXPECT_NEAR(BLevFroude[b], 4.0 / 9.81, 1e-12);
}

TEST_F(ColumnMeasures, DownstreamLevelsOnTheOutflowSides) {
  channelAt(0.0);
  GlobZRef = 0.9;
  FlagDSO1 = 2;
  setGroup(2, 0, -1000.0, downstreamFaces());
  const double slot = secondSlotAt(11, 3);
  computeSurfDownstream();
  // The east line, the corner columns' north and south points included.
  for (int j = 1; j <= 5; ++j) EXPECT_EQ(levelAt(11, j), 0.9) << j;
  EXPECT_EQ(levelAt(10, 1), 0.9) << "corner column (11, 2): its south side too";
  EXPECT_EQ(levelAt(10, 5), 0.9) << "corner column (11, 5): its north side too";
  EXPECT_EQ(levelAt(10, 3), 1.0);
  EXPECT_EQ(secondSlotAt(11, 3), slot) << "only the level slot";
}

// Line 1 at 2 m, the outlet line 11 at 1 m after the update; the levels of
// lines 9 and 5 (2 and 6 points upstream of the outlet).
void transitionWith(int damp, double at9, double at5) {
  for (int j = 1; j <= 5; ++j) zval[1][j][znumber] = 2.0;
  GlobZRef = 1.0;
  FlagDSO1 = 2;
  surfaceDownstreamDamp = damp;
  setGroup(2, 0, -1000.0, downstreamFaces());
  const double slot = secondSlotAt(9, 3);
  computeSurfDownstream();
  EXPECT_NEAR(levelAt(9, 3), at9, 1e-12);
  EXPECT_NEAR(levelAt(5, 3), at5, 1e-12);
  EXPECT_EQ(secondSlotAt(9, 3), slot) << "only the level slot";
}

// Damp 10: a straight line to the level ten points upstream.
TEST_F(ColumnMeasures, DownstreamLinearTransition) {
  channelAt(0.0);
  transitionWith(10, 0.2 * 2.0 + 0.8 * 1.0, 0.6 * 2.0 + 0.4 * 1.0);
}

// Damp 11: a parabola in x from line 1 (x 0) to line 11 (x 10).
TEST_F(ColumnMeasures, DownstreamParabola) {
  channelAt(0.0);
  transitionWith(11, 2.0 - 0.64, 2.0 - 0.16);
}

TEST_F(ColumnMeasures, VolumeAndMeanDepth) {
  channelAt(0.0);
  // 40 columns of 1 m2 and 1 m.
  EXPECT_NEAR(computeVolRes(), 40.0, 1e-9);
  EXPECT_NEAR(computeAvDepth(), 1.0, 1e-12);
  // Negative depths add nothing; a block that is not updated neither.
  for (int j = 1; j <= 5; ++j) zval[1][j][znumber] = -0.2;
  EXPECT_NEAR(computeVolRes(), 38.0, 1e-9);  // the four columns of line 2 lose their west corners
  SurfUpdate[1] = 0;
  EXPECT_EQ(computeVolRes(), 0.0);
  // Block 1 as one column with corner depths 1, 1, 1, -0.2: 0.75.
  block[1].i2 = 2;
  block[1].j2 = 2;
  zval[1][1][znumber] = -0.2;
  zval[1][2][znumber] = zval[2][1][znumber] = zval[2][2][znumber] = 1.0;
  EXPECT_NEAR(computeAvDepth(), 0.75, 1e-12);
}
