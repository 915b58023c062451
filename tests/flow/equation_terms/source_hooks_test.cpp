// The source hooks of the flow stages on hand-built columns: gravity on the
// momentum sources, the bed-form and roughness-layer drag on the centre
// coefficients, the Froude-number pressure and the seiche flux rebuilds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "flow/equation_terms/stage_routines.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"

namespace {

class SourceHooks : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    allocateCells(4);
    stackColumn(1, 3);
  }

  // Cells 1..3 one column (bottom to top) of 1, 2 and 3 m3, cell 4 a column
  // of its own of 4 m3, every source 0.
  static void columnAndSingleCell() {
    const double volumes[] = {0.0, 1.0, 2.0, 3.0, 4.0};
    for (int c = 1; c <= 4; ++c) {
      Cvol[c] = volumes[c];
      Csource[c] = 0.0;
    }
  }
};

// The weight of the water on W by F 181, bottom, middle and top of the
// three-cell column and the single cell.
TEST_F(SourceHooks, GravityWeightOnW) {
  struct Case {
    int flag;
    double expected[5];
  };
  const Case cases[] = {
      {1, {0.0, -4905.0 * 3, -9810.0 * 2, -4905.0 * 5, -9810.0 * 4}},
      {2, {0.0, -9810.0 * 1, -9810.0 * 2, -9810.0 * 3, -9810.0 * 4}},
      {3, {0.0, -4905.0 * 3, -2452.5 * 8, -4905.0 * 5, -9810.0 * 4}},
      {4, {0.0, 0.0, 0.0, 0.0, 0.0}},
  };
  for (const Case &k : cases) {
    columnAndSingleCell();
    FlagGravity = k.flag;
    Equation = 3;
    GravityFunction(3, 1, 4);
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], k.expected[c]) << "F 181 " << k.flag << ", cell " << c;
  }
}

// F 181 4 drives U along a fixed slope (F 505); V and W get nothing from it,
// nor from the weight of F 181 1.
TEST_F(SourceHooks, GravityAlongTheSlopeOnUOnly) {
  for (int eq : {1, 2, 3}) {
    columnAndSingleCell();
    FlagGravity = 4;
    GravitySlope = 0.015;
    Equation = eq;
    GravityFunction(eq, 1, 4);
    for (int c = 1; c <= 4; ++c) {
      EXPECT_EQ(Csource[c], eq == 1 ? 9810.0 * 0.015 * Cvol[c] : 0.0) << "equation " << eq << ", cell " << c;
    }
  }
  columnAndSingleCell();
  FlagGravity = 1;
  Equation = 1;
  GravityFunction(1, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

// F 135: the normal of the top face tilts the column; every cell gets its
// volume times 9810 times the normal's component, and W nothing from it.
TEST_F(SourceHooks, GravitySurfaceSlope) {
  columnAndSingleCell();
  setFace(1, {3, 0, 6, 0, 1.0, 0.5, 0.0, 0.0});
  setFace(2, {4, 0, 6, 0, 1.0, 0.5, 0.0, 0.0});
  Cflatet[3] = 1;
  Cflatet[4] = 2;
  Fvx[1] = 0.001;
  Fvy[1] = -0.002;
  Fvx[2] = 0.0;
  Fvy[2] = 0.003;
  FlagGravityTerm = 1;
  FlagGravity = 0;
  GravityFunction(1, 1, 4);
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Csource[c], 9.81 * Cvol[c]);
  EXPECT_EQ(Csource[4], 0.0);
  columnAndSingleCell();
  GravityFunction(2, 1, 4);
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Csource[c], -19.62 * Cvol[c]);
  EXPECT_DOUBLE_EQ(Csource[4], 29.43 * 4.0);
  columnAndSingleCell();
  GravityFunction(3, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

// A slide-layer mode that is not computing leaves the sources alone.
TEST_F(SourceHooks, GravityWaitsForTheSlideLayer) {
  columnAndSingleCell();
  FlagGravity = 1;
  FlagThixo = 1;
  FlagThixoIsComputing = 0;
  GravityFunction(3, 1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0);
}

}  // namespace

namespace {

// Roughness 1 m over the column of cells 1..3 (0.2 m halves): centres at
// 0.2, 0.6 and 1.0 m, the first above R being none (1.0 is not above 1), so
// U_R = 0; the bottom and middle cells get drag, the top cell never; the
// single cell 4 gets none.
TEST_F(SourceHooks, RoughnessLayerSpareTopAndSingleCells) {
  columnAndSingleCell();
  for (int c = 1; c <= 4; ++c) {
    Ckdist[c] = 0.2, Croughness[c] = 1.0, Cxvel[c] = 0.6, Cyvel[c] = 0.8, Cap[c] = 0.0;
  }
  ParamTramel = 0.5;
  computeTramel(1, 4);
  EXPECT_DOUBLE_EQ(Cap[1], 0.5 * 1.0 * 1000.0 * 1.0);
  EXPECT_DOUBLE_EQ(Cap[2], 0.5 * 2.0 * 1000.0 * 1.0);
  EXPECT_EQ(Cap[3], 0.0);
  EXPECT_EQ(Cap[4], 0.0);
  // A two-cell column: only its bottom cell is braked; with the roughness
  // below the bottom centre nothing at all.
  Ccellt[2] = 0, Ccellb[3] = 0;
  for (int c = 1; c <= 4; ++c) Cap[c] = 0.0;
  computeTramel(1, 4);
  EXPECT_GT(Cap[1], 0.0);
  EXPECT_EQ(Cap[2], 0.0);
  for (int c = 1; c <= 4; ++c) Croughness[c] = 0.1, Cap[c] = 0.0;
  computeTramel(1, 4);
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Cap[c], 0.0);
}

// Dune drag: nothing without bed forms; with them every cell of a column
// gets ks^0.333 * mean speed * 14.5118... / n.
TEST_F(SourceHooks, DuneDragByTheColumnMeanSpeed) {
  columnAndSingleCell();
  NoBlocks = 1;
  block[1].FirstCell = 1, block[1].LastCell = 4;
  const int bed[5] = {0, 1, 1, 1, 2};
  for (int c = 1; c <= 4; ++c) Cbed[c] = bed[c], Ckdist[c] = 0.5, Cxvel[c] = c, Cyvel[c] = 0.0, Cap[c] = 1.0;
  Bedformheight[1] = Bedformheight[2] = 0.0;
  computeDragDune();
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Cap[c], 1.0);
  Bedformheight[1] = 0.2;
  computeDragDune();
  const double ks = 1.1 * 0.2 * (1.0 - std::exp(-25.0 * 0.2 / (7.3 * 3.0)));
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Cap[c], 1.0 + std::pow(ks, 0.333) * 2.0 * 14.511834319526628 / 3);
  EXPECT_EQ(Cap[4], 1.0);
}

