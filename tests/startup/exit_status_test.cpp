// The ends of a run as a script sees them, through the binary: the status
// tells a normal run (1) from refused input (2) and a diverged flow (3), and
// a failed run writes one line to standard error naming the first error line
// of its log; the log texts are those of the ends themselves.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

struct EndCase {
  const char *name;
  CaseSetup setup;
  int status;
  std::vector<std::string> log;  // parts the log holds, in this order
  std::string stderrText;
  std::vector<std::string> files;  // files the run leaves
  friend void PrintTo(const EndCase &c, std::ostream *os) { *os << c.name; }
};

CaseSetup channel(const std::string &extraControl, const std::string &koosurf) {
  CaseSetup setup;
  setup.files["control"] = caseFile("channel", "control") + extraControl;
  setup.files["koosurf"] = koosurf;
  return setup;
}

CaseSetup straightChannel(const std::string &extraControl) {
  CaseSetup setup;
  setup.files["control"] = caseFile("straight-channel", "control") + extraControl;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return setup;
}

std::vector<EndCase> endCases() {
  const std::string grid = caseFile("channel", "koosurf");
  const std::string built = "Have read koosurf file: max i: 11, max j: 5\n\nGenerating grid";
  std::vector<EndCase> rows = {
      {"NormalRun", channel("", grid), kExitNormal, {built}, "", {}},
      {"LetterX", channel("F 2 YX\n", grid), kExitLetterX, {built}, "", {}},
      {"RefusedValue", channel("Q 237 1\n", grid), kExitInputError & 255,
       {"Input error for Q 237 in control\n"}, failureLine("Input error for Q 237 in control", 2), {}},
      {"RefusedTimei", {}, kExitInputError & 255, {"Error in timei file: code 9\n"},
       failureLine("Error in timei file: code 9", 2), {}},
      // "E 237" typed for "F 237": the line is named, and the run goes on.
      {"DataSetLetterMistyped", channel("E 237 1 4.0\n f 237 1 4.0\n", grid), kExitNormal,
       {"Warning: control line 3: 'E 237 1 4.0' is not a data set and is ignored\n"
        "Warning: control line 4: 'f 237 1 4.0' is not a data set and is ignored\n",
        built},
       "", {}},
      {"KoosurfTailAndPointGivenAgain", channel("", grid + "11 5 10.0 4.0 0.0 1.0\nend of file\n"), kExitNormal,
       {"Warning: koosurf line 57: 'end of file' ends the points; the rest of the file is ignored\n"
        "Warning: koosurf line 56: grid point 11 5 given again (first on line 55); the later values are kept\n",
        built},
       "", {}},
      {"KoosurfTypoInsideThePoints", channel("", withPoint(grid, "1 2 0.0 x.0 0.0 1.0\n")),
       kExitControlMissing & 255, {"Error in koosurf file, line 2: 'x.0' is not a number\n"},
       failureLine("Error in koosurf file, line 2: 'x.0' is not a number", 252), {}},
      {"DivergedFlow", straightChannel("F 301 0.5\n"), kExitDiverged & 255,
       {"Solution diverged after 1 inner and 1 outer iterations\n",
        "Please look at the ParaView2.vtk file to find out where the problem is\n\n"},
       failureLine("Solution diverged", 3), {"pav2_00000.vtk"}},
  };
  rows[3].setup.files["control"] = "F 33 10 1\nF 2 W\n";
  rows[3].setup.files["timei"] = "I 0 1 0 0 0\nI 10 1 0 0 0\nI 5 1 0 0 0\n";
  return rows;
}

class RunEnds : public ::testing::TestWithParam<EndCase> {};

TEST_P(RunEnds, StatusLogAndConsole) {
  const EndCase &c = GetParam();
  const CaseResult r = runCase(c.setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status) << log;
  expectInOrder(log, c.log);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_EQ(r.stderrText, c.stderrText) << log;
  for (const std::string &name : c.files) EXPECT_TRUE(r.has(name)) << name;
  // Warnings come once, and a refused run writes nothing after its error.
  for (const std::string &part : c.log) EXPECT_EQ(log.find(part), log.rfind(part)) << part;
}

INSTANTIATE_TEST_SUITE_P(Ends, RunEnds, ::testing::ValuesIn(endCases()),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
