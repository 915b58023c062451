// Discharge groups on the boundary faces: the end groups that F 314 makes of
// block 1, the mapping of group points onto the side faces of small hand-built
// grids and of the channel case, the marks, the warnings and the full lists.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "flow/boundaries/discharge_groups.h"
#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"
#include "support/run_case.h"

namespace {

using GroupMapping = GridFixture;

// Grid lines of the columns i1..i2, j1..j2 as 1 m squares, 1 m deep, cut in
// `cells` cells of equal height; the block is appended.
int addColumns(int i1, int i2, int j1, int j2, int cells) {
  flatGrid(i1 - 1, i2, j1 - 1, j2, 1.0);
  std::vector<double> levels;
  for (int m = 0; m <= cells; ++m) levels.push_back(static_cast<double>(m) / cells);
  for (int i = i1 - 1; i <= i2; ++i) {
    for (int j = j1 - 1; j <= j2; ++j) setLineLevels(i, j, levels);
  }
  const int b = addBlock(i1, i2, j1, j2);
  setColumnCells(b, cells);
  return b;
}

// The stand-in generator leaves the block cell ranges to the real one; the
// mapping only searches blocks that have cells.
void buildWithRanges() {
  buildBlocks();
  for (int b = 1; b <= NoBlocks; ++b) block[b].LastCell = NoCells;
}

int bottomOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Group g with the given points, levels, kind and a discharge.
void setGroup(int g, std::vector<std::pair<double, double>> points, int from = 1, int to = 151, int type = 1) {
  DischargeGroup &group = DischargeStruct[g];
  group.type = type;
  group.fromLevel = from;
  group.toLevel = to;
  group.discharge = 1000.0;
  group.polygonCount = static_cast<int>(points.size());
  for (std::size_t p = 0; p < points.size(); ++p) {
    group.polygonX[p] = points[p].first;
    group.polygonY[p] = points[p].second;
  }
}

std::vector<int> faceList(int g) {
  const DischargeGroup &group = DischargeStruct[g];
  return std::vector<int>(group.faces, group.faces + group.faceCount);
}

std::string zeroAreaText(int g, int from, int to) {
  char text[400];
  std::snprintf(text, sizeof text,
                "\nWarning: Zero inflow/outflow area for discharge group no. %d\n"
                "Possible problem: levels in discharge struct below bed\n"
                "Top level group %d: %d, top node: %d\nLow level group %d: %d\nBkooi[3] = %d, Bkooj[3] = %d\n\n",
                g, g, to, znumber, g, from, 0, 0);
  return text;
}

// A point on the west edge midpoint of column (2, 2) of a 2 x 2 block of
// 5-cell columns takes the west faces of the cells within the levels, from
// the top down; a to level of 2 means the bed cell whatever the from level.
TEST_F(GroupMapping, PointTakesTheLevelsOfTheNearestColumn) {
  struct Row {
    const char *name;
    int from, to;
    std::vector<int> levels;
  };
  const Row rows[] = {
      {"every level", 1, 151, {5, 4, 3, 2, 1}},
      {"levels 2..3", 2, 3, {3, 2}},
      {"to level 2", 1, 2, {1}},
      {"to level 2 above the bed", 4, 2, {1}},
      {"from level 11 never the bed", 11, 999, {}},
  };
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  const int bottom = bottomOf(2, 2);
  for (const Row &row : rows) {
    std::fill(Cinout, Cinout + NoCells + 1, 0);
    setGroup(1, {{0.0, 0.5}}, row.from, row.to);
    const std::size_t before = boogie().size();
    InterpolateBoundaryInner2(1);
    std::vector<int> expected;
    for (int level : row.levels) expected.push_back(Cflatew[bottom + level - 1]);
    EXPECT_EQ(faceList(1), expected) << row.name;
    EXPECT_NEAR(DischargeStruct[1].area, 0.2 * row.levels.size(), 1e-12) << row.name;
    int marked = 0;
    for (int c = 1; c <= NoCells; ++c) marked += Cinout[c] == 1;
    EXPECT_EQ(marked, static_cast<int>(row.levels.size())) << row.name;
    for (int f : expected) EXPECT_EQ(Fflagflow[f], 1) << row.name;
    EXPECT_EQ(boogie().substr(before), row.levels.empty() ? zeroAreaText(1, row.from, row.to) : "") << row.name;
  }
}

// Block 1's east edge and block 2's west edge share their midpoints: the
// first block searched keeps the point.
TEST_F(GroupMapping, TieGoesToTheFirstBlock) {
  allocate(8, 5, 6);
  addColumns(2, 3, 2, 2, 2);
  addColumns(4, 5, 2, 2, 2);
  buildWithRanges();
  setGroup(3, {{2.0, 0.5}});
  InterpolateBoundaryInner2(3);
  const int c = bottomOf(3, 2);
  EXPECT_EQ(faceList(3), (std::vector<int>{Cflatee[c + 1], Cflatee[c]}));
  EXPECT_EQ(Cinout[c], 3);
}

// The nearest midpoint belongs to a dry column: nothing is taken, although
// the next column lies within the tolerance, which the large last column of
// the block makes about 1.4 m.
TEST_F(GroupMapping, DryNearestColumnTakesNothing) {
  allocate(6, 5, 6);
  addColumns(2, 3, 2, 3, 1);
  for (int i = 1; i <= 3; ++i) yval[i][3] = 100.0;
  buildWithRanges();
  setGroup(1, {{0.9, 0.0}});
  InterpolateBoundaryInner2(1);
  EXPECT_EQ(faceList(1), std::vector<int>{Cflates[bottomOf(2, 2)]});
  zval[2][2][0] = 0.0;
  InterpolateBoundaryInner2(1);
  EXPECT_TRUE(faceList(1).empty());
  EXPECT_EQ(DischargeStruct[1].area, 0.0);
}

// Grid lines numbered against x make the block left-handed: the size of its
// last column still sets the tolerance.
TEST_F(GroupMapping, LeftHandedBlockStillMaps) {
  allocate(6, 5, 6);
  addColumns(2, 3, 2, 3, 2);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 3; ++j) xval[i][j] = -xval[i][j];
  }
  buildWithRanges();
  setGroup(1, {{-2.0, 1.5}});
  InterpolateBoundaryInner2(1);
  const int c = bottomOf(3, 3);
  EXPECT_EQ(faceList(1), (std::vector<int>{Cflatee[c + 1], Cflatee[c]}));
}

