// The running bed-movement and veering-angle means of F 404 and the
// turbidity-current measures of F 71 on the channel case (10 x 4 columns of
// nine cells).
#include "sediment/statistics/bed_movement_statistics.h"

#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class BedStatistics : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("channel", "F 404 1 0.5\nF 71 1\n");
    ASSERT_FALSE(HasFatalFailure());
    Unstructure();
    metric();
    BedMake();
    MorphInitiated = 0;
    block[1].WorkFlag = 1;
  }

  // The cells of column (i, j) from the bottom up.
  static std::vector<int> column(int i, int j) {
    std::vector<int> cells;
    for (int c = Bcellt[pointbed[i][j]]; c > 0; c = Ccellt[c]) cells.push_back(c);
    return cells;
  }
};

TEST_F(BedStatistics, FirstCallClearsTheWorkBlocksThenRelaxes) {
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) Surfaces[5][i][j] = Surfaces[6][i][j] = 7.0;
  }
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 0.2;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1.0, Cyvel[c] = 0.0;
  computeMorphStatistics();
  EXPECT_DOUBLE_EQ(Surfaces[5][3][3], 0.1) << "cleared, then half of 0.2";
  EXPECT_DOUBLE_EQ(Surfaces[6][3][3], 0.0) << "bed and surface flow the same way";
  EXPECT_EQ(Surfaces[5][1][1], 7.0) << "outside the block's columns";
  computeMorphStatistics();
  EXPECT_DOUBLE_EQ(Surfaces[5][3][3], 0.15) << "no second clearing";
  // F 404 5 sums the movements.
  FlagMorphStatistics = 5;
  computeMorphStatistics();
  EXPECT_DOUBLE_EQ(Surfaces[5][3][3], 0.35);
  // Blocks out of the work range keep their planes, also on the first call.
  MorphInitiated = 0;
  block[1].WorkFlag = 0;
  computeMorphStatistics();
  EXPECT_DOUBLE_EQ(Surfaces[5][3][3], 0.35);
}

TEST_F(BedStatistics, VeeringAngleBetweenBedAndSurface) {
  RelaxMorphStatistics = 1.0;
  const std::vector<int> cells = column(4, 3);
  ASSERT_EQ(cells.size(), 9u);
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = 0.0;
  Cxvel[cells.front()] = 1.0;  // bed velocity (1, 0)
  Cyvel[cells.back()] = 1.0;   // surface velocity (0, 1): turned to the left
  computeMorphStatistics();
  EXPECT_NEAR(Surfaces[6][4][3], 90.00265, 1e-5);
  Cyvel[cells.back()] = -1.0;
  computeMorphStatistics();
  EXPECT_NEAR(Surfaces[6][4][3], -90.00265, 1e-5);
}

TEST_F(BedStatistics, DryColumnUpdatesTheBedMovementOnly) {
  const int bed = pointbed[5][3];
  Surfaces[6][5][3] = 0.0;
  computeMorphStatistics();  // clears
  Surfaces[6][5][3] = 4.0;
  Bcellt[bed] = 0;
  Bedmove[bed] = 0.3;
  computeMorphStatistics();
  EXPECT_DOUBLE_EQ(Surfaces[5][5][3], 0.15);
  EXPECT_DOUBLE_EQ(Surfaces[6][5][3], 4.0);
}

TEST_F(BedStatistics, TurbidityCurrentUnderAReverseFlow) {
  TDvelo = 1e-6;
  const std::vector<int> cells = column(4, 3);
  for (int c : cells) Ckdist[c] = 0.1;
  for (int k = 0; k < 9; ++k) Cxvel[cells[k]] = k < 3 ? 0.5 : -0.2;
  // Every other column flows upstream from the bed up: its current covers
  // the whole depth of nine cells of 1/18 m half height, with U = 0.
  for (int i = block[1].i1; i <= block[1].i2; ++i) {
    for (int j = block[1].j1; j <= block[1].j2; ++j) {
      if (i == 4 && j == 3) continue;
      for (int c : column(i, j)) Cxvel[c] = -0.3;
    }
  }
  computeDensityStat(block[1].i1, block[1].i2);
  const int bed = pointbed[4][3];
  EXPECT_NEAR(BTheight[bed], 0.8, 1e-12);
  EXPECT_NEAR(BTdischarge[bed], 0.26, 1e-12);
  EXPECT_NEAR(BTugrad[bed], 1.6, 1e-12);
  const int other = pointbed[7][2];
  EXPECT_NEAR(BTheight[other], 1.0, 1e-12);
  EXPECT_NEAR(BTdischarge[other], -0.3, 1e-12);
  EXPECT_NEAR(BTugrad[other], 1.0 / 1e-6, 1e-3);
  // A column without cells, and a zero TDvelo: nothing divides by zero.
  TDvelo = 0.0;
  Bcellt[other] = 0;
  computeDensityStat(block[1].i1, block[1].i2);
  EXPECT_EQ(BTheight[other], 0.0);
  EXPECT_EQ(BTugrad[other], 0.0);
  EXPECT_NEAR(BTugrad[pointbed[6][2]] * 1e-20, 1.0, 1e-12);
}

}  // namespace
