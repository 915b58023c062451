// The iteration report and the stop test: convergence, divergence, the
// continuity stop and the debug stop, the report lines and the "vostel" rows.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "flow/outer_steps/stop_test.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_reader.h"
#include "startup/operations.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

int outputs = 0;  // sprintflow calls
int crashReports = 0;  // printAtCrash calls
int lastRemedy = 0;    // the remedy number of the last flushFunction call

class StopTest : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    operations.sprintflow = [] { ++outputs; };
    operations.printAtCrash = [] { ++crashReports; };
    operations.flushFunction = [](int n) { lastRemedy = n; };
    outputs = crashReports = lastRemedy = 0;
    Iter = 7;
    TransInnerIter = 1;
    FlagPrint = 0;
    NormResidual[4] = 100010.0;
  }
};

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct StopCase {
  const char *name;
  double residual[7];  // entries 1..6
  void (*setting)();   // data sets of the case
  int stops;
  int errorBreak;
  int outputs;
  const char *logLine;  // a line the log must hold ("" for none)
};

void none() {}

const StopCase kCases[] = {
    {"all below 0.001 converge", {0, 9e-4, 1e-4, 0, 5e-4, 1e-95, 0}, none, 1, 0, 1, "Solution converged\n"},
    {"1e-95 counts as 0", {0, 1e-95, 1e-95, 1e-95, 1e-95, 1e-95, 1e-95}, none, 1, 0, 1, "Solution converged\n"},
    {"one above 0.001 goes on", {0, 9e-4, 2e-3, 0, 0, 0, 0}, none, 0, 0, 0, ""},
    {"one NaN diverges", {0, 1e-4, kNaN, 1e-4, 1e-4, 1e-4, 1e-4}, none, 1, 1, 0,
     "Solution diverged after 1 inner and 7 outer iterations\nMax residual is nan\n"},
    {"one NaN diverges with remedies left", {0, 1e-4, 1e-4, 1e-4, 1e-4, 1e-4, kNaN}, [] { FlagFlush = 3; }, 1, 1, 0,
     "Solution diverged after 1 inner and 7 outer iterations\n"},
    {"2e10 diverges", {0, 2e10, 1, 1, 1, 1, 1}, none, 1, 1, 0, "Max residual is 2.000000e+10\n"},
    {"a transient run goes on below 0.001", {0, 1e-4, 0, 0, 0, 0, 0}, [] { TimeStep = 10.0; }, 0, 0, 0, ""},
    {"a time step of exactly 1e-8 is transient here", {0, 1e-4, 0, 0, 0, 0, 0}, [] { TimeStep = 1e-8; }, 0, 0, 0, ""},
    {"F 221 stops a transient run", {0, 1e-4, 0, 0, 0, 0, 0}, [] { TimeStep = 10.0; FlagStopTime = 1; }, 1, 0, 1,
     "Solution converged\n"},
    {"continuity error", {0, 0.5, 0, 0, 0, 0, 0}, [] { GlobContinuity = 0.2; }, 1, 1, 0,
     "Error in continuity, WaterSolve. Defect = 0.200000 l/s\n"},
    {"a defect at the limit goes on", {0, 0.5, 0, 0, 0, 0, 0}, [] { GlobContinuity = 0.1; }, 0, 0, 0, ""},
    {"no continuity stop with F 85", {0, 0.5, 0, 0, 0, 0, 0}, [] { GlobContinuity = 0.2; ContinuityFlag = 1; }, 0, 0, 0, ""},
    {"no continuity stop with F 36", {0, 0.5, 0, 0, 0, 0, 0}, [] { GlobContinuity = 0.2; FlagTFS = 2; }, 0, 0, 0, ""},
    {"F 183 99 stops for debugging", {0, 0.5, 0, 0, 0, 0, 0}, [] { FlagPresDebug = 99; }, 1, 1, 1, ""},
};

TEST_F(StopTest, Outcomes) {
  for (const StopCase &c : kCases) {
    SCOPED_TRACE(c.name);
    kreadDefaults();
    Iter = 7;
    TransInnerIter = 1;
    FlagPrint = 0;
    NormResidual[4] = 100010.0;
    GlobContinuity = 0.0;
    outputs = 0;
    writeFile("boogie", "");
    c.setting();
    for (int e = 1; e <= 6; ++e) MaxResidual[e] = c.residual[e];
    EXPECT_EQ(printEndWaterSolve(1), c.stops);
    EXPECT_EQ(FlagErrorBreak, c.errorBreak);
    EXPECT_EQ(outputs, c.outputs);
    const std::string log = readFile("boogie");
    if (*c.logLine) {
      EXPECT_NE(log.find(c.logLine), std::string::npos) << log;
    }
    if (c.stops == 0) {
      EXPECT_EQ(log.find("Solution"), std::string::npos) << log;
    }
  }
}

