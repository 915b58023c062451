// The two-layer concentration solvers on one water column of one cell (and
// a short column for the solver choice): the fixed-value balance and the
// pick-up source against hand values, the inner iterations that call the
// bed-load vector source, the bed-plane variant's exchange and findSuspFraction.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "sediment/concentration/concentration_solvers.h"
#include "solvers/hand_cells.h"

namespace {

// The column: bottom cell 1 over a bed of 4 m2, fall velocity 0.05 m/s
// through a bed face of 2 m2 (D = 100), outflow coefficient A = 50, a time
// step of 10 s and SolidFrac 0.5: a top layer of h m gives R = 200 h.
class ConcentrationSolvers : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTSC = 3;      // the per-size rows for the several-size routines
    TimeStep = 10.0;  // and the old-time concentrations
    allocateCells(3);
    WCStart = WCEnd = 1;
    WBStart = WBEnd = 1;
    NoBCells = 1;
    Bcellt[1] = 1;
    Cbed[1] = 1;
    Cflateb[1] = 1;
    Faz[1] = 2.0;
    Cvol[1] = 1.0;
    fallvelo[1] = 0.05;
    Barea[1] = 4.0;
    TimeStep = 10.0;
    SolidFrac = 0.5;
    iter_morph = 1;
    Equation = 7;
  }

  // Bed and coefficients of one case: top layer h, base source S, one size.
  static void bed(double h, double S) {
    BSedDistrib[1][0][1] = h;
    BSedDistrib[1][1][1] = 1.0;
    Bconc[1][1] = 0.002;
    Bap[1][1] = 50.0;
    Bsource[1][1] = S;
    Cap[1] = Capm[1][1] = 1.0;
    Csource[1] = Csourcem[1][1] = 0.0;
    Cconc[1][1] = 0.0;
  }
};

using Routine = void (*)();

// Cdep = S/(D + A), Cav = (R + S)/A (S/A under cohesion), Ceq = 0.002:
// the bottom value max(Cdep, min(Cav, Ceq)) is fixed for the next solve.
TEST_F(ConcentrationSolvers, FixedValueBalance) {
  struct Case {
    const char *name;
    double S, h, cohesion, expected;
  };
  const Case cases[] = {
      {"deposition-limited", 2.0, 0.05, 0.0, 2.0 / 150.0},
      {"equilibrium", 0.05, 0.05, 0.0, 0.002},
      {"empty top layer", 0.05, 0.0, 0.0, 0.001},
      {"cohesion above the shear", 0.05, 0.05, 1e6, 0.001},
  };
  const Routine routines[] = {morphology_tsc_solver_tsc1_single, morphology_tsc_solver_tsc1_multiple};
  for (Routine routine : routines) {
    for (const Case &k : cases) {
      SCOPED_TRACE(testing::Message() << k.name << (routine == routines[0] ? ", one size" : ", several"));
      bed(k.h, k.S);
      cohesive[1] = k.cohesion;
      routine();
      EXPECT_NEAR(Cconc[1][1], k.expected, 1e-15);
      const double *ap = routine == routines[0] ? Cap : Capm[1];
      const double *source = routine == routines[0] ? Csource : Csourcem[1];
      EXPECT_EQ(ap[1], 1e30);
      EXPECT_DOUBLE_EQ(source[1], 1e30 * k.expected);
    }
  }
}

// E = min(R + Cn·D, D·Ceq): with Cn = 0, min(10, 0.2) = 0.2; a top layer of
// 0.00025 m gives R = 0.05, the supply limit. The source of the bottom cell
// is the base source plus E, and the last inner iteration leaves E in Bsource.
TEST_F(ConcentrationSolvers, ErosionSource) {
  struct Case {
    double h, expected;
  };
  const Routine routines[] = {morphology_tsc_solver_tsc2_single, morphology_tsc_solver_tsc2_multiple};
  for (Routine routine : routines) {
    for (const Case &k : {Case{0.05, 0.2}, Case{0.00025, 0.05}}) {
      SCOPED_TRACE(testing::Message() << "h " << k.h << (routine == routines[0] ? ", one size" : ", several"));
      bed(k.h, 1.5);
      Cap[1] = Capm[1][1] = 1e30;  // the solve keeps the bottom value
      routine();
      EXPECT_NEAR(routine == routines[0] ? Csource[1] : Csourcem[1][1], 1.5 + k.expected, 1e-12);
      EXPECT_NEAR(Bsource[1][1], k.expected, 1e-12);
    }
  }
}

// No inner iterations: nothing is solved and no bed cell touched, but the
// several-size source routine still adds the settling to the diagonal.
TEST_F(ConcentrationSolvers, NoInnerIterations) {
  iter_morph = 0;
  bed(0.05, 1.5);
  Cconc[1][1] = 0.25;
  morphology_tsc_solver_tsc1_single();
  morphology_tsc_solver_tsc2_single();
  EXPECT_EQ(Cconc[1][1], 0.25);
  EXPECT_EQ(Bsource[1][1], 1.5);
  FlagFracVer0 = 1;
  morphology_tsc_solver_tsc2_multiple();
  EXPECT_DOUBLE_EQ(Capm[1][1], 1.0 + 100.0);
  EXPECT_EQ(Cconc[1][1], 0.25);
}

std::vector<std::string> bedVectorCalls;
void recordBedVectorCall(int l) { bedVectorCalls.push_back(std::to_string(l) + ":" + mc_message); }

