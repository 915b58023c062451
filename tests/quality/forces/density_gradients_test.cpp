// The density of warm and cold water, the damping of vertical motion in
// layered water and the baroclinic force of the column walk against hand
// values.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "flow/equation_terms/momentum_sources.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"

namespace {

TEST(WaterDensity, PeaksNearFourDegreesAndFallsSymmetrically) {
  struct Case {
    double t, r;
  } cases[] = {{4.029325, 0.9999726}, {0.0, 0.99984224}, {10.0, 0.99969796}, {20.0, 0.99820080}};
  for (const Case &c : cases) EXPECT_NEAR(relativeWaterDensity(c.t), c.r, 5e-9) << c.t;
  for (double x : {0.5, 2.0, 7.3}) EXPECT_DOUBLE_EQ(relativeWaterDensity(4.029325 - x), relativeWaterDensity(4.029325 + x));
}

// One column of three 1 m cells (1 bottom, 2 middle, 3 top) of 1 m3.
class LayeredColumn : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    NoComponents = 1;
    allocate(6, 6, 6, 50);
    NoCells = 3;
    WCStart = 1;
    WCEnd = 3;
    for (int c = 1; c <= 3; ++c) {
      Ccellb[c] = c - 1;
      Ccellt[c] = c < 3 ? c + 1 : 0;
      Ckdist[c] = 0.5;
      Cvol[c] = 1.0;
      Czcenter[c] = c - 0.5;
    }
    TimeStep = 10.0;
    TemperatureFlag = 1;
    relaxDensityTurb = 1.0;
    Seiche1 = 1;
    NoVerttemp = 1;
    Equation = 3;
  }
  static void temperatures(double bottom, double middle, double top) {
    Ccomp[0][1] = bottom, Ccomp[0][2] = middle, Ccomp[0][3] = top;
  }
};

TEST_F(LayeredColumn, StableLayersDampTheVerticalVelocity) {
  temperatures(10.0, 15.0, 20.0);
  for (int c = 1; c <= 3; ++c) Cap[c] = Csource[c] = Czvel[c] = 0.0;
  DensityGradients(3);
  // g(middle) = (r(10) - r(20)) / 2 m = 7.48582e-4 per m, D = 10 x 9810 g.
  EXPECT_NEAR(Cap[2], 73.4359, 1e-4);
  EXPECT_NEAR(Cap[3], 88.4922, 1e-4);
  EXPECT_NEAR(Cap[1], 58.3796, 1e-4);
}

TEST_F(LayeredColumn, ShareOfTheSourceDecidesHowTheDampingActs) {
  struct Case {
    const char *name;
    double bottom, middle, top, source, w;
    double cap, sourceAfter;  // of the middle cell
  } cases[] = {
      {"no source: implicit", 10, 15, 20, 0.0, 0.01, 73.4359, 0.0},
      {"half the source", 10, 15, 20, 0.5, 0.01, 23.4359, 0.0},
      {"more than cancelled", 10, 15, 20, 1.0, 0.01, 0.0, 0.265641},
      {"against the source", 10, 15, 20, 0.5, -0.01, 73.4359, 0.5},
      {"warm under cold", 20, 15, 10, 0.5, 0.01, 0.0, 0.5},
      {"6 above 2 is unstable", 2, 4, 6, 0.0, 0.01, 0.0, 0.0},
  };
  for (const Case &k : cases) {
    temperatures(k.bottom, k.middle, k.top);
    for (int c = 1; c <= 3; ++c) Cap[c] = 0.0, Csource[c] = k.source, Czvel[c] = k.w;
    DensityGradients(3);
    EXPECT_NEAR(Cap[2], k.cap, 1e-4) << k.name;
    EXPECT_NEAR(Csource[2], k.sourceAfter, 1e-6) << k.name;
  }
  // 2 degrees above 4 degrees is stable.
  temperatures(4.0, 4.0, 2.0);
  for (int c = 1; c <= 3; ++c) Cap[c] = Csource[c] = Czvel[c] = 0.0;
  DensityGradients(3);
  EXPECT_GT(Cap[3], 0.0);
}

