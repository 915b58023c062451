// End-to-end runs of the straight channel (cases/straight-channel, 50 x 5
// columns of 2 m, 1 m deep, 7.5 m3/s, M = 50) through the driver's level
// equations and the modular level algorithms of F 323: the surface falls in
// the flow direction by about the friction slope, the simple correction of
// F 323 2 regenerates the grid at every call, an outflow group holds the
// outlet line at the first reference level, and the continuity level keeps
// the sloped start of cases/straight-channel-sloped.
#include <gtest/gtest.h>

#include <map>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

CaseSetup channelWith(const std::string &extraControl, const char *caseName = "straight-channel") {
  CaseSetup s;
  s.files["control"] = caseFile(caseName, "control") + extraControl;
  s.files["koosurf"] = caseFile(caseName, "koosurf");
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
  const char *line = nullptr;  // a line the log must hold
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
  if (row.line) {
    EXPECT_EQ(count(log, row.line), 1) << row.line;
  }
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
// backwater curve marches 0.0217 m. Some equations of the level change take
// equal side weights (F 278 5) here.
INSTANTIATE_TEST_SUITE_P(
    ModularDispatch, SteadyAlgorithmBand,
    ::testing::Values(BandRow{"Classic", "F 323 1\nF 36 2\n", 0.014, 0.057, 0.002, 0.006},
                      BandRow{"UpwindLevels", "F 323 1\nF 36 10\n", 0.014, 0.057, 0.002, 0.006},
                      BandRow{"BackwaterCurve", "F 323 1\nF 36 30\n", 0.0207, 0.0227, 0.002, 0.006},
                      BandRow{"FivePoint", "F 323 1\nF 36 4\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"NinePoint", "F 323 1\nF 36 8\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"AlgorithmSeven", "F 323 1\nF 36 7\nF 278 5\n", 0.014, 0.057, 0.003, 0.012},
                      BandRow{"FivePointOpenOutlet", "F 323 1\nF 36 4\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      BandRow{"NinePointOpenOutlet", "F 323 1\nF 36 8\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      BandRow{"AlgorithmSevenOpenOutlet", "F 323 1\nF 36 7\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      // The Casulli conductances carry the flow with the
                      // Manning slope at H = depth, 100 x 0.75^2 / 50^2 =
                      // 0.0225 m over the whole channel. Across the flow the
                      // speed floor of 0.0001 m/s makes the conductances 7500
                      // times those along it, so the point sweeps alone move a
                      // column by 3e-8 m and stop at once; the line solvers
                      // of F 343 sum the lines and carry the drop.
                      BandRow{"CasulliLineCorrection", "F 323 1\nF 36 9\nF 343 2\n", 0.019, 0.024, 0.001, 0.001},
                      BandRow{"CasulliLineMultigrid", "F 323 1\nF 36 9\nF 343 1\n", 0.014, 0.057, 0.001, 0.001},
                      BandRow{"CasulliRaisedCrossFlow", "F 323 1\nF 36 9\nF 470 2\nF 345 0\n", 0.0200, 0.0245, 0.001,
                              0.001}),
    [](const ::testing::TestParamInfo<BandRow> &info) { return std::string(info.param.name); });

// The driver's level equations with the default weights and a reference
// column from F 91. A subcritical column leans on its downstream neighbour
// alone, and an outlet column only on the side neighbour its small cross flow
// points to. The outflow shared by area makes the outlet's top pressures 0 Pa
// at the walls and 35 to 47 Pa inside, so the column beside a wall column
// asks to stand 3 mm above it; both share the grid points between them, and
// the outlet rises without bound (1.07 m after 5000 iterations). A
// zero-gradient outflow (F 263 2 1) leaves the outlet pressures level, and
// the default weights settle; so does an outflow group holding the outlet
// line (below).
INSTANTIATE_TEST_SUITE_P(
    DriverEquations, SteadyAlgorithmBand,
    ::testing::Values(BandRow{"UpwindLevels", "F 36 10\n", 0.014, 0.057, 0.002, 0.006},
                      BandRow{"FivePointChangeOpenOutlet", "F 36 4\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      // Without an outflow group the weightless outlet
                      // columns keep their level and hold the surface.
                      BandRow{"FivePointLevelOpenOutlet", "F 36 21\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      BandRow{"NinePointSimpleOpenOutlet", "F 36 8\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      BandRow{"NinePointFullOpenOutlet", "F 36 7\nF 263 2 1\n", 0.014, 0.057, 0.002, 0.002},
                      // Each column moves by the weighted mean of its own
                      // targets, so a change crosses one column per update.
                      BandRow{"NinePointMeanOpenOutlet", "F 36 9\nF 263 2 1\nG 6 0 0 0 0.5 0.01\n", 0.014, 0.057, 0.002,
                              0.002, "Using F 36 9 in the control file should only be done in combination with F 323 1\n"}),
    [](const ::testing::TestParamInfo<BandRow> &info) { return std::string(info.param.name); });

// The values of one column of the "boogie-t" trace rows (after the header).
std::vector<double> traceColumn(const std::string &trace, std::size_t column) {
  std::vector<double> values;
  const std::vector<std::string> text = linesOf(trace);
  for (std::size_t n = 1; n < text.size(); ++n) {
    std::istringstream in(text[n]);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    if (v.size() > column) values.push_back(v[column]);
  }
  return values;
}

struct GroupRow {
  const char *name;
  std::string control;
  friend void PrintTo(const GroupRow &row, std::ostream *os) { *os << row.name; }
};

class OutflowGroupReference : public ::testing::TestWithParam<GroupRow> {};

// The reference column found on the outflow group (G 6 0 0 2, no F 91, no
// level series), with the default neighbour weights: the reference level of
// the first update stays for the run, the outflow group holds every point of
// the outlet line at it, and the surface falls to it by the friction slope
// (the Strickler estimate 0.029 m).
TEST_P(OutflowGroupReference, HoldsTheOutletAtTheFirstLevel) {
  const GroupRow &row = GetParam();
  const CaseResult r = runCase(channelWith(row.control + "F 1 C\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << tailOf(log);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  const std::vector<double> reference = traceColumn(r.file("boogie-t"), 8);
  ASSERT_GE(reference.size(), 10u);
  for (double z : reference) EXPECT_EQ(z, reference.front());
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  const std::vector<double> &outlet = lines.at(51);
  ASSERT_EQ(outlet.size(), 6u);
  for (double z : outlet) EXPECT_NEAR(z, 1.0, 0.001);
  const double drop = mean(lines.at(1)) - mean(outlet);
  EXPECT_GE(drop, 0.025);
  EXPECT_LE(drop, 0.035);
  // Upstream of the last two columns, whose levels the held outlet line
  // shapes (the classic levels dip 2.6 mm below it there).
  for (int i = 2; i <= 49; ++i) EXPECT_LE(mean(lines.at(i)), mean(lines.at(i - 1)) + 0.001) << "grid line " << i;
}

INSTANTIATE_TEST_SUITE_P(
    DefaultWeights, OutflowGroupReference,
    ::testing::Values(GroupRow{"Classic", "F 36 2\nG 6 0 0 2 0.1 0.01\n"},
                      GroupRow{"FivePointChange", "F 36 4\nG 6 0 0 2 0.1 0.01\n"},
                      GroupRow{"NinePointFull", "F 36 7\nG 6 0 0 2 0.1 0.01\n"},
                      GroupRow{"NinePointSimple", "F 36 8\nG 6 0 0 2 0.1 0.01\n"},
                      GroupRow{"FivePointLevel", "F 36 21\nG 6 0 0 2 0.1 0.01\n"},
                      GroupRow{"ModularFivePoint", "F 323 1\nF 36 4\nG 6 0 0 2 0.1 0.01\n"},
                      // The weighted mean of a column's targets moves it by a
                      // fraction of its change: a larger relaxation.
                      GroupRow{"NinePointMean", "F 36 9\nG 6 0 0 2 0.5 0.01\n"}),
    [](const ::testing::TestParamInfo<GroupRow> &info) { return std::string(info.param.name); });

// F 323 2 lifts every point by a tenth of its top pressure head at each call
// and regenerates the grid: one timing line per call, the cells kept. It has
// no target level, so the run never settles and writes no result at its
// end; "P 10 300" writes the numbered results after the second call.
TEST(SteadyAlgorithmsChannel, SimpleCorrectionRegeneratesAtEveryCall) {
  const CaseResult r = runCase(
      channelWith("F 36 2\nF 91 51 4\nF 323 2\nF 481 1\nF 1 P\nF 105 100\nK 1 300 50000\nP 10 300\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  const int calls = count(log, "Surface genereation time: ");
  EXPECT_GE(calls, 1);
  EXPECT_LE(calls, 3);
  EXPECT_EQ(count(log, "End Unstructure 2250 cells\n"), calls + 1);  // and the letter Y's grid
  ASSERT_TRUE(r.has("bedres.0000"));
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.0000"));
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_GT(mean(lines.at(1)), mean(lines.at(51)) + 0.002);
  for (double z : lines.at(51)) EXPECT_NEAR(z, 1.0, 0.002);
}

// F 36 5 from a surface that already falls by the friction slope
// (cases/straight-channel-sloped, 1.029 - 0.00029 x). The first update waits
// for a developed flow (F 224 0.05): at the default it comes at iteration
// 10, where a column behind the front of the starting flow couples to its
// upstream neighbour ten times more strongly than to its outflow, and the
// changes grow along the channel. Every update then moves a point by a
// fraction of a millimetre, and the surface still falls downstream.
TEST(SteadyAlgorithmsChannel, ContinuityLevelKeepsASlopedSurface) {
  const CaseResult r = runCase(
      channelWith("F 36 5\nF 91 51 4\nF 224 0.05\nK 1 2600 50000\nP 10 2600\n", "straight-channel-sloped"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tailOf(log);
  EXPECT_EQ(log.find("Error"), std::string::npos) << tailOf(log);
  const int updates = count(log, "End Unstructure 2250 cells\n") - 1;  // less the letter Y's grid
  EXPECT_EQ(count(log, "End Unstructure "), updates + 1);
  ASSERT_GE(updates, 1);
  const std::string bedres = r.file("bedres.0000");
  const std::vector<std::string> text = linesOf(bedres);
  int points = 0;
  for (std::size_t n = 2; n < text.size(); ++n) {
    std::vector<double> v;
    std::istringstream in(text[n]);
    for (double x; in >> x;) v.push_back(x);
    if (v.size() != 7) break;
    const double x = 2.0 * (v[0] - 1.0);  // grid line i lies at x = 2 (i - 1)
    EXPECT_NEAR(v[4], 1.029 - 0.00029 * x, 0.001 * updates) << text[n];
    ++points;
  }
  EXPECT_EQ(points, 51 * 6);
  const std::map<int, std::vector<double>> lines = levelsByLine(bedres);
  ASSERT_EQ(lines.size(), 51u);
  const double drop = mean(lines.at(1)) - mean(lines.at(51));
  EXPECT_GE(drop, 0.014);
  EXPECT_LE(drop, 0.057);
  for (int i = 2; i <= 51; ++i) EXPECT_LE(mean(lines.at(i)), mean(lines.at(i - 1)) + 0.001) << "grid line " << i;
}

// F 36 9 holds its equation at the bottom cells, which a grid method that
// counts the cells from the bed (F 64 2, TopBed 1) leaves without a solved
// value: the first update refuses it.
TEST(SteadyAlgorithmsChannel, NinePointMeanRefusesCellsCountedFromTheBed) {
  const CaseResult r = runCase(channelWith("F 36 9\nF 64 2\nF 91 51 4\nK 1 30 50000\n"));
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(log, "Error: F 36 9 does not work with F 64 2\n")) << tailOf(log);
  EXPECT_NE(log.find("\nIter: 10, "), std::string::npos);  // at the first update, iteration 10
  EXPECT_EQ(log.find("\nIter: 11, "), std::string::npos);
  EXPECT_EQ(count(log, "End Unstructure "), 1);
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
