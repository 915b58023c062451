// The coarse grid levels of the coarse-to-fine solution: counts, faces and
// work range on the straight channel with F 152 3, complete 2x2 groups only,
// the level-3 count of nx x ny columns and the end on a full face table.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/coarse_grid_levels.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"

namespace {

class CoarseGridLevels : public GridFixture {
 protected:
  // One block of nx x ny columns of two cells, the dry columns given, as
  // the generator leaves it (base counts saved, no connections).
  static void columnBlock(int nx, int ny, std::initializer_list<std::pair<int, int>> dry = {}, int capacity = 2000) {
    MGSNo = 3;
    allocate(nx + 3, ny + 3, 3, capacity);
    flatGrid(0, nx + 2, 0, ny + 2, 1.0);
    const int b = addBlock(2, nx + 1, 2, ny + 1);
    uniformLevels(b, 3);
    setColumnCells(b, 2);
    for (auto [i, j] : dry) ant[i][j] = 0;
    buildBlocks();
    NoBlocks0 = NoBlocks;
    NoSurfaces0 = NoSurfaces;
    NoConnect0 = NoConnFlate0 = 0;
  }

  static int cellsOf(int b) { return block[b].LastCell - block[b].FirstCell + 1; }
  static int facesOf(int b) { return block[b].LastFace - block[b].FirstFace + 1; }
};

TEST_F(CoarseGridLevels, StraightChannelWithTwoLevels) {
  ControlStream control(caseFile("straight-channel", "control") + "F 152 3\n");
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  writeFile("koosurf", caseFile("straight-channel", "koosurf"));
  readKoosurf();
  ArmapMake();
  ASSERT_EQ(Unstructure(), 1) << boogie();
  ASSERT_EQ(NoCells, 2250);
  const int faces = NoSurfaces, points = NoPoints;

  MGSCoarserGridMake2D();
  EXPECT_EQ(cellsOf(2), 250);
  EXPECT_EQ(facesOf(2), 1055);
  EXPECT_EQ(cellsOf(3), 50);
  EXPECT_EQ(facesOf(3), 227);
  EXPECT_EQ(block[2].GridLevel, 2);
  EXPECT_EQ(block[3].GridLevel, 3);
  EXPECT_EQ(NoCells, 2550);
  EXPECT_EQ(NoBlocks, 3);
  EXPECT_EQ(NoSurfaces, faces + 1282);
  EXPECT_EQ(NoPoints, points);
  EXPECT_EQ(WCStart, 2501);
  EXPECT_EQ(WCEnd, 2550);
  for (int f = faces + 1; f <= NoSurfaces; ++f) {
    SCOPED_TRACE("face " + std::to_string(f));
    const std::set<int> corners = {Fpoint1[f], Fpoint2[f], Fpoint3[f], Fpoint4[f]};
    EXPECT_EQ(corners.size(), 4u);
    EXPECT_GE(*corners.begin(), 1);
    EXPECT_LE(*corners.rbegin(), points);
  }
  for (int c = 2251; c <= 2550; ++c) {
    const int sides[4][2] = {{Ccelle[c], Cflatee[c]}, {Ccellw[c], Cflatew[c]}, {Ccelln[c], Cflaten[c]},
                             {Ccells[c], Cflates[c]}};
    for (const auto &s : sides) {
      if (s[0] == 0) continue;
      const std::set<int> pair = {Fcell1[s[1]], Fcell2[s[1]]};
      EXPECT_EQ(pair, (std::set<int>{c, s[0]})) << "cell " << c;
    }
    EXPECT_EQ(Fcell2[Cflateb[c]], c);
    EXPECT_EQ(Fcell1[Cflatet[c]], c);
  }
  // Every base cell of column (2, 2) belongs to the first level-2 cell,
  // which keeps the column's bottom and top cells; its group forms 2501.
  EXPECT_EQ(MGSCpoint[1][0], 2251);
  EXPECT_EQ(MGSCpoint[9][0], 2251);
  EXPECT_EQ(MGSCpoint[2251][1], 1);
  EXPECT_EQ(MGSCpoint[2251][4], 9);
  EXPECT_EQ(MGSCpoint[2251][0], 2501);
  EXPECT_EQ(MGSCpoint[2501][1], 2251);
}

TEST_F(CoarseGridLevels, DryColumnLeavesItsGroupOut) {
  columnBlock(4, 2, {{4, 3}});
  MGSCoarserGridMake2D();
  EXPECT_EQ(cellsOf(2), 7);
  ASSERT_EQ(cellsOf(3), 1);
  const int n = block[3].FirstCell;
  EXPECT_EQ(n, num[2][2][2]);
  EXPECT_EQ(num[4][2][2], 0);
  EXPECT_EQ(Ccelle[n], 0);
  // The level-2 neighbours of the dry column have no link across it.
  EXPECT_EQ(Ccelln[num[4][2][1]], 0);
  EXPECT_EQ(Ccelle[num[3][3][1]], 0);
  EXPECT_EQ(Ccellw[num[5][3][1]], 0);
}

class LevelThreeCount : public CoarseGridLevels, public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(LevelThreeCount, HalfTheColumnsEachWay) {
  const auto [nx, ny] = GetParam();
  columnBlock(nx, ny);
  MGSCoarserGridMake2D();
  EXPECT_EQ(cellsOf(2), nx * ny);
  EXPECT_EQ(cellsOf(3), (nx / 2) * (ny / 2));
}

INSTANTIATE_TEST_SUITE_P(Grids, LevelThreeCount,
                         ::testing::Values(std::make_tuple(2, 2), std::make_tuple(3, 3), std::make_tuple(5, 4),
                                           std::make_tuple(1, 6), std::make_tuple(6, 3)));

TEST_F(CoarseGridLevels, FullFaceTableEndsTheRun) {
  columnBlock(4, 4, {}, 200);
  // 32 base cells use 16 + 16 + 40 + 40 = 112 faces; level 2 needs 72 more.
  MaxFlater = NoSurfaces + 40;
  writeFile("boogie", "");
  EXPECT_EXIT(MGSCoarserGridMake2D(), ::testing::ExitedWithCode(254), "");
  const std::string log = boogie();
  EXPECT_EQ(log.rfind("Error: Unstructured arrays are too small. Increase NoSurfaces with the F 65 data set.\n"
                      " \t\t\t\t\tNoPoints, NoSurfaces, NoCells = ",
                      0),
            0u)
      << log;
}

TEST_F(CoarseGridLevels, FullCellTableEndsTheRun) {
  columnBlock(4, 4);
  MaxCeller = NoCells + 10;
  writeFile("boogie", "");
  EXPECT_EXIT(MGSCoarserGridMake2D(), ::testing::ExitedWithCode(254), "");
  EXPECT_EQ(boogie().rfind("Error: Unstructured arrays are too small. Increase cell numbers in the F 65 data set.\n", 0),
            0u)
      << boogie();
}

}  // namespace
