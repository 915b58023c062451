// The geometry, the bed-cell index, the gradients and the checks on the grids
// that the generator makes of the case folders cube, column3, channel and
// step, as the run letter Y would: "koosurf" read, then Unstructure.
#include <gtest/gtest.h>

#include <string>

#include "grid/column_grid.h"
#include "grid/fixture_values.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/structured.h"
#include "base/log.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

using GeneratedGrid = GridFixture;

TEST_F(GeneratedGrid, CubeGeometryAndBedCell) {
  generateCase(CaseGrid::Cube);
  ASSERT_EQ(NoCells, 1);
  metric();
  expectUnitCube();
  expectClosedCells();
  BedMake();
  expectCubeBedCell();
}

TEST_F(GeneratedGrid, ChannelGeometryAndBedCells) {
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  metric();
  expectChannelGeometry();
  BedMake();
  expectChannelBedCells();
}

TEST_F(GeneratedGrid, Column3Interpolation) {
  generateCase(CaseGrid::Column3);
  ASSERT_EQ(NoCells, 3);
  metric();
  BedMake();
  expectClosedCells();
  expectColumnInterpolation();
}

TEST_F(GeneratedGrid, ChannelGradients) {
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  metric();
  BedMake();
  expectChannelGradients();
}

TEST_F(GeneratedGrid, ChannelChecks) {
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  metric();
  BedMake();
  const std::string closing = "Have checked grid from cell 1 to 360\nHave checked grid from surface 1 to 1246\n\n";
  std::size_t before = boogie().size();
  CheckFparam();
  gridTest();
  EXPECT_EQ(boogie().substr(before), closing);
  Fcell1[2] = 0;
  before = boogie().size();
  CheckFparam();
  gridTest();
  EXPECT_EQ(boogie().substr(before), "Grid error for cell 1 e, Fcell1[2] = 0\n" + closing + "Error 7 in grid for cell 1\n");
}

// The step: two columns, the second with two collapsed cells whose west sides
// have almost no area above a bottom cell that has a west neighbour.
TEST_F(GeneratedGrid, StepCollapsedSides) {
  generateStep();
  ASSERT_EQ(NoCells, 8);
  metric();
  EXPECT_EQ(Fflagflow[25], 2);
  EXPECT_EQ(Fflagflow[30], 2);
  EXPECT_LT(Farea[25], 1e-10);
  EXPECT_LT(Farea[30], 1e-10);
  EXPECT_EQ(facesFlagged(1), 9);
  EXPECT_EQ(facesFlagged(0), 2);
  EXPECT_EQ(facesFlagged(-1), 26);
  for (int c : {1, 2, 3, 5, 6}) EXPECT_NEAR(Cvol[c], 0.2, 1e-9) << "cell " << c;
  for (int c : {4, 7, 8}) EXPECT_NEAR(Cvol[c], 0.3, 1e-9) << "cell " << c;
  expectClosedCells();
  BedMake();
  EXPECT_NEAR(Bdepth[1], 0.6, 1e-9);
  EXPECT_NEAR(Bdepth[2], 1.3, 1e-9);
  // Cell 7 shares its west face with cell 2 and its bottom face with the
  // collapsed cell 6, whose top west corners are points of their own; the
  // bottom face comes later and sets corners 1 and 4, so the west face's first
  // two points differ from them: gridTest names exactly these two checks.
  const std::size_t before = boogie().size();
  gridTest();
  CheckFparam();
  EXPECT_EQ(boogie().substr(before), "Error 21 in grid for cell 7\nError 22 in grid for cell 7\n"
                                     "Have checked grid from cell 1 to 8\nHave checked grid from surface 1 to " +
                                         std::to_string(NoSurfaces) + "\n\n");
}

// The G 13 rectangle of the channel: column (6,5) takes its south face from
// (6,4), but its corners 1 and 5 are set again from its west face,
// which comes later. gridTest names checks 17 and 18 for its nine cells and
// nothing else.
TEST_F(GeneratedGrid, OutBlockCornersFromTheLaterSide) {
  readChannel();
  OutBlock[1] = OutBlockEntry{0, 4, 5, 3, 4, 2, 11};
  OutBlockNo = 1;
  ASSERT_EQ(Unstructure(), 1);
  metric();
  std::string expected;
  for (int c = 271; c <= 279; ++c) {
    expected += "Error 17 in grid for cell " + std::to_string(c) + "\n";
    expected += "Error 18 in grid for cell " + std::to_string(c) + "\n";
  }
  const std::size_t before = boogie().size();
  gridTest();
  EXPECT_EQ(boogie().substr(before), expected);
}

class GeneratedGridChecks : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    operations.WriteAllData = [] { logText("WriteAllData\n"); };
    operations.sprintflow = [] { logText("sprintflow\n"); };
  }
  void TearDown() override {
    operations = engineOperations();
    GridFixture::TearDown();
  }
};

// The channel mirrored (x = 1 - i) before the generator runs.
TEST_F(GeneratedGridChecks, MirroredChannel) {
  readCaseGrid("channel");
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) xval[i][j] = 1 - i;
  }
  Unstructure();
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  const std::string log = boogie();
  EXPECT_NE(log.find("\nIn metric, Error for cell 1, zero volume: -0.111111\n "
                     "Bed cell b=1\n"
                     "Cell indexes: i=2, j=2, bed cell=1\n"
                     "zval[1]: 0.000000 0.000000 0.000000 0.000000\n"
                     "zval[znumber]: 1.000000 1.000000 1.000000 1.000000\n"
                     "Surfaces[LB]: "),
            std::string::npos)
      << log;
  EXPECT_TRUE(endsWith(log,
                       "Iter = 0\n"
                       "idist,jdist,kdist = 0.500000 0.500000 0.055556\n"
                       "Careax = 0.111111, Careay = 0.111111, Careaz = -1.000000\n"
                       "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
                       "Coordinates: x: 0.000000 -1.000000 -1.000000 0.000000\n"
                       "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
                       "Coordinates: y: 0.000000 0.000000 1.000000 1.000000\n"
                       "Coordinates: z: 0.000000 0.000000 0.000000 0.000000\n"
                       "Coordinates: z: 0.111111 0.111111 0.111111 0.111111\n"
                       "WriteAllData\n"))
      << log;
}

// The cube's top corners moved east: 5e-8 m passes, 2e-7 m is refused.
TEST_F(GeneratedGridChecks, CubeTopMovedEast) {
  generateCase(CaseGrid::Cube);
  ASSERT_EQ(NoCells, 1);
  for (int p : {Cpoint5[1], Cpoint6[1], Cpoint7[1], Cpoint8[1]}) Px[p] += 5e-8;
  metric();
  EXPECT_NEAR(Cdxdk[1], 5e-8, 1e-15);
  for (int p : {Cpoint5[1], Cpoint6[1], Cpoint7[1], Cpoint8[1]}) Px[p] += 1.5e-7;
  FlagHaveDoneMetric = 0;
  EXPECT_EXIT(metric(), ::testing::ExitedWithCode(255), "");
  const std::string log = boogie();
  EXPECT_NE(log.find("\nIn metric, Error for cell 1, skewed in horizontal direction\n"), std::string::npos) << log;
  EXPECT_TRUE(endsWith(log, "North: 0, South: 0, East: 0, West: 0, Top: 0, Bottom: 0\nWriteAllData\nsprintflow\n"))
      << log;
}

}  // namespace
