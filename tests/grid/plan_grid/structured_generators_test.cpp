// The structured-grid generators on a hand-filled block of 5 x 5 lines
// (i1 = j1 = 2, i2 = j2 = 5: lines 1..5, x = i - 1, y = j - 1, 1 m apart),
// checked against positions worked by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "base/exit_codes.h"
#include "grid/grid_fixture.h"
#include "grid/plan_grid/structured_generators.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class StructuredGenerator : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(6, 6, 11);
    flatGrid(0, 7, 0, 7, 1.0);
    addBlock(2, 5, 2, 5);
    BlockID = 0;
    FastNo = AttractNo = NoConnect = 0;
    std::remove("boogie");
  }

  static void fix(int i, int j) {
    ++FastNo;
    iFast[FastNo] = i;
    jFast[FastNo] = j;
  }

  static void expectUniform(const char *what) {
    for (int i = 1; i <= 5; ++i) {
      for (int j = 1; j <= 5; ++j) {
        EXPECT_NEAR(xval[i][j], i - 1.0, 1e-9) << what << " at " << i << "," << j;
        EXPECT_NEAR(yval[i][j], j - 1.0, 1e-9) << what << " at " << i << "," << j;
        EXPECT_NEAR(zval[i][j][1], 0.0, 1e-9) << what << " at " << i << "," << j;
      }
    }
  }
};

struct Smoother {
  const char *name;
  void (*run)();
  friend void PrintTo(const Smoother &s, std::ostream *os) { *os << s.name; }
};

const Smoother kSmoothers[] = {{"transfinite", transfinite}, {"elliptic", elliptic},
                               {"Itransfinite", Itransfinite}, {"Jtransfinite", Jtransfinite},
                               {"Mtransfinite", Mtransfinite}, {"sides", sides}};

class UniformBlock : public StructuredGenerator, public ::testing::WithParamInterface<Smoother> {};

TEST_P(UniformBlock, StaysUniform) {
  GetParam().run();
  expectUniform(GetParam().name);
  EXPECT_EQ(BlockID, 1);
}

// A W 6 point off its place keeps it, whatever the generator does around it.
TEST_P(UniformBlock, FixedPointStays) {
  xval[3][3] = 2.3;
  yval[3][3] = 1.8;
  zval[3][3][1] = 0.4;
  fix(3, 3);
  GetParam().run();
  EXPECT_EQ(xval[3][3], 2.3);
  EXPECT_EQ(yval[3][3], 1.8);
  EXPECT_EQ(zval[3][3][1], 0.4);
}

INSTANTIATE_TEST_SUITE_P(Generators, UniformBlock, ::testing::ValuesIn(kSmoothers),
                         [](const ::testing::TestParamInfo<Smoother> &info) { return std::string(info.param.name); });

// A parallelogram frame, x = (i-1) + 0.5 (j-1), y = 0.8 (j-1), with a bed
// plane 0.1 i + 0.2 j: the scrambled interior returns to the same formulas.
TEST_F(StructuredGenerator, ParallelogramInteriorIsBilinear) {
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 5; ++j) {
      const bool frame = i == 1 || i == 5 || j == 1 || j == 5;
      xval[i][j] = frame ? (i - 1) + 0.5 * (j - 1) : 9.0;
      yval[i][j] = frame ? 0.8 * (j - 1) : -3.0;
      zval[i][j][1] = frame ? 0.1 * i + 0.2 * j : 7.0;
    }
  }
  Mtransfinite();
  for (int i = 2; i <= 4; ++i) {
    for (int j = 2; j <= 4; ++j) {
      EXPECT_NEAR(xval[i][j], (i - 1) + 0.5 * (j - 1), 1e-12) << i << "," << j;
      EXPECT_NEAR(yval[i][j], 0.8 * (j - 1), 1e-12) << i << "," << j;
      EXPECT_NEAR(zval[i][j][1], 0.1 * i + 0.2 * j, 1e-12) << i << "," << j;
    }
  }
}

// Rows 2..4 between row 1 (x 0, bed 0) and row 5 (x 8, bed 4) take the
// weights 1/4, 2/4, 3/4; the water level is not interpolated.
TEST_F(StructuredGenerator, RowsTakeTheirIndexWeights) {
  for (int j = 1; j <= 5; ++j) {
    xval[5][j] = 8.0;
    zval[5][j][1] = 4.0;
    for (int i = 2; i <= 4; ++i) {
      xval[i][j] = -1.0;
      zval[i][j][11] = 7.0;
    }
  }
  Jtransfinite();
  for (int j = 2; j <= 4; ++j) {
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(xval[2 + k][j], 8.0 * (k + 1) / 4.0, 1e-12);
      EXPECT_NEAR(zval[2 + k][j][1], 4.0 * (k + 1) / 4.0, 1e-12);
      EXPECT_EQ(zval[2 + k][j][11], 7.0);
    }
  }
}

