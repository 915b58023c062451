// The groundwater model in process on the grid of cases/groundwater: block 1
// a river (rows 2 and 3), a wet row 4 and a dry bank (rows 5 and 6), 1 m
// squares; its soil layer (block 2) 7 rows further, from the non-erodible
// level -10 m up to the bed. Reading "wlinit", the set-up, the coefficients,
// the steps and the surface update every 100 steps.
#include "quality/groundwater/groundwater_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

constexpr int kJOff = 7;  // rows between a layer column and the river column above it

int surfaceUpdates = 0;
int markAtUpdate = -1;

class GroundwaterModel : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    saved_ = operations;
    FlagGroundwater = 1;
    Conductivity = 1e-3;
    TimeStep = 600.0;
    TransInnerIter = 1;
    allocate(12, 16, 6);
    writeFile("koosurf", caseFile("groundwater", "koosurf"));
    readKoosurf();
    ASSERT_EQ(Unstructure(), 1);
    metric();
    BedMake();
    ASSERT_EQ(NoBlocks, 2);
    ASSERT_EQ(block[2].LayerMark, 1);
    forgetGroundwaterSetup();
    stimet = 0.0;
    surfaceUpdates = 0;
    markAtUpdate = -1;
    operations.surface2 = [] {
      ++surfaceUpdates;
      markAtUpdate = block[2].LayerMark;
    };
  }
  void TearDown() override {
    operations = saved_;
    GridFixture::TearDown();
  }

  // The bank's start levels of cases/groundwater: 1.8 under rows 5 and 6.
  static void bankAt18() {
    std::string text;
    for (int i = 2; i <= 9; ++i) {
      for (int j = 12; j <= 13; ++j) text += std::to_string(i) + " " + std::to_string(j) + " 1.8\n";
    }
    writeFile("wlinit", text);
  }

  static double &level(int i, int j) { return Bgroundwater[pointbed[i][j]]; }
  static int bottom(int i, int j) { return Bcellt[pointbed[i][j]]; }

 private:
  EngineOperations saved_{};
};

// Records outside the grid, without a bed cell or with a level that is not a
// number are skipped and not counted; a record with letters ends the file.
TEST_F(GroundwaterModel, WlinitRecords) {
  for (int b = 0; b <= NoBCells; ++b) Bgroundwater[b] = -7.0;
  ASSERT_EQ(pointbed[1][12], 0);
  writeFile("wlinit",
            "0 12 1.5\n"
            "3 16 1.5\n"
            "1 12 1.5\n"
            "3 12 nan\n"
            "3 13 inf\n"
            "99999999999 12 1.5\n"
            "4 12 1.25\n"
            "5 13 1.5\n"
            "a b c\n"
            "6 13 1.7\n");
  EXPECT_EQ(readGroundwaterLevels(), 2);
  EXPECT_EQ(level(4, 12), 1.25);
  EXPECT_EQ(level(5, 13), 1.5);
  int untouched = 0;
  for (int b = 1; b <= NoBCells; ++b) untouched += Bgroundwater[b] == -7.0;
  EXPECT_EQ(untouched, NoBCells - 2);

  writeFile("wlinit", "");
  EXPECT_EQ(readGroundwaterLevels(), 0);
  std::remove("wlinit");
  EXPECT_EQ(readGroundwaterLevels(), -1);
}

