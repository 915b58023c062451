// The bed-point files: which file is read, the grammars and where they end,
// the scaling, the raster that becomes the grid, the faults that end a run,
// and the plan tests of a point against triangles and cells.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/bed_levels/bed_points.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/output_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

struct Point {
  double x, y, z;
};

struct FileCase {
  const char *name;
  std::vector<std::pair<std::string, std::string>> files;
  std::vector<Point> points;
  double mult = 1.0, add = 0.0;  // F 225
  friend void PrintTo(const FileCase &c, std::ostream *os) { *os << c.name; }
};

class BedPointFiles : public GridFixture, public ::testing::WithParamInterface<FileCase> {};

TEST_P(BedPointFiles, PointsStoredInOrder) {
  const FileCase &c = GetParam();
  for (const auto &[name, text] : c.files) writeFile(name, text);
  ScaleGeodataMult = c.mult;
  ScaleGeodataAdd = c.add;
  EXPECT_EQ(readGeodata(), 0.0);
  ASSERT_EQ(NoGeo, static_cast<int>(c.points.size()));
  for (int n = 0; n < NoGeo; ++n) {
    EXPECT_EQ(xg[n], c.points[n].x) << n;
    EXPECT_EQ(yg[n], c.points[n].y) << n;
    EXPECT_EQ(zg[n], c.points[n].z) << n;
    EXPECT_EQ(ig[n], 0);
  }
  const std::string count = std::to_string(c.points.size());
  EXPECT_EQ(readFile("boogie.bed"), "Number of points in geodata file: " + count +
                                        "\nNumber of points read from geodata file: " + count + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Table, BedPointFiles,
    ::testing::Values(
        FileCase{"GeodataWinsOverGeodatn", {{"geodata", "E 1 2 3\n"}, {"geodatn", "4 5 6\n7 8 9\n"}}, {{1, 2, 3}}},
        FileCase{"ZEndsThePoints",
                 {{"geodata", "E 1 1 1\nE 2 2 2\nE 3 3 3\nZ\nE 4 4 4\n"}},
                 {{1, 1, 1}, {2, 2, 2}, {3, 3, 3}}},
        FileCase{"FreeTextAndAWindow",
                 {{"geodata", "river bed 2019\nS 0 0 10 10\n  E 1 2 3 and more\nE\t4 5 6\n"}},
                 {{1, 2, 3}, {4, 5, 6}}},
        FileCase{"ScaledInGeodata", {{"geodata", "E 1 2 3\n"}}, {{102, 104, 106}}, 2.0, 100.0},
        FileCase{"NotScaledInGeodatn", {{"geodatn", "1 2 3\n"}}, {{1, 2, 3}}, 2.0, 100.0},
        FileCase{"ShortPointEndsTheReading", {{"geodata", "E 1 2 3\nE 4 5\nE 6 7 8\n"}}, {{1, 2, 3}}},
        FileCase{"NonFiniteEndsTheReading", {{"geodata", "E 1 2 3\nE 4 nan 6\nE 7 8 9\n"}}, {{1, 2, 3}}},
        FileCase{"OverflowEndsTheReading", {{"geodatm", "1,2,3\n4,5,1e400\n7,8,9\n"}}, {{1, 2, 3}}},
        FileCase{"GeodatkInLineOrder",
                 {{"geodatk", "7,1,2,3,\n900000,4,5,6,\n-3,7,8,9,\n"}},
                 {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}},
        FileCase{"GeodatmUpToABadLine", {{"geodatm", "1,2,3\n4,5,6\n7;8;9\n1,1,1\n"}}, {{1, 2, 3}, {4, 5, 6}}}),
    [](const auto &info) { return std::string(info.param.name); });

using BedPointReader = GridFixture;

TEST_F(BedPointReader, FileWithoutPointsIsTriedAgain) {
  writeFile("geodata", "no points here\n");
  EXPECT_EQ(readGeodata(), 0.0);
  EXPECT_EQ(NoGeo, 0);
  EXPECT_EQ(readFile("boogie.bed"),
            "Number of points in geodata file: 0\n"
            "\nProbable error in geodata file. Last read charachter: \n\n"
            "Last read -1 number of floating points.\n"
            "Number of points read from geodata file: 0\n");
  writeFile("geodata", "E 1 2 3\nE 4\n");
  EXPECT_EQ(readGeodata(), 0.0);
  EXPECT_EQ(NoGeo, 1);
}

TEST_F(BedPointReader, ShortPointReportsWhereTheCountStopped) {
  writeFile("geodata", "E 1 2\n");
  readGeodata();
  EXPECT_NE(readFile("boogie.bed").find("Last read charachter: E\nLast read 2 number of floating points.\n"),
            std::string::npos)
      << readFile("boogie.bed");
}

TEST_F(BedPointReader, NoFileOpens) {
  EXPECT_EQ(readGeodata(), -2.0);
  EXPECT_EQ(readFile("boogie.bed"), "Could not open file geodata/geodatk/geodatm\n");
  EXPECT_EQ(NoGeo, 0);
}

TEST_F(BedPointReader, PartitionReadsOnlyItsOwnFile) {
  FlagMPI = 3;
  writeFile("geodata", "E 1 2 3\n");
  EXPECT_EQ(readGeodata(), -2.0);
  EXPECT_EQ(readFile("boogie.bed"), "Could not open file geodata\n");
  ScaleGeodataAdd = 1.0;
  writeFile("geodata.mpi3", "E 1 2 3\nE 4 5 6\n");
  EXPECT_EQ(readGeodata(), 0.0);
  EXPECT_EQ(NoGeo, 2);
  EXPECT_EQ(zg[1], 7.0);
}

const char *kRaster = "3 4\n0 1 2 3\n0 5 5.1 5.2 5.3\n1 6 6.1 6.2 6.3\n2 7 7.1 7.2 7.3\n";

TEST_F(BedPointReader, RasterWithoutBlockBecomesTheGrid) {
  allocate(13, 7, 11);
  writeFile("mirvane", kRaster);
  EXPECT_EQ(readGeodata(), 0.0);
  EXPECT_EQ(NoGeo, 12);
  // Row 2, column 3 at position 4·1 + 2.
  EXPECT_EQ(xg[6], 1.0);
  EXPECT_EQ(yg[6], 2.0);
  EXPECT_EQ(zg[6], 6.2);
  ASSERT_EQ(NoBlocks, 1);
  EXPECT_EQ(block[1].i1, 2);
  EXPECT_EQ(block[1].i2, 3);
  EXPECT_EQ(block[1].j1, 2);
  EXPECT_EQ(block[1].j2, 4);
  EXPECT_EQ(block[1].k1, 0);
  EXPECT_EQ(xval[2][3], 1.0);
  EXPECT_EQ(yval[2][3], 2.0);
  EXPECT_EQ(zval[2][3][1], 6.2);
  EXPECT_EQ(zval[3][4][1], 7.3);
}

TEST_F(BedPointReader, RasterAfterAGridLeavesTheGrid) {
  readChannel();
  writeFile("mirvane", kRaster);
  readGeodata();
  EXPECT_EQ(NoGeo, 12);
  EXPECT_EQ(NoBlocks, 1);
  EXPECT_EQ(block[1].i2, 11);
  EXPECT_EQ(xval[2][3], 1.0);
  EXPECT_EQ(yval[2][3], 2.0);
  EXPECT_EQ(zval[2][3][1], 0.0);
}

// Faults of the raster end the run with the line in "boogie.bed".
struct RasterFault {
  const char *name;
  std::string mirvane;
  std::string line;
  friend void PrintTo(const RasterFault &c, std::ostream *os) { *os << c.name; }
};

class RasterFaults : public ::testing::TestWithParam<RasterFault> {};

TEST_P(RasterFaults, EndTheRun) {
  CaseSetup setup;
  setup.files["control"] = "F 2 V\nG 1 13 7 11 1\n";
  setup.files["mirvane"] = GetParam().mirvane;
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 255);
  EXPECT_TRUE(endsWith(r.file("boogie.bed"), GetParam().line)) << r.file("boogie.bed");
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RasterFaults,
    ::testing::Values(
        RasterFault{"OneInteger", "3\n", "Error reading file, two integers are required initially\n\n"},
        RasterFault{"NoRows", "0 4\n", "Error reading file, two integers are required initially\n\n"},
        RasterFault{"ColumnLine", "2 2\n0 x\n", "Error reading file, first line, j=2\n\n"},
        RasterFault{"RowStart", "2 2\n0 1\n0 5 5.1\ny\n", "Error reading file, first number line, j=2\n\n"},
        RasterFault{"EndsInRowTwo", "2 2\n0 1\n0 5 5.1\n1 6\n", "Error reading file, line 2, number, 2\n\n"},
        RasterFault{"NonFiniteLevel", "2 2\n0 1\n0 inf 5.1\n1 6 6.1\n", "Error reading file, line 1, number, 1\n\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RasterRun, TooLargeForTheGridArrays) {
  CaseSetup setup;
  setup.files["control"] = "F 2 V\nG 1 5 7 11 1\n";
  setup.files["mirvane"] = kRaster;  // 3 rows need G 1 of at least 5
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  setup.files["control"] = "F 2 V\nG 1 4 7 11 1\n";
  r = runCase(setup);
  EXPECT_EQ(r.status, 252);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error, increase the G 1 values in control file and try again\n"
                       "The two first integers on G 1 data set should be at least 5 6\n"))
      << r.file("boogie");
}

