// The column correction and the horizontal smoother of the depth-summed
// accelerator on hand-built grids: sums against hand values, the replaced
// p' and the added correction of the other equations, fixed cells, the
// level counts that F 168 relaxes, and the smoother's serial, Jacobi and
// neighbour-list forms.
#include <gtest/gtest.h>

#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/multigrid.h"
#include "solvers/multigrid_accelerator.h"
#include "solvers/smoother_2d.h"
#include "solvers/unit_couplings.h"
#include "support/work_folder.h"

namespace {

// 4 x 4 one-cell columns (cells 1..16, i fastest, from the south-west), unit
// couplings between neighbours, Csource = cell number and Cf = 99; the
// levels built with F 168 as given: level 1 cells 17..32, level 2 33..36.
class ColumnCorrection : public GridFixture {
 protected:
  void build(int levels) {
    Flag2DAccSolver = levels;
    allocate(7, 7, 2, 400);
    flatGrid(0, 6, 0, 6, 1.0);
    const int b = addBlock(2, 5, 2, 5);
    block[b].WorkFlag = 1;
    uniformLevels(b, 2);
    setColumnCells(b, 1);
    buildBlocks();
    AlgMGMake();
    ASSERT_EQ(NoMGlevels, 3);
    Cf = Cpres;
    setUnitCouplings(16, 99.0);
    Iter2DMG = 1;
    NoMGloops = 3;
  }

  // Neighbours of column (i, j) counted from 0: the level-1 diagonal.
  static double neighbours(int c) { return Cae[c] + Caw[c] + Can[c] + Cas[c]; }

