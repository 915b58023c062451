// The straight channel on grids of other column generators of F 64: the
// uncapped levels of 2 (one cell less where the slope correction bites) and
// of 5 (exponent 0.6) on the whole channel; the crack marks of 9, the steep
// lines of 15 and the smoothed line counts of 33 (F 231 1) on its first
// 20 m, which converges in a tenth of the time. Every run converges through
// the binary.
#include <gtest/gtest.h>

#include <ostream>
#include <sstream>
#include <string>

#include "support/run_case.h"

namespace {

struct ChannelCase {
  const char *name;
  int method;
  std::string extra;  // more data sets
  bool shortened;     // the grid lines up to x = 20 m only
  friend void PrintTo(const ChannelCase &c, std::ostream *os) { *os << c.name; }
};

// The grid lines i = 1..11 of the channel (x = 0..20 m), with G 1 sized to them.
CaseSetup shortChannel(CaseSetup setup) {
  std::istringstream lines(setup.files["koosurf"]);
  std::string kept, line;
  while (std::getline(lines, line)) {
    if (std::stoi(line) <= 11) kept += line + "\n";
  }
  setup.files["koosurf"] = kept;
  std::string &control = setup.files["control"];
  const std::string grid = "G 1 54 9 11 1\n";
  control.replace(control.find(grid), grid.size(), "G 1 14 9 11 1\n");
  return setup;
}

class MemberChannel : public ::testing::TestWithParam<ChannelCase> {};

TEST_P(MemberChannel, Converges) {
  const ChannelCase &c = GetParam();
  CaseSetup setup;
  setup.files["control"] = caseFile("straight-channel", "control") + "F 64 " + std::to_string(c.method) + "\n" + c.extra;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(c.shortened ? shortChannel(setup) : setup);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(log.find("Generating grid with F 64 " + std::to_string(c.method) + " algorithm. \n"), std::string::npos);
  EXPECT_NE(log.find(c.shortened ? "End Unstructure 500 cells\n" : "End Unstructure"), std::string::npos) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  EXPECT_EQ(log.find("Error"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Methods, MemberChannel,
                         ::testing::Values(ChannelCase{"Uncapped2", 2, "", false},
                                           ChannelCase{"Exponent5", 5, "", false},
                                           ChannelCase{"Cracks9", 9, "", true},
                                           ChannelCase{"SteepLines15", 15, "", true},
                                           ChannelCase{"Smoothed33", 33, "F 231 1\n", true}),
                         [](const auto &info) { return std::string(info.param.name); });

}  // namespace