// Two points by the same edge list its faces twice, and the area counts both.
TEST_F(GroupMapping, TwoPointsOnOneEdgeDoubleTheListAndTheArea) {
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  setGroup(1, {{0.0, 0.5}, {0.0, 0.45}});
  InterpolateBoundaryInner2(1);
  ASSERT_EQ(DischargeStruct[1].faceCount, 10);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(DischargeStruct[1].faces[k], DischargeStruct[1].faces[k + 5]);
  EXPECT_NEAR(DischargeStruct[1].area, 2.0, 1e-12);
}

// All groups mapped after a grid change: the marks are cleared first, an
// inflow group marks +g and an outflow group -g; a group without discharge
// keeps its old list unless the discharges come from a "timei" series.
TEST_F(GroupMapping, MappingAllGroups) {
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  std::fill(Cinout, Cinout + NoCells + 1, 7);
  setGroup(2, {{0.0, 0.5}}, 1, 151, 1);
  setGroup(5, {{2.0, 1.5}}, 1, 151, 0);
  setGroup(4, {{1.5, 2.0}});
  DischargeStruct[4].discharge = 0.0;
  DischargeStruct[4].faceCount = 2;
  DischargeStruct[4].faces[0] = 11;
  DischargeStruct[4].faces[1] = 12;
  InterpolateBoundary();
  for (int c = 1; c <= NoCells; ++c) {
    int expected = 0;
    if (c >= bottomOf(2, 2) && c < bottomOf(2, 2) + 5) expected = 2;
    if (c >= bottomOf(3, 3) && c < bottomOf(3, 3) + 5) expected = -5;
    EXPECT_EQ(Cinout[c], expected) << "cell " << c;
  }
  EXPECT_EQ(DischargeStruct[2].faceCount, 5);
  EXPECT_EQ(DischargeStruct[5].faceCount, 5);
  EXPECT_EQ(faceList(4), (std::vector<int>{11, 12}));
  EXPECT_EQ(DischargeStruct[4].faceLevels[0], 0);  // filled only for the cyclic inflow and the inflow table
  FlagDischargeTime = 1;
  FlagCyclic = 1;
  InterpolateBoundary();
  const int top = bottomOf(3, 3) + 4;
  EXPECT_EQ(faceList(4), (std::vector<int>{Cflaten[top], Cflaten[top - 1], Cflaten[top - 2], Cflaten[top - 3],
                                           Cflaten[top - 4]}));
  EXPECT_EQ(Cinout[top], -5);  // the higher group's mark stays on a cell of two groups
  const int levels[] = {5, 4, 3, 2, 1};
  for (int k = 0; k < 5; ++k) EXPECT_EQ(DischargeStruct[4].faceLevels[k], levels[k]) << k;
}

