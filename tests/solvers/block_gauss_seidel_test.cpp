// The block-parallel Gauss-Seidel family: the column-block cuts, the dummy
// cell, thread independence of the Jacobi and column-block variants on the
// channel's pressure-correction equation, the serial forms against the point
// solver, and the exact profile of a diffusion column for every variant.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flow/flow_fixture.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/block_gauss_seidel.h"
#include "solvers/column_blocks.h"
#include "solvers/hand_cells.h"
#include "solvers/point_solver.h"

namespace {

class BlockGaussSeidel : public HandCellsTest {
 protected:
  // Cells 1..100 in ten columns of ten.
  static void tenColumnsOfTen() {
    allocateCells(100);
    for (int c = 1; c <= 91; c += 10) stackColumn(c, 10);
  }
};

void useThreads(int threads) {
  NoProcessesSolver = threads;
  fixThreadCount(threads);
}

std::vector<int> bounds(int blocks) {
  const int *b = OmpArray();
  return std::vector<int>(b, b + blocks + 1);
}

TEST_F(BlockGaussSeidel, ColumnBlockCuts) {
  tenColumnsOfTen();
  struct Case {
    const char *name;
    int first, last, blocks;
    bool sixteenths;
    std::vector<int> expected;
  };
  const Case cases[] = {
      // Nominal 33, 66, 99 move to the column tops 40, 70 and (last) 100.
      {"three blocks", 1, 100, 3, false, {0, 40, 70, 100}},
      // Nominal 6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100.
      {"sixteen blocks",
       1,
       100,
       16,
       true,
       {0, 10, 20, 20, 30, 40, 40, 50, 50, 60, 70, 70, 80, 90, 90, 100, 100}},
      // Nominal 50 already tops its column and stays.
      {"cut at a column top", 1, 100, 2, false, {0, 50, 100}},
      // A narrower range (columns 3..8) keeps its own first and last cells:
      // nominal 35, 50, 65 move to 40, 50 (a top) and 70.
      {"narrow range", 21, 80, 4, false, {20, 40, 50, 70, 80}},
  };
  for (const Case &c : cases) {
    std::vector<int> got(static_cast<std::size_t>(c.blocks) + 1);
    cutColumnBlocks(c.first, c.last, c.blocks, c.sixteenths, got.data());
    EXPECT_EQ(got, c.expected) << c.name;
  }
}

// The solver cuts with the thread count (one block with G 50 entry 8) or
// with sixteen blocks, whatever the threads.
TEST_F(BlockGaussSeidel, BlocksOfTheVariants) {
  tenColumnsOfTen();
  for (int c = 1; c <= 100; ++c) Cap[c] = 1.0;
  Equation = 1;
  useThreads(3);
  FlagRapSolver = 31;
  GaussN(1, 100, 1);
  EXPECT_EQ(bounds(3), (std::vector<int>{0, 40, 70, 100}));
  FlagRapSolver = 32;
  GaussN(1, 100, 1);
  EXPECT_EQ(bounds(16), (std::vector<int>{0, 10, 20, 20, 30, 40, 40, 50, 50, 60, 70, 70, 80, 90, 90, 100, 100}));
  FlagRapSolver = 33;
  FlagOpenMP[8] = 1;
  GaussN(1, 100, 1);
  EXPECT_EQ(bounds(1), (std::vector<int>{0, 100}));
}

// With no sweeps variant 30 only clears the dummy cell and copies the range
// into Cfn; the field itself stays.
TEST_F(BlockGaussSeidel, NoSweepsOnlyPrepare) {
  tenColumnsOfTen();
  for (int c = 0; c <= 100; ++c) {
    Cap[c] = 1.0;
    Csource[c] = 3.0;
    Cf[c] = c + 0.5;
    Cfn[c] = -1.0;
  }
  Equation = 1;
  FlagRapSolver = 30;
  for (int n : {0, -2}) {
    GaussN(1, 100, n);
    EXPECT_EQ(Cf[0], 0.0);
    EXPECT_EQ(Cfn[0], 0.0);
    for (int c = 1; c <= 100; ++c) {
      EXPECT_EQ(Cf[c], c + 0.5) << c;
      EXPECT_EQ(Cfn[c], c + 0.5) << c;
    }
  }
}

// A column's bottom cell reads 0 below it, whatever entry 0 held, and the
// dummy cell of the field is 0 after the call.
TEST_F(BlockGaussSeidel, BottomCellReadsZeroFromTheDummyCell) {
  allocateCells(2);
  stackColumn(1, 2);
  for (int variant : {30, 31, 32, 33}) {
    SCOPED_TRACE(variant);
    Cap[1] = Cap[2] = 4.0;
    Cab[1] = 2.0;  // coupling of the bottom cell to the (missing) cell below
    Cat[2] = 2.0;  // and of the top cell to the (missing) cell above
    Csource[1] = Csource[2] = 8.0;
    Cf[0] = 100.0;
    Cfn[0] = 100.0;
    Cf[1] = Cf[2] = 0.0;
    Equation = 1;
    FlagRapSolver = variant;
    GaussN(1, 2, 1);
    EXPECT_EQ(Cf[0], 0.0);
    // Upward: Cfn[1] = 8/4 = 2, Cfn[2] = 8/4 = 2; downward: Cf[2] = 8/4 = 2,
    // Cf[1] = 8/4 = 2. A dummy value of 100 would have given 52 and more.
    EXPECT_DOUBLE_EQ(Cf[1], 2.0);
    EXPECT_DOUBLE_EQ(Cf[2], 2.0);
  }
}

TEST_F(BlockGaussSeidel, EveryVariantReachesTheLinearProfile) {
  sou[1] = 1;  // the second-neighbour arrays exist for the 13-point forms
  allocateCells(6);
  for (int threads : {1, 3}) {
    useThreads(threads);
    for (int scheme : {0, 1}) {
      for (int variant = 21; variant <= 35; ++variant) {
        SCOPED_TRACE(testing::Message() << "variant " << variant << " scheme " << scheme << " threads " << threads);
        diffusionColumn(1, 6, 1.0, 6.0);  // solution Cf[c] = c
        Equation = 1;
        sou[1] = scheme;
        FlagRapSolver = variant;
        GaussN(1, 6, 400);
        for (int c = 1; c <= 6; ++c) EXPECT_NEAR(Cf[c], c, 1e-10) << "cell " << c;
      }
    }
  }
}

// Cells outside a narrower range keep their values in Cfn for the second
// half-steps: whatever Cfn held there before, the result is the same.
TEST_F(BlockGaussSeidel, NarrowRangeReadsCurrentValuesOutside) {
  tenColumnsOfTen();
  for (int c = 1; c <= 90; ++c) linkEast(c, c + 10);
  for (int variant : {27, 29, 30, 31, 32}) {
    SCOPED_TRACE(variant);
    std::vector<double> results[2];
    for (int pass = 0; pass < 2; ++pass) {
      for (int c = 1; c <= 100; ++c) {
        Cap[c] = 4.0;
        Csource[c] = c % 7;
        Cf[c] = 0.1 * c;
        Cfn[c] = pass == 0 ? 0.0 : 1e6;
      }
      for (int c = 1; c <= 90; ++c) Cae[c] = Caw[c + 10] = 1.0;
      Equation = 1;
      FlagRapSolver = variant;
      GaussN(31, 70, 3);
      results[pass].assign(Cf + 1, Cf + 101);
    }
    EXPECT_EQ(results[0], results[1]);
    for (int c = 1; c <= 30; ++c) EXPECT_EQ(results[0][c - 1], 0.1 * c);
  }
}

// The channel's pressure-correction equation: pressure coefficients of the
// generated channel, a small sink on Cap and a varying defect.
class ChannelPressureEquation : public FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    channel();
    for (int c = 1; c <= NoCells; ++c) CinvAp[c] = 0.01 * (1.0 + 0.1 * std::sin(0.3 * c));
    pressure_coeff();
    for (int c = 1; c <= NoCells; ++c) {
      Cap[c] = 1.001 * (Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c]);
      Csource[c] = std::sin(0.37 * c) + 0.2 * std::cos(1.3 * c);
    }
    Cf = Cpres;
    Equation = 4;
    sweeps[4] = 5;
  }

  // The field after one solve (15 sweeps) from zero with the variant and
  // thread count given.
  static std::vector<double> solved(int variant, int threads) {
    useThreads(threads);
    FlagRapSolver = variant;
    for (int c = 0; c <= NoCells; ++c) Cf[c] = Cfn[c] = 0.0;
    solver();
    return std::vector<double>(Cf + 1, Cf + NoCells + 1);
  }
};

