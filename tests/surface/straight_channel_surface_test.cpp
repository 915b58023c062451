// End-to-end runs of the straight channel (cases/straight-channel, 50 x 5
// columns of 2 m, 1 m deep, 7.5 m3/s, M = 50) with the steady free surface:
// the surface takes the slope that the bed friction asks for, the trace
// file follows the updates, and the reference errors end the run.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

const char *kCase = "straight-channel";

// The case with further data sets after its own.
CaseSetup channelWith(const std::string &extraControl) {
  CaseSetup s;
  s.files["control"] = caseFile(kCase, "control") + extraControl;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  return s;
}


int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The water levels of the grid points in "bedres.t": grid line i -> levels.
std::map<int, std::vector<double>> levelsByLine(const std::string &bedres) {
  std::map<int, std::vector<double>> lines;
  const std::vector<std::string> text = linesOf(bedres);
  for (std::size_t n = 2; n < text.size(); ++n) {
    const std::vector<double> v = numbersOf(text[n]);
    if (v.size() != 7) break;  // the grid points end where the bed cells begin
    lines[static_cast<int>(v[0])].push_back(v[4]);
  }
  return lines;
}

double mean(const std::vector<double> &v) {
  double s = 0.0;
  for (double x : v) s += x;
  return s / v.size();
}

// F 36 2 with the outlet column at mid width as the reference, updated at
// the default interval.
const std::string kSurfaceRun = "F 36 2\nF 91 51 4\nF 1 C\nF 521 1\n";

}  // namespace

TEST(StraightChannelSurface, FrictionSlopesTheSurface) {
  const CaseResult r = runCase(channelWith(kSurfaceRun));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos);
  EXPECT_EQ(log.find("Error"), std::string::npos);

  // Every regeneration keeps the 2250 cells.
  const int grids = count(log, "End Unstructure ");
  EXPECT_EQ(count(log, "End Unstructure 2250 cells\n"), grids);
  EXPECT_GE(grids, 10);

  // Inlet above outlet by 0.5 to 2 times the Strickler estimate
  // L U^2 / (M^2 R^(4/3)) = 0.029 m; no line above the one before it.
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  const double drop = mean(lines.at(1)) - mean(lines.at(51));
  EXPECT_GE(drop, 0.014);
  EXPECT_LE(drop, 0.057);
  for (int i = 2; i <= 51; ++i) EXPECT_LE(mean(lines.at(i)), mean(lines.at(i - 1)) + 0.001) << "grid line " << i;
  // The outlet stays at the initial level, which became GlobZRef: the
  // points beside the reference column within 2 mm. The outflow is shared
  // over the section by area, so the slow cells at the walls must speed up
  // towards it, and the wall points settle a few millimetres lower.
  const std::vector<double> &outlet = lines.at(51);
  ASSERT_EQ(outlet.size(), 6u);
  EXPECT_NEAR(outlet[2], 1.0, 0.002);
  EXPECT_NEAR(outlet[3], 1.0, 0.002);
  for (double z : outlet) EXPECT_NEAR(z, 1.0, 0.006);

  // The trace: its header, one row of 14 numbers per update, the reference
  // column (51, 4), GlobZRef set once, the surface settled at the end.
  const std::vector<std::string> trace = linesOf(r.file("boogie-t"));
  ASSERT_GE(trace.size(), 2u);
  EXPECT_EQ(trace[0], "Time   dh  Czcenter  Ckdist  iSurfLocal  iPres  jPres   zval   GlobZRef GlobPresRef residualP BI1 "
                      "dep1 dep2");
  EXPECT_EQ(static_cast<int>(trace.size()) - 1, grids - 1);  // the first grid is the letter Y's
  for (std::size_t n = 1; n < trace.size(); ++n) {
    const std::vector<double> row = numbersOf(trace[n]);
    ASSERT_EQ(row.size(), 14u) << trace[n];
    EXPECT_EQ(row[5], 51.0);
    EXPECT_EQ(row[6], 4.0);
    EXPECT_EQ(row[8], numbersOf(trace[1])[8]) << "row " << n;
  }
  EXPECT_LT(std::fabs(numbersOf(trace.back())[1]), 0.002);
  EXPECT_EQ(count(log, "Start surface\n"), grids - 1);
  EXPECT_EQ(count(log, "End surface\n"), grids - 1);
}

// With a zero-gradient outflow (F 263) the section keeps the velocity profile
// the flow brings to it, and the whole outlet line stays at the reference
// level.
TEST(StraightChannelSurface, ZeroGradientOutflowKeepsTheOutletLevel) {
  const CaseResult r = runCase(channelWith(kSurfaceRun + "F 263 2 1\n"));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos);
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  const double drop = mean(lines.at(1)) - mean(lines.at(51));
  EXPECT_GE(drop, 0.014);
  EXPECT_LE(drop, 0.057);
  ASSERT_EQ(lines.at(51).size(), 6u);
  for (double z : lines.at(51)) EXPECT_NEAR(z, 1.0, 0.002);
}

TEST(StraightChannelSurface, ReferenceErrorsEndTheRun) {
  struct Row {
    const char *name;
    std::string control;
    int status;
    std::string logEnd;
  };
  const std::string errorOne =
      " is dry\nThis may be due to drying up of the reference cell area\n"
      "If the 2D index does not fit, the problem may be due to that\n"
      "the choise of the number of the G 6 data set was done when F 112 1\n"
      "was used in the control file.\n\n"
      "The problem may be solved by using G 6 0 0 X ... \n"
      "where X is the number of the discharge group of the outflow region\n\n";
  const Row rows[] = {
      {"no reference column", "F 36 2\nG 6 25 0 0 0.1 0.01\n", 255,
       "Error 1 in Surface update, reference cell 0 0" + errorOne},
      {"F 91 beyond the grid", "F 36 2\nF 91 99 4\n", 255, "Error 1 in Surface update, reference cell 99 4" + errorOne},
      {"cell not in the outflow group", "F 36 2\nG 6 25 0 2 0.1 0.01\n", 252,
       "Error in G 6 or G 62 data set: Cell number 19 is not in discharge group 2\n"
       "This error can be caused by a too low 'to' value the 'Vertical level' \n"
       "part in the input dialog box of the vantorell, when the unstruc file was made.\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const CaseResult r = runCase(channelWith(row.control));
    const std::string log = r.file("boogie");
    EXPECT_EQ(r.status, row.status) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
    EXPECT_TRUE(endsWith(log, row.logEnd)) << log.substr(log.size() > 1000 ? log.size() - 1000 : 0);
  }
}

// The tail's smoothing and edge levels keep the friction slope: the same
// band, and the outlet stays at the reference level within a centimetre.
TEST(StraightChannelSurface, TailOptionsKeepTheSlope) {
  for (const char *option : {"F 154 1 0.5\n", "F 187 1\n"}) {
    SCOPED_TRACE(option);
    const CaseResult r = runCase(channelWith(kSurfaceRun + option));
    const std::string log = r.file("boogie");
    ASSERT_EQ(r.status, 1) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
    EXPECT_NE(log.find("Solution converged"), std::string::npos);
    EXPECT_EQ(log.find("Error"), std::string::npos);
    const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
    ASSERT_EQ(lines.size(), 51u);
    const double drop = mean(lines.at(1)) - mean(lines.at(51));
    EXPECT_GE(drop, 0.014);
    EXPECT_LE(drop, 0.057);
    for (double z : lines.at(51)) EXPECT_NEAR(z, 1.0, 0.01);
  }
}
