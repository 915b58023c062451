// The surface change of the slide groups in the block-slide mode on four
// hand-built columns of two 1 m cells: the net inflow into each top cell over
// a time step of 2 s, the expansion of a rise, the speed, depth and level
// limits, and the mean over each group.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/work_folder.h"
#include "turbulence/box_cells.h"
#include "turbulence/thixotropic_damping.h"

namespace {

class SlideGroupFlux : public BoxCells {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    FlagThixo = 3;
    allocate(8, 4, 12, 400);
  }
};

// Columns i = 1..4 (j = 1) of block 1, the slide layer; groups 7, 7, 0, 9.
// The top cells take 50, -30, 50 and 20 kg/s through their bottom faces:
// rises of 0.1, -0.06, 0.1 and 0.04 m in 2 s. No velocities, the lowest
// level far below, solid fraction 0.6.
void slideColumns() {
  BoxCells::build(4, 2, 1.0, 1.0, 1.0);
  NoBlocks = 1;
  block[1] = GridBlock{};
  block[1].i1 = 1;
  block[1].i2 = 4;
  block[1].j1 = block[1].j2 = 1;
  block[1].LayerMark = 1;
  const int groups[] = {7, 7, 0, 9};
  const double inflow[] = {50.0, -30.0, 50.0, 20.0};
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  for (int i = 1; i <= 4; ++i) {
    zval[i][1][0] = BoxCells::cell(i - 1, 0);
    pointbed[i][1] = i;
    Bcellth[i] = groups[i - 1];
    Bsolidfraction[1][i] = 0.6;
    Fflux[Cflateb[BoxCells::cell(i - 1, 1)]] = inflow[i - 1];
  }
  for (int i = 0; i <= 4; ++i)
    for (int j = 0; j <= 1; ++j) Surfaces[3][i][j] = -100.0;
  BVal[0] = 7;
  BVal[1] = 9;
  BVal[2] = 0;
  BNo[0] = 2;
  BNo[1] = 1;
  TimeStep = 2.0;
  ThixoExpansion = 1.0;
  SurfULimit = 0.0;
  SurfUFactor = 0.001;
  FlagSurfUpwind = 0;
}

TEST_F(SlideGroupFlux, GroupMeansAfterTheLimits) {
  struct Row {
    const char *name;
    std::function<void()> set;
    double group7, group9;  // kFlux of the two groups
    double fraction1;       // solid fraction of column 1's upper layer after
  };
  const Row rows[] = {
      {"no expansion: the plain inflow", [] {}, (0.1 - 0.06) / 2.0, 0.04, 0.6},
      {"expansion 2: a rise doubles and dilutes the layer",
       [] { ThixoExpansion = 2.0; },
       (0.2 - 0.06) / 2.0, 0.08, 2.1 * 0.6 / (0.1 + 2.1)},
      {"speed limit: a slow column cannot rise, a fast one by factor x excess x dt",
       [] {
         SurfULimit = 0.5;
         SurfUFactor = 0.01;
         Cxvel[BoxCells::cell(0, 1)] = 0.3;
         Cxvel[BoxCells::cell(1, 1)] = 0.3;
         Cxvel[BoxCells::cell(3, 1)] = 1.5;
       },
       (0.0 - 0.06) / 2.0, 0.01 * 1.0 * 2.0, 0.6},
      {"speed limit at 0.001 is off", [] { SurfULimit = 0.001; }, (0.1 - 0.06) / 2.0, 0.04, 0.6},
      {"depth limit: no fall below the velocity head less the depth",
       [] {
         FlagSurfUpwind = 1;
         Cxvel[BoxCells::cell(1, 0)] = Cxvel[BoxCells::cell(1, 1)] = 45.0;
       },
       (0.1 + 45.0 * 45.0 / 981.0 - 2.0) / 2.0, 0.04, 0.6},
      {"lowest level 3 cm below the top: the fall stops there",
       [] {
         for (int i = 1; i <= 2; ++i)
           for (int j = 0; j <= 1; ++j) Surfaces[3][i][j] = 1.97;
       },
       (0.1 - 0.03) / 2.0, 0.04, 0.6},
      {"a top already below its lowest level does not fall",
       [] {
         for (int i = 1; i <= 2; ++i)
           for (int j = 0; j <= 1; ++j) Surfaces[3][i][j] = 2.5;
       },
       0.1 / 2.0, 0.04, 0.6},
      {"dry and one-cell columns add nothing",
       [] {
         zval[1][1][0] = 0;
         Ccellt[Bcellt[4]] = 0;
       },
       -0.06 / 2.0, 0.0, 0.6},
      {"a group missing from the list adds nothing", [] { Bcellth[4] = 11; }, (0.1 - 0.06) / 2.0, 0.0, 0.6},
  };
  for (const Row &r : rows) {
    slideColumns();
    r.set();
    computeThixoFluxes();
    EXPECT_NEAR(kFlux[0], r.group7, 1e-12) << r.name;
    EXPECT_NEAR(kFlux[1], r.group9, 1e-12) << r.name;
    EXPECT_EQ(kFlux[2], 0.0) << r.name;
    EXPECT_NEAR(Bsolidfraction[1][1], r.fraction1, 1e-12) << r.name;
  }
}

TEST_F(SlideGroupFlux, NoGroupsLeavesTheFluxes) {
  slideColumns();
  BVal[0] = 0;
  kFlux[0] = 5.0;
  NoBlocks = 0;  // not even a layer block is looked for
  computeThixoFluxes();
  EXPECT_EQ(kFlux[0], 5.0);
}

TEST_F(SlideGroupFlux, MissingLayerBlockEndsTheRun) {
  slideColumns();
  block[1].LayerMark = 2;
  writeFile("boogie", "");
  EXPECT_EXIT(computeThixoFluxes(), ::testing::ExitedWithCode(256 - 99), "");
  EXPECT_EQ(readFile("boogie"), "Error: F 236 3 needs the slide layer block (LayerMark 1)\n");
}

}  // namespace
