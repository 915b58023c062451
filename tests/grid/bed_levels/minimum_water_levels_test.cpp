// Minimum water levels of the channel's cross-sections (10 x 4 columns of
// nine cells, bed 0, surface 1 m): the margin table, the ranked beds, the
// band around the fastest column, the critical depth by iteration, the flow
// path and its walk, the critical cross-sections, and the rise of the grid
// points before a regeneration.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "flow/flow_fixture.h"
#include "grid/grid_services.h"
#include "grid/bed_levels/minimum_water_levels.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_services.h"

namespace {

int bottomOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }
double minLevel(int i, int j) { return Bminwaterlevel[pointbed[i][j]]; }

int countLines(const std::string &text, const std::string &what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

class MinimumLevels : public FlowFixture {
 protected:
  // The channel with the split option allocated, margins V0 0.005 and V1 0.1,
  // every cell at rest and every column 1 m deep.
  static void channelWith(int method) {
    FlagNoGridSplit = method;
    channel();
    ASSERT_NE(Bminwaterlevel, nullptr);
    MinVertDist0 = 0.005;
    MinVertDist1 = 0.1;
    for (int c = 0; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = 0.0;
    for (int b = 1; b <= NoBCells; ++b) Bdepth[b] = 1.0;
  }
  // Every cell of column (i, j) flows at u in x.
  static void columnSpeed(int i, int j, double u) {
    for (int c = bottomOf(i, j); c > 0; c = Ccellt[c]) Cxvel[c] = u;
  }
  static void allSpeeds(double u) {
    for (int c = 1; c <= NoCells; ++c) Cxvel[c] = u;
  }
  template <typename Visit>
  static void forEachColumn(Visit &&visit) {
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) visit(i, j);
    }
  }
  // Column (i, j) dry for the routines that read the bottom-cell index.
  static void dry(int i, int j) { zval[i][j][0] = 0.0; }
};

}  // namespace

// The margin depth of every method, V0 = 0.005, V1 = 0.1 and group 1 at
// 1000 kg/s (method 64: the critical depth of 1 m3/s per metre at Fr 1).
class MarginTable : public ::testing::TestWithParam<int> {};

TEST_P(MarginTable, GivesTheMarginOfTheMethod) {
  const double V0 = 0.005, V1 = 0.1;
  MinVertDist0 = V0;
  MinVertDist1 = V1;
  solverFroudeLimit = 1.0;
  DischargeArray[1] = 1000.0;
  const std::map<int, double> table = {
      {1, 1.5 * V0},  {11, 1.5 * V0}, {12, 1.5 * V0}, {36, 1.5 * V0}, {62, 1.5 * V0}, {2, V0},
      {13, V0},       {65, V0},       {3, 0.5 * V0},  {14, 0.5 * V0}, {19, 0.5 * V0}, {4, 2 * V1},
      {17, 2 * V1},   {28, 2 * V1},   {38, 2 * V1},   {58, 2 * V1},   {5, 3 * V0},    {15, 3 * V0},
      {25, 3 * V0},   {6, 3 * V1},    {16, 3 * V1},   {29, 3 * V1},   {39, 3 * V1},   {59, 3 * V1},
      {18, V1},       {27, V1},       {37, V1},       {57, V1},       {26, 2 * V0},   {60, 0.0},
      {61, 1.1 * V0}, {63, 10 * V1},  {64, 0.4671364}};
  const int method = GetParam();
  const auto entry = table.find(method);
  const double expected = entry == table.end() ? 0.05 : entry->second;
  EXPECT_NEAR(minimumLevelMargin(method), expected, 1e-6) << method;
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, MarginTable, ::testing::Range(1, 71));

TEST(MarginTableDischarge, NoDischargeOfGroupOneGivesNoMargin) {
  solverFroudeLimit = 1.0;
  DischargeArray[1] = -1000.0;
  EXPECT_EQ(minimumLevelMargin(64), 0.0);
  DischargeArray[1] = 8000.0;  // 8 m3/s at Fr 0.5: (8 / 4.905)^(1/3)
  solverFroudeLimit = 0.5;
  EXPECT_NEAR(minimumLevelMargin(64), std::pow(8.0 / 4.905, 0.33333333), 1e-9);
}

