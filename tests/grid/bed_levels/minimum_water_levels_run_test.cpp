// The minimum water levels through the binary: the straight channel with the
// steady free surface, where the band of method 12 lies far below the water
// and so leaves the converged levels exactly as they are without it.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

TEST(MinimumLevelsRun, BandBelowTheWaterLeavesTheSurfaceAlone) {
  CaseSetup setup;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const std::string control = caseFile("straight-channel", "control") + "F 36 2\nF 91 51 4\n";
  setup.files["control"] = control;
  const CaseResult plain = runCase(setup);
  setup.files["control"] = control + "F 371 12 0 0\n";
  const CaseResult banded = runCase(setup);
  const std::string log = banded.file("boogie");
  ASSERT_EQ(plain.status, 1) << plain.file("boogie");
  EXPECT_EQ(banded.status, 1) << log;
  EXPECT_EQ(log.find("not available"), std::string::npos) << log;
  ASSERT_TRUE(banded.has("bedres.t"));
  EXPECT_FALSE(banded.file("bedres.t").empty());
  EXPECT_EQ(banded.file("bedres.t"), plain.file("bedres.t"));
}
