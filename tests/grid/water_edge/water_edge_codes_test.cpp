// The standard collapse on hand-built columns of 1 m squares (the tip corner,
// its weights, the merge, the codes) and the regrouping of the codes of
// neighbouring collapsed cells on hand-set links.
#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <vector>

#include "grid/water_edge/column_corners.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

void setDepth(int i, int j, double depth) { zval[i][j][1] = zval[i][j][znumber] - depth; }

constexpr double kMin0 = 0.01;

struct CollapseCase {
  const char *name;
  int cells;
  double d[5];   // depths at corners 1..4 of column (2, 2)
  double x, y;   // where corner 1 ends (it starts at (0, 0), its opposite is (1, 1))
  int code;
  friend void PrintTo(const CollapseCase &c, std::ostream *os) { *os << c.name; }
};

class StandardCollapse : public GridFixture, public ::testing::WithParamInterface<CollapseCase> {};

// A lone column: corner 1 is the first corner whose three other columns are
// dry, dmin = MinVertDist0 (F 102 1).
TEST_P(StandardCollapse, PullsTheTipCorner) {
  const CollapseCase &c = GetParam();
  allocate(6, 6, 5);
  flatGrid(0, 5, 0, 5, 1.0);
  addBlock(2, 2, 2, 2);
  ant[2][2] = c.cells;
  const int gi[5] = {0, 1, 2, 2, 1}, gj[5] = {0, 1, 1, 2, 2};
  for (int k = 1; k <= 4; ++k) setDepth(gi[k], gj[k], c.d[k]);
  uniformLevels(1, c.cells + 1);
  buildBlocks();
  FlagMinLevUnstruc = 1;
  MinVertDist0 = kMin0;
  FlagCorrTrekant = 1;
  UnstrucTriangular();
  const int b = columnBottom(2, 2);
  EXPECT_NEAR(Px[Cpoint1[b]], c.x, 1e-12);
  EXPECT_NEAR(Py[Cpoint1[b]], c.y, 1e-12);
  for (int cell = b; cell > 0; cell = Ccellt[cell]) {
    EXPECT_EQ(Px[Cpoint5[cell]], Px[Cpoint1[b]]);
    EXPECT_EQ(Py[Cpoint5[cell]], Py[Cpoint1[b]]);
  }
  EXPECT_EQ(Ctrekant[b], c.code);
}

INSTANTIATE_TEST_SUITE_P(
    Tips, StandardCollapse,
    ::testing::Values(
        // r = 0.5: 0.45 of the tip, 0.55 of the opposite corner.
        CollapseCase{"HalfRatioWeights", 1, {0, 0.5, 0.005, 1.0, 0.005}, 0.55, 0.55, 1},
        // r = 0.9: f = 0.81.
        CollapseCase{"WeightGrowsWithTheRatio", 1, {0, 0.5, 0.009, 1.0, 0.009}, 0.19, 0.19, 1},
        CollapseCase{"AdjacentCornerAboveWater", 1, {0, 0.5, -0.1, 1.0, 0.005}, 0.55, 0.55, 1},
        // The tip above the water merges; both adjacent corners lie 1 m away: corner 4.
        CollapseCase{"DryTipMergesIntoCornerFour", 1, {0, -0.1, 0.005, 1.0, 0.005}, 0.0, 1.0, 1},
        CollapseCase{"SeveralCellsGetNoCode", 2, {0, 0.5, 0.005, 1.0, 0.005}, 0.55, 0.55, 0},
        CollapseCase{"DeepAdjacentCornerKeepsTheColumn", 1, {0, 0.5, 0.02, 1.0, 0.005}, 0.0, 0.0, 0}));

// Column (2, 2) has a wet neighbour to the north: corners 1 and 2 qualify,
// only corner 1 is tried, and its corner 4 is deep, so nothing moves although
// the corners beside corner 2 are shallow.
TEST_F(StandardCollapse, OnlyTheFirstTipCornerIsTried) {
  allocate(6, 6, 5);
  flatGrid(0, 5, 0, 5, 1.0);
  addBlock(2, 2, 2, 3);
  ant[2][2] = ant[2][3] = 1;
  for (const auto &[i, j] : {std::pair{1, 1}, {2, 1}, {2, 2}}) setDepth(i, j, 0.005);
  uniformLevels(1, 2);
  buildBlocks();
  std::vector<std::array<double, 3>> before;
  for (int p = 1; p <= NoPoints; ++p) before.push_back({Px[p], Py[p], Pz[p]});
  FlagMinLevUnstruc = 1;
  MinVertDist0 = kMin0;
  FlagCorrTrekant = 1;
  UnstrucTriangular();
  for (int p = 1; p <= NoPoints; ++p) {
    EXPECT_EQ(Px[p], before[p - 1][0]) << "point " << p;
    EXPECT_EQ(Py[p], before[p - 1][1]) << "point " << p;
    EXPECT_EQ(Pz[p], before[p - 1][2]) << "point " << p;
  }
}

// F 235 17 lowers a wet corner that is shallower than the wet lines outside
// the column, only when the column reaches above the water somewhere.
class CornerLowering : public GridFixture {
 protected:
  // Returns the level of corner 1's bottom point (0 before).
  static double seventeenWithCorner3(double d3);
};