// Section i = 6 with the beds 0.5, 0.2, 0.0, 0.1, 0.5 at its points: the
// third-lowest flowing bed 0.2 plus D = 0.0075 for every column of it.
TEST_F(MinimumLevels, ThirdLowestFlowingBedOfASection) {
  channelWith(1);
  const double beds[] = {0.5, 0.2, 0.0, 0.1, 0.5};
  for (int j = 1; j <= 5; ++j) zval[6][j][1] = beds[j - 1];
  for (int j = 2; j <= 5; ++j) columnSpeed(6, j, 0.5);
  NoGridSplit();
  forEachColumn([](int i, int j) {
    const int b = pointbed[i][j];
    if (i == 6) {
      EXPECT_NEAR(Bminwaterlevel[b], 0.2075, 1e-12) << j;
      EXPECT_NEAR(Bminlevdh[b], 0.1 + 0.0075 - 1.0, 1e-12) << j;
    } else {
      EXPECT_EQ(Bminwaterlevel[b], -1000.0) << i << " " << j;
      EXPECT_EQ(Bminlevdh[b], -10.0) << i << " " << j;
    }
  });
  EXPECT_EQ(rute[0], 0);

  // Only column (6, 2) flows: two points count, the section keeps the reset values.
  for (int j = 3; j <= 5; ++j) columnSpeed(6, j, 0.05);
  NoGridSplit();
  for (int j = 2; j <= 5; ++j) {
    EXPECT_EQ(minLevel(6, j), -1000.0) << j;
    EXPECT_EQ(Bminlevdh[pointbed[6][j]], -10.0) << j;
  }
}

// The rise: the points of lines 5 and 6, corners of section 6, come up to
// its minimum level in both slots; no other point moves, none is lowered.
TEST_F(MinimumLevels, RiseLiftsTheCornersOfTheSection) {
  channelWith(1);
  const double beds[] = {0.5, 0.2, 0.0, 0.1, 0.5};
  for (int j = 1; j <= 5; ++j) zval[6][j][1] = beds[j - 1];
  for (int j = 2; j <= 5; ++j) columnSpeed(6, j, 0.5);
  NoGridSplit();
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][znumber] = zval[i][j][znumber + 1] = 0.1;
  }
  zval[5][3][znumber] = zval[5][3][znumber + 1] = 0.3;  // already above: stays
  dry(7, 5);  // a dry column's level would not count, and (6, 5) still lifts its corners
  NoGridSplitRise();
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      double expected = 0.1;
      if ((i == 5 || i == 6) && j >= 1 && j <= 5) expected = 0.2075;
      if (i == 5 && j == 3) expected = 0.3;
      EXPECT_DOUBLE_EQ(zval[i][j][znumber], expected) << i << " " << j;
      EXPECT_DOUBLE_EQ(zval[i][j][znumber + 1], expected) << i << " " << j;
    }
  }
}

// Minimum levels at or below -100 and those of dry columns raise nothing.
TEST_F(MinimumLevels, RiseIgnoresEmptyAndDryColumns) {
  channelWith(1);
  for (int b = 1; b <= NoBCells; ++b) Bminwaterlevel[b] = -100.0;
  Bminwaterlevel[pointbed[4][3]] = 5.0;
  dry(4, 3);
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) ASSERT_EQ(zval[i][j][znumber], 1.0) << i << " " << j;
  }
  NoGridSplitRise();
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) EXPECT_EQ(zval[i][j][znumber], 1.0) << i << " " << j;
  }
}