// Without "wlinit" and with the layer as block 2 the layer starts at the
// water above it; the river's own columns at 1.1. The layer level is the bed
// above: 0 under the river, 1 under row 4 (corners 0 and 2), 2 under the bank.
TEST_F(GroundwaterModel, StartsAtTheWaterAboveWithoutWlinit) {
  iterGlobalMax = 0;
  groundwater();
  EXPECT_STREQ(mc_message, "have not used 'wlinit' file ");
  for (int i = 2; i <= 9; ++i) {
    for (int j = 9; j <= 13; ++j) EXPECT_NEAR(level(i, j), 1.0, 1e-12) << i << " " << j;
    EXPECT_EQ(level(i, 2), 1.1) << i;
    EXPECT_EQ(level(i, 3), 1.1) << i;
    EXPECT_NEAR(Bthixolev[pointbed[i][9]], 0.0, 1e-12);
    EXPECT_NEAR(Bthixolev[pointbed[i][11]], 1.0, 1e-12);
    EXPECT_NEAR(Bthixolev[pointbed[i][12]], 2.0, 1e-12);
  }
  EXPECT_STREQ(mc_program, "End groundwater");
}

// An empty "wlinit" is logged with 0 points and leaves the levels as they
// were (zero) where no water fixes them.
TEST_F(GroundwaterModel, EmptyWlinitLeavesTheLevels) {
  writeFile("wlinit", "");
  iterGlobalMax = 0;
  groundwater();
  EXPECT_TRUE(endsWith(boogie(), "Have read 0 water level points from wlinit file\n")) << boogie();
  for (int i = 2; i <= 9; ++i) {
    EXPECT_EQ(level(i, 12), 0.0) << i;
    EXPECT_EQ(level(i, 13), 0.0) << i;
  }
}

// K = 1e-4 between 1 m columns of the layer, K·0.5·area/0.5 m: the layer
// reaches from the non-erodible level 0 up to the bed, so its side faces are
// 2 m high under the bank (bed 2) and 1 mm, its least thickness, under the
// river (bed 0). The block's edges are closed. Under a wet column the level
// is fixed at its surface, under a dry one cut to the top of the soil.
TEST_F(GroundwaterModel, CoefficientsByHand) {
  Conductivity = 1e-4;
  bankAt18();
  iterGlobalMax = 0;
  groundwater();
  const int river = bottom(5, 10);
  EXPECT_EQ(Cap[river], 1e30);
  EXPECT_NEAR(Csource[river], 1e30, 1e16);
  EXPECT_NEAR(Cgroundwater[river], 1.0, 1e-12);
  EXPECT_NEAR(Cas[river], 1e-7, 1e-15);
  EXPECT_NEAR(Cae[river], 1e-7, 1e-15);

  struct Row {
    int i, j;
    double e, w, n, s;
  };
  const Row rows[] = {
      {5, 12, 2e-4, 2e-4, 2e-4, 2e-4},  // interior of the bank
      {2, 12, 2e-4, 0.0, 2e-4, 2e-4},   // west edge
      {9, 13, 0.0, 2e-4, 0.0, 2e-4},    // north-east corner
  };
  for (const Row &r : rows) {
    const int c = bottom(r.i, r.j);
    EXPECT_NEAR(Cae[c], r.e, 1e-12) << r.i << " " << r.j;
    EXPECT_NEAR(Caw[c], r.w, 1e-12) << r.i << " " << r.j;
    EXPECT_NEAR(Can[c], r.n, 1e-12) << r.i << " " << r.j;
    EXPECT_NEAR(Cas[c], r.s, 1e-12) << r.i << " " << r.j;
    EXPECT_NEAR(Cap[c], r.e + r.w + r.n + r.s + 1.0 / 600.0, 1e-12) << r.i << " " << r.j;
    EXPECT_NEAR(Csource[c], 1.8 / 600.0, 1e-12) << r.i << " " << r.j;
  }

  // A level above the soil's top (2 m) is cut at every build, above and below.
  level(5, 12) = 5.0;
  Bgroundwater[pointbed[5][12 - kJOff]] = 5.0;
  groundwater_coeff();
  EXPECT_NEAR(level(5, 12), 2.0, 1e-12);
  EXPECT_NEAR(Bgroundwater[pointbed[5][12 - kJOff]], 2.0, 1e-12);
  EXPECT_NEAR(Cgroundwater[bottom(5, 12)], 2.0, 1e-12);
}

