// The column-ordered bed change by hand: the ranked passes, the stop of the
// rounds by the parity of the reference cell, the skew values of F 205 and
// the Froude limit of F 132 on the corner water levels.
#include "bed/levels/column_ordered_bed_change.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

#include "bed/levels/bed_level_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

class ColumnOrderedBedChange : public BedLevelFixture {
 protected:
  void SetUp() override {
    BedLevelFixture::SetUp();
    FlagBedchangeOption = 1;
  }

  static void layers(int i, int j, double t0, double t1) {
    BSedDistrib[0][0][pointbed[i][j]] = t0;
    BSedDistrib[1][0][pointbed[i][j]] = t1;
  }

  // Corner points of the cell of column (3, 3) at the bed level 0, with the
  // cell's centre.
  static int cellWithCorners() {
    const int c = static_cast<int>(zval[3][3][0]);
    const int ci[5] = {0, 3, 3, 2, 2}, cj[5] = {0, 3, 2, 2, 3};
    int *const corner[4] = {Cpoint3, Cpoint2, Cpoint1, Cpoint4};
    for (int k = 1; k <= 4; ++k) {
      corner[k - 1][c] = k;
      Px[k] = ci[k] - 1.0;
      Py[k] = cj[k] - 1.0;
      Pz[k] = 0.0;
    }
    Cxcenter[c] = Cycenter[c] = 1.5;
    return c;
  }
};

// Every column keeps its whole change as rest (erosion on the fixed bed, a
// deposit under F 163 1 with the water at the bed), so "S" writes one
// warning per column in the order the columns are placed: the deposit at
// the block's end first, then the erosions beyond 90 % of the two layers
// (no layers at all, 0.901), then the others (exactly 0.9 among them).
TEST_F(ColumnOrderedBedChange, PassesPlaceDepositsFirstThenDeepErosion) {
  bedBlock(2, 4, 2, 4);
  debugging = 'S';
  FlagBedChange = 1;
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][znumber] = 0.0;
  move(2, 2) = -0.02;
  layers(2, 2, 10.0, 0.05);
  move(2, 3) = -0.02;
  layers(2, 3, 0.0, 0.0);
  move(3, 3) = -0.9;
  layers(3, 3, 0.5, 0.5);
  move(3, 4) = -0.0901;
  layers(3, 4, 0.05, 0.05);
  move(4, 4) = 0.02;
  bedchange2();
  const std::string log = boogie();
  // Column (4, 4) has cell 9, odd: path mark 3; its corner 1 has only its
  // own area.
  expectInOrder(log, {"Warning in bed change, i,j,ii,Bedmove,rest,dz,area = 4 4 3 0.02 0.02 0.02 1\n",
                      "Corner 1, move, factor, minmove = 0 1 0\n", "Cell P: Size 1, Conc: 0, Fraction: 1\n",
                      "area = 2 3 ", "area = 3 4 ", "area = 2 2 ", "area = 3 3 "});
  EXPECT_EQ(log.find(" Conc[1] = "), std::string::npos) << "the shorter warning form";
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) EXPECT_EQ(zval[i][j][1], 0.0) << i << " " << j;
  const double unit = 0.5 * 1000.0 * 2.65;
  EXPECT_NEAR(BedMoveDefectAbs, (0.02 + 0.02 + 0.9 + 0.0901 + 0.02) * unit, 1e-9);
  EXPECT_NEAR(BedMoveDefectSum, (0.02 - 0.02 - 0.9 - 0.0901 - 0.02) * unit, 1e-9);
}

// A deposit placed before a neighbouring erosion gives it something to
// take: the shared point (3, 3) receives 0.01 from column (4, 4) and column
// (3, 3), on the fixed bed elsewhere, erodes it again.
TEST_F(ColumnOrderedBedChange, ErosionTakesTheDepositPlacedBefore) {
  bedBlock(2, 4, 2, 4);
  move(3, 3) = -0.04;
  move(4, 4) = 0.04;
  bedchange2();
  EXPECT_NEAR(zval[3][3][1], 0.0, 1e-15);
  EXPECT_NEAR(zval[4][4][1], 0.04, 1e-15);  // the block corner: its column alone
  EXPECT_NEAR(BedMoveDefectAbs, 0.03 * 0.5 * 1000.0 * 2.65, 1e-9);
}