// A transient regeneration carries the fields over and maps the groups
// onto the new faces: all of them, or only the F 314 ends when those are made.
TEST_F(GroupMapping, CarryOverMapsTheGroups) {
  TimeStep = 1.0;
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  setGroup(5, {{2.0, 1.5}}, 1, 151, 0);
  BedMake();
  EXPECT_EQ(DischargeStruct[5].faceCount, 5);
  EXPECT_NEAR(DischargeStruct[5].area, 1.0, 1e-12);
  FlagGenerateUpFlux = 1;
  DischargeStruct[5].faceCount = 0;
  FlagNeedsToBeInterpolated = 1;
  BedMake();
  EXPECT_EQ(DischargeStruct[5].faceCount, 0);
  EXPECT_EQ(DischargeStruct[1].faceCount, 10);
  EXPECT_EQ(DischargeStruct[1].polygonCount, 2);
}

// The groups dealt over threads give the serial outcome: lists, areas and
// marks, also on cells that two groups share; each warning is written once.
TEST_F(GroupMapping, ThreadedMappingEqualsSerial) {
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  const std::vector<std::pair<double, double>> points[10] = {
      {}, {{0.0, 0.5}}, {{0.0, 1.5}, {0.5, 0.0}}, {{0.0, 0.5}}, {{2.0, 0.5}, {2.0, 1.5}},
      {{9.0, 9.0}}, {{0.5, 2.0}}, {{0.0, 0.5}, {1.5, 2.0}}, {{2.0, 1.5}}, {{1.5, 0.0}}};
  auto run = [&](int threads) {
    for (int g = 1; g <= 9; ++g) setGroup(g, points[g], g == 4 ? 2 : 1, g == 6 ? 3 : 151, g % 2);
    NoProcessesSolver = threads;
    FlagOpenMP[10] = threads > 0 ? 0 : 1;
    if (threads > 0) fixThreadCount(threads);
    const std::size_t before = boogie().size();
    InterpolateBoundary();
    std::vector<std::vector<int>> lists;
    for (int g = 1; g <= 9; ++g) lists.push_back(faceList(g));
    std::vector<double> areas;
    for (int g = 1; g <= 9; ++g) areas.push_back(DischargeStruct[g].area);
    return std::make_tuple(lists, areas, std::vector<int>(Cinout, Cinout + NoCells + 1), boogie().substr(before));
  };
  const auto serial = run(0);
  EXPECT_EQ(std::get<2>(serial)[bottomOf(2, 2)], 7);  // groups 1, 2, 3 and 7
  EXPECT_EQ(std::get<3>(serial), zeroAreaText(5, 1, 151));
  for (int threads : {1, 3, 4}) {
    const auto threaded = run(threads);
    EXPECT_EQ(std::get<0>(threaded), std::get<0>(serial)) << threads;
    EXPECT_EQ(std::get<1>(threaded), std::get<1>(serial)) << threads;
    EXPECT_EQ(std::get<2>(threaded), std::get<2>(serial)) << threads;
    EXPECT_EQ(std::get<3>(threaded), std::get<3>(serial)) << threads;
  }
}

