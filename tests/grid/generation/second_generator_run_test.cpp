// The second grid generator through the binary on the channel case: the
// letter Y with F 488, and the stops around it (F 369, F 503, F 488 values
// and drivers it cannot serve).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/run_case.h"

namespace {

struct RunCase {
  const char *name;
  const char *extraControl;
  const char *extraKoosurf;  // a line that replaces its grid point's line
  int status;
  const char *tail;
};

void PrintTo(const RunCase &c, std::ostream *os) { *os << c.name; }

class SecondGeneratorRun : public ::testing::TestWithParam<RunCase> {};

TEST_P(SecondGeneratorRun, LogAndStatus) {
  const RunCase &c = GetParam();
  CaseSetup setup;
  setup.files["control"] = caseFile("channel", "control") + c.extraControl;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  if (*c.extraKoosurf) setup.files["koosurf"] = withPoint(setup.files["koosurf"], c.extraKoosurf);
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, c.status);
  EXPECT_TRUE(endsWith(r.file("boogie"), c.tail)) << r.file("boogie");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SecondGeneratorRun,
    ::testing::Values(
        // The second generator writes no end-of-generation report.
        RunCase{"LetterY", "F 488 2\n", "", 1,
                "Have read koosurf file: max i: 11, max j: 5\n\nGenerating grid with F 64 11 algorithm2. \n"},
        RunCase{"BadLevelF369", "F 488 1\nF 369 1\n", "6 3 5.0 2.0 -2000.0 1.0\n", 255,
                "Generating grid with F 64 11 algorithm2. \n"
                "Bug found for z values in grid: (6,3), Iter = 0\nZ levels: -2000.000000 1.000000\nIter = 0\n"},
        RunCase{"CollapseBeforeCounts", "F 488 2\nF 503 1\n", "", 1,
                "Have read koosurf file: max i: 11, max j: 5\n\nGenerating grid with F 64 11 algorithm2. \n"},
        RunCase{"NoSuchSecondGenerator", "F 488 3\n", "", 251,
                "Error for F 488 in control\nOnly 1 and 2 select the second grid generator\n\n"},
        RunCase{"HydrostaticDriver", "F 488 1\nF 68 1\n", "", 251,
                "Error for F 488 in control\nF 488 cannot be used with F 68 or F 311\n\n"}),
    [](const ::testing::TestParamInfo<RunCase> &info) { return std::string(info.param.name); });

}  // namespace