// Three corners on the fixed bed hand back three quarters of each round, so
// the rest shrinks by 3/4 a round: an even reference cell stops below 1e-9,
// an odd one goes on below 1e-10.
TEST_F(ColumnOrderedBedChange, RoundsStopByTheParityOfTheReferenceCell) {
  bedBlock(3, 3, 3, 4);  // cells 1 (3, 3) and 2 (3, 4)
  const double unit = 0.5 * 1000.0 * 2.65;
  // Corner 1 has the area sum 2 m2 at (3, 3) and 1 m2 at (3, 4): it takes
  // the whole 0.01 m3 as 0.02 and 0.04 m.
  for (const auto &[j, low, high, depth] : {std::tuple{3, 0.75e-10, 1e-10, 0.02}, {4, 0.75e-9, 1e-9, 0.04}}) {
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int jj = 0; jj <= ynumber + 1; ++jj) Surfaces[3][i][jj] = zval[i][jj][1];
    Surfaces[3][3][j] = -10.0;  // corner 1 erodes freely
    BedMoveDefectAbs = 0.0;
    move(3, 3) = move(3, 4) = 0.0;
    move(3, j) = -0.01;
    bedchange2();
    EXPECT_GE(BedMoveDefectAbs / unit, low) << "column (3, " << j << ")";
    EXPECT_LT(BedMoveDefectAbs / unit, high) << "column (3, " << j << ")";
    EXPECT_NEAR(zval[3][j][1], -depth, 1e-8);
  }
}

// The skew of F 205 1-4 is 1.5, 2, 5 and 10 whatever F 205's second value:
// corner 1, a metre above the others, erodes 0.1/(1 + 3p/(1 + p)). Every
// other option places a quarter at each corner, and 12 does not end the run.
TEST_F(ColumnOrderedBedChange, SkewValues) {
  bedBlock(2, 4, 2, 4);
  f205param = 7.0;
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = -10.0;
  const std::pair<int, double> cases[] = {{1, 0.1 / 2.8}, {2, 0.1 / 3.0}, {3, 0.1 / 3.5}, {4, 0.1 * 11.0 / 41.0},
                                          {12, 0.025},    {9, 0.025},     {21, 0.025},   {0, 0.025}};
  for (const auto &[option, high] : cases) {
    FlagSkewedBedchange = option;
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][1] = 0.0;
    zval[3][3][1] = 1.0;
    move(3, 3) = -0.1;
    bedchange2();
    EXPECT_NEAR(1.0 - zval[3][3][1], high, 1e-12) << "option " << option;
    const double low = (0.1 - high) / 3.0;
    EXPECT_NEAR(-zval[2][2][1], low, 1e-12) << "option " << option;
  }
}

// Option 5 gives the corners downstream of the centre the larger sums: with
// the flow along x corners 1 and 2 move less.
TEST_F(ColumnOrderedBedChange, DownstreamCornersMoveLess) {
  bedBlock(2, 4, 2, 4);
  const int c = cellWithCorners();
  Cxvel[c] = 1.0;
  FlagSkewedBedchange = 5;
  move(3, 3) = 0.1;
  bedchange2();
  const double w = 1.0 + std::sqrt(0.5), harmonic = 0.25 * (2.0 + 2.0 / w);
  EXPECT_NEAR(zval[3][3][1], 0.1 / (4.0 * w * harmonic), 1e-12);
  EXPECT_NEAR(zval[2][2][1], 0.1 / (4.0 * harmonic), 1e-12);
}

// F 132 1.0 with 1 m/s over a mean depth of 0.05 m raises the four corner
// water levels by 1/9.81 - 0.05 m; F 132 0 leaves them. With F 105 above
// 10000 a deep column relaxes a corner 3 % towards the level slot above the
// water level, and leaves a corner below its slot.
TEST_F(ColumnOrderedBedChange, FroudeLimitOnTheWaterLevels) {
  bedBlock(2, 4, 2, 4);
  const int c = cellWithCorners();
  Cxvel[c] = 1.0;
  const int ci[4] = {3, 3, 2, 2}, cj[4] = {3, 2, 2, 3};
  for (double froude : {0.0, 1.0}) {
    FroudeMaxSurface = froude;
    for (int k = 0; k < 4; ++k) zval[ci[k]][cj[k]][znumber] = 0.05;
    move(3, 3) = 0.001;
    bedchange2();
    const double expected = froude > 0.5 ? 0.05 + (1.0 / 9.81 - 0.05) : 0.05;
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(zval[ci[k]][cj[k]][znumber], expected, 1e-12) << "F 132 " << froude;
  }
  EXPECT_NEAR(1.0 / 9.81 - 0.05, 0.0519368, 1e-7);

  IterWaterUpdate = 20000;
  for (int k = 0; k < 4; ++k) zval[ci[k]][cj[k]][znumber] = 1.0;
  zval[3][3][znumber + 1] = 0.9;
  zval[3][2][znumber + 1] = 1.2;
  bedchange2();
  EXPECT_NEAR(zval[3][3][znumber], 0.997, 1e-12);
  EXPECT_EQ(zval[3][2][znumber], 1.0);
}

}  // namespace
