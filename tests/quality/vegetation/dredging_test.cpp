// Dredging and feeding against hand values: the window parts of a step, each
// row of the feeding table on one column of the channel case, the mixing of
// fed sediment into the layers, and the cut leaving the layers at once.
#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "quality/vegetation/dredging.h"
#include "startup/control_reader.h"

namespace {

struct WindowCase {
  const char *name;
  double t0, t1, applied, t, dt;
  bool acts;
  double fraction, feed, cut;
};

// Steps inside the window, ending on its end, before and after it, and a
// window wholly inside one step.
TEST(DredgingWindow, PartsOfOneStep) {
  const WindowCase rows[] = {
      {"first step", 0, 50, 0.0, 10, 10, true, 0.2, 0.2, 0.2},
      {"inside", 0, 50, 0.2, 20, 10, true, 0.4, 0.2, 0.4},
      {"ends one step before T1", 0, 50, 0.6, 40, 10, true, 1.0, 0.4, 1.0},
      {"finished", 0, 50, 1.0, 50, 10, false, 0, 0, 0},
      {"before T0", 100, 150, 0.0, 90, 10, false, 0, 0, 0},
      {"on T0", 100, 150, 0.0, 100, 10, false, 0, 0, 0},
      {"window inside one step", 12, 17, 0.0, 20, 10, true, 1.0, 1.0, 1.0},
      {"empty window inside one step", 15, 15, 0.0, 20, 10, true, 1.0, 1.0, 1.0},
      {"window before the step", 0, 5, 0.0, 20, 10, false, 0, 0, 0},
      {"run starting inside", 0, 100, 0.0, 30, 10, true, 0.3, 0.3, 0.3},
  };
  for (const WindowCase &c : rows) {
    SCOPED_TRACE(c.name);
    const WindowStep s = windowStep(c.t0, c.t1, c.applied, c.t, c.dt);
    EXPECT_EQ(s.acts, c.acts);
    if (!c.acts) continue;
    EXPECT_NEAR(s.fraction, c.fraction, 1e-15);
    EXPECT_NEAR(s.feed, c.feed, 1e-15);
    EXPECT_NEAR(s.cut, c.cut, 1e-15);
  }
}

// Over uneven steps the fed parts add to 1 and the cut of the last step
// takes the rest; every part lies in 0..1.
TEST(DredgingWindow, FedPartsAddToOne) {
  for (const double dt : {0.7, 1.0, 2.5, 13.0}) {
    SCOPED_TRACE(dt);
    double applied = 0.0, fed = 0.0;
    int steps = 0, last = 0;
    for (double t = dt; t < 30.0; t += dt) {
      const WindowStep s = windowStep(1.3, 7.9, applied, t, dt);
      if (!s.acts) continue;
      ++steps;
      EXPECT_GE(s.feed, 0.0);
      EXPECT_GE(s.cut, 0.0);
      EXPECT_LE(s.cut, 1.0);
      if (s.cut == 1.0) ++last;
      fed += s.feed;
      applied = s.fraction;
    }
    EXPECT_GE(steps, 1);
    EXPECT_EQ(last, 1);
    EXPECT_NEAR(fed, 1.0, 1e-12);
  }
}

// The channel case (columns of 1 m2, bed 0, water 1 m) with the data sets
// given; column (4, 3) is the one fed or cut, its corners (3..4, 2..3).
class DredgingColumn : public GridFixture {
 protected:
  void channel(const std::string &control) {
    SetArraysZero();
    kreadDefaults();
    readCaseGrid("channel", control);
    if (::testing::Test::HasFatalFailure()) return;
    Unstructure();
    metric();
    BedMake();
    b_ = pointbed[4][3];
    ASSERT_GT(b_, 0);
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[0][i][j] = zval[i][j][1];
    for (int l = 0; l < 50; ++l) kIn[l] = 0.0;
    // Two layers: 1 m beneath, the active 0.1 m on top, of size 1 alone.
    for (int b = 1; b <= NoBCells; ++b) {
      Bedmove[b] = 0.0;
      BlayerTop[b] = 1;
      BSedDistrib[0][0][b] = 1.0;
      BSedDistrib[1][0][b] = 0.1;
      BSedDistrib[0][1][b] = BSedDistrib[1][1][b] = 1.0;
      if (Bsolidfraction) Bsolidfraction[0][b] = Bsolidfraction[1][b] = 0.5;
    }
    stimet = 30.0;
    TimeStep = 10.0;
  }
  int b_ = 0;
};

// "D" records giving the thickness h at the four corners of column (4, 3).
std::string cornerThickness(double h) {
  std::string text;
  for (const char *corner : {"3 2", "4 2", "3 3", "4 3"})
    text += std::string("D ") + corner + " 0 0 " + std::to_string(h) + "\n";
  return text;
}

struct FeedCase {
  const char *name;
  std::string control;  // F 386 and F 37
  std::string bagger;
  double raise;         // of the bed above its start level at the column's corners
  double bedmove;       // thickness fed to the column, m
  double volume;        // fed to every column, m3
  enum Target { Layers, BedSource, BedChange, TopCell } target;
  friend void PrintTo(const FeedCase &c, std::ostream *os) { *os << c.name; }
};

class DredgingFeeding : public DredgingColumn, public ::testing::WithParamInterface<FeedCase> {};

// Step (20, 30] of the window (0, 100): f = 0.3. The level control of
// F 386 3 lets a column be fed while its bed has risen by at most 0.3 h.
TEST_P(DredgingFeeding, RowOfTheModeTable) {
  const FeedCase &c = GetParam();
  writeFile("bagger", "T 0 100\nF 1.0\n" + c.bagger);
  channel(c.control + "N 0 1 1.0\n");
  ASSERT_FALSE(HasFatalFailure());
  for (const auto &[i, j] : {std::pair{3, 2}, {4, 2}, {3, 3}, {4, 3}}) zval[i][j][1] += c.raise;
  const double area = Barea[b_], a = c.bedmove;
  int top = Bcellt[b_];
  while (Ccellt[top] > 0) top = Ccellt[top];
  const double source = c.target == FeedCase::BedSource ? Bsource[1][b_] : 0.0;
  const double topSource = c.target == FeedCase::TopCell ? Csource[top] : 0.0;
  bagger();
  EXPECT_NEAR(Bedmove[b_], a, 1e-12);
  const double flux = a * area * SolidFrac * 1000.0 / TimeStep;
  // Every column has 1 m2: the inflow mass counts all that was fed.
  const double mass = c.volume * density * 1000.0 * SolidFrac;
  switch (c.target) {
    case FeedCase::Layers:
      EXPECT_NEAR(BSedDistrib[0][0][b_], 1.0 + a, 1e-12);
      EXPECT_NEAR(BSedDistrib[1][0][b_], 0.1, 1e-15);
      EXPECT_EQ(kIn[1], 0.0);
      break;
    case FeedCase::BedSource:
      EXPECT_NEAR(Bsource[1][b_], source - flux, 1e-9);
      EXPECT_NEAR(kIn[1], mass, 1e-9);
      break;
    case FeedCase::BedChange:
      EXPECT_NEAR(Bbedchange[1][b_], a, 1e-12);
      EXPECT_NEAR(kIn[1], mass, 1e-9);
      break;
    case FeedCase::TopCell:
      EXPECT_NEAR(Csource[top], topSource + flux, 1e-9);
      EXPECT_NEAR(kIn[1], mass, 1e-9);
      break;
  }
  char line[64];
  std::snprintf(line, sizeof line, "30.000000, %lf\n", c.volume);
  EXPECT_TRUE(readFile("bag_res").ends_with(line)) << readFile("bag_res");
}

const std::string kZArea = "N 4 4 3 3\nZ 0.2\n";
// 0.4 m at the corners of column (4, 3): its four side neighbours share two
// corners (0.2 m), the four diagonal ones one (0.1 m); 1.6 m in all, 0.48 m
// fed in the step. 0.04 m makes every column's thickness count as 0.
const std::string kD = cornerThickness(0.4), kSmallD = cornerThickness(0.04);
constexpr double kDVolume = 0.48;

INSTANTIATE_TEST_SUITE_P(
    Modes, DredgingFeeding,
    ::testing::Values(
        FeedCase{"Z_layers", "F 386 1 1\nF 37 2\n", kZArea, 0.0, 0.06, 0.06, FeedCase::Layers},
        FeedCase{"D_layers", "F 386 1 1\nF 37 2\n", kD, 0.0, 0.12, kDVolume, FeedCase::Layers},
        FeedCase{"D_below_5cm_counts_0", "F 386 1 1\nF 37 2\n", kSmallD, 0.0, 0.0, 0.0, FeedCase::Layers},
        FeedCase{"D_bed_source", "F 386 2 1\nF 37 2\n", kD, 0.0, 0.12, kDVolume, FeedCase::BedSource},
        FeedCase{"D_level_control_open", "F 386 3 1\nF 37 2\n", kD, 0.1, 0.12, kDVolume, FeedCase::BedSource},
        FeedCase{"D_level_control_shut", "F 386 3 1\nF 37 2\n", kD, 0.13, 0.0, 0.0, FeedCase::BedSource},
        FeedCase{"Z_bed_change", "F 386 2 1\nF 37 3\nF 255 5\n", kZArea, 0.0, 0.06, 0.06, FeedCase::BedChange},
        FeedCase{"D_bed_change", "F 386 2 1\nF 37 3\nF 255 5\n", kD, 0.0, 0.12, kDVolume, FeedCase::BedChange},
        FeedCase{"D_bed_change_below_5cm", "F 386 2 1\nF 37 3\nF 255 5\n", kSmallD, 0.0, 0.0, 0.0,
                 FeedCase::BedChange},
        FeedCase{"D_level_control_bed_change", "F 386 3 1\nF 37 3\nF 255 5\n", kD, 0.1, 0.12, kDVolume,
                 FeedCase::BedChange},
        // 0.03 m counts under the layered level control: the column gets
        // 0.009 m, its side neighbours (h 0.015 m) 0.0045 m each, the diagonal
        // ones (h 0.0075 m, below 1 cm) nothing.
        FeedCase{"D_level_control_1cm", "F 386 3 1\nF 37 3\nF 255 5\n", cornerThickness(0.03), 0.0, 0.009, 0.027,
                 FeedCase::BedChange},
        FeedCase{"D_top_cell", "F 386 4 1\nF 37 2\n", kD, 0.0, 0.12, kDVolume, FeedCase::TopCell},
        FeedCase{"D_top_cell_below_5cm", "F 386 4 1\nF 37 2\n", kSmallD, 0.0, 0.0, 0.0, FeedCase::TopCell}),
    [](const ::testing::TestParamInfo<FeedCase> &info) { return std::string(info.param.name); });

// The level control of the layered bed allows no rise at all in the first
// step, and counts thicknesses below 1 cm as 0.
TEST_F(DredgingColumn, LevelControlOfTheFirstStep) {
  writeFile("bagger", "T 25 100\nF 1.0\n" + cornerThickness(0.2));
  channel("F 386 3 1\nF 37 3\nF 255 5\nN 0 1 1.0\n");
  ASSERT_FALSE(HasFatalFailure());
  for (const auto &[i, j] : {std::pair{3, 2}, {4, 2}, {3, 3}, {4, 3}}) zval[i][j][1] += 1e-6;
  bagger();
  EXPECT_EQ(Bbedchange[1][b_], 0.0);
  for (const auto &[i, j] : {std::pair{3, 2}, {4, 2}, {3, 3}, {4, 3}}) zval[i][j][1] -= 1e-6;
  stimet = 40.0;
  bagger();
  EXPECT_NEAR(Bbedchange[1][b_], 0.2 * 10.0 / 75.0, 1e-12);  // F went from 5/75 to 15/75
}

// Fed fractions that leave the top layer's sum away from 1 are reported,
// for a Z feeding by its column, for D with the top layer's thickness. A
// feed thinner than the top layer (0.06 of 0.1 m) passes a slice of the top
// down and mixes into the top; a thicker one (0.12 m) passes the whole top
// and the rest down, and the top takes the fed fractions.
TEST_F(DredgingColumn, MixingReportsAWrongSum) {
  const struct {
    const std::string *bagger;
    double top, below;
    const char *line;
  } rows[] = {
      {&kZArea, 0.4, 1.0, "Error in bagger algorithm: sum = 0.400000 for i=4, j=3\n"},
      {&kD, 0.0, 1.1 / 1.12, "Error in bagger algorithm: sum = 0.000000 for i=4, j=3, TopLayer = 0.100000 m\n"},
  };
  for (const auto &row : rows) {
    SCOPED_TRACE(row.line);
    writeFile("boogie", "");
    writeFile("bagger", "T 0 100\nF 0.0\n" + *row.bagger);
    channel("F 386 1 1\nF 37 2\nN 0 1 1.0\n");
    ASSERT_FALSE(HasFatalFailure());
    bagger();
    EXPECT_NEAR(BSedDistrib[1][1][b_], row.top, 1e-12);
    EXPECT_NEAR(BSedDistrib[0][1][b_], row.below, 1e-12);
    EXPECT_NE(boogie().find(row.line), std::string::npos) << boogie();
  }
}

// A cut leaves the layers at the call and reaches Bedmove just before the bed
// change; a deposit in the column meanwhile is cut later on. Two layers lose
// the inactive one first; the layered bed loses its top metres through the
// layer operations and keeps the step's own bed change.
TEST_F(DredgingColumn, CutLeavesTheLayersAtTheCall) {
  for (const int tsc : {2, 3}) {
    SCOPED_TRACE(tsc);
    writeFile("bagger", "T 0 40\nN 3 4 2 3\nK 3 2 0 0 -1.25\nK 4 2 0 0 -1.25\nK 3 3 0 0 -1.25\nK 4 3 0 0 -1.25\n");
    channel("F 386 1 1\nF 37 " + std::to_string(tsc) + (tsc == 3 ? "\nF 255 5\n" : "\n") + "N 0 1 1.0\n");
    ASSERT_FALSE(HasFatalFailure());
    stimet = 10.0;
    if (tsc == 3) Bbedchange[1][b_] = 0.123;
    bagger();  // w = 0.25 of the 1.25 m above the level
    EXPECT_EQ(Bedmove[b_], 0.0);
    EXPECT_NEAR(BSedDistrib[0][0][b_] + BSedDistrib[1][0][b_], 1.1 - 0.3125, 1e-12);
    if (tsc == 2) {
      EXPECT_NEAR(BSedDistrib[0][0][b_], 1.0 - 0.3125, 1e-12);
      EXPECT_NEAR(BSedDistrib[1][0][b_], 0.1, 1e-15);
    } else {
      EXPECT_EQ(Bbedchange[1][b_], 0.123);
    }
    EXPECT_TRUE(readFile("bag_res").ends_with("10.000000, -0.312500\n"));
    Bedmove[b_] = 0.1;  // the step's own deposit
    addDredgedCuts();
    EXPECT_NEAR(Bedmove[b_], 0.1 - 0.3125, 1e-12);
    EXPECT_NEAR(baggerRest[0][4][3], 1.25 - 0.3125 + 0.1, 1e-12);
    // A second pass adds nothing more.
    addDredgedCuts();
    EXPECT_NEAR(Bedmove[b_], 0.1 - 0.3125, 1e-12);
  }
}

// Where the bed already lies below the level the cut is 0: dredging never
// raises the bed.
TEST_F(DredgingColumn, BedBelowTheLevelStays) {
  writeFile("bagger", "T 0 10\nN 3 4 2 3\nK 3 2 0 0 0.5\nK 4 2 0 0 0.5\nK 3 3 0 0 0.5\nK 4 3 0 0 0.5\n");
  channel("F 386 1 1\nF 37 2\nN 0 1 1.0\n");
  ASSERT_FALSE(HasFatalFailure());
  stimet = 10.0;
  bagger();
  addDredgedCuts();
  EXPECT_EQ(Bedmove[b_], 0.0);
  EXPECT_EQ(BSedDistrib[0][0][b_], 1.0);
  EXPECT_TRUE(readFile("bag_res").ends_with("10.000000, 0.000000\n"));
}

}  // namespace
