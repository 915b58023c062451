// Waterline moves on hand-built columns of 1 m squares: a dry corner slides
// along a side to the threshold depth, a shallow dry side folds onto a
// corner, F 102 2 lifts the water, and the inflow edge of block 1 goes back
// onto its grid lines.
#include <gtest/gtest.h>

#include <ostream>

#include "grid/water_edge/column_corners.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

void setDepth(int i, int j, double depth) { zval[i][j][1] = zval[i][j][znumber] - depth; }

constexpr double kMin0 = 0.01, kMin1 = 0.1;

void thresholds(int f102) {
  FlagMinLevUnstruc = f102;
  MinVertDist0 = kMin0;
  MinVertDist1 = kMin1;
}

struct SlideCase {
  const char *name;
  int f102;
  double dry, wet;  // depths at lines (3, 2) and (2, 2)
  bool wetBeyond;   // column (4, 3) on the far side of the dry corner has cells
  double x;         // where line (3, 2) ends, from x = 2 towards x = 1
  friend void PrintTo(const SlideCase &c, std::ostream *os) { *os << c.name; }
};

class CornerSlide : public GridFixture, public ::testing::WithParamInterface<SlideCase> {};

// Columns (3, 2) and (3, 3) with dry land to the east: line (3, 2) is
// corner 2 of (3, 3) (move 7) and corner 3 of (3, 2) (move 8).
TEST_P(CornerSlide, StopsAtTheThresholdDepth) {
  const SlideCase &c = GetParam();
  allocate(7, 7, 5);
  flatGrid(0, 6, 0, 6, 1.0);
  addBlock(3, 4, 2, 3);
  ant[3][2] = ant[3][3] = 1;
  ant[4][3] = c.wetBeyond ? 1 : 0;
  setDepth(3, 2, c.dry);
  setDepth(2, 2, c.wet);
  uniformLevels(1, 2);
  buildBlocks();
  thresholds(c.f102);
  UnstrucHorMove();
  const int upper = columnBottom(3, 3), lower = columnBottom(3, 2);
  EXPECT_NEAR(Px[Cpoint2[upper]], c.x, 1e-12);
  EXPECT_EQ(Py[Cpoint2[upper]], 1.0);
  // Both columns put the shared line on the same spot, top and bottom.
  for (int p : {Cpoint6[upper], Cpoint3[lower], Cpoint7[lower]}) {
    EXPECT_EQ(Px[p], Px[Cpoint2[upper]]);
    EXPECT_EQ(Py[p], Py[Cpoint2[upper]]);
  }
  // The wet corner does not move.
  EXPECT_EQ(Px[Cpoint1[upper]], 1.0);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CornerSlide,
    ::testing::Values(SlideCase{"HalfWayAtTwiceTheThreshold", 1, 0.0, 0.02, false, 1.5},
                      SlideCase{"AThirdAtThreeTimes", 1, 0.0, 0.03, false, 2.0 - 1.0 / 3.0},
                      SlideCase{"JustAboveTheThresholdOnlyToTheLimit", 1, 0.0, 0.0101, false, 1.5},
                      SlideCase{"WetColumnBeyondTheCornerKeepsIt", 1, 0.0, 0.02, true, 2.0},
                      SlideCase{"WetCornerBelowTheThresholdNoMove", 1, 0.0, 0.009, false, 2.0},
                      SlideCase{"F102ThreeUsesMin1", 3, 0.0, 0.2, false, 1.5},
                      SlideCase{"F102ThreeBelowMin1NoMove", 3, 0.0, 0.02, false, 2.0},
                      SlideCase{"F102FiveUsesHalfMin0", 5, 0.0, 0.01, false, 1.5},
                      SlideCase{"F102FourUsesMin0", 4, 0.0, 0.02, false, 1.5}));

// F 102 2 lifts the water of the lines i1-1..i2-1, j1..j2 to MinVertDist0.
TEST_F(CornerSlide, F102TwoLiftsTheWaterOfItsLines) {
  allocate(7, 7, 5);
  flatGrid(0, 6, 0, 6, 0.0);
  addBlock(3, 4, 2, 3);
  thresholds(2);
  UnstrucHorMove();
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= 6; ++j) {
      const bool lifted = i >= 2 && i <= 3 && j >= 2 && j <= 3;
      EXPECT_EQ(zval[i][j][znumber], lifted ? kMin0 : 0.0) << i << " " << j;
    }
  }
}

