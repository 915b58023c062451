// The options of the rough wall law on hand-built boxes, against values
// worked by hand: the pressure gradient along side walls, the sediment at
// the bed, the epsilon options, the surface epsilon and shallow columns;
// and the same Cap and Csource whether the range is cut or not.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "turbulence/box_cells.h"
#include "turbulence/wall_laws.h"

namespace {

using WallLawOptions = BoxCells;

constexpr double kK = 0.03;  // s = sqrt(300 k) = 3, u* = 0.0949 m/s
const double kR = 31.62 * 3.0;
const double kCmu75 = std::pow(0.09, 0.75), kCD = 1000.0 * kCmu75;

void run(int equation) {
  Equation = equation;
  wall_laws(1, NoCells);
}

// A row of three boxes 2 x 1 x 1 m between walls on the south and the north
// side: the middle cell's along-wall neighbours are cells 1 and 3, d = 1 m,
// and the pressure rises by dp from cell 1 to cell 3 (gradient dp / 4).
void bankRow(double dp) {
  XksWall = 0.01;
  BoxCells::build(3, 1, 2.0, 1.0, 1.0, {.bed = 1, .banks = -1});
  for (int c = 1; c <= 3; ++c) {
    Ckinen[c] = kK;
    Cxvel[c] = 0.5;
    Cpres[c] = 0.0;
    Cap[c] = Csource[c] = 7.0;
  }
  Cpres[3] = dp;
}

// The gradient at which the pressure-gradient parameter g is 1:
// s^3 / 3.16228e-5 with s = 3.
const double kUnitG = 27.0 / 3.16228e-5;

TEST_F(WallLawOptions, PressureGradientKappa) {
  FlagGENMIX = 4;
  const double logLaw = std::log(30.0 * 0.5 / 0.01);  // y = Cjdist = 0.5 m
  struct Row {
    const char *name;
    double dp;
    int cell;
    double kappa;
  };
  const Row rows[] = {
      {"no pressure difference", 0.0, 2, 0.4},
      {"g = 1", 4.0 * kUnitG, 2, 0.5},
      {"g = 1 at the row's end: no west neighbour", 4.0 * kUnitG, 1, 0.4},
  };
  for (const Row &r : rows) {
    bankRow(r.dp);
    run(1);
    // Two bank faces of 2 m2, U along them.
    EXPECT_NEAR(Cap[r.cell], 2.0 * kR * r.kappa * 2.0 / logLaw, 1e-9) << r.name;
    EXPECT_EQ(Csource[r.cell], 0.0) << r.name;
    bankRow(r.dp);
    run(5);
    const double uplus = logLaw / r.kappa;
    EXPECT_NEAR(Cap[r.cell], kCD * std::sqrt(kK) * uplus / 0.5 * 2.0, 1e-9) << r.name;
    EXPECT_NEAR(Csource[r.cell], kR / uplus * 0.25 / 0.5 * 2.0, 1e-9) << r.name;
    bankRow(r.dp);
    run(6);
    const double value = kCmu75 * std::pow(kK, 1.5) / (r.kappa * 0.5);
    EXPECT_NEAR(Csource[r.cell] / Cap[r.cell], value, 1e-4 * value) << r.name << " (5196.1 for 300^1.5)";
  }
  // Without a pressure difference the option is the plain law exactly.
  for (int eq : {1, 5, 6}) {
    FlagGENMIX = 0;
    bankRow(0.0);
    run(eq);
    const double cap = Cap[2], source = Csource[2];
    FlagGENMIX = 4;
    bankRow(0.0);
    run(eq);
    EXPECT_DOUBLE_EQ(Cap[2], cap) << "equation " << eq;
    EXPECT_DOUBLE_EQ(Csource[2], source) << "equation " << eq;
  }
}

TEST_F(WallLawOptions, PressureGradientAddsShear) {
  FlagGENMIX = 1;
  const double dp = 40.0, gradient = dp / 4.0, y = 0.5;
  const double uplus = std::log(30.0 * y / 0.01) / 0.4;
  bankRow(dp);
  run(1);
  const double r = 31.62 * std::sqrt(300.0 * kK + gradient * y);
  EXPECT_NEAR(Cap[2], 2.0 * r * 2.0 / uplus, 1e-9);
  EXPECT_NEAR(Cap[1], 2.0 * kR * 2.0 / uplus, 1e-9) << "no west neighbour: the plain law";
  bankRow(dp);
  run(5);
  EXPECT_NEAR(Csource[2], (kR / uplus + gradient * y) * 0.25 / y * 2.0, 1e-9);
  EXPECT_NEAR(Cap[2], kCD * std::sqrt(kK) * 2.5 * std::log(30.0 * y / 0.01) / y * 2.0, 1e-9) << "dissipation unchanged";
}

TEST_F(WallLawOptions, ProductionLowersTheSideKappaOfEpsilon) {
  // F 273 2 at the banks: G = k 300 dp y / (2 d) = 2.25 dp; the flow along
  // +x (q > 0) takes G, against it -G, floored at 0; kappa 0.4 / (G w + 1).
  FlagGENMIX = 2;
  coeffEps = 1.0;
  struct Row {
    double dp, u, kappa;
  };
  const Row rows[] = {{1.0, 0.5, 0.4 / 3.25}, {1.0, -0.5, 0.4}, {-1.0, -0.5, 0.4 / 3.25}, {0.0, 0.5, 0.4}};
  for (const Row &r : rows) {
    bankRow(r.dp);
    for (int c = 1; c <= 3; ++c) Cxvel[c] = r.u;
    run(6);
    const double value = kCmu75 * std::pow(kK, 1.5) / (r.kappa * 0.5);
    EXPECT_NEAR(Csource[2] / Cap[2], value, 1e-12 * value) << "dp " << r.dp << ", u " << r.u;
  }
}

// A bed box 1 x 1 x 0.2 m, ks 0.05 m, with the concentration c0.
void bedBox(double c0) {
  BoxCells::build(1, 1, 1.0, 1.0, 0.2);
  Croughness[1] = 0.05;
  Ckinen[1] = kK;
  Cxvel[1] = 0.5;
  Cconc[0][1] = c0;
  Cap[1] = Csource[1] = 7.0;
}

TEST_F(WallLawOptions, SedimentStretchesTheBedLaw) {
  FlagConcProf = 1;
  const double plain = std::log(60.0) / 0.4;
  for (double c0 : {0.0, 0.1}) {
    const double uplus = plain * (1.0 + 2.5 * c0);
    bedBox(c0);
    run(1);
    EXPECT_NEAR(kR / Cap[1], uplus, 1e-9) << "momentum, c0 " << c0;
    bedBox(c0);
    run(5);
    EXPECT_NEAR(Cap[1], kCD * std::sqrt(kK) * uplus / 0.1 * 0.2, 1e-9) << "k, c0 " << c0;
    bedBox(c0);
    run(6);
    const double value = (1.0 + 2.5 * c0) * kCmu75 * std::pow(kK, 1.5) / (0.4 * 0.1);
    EXPECT_NEAR(Csource[1] / Cap[1], value, 1e-12 * value) << "epsilon, c0 " << c0;
  }
  FlagConcProf = 0;
  bedBox(0.1);
  run(1);
  EXPECT_NEAR(kR / Cap[1], plain, 1e-9) << "the sediment is ignored without F 494";
}

// A box 1 x 1 x 1 m with walls at the ends and the banks and the bed flag
// given: y = 0.5 m for every pair.
void cornerBox(int bed) {
  BoxCells::build(1, 1, 1.0, 1.0, 1.0, {.bed = bed, .ends = -1, .banks = -1});
  Ckinen[1] = kK;
  Cap[1] = Csource[1] = 7.0;
}

TEST_F(WallLawOptions, EpsilonDistanceFloorAndBedCorners) {
  const double k15 = std::pow(kK, 1.5);
  auto value = [&](double y) { return kCmu75 * k15 / (0.4 * y); };
  FlagMinDistEps = 1;
  MinDistEps = 2.0;
  cornerBox(1);
  run(6);
  EXPECT_EQ(Cap[1], 2e30);
  EXPECT_NEAR(Csource[1] / Cap[1], 0.5 * (value(0.5) + value(2.0)), 1e-12) << "only the north-south pair floored";

  // F 546: a box 1 x 2 x 1 m on the bed between banks (y 1 m to the banks,
  // 0.5 m to the bed) takes the sum of the two values, not their mean.
  FlagMinDistEps = 0;
  FlagWallCorner = 1;
  BoxCells::build(1, 1, 1.0, 2.0, 1.0, {.banks = -1});
  Ckinen[1] = kK;
  run(6);
  EXPECT_EQ(Cap[1], 1e30) << "the bed weighs, the banks do not";
  EXPECT_NEAR(Csource[1] / Cap[1], value(1.0) + value(0.5), 1e-12);
  cornerBox(1);
  run(6);
  EXPECT_EQ(Cap[1], 2e30) << "without the bed the north-south pair keeps its weight";
  EXPECT_NEAR(Csource[1] / Cap[1], value(0.5), 1e-12);
}

TEST_F(WallLawOptions, SurfaceEpsilon) {
  // Columns of four boxes of 0.5 m (2 m deep); the top cell has no wall face.
  FlagSurfEps = 1;
  SurfEpsCoeff = 0.43;
  BoxCells::build(1, 4, 1.0, 1.0, 0.5);
  for (int c = 1; c <= 4; ++c) {
    Ckinen[c] = kK;
    Cap[c] = Csource[c] = 0.0;
  }
  run(6);
  EXPECT_EQ(Cap[4], 1e30);
  EXPECT_NEAR(Csource[4] / Cap[4], std::pow(kK, 1.5) / 0.86, 1e-12);
  EXPECT_EQ(Cap[3], 0.0) << "below the surface nothing";

  // F 185 3: the k flux into the surface cell, none in a column of two.
  FlagSurfEps = 3;
  const double k[] = {0.0, 0.05, 0.03, 0.02}, nu[] = {0.0, 2.0, 3.0, 1.0};
  BoxCells::build(1, 3, 1.0, 1.0, 0.5);
  for (int c = 1; c <= 3; ++c) {
    Ckinen[c] = k[c];
    CgammaV[c] = nu[c];
    Cap[c] = Csource[c] = 0.0;
  }
  run(6);
  const double v = 0.5 * ((0.02 - 0.03) * (1.0 + 3.0) - (0.03 - 0.05) * (3.0 + 2.0));
  EXPECT_EQ(Cap[3], 1e30);
  EXPECT_NEAR(Csource[3] / Cap[3], v, 1e-15);
  BoxCells::build(1, 2, 1.0, 1.0, 0.5);
  for (int c = 1; c <= 2; ++c) {
    Ckinen[c] = kK;
    Cap[c] = Csource[c] = 0.0;
  }
  run(6);
  EXPECT_EQ(Cap[2], 0.0) << "two cells: no surface value";
}

TEST_F(WallLawOptions, ThinCellsAndShallowColumns) {
  // Two boxes of 0.5 mm over a bed of ks 0.1 mm: each is thinner than F 86's
  // 1 mm and the column's half depth is 0.5 mm, so each cell gets a bed term
  // at its own distance (0.25 and 0.75 mm), the bottom cell on top of its
  // own bed law.
  PorosWallFlag = 1;
  MinVertDist = 0.001;
  auto column = [](double dz) {
    BoxCells::build(1, 2, 1.0, 1.0, dz);
    for (int c = 1; c <= 2; ++c) {
      Ckinen[c] = kK;
      Croughness[c] = 1e-4;
      Cxvel[c] = 0.5;
      Cap[c] = Csource[c] = 7.0;
    }
  };
  auto momentum = [](double y) { return kR / std::max(std::log(30.0 * y / 1e-4) / 0.4, 1.0); };
  column(0.0005);
  run(1);
  EXPECT_NEAR(Cap[1], 2.0 * momentum(0.00025), 1e-9);
  EXPECT_NEAR(Cap[2], momentum(0.00075), 1e-9) << "thin: cleared, then the bed at 0.75 mm";
  column(0.0005);
  run(6);
  EXPECT_EQ(Cap[2], 1e30);
  const double value = kCmu75 * std::pow(kK, 1.5) / (0.4 * 0.00075);
  EXPECT_NEAR(Csource[2] / Cap[2], value, 1e-12 * value);
  column(0.0005);
  run(5);
  const double uplus = 2.5 * std::log(30.0 * 0.00075 / 1e-4);
  EXPECT_NEAR(Cap[2], kCD * std::sqrt(kK) * uplus / 0.00075 * 0.0005, 1e-9);
  // A column of 2 mm (half depth 1 mm) is no shallow column, and its cells
  // of 1 mm are not thin.
  column(0.002);
  run(1);
  EXPECT_EQ(Cap[2], 7.0);
  EXPECT_NEAR(Cap[1], momentum(0.001), 1e-9);
}

TEST_F(WallLawOptions, CutRangesGiveTheSerialTerms) {
  // Five shallow columns of four cells under every option that reads or
  // writes along a column; four chunks of five cells split the columns.
  PorosWallFlag = 1;
  MinVertDist = 0.001;
  FlagSurfEps = 3;
  FlagGENMIX = 1;
  FlagConcProf = 1;
  const int cells = 20;
  auto fill = [&] {
    BoxCells::build(5, 4, 1.0, 1.0, 0.0002, {.ends = -1, .banks = -1});
    for (int c = 1; c <= cells; ++c) {
      Ckinen[c] = 0.01 + 0.001 * c;
      CgammaV[c] = 0.5 + 0.1 * (c % 3);
      Croughness[c] = 1e-4;
      Cxvel[c] = 0.3 + 0.01 * c;
      Cyvel[c] = 0.02 * (c % 4);
      Czvel[c] = 0.001 * c;
      Cpres[c] = 10.0 * c;
      Cconc[0][c] = 0.01 * (c % 2);
      Cap[c] = Csource[c] = 1.0 + c;
    }
  };
  for (int eq : {1, 2, 3, 5, 6}) {
    Equation = eq;
    NoProcessesSolver = 0;
    fill();
    wall_laws(1, cells);
    const std::vector<double> cap(Cap + 1, Cap + cells + 1), source(Csource + 1, Csource + cells + 1);
    NoProcessesSolver = 4;
    fixThreadCount(4);
    fill();
    forEachChunk(1, cells, [](int first, int last) { wall_laws(first, last); });
    for (int c = 1; c <= cells; ++c) {
      EXPECT_EQ(std::memcmp(&Cap[c], &cap[c - 1], sizeof(double)), 0) << "Cap, equation " << eq << ", cell " << c;
      EXPECT_EQ(std::memcmp(&Csource[c], &source[c - 1], sizeof(double)), 0)
          << "Csource, equation " << eq << ", cell " << c;
    }
  }
}

}  // namespace