// Method 12: a band of nine columns around the fastest one, D at it and a
// fifth of D less per column; the next section takes the band, the previous
// one keeps the larger level.
TEST_F(MinimumLevels, BandAroundTheFastestColumn) {
  channelWith(12);
  const double D = 0.0075;
  for (int i = 2; i <= 11; ++i) columnSpeed(i, 3, 0.5);
  NoGridSplit();
  const double band3[] = {0.8 * D, D, 0.8 * D, 0.6 * D};
  forEachColumn([&](int i, int j) { EXPECT_NEAR(minLevel(i, j), band3[j - 2], 1e-12) << i << " " << j; });

  // Section 6 fastest at j = 3, all others at j = 5.
  for (int i = 2; i <= 11; ++i) {
    columnSpeed(i, 3, i == 6 ? 0.5 : 0.0);
    columnSpeed(i, 5, i == 6 ? 0.0 : 0.5);
  }
  NoGridSplit();
  const double band5[] = {0.4 * D, 0.6 * D, 0.8 * D, D};
  for (int j = 2; j <= 5; ++j) {
    const double larger = std::max(band3[j - 2], band5[j - 2]);
    EXPECT_NEAR(minLevel(4, j), band5[j - 2], 1e-12) << j;
    EXPECT_NEAR(minLevel(5, j), larger, 1e-12) << j;  // set by 4, raised by 6
    EXPECT_NEAR(minLevel(6, j), larger, 1e-12) << j;  // set by 5 and 6, raised by 7
    EXPECT_NEAR(minLevel(7, j), band5[j - 2], 1e-12) << j;
  }
}

// A section without a wet column takes the band of the previous section;
// the first sections without one keep their reset values, but for the raise
// of the band of the next section.
TEST_F(MinimumLevels, BandWithoutAWetColumn) {
  channelWith(12);
  const double D = 0.0075;
  for (int i = 2; i <= 11; ++i) columnSpeed(i, 4, 0.5);
  for (int i : {2, 3, 7}) {
    for (int j = 2; j <= 5; ++j) dry(i, j);
  }
  NoGridSplit();
  const double band4[] = {0.6 * D, 0.8 * D, D, 0.8 * D};
  for (int j = 2; j <= 5; ++j) {
    EXPECT_EQ(minLevel(2, j), -1000.0) << j;
    EXPECT_NEAR(minLevel(3, j), band4[j - 2], 1e-12) << j;
    EXPECT_NEAR(minLevel(7, j), band4[j - 2], 1e-12) << j;
    EXPECT_NEAR(minLevel(8, j), band4[j - 2], 1e-12) << j;
  }
}

// Method 9: 1 m3/s over the 4 m wide flat channel flows critical at
// (0.25^2 / 9.81)^(1/3) = 0.1854 m.
TEST_F(MinimumLevels, CriticalDepthByIteration) {
  channelWith(9);
  DischargeArray[1] = 1000.0;
  NoGridSplit();
  forEachColumn([](int i, int j) { EXPECT_NEAR(minLevel(i, j), 0.1854, 0.002) << i << " " << j; });
  EXPECT_EQ(boogie().find("Warning"), std::string::npos) << boogie();
}

// Levels above 10000 at line 6: sections 6 and 7 warn once per column, and
// still get the critical level of the channel.
TEST_F(MinimumLevels, CriticalDepthWithTooHighLevels) {
  channelWith(9);
  DischargeArray[1] = 1000.0;
  for (int j = 1; j <= 5; ++j) zval[6][j][znumber] = 20000.0;
  NoGridSplit();
  const std::string log = boogie();
  EXPECT_EQ(countLines(log, "Warning, F 371 9 has too high water level"), 8) << log;
  EXPECT_NE(log.find("Warning, F 371 9 has too high water level as input for time 0.000000 cross-section 6, point 2, "
                     "wlevel = 10000.500000\n"),
            std::string::npos)
      << log;
  for (int i : {6, 7}) {
    for (int j = 2; j <= 5; ++j) EXPECT_NEAR(minLevel(i, j), 0.1854, 0.002) << i << " " << j;
  }
}

