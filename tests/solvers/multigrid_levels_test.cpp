// The depth-summed levels of the accelerator on generated and hand-built
// grids: level counts and numbering on the straight channel and on 40 x 40
// columns, dry columns, the dropped one-cell level, links across a block
// connection and the records left by a second, smaller grid.
#include <gtest/gtest.h>

#include <string>

#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/multigrid.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"

namespace {

class MultigridLevels : public GridFixture {
 protected:
  // The straight channel (50 x 5 columns of nine cells) generated with the
  // data sets of its "control" and `extra`.
  static void generateStraightChannel(const std::string &extra) {
    ControlStream control(caseFile("straight-channel", "control") + extra);
    kreadPass(control);
    ASSERT_EQ(sialloc(), 0);
    ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
    writeFile("koosurf", caseFile("straight-channel", "koosurf"));
    readKoosurf();
    ArmapMake();
    ASSERT_EQ(Unstructure(), 1) << boogie();
  }

  // One working block of nx x ny columns of `cells` cells at i, j from 2,
  // with the dry columns given, built as the generator numbers them.
  static void columnBlock(int nx, int ny, int cells, std::initializer_list<std::pair<int, int>> dry = {}) {
    Flag2DAccSolver = 2;
    allocate(nx + 3, ny + 3, cells + 1, 20000);
    flatGrid(0, nx + 2, 0, ny + 2, 1.0);
    const int b = addBlock(2, nx + 1, 2, ny + 1);
    block[b].WorkFlag = 1;
    uniformLevels(b, cells + 1);
    setColumnCells(b, cells);
    for (auto [i, j] : dry) ant[i][j] = 0;
    buildBlocks();
  }

