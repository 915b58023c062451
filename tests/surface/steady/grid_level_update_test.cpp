// The grid level update on the channel's 10 x 4 columns: the column values
// become point levels as the mean of the columns around each point, with the
// relaxation, the Froude damping, the Casulli form, the flushing limits and
// the checks; the downwind weights and the two lifts next to dry columns.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/steady/grid_level_update.h"
#include "surface/surface_fixture.h"
#include "support/run_case.h"

namespace {

class GridLevelUpdate : public SurfaceFixture {
 protected:
  void SetUp() override {
    SurfaceFixture::SetUp();
    channelAt(0.0);
    for (int i = 0; i <= 12; ++i) {
      for (int j = 0; j <= 6; ++j) {
        zval[i][j][znumber + 1] = zval[i][j][znumber];
        columns_[i][j] = zval[i][j][0];
        levels_[i][j] = zval[i][j][znumber];
      }
    }
    reset();
  }
  // The flat channel again (the tables are allocated once per process).
  void reset() {
    for (int i = 0; i <= 12; ++i) {
      for (int j = 0; j <= 6; ++j) {
        zval[i][j][0] = columns_[i][j];
        zval[i][j][znumber] = zval[i][j][znumber + 1] = levels_[i][j];
        Surfaces[4][i][j] = 0.0;
      }
    }
    for (int c = 0; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = 0.0;
    for (int b = 0; b <= NoBCells; ++b) BFroude[b] = 0.0;
    RelaxSurface = 1.0;
    scaleBackwater2 = 1.0;
  }
  double columns_[13][7], levels_[13][7];
  static int bottom(int i, int j) { return static_cast<int>(zval[i][j][0]); }
  static void setColumns(double value) {
    for (int c = 0; c <= NoCells; ++c) Cf[c] = Ccellb[c] == 0 ? value : 0.0;
  }
};

}  // namespace

// Edge cases of one update each, from a flat surface at 1 m with every
// column's value 0.1 unless a row says otherwise.
TEST_F(GridLevelUpdate, EdgeCases) {
  struct Row {
    const char *what;
    void (*prepare)();
    ColumnValue form;
    int i, j;
    double level;
  };
  const Row rows[] = {
      {"an interior point moves by the mean change", [] {}, ColumnValue::Change, 5, 3, 1.1},
      {"relaxed by RelaxSurface", [] { RelaxSurface = 0.5; }, ColumnValue::Change, 5, 3, 1.05},
      {"a scale of 0 leaves the levels", [] { scaleBackwater2 = 0.0; }, ColumnValue::Change, 5, 3, 1.0},
      {"the corner point has one column and takes it whole",
       [] { Cf[bottom(2, 2)] = 0.4; }, ColumnValue::Change, 1, 1, 1.4},
      {"a border point averages the two columns it finds",
       [] {
         Cf[bottom(2, 2)] = 0.1;
         Cf[bottom(2, 3)] = 0.3;
       },
       ColumnValue::Change, 1, 2, 1.2},
      {"a point with four dry columns stays",
       [] {
         for (auto [i, j] : {std::pair{5, 3}, {5, 4}, {6, 4}, {6, 3}}) zval[i][j][0] = 0.0;
       },
       ColumnValue::Change, 5, 3, 1.0},
      {"a lowering under Froude 0.9999 is damped to 1e-4",
       [] {
         setColumns(-0.1);
         FlagFroudeDamp = 1;
         for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.9999;
       },
       ColumnValue::Change, 5, 3, 1.0 - 0.1 * 0.0001},
      {"a rise is never damped",
       [] {
         FlagFroudeDamp = 1;
         for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.9999;
       },
       ColumnValue::Change, 5, 3, 1.1},
      {"damping 2 below Froude 0.3 by 0.5 - F",
       [] {
         setColumns(-0.1);
         FlagFroudeDamp = 2;
         for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.3;
       },
       ColumnValue::Change, 5, 3, 1.0 - 0.1 * 0.2},
      {"levels with relaxCasulli 0 take the column mean", [] { setColumns(1.3); }, ColumnValue::Level, 5, 3, 1.3},
      {"levels with relaxCasulli 1 stay",
       [] {
         setColumns(1.3);
         relaxCasulli = 1.0;
       },
       ColumnValue::Level, 5, 3, 1.0},
      {"flushing limits clamp block 1",
       [] {
         FlagFlushWaterLevel = 1;
         FlushWaterLevelMin = 0.5;
         FlushWaterLevelMax = 1.05;
       },
       ColumnValue::Change, 5, 3, 1.05},
      // Levels summing to the column heights below the top cells within
      // 0.1 %: nothing moves, not even by the flushing limits.
      {"settled levels return early",
       [] {
         setColumns(8.0 / 9.0);
         FlagFlushWaterLevel = 1;
         FlushWaterLevelMin = 1.2;
         FlushWaterLevelMax = 2.0;
       },
       ColumnValue::Level, 5, 3, 1.0},
      {"level exactly 10000 passes the check",
       [] {
         FlagBugFind = 1;
         setColumns(9999.0);
       },
       ColumnValue::Change, 5, 3, 10000.0},
  };
  for (const Row &row : rows) {
    reset();
    FlagFroudeDamp = 0;
    FlagFlushWaterLevel = 0;
    FlagBugFind = 0;
    relaxCasulli = 0.0;
    setColumns(0.1);
    row.prepare();
    const double before = zval[row.i][row.j][znumber];
    const double plane = Surfaces[4][row.i][row.j];
    surfaceUpdate(row.form);
    EXPECT_NEAR(zval[row.i][row.j][znumber], row.level, 1e-12) << row.what;
    if (!FlagFlushWaterLevel) { EXPECT_EQ(zval[row.i][row.j][znumber + 1], zval[row.i][row.j][znumber]) << row.what; }
    if (zval[row.i][row.j][znumber] == before) {
      EXPECT_EQ(Surfaces[4][row.i][row.j], plane) << row.what;
    } else if (!FlagFlushWaterLevel) {
      EXPECT_NEAR(Surfaces[4][row.i][row.j], row.level - before, 1e-12) << row.what;
    }
  }
}

TEST_F(GridLevelUpdate, LevelOutOfRangeWritesFilesAndStops) {
  FlagBugFind = 1;
  setColumns(9999.001);
  EXPECT_EXIT(surfaceUpdate(ColumnValue::Change), ::testing::ExitedWithCode(255), "");
  EXPECT_TRUE(endsWith(boogie(), "surfaceUpdate: Bug found for z values in grid: (1,1), Iter = 0\n"
                                 "Z levels: 0.000000 10000.001000\n"))
      << boogie();
  EXPECT_NE(readFile("alldata.0"), "");
  EXPECT_NE(readFile("ParaView3U.vtk"), "");
}

TEST_F(GridLevelUpdate, ColumnSumThatIsNotANumberStops) {
  setColumns(0.1);
  Cf[bottom(5, 3)] = std::numeric_limits<double>::quiet_NaN();
  Cpres[bottom(5, 3)] = 7.0;
  const int a = bottom(4, 2), b = bottom(4, 3), c = bottom(5, 3), d = bottom(5, 2);
  EXPECT_EXIT(surfaceUpdate(ColumnValue::Change), ::testing::ExitedWithCode(157), "");
  char expected[300];
  std::snprintf(expected, sizeof expected,
                "Error in surface update. index = 4, pres = nan\n"
                "Location i=4, j=2, zval[0] = %d, %d, %d, %d\n"
                "Cpres[i1-4] = 0.000000 0.000000 7.000000 0.000000\n",
                a, d, c, b);
  EXPECT_TRUE(endsWith(boogie(), expected)) << boogie();
}

// Each column weighs by how far its bottom-cell flow points at the point:
// with u = 1 the two columns west of point (5, 3) weigh 0.5 each, the two
// east of it 1e-10.
TEST_F(GridLevelUpdate, DownwindWeights) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1.0;
  setColumns(1.0);
  Cf[bottom(5, 3)] = Cf[bottom(5, 4)] = 0.2;
  surfaceUpdateDownwind();
  EXPECT_NEAR(zval[5][3][znumber], 1.2, 1e-9);
  EXPECT_EQ(zval[5][3][znumber + 1], zval[5][3][znumber]);
  // Still water: every column weighs 1e-10, the plain mean.
  reset();
  setColumns(1.0);
  Cf[bottom(5, 3)] = Cf[bottom(5, 4)] = 0.2;
  surfaceUpdateDownwind();
  EXPECT_NEAR(zval[5][3][znumber], 1.6, 1e-9);
}

