// The formulas of the near-bed concentration against hand values: one grain
// of 0.2 mm (s = 2.65) under a bed shear of 0.5 Pa, the reference level at
// 0.05 m, every other setting at its default.
#include <gtest/gtest.h>

#include <cmath>

#include "grid/geometry/plane_vectors.h"
#include "model/settings.h"
#include "sediment/transport/bed_forms.h"
#include "sediment/transport/critical_shear.h"
#include "sediment/transport/near_bed_concentration.h"
#include "startup/control_reader.h"
#include "support/work_folder.h"

namespace {

class TransportFormulas : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    gsize[1] = 0.0002;
  }
};

constexpr double kTau = 0.5, kD = 0.0002;

// The Reynolds number of the grain under 0.5 Pa: sqrt(0.001 0.5) 0.0002 / 1e-6.
double grainReynolds() { return std::sqrt(0.001 * kTau) * kD / 1e-6; }

void expectRelative(double got, double expected, double tolerance, const char *what) {
  EXPECT_NEAR(got, expected, tolerance * std::fabs(expected)) << what;
}

TEST_F(TransportFormulas, ShieldsCurveZero) {
  struct Row {
    double re, theta;
  };
  // The polynomial from 0.2 to 500; its own jump at 0.2 stays.
  const Row rows[] = {{0.2, 0.875520},          {1.0, 0.100315},   {10.0, 0.0342184}, {100.0, 0.0442145},
                      {500.0, 0.0624927},       {0.19999, 0.6},    {500.001, 0.0624927},
                      {grainReynolds(), 0.0403477}};
  for (const Row &r : rows) expectRelative(shieldsParameter(0, r.re), r.theta, 5e-6, "curve 0");
  // Curves 1..3 take Re within 0.01..100000.
  EXPECT_DOUBLE_EQ(shieldsParameter(1, 1e-9), shieldsParameter(1, 0.01));
  EXPECT_DOUBLE_EQ(shieldsParameter(3, 1e9), shieldsParameter(3, 100000.0));
  EXPECT_NEAR(shieldsParameter(2, 0.01), 0.075 * (1.0 - 0.699 * std::exp(-0.00015)) + 0.028 / 1.21, 1e-15);
}

TEST_F(TransportFormulas, CriticalShearAndVanRijn) {
  const double weight = 1.65 * 9810.0;
  const double tauC = shieldsParameter(0, grainReynolds()) * weight * kD + 1e-20;
  expectRelative(tauC, 0.130618, 5e-6, "critical shear, curve 0");
  EXPECT_LT(constantShieldsFactor(), 0.0) << "the default F 11 takes the curve";
  shieldscoeff = 0.047;
  expectRelative(constantShieldsFactor() * kD, 0.152153, 1e-6, "F 11 2.65 0.047");

  // The power 0.3333 of the dimensionless grain size, not the cube root.
  const double dfac = std::pow(1.65 * 9810000000000.0, 0.3333);
  expectRelative(dfac, 25270.32, 1e-6, "Dfac");
  const double stage = (kTau - tauC) / tauC;
  expectRelative(stage, 2.82797, 2e-6, "transport stage");
  expectRelative(vanRijnConcentration(kD, stage, 0.05, dfac), 1.75497e-4, 5e-6, "van Rijn at 0.05 m");

  // F 60 1 with h = 1 m, w = 0.025 m/s: a = 0.01 m, Z = 2 (limited), and the
  // profile carries the concentration up to the cell centre at 0.05 m.
  const double atA = vanRijnConcentration(kD, stage, 0.01, dfac);
  expectRelative(atA, 8.77487e-4, 5e-6, "van Rijn at 0.01 m");
  const double rouse = std::min(HRzmax, 2.5 * 0.025 / std::sqrt(0.001 * kTau + 1e-20));
  EXPECT_EQ(rouse, 2.0);
  expectRelative(profileTransfer(0.01, 0.05, 1.0, rouse), 0.0368330, 5e-6, "profile factor");
  expectRelative(atA * profileTransfer(0.01, 0.05, 1.0, rouse), 3.23205e-5, 5e-6, "carried up");
  // Downwards the factor divides, and within 1e-5 of the level nothing moves.
  expectRelative(profileTransfer(0.05, 0.01, 1.0, rouse), 1.0 / 0.0368330, 5e-6, "carried down");
  EXPECT_EQ(profileTransfer(0.05, 0.05 + 5e-6, 1.0, rouse), 1.0);
  // The factor keeps within F 110's lower limit.
  EXPECT_EQ(profileTransfer(0.001, 0.5, 1.0, 2.0), HRmulmin);
}

