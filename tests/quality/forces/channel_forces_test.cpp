// The straight channel (cases/straight-channel, 100 m x 10 m, 1 m deep,
// 7.5 m3/s in +x) with the steady free surface, under a Coriolis parameter
// a hundred times the earth's and under a wind blowing downstream.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

// The water levels of the converged run by grid line, with further data
// sets after the case's own.
std::map<int, std::vector<double>> levelsWith(const std::string &extraControl) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  control.append("F 36 2\nF 91 51 4\n").append(extraControl);
  s.files["control"] = control;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << extraControl;
  return levelsByLine(r.file("bedres.t"));
}

double meanOf(const std::vector<double> &v) {
  double s = 0.0;
  for (double x : v) s += x;
  return v.empty() ? NAN : s / v.size();
}

// The level at y = 0 (grid point j = 1) minus that at y = 10 m (j = 6) on
// the grid line at x = 50 m, in metres.
double crossTilt(const std::string &extraControl) {
  const std::map<int, std::vector<double>> lines = levelsWith(extraControl);
  if (lines.count(26) == 0 || lines.at(26).size() != 6) {
    ADD_FAILURE() << "no grid line 26 of six points in bedres.t";
    return NAN;
  }
  return lines.at(26)[0] - lines.at(26)[5];
}

}  // namespace

TEST(RotatingChannel, SurfaceTiltsTowardsTheBankTheRotationTurnsTo) {
  // f Q / (g h) = 0.01 x 7.5 / 9.81 = 7.65 mm across the width.
  const double geostrophic = 0.01 * 7.5 / 9.81;
  const double right = crossTilt("F 51 0.01\n");
  EXPECT_GE(right, 0.5 * geostrophic);
  EXPECT_LE(right, 1.5 * geostrophic);
  const double left = crossTilt("F 51 -0.01\n");
  EXPECT_GE(-left, 0.5 * geostrophic);
  EXPECT_LE(-left, 1.5 * geostrophic);
  EXPECT_LT(std::fabs(crossTilt("")), 0.0005);
}

// The surface must slope to balance the friction; a wind stress in the
// direction of flow carries part of that load, so the drop from inlet to
// outlet shrinks by at least the wind's own share, 0.0012 x 110 N/m2 over
// 100 m on 1 m of water: 0.0012 x 110 x 100 / 9810 = 1.3 mm. Both runs fix
// the k and epsilon normalisers (F 200 1): the ones the wind's start values
// give let this channel diverge, also with a wind that exerts no force.
TEST(WindyChannel, DownstreamWindLowersTheSurfaceDrop) {
  const std::string norms = "F 200 1 0.01 0.01\n";
  auto drop = [](const std::map<int, std::vector<double>> &lines) {
    return lines.count(1) && lines.count(51) ? meanOf(lines.at(1)) - meanOf(lines.at(51)) : NAN;
  };
  const double calm = drop(levelsWith(norms));
  const double windy = drop(levelsWith(norms + "F 52 10 1 0\nF 73 1\n"));
  EXPECT_GT(calm, 0.014);
  EXPECT_LE(windy, calm - 0.0012 * 110.0 * 100.0 / 9810.0);
}
