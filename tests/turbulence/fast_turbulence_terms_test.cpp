// The k and epsilon sources and the wall law of the fast flow driver on
// hand-built boxes, against values worked by hand: the shear production of a
// linear profile, the fixed constants of the dissipation, RNG's smaller k
// production, the rough bed cell of 0.1 m over ks 0.05 m, a bed corner, side
// walls, the viscous sublayer and the roughness floor.
#include <gtest/gtest.h>

#include <cmath>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "turbulence/box_cells.h"
#include "turbulence/fast_k_epsilon_sources.h"
#include "turbulence/fast_wall_laws.h"

namespace {

// Boxes with the five-row arrays of the fast driver.
class FastTurbulenceTerms : public BoxCells {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagFastWatersolve = 1;
    allocate(8, 4, 12, 400);
  }

  // Every row of CinvApf and Csourcem of cells 0..NoCells set to `value`.
  static void presetRows(double value) {
    for (int l = 0; l < 5; ++l) {
      for (int c = 0; c <= NoCells; ++c) CinvApf[l][c] = Csourcem[l][c] = value;
    }
  }
};

// One column of three boxes of 1 x 1 x 0.2 m on the bed with u = a z, so
// that the middle cell sees du/dz = a and the top cell, whose missing top
// neighbour counts as itself, a / 2.
constexpr double kA = 0.5;

void shearColumn() {
  BoxCells::build(1, 3, 1.0, 1.0, 0.2);
  for (int c = 1; c <= 3; ++c) {
    Cxvel[c] = kA * Czcenter[c];
    Cgamma[c] = 2.0 + c;
    Ckinen[c] = 0.01 * c;
    Cepsilon[c] = 0.002 * c;
  }
}

TEST_F(FastTurbulenceTerms, ProductionAndDissipationByModel) {
  struct Row {
    int model;
    bool written;  // rows 3 and 4 formed at all
    double kFactor;  // of the k production
  };
  const Row rows[] = {{0, true, 1.0}, {1, true, 0.719}, {14, true, 1.0}, {2, false, 0}, {4, false, 0}, {7, false, 0}};
  for (const Row &row : rows) {
    SCOPED_TRACE(testing::Message() << "model " << row.model);
    shearColumn();
    TurbulenceModel = row.model;
    presetRows(7.0);
    Cxvel[0] = Cyvel[0] = Czvel[0] = 3.0;
    Cidist[0] = Cjdist[0] = Ckdist[0] = 4.0;
    turbulenceFast();
    if (!row.written) {
      for (int l = 0; l < 5; ++l)
        for (int c = 1; c <= 3; ++c) EXPECT_EQ(CinvApf[l][c] + Csourcem[l][c], 14.0) << "row " << l;
      continue;
    }
    const double v = 0.2;
    const double production[4] = {0.0, 7.0, (2.0 + 2) * kA * kA * v, (2.0 + 3) * kA * kA / 4.0 * v};
    for (int c = 1; c <= 3; ++c) {
      const double r = Cepsilon[c] / (Ckinen[c] + 1e-20);
      // The bed cell keeps what the driver put in its row 3.
      EXPECT_NEAR(Csourcem[3][c], row.kFactor * production[c], 1e-12) << "cell " << c;
      EXPECT_NEAR(Csourcem[4][c], 1.44 * r * production[c], 1e-12) << "cell " << c;
      EXPECT_NEAR(CinvApf[3][c], 1000.0 * r * v, 1e-9) << "cell " << c;
      EXPECT_NEAR(CinvApf[4][c], 1920.0 * r * v, 1e-9) << "cell " << c;
      for (int l = 0; l < 3; ++l) EXPECT_EQ(CinvApf[l][c] + Csourcem[l][c], 14.0) << "momentum row " << l;
    }
    for (double *a : {Cxvel, Cyvel, Czvel, Cidist, Cjdist, Ckdist}) EXPECT_EQ(a[0], 0.0) << "the dummy cell";
  }
}

// One box of 1 x 1 x 0.2 m (y = 0.1 m at the bed, faces of 1 m2 and 0.2 m2)
// with the flags given, ks 0.05 m, k 0.01 and velocity (u, v, w).
void oneBox(const BoxFlags &flags, double u, double v, double w, double dz = 0.2) {
  BoxCells::build(1, 1, 1.0, 1.0, dz, flags);
  Croughness[1] = 0.05;
  Ckinen[1] = 0.01;
  Cxvel[1] = u;
  Cyvel[1] = v;
  Czvel[1] = w;
}

const double kR = 31.62 * std::sqrt(300.0 * 0.01);  // mass friction velocity of k = 0.01
const double kCmu75 = std::pow(0.09, 0.75);

