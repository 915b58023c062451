// Column interpolation and cell gradients: the column3 values, the pressure
// above a top cell, linear fields on the channel through every routine, the
// fallback to the bottom cell's neighbours and the hydrostatic blends of F 355.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "grid/column_grid.h"
#include "grid/geometry/gradients.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

using Gradients = GridFixture;

// Cells centred at 0.5, 1.5 and 2.5 m, half heights 0.5 m, values 10, 20, 30.
TEST_F(Gradients, ColumnInterpolation) {
  buildCaseByHand(CaseGrid::Column3);
  metric();
  BedMake();
  ASSERT_DOUBLE_EQ(Czcenter[3], 2.5);
  std::vector<double> f = {0.0, 10.0, 20.0, 30.0};
  struct Row {
    int from;
    double z, value;
  };
  const Row rows[] = {
      {3, 1.0, 15.0},   // between the two lower cells
      {3, 2.5, 30.0},   // at the centre of the start cell
      {1, 3.0, 35.0},   // above the top centre, extrapolated from the two upper cells
      {3, 3.0, 30.0},   // no cell above the start cell: its own value
      {1, 0.2, 10.0},   // no cell below the start cell
      {3, 0.0, 5.0},    // below the bottom centre, extrapolated
      {2, 2.0, 25.0},
  };
  for (const Row &r : rows) EXPECT_DOUBLE_EQ(interpolatevaluez(f.data(), r.from, r.z), r.value) << r.from << " " << r.z;
  EXPECT_DOUBLE_EQ(interpolatevalue(f.data(), 2, 3), 20.0);
  EXPECT_DOUBLE_EQ(interpolatevalue(f.data(), 3, 1), 30.0);
}

// The pressure above the centre of a top cell falls linearly to 0 at its top;
// between cells it is interpolated through the links, and a walk that ends
// at the top cell extrapolates like any other field.
TEST_F(Gradients, PressureAboveTheTopCell) {
  buildCaseByHand(CaseGrid::Column3);
  metric();
  const int probe = NoCells + 1;  // a cell that only carries a level
  for (int c = 1; c <= 3; ++c) Cpres[c] = 10.0 * c;
  struct Row {
    int from;
    double z, value;
  };
  const Row rows[] = {{3, 2.75, 15.0}, {3, 3.0, 0.0}, {3, 3.5, 0.0}, {1, 2.75, 32.5},
                      {3, 1.0, 15.0},  {3, 0.0, 5.0}, {1, 2.0, 25.0}, {2, 1.5, 20.0}};
  for (const Row &r : rows) {
    Czcenter[probe] = r.z;
    EXPECT_DOUBLE_EQ(interpolatePres(probe, r.from), r.value) << r.from << " " << r.z;
  }
}

// Linear fields on the channel's unit columns of 1/9 m cells: every routine
// gives the same value in every cell, at the ends and the bed included.
struct LinearCase {
  const char *name;
  double (*routine)(const double *, int, int);
  double *const *field;
  int direction;
  double value;
  friend void PrintTo(const LinearCase &c, std::ostream *os) { *os << c.name; }
};

class LinearFields : public GridFixture, public ::testing::WithParamInterface<LinearCase> {};

