// Roughness from the scatter of the bed points: the fixed cells and their
// values, the fill coefficients, sloping beds, the other blocks held, the
// file "bedrough.new" read back, and the runs of letter K.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "grid/bed_levels/bed_points.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/bedrough_reader.h"
#include "support/run_case.h"
#include "surface/surface_services.h"

namespace {

using BedRoughness = GridFixture;

// The bed-point table set by hand.
void setPoints(const std::vector<std::vector<double>> &points) {
  NoGeo = static_cast<int>(points.size());
  xg = new double[NoGeo + 1];
  yg = new double[NoGeo + 1];
  zg = new double[NoGeo + 1];
  for (int n = 0; n < NoGeo; ++n) {
    xg[n] = points[n][0];
    yg[n] = points[n][1];
    zg[n] = points[n][2];
  }
}

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The channel with nine cells of 1/9 m per column and its geometry.
void channelWithGeometry() {
  buildCaseByHand(CaseGrid::Channel);
  metric();
  block[1].FirstCell = 1;
  block[1].LastCell = NoCells;
}

TEST_F(BedRoughness, ScatterFixesTheColumnsWithPoints) {
  channelWithGeometry();
  RoughnessFactor = 2.0;
  // Column (2, 2) spans x 0..1, y 0..1 on a flat bed at 0; column (5, 3) holds
  // two points on the bed plane; the point on the edge x = 3 lies in neither
  // (4, 3) nor (5, 3).
  setPoints({{0.25, 0.5, 0.1}, {0.75, 0.5, -0.3}, {3.25, 1.5, 0.0}, {3.75, 1.25, 0.0}, {3.0, 1.5, 5.0}});
  Cf = Croughness;
  setRoughnessFill();
  const int c = bottomCell(2, 2), flat = bottomCell(5, 3), free = bottomCell(4, 3);
  EXPECT_NEAR(Croughness[c], 0.4, 1e-9);
  EXPECT_EQ(Cap[c], 1e20);
  EXPECT_DOUBLE_EQ(Csource[c], Croughness[c] * 1e20);
  EXPECT_EQ(Croughness[flat], 0.0);
  EXPECT_EQ(Cap[flat], 1e20);
  EXPECT_EQ(Csource[flat], 0.0);
  // A column without points starts the fill at 0, coupled to its neighbours by
  // face area times half width: (1 m · 1/9 m) · 0.5 m.
  EXPECT_EQ(Croughness[free], 0.0);
  EXPECT_EQ(Csource[free], 0.0);
  for (double a : {Cae[free], Caw[free], Can[free], Cas[free]}) EXPECT_NEAR(a, 1.0 / 18.0, 1e-12);
  EXPECT_NEAR(Cap[free], 4.0 / 18.0, 1e-12);
  // At the south wall there is no neighbour.
  const int wall = bottomCell(4, 2);
  EXPECT_EQ(Cas[wall], 0.0);
  EXPECT_NEAR(Cap[wall], 3.0 / 18.0, 1e-12);
}

TEST_F(BedRoughness, PointsOnASlopingBedGiveZero) {
  readCaseGrid("channel");
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      zval[i][j][1] = 0.1 * xval[i][j];
      zval[i][j][znumber] = 2.0;
    }
  }
  uniformLevels(1, 10);
  setColumnCells(1, 9);
  buildBlocks();
  metric();
  std::vector<std::vector<double>> points;
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) {
      for (double dx : {0.3, 0.8}) points.push_back({i - 2 + dx, j - 1.6 + dx / 2, 0.1 * (i - 2 + dx)});
    }
  }
  setPoints(points);
  setRoughnessFill();
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) {
      EXPECT_NEAR(Croughness[bottomCell(i, j)], 0.0, 1e-9) << i << " " << j;
      EXPECT_EQ(Cap[bottomCell(i, j)], 1e20);
    }
  }
}

TEST_F(BedRoughness, OtherBlocksAreHeldWhereTheFillSweeps) {
  for (int update : {1, 0}) {
    SCOPED_TRACE(update);
    if (update == 1) {
      readCaseGrid("channel");
      flatGrid(12, 13, 1, 2, 1.0);
      const int b = addBlock(13, 13, 2, 2);
      uniformLevels(1, 10);
      uniformLevels(b, 10);
      setColumnCells(1, 9);
      setColumnCells(b, 9);
      buildBlocks();
      metric();
      block[1].FirstCell = 1;
      block[1].LastCell = 360;
      block[2].FirstCell = 361;
      block[2].LastCell = 369;
      setPoints({{0.5, 0.5, 0.2}});
    }
    SurfUpdate[2] = update;
    const int bottom = bottomCell(13, 2);
    ASSERT_EQ(bottom, 361);
    Croughness[bottom] = 0.07;
    Cap[bottom] = Csource[bottom] = Cap[362] = -1.0;
    setRoughnessFill();
    EXPECT_EQ(Cap[bottom], update ? 1e20 : -1.0);
    EXPECT_EQ(Csource[bottom], update ? 0.07 * 1e20 : -1.0);
    EXPECT_EQ(Cap[362], -1.0);  // not a bottom cell
    EXPECT_EQ(Croughness[bottom], 0.07);
    if (update == 0) continue;
    // The fill spreads the one fixed column's 0.2 m over block 1 and keeps
    // the held column of block 2.
    double *const field = Cf;
    Cf = Croughness;
    surfaceSolver(4);
    Cf = field;
    EXPECT_NEAR(Croughness[bottom], 0.07, 1e-12);
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) EXPECT_NEAR(Croughness[bottomCell(i, j)], 0.2, 0.01) << i << " " << j;
    }
  }
}

