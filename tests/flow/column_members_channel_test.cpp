// The straight channel on grids of two other column generators of F 64: the
// uncapped levels of 2 (one cell less where the slope correction bites) and
// of 5 (exponent 0.6); both runs converge through the binary.
#include <gtest/gtest.h>

#include <string>

#include "support/run_case.h"

namespace {

class MemberChannel : public ::testing::TestWithParam<int> {};

TEST_P(MemberChannel, Converges) {
  CaseSetup setup;
  setup.files["control"] = caseFile("straight-channel", "control") + "F 64 " + std::to_string(GetParam()) + "\n";
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(log.find("Generating grid with F 64 " + std::to_string(GetParam()) + " algorithm. \n"), std::string::npos);
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  EXPECT_EQ(log.find("Error"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Methods, MemberChannel, ::testing::Values(2, 5));

}  // namespace
