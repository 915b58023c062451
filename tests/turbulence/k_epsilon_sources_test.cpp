// The k and epsilon sources on hand-built boxes: no production in uniform
// flow, the shear production Cgamma a^2 V of u = a z, none in wall cells,
// the dissipation of each model and the density gradient of the buoyancy.
#include <gtest/gtest.h>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/k_epsilon_sources.h"

namespace {

using KEpsilonSources = BoxCells;

constexpr double kK = 0.01, kEps = 0.001, kGamma = 3.0;

// Four boxes of 0.25 m on a wall bed with flow faces on every side and a
// frictionless lid; u = a z, k and epsilon uniform.
void shearStack(double a) {
  BoxCells::build(1, 4, 2.0, 1.0, 0.25);
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = a * Czcenter[c];
    Cyvel[c] = Czvel[c] = 0.0;
    Ckinen[c] = kK;
    Cepsilon[c] = kEps;
    Cgamma[c] = kGamma;
    Cap[c] = Csource[c] = -7.0;
  }
}

TEST_F(KEpsilonSources, UniformFlowHasNoProduction) {
  build(3, 3, 2.0, 1.0, 0.5, BoxFlags{.bed = 1});
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 0.5;
    Cyvel[c] = 0.2;
    Czvel[c] = -0.01;
    Ckinen[c] = kK;
    Cepsilon[c] = kEps;
    Cgamma[c] = kGamma;
  }
  for (int kato : {0, 1}) {
    FlagKatoLaunder = kato;
    Equation = 5;
    turbulence(1, NoCells);
    for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Csource[c], 0.0) << "F 272 " << kato << ", cell " << c;
  }
}

TEST_F(KEpsilonSources, ShearProductionInsideAndNoneAtTheBed) {
  const double a = 2.0, v = 2.0 * 1.0 * 0.25;
  shearStack(a);
  Equation = 5;
  turbulence(1, NoCells);
  for (int c : {2, 3}) EXPECT_NEAR(Csource[c], kGamma * a * a * v, 1e-12) << "inner cell " << c;
  EXPECT_EQ(Csource[1], 0.0) << "the bottom cell touches the bed";
  for (int c = 1; c <= NoCells; ++c) EXPECT_NEAR(Cap[c], 1000.0 * kEps / kK * v, 1e-9) << "k dissipation, cell " << c;

  // Epsilon of the standard model: C1 x 1.3 x epsilon/k times the production,
  // C2 x 1000 x epsilon/k x V; at the bed 0 x the factors.
  shearStack(a);
  Equation = 6;
  turbulence(1, NoCells);
  EXPECT_NEAR(Csource[2], 1.44 * 1.3 * 0.1 * kGamma * a * a * v, 1e-12);
  EXPECT_EQ(Csource[1], 0.0);
  EXPECT_NEAR(Cap[2], 1.92 * 1000.0 * 0.1 * v, 1e-9);
}

TEST_F(KEpsilonSources, DissipationByModel) {
  // The epsilon field holds omega = 0.5 in the k-omega models.
  struct Row {
    int model, equation;
    double cap;  // per m3
  };
  const double omega = 0.5;
  const Row rows[] = {{15, 5, 1000.0 * omega / (kK + 1e-20)},
                      {16, 5, 1000.0 * 0.09 * omega},
                      {15, 6, 1000.0 * 0.072 * omega},
                      {0, 5, 1000.0 * omega / kK}};
  for (const Row &r : rows) {
    shearStack(0.0);
    for (int c = 1; c <= NoCells; ++c) Cepsilon[c] = omega;
    TurbulenceModel = r.model;
    Equation = r.equation;
    turbulence(1, NoCells);
    EXPECT_NEAR(Cap[2], r.cap * Cvol[2], 1e-9 * r.cap) << "model " << r.model << ", equation " << r.equation;
  }
}

TEST_F(KEpsilonSources, NoSourcesWithoutTransportedTurbulenceOrDissipation) {
  shearStack(2.0);
  TurbulenceModel = 4;
  Equation = 5;
  turbulence(1, NoCells);
  EXPECT_EQ(Cap[2], -7.0) << "models 2 to 7 write nothing";
  TurbulenceModel = 0;
  FlagTurbDLL = 1;
  turbulence(1, NoCells);
  EXPECT_EQ(Cap[2], 0.0) << "F 121 above 0 leaves no dissipation";
  EXPECT_GT(Csource[2], 0.0);
}

TEST_F(KEpsilonSources, DensityGradient) {
  build(1, 3, 1.0, 1.0, 1.0);
  EXPECT_EQ(densityDamp(1, 3), 0.0) << "no temperature component: unstratified";
  // Suspended sediment in the transient sediment computation: 0.002 below,
  // 0.001 above, over 0.5 + 1 + 0.5 m.
  FlagTSC = 1;
  Cconc[0][1] = 0.002;
  Cconc[0][3] = 0.001;
  EXPECT_NEAR(densityDamp(1, 3), -0.001 * density / 2.0 * 9.81, 1e-15);
  EXPECT_EQ(densityDamp(2, 2), 0.0) << "a single cell";
}

}  // namespace
