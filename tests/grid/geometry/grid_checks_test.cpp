// The two connectivity checks: silent on a sound grid apart from the closing
// lines, one line per broken link, side code or corner, the sides left open
// above a linked bottom cell, and what F 159 and F 488 switch off.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

// A 2 x 2 block of columns of two 1 m cells: (2,2) cells 1-2, (3,2) 3-4,
// (2,3) 5-6, (3,3) 7-8; measured and indexed.
void buildBox() {
  flatGrid(1, 3, 1, 3, 2.0);
  addBlock(2, 3, 2, 3);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) setLineLevels(i, j, {0.0, 1.0, 2.0});
  }
  setColumnCells(1, 2);
  buildBlocks();
  metric();
  BedMake();
}

// The log written by the call alone.
std::string logOf(const std::function<void()> &call, const std::function<std::string()> &log) {
  const std::size_t before = log().size();
  call();
  return log().substr(before);
}

class GridChecks : public GridFixture {
 protected:
  std::string checkFparam() { return logOf(CheckFparam, boogie); }
  std::string gridTestLog() { return logOf(gridTest, boogie); }
};

TEST_F(GridChecks, SoundChannelGivesOnlyTheClosingLines) {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  BedMake();
  EXPECT_EQ(checkFparam(), "Have checked grid from cell 1 to 360\nHave checked grid from surface 1 to 1246\n\n");
  EXPECT_EQ(gridTestLog(), "");
}

// A face that lost its first cell: one line from each routine.
TEST_F(GridChecks, LostFirstCellOfAFace) {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  BedMake();
  Fcell1[2] = 0;
  EXPECT_EQ(checkFparam(),
            "Grid error for cell 1 e, Fcell1[2] = 0\n"
            "Have checked grid from cell 1 to 360\nHave checked grid from surface 1 to 1246\n\n");
  EXPECT_EQ(gridTestLog(), "Error 7 in grid for cell 1\n");
  EXPECT_STREQ(mc_message, "Error 7 in grid for cell 1 ");
}

struct BrokenCase {
  const char *name;
  void (*breakGrid)();
  const char *gridTest;
  const char *checkFparam;  // the findings before the closing lines
  friend void PrintTo(const BrokenCase &c, std::ostream *os) { *os << c.name; }
};

class BrokenGrids : public GridChecks, public ::testing::WithParamInterface<BrokenCase> {};

