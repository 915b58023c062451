// The bed-cell index: the numbering of the columns over the blocks, the links
// of the cells to their columns, the column depths, the previous grid's
// columns, the transient carry-over flag, the pond-removal lists of the
// discharge groups and the refused block records.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/fixture_values.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

using BedCells = GridFixture;

// Grid lines of the columns i1..i2, j1..j2 as 1 m squares with `cells`
// cells of equal height over `depth`; the block is appended.
int addColumns(int i1, int i2, int j1, int j2, int cells, double depth = 1.0) {
  flatGrid(i1 - 1, i2, j1 - 1, j2, depth);
  std::vector<double> levels;
  for (int m = 0; m <= cells; ++m) levels.push_back(depth * m / cells);
  for (int i = i1 - 1; i <= i2; ++i) {
    for (int j = j1 - 1; j <= j2; ++j) setLineLevels(i, j, levels);
  }
  const int b = addBlock(i1, i2, j1, j2);
  setColumnCells(b, cells);
  return b;
}

TEST_F(BedCells, CubeColumn) {
  buildCaseByHand(CaseGrid::Cube);
  metric();
  BedMake();
  expectCubeBedCell();
}

TEST_F(BedCells, ChannelColumns) {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  BedMake();
  expectChannelBedCells();
  EXPECT_EQ(Bcellt_old[2], 0);  // the first call kept the zeros of the numbering
}

// After a regeneration the previous columns move to the _old arrays; a column
// that fell dry keeps its bed cell with no cells.
TEST_F(BedCells, RegenerationKeepsThePreviousColumns) {
  allocate(8, 8, 6);
  addColumns(2, 3, 2, 2, 2);
  buildBlocks();
  metric();
  BedMake();
  ASSERT_EQ(Bcellt[2], 3);
  ASSERT_EQ(FlagGridHasChanged, 0);
  zval[3][2][0] = 0;  // column (3, 2) is dry in the new grid
  FlagGridHasChanged = 1;
  BedMake();
  EXPECT_EQ(FlagGridHasChanged, 0);
  EXPECT_EQ(Bcellt_old[2], 3);
  EXPECT_EQ(Bnocells_old[2], 2);
  EXPECT_DOUBLE_EQ(Bdepth_old[2], 1.0);
  EXPECT_EQ(pointbed[3][2], 2);
  EXPECT_EQ(Bcellt[2], 0);
  EXPECT_EQ(Bnocells[2], 0);
  EXPECT_EQ(Bdepth[2], 0.0);
  EXPECT_EQ(Cbed[3], 0);
  EXPECT_EQ(Cbed[4], 0);
  EXPECT_EQ(Cbed[1], 1);
}

// Half heights 0.1, 0.2 and 0.3 make a column 1.2 m deep.
TEST_F(BedCells, DepthIsTwiceTheHalfHeights) {
  allocate(6, 6, 6);
  addColumns(2, 2, 2, 2, 3);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) setLineLevels(i, j, {0.0, 0.2, 0.6, 1.2});
  }
  buildBlocks();
  metric();
  BedMake();
  EXPECT_EQ(Bnocells[1], 3);
  EXPECT_NEAR(Bdepth[1], 1.2, 1e-15);
}