// With F 1 D on a partitioned run the mapping reports its count, and a
// listed face that has lost both cells.
TEST_F(GroupMapping, DebugLines) {
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  metric();
  debugging = 'D';
  FlagMPI = 1;
  setGroup(1, {{0.0, 0.5}}, 1, 2);
  const int f = Cflatew[bottomOf(2, 2)];
  Fcell2[f] = 0;
  const std::size_t before = boogie().size();
  InterpolateBoundaryInner2(1);
  char text[300];
  std::snprintf(text, sizeof text,
                "Have interpolated 1 surfaces for discharge group 1\n"
                "Error setting boundary conditions for surface 0 %d\n"
                "Farea = %lf, Ftype1 = %d, Ftype2 = %d, Px1 = %lf, Py1 = %lf\n",
                f, Farea[f], Ftype1[f], Ftype2[f], Px[Fpoint1[f]], Py[Fpoint1[f]]);
  EXPECT_EQ(boogie().substr(before), text);
}

// 5000 points on one column of 201 cells would list 1,005,000 faces.
TEST_F(GroupMapping, FullFaceListEndsTheRun) {
  allocate(3, 3, 203, 3000);
  addColumns(2, 2, 2, 2, 201);
  buildWithRanges();
  setGroup(1, {{0.0, 0.5}}, 1, 999);
  InterpolateBoundaryInner2(1);
  ASSERT_EQ(DischargeStruct[1].faceCount, 201);
  setGroup(1, std::vector<std::pair<double, double>>(kGroupPolygonPoints, {0.0, 0.5}), 1, 999);
  EXPECT_EXIT(InterpolateBoundaryInner2(1), ::testing::ExitedWithCode(254), "");
  EXPECT_TRUE(endsWith(boogie(), "Error: more than 1000000 faces for discharge group 1, use fewer points or levels "
                                 "in unstruc\n"));
}

// Block 1 with 5002 columns along its upstream end gives one point more
// than a group holds.
TEST_F(GroupMapping, TooManyEndPointsEndTheRun) {
  allocate(3, 5004, 3);
  flatGrid(1, 2, 1, 5003, 1.0);
  addBlock(2, 2, 2, 5003);
  FlagGenerateUpFlux = 1;
  EXPECT_EXIT(setFluxes(), ::testing::ExitedWithCode(254), "");
  EXPECT_TRUE(
      endsWith(boogie(), "Error: more than 5000 points for discharge group 1 from F 314, block 1 is too wide\n"));
}

// The mapping no path reaches: top cells' open sides by their midpoints,
// levels counted from znumber down to 2, appended to the list.
TEST_F(GroupMapping, TopCellMapping) {
  allocate(6, 5, 8);
  addColumns(2, 3, 2, 3, 5);
  buildWithRanges();
  NoCells0 = NoCells;
  setGroup(1, {{0.0, 0.5}}, 6, 7, 0);
  DischargeStruct[1].faceCount = 1;
  DischargeStruct[1].faces[0] = 99;
  InterpolateBoundaryInner(1);
  const int top = bottomOf(2, 2) + 4;  // level 8 of znumber 8
  EXPECT_EQ(faceList(1), (std::vector<int>{99, Cflatew[top - 1], Cflatew[top - 2]}));
  EXPECT_EQ(Cinout[top - 1], -1);
  setGroup(2, {{0.0, 0.6}});  // 0.01 m2 away: too far
  const std::size_t before = boogie().size();
  InterpolateBoundaryInner(2);
  EXPECT_EQ(DischargeStruct[2].faceCount, 0);
  EXPECT_EQ(boogie().substr(before), zeroAreaText(2, 1, 151) +
                                         "zval[1][2][1,8] = 0.000000 1.000000\nzval[3][2][1,8] = 0.000000 1.000000\n");
}

