// The stiffness coefficients of the soil-stress equations by hand on the
// channel case (cells of 1 x 1 x 1/9 m): a pair of stacked cells and a pair
// of side neighbours, and the bed face of a bottom cell.
#include "solvers/stress_coefficients.h"

#include <gtest/gtest.h>

#include <cmath>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class StressCoefficients : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("channel");
    ASSERT_FALSE(HasFatalFailure());
    Unstructure();
    metric();
    EModulus = 1e7;
    lower_ = static_cast<int>(zval[5][3][0]);
    upper_ = Ccellt[lower_];
    level_ = Cflatet[lower_];
    side_ = Cflatee[upper_];
    east_ = Ccelle[upper_];
  }

  static void fill(double value) {
    for (double *a : {Cae, Caw, Can, Cas, Cat, Cab}) {
      for (int c = 0; c <= NoCells; ++c) a[c] = value;
    }
  }
  static double dist(int f) { return Fdist1[f] + Fdist2[f]; }

  int lower_ = 0, upper_ = 0, level_ = 0, side_ = 0, east_ = 0;
};

TEST_F(StressCoefficients, ElasticStiffnessByPoissonRatio) {
  FlagStressStrain = 9;
  struct Row {
    double nu, normal, shear;  // divisors of E A / d
  };
  for (const Row &r : {Row{0.0, 1.0, 2.0}, Row{0.5, 0.75, 2.5}}) {
    PoissonRatio = r.nu;
    const double kLevel = EModulus * Farea[level_] / dist(level_), kSide = EModulus * Farea[side_] / dist(side_);
    fill(-1.0);
    coeff_make_stress(3, 1, NoSurfaces);  // z: normal across level faces
    EXPECT_NEAR(Cat[lower_], kLevel / r.normal, 1e-6 * kLevel) << r.nu;
    EXPECT_NEAR(Cab[upper_], kLevel / r.normal, 1e-6 * kLevel);
    EXPECT_NEAR(Cae[upper_], kSide / r.shear, 1e-6 * kSide);
    EXPECT_NEAR(Caw[east_], kSide / r.shear, 1e-6 * kSide);
    EXPECT_EQ(Cab[lower_], 0.0) << "the bed face of a bottom cell";
    coeff_make_stress(1, 1, NoSurfaces);  // x: normal across side faces
    EXPECT_NEAR(Cat[lower_], kLevel / r.shear, 1e-6 * kLevel);
    EXPECT_NEAR(Cae[upper_], kSide / r.normal, 1e-6 * kSide);
  }
}

TEST_F(StressCoefficients, ConstrainedCompressionWritesFourArrays) {
  FlagStressStrain = 5;
  PoissonRatio = 0.25;
  MModulus = 8e6;
  fill(-1.0);
  coeff_make_stress(3, 1, NoSurfaces);
  const double k = Faz[level_] * MModulus;
  EXPECT_NEAR(Cat[lower_], k / dist(level_), 1e-6 * k);
  EXPECT_NEAR(Cab[upper_], k / dist(level_), 1e-6 * k);
  EXPECT_EQ(Cab[lower_], 0.0);
  EXPECT_EQ(Cae[east_], 0.0) << "Faz of a side face is 0";
  EXPECT_EQ(Caw[east_], -1.0);
  EXPECT_EQ(Can[upper_], -1.0);
}

TEST_F(StressCoefficients, SwitchedStiffnessFollowsTheFlux) {
  FlagStressStrain = 2;
  const double a = 0.5 * EModulus * Farea[side_];
  for (double flux : {-1.0, 1.0}) {
    for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = flux;
    fill(-1.0);
    coeff_make_stress(2, 1, NoSurfaces);
    ASSERT_EQ(Fcell1[side_], upper_);
    EXPECT_NEAR(Cae[upper_], flux < 0 ? a / Fdist1[side_] : 0.0, 1e-6 * a) << flux;
    EXPECT_NEAR(Caw[east_], flux > 0 ? a / Fdist2[side_] : 0.0, 1e-6 * a) << flux;
    EXPECT_EQ(Cab[upper_], 0.0);
    const double top = 0.5 * EModulus * std::fabs(Fay[level_]) / Fdist1[level_];
    EXPECT_EQ(Cat[lower_], flux < 0 ? top : -1.0);
  }
  fill(-1.0);
  coeff_make_stress(3, 1, NoSurfaces);
  EXPECT_NEAR(Cat[lower_], EModulus * Faz[level_] / (Ckdist[lower_] + Ckdist[upper_]), 1e-3);
}

TEST_F(StressCoefficients, OtherVariantsBuildNothing) {
  for (int variant : {0, 4, 7}) {
    FlagStressStrain = variant;
    fill(-1.0);
    coeff_make_stress(3, 1, NoSurfaces);
    EXPECT_EQ(Cat[lower_], -1.0) << variant;
    EXPECT_EQ(Cae[upper_], -1.0) << variant;
  }
}

}  // namespace
