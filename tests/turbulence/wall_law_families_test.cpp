// The smooth, transitional and mixed wall-law families and model 3's law on
// hand-built boxes, against values worked by hand: u+ is read back from the
// friction R A / u+ of a bed face of 1 m2.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"
#include "turbulence/wall_laws.h"

namespace {

using WallLawFamilies = BoxCells;

constexpr double kK = 0.03;  // k of the cells, m2/s2
const double kUstar = std::sqrt(0.3 * kK), kR = 31.62 * std::sqrt(300.0 * kK);
const double kCmu75 = std::pow(0.09, 0.75);

void run(int equation) {
  Equation = equation;
  wall_laws(1, NoCells);
}

// One 1 x 1 m box over the bed whose centre lies at y+ from the bed, with
// the roughness of ks+ and the velocity (u, 0, w).
void bedCell(double yplus, double ksPlus, double w = 0.0, const BoxFlags &flags = {}) {
  const double y = yplus / (1e6 * kUstar);
  BoxCells::build(1, 1, 1.0, 1.0, 2.0 * y, flags);
  Ckinen[1] = kK;
  Croughness[1] = ksPlus / (1e6 * kUstar);
  Cxvel[1] = 0.5;
  Czvel[1] = w;
  Cap[1] = Csource[1] = 7.0;
}

// u+ of the bed face from the friction of the U equation.
double bedUPlus() {
  run(1);
  return kR / Cap[1];
}

TEST_F(WallLawFamilies, TransitionalLawJoinsTheSmoothAndTheRoughLaw) {
  FlagWallAll = 8;
  struct Row {
    double yplus, ksPlus, uplus;
    const char *why;
  };
  const Row rows[] = {
      {100.0, 2.25, 17.0129, "transitional at its smooth end"},
      {100.0, 2.2, std::log(900.0) / 0.4, "smooth law, 17.0060"},
      {100.0, 90.0, 8.7634, "transitional at its rough end"},
      {100.0, 90.5, std::log(30.0 * 100.0 / 90.5) / 0.4, "rough law, about 8.7664"},
      {100.0, 1.0, 17.0060, "hydraulically smooth"},
      {1e-4, 1.0, 0.025, "at the wall the bound"},
  };
  for (const Row &r : rows) {
    bedCell(r.yplus, r.ksPlus);
    EXPECT_NEAR(bedUPlus(), r.uplus, 5e-5) << r.why;
  }
  EXPECT_NEAR(std::log(30.0 * 100.0 / 90.0) / 0.4, 8.7664, 5e-5) << "the rough law beside ks+ 90";
  for (double ksPlus : {1.0, 30.0, 120.0}) {
    bedCell(11.7, ksPlus);
    const double atLogLayer = bedUPlus();
    bedCell(5.85, ksPlus);
    EXPECT_NEAR(bedUPlus(), 0.5 * atLogLayer, 1e-9) << "linear below y+ 11.7, ks+ " << ksPlus;
  }
}

TEST_F(WallLawFamilies, TranspirationAtTheBed) {
  // r = w / u* through the bed face (normal (0, 0, 1)): c = 0.25 r within
  // [-0.025, 0.1], u+ + c u+^2.
  const struct {
    double r, c;
  } rows[] = {{-1.0, -0.025}, {0.2, 0.05}, {1.0, 0.1}, {0.0, 0.0}};
  FlagWallAll = 8;
  bedCell(200.0, 30.0);
  const double plain = bedUPlus();
  FlagWallAll = 9;
  for (const auto &r : rows) {
    bedCell(200.0, 30.0, r.r * kUstar);
    const double uplus = bedUPlus();
    EXPECT_NEAR((uplus - plain) / (plain * plain), r.c, 1e-12) << "r = " << r.r;
  }
  // The bound 0.025 comes after the correction: far out (y+ 1e8, u+ 51.6)
  // suction takes u+ - 0.025 u+^2 below 0, and the bound holds it.
  bedCell(1e8, 1.0, -kUstar);
  EXPECT_EQ(bedUPlus(), 0.025);

  // The k law takes the lid and the bed as two terms: without flow through
  // the bed each is the transitional one of family 8's pair.
  FlagWallAll = 8;
  bedCell(200.0, 30.0, 0.0, {.lid = -1});
  run(5);
  const double pairCap = Cap[1], pairSource = Csource[1];
  FlagWallAll = 9;
  bedCell(200.0, 30.0, 0.0, {.lid = -1});
  run(5);
  EXPECT_NEAR(Cap[1], 2.0 * pairCap, 1e-12 * pairCap);
  EXPECT_NEAR(Csource[1], 2.0 * pairSource, 1e-12 * pairSource);
}

TEST_F(WallLawFamilies, SmoothMomentumAndKSwitchAtTheirOwnThresholds) {
  // y+ 11.628: above 11.626 for momentum, below 11.63 for k.
  FlagWallAll = 5;
  bedCell(11.628, 30.0);
  EXPECT_NEAR(bedUPlus(), std::log(9.0 * 11.628) / 0.4, 1e-9);
  bedCell(11.628, 30.0);
  run(5);
  const double y = 11.628 / (1e6 * kUstar), vol = 2.0 * y;
  EXPECT_NEAR(Cap[1], 1000.0 * kCmu75 * std::sqrt(kK) * 11.628 / y * vol, 1e-9);
  EXPECT_NEAR(Csource[1], kR / 11.628 * 0.25 / y * vol, 1e-9);
  bedCell(100.0, 1e4);
  EXPECT_NEAR(bedUPlus(), std::log(900.0) / 0.4, 1e-9) << "the roughness plays no part";
}

TEST_F(WallLawFamilies, EpsilonOfTheFamiliesCarriesTheBedSediment) {
  // Families 5, 8 and 9 stretch the top-bottom value by 1 + 2.5 c0 without
  // F 494; the default law only with it.
  for (int family : {0, 5, 8, 9}) {
    FlagWallAll = family;
    bedCell(100.0, 30.0);
    Cconc[0][1] = 0.1;
    run(6);
    const double y = 100.0 / (1e6 * kUstar);
    const double plain = kCmu75 * std::pow(kK, 1.5) / (0.4 * y);
    EXPECT_EQ(Cap[1], 1e30);
    EXPECT_NEAR(Csource[1] / Cap[1], (family == 0 ? 1.0 : 1.25) * plain, 1e-12 * plain) << "F 15 " << family;
  }
}

TEST_F(WallLawFamilies, FixedKFromTheWallShear) {
  // |U| = 1 m/s and u+ = 20 (F 139's floor): k = 3.33333 / 400 with 1e20.
  FlagWallAll = 11;
  MinUPlusK = 20.0;
  BoxCells::build(1, 1, 1.0, 1.0, 0.2);
  Ckinen[1] = 0.01;
  Croughness[1] = 0.05;
  Cxvel[1] = 0.6;
  Cyvel[1] = 0.8;
  Cap[1] = Csource[1] = 7.0;
  run(5);
  EXPECT_EQ(Cap[1], 1e20);
  EXPECT_NEAR(Csource[1] / Cap[1], 0.00833333, 1e-8);
  // Momentum and epsilon stay the default law's.
  for (int eq : {1, 6}) {
    FlagWallAll = 0;
    BoxCells::build(1, 1, 1.0, 1.0, 0.2);
    Ckinen[1] = 0.01;
    Croughness[1] = 0.05;
    Cxvel[1] = 0.6;
    run(eq);
    const double cap = Cap[1], source = Csource[1];
    FlagWallAll = 11;
    run(eq);
    EXPECT_EQ(Cap[1], cap) << "equation " << eq;
    EXPECT_EQ(Csource[1], source) << "equation " << eq;
  }
}

TEST_F(WallLawFamilies, MixedFamilySmoothBanksOverARoughBed) {
  // A box 1 x 1 x 0.2 m between banks (y 0.5 m, faces 0.2 m2) on a bed of
  // ks 0.05 m (y 0.1 m): the banks take the smooth law, the bed the rough.
  FlagWallAll = 19;
  XksWall = 1.0;  // the banks' roughness plays no part
  auto box = [] {
    BoxCells::build(1, 1, 1.0, 1.0, 0.2, {.banks = -1});
    Ckinen[1] = kK;
    Croughness[1] = 0.05;
    Cxvel[1] = 0.5;
  };
  const double yplusBank = 1e6 * kUstar * 0.5;
  box();
  run(1);
  EXPECT_NEAR(Cap[1], kR * (2.0 * 0.2 / (std::log(9.0 * yplusBank) / 0.4) + 1.0 / (std::log(60.0) / 0.4)), 1e-9);
  box();
  run(5);
  const double bank = 2.5 * std::log(9.0 * yplusBank), bed = 2.5 * std::log(60.0);
  EXPECT_NEAR(Cap[1], 1000.0 * kCmu75 * std::sqrt(kK) * (bank / 0.5 + bed / 0.1) * 0.2, 1e-9);
  EXPECT_NEAR(Csource[1], (kR / bank / 0.5 + kR / bed / 0.1) * 0.25 * 0.2, 1e-9);
}

TEST_F(WallLawFamilies, ReversedFlowStretchesTheSideDistance) {
  // Two boxes between end walls, no bed wall: the east neighbour's flow at
  // the angle of the cosine given; y = 0.5 m grows by 1.1 - cosine below -0.7.
  FlagWallAll = 19;
  struct Row {
    int flag;
    double cosine, stretch;
  };
  const Row rows[] = {{1, -0.6, 1.0}, {1, -0.8, 1.9}, {1, -1.0, 2.1}, {0, -1.0, 1.0}, {1, 0.5, 1.0}};
  for (const Row &r : rows) {
    FlagModEpsilon = r.flag;
    BoxCells::build(2, 1, 1.0, 1.0, 1.0, {.bed = 1, .ends = -1});
    for (int c = 1; c <= 2; ++c) Ckinen[c] = kK;
    Cxvel[1] = 0.4;
    Cxvel[2] = 0.3 * r.cosine;
    Cyvel[2] = 0.3 * std::sqrt(1.0 - r.cosine * r.cosine);
    run(6);
    const double value = kCmu75 * std::pow(kK, 1.5) / (0.4 * 0.5 * r.stretch);
    EXPECT_EQ(Cap[1], 1e30);
    EXPECT_NEAR(Csource[1] / Cap[1], value, 1e-12 * value) << "F 312 " << r.flag << ", cosine " << r.cosine;
  }
}

TEST_F(WallLawFamilies, ModelThreeSetsEveryCell) {
  // Columns of two boxes 2 x 2 x 0.5 m: h = 0.5 sqrt(2 / 0.5) = 1 m; a box of
  // 4 km x 4 km x 1 m has h = 2000 m, used as 1000 m.
  TurbulenceModel = 3;
  XksWall = 0.01;
  for (double side : {2.0, 4000.0}) {
    const double dz = side == 2.0 ? 0.5 : 1.0;
    BoxCells::build(1, 2, side, side, dz);
    const double h = side == 2.0 ? 1.0 : 1000.0, vol = side * side * dz;
    for (int c = 1; c <= 2; ++c) {
      Ckinen[c] = kK;
      Cxvel[c] = 0.5;
    }
    for (int eq : {5, 6}) {
      for (int c = 1; c <= 2; ++c) Cap[c] = Csource[c] = 7.0;
      run(eq);
      for (int c = 1; c <= 2; ++c) {
        if (eq == 6) {
          EXPECT_EQ(Cap[c], 1e30) << "cell " << c;
          const double value = kCmu75 * std::pow(kK, 1.5) / (0.4 * h);
          EXPECT_NEAR(Csource[c] / Cap[c], value, 1e-12 * value) << "cell " << c;
        } else {
          const double uplus = 2.5 * std::log(30.0 * h / 0.01);
          EXPECT_NEAR(Cap[c], 1000.0 * kCmu75 * std::sqrt(kK) * uplus / h * vol, 1e-9 * vol) << "cell " << c;
          EXPECT_NEAR(Csource[c], kR / uplus * 0.25 / h * vol, 1e-12 * vol) << "cell " << c;
        }
      }
    }
  }
}

}  // namespace
