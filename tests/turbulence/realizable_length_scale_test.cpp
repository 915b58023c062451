// The realizable viscosity on worked shear and uniform flows, and epsilon
// from k and a length for the models without an epsilon equation.
#include <gtest/gtest.h>

#include <string>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/realizable_length_scale.h"

namespace {

using Realizable = BoxCells;

// Three columns of three 1 m boxes; the middle cell of the middle column has
// all its vertical and along-channel neighbours.
void threeByThree(double u(double z)) {
  BoxCells::build(3, 3, 1.0, 1.0, 1.0);
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = u(Czcenter[c]);
    Ckinen[c] = 0.01;
    Cepsilon[c] = 0.001;
  }
}

TEST_F(Realizable, SimpleShear) {
  // u = z (1/s): U* = sqrt(0.75), As = 2.54 cos(pi/6), Cmu = 1/(4.04 + As k U*/epsilon).
  threeByThree([](double z) { return z; });
  TurbulenceModel = 17;
  const int c = cell(1, 1);
  GammaCalcRealizable(c, c);
  EXPECT_NEAR(Cgamma[c], 4.33088, 5e-5);
  Cgamma[c] = 0.0;
  GammaCalc(1, NoCells);  // the model value passes unchanged, without MinGamma
  EXPECT_NEAR(Cgamma[c], 4.33088, 5e-5);
  EXPECT_DOUBLE_EQ(CgammaV[c], Cgamma[c]);
}

TEST_F(Realizable, UniformFlowTakesTheStandardCoefficient) {
  threeByThree([](double) { return 0.5; });
  TurbulenceModel = 17;
  GammaCalc(1, NoCells);
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Cgamma[c], 90.0 * 0.01 * 0.01 / 0.001) << c;
}

TEST_F(Realizable, RelaxedStandardValueWithF235) {
  threeByThree([](double z) { return z; });
  TurbulenceModel = 17;
  FlagCorrTrekant = 24;
  const int c = cell(1, 1);
  Cgamma[c] = 1.0;
  GammaCalc(c, c);
  EXPECT_NEAR(Cgamma[c], 0.5 * (9.0 + 0.001) + 0.5, 1e-12);
}

using LengthScale = BoxCells;

TEST_F(LengthScale, EpsilonFromKAndALength) {
  build(1, 4, 1.0, 1.0, 0.5);  // a column 2 m deep
  for (int c = 1; c <= NoCells; ++c) {
    Ckinen[c] = 0.01;
    Cgamma[c] = 9.001;
  }
  TurbulenceModel = 18;
  computeEpsilon();
  EXPECT_NEAR(Cepsilon[2], 1.11099e-5, 1e-10);
  TurbulenceModel = 20;
  coeffEpsilon = 1.0;
  computeEpsilon();
  for (int c = 1; c <= NoCells; ++c) EXPECT_NEAR(Cepsilon[c], 0.0005, 1e-15) << c;
  coeffEpsilon = 2.0;
  computeEpsilon();
  EXPECT_NEAR(Cepsilon[1], 0.001, 1e-15);
}

TEST_F(LengthScale, AModelWithoutItsLengthEndsTheRun) {
  build(1, 2, 1.0, 1.0, 0.5);
  ASSERT_EQ(BTheight, nullptr) << "no density-current statistics in this run";
  for (int model : {19, 0}) {
    writeFile("boogie", "");
    TurbulenceModel = model;
    EXPECT_EXIT(computeEpsilon(), ::testing::ExitedWithCode(248), "") << model;
    EXPECT_EQ(readFile("boogie"), "Error in combination of F 24 and F 328 in control file\n\n") << model;
  }
}

}  // namespace
