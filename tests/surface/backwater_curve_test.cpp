// The backwater curve: letter Q on the flat 2 km channel against the closed
// form of a wide rectangular channel, the cross-section and Froude number of
// a partly wet section, the Froude limit, the grain-size friction, the d90,
// the median top-cell pressure of a group, and F 36 30 / F 477 3 through a
// whole flow run of the straight channel.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "flow/flow_fixture.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/backwater_curve.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "support/run_case.h"

namespace {

// cases/backwater: Q = 3 m3/s over 10 m (q = 0.3 m2/s), M = 20, 1 m deep at
// the downstream line 41, lines 50 m apart. Friction alone,
// h^(13/3) = 1 + (13/3)(q^2/M^2) x' = 1 + 9.75e-4 x'; with the velocity head
// the closed form gives x' for h; the explicit 50 m march runs a little high.
struct BackwaterLine {
  int line;
  double frictionOnly, withVelocityHead, march;
};
constexpr BackwaterLine kLines[] = {
    {41, 1.0000, 1.0000, 1.0000}, {31, 1.0960, 1.0966, 1.0973}, {21, 1.1701, 1.1710, 1.1718},
    {11, 1.2312, 1.2323, 1.2331}, {1, 1.2836, 1.2848, 1.2856},
};

double frictionOnly(double xPrime) { return std::pow(1.0 + 9.75e-4 * xPrime, 3.0 / 13.0); }

// Grid line -> the water levels of its points in "koosurf.t".
std::map<int, std::vector<double>> koosurfLevels(const std::string &text) {
  std::map<int, std::vector<double>> lines;
  for (const std::string &line : linesOf(text)) {
    std::istringstream in(line);
    int i = 0, j = 0;
    double x = 0, y = 0, bed = 0, level = 0;
    if (in >> i >> j >> x >> y >> bed >> level) lines[i].push_back(level);
  }
  return lines;
}

CaseSetup backwaterCase(const std::string &extraControl = "") {
  CaseSetup s;
  s.files["control"] = caseFile("backwater", "control") + extraControl;
  s.files["koosurf"] = caseFile("backwater", "koosurf");
  return s;
}

}  // namespace

TEST(BackwaterLetterQ, MarchesToTheClosedFormOfAWideChannel) {
  const CaseResult run = runCase(backwaterCase());
  ASSERT_EQ(run.status, 1) << run.file("boogie");
  EXPECT_EQ(run.file("boogie").find("Error"), std::string::npos);
  const auto levels = koosurfLevels(run.file("koosurf.t"));
  ASSERT_EQ(levels.size(), 41u);
  for (const auto &[i, points] : levels) {
    ASSERT_EQ(points.size(), 3u) << i;
    const double h = frictionOnly(50.0 * (41 - i));
    for (double z : points) EXPECT_NEAR(z, h, 0.01) << "line " << i;
  }
  for (const BackwaterLine &row : kLines) {
    for (double z : levels.at(row.line)) {
      EXPECT_NEAR(z, row.march, 0.0005) << "line " << row.line;
      // The explicit friction-only step stays close to both closed forms.
      EXPECT_NEAR(z, row.frictionOnly, 0.0021) << "line " << row.line;
      EXPECT_NEAR(z, row.withVelocityHead, 0.0021) << "line " << row.line;
    }
    EXPECT_NEAR(frictionOnly(50.0 * (41 - row.line)), row.frictionOnly, 5e-5) << row.line;
  }
}

TEST(BackwaterLetterQ, ARoughnessLawThatDoesNotExistEndsTheRun) {
  const CaseResult r = runCase(backwaterCase("F 475 3\n"));
  EXPECT_EQ(r.status, 251);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error: F 475 3 selects no friction law (0, 1 or 2)\n")) << r.file("boogie");
  EXPECT_FALSE(r.has("koosurf.t"));
}

TEST(BackwaterLetterQ, WithoutAGridNothingHappens) {
  const CaseResult r = runControl("F 2 Q\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << r.file("boogie");
}

// In-process on the generated backwater grid.
class BackwaterMarch : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    readCaseGrid("backwater");
    ASSERT_GT(Unstructure(), 0);
    metric();
    BedMake();
    GlobZRef = -1e20;  // the march starts from the level of W 1
    Iter = 2;
  }
  static double lineLevel(int i) { return zval[i][2][znumber]; }
};

TEST_F(BackwaterMarch, TotalRiseAndLevelsOfBlockOne) {
  ASSERT_EQ(block[1].i1, 2);
  ASSERT_EQ(block[1].i2, 41);
  backwater();
  EXPECT_NEAR(maxBackwater, 0.2856, 5e-5);
  EXPECT_NEAR(lineLevel(1), 1.2856, 5e-5);
  EXPECT_EQ(zval[1][2][znumber + 1], lineLevel(1));
  // Each column between two lines holds the mean of its corner levels.
  const int c = static_cast<int>(zval[2][2][0]);
  EXPECT_NEAR(Cf[c], 0.5 * (lineLevel(1) + lineLevel(2)), 1e-12);
}