  static int cellsOf(int b) { return block[b].LastCell - block[b].FirstCell + 1; }
};

TEST_F(MultigridLevels, StraightChannelGetsSixLevelsAfterItsCells) {
  generateStraightChannel("F 168 2\n");
  ASSERT_EQ(NoCells, 2250);
  AlgMGMake();
  EXPECT_EQ(NoMGlevels, 6);
  EXPECT_EQ(NoBlocks, 1);
  EXPECT_EQ(NoCells, 2250);
  const int counts[] = {250, 75, 26, 7, 4};
  int next = 2251;
  for (int m = 0; m < 5; ++m) {
    const GridBlock &b = block[2 + m];
    SCOPED_TRACE("block " + std::to_string(2 + m));
    EXPECT_EQ(b.FirstCell, next);
    EXPECT_EQ(cellsOf(2 + m), counts[m]);
    EXPECT_EQ(b.GridLevel, 2 + m);
    EXPECT_EQ(b.BlockKind, 2);
    next = b.LastCell + 1;
  }
  EXPECT_EQ(next, 2613);
  EXPECT_EQ(block[7].BlockKind, 0);
  EXPECT_EQ(block[7].LastCell, 0);
  EXPECT_EQ(firstLevelBlock(), 2);

  const int expected[5] = {2501, 1, 9, 0, 0};
  for (int e = 0; e < 5; ++e) EXPECT_EQ(MGSCpoint[2251][e], expected[e]) << "entry " << e;
  for (int c = static_cast<int>(zval[2][2][0]); c != 0; c = Ccellt[c]) EXPECT_EQ(MGSCpoint[c][0], 2251) << c;
  // Level 1 follows the columns: the next cell east and north.
  EXPECT_EQ(Ccelle[2251], 2252);
  EXPECT_EQ(Ccelln[2251], 2301);
  EXPECT_EQ(Ccellw[2251], 0);
  EXPECT_EQ(Ccells[2251], 0);
}

// Steps 1, 2, 4, 8 and 16: the first cell of each level has its children at
// the half step of that level.
TEST_F(MultigridLevels, FortyByFortyColumnsDoubleTheStepPerLevel) {
  columnBlock(40, 40, 1);
  AlgMGMake();
  ASSERT_EQ(NoMGlevels, 6);
  const int counts[] = {1600, 400, 100, 25, 9};
  for (int m = 1; m <= 5; ++m) EXPECT_EQ(cellsOf(1 + m), counts[m - 1]) << "level " << m;
  for (int m = 2; m <= 5; ++m) {
    const int h = 1 << (m - 2), n = num[2][2][m];
    SCOPED_TRACE("level " + std::to_string(m));
    EXPECT_EQ(n, block[1 + m].FirstCell);
    EXPECT_EQ(MGSCpoint[n][1], num[2][2][m - 1]);
    EXPECT_EQ(MGSCpoint[n][2], num[2][2 + h][m - 1]);
    EXPECT_EQ(MGSCpoint[n][3], num[2 + h][2 + h][m - 1]);
    EXPECT_EQ(MGSCpoint[n][4], num[2 + h][2][m - 1]);
    EXPECT_EQ(Ccelle[n], num[2 + 2 * h][2][m]);
    EXPECT_EQ(Ccellw[num[2 + 2 * h][2][m]], n);
    EXPECT_EQ(Ccelln[n], num[2][2 + 2 * h][m]);
  }
}

// 3 x 3 columns with a dry centre: eight level-1 cells, four on level 2 (the
// north-east one with a single child), and the one-cell level 3 dropped.
TEST_F(MultigridLevels, DryColumnsAndTheOneCellLevel) {
  columnBlock(3, 3, 2, {{3, 3}});
  AlgMGMake();
  EXPECT_EQ(NoMGlevels, 3);
  EXPECT_EQ(cellsOf(2), 8);
  EXPECT_EQ(num[3][3][1], 0);
  EXPECT_EQ(Ccelle[num[2][3][1]], 0);
  EXPECT_EQ(cellsOf(3), 4);
  EXPECT_EQ(block[3].GridLevel, 3);
  const int sw = num[2][2][2], ne = num[4][4][2], se = num[4][2][2];
  const int group[4] = {num[2][2][1], num[2][3][1], 0, num[3][2][1]};
  for (int e = 0; e < 4; ++e) EXPECT_EQ(MGSCpoint[sw][e + 1], group[e]) << "child " << e + 1;
  const int single[4] = {num[4][4][1], 0, 0, 0};
  for (int e = 0; e < 4; ++e) EXPECT_EQ(MGSCpoint[ne][e + 1], single[e]) << "child " << e + 1;
  EXPECT_EQ(MGSCpoint[num[4][4][1]][0], ne);
  EXPECT_EQ(Ccellw[se], sw);
  EXPECT_EQ(Ccelle[sw], se);
  // The dropped level keeps its cell but is no level any more.
  EXPECT_EQ(cellsOf(4), 1);
  EXPECT_EQ(block[4].BlockKind, 0);
  EXPECT_EQ(block[4].GridLevel, 0);
  EXPECT_EQ(firstLevelBlock(), 2);
}

TEST_F(MultigridLevels, SecondSmallerGridLeavesNoRecordOfTheFirst) {
  columnBlock(40, 40, 1);
  AlgMGMake();
  ASSERT_EQ(NoMGlevels, 6);
  block[1].i2 = 5;
  block[1].j2 = 5;
  AlgMGMake();
  EXPECT_EQ(NoMGlevels, 3);
  EXPECT_EQ(cellsOf(2), 16);
  EXPECT_EQ(cellsOf(3), 4);
  EXPECT_EQ(block[4].BlockKind, 0);
  for (int b = 5; b <= 7; ++b) {
    EXPECT_EQ(block[b].GridLevel, 0) << b;
    EXPECT_EQ(block[b].LastCell, 0) << b;
  }
}

TEST_F(MultigridLevels, NoWorkingBlockGivesNoLevels) {
  columnBlock(4, 4, 1);
  block[1].WorkFlag = 0;
  AlgMGMake();
  EXPECT_EQ(NoMGlevels, 0);
  EXPECT_EQ(firstLevelBlock(), 0);
  EXPECT_EQ(block[2].BlockKind, 0);
}

TEST_F(MultigridLevels, BlockReachingTheLastRowEndsTheRun) {
  columnBlock(4, 4, 1);
  block[1].j2 = ynumber;
  writeFile("boogie", "");
  EXPECT_EXIT(AlgMGMake(), ::testing::ExitedWithCode(256 - 44), "");
  EXPECT_EQ(boogie(), "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n");
}

TEST_F(MultigridLevels, TooFewCellsForTheLevelsEndTheRun) {
  columnBlock(4, 4, 1);
  MaxCeller = NoCells + 10;
  writeFile("boogie", "");
  EXPECT_EXIT(AlgMGMake(), ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(boogie(),
            "Error: Number of cells in the unstructured arrays are too small\n"
            "when using the multi-grid solver, as it needs extra arrays. \n"
            "Increase the array sizes on the F 65 data set.\n"
            "Current value that needs increase: " +
                std::to_string(NoCells + 10) + "\n");
}

// Two blocks of 2 x 2 columns side by side in plan (block 2 in its own index
// range): the level cells of the columns at the join see each other.
TEST_F(MultigridLevels, JoinedBlocksLinkTheirLevels) {
  Flag2DAccSolver = 2;
  allocate(9, 5, 2, 2000);
  flatGrid(0, 9, 0, 5, 1.0);
  for (int i = 5; i <= 8; ++i) {
    for (int j = 0; j <= 5; ++j) xval[i][j] = i - 3.0;
  }
  const int b1 = addBlock(2, 3, 2, 3), b2 = addBlock(6, 7, 2, 3);
  block[b1].WorkFlag = block[b2].WorkFlag = 1;
  uniformLevels(b1, 2);
  uniformLevels(b2, 2);
  setColumnCells(b1, 1);
  setColumnCells(b2, 1);
  buildBlocks();
  ASSERT_EQ(connectBlockSides(), 0);
  ASSERT_GT(NoConnFlate, 0);
  metric();
  BedMake();
  AlgMGMake();
  ASSERT_EQ(NoMGlevels, 4);
  const int west = num[3][2][1], east = num[6][2][1];
  EXPECT_EQ(Ccelle[west], east);
  EXPECT_EQ(Ccellw[east], west);
  EXPECT_EQ(Ccelle[num[3][3][1]], num[6][3][1]);
  // Level 2: one cell per block, joined as well.
  const int w2 = num[2][2][2], e2 = num[6][2][2];
  ASSERT_GT(w2, 0);
  ASSERT_GT(e2, 0);
  EXPECT_EQ(Ccelle[w2], e2);
  EXPECT_EQ(Ccellw[e2], w2);
}

}  // namespace