TEST_F(LayeredColumn, OneCellColumnAndSwitchesGiveNothing) {
  temperatures(10.0, 15.0, 20.0);
  for (int c = 1; c <= 3; ++c) Cap[c] = Csource[c] = Czvel[c] = 0.0;
  Ccellt[3] = Ccellb[3] = 0;  // cell 3 alone
  WCStart = WCEnd = 3;
  DensityGradients(3);
  EXPECT_EQ(Cap[3], 0.0);
  WCStart = 1;
  Ccellt[3] = 0, Ccellb[3] = 2;
  for (auto off : {+[] { relaxDensityTurb = 0.0; }, +[] { TemperatureFlag = 0; }, +[] { NoVerttemp = 0; },
                   +[] { Seiche1 = 0; }}) {
    relaxDensityTurb = 1.0, TemperatureFlag = 1, NoVerttemp = 1, Seiche1 = 1;
    for (int c = 1; c <= 3; ++c) Cap[c] = Csource[c] = Czvel[c] = 0.0;
    off();
    DensityGradients(3);
    for (int c = 1; c <= 3; ++c) EXPECT_EQ(Cap[c], 0.0);
  }
}

// Three columns of two 1 m cells with 1 m2 faces across x: west (1 bottom,
// 2 top), middle (3, 4), east (5, 6). Faces 1, 2 west of the middle cells,
// 3, 4 east of them, 5..8 the outer walls.
class ThreeColumns : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    NoComponents = 1;
    allocate(6, 6, 6, 50);
    NoCells = 6;
    WCStart = 1;
    WCEnd = 6;
    for (int c = 1; c <= 6; ++c) {
      const bool top = c % 2 == 0;
      Ccellb[c] = top ? c - 1 : 0;
      Ccellt[c] = top ? 0 : c + 1;
      Ckdist[c] = 0.5;
      Cvol[c] = 1.0;
      Czcenter[c] = top ? 1.5 : 0.5;
      Ccelle[c] = c <= 4 ? c + 2 : 0;
      Ccellw[c] = c >= 3 ? c - 2 : 0;
      Ccelln[c] = Ccells[c] = 0;
      Cflaten[c] = Cflates[c] = 0;
    }
    const int west[7] = {0, 5, 6, 1, 2, 3, 4}, east[7] = {0, 1, 2, 3, 4, 7, 8};
    for (int c = 1; c <= 6; ++c) Cflatew[c] = west[c], Cflatee[c] = east[c];
    for (int f = 0; f <= 8; ++f) Fax[f] = Fay[f] = f > 0 ? 1.0 : 0.0;
    for (int c = 1; c <= 6; ++c) Ccomp[0][c] = c <= 2 ? 20.0 : (c <= 4 ? 15.0 : 10.0);
    TemperatureFlag = 1;
    relaxDensityTurb = 1.0;
    UMethod = 0;
    Seiche1 = Seiche2 = 0;
    Equation = 1;
  }
  static void clear(double value = 0.0) {
    for (int c = 0; c <= 6; ++c) Cap[c] = Csource[c] = Cdensgradi[c] = Cdensgradj[c] = value;
    for (int f = 0; f <= 8; ++f) Fdgrad[f] = value;
  }
};

TEST_F(ThreeColumns, ColumnWalkPushesTheTopTowardsTheDenseSide) {
  clear();
  DensityGradients(3);
  EXPECT_NEAR(Csource[4], 3.67179, 1e-5);
  EXPECT_NEAR(Csource[3], -3.67179, 1e-5);
  EXPECT_NEAR(Csource[3] + Csource[4], 0.0, 1e-12);
  EXPECT_NEAR(Cdensgradi[4], -3.74291e-4, 1e-9);
  EXPECT_NEAR(Cdensgradi[3], 3.74291e-4, 1e-9);
  EXPECT_EQ(Cdensgradj[4], 0.0);
  // Across the east faces of the middle column: the running difference of
  // the half-cell loads, 0.5 (r(10) - r(15)) per half cell, mean-free.
  const double u = 0.5 * (relativeWaterDensity(10.0) - relativeWaterDensity(15.0));
  EXPECT_NEAR(Fdgrad[4], -u, 1e-12);
  EXPECT_NEAR(Fdgrad[3], u, 1e-12);
  // The V equation gets the same force through Fay.
  clear();
  Equation = 2;
  DensityGradients(3);
  EXPECT_NEAR(Csource[4], 3.67179, 1e-5);
}

TEST_F(ThreeColumns, UniformWaterAndOtherMethodsGiveNothing) {
  for (int c = 1; c <= 6; ++c) Ccomp[0][c] = 12.0;
  clear(5.0);
  DensityGradients(3);
  for (int c = 1; c <= 6; ++c) {
    EXPECT_NEAR(Csource[c], 5.0, 1e-12) << c;
    EXPECT_EQ(Cdensgradi[c], 0.0) << c;
  }
  EXPECT_EQ(Fdgrad[3], 0.0);
  for (int c = 1; c <= 6; ++c) Ccomp[0][c] = c <= 2 ? 20.0 : (c <= 4 ? 15.0 : 10.0);
  UMethod = 11;
  clear();
  DensityGradients(3);
  for (int c = 1; c <= 6; ++c) EXPECT_EQ(Csource[c], 0.0) << c;
}

