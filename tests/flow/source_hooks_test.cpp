// The source hooks of the flow stages on hand-built columns: gravity on the
// momentum sources, the bed-form and roughness-layer drag on the centre
// coefficients, the Froude-number pressure and the seiche flux rebuilds.
#include <gtest/gtest.h>

#include "flow/stage_routines.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"

namespace {

class SourceHooks : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    allocateCells(4);
    stackColumn(1, 3);
  }

  // Cells 1..3 one column (bottom to top) of 1, 2 and 3 m3, cell 4 a column
  // of its own of 4 m3, every source 0.
  static void columnAndSingleCell() {
    const double volumes[] = {0.0, 1.0, 2.0, 3.0, 4.0};
    for (int c = 1; c <= 4; ++c) {
      Cvol[c] = volumes[c];
      Csource[c] = 0.0;
    }
  }
};

// The weight of the water on W by F 181, bottom, middle and top of the
// three-cell column and the single cell.
TEST_F(SourceHooks, GravityWeightOnW) {
  struct Case {
    int flag;
    double expected[5];
  };
  const Case cases[] = {
      {1, {0.0, -4905.0 * 3, -9810.0 * 2, -4905.0 * 5, -9810.0 * 4}},
      {2, {0.0, -9810.0 * 1, -9810.0 * 2, -9810.0 * 3, -9810.0 * 4}},
      {3, {0.0, -4905.0 * 3, -2452.5 * 8, -4905.0 * 5, -9810.0 * 4}},
      {4, {0.0, 0.0, 0.0, 0.0, 0.0}},
  };
  for (const Case &k : cases) {
    columnAndSingleCell();
    FlagGravity = k.flag;
    Equation = 3;
    GravityFunction(3, 1, 4);
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], k.expected[c]) << "F 181 " << k.flag << ", cell " << c;
  }
}

// F 181 4 drives U along a fixed slope (F 505); V and W get nothing from it,
// nor from the weight of F 181 1.
TEST_F(SourceHooks, GravityAlongTheSlopeOnUOnly) {
  for (int eq : {1, 2, 3}) {
    columnAndSingleCell();
    FlagGravity = 4;
    GravitySlope = 0.015;
    Equation = eq;
    GravityFunction(eq, 1, 4);
    for (int c = 1; c <= 4; ++c) {
      EXPECT_EQ(Csource[c], eq == 1 ? 9810.0 * 0.015 * Cvol[c] : 0.0) << "equation " << eq << ", cell " << c;
    }
  }
  columnAndSingleCell();
  FlagGravity = 1;
  Equation = 1;
  GravityFunction(1, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

// F 135: the normal of the top face tilts the column; every cell gets its
// volume times 9810 times the normal's component, and W nothing from it.
TEST_F(SourceHooks, GravitySurfaceSlope) {
  columnAndSingleCell();
  setFace(1, {3, 0, 6, 0, 1.0, 0.5, 0.0, 0.0});
  setFace(2, {4, 0, 6, 0, 1.0, 0.5, 0.0, 0.0});
  Cflatet[3] = 1;
  Cflatet[4] = 2;
  Fvx[1] = 0.001;
  Fvy[1] = -0.002;
  Fvx[2] = 0.0;
  Fvy[2] = 0.003;
  FlagGravityTerm = 1;
  FlagGravity = 0;
  GravityFunction(1, 1, 4);
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Csource[c], 9.81 * Cvol[c]);
  EXPECT_EQ(Csource[4], 0.0);
  columnAndSingleCell();
  GravityFunction(2, 1, 4);
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Csource[c], -19.62 * Cvol[c]);
  EXPECT_DOUBLE_EQ(Csource[4], 29.43 * 4.0);
  columnAndSingleCell();
  GravityFunction(3, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

// A slide-layer mode that is not computing leaves the sources alone.
TEST_F(SourceHooks, GravityWaitsForTheSlideLayer) {
  columnAndSingleCell();
  FlagGravity = 1;
  FlagThixo = 1;
  FlagThixoIsComputing = 0;
  GravityFunction(3, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

}  // namespace