TEST_F(ChannelPressureEquation, VariantsIndependentOfTheThreads) {
  struct Group {
    std::vector<int> variants;  // one field among them, bit for bit
  };
  const Group groups[] = {{{27, 29}}, {{31, 32, 33, 30}}};
  for (const Group &g : groups) {
    const std::vector<double> reference = solved(g.variants[0], 1);
    for (int variant : g.variants) {
      // Variant 30 splits columns between threads: it belongs to the group
      // on one thread only.
      for (int threads : {1, 2, 3, 8}) {
        if (variant == 30 && threads > 1) continue;
        EXPECT_EQ(solved(variant, threads), reference) << "variant " << variant << " on " << threads << " threads";
      }
    }
  }
}

TEST_F(ChannelPressureEquation, InPlaceAndSerialFormsAgainstThePointSolver) {
  useThreads(1);
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
  Gauss(WCStart, WCEnd, solverSweeps());
  const std::vector<double> point(Cf + 1, Cf + NoCells + 1);
  EXPECT_EQ(solved(28, 1), point);
  const std::vector<double> serial = solved(25, 1);
  for (int c = 0; c < NoCells; ++c) EXPECT_NEAR(serial[c], point[c], 1e-12 * std::fabs(point[c])) << c + 1;
  // On several threads variant 28 reads the cells at share borders while
  // their owner writes them, so a few sweeps depend on the timing; after
  // many sweeps both forms stand within 1e-4 of each other, whatever the
  // timing (1e-3 allowed).
  sweeps[4] = 400;
  useThreads(1);
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
  Gauss(WCStart, WCEnd, solverSweeps());
  const std::vector<double> exact(Cf + 1, Cf + NoCells + 1);
  const std::vector<double> threaded = solved(28, 3);
  double largest = 0.0;
  for (double v : exact) largest = std::max(largest, std::fabs(v));
  for (int c = 0; c < NoCells; ++c) EXPECT_NEAR(threaded[c], exact[c], 1e-3 * largest) << c + 1;
}

}  // namespace
