// Bed levels of the grid points from measured bed points: the surveyed V
// channel worked by hand, the quadrant search, the weightings, the far-point
// rule with its fill, the blocks left alone and the threaded interpolation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "grid/bed_levels/bed_points.h"
#include "grid/column_grid.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "support/run_case.h"

namespace {

using BedInterpolation = GridFixture;

// The tables are allocated once per process; a test that sets up several
// grids allocates them on its first.
struct Tables : GridFixture {
  static void once(int nx, int ny, int nz) {
    if (!xval) allocate(nx, ny, nz);
    NoBlocks = 0;
    NoGeo = 0;
  }
};

// The channel grid (x = i-1, y = j-1, 11 x 5 grid points) with the surveyed
// bed points of the fixture case in the folder.
void readBedpoints() {
  Tables::once(13, 7, 11);
  writeFile("koosurf", caseFile("channel", "koosurf"));
  readKoosurf();
  writeFile("geodata", caseFile("bedpoints", "geodata"));
}

// The lines of a text, sorted: threads may write them in any order.
std::vector<std::string> sortedLines(const std::string &text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

struct Expected {
  int i, j;
  double weighted, diagonal;  // F 129 0 and F 129 1
};

// Sections every 2 m: on a section the north-east point lies on the grid
// point; between sections the four nearest lie at 1, 1, sqrt 2, sqrt 2.
const Expected kChannelLevels[] = {
    {3, 3, -0.200000, -0.100355}, {4, 3, -0.196447, -0.196447}, {4, 5, 0.096447, 0.096447},
    {6, 1, 0.103553, 0.103553},   {1, 1, 0.500000, 0.599645},   {11, 3, -1.000000, -0.900355},
};

TEST_F(BedInterpolation, SurveyedChannelByBothWeightings) {
  for (int weighting : {0, 1}) {
    SCOPED_TRACE(weighting);
    readBedpoints();
    FlagBedInterpol = weighting;
    bedinter();
    EXPECT_EQ(NoGeo, 42);
    for (const Expected &e : kChannelLevels) {
      EXPECT_NEAR(zval[e.i][e.j][1], weighting == 0 ? e.weighted : e.diagonal, 1e-6) << e.i << " " << e.j;
    }
    EXPECT_EQ(readFile("boogie.bed"),
              "Number of points in geodata file: 42\nNumber of points read from geodata file: 42\n");
    EXPECT_STREQ(mc_message, "Finished bed interpolation");
    // The interpolated bed is the start bed of later runs (plane 0).
    for (int i = 1; i <= 11; ++i) {
      for (int j = 1; j <= 5; ++j) EXPECT_EQ(Surfaces[0][i][j], zval[i][j][1]) << i << " " << j;
    }
    NoGeo = 0;
    NoBlocks = 0;
  }
}

TEST_F(BedInterpolation, LimitPlaneFollowsTheNewBed) {
  readBedpoints();
  FlagMakeKoomin = 2;
  bedinter();
  EXPECT_NEAR(Surfaces[3][4][3], -0.196447 - 2.0, 1e-6);
  EXPECT_NEAR(Surfaces[3][1][1], 0.5 - 2.0, 1e-6);
}

TEST_F(BedInterpolation, ThreadsGiveTheSerialLevelsBitForBit) {
  readBedpoints();
  debugging = 'D';
  std::vector<double> saved;
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) saved.push_back(zval[i][j][1]);
  }
  auto levels = [] {
    std::vector<double> z;
    for (int i = 1; i <= 11; ++i) {
      for (int j = 1; j <= 5; ++j) z.push_back(zval[i][j][1]);
    }
    return z;
  };
  bedinter();
  const std::vector<double> serial = levels();
  const std::vector<std::string> serialLines = sortedLines(readFile("boogie.bed"));
  EXPECT_NE(readFile("boogie.bed").find("Using exact value for 3 3: -0.200000\n"), std::string::npos);

