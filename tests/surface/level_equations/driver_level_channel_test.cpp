// The level equations of the driver and of the modular dispatch on the
// channel's 10 x 4 columns of nine cells (1 m squares, 1 m deep), against
// values worked by hand: a uniform flow along i whose top pressures fall by
// 98.1 Pa (0.01 m of water) from column to column, a Casulli chain carrying
// 1 m3/s per column, the options of algorithm 7, the continuity level and
// the fixed level.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "surface/level_algorithms/casulli_level.h"
#include "surface/level_algorithms/continuity_level.h"
#include "surface/level_equations/driver_level_equations.h"
#include "surface/level_equations/level_coefficients.h"
#include "surface/level_equations/level_solver.h"
#include "surface/level_equations/nine_point_coefficients.h"
#include "surface/steady/steady_dispatch.h"
#include "surface/surface_services.h"
#include "surface/surface_fixture.h"

namespace {

class DriverLevelChannel : public SurfaceFixture {
 protected:
  static int bottom(int i, int j) { return static_cast<int>(zval[i][j][0]); }

  // Flow of 1 m/s along i everywhere (Froude 0.32), the top pressure of
  // column i 98.1 (11 - i) Pa, the reference at the outlet column (11, 3),
  // every option of the level equations at its default.
  static void rampChannel() {
    channelAt(0.0);
    for (int c = 1; c <= NoCells; ++c) {
      Cxvel[c] = 1.0;
      Cyvel[c] = 0.0;
    }
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) Cpres[topCell(i, j)] = 98.1 * (11 - i);
    }
    iPres = 11;
    jPres = 3;
    jSurf = kSurf = kSurf2 = 0;
    FlagTFS3 = 0;
    FlagWeightComp = FlagTestNB = FlagAddAnbShallow = 0;
    FlagSurfLimit1 = FlagSurfLimit2 = FlagSurfLimit3 = FlagSurfLimit5 = 0;
    Diffslope = 100.0;
    FlagTimeSurf = FlagGradSurf = solverFroude = BlockCasulli = TopBed = 0;
    FlagFroudeDamp = FlagFlushWaterLevel = 0;
    SurfSmoothFlag = 0;
    AddValTFS7 = 0.0;
    scaleBackwater = 1.0;
    RelaxSurface = 1.0;
    iterSurfSolv2 = 350;
    residualCasulli = 1e-5;
  }

  // The Casulli chain: 1 m3/s through every face along i and none across,
  // 4 m3/s in through the inlet group and out through the outlet group,
  // M = 50; F 470 as given.
  static void casulliChain(int casulliCoeff) {
    rampChannel();
    FlagTFS = 9;
    ManningInit = 50.0;
    FlagCasulliCoeff = casulliCoeff;
    FlagCasulliLimit = FlagMomentSurf = 0;
    for (int c = 1; c <= NoCells; ++c) {
      Fflux[Cflatew[c]] = Fflux[Cflatee[c]] = 1000.0 / 9.0;
      Fflux[Cflates[c]] = Fflux[Cflaten[c]] = 0.0;
    }
    setGroup(1, 1, 4000.0, upstreamFaces());
    setGroup(2, 0, 4000.0, downstreamFaces());
    DischargeArray[1] = DischargeArray[2] = 4000.0;
  }

  // No flow anywhere but 4 kg/s into the top cell of column (2, 3) through
  // its west face.
  static void oneInflowColumn() {
    for (int c = 1; c <= NoCells; ++c) {
      Fflux[Cflatew[c]] = Fflux[Cflatee[c]] = Fflux[Cflates[c]] = Fflux[Cflaten[c]] = 0.0;
    }
    Fflux[Cflatew[topCell(2, 3)]] = 4.0;
  }

  // Every column's solved value against 0.01 (11 - i), and every grid point
  // moved by the mean of its columns' values.
  static void expectRamp(const char *what) {
    for (int i = 2; i <= 11; ++i) {
      for (int j = 2; j <= 5; ++j) EXPECT_NEAR(Cf[bottom(i, j)], 0.01 * (11 - i), 1e-9) << what << " " << i << " " << j;
    }
    for (int i = 2; i <= 10; ++i) EXPECT_NEAR(levelAt(i, 3), 1.0 + 0.01 * (10.5 - i), 1e-9) << what << " point " << i;
    EXPECT_NEAR(levelAt(11, 3), 1.0, 1e-9) << what;  // the outlet line
  }
};

}  // namespace

