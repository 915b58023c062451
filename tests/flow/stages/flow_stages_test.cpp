// The stages of an inner iteration on hand-built grids without inflow or
// walls: what the stages themselves put into the equations (relaxation,
// 1/Ap, the p' diagonal and its level, the continuity statistics, the lower
// limits of k and epsilon, the face fluxes of the pseudo-velocities) and
// where they end the run. Expected values are formed from the neighbour
// coefficients the builders leave, so the checks hold whatever they build.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "flow/outer_steps/driver_state.h"
#include "flow/flow_grids.h"
#include "flow/stages/flow_stages.h"
#include "flow/stages/stage_steps.h"
#include "grid/grid_fixture.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

using FlowStages = GridFixture;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The relaxation factors and residual norms the driver and its start values
// would set, no wall terms (F 120's value), and a diagonal of 1000 Cvol in
// every cell from the dead-end term, so that every equation has a diagonal
// whatever the coefficient builders give.
void prepareStages(bool deadEnds = true) {
  relaxVelocity = 0.8;
  invRelaxVelocity = 1.25;
  relaxPressure = 0.2;
  relaxK = relaxEpsilon = 0.5;
  for (int e = 1; e <= 6; ++e) NormResidual[e] = 1.0;
  FlagWallAll = 1000;
  OneCellSource = deadEnds ? 1 : 0;
  for (int c = 1; c <= NoCells; ++c) Conecell[c] = 1;
}

// The six neighbour coefficients of cell c.
double neighbourSum(int c) { return Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c]; }

// U, V and W are assembled from the divided diagonal: Cap = (1000 Cvol +
// the neighbour sum) / 0.8 and Csource = 0.2 u Cap with that Cap; CinvAp
// keeps 1/Cap of U (the same coefficients while the schemes agree); Cf ends
// at W while the driver's buffer is kept for the pressure correction.
TEST_F(FlowStages, MomentumRelaxationAndInverseDiagonal) {
  buildFlowGrid(CaseGrid::Channel);
  prepareStages();
  fillField(Cxvel, [](double x, double, double) { return 0.1 * x; });
  fillField(Cyvel, [](double, double y, double) { return 2.0 + y; });
  fillField(Czvel, [](double, double, double z) { return -z; });
  const std::vector<double> w(Czvel, Czvel + NoCells + 1);
  double *buffer = Cf;
  momentumStage(1);
  EXPECT_EQ(Equation, 3);
  EXPECT_EQ(Cf, Czvel);
  EXPECT_EQ(CfSaved, buffer);
  EXPECT_EQ(FlagInitializedInvAp, 1);
  for (int c = 1; c <= NoCells; ++c) {
    const double cap = (1000.0 * Cvol[c] + neighbourSum(c)) / 0.8;
    ASSERT_NEAR(Cap[c], cap, 1e-9 * cap) << c;
    ASSERT_NEAR(Csource[c], 0.2 * w[c] * cap, 1e-9 * cap) << c;
    ASSERT_NEAR(CinvAp[c], 1.0 / cap, 1e-9 / cap) << c;
  }
}

// With Seiche4 the stage ends after V.
TEST_F(FlowStages, SeicheLeavesWUnsolved) {
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  Seiche4 = 1;
  momentumStage(1);
  EXPECT_EQ(Equation, 2);
  EXPECT_EQ(Cf, Cyvel);
}

// A U diagonal of 0, above 1e20 or not a number ends the run with the
// report of the first such cell.
struct ApCase {
  const char *name;
  double inverseRelaxation;
  double volume;  // of cell 1
  const char *tail;
  friend void PrintTo(const ApCase &c, std::ostream *os) { *os << c.name; }
};

class UnusableDiagonal : public FlowStages, public ::testing::WithParamInterface<ApCase> {};