TEST_F(TransportFormulas, ExceedanceFactor) {
  const double tauC = 0.130618;
  expectRelative(exceedanceFactor(tauC, 1e6 * tauC), 0.986866, 2e-6, "tau >> tauc");
  expectRelative(exceedanceFactor(tauC, 2.0 * tauC), 0.866740, 2e-6, "tau = 2 tauc");
  EXPECT_NEAR(exceedanceFactor(tauC, tauC), 0.5, 1e-8);
}

TEST_F(TransportFormulas, GrainStatistics) {
  gsize[1] = 0.004;
  gsize[2] = 0.002;
  gsize[3] = 0.001;
  const double f[] = {0.0, 0.1, 0.3, 0.6};
  const GrainStatistics g = grainStatistics(f, 3);
  EXPECT_NEAR(g.d90, 0.25 * 0.002 + 0.75 * 0.004, 1e-15);
  const double t = 2.0 * 0.25 / 0.9;
  EXPECT_NEAR(g.d50, t * 0.001 + (1.0 - t) * 0.002, 1e-15);
  EXPECT_NEAR(g.dm, 0.1 * 0.004 + 0.3 * 0.002 + 0.6 * 0.001, 1e-15);
  // A bed of the coarsest size only, and one of the finest only.
  const double coarse[] = {0.0, 1.0, 0.0, 0.0};
  EXPECT_EQ(grainStatistics(coarse, 3).d90, 0.004);
  EXPECT_EQ(grainStatistics(coarse, 3).d50, 0.004);
  const double fine[] = {0.0, 0.0, 0.0, 1.0};
  // 90 % lies above the centre of the finest class: the interpolation reaches
  // into the class above it.
  EXPECT_NEAR(grainStatistics(fine, 3).d90, 0.2 * 0.001 + 0.8 * 0.002, 1e-15);
  EXPECT_EQ(grainStatistics(fine, 3).d50, 0.001);
  // One size is its own d90, d50 and mean.
  const double one[] = {0.0, 0.7};
  const GrainStatistics single = grainStatistics(one, 1);
  EXPECT_EQ(single.d90, 0.004);
  EXPECT_EQ(single.d50, 0.004);
  EXPECT_EQ(single.dm, 0.004);
}

TEST_F(TransportFormulas, PlaneCosine) {
  EXPECT_NEAR(dotproduct(3.0, 4.0, 6.0, 8.0), 1.0, 1e-15);
  EXPECT_NEAR(dotproduct(1.0, 0.0, 0.0, 2.0), 0.0, 1e-15);
  EXPECT_NEAR(dotproduct(1.0, 1.0, -2.0, -2.0), -1.0, 1e-15);
  EXPECT_EQ(dotproduct(0.0, 0.0, 1.0, 0.0), 0.0) << "a zero vector";
}

// A bed face at 30 degrees, the flow straight downslope (r = 1, so the
// interpolated cotangent is the downslope one, 0.78), K at least 0.2.
TEST_F(TransportFormulas, SlopeFactors) {
  const double alpha = 30.0 * 3.141592652 / 180.0, tu = 1.23, td = 0.78, m = 0.2;
  expectRelative(slopeFactor(7, 1.0, alpha, 0.0, td, tu, m), 0.642067, 2e-6, "option 7");
  expectRelative(slopeFactor(9, 1.0, alpha, 0.0, td, tu, m), 0.718031, 2e-6, "option 9");
  expectRelative(slopeFactor(5, 1.0, alpha, 0.0, td, tu, m), 0.503059, 2e-6, "option 5");
  // Brooks' form with the flow along the slope and no lateral tilt is 1.
  EXPECT_NEAR(slopeFactor(1, 1.0, alpha, 0.0, td, tu, m), 1.0, 1e-12);
  for (int option = 1; option <= 10; ++option) {
    const double flat = slopeFactor(option, 0.3, 0.0, 0.0, 1.0, tu, m);
    EXPECT_NEAR(flat, option == 5 || option == 6 ? 0.954 : 1.0, 1e-12) << "flat bed, option " << option;
  }
  // Steeper than the angle of repose: the lower limit.
  EXPECT_EQ(slopeFactor(9, 1.0, 1.0, 0.0, td, tu, m), m);
  EXPECT_EQ(slopeFactor(7, 1.0, 1.2, 0.0, td, tu, m), m);
}

