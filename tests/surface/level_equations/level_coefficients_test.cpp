// What the level equation is built from: the neighbour weight of every F 278
// variant, the target level differences, the limiting depth of F 246, the
// five- and nine-point builders on the channel's 10 x 4 columns, the fixed
// columns and the kept change.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "flow/flow_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/level_equations/level_coefficients.h"
#include "surface/surface_fixture.h"

namespace {

struct WeightRow {
  int variant, algorithm;
  double x, F, r;
};

// Hand values: 0.03 + x / F downstream below F 1; F times the upstream
// weight above it; F 36 7 damps by F - 1 and lifts by 4 - 4F.
constexpr WeightRow kWeights[] = {
    {0, 4, 1.0, 0.5, 2.03},   {0, 4, 0.05, 0.5, 0.08}, {0, 4, -1.0, 1.5, 1.5},    {0, 4, -0.1, 1.5, 0.075},
    {0, 4, 0.5, 1.0, 0.0},    {0, 7, 1.0, 0.5, 2.03},  {0, 7, -1.0, 1.5, 0.5},    {0, 7, 0.5, 0.8, 0.53},
    {1, 4, 0.5, 0.5, 0.25},   {1, 4, -0.5, 0.5, 0.0},  {2, 4, -0.5, 0.5, 0.1},    {2, 4, 0.5, 0.5, 0.35},
    {3, 4, 0.5, 0.3, 0.5},    {4, 4, 0.5, 1.0, 0.5},   {5, 4, -0.7, 3.0, 1.0},    {6, 4, -0.1, 1.0, 1.0},
    {6, 4, -0.2, 1.0, 0.0},   {7, 4, 0.0, 1.5, 0.5},   {7, 4, -1.0, 3.0, 2.0},    {8, 4, 0.5, 0.5, 1.0},
    {8, 4, -0.5, 0.5, 0.0},   {9, 4, 0.0, 0.0, 1.0},   {10, 4, -0.5, 0.7, 5.0},   {11, 4, -0.5, 1.5, 35.0},
    {12, 4, -0.5, 1.5, 0.0},  {12, 4, 0.5, 1.5, 10.5}, {13, 4, 0.5, 1.0, 0.5},    {13, 4, 0.5, 0.4, 2.0},
    {15, 4, 0.5, 1.1, 0.5},   {19, 4, 0.5, 1.0, 1.0},  {19, 4, 0.5, 1.4, 0.0},    {21, 4, 0.4, 9.0, 0.4},
    {22, 4, 0.5, 0.5, 0.0},
};


}  // namespace

TEST(LevelWeight, EveryVariantByHand) {
  SurfSmoothFlag = 0;
  AddValTFS7 = 0.0;
  solverFroudeLimit = 1.2;  // the limit of row 15
  for (const WeightRow &row : kWeights) {
    FlagTFS3 = row.variant;
    FlagTFS = row.algorithm;
    EXPECT_NEAR(computeCoeffSurf(row.x, row.F, 7.0), row.r, 1e-6)
        << "F 278 " << row.variant << ", F 36 " << row.algorithm << ", x " << row.x << ", F " << row.F;
  }
  // The tanh rows: an upstream neighbour weighs about 1.
  FlagTFS3 = 14;
  EXPECT_NEAR(computeCoeffSurf(-1.0, 5.0, 0.0), 1.0, 1e-6);
  // F 36 0 takes the fallback weight; the additions of F 154 5 and F 406.
  FlagTFS3 = 3;
  FlagTFS = 0;
  EXPECT_EQ(computeCoeffSurf(0.5, 0.5, 7.0), 7.0);
  FlagTFS = 4;
  FlagTFS3 = 5;
  SurfSmoothFlag = 5;
  SurfSmoothVal = 0.25;
  AddValTFS7 = 0.125;
  EXPECT_EQ(computeCoeffSurf(0.5, 0.5, 7.0), 1.375);
  SurfSmoothFlag = 4;
  EXPECT_EQ(computeCoeffSurf(0.5, 0.5, 7.0), 1.125);
}

