// The strain sweeps and the safety factor of a slide on hand-built columns:
// the sweep order and neighbours of solverB, and the forces of three columns
// in a row worked out by hand.
#include <gtest/gtest.h>

#include "bed/slides/soil_layer/slide_layer.h"
#include "bed/slides/soil_layer/slide_location.h"
#include "bed/slides/soil_layer/slide_safety.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "turbulence/box_cells.h"

namespace {

class SlideSafety : public BoxCells {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagThixo = 2;
    allocate(8, 4, 12, 400);
  }

  // Three columns of one 1 m box in a row along x, tops 1.5, 1.4 and 1.3,
  // sliding surfaces 1.0, 0.9 and 0.8, one slide labelled 1 in slot 0.
  static void threeColumns() {
    BoxCells::build(3, 1, 1.0, 1.0, 1.0);
    const double tops[] = {1.5, 1.4, 1.3}, surfaces[] = {1.0, 0.9, 0.8};
    for (int b = 1; b <= 3; ++b) {
      const int c = Bcellt[b];
      Czcenter[c] = tops[b - 1] - Ckdist[c];
      Bthixolev[b] = surfaces[b - 1];
      BthixolevMin[b] = surfaces[b - 1];
      Bcellth[b] = 1;
    }
    NoBlocks = 1;
    block[1] = GridBlock{};
    block[1].LayerMark = 1;
    block[1].FirstBedCell = block[1].FirstCell = 1;
    block[1].LastBedCell = block[1].LastCell = 3;
    for (int s = 0; s < kMaxSlideRegions; ++s) BVal[s] = 0;
    BVal[0] = 1;
    listSlideColumns(1, 3);
    ThixoCritshear = 100.0;
    ThixoMySlope = 0.8;
    FlagGroundwater = 0;
  }
};

// Friction 1.36 · 0.5 m · 0.8 · 9810 = 5336.64 N per column, cohesion 100 N
// per column, gravity 13600 · (0.8 - 1.0) / 2 m · 0.5 m = -680 N in the
// middle column only (the end columns lack a neighbour).
TEST_F(SlideSafety, ThreeColumnsByHand) {
  threeColumns();
  const double sf = computeSlideSF(0);
  EXPECT_NEAR(sf, (300.0 + 3 * 5336.64) / 680.0, 1e-9);
  EXPECT_NEAR(sf, 23.98518, 1e-5);
  EXPECT_DOUBLE_EQ(kSF[0], sf);
  EXPECT_NEAR(kFriction[0], 5336.64, 1e-9);
  EXPECT_NEAR(kCohesion[0], 100.0, 1e-12);
  EXPECT_NEAR(kGravityI[0], -680.0 / 3, 1e-9);
  EXPECT_EQ(kGravityJ[0], 0.0);
  EXPECT_EQ(kGroundwaterI[0], 0.0);
  EXPECT_EQ(kHeightW[0], 0.0);
  EXPECT_NEAR(kHeightN[0], 0.5, 1e-12);
  EXPECT_DOUBLE_EQ(kHeightD[0], kHeightN[0]);
}

// A split layer whose surface was cut below its lowest level keeps only
// F 334's share of the cohesion there; an unsplit one keeps all of it.
TEST_F(SlideSafety, CohesionOfASplitLayer) {
  threeColumns();
  ThixoCohesiveModifier = 0.2;
  BthixolevMin[2] = 0.5;  // the middle column's surface lies 0.4 above its lowest level
  computeSlideSF(0);
  EXPECT_NEAR(kCohesion[0], 100.0, 1e-12) << "one cell per column: not split";
  block[1].LastCell = 4;
  computeSlideSF(0);
  EXPECT_NEAR(kCohesion[0], (200.0 + 20.0) / 3, 1e-12);
}

TEST_F(SlideSafety, SlideWithoutColumnsHasNoSafety) {
  threeColumns();
  BVal[1] = 7;  // no column carries label 7
  kCohesion[1] = kSF[1] = 5.0;
  EXPECT_EQ(computeSlideSF(1), 0.0);
  EXPECT_EQ(kSF[1], 0.0);
  EXPECT_EQ(kCohesion[1], 0.0);
}

// solverB on three columns in a row: the east neighbour through Cbed, the
// north one as b+1. Column 1 is held at -1 by its source alone; column 2
// follows its west neighbour, column 3 its south one (b-1): one forward
// sweep settles them, later sweeps change nothing, and the bound caps all.
TEST_F(SlideSafety, SolverBSweepsThroughBothNeighbourKinds) {
  BoxCells::build(3, 1, 1.0, 1.0, 1.0);
  for (int c = 1; c <= 3; ++c) Cae[c] = Caw[c] = Can[c] = Cas[c] = 0.0;
  Cap[1] = 1.0;
  Csource[1] = -1.0;
  Caw[2] = 1.0;  // west of column 2 is column 1
  Cap[2] = 1.0;
  Csource[2] = -1.0;
  Cas[3] = 2.0;  // south of bed cell 3 is bed cell 2
  Cap[3] = 1.0;
  Csource[3] = 0.5;
  double f[5] = {0.0, 0.0, 0.0, 0.0, 0.0};
  solverB(f, 1, 3, 0.0);
  EXPECT_DOUBLE_EQ(f[1], -1.0);
  EXPECT_DOUBLE_EQ(f[2], -2.0);
  EXPECT_DOUBLE_EQ(f[3], -3.5);
  Csource[1] = 3.0;  // would lift column 1 to 3: the bound holds it at 0
  solverB(f, 1, 3, 0.0);
  EXPECT_DOUBLE_EQ(f[1], 0.0);
  EXPECT_DOUBLE_EQ(f[2], -1.0);
  EXPECT_DOUBLE_EQ(f[3], -1.5);
}

}  // namespace
