// The column-wise smoothing of the multi-layer bed on hand-set layer stacks
// over a level non-erodible bed: the step limit of F 451 moving layer
// material with its composition between neighbouring columns, and the
// deposit relocation of F 414. Each keeps the volume of every grain size.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "bed/layers/bed_layer_fixture.h"
#include "bed/levels/bed_smoothing.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class ColumnSmoothing : public BedLayerFixture {
 protected:
  void SetUp() override {
    BedLayerFixture::SetUp();
    allocateBed(2, 5, true, 9, 7);
    flatGrid(0, xnumber + 1, 0, ynumber + 1, 5.0);
    SolidFrac = 0.5;
    FlagSplitLayers = 0;
    FlagErodeUnder = 1;
    relaxAvailable = 1.0;
    TopThickness = 0.05;
    FlagBedSmooth4 = 1;
    BedSmooth4 = 0.0;
    FlagSmoothBedchange = 1;
  }

  // Columns i1..i2, j1..j2 of 1 m2 with one cell each (bottom at 0, 1 m
  // high), linked to their side neighbours, and no bed change.
  static void columns(int i1, int i2, int j1, int j2) {
    addBedColumns(i1, i2, j1, j2);
    for (int i = i1; i <= i2; ++i) {
      for (int j = j1; j <= j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]), b = Cbed[c];
        Ckdist[c] = Czcenter[c] = 0.5;
        Bedmove[b] = 0.0;
        for (int k = 1; k <= lnumber; ++k) Bbedchange[k][b] = 0.0;
        setStack(b, {{1.0, 0.5, {0.5, 0.5}}});
        Ccellw[c] = i > i1 ? static_cast<int>(zval[i - 1][j][0]) : 0;
        Ccelle[c] = i < i2 ? static_cast<int>(zval[i + 1][j][0]) : 0;
        Ccells[c] = j > j1 ? static_cast<int>(zval[i][j - 1][0]) : 0;
        Ccelln[c] = j < j2 ? static_cast<int>(zval[i][j + 1][0]) : 0;
      }
    }
  }

  static double total(int b) {
    double t = 0.0;
    for (int l = 0; l <= BlayerTop[b]; ++l) t += thicknessOf(b, l);
    return t;
  }

  // Bulk volume of size k over every column: area times thickness times
  // the size's fraction, layer by layer.
  static double sizeVolume(int k) {
    double v = 0.0;
    for (int b = 1; b <= NoBCells; ++b)
      for (int l = 0; l <= BlayerTop[b]; ++l) v += Barea[b] * thicknessOf(b, l) * BSedDistrib[l][k][b];
    return v;
  }

  static int bed(int i, int j) { return pointbed[i][j]; }
};

// A row of three columns along i, 1 m apart (L = 2 m): the middle one 1.4 m
// against 1.0 m on both sides, its top 0.4 m of 20 % size 1. With an allowed
// 0.05 per metre the excess is 0.3 m: 0.15 m leaves the middle, 0.075 m of
// its top material lands on each neighbour.
TEST_F(ColumnSmoothing, HumpGivesHalfItsExcessToBothNeighbours) {
  columns(2, 4, 2, 2);
  BedSmooth4 = 0.05;
  setStack(bed(3, 2), {{1.0, 0.5, {0.5, 0.5}}, {0.4, 0.5, {0.2, 0.8}}});
  const double v1 = sizeVolume(1), v2 = sizeVolume(2);
  bedSmooth4();
  EXPECT_NEAR(total(bed(3, 2)), 1.25, 1e-12);
  for (const int side : {2, 4}) {
    const int b = bed(side, 2);
    EXPECT_NEAR(total(b), 1.075, 1e-12) << side;
    ASSERT_EQ(BlayerTop[b], 1) << side;
    EXPECT_NEAR(BSedDistrib[1][1][b], 0.2, 1e-12) << side;
  }
  EXPECT_NEAR(sizeVolume(1), v1, 1e-12);
  EXPECT_NEAR(sizeVolume(2), v2, 1e-12);
}