double CornerLowering::seventeenWithCorner3(double d3) {
  allocate(6, 6, 5);
  flatGrid(0, 5, 0, 5, 1.0);
  addBlock(2, 2, 2, 2);
  ant[2][2] = 1;
  setDepth(2, 2, d3);
  // The three lines outside corner 1 are wet and 2 m deep.
  for (const auto &[i, j] : {std::pair{0, 0}, {1, 0}, {0, 1}}) {
    setDepth(i, j, 2.0);
    antlin[i][j] = 2;
  }
  antlin[1][1] = 2;
  uniformLevels(1, 2);
  buildBlocks();
  FlagMinLevUnstruc = 1;
  MinVertDist0 = kMin0;
  FlagCorrTrekant = 17;
  UnstrucTriangular();
  const int b = columnBottom(2, 2);
  EXPECT_EQ(Pz[Cpoint2[b]], 0.0);
  EXPECT_EQ(Px[Cpoint1[b]], 0.0);
  return Pz[Cpoint1[b]];
}

TEST_F(CornerLowering, F235SeventeenWithAllCornersWetChangesNothing) {
  EXPECT_EQ(seventeenWithCorner3(1.0), 0.0);
}

// delta = 1 - 6 / 3.5, the whole of it at the bottom point (m = 0).
TEST_F(CornerLowering, F235SeventeenLowersBesideADryCorner) {
  EXPECT_NEAR(seventeenWithCorner3(-0.1), 1.0 - 6.0 / 3.5, 1e-12);
}

// Six cells in two rows of three; `topFirst` numbers the upper row first.
struct CodeCase {
  const char *name;
  bool topFirst;
  int flag;  // F 235
  std::array<int, 3> top, bottom, topAfter, bottomAfter;
  friend void PrintTo(const CodeCase &c, std::ostream *os) { *os << c.name; }
};

class CodeGroups : public GridFixture, public ::testing::WithParamInterface<CodeCase> {};

int cellAt(bool topFirst, int i, int j) { return (topFirst ? (1 - j) : j) * 3 + i + 1; }

TEST_P(CodeGroups, RegroupsNeighbouringCodes) {
  const CodeCase &c = GetParam();
  allocate(4, 4, 3, 20);
  NoCells = 6;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 2; ++j) {
      const int n = cellAt(c.topFirst, i, j);
      Ccelle[n] = i < 2 ? cellAt(c.topFirst, i + 1, j) : 0;
      Ccellw[n] = i > 0 ? cellAt(c.topFirst, i - 1, j) : 0;
      Ccelln[n] = j < 1 ? cellAt(c.topFirst, i, j + 1) : 0;
      Ccells[n] = j > 0 ? cellAt(c.topFirst, i, j - 1) : 0;
      Ctrekant[n] = j == 1 ? c.top[i] : c.bottom[i];
    }
  }
  FlagCorrTrekant = c.flag;
  setCorrTrekant();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Ctrekant[cellAt(c.topFirst, i, 1)], c.topAfter[i]) << "top " << i;
    EXPECT_EQ(Ctrekant[cellAt(c.topFirst, i, 0)], c.bottomAfter[i]) << "bottom " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Groups, CodeGroups,
    ::testing::Values(
        CodeCase{"OneWithEastTwoAndNorthFour", false, 1, {4, 0, 0}, {1, 2, 0}, {24, 0, 0}, {13, 14, 0}},
        CodeCase{"OneWithEastTwo", false, 1, {0, 0, 0}, {1, 2, 0}, {0, 0, 0}, {5, 6, 0}},
        CodeCase{"OneWithNorthFourAndItsEastThree", false, 1, {4, 3, 0}, {1, 0, 0}, {22, 21, 0}, {23, 0, 0}},
        CodeCase{"OneWithNorthFour", false, 1, {4, 0, 0}, {1, 0, 0}, {11, 0, 0}, {12, 0, 0}},
        CodeCase{"ThreeWithSouthTwoAndWestFour", false, 1, {4, 3, 0}, {0, 2, 0}, {20, 19, 0}, {0, 18, 0}},
        CodeCase{"ThreeWithSouthTwoAndItsWestOne", true, 1, {0, 3, 0}, {1, 2, 0}, {0, 17, 0}, {15, 16, 0}},
        CodeCase{"ThreeWithSouthTwo", false, 1, {0, 3, 0}, {0, 2, 0}, {0, 8, 0}, {0, 7, 0}},
        CodeCase{"ThreeWithWestFour", false, 1, {4, 3, 0}, {0, 0, 0}, {10, 9, 0}, {0, 0, 0}},
        // The code-2 cell joins the lower-numbered claimant; the code 3 is left alone.
        CodeCase{"TwoJoinsTheLowerCell", false, 1, {0, 3, 0}, {1, 2, 0}, {0, 3, 0}, {5, 6, 0}},
        CodeCase{"GroupsUpToThirty", false, 30, {0, 0, 0}, {1, 2, 0}, {0, 0, 0}, {5, 6, 0}},
        CodeCase{"NotWithoutF235", false, 0, {0, 0, 0}, {1, 2, 0}, {0, 0, 0}, {1, 2, 0}},
        CodeCase{"NotAboveThirty", false, 31, {0, 0, 0}, {1, 2, 0}, {0, 0, 0}, {1, 2, 0}}));

}  // namespace