// The south border (j = 1) with a W 6 point at i = 4 moved to (4.5, -1),
// bed 0.6, water 1.3: the points 2 and 3 are spaced by index between the
// line end and that anchor, and 5 is an end. The west border (i = 1) has an
// anchor from a block connection at j = 3.
TEST_F(StructuredGenerator, SidesRunStraightBetweenAnchors) {
  xval[4][1] = 4.5;
  yval[4][1] = -1.0;
  zval[4][1][1] = 0.6;
  zval[4][1][11] = 1.3;
  fix(4, 1);
  xval[2][1] = xval[3][1] = 9.0;
  xval[1][3] = -0.5;
  NoConnect = 1;
  conn[0][0] = 6;
  conn[0][1] = 1;
  conn[0][2] = 6;
  conn[0][3] = 3;
  xval[1][2] = xval[1][4] = 5.0;
  sides();
  for (int i : {2, 3}) {
    const double t = (i - 1) / 3.0;
    EXPECT_NEAR(xval[i][1], t * 4.5, 1e-12) << i;
    EXPECT_NEAR(yval[i][1], -t, 1e-12) << i;
    EXPECT_NEAR(zval[i][1][1], t * 0.6, 1e-12) << i;
    EXPECT_NEAR(zval[i][1][11], 1.0 + t * 0.3, 1e-12) << i;
  }
  EXPECT_EQ(xval[5][1], 4.0);
  EXPECT_EQ(xval[1][3], -0.5);
  EXPECT_NEAR(xval[1][2], -0.25, 1e-12);
  EXPECT_NEAR(xval[1][4], -0.25, 1e-12);
}

// The two W 6 points given last four lines apart on j line 3: the three
// points between them go on the straight line and join the fixed points.
TEST_F(StructuredGenerator, LineBetweenTheLastFixedPoints) {
  fix(2, 2);
  fix(1, 3);
  fix(5, 3);
  yval[5][3] = 4.0;
  zval[5][3][1] = 0.8;
  addLineNoMovePoints();
  ASSERT_EQ(FastNo, 6);
  for (int m = 1; m <= 3; ++m) {
    EXPECT_EQ(iFast[3 + m], 1 + m);
    EXPECT_EQ(jFast[3 + m], 3);
    EXPECT_NEAR(xval[1 + m][3], m, 1e-12);
    EXPECT_NEAR(yval[1 + m][3], 2.0 + 0.5 * m, 1e-12);
    EXPECT_NEAR(zval[1 + m][3][1], 0.2 * m, 1e-12);
  }
  // Two points on no common line add nothing.
  fix(2, 4);
  addLineNoMovePoints();
  EXPECT_EQ(FastNo, 7);
}

// W 6 points at i = 3, j = 1, 3, 5 on the circle of radius 2 around the
// origin at 0, 45 and 90 degrees: j = 2 and 4 go to 22.5 and 67.5 degrees.
TEST_F(StructuredGenerator, CircleThroughTheLastThreeFixedPoints) {
  const double quarter = std::atan(1.0);
  for (int j : {1, 3, 5}) {
    xval[3][j] = 2.0 * std::cos(quarter * (j - 1) / 2.0);
    yval[3][j] = 2.0 * std::sin(quarter * (j - 1) / 2.0);
    fix(3, j);
  }
  computeCircle();
  for (int j : {2, 4}) {
    EXPECT_NEAR(xval[3][j], 2.0 * std::cos(quarter * (j - 1) / 2.0), 1e-12) << j;
    EXPECT_NEAR(yval[3][j], 2.0 * std::sin(quarter * (j - 1) / 2.0), 1e-12) << j;
  }
}

// One type-0 attraction point at (3, 3): the i lines next to it close in,
// and every point stays inside the block's coordinate range.
TEST_F(StructuredGenerator, AttractionPointDrawsLinesIn) {
  AttractNo = 1;
  Attract[1] = AttractEntry{3, 3, 0, 1.0, 0.5};
  elliptic();
  EXPECT_LT(xval[3][3] - xval[2][3], 0.99);
  EXPECT_LT(xval[4][3] - xval[3][3], 0.99);
  EXPECT_GT(xval[3][3] - xval[2][3], 0.0);
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 5; ++j) {
      EXPECT_GE(xval[i][j], 0.0);
      EXPECT_LE(xval[i][j], 4.0);
      EXPECT_GE(yval[i][j], 0.0);
      EXPECT_LE(yval[i][j], 4.0);
    }
  }
  EXPECT_GT(P[2][3], 0.0);
  EXPECT_LT(P[4][3], 0.0);
}

