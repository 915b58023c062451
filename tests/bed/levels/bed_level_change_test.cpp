// The bed-level change on small plan grids by hand: a uniform change over a
// block, the limits of the non-erodible level and the water depth, the rest
// booked when a limit holds the change back, and points shared by two
// connected blocks. The completion runs in a step without regeneration.
#include "bed/levels/bed_level_change.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

class BedLevelChange : public BedLayerFixture {
 protected:
  // A plan grid of 1 m2 columns i = 2..nx, j = 2..ny, flat bed at 0 under
  // 1 m of water, one cell per column; the blocks are added by the test.
  void SetUp() override {
    BedLayerFixture::SetUp();
    allocateBed(1, 2, false, 9, 9);
    flatGrid(0, xnumber + 1, 0, ynumber + 1, 1.0);
    TimeStep = 10.0;
    SolidFrac = 0.5;
    density = 2.65;
    Iter = 2;
    BedRecIter = 5;  // no regeneration in step 2
    FlagBedDownstream = 0;
    IterAvalanche = 0;
    FlagSlideDLL = 0;
    WCStart = 1;
    WCEnd = 0;
    BedMoveDefectSum = BedMoveDefectAbs = 0.0;
  }

  // A bed block of columns i1..i2, j1..j2 with its cells and bed cells.
  static void bedBlock(int i1, int i2, int j1, int j2) {
    GridBlock &g = block[addBlock(i1, i2, j1, j2)];
    g.WorkFlag = 1;
    for (int i = i1; i <= i2; ++i) {
      for (int j = j1; j <= j2; ++j) {
        const int c = ++NoCells;
        const int b = ++NoBCells;
        zval[i][j][0] = c;
        Cbed[c] = b;
        Bcellt[b] = c;
        pointbed[i][j] = b;
        armap[i][j] = 1.0;
        Barea[b] = 1.0;
        Bkooi[b] = i;
        Bkooj[b] = j;
        Bedmove[b] = 0.0;
      }
    }
  }

  static double &move(int i, int j) { return Bedmove[pointbed[i][j]]; }
};

// Each corner takes dz/4 from each of its four columns, a border point dz/2
// from each of two, a block corner dz from its one column.
TEST_F(BedLevelChange, UniformChangeRaisesEveryPointByIt) {
  bedBlock(2, 6, 2, 5);
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 0.01;
  bedchange();
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      const double expected = i >= 1 && i <= 6 && j >= 1 && j <= 5 ? 0.01 : 0.0;
      EXPECT_NEAR(zval[i][j][1], expected, 1e-15) << i << " " << j;
      EXPECT_NEAR(Surfaces[1][i][j], expected, 1e-15) << i << " " << j;
    }
  }
  EXPECT_EQ(BedMoveDefectSum, 0.0);
  EXPECT_EQ(BedMoveDefectAbs, 0.0);
}

// A column whose change is 1e-12 or less moves nothing.
TEST_F(BedLevelChange, TinyChangeMovesNothing) {
  bedBlock(2, 4, 2, 4);
  move(3, 3) = 1e-12;
  move(2, 2) = -1e-12;
  bedchange();
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) EXPECT_EQ(zval[i][j][1], 0.0) << i << " " << j;
}

// With F 144 5 the changes spread over the neighbouring columns before the
// points move; the points still take the volume the columns booked.
TEST_F(BedLevelChange, SpreadChangesMoveTheBookedVolume) {
  bedBlock(2, 6, 2, 5);
  FlagBedSmooth = 5;
  ParamBedSmooth = 1.0;
  double booked = 0.0;
  for (int b = 1; b <= NoBCells; ++b) {
    Bedmove[b] = 0.01 * (b % 3 + 1);
    booked += Barea[b] * Bedmove[b];
  }
  const double first = Bedmove[1];
  bedchange();
  EXPECT_NE(Bedmove[1], first);
  double volume = 0.0;
  for (int i = 2; i <= 6; ++i) {
    for (int j = 2; j <= 5; ++j)
      volume += 0.25 * (zval[i][j][1] + zval[i - 1][j][1] + zval[i][j - 1][1] + zval[i - 1][j - 1][1]);
  }
  EXPECT_NEAR(volume, booked, 1e-12 * booked);
}

// Erosion on the non-erodible level moves nothing and books the whole
// change as rest, with the warning block when it passes F 501.
TEST_F(BedLevelChange, ErosionOnTheFixedBedIsBookedAsRest) {
  bedBlock(2, 4, 2, 4);
  restCrit = 0.01;
  NumMoveBedchange = 7;
  move(3, 3) = -0.02;
  bedchange();
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) EXPECT_EQ(zval[i][j][1], 0.0) << i << " " << j;
  const double kg = 0.02 * 1.0 * 0.5 * 1000.0 * 2.65;
  EXPECT_NEAR(BedMoveDefectSum, -kg, 1e-9);
  EXPECT_NEAR(BedMoveDefectAbs, kg, 1e-9);
  const std::string log = boogie();
  // Bottom cell 5 is odd: the rounds take the corners as 2, 1, 4, 3.
  expectInOrder(
      log,
      {"Warning in bed change, i,j,b,ii,l,Bedmove,rest,dz,area = 3 3 5 3 7 -0.02 0.02 -0.02 1\n",
       "Iter: 2, Thickness top: 0 bottom: 0\n", "Velocity, pressure, bedshear: 0 m/s, 0 m/s, 0 m/s, 0 Pa, 0 Pa\n",
       " Conc[1] = 0\n", "Volume available: 0, eroded: 0, supp_eroded: -0.02, avl_box_2: 0, avl_box_1: 0\n",
       "Corner 1, move, factor, minmove, weight = 0 4 0 1\n", "Corner 4, move, factor, minmove, weight = 0 4 0 1\n",
       "Cell P: Size 1, Conc: 0, Fraction: 1, Bbedmove 0, Bsource 0\n"});
  // Under F 501 no warning.
  restCrit = 10.0;
  move(3, 3) = -0.02;
  const std::size_t before = boogie().size();
  bedchange();
  EXPECT_EQ(boogie().size(), before);
}