// The middle at 0.6 m between 1.0 m: the deficit 0.3 m, each neighbour gives
// a quarter of it.
TEST_F(ColumnSmoothing, HollowTakesAQuarterOfTheDeficitFromEachNeighbour) {
  columns(2, 4, 2, 2);
  BedSmooth4 = 0.05;
  setStack(bed(3, 2), {{0.6, 0.5, {0.5, 0.5}}});
  setStack(bed(4, 2), {{1.0, 0.5, {0.1, 0.9}}});
  const double v1 = sizeVolume(1), v2 = sizeVolume(2);
  bedSmooth4();
  EXPECT_NEAR(total(bed(2, 2)), 0.925, 1e-12);
  EXPECT_NEAR(total(bed(4, 2)), 0.925, 1e-12);
  EXPECT_NEAR(total(bed(3, 2)), 0.75, 1e-12);
  EXPECT_NEAR(sizeVolume(1), v1, 1e-12);
  EXPECT_NEAR(sizeVolume(2), v2, 1e-12);
}

// The middle column stands on a non-erodible level 1 m higher (its corners;
// its neighbours share two of them) with only 0.1 m of sediment: it gives
// what it has, 0.05 m to each side, though the step asks for 0.25 m.
TEST_F(ColumnSmoothing, HumpGivesOnlyWhatItHas) {
  columns(2, 4, 2, 2);
  for (const int i : {2, 3})
    for (const int j : {1, 2}) Surfaces[3][i][j] = 1.0;
  for (const int i : {2, 3, 4}) setStack(bed(i, 2), {{0.1, 0.5, {0.5, 0.5}}});
  const double v1 = sizeVolume(1);
  bedSmooth4();
  EXPECT_NEAR(total(bed(3, 2)), 0.0, 1e-12);
  EXPECT_NEAR(total(bed(2, 2)), 0.15, 1e-12);
  EXPECT_NEAR(total(bed(4, 2)), 0.15, 1e-12);
  EXPECT_NEAR(sizeVolume(1), v1, 1e-12);
}

// A neighbour of twice the plan area takes the same volume as a layer half
// as thick; in a hollow the centre takes what the larger neighbour gives
// on its own area.
TEST_F(ColumnSmoothing, UnequalAreasKeepTheVolume) {
  columns(2, 4, 2, 2);
  Barea[bed(4, 2)] = 2.0;
  for (const double middle : {1.4, 0.6}) {
    SCOPED_TRACE(middle);
    for (const int i : {2, 4}) setStack(bed(i, 2), {{1.0, 0.5, {0.3, 0.7}}});
    setStack(bed(3, 2), {{middle, 0.5, {0.6, 0.4}}});
    const double v1 = sizeVolume(1), v2 = sizeVolume(2);
    bedSmooth4();
    EXPECT_NEAR(sizeVolume(1), v1, 1e-12);
    EXPECT_NEAR(sizeVolume(2), v2, 1e-12);
    if (middle > 1.0) {
      EXPECT_NEAR(total(bed(4, 2)), 1.05, 1e-12);  // half of 0.2 m over 1 m2, spread on 2 m2
    } else {
      EXPECT_NEAR(total(bed(3, 2)), 0.9, 1e-12);  // 0.1 m from 1 m2 and 0.1 m from 2 m2
    }
  }
}

// Left alone: a column at the mean of its neighbours, a position with a
// neighbour without a bed cell, and a column along j unless F 451 is 2.
TEST_F(ColumnSmoothing, UntouchedPositions) {
  columns(2, 4, 2, 2);
  setStack(bed(2, 2), {{0.8, 0.5, {0.5, 0.5}}});
  setStack(bed(4, 2), {{1.2, 0.5, {0.5, 0.5}}});
  bedSmooth4();
  EXPECT_EQ(total(bed(3, 2)), 1.0);
  EXPECT_EQ(total(bed(2, 2)), 0.8);

  setStack(bed(3, 2), {{1.6, 0.5, {0.5, 0.5}}});
  pointbed[4][2] = 0;
  bedSmooth4();
  EXPECT_EQ(total(bed(3, 2)), 1.6);

  NoBlocks = NoCells = NoBCells = 0;
  columns(6, 6, 2, 4);
  setStack(bed(6, 3), {{1.6, 0.5, {0.5, 0.5}}});
  bedSmooth4();
  EXPECT_EQ(total(bed(6, 3)), 1.6);
  FlagBedSmooth4 = 2;
  const double v1 = sizeVolume(1);
  bedSmooth4();
  EXPECT_NEAR(total(bed(6, 3)), 1.3, 1e-12);
  EXPECT_NEAR(total(bed(6, 2)), 1.15, 1e-12);
  EXPECT_NEAR(sizeVolume(1), v1, 1e-12);
}

