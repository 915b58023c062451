// The mud layer on hand-built columns: where the velocity damping of F 289
// stops or slows the mud, the friction of the resting bottom cell, the
// hydrostatic column force, the yield ratio and flow state of the damping
// variants, and the surface change of the slide groups.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "support/work_folder.h"
#include "turbulence/box_cells.h"
#include "turbulence/mud_friction.h"
#include "turbulence/thixotropic_damping.h"

namespace {

// The boxes with the mud tables allocated (F 236 2).
class MudLayer : public BoxCells {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagThixo = 2;
    allocate(8, 4, 12, 400);
  }
};

// Block `b` over cells first..last and bed cells, with its layer mark.
void markBlock(int b, int first, int last, int firstBed, int lastBed, int mark) {
  NoBlocks = std::max(NoBlocks, b);
  block[b].FirstCell = first;
  block[b].LastCell = last;
  block[b].FirstBedCell = firstBed;
  block[b].LastBedCell = lastBed;
  block[b].LayerMark = mark;
}

// ---- velocity damping and wall friction ----------------------------------

// Three columns of two 1 m cells (centres 0.5 and 1.5 m), all flowing east;
// cells 1-2 column 0, 3-4 column 1, 5-6 column 2.
void mudColumns() {
  BoxCells::build(3, 2, 1.0, 1.0, 1.0);
  NoBlocks = 0;
  markBlock(1, 1, 6, 1, 3, 1);
  const double ratio[] = {0, 2.0, 0.5, -1.0, 1.2, 0.8, 1.0};
  const int state[] = {0, 2, 0, 1, 3, -1, 1};
  for (int c = 1; c <= 6; ++c) {
    Cthixorat[c] = ratio[c];
    Cthixolev[c] = state[c];
    Cxvel[c] = 1.0;
    Cyvel[c] = 2.0;
    Czvel[c] = 3.0;
  }
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 1.0;
  Bthixolev[1] = 1.0;
  Bthixolev[2] = 2.0;
  Bthixolev[3] = 0.0;
}

TEST_F(MudLayer, VelocityDampingRules) {
  struct Row {
    int rule;
    double factor[6];  // of cells 1..6
    const char *why;
  };
  const Row rows[] = {
      {1, {1, 0, 1, 1, 0, 1}, "state below 1"},
      {2, {1, 1, 0, 1, 1, 1}, "negative ratio"},
      {3, {1, 0, 0, 1, 0, 1}, "ratio below 1"},
      {4, {1, 0.5, 0, 1, 0.8, 1}, "min(R, 1), a negative ratio stops rather than reverses"},
      {5, {1, 0.0625, 0, 0.0625, 0, 1}, "f^4 with the western neighbour upstream, never reversed"},
      {6, {0, 1, 0, 0, 1, 1}, "centre below the mud level"},
      {7, {0, 1, 0, 1, 0, 1}, "bottom cells"},
      {0, {1, 1, 1, 1, 1, 1}, "off"},
      {8, {1, 1, 1, 1, 1, 1}, "no such rule"},
  };
  for (const Row &r : rows) {
    mudColumns();
    FlagThixoDampVel = r.rule;
    ThixoVelDamp();
    for (int c = 1; c <= 6; ++c) {
      EXPECT_DOUBLE_EQ(Cxvel[c], r.factor[c - 1]) << "F 289 fourth value " << r.rule << ", cell " << c << ": " << r.why;
      EXPECT_DOUBLE_EQ(Cyvel[c], 2.0 * r.factor[c - 1]) << "rule " << r.rule << ", cell " << c;
      EXPECT_DOUBLE_EQ(Czvel[c], 3.0 * r.factor[c - 1]) << "rule " << r.rule << ", cell " << c;
    }
  }
}

TEST_F(MudLayer, VelocityDampingTakesBlockOneFirst) {
  struct Row {
    int mark1, mark2;
    bool damped[6];
  };
  const Row rows[] = {{1, 1, {1, 1, 1, 0, 0, 0}}, {0, 2, {0, 0, 0, 1, 1, 1}}, {0, 0, {0, 0, 0, 0, 0, 0}}};
  for (const Row &r : rows) {
    mudColumns();
    markBlock(1, 1, 3, 1, 2, r.mark1);
    markBlock(2, 4, 6, 2, 3, r.mark2);
    FlagThixoDampVel = 7;  // every bottom cell, so only the block decides
    for (int c = 1; c <= 6; ++c) Ccellb[c] = 0;
    ThixoVelDamp();
    for (int c = 1; c <= 6; ++c) {
      EXPECT_EQ(Cxvel[c], r.damped[c - 1] ? 0.0 : 1.0) << "marks " << r.mark1 << " " << r.mark2 << ", cell " << c;
    }
  }
}