// Seiche mode 3 on a balanced column: the bed flux is 0, the faces between
// the cells carry the defects summed from the top, w follows the fluxes.
TEST_F(SourceHooks, SeicheRebuildOfABalancedColumn) {
  columnAndSingleCell();
  WCStart = 1, WCEnd = 3;
  // faces: 1 bed of cell 1, 2 between 1 and 2, 3 between 2 and 3, 4 top of 3
  for (int f = 1; f <= 4; ++f) setFace(f, {0, 0, 6, 5, 2.0, 0.5, 0.5, 9.0});
  for (int c = 1; c <= 3; ++c) Cflateb[c] = c, Cflatet[c] = c + 1;
  Csource[1] = 1.0, Csource[2] = 2.0, Csource[3] = -3.0;
  Seiche4 = 3;
  SeicheFunctions();
  EXPECT_EQ(Fflux[1], 0.0);
  EXPECT_EQ(Fflux[3], 3.0);
  EXPECT_EQ(Fflux[2], 1.0);
  EXPECT_DOUBLE_EQ(Czvel[2], 0.0005 * (1.0 + 3.0) / 2.0);
}

// The Froude hook leaves a subcritical column alone and evens out a
// supercritical one; outside the sediment loop it only warns.
TEST_F(SourceHooks, FroudeHookEvensOnlySupercriticalColumns) {
  columnAndSingleCell();
  double correction[5] = {0.0, 1.0, 2.0, 6.0, 7.0};
  Cf = correction;
  Bnocells[1] = 3, Bcellt[1] = 1;
  for (int c = 1; c <= 3; ++c) Ckdist[c] = 0.1, Cyvel[c] = 0.0, Cpres[c] = 100.0 * c;
  for (double u : {1.0, 3.0}) {
    for (int c = 1; c <= 3; ++c) Cxvel[c] = u;  // 9.81 * 0.6 = 5.886 against u^2
    WBStart = 1, WBEnd = 1;
    FroudeHystatFunction();
    EXPECT_DOUBLE_EQ(Cpres[1], u > 2.0 ? 200.0 : 100.0) << u;
    EXPECT_DOUBLE_EQ(correction[3], u > 2.0 ? 3.0 : 6.0) << u;
  }
  WBStart = 0, WBEnd = 0;
  FroudeHystatFunction();
  EXPECT_NE(boogie().find("Warning: F 93 acts only in the sediment time loop (letter S)\n"), std::string::npos);
}

}  // namespace