TEST_P(LinearFields, SameInEveryCell) {
  const LinearCase &c = GetParam();
  buildCaseByHand(CaseGrid::Channel);
  metric();
  BedMake();
  for (int cell = 1; cell <= NoCells; ++cell) {
    EXPECT_NEAR(c.routine(*c.field, c.direction, cell), c.value, 1e-12) << "cell " << cell;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Channel, LinearFields,
    ::testing::Values(LinearCase{"dxOfX", d_dx_orth_x, &Cxcenter, 1, 1.0},
                      LinearCase{"dyOfX", d_dx_orth_x, &Cxcenter, 2, 0.0},
                      LinearCase{"dyOfY", d_dx_orth_x, &Cycenter, 2, 1.0},
                      LinearCase{"dzOfZ", d_dx_orth_x, &Czcenter, 3, 1.0},
                      LinearCase{"DirectionFour", d_dx_orth_x, &Czcenter, 4, 0.0},
                      LinearCase{"NormalsOfX", d_di_orth_x, &Cxcenter, 1, 1.0},
                      LinearCase{"NormalsOfZ", d_di_orth_x, &Czcenter, 3, 1.0 / 9},
                      LinearCase{"NormalsDirectionZero", d_di_orth_x, &Cxcenter, 0, 0.0},
                      LinearCase{"AreasOfX", d_di_orth_xA, &Cxcenter, 1, 1.0 / 9},
                      LinearCase{"AreasOfY", d_di_orth_xA, &Cycenter, 2, 1.0 / 9},
                      LinearCase{"AreasOfZ", d_di_orth_xA, &Czcenter, 3, 1.0 / 9},
                      LinearCase{"PlainAreasOfX", d_diA, &Cxcenter, 1, 1.0 / 9},
                      LinearCase{"PlainAreasOfZ", d_diA, &Czcenter, 3, 1.0 / 9},
                      LinearCase{"PlainDxOfX", d_dx, &Cxcenter, 1, 1.0},
                      LinearCase{"PlainDzOfZ", d_dx, &Czcenter, 3, 1.0},
                      LinearCase{"FullDxOfX", d_dxg, &Cxcenter, 1, 1.0},
                      LinearCase{"FullDyOfY", d_dxg, &Cycenter, 2, 1.0},
                      LinearCase{"FullDzOfZ", d_dxg, &Czcenter, 3, 1.0},
                      LinearCase{"FullDirectionFour", d_dxg, &Cxcenter, 4, 0.0}),
    [](const auto &info) { return std::string(info.param.name); });

// A lone cell has no difference along i; with one neighbour the one-sided
// difference counts whole.
TEST_F(Gradients, OneSidedDifferencesAreNotHalved) {
  allocate(8, 6, 4);
  flatGrid(1, 3, 1, 2, 1.0);
  addBlock(2, 3, 2, 2);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) setLineLevels(i, j, {0.0, 1.0});
  }
  setColumnCells(1, 1);
  buildBlocks();
  metric();
  BedMake();
  EXPECT_DOUBLE_EQ(d_di_orth_x(Cxcenter, 1, 1), 1.0);
  EXPECT_DOUBLE_EQ(d_di_orth_x(Cxcenter, 1, 2), 1.0);
  Ccelle[1] = 0;  // cut the pair apart
  Ccellw[2] = 0;
  EXPECT_EQ(d_di_orth_x(Cxcenter, 1, 1), 0.0);
  EXPECT_EQ(d_dx_orth_x(Cxcenter, 1, 2), 0.0);
}

// Two blocks joined by F 64 11: the west column has cells 1-3 (1 m each), the
// east column cells 4 (0..1 m) and 5 (1..3 m); the pairs are 3-5 and 1-4, so
// cell 2 has no east neighbour while its bottom cell has.
class JoinedColumns : public GridFixture {
 protected:
  void build() {
    allocate(6, 4, 5);
    addBlock(2, 2, 2, 2);
    addBlock(4, 4, 2, 2);
    for (int j = 1; j <= 2; ++j) {
      for (int i = 1; i <= 4; ++i) {
        xval[i][j] = i <= 2 ? i - 1 : i - 2;
        yval[i][j] = j - 1;
        setLineLevels(i, j, i <= 2 ? std::vector<double>{0, 1, 2, 3} : std::vector<double>{0, 1, 3});
      }
    }
    ant[2][2] = 3;
    ant[4][2] = 2;
    buildBlocks();
    UMethod = 11;
    ASSERT_EQ(connectBlockSides(), 0);
    metric();
    BedMake();
    ASSERT_EQ(Ccelle[2], 0);
    ASSERT_EQ(Ccelle[1], 4);
    ASSERT_EQ(Ccelle[3], 5);
  }
};

// The missing east side of cell 2 is taken from its bottom cell: the east
// column brought to the level of cell 2.
TEST_F(JoinedColumns, MissingSideFromTheBottomCell) {
  build();
  EXPECT_DOUBLE_EQ(d_dx_orth_x(Cxcenter, 1, 2), 1.0);
  EXPECT_NEAR(d_di_orth_x(Czcenter, 1, 2), 0.0, 1e-14);
  std::vector<double> f = {0, 1, 2, 3, 10, 40};
  // East column at 1.5 m: from 10 (0.5 m) two thirds of the way to 40 (2 m).
  EXPECT_NEAR(d_di_orth_x(f.data(), 1, 2), 30.0 - 2.0, 1e-12);
}

// The pressure routine takes the cell above the bottom cell's neighbour, and
// nothing when that neighbour stands alone in its column; the plain variant
// takes no substitute at all.
TEST_F(JoinedColumns, PressureTakesTheCellAboveTheBottomNeighbour) {
  build();
  for (int c = 1; c <= 5; ++c) Cpres[c] = 100.0 * c;
  // Cell 5 at the level of cell 2 (1.5 m): 400 + (500 - 400)·(1.5 - 0.5)/1.5.
  const double east = 400.0 + 100.0 * 2.0 / 3.0;
  EXPECT_NEAR(d_di_orth_Pres(1, 2), east - 200.0, 1e-10);
  EXPECT_EQ(d_di_orth_Pres2(1, 2), 0.0);
  // The vertical force: the central difference times the top face.
  EXPECT_NEAR(d_di_orth_Pres(3, 2), 100.0, 1e-10);
  Ccellt[4] = 0;
  EXPECT_EQ(d_di_orth_Pres(1, 2), 0.0);
  EXPECT_EQ(d_di_orth_Pres(7, 2), 0.0);
}

