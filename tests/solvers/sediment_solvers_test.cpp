// The solvers of one grain size: thread independence of the column blocks,
// every execution against the serial solution, the bed-plane solver that
// leaves the cells above the bottom alone, and the implicit pick-up from the
// bed against its hand value.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"
#include "solvers/sediment_solvers.h"

namespace {

constexpr int kCells = 100;

void useThreads(int threads) {
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
}

class SedimentSolvers : public HandCellsTest {
 protected:
  // Ten columns of ten cells side by side along x, per-size rows for two
  // sizes, and an equation of size 1 with its own vertical rows.
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTSC = 3;  // the per-size rows
    BedLoadVectorFlag = 5;
    sou[7] = 1;  // and the second neighbours
    allocateCells(kCells);
    for (int c = 1; c <= 91; c += 10) stackColumn(c, 10);
    for (int c = 1; c <= 90; ++c) linkEast(c, c + 10);
    for (int c = 1; c <= kCells; ++c) {
      Cae[c] = Ccelle[c] ? 1.0 + 0.1 * std::sin(c) : 0.0;
      Caw[c] = Ccellw[c] ? 1.2 : 0.0;
      Can[c] = Cas[c] = 0.0;
      Catm[1][c] = Ccellt[c] ? 0.5 + 0.05 * (c % 3) : 0.0;
      Cabm[1][c] = Ccellb[c] ? 2.0 : 0.0;
      Caem[1][c] = Cae[c];
      Cawm[1][c] = Caw[c];
      Canm[1][c] = Casm[1][c] = 0.0;
      Capm[1][c] = 1.05 * (Cae[c] + Caw[c] + Catm[1][c] + Cabm[1][c]) + 0.01;
      Csourcem[1][c] = std::sin(0.37 * c) + 1.5;
    }
    Equation = 7;
    sou[7] = 0;
    Cf = Cconc[1];
  }

  static void startField() {
    for (int c = 0; c <= kCells; ++c) Cf[c] = Cfn[c] = 0.0;
  }

  // The serial solution: solver2 called until it no longer moves.
  static std::vector<double> serialSolution() {
    useThreads(0);
    FlagRapSolver = 21;
    startField();
    for (int n = 0; n < 200; ++n) solver2(1);
    return std::vector<double>(Cf + 1, Cf + kCells + 1);
  }
};

// The column blocks give one field on every thread count, bit for bit, and
// every execution converges to the serial solution.
TEST_F(SedimentSolvers, ThreadTable) {
  const std::vector<double> exact = serialSolution();
  struct Case {
    int rap, threads, openmp8;
  };
  const Case cases[] = {{0, 1, 0}, {0, 2, 0}, {0, 8, 0}, {21, 1, 0}, {21, 8, 0}, {31, 1, 0},
                        {31, 2, 0}, {31, 4, 0}, {31, 8, 0}, {31, 8, 2}, {33, 4, 0}};
  std::vector<double> blocksOnce;
  for (const Case &k : cases) {
    SCOPED_TRACE(testing::Message() << "F 164 " << k.rap << ", " << k.threads << " threads, G 50[8] " << k.openmp8);
    useThreads(k.threads);
    FlagOpenMP[8] = k.openmp8;
    FlagRapSolver = k.rap;
    if (k.rap == 31) {
      startField();
      solver2(1);
      std::vector<double> once(Cf + 1, Cf + kCells + 1);
      if (blocksOnce.empty()) blocksOnce = once;
      EXPECT_EQ(once, blocksOnce);
    }
    startField();
    for (int n = 0; n < 200; ++n) solver2(1);
    for (int c = 1; c <= kCells; ++c) EXPECT_NEAR(Cf[c], exact[c - 1], 1e-10 * std::fabs(exact[c - 1])) << c;
  }
  FlagOpenMP[8] = 0;
}

// solver2m reads the size's own side rows: with them equal to the shared
// ones it gives solver2's field, and with scheme 1 it changes nothing.
TEST_F(SedimentSolvers, FullRowsOfTheBedLoadVector) {
  const std::vector<double> exact = serialSolution();
  for (int rap : {0, 21, 31}) {
    SCOPED_TRACE(rap);
    useThreads(rap == 0 ? 2 : 4);
    FlagRapSolver = rap;
    startField();
    for (int n = 0; n < 200; ++n) solver2m(1);
    for (int c = 1; c <= kCells; ++c) EXPECT_NEAR(Cf[c], exact[c - 1], 1e-10 * std::fabs(exact[c - 1])) << c;
  }
  sou[7] = 1;
  startField();
  solver2m(1);
  for (int c = 1; c <= kCells; ++c) EXPECT_EQ(Cf[c], 0.0);
}

// The bed plane: only cells without a cell below change, to the solution of
// the plane equation (horizontal exchange, size rows of the centre and
// source), whichever execution.
TEST_F(SedimentSolvers, BedPlaneLeavesTheColumnsAbove) {
  for (int c = 1; c <= kCells; ++c) Capm[1][c] = 1.05 * (Cae[c] + Caw[c]) + 0.5;
  struct Case {
    int rap, threads;
  };
  for (const Case &k : {Case{0, 0}, Case{0, 8}, Case{0, 24}, Case{31, 4}}) {
    SCOPED_TRACE(testing::Message() << "F 164 " << k.rap << ", F 206 " << k.threads);
    useThreads(k.threads);
    FlagRapSolver = k.rap;
    for (int c = 0; c <= kCells; ++c) Cf[c] = Cfn[c] = 7.0;
    for (int n = 0; n < 100; ++n) solver2bed(1);
    for (int c = 1; c <= kCells; ++c) {
      if (Ccellb[c] != 0) {
        EXPECT_EQ(Cf[c], 7.0) << c;
        continue;
      }
      const double rhs = Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] + Csourcem[1][c];
      EXPECT_NEAR(Capm[1][c] * Cf[c], rhs, 1e-10) << c;
    }
  }
}

// F 253 1: p = 0.6 of layer 1, Bconc 0.002, w = 0.02 m/s, A = 4 m2 give the
// pick-up E = 0.096 kg/s; the bound L = 0.001·0.02·1000·4 + 4·0.6·0.05·1000·
// 0.5/10 = 6.08 does not limit it. With h = 0 and clear water it is 0.
TEST_F(SedimentSolvers, ImplicitExchangeWithTheBed) {
  FlagImplicitSedim = 1;
  useThreads(8);
  WCStart = WCEnd = 1;  // the bottom cell of the first column alone
  Cbed[1] = 1;
  Barea[1] = 4.0;
  fallvelo[1] = 0.02;
  TimeStep = 10.0;
  SolidFrac = 0.5;
  struct Case {
    double h, field, expected;
  };
  for (const Case &k : {Case{0.05, 0.001, 0.096}, Case{0.0, 0.0, 0.0}}) {
    BSedDistrib[1][1][1] = 0.6;
    BSedDistrib[1][0][1] = k.h;
    Bconc[1][1] = 0.002;
    Cae[1] = Caw[1] = Catm[1][1] = Cabm[1][1] = 0.0;
    Capm[1][1] = 1e30;  // the value stays where it is
    Csourcem[1][1] = 1e30 * k.field;
    Cf[1] = k.field;
    solver2(1);
    EXPECT_NEAR(Bsource[1][1], k.expected, 1e-12);
  }
  FlagImplicitSedim = 0;
}

}  // namespace