// Z 2 3 2 2 with percentages 0, 10, ..., 100 over a bed at 0.2 and the water
// at 1.0: level k of points (2, 2) and (3, 2) is 0.2 + 0.08 (k - 1).
TEST_F(StructuredGenerator, GridchangeSpreadsTheLevels) {
  for (int i = 2; i <= 3; ++i) zval[i][2][1] = 0.2;
  writeFile("control", "F 2 Y\nP 3 1 2 3 4\nZ 2 3 2 2 0 10 20 30 40 50 60 70 80 90 100\n");
  gridchange();
  for (int i = 2; i <= 3; ++i) {
    for (int k = 1; k <= 11; ++k) EXPECT_NEAR(zval[i][2][k], 0.2 + 0.08 * (k - 1), 1e-12) << i << " " << k;
  }
  EXPECT_EQ(zval[4][2][5], 0.0);
  EXPECT_EQ(xnode + ynode + znode + lnode, 10);
  EXPECT_EQ(xnode, 1);
  EXPECT_EQ(boogie(), " In gridchange \n\n End of gridchange \n\n");
}

struct BadZ {
  const char *name;
  const char *control;
  friend void PrintTo(const BadZ &z, std::ostream *os) { *os << z.name; }
};

class GridchangeRefuses : public StructuredGenerator, public ::testing::WithParamInterface<BadZ> {};

TEST_P(GridchangeRefuses, EndsAsRefusedInput) {
  writeFile("control", GetParam().control);
  EXPECT_EXIT(gridchange(), ::testing::ExitedWithCode(kExitInputError & 255), "");
  EXPECT_EQ(boogie(), " In gridchange \n\nInput error for Z in control");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridchangeRefuses,
    ::testing::Values(BadZ{"Decreasing", "Z 2 3 2 2 0 10 20 30 40 50 60 70 80 100 90\n"},
                      BadZ{"NotEndingAt100", "Z 2 3 2 2 0 10 20 30 40 50 60 70 80 90 99\n"},
                      BadZ{"FirstLineBelow2", "Z 1 3 2 2 0 10 20 30 40 50 60 70 80 90 100\n"},
                      BadZ{"StartAboveEnd", "Z 3 2 2 2 0 10 20 30 40 50 60 70 80 90 100\n"},
                      BadZ{"BeyondTheGrid", "Z 2 7 2 2 0 10 20 30 40 50 60 70 80 90 100\n"},
                      BadZ{"TooFewLevels", "Z 2 3 2 2 0 50 100\n"},
                      BadZ{"NotANumber", "Z 2 3 2 2 0 10 20 30 40 nan 60 70 80 90 100\n"}),
    [](const ::testing::TestParamInfo<BadZ> &info) { return std::string(info.param.name); });

// The levels of a Z data set fit a table of 28: a grid of 29 levels ends
// the run with status 2 before a percentage is read.
class GridchangeLevelTable : public GridFixture {};

TEST_F(GridchangeLevelTable, RefusesMoreThan28Levels) {
  allocate(4, 4, 29);
  writeFile("control", "Z 2 3 2 2 0 100\n");
  std::remove("boogie");
  EXPECT_EXIT(gridchange(), ::testing::ExitedWithCode(2), "");
  EXPECT_EQ(boogie(), " In gridchange \n\nError, the Z data sets in control take at most 28 levels\n");
}

// Block 1's 25 points, i outer: with the water level, or without it when
// K 2 gives 1; "koordina.si1" never carries it. A partitioned run writes its own name.
TEST_F(StructuredGenerator, PointFilesOfBlockOne) {
  zval[2][1][1] = 0.25;
  FlagRoof = 0;
  writekoor();
  const std::string points = readFile("koordina.new"), beds = readFile("koordina.si1");
  EXPECT_TRUE(points.starts_with("1 1 0.000000 0.000000 0.000000 1.000000\n1 2 0.000000 1.000000 0.000000 1.000000\n"))
      << points;
  EXPECT_NE(points.find("\n2 1 1.000000 0.000000 0.250000 1.000000\n"), std::string::npos);
  EXPECT_EQ(std::count(points.begin(), points.end(), '\n'), 25);
  EXPECT_TRUE(beds.starts_with("1 1 0.000000 0.000000 0.000000\n1 2 0.000000 1.000000 0.000000\n")) << beds;
  EXPECT_EQ(std::count(beds.begin(), beds.end(), '\n'), 25);
  FlagRoof = 1;
  writekoor();
  EXPECT_EQ(readFile("koordina.new"), beds);
  FlagMPI = 2;
  writekoor();
  EXPECT_EQ(readFile("koorina.mpi2.new"), beds);
}

}  // namespace
