// The corrections of new water levels before a regeneration, in-process on
// the channel (1 m squares, surface 1 m): the smoothers of F 154 and the
// limiters of F 178 and F 361 on a block of 4 x 3 columns, the pressure reset
// of F 128 and the edge levels of F 187.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/surface_fixture.h"
#include "surface/surface_services.h"
#include "surface/steady/surface_smoothers.h"

namespace {

double &Z(int i, int j) { return zval[i][j][znumber]; }
double &S(int i, int j) { return zval[i][j][znumber + 1]; }

void stillWater() {
  for (int c = 0; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
}

class LevelCorrections : public SurfaceFixture {
 protected:
  // The still channel cut down to a block of 4 x 3 columns, i 2..5 and
  // j 2..4 (its points i 1..5, j 1..4), every level and second slot at z.
  // The channel is built once per process; later calls reset the levels.
  static void smallBlock(double z) {
    static bool built = false;
    if (!built) channelAt(0.0);
    built = true;
    stillWater();
    block[1].i2 = 5;
    block[1].j2 = 4;
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Z(i, j) = S(i, j) = z;
    }
  }
};

}  // namespace

TEST_F(LevelCorrections, SweepSmoothingKeepsTheBlockCorners) {
  smallBlock(1.0);
  Z(3, 3) = 1.4;
  SurfSmoothFlag = 1;
  SurfSmoothVal = 0.5;
  surface_smoother();
  // Each interior point takes half its own level and half its neighbours'
  // mean, the points done already counting with their new levels.
  EXPECT_DOUBLE_EQ(Z(2, 3), 1.05);
  EXPECT_DOUBLE_EQ(Z(3, 2), 1.05);
  EXPECT_DOUBLE_EQ(Z(3, 3), 1.2125);
  EXPECT_DOUBLE_EQ(Z(4, 2), 1.00625);
  EXPECT_DOUBLE_EQ(Z(4, 3), 1.02734375);
  EXPECT_EQ(S(3, 3), Z(3, 3));
  for (int j = 1; j <= 4; ++j) EXPECT_EQ(Z(1, j), 1.0) << "variant 1 leaves the edge rows";

  // Variant 2 smooths the edge rows as well, but not the corners.
  smallBlock(1.0);
  Z(1, 2) = 1.2;
  Z(1, 1) = Z(5, 4) = 0.9;
  SurfSmoothFlag = 2;
  surface_smoother();
  EXPECT_DOUBLE_EQ(Z(2, 2), 1.025);
  EXPECT_DOUBLE_EQ(Z(1, 2), 0.25 * (0.9 + 1.0) + 0.6);
  EXPECT_DOUBLE_EQ(Z(1, 3), 0.25 * (Z(1, 2) + 1.0) + 0.5);
  EXPECT_EQ(Z(1, 1), 0.9);
  EXPECT_EQ(Z(5, 4), 0.9);

  // A weight of 0 keeps every level.
  smallBlock(1.0);
  Z(3, 3) = 1.4;
  SurfSmoothVal = 0.0;
  surface_smoother();
  EXPECT_EQ(Z(3, 3), 1.4);
}

TEST_F(LevelCorrections, WetSmoothingStartsFromTheSecondSlot) {
  smallBlock(2.0);
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= 5; ++j) S(i, j) = 1.0;
  }
  S(3, 3) = 1.4;
  SurfSmoothFlag = 3;
  SurfSmoothVal = 0.5;
  surface_smoother();
  EXPECT_DOUBLE_EQ(Z(3, 3), 1.2125);
  EXPECT_EQ(Z(1, 2), 2.0) << "variant 3 leaves the edges";
  // A dry column leaves its four points alone.
  smallBlock(2.0);
  for (int i = 0; i <= 6; ++i) {
    for (int j = 0; j <= 5; ++j) S(i, j) = 1.0;
  }
  zval[3][3][0] = 0.0;
  SurfSmoothFlag = 4;
  surface_smoother();
  for (int i : {2, 3}) {
    for (int j : {2, 3}) EXPECT_EQ(Z(i, j), 2.0) << "point " << i << ", " << j;
  }
  EXPECT_DOUBLE_EQ(Z(4, 3), 1.0);
  EXPECT_DOUBLE_EQ(Z(2, 1), 1.0) << "variant 4 treats the edge points";
  EXPECT_DOUBLE_EQ(Z(1, 2), 1.0);
}

