// The other column generators of F 64 on the step case (two columns, the
// second over a bed 1.4 m deeper): the cell counts of each method and the
// frame every method keeps, with the grid checks reporting nothing.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

struct MemberCase {
  const char *name;
  int method;
  int shallow, deep;  // cells of columns (2,2) and (3,2)
  int ownCorners;     // a cell whose bottom west corners are a collapsed cell's own points, 0 for none
  friend void PrintTo(const MemberCase &c, std::ostream *os) { *os << c.name; }
};

class ColumnMember : public GridFixture, public ::testing::WithParamInterface<MemberCase> {};

int columnCells(int i, int j) {
  int n = 0;
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) ++n;
  return n;
}

TEST_P(ColumnMember, CountsAndFrame) {
  const MemberCase &m = GetParam();
  UMethod = m.method;
  readStep();
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(ant[2][2], m.shallow);
  EXPECT_EQ(ant[3][2], m.deep);
  ASSERT_EQ(NoCells, m.shallow + m.deep);
  // Cells numbered bottom up, column by column, the bottom cell in zval.
  EXPECT_EQ(zval[2][2][0], 1.0);
  EXPECT_EQ(zval[3][2][0], m.shallow + 1.0);
  EXPECT_EQ(columnCells(2, 2), m.shallow);
  EXPECT_EQ(columnCells(3, 2), m.deep);
  for (int c = 1; c <= NoCells; ++c) {
    if (c != 1 && c != m.shallow + 1) { EXPECT_EQ(Ccellb[c], c - 1) << "cell " << c; }
    for (const int *side : {Cflates, Cflatee, Cflaten, Cflatew, Cflateb, Cflatet}) {
      EXPECT_GT(side[c], 0) << "cell " << c;
    }
  }
  // A side linked to the built west column shares that column's face.
  for (int c = m.shallow + 1; c <= NoCells; ++c) {
    const int w = Ccellw[c];
    if (w > 0 && Ccelle[w] == c) { EXPECT_EQ(Cflatew[c], Cflatee[w]) << "cell " << c; }
  }
  expectOneBlockRanges();
  metric();
  // A cell with a corner of its own beside the shared one closes only to the
  // rounding of the two corner levels.
  if (m.ownCorners == 0) expectClosedCells();
  const std::size_t before = boogie().size();
  gridTest();
  // Where the cell below is collapsed at x = 1 and has no west neighbour, its
  // top corners there are points of its own, while the cell above takes the
  // same places from the shared west face: the checks of that face name it,
  // as for the default generator.
  const std::string cell = std::to_string(m.ownCorners);
  EXPECT_EQ(boogie().substr(before),
            m.ownCorners ? "Error 21 in grid for cell " + cell + "\nError 22 in grid for cell " + cell + "\n" : "");
}

// 2: the slope correction takes one cell off the deep column; 14 shares its
// points per grid line and lowers the line counts by one.
INSTANTIATE_TEST_SUITE_P(
    Step, ColumnMember,
    ::testing::Values(MemberCase{"Uncapped2", 2, 3, 4, 0}, MemberCase{"Uncapped32", 32, 3, 4, 0},
                      MemberCase{"FromTheBed3", 3, 3, 6, 0}, MemberCase{"TopToTop4", 4, 3, 6, 9},
                      MemberCase{"FromTheBed33", 33, 3, 6, 0}, MemberCase{"Exponent5", 5, 3, 6, 7},
                      MemberCase{"Exponent35", 35, 3, 6, 7}, MemberCase{"Capped6", 6, 3, 6, 8},
                      MemberCase{"Marked7", 7, 3, 6, 0}, MemberCase{"Marked37", 37, 3, 6, 0},
                      MemberCase{"DryCorners10", 10, 3, 6, 8}, MemberCase{"SingleCells12", 12, 3, 6, 8},
                      MemberCase{"LinePoints14", 14, 2, 5, 0}, MemberCase{"Cracks9", 9, 3, 6, 7},
                      MemberCase{"SteepLines15", 15, 2, 5, 0}),
    [](const auto &info) { return std::string(info.param.name); });


// A block of fixed layers, as grid files carry them: each column gets k2
// cells spaced evenly from BlockParam2 - BlockParam1 to BlockParam2, whatever
// the depths of the grid lines. Member 7 layers only the columns that its
// depth law makes wet: with the bed of the first column above the water,
// only the second column gets cells.
struct FixedLayerCase {
  const char *name;
  int method;
  bool dryFirstColumn;
  friend void PrintTo(const FixedLayerCase &c, std::ostream *os) { *os << c.name; }
};

class FixedLayerBlock : public GridFixture, public ::testing::WithParamInterface<FixedLayerCase> {};

TEST_P(FixedLayerBlock, EvenLayersBetweenTheBlockLevels) {
  const FixedLayerCase &m = GetParam();
  UMethod = m.method;
  readStep();
  if (m.dryFirstColumn) {
    for (int j = 1; j <= 2; ++j) zval[1][j][1] = zval[2][j][1] = 0.7;
  }
  block[1].k1 = 0;
  block[1].k2 = 4;
  block[1].BlockParam1 = 2.0;
  block[1].BlockParam2 = 0.6;
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(ant[2][2], m.dryFirstColumn ? 0 : 4);
  EXPECT_EQ(ant[3][2], 4);
  ASSERT_EQ(NoCells, m.dryFirstColumn ? 4 : 8);
  metric();
  expectClosedCells();
  for (int c = 1; c <= NoCells; ++c) {
    const int n = (c - 1) % 4;  // level in its column, 0 at the bed
    EXPECT_NEAR(Cvol[c], 0.5, 1e-9) << "cell " << c;
    EXPECT_NEAR(Czcenter[c], -1.4 + 0.5 * n + 0.25, 1e-9) << "cell " << c;
  }
  const std::size_t before = boogie().size();
  gridTest();
  EXPECT_EQ(boogie().substr(before), "");
}

INSTANTIATE_TEST_SUITE_P(Step, FixedLayerBlock,
                         ::testing::Values(FixedLayerCase{"FixedLevels0", 0, false},
                                           FixedLayerCase{"FixedLevels1", 1, false},
                                           FixedLayerCase{"Uncapped2", 2, false},
                                           FixedLayerCase{"Marked7", 7, false},
                                           FixedLayerCase{"Marked7DryColumn", 7, true}),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