  int n = 0;
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) zval[i][j][1] = saved[n++];
  }
  NoGeo = 0;
  NoProcessesSolver = 4;
  fixThreadCount(4);
  bedinter();
  NoProcessesSolver = 0;
  const std::vector<double> threaded = levels();
  for (std::size_t k = 0; k < serial.size(); ++k) EXPECT_EQ(serial[k], threaded[k]) << k;
  EXPECT_EQ(sortedLines(readFile("boogie.bed")), serialLines);
}

// One column whose four grid points all stand at the origin, so that every
// grid point sees the bed points in the same quadrants.
void originColumn() {
  Tables::once(5, 5, 3);
  addBlock(2, 2, 2, 2);
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) {
      xval[i][j] = yval[i][j] = 0.0;
      zval[i][j][1] = -7.0;
    }
  }
}

struct QuadrantCase {
  const char *name;
  std::string geodata;
  double radius;       // F 47 second value
  std::string report;  // a line the letter D writes for grid point (1, 1)
  double level;        // the level of grid point (1, 1)
  friend void PrintTo(const QuadrantCase &c, std::ostream *os) { *os << c.name; }
};

class QuadrantSearch : public GridFixture, public ::testing::WithParamInterface<QuadrantCase> {};

TEST_P(QuadrantSearch, NearestPointPerQuadrant) {
  const QuadrantCase &c = GetParam();
  originColumn();
  writeFile("geodata", c.geodata);
  debugging = 'D';
  InterLimit = 0.0;  // no exact hits: every point reports its quadrants
  InterALimit = c.radius;
  bedinter();
  const std::string log = readFile("boogie.bed");
  EXPECT_NE(log.find(c.report), std::string::npos) << log;
  EXPECT_NEAR(zval[1][1][1], c.level, 1e-12);
  EXPECT_EQ(zval[2][2][1], zval[1][1][1]);
}

const std::string kMeanWarnings =
    "\nWarning, using approximate value for i,j=1 1\nWarning, scewed value for i,j=1 1\n";

