// Wind on the surface and the Coriolis force against hand values on two
// columns: cells 1 (bottom) and 2 (top) of 1 m height and 2 m2 plan area,
// and a single top cell 3 of the same size.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "turbulence/eddy_viscosity.h"

namespace {

class TwoColumns : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(6, 6, 6, 50);
    NoCells = 3;
    WCStart = 1;
    WCEnd = 3;
    // Column 1-2 and the lone cell 3; faces 1..3 bottom and top of column
    // one, 4 and 5 of cell 3.
    Ccellb[1] = 0, Ccellt[1] = 2, Cflateb[1] = 1, Cflatet[1] = 2;
    Ccellb[2] = 1, Ccellt[2] = 0, Cflateb[2] = 2, Cflatet[2] = 3;
    Ccellb[3] = 0, Ccellt[3] = 0, Cflateb[3] = 4, Cflatet[3] = 5;
    for (int c = 1; c <= 3; ++c) {
      Ckdist[c] = 0.5;
      Cvol[c] = 2.0;
    }
    for (int f = 1; f <= 5; ++f) Farea[f] = 2.0;
  }
  void TearDown() override {
    TimeInNo = 0;
    TimeInTime = nullptr;
    Winn = nullptr;
    GridFixture::TearDown();
  }

  static void clear() {
    for (int c = 0; c <= 3; ++c) Cap[c] = Csource[c] = 0.0;
  }
};

// ---- the drag law of F 73 -----------------------------------------------------------------------

TEST(WindDrag, FollowsTheLawOfEachFlag) {
  struct Case {
    int flag;
    double speed, drag;
  } cases[] = {
      {0, 5.6, 31.36},           {0, 5.6 + 1e-12, 31.36},   {0, 10.0, 136.784},
      {1, 10.0, 110.0},          {2, 1.0 - 1e-12, 1.25},    {2, 1.0, 0.5},
      {2, 15.0 - 1e-12, 435.71}, {2, 15.0, 585.0},          {3, 7.0, 7.0},
      {100, 7.0, 7.0},
  };
  for (const Case &c : cases) {
    WindFlag = c.flag;
    EXPECT_NEAR(windDrag(c.speed), c.drag, 1e-4 * c.drag) << "F 73 " << c.flag << ", " << c.speed << " m/s";
  }
  WindFlag = 0;
}

// ---- wind on the top cells ----------------------------------------------------------------------

TEST_F(TwoColumns, WindDrivesTheTopCellsOfUOnly) {
  Wind[0] = 10.0, Wind[1] = 1.0, Wind[2] = 0.0;
  WindFlag = 1;
  // 0.0012 x 1.1 x 10^2 = 0.132 N per m2 of top face, 2 m2 each.
  clear();
  Equation = 1;
  WindFunction(1);
  EXPECT_EQ(Csource[1], 0.0);
  EXPECT_NEAR(Csource[2], 0.264, 1e-12);
  EXPECT_NEAR(Csource[3], 0.264, 1e-12);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(Cap[c], 0.0);
  clear();
  Equation = 2;
  WindFunction(2);
  for (int c = 1; c <= 3; ++c) EXPECT_EQ(Csource[c], 0.0) << c;
  // Equation 3 and any other number change nothing.
  for (int e : {3, 4, 7}) {
    clear();
    WindFunction(e);
    for (int c = 1; c <= 3; ++c) EXPECT_TRUE(Cap[c] == 0.0 && Csource[c] == 0.0) << e << " " << c;
  }
  Wind[0] = Wind[1] = Wind[2] = 0.0;
  WindFlag = 0;
}

TEST_F(TwoColumns, WindFixesKAndEpsilonOfTheTopCells) {
  Wind[0] = 10.0, Wind[1] = 1.0, Wind[2] = 0.0;
  WindFlag = 1;
  const double expected[2] = {2.19998e-4, 2.68090e-6};
  for (int m : {5, 6}) {
    clear();
    Cap[2] = 3.0;
    WindFunction(m);
    EXPECT_EQ(Cap[1], 0.0);
    EXPECT_EQ(Csource[1], 0.0);
    EXPECT_EQ(Cap[2], 1e30 + 3.0);
    for (int c : {2, 3}) EXPECT_NEAR(Csource[c] / 1e30, expected[m - 5], 1e-5 * expected[m - 5]) << m << " " << c;
  }
  Wind[0] = Wind[1] = Wind[2] = 0.0;
  WindFlag = 0;
}

TEST_F(TwoColumns, WindFollowsTheSeries) {
  // WindFlag 3: the drag is the speed itself, so the U source shows W.
  Wind[0] = 1.0, Wind[1] = 1.0;
  WindFlag = 3;
  double times[2] = {0.0, 100.0}, row0[3] = {5.0, 1.0, 0.0}, row1[3] = {10.0, 1.0, 0.0};
  double *rows[2] = {row0, row1};
  TimeInNo = 2;
  TimeInTime = times;
  Winn = rows;
  struct Case {
    double time, speed;
  } cases[] = {{50.0, 7.5}, {100.0, 10.0}, {250.0, 10.0}, {0.0, 5.0}};
  for (const Case &k : cases) {
    stimet = k.time;
    clear();
    WindFunction(1);
    EXPECT_NEAR(Csource[2], 0.0012 * k.speed * 2.0, 1e-12) << k.time << " s";
  }
  // A single row holds its own values.
  TimeInNo = 1;
  stimet = 40.0;
  clear();
  WindFunction(1);
  EXPECT_NEAR(Csource[2], 0.0012 * 5.0 * 2.0, 1e-12);
  stimet = 0.0;
  Wind[0] = Wind[1] = 0.0;
  WindFlag = 0;
}

// ---- the Coriolis force -------------------------------------------------------------------------

TEST_F(TwoColumns, CoriolisTurnsTheFlowToTheRight) {
  Coriolis = 1e-4;
  relaxCoriolis = 0.0;
  for (int c = 1; c <= 3; ++c) Cxvel[c] = 1.0, Cyvel[c] = 0.0;
  Cyvel[3] = 0.5;
  clear();
  Equation = 1;
  CoriolisFunction();
  EXPECT_EQ(Csource[1], 0.0);
  EXPECT_NEAR(Csource[3], 2.0 * 1000.0 * 1e-4 * 0.5, 1e-15);
  clear();
  Equation = 2;
  CoriolisFunction();
  for (int c = 1; c <= 3; ++c) {
    EXPECT_NEAR(Csource[c], -0.2, 1e-15) << c;
    EXPECT_EQ(Cap[c], 0.0);
  }
  clear();
  Equation = 3;
  CoriolisFunction();
  EXPECT_EQ(Csource[1], 0.0);
  Coriolis = 0.0;
}

TEST_F(TwoColumns, CoriolisStabilisationWithoutRotation) {
  Coriolis = 0.0;
  relaxCoriolis = 1.0;
  for (int c = 1; c <= 3; ++c) Cxvel[c] = -1.0, Cyvel[c] = 0.3;
  // 1000 |u| sqrt(2 Cvol Ckdist) = 1000 x 1 x sqrt(2).
  for (int e : {1, 2}) {
    clear();
    Equation = e;
    CoriolisFunction();
    for (int c = 1; c <= 3; ++c) {
      EXPECT_NEAR(Cap[c], 1000.0 * std::sqrt(2.0), 1e-9) << e << " " << c;
      EXPECT_EQ(Csource[c], 0.0);
    }
  }
  relaxCoriolis = 0.0;
}

}  // namespace
