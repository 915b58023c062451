// The level algorithms of the modular dispatch on the channel's 10 x 4
// columns of nine cells (1 m squares, 1 m deep): the Casulli conductance,
// the upwind levels of algorithm 10 and the simple correction of F 323 2.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/level_algorithms/casulli_level.h"
#include "surface/level_algorithms/classic_pressure_level.h"
#include "surface/steady/steady_dispatch.h"
#include "surface/surface_fixture.h"
#include "surface/level_algorithms/upwind_level.h"

namespace {

class SteadyLevelBuilders : public SurfaceFixture {
 protected:
  static int bottom(int i, int j) { return static_cast<int>(zval[i][j][0]); }
};

}  // namespace

// 1 m3/s through a 1 m x 1 m west face, M = 50, 1 m between the centres:
// K = A M^2 H^(4/3) / (U dx) = 2500 m2/s on both sides of the face, over a
// plan area of 1 m2.
TEST_F(SteadyLevelBuilders, CasulliConductanceOfAFace) {
  channelAt(0.0);
  FlagTFS = 9;
  ManningInit = 50.0;
  DischargeArray[1] = 0.0;
  FlagCasulliCoeff = FlagCasulliLimit = FlagTimeSurf = 0;
  for (int k = bottom(5, 3); k > 0; k = Ccellt[k]) Fflux[Cflatew[k]] = 1000.0 / 9.0;
  computeCoeffCasulli();
  EXPECT_NEAR(Caw[bottom(5, 3)], 2500.0, 1e-6);
  EXPECT_NEAR(Cae[bottom(4, 3)], 2500.0, 1e-6);
  // The start value is the mean of the corner levels.
  EXPECT_NEAR(Cf[bottom(5, 3)], 1.0, 1e-12);
  // A face without flow has the speed floor of 0.0001 m/s.
  EXPECT_NEAR(Caw[bottom(6, 3)], 2500.0 / 0.0001, 1e-3);
}

// All subcritical: every column carries zref; RelaxSurface 1 moves every
// point to it. A column at Froude 1.5 is held at its critical-depth level,
// ((U h)^2 / 9.81)^(1/3) = 2.25^(1/3) m above its bed, above zref.
TEST_F(SteadyLevelBuilders, UpwindLevelsCarryTheReference) {
  channelAt(0.0);
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel[c] = 1.0;
    Cyvel[c] = 0.0;
  }
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.5;
  BFroude[Cbed[bottom(5, 3)]] = 1.5;
  RelaxSurface = 1.0;
  surfaceAlgo10(bottom(11, 3), 1.2);
  EXPECT_NEAR(Cf[bottom(8, 3)], 1.2, 1e-12);
  EXPECT_NEAR(Cf[bottom(5, 3)], std::cbrt(2.25), 1e-6);
  EXPECT_NEAR(zval[10][4][znumber], 1.2, 1e-12);
  EXPECT_NEAR(zval[10][4][znumber + 1], 1.2, 1e-12);
}

// A dry check column ends the simple correction before it moves anything.
TEST_F(SteadyLevelBuilders, SimpleCorrectionNeedsTwoWetColumns) {
  channelAt(0.0);
  iPres = 11;
  jPres = 3;
  iPres2 = 0;
  zval[block[1].i1][block[1].j2 / 2][0] = 0.0;
  EXPECT_EXIT(surface3(), ::testing::ExitedWithCode(255), "");
  EXPECT_NE(boogie().find("Error, dry upstream/downstream surface3\n\n"), std::string::npos);
}

// RelaxSurface 1 without a slope limit: every point of the block jumps to
// GlobZRef + (p - GlobPresRef) x 0.000101937, both level slots.
TEST_F(SteadyLevelBuilders, ClassicLevelJumpsToThePressureHead) {
  channelAt(981.0);
  iPres = 11;
  jPres = 3;
  jSurf = 0;
  RelaxSurface = 1.0;
  MaxSurfSlope = -0.1;
  FroudeMaxSurface = 0.0;
  computeSurfClassic();
  const GridBlock &b = block[1];
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      EXPECT_NEAR(zval[i][j][znumber], 1.0 + 981.0 * 0.000101937, 1e-12) << i << " " << j;
      EXPECT_EQ(zval[i][j][znumber + 1], zval[i][j][znumber]);
    }
  }
}
