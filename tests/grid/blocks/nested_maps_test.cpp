// A nested block over the channel (cases/nested): its border faces find the
// coarse cells that feed them, its cells, bed cells and grid points find
// their parents, and the nested surface and pressure follow the parent grid.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/nested_grid.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "surface/surface_services.h"

namespace {

class NestedMaps : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    generateNested();
  }
};

TEST_F(NestedMaps, FineBlockLiesInItsParentCells) {
  ASSERT_EQ(NoBlocks, 2);
  const GridBlock &b = block[2];
  EXPECT_EQ(b.NestLevel, 1);
  EXPECT_EQ((std::vector<int>{b.i1, b.i2, b.j1, b.j2}), (std::vector<int>{2, 5, 7, 10}));
  EXPECT_EQ(b.FirstCell, 361);
  EXPECT_EQ(b.LastCell, 504);
  EXPECT_EQ(NoCells, 504);
  for (int c = 361; c <= 504; ++c) {
    const int p = Cinterpolnest[c];
    ASSERT_GE(p, 1) << "cell " << c;
    ASSERT_LE(p, 360) << "cell " << c;
    EXPECT_LT(std::fabs(Cxcenter[c] - Cxcenter[p]), 0.5) << "cell " << c;
    EXPECT_LT(std::fabs(Cycenter[c] - Cycenter[p]), 0.5) << "cell " << c;
    EXPECT_NEAR(Czcenter[c], Czcenter[p], 1e-12) << "cell " << c;
  }
  for (int c = 1; c <= 360; ++c) ASSERT_EQ(Cinterpolnest[c], 0) << "cell " << c;
}

TEST_F(NestedMaps, BorderFacesTakeTheNearestCoarseColumnsOutside) {
  EXPECT_EQ(NoNestflater, 144);
  const int west = entryOf(361, Cflatew[361]), south = entryOf(361, Cflates[361]);
  ASSERT_GT(west, 0);
  ASSERT_GT(south, 0);
  const int westCells[4] = {coarseBottom(3, 3), coarseBottom(3, 2), coarseBottom(3, 4), coarseBottom(2, 3)};
  const int southCells[4] = {coarseBottom(4, 2), coarseBottom(3, 2), coarseBottom(5, 2), coarseBottom(2, 2)};
  EXPECT_EQ(westCells[0], 100);
  EXPECT_EQ(southCells[0], 19);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(Ncell[west][k], westCells[k]) << "slot " << k;
    EXPECT_EQ(Ncell[south][k], southCells[k]) << "slot " << k;
  }
  EXPECT_NEAR(Nvect[west][0][0], -0.894427, 1e-6);
  EXPECT_NEAR(Nvect[west][0][1], 0.447214, 1e-6);
  EXPECT_NEAR(Nvect[west][0][2], 0.0, 1e-12);
  // Every slot of a face at a higher layer holds the coarse cell of that layer.
  const int upper = entryOf(365, Cflatew[365]);
  ASSERT_GT(upper, 0);
  EXPECT_EQ(Ncell[upper][0], 104);
  // The east border (Fcell1 inside) looks east, the west border west.
  const int east = entryOf(391, Cflatee[391]);
  ASSERT_GT(east, 0);
  for (int k = 0; k < 4; ++k) EXPECT_GT(Cxcenter[Ncell[east][k]], 4.0) << "slot " << k;
  // Nested border faces are closed: their flow comes from the border sources.
  for (int n = 1; n <= NoNestflater; ++n) ASSERT_EQ(Fflagflow[Npflate[n]], 0) << "entry " << n;
}

TEST_F(NestedMaps, ParentCellsBeforeAndAfterTheBedCells) {
  // First map, before the bed cells: the nearest centre within the radius.
  for (int m = 0; m < 9; ++m) EXPECT_EQ(Cinterpolnest[361 + m], 109 + m) << "layer " << m;
  // The coarse bed cell of fine column (2, 7) (bed cell 41) is column (3, 2):
  // the first of four corner points at sqrt(0.5) m from the fine grid point.
  EXPECT_EQ(NoBCells, 56);
  EXPECT_EQ(Bnestcoarse[41], 5);
  // After a regeneration the bed-cell rule: the north-east candidate is nearest.
  Unstructure();
  metric();
  for (int c = 1; c <= NoCells; ++c) ASSERT_TRUE(c < 361 || Cinterpolnest[c] > 0);
  for (int m = 0; m < 9; ++m) EXPECT_EQ(Cinterpolnest[361 + m], 109 + m) << "layer " << m;
  EXPECT_EQ(Bnestcoarse[41], 5);
  // Column (3, 2) under the bed cell, its north and east neighbours at
  // 0.625 m2, the north-east one at 0.125 m2 in plan.
  const double dx = Cxcenter[109] - Cxcenter[361], dy = Cycenter[109] - Cycenter[361];
  EXPECT_NEAR(dx * dx + dy * dy, 0.125, 1e-12);
  EXPECT_EQ(Bcellt[5], coarseBottom(3, 2));
}