TEST_F(MudLayer, WallFrictionAboveTheRestingBottomCell) {
  struct Row {
    int cells;
    double gamma;
    int mark2;
    double added[6];  // Cap gained by cells 1..6
  };
  // 1 m2 bottom faces, half heights 0.5 m: gamma / 0.5 per cell above a bottom cell.
  const Row rows[] = {
      {2, 1000.0, 1, {0, 0, 0, 2000, 0, 2000}},  // the last block marked 1: columns 2 and 3
      {2, 1000.0, 2, {0, 2000, 0, 0, 0, 0}},     // a mark of 2 is not the slide layer
      {2, 0.0, 1, {0, 0, 0, 0, 0, 0}},
      {1, 1000.0, 1, {0, 0, 0, 0, 0, 0}},        // one-cell columns have no cell above
  };
  for (const Row &r : rows) {
    BoxCells::build(3, r.cells, 1.0, 1.0, 1.0);
    NoBlocks = 0;
    markBlock(1, 1, NoCells, 1, 1, 1);
    markBlock(2, 1, NoCells, 2, 3, r.mark2);
    ThixoMinGamma = r.gamma;
    for (int c = 1; c <= NoCells; ++c) Cap[c] = 1.0;
    wall_thixo();
    for (int c = 1; c <= NoCells; ++c) {
      EXPECT_DOUBLE_EQ(Cap[c], 1.0 + r.added[c - 1]) << "gamma " << r.gamma << ", mark " << r.mark2 << ", cell " << c;
    }
  }
}

// ---- hydrostatic force and the damping variants ---------------------------

TEST_F(MudLayer, HydrostaticForceAboveABase) {
  // One column of three 1 m cells; pressures 3000, 2000, 1000 Pa bottom up.
  BoxCells::build(1, 3, 1.0, 1.0, 1.0);
  Cpres[1] = 3000.0;
  Cpres[2] = 2000.0;
  Cpres[3] = 1000.0;
  struct Row {
    int cell;
    double base, force;
  };
  const Row rows[] = {
      {0, -5.0, 0.0},                      // no cell
      {3, -1.0, 6000.0},                   // every cell whole
      {3, 1.2, 1000.0 + 0.8 * 2000.0},     // the partial cell ends the sum
      {3, 2.0, 1000.0},                    // a bottom at the base is partial
      {3, 3.0, 0.0},                       // the top at the base
      {2, 0.0, 2000.0 + 3000.0},           // from the middle cell down
  };
  for (const Row &r : rows) {
    EXPECT_DOUBLE_EQ(computeAccHystatForce(r.cell, r.base), r.force) << "cell " << r.cell << ", base " << r.base;
  }
}

// Three columns of one cell of 2 x 1 x 1 m in a row along x, pressures given:
// every cell is top and bottom cell (dp 0, dz 1e-20), so the tilt term is
// the plain horizontal gradient, S = A dph / d x L with the halved side area
// A = 0.5 m2, and T = |S| / 2 m2.
TEST_F(MudLayer, OneCellColumnsFeelTheHorizontalGradient) {
  BoxCells::build(3, 1, 2.0, 1.0, 1.0);
  NoBlocks = 0;
  markBlock(1, 1, 3, 1, 3, 1);
  const double p[] = {0, 1000.0, 1400.0, 2200.0};
  for (int c = 1; c <= 3; ++c) {
    Cpres[c] = p[c];
    Cthixorat[c] = 0.0;
    Cthixolev[c] = 1;
  }
  ThixoCritshear = 10.0;
  ThixoMySlope = 0.0;
  TimeStep = 1e-20;
  ThixoDamp(1);
  // West: pair (c, e), d = L = 2: S = 0.5 x 400 / 2 x 2 = 400 x 0.5.
  // Middle: pair (w, e), d = 4, L = 2: S = 0.5 x 1200 / 4 x 2 = 300.
  // East: pair (w, c), d = L = 2: S = 0.5 x 800 / 2 x 2 = 400.
  const double T[] = {0, 200.0 / 2.0, 300.0 / 2.0, 400.0 / 2.0};
  // Each new ratio 0.1 T / Y, smoothed at once with the neighbours' values
  // as they stand: the west cell sees the middle one still at 0.
  const double r1 = 0.875 * 0.1 * T[1] / 10.0;
  const double r2 = 0.75 * 0.1 * T[2] / 10.0 + 0.125 * r1;
  const double r3 = 0.875 * 0.1 * T[3] / 10.0 + 0.125 * r2;
  EXPECT_NEAR(Cthixorat[1], r1, 1e-6);
  EXPECT_NEAR(Cthixorat[2], r2, 1e-6);
  EXPECT_NEAR(Cthixorat[3], r3, 1e-6);
  for (int c = 1; c <= 3; ++c) EXPECT_LE(Cthixolev[c], 1) << "a bottom cell never ends flowing, cell " << c;
  EXPECT_EQ(Cthixolev[0], 0);
}

