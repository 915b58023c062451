// The rough wall laws on hand-built boxes, against values worked by hand:
// the bed cell of 0.1 m over ks 0.05 m, pairs of side walls, a corner, the
// families without terms, the caps and floors, the limiters and RNG's C_mu.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/wall_laws.h"

namespace {

using WallLaws = BoxCells;

// One box of 1 x 1 x 0.2 m (y = 0.1 m at the bed, face 1 m2) with the flags
// given, ks 0.05 m, k 0.01, velocity (u, v, w) and Cap, Csource preset.
void oneBox(const BoxFlags &flags, double u = 0.5, double v = 0.2, double w = 0.0) {
  BoxCells::build(1, 1, 1.0, 1.0, 0.2, flags);
  Croughness[1] = 0.05;
  Ckinen[1] = 0.01;
  Cepsilon[1] = 0.001;
  Cgamma[1] = 1.0;
  Cxvel[1] = u;
  Cyvel[1] = v;
  Czvel[1] = w;
  Cap[1] = Csource[1] = 7.0;
}

void run(int equation) {
  Equation = equation;
  wall_laws(1, NoCells);
}

const double kR = 31.62 * std::sqrt(300.0 * 0.01);  // mass friction velocity of k = 0.01
const double kCmu75 = std::pow(0.09, 0.75);

TEST_F(WallLaws, RoughBedCell) {
  oneBox({});
  const double uplus = std::log(60.0) / 0.4;
  EXPECT_NEAR(uplus, 10.236, 5e-4);
  run(1);
  EXPECT_NEAR(Cap[1], 5.350, 1e-3);
  EXPECT_NEAR(Cap[1], kR / uplus, 1e-12);
  EXPECT_NEAR(Csource[1], 0.0, 1e-15) << "the bed normal has no x component";
  oneBox({});
  run(3);
  EXPECT_NEAR(Csource[1], 0.0, 1e-15) << "W at rest";

  oneBox({}, 0.5, 0.2);
  run(5);
  const double kPlus = 2.5 * std::log(60.0);
  EXPECT_NEAR(Cap[1], 1000.0 * kCmu75 * 0.1 * kPlus / 0.1 * 0.2, 1e-9);
  EXPECT_NEAR(Csource[1], kR / kPlus * 0.29 / 0.1 * 0.2, 1e-9);

  oneBox({});
  run(6);
  EXPECT_EQ(Cap[1], 1e30);
  EXPECT_NEAR(Csource[1] / Cap[1], 0.004108, 5e-7);
  EXPECT_NEAR(Csource[1] / Cap[1], kCmu75 * 0.001 / (0.4 * 0.1), 1e-15);
}

TEST_F(WallLaws, OppositeSideWalls) {
  // East and west walls, no bed: the V equation gets two friction terms along
  // the walls, k one term for the pair; y = Cidist = 0.5 m, ks = XksWall.
  XksWall = 0.01;
  const BoxFlags flags{.bed = 1, .ends = -1};
  oneBox(flags);
  run(2);
  const double uplus = std::log(30.0 * 0.5 / 0.01) / 0.4;
  EXPECT_NEAR(Cap[1], 2.0 * kR * 0.2 / uplus, 1e-12) << "two faces of 0.2 m2";
  EXPECT_NEAR(Csource[1], 0.0, 1e-15) << "no normal component in V";
  oneBox(flags);
  run(1);
  EXPECT_NEAR(Csource[1], Cap[1] * 0.5, 1e-12) << "U across the walls is held";
  oneBox(flags);
  run(5);
  const double kPlus = 2.5 * std::log(30.0 * 0.5 / 0.01);
  EXPECT_NEAR(Cap[1], 1000.0 * kCmu75 * 0.1 * kPlus / 0.5 * 0.2, 1e-9);
  oneBox(flags);
  run(6);
  EXPECT_EQ(Cap[1], 1e30);
}

TEST_F(WallLaws, CornerTakesTheMeanEpsilon) {
  XksWall = 0.01;
  oneBox({.ends = -1});
  // Bed and both end walls: the top-bottom pair (y 0.1) and the east-west
  // pair (y 0.5), so the mean of two values with 2e30.
  run(6);
  EXPECT_EQ(Cap[1], 2e30);
  const double mean = 0.5 * (kCmu75 * 0.001 / (0.4 * 0.1) + kCmu75 * 0.001 / (0.4 * 0.5));
  EXPECT_NEAR(Csource[1] / Cap[1], mean, 1e-15);
}

TEST_F(WallLaws, FamilyWithoutTermsClearsWallCells) {
  FlagWallAll = 3;
  for (int eq : {1, 2, 3, 5, 6}) {
    build(1, 2, 1.0, 1.0, 0.2);
    for (int c = 1; c <= 2; ++c) Cap[c] = Csource[c] = 7.0;
    run(eq);
    EXPECT_EQ(Cap[1], 0.0) << "equation " << eq;
    EXPECT_EQ(Csource[1], 0.0) << "equation " << eq;
    EXPECT_EQ(Cap[2], 7.0) << "no wall face, equation " << eq;
  }
}

TEST_F(WallLaws, DistanceCapAndRoughnessFloor) {
  // A 4 km wide box: y = 2000 m acts as 1000 m.
  XksWall = 1e-9;
  build(1, 1, 4000.0, 1.0, 0.2, {.bed = 1, .ends = -1});
  Ckinen[1] = 0.01;
  Cyvel[1] = 0.3;
  Cap[1] = Csource[1] = 0.0;
  run(2);
  EXPECT_EQ(XksWall, 1e-6) << "raised and stored";
  const double uplus = std::log(30.0 * 1000.0 / 1e-6) / 0.4;
  EXPECT_NEAR(Cap[1], 2.0 * kR * 0.2 / uplus, 1e-12);
}

TEST_F(WallLaws, MomentumLimiters) {
  struct Row {
    const char *name;
    int limiter;
    double dz, ks, k;
    double uplus;  // expected at the bed
  };
  // y+ = 11: u* = 0.11 at y = 1e-4 m, k = 0.11^2 / 0.3.
  const double k11 = 0.11 * 0.11 / 0.3;
  const Row rows[] = {
      {"F 397 3 at y+ 11", 3, 2e-4, 0.05, k11, 11.0},
      {"F 397 4 at y = 0.05 ks", 4, 0.1, 1.0, 0.01, 0.5 * std::log(3.0)},
      {"no limiter", 0, 0.2, 0.05, 0.01, std::log(60.0) / 0.4},
      {"F 397 6 below half ks", 6, 0.2, 10.0, 0.01, 11.5 * 0.01 + 1.0},
      {"F 397 6 off: MinUPlus", 0, 0.2, 10.0, 0.01, 1.0},
  };
  for (const Row &r : rows) {
    FlagWallLimiterU = r.limiter;
    build(1, 2, 1.0, 1.0, r.dz);
    Croughness[1] = r.ks;
    Ckinen[1] = r.k;
    Cxvel[1] = 0.5;
    run(1);
    const double rr = 31.62 * std::sqrt(300.0 * r.k);
    EXPECT_NEAR(Cap[1], rr / r.uplus, 1e-9 * rr) << r.name;
  }
}

TEST_F(WallLaws, NegativeKCountsAsZero) {
  // The terms use k clamped at F 138; y+ takes the stored k as 0, so the
  // sublayer of F 397 3 applies and the friction stays finite.
  for (int limiter : {0, 3}) {
    FlagWallLimiterU = limiter;
    oneBox({});
    Ckinen[1] = -0.01;
    run(1);
    const double r = 31.62 * std::sqrt(300.0 * ArtMinKinen);
    const double expected = limiter == 3 ? r / 1e-20 : r / (std::log(60.0) / 0.4);
    EXPECT_NEAR(Cap[1], expected, 1e-9 * expected) << "F 397 " << limiter;
    EXPECT_TRUE(std::isfinite(Csource[1]));
  }
}

TEST_F(WallLaws, RngFrictionVelocityKeepsTheKLawFactor) {
  TurbulenceModel = 1;
  const double cS = 1000.0 * std::sqrt(0.0845), cD = 1000.0 * std::pow(0.0845, 0.75);
  const double r = 31.62 * std::sqrt(cS * 0.01);
  oneBox({});
  run(1);
  EXPECT_NEAR(Cap[1], r / (std::log(60.0) / 0.4), 1e-12);
  oneBox({});
  run(5);
  const double kPlus = 2.5 * std::log(60.0);
  EXPECT_NEAR(Cap[1], cD * 0.1 * kPlus / 0.1 * 0.2, 1e-9);
  EXPECT_NEAR(Csource[1], r / kPlus * 0.29 / 0.1 * 0.2, 1e-9);
  oneBox({});
  run(6);
  EXPECT_NEAR(Csource[1] / Cap[1], std::pow(0.0845, 0.75) * 0.001 / (0.4 * 0.1), 1e-15);
}

TEST_F(WallLaws, KOmegaWallValues) {
  for (int model : {14, 15}) {
    TurbulenceModel = model;
    oneBox({});
    run(6);
    EXPECT_EQ(Cap[1], 0.0) << "no wall value, model " << model;
    EXPECT_EQ(Csource[1], 0.0);
  }
  TurbulenceModel = 16;
  oneBox({});
  run(6);
  EXPECT_EQ(Cap[1], 1e30);
  EXPECT_NEAR(Csource[1] / Cap[1], 0.001 / (0.21908 * 0.1 + 1e-20), 1e-12);
}

TEST_F(WallLaws, EmptyRangeSetsOnlyTheConstants) {
  XksWall = -2.0;
  Xkappa = 0.0;
  oneBox({});
  Equation = 1;
  wall_laws(2, 1);
  EXPECT_EQ(Cap[1], 7.0);
  EXPECT_EQ(XksWall, 1e-6);
  EXPECT_EQ(Xkappa, 0.4);
}

}  // namespace
