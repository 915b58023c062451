// The steps after the last block: edge neighbours of the pressure gradient,
// the nested-border list, the block joins and their full list, dead-end
// marks, time-series cells, the block size check and the failures that end
// the run through the shared helper.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/grid_index.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

using GridFinish = GridFixture;

// F 114 20: cells above the bottom of the taller step column without a west
// neighbour take the west neighbour of their bottom cell.
TEST_F(GridFinish, EdgeNeighboursOfThePressureGradient) {
  FlagPresGrad = 20;
  readStep();
  ASSERT_EQ(Unstructure(), 1);
  for (int c = 1; c <= NoCells; ++c) {
    SCOPED_TRACE("cell " + std::to_string(c));
    EXPECT_EQ(CcellAw[c], c == 5 || c == 6 ? 1 : 0);
    EXPECT_EQ(CcellAe[c] + CcellAn[c] + CcellAs[c], 0);
  }
}

// Items of the time series: level m is the cell m+1 above the bottom cell,
// the top cell of a shorter column; a negative level the bottom cell.
TEST_F(GridFinish, TimeSeriesCells) {
  readStep();
  struct Item {
    int i, j, level, expected;
  };
  const std::array<Item, 6> items = {{{2, 2, 0, 2}, {2, 2, 5, 3}, {2, 2, -1, 1}, {3, 2, 1, 6}, {0, 2, 0, 77},
                                      {99, 2, 0, 77}}};
  TimePrintNo = 1;
  TimePrint[0].count = static_cast<int>(items.size());
  for (std::size_t n = 0; n < items.size(); ++n) {
    TimePrintItem &item = TimePrint[0].item[n];
    item.i = items[n].i;
    item.j = items[n].j;
    item.level = items[n].level;
    item.number = 77;
  }
  ASSERT_EQ(Unstructure(), 1);
  for (std::size_t n = 0; n < items.size(); ++n) {
    EXPECT_EQ(TimePrint[0].item[n].number, items[n].expected) << "item " << n;
  }
}

// Blocks of one cell per column (2 lines: depth 0.05 m on 1 m columns); the
// filter of loose columns is off so that the shapes stay.
void shallowBlock(int i2, int j2) {
  flatGrid(1, i2, 1, j2, 0.05);
  addBlock(2, i2, 2, j2);
  FlagGridStab1 = 0;
}

TEST_F(GridFinish, LoneCellIsADeadEnd) {
  allocate(5, 5, 5);
  shallowBlock(2, 2);
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 1);
  EXPECT_EQ(Conecell[1], 1);
}

// A pool of 2 x 3 columns with an arm of three columns at j = 3: the arm is
// peeled from its closed end, the pool stays; a discharge-group cell in the
// arm stops the peeling there.
struct DeadEndCase {
  const char *name;
  int groupCell;
  std::array<int, 10> marks;  // Conecell of cells 0..9
};

void PrintTo(const DeadEndCase &c, std::ostream *os) { *os << c.name; }

class DeadEnds : public GridFixture, public ::testing::WithParamInterface<DeadEndCase> {};

TEST_P(DeadEnds, ArmPeeledFromItsEnd) {
  const DeadEndCase &c = GetParam();
  allocate(8, 6, 5);
  shallowBlock(6, 4);
  OutBlock[1] = OutBlockEntry{0, 4, 6, 2, 2, 2, 6};
  OutBlock[2] = OutBlockEntry{0, 4, 6, 4, 4, 2, 6};
  OutBlockNo = 2;
  if (c.groupCell > 0) Cinout[c.groupCell] = 1;
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 9);
  ASSERT_EQ(zval[6][3][0], 7.0);
  for (int cell = 1; cell <= 9; ++cell) EXPECT_EQ(Conecell[cell], c.marks[cell]) << "cell " << cell;
}

INSTANTIATE_TEST_SUITE_P(Groups, DeadEnds,
                         ::testing::Values(DeadEndCase{"NoGroup", 0, {0, 0, 0, 0, 0, 1, 1, 1, 0, 0}},
                                           DeadEndCase{"GroupInTheArm", 6, {0, 0, 0, 0, 0, 0, 0, 1, 0, 0}}),
                         [](const ::testing::TestParamInfo<DeadEndCase> &info) { return std::string(info.param.name); });

TEST_F(GridFinish, BlockReachingYnumberEnds) {
  readChannel();
  block[1].j2 = ynumber;
  EXPECT_EXIT(Unstructure(), ::testing::ExitedWithCode(212), "");
  EXPECT_TRUE(endsWith(boogie(), "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n"))
      << boogie();
}

// A nested block of 2 x 2 columns of 3 cells: 24 border faces in the order
// block, i, j, cell bottom up, side east, south, west, north (and the top
// face with F 241); F 280 3 lists the west border only.
struct NestCase {
  const char *name;
  int nestSurf, fluxInterpol;
  std::vector<std::array<int, 2>> cellSides;  // (cell, side 1 S, 2 E, 3 N, 4 W, 6 T)
};

void PrintTo(const NestCase &c, std::ostream *os) { *os << c.name; }

std::vector<std::array<int, 2>> columnFaces(std::initializer_list<int> cells, std::initializer_list<int> sides) {
  std::vector<std::array<int, 2>> list;
  for (int c : cells) {
    for (int s : sides) list.push_back({c, s});
  }
  return list;
}