// F 262 2 makes exactly 20 steps and leaves the time; F 262 1 makes
// iterGlobalMax steps and advances the time by each.
TEST_F(GroundwaterModel, StepCountsAndTime) {
  std::vector<double> twenty, nineteen;
  const auto run = [&](int flag, int steps, std::vector<double> &levels) {
    forgetGroundwaterSetup();
    for (int b = 0; b <= NoBCells; ++b) Bgroundwater[b] = 0.0;
    bankAt18();
    FlagGroundwater = flag;
    iterGlobalMax = steps;
    stimet = 5.0;
    groundwater();
    levels.clear();
    for (int i = 2; i <= 9; ++i) levels.push_back(level(i, 13));
  };
  std::vector<double> slide;
  run(2, 1, slide);
  EXPECT_EQ(stimet, 5.0);
  run(1, 20, twenty);
  EXPECT_DOUBLE_EQ(stimet, 5.0 + 20 * 600.0);
  EXPECT_EQ(slide, twenty);
  run(1, 19, nineteen);
  EXPECT_NE(nineteen, twenty);
}

// With the storage of a time step of 1e-20 s nothing flows.
TEST_F(GroundwaterModel, TinyTimeStepKeepsTheLevels) {
  TimeStep = 1e-20;
  bankAt18();
  iterGlobalMax = 5;
  groundwater();
  for (int i = 2; i <= 9; ++i) {
    EXPECT_NEAR(level(i, 12), 1.8, 1e-9) << i;
    EXPECT_NEAR(level(i, 13), 1.8, 1e-9) << i;
  }
}

// The bank at 1.8 falls step by step towards the level fixed under row 4
// (1.0) and never below it; under the river the level stays at the surface.
TEST_F(GroundwaterModel, BankDrainsMonotonically) {
  bankAt18();
  iterGlobalMax = 1;
  double previous = 1.8;
  for (int call = 0; call < 40; ++call) {
    groundwater();
    const double now = level(5, 13);
    EXPECT_LE(now, previous + 1e-15) << "call " << call;
    EXPECT_GE(now, 1.0 - 1e-12) << "call " << call;
    previous = now;
    EXPECT_NEAR(level(5, 10), 1.0, 1e-12);
    EXPECT_NEAR(Bgroundwater[pointbed[5][10 - kJOff]], 1.0, 1e-12);
  }
  EXPECT_LT(previous, 1.001);
  EXPECT_DOUBLE_EQ(stimet, 40 * 600.0);
}

// Every 100th step of letter G updates the surface; the layer keeps its mark
// through it (the regeneration rebuilds it in place) and the steps go on.
TEST_F(GroundwaterModel, SurfaceUpdateEveryHundredSteps) {
  bankAt18();
  iterGlobalMax = 150;
  groundwater();
  EXPECT_EQ(surfaceUpdates, 1);
  EXPECT_EQ(markAtUpdate, 1);
  EXPECT_EQ(block[2].LayerMark, 1);
  EXPECT_EQ(NoBlocks, 2);
  EXPECT_DOUBLE_EQ(stimet, 150 * 600.0);
}

// Without a layer block: -9 at the set-up, -8 at a later call, both with the
// two lines that say why.
TEST_F(GroundwaterModel, MissingLayerEndsTheRun) {
  const std::string lines =
      "Error in groundwater computation: groundwater grid not generated\n"
      "Data sets F ??? are missing in your control file\n\n";
  iterGlobalMax = 0;
  block[2].LayerMark = 0;
  EXPECT_EXIT(groundwater(), ::testing::ExitedWithCode(247), "");
  EXPECT_TRUE(endsWith(boogie(), lines)) << boogie();
  block[2].LayerMark = 1;
  groundwater();
  block[2].LayerMark = 0;
  writeFile("boogie", "");
  EXPECT_EXIT(groundwater(), ::testing::ExitedWithCode(248), "");
  EXPECT_EQ(boogie(), lines);
}

}  // namespace