TEST_F(StopTest, ConvergenceTexts) {
  for (int e = 1; e <= 6; ++e) MaxResidual[e] = 1e-95;
  MaxResidual[2] = 2e-4;
  ASSERT_EQ(printEndWaterSolve(1), 1);
  EXPECT_EQ(MaxResidual[1], 0.0);
  EXPECT_EQ(readFile("boogie"), "Iter: 7, Resid: 0.00e+00 2.00e-04 0.00e+00 0.00e+00 0.00e+00 0.00e+00\nSolution converged\n");
  EXPECT_STREQ(mc_message, "Solution converged  ");
  EXPECT_STREQ(mc_v1, "Written from watersolver due to convergence");
}

TEST_F(StopTest, ReportOnlyOnTheLastInnerIterationOfAReportedOuterOne) {
  FlagVostel = 1;
  writeFile("vostel", "Iteration, Residuals: Ux, Uy, Uz, Continuity, k, epsilon\n");
  TransInnerIter = 3;
  for (int e = 1; e <= 6; ++e) MaxResidual[e] = 0.5 / e;
  EXPECT_EQ(printEndWaterSolve(2), 0);  // not the last inner iteration
  EXPECT_STREQ(mc_message, "7 ResMax: 5.00e-01 for eq: 1");
  EXPECT_EQ(printEndWaterSolve(3), 0);
  FlagPrint = 1;  // suppressed
  EXPECT_EQ(printEndWaterSolve(3), 0);
  EXPECT_EQ(readFile("boogie"), "Iter: 7, Resid: 5.00e-01 2.50e-01 1.67e-01 1.25e-01 1.00e-01 8.33e-02\n");
  EXPECT_EQ(readFile("vostel"),
            "Iteration, Residuals: Ux, Uy, Uz, Continuity, k, epsilon\n"
            "7 0.500000 0.250000 0.166667 0.125000 0.100000 0.083333\n");
}

TEST_F(StopTest, TransientReportWhenTheTimeStepEndsEarly) {
  TimeStep = 10.0;
  TransInnerIter = 5;
  MaxResidual[1] = 0.001;  // below F 54's 0.002
  EXPECT_EQ(printEndWaterSolve(2), 0);
  EXPECT_EQ(readFile("boogie"), "Iter: 7, Resid: 1.00e-03 0.00e+00 0.00e+00 0.00e+00 0.00e+00 0.00e+00\n");
}

TEST_F(StopTest, ExtraReportLineOfP11) {
  PrintSpecials = 4;
  MaxResidual[1] = 0.5;
  EXPECT_EQ(printEndWaterSolve(1), 0);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Number of cells: 0, surfaces: 0, points: 0\n"));
}

TEST_F(StopTest, ALogThatCannotBeOpenedEndsTheRunEvenWithoutAReport) {
  std::filesystem::create_directory("boogie");
  FlagPrint = 1;
  MaxResidual[1] = 0.5;
  EXPECT_EXIT(printEndWaterSolve(1), ::testing::ExitedWithCode(253), "");
}

}  // namespace

namespace {

// F 219: a residual above 5e8 that still grows is thrown away with the next
// remedy while remedies are left; a residual above MaxCrashDef then ends
// the call, and a residual that stops growing is not flushed.
TEST_F(StopTest, RemediesBeforeTheDivergence) {
  FlagFlush = 2;
  FlagFlushIter = 0;
  FlushedNo = 4;  // counted over the whole run
  relaxPressure = 0.8;
  const double residuals[] = {6e8, 2e11, 3e11, 4e11};
  const int stops[] = {0, 0, 1};
  const int remedies[] = {1, 2, 2};
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    MaxResidual[1] = residuals[n];
    EXPECT_EQ(printEndWaterSolve(1), stops[n]);
    EXPECT_EQ(lastRemedy, remedies[n]);
  }
  EXPECT_EQ(crashReports, 1);
  EXPECT_EQ(FlushedNo, 6);
  const std::string log = readFile("boogie");
  EXPECT_NE(log.find("Solution flushed at Iter=7, InnerIter=1, Residual=600000000.000000, relax=0.800000, "
                     "TotalFlushings = 5\n"),
            std::string::npos)
      << log;
  EXPECT_NE(log.find("TotalFlushings = 6\n"), std::string::npos);
  EXPECT_LT(log.find("TotalFlushings = 6\n"), log.find("Solution diverged after 1 inner and 7 outer iterations\n"));
}

TEST_F(StopTest, AResidualThatNoLongerGrowsIsNotFlushed) {
  FlagFlush = 3;
  MaxResidual[1] = 9e8;
  EXPECT_EQ(printEndWaterSolve(1), 0);
  MaxResidual[1] = 7e8;  // above 5e8, below MaxCrashDef, but falling
  EXPECT_EQ(printEndWaterSolve(1), 0);
  EXPECT_EQ(FlagFlushIter, 1);
  EXPECT_EQ(crashReports, 0);
}

}  // namespace