// The end groups of a block of columns j = 2..11 between grid lines i = 1 and
// 3: columns (2, 2), (2, 3), (3, 2), (3, 3) hold 12 cells, the others 3.
class EndGroups : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    allocate(5, 13, 14);
    flatGrid(1, 3, 1, 11, 1.0);
    std::vector<double> levels;
    for (int m = 0; m <= 12; ++m) levels.push_back(m / 12.0);
    for (int i = 1; i <= 3; ++i) {
      for (int j = 1; j <= 11; ++j) setLineLevels(i, j, levels);
    }
    const int b = addBlock(2, 3, 2, 11);
    setColumnCells(b, 3);
    for (int i = 2; i <= 3; ++i) ant[i][2] = ant[i][3] = 12;
    buildWithRanges();
    MinVertDist0 = 0.01;
  }
  // Segments 3, 4 and 5 of the upstream end fall dry: their end points'
  // depths add up to 0 or less.
  static void dryUpstream() {
    for (int j = 3; j <= 4; ++j) zval[1][j][znumber] = -1.0;
  }
};

TEST_F(EndGroups, PointsLevelsAndFaces) {
  struct Row {
    const char *name;
    int up, down, iter;
    bool dry, generatedBefore;
    int points1, from1, to1, faces1;  // points1 -1: group 1 not made
    int points2, from2, to2, faces2;  // points2 -1: group 2 not made
  };
  const Row rows[] = {
      {"up 1 whatever the depths", 1, 0, 0, true, false, 10, 1, 999, 48, -1, 0, 0, 0},
      {"up 2 wet segments only", 2, 0, 0, true, false, 7, 1, 999, 30, -1, 0, 0, 0},
      {"up 3", 3, 0, 0, false, false, 10, 19, 20, 0, -1, 0, 0, 0},
      {"up 4 before the first iteration", 4, 0, 0, true, false, 7, 1, 999, 30, -1, 0, 0, 0},
      {"up 4 keeps its points", 4, 0, 1, true, true, 10, 1, 999, 48, -1, 0, 0, 0},
      {"up 5", 5, 0, 0, false, false, 10, 17, 19, 0, -1, 0, 0, 0},
      {"up 6", 6, 0, 0, false, false, 10, 1, 36, 48, -1, 0, 0, 0},
      {"up 7", 7, 0, 0, false, false, 10, 1, 70, 48, -1, 0, 0, 0},
      {"up 8 makes nothing", 8, 0, 0, false, false, -1, 0, 0, 0, -1, 0, 0, 0},
      {"up 12 takes level 12", 12, 0, 0, true, false, 10, 12, 12, 2, -1, 0, 0, 0},
      {"down 1", 0, 1, 0, false, false, -1, 0, 0, 0, 10, 1, 999, 48},
      {"down 2", 0, 2, 0, false, false, -1, 0, 0, 0, 10, 1, 999, 48},
      {"down 3 the bed cells", 0, 3, 0, false, false, -1, 0, 0, 0, 10, 2, 2, 10},
      {"down 4 makes nothing", 1, 4, 0, false, false, 10, 1, 999, 48, -1, 0, 0, 0},
  };
  for (const Row &row : rows) {
    const GridBlock kept = block[1];
    setBlockAndGroupDefaults();
    block[1] = kept;
    NoBlocks = 1;
    for (int j = 3; j <= 4; ++j) zval[1][j][znumber] = 1.0;
    Iter = 0;
    FlagGenerateUpFlux = row.up;
    FlagGenerateDownFlux = row.down;
    if (row.generatedBefore) setFluxes();
    if (row.dry) dryUpstream();
    Iter = row.iter;
    setFluxes();
    const DischargeGroup &up = DischargeStruct[1], &down = DischargeStruct[2];
    if (row.points1 < 0) {
      EXPECT_EQ(up.polygonCount, 0) << row.name;
      EXPECT_EQ(up.toLevel, 151) << row.name;
    } else {
      EXPECT_EQ(up.polygonCount, row.points1) << row.name;
      EXPECT_EQ(up.fromLevel, row.from1) << row.name;
      EXPECT_EQ(up.toLevel, row.to1) << row.name;
      EXPECT_EQ(up.faceCount, row.faces1) << row.name;
      for (int p = 0; p < up.polygonCount; ++p) EXPECT_EQ(up.polygonX[p], 0.0) << row.name;
    }
    if (row.points2 < 0) {
      EXPECT_EQ(down.polygonCount, 0) << row.name;
      EXPECT_EQ(down.type, 1) << row.name;
    } else {
      EXPECT_EQ(down.type, 0) << row.name;
      EXPECT_EQ(down.polygonCount, row.points2) << row.name;
      EXPECT_EQ(down.fromLevel, row.from2) << row.name;
      EXPECT_EQ(down.toLevel, row.to2) << row.name;
      EXPECT_EQ(down.faceCount, row.faces2) << row.name;
      for (int p = 0; p < down.polygonCount; ++p) EXPECT_EQ(down.polygonX[p], 2.0) << row.name;
    }
  }
  // Level 12 lies in the two tall columns only, at their top cells.
  FlagGenerateUpFlux = 12;
  FlagGenerateDownFlux = 3;
  setFluxes();
  EXPECT_EQ(faceList(1), (std::vector<int>{Cflatew[bottomOf(2, 2) + 11], Cflatew[bottomOf(2, 3) + 11]}));
  for (int f : faceList(2)) EXPECT_EQ(Ccellb[Fcell1[f]], 0);
}