// Three columns of three 1 m cells with the same pressure at every level:
// the tilt term vanishes (to 1e-9) and R is 0.9 of the ratio before.
void levelColumns(double bottomRatio, double middleRatio, double topRatio) {
  BoxCells::build(3, 3, 1.0, 1.0, 1.0);
  NoBlocks = 0;
  markBlock(1, 1, 9, 1, 3, 1);
  const double ratio[] = {bottomRatio, middleRatio, topRatio};
  for (int c = 1; c <= 9; ++c) {
    const int level = (c - 1) % 3;
    Cpres[c] = 9810.0 * (2.5 - level);
    Cthixorat[c] = ratio[level];
    Cthixolev[c] = 1;
  }
  ThixoCritshear = 1.0;
  ThixoMySlope = 0.0;
  TimeStep = 1e-20;
}

TEST_F(MudLayer, FlowStateCounter) {
  struct Row {
    double bottom, middle, top;  // ratios before the call
    int state[3];                // after, bottom up, in every column
    const char *why;
  };
  const Row rows[] = {
      {2.0, 2.0, 2.0, {0, 2, 2}, "R 1.8: gains 1; the bottom cell rests"},
      {2.0, 1.0, 1.0, {0, 1, 1}, "R 0.9 keeps the state"},
      {2.0, 0.5, 0.5, {0, 0, 0}, "R 0.45: loses 1"},
      {2.0, 2.0, 1.0, {0, 2, 2}, "a resting cell above a flowing one starts to flow"},
      {2.0, 1.0, 2.0, {0, 1, 2}, "flowing mud above does not spread down"},
  };
  for (const Row &r : rows) {
    levelColumns(r.bottom, r.middle, r.top);
    Bthixolev = nullptr;  // no resting level: the state steps alone
    ThixoDamp(1);
    for (int c = 1; c <= 9; ++c) EXPECT_EQ(Cthixolev[c], r.state[(c - 1) % 3]) << r.why << ", cell " << c;
  }
}

TEST_F(MudLayer, MudLevelRelaxedAndSmoothed) {
  // Flowing top cells (R 2) over resting ones (R 0.5): the level of each
  // column relaxes by 0.1 towards the middle between the middle and top
  // centres (2.0 m), then the inner column is kept between its neighbours:
  // no higher than the higher one, no lower than the lower one less the
  // bottom cell's height (1 m).
  struct Row {
    double innerBefore, innerAfter;
  };
  const Row rows[] = {{10.0, 1.1}, {-5.0, 0.1}, {0.5, 0.2 + 0.45}};
  for (const Row &r : rows) {
    std::vector<double> levels{0.0, 1.0, r.innerBefore, 1.0};
    levelColumns(0.5, 0.5, 2.0);
    Bthixolev = levels.data();
    Cthixolev[3] = Cthixolev[6] = Cthixolev[9] = 3;  // the top cells flow already
    ThixoDamp(1);
    // Relaxed: 0.05 x (1.5 + 2.5) + 0.9 B at the resting middle cells; the
    // bottom cells keep B (their cell above rests).
    EXPECT_NEAR(levels[1], 0.2 + 0.9, 1e-12) << "the first bed cell is not smoothed";
    EXPECT_NEAR(levels[3], 0.2 + 0.9, 1e-12) << "the last bed cell is not smoothed";
    EXPECT_NEAR(levels[2], r.innerAfter, 1e-12) << "inner level from " << r.innerBefore;
    // Final state: a resting middle cell above its column's level gains 1.
    EXPECT_EQ(Cthixolev[2], 1);
    EXPECT_EQ(Cthixolev[5], Czcenter[5] > levels[2] ? 1 : 0) << "inner level from " << r.innerBefore;
    Bthixolev = nullptr;
  }
}

