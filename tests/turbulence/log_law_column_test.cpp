// The eddy viscosity, the k and epsilon sources and the rough wall law
// together in one water column of nine cells over a rough bed, driven by a
// pressure slope under a frictionless lid. The test solves the three
// vertical diffusion equations itself (a tridiagonal sweep per equation),
// so that only the turbulence routines come from the engine: the developed
// profile must carry the bed shear that balances the slope and lie a few
// per cent above the rough log law with kappa 0.41 (the wall law's kappa is
// 0.40 and the lid has no surface damping).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/eddy_viscosity.h"
#include "turbulence/k_epsilon_sources.h"
#include "turbulence/wall_laws.h"

namespace {

using LogLawColumn = BoxCells;

constexpr int kCells = 9;
constexpr double kKs = 0.01977;  // m, the straight channel's roughness
constexpr double kUstar = 0.05;  // m/s, set by the pressure slope

// Adds the vertical diffusion of CgammaV to the equation the sources of
// Cap and Csource started, under-relaxes it and solves it for field f.
// The lid and the bed pass no diffusive flux: the wall law stands for the bed.
void solveColumn(double *f, double relax) {
  double p[kCells + 2] = {}, q[kCells + 2] = {};
  for (int c = 1; c <= kCells; ++c) {
    const double top = c < kCells ? 0.5 * (CgammaV[c] + CgammaV[c + 1]) * Farea[Cflatet[c]] / (Ckdist[c] + Ckdist[c + 1]) : 0.0;
    const double bottom = c > 1 ? 0.5 * (CgammaV[c] + CgammaV[c - 1]) * Farea[Cflateb[c]] / (Ckdist[c] + Ckdist[c - 1]) : 0.0;
    const double ap = (Cap[c] + top + bottom) / relax;
    const double source = Csource[c] + (1.0 - relax) * ap * f[c];
    const double denominator = ap - bottom * p[c - 1];
    p[c] = top / denominator;
    q[c] = (source + bottom * q[c - 1]) / denominator;
  }
  for (int c = kCells; c >= 1; --c) f[c] = p[c] * (c < kCells ? f[c + 1] : 0.0) + q[c];
}

TEST_F(LogLawColumn, DevelopsTheRoughLogLaw) {
  build(1, kCells, 2.0, 2.0, 1.0 / kCells);
  const double slope = -1000.0 * kUstar * kUstar / 1.0;  // Pa/m over a depth of 1 m
  for (int c = 1; c <= kCells; ++c) {
    Croughness[c] = kKs;
    Cxvel[c] = 0.75;
    Ckinen[c] = 0.003;
    Cepsilon[c] = 0.001;
  }
  for (int iteration = 0; iteration < 4000; ++iteration) {
    Equation = 1;
    GammaCalc(1, kCells);
    for (int c = 1; c <= kCells; ++c) {
      Cap[c] = 0.0;
      Csource[c] = 0.0;
    }
    wall_laws(1, kCells);
    for (int c = 1; c <= kCells; ++c) Csource[c] -= slope * Cvol[c];
    solveColumn(Cxvel, 0.8);
    Equation = 5;
    GammaCalc(1, kCells);
    turbulence(1, kCells);
    wall_laws(1, kCells);
    solveColumn(Ckinen, 0.5);
    for (int c = 1; c <= kCells; ++c) Ckinen[c] = std::max(Ckinen[c], 1e-10);
    Equation = 6;
    GammaCalc(1, kCells);
    turbulence(1, kCells);
    wall_laws(1, kCells);
    solveColumn(Cepsilon, 0.5);
    for (int c = 1; c <= kCells; ++c) Cepsilon[c] = std::max(Cepsilon[c], 1e-12);
  }

  const double ustar = std::sqrt(0.3 * Ckinen[1]);
  std::ostringstream profile;
  profile << "u* = " << ustar << "\n     z          u          k       L(z)\n";
  for (int c = 1; c <= kCells; ++c) {
    char line[100];
    std::snprintf(line, sizeof line, "%8.4f %10.5f %10.6f %10.4f\n", Czcenter[c], Cxvel[c], Ckinen[c],
                  std::log(30.0 * Czcenter[c] / kKs) / 0.41);
    profile << line;
  }
  SCOPED_TRACE(profile.str());
  EXPECT_NEAR(ustar, kUstar, 0.01 * kUstar) << "the bed shear 300 k balances the slope";
  for (int c = 1; c <= kCells; ++c) {
    const double law = std::log(30.0 * Czcenter[c] / kKs) / 0.41;
    const double deviation = (Cxvel[c] / ustar - law) / law;
    EXPECT_GE(deviation, 0.02) << "cell " << c;
    EXPECT_LE(deviation, 0.07) << "cell " << c;
  }
}

}  // namespace