TEST_P(UnusableDiagonal, EndsWithTheCellsReport) {
  const ApCase &row = GetParam();
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  invRelaxVelocity = row.inverseRelaxation;
  Cvol[1] = row.volume;
  EXPECT_EXIT(momentumStage(1), ::testing::ExitedWithCode(251), "");
  const std::string log = boogie();
  const std::size_t at = log.find("Error 2, Cap(1) = ");
  ASSERT_NE(at, std::string::npos) << log;
  EXPECT_TRUE(endsWith(log.substr(at, log.find('\n', at) - at + 1), row.tail)) << log;
  // The neighbourhood of the cell follows, down to its column's water level.
  EXPECT_NE(log.find("Neighbour indexes: ", at), std::string::npos) << log;
  EXPECT_NE(log.find("Water level: ", at), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Rows, UnusableDiagonal,
                         ::testing::Values(ApCase{"Zero", 0.0, 1.0, "Error 2, Cap(1) = 0.000000e+00\n"},
                                           ApCase{"Huge", 1e30, 1.0, "e+33\n"},
                                           ApCase{"NotANumber", 1.25, kNaN, "nan\n"}),
                         [](const auto &info) { return std::string(info.param.name); });

// The p' diagonal: a sum that is not a number gives 1e-10, 0 and 1e-40
// (isolated cells) 1.0, 1e-20 the floor 1e-10, any larger sum itself.
TEST(PressureDiagonal, FloorRule) {
  struct Row {
    double sum, diagonal;
  };
  const Row rows[] = {{kNaN, 1e-10}, {0.0, 1.0}, {1e-40, 1.0}, {1e-20, 1e-10}, {-3.0, 1.0}, {2.5, 2.5}};
  for (const Row &r : rows) EXPECT_EQ(pressureDiagonal(r.sum), r.diagonal) << r.sum;
}

// Through the stage, on a grid at rest: the diagonal follows the rule from
// the p' coefficients, p' restarts from 0 and, with nothing to correct, the
// level shift leaves -0.001 in every cell; F 183 outside 1..99 switches the
// shift off. Cf ends at the driver's buffer.
TEST_F(FlowStages, PressureDiagonalAndLevelShift) {
  buildFlowGrid(CaseGrid::Channel);
  prepareStages();
  double *buffer = Cf;
  momentumStage(1);
  struct Row {
    int presDebug;
    double level;
  };
  for (const Row &row : {Row{0, -0.001}, Row{100, 0.0}}) {
    FlagPresDebug = row.presDebug;
    for (int c = 1; c <= NoCells; ++c) buffer[c] = 5.0;
    EXPECT_EQ(pressureStage(1), 0);
    EXPECT_EQ(Equation, 4);
    EXPECT_EQ(Cf, buffer);
    for (int c = 1; c <= NoCells; ++c) {
      ASSERT_NEAR(Cf[c], row.level, 1e-12) << row.presDebug << " " << c;
      ASSERT_EQ(Cap[c], pressureDiagonal(neighbourSum(c))) << c;
    }
  }
}

// The continuity statistics: the summed defect, its largest magnitude and
// the first cell holding it, 1 when every defect is 0.
TEST_F(FlowStages, ContinuityStatistics) {
  buildFlowGrid(CaseGrid::Channel);
  struct Row {
    int cells[3];
    double defects[3];
    int first;
    double largest, sum;
  };
  const Row rows[] = {
      {{1, 2, 3}, {0.0, 0.0, 0.0}, 1, 0.0, 0.0},
      {{5, 9, 12}, {-3.0, 3.0, 2.0}, 5, 3.0, 2.0},
      {{40, 41, 300}, {1e-3, -2e-3, 2e-3}, 41, 2e-3, 1e-3},
  };
  for (const Row &row : rows) {
    for (int c = 1; c <= NoCells; ++c) Csource[c] = 0.0;
    for (int m = 0; m < 3; ++m) Csource[row.cells[m]] = row.defects[m];
    continuityStatistics(1, NoCells);
    EXPECT_EQ(Glob_dmI, row.first);
    EXPECT_DOUBLE_EQ(GlobDefMax, row.largest);
    EXPECT_NEAR(GlobContinuity, row.sum, 1e-15);
  }
  continuityStatistics(5, 4);
  EXPECT_EQ(Glob_dmI, 1);
  EXPECT_EQ(GlobDefMax, 0.0);
}

// F 36 = 6: the surface update is called on the last inner iteration of an
// outer iteration, not before.
TEST_F(FlowStages, SurfaceCallOnTheLastInnerIteration) {
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  FlagTFS = 6;
  TransInnerIter = 2;
  Iter = 1;
  iPres = jPres = 2;
  FlagExtraDebug = 1;  // the update logs "Start surface"
  EXPECT_EQ(pressureStage(1), 0);
  EXPECT_EQ(boogie().find("Start surface"), std::string::npos);
  EXPECT_EQ(pressureStage(2), 1);
  EXPECT_NE(boogie().find("Start surface\n"), std::string::npos);
}

// k and epsilon never end below ArtMinKinen and 1e-16 (model 2: no
// k-epsilon sources, so the solves keep the negative start values' sign).
TEST_F(FlowStages, TurbulenceLowerLimits) {
  buildFlowGrid(CaseGrid::Channel);
  prepareStages();
  TurbulenceModel = 2;
  ArtMinKinen = 1e-6;
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = Cepsilon[c] = -1.0;
  turbulenceStage(1);
  EXPECT_EQ(Equation, 6);
  EXPECT_EQ(Cf, Cepsilon);
  for (int c = 1; c <= NoCells; ++c) {
    ASSERT_EQ(Ckinen[c], 1e-6) << c;
    ASSERT_EQ(Cepsilon[c], 1e-16) << c;
  }
}

// The epsilon relaxation leaves a diagonal of 1e20 or more (a value fixed
// at a wall) and its source alone and relaxes the others by 0.5.
TEST_F(FlowStages, EpsilonRelaxationSkipsFixedCells) {
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  TurbulenceModel = 2;
  Cvol[2] = 1e18;  // 1000 Cvol = 1e21
  for (int c = 1; c <= NoCells; ++c) Cepsilon[c] = 0.3;
  turbulenceStage(1);
  EXPECT_EQ(Cap[2], 1e21 + neighbourSum(2));
  EXPECT_EQ(Csource[2], 0.0);
  for (int c : {1, 3}) {
    const double cap = 2.0 * (1000.0 * Cvol[c] + neighbourSum(c));
    EXPECT_DOUBLE_EQ(Cap[c], cap);
    EXPECT_DOUBLE_EQ(Csource[c], 0.5 * 0.3 * cap);
  }
}

// Models 4 to 7 solve neither k nor epsilon; 2 (like 3) solves both.
TEST_F(FlowStages, ConstantViscosityModelsSolveNoTurbulence) {
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  for (int model : {2, 4, 5, 6, 7}) {
    TurbulenceModel = model;
    Equation = 4;
    for (int c = 1; c <= NoCells; ++c) Ckinen[c] = -1.0;
    turbulenceStage(1);
    const bool solved = model < 4;
    EXPECT_EQ(Equation, solved ? 6 : 4) << model;
    EXPECT_EQ(Ckinen[1], solved ? ArtMinKinen : -1.0) << model;
  }
}

// The pseudo-velocity fluxes of F 171 2: a uniform pseudo-velocity (0.2 u
// here, the relaxation's share, made uniform by a dead-end diagonal that
// dwarfs the neighbour coefficients) crosses a face with a cell beyond one
// side only with weights 0.75, 0.375 and -0.125, which sum to 1; the other
// faces keep their fluxes. Velocity pointers, the Rhie-Chow relaxation and
// Cf are given back.
TEST_F(FlowStages, PseudoVelocityFluxesSumToOne) {
  FlagSIMPLE = 2;
  buildFlowGrid(CaseGrid::Channel);
  ASSERT_NE(CxvelP, nullptr);
  prepareStages();
  for (int c = 1; c <= NoCells; ++c) Cvol[c] *= 1e9;
  for (int c = 0; c <= NoCells; ++c) {
    Cxvel[c] = 1.0;
    Cyvel[c] = Czvel[c] = 0.0;
  }
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = -7.0;
  RelaxRhieChow = 0.3;
  double *x = Cxvel, *buffer = Cf;
  pressureEquationVariant();
  EXPECT_EQ(Cxvel, x);
  EXPECT_EQ(RelaxRhieChow, 0.3);
  EXPECT_EQ(Cf, buffer);
  for (int c = 1; c <= NoCells; ++c) ASSERT_NEAR(CxvelP[c], 0.2, 1e-9) << c;
  int quadratic = 0;
  for (int f = 1; f <= NoSurfaces; ++f) {
    const bool inside = Fcell1[f] > 0 && Fcell2[f] > 0;
    const bool oneBeyond = (Fcell11[f] >= 1 && Fcell22[f] == 0) || (Fcell11[f] == 0 && Fcell22[f] > 0);
    if (inside && oneBeyond) {
      ++quadratic;
      ASSERT_NEAR(Fflux[f], 200.0 * Fax[f], 1e-6) << f;
    } else {
      ASSERT_EQ(Fflux[f], -7.0) << f;
    }
  }
  EXPECT_GT(quadratic, 0);
}

// A transient component keeps a time level only with F 62 1, which shifts
// its old values every step: without it a uniform component stays as it is
// whatever its old values, with it the old values of 0 pull it down.
TEST_F(FlowStages, ComponentsTakeTheirTimeLevelOnlyWithF62) {
  NoComponents = 1;
  TimeStep = 10.0;
  buildFlowGrid(CaseGrid::Column3);
  prepareStages();
  for (int flag : {0, 1}) {
    FlagTComp = flag;
    for (int c = 1; c <= NoCells; ++c) {
      Ccomp[0][c] = 2.5;
      Ccomp_old[0][c] = 0.0;
    }
    componentStage();
    for (int c = 1; c <= NoCells; ++c) {
      if (flag == 0) {
        ASSERT_NEAR(Ccomp[0][c], 2.5, 1e-12) << c;
      } else {
        ASSERT_LT(Ccomp[0][c], 2.5 - 1e-6) << c;
      }
    }
  }
}

// A uniform component without sources stays uniform, and the work ranges
// cover the whole grid afterwards.
TEST_F(FlowStages, UniformComponentStaysUniform) {
  NoComponents = 1;
  buildFlowGrid(CaseGrid::Channel);
  prepareStages();
  for (int c = 1; c <= NoCells; ++c) Ccomp[0][c] = 2.5;
  WCStart = 10;
  WCEnd = 20;
  WFStart = 3;
  WFEnd = 4;
  componentStage();
  EXPECT_EQ(WCStart, 1);
  EXPECT_EQ(WCEnd, NoCells);
  EXPECT_EQ(WFStart, 1);
  EXPECT_EQ(WFEnd, NoSurfaces);
  for (int c = 1; c <= NoCells; ++c) ASSERT_NEAR(Ccomp[0][c], 2.5, 1e-12) << c;
}

}  // namespace