// Method 10: a column above FroudeSplit gets the depth at which it would flow
// at FroudeSplit, its neighbours 0.6 of it; one at FroudeSplit gets nothing.
TEST_F(MinimumLevels, FroudeLimitPerColumn) {
  channelWith(10);
  FroudeSplit = 1.0;
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.5;
  BFroude[pointbed[6][3]] = 2.0;
  BFroude[pointbed[9][3]] = 1.0;  // at the limit: nothing
  Bdepth[pointbed[6][3]] = 0.5;
  NoGridSplit();
  const double h = std::pow(std::pow(0.5, 1.5) * 2.0, 2.0 / 3.0);  // 0.7937
  EXPECT_NEAR(minLevel(6, 3), h, 1e-9);
  for (auto [i, j] : {std::pair{5, 3}, {7, 3}, {6, 2}, {6, 4}}) EXPECT_NEAR(minLevel(i, j), 0.6 * h, 1e-9) << i << j;
  EXPECT_EQ(minLevel(9, 3), -1000.0);
  EXPECT_EQ(minLevel(5, 2), -1000.0);
  // Above 3 the Froude number counts as 3.
  BFroude[pointbed[6][3]] = 7.0;
  NoGridSplit();
  EXPECT_NEAR(minLevel(6, 3), std::pow(std::pow(0.5, 1.5) * 3.0, 2.0 / 3.0), 1e-9);
}

// Method 48 with the water flowing east everywhere: the path runs along the
// first row from the first column, each column at D = 0.05 above its bed.
TEST_F(MinimumLevels, FlowPathAlongTheFirstRow) {
  channelWith(48);
  allSpeeds(0.5);
  NoGridSplit();
  for (int k = 0; k < 10; ++k) EXPECT_EQ(rute[k], 1 + 4 * k) << k;
  EXPECT_EQ(rute[10], 0);
  forEachColumn([](int i, int j) { EXPECT_DOUBLE_EQ(minLevel(i, j), j == 2 ? 0.05 : -1000.0) << i << " " << j; });
  EXPECT_DOUBLE_EQ(DepthBreakPath, 0.05);  // 10 V0 from now on
}

// Method 57: the path computed at level 1.0, then the water drops to 0.003 m,
// below V0; the regenerated grid keeps one cell in each path column only.
TEST_F(MinimumLevels, PathColumnsKeepACellWhenTheWaterFalls) {
  channelWith(57);
  allSpeeds(0.5);
  NoGridSplit();
  ASSERT_EQ(rute[0], 1);
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][znumber] = zval[i][j][znumber + 1] = 0.003;
  }
  ASSERT_EQ(Unstructure(), 1);
  forEachColumn([](int i, int j) { EXPECT_EQ(ant[i][j], j == 2 ? 1 : 0) << i << " " << j; });
  EXPECT_EQ(NoCells, 10);
}

// A dead end at the second column ends the walk there.
TEST_F(MinimumLevels, WalkEndsAtADeadEndOnItsSecondColumn) {
  channelWith(48);
  allSpeeds(0.5);
  dry(4, 2);
  dry(3, 3);
  NoGridSplit();
  ASSERT_EQ(rute[0], pointbed[2][2]);
  EXPECT_EQ(rute[1], pointbed[3][2]);
  EXPECT_EQ(rute[2], 0);
  EXPECT_DOUBLE_EQ(minLevel(2, 3), -1000.0);
}

// A dead end two columns after the start: the walk steps back to the second
// column and goes on by its other candidate; the abandoned column keeps its level.
TEST_F(MinimumLevels, WalkStepsBackFromADeadEnd) {
  channelWith(48);
  DepthBreakPath = 100.0;  // the scores decide
  allSpeeds(0.5);
  dry(5, 2);
  dry(4, 3);
  NoGridSplit();
  const std::vector<std::pair<int, int>> path = {{2, 2}, {3, 2}, {3, 3}, {3, 4}, {4, 4}, {5, 4}, {6, 4},
                                                 {7, 4}, {8, 4}, {9, 4}, {10, 4}, {11, 4}};
  for (size_t k = 0; k < path.size(); ++k) EXPECT_EQ(rute[k], pointbed[path[k].first][path[k].second]) << k;
  EXPECT_EQ(rute[path.size()], 0);
  EXPECT_DOUBLE_EQ(minLevel(4, 2), 0.05);
}