// F 163 1 keeps deposits under the water level; F 163 2 sets no limit, so
// erosion passes the non-erodible level.
TEST_F(BedLevelChange, WaterDepthLimitAndNoLimit) {
  bedBlock(2, 4, 2, 4);
  FlagBedChange = 1;
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 3.0;
  bedchange();
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 4; ++j) {
      EXPECT_LE(zval[i][j][1], zval[i][j][znumber] + 1e-12) << i << " " << j;
      EXPECT_GT(zval[i][j][1], 0.99) << i << " " << j;
    }
  }
  EXPECT_GT(BedMoveDefectSum, 0.0);

  FlagBedChange = 2;
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][1] = Surfaces[3][i][j] = 0.0;
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 0.0;
  move(3, 3) = -0.04;
  bedchange();
  EXPECT_NEAR(zval[3][3][1], -0.01, 1e-15);
  EXPECT_NEAR(zval[2][2][1], -0.01, 1e-15);
}

// F 502 1 never cuts a move: the excess over the limits is only booked, one
// quarter of each corner's area sum, for erosion and deposition alike.
TEST_F(BedLevelChange, SinglePassBooksTheExcessAndMovesAll) {
  bedBlock(2, 4, 2, 4);
  FlagBedMove = 1;
  move(3, 3) = -0.02;
  bedchange();
  EXPECT_NEAR(zval[3][3][1], -0.005, 1e-15);  // under the non-erodible level 0
  EXPECT_NEAR(zval[2][2][1], -0.005, 1e-15);
  const double unit = 0.5 * 1000.0 * 2.65;
  EXPECT_NEAR(BedMoveDefectSum, -0.02 * unit, 1e-9);
  EXPECT_NEAR(BedMoveDefectAbs, 0.02 * unit, 1e-9);

  // A deposit over 1 mm of water under F 163 1: each corner 4 mm over by
  // 3 mm, booked as 4 x 3 mm x 4 m2 x 0.25 = 12 mm over the column.
  for (int i = 0; i <= xnumber + 1; ++i)
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][1] = 0.0, zval[i][j][znumber] = 0.001;
  BedMoveDefectSum = BedMoveDefectAbs = 0.0;
  FlagBedChange = 1;
  move(3, 3) = 0.016;
  bedchange();
  EXPECT_NEAR(zval[3][3][1], 0.004, 1e-15);
  EXPECT_NEAR(BedMoveDefectSum, 0.012 * unit, 1e-9);
  EXPECT_NEAR(BedMoveDefectAbs, 0.012 * unit, 1e-9);
}

// F 396: every corner sum is four column areas, even at the block border,
// so a corner column places a quarter of its change at each corner.
TEST_F(BedLevelChange, NoSidesSpreadsAQuarterToEachCorner) {
  bedBlock(2, 4, 2, 4);
  FlagNoSides = 1;
  move(2, 2) = 0.04;
  bedchange();
  for (const auto &[i, j] : {std::pair{2, 2}, {2, 1}, {1, 1}, {1, 2}}) EXPECT_NEAR(zval[i][j][1], 0.01, 1e-15);
}

// Two blocks side by side in i share the grid line between them: a uniform
// change over both raises that line by the change once, like every other
// point, and no point outside the blocks moves.
TEST_F(BedLevelChange, ConnectedBlocksMoveTheirSharedPointsAlike) {
  bedBlock(2, 4, 2, 4);
  bedBlock(5, 7, 2, 4);
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 0.02;
  bedchange();
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      const double expected = i >= 1 && i <= 7 && j >= 1 && j <= 4 ? 0.02 : 0.0;
      EXPECT_NEAR(zval[i][j][1], expected, 1e-15) << i << " " << j;
      EXPECT_NEAR(Surfaces[1][i][j], expected, 1e-15) << i << " " << j;
    }
  }
}

// A column on the south border of its block, not on the west border, with
// no south neighbour but a bed cell diagonally south-west in another block:
// the corner it shares with that column is one grid point and moves once, by
// the column's share over the three columns around it.
TEST_F(BedLevelChange, DiagonalBlockCornerMovesOnce) {
  bedBlock(2, 4, 4, 6);
  bedBlock(2, 2, 2, 3);
  move(3, 4) = 0.04;
  bedchange();
  EXPECT_NEAR(zval[2][3][1], 0.04 / 3.0, 1e-15);
  EXPECT_NEAR(Surfaces[1][2][3], 0.04 / 3.0, 1e-15);
  EXPECT_NEAR(zval[3][3][1], 0.04 / 2.0, 1e-15);  // corner 2: the column and its east neighbour
  EXPECT_EQ(zval[2][2][1], 0.0);
}

}  // namespace