INSTANTIATE_TEST_SUITE_P(
    Table, QuadrantSearch,
    ::testing::Values(
        // At the grid point's x with a smaller y: south-east; with the point
        // north-west of it that makes the diagonal (1·1 + sqrt2·7)/(1 + sqrt2).
        QuadrantCase{"SameXSmallerYIsSouthEast", "E 0 -1 7\nE -1 1 1\n", 1e10,
                     "Interpolation point (     1,     1) from     -1      1     -1      0\n",
                     (1.0 + std::sqrt(2.0) * 7.0) / (1.0 + std::sqrt(2.0))},
        // On the grid point itself: north-east at distance 0, weight 1e20.
        QuadrantCase{"OnThePointIsNorthEastAtZero", "E -1 -1 0\nE 1 -1 0\nE -1 1 0\nE 0 0 4\n", 1e10,
                     "d: 0.000000 1.414214 1.414214 1.414214", 4.0},
        // Equal distances keep the earlier point.
        QuadrantCase{"TieKeepsTheEarlier", "E 1 0 3\nE 0 1 5\nE -1 -1 1\n", 1e10,
                     "Interpolation point (     1,     1) from      0     -1      2     -1\n",
                     (std::sqrt(2.0) * 3.0 + 1.0 * 1.0) / (1.0 + std::sqrt(2.0))},
        // A radius of 10000 m applies: the point 20000 m away is not taken.
        QuadrantCase{"Radius10000Applies", "E -1 1 2\nE 20000 1 9\nE 1 -9999 6\nE -1 -1 4\n", 10000.0,
                     "Interpolation point (     1,     1) from     -1      0      3      2\n",
                     (std::sqrt(1.0 + 9999.0 * 9999.0) * 2.0 + std::sqrt(2.0) * 6.0) /
                         (std::sqrt(2.0) + std::sqrt(1.0 + 9999.0 * 9999.0))},
        // 10001 applies no radius at all: the far point is the only one east.
        QuadrantCase{"Radius10001DoesNot", "E -1 1 2\nE 20000 -1 4\n", 10001.0,
                     "Interpolation point (     1,     1) from     -1      0     -1      1\n",
                     (std::sqrt(20000.0 * 20000.0 + 1.0) * 2.0 + std::sqrt(2.0) * 4.0) /
                         (std::sqrt(2.0) + std::sqrt(20000.0 * 20000.0 + 1.0))},
        // North-east and south-west alone: (dSW·zNE + dNE·zSW)/(dNE + dSW).
        QuadrantCase{"DiagonalPairAlone", "E 0 2 4\nE -0.6 -0.8 1\n", 1e10,
                     "Interpolation point (     1,     1) from      0     -1      1     -1\n", 2.0},
        // North-east and north-west alone: their mean, and both warnings.
        QuadrantCase{"NoDiagonalGivesTheMean", "E 1 1 2\nE -1 2 6\n", 1e10, kMeanWarnings, 4.0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(BedInterpolation, EqualSquareGivesTheMeanUnderBothWeightings) {
  for (int weighting : {0, 1}) {
    SCOPED_TRACE(weighting);
    originColumn();
    writeFile("geodata", "E 1 1 1\nE -1 1 2\nE -1 -1 3\nE 1 -1 6\n");
    FlagBedInterpol = weighting;
    bedinter();
    EXPECT_NEAR(zval[1][1][1], 3.0, 1e-12);
    NoGeo = 0;
    NoBlocks = 0;
  }
}

TEST_F(BedInterpolation, ExactHitWithLetterD) {
  originColumn();
  writeFile("geodata", "E 0.01 0.01 4\nE -1 1 0\nE -1 -1 0\nE 1 -1 0\n");
  debugging = 'D';
  bedinter();
  EXPECT_EQ(zval[1][1][1], 4.0);
  EXPECT_NE(readFile("boogie.bed").find("Using exact value for 1 1: 4.000000\n"), std::string::npos);
}

TEST_F(BedInterpolation, WithoutPointsEveryLevelStays) {
  originColumn();
  bedinter();
  EXPECT_EQ(zval[1][1][1], -7.0);
  EXPECT_EQ(readFile("boogie.bed"), "Could not open file geodata/geodatk/geodatm\n");
}

// Grid points x = 0, 10, .., 50 on the j lines y = 0 and 1 (columns of 10 m²,
// so a grid point farther than 2·sqrt 10 m from every bed point is marked).
void longColumns() {
  Tables::once(9, 5, 3);
  addBlock(2, 6, 2, 2);
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 2; ++j) {
      xval[i][j] = 10.0 * (i - 1);
      yval[i][j] = j - 1;
      zval[i][j][1] = 0.5;
    }
  }
  ArmapMake();
  FlagBedInterpol = 2;
}

TEST_F(BedInterpolation, FarPointsAreFilledAlongTheirLine) {
  longColumns();
  // Exact hits at x = 0, 10, 40, 50; x = 20 and 30 lie 10 m from the nearest.
  std::string points;
  for (double x : {0.0, 10.0, 40.0, 50.0}) {
    for (int y : {0, 1}) points += "E " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(1 + x / 5) + "\n";
  }
  writeFile("geodata", points);
  debugging = 'D';
  bedinter();
  for (int j : {1, 2}) {
    EXPECT_DOUBLE_EQ(zval[2][j][1], 3.0);
    EXPECT_DOUBLE_EQ(zval[3][j][1], 2.0 / 3.0 * 3.0 + 1.0 / 3.0 * 9.0);  // 5
    EXPECT_DOUBLE_EQ(zval[4][j][1], 0.5 * (5.0 + 9.0));                   // the new z(3) and z(5)
    EXPECT_DOUBLE_EQ(zval[5][j][1], 9.0);
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(Surfaces[0][i][j], zval[i][j][1]) << i << " " << j;
  }
  EXPECT_EQ(readFile("boogie.bed").find("Warning"), std::string::npos);
}

TEST_F(BedInterpolation, MarkersNeverBecomeBedLevels) {
  for (const char *geodata : {"E 1000 1000 3\n", ""}) {
    SCOPED_TRACE(geodata);
    longColumns();
    if (*geodata) writeFile("geodata", geodata);
    bedinter();
    for (int i = 1; i <= 6; ++i) {
      for (int j = 1; j <= 2; ++j) EXPECT_EQ(zval[i][j][1], 0.5) << i << " " << j;
    }
    EXPECT_TRUE(endsWith(readFile("boogie.bed"),
                         "Warning: 12 grid points of block 1 kept their bed level: no bed point near enough\n"))
        << readFile("boogie.bed");
    NoGeo = 0;
    NoBlocks = 0;
    std::remove("geodata");
  }
}

TEST_F(BedInterpolation, FarPointOutsideBlockOneKeepsItsLevel) {
  longColumns();
  const int b = addBlock(8, 8, 3, 3);
  xval[7][2] = xval[8][2] = xval[7][3] = xval[8][3] = 500.0;
  yval[7][2] = yval[8][2] = yval[7][3] = yval[8][3] = 0.0;
  zval[7][2][1] = 0.25;
  writeFile("geodata", "E 0 0 1\nE 0 1 1\nE 10 0 1\nE 10 1 1\nE 20 0 1\nE 20 1 1\nE 30 0 1\nE 30 1 1\nE 40 0 1\n"
                       "E 40 1 1\nE 50 0 1\nE 50 1 1\n");
  debugging = 'D';
  bedinter();
  EXPECT_EQ(zval[7][2][1], 0.25);
  EXPECT_NE(readFile("boogie.bed").find("Warning: 4 grid points of block " + std::to_string(b) + " kept"),
            std::string::npos)
      << readFile("boogie.bed");
}

TEST_F(BedInterpolation, BlocksLeftAlone) {
  struct Skipped {
    const char *name;
    void (*mark)(GridBlock &);
  };
  const Skipped cases[] = {{"k1 not 1", [](GridBlock &b) { b.k1 = 2; }},
                           {"hydrostatic", [](GridBlock &b) { b.BlockKind = 1; }},
                           {"multigrid level", [](GridBlock &b) { b.GridLevel = 2; }}};
  for (const Skipped &s : cases) {
    SCOPED_TRACE(s.name);
    originColumn();
    s.mark(block[1]);
    writeFile("geodata", "E 1 1 1\nE -1 1 2\nE -1 -1 3\nE 1 -1 6\n");
    bedinter();
    EXPECT_EQ(NoGeo, 4);
    EXPECT_EQ(zval[1][1][1], -7.0);
    NoGeo = 0;
    NoBlocks = 0;
  }
}

// The bedpoints case end to end: the side log of the reading and no warning;
// serial and with four threads, plain and with the letter D.
CaseSetup bedpointsCase(const std::string &extra, bool threads) {
  CaseSetup setup;
  setup.files["control"] = caseFile("bedpoints", "control") + extra + (threads ? "F 206 4\n" : "");
  setup.files["koosurf"] = caseFile("bedpoints", "koosurf");
  setup.files["geodata"] = caseFile("bedpoints", "geodata");
  if (threads) setup.environment["OMP_NUM_THREADS"] = "4";
  return setup;
}

TEST(BedInterpolationRun, BedpointsCaseReadsEveryPoint) {
  const CaseResult r = runCase(bedpointsCase("", false));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie.bed"), "Number of points in geodata file: 42\nNumber of points read from geodata file: 42\n");
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos);
}

