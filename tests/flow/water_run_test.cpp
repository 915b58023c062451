// Letter W through the binary and in process after letter Y: the channel
// with its two generated groups, the refusal of F 1 Q and the note of F 308.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

#include "flow/drivers/flow_drivers.h"
#include "flow/flow_fixture.h"
#include "grid/column_grid.h"
#include "grid/fixture_values.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/operations.h"
#include "support/run_case.h"

namespace {

const char kChannelFlow[] = "F 314 1 1\nF 237 1 1.0\nF 237 2 1.0\n";

CaseResult runChannel(const std::string &extra) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YW\n" + caseFile("channel", "control").substr(std::string("F 2 Y\n").size()) +
                           kChannelFlow + extra;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  return runCase(setup);
}

TEST(WaterRun, ChannelWithoutOuterIterations) {
  ASSERT_EQ(caseFile("channel", "control").rfind("F 2 Y\n", 0), 0u);
  const CaseResult r = runChannel("K 1 0 50000\n");
  EXPECT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  EXPECT_TRUE(endsWith(log, "End Unstructure 360 cells\nRelaxation: 0.800000 0.200000 0.500000 0.500000\n")) << log;
  EXPECT_EQ(log.find("Iter:"), std::string::npos);
  EXPECT_FALSE(r.has("result.end"));
  EXPECT_TRUE(r.stdoutText.empty());
}

// F 293 keeps one "vostel" row per reported iteration with the residuals the
// "Iter:" line shows; three iterations end unconverged, with the warning.
TEST(WaterRun, ResidualHistoryOfF293) {
  const CaseResult r = runChannel("K 1 3 50000\nF 293 1\n");
  EXPECT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  EXPECT_NE(log.find("\nWarning: Solution not converged after 3 outer iterations, max residual "), std::string::npos)
      << log;
  std::istringstream vostel(r.file("vostel"));
  std::string line;
  std::getline(vostel, line);
  EXPECT_EQ(line, "Iteration, Residuals: Ux, Uy, Uz, Continuity, k, epsilon");
  for (int iter = 1; iter <= 3; ++iter) {
    ASSERT_TRUE(std::getline(vostel, line)) << r.file("vostel");
    std::istringstream row(line);
    int n = 0;
    row >> n;
    EXPECT_EQ(n, iter) << line;
    const std::size_t at = log.find("Iter: " + std::to_string(iter) + ", Resid: ");
    ASSERT_NE(at, std::string::npos) << log;
    std::istringstream reported(log.substr(at + 15 + std::to_string(iter).size()));
    for (int e = 1; e <= 6; ++e) {
      double kept = -1.0, shown = -1.0;
      row >> kept;
      reported >> shown;
      EXPECT_NEAR(kept, shown, 0.006 * std::fabs(shown) + 1e-12) << "iteration " << iter << ", equation " << e;
    }
  }
  EXPECT_FALSE(std::getline(vostel, line)) << line;
}

TEST(WaterRun, QRefusedInAFlowRun) {
  const CaseResult r = runChannel("F 1 Q\n");
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error: The F 1 Q data set in the control file is only used when generating\n"
                       "the grid. It is not used when running the program\n\n"))
      << r.file("boogie");
}

TEST(WaterRun, PartitionedModeNotedAndTheRunGoesOn) {
  const CaseResult r = runChannel("K 1 0 50000\nF 308 1\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.file("boogie").find("End Unstructure 360 cells\n"
                                  "Error for F 308 data set in the control file. The data set should not be \n"
                                  "used when computing the water flow in a TELVA version that is not MPI enabled\n\n"),
            std::string::npos)
      << r.file("boogie");
}

using WaterInProcess = FlowFixture;

TEST_F(WaterInProcess, YThenWNumbersTheBedCells) {
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  ASSERT_EQ(NoBCells, 0);
  iterGlobalMax = 0;
  operations = engineOperations();
  WaterSolve();
  EXPECT_EQ(NoBCells, 40);
  expectChannelBedCells();
}

TEST_F(WaterInProcess, BedroughReadOnceWithF90) {
  generateCase(CaseGrid::Channel);
  writeFile("bedrough", "B 3 3 0.05\n");
  FlagRoughness = 1;
  XksWall = 0.002;
  iterGlobalMax = 0;
  operations = engineOperations();
  WaterSolve();
  EXPECT_EQ(FlagReadBedrough, 1);
  const int bottom = static_cast<int>(zval[3][3][0]);
  ASSERT_GE(bottom, 1);
  EXPECT_EQ(Croughness[bottom], 0.05);
  EXPECT_EQ(Croughness[Ccellt[bottom]], 0.002);
  EXPECT_EQ(Croughness[static_cast<int>(zval[4][3][0])], 0.002);
  EXPECT_EQ(Broughness[Cbed[bottom]], 0.05);
}

}  // namespace
