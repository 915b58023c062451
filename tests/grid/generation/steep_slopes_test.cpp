// The steep-bed variants of the fifth value of F 159 in the default column
// generator: 3 marks steep grid points and keeps their corners below the
// surface, 4 lowers the corners of a steep column below the plane of its bed.
#include <gtest/gtest.h>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class SteepSlopes : public GridFixture {
 protected:
  // Columns (2,2) and (3,2) on 1 m squares, water at 0.45 m; grid point
  // (2,2) stands 0.4 m above the others.
  void raisedPoint() {
    allocate(5, 4, 7);
    flatGrid(1, 3, 1, 2, 0.45);
    zval[2][2][1] = 0.4;
    addBlock(2, 3, 2, 2);
  }
};

// A rise of 0.4 over 1 m (steeper than 0.37) marks the higher point, from
// both sides and in both directions, and nothing else.
TEST_F(SteepSlopes, MarksTheHigherPointOnly) {
  raisedPoint();
  markSteepSlopes(block[1]);
  for (int i = 0; i <= 4; ++i) {
    for (int j = 0; j <= 3; ++j) EXPECT_EQ(vv[i][j], i == 2 && j == 2 ? 1 : 0) << i << ", " << j;
  }
}

// Through the generator: the raised point is 0.05 m under water, so its line
// has one interval; with value 3 the bottom corner there keeps MinVertDist1
// (0.1 m for 1 m2 columns) below the surface, without it lies on the bed.
class MarkedCorner : public SteepSlopes, public ::testing::WithParamInterface<int> {};

TEST_P(MarkedCorner, KeepsDepth) {
  raisedPoint();
  FlagGridStab5 = GetParam();
  ASSERT_EQ(Unstructure(), 1);
  const int bottom = static_cast<int>(zval[2][2][0]);
  ASSERT_GT(bottom, 0);
  EXPECT_NEAR(Pz[Cpoint3[bottom]], GetParam() == 3 ? 0.35 : 0.4, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(FifthValue, MarkedCorner, ::testing::Values(0, 3));

// Column (2,2) with a warped bed: corner 1 at -1, 2 at 0, 3 at -0.5, 4 at 0.4
// and water at 1. The diagonals' normal (0.1, 0.9, -2)/2.195 is steeper than
// 20 degrees; its plane through corner 1 lies at -0.95 under corner 2 and at
// -0.55 under corner 4, so they stand 0.95 m above it: 3 intervals of 0.25 m
// (five points on line 2) and 6 of 0.15 m (five points on line 4, 0.6 m deep).
TEST_F(SteepSlopes, DropCountsBelowTheBedPlane) {
  allocate(5, 4, 7);
  flatGrid(1, 2, 1, 2, 1.0);
  zval[1][1][1] = -1.0;
  zval[2][1][1] = 0.0;
  zval[2][2][1] = -0.5;
  zval[1][2][1] = 0.4;
  antlin[1][1] = antlin[2][2] = 3;
  antlin[2][1] = antlin[1][2] = 5;
  int m[5];
  steepBedDrop(2, 2, m);
  EXPECT_EQ(m[1], 0);
  EXPECT_EQ(m[2], 3);
  EXPECT_EQ(m[3], 0);
  EXPECT_EQ(m[4], 6);
  EXPECT_EQ(vv[2][2], 6);
}

// A gentler warp: the normal's z is 2/2.045 = 0.978, at least 0.93969, so
// no corner drops and the column's mark stays as it was.
TEST_F(SteepSlopes, GentleBedHasNoDrop) {
  allocate(5, 4, 7);
  flatGrid(1, 2, 1, 2, 1.0);
  zval[1][2][1] = 0.3;
  antlin[1][1] = antlin[2][1] = antlin[2][2] = antlin[1][2] = 5;
  vv[2][2] = 0;
  int m[5] = {9, 9, 9, 9, 9};
  steepBedDrop(2, 2, m);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(m[c], 0) << "corner " << c;
  EXPECT_EQ(vv[2][2], 0);
}

}  // namespace
