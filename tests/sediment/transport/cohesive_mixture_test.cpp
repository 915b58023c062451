// The sand-clay mixture formula against hand values: sand of 0.2 mm under
// 0.5 Pa with the reference level at 0.05 m, and a clay bed of solid
// fraction 0.5 around a median grain of 1 mm.
#include "sediment/transport/cohesive_mixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/settings.h"
#include "sediment/transport/critical_shear.h"
#include "startup/control_reader.h"
#include "support/work_folder.h"

namespace {

class CohesiveMixture : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    gsize[1] = 0.0002;
    gsize[2] = 1e-6;
  }
  // One call with sand of 0.2 mm and clay of 1 µm in the shares given.
  MixtureInput input(double tau, double clay) {
    f_[1] = 1.0 - clay;
    f_[2] = clay;
    MixtureInput in{};
    in.tau = tau;
    // The curve at 0.2 mm under 0.5 Pa: 0.130618 Pa.
    in.tauC = shieldsParameter(0, std::sqrt(0.001 * 0.5) * 0.0002 / 1e-6) * 1.65 * 9810.0 * 0.0002 + 1e-20;
    in.d = in.d50 = 0.0002;
    in.coeff = 0.015;
    in.powerT = 1.5;
    in.powerD = 0.3;
    in.zc = 0.05;
    in.h = 1.0;
    in.dfac = std::pow(1.65 * 9810000000000.0, 0.3333);
    in.ks = 0.002;
    in.ws = 0.025;
    in.solid = 0.5;
    in.f = f_;
    in.sizes = 2;
    return in;
  }
  double f_[3] = {0.0, 1.0, 0.0};
};

TEST_F(CohesiveMixture, SandAndClayHandValues) {
  // Sand alone: hiding factor 1, stage (0.5 - 0.130618) / 0.130618, and
  // the 1 mm floor makes it five times van Rijn's value.
  const double sand = computeConcentrationKalvet(input(0.5, 0.0));
  EXPECT_NEAR(sand, 8.77487e-4, 1e-6 * 8.77487e-4);
  // The profile switch takes the roughness, at least 1 % of the depth.
  MixtureInput in = input(0.5, 0.0);
  in.profileSwitch = 1;
  EXPECT_NEAR(computeConcentrationKalvet(in), sand * 0.05 / 0.01, 1e-12);
  in.ks = 0.025;
  EXPECT_NEAR(computeConcentrationKalvet(in), sand * 0.05 / 0.025, 1e-12);
  // Clay bed: bulk density 1.825, critical stress 1.04254 Pa.
  in = input(2.0, 1.0);
  in.d50 = 0.001;
  in.ws = 1e-4;
  EXPECT_NEAR(computeConcentrationKalvet(in), 1.38625e-5, 5e-6 * 1.38625e-5);
  in.tau = 1.04;
  EXPECT_EQ(computeConcentrationKalvet(in), 0.0) << "below the critical stress of the mixture";
}

TEST_F(CohesiveMixture, ClayShareBlends) {
  // Under 3 Pa both the cohesive and the sand value are above 0.
  const double sand = computeConcentrationKalvet(input(3.0, 0.0));
  const double clay = computeConcentrationKalvet(input(3.0, 0.5));
  ASSERT_GT(sand, 0.0);
  ASSERT_GT(clay, 0.0);
  ASSERT_NE(sand, clay);
  // The clay share counts 1e-7 less, so that a bed without clay has none.
  auto blend = [&](double share) {
    const double w = (share - 1e-7 - 0.05) / 0.03;
    return w * clay + (1.0 - w) * sand;
  };
  struct Row {
    double share, expected;
  };
  // 8 % still blends, with a weight of practically 1.
  const Row rows[] = {{0.04, sand}, {0.05, sand}, {0.065, blend(0.065)}, {0.08, blend(0.08)}, {0.09, clay}};
  for (const Row &r : rows) {
    EXPECT_NEAR(computeConcentrationKalvet(input(3.0, r.share)), r.expected, 1e-9 * sand) << r.share;
  }
  EXPECT_NEAR(blend(0.065), (sand + clay) / 2.0, 1e-5 * sand);
  EXPECT_EQ(readFile("test"), "");
}

TEST_F(CohesiveMixture, NegativeValueIsNotedAndDropped) {
  MixtureInput in = input(3.0, 1.0);
  in.ws = -1e-4;
  EXPECT_EQ(computeConcentrationKalvet(in), 0.0);
  const std::string note = readFile("test");
  EXPECT_EQ(note.rfind("Achtung: konsform < 0: -", 0), 0u) << note;
  EXPECT_NE(note.find(" size 0.000200 Fall 1 \n "), std::string::npos) << note;
}

}  // namespace