// F 36 4: each column leans on its downstream neighbour with the target
// 0.01 m; the reference column is held, the other outlet columns have no
// weight and keep their level. The changes ramp by 0.01 m per column.
TEST_F(DriverLevelChannel, FivePointChangesRampTowardsTheFixedColumn) {
  rampChannel();
  FlagTFS = 4;
  surfaceFivePoint(bottom(11, 3));
  expectRamp("F 36 4");
  EXPECT_EQ(Cap[bottom(11, 2)], 1e-20);  // no downstream neighbour, no cross flow
  EXPECT_EQ(Cap[bottom(11, 3)], 1e20);
}

// F 36 21 solves the levels themselves, the outflow group holding the outlet
// columns at GlobZRef; less each column's start level they are the changes
// of F 36 4.
TEST_F(DriverLevelChannel, FivePointLevelsGiveTheSameChanges) {
  rampChannel();
  FlagTFS = 21;
  setGroup(2, 0, 4000.0, downstreamFaces());
  kSurf = 2;
  surfaceFivePoint(bottom(11, 3));
  expectRamp("F 36 21");
}

// F 36 21 without an outflow group fixes no column. The outlet columns have
// no weight (no downstream neighbour, no cross flow) and keep their start
// level, rather than solve to level 0; the columns upstream follow them.
TEST_F(DriverLevelChannel, FivePointLevelsWithoutAnOutflowGroupKeepWeightlessColumns) {
  rampChannel();
  FlagTFS = 21;
  surfaceFivePoint(bottom(11, 3));
  expectRamp("F 36 21 without kSurf");
  EXPECT_EQ(Cap[bottom(11, 2)], 1e-20);
}

// The Casulli chain: 1 m3/s through every 1 m x 1 m face, M = 50, so the
// conductance is K = 2500 m2/s and the level falls by Q / K = 4e-4 m from
// column to column; the inflow group feeds the first line, the outflow group
// drains the last, the reference column holds 1 m. F 470 2 raises the speed
// across the flow to 0.2 of the mean speed, so the point sweeps converge.
TEST_F(DriverLevelChannel, CasulliLevelsFallByTheFrictionSlope) {
  casulliChain(2);
  residualCasulli = 0.0;
  iterSurfSolv2 = 2000;
  computeCoeffCasulli();
  EXPECT_NEAR(Caw[bottom(5, 3)], 2500.0, 1e-6);
  EXPECT_NEAR(Cas[bottom(5, 3)], 2500.0 / 0.2, 1e-6);
  setSurfaceBoundary();
  EXPECT_NEAR(Csource[bottom(2, 3)], 1.0, 1e-9);  // the inflow of a column over its plan area, m/s
  surfaceSolver(kSurfaceSolverFivePoint);
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) EXPECT_NEAR(Cf[bottom(i, j)], 1.0 + 4e-4 * (11 - i), 1e-8) << i << " " << j;
  }
}

// The line correction of F 343 2 solves the summed lines at once: with the
// speed floor of 0.0001 m/s across the flow the columns of a line are tied
// 25 million to 2500, and one correction gives the same chain.
TEST_F(DriverLevelChannel, CasulliLineCorrectionCarriesTheDrop) {
  casulliChain(0);
  // The line vectors exist only when F 343 2 is read before allocation.
  std::vector<double> pt(NoCells + 1), qt(NoCells + 1);
  Cpt = pt.data();
  Cqt = qt.data();
  computeCoeffCasulli();
  setSurfaceBoundary();
  computeBlockCasulli();
  Cpt = Cqt = nullptr;
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) EXPECT_NEAR(Cf[bottom(i, j)], 1.0 + 4e-4 * (11 - i), 1e-6) << i << " " << j;
  }
}