TEST_F(MudLayer, ColumnForcesGainTheIntegerPartOfTheRatio) {
  // Variant 3: the middle column between a high and a low neighbour. Column
  // pressures differ by 1000 Pa per column at every level.
  levelColumns(0.0, 0.0, 0.0);
  Bthixolev = nullptr;
  for (int c = 1; c <= 9; ++c) Cpres[c] += 1000.0 * ((c - 1) / 3);
  ThixoDamp3(1);
  // Middle column, top cell 6 at z 2.5: F = |H(3, 2.5) - H(9, 2.5)|, the
  // halves of the neighbours' top cells above the centre.
  for (int level = 0; level < 3; ++level) {
    const int c = 4 + level;
    const double base = Czcenter[c];
    const double F = std::fabs(computeAccHystatForce(3, base) - computeAccHystatForce(9, base));
    EXPECT_NEAR(Cthixorat[c], F * 0.5 / 1.0, 1e-9) << "cell " << c;
  }
  EXPECT_NEAR(Cthixorat[6], 0.5 * 2000.0 * 0.5, 1e-9);
  // Top cell: R 500 gains 500 on the counter; the bottom cell rests.
  EXPECT_EQ(Cthixolev[6], 1 + 500);
  EXPECT_EQ(Cthixolev[4], 0);
}

TEST_F(MudLayer, RatioVariantsKeepTheRatioRisingUpwards) {
  // Variant 2: slow relaxation, then no ratio below the one beneath it; the
  // state follows the mud level, 0 below it and 2 above.
  std::vector<double> levels(4, 1.0);
  levelColumns(3.0, 1.0, 0.0);
  Bthixolev = levels.data();
  ThixoDamp2(1);
  // The bottom cells: 0.95 x 3 smoothed along i with the neighbours as they
  // stand (the east one not yet relaxed), then carried up the column.
  const double west = 0.875 * 2.85 + 0.125 * 3.0, middle = 0.75 * 2.85 + 0.125 * west + 0.125 * 3.0;
  const double bottom[] = {west, middle, 0.875 * 2.85 + 0.125 * middle};
  for (int column = 0; column < 3; ++column) {
    const int b = 3 * column + 1;
    EXPECT_LE(Cthixorat[b], Cthixorat[b + 1]);
    EXPECT_LE(Cthixorat[b + 1], Cthixorat[b + 2]);
    EXPECT_NEAR(Cthixorat[b], bottom[column], 1e-6);
    EXPECT_NEAR(Cthixorat[b + 2], bottom[column], 1e-6) << "the bottom cell's ratio carried up";
    EXPECT_EQ(Cthixolev[b], levels[column + 1] > 0.5 ? 0 : 2);
    EXPECT_EQ(Cthixolev[b + 2], 2);
  }
  EXPECT_EQ(Cthixorat[0], 0.0);
  Bthixolev = nullptr;
}

TEST_F(MudLayer, PeakCutOfTheRatio) {
  // A middle-column ratio far above both neighbours is held at 0.525 times
  // their sum (before the upward maximum, which it then carries up).
  levelColumns(1.0, 1.0, 1.0);
  Bthixolev = nullptr;
  for (int c = 4; c <= 6; ++c) Cthixorat[c] = 100.0;
  ThixoDamp2(1);
  EXPECT_LT(Cthixorat[4], 0.95 * 100.0);
  EXPECT_NEAR(Cthixorat[4], 0.525 * (Cthixorat[1] + Cthixorat[7]), 1e-9);
}

}  // namespace

namespace {

TEST_F(MudLayer, SolvedRatioStaysInItsBlock) {
  // Variant 1 solves the excess of the ratio over the block's cells only and
  // gives the solver's field and work range back.
  levelColumns(0.0, 0.0, 0.0);
  Bthixolev = nullptr;
  markBlock(1, 1, 6, 1, 2, 1);
  block[1].FirstFace = 1;
  block[1].LastFace = NoSurfaces;
  for (int c = 1; c <= 9; ++c) Cthixorat[c] = 7.0;
  for (int c = 1; c <= 9; ++c) Cgamma[c] = CgammaV[c] = 1.0;
  Equation = 1;
  WCStart = 1;
  WCEnd = 9;
  double own = 0.0;
  Cf = &own;
  ThixoDamp1(1);
  EXPECT_EQ(Cf, &own);
  EXPECT_EQ(WCStart, 1);
  EXPECT_EQ(WCEnd, 9);
  for (int c = 7; c <= 9; ++c) EXPECT_EQ(Cthixorat[c], 7.0) << "cell " << c << " lies outside the block";
  // No coefficient links these boxes (they carry no face distances): each
  // cell takes its own excess T / Y - 1, about -1 under level isobars.
  for (int c = 1; c <= 6; ++c) EXPECT_NEAR(Cthixorat[c], -1.0, 1e-4) << "cell " << c;
  for (int c = 1; c <= 6; c += 3) {
    EXPECT_LE(Cthixorat[c], Cthixorat[c + 1]) << "upward maximum, column of cell " << c;
    EXPECT_LE(Cthixorat[c + 1], Cthixorat[c + 2]) << "upward maximum, column of cell " << c;
  }
  EXPECT_EQ(Cthixolev[0], 0);
  EXPECT_EQ(Cthixorat[0], 0.0);
}

}  // namespace
