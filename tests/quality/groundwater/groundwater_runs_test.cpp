// The groundwater table through the binary: cases/groundwater, a river 1 m
// deep beside a bank 1 m above the water, its soil layer 7 rows beside it;
// and a grid without the layer, which the model refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

struct PlanPoint {
  double y, level;
};

// The points of the first zone of "tecplot2.dat": y and the last variable.
std::vector<PlanPoint> planPoints(const std::string &tecplot) {
  std::vector<PlanPoint> points;
  for (const std::string &line : linesOf(tecplot)) {
    std::istringstream in(line);
    double v[6];
    int n = 0;
    while (n < 6 && in >> v[n]) ++n;
    if (n == 6) points.push_back({v[1], v[5]});
  }
  return points;
}

// Under the river the level is the water surface; under the bank, started
// at 1.8 from "wlinit", it has drained to the level under the wet row 4
// beside it (a time scale of a few hundred seconds against 59,400 s) and
// never rose.
TEST(GroundwaterRuns, DrainsTheBankTowardsTheRiver) {
  CaseSetup setup;
  for (const char *name : {"control", "koosurf", "wlinit"}) setup.files[name] = caseFile("groundwater", name);
  const CaseResult r = runCase(setup);
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log;
  expectInOrder(log, {"Warning: F 262 data is set without setting slide data set F 236\n\n",
                      "Have read 16 water level points from wlinit file\n"});
  const std::vector<PlanPoint> points = planPoints(r.file("tecplot2.dat"));
  ASSERT_FALSE(points.empty()) << r.file("tecplot2.dat");
  double beside = -1.0;
  for (const PlanPoint &p : points) {
    if (std::fabs(p.y - 2.5) < 1e-9) beside = p.level;
  }
  ASSERT_GT(beside, 0.0) << "no point at y = 2.5";
  int river = 0, bank = 0;
  for (const PlanPoint &p : points) {
    if (p.y <= 1.5) {
      EXPECT_NEAR(p.level, 1.0, 1e-6) << "y " << p.y;
      ++river;
    } else if (p.y >= 3.5) {
      EXPECT_NEAR(p.level, beside, 0.01) << "y " << p.y;
      EXPECT_LE(p.level, 1.8) << "y " << p.y;
      ++bank;
    }
  }
  EXPECT_GT(river, 0);
  EXPECT_GT(bank, 0);

  // The layer's middle line lies under row 4: its layer level is the mean
  // bed above (corners 0 and 2), its groundwater the plan file's.
  int rows = 0;
  for (const std::string &line : linesOf(r.file("boogie.spe"))) {
    std::istringstream in(line);
    double x, surface, layer, level;
    if (!(in >> x >> surface >> layer >> level)) continue;
    ++rows;
    EXPECT_NEAR(layer, 1.0, 1e-6) << line;
    EXPECT_NEAR(level, beside, 1e-6) << line;
  }
  EXPECT_EQ(rows, 8) << r.file("boogie.spe");
}

// A grid read back from "unstruc" has no soil layer: the first call ends
// with -9 and says so.
TEST(GroundwaterRuns, GridWithoutLayerIsRefused) {
  CaseSetup first;
  first.files["control"] = "F 2 YH\nG 1 12 16 6 1\n";
  first.files["koosurf"] = caseFile("groundwater", "koosurf");
  const CaseResult grid = runCase(first);
  ASSERT_EQ(grid.status, 1) << grid.file("boogie");
  CaseSetup second;
  second.files["control"] = "F 2 UG\nG 1 12 16 6 1\nF 262 1 1e-3\nF 33 600 1\nK 1 5\n";
  second.files["unstruc"] = grid.file("unstruc");
  const CaseResult r = runCase(second);
  EXPECT_EQ(r.status, 247);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error in groundwater computation: groundwater grid not generated\n"
                       "Data sets F ??? are missing in your control file\n\n"))
      << r.file("boogie");
}

}  // namespace
