// The two-dimensional level solver on the channel's 10 x 4 columns: a ramp
// of level differences that each code must reproduce, the Froude and
// grid-split floors, the sweep counts of F 239, and the equation check of
// F 369 1.
#include <gtest/gtest.h>

#include <string>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/level_equations/level_solver.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "support/run_case.h"

namespace {

class LevelSolver : public SurfaceFixture {
 protected:
  // Every column tied to its downstream (east) neighbour with weight 1 and a
  // target difference of 0.01 m; the last column (i = 11) fixed at 0. The
  // answer is the ramp 0.01 (11 - i): 0.09 m at i = 2.
  static void rampEquations() {
    for (int c = 0; c <= NoCells; ++c) {
      Cap[c] = Cae[c] = Caw[c] = Can[c] = Cas[c] = Csource[c] = Cf[c] = 0.0;
      if (Caee) Caee[c] = Caww[c] = Cass[c] = Cann[c] = 0.0;
    }
    forEachColumn([](int c, int i, int) {
      if (i == 11) {
        Cap[c] = 1e20;
        Csource[c] = 0.0;
      } else {
        Cap[c] = 1.0;
        Cae[c] = 1.0;
        Csource[c] = 0.01;
      }
    });
  }
  template <typename Visit>
  static void forEachColumn(Visit &&visit) {
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) visit(static_cast<int>(zval[i][j][0]), i, j);
    }
  }
  static void expectRamp(double floor, double tolerance, const std::string &what) {
    forEachColumn([&](int c, int i, int j) {
      EXPECT_NEAR(Cf[c], std::max(floor, 0.0) + 0.01 * (11 - i), tolerance) << what << " column " << i << " " << j;
    });
  }
};

}  // namespace

TEST_F(LevelSolver, EveryCodeSolvesTheRamp) {
  FlagTFS = 8;      // the nine-point coefficients exist
  solverFroude = 1;  // and the Froude floors
  channel();
  for (int b = 1; b <= NoBCells; ++b) BLevFroude[b] = -10.0;  // a floor below every value
  for (int code : {kSurfaceSolverFivePoint, kSurfaceSolverNinePoint, kSurfaceSolverFivePointFloor,
                   kSurfaceSolverNinePointFloor, kSurfaceSolverThreePasses}) {
    rampEquations();
    surfaceSolver(code);
    expectRamp(0.0, 1e-9, "code " + std::to_string(code));
  }
}

// A floor of 0.05 m raises even the fixed column, and the ramp stands on it.
TEST_F(LevelSolver, FroudeFloorRaisesEveryValue) {
  FlagTFS = 8;
  solverFroude = 1;
  channel();
  for (int code : {kSurfaceSolverFivePointFloor, kSurfaceSolverNinePointFloor}) {
    for (int b = 1; b <= NoBCells; ++b) BLevFroude[b] = 0.05;
    rampEquations();
    surfaceSolver(code);
    expectRamp(0.05, 1e-9, "code " + std::to_string(code));
  }
}

TEST_F(LevelSolver, SweepCountsAndUnknownCodes) {
  FlagTFS = 8;
  channel();
  // No nine-point iteration: even the fixed column keeps its start value.
  iterSurfSolv1 = 0;
  rampEquations();
  forEachColumn([](int c, int, int) { Cf[c] = 0.5; });
  surfaceSolver(kSurfaceSolverNinePoint);
  forEachColumn([](int c, int, int) { EXPECT_EQ(Cf[c], 0.5); });
  // A code of no form sweeps nothing.
  surfaceSolver(5);
  forEachColumn([](int c, int, int) { EXPECT_EQ(Cf[c], 0.5); });
  // One double sweep of code 4: the backward pass runs from the last cell,
  // downstream first, so it solves the ramp at once.
  iterSurfSolv2 = 1;
  surfaceSolver(kSurfaceSolverFivePoint);
  expectRamp(0.0, 1e-12, "one double sweep");
  // Cells that are not bottom cells are left alone.
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] != 0) { EXPECT_EQ(Cf[c], 0.0) << c; }
  }
}

// F 371: block 1's columns may not fall below the grid-split floor.
TEST_F(LevelSolver, GridSplitFloorActsAfterEveryCode) {
  FlagNoGridSplit = 1;
  channel();
  ASSERT_NE(Bminlevdh, nullptr);
  for (int b = 1; b <= NoBCells; ++b) Bminlevdh[b] = 0.045;
  rampEquations();
  surfaceSolver(kSurfaceSolverFivePoint);
  forEachColumn([](int c, int i, int) { EXPECT_NEAR(Cf[c], std::max(0.045, 0.01 * (11 - i)), 1e-9) << i; });
  rampEquations();
  surfaceSolver(7);  // no sweep, the floor all the same
  forEachColumn([](int c, int, int) { EXPECT_EQ(Cf[c], 0.045); });
}

// The level-set form solves for Bdeltah with the level-set source.
TEST_F(LevelSolver, LevelSetFormSolvesTheColumnChange) {
  FlagTFS = 50;
  channel();
  ASSERT_NE(BsourceLS, nullptr);
  rampEquations();
  forEachColumn([](int c, int, int) {
    BsourceLS[Cbed[c]] = Csource[c];
    Bdeltah[Cbed[c]] = 0.0;
  });
  surfaceSolver(kSurfaceSolverLevelSet);
  forEachColumn([](int c, int i, int) { EXPECT_NEAR(Bdeltah[Cbed[c]], 0.01 * (11 - i), 1e-9) << i; });
}

TEST_F(LevelSolver, BugtrapReportsStrangeColumns) {
  FlagTFS = 4;
  channel();
  rampEquations();
  const int c = static_cast<int>(zval[5][3][0]);
  Cf[c] = 2000.0;
  const std::size_t before = boogie().size();
  surfaceBugtrap(5);
  const std::string added = boogie().substr(before);
  char expected[400];
  std::snprintf(expected, sizeof expected,
                "Warning, strange values in surface algorithm, F 36 4, cell %d\n"
                "Called from location 5\n"
                "Cap, Cae, Caw, Cas, Can, Cf, Csource = 1.000000 1.000000 0.000000 0.000000 0.000000 2000.000000 "
                "0.010000\n"
                "Froude no.: 0.000000\n",
                c);
  EXPECT_EQ(added.substr(0, std::string(expected).size()), expected) << added;
  // The means over the 36 columns below 1e10: Cap 1, source 0.01, Cf 2000 / 36.
  EXPECT_TRUE(endsWith(added, "Surface sums: Cap = 1.000000, Csource = 0.010000, Cf = 55.555556\n")) << added;
}

TEST_F(LevelSolver, BugtrapBlockListWithLetterD) {
  FlagTFS = 2;
  channel();
  rampEquations();
  debugging = 'D';
  const std::size_t before = boogie().size();
  surfaceBugtrap(9);
  const std::string added = boogie().substr(before);
  EXPECT_EQ(added.rfind("Special data for F 369 1: \nBlock 1, cellstart 1, cellend 360\nBlock 2, cellstart 0, ", 0),
            0u)
      << added;
  EXPECT_TRUE(endsWith(added, "Block 12, cellstart 0, cellend 0\n\n")) << added;
}
