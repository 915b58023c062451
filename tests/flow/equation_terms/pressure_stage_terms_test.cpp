// The flux corrections of block 1 and the surface condition of p' on
// hand-wired columns, and the coefficient traps and dumps of the stages.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "flow/equation_terms/pressure_stage_terms.h"
#include "flow/stages/stage_dumps.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/hand_cells.h"

namespace {

class StageTerms : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    allocateCells(8);
  }
};

// Column 1..n with half-heights 0.5 and cleared centre and bottom coefficients.
void column(int n) {
  stackColumn(1, n);
  for (int c = 1; c <= n; ++c) {
    Ckdist[c] = 0.5;
    Cap[c] = Cab[c] = 0.0;
    Csource[c] = 1.0;
  }
}

TEST_F(StageTerms, SurfaceConditionFixesTheTopCell) {
  column(3);
  FlagPresSurf = 0;
  presSurfFunction(1, 3);
  EXPECT_EQ(Cap[3], 1e20);
  EXPECT_DOUBLE_EQ(Cab[3], 1e20 / 3.0);
  EXPECT_EQ(Cap[2], 0.0);
  // A single-cell column is left alone.
  Ccellt[4] = Ccellb[4] = 0;
  Cap[4] = 2.0;
  presSurfFunction(4, 4);
  EXPECT_EQ(Cap[4], 2.0);
  // Mode -3 hands the top cell's source to the cell below.
  column(3);
  FlagPresSurf = -3;
  presSurfFunction(1, 3);
  EXPECT_EQ(Csource[2], 2.0);
  EXPECT_EQ(Csource[3], 1.0);
}

TEST_F(StageTerms, SurfacePenaltyWalksDownTheColumn) {
  column(5);
  FlagPresSurf = 3;
  CoeffPresSurf = 1.0;
  presSurfFunction(1, 5);
  EXPECT_DOUBLE_EQ(Cab[5], 1.0 / 3.0);
  EXPECT_DOUBLE_EQ(Cab[4], 3.0 / 5.0);
  EXPECT_DOUBLE_EQ(Cab[3], 5.0 / 7.0);
  EXPECT_EQ(Cab[2], 0.0);
  EXPECT_EQ(Cap[3], 1.0);
}

TEST_F(StageTerms, SurfaceHydrostaticPenalty) {
  column(2);
  FlagPresSurf = -2;
  CoeffPresSurf = 2.0;
  Cap[2] = 1.0;
  Cpres[2] = 9810.0 * 0.5;  // r = 1
  presSurfFunction(1, 2);
  EXPECT_DOUBLE_EQ(Cap[2], 3.0);
  EXPECT_DOUBLE_EQ(Cab[2], 3.0 * 2.0 * 0.3333333333);
}

// Block 1 of one line (i = 1) and one column of one cell, east face 1.
void oneLine(double eastFlux) {
  NoBlocks = 1;
  block[1].i1 = 1;
  block[1].i2 = 2;
  block[1].j1 = block[1].j2 = 1;
  zval[1][1][0] = 1.0;
  Ccellt[1] = 0;
  Cflatee[1] = 1;
  setFace(1, {1, 2, 2, 4, 1.0, 0.5, 0.5, eastFlux});
}

TEST_F(StageTerms, LineFluxTowardsTheInflow) {
  DischargeStruct[1].discharge = 1000.0;
  FlagFluxCorr = 1;
  FluxCorrVal = 1.1;
  const double cases[][2] = {{900.0, 990.0}, {950.0, 950.0}, {1200.0, 1200.0 / 1.1}, {0.0, 0.0}};
  for (const auto &c : cases) {
    oneLine(c[0]);
    fluxCorrFunction(block[1].i1, block[1].i2);
    EXPECT_DOUBLE_EQ(Fflux[1], c[1]) << c[0];
  }
}

TEST_F(StageTerms, CoefficientTrapReportsUnwrittenCoefficients) {
  ompbugtrap = 1;
  WCStart = 1;
  WCEnd = 2;
  Iter = 7;
  ompbugtrapFunction(1, 2);
  for (double *a : {Cat, Cab, Caw, Cas, Can}) a[1] = a[2] = 1.0;
  Cae[1] = 1.0;
  computeOmpbugtrap();
  EXPECT_NE(boogie().find("\nError in setting coefficients: Cae[2] = -10.000000 for Iter = 7\n"), std::string::npos)
      << boogie();
  EXPECT_EQ(boogie().find("Cae[1]"), std::string::npos);
  // F 223 2 presets and reports nothing.
  const std::string before = boogie();
  ompbugtrap = 2;
  ompbugtrapFunction(1, 2);
  computeOmpbugtrap();
  EXPECT_EQ(Cab[1], -10.0);
  EXPECT_EQ(boogie(), before);
}

TEST_F(StageTerms, PressureDumpOnlyBeyondTheThresholds) {
  std::vector<double> field(10, 1.0);
  Cf = field.data();
  WCStart = 1;
  WCEnd = 3;
  for (int c = 1; c <= 3; ++c) Cap[c] = 1.0;
  FlagPresDebug = 1;
  const std::string before = boogie();
  printDebug2();
  EXPECT_EQ(boogie(), before);
  field[2] = -2e5;
  printDebug2();
  const std::string log = boogie().substr(before.size());
  EXPECT_EQ(log.rfind("Debug, Pressure-correction, l=2\nCf = -200000.000000, Cap = 1.000000, Csource = ", 0), 0u)
      << log;
  EXPECT_EQ(FlagPresDebug, 99);
}

}  // namespace
