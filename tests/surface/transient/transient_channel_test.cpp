// End-to-end runs of the straight channel (cases/straight-channel, 50 x 5
// columns of 2 m, 1 m deep, 7.5 m3/s, M = 50) with the transient free
// surface: one time step of 1 s per outer iteration, the grid regenerated on
// the moved levels after each, the "timei" level held at the outlet.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

const char *kCase = "straight-channel";

// The case with "K 1 <steps>" and further data sets; with a "timei" when
// given.
CaseSetup transientChannel(int steps, const std::string &extra, const std::string &timei = "") {
  std::string control = caseFile(kCase, "control");
  const std::string k1 = "K 1 5000 50000\n";
  control.replace(control.find(k1), k1.size(), "K 1 " + std::to_string(steps) + " 50000\n");
  const std::string f2 = "F 2 YW\n";
  control.replace(control.find(f2), f2.size(), "F 2 YWM\n");
  CaseSetup s;
  s.files["control"] = control + "F 33 1.0 10\n" + extra;
  s.files["koosurf"] = caseFile(kCase, "koosurf");
  if (!timei.empty()) s.files["timei"] = timei;
  return s;
}

// The water levels of the grid points in "bedres.t": grid line i -> levels.
std::map<int, std::vector<double>> levelsByLine(const std::string &bedres) {
  std::map<int, std::vector<double>> lines;
  const std::vector<std::string> text = linesOf(bedres);
  for (std::size_t n = 2; n < text.size(); ++n) {
    std::istringstream in(text[n]);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
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

int count(const std::string &text, const std::string &what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::string tail(const std::string &log) { return log.substr(log.size() > 2000 ? log.size() - 2000 : 0); }

const std::string kTimei = "H 0 -1 1.0\nH 100000 -1 1.0\n";

}  // namespace

// Without the gravity term (F 181 0) the surface does not settle, but the
// steps run through: five calls, each with its trace lines in order, the
// outlet held at the "timei" level exactly, the inlet (level -1) left free.
TEST(TransientChannel, StepsRunAndTheSeriesHoldsTheOutlet) {
  const CaseResult r = runCase(transientChannel(5, "F 36 16\nF 181 0\nF 521 1\n", kTimei));
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << tail(log);
  EXPECT_EQ(log.find("Error"), std::string::npos);
  EXPECT_EQ(count(log, "In surface_tfs-1\nIn surface_tfs-2\nIn surface_tfs-3\n"), 5);
  EXPECT_EQ(count(log, "End surface_tfs\n"), 5);  // after the regeneration's own lines
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
  ASSERT_EQ(lines.size(), 51u);
  for (const auto &[i, levels] : lines) {
    for (double z : levels) EXPECT_TRUE(std::isfinite(z) && z > 0.5 && z < 1.5) << "grid line " << i << ": " << z;
  }
  ASSERT_EQ(lines.at(51).size(), 6u);
  for (double z : lines.at(51)) EXPECT_EQ(z, 1.0);
}

// The rules that need no gravity term to stay finite run 20 steps.
TEST(TransientChannel, RulesRunTwentyStepsWithoutGravity) {
  for (int rule : {1, 12, 16, 18}) {
    SCOPED_TRACE("F 36 " + std::to_string(rule));
    const CaseResult r = runCase(transientChannel(20, "F 36 " + std::to_string(rule) + "\nF 181 0\nF 521 1\n"));
    const std::string log = r.file("boogie");
    ASSERT_EQ(r.status, 1) << tail(log);
    EXPECT_EQ(log.find("Error"), std::string::npos);
    EXPECT_EQ(count(log, "End surface_tfs\n"), 20);
    for (const auto &[i, levels] : levelsByLine(r.file("bedres.t"))) {
      for (double z : levels) EXPECT_TRUE(std::isfinite(z)) << "grid line " << i;
    }
  }
}

// The settling runs of the transient surface (F 36 16, which switches the
// weight term on). The levels live on the grid points: the default spreading
// of a column's level change onto its upstream corners (F 179 1 0) moves the
// change half a column away from the flux defect that caused it, and every
// short wave running downstream then grows, whatever the time step (the
// channel diverges after 16 s with steps of 0.1 s, after 43 s with 1 s).
// Equal corner shares (F 179 0) neither feed nor damp the waves, and the
// friction settles them. With the "timei" level held at the outlet the reset
// corners drain the last column into a zigzag of corner levels (0.67 m beside
// 1.62 m after 6 s with equal shares alone); the surface smoother (F 154 1
// 0.5) removes it.
//
// After 600 s every level lies within 0.1 m of 1 m and the inlet stands
// 0.014 to 0.057 m above the outlet (twice and half the Strickler estimate
// of 0.029 m); with the "timei" level the outlet is 1 m.
TEST(TransientChannel, SurfaceSettlesToTheFrictionSlope) {
  struct Run {
    const char *name;
    std::string extra, timei;
  };
  const Run runs[] = {{"free outlet", "F 36 16\nF 179 0 0\n", ""},
                      {"with timei", "F 36 16\nF 179 0 0\nF 154 1 0.5\n", kTimei}};
  for (const Run &run : runs) {
    SCOPED_TRACE(run.name);
    const CaseResult r = runCase(transientChannel(600, run.extra, run.timei));
    const std::string log = r.file("boogie");
    ASSERT_EQ(r.status, 1) << tail(log);
    EXPECT_EQ(log.find("Error"), std::string::npos);
    EXPECT_EQ(log.find("diverged"), std::string::npos) << tail(log);
    const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
    ASSERT_EQ(lines.size(), 51u);
    for (const auto &[i, levels] : lines) {
      for (double z : levels) EXPECT_NEAR(z, 1.0, 0.1) << "grid line " << i;
    }
    const double drop = mean(lines.at(1)) - mean(lines.at(51));
    EXPECT_GE(drop, 0.014);
    EXPECT_LE(drop, 0.057);
    if (!run.timei.empty()) {
      for (double z : lines.at(51)) EXPECT_EQ(z, 1.0);
    }
  }
}

// Every rule that switches the gravity term on runs 20 steps with finite
// levels (F 36 11 with its free-surface corrections, F 157 30).
TEST(TransientChannel, EveryRuleRunsTwentySteps) {
  for (int rule : {1, 11, 12, 13, 14, 15, 17, 18, 19}) {
    SCOPED_TRACE("F 36 " + std::to_string(rule));
    const CaseResult r = runCase(transientChannel(20, "F 36 " + std::to_string(rule) + "\n"));
    ASSERT_EQ(r.status, 1) << tail(r.file("boogie"));
    for (const auto &[i, levels] : levelsByLine(r.file("bedres.t"))) {
      for (double z : levels) EXPECT_TRUE(std::isfinite(z)) << "grid line " << i;
    }
  }
}