TEST_F(BackwaterMarch, OnlyTheDownstreamLineWhenTheLevelsAreNotAsked) {
  FlagTFS = 2;
  GlobZRef = 0.9;
  backwater();
  EXPECT_EQ(lineLevel(41), 0.9);
  EXPECT_EQ(lineLevel(40), 1.0);
  EXPECT_EQ(lineLevel(1), 1.0);
  EXPECT_GT(maxBackwater, 0.2);  // measured all the same, from 0.9 m
  BlockCasulli = 30;
  backwater();
  EXPECT_GT(lineLevel(1), 1.1);
}

TEST_F(BackwaterMarch, NoLinesUpstreamMeansNoRise) {
  block[1].i2 = block[1].i1 - 1;
  backwater();
  EXPECT_EQ(maxBackwater, 0.0);
}

// F 351 1 with limit 0.05: F(1.01125) = 0.0942 and F(1.51125) = 0.0516 are
// both above it, so line 40 rises by R / 2 = 0.5 m; further up the secant
// step of a convex F leaves every line below the limit.
TEST_F(BackwaterMarch, FroudeLimitLiftsTheLines) {
  solverFroude = 1;
  solverFroudeLimit = 0.05;
  backwater();
  EXPECT_NEAR(lineLevel(40), 1.0 + 0.01125 + 0.5, 1e-4);
  for (int i = 39; i >= 1; --i) EXPECT_LE(computeFroude(i, 3.0, lineLevel(i)), 0.05) << i;
  solverFroude = 0;
  backwater();
  EXPECT_NEAR(lineLevel(40), 1.01125, 1e-4);
}

// F 475 1 where no column's d90 passes half the finest size: the roughness
// height is the finest size, the same march as M = 26 / ks^(1/6).
TEST_F(BackwaterMarch, GrainFrictionWithoutAnyD90TakesTheFinestSize) {
  gsize[lnumber] = 0.004;
  FlagFriction = 1;
  backwater();
  const double withGrains = maxBackwater;
  FlagFriction = 0;
  ManningInit = 26.0 / std::pow(0.004, 0.166666667);
  backwater();
  EXPECT_NEAR(withGrains, maxBackwater, 1e-12);
  EXPECT_GT(withGrains, 0.01);
}

TEST_F(BackwaterMarch, ADryLineKeepsTheLevelAndSaysSo) {
  for (int j = 1; j <= 3; ++j) zval[20][j][1] = 5.0;  // a wall across the channel
  backwater();
  EXPECT_EQ(lineLevel(20), lineLevel(21));
  EXPECT_NE(boogie().find("Warning: backwater line 20 is dry at level "), std::string::npos) << boogie();
}

// A section of two segments: beds 0, 0, 1 at y = 0, 2, 4 under level 0.5.
// Full segment: area 1, bed 2; the second is wet for 1 m: area 0.25, bed
// sqrt(1 + 0.25). Top width 3, so F(Q = 1) = 0.8 / sqrt(9.81 * 1.25 / 3).
using BackwaterSectionTest = GridFixture;

TEST_F(BackwaterSectionTest, CutsAtTheWaterline) {
  allocate(5, 5, 3);
  flatGrid(0, 4, 0, 4, 0.5);
  addBlock(2, 3, 2, 3);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      yval[i][j] = 2.0 * (j - 1);
      zval[i][j][1] = j == 3 ? 1.0 : 0.0;
    }
  }
  const BackwaterSection s = backwaterSection(2, 0.5);
  EXPECT_NEAR(s.area, 1.25, 1e-12);
  EXPECT_NEAR(s.perimeter, 2.0 + std::sqrt(1.25), 1e-12);
  EXPECT_NEAR(s.perimeter, 3.118, 5e-4);
  EXPECT_NEAR(computeFroude(2, 1.0, 0.5), 0.3957, 5e-5);
  EXPECT_NEAR(computeFroude(2, 1.0, 0.5), 0.8 / std::sqrt(9.81 * 1.25 / 3.0), 1e-12);
  // Dry altogether: no area, no perimeter.
  const BackwaterSection dry = backwaterSection(2, -0.1);
  EXPECT_EQ(dry.area, 0.0);
  EXPECT_EQ(dry.perimeter, 0.0);
}

// d90 by the cumulated fractions from the finest size up: c_k is the
// fraction finer than size k plus half of size k.
TEST(BackwaterD90, InterpolatesWhereTheFractionsPassNinetyPercent) {
  struct Row {
    double f1, f2, f3, d90;
  };
  const Row rows[] = {
      {0.1, 0.3, 0.6, 0.007},                      // c = 0.3, 0.75, 0.95: t = 0.25 between 8 and 4 mm
      {0.0, 0.0, 1.0, 0.8 * 0.004 + 0.2 * 0.001},  // c(2) = 1.0: t = 0.2 between 4 and 1 mm
      {0.0, 0.0, 0.0, 0.008},                      // never passes: the coarsest size
  };
  lnumber = 3;
  gsize[1] = 0.008;
  gsize[2] = 0.004;
  gsize[3] = 0.001;
  for (const Row &row : rows) {
    double fractions[5] = {0.0, row.f1, row.f2, row.f3, 0.0};  // one bed cell, number 0
    double *bySize[5];
    for (int k = 0; k < 5; ++k) bySize[k] = &fractions[k];
    double **layers[2] = {bySize, bySize};
    BSedDistrib = layers;
    EXPECT_NEAR(bedD90(1, 0), row.d90, 1e-12) << row.f1 << " " << row.f2 << " " << row.f3;
  }
  BSedDistrib = nullptr;
}