TEST_F(LevelCorrections, AlongFlowSmoothingNeedsADeepPressureDeficit) {
  // h = 1.5 half heights of the top cell; r = (h - p / 9810) / h of the cell
  // below it; the weight is 0 below r = 3 and 1 just above.
  for (double r : {2.999, 3.001}) {
    smallBlock(1.0);
    Z(2, 3) = 1.2;
    SurfSmoothFlag = 5;
    SurfSmoothVal = 0.5;
    for (int c = 1; c <= NoCells; ++c) {
      if (Ccellt[c] == 0) Cpres[c - 1] = (1.0 - r) * 9810.0 * 1.5 * Ckdist[c];
    }
    surface_smoother();
    EXPECT_DOUBLE_EQ(Z(3, 3), r < 3.0 ? 1.0 : 1.1) << "r " << r;
    EXPECT_DOUBLE_EQ(Z(2, 3), r < 3.0 ? 1.2 : 1.0) << "r " << r;
  }
}

TEST_F(LevelCorrections, LimitersOfTheTransientSurface) {
  struct Row {
    const char *name;
    int variant;
    double bump, expected;
  };
  const Row rows[] = {
      {"3: peak cap at the neighbours' mean plus 0.1 x 2 m", 3, 1.5, 1.2},
      {"4: clamp 0.01 x 2 m above", 4, 1.5, 1.02},
      {"4: clamp 3 x 0.01 x 2 m below", 4, 0.5, 0.94},
      {"5: as 4", 5, 1.5, 1.02},
      {"6: clamp 0.1 x 2 m", 6, 1.5, 1.2},
      {"6: also below", 6, 0.5, 0.8},
      {"7: clamp 0.2 x 2 m", 7, 1.5, 1.4},
      {"8: no variant", 8, 1.5, 1.5},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    smallBlock(1.0);
    Z(3, 3) = row.bump;
    FlagSurfSmooth = row.variant;
    surface_smoother2(1);
    EXPECT_DOUBLE_EQ(Z(3, 3), row.expected);
    EXPECT_EQ(S(3, 3), 1.0) << "only the level";
  }
}

TEST_F(LevelCorrections, FrictionLimitsOfTheTransientSurface) {
  // Variant 1: a point above its still columns' top falls to it plus its
  // own change; next to a supercritical column it stays.
  smallBlock(1.0);
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.2;
  Z(3, 3) = S(3, 3) = 1.5;
  Z(2, 2) = 1.5;
  FlagSurfSmooth = 1;
  surface_smoother2(1);
  EXPECT_NEAR(Z(3, 3), 1.0, 1e-12);
  EXPECT_NEAR(Z(2, 2), 1.5, 1e-12) << "ceiling + Z - S with S at 1 m";
  smallBlock(1.0);
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.2;
  BFroude[pointbed[4][4]] = 1.2;
  Z(3, 3) = S(3, 3) = 1.5;
  surface_smoother2(1);
  EXPECT_EQ(Z(3, 3), 1.5);
  EXPECT_EQ(BFroude[0], 0.0);

  // Variant 2 in still water: no friction loss, so no point stands above
  // the next one downstream.
  smallBlock(1.0);
  Z(2, 3) = 1.1;
  FlagSurfSmooth = 2;
  surface_smoother2(1);
  EXPECT_NEAR(Z(2, 3), 1.0, 1e-12);

  // The slope limit with a negative slope forces the levels down along i,
  // each point bounded by the one before it.
  smallBlock(1.0);
  FlagSurfSmooth = 0;
  FlagSurfSlope = 1;
  SurfSlopeVal = -0.01;
  surface_smoother2(1);
  for (int j = 1; j <= 4; ++j) {
    EXPECT_DOUBLE_EQ(Z(2, j), 0.98);
    EXPECT_DOUBLE_EQ(Z(3, j), 0.96);
    EXPECT_DOUBLE_EQ(Z(4, j), 0.94);
    EXPECT_EQ(Z(5, j), 1.0);
  }
}