class LevelCoefficients : public SurfaceFixture {
 protected:
  static int bottom(int i, int j) { return static_cast<int>(zval[i][j][0]); }
  static int top(int i, int j) { return topCell(i, j); }
};

// 981 Pa over 10 m is a slope of 0.01: 0.1 m, less what the surfaces
// already differ.
TEST_F(LevelCoefficients, TargetDifferencesFromPressureAndFriction) {
  channelAt(0.0);
  const int c = top(5, 3), nb = top(6, 3);
  Cpres[c] = 981.0;
  EXPECT_NEAR(computeDhSurf(nb, c, 10.0), 0.1, 1e-12);
  EXPECT_NEAR(computeDhSurf2(nb, c, 10.0), 0.1, 1e-12);
  Diffslope = 0.005;
  EXPECT_NEAR(computeDhSurf(nb, c, 10.0), 0.05, 1e-12);
  Diffslope = 100.0;
  FlagScaleFreeSource = 3;
  scaleBackwater2 = 0.5;
  EXPECT_NEAR(computeDhSurf(nb, c, 10.0), 0.05, 1e-12);
  EXPECT_NEAR(computeDhSurf2(nb, c, 10.0), 0.1, 1e-12);  // never scaled
  FlagScaleFreeSource = 0;
  Czcenter[c] += 0.02;  // the surface of c already 0.02 m higher
  EXPECT_NEAR(computeDhSurf(nb, c, 10.0), 0.08, 1e-12);
  Czcenter[c] -= 0.02;
  // 1 m3/s through a 1 m2 top face between two top cells of 1/18 m half
  // height: S = 1 / (50^2 (1/9)^1.33333) = 0.0074882.
  Fflux[Cflatee[c]] = 1000.0;
  EXPECT_NEAR(computeDhMann(c, nb, Cflatee[c], 1, 1.0, 50.0), 0.00748824691825211, 1e-9);
  EXPECT_NEAR(computeDhMann(c, nb, Cflatee[c], -1, 1.0, 50.0), -0.00748824691825211, 1e-9);
  EXPECT_NEAR(computeDist1(top(2, 2), top(5, 6 - 1)), std::hypot(3.0, 3.0), 1e-12);
}

// Limiting depths for U = 2 m/s; a steep bed (Fvz 0.8, roughness 0.1 m)
// takes the normal depth, a flat one the critical depth.
TEST_F(LevelCoefficients, LimitingDepthOfEveryRow) {
  channelAt(0.0);
  const int c = bottom(5, 3);
  Croughness[c] = 0.1;
  struct Row {
    int variant;
    double fvz, F, depth;
  };
  const Row rows[] = {
      {0, 1.0, 0.9, 0.0},   {0, 1.0, 1.5, 0.2374666570807124}, {0, 0.8, 1.5, 0.012687668567028071},
      {0, 0.9, 1.5, 0.2374666570807124},  // exactly 0.9 is not steep
      {1, 1.0, 1.5, 0.0},   {2, 1.0, 0.9, 0.0},                {2, 1.0, 1.5, 4.905},
      {2, 1.0, 2.5, 9.81},  {5, 1.0, 0.9, 0.0},                {5, 1.0, 1.5, 2.0 / 9.81},
      {9, 0.8, 1.5, 0.01669832835796196},   {9, 1.0, 0.5, 0.0},
      {10, 0.8, 0.8, 0.0},  {10, 0.8, 0.95, 0.0031719171417516193},
      {11, 1.0, 1.05, 0.12034330260485451}, {11, 0.8, 0.5, 0.0},
      {3, 1.0, 1.5, 0.0},
  };
  for (const Row &row : rows) {
    FlagSurfLimit3 = row.variant;
    Fvz[Cflateb[c]] = row.fvz;
    EXPECT_NEAR(computeLimdepth(c, row.F, 2.0), row.depth, 1e-9)
        << "F 246 third value " << row.variant << ", Fvz " << row.fvz << ", F " << row.F;
  }
}

