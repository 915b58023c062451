// Point levelling with one grain size and the plane rotation on hand-built
// beds: the moves of one edge against hand values, the areas added on a block
// border, the plan length of an edge on a sloped bed, the non-erodible level,
// the tilt of a rotated column and the thickness test of the rotation.
#include "bed/slides/bed_slopes/sand_slide.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bed/slides/bed_slopes/slide_fixture.h"
#include "support/run_case.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

double &level(int p, int q) { return zval[p][q][1]; }

void setLevels(int i0, int i1, int j0, int j1, double z) {
  for (int i = i0; i <= i1; ++i) {
    for (int j = j0; j <= j1; ++j) level(i, j) = z;
  }
}

class SandSlide : public SlideFixture {
 protected:
  void SetUp() override {
    SlideFixture::SetUp();
    allocateSlideGrid(1, 2, false);
  }
};

// Columns i = 2..3, j = 2..3; the points of line i = 1 stand lower. Only the
// edge (2,2)-(1,2) is steeper than 0.5: the interior point (area 4) falls by
// the excess times 2/6, the border point (area 2) rises by 4/6 of it; the
// edges of line 1 at exactly 0.5 stay.
TEST_F(SandSlide, OneEdgeLevelsByTheAreasOfItsPoints) {
  const int n = wetBlock(2, 3, 2, 3);
  setLevels(1, 3, 1, 3, 1.0);
  level(1, 1) = level(1, 3) = 0.5;
  level(1, 2) = 0.0;
  const double volume = bedVolume(n);
  IterAvalanche = 1;
  computeSandSlide();
  EXPECT_NEAR(level(2, 2), 1.0 - 0.5 / 3.0, 1e-15);
  EXPECT_NEAR(level(1, 2), 2.0 * 0.5 / 3.0, 1e-15);
  EXPECT_EQ(level(1, 1), 0.5) << "a slope exactly at the tangent stays";
  EXPECT_EQ(level(1, 3), 0.5);
  EXPECT_EQ(level(3, 2), 1.0);
  EXPECT_NEAR(Surfaces[1][2][2], -0.5 / 3.0, 1e-15) << "plane 1 books the move";
  EXPECT_NEAR(Surfaces[1][1][2], 1.0 / 3.0, 1e-15);
  EXPECT_NEAR(bedVolume(n), volume, 1e-14);
}

// The fall stops at the non-erodible level of the higher point; the lower
// point then rises by the same volume.
TEST_F(SandSlide, TheHigherPointStopsAtTheNonErodibleLevel) {
  struct Case {
    double floor, fall;
  };
  for (const Case &c : {Case{1.0, 0.0}, Case{0.9, 0.1}, Case{0.95, 0.05}}) {
    SCOPED_TRACE(c.floor);
    clearBlocks();
    const int n = wetBlock(2, 3, 2, 3);
    setLevels(1, 3, 1, 3, 1.0);
    level(1, 1) = level(1, 3) = 0.5;
    level(1, 2) = 0.0;
    Surfaces[1][2][2] = Surfaces[1][1][2] = 0.0;
    Surfaces[3][2][2] = c.floor;
    const double volume = bedVolume(n);
    IterAvalanche = 1;
    computeSandSlide();
    EXPECT_NEAR(level(2, 2), 1.0 - c.fall, 1e-15);
    EXPECT_NEAR(level(1, 2), 2.0 * c.fall, 1e-15);
    EXPECT_NEAR(bedVolume(n), volume, 1e-14);
  }
}

// Two blocks: columns 2..3 x 2..3 and, elsewhere in the index space, 6..7 x
// 1..3 east of them. The edge (3,2)-(3,1) on block 1's border: the higher
// point adds the east column (6,2), the lower one at the block's corner also
// the column south of it, (6,1): areas 2 + 2 = 4 and 1 + 2 + 3 = 6.
TEST_F(SandSlide, BlockBorderPointsAddTheColumnsBeyond) {
  wetBlock(2, 3, 2, 3);
  wetBlock(6, 7, 1, 3);
  for (int j = 2; j <= 3; ++j) linkEastWest(3, j, 6, j);
  Barea[bedCellAt(6, 2)] = 2.0;
  Barea[bedCellAt(6, 1)] = 3.0;
  setLevels(1, 3, 1, 3, 1.0);
  setLevels(5, 7, 0, 3, 1.0);
  level(2, 1) = 0.5;
  level(3, 1) = 0.0;
  IterAvalanche = 1;
  computeSandSlide();
  EXPECT_NEAR(level(3, 2), 1.0 - 0.5 * 6.0 / 10.0, 1e-15);
  EXPECT_NEAR(level(3, 1), 0.5 * 4.0 / 10.0, 1e-15);
  EXPECT_EQ(level(2, 1), 0.5);
}