// The midpoints of the segments, dry ones left out without gaps.
TEST_F(EndGroups, PointsAreSegmentMidpoints) {
  dryUpstream();
  FlagGenerateUpFlux = 2;
  setFluxes();
  const double y[] = {0.5, 4.5, 5.5, 6.5, 7.5, 8.5, 9.5};
  ASSERT_EQ(DischargeStruct[1].polygonCount, 7);
  for (int p = 0; p < 7; ++p) EXPECT_EQ(DischargeStruct[1].polygonY[p], y[p]) << p;
}

// F 237 fills a discharge the record does not have yet; F 263 gives the
// boundary kind, and without it the kind is 0 even over an older 1.
TEST_F(EndGroups, DischargeAndBoundaryKind) {
  struct Row {
    const char *name;
    double record, given;
    int update, staleKind;
    double discharge;
    int kind;
  };
  const Row rows[] = {
      {"F 237 into an empty record", 0.0, 2.5, -1, 0, 2500.0, 0},
      {"the record's discharge stays", 7000.0, 2.5, -1, 0, 7000.0, 0},
      {"no F 237", 0.0, -1.0, -1, 0, 0.0, 0},
      {"F 263 2 1", 0.0, -1.0, 1, 0, 0.0, 1},
      {"no F 263 over a stale 1", 0.0, -1.0, -1, 1, 0.0, 0},
      {"F 263 2 0 over a stale 1", 0.0, -1.0, 0, 1, 0.0, 0},
  };
  FlagGenerateUpFlux = 1;
  FlagGenerateDownFlux = 1;
  for (const Row &row : rows) {
    DischargeStruct[2].discharge = row.record;
    DischargeStruct[2].boundaryKind = row.staleKind;
    DischargeStruct[2].type = 1;
    DischargeStruct[2].concentration = 3.0;
    discharges[2] = row.given;
    updates[2] = row.update;
    setFluxes();
    EXPECT_EQ(DischargeStruct[2].discharge, row.discharge) << row.name;
    EXPECT_EQ(DischargeStruct[2].boundaryKind, row.kind) << row.name;
    EXPECT_EQ(DischargeStruct[2].type, 0) << row.name;
    EXPECT_EQ(DischargeStruct[2].concentration, 0.0) << row.name;
    EXPECT_EQ(DischargeStruct[1].type, 1) << row.name;
  }
}

