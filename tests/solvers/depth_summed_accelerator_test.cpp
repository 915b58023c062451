// The two-dimensional block of the accelerator and its solves on 3 x 3
// columns of two cells: the block's cells and faces, the column sums, every
// column cell taking its level value, the coefficient sums and the residual
// correction added to the solution field.
#include <gtest/gtest.h>

#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/coarse_grid_levels.h"
#include "solvers/depth_summed_accelerator.h"
#include "solvers/unit_couplings.h"

namespace {

// Cells 1..18 (column (i, j) from the south-west, i fastest, two cells
// each); the block's cells 19..27; couplings 1 between horizontal
// neighbours, Cap 5, Csource = cell number, Cf = 3.
class DepthSummedAccelerator : public GridFixture {
 protected:
  void build(int levels) {
    Flag2DAccSolver = levels;
    allocate(6, 6, 3, 400);
    flatGrid(0, 5, 0, 5, 1.0);
    const int b = addBlock(2, 4, 2, 4);
    block[b].WorkFlag = 1;
    uniformLevels(b, 3);
    setColumnCells(b, 2);
    buildBlocks();
    ASSERT_EQ(NoCells, 18);
    GridMake2D();
    Cf = Cpres;
    setUnitCouplings(18, 3.0);
  }
};

TEST_F(DepthSummedAccelerator, BlockHasOneFullDepthCellPerColumn) {
  build(2);
  EXPECT_EQ(NoCells, 18);
  EXPECT_EQ(NoBlocks, 2);
  EXPECT_EQ(block[2].BlockKind, 2);
  EXPECT_EQ(block[2].FirstCell, 19);
  EXPECT_EQ(block[2].LastCell, 27);
  EXPECT_EQ(block[3].LastCell - block[3].FirstCell + 1, 4);
  for (int m = 19; m <= 27; ++m) {
    const int bottom = 2 * (m - 19) + 1, top = bottom + 1;
    SCOPED_TRACE("cell " + std::to_string(m));
    EXPECT_EQ(MGSCpoint[m][1], bottom);
    EXPECT_EQ(MGSCpoint[m][2], top);
    EXPECT_EQ(MGSCpoint[bottom][0], m);
    EXPECT_DOUBLE_EQ(Pz[Cpoint1[m]], Pz[Cpoint1[bottom]]);
    EXPECT_DOUBLE_EQ(Pz[Cpoint7[m]], Pz[Cpoint7[top]]);
    EXPECT_EQ(CflagDim[m], 1);
  }
  EXPECT_EQ(Ccelle[19], 20);
  EXPECT_EQ(Cflatee[19], Cflatew[20]);
  EXPECT_EQ(Cflaten[19], Cflates[22]);
}

TEST_F(DepthSummedAccelerator, EveryColumnCellTakesItsLevelValue) {
  build(1);
  std::vector<double> source(10), x(10, 0.0);
  for (int m = 1; m <= 9; ++m) source[m] = (2 * m - 1) + 2 * m;
  Acc2D();
  EXPECT_DOUBLE_EQ(Csource[19], 3.0);
  EXPECT_DOUBLE_EQ(Cae[19], 2.0);
  EXPECT_DOUBLE_EQ(Cap[19], 4.0);
  EXPECT_DOUBLE_EQ(Cap[23], 8.0);
  // One symmetric sweep from zero over the nine column equations, by hand.
  auto update = [&](int m) {
    const int c = 18 + m;
    double sum = source[m];
    for (int n : {Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c]}) sum += n ? 2.0 * x[n - 18] : 0.0;
    x[m] = sum / Cap[c];
  };
  for (int m = 1; m <= 9; ++m) update(m);
  for (int m = 9; m >= 1; --m) update(m);
  for (int m = 1; m <= 9; ++m) {
    EXPECT_NEAR(Cf[18 + m], x[m], 1e-12) << m;
    EXPECT_DOUBLE_EQ(Cf[2 * m - 1], Cf[18 + m]) << m;
    EXPECT_DOUBLE_EQ(Cf[2 * m], Cf[18 + m]) << m;
  }
}

TEST_F(DepthSummedAccelerator, CoefficientsSummedWithRaisedDiagonals) {
  build(2);
  Acc2Dcoeff(2);
  // Column 1: Cap 5 + 5, raised by its couplings east and north (2 + 2).
  EXPECT_DOUBLE_EQ(Cap[19], 14.0);
  EXPECT_DOUBLE_EQ(Csource[19], 3.0);
  // The first coarse cell: columns 1, 2, 4, 5; Cap the children's column
  // sums (4 x 10, summed before they are raised) and its own outer
  // couplings (east 2 + 2, north 2 + 2).
  const int c = block[3].FirstCell;
  EXPECT_DOUBLE_EQ(Csource[c], 3.0 + 7.0 + 15.0 + 19.0);
  EXPECT_DOUBLE_EQ(Cap[c], 40.0 + 8.0);
}

TEST_F(DepthSummedAccelerator, ResidualCorrectionAddedToTheSolution) {
  build(1);
  Equation = 1;
  ASSERT_NE(Cxvel_res, nullptr);
  for (int c = 1; c <= 18; ++c) {
    Cxvel_res[c] = c % 2 ? 0.25 : 0.75;
    Cxvel[c] = 10.0;
  }
  Acc2Dcoeff(1);
  Acc2Dsolver(1);
  EXPECT_EQ(Cf, Cpres);
  for (int m = 1; m <= 9; ++m) {
    EXPECT_DOUBLE_EQ(Cxvel[2 * m - 1], 10.0 + Cxvel_res[18 + m]) << m;
    EXPECT_DOUBLE_EQ(Cxvel[2 * m], 10.0 + Cxvel_res[18 + m]) << m;
  }
  EXPECT_NE(Cxvel_res[19], 0.5);
}

}  // namespace
