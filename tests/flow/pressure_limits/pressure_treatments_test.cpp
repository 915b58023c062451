// The pressure treatments of the correction stage on hand-built columns: the
// pressure from the defect, the level correction per column, the mud clip,
// the top-cell pressure, the edge filter of p', the corner-column pressure
// and the pressure limit of a partitioned run, worked by hand.
#include <gtest/gtest.h>

#include "flow/pressure_limits/corner_column_pressure.h"
#include "flow/pressure_limits/partition_pressure.h"
#include "flow/pressure_limits/pressure_filter.h"
#include "flow/pressure_limits/pressure_treatments.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"

namespace {

double pCorrection[8];

// Cells 1 (bottom) and 2 (top) one column, cell 3 a single cell east of
// cell 1, cell 4 a single cell alone; bed cells 1, 2, 3.
class Treatments : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    FlagTFS2 = 1;  // the level correction's table is allocated with F 271
    allocateCells(4);
    stackColumn(1, 2);
    linkEast(1, 3);
    const int bed[5] = {0, 1, 1, 2, 3};
    for (int c = 1; c <= 4; ++c) Cbed[c] = bed[c];
    Bnocells[1] = 2, Bnocells[2] = 1, Bnocells[3] = 1;
    Bcellt[1] = 1, Bcellt[2] = 3, Bcellt[3] = 4;
    const double p[5] = {0.0, 10.0, 6.0, 2.0, 5.0};
    for (int c = 0; c <= 4; ++c) pCorrection[c] = p[c];
    Cf = pCorrection;
  }
};

TEST_F(Treatments, PressureFromTheDefect) {
  struct Case {
    int flag;
    double expected;
  };
  for (const Case k : {Case{100, 0.2 * 50.0}, Case{101, 7.0 + 0.2 * 50.0}, Case{102, 7.0}}) {
    for (int c = 1; c <= 4; ++c) Cpres[c] = 7.0, Csource[c] = 50.0;
    FlagStressTerm = k.flag;
    stressTermPressure(1, 4);
    for (int c = 1; c <= 4; ++c) EXPECT_DOUBLE_EQ(Cpres[c], k.expected) << "F 258 " << k.flag;
  }
}

// Column means 8 (cells 1, 2) and 2 (cell 3): the column of cells 1 and 2
// rises by relax[4] times 6 Pa in metres, its neighbour sinks as much; the
// lone cell 4 is reset to 0.
TEST_F(Treatments, LevelCorrectionPerColumn) {
  relax[4] = 0.2;
  for (int b = 1; b <= 3; ++b) Bdeltah[b] = 0.5;
  levelCorrection(1, 4);
  EXPECT_DOUBLE_EQ(Bdeltah[1], 0.5 + 0.2 * (6.0 * 0.0001019 / 1));
  EXPECT_DOUBLE_EQ(Bdeltah[2], 0.5 + 0.2 * (-6.0 * 0.0001019 / 1));
  EXPECT_EQ(Bdeltah[3], 0.0);
}

// Column of 0.5 + 1.0 m: the bottom centre lies 1 m below the top, so its
// pressure is capped at 9810 Pa; the single cells are only raised to 0.
TEST_F(Treatments, MudClipCapsAtHydrostatic) {
  Ckdist[1] = 0.5, Ckdist[2] = 0.25, Ckdist[3] = 1.0, Ckdist[4] = 1.0;
  const double before[5] = {0.0, 30000.0, -5.0, 20000.0, -1.0};
  for (int c = 1; c <= 4; ++c) Cpres[c] = before[c];
  mudPressureClip(1, 4);
  EXPECT_EQ(Cpres[1], 9810.0);
  EXPECT_EQ(Cpres[2], 0.0);
  EXPECT_EQ(Cpres[3], 20000.0);
  EXPECT_EQ(Cpres[4], 0.0);
}

// Two equal halves: the top pressure is a third of the bottom one; top cells
// without a cell below keep theirs.
TEST_F(Treatments, TopCellPressureOfTheFreeSurface) {
  for (int c = 1; c <= 4; ++c) Ckdist[c] = 0.25, Cpres[c] = 900.0 * c;
  topCellPressure(1, 4);
  EXPECT_DOUBLE_EQ(Cpres[2], 900.0 / 3.0);
  EXPECT_EQ(Cpres[1], 900.0);
  EXPECT_EQ(Cpres[3], 2700.0);
  EXPECT_EQ(Cpres[4], 3600.0);
}

// Block 1 of columns (2,2) with cells 1 and 2 and (3,2) with cell 3. Cell 1
// is clamped to its neighbour's 3000 +- 981 sqrt(4); cell 3 then sees the
// new value and is clamped to 1038 +- 981; cell 2 has no side neighbour.
TEST_F(Treatments, FilterClampsEdgeCellsInColumnOrder) {
  NoBlocks = 1;
  block[1].i1 = 2, block[1].i2 = 3, block[1].j1 = 2, block[1].j2 = 2;
  zval[2][2][0] = 1;
  zval[3][2][0] = 3;
  Barea[1] = 4.0, Barea[2] = 1.0;
  pCorrection[1] = 0.0, pCorrection[2] = 5000.0, pCorrection[3] = 3000.0;
  FilterPressure();
  EXPECT_DOUBLE_EQ(pCorrection[1], 1038.0);
  EXPECT_DOUBLE_EQ(pCorrection[3], 2019.0);
  EXPECT_EQ(pCorrection[2], 5000.0);
}

// Block 1 of 3 x 3 columns; the interior column (2,2) is cell 4 with a
// north neighbour column of cells 1 and 2 (mean 15) and a west one, cell 3
// (40): it takes 27.5. A corner-like column on the outer line is not treated.
TEST_F(Treatments, CornerColumnFromItsNeighbours) {
  NoBlocks = 1;
  block[1].i1 = 1, block[1].i2 = 3, block[1].j1 = 1, block[1].j2 = 3;
  for (int i = 1; i <= 3; ++i)
    for (int j = 1; j <= 3; ++j) zval[i][j][0] = 0;
  zval[2][2][0] = 4;
  zval[1][1][0] = 3;
  Ccellw[3] = 0, Ccelle[1] = 0;
  Ccelln[4] = 1, Ccells[1] = 4;
  Ccellw[4] = 3, Ccelle[3] = 4;
  Ccelln[3] = 1;
  Cpres[1] = 10.0, Cpres[2] = 20.0, Cpres[3] = 40.0, Cpres[4] = 0.0;
  TrekantPresCorr(1, 0);
  EXPECT_DOUBLE_EQ(Cpres[4], 27.5);
  EXPECT_EQ(Cpres[3], 40.0);
}

// One metre of water above the reference column is allowed; above that the
// pressure drops to the reference.
TEST_F(Treatments, PartitionLimitDropsToTheReference) {
  NoBlocks = 1;
  block[1].i1 = 2;
  jPresUp[1] = 3;
  zval[2][3][0] = 1;
  const double before[5] = {0.0, 100.0, 9910.0, 9910.5, -3.0};
  for (int c = 1; c <= 4; ++c) Cpres[c] = before[c];
  limitPressureMPI();
  EXPECT_EQ(Cpres[1], 100.0);
  EXPECT_EQ(Cpres[2], 9910.0);
  EXPECT_EQ(Cpres[3], 100.0);
  EXPECT_EQ(Cpres[4], -3.0);
  jPresUp[1] = 0;
  Cpres[3] = 1e6;
  limitPressureMPI();
  EXPECT_EQ(Cpres[3], 1e6);
}

}  // namespace