TEST(RasterRun, PointTableWithoutMemoryStaysEmpty) {
  CaseSetup setup;
  setup.files["control"] = "F 2 YV\nG 1 13 7 11 1\n";
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.files["mirvane"] = "20000 20000\n";
  setup.addressSpaceLimit = 1500L * 1000 * 1000;
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie.bed"),
            "Number of points in geodata file: 400000000\nError: no memory for 400000000 bed points\n");
}

// The plan tests.
struct TriangleCase {
  double x, y;
  double c[6];
  int expected;
};

TEST(PlanTests, InsideTriangleByOrientation) {
  const TriangleCase cases[] = {
      {0.2, 0.2, {0, 0, 0, 1, 1, 0}, 1},     // clockwise, inside
      {0.2, 0.2, {0, 0, 1, 0, 0, 1}, -1},    // counter-clockwise, inside
      {2.0, 2.0, {0, 0, 0, 1, 1, 0}, 0},     // outside
      {2.0, 2.0, {0, 0, 1, 0, 0, 1}, 0},     // outside
      {0.5, 0.0, {0, 0, 0, 1, 1, 0}, 1},     // on the edge 3-1 of a clockwise triangle
      {0.0, 0.5, {0, 0, 1, 0, 0, 1}, -1},    // on an edge of a counter-clockwise one
      {0.5, 0.5, {0, 0, 0, 1, 1, 0}, 1},     // on the slanted edge
  };
  for (const TriangleCase &t : cases) {
    EXPECT_EQ(insideTriangle(t.x, t.y, t.c[0], t.c[1], t.c[2], t.c[3], t.c[4], t.c[5]), t.expected)
        << t.x << " " << t.y;
  }
}

