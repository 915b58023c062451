// The straight channel of cases/straight-channel, 100 m x 10 m x 1 m with
// 7.5 m3/s: the run converges through the binary, and in-process the
// developed profile of column (41, 4) follows the rough log law, the bed
// shear balances the pressure slope and every cross-section carries the
// discharge, serially and with the stages on four threads.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/structured.h"
#include "startup/entry.h"
#include "support/channel_columns.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

constexpr const char *kCase = "straight-channel";
constexpr double kKs = 0.01977;       // (26/50)^6 m, from W 1's Manning-Strickler number
constexpr double kDepth = 1.0;        // m
constexpr double kInflow = 7500.0;    // kg/s
constexpr int kColumnI = 41, kColumnJ = 4;  // centred at x = 79 m, y = 5 m

double seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

TEST(StraightChannel, ConvergesThroughTheBinary) {
  CaseSetup setup;
  setup.files["control"] = caseFile(kCase, "control");
  setup.files["koosurf"] = caseFile(kCase, "koosurf");
  const auto start = std::chrono::steady_clock::now();
  const CaseResult result = runCase(setup);
  const double wall = seconds(start);
  const std::string log = result.file("boogie");
  std::string lastIter = "none";
  for (std::size_t at = log.find("Iter: "); at != std::string::npos; at = log.find("Iter: ", at + 1)) {
    lastIter = log.substr(at, log.find(',', at) - at);
  }
  std::printf("straight channel: last report %s, %.1f s\n", lastIter.c_str(), wall);
  RecordProperty("wall_seconds", std::to_string(wall));

  EXPECT_EQ(result.status, 1) << log;
  EXPECT_NE(log.find("Relaxation: 0.800000 0.200000 0.500000 0.500000\n"), std::string::npos) << log;
  EXPECT_NE(log.find("Iter: 1, Resid: "), std::string::npos) << log;
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  EXPECT_EQ(log.find("Warning: Zero inflow/outflow area"), std::string::npos) << log;
  EXPECT_EQ(log.find("Warning: Solution not converged"), std::string::npos) << log;
}

// The extra control lines of a run: none, the stages on four threads, or
// the depth-summed accelerator on p' alone or on every equation.
class StraightChannelFlow : public WorkFolderTest, public ::testing::WithParamInterface<const char *> {};

// The rough log law u/u* at height z above the bed, kappa 0.41.
double logLaw(double z) { return std::log(30.0 * z / kKs) / 0.41; }

TEST_P(StraightChannelFlow, PhysicalChecks) {
  writeFile("control", caseFile(kCase, "control") + GetParam());
  writeFile("koosurf", caseFile(kCase, "koosurf"));
  const auto start = std::chrono::steady_clock::now();
  InitialFunction();
  const double wall = seconds(start);
  std::printf("straight channel in-process: %d outer iterations, %.1f s\n", Iter, wall);
  RecordProperty("outer_iterations", Iter);
  RecordProperty("wall_seconds", std::to_string(wall));
  ASSERT_NE(readFile("boogie").find("Solution converged"), std::string::npos) << readFile("boogie");

  // The column's profile, printed with every failure below.
  const std::vector<int> column = columnCells(kColumnI, kColumnJ);
  ASSERT_GE(column.size(), 2u);
  const int bottom = column.front();
  const double ustar = std::sqrt(0.3 * Ckinen[bottom]);  // bed shear 300 k = rho u*^2
  std::vector<double> z;
  std::ostringstream profile;
  profile << "column (" << kColumnI << ", " << kColumnJ << "), u* = " << ustar << "\n     z          u          k       L(z)\n";
  double below = 0.0;
  for (int c : column) {
    z.push_back(below + Ckdist[c]);
    below += 2.0 * Ckdist[c];
    char line[120];
    std::snprintf(line, sizeof line, "%8.4f %10.5f %10.6f %10.4f\n", z.back(), Cxvel[c], Ckinen[c], logLaw(z.back()));
    profile << line;
  }
  SCOPED_TRACE(profile.str());

  // 1. u rises from the bed to the top; the cross and vertical velocities are small.
  for (std::size_t m = 0; m < column.size(); ++m) {
    const int c = column[m];
    if (m > 0) {
      EXPECT_GT(Cxvel[c], Cxvel[column[m - 1]]) << "level " << m + 1;
    }
    EXPECT_LT(std::fabs(Cyvel[c]), 0.01 * Cxvel[c]) << "v at level " << m + 1;
    EXPECT_LT(std::fabs(Czvel[c]), 0.01 * Cxvel[c]) << "w at level " << m + 1;
  }

  // 2. The rough log law within 10 per cent over the whole depth.
  for (std::size_t m = 0; m < column.size(); ++m) {
    const double law = logLaw(z[m]);
    EXPECT_LE(std::fabs(Cxvel[column[m]] / ustar - law), 0.10 * law) << "level " << m + 1 << ", z = " << z[m];
  }

  // 3. Bed shear against the pressure slope of the mid-depth cells of row
  //    j = 4, columns centred from 31 m (i = 17) to 71 m (i = 37).
  for (int i = 17; i <= 37; ++i) ASSERT_FALSE(columnCells(i, kColumnJ).empty()) << "column " << i;
  const double slope = midDepthSlope(17, 37, kColumnJ, [](int c) { return Cpres[c]; });
  const double ratio = ustar * ustar / (-(kDepth / 1000.0) * slope);
  EXPECT_GE(ratio, 0.8) << "dp/dx = " << slope << " Pa/m";
  EXPECT_LE(ratio, 1.1) << "dp/dx = " << slope << " Pa/m";

  // 4. Every interior cross-section (the west faces of columns 3..51)
  //    carries the inflow, and the summed defect is negligible.
  for (int i = 3; i <= 51; ++i) {
    double flux = 0.0;
    for (int j = 2; j <= 6; ++j) {
      for (int c : columnCells(i, j)) flux += Fflux[Cflatew[c]];
    }
    EXPECT_NEAR(flux, kInflow, 7.51) << "cross-section at the west side of column " << i;
  }
  EXPECT_LT(std::fabs(GlobContinuity), 1e-6 * NormResidual[4]);
}

INSTANTIATE_TEST_SUITE_P(Threads, StraightChannelFlow, ::testing::Values("", "F 206 4\n"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           return std::string(info.param[0] == '\0' ? "Serial" : "FourThreads");
                         });

INSTANTIATE_TEST_SUITE_P(Accelerator, StraightChannelFlow,
                         ::testing::Values("F 168 2\nK 5 0 0 0 10 0 0\n", "F 168 2\nK 5 10 10 10 10 10 10\n"),
                         [](const ::testing::TestParamInfo<const char *> &info) {
                           return std::string(info.index == 0 ? "PressureOnly" : "EveryEquation");
                         });

}  // namespace