std::vector<std::array<int, 2>> joined(std::initializer_list<std::vector<std::array<int, 2>>> parts) {
  std::vector<std::array<int, 2>> all;
  for (const auto &p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

int faceOn(int c, int side) {
  switch (side) {
    case 1: return Cflates[c];
    case 2: return Cflatee[c];
    case 3: return Cflaten[c];
    case 4: return Cflatew[c];
    default: return Cflatet[c];
  }
}

class NestedBorder : public GridFixture, public ::testing::WithParamInterface<NestCase> {};

TEST_P(NestedBorder, ListsTheOpenBorderFaces) {
  const NestCase &c = GetParam();
  allocate(6, 6, 5, 2000, 1000, 100);
  flatGrid(1, 3, 1, 3, 1.0);
  block[addBlock(2, 3, 2, 3)].NestLevel = 1;
  NestSurf = c.nestSurf;
  FlagNestFluxInterpol = c.fluxInterpol;
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 12);
  ASSERT_EQ(NoNestflater, static_cast<int>(c.cellSides.size()));
  for (int n = 1; n <= NoNestflater; ++n) {
    const auto [cell, side] = c.cellSides[n - 1];
    SCOPED_TRACE("entry " + std::to_string(n));
    EXPECT_EQ(Npcelle[n], cell);
    EXPECT_EQ(Npflate[n], faceOn(cell, side));
    EXPECT_EQ(Npblock[n], 1);
  }
  for (int cell = 1; cell <= 12; ++cell) EXPECT_EQ(CflagDim[cell], 2) << cell;
}

// Cells: (2,2) 1-3, (3,2) 4-6, (2,3) 7-9, (3,3) 10-12.
INSTANTIATE_TEST_SUITE_P(
    Variants, NestedBorder,
    ::testing::Values(
        NestCase{"AllSides", 0, 0,
                 joined({columnFaces({1, 2, 3}, {1, 4}), columnFaces({7, 8, 9}, {4, 3}),
                         columnFaces({4, 5, 6}, {2, 1}), columnFaces({10, 11, 12}, {2, 3})})},
        NestCase{"WithSurface", 1, 0,
                 joined({columnFaces({1, 2}, {1, 4}), {{3, 1}, {3, 4}, {3, 6}}, columnFaces({7, 8}, {4, 3}),
                         {{9, 4}, {9, 3}, {9, 6}}, columnFaces({4, 5}, {2, 1}), {{6, 2}, {6, 1}, {6, 6}},
                         columnFaces({10, 11}, {2, 3}), {{12, 2}, {12, 3}, {12, 6}}})},
        NestCase{"WestOnly", 0, 3, joined({columnFaces({1, 2, 3}, {4}), columnFaces({7, 8, 9}, {4})})}),
    [](const ::testing::TestParamInfo<NestCase> &info) { return std::string(info.param.name); });

// Ten entries of room hold nine: the tenth border face ends the generation.
TEST_F(GridFinish, NestedListFull) {
  allocate(6, 6, 5, 2000, 1000, 10);
  flatGrid(1, 3, 1, 3, 1.0);
  block[addBlock(2, 3, 2, 3)].NestLevel = 1;
  EXPECT_EQ(Unstructure(), kNestListFull);
  EXPECT_EQ(NoNestflater, 9);
  EXPECT_TRUE(endsWith(boogie(), "Error, increase 4th integer on F 65 data set, now at: 9\n")) << boogie();
  EXPECT_EXIT(endOnGridFailure(Unstructure()), ::testing::ExitedWithCode(254), "");
}

// Two blocks that meet along x = 2 with connection records: their columns are
// joined level by level; a connection list too short ends the run.
void twoTouchingBlocks() {
  flatGrid(1, 3, 1, 2, 1.0);
  for (int i = 4; i <= 6; ++i) {
    for (int j = 1; j <= 2; ++j) {
      xval[i][j] = i - 2;
      yval[i][j] = j - 1;
      zval[i][j][1] = 0.0;
      zval[i][j][znumber] = 1.0;
    }
  }
  addBlock(2, 3, 2, 2);
  addBlock(5, 6, 2, 2);
  NoConnect = 1;
}

TEST_F(GridFinish, BlocksJoinedByConnectionRecords) {
  allocate(9, 4, 5);
  twoTouchingBlocks();
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(NoCells, 12);
  EXPECT_EQ(NoConnFlate, 3);
  EXPECT_EQ(NoConnFlate0, 3);
  for (int n = 1; n <= 3; ++n) {
    const int west = 3 + n, east = 6 + n;  // column (3,2) cells 4-6, column (5,2) cells 7-9
    EXPECT_EQ(Ccelle[west], east) << n;
    EXPECT_EQ(Ccellw[east], west) << n;
  }
}

TEST_F(GridFinish, WithoutConnectionRecordsBlocksStayApart) {
  allocate(9, 4, 5);
  twoTouchingBlocks();
  NoConnect = 0;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoConnFlate, 0);
  EXPECT_EQ(Ccelle[4], 0);
}

TEST_F(GridFinish, ConnectionListFullEndsTheRun) {
  allocate(9, 4, 5, 2000, 3);
  twoTouchingBlocks();
  EXPECT_EQ(Unstructure(), kConnectListFull);
  EXPECT_TRUE(endsWith(boogie(), "Error, increase 5th integer on F 65 data set, now at: 3\n")) << boogie();
  EXPECT_EXIT(endOnGridFailure(Unstructure()), ::testing::ExitedWithCode(254), "");
}

}  // namespace