// F 420 0: from the second column on the walk takes the deepest candidate.
// Its detour (3, 3), (3, 4), (2, 4), then (3, 5), ends in dead ends; back at
// (3, 2) it reaches the last section (i2 = 4 here) at index 2, and the
// entries written beyond are taken out with -100.
TEST_F(MinimumLevels, DeepestCandidatesAndEntriesTakenOut) {
  channelWith(48);
  block[1].i2 = 4;
  DepthBreakPath = 0.0;
  allSpeeds(0.5);
  for (auto [i, j] : {std::pair{4, 3}, {4, 4}, {2, 3}, {2, 5}, {4, 5}}) dry(i, j);
  Bdepth[pointbed[3][3]] = 2.0;
  Bdepth[pointbed[3][4]] = 3.0;
  Bdepth[pointbed[2][4]] = 4.0;
  NoGridSplit();
  EXPECT_EQ(rute[0], pointbed[2][2]);
  EXPECT_EQ(rute[1], pointbed[3][2]);
  EXPECT_EQ(rute[2], pointbed[4][2]);
  EXPECT_EQ(rute[3], 0);
  EXPECT_EQ(rute[4], 0);
  EXPECT_DOUBLE_EQ(minLevel(4, 2), 0.05);
  EXPECT_DOUBLE_EQ(minLevel(3, 3), 0.05);  // abandoned earlier: kept
  EXPECT_DOUBLE_EQ(minLevel(2, 4), 0.05);
  EXPECT_DOUBLE_EQ(minLevel(3, 4), -100.0);  // beyond the final index
  EXPECT_DOUBLE_EQ(minLevel(3, 5), -100.0);
}

// F 423: 1 raises the four neighbours to 0.8 D, 2 also the diagonals, 3 also
// the previous path column to the level of the current one.
TEST_F(MinimumLevels, RiseNeighboursOfPathColumns) {
  channelWith(48);
  for (int flag : {1, 2}) {
    FlagRiseNeighbours = flag;
    for (int b = 1; b <= NoBCells; ++b) Bminwaterlevel[b] = -1000.0;
    riseNeighbours(6, 3, 0.1, 0.05);
    for (auto [i, j] : {std::pair{5, 3}, {7, 3}, {6, 2}, {6, 4}}) EXPECT_DOUBLE_EQ(minLevel(i, j), 0.14) << flag;
    for (auto [i, j] : {std::pair{5, 2}, {7, 4}, {7, 2}, {5, 4}})
      EXPECT_DOUBLE_EQ(minLevel(i, j), flag == 2 ? 0.14 : -1000.0) << flag;
    EXPECT_DOUBLE_EQ(minLevel(6, 3), -1000.0);
  }
  // Through the walk: the raised neighbours count as on the path, so the
  // walk has no candidate after its start column.
  FlagRiseNeighbours = 3;
  allSpeeds(0.5);
  NoGridSplit();
  EXPECT_EQ(rute[0], pointbed[2][2]);
  EXPECT_EQ(rute[1], 0);
  EXPECT_DOUBLE_EQ(minLevel(2, 2), 0.05);
  for (auto [i, j] : {std::pair{3, 2}, {2, 3}, {3, 3}}) EXPECT_DOUBLE_EQ(minLevel(i, j), 0.04) << i << j;
  EXPECT_DOUBLE_EQ(minLevel(4, 2), -1000.0);
}