// The simple correction lifts every point by a tenth of the mean top-cell
// pressure head of its wet columns: 0.1 x 98.1 (10.5 - i) / 9810 between
// columns i and i + 1, 0.1 x 98.1 x 9 / 9810 on the inlet line.
TEST_F(DriverLevelChannel, SimpleCorrectionLiftsByATenthOfThePressureHead) {
  rampChannel();
  iPres2 = 0;
  surface3();
  for (int j = 1; j <= 5; ++j) {
    EXPECT_NEAR(levelAt(1, j), 1.0 + 0.1 * 98.1 * 9 / 9810.0, 1e-12) << j;
    for (int i = 2; i <= 10; ++i) EXPECT_NEAR(levelAt(i, j), 1.0 + 0.1 * 98.1 * (10.5 - i) / 9810.0, 1e-12) << i << " " << j;
    EXPECT_NEAR(levelAt(11, j), 1.0, 1e-12) << j;
  }
}

namespace {

// Algorithm 7 on the channel at rest under a flat lid, the flow along i:
// every neighbour lies straight up- or downstream (x = -1, 1), across
// (x = 0) or on a diagonal (x = -0.71, 0.71).
class NinePointAlgorithmSeven : public DriverLevelChannel {
 protected:
  static void flatChannel() {
    FlagTFS = 7;  // the diagonal coefficients exist
    rampChannel();
    setTopPressures(0.0);
    FlagTFS5 = FlagTFS6 = FlagSurfLimit4 = FlagNonHydrostaticSurf = FlagTFS7 = 0;
  }
  static void froudeEverywhere(double froude) {
    for (int b = 1; b <= NoBCells; ++b) BFroude[b] = froude;
  }
};

struct GateCase {
  int gate;           // F 352 second value
  double west, nw;    // the weights of the west and north-west neighbours
};

}  // namespace

// A supercritical column (F_0 = 1.2) among subcritical ones (0.8): its
// upstream neighbours weigh (-x) (F_0 - 1), 0.2 straight upstream and 0.14 on
// the diagonals, unless F 352 gates them (2 and 3: upstream of a
// supercritical column into subcritical flow).
TEST_F(NinePointAlgorithmSeven, FroudeGatesOfTheUpstreamWeights) {
  const double diagonal = 0.2 * std::sqrt(0.5);
  flatChannel();
  for (const GateCase &g : {GateCase{0, 0.2, diagonal}, GateCase{1, 0.2, diagonal}, GateCase{2, 0.0, 0.0},
                            GateCase{3, 0.0, 0.0}}) {
    froudeEverywhere(0.8);
    const int c = bottom(5, 3);
    BFroude[Cbed[c]] = 1.2;
    FlagTFS6 = g.gate;
    computeCoeffTFS7();
    EXPECT_NEAR(Caw[c], g.west, 1e-12) << "F 352 0 " << g.gate;
    EXPECT_NEAR(Cann[c], g.nw, 1e-12) << "F 352 0 " << g.gate;
    EXPECT_EQ(Cae[c], 0.0);  // downstream of a supercritical column
    EXPECT_NEAR(Cap[c], 1e-20 + g.west + 2.0 * g.nw, 1e-12);
  }
}

// Third value -5: a subcritical column (0.5) beside a supercritical one
// (1.5) takes 1.5 in its whole equation, so its downstream weight falls
// from 2 x + 0.03 = 2.03 to 0 and its upstream one rises from 0 to 0.5.
TEST_F(NinePointAlgorithmSeven, LargestNeighbourFroudeNumber) {
  flatChannel();
  for (const int third : {0, -5}) {
    froudeEverywhere(0.5);
    BFroude[Cbed[bottom(6, 3)]] = 1.5;
    FlagSurfLimit3 = third;
    computeCoeffTFS7();
    const int c = bottom(5, 3);
    EXPECT_NEAR(Cae[c], third == 0 ? 2.03 : 0.0, 1e-12) << third;
    EXPECT_NEAR(Caw[c], third == 0 ? 0.0 : 0.5, 1e-12) << third;
  }
}

