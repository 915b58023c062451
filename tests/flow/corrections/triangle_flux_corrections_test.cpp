// The flux corrections of collapsed cells and corner columns on hand-wired
// faces: the blend towards the balanced mean, the group codes' switches and
// the area-weighted spread over a corner column.
#include <gtest/gtest.h>

#include "flow/corrections/triangle_flux_corrections.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/hand_cells.h"

namespace {

class TriangleFluxes : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    allocateCells(4);
  }
};

// Cell 1 of code 1, open north (face 1, 3 kg/s out) and east (face 2,
// 1 kg/s out): r = 0 changes nothing; r = 1 gives N = 1, E = -1, in = out.
TEST_F(TriangleFluxes, TwoFaceCodeBalances) {
  Ctrekant[1] = 1;
  Cflaten[1] = 1, Cflatee[1] = 2;
  for (double r : {0.0, 1.0}) {
    Fflux[1] = 3.0, Fflux[2] = 1.0;
    relaxTrekant2 = r;
    TrekantFluxCorr(1, 4);
    EXPECT_EQ(Fflux[1], r == 0.0 ? 3.0 : 1.0);
    EXPECT_EQ(Fflux[2], r == 0.0 ? 1.0 : -1.0);
  }
}

// A group code acts only with F 235 above 8 and F 164 below 20.
TEST_F(TriangleFluxes, GroupCodesNeedTheirSwitches) {
  Ctrekant[1] = 5;
  Cflaten[1] = 1, Cflatee[1] = 2, Ccelle[1] = 2, Cflaten[2] = 3;
  relaxTrekant2 = 1.0;
  struct Case {
    int corr, solver;
    bool acts;
  };
  for (const Case k : {Case{8, 0, false}, Case{9, 20, false}, Case{9, 19, true}}) {
    Fflux[1] = 3.0, Fflux[2] = 1.0, Fflux[3] = 0.5;
    FlagCorrTrekant = k.corr, FlagRapSolver = k.solver;
    TrekantFluxCorr(1, 4);
    const double m = (3.0 - 1.0 - 0.5) * 0.3333;
    EXPECT_DOUBLE_EQ(Fflux[1], k.acts ? m : 3.0);
    EXPECT_DOUBLE_EQ(Fflux[3], k.acts ? -m : 0.5);
  }
}

// Block 1 of 3 x 3 columns; the interior column (2,2) of cells 1 (bottom)
// and 2 has no east and no south neighbour. West faces 1, 2 (areas 1, 3),
// north faces 3, 4 (areas 2, 2): m = 0.9 (sum N + sum W) / 2 spread by area.
TEST_F(TriangleFluxes, CornerColumnSpreadsByArea) {
  NoBlocks = 1;
  block[1].i1 = 1, block[1].i2 = 3, block[1].j1 = 1, block[1].j2 = 3;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) zval[i][j][0] = 0;
  zval[2][2][0] = 1;
  zval[1][2][0] = 3;  // on the outer line: never treated
  stackColumn(1, 2);
  Ccellw[1] = 3, Ccelln[1] = 4;
  Cflatew[1] = 1, Cflatew[2] = 2, Cflaten[1] = 3, Cflaten[2] = 4;
  const double area[5] = {0, 1.0, 3.0, 2.0, 2.0}, flux[5] = {0, 1.0, 2.0, 4.0, -1.0};
  for (int f = 1; f <= 4; ++f) Farea[f] = area[f], Fflux[f] = flux[f];
  TrekantFluxCorr4(1, 0);
  const double m = 0.9 * (3.0 + 3.0) / 2.0;
  EXPECT_DOUBLE_EQ(Fflux[1], 0.1 * 1.0 + 1.0 * m / 4.0);
  EXPECT_DOUBLE_EQ(Fflux[2], 0.1 * 2.0 + 3.0 * m / 4.0);
  EXPECT_DOUBLE_EQ(Fflux[3], 0.1 * 4.0 + 2.0 * m / 4.0);
  EXPECT_DOUBLE_EQ(Fflux[4], 0.1 * -1.0 + 2.0 * m / 4.0);
}

}  // namespace
