// The bed cohesion by hand on a block of 2 x 2 columns: the start values of
// F 385 and the file "cohesion", the depth table of F 330 and the per-step
// rules 3 to 7, which leave dry columns and other blocks alone.
#include "bed/layers/bed_cohesion.h"

#include <gtest/gtest.h>

#include <string>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class BedCohesion : public BedLayerFixture {
 protected:
  // Columns 2..3 x 2..3 of block 1, bed cells 1..4 with bottom cells 11..14
  // that have neighbours on all sides, three bed layers; column (4, 2) in a
  // block 2. Bed at 0, water at 1 m, the original bed at 0.
  static void blocks(int flagCohesion) {
    FlagCohesion = flagCohesion;
    allocateBed(1, 3, true, 6, 6);
    NoBlocks = 0;
    addBlock(2, 3, 2, 3);
    addBlock(4, 4, 2, 2);
    int b = 0;
    for (int i = 2; i <= 4; ++i) {
      for (int j = 2; j <= 3; ++j) {
        if (i == 4 && j == 3) continue;
        pointbed[i][j] = ++b;
        Bcellt[b] = 10 + b;
        zval[i][j][0] = 10 + b;
        BlayerTop[b] = 2;
        const int c = Bcellt[b];
        Ccelle[c] = Ccelln[c] = Ccellw[c] = Ccells[c] = 1;
      }
    }
    NoBCells = b;
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= 6; ++j) {
        zval[i][j][1] = 0.0;
        zval[i][j][znumber] = 1.0;
        Surfaces[0][i][j] = 0.0;
      }
    }
  }

  // Moves the four corners of column (i, j) to bed level z.
  static void columnBed(int i, int j, double z) {
    zval[i][j][1] = zval[i - 1][j][1] = zval[i - 1][j - 1][1] = zval[i][j - 1][1] = z;
  }
};

TEST_F(BedCohesion, StartValues) {
  blocks(1);
  InitValueCohesion = 3.0;
  EXPECT_EQ(setInitialCohesive(), 1);
  for (int b = 1; b <= NoBCells; ++b) {
    for (int layer = 0; layer < 3; ++layer) EXPECT_EQ(Bcohesion[layer][b], 3.0) << b << " " << layer;
  }
  FlagCohesion = 0;
  Bcohesion[0][1] = 9.0;
  EXPECT_EQ(setInitialCohesive(), 0);
  EXPECT_EQ(Bcohesion[0][1], 9.0);

  // F 385 4: no cohesion where the water is deeper than F 94's first value.
  FlagCohesion = 4;
  MinVertDist0 = 0.5;
  columnBed(3, 3, 0.8);
  EXPECT_EQ(setInitialCohesive(), 4);
  EXPECT_EQ(Bcohesion[1][1], 0.0);   // (2, 2): 0.8 m of water
  EXPECT_EQ(Bcohesion[1][4], 3.0);   // (3, 3): 0.2 m
}

// F 385 2: the records give layer 1, layer 0, then layers 2 and up; columns
// without a record, records outside the grid and an unfinished last record
// change nothing.
TEST_F(BedCohesion, CohesionFile) {
  blocks(2);
  InitValueCohesion = 1.0;
  EXPECT_EQ(setInitialCohesive(), -20);  // no file
  writeFile("cohesion", "x 2 5 6 7\n");
  EXPECT_EQ(setInitialCohesive(), -20);  // nothing parses
  writeFile("cohesion", "2 2 5 6 7\n3 3\t50 60 70\n99 1 8 8 8\n0 0 8 8 8\n3 2 4");
  EXPECT_EQ(setInitialCohesive(), 2);
  const double expected[5][3] = {{}, {6, 5, 7}, {1, 1, 1}, {1, 1, 1}, {60, 50, 70}};
  for (int b = 1; b <= 4; ++b) {
    for (int layer = 0; layer < 3; ++layer) EXPECT_EQ(Bcohesion[layer][b], expected[b][layer]) << b << " " << layer;
  }
}

using BedCohesionDeathTest = BedCohesion;
TEST_F(BedCohesionDeathTest, NonFiniteValueRefusesTheFile) {
  blocks(2);
  writeFile("cohesion", "2 2 5 inf 7\n");
  EXPECT_EXIT(setInitialCohesive(), ::testing::ExitedWithCode(251), "");
  EXPECT_NE(boogie().find("cohesion"), std::string::npos) << boogie();
}

