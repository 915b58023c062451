// Coefficients of the sediment equation against hand values: the settling
// flux on a vertical face, the Schmidt number, undamped horizontal faces,
// per-size vertical rows, and the bed-slope deflection of the bed load.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/hand_cells.h"
#include "solvers/sediment_coefficients.h"

namespace {

class SedimentCoefficients : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTSC = 3;  // the per-size rows
    BedLoadVectorFlag = 5;
    sou[7] = 1;  // and the second neighbours
    allocateCells(4);
    Equation = 7;
    BedLoadVectorFlag = 0;
    sou[7] = 0;
  }
};

// No water flux, w = 0.01 m/s through a face of 2 m2: F = -20 kg/s, so the
// lower cell receives 20 from the cell above. D = 2·1/1 = 2 gives Pe = 10 and
// no damped diffusion beyond the floor MinGamma/G = 0.001.
TEST_F(SedimentCoefficients, SettlingThroughAVerticalFace) {
  stackColumn(1, 2);
  setFace(1, {1, 2, 6, 5, 2.0, 0.5, 0.5, 0.0});
  Faz[1] = 2.0;
  fallvelo[1] = 0.01;
  CgammaV[1] = CgammaV[2] = 1.0;
  coeff_make1(1, 1);
  EXPECT_NEAR(Cat[1], 20.0 + 0.002, 1e-12);
  EXPECT_NEAR(Cab[2], 0.002, 1e-12);
}

// A horizontal face keeps its whole diffusion at a Peclet number of 50, and
// the Schmidt number divides it.
TEST_F(SedimentCoefficients, SchmidtNumberAndHorizontalFaces) {
  setFace(1, {1, 3, 2, 4, 1.0, 0.5, 0.5, 50.0});
  Cgamma[1] = Cgamma[3] = 1.0;
  struct Case {
    double schmidt, east, west;
  };
  for (const Case &k : {Case{1.0, 1.0, 51.0}, Case{0.5, 2.0, 52.0}}) {
    Schmidt = k.schmidt;
    coeff_make1(1, 1);
    EXPECT_DOUBLE_EQ(Cae[1], k.east) << k.schmidt;
    EXPECT_DOUBLE_EQ(Caw[3], k.west) << k.schmidt;
  }
}

// Second-order scheme on a uniform row of three cells, flow of 2 kg/s to the
// west: the diffusion D = 1 is damped by the power law also on horizontal
// faces (Pe = 2, 0.8^5); face 1 then gives its downstream cell 1 a[N] += 3,
// aa[N] = -1 and the upwind cell 2 a[U] += 1; face 2, with nothing beyond
// cell 3, gives cell 2 plain upwinding, += 2.
TEST_F(SedimentCoefficients, SecondOrderRow) {
  linkEast(1, 2);
  linkEast(2, 3);
  setFace(1, {1, 2, 2, 4, 1.0, 0.5, 0.5, -2.0});
  setFace(2, {2, 3, 2, 4, 1.0, 0.5, 0.5, -2.0});
  for (int c = 1; c <= 3; ++c) {
    Cgamma[c] = 1.0;
    Cidist[c] = 0.5;
  }
  sou[7] = 1;
  coeff_make1(1, 2);
  const double D = 0.32768;
  EXPECT_NEAR(Cae[1], D + 3.0, 1e-12);
  EXPECT_NEAR(Caee[1], -1.0, 1e-12);
  EXPECT_NEAR(Cae[2], D + 1.0 + 2.0, 1e-12);
  EXPECT_NEAR(Caee[2], 0.0, 1e-12);
  EXPECT_NEAR(Caw[2], D, 1e-12);
  EXPECT_NEAR(Caw[3], D, 1e-12);
}

