// The straight channel with the mud layer of F 236 2 appended under it
// (G 1 54 17 11 1 for the room of the layer block), through the binary: every
// damping variant of F 289 with every velocity rule, steady and transient,
// on the main and the modular driver, ends normally without an error.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/run_case.h"

namespace {

struct MudRun {
  const char *name;
  int variant;       // F 289 first value
  std::string flow;  // steady or transient control lines
  friend void PrintTo(const MudRun &r, std::ostream *os) { *os << r.name; }
};

std::string mudChannel(const std::string &added) {
  std::string control;
  for (const std::string &line : linesOf(caseFile("straight-channel", "control"))) {
    if (line.rfind("K 1 ", 0) == 0) continue;
    control += (line.rfind("G 1 ", 0) == 0 ? std::string("G 1 54 17 11 1") : line) + "\n";
  }
  return control + "F 236 2 0 0 0.8\n" + added;
}

class MudChannel : public ::testing::TestWithParam<MudRun> {};

TEST_P(MudChannel, EveryVelocityRuleRuns) {
  const MudRun &r = GetParam();
  for (const char *driver : {"", "F 328 1\n"}) {
    for (int rule = 1; rule <= 7; ++rule) {
      CaseSetup s;
      s.files["koosurf"] = caseFile("straight-channel", "koosurf");
      s.files["control"] = mudChannel(r.flow + driver + "F 289 " + std::to_string(r.variant) + " 0 0 " +
                                      std::to_string(rule) + "\n");
      const CaseResult run = runCase(s);
      const std::string log = run.file("boogie");
      EXPECT_EQ(run.status, 1) << driver << "F 289 " << r.variant << " 0 0 " << rule << "\n" << log;
      EXPECT_EQ(log.find("Error"), std::string::npos) << driver << "F 289 " << r.variant << " 0 0 " << rule;
      EXPECT_NE(log.find("End Unstructure 2500 cells"), std::string::npos) << "the layer block is appended";
    }
  }
}

const std::string kSteady = "K 1 200 50000\n", kTransient = "F 33 0.5 1\nK 1 20 50000\n";

INSTANTIATE_TEST_SUITE_P(
    Variants, MudChannel,
    ::testing::Values(MudRun{"SteadyDamp0", 0, kSteady}, MudRun{"SteadyDamp1", 1, kSteady},
                      MudRun{"SteadyDamp2", 2, kSteady}, MudRun{"SteadyDamp3", 3, kSteady},
                      MudRun{"TransientDamp0", 0, kTransient}, MudRun{"TransientDamp1", 1, kTransient},
                      MudRun{"TransientDamp2", 2, kTransient}, MudRun{"TransientDamp3", 3, kTransient}),
    [](const ::testing::TestParamInfo<MudRun> &info) { return std::string(info.param.name); });

}  // namespace
