// The F 358 window: samples taken at the grid regenerations inside its time
// window, by hand on the channel.
#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "grid/generation/bed_statistics_window.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

using BedStatisticsWindow = GridFixture;

TEST_F(BedStatisticsWindow, RegenerationsInsideTheTimeWindowAreSampled) {
  readCaseGrid("channel", "F 358 2 4 2 3 0 100\n");
  ASSERT_EQ(BedStatI1, 2);
  ASSERT_EQ(BedStatJ2, 3);
  BedStatNo = 0;
  Surfaces[0][3][3] = -0.1;  // this point lies 0.1 m above its start level
  bedStatDepth[2][2] = 99.0;  // cleared by the first sample
  for (double t : {0.0, 10.0, 20.0, 200.0}) {
    stimet = t;
    Unstructure();
  }
  EXPECT_EQ(BedStatNo, 2);
  for (int i = 2; i <= 4; ++i) {
    for (int j = 2; j <= 3; ++j) {
      EXPECT_DOUBLE_EQ(bedStatDepth[i][j], 2.0 * (zval[i][j][znumber] - zval[i][j][1])) << i << " " << j;
      EXPECT_DOUBLE_EQ(bedStatBed[i][j], 2.0 * zval[i][j][1]) << i << " " << j;
      EXPECT_DOUBLE_EQ(bedStatDev[i][j], i == 3 && j == 3 ? 0.2 : 0.0) << i << " " << j;
      EXPECT_EQ(bedStatK[i][j], 0.0) << i << " " << j;  // water at rest adds 0
    }
  }
}

// Vertical over horizontal speed of a column, its top cell left out: eight
// cells at 5 m/s across and 0.5 m/s through their tops give 4 / 40.
TEST_F(BedStatisticsWindow, ColumnSpeedRatioByHand) {
  SetArraysZero();
  readCaseGrid("channel", "F 358 2 4 2 3 0 100\n");
  stimet = 0.0;
  Unstructure();
  metric();
  BedStatNo = 1;
  stimet = 50.0;
  int c = static_cast<int>(zval[3][2][0]);
  ASSERT_GE(c, 1);
  for (; c >= 1; c = Ccellt[c]) {
    Cxvel[c] = 3.0;
    Cyvel[c] = 4.0;
    Fflux[Cflatet[c]] = -0.5 * Faz[Cflatet[c]];
  }
  const double before = bedStatK[3][2];
  sampleBedStatistics();
  EXPECT_NEAR(bedStatK[3][2] - before, 0.1, 1e-12);
  EXPECT_EQ(BedStatNo, 2);
  // A dry column adds nothing.
  zval[4][3][0] = 0.0;
  const double dry = bedStatK[4][3];
  sampleBedStatistics();
  EXPECT_EQ(bedStatK[4][3], dry);
}

}  // namespace
