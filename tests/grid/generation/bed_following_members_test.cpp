// The column generators F 64 9 (crack marks) and 15 (points per grid line
// with the steep-line marks), and the F 231 smoothing of member 3: the frame
// every generator keeps, on a plan grid with a steep bank and a dry column;
// the crack marks of two columns by hand; the smoothed count by hand.
#include <gtest/gtest.h>

#include <ostream>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/channel_columns.h"

namespace {

struct FrameCase {
  const char *name;
  int method;
  int smoothing;       // F 231
  int markI, markJ;    // a grid point marked in vv, 0 for none
  bool mirrored;       // the bank turned round: the channel on the east
  int cno;             // F 232 first value
  friend void PrintTo(const FrameCase &c, std::ostream *os) { *os << c.name; }
};

class BedFollowingFrame : public GridFixture, public ::testing::WithParamInterface<FrameCase> {};

// Bed levels of the grid lines i = 1..6 (x = 0..5 m), j = 1..4, water at 0: a
// channel 3 m deep, a bank rising 0.5 to 2.2 m over 1 m (steeper than 2 in
// the row j = 2) between x = 2 and 3, a shallow shelf and dry land; column
// (6, 4) has no cells. Turned round, the shallow columns lie west of the
// deep ones, which are built later, and (2, 4) has no cells; with F 232 9 no
// column pair of member 9 is a crack, and its capped sides join the bottom
// cells of columns whose counts differ by up to 7, where a cell builder that
// took the upper corners of a wall side from the cell above the west
// neighbour would put them on that neighbour's bed, below their own cell's
// lower corners.
constexpr double kBankBed[4][6] = {{-3.0, -3.0, -2.8, -1.0, -0.3, -0.2},
                                   {-3.0, -2.9, -2.7, -0.5, -0.3, 0.3},
                                   {-3.0, -3.0, -1.0, -0.5, 0.2, 0.3},
                                   {-2.9, -3.0, -2.9, -1.0, 0.2, 0.4}};

int firstLevel(int method, int a) { return method == 3 || method == 33 ? 1 : znumber - a + 1; }

TEST_P(BedFollowingFrame, CountsNumbersFacesAndClosedCells) {
  const FrameCase &m = GetParam();
  UMethod = m.method;
  FlagGridIter = m.smoothing;
  FlagGridCNO = m.cno;
  allocate(8, 6, 12);
  flatGrid(1, 6, 1, 4, 0.0);
  for (int j = 1; j <= 4; ++j) {
    for (int i = 1; i <= 6; ++i) zval[i][j][1] = kBankBed[j - 1][m.mirrored ? 6 - i : i - 1];
  }
  addBlock(2, 6, 2, 4);
  ASSERT_EQ(Unstructure(), 1);
  const int dryI = m.mirrored ? 2 : 6;
  EXPECT_EQ(ant[dryI][4], 0);
  EXPECT_EQ(zval[dryI][4][0], 0.0);
  // The marks at the bank: 9 spreads those of its cracks (along the bank
  // line i = 4 and at the shelf) to the shore point (5, 3), which ends no
  // crack; 15 marks both ends of the steep line from (3, 2) to (4, 2).
  if (m.markI > 0) {
    EXPECT_EQ(vv[m.markI][m.markJ], 1);
    if (m.method == 9) {
      EXPECT_EQ(vn[m.markI][m.markJ], 0);
    }
  }
  // Cells of a column: consecutive numbers bottom up at its levels of num,
  // the bottom cell in zval, columns numbered i rising inside j rising.
  int next = 1;
  for (int j = 2; j <= 4; ++j) {
    for (int i = 2; i <= 6; ++i) {
      const int a = ant[i][j];
      EXPECT_EQ(static_cast<int>(columnCells(i, j).size()), a) << i << ", " << j;
      if (a <= 0) continue;
      EXPECT_EQ(zval[i][j][0], next) << i << ", " << j;
      for (int n = 0; n < a; ++n) EXPECT_EQ(num[i][j][firstLevel(m.method, a) + n], next + n) << i << ", " << j;
      next += a;
    }
  }
  ASSERT_EQ(NoCells, next - 1);
  // Every side a face the cell owns; linked cells are linked both ways and
  // share one face.
  for (int c = 1; c <= NoCells; ++c) {
    const int *faces[6] = {Cflates, Cflatee, Cflaten, Cflatew, Cflateb, Cflatet};
    for (const int *side : faces) {
      ASSERT_GT(side[c], 0) << "cell " << c;
      EXPECT_TRUE(Fcell1[side[c]] == c || Fcell2[side[c]] == c) << "cell " << c;
    }
    if (const int e = Ccelle[c]; e > 0) {
      EXPECT_EQ(Ccellw[e], c) << "cell " << c;
      EXPECT_EQ(Cflatew[e], Cflatee[c]) << "cell " << c;
    }
    if (const int n = Ccelln[c]; n > 0) {
      EXPECT_EQ(Ccells[n], c) << "cell " << c;
      EXPECT_EQ(Cflates[n], Cflaten[c]) << "cell " << c;
    }
    if (const int t = Ccellt[c]; t > 0) {
      EXPECT_EQ(Ccellb[t], c) << "cell " << c;
      EXPECT_EQ(Cflateb[t], Cflatet[c]) << "cell " << c;
    }
  }
  expectOneBlockRanges();
  // No corner of a cell lies above the corner over it.
  const int *bottom[4] = {Cpoint1, Cpoint2, Cpoint3, Cpoint4}, *top[4] = {Cpoint5, Cpoint6, Cpoint7, Cpoint8};
  for (int c = 1; c <= NoCells; ++c) {
    for (int k = 0; k < 4; ++k) EXPECT_GE(Pz[top[k][c]], Pz[bottom[k][c]]) << "cell " << c << " corner " << k + 1;
  }
  metric();
  for (int c = 1; c <= NoCells; ++c) EXPECT_GT(Cvol[c], 0.0) << "cell " << c;
  expectClosedCells();
}

INSTANTIATE_TEST_SUITE_P(SteepBank, BedFollowingFrame,
                         ::testing::Values(FrameCase{"Cracks9", 9, 0, 5, 3, false, 1},
                                           FrameCase{"SteepLines15", 15, 0, 3, 2, false, 1},
                                           FrameCase{"Smoothed3", 3, 1, 0, 0, false, 1},
                                           FrameCase{"Smoothed33", 33, 1, 0, 0, false, 1},
                                           FrameCase{"UncrackedBankFacingWest9", 9, 0, 0, 0, true, 9},
                                           FrameCase{"BankFacingWest15", 15, 0, 0, 0, true, 1}),
                         [](const auto &info) { return std::string(info.param.name); });

// Two rows of columns 1 m wide: (2, 2) 11 cells over grid lines 2.0 and
// 0.5 m deep, (3, 2) 5 cells over 0.5 and 0.2 m (line counts 12, 6, 4 of
// member 9's law for the deepest 2.0 m, twelve levels); the columns of rows 3
// and 4 have 11 cells. Mean beds -1.25 and -0.35 m, centres 1 m apart: the
// bed rises by 0.9 towards (3, 2) and the count falls by 6, so crackI[2][2]
// is -6; towards (3, 3) (mean bed -1.175) it falls by 0.825 and the count
// rises by 6, so crackJ[3][2] is 6.
struct CrackCase {
  const char *name;
  int cno, expand;
  double angle;                        // F 232
  int crackI22, crackI23, crackJ22, crackJ32;
  int westOfShallowBottom;             // the cell beside cell 12, the bottom of (3, 2)
  int vn21, vn22, vn32, vv21;          // cracks ending at grid points, and a mark
  double cornerLevel;                  // bottom of cell 7 (level 8 of (2, 2)) at grid line 2
  friend void PrintTo(const CrackCase &c, std::ostream *os) { *os << c.name; }
};

class CrackMarks : public GridFixture, public ::testing::WithParamInterface<CrackCase> {};

TEST_P(CrackMarks, TwoColumnsByHand) {
  const CrackCase &m = GetParam();
  UMethod = 9;
  FlagGridCNO = m.cno;
  FlagGridQexpand = m.expand;
  FlagGridVVANG = m.angle;
  allocate(6, 6, 12);
  flatGrid(1, 3, 1, 4, 0.0);
  const double bed[3] = {-2.0, -0.5, -0.2};
  for (int i = 1; i <= 3; ++i) zval[i][1][1] = zval[i][2][1] = bed[i - 1];
  for (int i = 1; i <= 3; ++i) zval[i][3][1] = zval[i][4][1] = -2.0;
  addBlock(2, 3, 2, 4);
  ASSERT_EQ(Unstructure(), 1);
  ASSERT_EQ(ant[2][2], 11);
  ASSERT_EQ(ant[3][2], 5);
  EXPECT_EQ(crackI[2][2], m.crackI22);
  EXPECT_EQ(crackI[2][3], m.crackI23);
  EXPECT_EQ(crackI[2][4], 0);
  EXPECT_EQ(crackJ[2][2], m.crackJ22);
  EXPECT_EQ(crackJ[3][2], m.crackJ32);
  // Both ends of each crack follow the bed, and vn counts the cracks
  // there. Without the crack in i, the mark of the crack in j at (2, 2) runs
  // on to (2, 1), as columns of 11 and 5 cells lie on both sides of the
  // segment between them.
  EXPECT_EQ(vn[2][1], m.vn21);
  EXPECT_EQ(vn[2][2], m.vn22);
  EXPECT_EQ(vn[3][2], m.vn32);
  EXPECT_EQ(vv[2][1], m.vv21);
  // Where both ends follow the bed, the shallow column's bottom cell meets
  // the deep column's cell at its level, whose corners there lie on the bed;
  // the six cells below have a wall on that side. Without marks the two
  // bottom cells meet, and the cell at level 8 stops at the cap, 4 of the
  // line's 5 intervals below the surface.
  EXPECT_EQ(zval[3][2][0], 12.0);
  EXPECT_EQ(Ccellw[12], m.westOfShallowBottom);
  EXPECT_EQ(num[2][2][8], 7);
  EXPECT_NEAR(Pz[Cpoint2[7]], m.cornerLevel, 1e-9);
  EXPECT_NEAR(Pz[Cpoint3[7]], m.cornerLevel, 1e-9);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(Ccelle[c], c == 1 && m.westOfShallowBottom == 1 ? 12 : 0) << "cell " << c;
  metric();
  expectClosedCells();
}

INSTANTIATE_TEST_SUITE_P(
    F232, CrackMarks,
    ::testing::Values(CrackCase{"Defaults", 1, 0, 0.0, -6, 0, 0, 6, 7, 1, 2, 1, 1, -0.5},
                      CrackCase{"ExpandedOnePair", 1, 1, 0.0, -6, -6, 6, 6, 7, 1, 4, 1, 1, -0.5},
                      CrackCase{"SlopeBelowAngle", 1, 0, 0.95, 0, 0, 0, 6, 7, 0, 1, 1, 1, -0.5},
                      CrackCase{"CountWithinLimit", 6, 0, 0.0, 0, 0, 0, 0, 1, 0, 0, 0, 0, -0.4}),
    [](const auto &info) { return std::string(info.param.name); });

// One row of three columns over grid lines 1.0, 0.5, 0.101 and 0.099 m deep
// (member 3, twelve levels, MinVertDist1 0.1 m): line counts 12, 8, 4 and 2.
// The last two lie 0.002 m apart, less than a cell height of the finer line
// (0.101 / 3), and two counts apart: F 231 1 lowers the 4 to 3, and the last
// column loses a cell. The others lie further apart than a cell height.
class LineSmoothing : public GridFixture, public ::testing::WithParamInterface<int> {};

TEST_P(LineSmoothing, CloseDepthsOneCountApart) {
  const bool smoothing = GetParam() == 1;
  UMethod = 3;
  FlagGridIter = GetParam();
  allocate(6, 4, 12);
  flatGrid(1, 4, 1, 2, 0.0);
  const double bed[4] = {-1.0, -0.5, -0.101, -0.099};
  for (int i = 1; i <= 4; ++i) zval[i][1][1] = zval[i][2][1] = bed[i - 1];
  addBlock(2, 4, 2, 2);
  ASSERT_EQ(Unstructure(), 1);
  for (int j = 1; j <= 2; ++j) {
    EXPECT_EQ(antlin[1][j], 12);
    EXPECT_EQ(antlin[2][j], 8);
    EXPECT_EQ(antlin[3][j], smoothing ? 3 : 4);
    EXPECT_EQ(antlin[4][j], 2);
  }
  EXPECT_EQ(ant[2][2], 11);
  EXPECT_EQ(ant[3][2], 7);
  EXPECT_EQ(ant[4][2], smoothing ? 2 : 3);
}

INSTANTIATE_TEST_SUITE_P(F231, LineSmoothing, ::testing::Values(0, 1));

}  // namespace