TEST_F(ThreeColumns, WalkStopsWhereNeighboursLeaveTheLevel) {
  Czcenter[5] = 0.3;  // the east bottom cell lies lower
  clear(7.0);
  DensityGradients(3);
  // The middle column is walked in its top cell alone: the force relative
  // to the column's share is 0 there, and the bottom cell keeps its values.
  EXPECT_NEAR(Csource[4], 7.0, 1e-12);
  EXPECT_EQ(Csource[3], 7.0);
  EXPECT_EQ(Cdensgradi[3], 7.0);
  EXPECT_EQ(Fdgrad[3], 7.0);
  EXPECT_EQ(Cdensgradi[4], 0.0);
}

}  // namespace

namespace {

// Here the depth-mean force of the middle column equals its summed
// cell-by-cell force, 4 x 3.67179 N: F 69 2 and 3 with ratio 1 give the
// column walk's forces, summing to nothing.
TEST_F(ThreeColumns, ColumnMeanMatchesTheWalkOnLevelColumns) {
  for (int method : {2, 3}) {
    Seiche1 = method;
    UMethod = 11;  // not consulted by this method
    clear();
    DensityGradients(3);
    EXPECT_NEAR(Csource[4], 3.67179, 1e-5) << method;
    EXPECT_NEAR(Csource[3], -3.67179, 1e-5) << method;
  }
}

// With F 40 10 the cell-by-cell force is ten times the depth-mean one: F 69 3
// scales it by 0.1, and the column keeps (F2D - 0.1 x sum) x 10 = 9 F2D.
TEST_F(ThreeColumns, LimitedColumnMeanScalesTheCellForce) {
  const double f2d = 9810.0 * (relativeWaterDensity(10.0) - relativeWaterDensity(20.0));
  relaxDensityTurb = 10.0;
  Seiche1 = 3;
  clear();
  DensityGradients(3);
  EXPECT_NEAR(Csource[3] + Csource[4], 9.0 * f2d, 1e-9);
  EXPECT_NEAR(Csource[4], -(0.25 * f2d * 0.1 - 0.5 * f2d) * 10.0, 1e-9);
  Seiche1 = 2;
  clear();
  DensityGradients(3);
  EXPECT_NEAR(Csource[3] + Csource[4], 0.0, 1e-9);
}

}  // namespace

namespace {

// Level neighbours: the equal-depth integrals are built from the neighbours'
// own cells, and the force is that of the column walk.
TEST_F(ThreeColumns, EqualDepthOnLevelColumnsMatchesTheWalk) {
  Seiche2 = 3;
  UMethod = 11;
  clear();
  DensityGradients(3);
  EXPECT_NEAR(Csource[4], 3.67179, 1e-5);
  EXPECT_NEAR(Csource[3], -3.67179, 1e-5);
  EXPECT_EQ(Cdensgradi[4], 0.0);  // this method leaves the face-flux values alone
}

// The middle and west columns' cells are raised by 0.5 m (surface 2.5 m);
// the east column is a single cell from 0.5 to 1.3 m. At the same depths
// below its surface the east column holds no water for either middle cell:
// the east side is absent and the differences are one-sided.
TEST_F(ThreeColumns, ShallowNeighbourCountsAsAbsent) {
  for (int c = 1; c <= 4; ++c) Czcenter[c] += 0.5;
  Ccellt[5] = 0;  // cell 6 leaves the grid
  Ccelle[4] = 5;
  Czcenter[5] = 0.9;
  Ckdist[5] = 0.4;
  WCEnd = 5;
  Seiche2 = 3;
  clear();
  DensityGradients(3);
  // Bottom cell 3: west integral 2 x 0.5 r(20) + 0.5 r(20), own likewise
  // with r(15); Gi = I_c - I_w. Top cell 4: Gi = 0.5 (r15 - r20).
  const double r15 = relativeWaterDensity(15.0), r20 = relativeWaterDensity(20.0);
  const double g3 = 1.5 * (r15 - r20);
  const double g4 = 0.5 * (r15 - r20);
  const double f3 = 9810.0 * 0.5 * 2.0 * g3, f4 = 9810.0 * 0.5 * 2.0 * g4;
  EXPECT_NEAR(Csource[3], -(f3 - 0.5 * (f3 + f4)), 1e-9);
  EXPECT_NEAR(Csource[4], -(f4 - 0.5 * (f3 + f4)), 1e-9);
}

}  // namespace
