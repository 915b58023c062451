// Plan areas, depth thresholds, line counts and cell counts: the channel case
// worked by hand, the power law at its edges, and the column rules.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

using LineCounts = GridFixture;

// The channel: 1 m2 columns give MinVertDist1 = 0.1 and MinVertDist0 = 0.005;
// a 1 m depth at MaxDepth 1 gives v = (1/(1+1e-10))^0.6·9 = 8.9999999995, so
// 10 lines on every grid line, 9 cells in every column, and the default
// filters leave them alone.
TEST_F(LineCounts, ChannelWorkedByHand) {
  readChannel();
  ArmapMake();
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) EXPECT_EQ(armap[i][j], 1.0) << i << " " << j;
  }
  EXPECT_EQ(armap[1][1], 0.0);
  ASSERT_LT(MinVertDist0, 0.0);
  computeF94();
  EXPECT_DOUBLE_EQ(MinVertDist1, 0.1);
  EXPECT_DOUBLE_EQ(MinVertDist0, 0.005);

  const GridBlock &b = block[1];
  MakeAntlin(b.i1, b.i2, b.j1, b.j2, 1.0 / (1.0 + 1e-10));
  Grid1Stability(b.i1, b.i2, b.j1, b.j2);
  MakeAnt(b.i1, b.i2, b.j1, b.j2);
  Grid2Stability(b.i1, b.i2, b.j1, b.j2);
  int lines = 0, columns = 0;
  for (int i = 0; i <= 14; ++i) {
    for (int j = 0; j <= 8; ++j) {
      const bool line = i >= 1 && i <= 11 && j >= 1 && j <= 5;
      const bool column = i >= 2 && i <= 11 && j >= 2 && j <= 5;
      EXPECT_EQ(antlin[i][j], line ? 10 : 0) << i << " " << j;
      EXPECT_EQ(ant[i][j], column ? 9 : 0) << i << " " << j;
      lines += antlin[i][j] == 10;
      columns += ant[i][j] == 9;
    }
  }
  EXPECT_EQ(lines, 55);
  EXPECT_EQ(columns, 40);
}

// The plan area is half the cross product of the diagonals, for any
// quadrilateral; a column folded flat has none.
TEST_F(LineCounts, PlanAreaOfSkewAndFlatColumns) {
  allocate(6, 6, 4);
  addBlock(2, 2, 2, 2);
  // Corners (0,0), (4,0), (3,2), (1,3): 7.5 m2 by the shoelace formula.
  xval[1][1] = 0, yval[1][1] = 0;
  xval[2][1] = 4, yval[2][1] = 0;
  xval[2][2] = 3, yval[2][2] = 2;
  xval[1][2] = 1, yval[1][2] = 3;
  ArmapMake();
  EXPECT_DOUBLE_EQ(armap[2][2], 7.5);
  // A non-convex column: (0,0), (4,0), (1,1), (0,4): 4 m2.
  xval[2][2] = 1, yval[2][2] = 1;
  xval[1][2] = 0, yval[1][2] = 4;
  ArmapMake();
  EXPECT_DOUBLE_EQ(armap[2][2], 4.0);
  // All corners on one line.
  yval[2][2] = 0;
  yval[1][2] = 0;
  ArmapMake();
  EXPECT_EQ(armap[2][2], 0.0);
}

// Multigrid levels do not set the thresholds; without a base block both are 0.
TEST_F(LineCounts, ThresholdsFromTheLargestBaseColumn) {
  allocate(6, 6, 4);
  computeF94();
  EXPECT_EQ(MinVertDist1, 0.0);
  EXPECT_EQ(MinVertDist0, 0.0);
  addBlock(2, 3, 2, 2);
  const int level = addBlock(4, 4, 2, 2);
  block[level].GridLevel = 2;
  armap[2][2] = 100.0;
  armap[3][2] = 25.0;
  armap[4][2] = 400.0;
  armap[5][2] = 900.0;  // outside every block
  computeF94();
  EXPECT_DOUBLE_EQ(MinVertDist1, 1.0);
  EXPECT_DOUBLE_EQ(MinVertDist0, 0.05);
  EXPECT_EQ(boogie().find("Computed F 94"), std::string::npos);
  debugging = 'D';
  computeF94();
  EXPECT_TRUE(endsWith(boogie(), "Computed F 94 parameters to 0.050000 1.000000\n")) << boogie();
}

// One grid line (i, j) = (2, 2) at depth d, with znumber 10.
struct LineCase {
  const char *name;
  double depth, scale, coefficient, dry, oneCell;
  int lines;
  friend void PrintTo(const LineCase &c, std::ostream *os) { *os << c.name; }
};