// Only blocks of kind 0 on the base grid own bed cells; every column of
// theirs gets one, wet or dry; the others get an empty range.
TEST_F(BedCells, NumberingOverTheBlocks) {
  allocate(12, 8, 4);
  addColumns(2, 3, 2, 2, 1);
  const int hydrostatic = addColumns(5, 5, 2, 2, 1);
  block[hydrostatic].BlockKind = 1;
  addColumns(7, 7, 2, 3, 1);
  ant[7][3] = 0;  // a dry column
  const int coarse = addColumns(9, 9, 2, 2, 1);
  block[coarse].GridLevel = 2;
  buildBlocks();
  metric();
  BedMake();
  EXPECT_EQ(NoBCells, 4);
  const int first[] = {0, 1, 3, 3, 5}, last[] = {0, 2, 2, 4, 4};
  for (int b = 1; b <= 4; ++b) {
    EXPECT_EQ(block[b].FirstBedCell, first[b]) << "block " << b;
    EXPECT_EQ(block[b].LastBedCell, last[b]) << "block " << b;
  }
  EXPECT_EQ(pointbed[7][2], 3);
  EXPECT_EQ(pointbed[7][3], 4);
  EXPECT_EQ(pointbed[5][2], 0);
  EXPECT_EQ(Bcellt[4], 0);
  EXPECT_EQ(Bnocells[4], 0);
  EXPECT_EQ(Bdepth[4], 0.0);
  EXPECT_EQ(Bkooi[4], 7);
  EXPECT_EQ(Bkooj[4], 3);
  const int hydrostaticCell = static_cast<int>(zval[5][2][0]);
  EXPECT_EQ(Cbed[hydrostaticCell], 0);
  EXPECT_EQ(Cbed[static_cast<int>(zval[7][2][0])], 3);
  EXPECT_EQ(Cbed[static_cast<int>(zval[9][2][0])], 0);
}

TEST_F(BedCells, OnlyHydrostaticBlocksGiveNoBedCells) {
  allocate(6, 6, 4);
  const int b = addColumns(2, 3, 2, 2, 1);
  block[b].BlockKind = 1;
  buildBlocks();
  metric();
  BedMake();
  EXPECT_EQ(NoBCells, 0);
  for (int c = 0; c <= NoCells; ++c) EXPECT_EQ(Cbed[c], 0);
  EXPECT_EQ(block[1].FirstBedCell, 1);
  EXPECT_EQ(block[1].LastBedCell, 0);
}

// The previous-time-step fields exist only in transient runs: there the
// fields are carried over once per regeneration and the request is cleared.
TEST_F(BedCells, TransientRunCarriesTheFieldsOver) {
  TimeStep = 10.0;
  allocate(6, 6, 4);
  addColumns(2, 2, 2, 2, 2);
  buildBlocks();
  metric();
  ASSERT_NE(Cxvel_old, nullptr);
  ASSERT_EQ(FlagNeedsToBeInterpolated, 1);
  BedMake();
  EXPECT_EQ(FlagNeedsToBeInterpolated, 0);
  EXPECT_GT(otime[49], 0.0);
  EXPECT_GE(otime[50], otime[49]);
}

// A steady run leaves the request standing and the fields as they are.
TEST_F(BedCells, SteadyRunLeavesTheFields) {
  allocate(6, 6, 4);
  addColumns(2, 2, 2, 2, 2);
  buildBlocks();
  metric();
  ASSERT_EQ(Cxvel_old, nullptr);
  Cxvel[1] = 0.25;
  BedMake();
  EXPECT_EQ(FlagNeedsToBeInterpolated, 1);
  EXPECT_EQ(Cxvel[1], 0.25);
  EXPECT_EQ(otime[49], 0.0);
}

// With F 394 the bed cells under the faces of every discharge group are
// listed once, for the pond removal; faces whose cell is above the bed do not count.
TEST_F(BedCells, PondListsOfTheDischargeGroups) {
  FlagRemovePonds = 1;
  allocate(8, 8, 4);
  addColumns(2, 3, 2, 3, 2);
  buildBlocks();
  metric();
  DischargeStruct[1].faceCount = 4;  // the west end, both levels: Fcell1 is 0
  const int west[4] = {Cflatew[1], Cflatew[2], Cflatew[5], Cflatew[6]};
  for (int k = 0; k < 4; ++k) DischargeStruct[1].faces[k] = west[k];
  DischargeStruct[2].faceCount = 2;  // the east end of the upper row, upper cell first
  DischargeStruct[2].faces[0] = Cflatee[8];
  DischargeStruct[2].faces[1] = Cflatee[7];
  DischargeStruct[3].bedCells[0] = 0;
  BedMake();
  EXPECT_EQ(DischargeStruct[1].bedCells[0], 2);
  EXPECT_EQ(DischargeStruct[1].bedCells[1], pointbed[2][2]);
  EXPECT_EQ(DischargeStruct[1].bedCells[2], pointbed[2][3]);
  EXPECT_EQ(DischargeStruct[2].bedCells[0], 1);
  EXPECT_EQ(DischargeStruct[2].bedCells[1], pointbed[3][3]);
  EXPECT_EQ(DischargeStruct[3].bedCells[0], 0);

  // Filled once: a list of group 1 stops a second filling.
  DischargeStruct[2].bedCells[0] = 0;
  BedMake();
  EXPECT_EQ(DischargeStruct[2].bedCells[0], 0);
}

