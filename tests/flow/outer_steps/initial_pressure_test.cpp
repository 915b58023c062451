// The start pressure from the water levels, the three column filters of the
// pressure, the time step of a slide run and the pressure-residual
// statistic, on hand-built columns of block 1.
#include <gtest/gtest.h>

#include <vector>

#include "flow/outer_steps/initial_pressure.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "turbulence/box_cells.h"

namespace {

class PressureColumns : public BoxCells {
 protected:
  // Block 1 of `columns` columns of `cells` boxes dz high, at i = 1.. and j = 2.
  static void columns(int columns, int cells, double dz) {
    build(columns, cells, 1.0, 1.0, dz);
    NoBlocks = 1;
    block[1] = {};
    block[1].i1 = 1;
    block[1].i2 = columns;
    block[1].j1 = block[1].j2 = 2;
    block[1].FirstCell = 1;
    block[1].LastCell = NoCells;
    block[1].FirstBedCell = 1;
    block[1].LastBedCell = columns;
    for (int i = 1; i <= columns; ++i) zval[i][2][0] = cell(i - 1, 0);
  }
};

TEST_F(PressureColumns, StartPressureFromTheWaterLevels) {
  columns(3, 2, 0.5);
  zval[3][1][znumber] = 1.0;  // the reference: middle of the downstream end
  zval[1][2][znumber] = 1.05;
  zval[2][2][znumber] = 1.0;
  zval[3][2][znumber] = 0.98;
  initiatePressure();
  for (int k = 0; k < 2; ++k) {
    EXPECT_NEAR(Cpres[cell(0, k)], 490.5, 1e-9);
    EXPECT_EQ(Cpres[cell(1, k)], 0.0);
    EXPECT_NEAR(Cpres[cell(2, k)], -196.2, 1e-9);
  }
}

TEST_F(PressureColumns, FroudeBlend) {
  struct Row {
    const char *name;
    double speed, bottom;
    double factor;
  };
  // 1 m deep: F = 3 x 0.5 / sqrt(9.81) = 0.478913, target F p_b + (1 - F) 9810.
  const Row rows[] = {
      {"slow column", 0.5, 12000.0, 0.904902},
      {"fast column", 2.0, 12000.0, 1.0},
      {"already below its target", 0.5, 9000.0, 1.0},
      {"zero bottom pressure", 0.5, 0.0, 1.0},
      {"negative bottom pressure", 0.5, -500.0, 1.0},
  };
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    columns(1, 4, 0.25);
    for (int c = 1; c <= 4; ++c) {
      Cxvel[c] = r.speed;
      Cpres[c] = c == 1 ? r.bottom : 1000.0 * c;
    }
    FlagPresFilter = 1;
    pressureFilter();
    EXPECT_NEAR(Cpres[1], r.bottom * r.factor, 1e-6 * 12000.0);
    EXPECT_NEAR(Cpres[4], 4000.0 * r.factor, 1e-6 * 4000.0);
  }
}

TEST_F(PressureColumns, CapsNeverRaiseAPressure) {
  columns(1, 3, 0.1);  // top cell half height 0.05 m
  const std::vector<double> start = {0.0, 9000.0, 2500.0, 2000.0};
  for (int c = 1; c <= 3; ++c) Cpres[c] = start[c];
  FlagPresFilter = 2;
  pressureFilter();
  EXPECT_DOUBLE_EQ(Cpres[3], 981.0);          // 2 x 9810 x 0.05
  EXPECT_DOUBLE_EQ(Cpres[2], 2500.0);         // below its cap of 2943
  EXPECT_DOUBLE_EQ(Cpres[1], 4905.0);         // 2 x 9810 x 0.25
  for (int c = 1; c <= 3; ++c) Cpres[c] = start[c];
  FlagPresFilter = 3;
  pressureFilter();
  EXPECT_DOUBLE_EQ(Cpres[3], 2000.0);
  EXPECT_DOUBLE_EQ(Cpres[2], 2500.0);             // within 2000 + 39240 x 0.05
  EXPECT_DOUBLE_EQ(Cpres[1], 2500.0 + 1962.0);    // capped
  for (int c = 1; c <= 3; ++c) Cpres[c] = -1.0;
  for (int mode : {2, 3, 4}) {
    FlagPresFilter = mode;
    pressureFilter();
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(Cpres[c], -1.0) << mode;
  }
}

TEST_F(PressureColumns, TimeStepOfASlideRun) {
  columns(2, 2, 0.5);
  TimeStep = 2.0;
  WCStart = 1;
  EXPECT_EQ(computeChangeTimestep(), 2.0);
  WCStart = NoCells + 1;  // only the block behind block 1
  EXPECT_EQ(computeChangeTimestep(), 0.2);
  EXPECT_EQ(TimeStep, 0.2);
  TimeStep = 7.0;  // the base was taken once for the run
  WCStart = 1;
  EXPECT_EQ(computeChangeTimestep(), 2.0);
}

TEST_F(PressureColumns, PressureResidualStatistic) {
  columns(2, 2, 0.5);
  std::vector<double> residual = {99.0, 1.0, -2.0, 3.0, -6.0};
  double *kept = Cpres_res;
  Cpres_res = residual.data();
  EXPECT_DOUBLE_EQ(computePresResStat(), 3.0 * 12.0 / 4.0);
  Cpres_res = kept;
}

}  // namespace