// "F 314 1 1" on the channel: the west faces of the columns (2, 2..5) and
// the east faces of the columns (11, 2..5), marked +1 and -2, mapped by the
// generator itself; 4 m2 once the geometry is there.
TEST_F(GroupMapping, ChannelEnds) {
  FlagGenerateUpFlux = 1;
  FlagGenerateDownFlux = 1;
  updates[2] = 1;
  generateCase(CaseGrid::Channel);
  ASSERT_EQ(NoCells, 360);
  const DischargeGroup &up = DischargeStruct[1], &down = DischargeStruct[2];
  ASSERT_EQ(up.polygonCount, 4);
  for (int p = 0; p < 4; ++p) EXPECT_EQ(up.polygonX[p], 0.0);
  std::vector<int> west, east;
  for (int j = 2; j <= 5; ++j) {
    for (int k = 8; k >= 0; --k) {
      west.push_back(Cflatew[bottomOf(2, j) + k]);
      east.push_back(Cflatee[bottomOf(11, j) + k]);
      EXPECT_EQ(Cinout[bottomOf(2, j) + k], 1);
      EXPECT_EQ(Cinout[bottomOf(11, j) + k], -2);
    }
  }
  EXPECT_EQ(faceList(1), west);
  EXPECT_EQ(faceList(2), east);
  EXPECT_EQ(down.boundaryKind, 1);
  EXPECT_EQ(up.boundaryKind, 0);
  metric();
  double area = 0.0;
  for (int f : west) area += Farea[f];
  EXPECT_NEAR(area, 4.0, 1e-12);
  for (int g = 3; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    EXPECT_EQ(group.faceCount + group.polygonCount, 0) << g;
    EXPECT_EQ(group.type, 1) << g;
    EXPECT_EQ(group.fromLevel, 1) << g;
    EXPECT_EQ(group.toLevel, 151) << g;
    EXPECT_EQ(group.discharge, 0.0) << g;
  }
}

// The letter Y maps the ends as it generates: silent when they are found,
// the zero-area lines when the levels lie above the 9-cell columns.
TEST(GroupsRun, LetterYMapsTheEnds) {
  struct Row {
    const char *name, *f314;
    std::string tail;
  };
  const Row rows[] = {
      {"both ends found", "F 314 1 1", "Generating grid with F 64 11 algorithm. \nEnd Unstructure 360 cells\n"},
      {"levels 19..20 above the columns", "F 314 3 0",
       "Generating grid with F 64 11 algorithm. \n\nWarning: Zero inflow/outflow area for discharge group no. 1\n"
       "Possible problem: levels in discharge struct below bed\nTop level group 1: 20, top node: 11\n"
       "Low level group 1: 19\nBkooi[3] = 2, Bkooj[3] = 4\n\nEnd Unstructure 360 cells\n"},
  };
  for (const Row &row : rows) {
    CaseSetup setup;
    setup.files["control"] = std::string("F 2 Y\nG 1 13 7 11 1\n") + row.f314 + "\n";
    setup.files["koosurf"] = caseFile("channel", "koosurf");
    const CaseResult result = runCase(setup);
    EXPECT_EQ(result.status, 1) << row.name;
    EXPECT_TRUE(endsWith(result.file("boogie"), row.tail)) << row.name << ":\n" << result.file("boogie");
  }
}

}  // namespace
