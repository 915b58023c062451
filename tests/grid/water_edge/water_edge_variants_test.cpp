// The other collapse variants of F 493 and the line-count rule of F 503 on
// hand-built columns of 1 m squares with dmin = 0.005 (F 102 1): which corner
// each variant takes, how far it moves and where its levels end.
#include <gtest/gtest.h>

#include <ostream>
#include <utility>

#include "grid/water_edge/column_corners.h"
#include "grid/column_grid.h"
#include "grid/water_edge/edge_and_layer.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

constexpr double kDmin = 0.005;

void setDepth(int i, int j, double depth) { zval[i][j][1] = zval[i][j][znumber] - depth; }

class WaterEdgeVariant : public GridFixture {
 protected:
  // A block of columns i1..i2, j1..j2 on a 1 m grid, bed 0, water at 1 m.
  static void flatBlock(int i1, int i2, int j1, int j2) {
    allocate(7, 7, 5);
    flatGrid(0, 6, 0, 6, 1.0);
    addBlock(i1, i2, j1, j2);
  }

  // The cells of the columns given cells, `lines` levels per grid line, dmin 0.005.
  static void build(int lines) {
    uniformLevels(1, lines);
    buildBlocks();
    FlagMinLevUnstruc = 1;
    MinVertDist0 = kDmin;
  }

  // Only column (i, j) has cells; corner k of it lies `depth[k]` deep.
  static void loneColumn(int i1, int i2, int j1, int j2, int i, int j, int cells, const double (&depth)[5]) {
    flatBlock(i1, i2, j1, j2);
    ant[i][j] = cells;
    for (int k = 1; k <= 4; ++k) setDepth(i + kCornerDi[k], j + kCornerDj[k], depth[k]);
    build(cells + 1);
  }
};

// Variant 1 on a lone column (2, 2), the block's first column, corner 1 at
// (0, 0): only the depths of corner 1 and its adjacent corners 2 and 4 vary.
struct EdgeSlideCase {
  const char *name;
  double dmin;
  double d1, d2, d4;
  int corner456;  // F 456
  double x, y;    // where corner 1 ends
  friend void PrintTo(const EdgeSlideCase &c, std::ostream *os) { *os << c.name; }
};

class EdgeSlide : public WaterEdgeVariant, public ::testing::WithParamInterface<EdgeSlideCase> {};

