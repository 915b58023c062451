// The flow stages through the binary on the channel case: the run iterates,
// and a missing outflow discharge or missing inflow discharges end it with
// the messages a user sees. Waits for the face fluxes, coefficients, solver,
// boundary conditions and driver of the flow solver.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "support/run_case.h"

namespace {

struct ChannelRun {
  const char *name;
  std::string extraControl;  // data sets added to the channel's grid data sets
  int status;
  std::vector<std::string> inOrder;  // texts that "boogie" holds, one after the other
  friend void PrintTo(const ChannelRun &c, std::ostream *os) { *os << c.name; }
};

class ChannelFlow : public ::testing::TestWithParam<ChannelRun> {};

TEST_P(ChannelFlow, EndsAsExpected) {
  const ChannelRun &run = GetParam();
  CaseSetup setup;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.files["control"] = "F 2 YW\nG 1 13 7 11 1\nF 314 1 1\n" + run.extraControl;
  const CaseResult result = runCase(setup);
  const std::string log = result.file("boogie");
  EXPECT_EQ(result.status, run.status) << log;
  expectInOrder(log, run.inOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ChannelFlow,
    ::testing::Values(
        // Group 1 brings 1 m3/s; the outflow group has no discharge of its own
        // and withdraws nothing, so the whole inflow is the defect.
        ChannelRun{"InflowWithoutOutflow", "F 237 1 1.0\n", kExitDiverged & 255,
                   {"Iter: 1, Resid: ", "Error in continuity, WaterSolve. Defect = 1000.000000 l/s"}},
        // No discharges at all: the k residual has no normaliser.
        ChannelRun{"NoDischarges", "", 251,
                   {"Error, residual not set for Equation no. 5\n",
                    "This error often occur when inflow discharges are not set.\n"}}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