TEST_P(BrokenGrids, EachFindingOneLine) {
  const BrokenCase &c = GetParam();
  allocate(8, 8, 4);
  buildBox();
  c.breakGrid();
  EXPECT_EQ(gridTestLog(), c.gridTest);
  EXPECT_EQ(checkFparam(), std::string(c.checkFparam) +
                               "Have checked grid from cell 1 to 8\nHave checked grid from surface 1 to 36\n\n");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BrokenGrids,
    ::testing::Values(
        BrokenCase{"OneSidedNorthLink", [] { Ccelln[1] = 7; },
                   "Error 2 in grid for cell 1\nError 1 in grid for cell 5\n", ""},
        BrokenCase{"OneSidedTopLink", [] { Ccellt[3] = 8; }, "Error 6 in grid for cell 3\nError 5 in grid for cell 4\n",
                   ""},
        BrokenCase{"SwappedCorners",
                   [] { std::swap(Fpoint1[Cflatee[1]], Fpoint2[Cflatee[1]]); },
                   "Error 13 in grid for cell 1\nError 14 in grid for cell 1\n"
                   "Error 21 in grid for cell 3\nError 22 in grid for cell 3\n",
                   ""},
        BrokenCase{"WrongSideCode", [] { Ftype2[Cflateb[2]] = 6; }, "",
                   "Grid error for cell 2 b, Ftype2[6] = 6\nGrid error for surface 6, type = 6, cell 2\n"},
        BrokenCase{"FaceOfAnotherCell", [] { Fcell2[Cflates[5]] = 6; }, "Error 11 in grid for cell 5\n",
                   "Grid error for cell 5 s, Fcell2[3] = 6\nGrid error for surface 3, type = 1, cell 6\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(GridChecks, EmptyWorkRangesGiveOnlyTheClosingLines) {
  allocate(8, 8, 4);
  buildBox();
  Fcell1[2] = 0;
  WCStart = 5;
  WCEnd = 4;
  WFStart = 9;
  WFEnd = 8;
  EXPECT_EQ(checkFparam(), "Have checked grid from cell 5 to 4\nHave checked grid from surface 9 to 8\n\n");
  EXPECT_EQ(gridTestLog(), "");
}

// F 159 fifth value 5 or 6 disconnects small faces on purpose: their lost
// cells are not findings.
TEST_F(GridChecks, DisconnectedFacesUnderF159) {
  allocate(8, 8, 4);
  buildBox();
  const int f = Cflatee[1];
  Fcell1[f] = Fcell2[f] = 0;
  Ccelle[1] = Ccellw[3] = 0;
  const std::string closing = "Have checked grid from cell 1 to 8\nHave checked grid from surface 1 to 36\n\n";
  for (int stab : {5, 6}) {
    FlagGridStab5 = stab;
    EXPECT_EQ(checkFparam(), closing) << stab;
  }
  FlagGridStab5 = 0;
  EXPECT_EQ(checkFparam(), "Grid error for cell 1 e, Fcell1[2] = 0\nGrid error for cell 3 w, Fcell2[2] = 0\n" + closing);
}

// F 488: CheckFparam does nothing; gridTest keeps to the links and corners
// and skips the sides that have no face.
TEST_F(GridChecks, SecondGeneratorChecksLess) {
  allocate(8, 8, 4);
  buildBox();
  Cflatee[1] = 0;
  EXPECT_EQ(gridTestLog(),
            "Error 7 in grid for cell 1\nError 13 in grid for cell 1\nError 14 in grid for cell 1\n"
            "Error 15 in grid for cell 1\nError 16 in grid for cell 1\n");
  UMethod2 = 1;
  EXPECT_EQ(gridTestLog(), "");
  EXPECT_EQ(checkFparam(), "");
  Cflatet[1] = 0;  // top and bottom faces are always checked
  EXPECT_EQ(gridTestLog(),
            "Error 9 in grid for cell 1\nError 33 in grid for cell 1\nError 34 in grid for cell 1\n"
            "Error 35 in grid for cell 1\nError 36 in grid for cell 1\n");
}

// Blocks of one column each joined by F 64 11: the west column has cells 1-2,
// the east one cells 3-5; the pairs are 2-5 and 1-3, so cell 4 stands with
// an open west side of finite area above a bottom cell that has a west
// neighbour.
TEST_F(GridChecks, OpenSideAboveALinkedBottomCell) {
  allocate(6, 4, 5);
  addBlock(2, 2, 2, 2);
  addBlock(4, 4, 2, 2);
  for (int j = 1; j <= 2; ++j) {
    for (int i = 1; i <= 4; ++i) {
      xval[i][j] = i <= 2 ? i - 1 : i - 2;
      yval[i][j] = j - 1;
      setLineLevels(i, j, i <= 2 ? std::vector<double>{0, 1, 3} : std::vector<double>{0, 1, 2, 3});
    }
  }
  ant[2][2] = 2;
  ant[4][2] = 3;
  buildBlocks();
  UMethod = 11;
  ASSERT_EQ(connectBlockSides(), 0);
  metric();
  BedMake();
  ASSERT_EQ(Ccellw[3], 1);
  ASSERT_EQ(Ccellw[4], 0);
  ASSERT_EQ(Ccellw[5], 2);
  EXPECT_EQ(gridTestLog(), "Error 100 in grid for cell 4\nError 111 in grid for cell 4\n");
}

}  // namespace