  // One symmetric Gauss-Seidel sweep from zero on the level-1 copy of the
  // sums, worked on plain arrays in the order of the cells.
  static std::vector<double> levelOneSweep(const std::vector<double> &source, double diagonalFactor) {
    std::vector<double> x(17, 0.0);
    auto update = [&](int c) {
      double sum = source[c];
      if (Ccelle[c]) sum += x[Ccelle[c]];
      if (Ccellw[c]) sum += x[Ccellw[c]];
      if (Ccelln[c]) sum += x[Ccelln[c]];
      if (Ccells[c]) sum += x[Ccells[c]];
      x[c] = sum / (diagonalFactor * neighbours(c));
    };
    for (int c = 1; c <= 16; ++c) update(c);
    for (int c = 16; c >= 1; --c) update(c);
    return x;
  }
};

TEST_F(ColumnCorrection, PressureCorrectionReplacesTheColumnValues) {
  build(1);
  Equation = 4;
  std::vector<double> source(17);
  for (int c = 1; c <= 16; ++c) source[c] = c;
  AlgMGSolve();
  for (int c = 1; c <= 16; ++c) {
    EXPECT_DOUBLE_EQ(Csource[16 + c], c);
    EXPECT_DOUBLE_EQ(Cap[16 + c], neighbours(c));
  }
  // The south-west group 1, 2, 5, 6 and the north-east group 11, 12, 15, 16.
  const int sw = num[2][2][2], ne = num[4][4][2];
  EXPECT_DOUBLE_EQ(Csource[sw], 14.0);
  EXPECT_DOUBLE_EQ(Cae[sw], 2.0);
  EXPECT_DOUBLE_EQ(Can[sw], 2.0);
  EXPECT_DOUBLE_EQ(Caw[sw] + Cas[sw], 0.0);
  EXPECT_DOUBLE_EQ(Cap[sw], 4.0);
  EXPECT_DOUBLE_EQ(Csource[ne], 54.0);
  EXPECT_DOUBLE_EQ(Caw[ne], 2.0);
  EXPECT_DOUBLE_EQ(Cas[ne], 2.0);
  // F 168 1: level 2 summed but not relaxed; level 1 one sweep from zero.
  EXPECT_DOUBLE_EQ(Cf[sw], 0.0);
  const std::vector<double> expected = levelOneSweep(source, 1.0);
  for (int c = 1; c <= 16; ++c) {
    EXPECT_NEAR(Cf[16 + c], expected[c], 1e-12) << c;
    EXPECT_DOUBLE_EQ(Cf[c], Cf[16 + c]) << c;
  }
}

TEST_F(ColumnCorrection, FixedCellsStayOutOfThePressureSumsWithF36Of16) {
  build(1);
  Equation = 4;
  Cap[1] = 1e30;
  Csource[1] = 1e30;
  FlagTFS = 16;
  AlgMGSolve();
  EXPECT_DOUBLE_EQ(Csource[17], 0.0);
  EXPECT_DOUBLE_EQ(Csource[18], 2.0);
  EXPECT_DOUBLE_EQ(Csource[num[2][2][2]], 13.0);
}

TEST_F(ColumnCorrection, CoarseLevelsRelaxedWithF168Of2) {
  build(2);
  Equation = 4;
  AlgMGSolve();
  // Level 2 was relaxed and handed on: its values are no longer zero, and
  // level 1 started from them.
  EXPECT_NE(Cf[num[2][2][2]], 0.0);
  for (int c = 1; c <= 16; ++c) EXPECT_DOUBLE_EQ(Cf[c], Cf[16 + c]) << c;
}

TEST_F(ColumnCorrection, OtherEquationsAddTheCorrectionOfTheResidualMeans) {
  build(2);
  ASSERT_NE(Cxvel_res, nullptr);
  Equation = 1;
  for (int c = 1; c <= 16; ++c) Cxvel_res[c] = 0.5;
  AlgMGSolve();
  for (int c = 1; c <= 16; ++c) {
    EXPECT_DOUBLE_EQ(Csource[16 + c], 0.5 * neighbours(c)) << c;
    EXPECT_DOUBLE_EQ(Cap[16 + c], 2.0 * neighbours(c)) << c;
    EXPECT_DOUBLE_EQ(Cf[c], 99.0 + Cf[16 + c]) << c;
  }
  // Coarse: Cap 4 doubled, Csource = 4 / 4 * (four children of ratio 1/4).
  const int sw = num[2][2][2];
  EXPECT_DOUBLE_EQ(Cap[sw], 8.0);
  EXPECT_DOUBLE_EQ(Csource[sw], 1.0);
}

TEST_F(ColumnCorrection, OtherEquationsNeedTheResidualFields) {
  FlagResidual = 0;
  build(1);
  ASSERT_EQ(Cxvel_res, nullptr);
  Equation = 2;
  writeFile("boogie", "");
  EXPECT_EXIT(AlgMGSolve(), ::testing::ExitedWithCode(251), "");
  EXPECT_EQ(readFile("boogie"), "Error for K 5 in control\nK 5 values 10 to 12 need F 153 1 for Equation 2\n\n");
}

TEST_F(ColumnCorrection, NothingWithoutLevels) {
  build(1);
  block[1].WorkFlag = 0;
  AlgMGMake();
  Equation = 4;
  AlgMGSolve();
  for (int c = 1; c <= 16; ++c) EXPECT_DOUBLE_EQ(Cf[c], 99.0);
}

// A chain of n cells linked east-west with unit couplings, Cap 2.5 and a
// source that varies along it; Cf from zero.
class Smoother2D : public GridFixture {
 protected:
  void chain(int n) {
    allocate(6, 6, 6, 700);
    NoCells = n;
    Cf = Cpres;
    for (int c = 1; c <= n; ++c) {
      Ccelle[c] = c < n ? c + 1 : 0;
      Ccellw[c] = c > 1 ? c - 1 : 0;
      Cae[c] = c < n ? 1.0 : 0.0;
      Caw[c] = c > 1 ? 1.0 : 0.0;
      Cap[c] = 2.5;
      Csource[c] = (c % 7) - 3.0;
    }
    Equation = 4;
  }