// Critical cross-sections on the path: at Fr <= 1 the levels of the walk
// stay; above 1 the stretch of the larger discharge gets zb + H Fr^0.4.
TEST_F(MinimumLevels, CriticalCrossSections) {
  channelWith(48);
  FlagCriticalCross = 1;
  allSpeeds(0.5);
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  NoGridSplit();  // 0.5 m/s in 1 m water: no flux, Fr 0
  forEachColumn([](int i, int j) { EXPECT_DOUBLE_EQ(minLevel(i, j), j == 2 ? 0.05 : -1000.0) << i << " " << j; });

  // q kg/s through every west and east face of section 6 below the top cell:
  // along j A = 32 x 1/9 m2, Q = 32 x 0.001 q, W = 4 x 0.5 m, so u = 0.009 q
  // and c = sqrt(9.81 x 16/9); the neighbour sections share one side: half of it.
  auto fluxThrough = [](int i, double q) {
    for (int j = 2; j <= 5; ++j) {
      for (int c = bottomOf(i, j); Ccellt[c] > 0; c = Ccellt[c]) Fflux[Cflatee[c]] = Fflux[Cflatew[c]] = q;
    }
  };
  const double wave = std::sqrt(9.81 * 16.0 / 9.0), H = 8.0 / 9.0;
  fluxThrough(6, 400.0);  // Fr = 0.862
  NoGridSplit();
  forEachColumn([](int i, int j) { EXPECT_DOUBLE_EQ(minLevel(i, j), j == 2 ? 0.05 : -1000.0) << i << " " << j; });
  fluxThrough(6, 4000.0);  // Fr = 8.62, and 4.31 in sections 5 and 7
  NoGridSplit();
  const double Fr = 36.0 / wave;
  for (int j = 2; j <= 5; ++j) {
    EXPECT_NEAR(minLevel(6, j), H * std::pow(Fr, 0.4), 1e-9) << j;
    EXPECT_NEAR(minLevel(5, j), H * std::pow(0.5 * Fr, 0.4), 1e-9) << j;
    EXPECT_NEAR(minLevel(7, j), H * std::pow(0.5 * Fr, 0.4), 1e-9) << j;
  }
  EXPECT_DOUBLE_EQ(minLevel(8, 2), 0.05);
  EXPECT_DOUBLE_EQ(minLevel(8, 3), -1000.0);
}

// Froude-limited levels on the path (F 351 2): D truncated to 0, so minus the depth.
TEST_F(MinimumLevels, FroudeLimitedLevelsAlongThePath) {
  solverFroude = 2;
  channelWith(48);
  ASSERT_NE(BLevFroude, nullptr);
  allSpeeds(0.5);
  NoGridSplit();
  forEachColumn([](int i, int j) {
    EXPECT_NEAR(BLevFroude[pointbed[i][j]], j == 2 ? -1.0 : -1000.0, 1e-12) << i << " " << j;
  });
}

// Methods 7 and 8: each wet stretch of a section gets the depth at which it
// would flow at FroudeSplit. With 1/9 m2 faces every column has A = 1, W = 1
// and its top at 1, so the level is (Fr / FroudeSplit)^(2/3); column (6, 4)
// is dry and splits section 6 into (6, 2..3) and (6, 5), which ends at j2.
TEST_F(MinimumLevels, FroudeLimitPerWetStretch) {
  channelWith(7);
  const double qOfRow[] = {1000.0, 1000.0, 1000.0, 250.0};  // kg/s per face, rows 2..5
  forEachColumn([&](int i, int j) {
    for (int c = bottomOf(i, j); c > 0; c = Ccellt[c]) Fflux[Cflatee[c]] = Fflux[Cflatew[c]] = qOfRow[j - 2];
  });
  dry(6, 4);
  const double wave = std::sqrt(9.81);
  for (double split : {1.0, 2.0}) {
    FlagNoGridSplit = split == 1.0 ? 7 : 8;
    FroudeSplit = split;
    NoGridSplit();
    auto level = [&](double u) { return std::pow(u / wave / split, 0.666667); };
    for (int j : {2, 3}) EXPECT_NEAR(minLevel(6, j), level(9.0), 1e-5) << split << " " << j;
    EXPECT_EQ(minLevel(6, 4), -1000.0);
    EXPECT_NEAR(minLevel(6, 5), level(2.25), 1e-5) << split;
    for (int j = 2; j <= 5; ++j) EXPECT_NEAR(minLevel(7, j), level(9.0 * 3250.0 / 4000.0), 1e-5) << split << " " << j;
  }
}

