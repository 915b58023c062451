// End-to-end runs of the straight channel (cases/straight-channel, 50 x 5
// columns of 2 m, 1 m deep, 7.5 m3/s, M = 50) through the modular level
// algorithms of F 323: the surface falls in the flow direction by about the
// friction slope, and the simple correction of F 323 2 regenerates the grid
// at every call.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

CaseSetup channelWith(const std::string &extraControl) {
  CaseSetup s;
  s.files["control"] = caseFile("straight-channel", "control") + extraControl;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return s;
}

int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

double mean(const std::vector<double> &v) {
  double s = 0.0;
  for (double x : v) s += x;
  return s / v.size();
}

std::string tailOf(const std::string &log) { return log.substr(log.size() > 3000 ? log.size() - 3000 : 0); }

struct BandRow {
  const char *name;
  std::string control;
  double lowest, highest;  // the drop from the inlet line to the outlet line, m
  double middle, walls;    // how far the middle and the wall points of the outlet may lie from 1 m
  friend void PrintTo(const BandRow &row, std::ostream *os) { *os << row.name; }
};

class SteadyAlgorithmBand : public ::testing::TestWithParam<BandRow> {};

// The inlet line stands above the outlet line by the drop of the row, the
// outlet stays at the reference level (the middle points within 2 mm, the
// slower wall points a few millimetres lower) and no line's mean stands more
// than 1 mm above the line before.
TEST_P(SteadyAlgorithmBand, SurfaceFallsDownstream) {
  const BandRow &row = GetParam();
  const CaseResult r = runCase(channelWith(row.control + "F 91 51 4\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_NE(log.find("Solution converged"), std::string::npos);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  EXPECT_EQ(count(log, "End Unstructure "), count(log, "End Unstructure 2250 cells\n"));
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  const double drop = mean(lines.at(1)) - mean(lines.at(51));
  EXPECT_GE(drop, row.lowest);
  EXPECT_LE(drop, row.highest);
  for (int i = 2; i <= 51; ++i) EXPECT_LE(mean(lines.at(i)), mean(lines.at(i - 1)) + 0.001) << "grid line " << i;
  const std::vector<double> &outlet = lines.at(51);
  ASSERT_EQ(outlet.size(), 6u);
  EXPECT_NEAR(outlet[2], 1.0, row.middle);
  EXPECT_NEAR(outlet[3], 1.0, row.middle);
  for (double z : outlet) EXPECT_NEAR(z, 1.0, row.walls);
}

// 0.5 to 2 times the Strickler estimate L U^2 / (M^2 R^(4/3)) = 0.029 m; the
// backwater curve marches 0.0217 m. The equations of the level change take
// equal side weights (F 278 5), as below.
INSTANTIATE_TEST_SUITE_P(
    ModularDispatch, SteadyAlgorithmBand,
    ::testing::Values(BandRow{"Classic", "F 323 1\nF 36 2\n", 0.014, 0.057, 0.002, 0.006},
                      BandRow{"UpwindLevels", "F 323 1\nF 36 10\n", 0.014, 0.057, 0.002, 0.006},
                      BandRow{"BackwaterCurve", "F 323 1\nF 36 30\n", 0.0207, 0.0227, 0.002, 0.006},
                      BandRow{"FivePoint", "F 323 1\nF 36 4\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"NinePoint", "F 323 1\nF 36 8\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"AlgorithmSeven", "F 323 1\nF 36 7\nF 278 5\n", 0.014, 0.057, 0.003, 0.012}),
    [](const ::testing::TestParamInfo<BandRow> &info) { return std::string(info.param.name); });

// The driver's level equations with equal weights on every side (F 278 5):
// the surface settles in the band. The outlet columns other than the
// reference are held only through their neighbours, so the wall points of
// the outlet end up to 1 cm low; with F 36 21 the outflow group holds the
// whole outlet line, a few millimetres under the start level.
INSTANTIATE_TEST_SUITE_P(
    DriverEquations, SteadyAlgorithmBand,
    ::testing::Values(BandRow{"FivePointChange", "F 36 4\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"FivePointLevel", "F 36 21\nG 6 0 0 2 0.1 0.01\nF 278 5\n", 0.014, 0.057, 0.007, 0.007},
                      BandRow{"NinePointSimple", "F 36 8\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"NinePointFull", "F 36 7\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"UpwindLevels", "F 36 10\n", 0.014, 0.057, 0.002, 0.006}),
    [](const ::testing::TestParamInfo<BandRow> &info) { return std::string(info.param.name); });

// F 323 2 lifts every point by a tenth of its top pressure head at each call
// and regenerates the grid: one timing line per call, the cells kept.
TEST(SteadyAlgorithmsChannel, SimpleCorrectionRegeneratesAtEveryCall) {
  const CaseResult r =
      runCase(channelWith("F 36 2\nF 91 51 4\nF 323 2\nF 481 1\nF 1 P\nF 105 100\nK 1 300 50000\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  const int calls = count(log, "Surface genereation time: ");
  EXPECT_GE(calls, 1);
  EXPECT_LE(calls, 3);
  EXPECT_EQ(count(log, "End Unstructure 2250 cells\n"), calls + 1);  // and the letter Y's grid
}

// F 36 6 updates the surface once by the continuity level and then ends the
// W run with its warning.
TEST(SteadyAlgorithmsChannel, ContinuityLevelOnceThenTheWarning) {
  const CaseResult r = runCase(channelWith("F 36 6\nF 91 51 4\nF 521 1\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  EXPECT_EQ(count(log, "Start surface\n"), 1);
  EXPECT_NE(log.find("Warning: F 36 6 ends a W run after one surface update; it is meant for the sediment loop (F 37)\n"),
            std::string::npos);
}

}  // namespace