  static std::vector<double> relaxed(int variant, int first, int last, int sweeps) {
    FlagRapSolver = variant;
    for (int c = 0; c <= NoCells; ++c) Cf[c] = Cfn[c] = 0.0;
    Gauss2D(first, last, sweeps);
    return std::vector<double>(Cf, Cf + NoCells + 1);
  }
};

TEST_F(Smoother2D, JacobiOnlyOnRangesOfMoreThan300Cells) {
  chain(302);
  // 301 cells (last - first = 300): serial even with F 164 29.
  EXPECT_EQ(relaxed(29, 1, 301, 2), relaxed(0, 1, 301, 2));
  // 302 cells: Jacobi halves, as F 164 27 and unlike the serial form.
  const std::vector<double> jacobi = relaxed(29, 1, 302, 2);
  EXPECT_EQ(jacobi, relaxed(27, 1, 302, 2));
  EXPECT_NE(jacobi, relaxed(0, 1, 302, 2));
  // By hand: one Jacobi sweep is two half-steps from zero; cell 1 after the
  // first half is s1/2.5, after the second (s1 + x2)/2.5 with x2 = s2/2.5.
  const std::vector<double> one = relaxed(30, 1, 302, 1);
  EXPECT_DOUBLE_EQ(one[1], (Csource[1] + Csource[2] / 2.5) / 2.5);
}

TEST_F(Smoother2D, SweepCountsOfTheSerialForms) {
  chain(20);
  std::vector<double> zero(21, 0.0);
  EXPECT_EQ(relaxed(0, 1, 20, 0), zero);
  // Forward pass then backward pass, by hand on the first two cells of a
  // two-cell range: x1 = s1/2.5, x2 = (s2 + x1)/2.5, then x1 = (s1 + x2)/2.5.
  const std::vector<double> two = relaxed(0, 1, 2, 1);
  const double x1 = Csource[1] / 2.5, x2 = (Csource[2] + x1) / 2.5;
  EXPECT_DOUBLE_EQ(two[2], x2);
  EXPECT_DOUBLE_EQ(two[1], (Csource[1] + x2) / 2.5);
}

TEST_F(Smoother2D, NeighbourListsMakeOneSymmetricPass) {
  QNFlag = 1;
  chain(20);
  for (int c = 1; c <= 20; ++c) Cncelle[c] = Cncellw[c] = Cncelln[c] = Cncells[c] = 0;
  const std::vector<double> six = relaxed(0, 1, 20, 6);
  const std::vector<double> none = relaxed(0, 1, 20, 0);
  QNFlag = 0;
  const std::vector<double> once = relaxed(0, 1, 20, 1);
  // The listed form adds the source first: equal to the last bits.
  for (int c = 1; c <= 20; ++c) {
    EXPECT_NEAR(six[c], once[c], 1e-14) << c;
    EXPECT_NEAR(none[c], once[c], 1e-14) << c;
  }
  // A listed east side: cell 5 takes cells 7 and 8 with its own coefficients.
  QNFlag = 1;
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 1.0;
  Cncelle[5] = 2;
  Cqncelle[5][0] = 7;
  Cqnae[5][0] = 0.5;
  Cqnae[5][1] = 0.25;
  Cncellw[5] = -1;
  Gauss2D(5, 5, 1);
  EXPECT_DOUBLE_EQ(Cf[5], (Csource[5] + 0.5 + 0.25) / 2.5);
}

TEST_F(Smoother2D, HomogeneousFormLeavesTheSourceOut) {
  chain(10);
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
  Gauss2Dresi(1, 10, 3);
  for (int c = 1; c <= 10; ++c) EXPECT_DOUBLE_EQ(Cf[c], 0.0);
  Cf[5] = 2.5;
  Gauss2Dresi(5, 5, 1);
  EXPECT_DOUBLE_EQ(Cf[5], 0.0);
  Cf[4] = 2.5;
  Gauss2Dresi(5, 5, 1);
  EXPECT_DOUBLE_EQ(Cf[5], 1.0);
}

}  // namespace