TEST_F(NestedMaps, CoarseGridPointsKnowTheirChildPoint) {
  EXPECT_EQ(pointnest[4][3][0], 3);
  EXPECT_EQ(pointnest[4][3][1], 8);
  // A grid point far from the fine block has none.
  EXPECT_EQ(pointnest[11][5][0], 0);
  EXPECT_EQ(pointnest[11][5][1], 0);
}

TEST_F(NestedMaps, PressureFollowsTheParentMean) {
  for (int c = 1; c <= NoCells; ++c) Cpres[c] = c <= 360 ? 100.0 : 90.0 + 0.01 * (c - 361);
  Cpres[400] -= 5.0;
  double before = 0.0;
  for (int c = 361; c <= 504; ++c) before += Cpres[c];
  const double shift = 100.0 - before / 144.0;
  scalePressureNested();
  EXPECT_NEAR(Cpres[361], 90.0 + shift, 1e-9);
  EXPECT_NEAR(Cpres[400], 90.0 + 0.39 - 5.0 + shift, 1e-9);
  EXPECT_DOUBLE_EQ(Cpres[1], 100.0);
  double after = 0.0;
  for (int c = 361; c <= 504; ++c) after += Cpres[c];
  EXPECT_NEAR(after / 144.0, 100.0, 1e-9);
}

TEST_F(NestedMaps, NestedSurfaceTakesTheCoarseWaterLevel) {
  // The coarse surface 0.2 m higher, the fine lines at their old level.
  for (int c = 1; c <= 360; ++c) {
    if (Ccellt[c] == 0) Czcenter[c] += 0.2;
  }
  interpolateSurfaceNested();
  const double level = 1.2;
  for (int i = 1; i <= 5; ++i) {
    for (int j = 6; j <= 10; ++j) EXPECT_NEAR(zval[i][j][znumber], level, 1e-12) << i << " " << j;
  }
  EXPECT_DOUBLE_EQ(zval[6][5][znumber], 1.0);
}

// A fine column without a coarse bed cell takes the level through its +i
// neighbour column.
TEST_F(NestedMaps, SurfaceFallsBackToTheNextColumn) {
  const int fineBed = pointbed[2][7];
  Bnestcoarse[fineBed] = 0;
  const int neighbourCoarse = Bnestcoarse[pointbed[3][7]];
  ASSERT_GT(neighbourCoarse, 0);
  int t = Bcellt[neighbourCoarse];
  while (Ccellt[t] > 0) t = Ccellt[t];
  Ckdist[t] += 0.3;  // the top of that coarse column 0.3 m higher
  interpolateSurfaceNested();
  // Grid line (1, 6) is clamped to column (2, 7), an end line, not smoothed.
  EXPECT_NEAR(zval[1][6][znumber], Czcenter[t] + Ckdist[t], 1e-12);
}

// A fine cell whose nearest parent-level cell lies beyond its radius keeps 0;
// so does every cell when the only block of the parent level is the last one.
TEST_F(NestedMaps, ParentsOutsideTheRadiusOrInTheLastBlock) {
  for (int c = 361; c <= 504; ++c) Cinterpolnest[c] = 0;
  NoBCells = 0;
  for (int c = 1; c <= 360; ++c) Czcenter[c] += 5.0;
  computeCinterpolnest();
  for (int c = 361; c <= 504; ++c) ASSERT_EQ(Cinterpolnest[c], 0) << "cell " << c;
  for (int c = 1; c <= 360; ++c) Czcenter[c] -= 5.0;
  // Blocks: the fine block, a second fine block, and the coarse one last.
  const GridBlock coarse = block[1], fine = block[2];
  block[1] = fine;
  block[2] = fine;
  block[3] = coarse;
  NoBlocks = 3;
  NoProcessesSolver = 0;
  computeCinterpolnest();
  for (int c = 361; c <= 504; ++c) ASSERT_EQ(Cinterpolnest[c], 0) << "cell " << c;
}

