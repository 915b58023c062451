// The nested block of cases/nested in the equations: its border cells take
// their inflow from the parent cells, the pressure correction balances the
// block's border fluxes by F 280, and the parent cells take the fine cells'
// values and sources by F 261.
#include <gtest/gtest.h>

#include <ostream>

#include "grid/grid_fixture.h"
#include "grid/nested_grid.h"
#include "grid/blocks/nested_sources.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "support/run_case.h"

namespace {

// Border face of the fine block: 0.5 m wide, 1/9 m high.
constexpr double kBorderArea = 0.5 / 9.0;
// The bottom cells of the four fine columns over coarse column (4, 3).
constexpr int kFineOver109[4] = {361, 370, 397, 406};
// Bottom cells of fine columns on the west (i = 2) and east (i = 5) border.
constexpr int kWestCell = 361, kEastCell = 388;

void setVelocity(int first, int last, double u) {
  for (int c = first; c <= last; ++c) {
    Cxvel[c] = u;
    Cyvel[c] = Czvel[c] = 0.0;
  }
}

void clearCoefficients() {
  for (int c = 0; c <= NoCells; ++c) Cap[c] = Csource[c] = 0.0;
}

class NestedSources : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    generateNested();
    clearCoefficients();
  }
};

TEST_F(NestedSources, BorderCellsTakeTheParentInflow) {
  setVelocity(1, NoCells, 0.5);
  Equation = 1;
  nestsource();
  const int west = entryOf(kWestCell, Cflatew[kWestCell]);
  ASSERT_GT(west, 0);
  EXPECT_NEAR(Nflux[west], 0.5 * kBorderArea, 1e-9);
  EXPECT_NEAR(Nflux[west], 0.0277778, 1e-7);
  EXPECT_NEAR(Cap[kWestCell], 27.7778, 1e-4);
  EXPECT_NEAR(Csource[kWestCell], 13.8889, 1e-4);
  // East border: the face has no Fcell2, so u·A is turned: an outflow, no source.
  const int east = entryOf(kEastCell, Cflatee[kEastCell]);
  ASSERT_GT(east, 0);
  EXPECT_NEAR(Nflux[east], -0.5 * kBorderArea, 1e-9);
  EXPECT_EQ(Cap[kEastCell], 0.0);
  EXPECT_EQ(Csource[kEastCell], 0.0);
  // V reuses the weights of U: the inflow takes the parents' v (0).
  clearCoefficients();
  Equation = 2;
  nestsource();
  EXPECT_NEAR(Cap[kWestCell], 27.7778, 1e-4);
  EXPECT_EQ(Csource[kWestCell], 0.0);
}

// Sediment of one size takes the parents' concentration; F 126 adds nothing.
TEST_F(NestedSources, SedimentAndSwitchedOff) {
  setVelocity(1, NoCells, 0.5);
  for (int c = 1; c <= NoCells; ++c) Cconc[1][c] = 3.0;
  Equation = 1;
  nestsource();
  clearCoefficients();
  FlagTSC = 1;
  Equation = 7;
  nestsource();
  EXPECT_NEAR(Csource[kWestCell], 3.0 * 27.7778, 1e-3);
  clearCoefficients();
  FlagNestDLL = 1;
  Equation = 1;
  nestsource();
  EXPECT_EQ(Cap[kWestCell], 0.0);
}

TEST_F(NestedSources, PressureCorrectionBalancesTheBlock) {
  setVelocity(1, NoCells, 0.5);
  Equation = 4;
  nestsource();
  double in = 0.0, out = 0.0;
  for (int n = 1; n <= NoNestflater; ++n) (Nflux[n] > 0.0 ? in : out) += Nflux[n];
  EXPECT_NEAR(in, 1.0, 1e-12);
  EXPECT_NEAR(out, -1.0, 1e-12);
  EXPECT_NEAR(Csource[kWestCell], 27.7778, 1e-4);
  EXPECT_NEAR(Csource[kEastCell], -27.7778, 1e-4);
  EXPECT_EQ(Csource[kWestCell + 9], 0.0);  // a cell inside: no border
}

// The variants of F 280 on a block of level 2, its cells flowing west at
// 0.2 m/s while the parents flow east at 0.5 m/s: the parents push water in
// through the west border (own flux -0.2 A) and draw it out through the east
// border (own flux +0.2 A).
struct FluxVariant {
  const char *name;
  int variant;
  double west, east;  // pressure-correction source of a west and an east border cell, kg/s
  friend void PrintTo(const FluxVariant &v, std::ostream *os) { *os << v.name; }
};

class NestedFluxVariants : public GridFixture, public ::testing::WithParamInterface<FluxVariant> {};