// The horizontal rebuild leaves the vertical faces alone and takes no
// Schmidt number: D = 1, upwind 5 kg/s to the east.
TEST_F(SedimentCoefficients, HorizontalRebuild) {
  stackColumn(1, 2);
  linkEast(1, 3);
  setFace(1, {1, 3, 2, 4, 1.0, 0.5, 0.5, 5.0});
  setFace(2, {1, 2, 6, 5, 1.0, 0.5, 0.5, 0.0});
  Cgamma[1] = Cgamma[3] = 1.0;
  Schmidt = 0.5;
  Cat[1] = Cab[2] = 99.0;
  coeff_make1H(1, 2);
  EXPECT_DOUBLE_EQ(Cae[1], 1.0);
  EXPECT_DOUBLE_EQ(Caw[3], 6.0);
  EXPECT_EQ(Cat[1], 99.0);
  EXPECT_EQ(Cab[2], 99.0);
}

// Several sizes: each settles at its own speed into its vertical rows; the
// horizontal rows are shared.
TEST_F(SedimentCoefficients, VerticalRowsPerSize) {
  stackColumn(1, 2);
  setFace(1, {1, 2, 6, 5, 2.0, 0.5, 0.5, 0.0});
  setFace(2, {1, 3, 2, 4, 1.0, 0.5, 0.5, 3.0});
  Faz[1] = 2.0;
  fallvelo[1] = 0.01;
  CgammaV[1] = CgammaV[2] = 1.0;
  Cgamma[1] = Cgamma[3] = 1.0;
  coeff_make2(1, 2);
  EXPECT_NEAR(Catm[1][1], 20.002, 1e-12);
  EXPECT_NEAR(Cabm[1][2], 0.002, 1e-12);
  EXPECT_DOUBLE_EQ(Caw[3], 4.0);
  EXPECT_DOUBLE_EQ(Cae[1], 1.0);
}

// Two bottom cells with bottoms 0.0 and -0.1 m, 2 m apart (s = -0.05), a
// face of 0.2 m2, both velocities (0, 0.5), k = 0.0025, d = 0.5 mm:
// theta = 0.75/8.09325, d = 0.6/sqrt(theta)·s = -0.0985489 and Fb = 9.85489
// towards the lower cell, by upwinding out of the higher one.
TEST_F(SedimentCoefficients, BedLoadDeflectionDownhill) {
  setFace(1, {1, 2, 2, 4, 0.2, 1.0, 1.0, 0.0});
  Czcenter[1] = 0.5;
  Czcenter[2] = 0.4;
  Ckdist[1] = Ckdist[2] = 0.5;
  Cyvel[1] = Cyvel[2] = 0.5;
  Ckinen[1] = Ckinen[2] = 0.0025;
  gsize[1] = 0.0005;
  density = 2.65;
  BedLoadVectorParam = 0.6;
  struct Case {
    const char *name;
    int flag;
    double drop, expected;
  };
  const double theta = 0.75 / 8.09325;
  const Case cases[] = {
      {"F 78 5", 5, 0.1, 9.85489},
      {"slope of 1 % or less", 5, 0.015, 0.0},
      // theta' = 0.4 theta + 0.06: d = 0.6/sqrt(theta')·s (no limit needed).
      {"F 78 7", 7, 0.1, 0.2 * 1000 * 0.5 * 0.6 / std::sqrt(0.4 * theta + 0.06) * 0.05},
      // A steep slope: d = -1.97 is limited to -1 up to F 78 8, not with 9.
      {"F 78 8, limited", 8, 2.0, 100.0},
      {"F 78 9, unlimited", 9, 2.0, 0.2 * 1000 * 0.5 * (0.6 / std::sqrt(0.4 * theta + 0.06) * 1.0)},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    BedLoadVectorFlag = k.flag;
    Czcenter[2] = 0.5 - k.drop;
    Cawm[1][2] = Caem[1][1] = Capm[1][1] = Capm[1][2] = 0.0;
    coeff_make_bedvector(1, 1);
    EXPECT_NEAR(Cawm[1][2], k.expected, 1e-5);
    EXPECT_NEAR(Capm[1][1], k.expected, 1e-5);
    EXPECT_EQ(Caem[1][1], 0.0);
    EXPECT_EQ(Capm[1][2], 0.0);
  }
  // Cells above the bottom layer are left alone.
  Ccellb[1] = 3;
  Capm[1][1] = 0.0;
  coeff_make_bedvector(1, 1);
  EXPECT_EQ(Capm[1][1], 0.0);
}

}  // namespace
