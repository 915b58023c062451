// The eddy viscosity of the turbulence models on hand-built boxes: the
// k-epsilon value and its floor, the epsilon factor, the constant models,
// the multipliers of the momentum equations, the wind value and the
// vertical rules of the low-Reynolds and shallow-column models.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"

namespace {

using EddyViscosity = BoxCells;

void setTurbulence(double k, double epsilon) {
  for (int c = 1; c <= NoCells; ++c) {
    Ckinen[c] = k;
    Cepsilon[c] = epsilon;
  }
}

void expectBoth(double cgamma, double cgammaV, const char *what) {
  for (int c = 1; c <= NoCells; ++c) {
    EXPECT_NEAR(Cgamma[c], cgamma, 1e-9 * cgamma) << what << ", cell " << c;
    EXPECT_NEAR(CgammaV[c], cgammaV, 1e-9 * cgammaV) << what << ", cell " << c;
  }
}

TEST_F(EddyViscosity, StandardValueAndFloor) {
  build(2, 3, 1.0, 1.0, 0.5);
  setTurbulence(0.01, 0.001);
  GammaCalc(1, NoCells);
  expectBoth(9.001, 9.001, "90 k^2/epsilon + 0.001");
  setTurbulence(0.0, 0.0);
  GammaCalc(1, NoCells);
  expectBoth(0.001, 0.001, "no turbulence: the floor");
}

TEST_F(EddyViscosity, EpsilonEquationFactorByModel) {
  struct Row {
    int model;
    double expected;  // with k 0.01 and epsilon 0.001, Equation 6
  };
  const Row rows[] = {{0, 0.7692 * 9.001}, {1, 8.451}, {14, 9.001}, {2, 0.7692 * 9.001}};
  build(1, 2, 1.0, 1.0, 0.5);
  for (const Row &r : rows) {
    TurbulenceModel = r.model;
    setTurbulence(0.01, 0.001);
    Equation = 5;
    GammaCalc(1, NoCells);
    const double kValue = Cgamma[1];
    Equation = 6;
    GammaCalc(1, NoCells);
    expectBoth(r.expected, r.expected, "epsilon equation");
    if (r.model == 1 || r.model == 14) {
      EXPECT_DOUBLE_EQ(Cgamma[1], kValue) << "model " << r.model;
    }
  }
}

TEST_F(EddyViscosity, ConstantModels) {
  build(1, 2, 1.0, 1.0, 0.5);
  setTurbulence(0.01, 0.001);
  ArtEddyVisc = 0.5;
  for (int model : {4, 6}) {
    for (int eq : {1, 6}) {
      TurbulenceModel = model;
      Equation = eq;
      GammaCalc(1, NoCells);
      expectBoth(0.501, 0.501, "MinGamma + ArtEddyVisc");
    }
  }
}

TEST_F(EddyViscosity, MomentumMultipliers) {
  struct Row {
    double vert;
    int equation;
    double factor;  // on CgammaV; Cgamma stays 9.001
  };
  const Row rows[] = {{0.5, 1, 0.5}, {0.5, 5, 0.5}, {0.5, 6, 0.5}, {2.0, 1, 2.0},
                      {2.0, 3, 2.0}, {2.0, 5, 1.0}, {1.005, 1, 1.0}};
  build(1, 2, 1.0, 1.0, 0.5);
  TurbulenceModel = 14;  // no epsilon factor, so every equation starts from 9.001
  for (const Row &r : rows) {
    setTurbulence(0.01, 0.001);
    TurbMultVertU = r.vert;
    TurbMultHorU = 1.0;
    Equation = r.equation;
    GammaCalc(1, NoCells);
    expectBoth(9.001, 9.001 * r.factor, "F 544");
  }
}

TEST_F(EddyViscosity, OptionChain) {
  // One column with no side neighbours, k 0.01 and epsilon 0.001 (9.001),
  // Cgamma and CgammaV left at 1.0 and 4.0 by a previous call.
  struct Row {
    const char *name;
    void (*set)();
    double cgamma, cgammaV;
  };
  const Row rows[] = {
      {"F 14 2", [] { ArtDiff = 2.0; }, 11.001, 11.001},
      {"F 149 3 0.5", [] { TurbMultVert = 3.0; TurbMultHor = 0.5; }, 4.5005, 27.003},
      {"F 149 1.005", [] { TurbMultVert = 1.005; }, 9.001, 9.001},
      {"F 235 24", [] { FlagCorrTrekant = 24; }, 5.0005, 5.0005},
      {"F 440 2", [] { VertDiffTrekant = 2.0; }, 18.002, 9.001},
      {"F 121 1", [] { FlagTurbDLL = 1; }, 9.001, 4.0},
      {"F 34 1 F 72 0", [] { ArtEddyVisc = 1.0; MinGamma = 0.0; }, 10.0, 10.0},
  };
  for (const Row &r : rows) {
    kreadDefaults();
    build(1, 3, 1.0, 1.0, 0.5);
    setTurbulence(0.01, 0.001);
    for (int c = 1; c <= NoCells; ++c) {
      Cgamma[c] = 1.0;
      CgammaV[c] = 4.0;
    }
    r.set();
    GammaCalc(1, NoCells);
    expectBoth(r.cgamma, r.cgammaV, r.name);
  }
}

TEST_F(EddyViscosity, WindOverTheRange) {
  // W = 5 m/s, drag law 0 below 5.6 m/s: W2 = 25, u* = sqrt(0.0012 0.001 25).
  build(2, 4, 1.0, 1.0, 0.25);
  setTurbulence(0.01, 0.001);
  Wind[0] = 5.0;
  TurbulenceModel = 5;
  GammaCalc(1, NoCells);
  const double ustar = std::sqrt(0.0012 * 0.001 * 25.0);
  const double value = 0.001 + 400.0 * 0.5477 * 0.125 * ustar;
  expectBoth(value, value, "model 5");
  GammaCalc(1, 3);  // no top cell in the range: the floor
  for (int c = 1; c <= 3; ++c) EXPECT_DOUBLE_EQ(Cgamma[c], 0.001) << c;
  TurbulenceModel = 7;  // per column from its depth, 1 m
  GammaCalc(1, NoCells);
  const double column = 0.001 + 1000.0 * 0.11 * 1.0 * ustar;
  expectBoth(column, column, "model 7");
}

TEST_F(EddyViscosity, LowReynoldsColumns) {
  build(2, 4, 1.0, 1.0, 0.25);
  setTurbulence(0.01, 0.001);
  TurbulenceModel = 8;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 0.75;  // Re = 1 m x 1e6 x 0.75
  GammaCalc(1, NoCells);
  expectBoth(9.001, 9.001, "model 8, Re >= 3000");

  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 0.0;
  setTurbulence(0.0, 0.0);  // still water, u* = 0: no damping function left
  GammaCalc(1, NoCells);
  expectBoth(0.001, 0.001, "model 8, still water");

  // A range that starts inside a column takes that column's values: two
  // chunks split mid-column give what one call over the range gives.
  setTurbulence(1e-6, 1e-7);
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = 1e-4;  // Re = 100
  for (int model : {8, 9}) {
    TurbulenceModel = model;
    GammaCalc(1, NoCells);
    double whole[9];
    for (int c = 1; c <= NoCells; ++c) whole[c] = CgammaV[c];
    GammaCalc(1, 2);
    GammaCalc(3, NoCells);
    for (int c = 1; c <= NoCells; ++c) EXPECT_DOUBLE_EQ(CgammaV[c], whole[c]) << "model " << model << ", cell " << c;
    EXPECT_LT(CgammaV[1], CgammaV[4]) << "damped towards the bed, model " << model;
  }
}

TEST_F(EddyViscosity, ShallowColumnDepthMean) {
  // Half depth 0.2 m under 0.05 x sqrt(100 m2): 0.11 u* H + 0.001 in every cell.
  build(1, 4, 10.0, 10.0, 0.1);
  setTurbulence(0.01, 0.001);
  TurbulenceModel = 11;
  GammaCalc(1, NoCells);
  const double v = 1000.0 * 0.11 * std::sqrt(0.3 * 0.01) * 0.4 + 0.001;
  expectBoth(9.001, v, "model 11");
  TurbulenceModel = 10;  // the geometric mean with Cgamma instead
  GammaCalc(1, NoCells);
  expectBoth(9.001, std::sqrt(9.001 * (v - 0.001)) + 0.001, "model 10");
}

}  // namespace
