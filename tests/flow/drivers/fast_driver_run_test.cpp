// The fast flow driver's iterations, reports and ends: through the binary on
// the channel case (the missing normaliser, the continuity error, the report
// of the last inner iteration and the P 11 lines) and in-process (a time step
// without inner iterations, and the ordinary solver for the pressure
// correction while the five rows take their own).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "files/channel_fields.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "solvers/point_solver.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

struct FastRun {
  const char *name;
  std::string extraControl;  // added to the channel's grid and driver data sets
  int status;
  std::vector<std::string> inOrder;  // texts that "boogie" holds, one after the other
  std::vector<std::string> absent;   // texts it must not hold
  int reports;                       // "Iter: " lines, -1 not counted
  friend void PrintTo(const FastRun &c, std::ostream *os) { *os << c.name; }
};

int occurrences(const std::string &text, const std::string &part) {
  int n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class FastDriverRun : public ::testing::TestWithParam<FastRun> {};

TEST_P(FastDriverRun, EndsAsExpected) {
  const FastRun &run = GetParam();
  CaseSetup setup;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.files["control"] = "F 2 YW\nG 1 13 7 11 1\nF 314 1 1\nF 170 1\n" + run.extraControl;
  const CaseResult result = runCase(setup);
  const std::string log = result.file("boogie");
  EXPECT_EQ(result.status, run.status) << log;
  expectInOrder(log, run.inOrder);
  for (const std::string &text : run.absent) EXPECT_EQ(log.find(text), std::string::npos) << text << "\n" << log;
  if (run.reports >= 0) { EXPECT_EQ(occurrences(log, "Iter: "), run.reports) << log; }
}

const std::string kDischarges = "F 237 1 1.0\nF 237 2 1.0\n";

INSTANTIATE_TEST_SUITE_P(
    Runs, FastDriverRun,
    ::testing::Values(
        // No discharges: the k normaliser is 0 (the lower-case message of
        // this driver).
        FastRun{"NoDischarges", "", 251, {"Error, residual not set for equation no. 5\n"}, {"Iter: "}, 0},
        // Inflow without outflow: the whole inflow is the defect.
        FastRun{"InflowWithoutOutflow", "F 237 1 1.0\n", kExitDiverged & 255,
                {"Iter: 1, Resid: ", "Cont: ", "Error in continuity\n"},
                {"Solution converged"}, 1},
        // Three inner iterations per outer one, two outer ones: a report each,
        // with its continuity and P 11 4 lines, and no result file.
        FastRun{"ReportOfTheLastInnerIteration",
                kDischarges + "K 1 2\nF 33 1e-20 3\nP 11 4\n",
                1,
                {"Iter: 1, Resid: ", "\nCont: ", "U,V,W(", "\nNumber of cells: 360, surfaces: ", "Iter: 2, Resid: ",
                 "\nCont: ", "\nNumber of cells: 360",
                 "Warning: Solution not converged after 2 outer iterations, max residual "},
                {"Solution converged", "Error"},
                2},
        FastRun{"TopVelocity", kDischarges + "K 1 1\nP 11 3\n", 1, {"Cont: ", "\nAverage top velocity: "}, {}, 1},
        // The bed-shear profile of P 11 5 belongs to the main driver.
        FastRun{"NoProfileLines", kDischarges + "K 1 1\nP 11 5\n", 1, {"Cont: "}, {"x,z_bed,z_surf,shear"}, 1},
        // The G 22 bridge decks act in the modular driver only.
        FastRun{"BridgesWarned", kDischarges + "K 1 1\nG 22 3 4 2 6 0.5 1.0 1.0\n", 1,
                {"Warning: G 22 is only used by the modular flow driver (F 328 1)\n", "Iter: 1, Resid: "}, {}, 1}),
    [](const auto &info) { return std::string(info.param.name); });

class FastDriverSteps : public GridFixture {
 protected:
  void TearDown() override {
    operations = engineOperations();
    GridFixture::TearDown();
  }
};

int gTimeRows = 0;

TEST_F(FastDriverSteps, TimeStepsWithoutInnerIterations) {
  generateCaseFolder("channel", "F 314 1 1\n" + kDischarges + "F 170 1\nF 33 2.0 0\nK 1 3\nF 143 1\n");
  TimePrintNo = 1;
  TimePrint[0].time = 0.0;
  PrintIterTime = 1;
  operations.TimePrintFunction = [] { ++gTimeRows; };
  operations.startup = [] {};  // keeps the fields set here
  std::fill(Cxvel + 1, Cxvel + NoCells + 1, 0.3);
  std::fill(Ckinen + 1, Ckinen + NoCells + 1, 0.004);
  WaterSolveFast();
  // Three time steps of 2 s: the old fields shifted, a "timeo" row each, a
  // regression sample each; the driver never solved anything.
  EXPECT_DOUBLE_EQ(stimet, 6.0);
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_EQ(Cxvel_old[c], 0.3) << "cell " << c;
    ASSERT_EQ(Ckinen_old[c], 0.004) << "cell " << c;
  }
  EXPECT_EQ(gTimeRows, 3);
  EXPECT_EQ(RegIter, 3);
  EXPECT_EQ(PresRegresN[3][3], 3);
  EXPECT_TRUE(readFile("timeo").empty());
  EXPECT_EQ(readFile("boogie").find("Iter: "), std::string::npos);
}