TEST_F(LevelCorrections, PressureReset) {
  channelAt(500.0);
  stillWater();
  GlobZRef = 0.9;
  GlobPresRef = 100.0;
  // Mode 3: the level of the column top above the reference, in every cell.
  FlagPresSetZero = 3;
  computeSetPresZero();
  for (int c = static_cast<int>(zval[5][3][0]); c > 0; c = Ccellt[c]) EXPECT_NEAR(Cpres[c], 981.0, 1e-8);
  // Mode 2: 4.5 m/s through the east faces of column (5, 3), Froude 1.44:
  // its cells rise to the critical-flow level; a higher pressure stays.
  for (int c = 1; c <= NoCells; ++c) Cpres[c] = 0.0;
  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  const int bottom = static_cast<int>(zval[5][3][0]);
  for (int c = bottom; c > 0; c = Ccellt[c]) Fflux[Cflatee[c]] = 500.0;
  Cpres[bottom] = 30000.0;
  FlagPresSetZero = 2;
  computeSetPresZero();
  const double p = (1.5 * 4.5 * 4.5 / 9.81 - 0.9) * 9810.0 + 100.0;
  for (int c = Ccellt[bottom]; c > 0; c = Ccellt[c]) EXPECT_NEAR(Cpres[c], p, 1e-6);
  EXPECT_EQ(Cpres[bottom], 30000.0);
  EXPECT_EQ(Cpres[static_cast<int>(zval[6][3][0])], 0.0) << "the downstream column";
  // Mode -1: every pressure to 0.
  FlagPresSetZero = -1;
  computeSetPresZero();
  EXPECT_EQ(Cpres[bottom], 0.0);
}

TEST_F(LevelCorrections, EdgeLevels) {
  channelAt(0.0);
  setGroup(1, 1, 7500.0, upstreamFaces());
  setGroup(2, 0, 7500.0, downstreamFaces());
  auto pattern = [] {
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Z(i, j) = S(i, j) = 1.0 + 0.01 * j + 0.001 * i;
    }
  };
  // Mode 1: the walls continue the levels of the row inside.
  pattern();
  FlagSurfEdge = 1;
  surfaceEdge(1.0);
  EXPECT_DOUBLE_EQ(Z(5, 5), Z(5, 4));
  EXPECT_DOUBLE_EQ(Z(5, 1), Z(5, 2));
  EXPECT_DOUBLE_EQ(S(5, 1), Z(5, 2));
  EXPECT_DOUBLE_EQ(Z(11, 3), Z(10, 3)) << "the east end";
  EXPECT_DOUBLE_EQ(Z(5, 3), 1.035);

  // Mode 2: the outflow points at z and two rows inward at least z.
  pattern();
  kSurf = 2;
  FlagSurfEdge = 2;
  Z(10, 3) = 1.2;
  surfaceEdge(1.05);
  EXPECT_EQ(Z(11, 3), 1.05);
  EXPECT_EQ(S(11, 3), 1.05);
  EXPECT_EQ(Z(9, 2), 1.05);
  EXPECT_EQ(Z(10, 3), 1.2) << "never lowered";
  EXPECT_DOUBLE_EQ(Z(8, 2), 1.028);
  EXPECT_EQ(Z(10, 1), 1.05) << "the corner column's south side too";

  // Modes 100 and 101: a quadratic transition over four rows.
  for (int mode : {100, 101}) {
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Z(i, j) = S(i, j) = 1.0;
    }
    for (int j = 0; j <= ynumber + 1; ++j) Z(6, j) = 1.1;
    FlagSurfEdge = mode;
    surfaceEdge(1.05);
    EXPECT_EQ(Z(11, 1), 1.05);
    // The wall line j = 1 belongs to one boundary column.
    if (mode == 100) {
      EXPECT_DOUBLE_EQ(Z(10, 1), 0.04 * 1.0 + 0.96 * 1.05);
      EXPECT_DOUBLE_EQ(Z(7, 1), 0.64 * 1.0 + 0.36 * 1.05);
    } else {
      EXPECT_DOUBLE_EQ(Z(7, 1), 0.64 * 1.1 + 0.36 * 1.05);
      EXPECT_DOUBLE_EQ(Z(7, 3), 0.64 * 1.1 + 0.36 * 1.05);
    }
  }

  // Mode -1: the inflow points at least the minimum depth above the bed,
  // except at the corner columns.
  for (int j = 0; j <= ynumber + 1; ++j) Z(1, j) = S(1, j) = 0.0;
  MinVertDist0 = 0.05;
  FlagSurfEdge = -1;
  surfaceEdge(1.0);
  for (int j = 2; j <= 4; ++j) EXPECT_DOUBLE_EQ(Z(1, j), 1.0001 * 0.05) << "point " << j;
  EXPECT_EQ(Z(1, 1), 0.0);
  EXPECT_EQ(Z(1, 5), 0.0);
}