TEST_F(FastTurbulenceTerms, RoughBedCell) {
  oneBox({}, 0.5, 0.2, 0.1);
  presetRows(7.0);
  wallFast();
  const double uplus = 2.5 * std::log(60.0);
  for (int l = 0; l < 3; ++l) EXPECT_NEAR(CinvApf[l][1], 5.350, 1e-3) << "row " << l;
  EXPECT_NEAR(CinvApf[0][1], kR / uplus, 1e-12);
  // The bed normal is vertical: only W is braked in the source, by Fw w.
  EXPECT_EQ(Csourcem[0][1], 0.0);
  EXPECT_EQ(Csourcem[1][1], 0.0);
  EXPECT_NEAR(Csourcem[2][1], kR / uplus * 0.1, 1e-12);
  EXPECT_NEAR(CinvApf[3][1], 1000.0 * kCmu75 * 0.1 * uplus / 0.1 * 0.2, 1e-9);
  EXPECT_NEAR(Csourcem[3][1], kR / uplus * 0.30 / 0.1 * 0.2, 1e-9);
  EXPECT_EQ(CinvApf[4][1], 1e30);
  EXPECT_NEAR(Csourcem[4][1] / CinvApf[4][1], 0.0041079, 5e-8);
}

TEST_F(FastTurbulenceTerms, BedCornerTakesOneEpsilonTermPerWallFace) {
  XksWall = 0.01;
  oneBox({.ends = -1}, 0.5, 0.2, 0.0);
  presetRows(7.0);
  wallFast();
  // Bed (y 0.1 m) and the east and west ends (y 0.5 m, faces of 0.2 m2).
  EXPECT_DOUBLE_EQ(CinvApf[4][1], 3e30);
  const double mean = (kCmu75 * 0.001 / (0.4 * 0.1) + 2.0 * kCmu75 * 0.001 / (0.4 * 0.5)) / 3.0;
  EXPECT_NEAR(Csourcem[4][1] / CinvApf[4][1], mean, 1e-15);
  const double bedPlus = 2.5 * std::log(60.0), endPlus = 2.5 * std::log(30.0 * 0.5 / 0.01);
  const double cD = 1000.0 * kCmu75;
  EXPECT_NEAR(CinvApf[3][1], cD * 0.1 * (bedPlus / 0.1 + 2.0 * endPlus / 0.5) * 0.2, 1e-9);
  EXPECT_NEAR(CinvApf[0][1], kR * (1.0 / bedPlus + 2.0 * 0.2 / endPlus), 1e-12);
}

TEST_F(FastTurbulenceTerms, SideWallsBrakeWWithoutASource) {
  // East and west walls, no bed: U across the walls is held, V along them
  // gets friction only, W the full friction and no source term.
  XksWall = 0.01;
  oneBox({.bed = 1, .ends = -1}, 0.5, 0.2, 0.3);
  presetRows(7.0);
  wallFast();
  const double fw = 2.0 * kR * 0.2 / (2.5 * std::log(30.0 * 0.5 / 0.01));
  for (int l = 0; l < 3; ++l) EXPECT_NEAR(CinvApf[l][1], fw, 1e-12) << "row " << l;
  EXPECT_NEAR(Csourcem[0][1], fw * 0.5, 1e-12);
  EXPECT_EQ(Csourcem[1][1], 0.0);
  EXPECT_EQ(Csourcem[2][1], 0.0);
}

TEST_F(FastTurbulenceTerms, SublayerAndRoughnessFloor) {
  // y+ = 11 at y = 1e-4 m with k = 0.11^2 / 0.3: F 397 3 takes u+ = y+.
  const double k11 = 0.11 * 0.11 / 0.3;
  const double r11 = 31.62 * std::sqrt(300.0 * k11);
  struct Row {
    const char *name;
    int limiter;
    double uplus;
  };
  const Row rows[] = {{"F 397 3", 3, 11.0}, {"log law", 0, 2.5 * std::log(30.0 * 1e-4 / 0.05)}};
  for (const Row &row : rows) {
    FlagWallLimiterU = row.limiter;
    oneBox({}, 0.5, 0.0, 0.0, 2e-4);
    Ckinen[1] = k11;
    presetRows(0.0);
    wallFast();
    // The log law's negative value is floored by MinUPlus 1.
    EXPECT_NEAR(CinvApf[0][1], r11 / std::max(row.uplus, 1.0), 1e-9) << row.name;
  }
  XksWall = 1e-5;
  wallFast();
  EXPECT_EQ(XksWall, 0.0001) << "raised and stored";
}

}  // namespace