TEST_P(EdgeSlide, MovesCornerOne) {
  const EdgeSlideCase &c = GetParam();
  loneColumn(2, 2, 2, 2, 2, 2, 1, {0, c.d1, c.d2, 1.0, c.d4});
  MinVertDist0 = c.dmin;
  FlagMinLevCorner = c.corner456;
  UnstrucTriangular0();
  const int b = columnBottom(2, 2);
  EXPECT_NEAR(Px[Cpoint1[b]], c.x, 1e-12);
  EXPECT_NEAR(Py[Cpoint1[b]], c.y, 1e-12);
  EXPECT_EQ(Px[Cpoint5[b]], Px[Cpoint1[b]]);
  EXPECT_EQ(Py[Cpoint5[b]], Py[Cpoint1[b]]);
  EXPECT_EQ(Ctrekant[b], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EdgeSlide,
    ::testing::Values(
        // A dmin of 0.125 is a depth the levels hold exactly.
        EdgeSlideCase{"AdjacentCornersExactlyAtDmin", 0.125, 0.0, 0.125, 0.125, 0, 0.0, 0.0},
        EdgeSlideCase{"TipNotBelowDmin", 0.125, 0.125, 0.5, 0.0625, 0, 0.0, 0.0},
        // t = 0.005 / 0.02 along the edge to the deeper corner 2.
        EdgeSlideCase{"AlongTheDeeperSide", kDmin, 0.0, 0.02, 0.001, 0, 0.25, 0.0},
        // t = 0.005 / 0.006 = 0.833, cut to F 89's 0.5.
        EdgeSlideCase{"NoFurtherThanF89", kDmin, 0.0, 0.006, 0.001, 0, 0.5, 0.0},
        // Both sides deep and equally long: towards corner 4, t = 0.005 / 0.01.
        EdgeSlideCase{"EqualEdgesGoToCornerFour", kDmin, 0.0, 0.02, 0.01, 0, 0.0, 0.5},
        // F 456 leaves the first column of a block alone.
        EdgeSlideCase{"FirstColumnKeepsItsShallowTip", kDmin, 0.0, 0.001, 0.001, 1, 0.0, 0.0}),
    [](const ::testing::TestParamInfo<EdgeSlideCase> &info) { return std::string(info.param.name); });

// F 159 fifth value 7: corners 1 and 3 are deep, beside dry side columns
// whose opposite adjacent corner 4 is shallow (0.002): their lower points in
// both cells rise to corner 4's bed at 0.998. Corner 2 has only deep corners
// beside it and keeps its levels.
TEST_F(WaterEdgeVariant, RaisesDeepCornersToTheShallowBed) {
  loneColumn(2, 2, 2, 2, 2, 2, 2, {0, 1.0, 1.0, 1.0, 0.002});
  FlagGridStab5 = 7;
  UnstrucTriangular0();
  const int b = columnBottom(2, 2), above = Ccellt[b];
  ASSERT_GT(above, 0);
  for (int c : {b, above}) {
    EXPECT_NEAR(Pz[Cpoint1[c]], 0.998, 1e-12) << "cell " << c;
    EXPECT_NEAR(Pz[Cpoint3[c]], 0.998, 1e-12) << "cell " << c;
  }
  EXPECT_EQ(Pz[Cpoint2[b]], 0.0);
  EXPECT_EQ(Pz[Cpoint2[above]], 0.5);
  EXPECT_EQ(Pz[Cpoint8[above]], 1.0);
}

// Variant 2 on the middle column of a 3 x 3 block, all its sides dry: corner
// 1 is taken although every corner qualifies; 0.35 (1, 1) + 0.25 (2, 1) +
// 0.25 (1, 2) + 0.15 (2, 2). F 245 third value 1 flattens the tip's line.
TEST_F(WaterEdgeVariant, WeightedCornersTakeCornerOne) {
  loneColumn(2, 4, 2, 4, 3, 3, 2, {0, 0.5, 0.5, 0.5, 0.5});
  FlagCorrTrekant3 = 1;
  UnstrucTriangular2();
  const int b = columnBottom(3, 3), above = Ccellt[b];
  EXPECT_NEAR(Px[Cpoint1[b]], 1.4, 1e-12);
  EXPECT_NEAR(Py[Cpoint1[b]], 1.4, 1e-12);
  EXPECT_NEAR(Pz[Cpoint1[b]], 1.0 - kDmin, 1e-12);
  EXPECT_EQ(Pz[Cpoint5[b]], 1.0);
  EXPECT_EQ(Pz[Cpoint5[above]], 1.0);
  EXPECT_EQ(Px[Cpoint5[above]], Px[Cpoint1[b]]);
  for (int k = 2; k <= 4; ++k) {
    EXPECT_EQ(Px[lowerCorner(k)[b]], cornerGridX(3, 3, k)) << "corner " << k;
    EXPECT_EQ(Py[lowerCorner(k)[b]], cornerGridY(3, 3, k)) << "corner " << k;
  }
}

// Variants 3 and 4 on the middle column: only a corner whose line is dry
// (one point) is taken; variant 3 also needs the diagonal column dry.
struct DryLineCase {
  const char *name;
  int variant;
  int lines;          // antlin at corner 1's grid point
  bool diagonalWet;   // column (2, 2) has a cell
  bool moved;
  friend void PrintTo(const DryLineCase &c, std::ostream *os) { *os << c.name; }
};

class DryLineTip : public WaterEdgeVariant, public ::testing::WithParamInterface<DryLineCase> {};

TEST_P(DryLineTip, TakesOnlyADryLine) {
  const DryLineCase &c = GetParam();
  flatBlock(2, 4, 2, 4);
  ant[3][3] = 1;
  if (c.diagonalWet) ant[2][2] = 1;
  build(2);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) antlin[i][j] = 2;
  }
  antlin[2][2] = c.lines;
  // The opposite corner's bed lies above the tip's bottom point.
  const int b = columnBottom(3, 3);
  Pz[Cpoint3[b]] = 0.3;
  c.variant == 3 ? UnstrucTriangular3() : UnstrucTriangular4();
  if (c.moved) {
    // 0.4 (2, 1) + 0.2 (1, 1) + 0.4 (1, 2); the level between 0.3 and the water.
    EXPECT_NEAR(Px[Cpoint1[b]], 1.4, 1e-12);
    EXPECT_NEAR(Py[Cpoint1[b]], 1.4, 1e-12);
    EXPECT_NEAR(Pz[Cpoint1[b]], 0.3, 1e-12);
    EXPECT_NEAR(Px[Cpoint5[b]], 1.4, 1e-12);
    EXPECT_NEAR(Pz[Cpoint5[b]], 1.0, 1e-12);
  } else {
    EXPECT_EQ(Px[Cpoint1[b]], 1.0);
    EXPECT_EQ(Py[Cpoint1[b]], 1.0);
    EXPECT_EQ(Pz[Cpoint1[b]], 0.0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DryLineTip,
    ::testing::Values(DryLineCase{"ThreeDryOneLine", 3, 1, false, true},
                      DryLineCase{"ThreeDryTwoLines", 3, 2, false, false},
                      DryLineCase{"DiagonalWet", 3, 1, true, false},
                      DryLineCase{"SidesDryOneLine", 4, 1, true, true},
                      DryLineCase{"SidesDryTwoLines", 4, 2, false, false}),
    [](const ::testing::TestParamInfo<DryLineCase> &info) { return std::string(info.param.name); });

// Variant 5 on the middle column, corner 1 a line of two points: D = 0.2 at
// the other corners, the water at the opposite corner 0.8 m.
struct TowardsOppositeCase {
  const char *name;
  double d1;
  double x;       // where corner 1 ends, x = y (it starts at (1, 1))
  double bottom;  // its bottom level
  friend void PrintTo(const TowardsOppositeCase &c, std::ostream *os) { *os << c.name; }
};

class TowardsOpposite : public WaterEdgeVariant, public ::testing::WithParamInterface<TowardsOppositeCase> {};

TEST_P(TowardsOpposite, MovesByTheDepthShare) {
  const TowardsOppositeCase &c = GetParam();
  flatBlock(2, 4, 2, 4);
  ant[3][3] = 1;
  setDepth(2, 2, c.d1);
  setDepth(3, 2, 0.2);
  setDepth(2, 3, 0.2);
  zval[3][3][znumber] = 0.8;
  setDepth(3, 3, 0.2);
  build(2);
  antlin[2][2] = 2;
  antlin[3][2] = antlin[3][3] = antlin[2][3] = 3;
  UnstrucTriangular5();
  const int b = columnBottom(3, 3);
  EXPECT_NEAR(Px[Cpoint1[b]], c.x, 1e-12);
  EXPECT_NEAR(Py[Cpoint1[b]], c.x, 1e-12);
  EXPECT_NEAR(Pz[Cpoint1[b]], c.bottom, 1e-12);
  EXPECT_NEAR(Px[Cpoint5[b]], c.x, 1e-12);
  EXPECT_NEAR(Pz[Cpoint5[b]], 0.8, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TowardsOpposite,
    ::testing::Values(
        // dk = 0.5 is above 0.2 D: no move; the bed 0.5 rises to 0.8 - D.
        TowardsOppositeCase{"DeepTipKeepsItsPlace", 0.5, 1.0, 0.6},
        // a = 0.04, f = 0.2 of the way to (2, 2); the bed 1.0 drops to 0.8 - dmin.
        TowardsOppositeCase{"DryTipMovesAFifth", 0.0, 1.2, 0.8 - kDmin}),
    [](const ::testing::TestParamInfo<TowardsOppositeCase> &info) { return std::string(info.param.name); });

// Variant 6 on a lone column of two cells: a tip shallower than dmin goes
// between its adjacent corners and its line spans exactly dmin below the
// opposite water level (0.9 m), whatever the bed at the tip; a deep corner
// stays where it is.
struct SqueezeCase {
  const char *name;
  double d1;
  bool moved;
  friend void PrintTo(const SqueezeCase &c, std::ostream *os) { *os << c.name; }
};

class SqueezedLine : public WaterEdgeVariant, public ::testing::WithParamInterface<SqueezeCase> {};

TEST_P(SqueezedLine, SpansDminBelowTheOppositeWater) {
  const SqueezeCase &c = GetParam();
  flatBlock(2, 2, 2, 2);
  ant[2][2] = 2;
  zval[2][2][znumber] = 0.9;
  setDepth(1, 1, c.d1);
  build(3);
  const int b = columnBottom(2, 2), above = Ccellt[b];
  const double before = Pz[Cpoint1[b]];
  UnstrucTriangular6();
  if (!c.moved) {
    EXPECT_EQ(Px[Cpoint1[b]], 0.0);
    EXPECT_EQ(Pz[Cpoint1[b]], before);
    return;
  }
  EXPECT_NEAR(Px[Cpoint1[b]], 0.4, 1e-12);
  EXPECT_NEAR(Py[Cpoint1[b]], 0.4, 1e-12);
  EXPECT_NEAR(Pz[Cpoint1[b]], 0.9 - kDmin, 1e-12);
  EXPECT_NEAR(Pz[Cpoint5[b]], 0.9 - 0.5 * kDmin, 1e-12);
  EXPECT_NEAR(Pz[Cpoint5[above]], 0.9, 1e-12);
  EXPECT_NEAR(Px[Cpoint5[above]], 0.4, 1e-12);
  EXPECT_EQ(Ctrekant[b], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SqueezedLine,
    ::testing::Values(SqueezeCase{"TipAtTheWater", 0.0, true}, SqueezeCase{"TipAboveTheWater", -0.3, true},
                      SqueezeCase{"TipJustBelowDmin", 0.004, true}, SqueezeCase{"DeepCornerStays", 1.0, false}),
    [](const ::testing::TestParamInfo<SqueezeCase> &info) { return std::string(info.param.name); });

// F 503 on column (3, 3) of a 5 x 5 block whose other columns near it are
// empty: each corner is lowered to the opposite corner's count when that is
// at most 2, in the order 1, 2, 3, 4.
TEST_F(WaterEdgeVariant, LineCountsAtTheTipFollowTheOppositeCorner) {
  UMethod2 = 1;  // the second generator's lower-zone counts exist
  allocate(7, 7, 5);
  addBlock(2, 6, 2, 6);
  ant[3][3] = 4;
  // Grid points of corners 1..4 of column (3, 3).
  const std::pair<int, int> corner[5] = {{0, 0}, {2, 2}, {3, 2}, {3, 3}, {2, 3}};
  const int lines[5] = {0, 5, 3, 2, 1}, lower[5] = {0, 4, 2, 1, 1};
  for (int k = 1; k <= 4; ++k) {
    antlin[corner[k].first][corner[k].second] = lines[k];
    antlinT[corner[k].first][corner[k].second] = lower[k];
  }
  // A column on the block's edge is not treated.
  ant[6][6] = 1;
  antlin[5][5] = 1;
  antlin[6][6] = 6;
  UnstrucTriangular10();
  const int linesAfter[5] = {0, 2, 1, 2, 1}, lowerAfter[5] = {0, 1, 1, 1, 1};
  for (int k = 1; k <= 4; ++k) {
    EXPECT_EQ(antlin[corner[k].first][corner[k].second], linesAfter[k]) << "corner " << k;
    EXPECT_EQ(antlinT[corner[k].first][corner[k].second], lowerAfter[k]) << "corner " << k;
  }
  EXPECT_EQ(antlin[6][6], 6);
}

// Corners 1 and 3 face lines of three or more points and keep their counts;
// corner 2 faces a line of two but has fewer itself, and keeps its one.
TEST_F(WaterEdgeVariant, LineCountsNeverRise) {
  UMethod2 = 1;
  allocate(7, 7, 5);
  addBlock(2, 4, 2, 4);
  ant[3][3] = 4;
  antlin[2][2] = antlinT[2][2] = 5;
  antlin[3][3] = antlinT[3][3] = 3;
  antlin[3][2] = antlinT[3][2] = 1;
  antlin[2][3] = antlinT[2][3] = 2;
  UnstrucTriangular10();
  EXPECT_EQ(antlin[2][2], 5);
  EXPECT_EQ(antlin[3][3], 3);
  EXPECT_EQ(antlin[3][2], 1);
  EXPECT_EQ(antlinT[3][2], 1);
  // Corner 4 faces the one-point line of corner 2.
  EXPECT_EQ(antlin[2][3], 1);
  EXPECT_EQ(antlinT[2][3], 1);
}

}  // namespace