// A 2 x 2 pond whose middle line x = 1 is shallow: F 159 fifth value 6 folds
// the dry ends of that line onto its middle point, (1, 1).
TEST_F(CornerSlide, ShallowSideFoldsOntoTheWetEnd) {
  allocate(7, 7, 5);
  flatGrid(0, 6, 0, 6, 1.0);
  addBlock(2, 3, 2, 3);
  for (int i = 2; i <= 3; ++i) {
    for (int j = 2; j <= 3; ++j) ant[i][j] = 1;
  }
  for (int j = 1; j <= 3; ++j) setDepth(2, j, 0.8 * kMin0);
  uniformLevels(1, 2);
  buildBlocks();
  thresholds(5);
  FlagGridStab5 = 6;
  UnstrucHorMove();
  // West side of (3, 2): corner 1 goes onto corner 4; mirrored in (3, 3):
  // corner 4 onto corner 1. The east sides of (2, 2) and (2, 3) likewise.
  const struct {
    int i, j, k;
  } folded[] = {{3, 2, 1}, {3, 3, 4}, {2, 2, 2}, {2, 3, 3}};
  for (const auto &f : folded) {
    const int b = columnBottom(f.i, f.j);
    for (int p : {lowerCorner(f.k)[b], upperCorner(f.k)[b]}) {
      EXPECT_EQ(Px[p], 1.0) << f.i << " " << f.j << " corner " << f.k;
      EXPECT_EQ(Py[p], 1.0) << f.i << " " << f.j << " corner " << f.k;
    }
  }
  EXPECT_EQ(Py[Cpoint2[columnBottom(3, 2)]], 0.0);
  EXPECT_EQ(Py[Cpoint3[columnBottom(3, 3)]], 2.0);
}

struct InflowCase {
  const char *name;
  double offset;  // of the polygon point from the west edge midpoint of row 3, in x
  bool restored;
  friend void PrintTo(const InflowCase &c, std::ostream *os) { *os << c.name; }
};

class InflowEdge : public GridFixture, public ::testing::WithParamInterface<InflowCase> {};

// Column (2, 3) of block 2..3 x 2..4 lies at the inflow; its west corners and
// the touching corners of (2, 2) and (2, 4) were moved by hand.
TEST_P(InflowEdge, GoesBackOntoTheGridLines) {
  const InflowCase &c = GetParam();
  allocate(7, 7, 5);
  flatGrid(0, 6, 0, 6, 1.0);
  addBlock(2, 3, 2, 4);
  for (int i = 2; i <= 3; ++i) {
    for (int j = 2; j <= 4; ++j) ant[i][j] = 1;
  }
  uniformLevels(1, 2);
  buildBlocks();
  const int south = columnBottom(2, 2), middle = columnBottom(2, 3), north = columnBottom(2, 4);
  placeCornerLine(middle, 1, 0.3, 1.1);
  placeCornerLine(middle, 4, 0.3, 1.9);
  placeCornerLine(south, 4, 0.2, 1.0);
  placeCornerLine(north, 1, 0.2, 2.0);
  placeCornerLine(middle, 2, 1.3, 1.0);
  DischargeGroup &inflow = DischargeStruct[1];
  inflow.type = 1;
  inflow.polygonCount = 1;
  inflow.polygonX[0] = c.offset;
  inflow.polygonY[0] = 1.5;
  FixInflowCells();
  const struct {
    int b, k;
    double x, y;
  } corners[] = {{middle, 1, 0.0, 1.0}, {middle, 4, 0.0, 2.0}, {south, 4, 0.0, 1.0}, {north, 1, 0.0, 2.0}};
  for (const auto &w : corners) {
    if (c.restored) {
      EXPECT_EQ(Px[lowerCorner(w.k)[w.b]], w.x) << w.b << " corner " << w.k;
      EXPECT_EQ(Py[upperCorner(w.k)[w.b]], w.y) << w.b << " corner " << w.k;
    } else {
      EXPECT_GT(Px[lowerCorner(w.k)[w.b]], 0.1) << w.b << " corner " << w.k;
    }
  }
  EXPECT_EQ(Px[Cpoint2[middle]], 1.3);  // not on the inflow edge
}

INSTANTIATE_TEST_SUITE_P(Points, InflowEdge,
                         ::testing::Values(InflowCase{"OnTheMidpoint", 0.0, true},
                                           InflowCase{"WithinATolerance", 0.0009, true},
                                           InflowCase{"TooFarOff", 0.002, false}));

}  // namespace
