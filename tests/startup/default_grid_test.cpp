// The structured grid that the reading of "control" leaves, in process: the
// start level from "geodata", the default block, the G 13 marks and the
// slide plane.
#include <gtest/gtest.h>

#include <string>

#include "model/allocation.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/default_grid.h"
#include "support/work_folder.h"

namespace {

class DefaultGrid : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
  }
  // G 1 4 5 3 1: grid lines 0..5 in i and 0..6 in j.
  void allocateSmallGrid() {
    xnumber = 4;
    ynumber = 5;
    znumber = 3;
    ASSERT_EQ(sialloc(), 0);
  }
};

TEST_F(DefaultGrid, GeodataGivesLevelAndDistribution) {
  znumber = 5;  // the eleven levels are set whatever znumber is
  zdistrib[12] = 77.0;
  writeFile("geodata", "E 0 0 2.5\nE 1 1 -1.5\nE 2 2 0.5\nX 3 3 100\nE 4 4 100\n");
  levelFromGeodata();
  EXPECT_DOUBLE_EQ(level, 3.5);
  for (int k = 0; k <= 10; ++k) EXPECT_DOUBLE_EQ(zdistrib[k + 1], -1.5 + k * 0.4) << k;
  EXPECT_DOUBLE_EQ(zdistrib[12], 77.0);
}

TEST_F(DefaultGrid, GeodataWithoutPointsChangesNothing) {
  writeFile("geodata", "X 1 2 3\nE 0 0 50\n");
  levelFromGeodata();
  EXPECT_DOUBLE_EQ(level, 1.0);
  EXPECT_DOUBLE_EQ(zdistrib[11], 1.0);
}

TEST_F(DefaultGrid, GeodataStopsAtAValueThatIsNotFinite) {
  writeFile("geodata", "E 0 0 1\nE 0 0 nan\nE 0 0 50\n");
  levelFromGeodata();
  EXPECT_DOUBLE_EQ(level, 2.0);
}

TEST_F(DefaultGrid, ReaderTakesGeodataOnlyWithoutW1) {
  writeFile("geodata", "E 0 0 4\nE 1 1 6\n");
  writeFile("control", "G 1 4 4 11 1\n");
  kread();
  EXPECT_DOUBLE_EQ(level, 7.0);
  EXPECT_DOUBLE_EQ(zdistrib[1], 4.0);
  EXPECT_DOUBLE_EQ(zdistrib[11], 6.0);
}

TEST_F(DefaultGrid, ReaderKeepsTheLevelOfW1) {
  writeFile("geodata", "E 0 0 4\nE 1 1 6\n");
  writeFile("control", "G 1 4 4 11 1\nW 1 50 1 2.5\n");
  kread();
  EXPECT_DOUBLE_EQ(level, 2.5);
  EXPECT_DOUBLE_EQ(zdistrib[1], 0.0);
}

TEST_F(DefaultGrid, BlockOfUnitSpacingUpToTheLevel) {
  level = 3.0;
  allocateSmallGrid();
  layDefaultBlock();
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 6; ++j) {
      EXPECT_DOUBLE_EQ(xval[i][j], i);
      EXPECT_DOUBLE_EQ(yval[i][j], j);
      // k·level/(znumber-1) for k = 0, 1, 2; the level above repeats the top.
      EXPECT_DOUBLE_EQ(zval[i][j][1], 0.0);
      EXPECT_DOUBLE_EQ(zval[i][j][2], 1.5);
      EXPECT_DOUBLE_EQ(zval[i][j][3], 3.0);
      EXPECT_DOUBLE_EQ(zval[i][j][4], 3.0);
      EXPECT_DOUBLE_EQ(Surfaces[3][i][j], -10.0);
    }
  }
  // Grid line 0 is not part of the block.
  EXPECT_DOUBLE_EQ(xval[0][3], 0.0);
  EXPECT_DOUBLE_EQ(zval[2][0][3], 0.0);
}

TEST_F(DefaultGrid, OutBlocksAreMarked) {
  allocateSmallGrid();
  OutBlockNo = 2;
  OutBlock[1] = {0, 2, 3, 2, 4, 2, 3};
  // Checked against a larger G 1 that a later G 1 replaced: kept inside the grid.
  OutBlock[2] = {0, 5, 40, 6, 60, 2, 3};
  markOutBlocks();
  for (int i = 0; i <= 5; ++i) {
    for (int j = 0; j <= 6; ++j) {
      bool inside = (i >= 2 && i <= 3 && j >= 2 && j <= 4) || (i == 5 && j == 6);
      EXPECT_EQ(bedOutBlock[i][j], inside ? 1 : 0) << i << " " << j;
    }
  }
}

TEST_F(DefaultGrid, SlidePlaneClearedOnlyWithF236) {
  FlagThixo = 1;
  allocateSmallGrid();
  Surfaces[6][1][1] = 5.0;
  Surfaces[6][0][0] = 5.0;
  clearSlidePlane();
  EXPECT_DOUBLE_EQ(Surfaces[6][1][1], 0.0);
  EXPECT_DOUBLE_EQ(Surfaces[6][0][0], 5.0);
  FlagThixo = 0;
  Surfaces[6][1][1] = 5.0;
  clearSlidePlane();
  EXPECT_DOUBLE_EQ(Surfaces[6][1][1], 5.0);
}

}  // namespace
