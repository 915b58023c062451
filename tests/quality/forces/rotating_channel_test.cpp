// The straight channel (cases/straight-channel, 100 m x 10 m, 1 m deep,
// 7.5 m3/s in +x) with the steady free surface under a Coriolis parameter
// a hundred times the earth's: the surface tilts across the width so that
// its slope balances the force, f u = -g dh/dy, to the right bank for a
// positive f and to the left one for a negative f.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

// The level at y = 0 (grid point j = 1) minus that at y = 10 m (j = 6) on
// the grid line at x = 50 m, in metres.
double crossTilt(const std::string &extraControl) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  control.append("F 36 2\nF 91 51 4\n").append(extraControl);
  s.files["control"] = control;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log.substr(log.size() > 2000 ? log.size() - 2000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos) << extraControl;
  const std::map<int, std::vector<double>> lines = levelsByLine(r.file("bedres.t"));
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