TEST(BedInterpolationRun, FourThreadsWriteTheSameLines) {
  for (const char *extra : {"", "F 1 D\n"}) {
    SCOPED_TRACE(extra);
    const CaseResult serial = runCase(bedpointsCase(extra, false));
    const CaseResult threaded = runCase(bedpointsCase(extra, true));
    EXPECT_EQ(serial.status, 1);
    EXPECT_EQ(threaded.status, 1);
    EXPECT_EQ(sortedLines(threaded.file("boogie.bed")), sortedLines(serial.file("boogie.bed")));
    if (*extra) {
      EXPECT_NE(threaded.file("boogie.bed").find("Using exact value for 3 3: -0.200000\n"), std::string::npos);
    }
  }
}

// The bed level of grid point (i, j) in a "koosurf" line file.
double koosurfBed(const std::string &text, int i, int j) {
  std::istringstream in(text);
  int gi = 0, gj = 0;
  double x = 0, y = 0, bed = 0, surface = 0;
  while (in >> gi >> gj >> x >> y >> bed >> surface) {
    if (gi == i && gj == j) return bed;
  }
  return NAN;
}

// The levels letter V gives, as letter H writes them to "koosurf.t".
TEST(BedInterpolationRun, BedpointsLevelsInKoosurfT) {
  for (int weighting : {0, 1}) {
    SCOPED_TRACE(weighting);
    const CaseResult r = runCase(bedpointsCase(weighting ? "F 129 1\n" : "", false));
    EXPECT_EQ(r.status, 1);
    for (const Expected &e : kChannelLevels) {
      EXPECT_NEAR(koosurfBed(r.file("koosurf.t"), e.i, e.j), weighting ? e.diagonal : e.weighted, 1e-6);
    }
  }
}