// Mode 1: column (5, 3) flows east into a dry column (6, 3). Its top cell
// (1/9 m high, 0.5 m half length) asks for the level 1 - L / A with
// A = ((1/9)^(2/3) 50 / 1)^2 = 133.54; K = 0.25 x 1 / 0.5 = 0.5 moves the
// east points half way up from 0.9.
TEST_F(GridLevelUpdate, PreventDivergenceLiftsTheOutflowSide) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1.0;
  zval[6][3][0] = 0.0;
  zval[5][2][znumber] = zval[5][3][znumber] = 0.9;
  zval[4][3][znumber] = 0.9;  // a west point stays: no dry column there
  TimeStep = 0.25;
  ManningInit = 50.0;
  FlagPreventDiv = 1;
  surfacePreventDiv();
  const double A = std::pow(std::pow(1.0 / 9.0, 0.666667) * 50.0 + 1e-20, 2.0);
  const double target = 1.0 - 0.5 / A;
  EXPECT_NEAR(zval[5][3][znumber], 0.9 + 0.5 * (target - 0.9), 1e-9);
  EXPECT_NEAR(zval[5][2][znumber], 0.9 + 0.5 * (target - 0.9), 1e-9);
  EXPECT_EQ(zval[5][3][znumber + 1], zval[5][3][znumber]);
  EXPECT_EQ(zval[4][3][znumber], 0.9);
  // Never a lowering: points above the target stay.
  EXPECT_EQ(zval[5][4][znumber], 1.0);
  // Mode 2: a fast column (Froude 0.5) flowing north between two dry
  // columns, shallower than the minimum depth of 2 m: its four corners
  // rise by 2 - 1 + 1e-5.
  reset();
  for (int c = 1; c <= NoCells; ++c) Cyvel[c] = 1.0;
  zval[5][4][0] = zval[5][2][0] = 0.0;
  BFroude[Cbed[bottom(5, 3)]] = 0.5;
  MinVertDist0 = 2.0;
  FlagPreventDiv = 2;
  surfacePreventDiv();
  for (auto [i, j] : {std::pair{5, 3}, {4, 3}, {4, 2}, {5, 2}}) {
    EXPECT_NEAR(zval[i][j][znumber], 2.00001, 1e-12) << i << " " << j;
  }
  EXPECT_EQ(zval[6][3][znumber], 1.0);
}