// F 78 1 calls the bed-load vector source in inner iteration 1, F 78 3 in
// iteration iter_morph/2 (here 2 of 0..3); the status text tells which.
TEST_F(ConcentrationSolvers, BedLoadVectorIterations) {
  bedVectorSourceCall = recordBedVectorCall;
  iter_morph = 4;
  struct Case {
    int flag;
    Routine routine;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {1, morphology_tsc_solver_tsc1_multiple, {"1:Iter, 1   "}},
      {3, morphology_tsc_solver_tsc1_multiple, {"1:Iter, 2   "}},
      {3, morphology_tsc_solver_tsc2_single, {"1:Iter, 2   "}},
      {1, morphology_tsc_solver_tsc2_single, {}},
      {3, morphology_tsc_solver_tsc2_multiple, {"1: Sediment iter 2         "}},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.flag);
    bed(0.05, 0.0);
    BedLoadVectorFlag = k.flag;
    bedVectorCalls.clear();
    k.routine();
    EXPECT_EQ(bedVectorCalls, k.expected);
  }
}

// The bed-plane variant: H = Cvol·1000/dt = 100, Capm = H + A = 150, K = 50;
// the exchange X = min(V K, (Ceq - C) K) drives the bottom cell. After the
// last solve Bsource holds X plus the settling C·D of the solved value, so
// the bed, which books the settling less Bsource, loses exactly X.
TEST_F(ConcentrationSolvers, BedPlaneExchangeReachesTheBed) {
  iter_morph = 2;
  bed(0.05, 0.0);
  Cconc_old[1][1] = 0.0;
  morphology_tsc_solver_tsc2_multiple_v2();
  // Iteration 0: X = min(1.25, 0.1) = 0.1, C = 0.1/150; iteration 1 from it.
  const double first = 0.1 / 150.0;
  const double X = (0.002 - first) * 50.0;
  const double C = X / 150.0;
  EXPECT_NEAR(Cconc[1][1], C, 1e-15);
  EXPECT_NEAR(Bsource[1][1], X + C * 100.0, 1e-12);
  EXPECT_NEAR(Cconc[1][1] * 100.0 - Bsource[1][1], -X, 1e-12);
}

TEST_F(ConcentrationSolvers, SuspendedFraction) {
  Bconc[1][1] = 0.002;
  struct Case {
    double conc, expected;
  };
  for (const Case &k : {Case{0.001, 2.0}, Case{0.00002, 1.0}, Case{0.003, 1.0}}) {
    Cconc[1][1] = k.conc;
    EXPECT_DOUBLE_EQ(findSuspFraction(1), k.expected) << k.conc;
  }
}

// With F 170 1 and no threads the dispatcher would hand the solve to the fast
// driver's five-row solver; the sediment takes the point solver instead.
TEST_F(ConcentrationSolvers, FastDriverSettingSolvesTheSame) {
  stackColumn(1, 3);
  WCEnd = 3;
  std::vector<double> fields[2];
  for (int fast : {0, 1}) {
    FlagFastWatersolve = fast;
    bed(0.05, 0.0);
    for (int c = 1; c <= 3; ++c) {
      Cat[c] = Ccellt[c] ? 1.0 : 0.0;
      Cab[c] = Ccellb[c] ? 1.0 : 0.0;
      Cap[c] = Cat[c] + Cab[c] + 0.5;
      Csource[c] = 0.1 * c;
      Cconc[1][c] = 0.0;
    }
    iter_morph = 3;
    morphology_tsc_solver_tsc2_single();
    fields[fast].assign(Cconc[1] + 1, Cconc[1] + 4);
    EXPECT_GT(fields[fast][2], 0.0);
  }
  EXPECT_EQ(fields[0], fields[1]);
  FlagFastWatersolve = 0;
}

}  // namespace

namespace {

// F 253 1 with several sizes ends the run wherever solver2 would take the
// exchange; the bed-plane variant, the bed-load vector rows and one size go on.
TEST_F(ConcentrationSolvers, ImplicitExchangeRefused) {
  FlagImplicitSedim = 1;
  struct Case {
    int sizes, tsc, fracVer0, bedVector;
    bool refused;
  };
  const Case cases[] = {
      {2, 1, 0, 0, true},  {2, 2, 0, 0, true},  {2, 3, 0, 0, true},   {2, 2, 2, 0, false},
      {2, 2, 0, 5, false}, {2, 3, 0, 9, false}, {1, 2, 0, 0, false},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(testing::Message() << "sizes " << k.sizes << ", F 37 " << k.tsc << ", F 303 " << k.fracVer0
                                    << ", F 78 " << k.bedVector);
    lnumber = k.sizes;
    FlagTSC = k.tsc;
    FlagFracVer0 = k.fracVer0;
    BedLoadVectorFlag = k.bedVector;
    if (k.refused) {
      EXPECT_EXIT(checkImplicitExchange(), ::testing::ExitedWithCode(251), "");
      const std::string expected = "Error: F 253 1 can not be combined with F 37 " + std::to_string(k.tsc) + "\n";
      const std::string log = readFile("boogie");
      EXPECT_EQ(log.substr(log.size() - std::min(log.size(), expected.size())), expected);
    } else {
      checkImplicitExchange();
    }
  }
  lnumber = 1;
}

}  // namespace