// Three columns of two 1 m cells in a row: cells 1-2 west, 3-4 centre, 5-6
// east. The east column stands 0.25 m higher (its centres are moved by
// hand), so its pressure at the level of cell 4 differs from its own value.
class Blends : public GridFixture {
 protected:
  void build() {
    allocate(8, 6, 4);
    flatGrid(1, 4, 1, 2, 2.0);
    addBlock(2, 4, 2, 2);
    for (int i = 1; i <= 4; ++i) {
      for (int j = 1; j <= 2; ++j) setLineLevels(i, j, {0.0, 1.0, 2.0});
    }
    setColumnCells(1, 2);
    buildBlocks();
    metric();
    BedMake();
    Czcenter[5] = 0.75;
    Czcenter[6] = 1.75;
    const double p[7] = {0, 15000, 5000, 15000, 5000, 14000, 4000};
    for (int c = 1; c <= 6; ++c) Cpres[c] = p[c];
    // A tilted top face of cell 4, set by hand: its normal's x component and
    // an x area that carries the vertical difference into the x force.
    Fax[Cflatet[4]] = 0.2;
  }
};

struct BlendCase {
  const char *name;
  double (*routine)(int, int);
  int flag;
  double nx;
  double forceX, forceZ;
  friend void PrintTo(const BlendCase &c, std::ostream *os) { *os << c.name; }
};

class BlendRows : public Blends, public ::testing::WithParamInterface<BlendCase> {};

// For cell 4: interpolated difference DI = 6500 - 5000 = 1500, difference
// along the line DP = 4000 - 5000 = -1000, vertical Dk = 5000 - 15000; the
// bed slope 0.25 over four half widths gives a = (0.5 - 0.125)/0.5 = 0.75.
// Force in x: Di + 0.1 Dk; in z: Dk.
TEST_P(BlendRows, ForcesOnTheCentreTopCell) {
  const BlendCase &c = GetParam();
  build();
  FlagPresSource = c.flag;
  Fvx[Cflatet[4]] = c.nx;
  EXPECT_NEAR(c.routine(1, 4), c.forceX, 1e-9);
  EXPECT_NEAR(c.routine(3, 4), c.forceZ, 1e-9);
  EXPECT_EQ(c.routine(0, 4), 0.0);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, BlendRows,
    ::testing::Values(BlendCase{"SlopeBlendNoVertical", d_di_anti_Pres, 0, 0.0, 437.5, 0.0},
                      BlendCase{"HalfLineDifference", d_di_anti_Pres, 10, 0.0, -1031.25, -10000.0},
                      BlendCase{"VerticalBySlope", d_di_anti_Pres, 11, 0.0, 187.5, -2500.0},
                      BlendCase{"TiltedTopPartly", d_di_anti_Pres, 12, -0.9, 37.5, -4000.0},
                      BlendCase{"LevelTopNoVertical", d_di_anti_Pres, 12, 0.0, 437.5, 0.0},
                      BlendCase{"SteepTopWholeVertical", d_di_anti_Pres, 12, -1.3, -562.5, -10000.0},
                      BlendCase{"WeightFromTilt", d_di_anti_Pres2, 20, -0.9, -1050.0, -8000.0},
                      BlendCase{"WeightBelowZero", d_di_anti_Pres2, 20, -0.2, 750.0, 0.0},
                      BlendCase{"WeightAboveOne", d_di_anti_Pres2, 20, -1.3, -1500.0, -10000.0},
                      BlendCase{"NegativeNormal", d_di_anti_Pres2, 21, -0.9, -1275.0, -9000.0},
                      BlendCase{"PositiveNormal", d_di_anti_Pres2, 21, 0.3, 750.0, 0.0},
                      BlendCase{"SignedNormal", d_di_anti_Pres2, 22, 0.3, 825.0, -3000.0},
                      BlendCase{"AbsoluteNormal", d_di_anti_Pres2, 0, 0.3, 75.0, -3000.0}),
    [](const auto &info) { return std::string(info.param.name); });

// With one neighbour the blends take the plain difference and keep the
// vertical difference whole, whatever F 355 says.
TEST_F(Blends, OneSidedCellsTakePlainDifferences) {
  build();
  for (auto routine : {d_di_anti_Pres, d_di_anti_Pres2}) {
    EXPECT_DOUBLE_EQ(routine(1, 6), -1000.0);
    EXPECT_DOUBLE_EQ(routine(3, 6), -10000.0);
    EXPECT_DOUBLE_EQ(routine(1, 2), 0.0);
  }
}

}  // namespace