// F 278 5: every weight 1 over the 1 m distance, so the five-point equation
// is the mean of the neighbours plus the target differences. 98.1 Pa under
// column (5, 3) asks for 0.01 m more than each of its four neighbours.
TEST_F(LevelCoefficients, FivePointWeightsAndSources) {
  channelAt(0.0);
  FlagTFS = 4;
  FlagTFS3 = 5;
  iPres = 11;
  jPres = 3;
  GlobZRef = 1.05;
  Cpres[top(5, 3)] = 98.1;
  computeCoeffTFS4();
  const int c = bottom(5, 3);
  EXPECT_EQ(Cae[c], 1.0);
  EXPECT_EQ(Caw[c], 1.0);
  EXPECT_EQ(Can[c], 1.0);
  EXPECT_EQ(Cas[c], 1.0);
  EXPECT_NEAR(Cap[c], 4.0, 1e-12);
  EXPECT_NEAR(Csource[c], 0.04, 1e-12);
  EXPECT_NEAR(Csource[bottom(4, 3)], -0.01, 1e-12);
  // A corner column has two neighbours.
  EXPECT_NEAR(Cap[bottom(2, 2)], 2.0, 1e-12);
  EXPECT_EQ(Caw[bottom(2, 2)], 0.0);
  // The reference column is held at the change up to GlobZRef.
  EXPECT_EQ(Cap[bottom(11, 3)], 1e20);
  EXPECT_NEAR(Csource[bottom(11, 3)] / 1e20, 0.05, 1e-12);
  // Cells above the bottom cells keep the start values.
  EXPECT_EQ(Cap[Ccellt[c]], 0.0001);
  EXPECT_EQ(Cf[c], 0.0);
}

// A column cut off from its neighbours: no weight, change 0, unless the
// second value of F 246 makes the centre coefficient 1.
TEST_F(LevelCoefficients, AColumnWithoutNeighbours) {
  channelAt(0.0);
  FlagTFS = 4;
  FlagTFS3 = 5;
  iPres = 11;
  jPres = 3;
  const int c = bottom(5, 3);
  Ccelle[c] = Ccellw[c] = Ccelln[c] = Ccells[c] = 0;
  struct Row {
    int second;
    double cap, source;
  };
  for (const Row &row : {Row{0, 1e-20, 0.0}, Row{2, 1.0, 0.0}, Row{5, 1.0, 0.0}, Row{7, 1e-20, 0.05}}) {
    FlagSurfLimit2 = row.second;
    computeCoeffTFS4();
    EXPECT_EQ(Cap[c], row.cap) << row.second;
    EXPECT_NEAR(Csource[c], row.source, 1e-15) << row.second;
  }
}

// u = 4 m/s in a 1 m deep column: F = 1.277 over a flat bed, so the
// surface may not drop below the critical depth (4 / 3.1321)^(2/3) = 1.1771
// m: every target difference is at least 0.1771 m. F 246 first value 1
// applies it to the upstream (west) neighbour only, 2 to all four.
TEST_F(LevelCoefficients, SupercriticalLowerLimit) {
  channelAt(0.0);
  FlagTFS = 4;
  FlagTFS3 = 5;
  iPres = 11;
  jPres = 3;
  for (int k = 1; k <= NoCells; ++k) Cxvel[k] = 4.0;
  const int c = bottom(5, 3);
  Fvz[Cflateb[c]] = 1.0;
  const double lift = 0.17710984426730736;
  FlagSurfLimit1 = 1;
  computeCoeffTFS4();
  EXPECT_NEAR(Csource[c], lift, 1e-9);
  FlagSurfLimit1 = 2;
  computeCoeffTFS4();
  EXPECT_NEAR(Csource[c], 4.0 * lift, 1e-9);
  // A bed normal of exactly 0.9 is neither steep nor flat here: no limit.
  Fvz[Cflateb[c]] = 0.9;
  computeCoeffTFS4();
  EXPECT_NEAR(Csource[c], 0.0, 1e-12);
  Fvz[Cflateb[c]] = 1.0;
  FlagSurfLimit1 = 0;
  computeCoeffTFS4();
  EXPECT_NEAR(Csource[c], 0.0, 1e-12);
  // F 322 adds F times its value to the centre.
  FlagTimeSurf = 2;
  computeCoeffTFS4();
  EXPECT_NEAR(Cap[c], 4.0 + 2.0 * 4.0 / std::sqrt(9.81), 1e-9);
}

