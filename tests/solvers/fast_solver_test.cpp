// The five-row solver of the fast driver against the point solver row by row,
// the dispatcher's routes to it and to the block-parallel family, and the
// mud-layer point solver.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/block_gauss_seidel.h"
#include "solvers/fast_solver.h"
#include "solvers/hand_cells.h"
#include "solvers/point_solver.h"

namespace {

class FastSolver : public HandCellsTest {
 protected:
  // Eight cells: two columns of four coupled east-west, with coefficients
  // that differ from cell to cell; row m of the fast solver gets its own
  // source and centre coefficient.
  static void twoColumns(bool secondOrder) {
    sou[1] = secondOrder ? 1 : 0;
    FlagFastWatersolve = 1;
    allocateCells(8);
    stackColumn(1, 4);
    stackColumn(5, 4);
    for (int c = 1; c <= 4; ++c) linkEast(c, c + 4);
    for (int c = 1; c <= 8; ++c) {
      Cae[c] = Ccelle[c] ? 1.0 + 0.1 * c : 0.0;
      Caw[c] = Ccellw[c] ? 0.8 : 0.0;
      Cat[c] = Ccellt[c] ? 1.2 : 0.0;
      Cab[c] = Ccellb[c] ? 0.9 + 0.05 * c : 0.0;
      if (secondOrder) {
        Catt[c] = Ccellt[Ccellt[c]] ? 0.3 : 0.0;
        Cabb[c] = Ccellb[Ccellb[c]] ? 0.2 : 0.0;
      }
    }
    Equation = 1;
  }

  static double centre(int m, int c) {
    return 1.5 * (Cae[c] + Caw[c] + Cat[c] + Cab[c] + (Catt ? Catt[c] + Cabb[c] : 0.0)) + 0.1 * m + 0.2;
  }

  static void fillRows() {
    for (int m = 0; m < 5; ++m) {
      for (int c = 1; c <= 8; ++c) {
        Csourcem[m][c] = std::sin(1.0 + m + 0.7 * c);
        CinvApf[m][c] = 1.0 / centre(m, c);
        Cff[m][c] = 0.01 * m * c;
      }
    }
  }

  // Row m solved by the point solver on its own equation.
  static std::vector<double> pointSolved(int m, int n) {
    for (int c = 1; c <= 8; ++c) {
      Cap[c] = centre(m, c);
      Csource[c] = std::sin(1.0 + m + 0.7 * c);
      Cf[c] = 0.01 * m * c;
    }
    Gauss(1, 8, n);
    return std::vector<double>(Cf + 1, Cf + 9);
  }
};

TEST_F(FastSolver, EachRowAsThePointSolver) {
  twoColumns(false);
  fillRows();
  GaussFast(1, 8, 3);
  for (int m = 0; m < 5; ++m) {
    const std::vector<double> rowAlone = pointSolved(m, 3);
    for (int c = 1; c <= 8; ++c) EXPECT_NEAR(Cff[m][c], rowAlone[c - 1], 1e-12 * std::fabs(rowAlone[c - 1])) << m;
  }
}

TEST_F(FastSolver, EachRowAsThePointSolverThirteenPoints) {
  twoColumns(true);
  fillRows();
  GaussFast(1, 8, 3);
  for (int m = 0; m < 5; ++m) {
    const std::vector<double> rowAlone = pointSolved(m, 3);
    for (int c = 1; c <= 8; ++c) EXPECT_NEAR(Cff[m][c], rowAlone[c - 1], 1e-12 * std::fabs(rowAlone[c - 1])) << m;
  }
}

TEST_F(FastSolver, NoSweepsChangeNothing) {
  twoColumns(false);
  fillRows();
  for (int n : {0, -1}) {
    GaussFast(1, 8, n);
    for (int m = 0; m < 5; ++m) {
      for (int c = 1; c <= 8; ++c) EXPECT_EQ(Cff[m][c], 0.01 * m * c);
    }
  }
}

// Without threads F 170 1 sends the solve to the five rows; F 164 above 20
// sends it to the block-parallel family, whose column blocks it cuts.
TEST_F(FastSolver, DispatcherRoutes) {
  twoColumns(false);
  fillRows();
  for (int c = 1; c <= 8; ++c) Cap[c] = 10.0;
  NoProcessesSolver = 0;
  sweeps[1] = 1;
  solver();
  EXPECT_NE(Cff[0][1], 0.0);
  FlagRapSolver = 31;
  NoProcessesSolver = 2;
  fixThreadCount(2);
  solver();
  EXPECT_EQ(OmpArray()[0], 0);
  EXPECT_EQ(OmpArray()[1], 4);
  EXPECT_EQ(OmpArray()[2], 8);
}

// The mud-layer solver: one forward pass relaxes the cells whose ratio is
// above 1 and sets the others to 0; with the 13-point scheme it relaxes the
// cells of layer level above 1 and leaves the others.
TEST_F(FastSolver, MudLayerSolver) {
  sou[2] = 1;
  FlagThixo = 1;
  allocateCells(3);
  stackColumn(1, 3);
  for (int c = 1; c <= 3; ++c) {
    Cap[c] = 2.0;
    Csource[c] = 4.0;
    Cf[c] = 7.0;
  }
  Cthixorat[1] = 2.0;
  Cthixorat[2] = 0.5;
  Cthixorat[3] = 1.5;
  Equation = 1;
  GaussThixo(1, 3, 1);
  EXPECT_DOUBLE_EQ(Cf[1], 2.0);
  EXPECT_EQ(Cf[2], 0.0);
  EXPECT_DOUBLE_EQ(Cf[3], 2.0);
  Equation = 2;
  for (int c = 1; c <= 3; ++c) Cf[c] = 7.0;
  Cthixolev[2] = 2;
  GaussThixo(1, 3, 1);
  EXPECT_EQ(Cf[1], 7.0);
  EXPECT_DOUBLE_EQ(Cf[2], 2.0);
  EXPECT_EQ(Cf[3], 7.0);
}

}  // namespace
