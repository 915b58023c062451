// The dispatcher's small outputs: the converged straight channel through the
// binary (cell dump, bed points, outline, habitat, the "boogie.spe" lines),
// and in-process on the generated channel the sloping-bed rule, the habitat
// classes of a deepest column and the appended level series.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "files/dispatcher_small_outputs.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {


CaseSetup straightChannel(const std::string &extraControl) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  s.files["control"] = control + extraControl;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return s;
}

// 50 × 5 columns of 2 m, nine cells each, 1 m deep, 7.5 m3/s.
TEST(DispatcherSmallOutputs, ConvergedChannelWritesEverySideOutput) {
  const CaseResult r = runCase(straightChannel("F 329 1 1 0 0 0 0 0 0 1 1 0 1 1 1 1\n"));
  ASSERT_EQ(r.status, 1) << r.file("boogie");

  const std::vector<std::string> dump = linesOf(r.file("PontuPkt.dat"));
  ASSERT_EQ(dump.size(), 2250u);
  for (const std::string &line : dump) ASSERT_EQ(numbersOf(line).size(), 11u) << line;

  const std::vector<std::string> bed = linesOf(r.file("beddata.sim"));
  ASSERT_EQ(bed.size(), 250u);
  for (const std::string &line : bed) {
    const std::vector<double> v = numbersOf(line);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[2], 0.0, 1e-9) << line;
  }

  // The channel spans x 0..100 and y 0..10: 50 midpoints on each long side, 5 on each end.
  int south = 0, north = 0, west = 0, east = 0;
  for (const std::string &line : linesOf(r.file("prendo"))) {
    const std::vector<double> v = numbersOf(line);
    ASSERT_EQ(v.size(), 2u);
    if (std::fabs(v[1]) < 1e-6) ++south;
    else if (std::fabs(v[1] - 10.0) < 1e-6) ++north;
    else if (std::fabs(v[0]) < 1e-6) ++west;
    else if (std::fabs(v[0] - 100.0) < 1e-6) ++east;
  }
  EXPECT_EQ(linesOf(r.file("prendo")).size(), 110u);
  EXPECT_EQ(south, 50);
  EXPECT_EQ(north, 50);
  EXPECT_EQ(west, 5);
  EXPECT_EQ(east, 5);

  // Every column is 1 m deep: all 1000 m2 lie in the deepest class.
  const std::vector<std::string> habitat = linesOf(r.file("habitat"));
  ASSERT_EQ(habitat.size(), 21u);
  EXPECT_EQ(habitat[0], "Depth (m), area (m2), velocity (m/s), area(m2)");
  double speedArea = 0.0;
  for (int n = 1; n <= 20; ++n) {
    const std::vector<double> v = numbersOf(habitat[n]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[1], n == 20 ? 1000.0 : 0.0, 1e-3) << habitat[n];
    speedArea += v[3];
  }
  EXPECT_NEAR(speedArea, 1000.0, 1e-3);

  // Entries 13 and 14 together keep both lines.
  const std::vector<std::string> spe = linesOf(r.file("boogie.spe"));
  ASSERT_EQ(spe.size(), 2u) << r.file("boogie.spe");
  EXPECT_EQ(spe[0], "Fraction of sloping area: 0.000000");
  double q = 0, a = 0;
  ASSERT_EQ(std::sscanf(spe[1].c_str(), "Discharge (l/s): flux: %lf, velocity*area: %lf", &q, &a), 2) << spe[1];
  EXPECT_NEAR(q, 7500.0, 7.5);
  EXPECT_NEAR(a, 7500.0, 75.0);
}

// A habitat or "boogie.spe" that cannot be opened is skipped with a warning
// and the call goes on to its later steps and its status text.
TEST(DispatcherSmallOutputs, UnopenableReportIsSkipped) {
  CaseSetup s;
  s.files["control"] = "F 2 YM\nF 329 0 0 0 0 0 0 0 0 0 0 0 0 1 1\nG 1 13 7 11 1\n";
  s.files["koosurf"] = caseFile("channel", "koosurf");
  s.directories = {"habitat"};
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.file("boogie").find("Warning: can not open 'habitat' file\n"), std::string::npos) << r.file("boogie");
  EXPECT_EQ(r.file("boogie.spe"), "Fraction of sloping area: 0.000000\n");
}

class SmallOutputsInProcess : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel();
  }
  // Tilts every bed face: the bed falls by `degrees` toward +x, the surface
  // flows with u.
  static void tiltBed(double degrees, double u) {
    const double a = degrees * M_PI / 180.0;
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = u;
      Cyvel[c] = 0.0;
      if (Ccellb[c] != 0) continue;
      const int f = Cflateb[c];
      Fvx[f] = std::sin(a), Fvy[f] = 0.0, Fvz[f] = std::cos(a);
    }
  }
};

TEST_F(SmallOutputsInProcess, SlopingFractionCountsBedsSteeperThan17DegreesAlongTheFlow) {
  struct Row {
    double degrees, u;
    const char *line;
  };
  const Row rows[] = {
      {0.0, 1.0, "Fraction of sloping area: 0.000000\n"},
      {20.0, 1.0, "Fraction of sloping area: 1.000000\n"},
      {15.0, 1.0, "Fraction of sloping area: 0.000000\n"},
      {20.0, -1.0, "Fraction of sloping area: 0.000000\n"},  // the bed rises along the flow
  };
  for (const Row &row : rows) {
    tiltBed(row.degrees, row.u);
    beginSideReports();
    writeSlopingFraction();
    EXPECT_EQ(readFile("boogie.spe"), row.line) << row.degrees << " " << row.u;
  }
}

// The deepest column falls into class 20, a dry-speed column into class 1.
TEST_F(SmallOutputsInProcess, DeepestColumnInTheLastClassStillColumnInTheFirst) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = 0.0;
  const int deep = block[1].FirstCell;  // the bottom cell of the first column
  for (int c = deep; c > 0; c = Ccellt[c]) Cxvel[c] = 1.0;
  writeHabitat();
  const std::vector<std::string> lines = linesOf(readFile("habitat"));
  ASSERT_EQ(lines.size(), 21u);
  double total = 0.0;
  for (int n = 1; n <= 20; ++n) total += numbersOf(lines[n])[1];
  const double speedFirst = numbersOf(lines[1])[3], speedLast = numbersOf(lines[20])[3];
  EXPECT_GT(numbersOf(lines[20])[1], 0.0);  // the deepest column
  EXPECT_GT(speedLast, 0.0);
  EXPECT_NEAR(speedFirst + speedLast, total, 1e-9);  // one column fast, the rest still
}

TEST_F(SmallOutputsInProcess, LevelSeriesHoldsOneHeaderAndATimeBlockPerCall) {
  block[1].LayerMark = 1;
  for (const double t : {1.0, 2.0, 3.0}) {
    stimet = t;
    beginSideReports();
    appendLevelSeries();
  }
  const std::string text = readFile("boogie.spe");
  std::size_t headers = 0, times = 0;
  for (const std::string &line : linesOf(text)) {
    if (line == "X, Zsurf, Zthixo, Zgroundwater") ++headers;
    if (line.rfind("Time: ", 0) == 0) ++times;
  }
  EXPECT_EQ(headers, 1u);
  EXPECT_EQ(times, 3u);
  EXPECT_NE(text.find("\nTime: 3.000000 seconds\n"), std::string::npos);
  // Ten columns on the middle line of the block in each time block.
  EXPECT_EQ(linesOf(text).size(), 3u + 3u * 12u) << text;
}

}  // namespace
