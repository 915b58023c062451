// The layer drivers through the binary on the straight channel (100 m x 10 m
// x 1 m, 7.5 m3/s, 50 x 5 columns of nine cells) against the main driver's
// converged "result.end", cross-sections i = 31..50: the depth-averaged layer
// (F 68 3) and the hydrostatic three-dimensional flow under it (F 68 1) reach
// a steady state, the layer carries the rough bed law at half depth, and the
// velocities stay near the main run's. The depth-averaged layer mixes across
// the channel more than the three-dimensional flow, so its profile across
// the channel is flatter: the side columns run up to 7 % faster and the
// pressure slope is about 22 % lower than the main run's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/channel_results.h"
#include "support/run_case.h"

namespace {

constexpr double kMeanVelocity = 0.75;  // m/s
constexpr double kKs = 0.019771;        // m, the roughness of W 1 50

using CellValues = ResultCell;
using Fields = ResultCells;

CaseResult runChannel(const std::string &extra) {
  CaseSetup setup;
  std::string control = caseFile("straight-channel", "control");
  if (!extra.empty()) {
    const std::string iterations = "K 1 5000 50000\n";
    control.replace(control.find(iterations), iterations.size(), extra);
  }
  setup.files["control"] = control;
  setup.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return runCase(setup);
}

// The last "Iter:" line's six residuals all below 0.001.
void expectSmallLastResiduals(const std::string &log) {
  const std::size_t at = log.rfind("Iter: ");
  ASSERT_NE(at, std::string::npos) << log;
  std::istringstream line(log.substr(log.find("Resid: ", at) + 7));
  for (int e = 1; e <= 6; ++e) {
    double r = 1.0;
    line >> r;
    EXPECT_LT(r, 0.001) << "equation " << e << ": " << log.substr(at, 80);
  }
}

// The least-squares slope of the mid-depth pressure along row j = 4, x from
// 31 m to 71 m, Pa/m.
double pressureSlope(const Fields &f) {
  double n = 0, sx = 0, sxx = 0, sp = 0, sxp = 0;
  for (int i = 17; i <= 37; ++i) {
    const double x = 2.0 * (i - 2) + 1.0, p = f.at(straightChannelColumn(i, 4)[4]).p;
    n += 1, sx += x, sxx += x * x, sp += p, sxp += x * p;
  }
  return (n * sxp - sx * sp) / (n * sxx - sx * sx);
}

class LayerChannel : public ::testing::Test {
 protected:
  // The driver run with K 1 2000 and a result every 100 iterations: its last
  // two results (1900 and 2000) and the main run's.
  void run(const char *driver) {
    const CaseResult reference = runChannel("");
    ASSERT_EQ(reference.status, 1);
    main = resultCells(reference.file("result.end"));
    ASSERT_EQ(main.size(), 2250u);
    const CaseResult r = runChannel(std::string("K 1 2000 50000\nP 10 100\n") + driver);
    log = r.file("boogie");
    EXPECT_EQ(r.status, 1) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_FALSE(r.has("result.end"));
    expectSmallLastResiduals(log);
    before = resultCells(r.file("result.0018"));
    last = resultCells(r.file("result.0019"));
    ASSERT_EQ(last.size(), 2250u);
    ASSERT_EQ(before.size(), 2250u);
    EXPECT_NE(r.file("result.0019").find("Results, iter = 2000\n"), std::string::npos);
    // No convergence stop: a steady state shows in the last two results.
    for (const auto &[c, values] : last) {
      ASSERT_LT(std::fabs(values.u - before.at(c).u), 0.001 * kMeanVelocity) << "cell " << c;
    }
  }
  Fields main, before, last;
  std::string log;
};

TEST_F(LayerChannel, DepthAveragedLayer) {
  run("F 68 3\n");
  for (int j = 2; j <= 6; ++j) {
    for (int i = 31; i <= 50; ++i) {
      const std::vector<int> cells = straightChannelColumn(i, j);
      double mean = 0.0;
      for (int c : cells) mean += main.at(c).u / 9.0;
      const CellValues &layer = last.at(cells[0]);
      for (int c : cells) {
        ASSERT_EQ(last.at(c).u, layer.u) << "cell " << c;
        ASSERT_EQ(last.at(c).w, 0.0) << "cell " << c;
      }
      EXPECT_NEAR(layer.u, mean, 0.08 * mean) << "column " << i << ", " << j;
      // Away from the side walls the bed shear 300 k is the rough law at
      // half depth: u* = U / (2.5 ln(30 x 0.5 m / ks)).
      if (j >= 3 && j <= 5) {
        const double ustar = layer.u / (2.5 * std::log(15.0 / kKs));
        EXPECT_NEAR(300.0 * layer.k, 1000.0 * ustar * ustar, 0.01 * 1000.0 * ustar * ustar) << "column " << i << ", " << j;
      }
    }
  }
  // The layer carries the discharge: 2 m wide columns, 1 m deep.
  double discharge = 0.0;
  for (int j = 2; j <= 6; ++j) discharge += last.at(straightChannelColumn(40, j)[0]).u * 2.0;
  EXPECT_NEAR(discharge, 7.5, 0.0075);
  const double slope = pressureSlope(last), reference = pressureSlope(main);
  EXPECT_LT(slope, 0.0);
  EXPECT_NEAR(slope / reference, 0.78, 0.05) << slope << " against " << reference << " Pa/m";
}

TEST_F(LayerChannel, HydrostaticFlowUnderTheLayer) {
  run("F 68 1\n");
  for (int j = 2; j <= 6; ++j) {
    for (int i = 31; i <= 50; ++i) {
      const std::vector<int> cells = straightChannelColumn(i, j);
      for (std::size_t m = 0; m < cells.size(); ++m) {
        const CellValues &h = last.at(cells[m]), &r = main.at(cells[m]);
        EXPECT_NEAR(h.u, r.u, 0.1 * r.u) << "cell " << cells[m];
        EXPECT_LT(std::fabs(h.w), 0.01 * h.u) << "cell " << cells[m];
        if (m > 0) { EXPECT_GT(h.u, last.at(cells[m - 1]).u) << "cell " << cells[m]; }
        // The column's pressure is the layer's, the same at every level.
        EXPECT_EQ(h.p, last.at(cells[0]).p) << "cell " << cells[m];
      }
    }
  }
}

// Grid sequencing on two levels: each cycle solves the column level to
// convergence, then the base grid for up to 300 outer iterations.
TEST(LayerChannelRun, GridSequencingCycles) {
  const CaseResult r = runChannel("K 1 3 50000\nF 152 2\n");
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  int converged = 0;
  for (std::size_t at = log.find("Solution converged"); at != std::string::npos;
       at = log.find("Solution converged", at + 1)) {
    ++converged;
  }
  EXPECT_EQ(converged, 3) << log;
  EXPECT_NE(log.find("Iter: 3, Resid: "), std::string::npos);
  EXPECT_EQ(log.find("Iter: 4, Resid: "), std::string::npos);
}

// Twenty cycles of grid sequencing reach the main driver's flow: after the
// first cycle the column level starts from its own solution, and only what
// its solve changes goes down to the base grid, which keeps converging
// across the cycles instead of starting again from the column level's means
// (its pressure drop is about a quarter lower, its k up to three times the
// base grid's column mean).
TEST(LayerChannelRun, GridSequencingReachesTheMainFlow) {
  const CaseResult reference = runChannel("");
  ASSERT_EQ(reference.status, 1);
  const Fields main = resultCells(reference.file("result.end"));
  ASSERT_EQ(main.size(), 2250u);
  const CaseResult r = runChannel("K 1 20 50000\nF 152 2\n");
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log;
  EXPECT_EQ(log.find("Error"), std::string::npos) << log;
  // The last cycle's base-grid call ends converged.
  EXPECT_TRUE(endsWith(log, "Solution converged\n")) << log.substr(log.size() - std::min<std::size_t>(log.size(), 400));
  EXPECT_EQ(log.compare(log.rfind("Iter: "), 10, "Iter: 20, "), 0);
  const Fields f = resultCells(r.file("result.end"));
  ASSERT_EQ(f.size(), 2250u);
  for (const auto &[c, m] : main) {
    const CellValues &v = f.at(c);
    ASSERT_NEAR(v.u, m.u, 0.01 * kMeanVelocity) << "u of cell " << c;
    ASSERT_NEAR(v.k, m.k, 0.03 * m.k) << "k of cell " << c;
    ASSERT_NEAR(v.e, m.e, 0.05 * m.e) << "epsilon of cell " << c;
  }
}

}  // namespace