// smoothBedchange on a block of 3 x 3 columns over a non-erodible level at
// -1 m: the middle column's sediment surface stands at +0.2 m, above its
// bed points (0) plus 2T = 0.1 m, and it deposits 0.01 m. The neighbours'
// sediment below their top layer reaches -0.5 m, the west one's -0.7 m.
class DepositRelocation : public ColumnSmoothing {
 protected:
  void SetUp() override {
    ColumnSmoothing::SetUp();
    prepare();
  }

  // The tables are allocated once per process: every case starts here.
  void prepare() {
    NoBlocks = NoCells = NoBCells = 0;
    FlagSmoothBedchange = 1;
    columns(2, 4, 2, 4);
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = -1.0;
    for (int b = 1; b <= NoBCells; ++b) setStack(b, {{0.5, 0.5, {0.5, 0.5}}, {0.3, 0.5, {0.5, 0.5}}});
    setStack(bed(2, 3), {{0.3, 0.5, {0.5, 0.5}}, {0.3, 0.5, {0.5, 0.5}}});
    b_ = bed(3, 3);
    setStack(b_, {{1.2, 0.5, {0.5, 0.5}}});
    Bedmove[b_] = 0.01;
    Bbedchange[1][b_] = 0.004;
    Bbedchange[2][b_] = 0.006;
  }
  int b_ = 0;
};

TEST_F(DepositRelocation, MovesTheDepositToTheLowestNeighbour) {
  Barea[bed(2, 3)] = 2.0;  // the same volume on twice the area
  smoothBedchange();
  const int west = bed(2, 3);
  EXPECT_NEAR(Bedmove[west], 0.005, 1e-15);
  EXPECT_NEAR(Bbedchange[1][west], 0.002, 1e-15);
  EXPECT_NEAR(Bbedchange[2][west], 0.003, 1e-15);
  EXPECT_EQ(Bedmove[b_], 0.0);
  EXPECT_EQ(Bbedchange[1][b_], 0.0);
  EXPECT_EQ(Bbedchange[2][b_], 0.0);
  for (const int b : {bed(4, 3), bed(3, 2), bed(3, 4)}) EXPECT_EQ(Bedmove[b], 0.0);
}

TEST_F(DepositRelocation, NothingMovesForErosionLowSurfacesOrNoNeighbour) {
  struct Case {
    const char *name;
    void (*prepare)(int b);
  };
  const Case cases[] = {
      {"Eroding", [](int b) { Bedmove[b] = -0.01; }},
      {"WithinTwoReferenceThicknesses", [](int b) { setStack(b, {{1.08, 0.5, {0.5, 0.5}}}); }},
      {"NoNeighbourBedCell",
       [](int) {
         for (const auto &[i, j] : {std::pair{2, 3}, {4, 3}, {3, 2}, {3, 4}}) pointbed[i][j] = 0;
       }},
  };
  for (const Case &k : cases) {
    prepare();
    k.prepare(b_);
    const double prepared = Bedmove[b_];
    smoothBedchange();
    EXPECT_EQ(Bedmove[b_], prepared) << k.name;
    EXPECT_EQ(Bbedchange[1][b_], 0.004) << k.name;
  }
}

// The lowest neighbour only 0.05 m below: F 414 1 keeps the deposit, F 414
// 2 moves it, to the first of equal neighbours (west).
TEST_F(DepositRelocation, SmallSurplusMovesOnlyWithTwo) {
  for (int b = 1; b <= NoBCells; ++b) {
    if (b != b_) setStack(b, {{0.95, 0.5, {0.5, 0.5}}, {0.3, 0.5, {0.5, 0.5}}});
  }
  smoothBedchange();
  EXPECT_EQ(Bedmove[b_], 0.01);
  FlagSmoothBedchange = 2;
  smoothBedchange();
  EXPECT_EQ(Bedmove[b_], 0.0);
  EXPECT_NEAR(Bedmove[bed(2, 3)], 0.01, 1e-15);
}

}  // namespace
