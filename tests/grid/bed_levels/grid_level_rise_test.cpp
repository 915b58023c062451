// Smoothing of the water levels at new wet and dry corners of the channel
// (10 x 4 columns, lines 1..11 and 1..5): which points move, and that the
// outer lines never do.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "flow/flow_fixture.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_services.h"

namespace {

class CornerSmoothing : public FlowFixture {
 protected:
  // The channel with its shore row j = 5 dry and without cells, and a step
  // of the shore at column (6, 4); the points in `low` at 0.5, all others at 1.
  static void shoreWithStep(int flag, const std::set<std::pair<int, int>> &low) {
    FlagSmoothNewCorners = flag;
    channel();
    ASSERT_NE(wetdryCornerFlag, nullptr);
    for (int i = 2; i <= 11; ++i) dryColumn(i, 5);
    dryColumn(6, 4);
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) {
        const double z = low.count({i, j}) ? 0.5 : 1.0;
        zval[i][j][znumber] = zval[i][j][znumber + 1] = z;
      }
    }
  }
  static void dryColumn(int i, int j) {
    zval[i][j][0] = 0.0;
    ant[i][j] = 0;
  }
};

}  // namespace

// F 425 2: the points of the edges between columns with and without cells
// are drawn toward their wet neighbours; the ends on lines 1 and 11 stay.
TEST_F(CornerSmoothing, EdgePointsOfAShoreStep) {
  std::set<std::pair<int, int>> edge = {{5, 3}, {6, 3}};
  for (int i = 1; i <= 11; ++i) edge.insert({i, 4});
  shoreWithStep(2, edge);
  smoothNewCorners();
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      const double z = zval[i][j][znumber];
      EXPECT_EQ(zval[i][j][znumber + 1], z) << i << " " << j;
      const bool moves = edge.count({i, j}) && i >= 2 && i <= 10;
      if (moves) {
        EXPECT_GT(z, 0.5) << i << " " << j;
        EXPECT_LT(z, 1.0) << i << " " << j;
      } else {
        EXPECT_EQ(z, edge.count({i, j}) ? 0.5 : 1.0) << i << " " << j;
      }
    }
  }
  EXPECT_EQ(wetdryCornerFlag[1][4], 2);  // marked, but on the outer line
  EXPECT_EQ(wetdryCornerFlag[3][5], 0);
  EXPECT_EQ(wetdryCornerFlag[3][2], 1);
}

// One dry column (3, 4) without lines amid wet ones (F 425 2): its four
// corners are smoothed, and the low corner (2, 3) is drawn close to the
// level 1 of its wet neighbours in four rounds of two sweeps.
TEST_F(CornerSmoothing, FourRoundsOfTwoSweeps) {
  FlagSmoothNewCorners = 2;
  channel();
  zval[3][4][0] = 0.0;
  ant[3][4] = 0;
  zval[2][3][znumber] = zval[2][3][znumber + 1] = 0.5;
  smoothNewCorners();
  EXPECT_EQ(wetdryCornerFlag[2][3], 2);
  EXPECT_EQ(wetdryCornerFlag[3][4], 2);
  EXPECT_EQ(wetdryCornerFlag[3][2], 1);
  EXPECT_GT(zval[2][3][znumber], 0.9);
  EXPECT_LT(zval[2][3][znumber], 1.0);
  EXPECT_EQ(zval[2][3][znumber + 1], zval[2][3][znumber]);
}

// F 425 1: only corners of dry columns that have grid lines are smoothed.
TEST_F(CornerSmoothing, DryColumnsWithLinesOnly) {
  shoreWithStep(1, {{5, 4}, {6, 4}, {5, 3}, {6, 3}});
  smoothNewCorners();
  for (auto [i, j] : {std::pair{5, 4}, {6, 4}, {5, 3}, {6, 3}}) EXPECT_EQ(zval[i][j][znumber], 0.5) << i << j;
  ant[6][4] = 1;  // the step column has lines: its four corners move
  smoothNewCorners();
  for (auto [i, j] : {std::pair{5, 3}, {6, 3}}) {
    EXPECT_GT(zval[i][j][znumber], 0.5) << i << j;
    EXPECT_LT(zval[i][j][znumber], 1.0) << i << j;
  }
  // The shore corners (5, 4), (6, 4) have no neighbour with flag 1 or above
  // but each other and (5, 3), (6, 3): they move as well.
  EXPECT_GT(zval[5][4][znumber], 0.5);
  EXPECT_EQ(zval[4][4][znumber], 1.0);
}