SolverExecution gRouteAtResults = SolverExecution::Fast;

TEST_F(FastDriverSteps, PressureSolveTakesTheOrdinarySolver) {
  generateCaseFolder("channel", "F 314 1 1\n" + kDischarges + "F 170 1\nK 1 1\nP 10 1\n");
  ASSERT_EQ(solverExecution(), SolverExecution::Fast);
  operations.sprintflow = [] { gRouteAtResults = solverExecution(); };
  WaterSolveFast();
  EXPECT_EQ(gRouteAtResults, SolverExecution::Serial) << "while the driver runs";
  EXPECT_EQ(solverExecution(), SolverExecution::Fast) << "F 170 again after it";
  // The pressure correction was solved: the pressure has left its start value.
  const double largest = *std::max_element(Cpres + 1, Cpres + NoCells + 1);
  const double smallest = *std::min_element(Cpres + 1, Cpres + NoCells + 1);
  EXPECT_GT(largest - smallest, 1.0);
}

// A pressure that is not a number spreads through the sources: the driver
// ends as diverged rather than running out its iterations.
TEST_F(FastDriverSteps, NotANumberEndsAsDivergence) {
  generateCaseFolder("channel", "F 314 1 1\n" + kDischarges + "F 170 1\nK 1 50\n");
  operations.startup = [] {
    startup();
    Cpres[100] = std::nan("");
  };
  gFlagFlow = 1;
  WaterSolveFast();
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Solution diverged\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("Warning: Solution not converged"), std::string::npos) << log;
  EXPECT_EQ(FlagErrorBreak, 1);
  EXPECT_EQ(gFlagFlow, 0);
  EXPECT_LT(Iter, 50);
}

int gSurfaceCalls = 0;

// F 36 6 outside the sediment loop: the first inner iteration's surface
// update ends the call and leaves the flow flag to the letter W.
TEST_F(FastDriverSteps, SurfaceUpdateOfF36SixEndsTheCall) {
  generateCaseFolder("channel", "F 314 1 1\n" + kDischarges + "F 170 1\nK 1 50\n");
  FlagTFS = 6;
  FlagRoof = 1;
  gFlagFlow = 1;
  operations.surface = [] { ++gSurfaceCalls; };
  WaterSolveFast();
  EXPECT_EQ(gSurfaceCalls, 1);
  EXPECT_EQ(Iter, 1);
  EXPECT_EQ(gFlagFlow, 1);
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Warning: F 36 6 ends a W run after one surface update"), std::string::npos) << log;
  EXPECT_EQ(log.find("Iter: "), std::string::npos) << log;
}

}  // namespace