// A bed sloped 1.5 along i with the tangent 1.0: the 3-D length of the
// bottom cells' edges (1.8 m) would allow 1.8 m and leave it; the plan length
// brings every edge to 1.0 and the volume holds. Sweeps that find nothing
// steep change nothing.
TEST_F(SandSlide, ASlopedBedFallsToTheTangentOverThePlanLength) {
  const int n = wetBlock(2, 6, 2, 3);
  for (int i = 1; i <= 6; ++i) setLevels(i, i, 1, 3, 1.5 * (i - 1));
  for (int c = 1; c <= NoCells; ++c) Cidist[c] = 0.5 * std::sqrt(1.0 + 1.5 * 1.5);
  AngleAvalanche = 1.0;
  const double volume = bedVolume(n);
  IterAvalanche = 400;
  computeSandSlide();
  EXPECT_LT(steepestExcess(n), 1e-9);
  EXPECT_NEAR(bedVolume(n), volume, 1e-9 * volume);
  const double settled = level(6, 2);
  computeSandSlide();
  EXPECT_NEAR(level(6, 2), settled, 1e-9);
}

TEST_F(SandSlide, NothingSlidesWithoutAVariant) {
  wetBlock(2, 3, 2, 3);
  setLevels(1, 3, 1, 3, 0.0);
  level(2, 2) = 5.0;
  IterAvalanche = 0;
  FlagSlideDLL = 1;
  computeSandSlide();
  EXPECT_EQ(level(2, 2), 5.0);
}

// With several sizes and the multi-layer bed, point levelling cannot keep the
// composition of the stacks: the bed stays and the log says so once a run.
TEST_F(SandSlide, PointLevellingWithSeveralSizesInTheLayerStackWarnsOnce) {
  lnumber = 2;
  FlagTSC = 3;
  wetBlock(2, 3, 2, 3);
  setLevels(1, 3, 1, 3, 0.0);
  level(2, 2) = 5.0;
  IterAvalanche = 7;
  computeSandSlide();
  computeSandSlide();
  EXPECT_EQ(level(2, 2), 5.0);
  const std::string warning = "Warning: F 56 7 does nothing with F 37 3 and several grain sizes\n";
  EXPECT_TRUE(endsWith(boogie(), warning)) << boogie();
  EXPECT_EQ(boogie().find(warning), boogie().rfind(warning)) << "once a run";
}

// One column of 1 m2 whose bed rises along x by `slope`; floors at plane 3.
class Rotation : public SandSlide {
 protected:
  void column(double slope, double floorLow, double floorHigh) {
    wetBlock(2, 2, 2, 2);
    for (int q = 1; q <= 2; ++q) {
      level(1, q) = 0.0;
      level(2, q) = slope;
      Surfaces[3][1][q] = floorLow;
      Surfaces[3][2][q] = floorHigh;
    }
  }
  static double tilt() {
    const double d1x = 1.0, d1y = 1.0, d1z = level(2, 2) - level(1, 1);
    const double d2x = 1.0, d2y = -1.0, d2z = level(2, 1) - level(1, 2);
    const double nx = d2y * d1z - d2z * d1y, ny = d2z * d1x - d2x * d1z, nz = d2x * d1y - d2y * d1x;
    return std::acos(nz / std::sqrt(nx * nx + ny * ny + nz * nz));
  }
  static double mean() { return (level(1, 1) + level(1, 2) + level(2, 1) + level(2, 2)) / 4.0; }
};