class LineLaw : public GridFixture, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineLaw, CountOfOneLine) {
  const LineCase &c = GetParam();
  allocate(6, 6, 10);
  zval[2][2][1] = -c.depth;
  zval[2][2][10] = 0.0;
  num[2][2][1] = num[2][2][10] = 77;
  GridDistCoeff = c.coefficient;
  MinVertDist0 = c.dry;
  MinVertDist1 = c.oneCell;
  MakeAntlin(3, 2, 3, 2, c.scale);
  EXPECT_EQ(antlin[2][2], c.lines);
  EXPECT_EQ(num[2][2][1] + num[2][2][10], 0);  // the line's column numbers are cleared
}

INSTANTIATE_TEST_SUITE_P(
    Depths, LineLaw,
    ::testing::Values(
        // v = 3.99 (d·s = 3.99/8 with the power 1): 3 + 2 lines.
        LineCase{"VBelowFour", 3.99, 0.125, 1.0, 0.25, 0.5, 5},
        LineCase{"VExactlyEight", 8.0, 0.125, 1.0, 0.25, 0.5, 10},
        LineCase{"VAboveEight", 40.0, 0.125, 1.0, 0.25, 0.5, 10},
        LineCase{"PowerZeroGivesFullCount", 0.75, 0.01, 0.0, 0.25, 0.5, 10},
        LineCase{"DefaultPowerLaw", 0.5, 0.5, 0.6, 0.25, 0.5, 5},
        LineCase{"JustBelowDryDepth", 0.2499999, 1.0, 1.0, 0.25, 0.5, 1},
        LineCase{"ExactlyDryDepthIsWet", 0.25, 1.0, 1.0, 0.25, 0.5, 2},
        LineCase{"ExactlyOneCellDepthTakesTheLaw", 0.5, 1.0, 1.0, 0.25, 0.5, 6},
        LineCase{"NegativeDepthIsDry", -1.0, 1.0, 1.0, 0.25, 0.5, 1}));

// Column (3, 3) of a block of columns 2..4 x 2..4, with corner lines
// (2,2), (3,2), (3,3), (2,3).
struct ColumnCase {
  const char *name;
  int corners[4];
  int method, outBlock, oldCell;
  double meanDepth, minDepth2;
  int cells;
  friend void PrintTo(const ColumnCase &c, std::ostream *os) { *os << c.name; }
};

class ColumnCounts : public GridFixture, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnCounts, CellsOfOneColumn) {
  const ColumnCase &c = GetParam();
  allocate(7, 7, 11);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) {
      antlin[i][j] = 1;
      zval[i][j][11] = c.meanDepth;
    }
  }
  antlin[2][2] = c.corners[0];
  antlin[3][2] = c.corners[1];
  antlin[3][3] = c.corners[2];
  antlin[2][3] = c.corners[3];
  UMethod = c.method;
  bedOutBlock[3][3] = c.outBlock;
  pointcell_old[3][3] = c.oldCell;
  pointcell_old[4][4] = 1;
  MinVertDist2 = c.minDepth2;
  MakeAnt(2, 4, 2, 4);
  EXPECT_EQ(ant[3][3], c.cells);
  EXPECT_EQ(ant[4][4], c.corners[2] - 1);  // its only wet corner is (3, 3)
}

INSTANTIATE_TEST_SUITE_P(
    Columns, ColumnCounts,
    ::testing::Values(
        ColumnCase{"LargestCornerLessOne", {3, 7, 5, 2}, 11, 0, 0, 1.0, 0.0, 6},
        ColumnCase{"OneWetCornerOfTwoGivesOneCell", {1, 1, 2, 1}, 11, 0, 0, 1.0, 0.0, 1},
        ColumnCase{"AllDry", {1, 1, 1, 1}, 11, 0, 0, 1.0, 0.0, 0},
        ColumnCase{"G13RectangleHasNoCells", {10, 10, 10, 10}, 11, 1, 0, 1.0, 0.0, 0},
        ColumnCase{"Method13NewColumnTooShallow", {4, 4, 4, 4}, 13, 0, 0, 0.5, 0.6, 0},
        ColumnCase{"Method13OldColumnKeepsItsCells", {4, 4, 4, 4}, 13, 0, 12, 0.5, 0.6, 3},
        ColumnCase{"Method13NewColumnDeepEnough", {4, 4, 4, 4}, 13, 0, 0, 0.6, 0.6, 3},
        ColumnCase{"OtherMethodsIgnoreMinDepth2", {4, 4, 4, 4}, 11, 0, 0, 0.5, 0.6, 3}));

}  // namespace