TEST(PlanTests, InsideQuadIsStrictlyRightOfEveryEdge) {
  const double cw[8] = {0, 0, 0, 1, 1, 1, 1, 0};  // clockwise unit square
  const struct {
    double x, y;
    int expected;
  } cases[] = {{0.5, 0.5, 1}, {0.0, 0.5, 0}, {1.5, 0.5, 0}, {0.999, 0.001, 1}};
  for (const auto &p : cases) {
    EXPECT_EQ(insideQuad(p.x, p.y, cw[0], cw[1], cw[2], cw[3], cw[4], cw[5], cw[6], cw[7]), p.expected);
  }
  // The same square counter-clockwise holds no point.
  EXPECT_EQ(insideQuad(0.5, 0.5, 0, 0, 1, 0, 1, 1, 0, 1), 0);
}

using PlanCells = GridFixture;

TEST_F(PlanCells, PointOnASharedBottomEdgeIsInNeitherCell) {
  buildCaseByHand(CaseGrid::Channel);
  NoGeo = 3;
  xg = new double[3]{0.5, 1.0, 1.5};
  yg = new double[3]{0.5, 0.5, 0.5};
  // The bottom cells of columns (2, 2) and (3, 2) share the edge x = 1.
  const int west = static_cast<int>(zval[2][2][0]), east = static_cast<int>(zval[3][2][0]);
  EXPECT_EQ(insideQuadCellGeo(0, west), 1);
  EXPECT_EQ(insideQuadCellGeo(1, west), 0);
  EXPECT_EQ(insideQuadCellGeo(1, east), 0);
  EXPECT_EQ(insideQuadCellGeo(2, east), 1);
  EXPECT_EQ(insideQuadCellGeo(0, east), 0);
  // The tracer table exists with F 424 only.
  if (!tracerX) tracerX = new double[1000]{};
  if (!tracerY) tracerY = new double[1000]{};
  tracerX[7] = 1.25;
  tracerY[7] = 0.75;
  EXPECT_EQ(insideQuadCellTrace(7, east), 1);
  EXPECT_EQ(insideQuadCellTrace(7, west), 0);
}

TEST(PlanTests, TriangleMarksTheBedPointsInside) {
  NoGeo = 4;
  xg = new double[4]{0.2, 2.0, 0.5, 0.0};
  yg = new double[4]{0.2, 2.0, 0.0, 0.0};
  ig = new int[4]{};
  // Clockwise: nothing is marked.
  xDelGeo[1] = 0, yDelGeo[1] = 0, xDelGeo[2] = 0, yDelGeo[2] = 1, xDelGeo[3] = 1, yDelGeo[3] = 0;
  EXPECT_EQ(delGeodataValues(), -1);
  EXPECT_EQ(ig[0] + ig[1] + ig[2] + ig[3], 0);
  // Counter-clockwise: inside and on the edges are marked, and the triangle is closed.
  xDelGeo[2] = 1, yDelGeo[2] = 0, xDelGeo[3] = 0, yDelGeo[3] = 1;
  EXPECT_EQ(delGeodataValues(), 0);
  EXPECT_EQ(ig[0], 1);
  EXPECT_EQ(ig[1], 0);
  EXPECT_EQ(ig[2], 1);
  EXPECT_EQ(ig[3], 1);
  EXPECT_EQ(insideTriGeo(1), 0);
  EXPECT_EQ(xDelGeo[4], xDelGeo[1]);
  EXPECT_EQ(yDelGeo[4], yDelGeo[1]);
}

}  // namespace
