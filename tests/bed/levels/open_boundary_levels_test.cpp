// The bed levels at open boundaries on a 3 x 3 block by hand: the outflow
// depth of mode 1, the open sides of mode 2, the outflow columns of mode 3,
// with the movement in plane 1 and the booked mass.
#include "bed/levels/open_boundary_levels.h"

#include <gtest/gtest.h>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class OpenBoundaryLevels : public BedLayerFixture {
 protected:
  // Columns i, j = 2..4 of 4 m2, one cell 1 m high each (Ckdist 0.5), bed 0,
  // water level 1 m, original bed -0.1 m; no column exchanges water yet.
  void SetUp() override {
    BedLayerFixture::SetUp();
    allocateBed(1, 2, false, 6, 6);
    flatGrid(0, xnumber + 1, 0, ynumber + 1, 1.0);
    SolidFrac = 0.5;
    density = 2.65;
    SumBedMoveDef = 0.0;
    GridBlock &g = block[addBlock(2, 4, 2, 4)];
    g.WorkFlag = 1;
    for (int i = 2; i <= 4; ++i) {
      for (int j = 2; j <= 4; ++j) {
        const int c = (i - 2) * 3 + (j - 1);
        zval[i][j][0] = c;
        Cbed[c] = c;
        Bcellt[c] = c;
        Barea[c] = 4.0;
        Binout[c] = 0.0;
        Ckdist[c] = 0.5;
        Ccelle[c] = i < 4 ? c + 3 : 0;
        Ccellw[c] = i > 2 ? c - 3 : 0;
        Ccelln[c] = j < 4 ? c + 1 : 0;
        Ccells[c] = j > 2 ? c - 1 : 0;
      }
    }
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[0][i][j] = -0.1;
  }

  static int cell(int i, int j) { return static_cast<int>(zval[i][j][0]); }
};

// Mode 1 lowers the open side of an outflow column where the water over it
// is shallower than the column, books the removed mass, and leaves a block
// corner column (two open sides) alone.
TEST_F(OpenBoundaryLevels, OutflowDepthLowersOnlyWhereTooShallow) {
  FlagBedDownstream = 1;
  Binout[cell(4, 3)] = -1.0;  // east side open
  Binout[cell(4, 4)] = -1.0;  // block corner
  zval[4][3][1] = 0.2;        // corner 1 of (4, 3): 0.2 m too shallow
  zval[3][3][1] = 0.3;        // a west corner: not on the open side
  computeBedBoundary();
  EXPECT_NEAR(zval[4][3][1], 0.0, 1e-15);
  EXPECT_NEAR(Surfaces[1][4][3], -0.2, 1e-15);
  EXPECT_EQ(zval[4][2][1], 0.0);
  EXPECT_EQ(zval[3][3][1], 0.3);
  EXPECT_EQ(zval[4][4][1], 0.0);
  EXPECT_NEAR(SumBedMoveDef, 0.2 * 4.0 * 0.25 * 1000.0 * 2.65 * 0.5, 1e-9);
}

// Mode 2 on a column last in i and first in j resets corners 1, 2 and 3 to
// the original bed; mode 3 resets all four corners of an outflow column. A
// column without exchange never changes.
TEST_F(OpenBoundaryLevels, OpenSidesAndOutflowColumnsReturnToTheOriginalBed) {
  struct Case {
    int mode;
    double inout;
    bool reset[5];
  };
  const Case cases[] = {{2, 1.0, {false, true, true, true, false}},
                        {3, -1.0, {false, true, true, true, true}},
                        {2, 0.0, {}},
                        {3, 0.0, {}},
                        {4, -1.0, {}}};
  constexpr int di[5] = {0, 0, 0, -1, -1}, dj[5] = {0, 0, -1, -1, 0};
  for (const Case &c : cases) {
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][1] = Surfaces[1][i][j] = 0.0;
    SumBedMoveDef = 0.0;
    FlagBedDownstream = c.mode;
    Binout[cell(4, 2)] = c.inout;
    computeBedBoundary();
    int resets = 0;
    for (int k = 1; k <= 4; ++k) {
      const double expected = c.reset[k] ? -0.1 : 0.0;
      resets += c.reset[k];
      EXPECT_NEAR(zval[4 + di[k]][2 + dj[k]][1], expected, 1e-15) << "mode " << c.mode << ", corner " << k;
      EXPECT_NEAR(Surfaces[1][4 + di[k]][2 + dj[k]], expected, 1e-15) << "mode " << c.mode << ", corner " << k;
    }
    // Each reset corner removes 0.1 m of bed over a quarter of the column.
    EXPECT_NEAR(SumBedMoveDef, resets * 0.1 * 4.0 * 0.25 * 1000.0 * 2.65 * 0.5, 1e-9) << "mode " << c.mode;
  }
}

}  // namespace