// The median of the top-cell pressures of a group's faces.
using MedianPressure = SurfaceFixture;

TEST_F(MedianPressure, MiddleOfTheSortedTopCellPressures) {
  channel();
  std::vector<int> tops;
  for (int f : upstreamFaces()) {
    if (Ccellt[cellBehind(f)] == 0) tops.push_back(f);
  }
  ASSERT_EQ(tops.size(), 4u);
  const double pressures[4] = {5.0, 1.0, 3.0, 2.0};
  for (int k = 0; k < 4; ++k) Cpres[cellBehind(tops[k])] = pressures[k];
  setGroup(1, 1, 1000.0, {tops[0], tops[1], tops[2]});
  EXPECT_EQ(findMedianPressure(1), 3.0);
  const double ascending[4] = {1.0, 2.0, 3.0, 4.0};
  for (int k = 0; k < 4; ++k) Cpres[cellBehind(tops[k])] = ascending[k];
  setGroup(2, 0, 1000.0, tops);
  EXPECT_EQ(findMedianPressure(2), 3.0);
  // Faces below the surface are not counted.
  setGroup(3, 0, 1000.0, upstreamFaces());
  EXPECT_EQ(findMedianPressure(3), 3.0);
}

TEST_F(MedianPressure, AGroupWithoutSurfaceFacesEndsTheRun) {
  channel();
  std::vector<int> bottoms;
  for (int f : upstreamFaces()) {
    if (Ccellb[cellBehind(f)] == 0) bottoms.push_back(f);
  }
  setGroup(2, 0, 1000.0, bottoms);
  EXPECT_EXIT(findMedianPressure(2), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(boogie(),
                       "Error: F 477 and F 343 30 need discharge groups 1 and 2 with faces at the surface\n"));
}

// The straight channel (100 m, 7.5 m3/s, M = 50) with the levels of every
// surface update set by the march from the outlet level: the inlet stands
// (13/3)(q^2/M^2)-closed-form 0.0217 m above the outlet. With F 36 2 and
// F 477 3 the classic update is scaled by rise / pressure head, and the
// inlet settles near the backwater rise rather than the full head.
namespace {

std::map<int, double> meanLevelsOfBedres(const std::string &bedres) {
  std::map<int, std::vector<double>> lines;
  const std::vector<std::string> text = linesOf(bedres);
  for (std::size_t n = 2; n < text.size(); ++n) {
    std::istringstream in(text[n]);
    std::vector<double> v;
    for (double x; in >> x;) v.push_back(x);
    if (v.size() != 7) break;
    lines[static_cast<int>(v[0])].push_back(v[4]);
  }
  std::map<int, double> means;
  for (const auto &[i, levels] : lines) {
    double s = 0.0;
    for (double z : levels) s += z;
    means[i] = s / levels.size();
  }
  return means;
}

CaseResult straightChannelWith(const std::string &extra) {
  CaseSetup s;
  s.files["control"] = caseFile("straight-channel", "control") + "F 91 51 4\n" + extra;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return runCase(s);
}

}  // namespace

TEST(BackwaterFlowRun, EveryUpdateSetsTheMarchedLevels) {
  const CaseResult r = straightChannelWith("F 36 30\n");
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos);
  EXPECT_EQ(log.find("Error"), std::string::npos);
  const std::map<int, double> z = meanLevelsOfBedres(r.file("bedres.t"));
  ASSERT_EQ(z.size(), 51u);
  EXPECT_NEAR(z.at(51), 1.0, 1e-9);
  EXPECT_NEAR(z.at(1) - z.at(51), 0.0217, 0.001);
}

TEST(BackwaterFlowRun, RatioOfF477ScalesTheClassicUpdate) {
  const CaseResult r = straightChannelWith("F 36 2\nF 477 3\n");
  const std::string log = r.file("boogie");
  ASSERT_EQ(r.status, 1) << log.substr(log.size() > 3000 ? log.size() - 3000 : 0);
  EXPECT_NE(log.find("Solution converged"), std::string::npos);
  EXPECT_EQ(log.find("Error"), std::string::npos);
  const std::map<int, double> z = meanLevelsOfBedres(r.file("bedres.t"));
  ASSERT_EQ(z.size(), 51u);
  EXPECT_GE(z.at(1) - z.at(51), 0.019);
  EXPECT_LE(z.at(1) - z.at(51), 0.025);
}