TEST_F(BedCells, PondListsNeedF394) {
  allocate(8, 8, 4);
  addColumns(2, 2, 2, 2, 1);
  buildBlocks();
  metric();
  DischargeStruct[1].faceCount = 1;
  DischargeStruct[1].faces[0] = Cflatew[1];
  BedMake();
  EXPECT_EQ(DischargeStruct[1].bedCells[0], 0);
}

// F 147 second value 0 keeps the centre levels instead of the half heights.
TEST_F(BedCells, CentreLevelsKeptForF147Zero) {
  ExtrapAlgo1 = 0;
  allocate(6, 6, 4);
  addColumns(2, 2, 2, 2, 2);
  buildBlocks();
  metric();
  ASSERT_NE(Czcenter_old, nullptr);
  ASSERT_EQ(Ckdist_old, nullptr);
  BedMake();
  EXPECT_DOUBLE_EQ(Czcenter_old[1], 0.25);
  EXPECT_DOUBLE_EQ(Czcenter_old[2], 0.75);
}

TEST_F(BedCells, LevelCorrectionsClearedAndTraced) {
  FlagTFS2 = 1;
  allocate(6, 6, 4);
  addColumns(2, 2, 2, 2, 1);
  buildBlocks();
  metric();
  ASSERT_NE(Bdeltah, nullptr);
  BedMake();
  Bdeltah[1] = 0.3;
  FlagExtraDebug = 1;
  BedMake();
  EXPECT_EQ(Bdeltah[1], 0.0);
  EXPECT_TRUE(endsWith(boogie(), "Start BedMake\nEnd BedMake\n"));
}

struct RefusedCase {
  const char *name;
  int i1, i2, j1, j2, blocks;
  const char *message;
  friend void PrintTo(const RefusedCase &c, std::ostream *os) { *os << c.name; }
};

class RefusedBlocks : public GridFixture, public ::testing::WithParamInterface<RefusedCase> {};

// A block record that would number outside the tables stops the run before
// anything is numbered.
TEST_P(RefusedBlocks, StopBeforeNumbering) {
  const RefusedCase &c = GetParam();
  allocate(4, 4, 3);
  for (int b = 0; b < c.blocks; ++b) addBlock(c.i1, c.i2, c.j1, c.j2);
  EXPECT_EXIT(BedMake(), ::testing::ExitedWithCode(254), "");
  EXPECT_TRUE(endsWith(boogie(), c.message)) << boogie();
}

INSTANTIATE_TEST_SUITE_P(
    Records, RefusedBlocks,
    ::testing::Values(RefusedCase{"BeyondTheGrid", 2, 6, 2, 2, 1,
                                  "Error in BedMake: block 1 lies outside the structured grid, increase the G 1 "
                                  "values in control file\n"},
                      RefusedCase{"BelowTheFirstLine", 0, 2, 2, 2, 1,
                                  "Error in BedMake: block 1 lies outside the structured grid, increase the G 1 "
                                  "values in control file\n"},
                      RefusedCase{"MoreColumnsThanBedCells", 1, 5, 1, 5, 2,
                                  "Error in BedMake: 50 bed cells do not fit, increase the G 1 values in control "
                                  "file\n"}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
