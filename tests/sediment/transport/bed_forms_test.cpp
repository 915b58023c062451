// The bed-form height relaxed in time (F 103 2) and the smoothing of the bed
// roughness along line blocks and over plane blocks (F 460) on the channel.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "sediment/transport/bed_forms.h"
#include "sediment/transport/sediment_channel.h"

namespace {

using BedForms = SedimentChannel;

// One size moving at stage 2.82797 in 1 m of water, 0.2 mm grains on 10 m
// of bed: the equilibrium height 0.143385 m of formula 1.
BedFormCell movingCell() {
  const int b = 1;
  BSedDistrib[1][1][b] = 1.0;
  BSedDistrib[1][0][b] = 10.0;
  return {b, Bcellt[b], 1, 1.0, 0.0002, 0.0002, 2.82797, 0.0, 0.5, 1.0};
}

// The step's transport over one bed form's volume, X, moves the height from
// the stored 0.05 m towards the equilibrium: all the way when X >= 1, not at
// all when X is near 0.
TEST_F(BedForms, RelaxationInTime) {
  load();
  FlagDuneFormula = 1;
  Flag2BedRoughness = 2;
  const BedFormCell cell = movingCell();
  const double equilibrium = 0.143385;
  Bconc[1][cell.b] = 0.001;
  struct Row {
    double timeStep, expected;
  };
  // X = 0.001 * 2 Ckdist * 1 m/s * dt / (0.143385 * 7.3 * 0.5 * 1 m).
  const double perSecond = 0.001 * 2.0 * Ckdist[cell.c0] / (equilibrium * 7.3 * 0.5);
  const Row rows[] = {{1e-20, 0.05}, {2.0 / perSecond, equilibrium}, {0.25 / perSecond, 0.05 + 0.25 * (equilibrium - 0.05)}};
  for (const Row &r : rows) {
    TimeStep = r.timeStep;
    Bedformheight[cell.b] = 0.05;
    updateBedForms(cell);
    EXPECT_NEAR(Bedformheight[cell.b], r.expected, 2e-6) << "time step " << r.timeStep;
  }
  // Without the relaxation the height is the equilibrium at once, and the
  // roughness rule 2 takes the bed-form roughness.
  Flag2BedRoughness = 0;
  FlagRoughness = 3;
  Bedformheight[cell.b] = 0.05;
  updateBedForms(cell);
  EXPECT_NEAR(Bedformheight[cell.b], equilibrium, 2e-6);
  EXPECT_NEAR(Broughness[cell.b], 0.0617989, 2e-6);
}

// A line block of four bed cells with roughness 0.01 0.04 0.01 0.04.
void lineOfFour() {
  block[1].j2 = block[1].j1;
  block[1].FirstBedCell = 1;
  block[1].LastBedCell = 4;
  const double ks[] = {0.01, 0.04, 0.01, 0.04};
  for (int n = 0; n < 4; ++n) Broughness[n + 1] = ks[n];
}

TEST_F(BedForms, RoughnessSmoothingAlongALine) {
  load();
  struct Row {
    int smoothing, variant;
    double ks[4];
  };
  const Row rows[] = {
      // One pass from the values before it; the ends keep theirs.
      {1, 3, {0.01, 0.33333 * 0.06, 0.33333 * 0.09, 0.04}},
      // Forward and backward sweeps in place; the first cell takes the second.
      {2, 3, {0.02, 0.02, (0.02 + 0.07 / 3.0 + 0.04) / 3.0, 0.04}},
      // Nothing without roughness from grains and bed forms.
      {1, 1, {0.01, 0.04, 0.01, 0.04}},
  };
  for (const Row &r : rows) {
    lineOfFour();
    FlagSmoothKs = r.smoothing;
    FlagRoughness = r.variant;
    smoothBedRoughness();
    for (int n = 0; n < 4; ++n) {
      EXPECT_NEAR(Broughness[n + 1], r.ks[n], 2e-8) << "F 460 " << r.smoothing << ", F 90 " << r.variant << ", cell " << n + 1;
    }
  }
}

// Over a plane block the sweeps spread a single rough column to its
// neighbours and leave the block's edge columns alone.
TEST_F(BedForms, RoughnessSmoothingOverAPlane) {
  load();
  const GridBlock &blk = block[1];
  for (int b = 1; b <= blk.LastBedCell; ++b) Broughness[b] = 0.01;
  const int i = blk.i1 + 2, j = blk.j1 + 1;
  Broughness[pointbed[i][j]] = 0.09;
  FlagSmoothKs = 2;
  FlagRoughness = 2;
  smoothBedRoughness();
  EXPECT_LT(Broughness[pointbed[i][j]], 0.09);
  EXPECT_GT(Broughness[pointbed[i + 1][j]], 0.01);
  EXPECT_GT(Broughness[pointbed[i][j + 1]], 0.01);
  EXPECT_EQ(Broughness[pointbed[blk.i1][blk.j1]], 0.01);
  EXPECT_EQ(Broughness[pointbed[blk.i2][blk.j2]], 0.01);
}

}  // namespace
