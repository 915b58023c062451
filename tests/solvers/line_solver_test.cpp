// The TDMA solvers: a fixed-end diffusion column solved exactly in one call,
// a fixed cell that splits a column, and the column solver's choice and order
// of columns against the range solver run column by column.
#include <gtest/gtest.h>

#include <vector>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"
#include "solvers/line_solver.h"

namespace {

class LineSolver : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTDMA = 1;  // the work arrays exist
    Equation = 6;
  }
};

TEST_F(LineSolver, FixedEndColumnExactInOneCall) {
  allocateCells(6);
  diffusionColumn(1, 6, 1.0, 6.0);
  solverTDMA();
  for (int c = 1; c <= 6; ++c) EXPECT_NEAR(Cf[c], c, 1e-12) << c;
}

// Cell 4 fixed at 10 between a bottom fixed at 1 and a top fixed at 6: the
// cells below take the line 1..10, those above 10..6, and a new top value
// changes nothing below the fixed cell.
TEST_F(LineSolver, FixedCellDecouplesTheColumn) {
  allocateCells(7);
  for (double top : {7.0, 100.0}) {
    diffusionColumn(1, 7, 1.0, top);
    Cap[4] += 1e30;
    Csource[4] += 1e30 * 10.0;
    solverTDMA();
    EXPECT_NEAR(Cf[2], 4.0, 1e-12);
    EXPECT_NEAR(Cf[3], 7.0, 1e-12);
    EXPECT_NEAR(Cf[4], 10.0, 1e-12);
    EXPECT_NEAR(Cf[5], 10.0 + (top - 10.0) / 3.0, 1e-12);
  }
}

TEST_F(LineSolver, EmptyRangeLeavesTheField) {
  allocateCells(6);
  diffusionColumn(1, 6, 1.0, 6.0);
  WCStart = 4;
  WCEnd = 3;
  solverTDMA();
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(Cf[c], 0.0) << c;
}

// Three columns of five cells, (2, 2) cells 1..5, (3, 2) cells 6..10 and
// (3, 3) cells 11..15, coupled horizontally cell by cell; then a column of
// four cells at (2, 3) and a dry column at (4, 2).
class ColumnSolver : public LineSolver {
 protected:
  void SetUp() override {
    LineSolver::SetUp();
    allocateCells(19);
    addBlock(2, 4, 2, 3);
    diffusionColumn(1, 5, 1.0, 5.0);
    diffusionColumn(6, 5, 2.0, 3.0);
    diffusionColumn(11, 5, 0.0, 4.0);
    diffusionColumn(16, 4, 1.0, 9.0);
    zval[2][2][0] = 1;
    zval[3][2][0] = 6;
    zval[3][3][0] = 11;
    zval[2][3][0] = 16;
    zval[4][2][0] = 0;
    zval[4][3][0] = 0;
    for (int k = 0; k < 5; ++k) {
      linkEast(1 + k, 6 + k);
      Ccelln[6 + k] = 11 + k;
      Ccells[11 + k] = 6 + k;
    }
    for (int c = 1; c <= 15; ++c) {
      const double h = 0.5;
      Cae[c] = Ccelle[c] ? h : 0.0;
      Caw[c] = Ccellw[c] ? h : 0.0;
      Can[c] = Ccelln[c] ? h : 0.0;
      Cas[c] = Ccells[c] ? h : 0.0;
      Cap[c] += Cae[c] + Caw[c] + Can[c] + Cas[c];
      Cf[c] = 0.1 * c;
    }
    for (int c = 16; c <= 19; ++c) Cf[c] = 0.25 * c;
  }

  static std::vector<double> field() { return std::vector<double>(Cf + 1, Cf + 20); }

  // The range solver over one column's cells.
  static void solveRange(int first, int last) {
    WCStart = first;
    WCEnd = last;
    solverTDMA();
  }
};

TEST_F(ColumnSolver, ColumnsInOrderAgainstTheRangeSolver) {
  const std::vector<double> start = field();
  solverVertTDMA();
  const std::vector<double> columns = field();
  // i from i2 down, j up: (3, 2), (3, 3), then (2, 2); the four-cell column
  // keeps its values.
  for (int c = 1; c <= 19; ++c) Cf[c] = start[c - 1];
  solveRange(6, 10);
  solveRange(11, 15);
  solveRange(1, 5);
  const std::vector<double> byRange = field();
  for (int c = 1; c <= 19; ++c) EXPECT_NEAR(columns[c - 1], byRange[c - 1], 1e-13) << c;
  for (int c = 16; c <= 19; ++c) EXPECT_EQ(columns[c - 1], start[c - 1]) << c;
}

// The range solver over all fifteen cells uses the values from before the
// call for every column; only the first column the column solver visits
// sees the same neighbour values.
TEST_F(ColumnSolver, RangeSolverUsesTheOldNeighbours) {
  const std::vector<double> start = field();
  solveRange(1, 15);
  const std::vector<double> range = field();
  for (int c = 1; c <= 19; ++c) Cf[c] = start[c - 1];
  solverVertTDMA();
  const std::vector<double> columns = field();
  for (int c = 6; c <= 10; ++c) EXPECT_NEAR(columns[c - 1], range[c - 1], 1e-13) << c;
  for (int c : {2, 12}) EXPECT_GT(std::abs(columns[c - 1] - range[c - 1]), 1e-6) << c;
}

}  // namespace