// Methods 10 and 11 differ in the bed of the column: the mean of the lowest
// corner and the corner mean (10), or the corner mean (11).
TEST_F(MinimumLevels, FroudeLimitBedOfTheColumn) {
  channelWith(11);
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.0;
  BFroude[pointbed[6][3]] = 2.0;
  Bdepth[pointbed[6][3]] = 0.5;
  zval[6][3][1] = 0.4;  // one corner of (6, 3) higher: mean 0.1, lowest 0
  const double h = std::pow(std::pow(0.5, 1.5) * 2.0, 2.0 / 3.0);
  NoGridSplit();
  EXPECT_NEAR(minLevel(6, 3), 0.1 + h, 1e-9);
  EXPECT_NEAR(minLevel(6, 2), 0.1 + 0.6 * h, 1e-9);
  FlagNoGridSplit = 10;
  NoGridSplit();
  EXPECT_NEAR(minLevel(6, 3), 0.05 + h, 1e-9);
}

// The uncalled Froude level per section: the lowest bottom face plus the
// critical depth of the larger of the section's flux and 0.9 of group 1's.
TEST_F(MinimumLevels, FroudeLevelFromTheFluxes) {
  channelWith(1);
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 1000.0;  // 36 m3/s through each section
  FroudeSplit = 1.0;
  DischargeArray[1] = 10000.0;
  computeMinwaterlevel3();
  forEachColumn([](int i, int j) { EXPECT_NEAR(minLevel(i, j), std::cbrt(81.0 / 9.81), 1e-6) << i << " " << j; });
  DischargeArray[1] = 50000.0;  // 0.9 of it, 45 m3/s, is larger
  computeMinwaterlevel3();
  EXPECT_NEAR(minLevel(4, 2), std::cbrt(11.25 * 11.25 / 9.81), 1e-6);
}

// Methods 24-35 on a column made single-celled: the critical depth of the
// water through its west face over its lower east corners; its east
// neighbour, with nine cells, only takes the level from its own north face.
TEST_F(MinimumLevels, CriticalDepthOfSingleCellColumns) {
  channelWith(24);
  const int c = bottomOf(6, 3);
  Ccellt[c] = 0;
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  Fflux[Cflatew[c]] = 0.3 * 1000.0 / 9.0;  // 0.3 m/s through 1/9 m2
  NoGridSplit();
  EXPECT_NEAR(minLevel(6, 3), 0.09 / 9.81, 1e-9);
  EXPECT_DOUBLE_EQ(minLevel(7, 3), 0.0);  // no flux north: its lower corners
  EXPECT_DOUBLE_EQ(minLevel(6, 4), -1000.0);
  EXPECT_DOUBLE_EQ(minLevel(5, 3), -1000.0);
  // A collapsed west face gives no level.
  Farea[Cflatew[c]] = 0.0;
  NoGridSplit();
  EXPECT_DOUBLE_EQ(minLevel(6, 3), -1000.0);
  EXPECT_DOUBLE_EQ(minLevel(7, 3), 0.0);
}

// Methods 36-47: a bottom cell whose pressure differs by 981 Pa from its
// neighbours (a slope of 0.01 over 2 x 0.5 m) is above D = 0.0075; it and
// the neighbours that see the same slope rise by min(D, 0.01 - D) = 0.0025,
// and their neighbours by half of it.
TEST_F(MinimumLevels, SlopeLimitedLevels) {
  channelWith(36);
  for (int m = 0; m <= NoCells; ++m) Cpres[m] = 0.0;
  Cpres[bottomOf(6, 3)] = 981.0;
  NoGridSplit();
  for (auto [i, j] : {std::pair{6, 3}, {5, 3}, {7, 3}, {6, 2}, {6, 4}}) EXPECT_NEAR(minLevel(i, j), 0.0025, 1e-12) << i << j;
  for (auto [i, j] : {std::pair{4, 3}, {8, 3}, {5, 2}, {6, 5}}) EXPECT_NEAR(minLevel(i, j), 0.00125, 1e-12) << i << j;
  EXPECT_DOUBLE_EQ(minLevel(3, 3), -1000.0);
}