TEST_F(TransportFormulas, BedFormsAndRoughness) {
  const double stage = 2.82797;
  expectRelative(bedFormHeight(1, stage, 1.0, kD, 0.0, kTau, 0.0), 0.143385, 5e-6, "formula 1");
  // Formula 0 keeps half the bed's thickness and three depths at most.
  expectRelative(bedFormHeight(0, stage, 1.0, kD, 0.0, kTau, 20.0), 0.143385, 5e-6, "formula 0, thick bed");
  EXPECT_NEAR(bedFormHeight(0, stage, 1.0, kD, 0.0, kTau, 0.1), 0.05, 1e-15);
  // Sheet flow and a bed at rest carry no bed forms.
  EXPECT_EQ(bedFormHeight(0, 25.5, 1.0, kD, 0.0, kTau, 20.0), 0.0);
  EXPECT_EQ(bedFormHeight(1, 0.0, 1.0, kD, 0.0, kTau, 20.0), 0.0);
  // Formulas 2 and 3 (van Rijn's and Karim's coefficients) by hand.
  for (const double karim : {0.085, 0.47}) {
    KarimCoeff = karim;
    const double h = 1.0, r = 1.2, tau = 2.0;
    const double fr = r / std::sqrt(9.81 * h), s = tau / (9810.0 * h) - 0.0168 * fr * fr * std::pow(kD / h, 0.33);
    const double expected = h * std::min(2.0, std::pow(std::pow(6.28 * fr * fr, 1.2) * s / (karim * fr * fr), 0.73));
    EXPECT_NEAR(bedFormHeight(2, 0.0, h, kD, r, tau, 20.0), expected, 1e-15);
    EXPECT_NEAR(bedFormHeight(3, 0.0, h, kD, r, tau, 20.0), expected, 1e-15);
    EXPECT_EQ(bedFormHeight(2, 0.0, h, kD, r, 0.0, 20.0), 0.0) << "no shear, no bed forms";
  }

  // The roughness table of F 103 x F 90, for a bed thicker than d90 and one
  // thinner (theta = 0.0001 m) with F 16 at its default -2.
  const double form = 0.143385, ksf = 0.0617989, stored = 0.123;
  ASSERT_EQ(XksWall, -2.0);
  struct Row {
    int rule, variant;
    double thick, thin;
  };
  const Row rows[] = {
      {0, 2, 3 * kD, 3e-4},   {0, 3, ksf, 3e-4},     {0, 6, ksf, 3e-4},      {2, 4, ksf, 3e-4},
      {1, 2, 3 * kD, -2.0},   {1, 5, ksf, -2.0},     {3, 2, 3 * kD, 3e-4},   {3, 3, ksf, 3e-4},
      {0, 1, stored, stored}, {0, 7, stored, stored}, {4, 3, stored, stored},
  };
  for (const Row &r : rows) {
    EXPECT_NEAR(bedRoughness(r.rule, r.variant, 10.0, kD, form, 1.0, stored), r.thick, 2e-7)
        << "F 103 " << r.rule << ", F 90 " << r.variant << ", thick bed";
    EXPECT_NEAR(bedRoughness(r.rule, r.variant, 1e-4, kD, form, 1.0, stored), r.thin, 1e-15)
        << "F 103 " << r.rule << ", F 90 " << r.variant << ", thin bed";
  }
  // With a limit above d90 rule 0 keeps d90, rule 3 the limit.
  XksWall = 0.01;
  EXPECT_NEAR(bedRoughness(0, 3, 1e-5, kD, form, 1.0, stored), kD, 1e-15);
  EXPECT_NEAR(bedRoughness(3, 3, 1e-5, kD, form, 1.0, stored), 0.01, 1e-15);
}

}  // namespace
