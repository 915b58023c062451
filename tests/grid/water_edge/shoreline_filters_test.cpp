// The shoreline filters of the line and cell counts on hand-set maps of a
// block of columns 2..5 x 2..5 (grid lines 1..5): caps, opened and closed
// dry dams, deepened sides, removed shallow or newly wet columns.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "grid/count_maps.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

void setDepth(int i, int j, double depth) { zval[i][j][1] = zval[i][j][znumber] - depth; }

double depthOf(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

constexpr double kMin0 = 0.01, kMin1 = 0.1;

// Block 2..5 x 2..5 on 1 m squares, water 1 m deep everywhere, the default
// filters of F 159 off so that each case sees its own filter alone.
void shoreBlock() {
  flatGrid(0, 7, 0, 7, 1.0);
  addBlock(2, 5, 2, 5);
  MinVertDist0 = kMin0;
  MinVertDist1 = kMin1;
  FlagGridStab1 = FlagGridStab4 = 0;
}

const Map kWet5 = {"55555", "55555", "55555", "55555", "55555"};

// ---- line counts ----

struct LineCase {
  const char *name;
  std::function<void()> set;  // flags and depths
  Map lines, expected;        // lines 1..5
  std::function<void()> check = [] {};
  friend void PrintTo(const LineCase &c, std::ostream *os) { *os << c.name; }
};

class LineFilters : public GridFixture, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineFilters, ChangeTheCounts) {
  const LineCase &c = GetParam();
  allocate(8, 8, 11);
  shoreBlock();
  putMap(antlin, c.lines, 1, 1, 1);
  c.set();
  Grid1Stability(2, 5, 2, 5);
  EXPECT_EQ(takeMap(antlin, 1, 5, 1, 5, 1), c.expected) << show(takeMap(antlin, 1, 5, 1, 5, 1));
  c.check();
  for (int i = 2; i <= 5; ++i) {
    for (int j = 2; j <= 5; ++j) EXPECT_EQ(antmin[i][j], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Counts, LineFilters,
    ::testing::Values(
        // s = 4 + 10 = 14 gives 7; s = 2 + 3 = 5 gives 2; counts are never raised.
        LineCase{"F383TwoHalvesAgainstCornerMinimum", [] { FlagGridStab6 = 2; },
                 {"44444", "44444", "44444", "44:44", "44444"}, {"44444", "44444", "44444", "44744", "44444"}},
        LineCase{"F383TwoLowersThreeToTwo", [] { FlagGridStab6 = 2; },
                 {"22222", "22222", "22222", "22322", "22222"}, {"22222", "22222", "22222", "22222", "22222"}},
        // The columns around a line of 2 have m = 2: their other lines fall
        // to (2 + 9) / 2; the 2 itself is not raised.
        LineCase{"F383TwoNeverRaises", [] { FlagGridStab6 = 2; },
                 {"99999", "99999", "99999", "99299", "99999"}, {"99999", "99999", "95559", "95259", "99999"}},
        // Column (3, 3): its diagonal (2, 2)-(3, 3) is shallow, the other keeps one cell height.
        LineCase{"F383OneCapsTheOtherDiagonal",
                 [] {
                   FlagGridStab6 = 1;
                   setDepth(2, 2, 0.005);
                   setDepth(3, 3, 0.005);
                 },
                 kWet5, {"55555", "55555", "52555", "55255", "55555"}},
        // (3, 3) between two dry lines in j falls to 1, and so do (3, 5) and
        // (3, 1) beside a dry line and a line without count; (2, 3) falls
        // from 9 to its wet partner's 5, and to 1 only in the backward sweep.
        LineCase{"F508OneForward", [] { FlagGridStab9 = 1; },
                 {"55555", "55.55", ".9555", "55.55", "55555"}, {"55.55", "55.55", ".5.55", "55.55", "55.55"}},
        LineCase{"F508ThreeForwardAndBack", [] { FlagGridStab9 = 3; },
                 {"55555", "55.55", ".9555", "55.55", "55555"}, {"55.55", "55.55", "...55", "55.55", "55.55"}},
        // Beside a dry line a count is capped by its wet partner; mode 2 keeps
        // the boundary lines.
        LineCase{"F508OneCapsBoundaryLines", [] { FlagGridStab9 = 1; },
                 {"55555", "55555", "55555", "55555", "..53."}, {"55555", "55555", "55555", "55555", "..33."}},
        LineCase{"F508TwoOnlyInnerLines", [] { FlagGridStab9 = 2; },
                 {"55555", "55555", "55555", "55555", "..53."}, {"55555", "55555", "55555", "55555", "..53."}},
        LineCase{"F508FourWetsBesideFineLines", [] { FlagGridStab9 = 4; },
                 {"55555", "55555", "...55", "55555", "55555"}, {"55555", "55555", "..255", "55555", "55555"}},
        // The dry pair (3, 3)-(4, 3) between wet rows is opened and deepened.
        LineCase{"F159TwoOpensDryPair",
                 [] {
                   FlagGridStab2 = 2;
                   setDepth(3, 3, -0.2);
                   setDepth(4, 3, 0.0);
                 },
                 {"55555", "55555", "55..5", "55555", "55555"}, {"55555", "55555", "55225", "55555", "55555"},
                 [] {
                   EXPECT_NEAR(depthOf(3, 3), kMin0 + 1e-6, 1e-12);
                   EXPECT_NEAR(depthOf(4, 3), kMin0 + 1e-6, 1e-12);
                   EXPECT_NEAR(depthOf(2, 3), 1.0, 1e-12);
                 }},
        LineCase{"F159TwoNeedsAllFourBesideWet", [] { FlagGridStab2 = 2; },
                 {"55555", "55555", "55..5", "55.55", "55555"}, {"55555", "55555", "55..5", "55.55", "55555"}},
        LineCase{"F159FourteenNeedsOneEachSide", [] { FlagGridStab2 = 14; },
                 {"55555", "55555", "55..5", "55.55", "55555"}, {"55555", "55555", "55225", "55.55", "55555"}},
        LineCase{"F159TwelveNeedsDryEnds", [] { FlagGridStab2 = 12; },
                 {"55555", "55555", "55..5", "55555", "55555"}, {"55555", "55555", "55..5", "55555", "55555"}},
        LineCase{"F159TwelveOpensWithinADryRow", [] { FlagGridStab2 = 12; },
                 {"55555", "55555", "5....", "55555", "55555"}, {"55555", "55555", "5.22.", "55555", "55555"}},
        // Two lines across the waterline, nearly level with it, are closed.
        LineCase{"F159ThreeClosesAcrossWaterline",
                 [] {
                   FlagGridStab2 = 3;
                   setDepth(3, 3, 0.0001);
                   setDepth(4, 3, -0.0002);
                 },
                 kWet5, {"55555", "55555", "55..5", "55555", "55555"}},
        LineCase{"F159FourthTwoBoundaryFollowsInside", [] { FlagGridStab4 = 2; },
                 {"22222", "23452", "23452", "23452", "22222"}, {"23455", "33455", "33455", "33455", "23455"}},
        // Column (3, 3) was wet and now lies above the water on average.
        LineCase{"F64Method114ThinsDryingColumn",
                 [] {
                   UMethod = 114;
                   pointcell_old[3][3] = 7;
                   for (const auto &[i, j] : {std::pair{2, 2}, {3, 2}, {3, 3}, {2, 3}}) setDepth(i, j, -0.1);
                 },
                 kWet5, {"55555", "55555", "52255", "52255", "55555"}}));

// ---- cell counts ----

struct CellCase {
  const char *name;
  std::function<void()> set;  // flags, depths, previous cells
  Map cells, kept;            // columns 2..5
  std::function<void()> check = [] {};
  Map lines = kWet5;
  friend void PrintTo(const CellCase &c, std::ostream *os) { *os << c.name; }
};

class CellFilters : public GridFixture, public ::testing::WithParamInterface<CellCase> {};

TEST_P(CellFilters, RemoveOrRepair) {
  const CellCase &c = GetParam();
  allocate(8, 8, 11);
  shoreBlock();
  putMap(antlin, c.lines, 1, 1, 1);
  putMap(ant, c.cells, 2, 2, 0);
  c.set();
  Grid2Stability(2, 5, 2, 5);
  EXPECT_EQ(takeMap(ant, 2, 5, 2, 5, 0), c.kept) << show(takeMap(ant, 2, 5, 2, 5, 0));
  c.check();
}

const Map kFull = {"4444", "4444", "4444", "4444"};
const Map kNoCentre = {"4444", "4444", "4.44", "4444"};  // column (3, 3) removed

void shallowColumn33(double depth) {
  for (const auto &[i, j] : {std::pair{2, 2}, {3, 2}, {3, 3}, {2, 3}}) setDepth(i, j, depth);
}

void everyColumnWasWet() {
  for (int i = 1; i <= 6; ++i) {
    for (int j = 1; j <= 6; ++j) pointcell_old[i][j] = 1;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, CellFilters,
    ::testing::Values(
        CellCase{"F64Method111DrySum",
                 [] {
                   UMethod = 111;
                   shallowColumn33(-0.01);
                 },
                 kFull, kNoCentre},
        CellCase{"F380OneDryDiagonal",
                 [] {
                   FlagGridStab7 = 1;
                   setDepth(2, 2, -0.1);
                   setDepth(3, 3, -0.1);
                 },
                 kFull, kNoCentre},
        // r = 3 x 0.0333.. = 0.1 m: 0.02 / 0.1 is below 0.4.
        CellCase{"F380TwoFromTheSecondIteration",
                 [] {
                   FlagGridStab7 = 2;
                   Iter = 2;
                   gsize[lnumber] = 0.1 / 3.0;
                   shallowColumn33(0.005);
                 },
                 kFull, kNoCentre},
        CellCase{"F380TwoNotOnTheFirst",
                 [] {
                   FlagGridStab7 = 2;
                   Iter = 1;
                   gsize[lnumber] = 0.1 / 3.0;
                   shallowColumn33(0.005);
                 },
                 kFull, kFull},
        // Roughness and grain size both 0: no scale, the column is skipped.
        CellCase{"F380TwoWithoutRoughnessSkips",
                 [] {
                   FlagGridStab7 = 2;
                   Iter = 2;
                   gsize[lnumber] = 0.0;
                   shallowColumn33(0.005);
                 },
                 kFull, kFull},
        CellCase{"F380ThreeEveryIteration",
                 [] {
                   FlagGridStab7 = 3;
                   gsize[lnumber] = 0.1 / 3.0;
                   shallowColumn33(0.005);
                 },
                 kFull, kNoCentre},
        CellCase{"F380FourMeanBelowMin0",
                 [] {
                   FlagGridStab7 = 4;
                   shallowColumn33(0.005);
                 },
                 kFull, kNoCentre},
        CellCase{"F380SevenMeanBelowZero",
                 [] {
                   FlagGridStab7 = 7;
                   shallowColumn33(0.005);
                 },
                 kFull, kFull},
        CellCase{"F380EightPositiveMeanBelowMin0",
                 [] {
                   FlagGridStab7 = 8;
                   shallowColumn33(-0.1);
                   setDepth(3, 3, 0.03);
                 },
                 kFull, kNoCentre},
        // Column (3, 3) is newly wet: its corners take the level of the
        // deepest one, within 2 % of the diagonal.
        CellCase{"F380FiveLevelsNewColumn",
                 [] {
                   FlagGridStab7 = 5;
                   everyColumnWasWet();
                   pointcell_old[3][3] = 0;
                   zval[2][2][znumber] = 1.5;
                 },
                 kFull, kFull,
                 [] {
                   const double low = 1.5 - 0.02 * std::sqrt(2.0);
                   EXPECT_NEAR(zval[3][2][znumber], low, 1e-12);
                   EXPECT_NEAR(zval[3][3][znumber], low, 1e-12);
                   EXPECT_NEAR(zval[2][3][znumber], low, 1e-12);
                   EXPECT_EQ(zval[2][2][znumber], 1.5);
                   EXPECT_EQ(zval[4][4][znumber], 1.0);
                 }},
        CellCase{"F380SixRaisesTheDeepCorner",
                 [] {
                   FlagGridStab7 = 6;
                   setDepth(2, 2, 0.005);
                   setDepth(3, 2, 0.005);
                   setDepth(3, 3, 0.005);
                 },
                 kFull, kFull, [] { EXPECT_NEAR(zval[2][3][1], 1.0 - kMin0, 1e-12); }},
        // Column (2, 3) has three dry corners and an empty west neighbour
        // beyond its dry west side.
        CellCase{"F159FourthFiveDrySide", [] { FlagGridStab4 = 5; }, {"....", "1...", "11..", "...."},
                 {"....", "....", "11..", "...."}, [] {},
                 {"55555", ".5555", "..555", "55555", "55555"}},
        CellCase{"F159SecondOneDeepensShallowSide",
                 [] {
                   FlagGridStab2 = 1;
                   setDepth(2, 2, 0.003);
                   setDepth(2, 3, 0.003);
                 },
                 kFull, kFull,
                 [] {
                   // The side between (2, 3) and (3, 3), lines (2, 2) and (2, 3).
                   EXPECT_NEAR(depthOf(2, 2), 0.8 * kMin0, 1e-12);
                   EXPECT_NEAR(depthOf(2, 3), 0.8 * kMin0, 1e-12);
                 }},
        CellCase{"F159SecondFourDeepensMore",
                 [] {
                   FlagGridStab2 = 4;
                   setDepth(2, 2, 0.01);
                   setDepth(2, 3, 0.01);
                 },
                 kFull, kFull, [] { EXPECT_NEAR(depthOf(2, 2), 2.0 * kMin0, 1e-12); }},
        CellCase{"F159SecondSevenToMin1",
                 [] {
                   FlagGridStab2 = 7;
                   setDepth(2, 2, 0.04);
                   setDepth(2, 3, 0.04);
                 },
                 kFull, kFull, [] { EXPECT_NEAR(depthOf(2, 3), kMin1, 1e-12); }},
        // e = 0.005 below t = Min0: both lines of the side go to Min0.
        CellCase{"F159SecondFiveToMin0",
                 [] {
                   FlagGridStab2 = 5;
                   setDepth(2, 2, 0.005);
                   setDepth(2, 3, 0.005);
                 },
                 kFull, kFull, [] { EXPECT_NEAR(depthOf(2, 2), kMin0, 1e-12); }},
        // With 6 a quarter of each column's mean depth counts: the side
        // between (2, 3) and (3, 3) (e = 0.1) needs 0.0625 x 8.2 m; with 5
        // only single-cell columns count, and e is above MinVertDist0.
        CellCase{"F159SecondSixFromColumnDepth",
                 [] {
                   FlagGridStab2 = 6;
                   for (int i = 1; i <= 5; ++i) {
                     for (int j = 1; j <= 5; ++j) setDepth(i, j, 4.0);
                   }
                   setDepth(2, 2, 0.1);
                   setDepth(2, 3, 0.1);
                 },
                 kFull, kFull,
                 [] {
                   EXPECT_NEAR(depthOf(2, 2), 0.5125, 1e-12);
                   EXPECT_NEAR(depthOf(2, 3), 0.5125, 1e-12);
                 }},
        CellCase{"F159SecondFiveOnlySingleCells",
                 [] {
                   FlagGridStab2 = 5;
                   for (int i = 1; i <= 5; ++i) {
                     for (int j = 1; j <= 5; ++j) setDepth(i, j, 4.0);
                   }
                   setDepth(2, 2, 0.1);
                   setDepth(2, 3, 0.1);
                 },
                 kFull, kFull, [] { EXPECT_NEAR(depthOf(2, 2), 0.1, 1e-12); }},
        // With 8 only lines of more than one level are lowered.
        CellCase{"F159SecondEightSkipsDryLines",
                 [] {
                   FlagGridStab2 = 8;
                   setDepth(2, 2, 0.02);
                   setDepth(2, 3, 0.02);
                   antlin[2][3] = 1;
                 },
                 kFull, kFull,
                 [] {
                   EXPECT_NEAR(depthOf(2, 2), kMin1, 1e-12);
                   EXPECT_NEAR(depthOf(2, 3), 0.02, 1e-12);
                 }},
        CellCase{"F159FifthOneDeepensWetCorners",
                 [] {
                   FlagGridStab5 = 1;
                   setDepth(3, 3, 0.02);
                   setDepth(4, 4, 0.02);
                 },
                 {"....", "....", ".4..", "...."}, {"....", "....", ".4..", "...."},
                 [] {
                   EXPECT_NEAR(depthOf(3, 3), kMin1, 1e-12);
                   EXPECT_NEAR(depthOf(4, 4), 0.02, 1e-12);  // not a corner of a wet column
                 }},
        // Column (3, 3) pokes into dry land with its fine corner (3, 3).
        CellCase{"F391OneCellAtAPokingCorner", [] { FlagGridStab8 = 1; }, {"....", "....", ".3..", ".4.."},
                 {"....", "....", ".1..", ".4.."},
                 [] { EXPECT_EQ(antlin[3][3], 2); },
                 {"11111", "11111", "11411", "22222", "22222"}},
        // Only column (3, 2) touches a column that was wet before.
        CellCase{"F430GrowsOneColumnPerGeneration",
                 [] {
                   FlagLimitExpansion = 1;
                   pointcell_old[3][1] = 1;
                 },
                 kFull, {"4444", "4..4", "4..4", "4444"}},
        CellCase{"F529RemovesShallowNewColumns",
                 [] {
                   FlagGridStab11 = 1;
                   MinVertDist2 = 0.5;
                   everyColumnWasWet();
                   pointcell_old[3][3] = pointcell_old[4][4] = 0;
                   shallowColumn33(0.2);
                 },
                 kFull, kNoCentre}));

}  // namespace