// With F 126 the border map is not built; a grid without nested blocks
// keeps Ncell and clears the parent map.
TEST_F(NestedMaps, NoMapWithoutNestingOrWithF126) {
  for (int n = 1; n <= NoNestflater; ++n) Ncell[n][0] = -7;
  FlagNestDLL = 1;
  FlagHaveDoneMetric = 0;
  metric();
  EXPECT_EQ(Ncell[1][0], -7);
  FlagNestDLL = 0;
  NoNestflater = 0;
  FlagCoupledNesting = 0;
  FlagHaveDoneMetric = 0;
  metric();
  EXPECT_EQ(Ncell[1][0], -7);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(Cinterpolnest[c], 0);
}

// The parent search gives the same map on four threads as serially.
TEST_F(NestedMaps, ThreadedParentSearchMatchesSerial) {
  NoBCells = 0;
  std::vector<int> serial(Cinterpolnest + 361, Cinterpolnest + 505);
  NoProcessesSolver = 4;
  FlagOpenMP[11] = 0;
  for (int c = 361; c <= 504; ++c) Cinterpolnest[c] = 0;
  computeCinterpolnest();
  NoProcessesSolver = 0;
  EXPECT_EQ(std::vector<int>(Cinterpolnest + 361, Cinterpolnest + 505), serial);
}

// With F 241 the top faces of the fine columns are border faces too; each
// takes the coarse cell above it nearest in space, and no other.
class NestedTopFaces : public GridFixture {};

TEST_F(NestedTopFaces, TopFacesTakeTheCellAbove) {
  generateNested([] {
    NestSurf = 1;
    FlagNestTop = 1;
    LevelNestTop = 0.45;  // the fine surface below the coarse one
  });
  if (HasFatalFailure()) return;
  const int bottom = block[2].FirstCell;
  int top = bottom;
  while (Ccellt[top] > 0) top = Ccellt[top];
  const int n = entryOf(top, Cflatet[top]);
  ASSERT_GT(n, 0);
  // Coarse column (4, 3): its fifth cell, centre at 0.5 m, is the first above 0.45 m.
  EXPECT_EQ(Ncell[n][0], coarseBottom(4, 3) + 4);
  for (int k = 1; k < 4; ++k) {
    EXPECT_EQ(Ncell[n][k], 0) << "slot " << k;
    EXPECT_EQ(Nvect[n][k][0], 0.0) << "slot " << k;
  }
  EXPECT_GT(Nvect[n][0][2], 0.0);
}

// F 238 1 and 2: the grid lines of the nested block get their water (1) or
// bed (2) level at the level of F 238 before they are counted; block 1
// keeps its own.
struct LevelRow {
  int flag, k;
  double level, otherLevel;
  friend void PrintTo(const LevelRow &r, std::ostream *os) { *os << "F 238 " << r.flag; }
};

class NestedLevelsF238 : public GridFixture, public ::testing::WithParamInterface<LevelRow> {};

TEST_P(NestedLevelsF238, NestedLinesTakeTheGivenLevel) {
  const LevelRow r = GetParam();
  generateNested([&] {
    FlagNestTop = r.flag;
    LevelNestTop = r.level;
  });
  for (int i = 1; i <= 5; ++i) {
    for (int j = 6; j <= 10; ++j) ASSERT_DOUBLE_EQ(zval[i][j][r.k], r.level) << i << " " << j;
  }
  EXPECT_DOUBLE_EQ(zval[6][3][r.k], r.otherLevel);
  // The fine block's cells stand between its levels.
  const int top = block[2].LastCell, bottom = block[2].FirstCell;
  if (r.flag == 1) EXPECT_NEAR(Czcenter[top] + Ckdist[top], 0.8, 1e-12);
  else EXPECT_NEAR(Czcenter[bottom] - Ckdist[bottom], 0.1, 1e-12);
}

INSTANTIATE_TEST_SUITE_P(WaterAndBed, NestedLevelsF238,
                         ::testing::Values(LevelRow{1, 11, 0.8, 1.0}, LevelRow{2, 1, 0.1, 0.0}),
                         [](const ::testing::TestParamInfo<LevelRow> &i) { return i.param.flag == 1 ? "Water" : "Bed"; });

}  // namespace
