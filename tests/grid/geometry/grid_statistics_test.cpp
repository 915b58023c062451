// The grid statistics of F 212 through a run of the engine on the channel
// (ten by four columns of nine cells of 1/9 m, bed at 0): the letter W sets
// up the flow, whose geometry pass writes them, and K 1 0 leaves the flow
// unsolved.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

CaseResult runStatistics(const std::string &option, bool withGeodata) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YW\nG 1 13 7 11 1\nK 1 0 50000\n" + option;
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  if (withGeodata) setup.files["geodata"] = caseFile("roughness", "geodata");
  return runCase(setup);
}

// The 101 lines of one histogram from zmin 0 in steps of 1/9 * 17/200 m (the
// highest cell centre 17/18 m over 100 bins), with the counts given by bin.
std::vector<std::string> histogram(const std::vector<std::pair<int, int>> &counts) {
  std::vector<std::string> lines;
  for (int k = 0; k <= 100; ++k) {
    int n = 0;
    for (const auto &[bin, count] : counts) n += bin == k ? count : 0;
    char line[64];
    std::snprintf(line, sizeof line, "%lf %lf", k * (17.0 / 18.0) / 100.0, static_cast<double>(n));
    lines.push_back(line);
  }
  return lines;
}

struct LogStatistic {
  const char *name, *option, *line;
};

TEST(GridStatisticsLog, HeightsAndRatio) {
  const LogStatistic rows[] = {
      {"heights", "F 212 15\n", "\nVertical cell size: Max: 0.111111, Min: 0.111111, Average: 0.111111 m\n\n"},
      {"ratio", "F 212 16\n", "\nAverage cell height/width = 0.111111\n"},
  };
  for (const LogStatistic &r : rows) {
    SCOPED_TRACE(r.name);
    const CaseResult run = runStatistics(r.option, false);
    EXPECT_EQ(run.status, 1);
    const std::string log = run.file("boogie");
    EXPECT_NE(log.find(std::string("End Unstructure 360 cells") + r.line), std::string::npos) << log;
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
    EXPECT_FALSE(run.has("cellvol"));
  }
}

// All 40 columns stand on the bed at 0: one full bin.
TEST(GridStatisticsCellvol, BottomLevels) {
  const CaseResult run = runStatistics("F 212 12\n", false);
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(linesOf(run.file("cellvol")), histogram({{0, 40}}));
}

// The measured points at 0.05 and 0.1 m fall into bins 5 and 10; the eight
// below the lowest cell bottom are left out.
TEST(GridStatisticsCellvol, MeasuredBedPoints) {
  const CaseResult run = runStatistics("F 212 12\n", true);
  EXPECT_EQ(run.status, 1);
  std::vector<std::string> expected = histogram({{0, 40}});
  expected.push_back("No. points used in geodata file: 16");
  for (const std::string &line : histogram({{5, 4}, {10, 4}})) expected.push_back(line);
  EXPECT_EQ(linesOf(run.file("cellvol")), expected);
}

// "cellvol" that cannot be written ends the run with -3.
TEST(GridStatisticsCellvol, UnwritableFile) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YW\nG 1 13 7 11 1\nK 1 0 50000\nF 212 12\n";
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.directories.push_back("cellvol");
  const CaseResult run = runCase(setup);
  EXPECT_EQ(run.status, 253);
}

}  // namespace