// F 283 2: a column with a corner shallower than the minimum depth takes the
// plain mean of its eight neighbours' changes.
TEST_F(NinePointAlgorithmSeven, ShallowCornerTakesThePlainMean) {
  flatChannel();
  froudeEverywhere(0.5);
  FlagSurfLimit4 = 2;
  MinVertDist0 = 0.01;
  zval[5][3][znumber] = zval[5][3][1] + 0.005;
  computeCoeffTFS7();
  const int c = bottom(5, 3);
  EXPECT_EQ(Cap[c], 8.0);
  EXPECT_EQ(Csource[c], 0.0);
  for (double *a : {Can, Cann, Caw, Caww, Cas, Cass, Cae, Caee}) EXPECT_EQ(a[c], 1.0);
  // The column beside it on the other side of the flow keeps its weights.
  EXPECT_NEAR(Cae[bottom(4, 2)], 2.03, 1e-12);
}

// The continuity level in a transient run of 10 s steps: the first column
// takes 4 kg/s through the west face of its top cell and has no other flow,
// so Cap = plan area x TimeStep = 10, Csource = 0.004 m3/s and its change is
// 4e-4 m; the points of its west edge, shared with no other wet column,
// rise by half of it when the column beside it stands still.
TEST_F(DriverLevelChannel, ContinuityLevelOfOneInflowColumn) {
  rampChannel();
  TimeStep = 10.0;
  oneInflowColumn();
  // The level takes the sweeps of the equation solved last.
  Equation = 1;
  sweeps[1] = 5;
  WCStart = 1;
  WCEnd = NoCells;
  surface_continuity();
  const int c = bottom(2, 3);
  EXPECT_NEAR(Cap[c], 10.0, 1e-12);
  EXPECT_NEAR(Csource[c], 0.004, 1e-15);
  EXPECT_NEAR(Caw[c], 4.0 / 2.0, 1e-12);  // the flux over the two edge heights, coupling to no column
  EXPECT_NEAR(Cf[c], 4e-4, 1e-12);
  EXPECT_NEAR(Cf[bottom(3, 3)], 0.0, 1e-15);
  EXPECT_NEAR(levelAt(1, 3), 1.0 + 2e-4, 1e-12);
  EXPECT_EQ(secondSlotAt(1, 3), levelAt(1, 3));
  EXPECT_NEAR(levelAt(5, 3), 1.0, 1e-15);
}

// In a steady run a column without outflow has only plan area x 1e-20 on its
// diagonal: every column keeps its level, and one warning gives the count.
TEST_F(DriverLevelChannel, SteadyContinuityLevelKeepsColumnsWithoutOutflow) {
  rampChannel();
  TimeStep = 1e-20;
  oneInflowColumn();
  surface_continuity();
  for (int i = 1; i <= 11; ++i) EXPECT_EQ(levelAt(i, 3), 1.0) << i;
  EXPECT_NE(boogie().find("Warning: 40 water columns without outflow keep their level in surface_continuity\n"),
            std::string::npos);
}

// surface2 by F 36: the fixed level moves every point of the base blocks by
// GlobZRef less the reference point's level (0.5 m here, both slots); a
// value without a level algorithm (1, 11 to 19, 21, 50) moves nothing, and
// both end with the tail and the status "End Surface ".
TEST_F(DriverLevelChannel, DispatchOfTheFixedLevelAndOfValuesWithoutALevel) {
  rampChannel();
  FlagThixo = 0;
  FlagTFS = 3;
  GlobZRef = 1.5;
  surface2();
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      EXPECT_NEAR(levelAt(i, j), 1.5, 1e-12) << i << " " << j;
      EXPECT_EQ(secondSlotAt(i, j), levelAt(i, j));
    }
  }
  EXPECT_STREQ(mc_program, "End Surface ");
  for (const int value : {1, 11, 19, 21, 50}) {
    FlagTFS = value;
    mc_program[0] = '\0';
    surface2();
    EXPECT_NEAR(levelAt(5, 3), 1.5, 1e-12) << value;
    EXPECT_STREQ(mc_program, "End Surface ") << value;
  }
}