// The nine-point form weights by the distance: 1 to the sides, sqrt(2) to
// the corners.
TEST_F(LevelCoefficients, NinePointWeightsGrowWithTheDistance) {
  FlagTFS = 8;
  channelAt(0.0);
  FlagTFS3 = 5;
  iPres = 11;
  jPres = 3;
  GlobZRef = 1.0;
  computeCoeffTFS8();
  const int c = bottom(5, 3);
  for (double *side : {Can, Cas, Cae, Caw}) EXPECT_NEAR(side[c], 1.0, 1e-12);
  for (double *corner : {Cann, Cass, Caee, Caww}) EXPECT_NEAR(corner[c], std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(Cap[c], 4.0 + 4.0 * std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(Csource[c], 0.0, 1e-12);
  // Column (2, 2) has three neighbours: north, east and north-east.
  EXPECT_NEAR(Cap[bottom(2, 2)], 2.0 + std::sqrt(2.0), 1e-12);
  EXPECT_EQ(zval[11][3][znumber + 1], 1.0);
}

// The reference group: only faces of bottom cells fix their columns; with
// F 36 9 the fixed value is the level itself, the groups add their
// discharge per plan area, and no column starts below GlobZRef.
TEST_F(LevelCoefficients, BoundaryColumns) {
  channelAt(0.0);
  clearCoefficients();
  setGroup(1, 1, 1000.0, upstreamFaces());
  setGroup(2, 0, 1000.0, downstreamFaces());
  DischargeArray[1] = DischargeArray[2] = 1000.0;
  iPres = 6;
  jPres = 3;
  kSurf = 2;
  jSurf = 0;
  GlobZRef = 1.05;
  FlagTFS = 4;
  setSurfaceBoundary();
  for (int j = 2; j <= 5; ++j) {
    EXPECT_EQ(Cap[bottom(11, j)], 1e20) << j;
    EXPECT_NEAR(Csource[bottom(11, j)] / 1e20, 0.05, 1e-12);
    EXPECT_EQ(Cap[Ccellt[bottom(11, j)]], 0.0) << "a face above the bed fixes nothing";
    EXPECT_EQ(Cap[bottom(2, j)], 0.0);
  }
  EXPECT_EQ(Cap[bottom(6, 3)], 1e20);

  clearCoefficients();
  FlagTFS = 9;
  for (int k = 0; k <= NoCells; ++k) Cf[k] = 0.0;
  Cf[bottom(4, 4)] = 2.0;
  setSurfaceBoundary();
  EXPECT_NEAR(Csource[bottom(11, 4)] / 1e20, 1.05, 1e-12);
  // 1 m3/s over the 4 m2 inlet: 0.25 m/s into each 1 m2 column.
  const int in = bottom(2, 4);
  EXPECT_NEAR(Csource[in] * Faz[Cflateb[in]], 0.25, 1e-12);
  EXPECT_NEAR(Cf[bottom(5, 4)], 1.05, 1e-15);
  EXPECT_EQ(Cf[bottom(4, 4)], 2.0);
  // With a second reference the floor does not apply.
  jSurf = 1;
  iPres2 = 2;
  jPres2 = 2;
  Cf[bottom(5, 4)] = 0.0;
  setSurfaceBoundary();
  EXPECT_EQ(Cf[bottom(5, 4)], 0.0);
}

TEST_F(LevelCoefficients, KeptChangePerColumn) {
  FlagTFS2 = 3;
  channelAt(0.0);
  ASSERT_NE(Bdeltah, nullptr);
  const int c = bottom(5, 3);
  Cf[c] = 0.2;
  computeBDeltah();
  EXPECT_EQ(Bdeltah[Cbed[c]], 0.2);
  FlagTFS2 = 4;
  Cf[c] = 0.4;
  computeBDeltah();
  EXPECT_NEAR(Bdeltah[Cbed[c]], 0.3, 1e-15);
  FlagTFS2 = 1;
  Cf[c] = 5.0;
  computeBDeltah();
  EXPECT_NEAR(Bdeltah[Cbed[c]], 0.3, 1e-15);
}