TEST_F(BedCohesion, DepthTable) {
  struct Case {
    std::vector<std::pair<double, double>> table;
    double e, value;
  };
  const Case cases[] = {
      {{{0.5, 7.0}}, 0.0, 7.0},
      {{{0.5, 7.0}}, 2.0, 7.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 0.05, 10.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 0.2, 15.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 0.3, 20.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 0.6, 35.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 0.7, 40.0},
      {{{0.1, 10.0}, {0.3, 20.0}, {0.7, 40.0}}, 3.0, 40.0},
  };
  for (const Case &c : cases) {
    NoCohesiveDepth = static_cast<int>(c.table.size());
    for (int k = 0; k < NoCohesiveDepth; ++k) {
      cohesiveDepth[k] = c.table[static_cast<std::size_t>(k)].first;
      cohesiveArr[k] = c.table[static_cast<std::size_t>(k)].second;
    }
    EXPECT_NEAR(cohesionAtDepth(c.e), c.value, 1e-12) << NoCohesiveDepth << " entries, e = " << c.e;
  }
  // Through computeCohesion: the top layer of each wet column of block 1
  // takes the value at its erosion depth; a dry column and block 2 keep theirs.
  blocks(0);
  NoCohesiveDepth = 2;
  cohesiveDepth[0] = 0.0;
  cohesiveArr[0] = 10.0;
  cohesiveDepth[1] = 1.0;
  cohesiveArr[1] = 20.0;
  for (int b = 1; b <= 5; ++b) Bcohesion[2][b] = -1.0;
  columnBed(3, 3, -0.5);
  zval[2][3][0] = 0.0;  // column (2, 3), bed cell 2, dry
  columnBed(4, 2, -0.5);
  computeCohesion();
  EXPECT_NEAR(Bcohesion[2][4], 15.0, 1e-12);
  EXPECT_EQ(Bcohesion[2][2], -1.0);
  EXPECT_EQ(Bcohesion[2][5], -1.0);
  EXPECT_NEAR(Bcohesion[2][1], 10.0 + 10.0 * 0.125, 1e-12);  // one corner of four at -0.5
}

// Rules 3 to 7 on column (3, 3) (bed cell 4); MinVertDist0 0.2 and
// MinVertDist1 0.1, the undisturbed cohesion 8, the reference level 0.
TEST_F(BedCohesion, RulesByHand) {
  struct Case {
    const char *name;
    int rule;
    double bed, level, value, levelAfter;
  };
  const Case cases[] = {
      {"3 deep water", 3, 0.0, 0.0, 0.0, 0.0},
      {"3 shallow", 3, 0.85, 0.0, 5.0, 0.0},
      {"4 eroded", 4, -0.5, 0.0, 0.0, 0.0},
      {"4 barely eroded", 4, -0.3, 0.0, 5.0, 0.0},
      {"5 eroding lowers the level", 5, -0.3, 0.0, 8.0, -0.3},
      {"5 half a deposit", 5, 0.1, 0.0, 4.0, 0.0},
      {"5 deep deposit", 5, 0.25, 0.0, 0.0, 0.0},
      {"6 deposit", 6, 0.01, 0.0, 0.0, 0.0},
      {"6 erosion", 6, -0.2, 0.0, 8.0, -0.2},
      {"7 deposit", 7, 0.05, 0.0, 0.0, 0.0},
      {"7 erosion", 7, -0.2, 0.0, 8.0, -0.2},
  };
  blocks(5);
  for (const Case &c : cases) {
    FlagCohesion = c.rule;
    InitValueCohesion = 8.0;
    MinVertDist0 = 0.2;
    MinVertDist1 = 0.1;
    for (int b = 1; b <= 4; ++b) {
      Bcohesion[2][b] = 5.0;
      BcohesionLevel[b] = c.level;
    }
    columnBed(3, 3, c.bed);
    computeCohesion();
    EXPECT_NEAR(Bcohesion[2][4], c.value, 1e-12) << c.name;
    EXPECT_NEAR(BcohesionLevel[4], c.levelAfter, 1e-12) << c.name;
  }
}

}  // namespace