TEST(BedInterpolationRun, ThreadedKoosurfTIsByteIdentical) {
  for (const char *extra : {"", "F 1 D\n"}) {
    SCOPED_TRACE(extra);
    const CaseResult serial = runCase(bedpointsCase(extra, false));
    const CaseResult threaded = runCase(bedpointsCase(extra, true));
    ASSERT_TRUE(serial.has("koosurf.t"));
    EXPECT_EQ(threaded.file("koosurf.t"), serial.file("koosurf.t"));
  }
}

TEST(BedInterpolationRun, RasterBecomesTheGridInKoosurfT) {
  CaseSetup setup;
  setup.files["control"] = caseFile("raster", "control");
  setup.files["mirvane"] = caseFile("raster", "mirvane");
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  std::istringstream in(r.file("koosurf.t"));
  int lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  EXPECT_EQ(lines, 12);
  EXPECT_EQ(koosurfBed(r.file("koosurf.t"), 2, 3), 6.2);
}

}  // namespace

namespace {

// A coarse block of 2 m columns over 0..4 m and a nested block of 1 m columns
// over the same area; each column one cell from its bed to its surface.
void nestedOverCoarse(int nestLevel) {
  Tables::once(11, 7, 3);
  const int coarse = addBlock(2, 3, 2, 3), nest = addBlock(6, 9, 2, 5);
  block[nest].NestLevel = nestLevel;
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) {
      xval[i][j] = 2.0 * (i - 1);
      yval[i][j] = 2.0 * (j - 1);
      zval[i][j][1] = -1.0;
      zval[i][j][znumber] = 1.0;
      Surfaces[1][i][j] = -1.0;
    }
  }
  for (int i = 5; i <= 9; ++i) {
    for (int j = 1; j <= 5; ++j) {
      xval[i][j] = i - 5;
      yval[i][j] = j - 1;
      zval[i][j][1] = 5.0 + xval[i][j];
      zval[i][j][znumber] = 10.0;
      Surfaces[1][i][j] = 9.0;
    }
  }
  for (int b : {coarse, nest}) {
    uniformLevels(b, 2);
    setColumnCells(b, 1);
  }
  buildBlocks();
  metric();
}

TEST_F(BedInterpolation, NestedLevelsCopiedOntoTheCoarsePoints) {
  const struct {
    int nestLevel;
    double bed, plane;
  } cases[] = {{1, 7.0, 9.0}, {0, -1.0, -1.0}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.nestLevel);
    NoCells = NoSurfaces = NoPoints = 0;
    nestedOverCoarse(c.nestLevel);
    EXPECT_EQ(nestbedinterpol(), 2);
    // Only the coarse point (2, 2) at (2, 2) lies strictly inside the nested
    // block; the nested column (7, 3) is the first of four at equal distance.
    EXPECT_EQ(zval[2][2][1], c.bed);
    EXPECT_EQ(Surfaces[1][2][2], c.plane);
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 3; ++j) {
        if (i != 2 || j != 2) {
          EXPECT_EQ(zval[i][j][1], -1.0) << i << " " << j;
        }
      }
    }
  }
}

}  // namespace