TEST_F(BedRoughness, FileOfTheWetColumnsReadsBack) {
  channelWithGeometry();
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) Croughness[bottomCell(i, j)] = 0.01 * i + 0.001 * j;
  }
  zval[3][4][0] = 0.0;  // a dry column
  ASSERT_TRUE(storeRoughness());
  const std::string file = readFile("bedrough.new");
  EXPECT_EQ(file.substr(0, 32), "B 2 2 0.022000\nB 2 3 0.023000\nB ");
  EXPECT_EQ(file.find("B 3 4 "), std::string::npos);
  EXPECT_NE(file.find("B 3 3 0.033000\nB 3 5 0.035000\n"), std::string::npos);
  int lines = 0;
  for (char ch : file) lines += ch == '\n';
  EXPECT_EQ(lines, 39);
  EXPECT_DOUBLE_EQ(roughness[11][5], 0.115);

  // Copied to "bedrough", a later run reads the same values per column.
  writeFile("bedrough", file);
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) roughness[i][j] = -1.0;
  }
  readBedrough();
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) {
      if (i == 3 && j == 4) continue;
      EXPECT_NEAR(roughness[i][j], 0.01 * i + 0.001 * j, 1e-6) << i << " " << j;
    }
  }
}

TEST_F(BedRoughness, NoBlockWritesAnEmptyFile) {
  allocate(5, 5, 3);
  EXPECT_TRUE(storeRoughness());
  EXPECT_EQ(readFile("bedrough.new"), "");
}

// Letter K end to end: the runs that end before or without a fill.
struct LetterKCase {
  const char *name;
  std::string control;
  bool geodata;
  int status;
  std::string logTail;
  bool writesMap;
  friend void PrintTo(const LetterKCase &c, std::ostream *os) { *os << c.name; }
};

class LetterK : public ::testing::TestWithParam<LetterKCase> {};

std::string roughnessGeodata() {
  std::ostringstream out;
  for (int j = 2; j <= 5; ++j) out << "E 0.25 " << j - 1.5 << " 0.1\nE 0.75 " << j - 1.5 << " -0.3\n";
  for (int j = 2; j <= 5; ++j) out << "E 9.25 " << j - 1.5 << " 0.05\nE 9.75 " << j - 1.5 << " -0.05\n";
  return out.str();
}

TEST_P(LetterK, Ends) {
  const LetterKCase &c = GetParam();
  CaseSetup setup;
  setup.files["control"] = c.control + "G 1 13 7 11 1\n";
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  if (c.geodata) setup.files["geodata"] = roughnessGeodata();
  const CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, c.status);
  EXPECT_TRUE(endsWith(r.file("boogie"), c.logTail)) << r.file("boogie");
  EXPECT_EQ(r.has("bedrough.new"), c.writesMap);
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LetterK,
    ::testing::Values(
        // Without a grid there is no block and no column: an empty map.
        LetterKCase{"WithoutAGrid", "F 2 K\n", true, 1, " Mbytes unstructured arrays\n\n", true},
        LetterKCase{"WithoutPointsNothingChanges", "F 2 YK\n", false, 1, "End Unstructure 360 cells\n", false}),
    [](const auto &info) { return std::string(info.param.name); });

// The roughness case: the channel with points in the first and last columns.
CaseSetup roughnessCase(const std::string &letters) {
  CaseSetup setup;
  setup.files["control"] = "F 2 " + letters + "\nG 1 13 7 11 1\n";
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  setup.files["geodata"] = roughnessGeodata();
  return setup;
}

TEST(LetterKRun, RoughnessCaseFillsBetweenTheFixedColumns) {
  const CaseResult r = runCase(roughnessCase("YK"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos);
  std::istringstream in(r.file("bedrough.new"));
  int lines = 0, pi = 0, pj = 0;
  char letter = 0;
  int i = 0, j = 0;
  double value = 0.0;
  while (in >> letter >> i >> j >> value) {
    ++lines;
    EXPECT_EQ(letter, 'B');
    EXPECT_TRUE(i > pi || (i == pi && j > pj)) << i << " " << j;
    pi = i;
    pj = j;
    if (i == 2) {
      EXPECT_EQ(value, 0.2);
    }
    if (i == 11) {
      EXPECT_EQ(value, 0.05);
    }
    EXPECT_NEAR(value, 0.2 - 0.15 / 9.0 * (i - 2), 1e-3) << i << " " << j;
  }
  EXPECT_EQ(lines, 40);
  // Letter K twice reads the points once.
  const CaseResult twice = runCase(roughnessCase("YKK"));
  EXPECT_EQ(twice.status, 1);
  EXPECT_EQ(twice.file("boogie.bed"),
            "Number of points in geodata file: 16\nNumber of points read from geodata file: 16\n");
  EXPECT_EQ(twice.file("bedrough.new"), r.file("bedrough.new"));
}

}  // namespace

namespace {

// The map letter K writes for cases/roughness, copied to "bedrough", gives
// a later run the same value per column.
TEST_F(BedRoughness, LetterKMapReadsBackColumnByColumn) {
  CaseSetup setup;
  for (const char *name : {"control", "koosurf", "geodata"}) setup.files[name] = caseFile("roughness", name);
  const CaseResult r = runCase(setup);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  const std::string map = r.file("bedrough.new");
  channelWithGeometry();
  writeFile("bedrough", map);
  readBedrough();
  std::istringstream in(map);
  char letter = 0;
  int i = 0, j = 0, lines = 0;
  double value = 0.0;
  while (in >> letter >> i >> j >> value) {
    ++lines;
    EXPECT_NEAR(roughness[i][j], value, 1e-12) << i << " " << j;
  }
  EXPECT_EQ(lines, 40);
}

}  // namespace