// After one call the column stands at the repose angle about its centre;
// plane 1 books each corner's move. 207 finds nothing more on its way back.
TEST_F(Rotation, ASteepColumnTurnsToTheReposeAngle) {
  for (int variant : {200, 207}) {
    SCOPED_TRACE(variant);
    clearBlocks();
    column(1.0, -10.0, -10.0);
    Surfaces[1][1][1] = Surfaces[1][2][1] = 0.0;
    IterAvalanche = variant;
    computeSandSlide();
    EXPECT_NEAR(tilt(), std::atan(0.5), 1e-12);
    EXPECT_NEAR(mean(), 0.5, 1e-14);
    EXPECT_NEAR(level(1, 1), 0.25, 1e-14);
    EXPECT_NEAR(Surfaces[1][1][1], 0.25, 1e-14);
    EXPECT_NEAR(Surfaces[1][2][1], -0.25, 1e-14);
  }
}

// The column turns only when its thinnest corner above plane 3 exceeds
// 2·f(theta - phi)·sqrt(|N|): slope 1 on 1 m gives theta 45°, |N| = 2·sqrt 2,
// f = tan (1/3) for 200, sin for 207.
TEST_F(Rotation, ThinBedAboveTheNonErodibleLevelKeepsItsSlope) {
  const double root = std::sqrt(2.0 * std::sqrt(2.0)), dphi = M_PI / 4.0 - std::atan(0.5);
  struct Case {
    int variant;
    double threshold;
  };
  for (const Case &c : {Case{200, 2.0 * std::tan(dphi) * root}, Case{207, 2.0 * std::sin(dphi) * root}}) {
    for (double margin : {-1e-9, 1e-9}) {
      SCOPED_TRACE(std::to_string(c.variant) + " margin " + std::to_string(margin));
      clearBlocks();
      column(1.0, -(c.threshold + margin), -10.0);
      IterAvalanche = c.variant;
      computeSandSlide();
      EXPECT_EQ(level(1, 1) != 0.0, margin > 0.0);
    }
  }
}

// Variant 201: the tangent follows the flow over the bed face, from the
// upslope one (flow against the face's downslope normal) to the ordinary
// one (flow along it); without velocity their mean.
TEST_F(Rotation, TheFlowDirectionChoosesTheAngleOf201) {
  struct Case {
    double u, tangent;
  };
  for (const Case &c : {Case{0.0, 0.4}, Case{1.0, 0.5}, Case{-1.0, 0.3}}) {
    SCOPED_TRACE(c.u);
    clearBlocks();
    column(1.0, -10.0, -10.0);
    const int cell = static_cast<int>(zval[2][2][0]);
    Cflateb[cell] = 1;
    Fvx[1] = -0.7;
    Fvy[1] = 0.0;
    Cxvel[cell] = -c.u;
    Cyvel[cell] = 0.0;
    AngleAvalancheUp = 0.3;
    IterAvalanche = 201;
    computeSandSlide();
    EXPECT_NEAR(tilt(), std::atan(c.tangent), 1e-12);
  }
}

// Per-column tangents of the "bedangle" file steer 200 once they were read.
TEST_F(Rotation, BedAnglesGiveEachColumnItsTangent) {
  column(1.0, -10.0, -10.0);
  std::vector<double> angles(NoBCells + 1, 0.5);
  angles[bedCellAt(2, 2)] = 0.25;
  Bavalanche = angles.data();
  FlagBedAngles = 2;
  IterAvalanche = 200;
  computeSandSlide();
  Bavalanche = nullptr;
  EXPECT_NEAR(tilt(), std::atan(0.25), 1e-12);
}

// Slope 20 with tangent 2: the high corners would fall by 9 m, and the new
// plane asks them below plane 3 6 m under them, which holds them there; the
// mean correction would then cut 1.5 m into it, so the column waits. With
// plane 3 deeper it turns.
TEST_F(Rotation, AColumnThatWouldCutIntoTheNonErodibleLevelWaits) {
  AngleAvalanche = 2.0;
  column(20.0, -100.0, 14.0);
  IterAvalanche = 200;
  computeSandSlide();
  EXPECT_EQ(level(2, 1), 20.0);
  EXPECT_EQ(level(1, 1), 0.0);
  clearBlocks();
  column(20.0, -100.0, -100.0);
  computeSandSlide();
  EXPECT_NEAR(level(2, 1), 11.0, 1e-12);
}

}  // namespace
