// The water-level multigrid on the depth-summed levels of 4 x 4 one-cell
// columns: F 168 1 leaves the equation alone, F 168 2 gives one sweep from
// zero written back to the bottom cells, the Casulli form keeps fixed cells
// out of the level equations and links the reference column with F 343 3.
#include <gtest/gtest.h>

#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/multigrid.h"
#include "solvers/surface_multigrid.h"
#include "solvers/unit_couplings.h"

namespace {

// Cells 1..16 (i fastest from the south-west), level-1 cells 17..32; the
// level equation with unit couplings, Cap 5, Csource = cell number, Cf = 7.
class SurfaceMultigrid : public GridFixture {
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
    ASSERT_EQ(firstLevelBlock(), 2);
    Cf = Cpres;
    setUnitCouplings(16, 7.0);
  }
};

TEST_F(SurfaceMultigrid, OneLevelLeavesTheEquationAlone) {
  build(1);
  AlgMGSurf();
  AlgMGSurfCasulli();
  for (int c = 1; c <= 16; ++c) EXPECT_DOUBLE_EQ(Cf[c], 7.0) << c;
}

TEST_F(SurfaceMultigrid, TwoLevelsGiveOneSweepFromZero) {
  build(2);
  // One symmetric sweep of the bottom-cell equation from zero, by hand.
  std::vector<double> x(17, 0.0);
  auto update = [&](int c) {
    double sum = Csource[c];
    for (int n : {Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c]}) sum += n ? x[n] : 0.0;
    x[c] = sum / 5.0;
  };
  for (int c = 1; c <= 16; ++c) update(c);
  for (int c = 16; c >= 1; --c) update(c);
  AlgMGSurf();
  for (int c = 1; c <= 16; ++c) {
    EXPECT_NEAR(Cf[c], x[c], 1e-12) << c;
    EXPECT_DOUBLE_EQ(Cf[16 + c], Cf[c]) << c;
  }
}

TEST_F(SurfaceMultigrid, CasulliKeepsFixedCellsOutOfTheLevels) {
  build(2);
  Cap[1] = 1e30;
  Csource[1] = 1e30 * 7.0;
  AlgMGSurfCasulli();
  EXPECT_DOUBLE_EQ(Csource[17], 0.0);
  EXPECT_DOUBLE_EQ(Cap[17], 2.0);
  EXPECT_DOUBLE_EQ(Cap[18], 5.0);
}

TEST_F(SurfaceMultigrid, ReferenceColumnBecomesAnEastNeighbour) {
  build(2);
  BlockCasulli = 3;
  iPres = 5;
  jPres = 3;
  // Column (5, 3) is cell 8, its level cell 24, on the east edge.
  AlgMGSurfCasulli();
  EXPECT_EQ(Ccelle[24], 8);
  EXPECT_DOUBLE_EQ(Cae[24], 1.0);
  EXPECT_DOUBLE_EQ(Cap[24], 6.0);
  EXPECT_EQ(Ccelle[23], 24);
}

}  // namespace