TEST_P(NestedFluxVariants, SourcesOfTheBorderCells) {
  const FluxVariant v = GetParam();
  generateNested();
  clearCoefficients();
  block[2].NestLevel = 2;
  FlagNestFluxInterpol = v.variant;
  DischargeArray[1] = 0.0;
  setVelocity(1, 360, 0.5);
  setVelocity(361, NoCells, -0.2);
  Equation = 4;
  nestsource();
  EXPECT_NEAR(Csource[kWestCell], v.west, 1e-3);
  EXPECT_NEAR(Csource[kEastCell], v.east, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    F280, NestedFluxVariants,
    ::testing::Values(
        // Mean of the own and the parents' flux, outflow equal to inflow.
        FluxVariant{"Blend", 0, 8.3333, -8.3333},
        // Parents' inflow kept (1 m3/s), the blended outflow (0.3) scaled up to it.
        FluxVariant{"KeepInflow", 1, 27.7778, -27.7778},
        // Own outflow at the west border: no inflow left, so no outflow either.
        FluxVariant{"OwnOutflow", 2, 0.0, 0.0},
        // Only faces of own inflow change; outflow scaled by the empty inflow.
        FluxVariant{"InflowOnly", 3, 27.7778, 0.0},
        FluxVariant{"Unknown", 5, 27.7778, 0.0}),
    [](const ::testing::TestParamInfo<FluxVariant> &i) { return i.param.name; });

class NestedCoupling : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    generateNested();
  }
};

// With R = 1 a covered parent cell takes the volume-weighted mean of its
// fine cells; half covered it moves half way; the others keep their value.
TEST_F(NestedCoupling, ParentsTakeTheFineMean) {
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = c > 360 ? 2.0 : 0.0;
  Cf = Cxvel;
  CoupledSolverNesting();
  int covered = 0;
  for (int c = 1; c <= 360; ++c) {
    if (Cxvel[c] == 2.0) ++covered;
    else ASSERT_EQ(Cxvel[c], 0.0) << "cell " << c;
  }
  EXPECT_EQ(covered, 36);
  // Half the fine cells of parent 109 lose their parent.
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = c > 360 ? 2.0 : 0.0;
  Cinterpolnest[kFineOver109[0]] = Cinterpolnest[kFineOver109[1]] = 0;
  CoupledSolverNesting();
  EXPECT_NEAR(Cxvel[109], 1.0, 1e-12);
  // R = 0.5 moves a covered parent half way to its fine mean.
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = c > 360 ? 2.0 : 0.0;
  RelaxCoupledNesting = 0.5;
  CoupledSolverNesting();
  EXPECT_NEAR(Cxvel[110], 1.0, 1e-12);
}

// The coefficient coupling before a solve, by F 261, on parent cell 109
// whose four bottom fine cells hold 2 (Cap 1 and source 0 everywhere).
struct CouplingVariant {
  const char *name;
  int variant, parentLevel;
  double ap, source;  // of cell 109 afterwards
  friend void PrintTo(const CouplingVariant &v, std::ostream *os) { *os << v.name; }
};

class NestedCouplingVariants : public GridFixture, public ::testing::WithParamInterface<CouplingVariant> {};

TEST_P(NestedCouplingVariants, ParentCoefficients) {
  const CouplingVariant v = GetParam();
  generateNested([] {}, "F 261 18 0.5\n");
  FlagCoupledNesting = v.variant;
  block[2].NestLevel = v.parentLevel + 1;
  nestlevmax = v.parentLevel + 1;
  for (int c = 1; c <= NoCells; ++c) {
    Cap[c] = 1.0;
    Csource[c] = c > 360 ? 1.0 : 0.0;
    Cxvel[c] = c > 360 ? 2.0 : 0.0;
  }
  Csource[109] = 8.0;
  Cf = Cxvel;
  if (v.variant == 18) {
    const int west = entryOf(361, Cflatew[361]);
    Nweight[west][0] = -1.0;  // marks the entry whose first parent (cell 100) is drawn to it
    CoupledSolver2Nesting();
    EXPECT_NEAR(Csource[100], 1.0, 1e-12);
    return;
  }
  CoupledSolver2Nesting();
  EXPECT_NEAR(Cap[109], v.ap, 1e-9);
  EXPECT_NEAR(Csource[109], v.source, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(
    F261, NestedCouplingVariants,
    ::testing::Values(
        // Each fine cell adds its volume share of the grown coefficient:
        // a = 1/4 of Cap, four times: Cap 1.25^4, source sum(a) * 2 * 0.5.
        CouplingVariant{"VolumeShares", 16, 0, 2.44140625, 8.0 + 1.44140625},
        // Only blocks above level 1: none here.
        CouplingVariant{"DeeperLevelsOnly", 17, 0, 1.0, 8.0},
        // Cap / (1 - R) per fine cell: 2, 4, 8, 16; source + 2 * 0.5 * Cap.
        CouplingVariant{"Default", 1, 0, 16.0, 8.0 + 30.0},
        CouplingVariant{"BorderMeans", 18, 0, 0.0, 0.0},
        // Level-2 sources move to the level-0 cell under them: the covered
        // parent keeps none of its own and gathers 4 x 1.
        CouplingVariant{"SourcesDown", 19, 1, 1.0, 4.0}),
    [](const ::testing::TestParamInfo<CouplingVariant> &i) { return i.param.name; });

// The default variant divides by 1 - R: R = 1 is refused on the first call.
TEST_F(NestedCoupling, RelaxationOfOneIsRefused) {
  ASSERT_EQ(RelaxCoupledNesting, 1.0);
  Cf = Cxvel;
  EXPECT_EXIT(CoupledSolver2Nesting(), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(boogie(), "Error: F 261 1 needs a relaxation below 1, now 1.000000\n")) << boogie();
}

}  // namespace
