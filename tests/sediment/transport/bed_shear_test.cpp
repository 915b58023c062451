// The bed shear of the sediment formulas on the channel: the log law, the
// column methods of F 499 and F 189, and the corrections of one bed cell.
#include <gtest/gtest.h>

#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "sediment/transport/bed_shear.h"
#include "sediment/transport/sediment_channel.h"

namespace {

using BedShear = SedimentChannel;

TEST_F(BedShear, LogLaw) {
  load();
  const int c = Bcellt[1];
  Cxvel[c] = 0.5;
  Cyvel[c] = 0.0;
  Ckdist[c] = 0.05;
  Croughness[c] = 0.01977;
  EXPECT_NEAR(logLawShear(c), 2.13439, 2e-6 * 2.13439);
  // No log layer in a cell this thin: the logarithm counts as 1.
  Ckdist[c] = 0.001;
  Croughness[c] = 0.02;
  EXPECT_NEAR(logLawShear(c), 1000.0 * 0.25 * 0.16, 1e-12);
}

// Method 1 moves shear from columns with bed forms to those without and
// keeps each line's total; a line of equal bed forms keeps 300 k.
TEST_F(BedShear, BedFormPartitionAlongLines) {
  load("F 499 1\n");
  const GridBlock &blk = block[1];
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.01;
  for (int b = 1; b <= NoBCells; ++b) {
    Bd90[b] = 0.0002;
    Bedformheight[b] = 0.1;
  }
  const int i = blk.i1 + 1;
  Bedformheight[pointbed[i][blk.j1]] = 0.0;
  computeBedshear();
  double total = 0.0;
  for (int j = blk.j1; j <= blk.j2; ++j) total += bedshear[i][j];
  EXPECT_NEAR(total, 3.0 * (blk.j2 - blk.j1 + 1), 1e-12);
  EXPECT_GT(bedshear[i][blk.j1], 3.0);
  EXPECT_LT(bedshear[i][blk.j1 + 1], 3.0);
  EXPECT_NEAR(bedshear[blk.i1][blk.j1], 3.0, 1e-12) << "a line of equal bed forms";
  EXPECT_NEAR(bedshear[blk.i1][blk.j2], 3.0, 1e-12);
}

// Methods 2 to 6 on a column with k = 0.01 and a log-law shear set by its
// bottom cell; the channel's bed is flat, so the slope shear is 0.
TEST_F(BedShear, ColumnMethods) {
  load("F 499 2\n");
  const int i = block[1].i1, j = block[1].j1, c = bottomOf(i, j);
  Ckinen[c] = 0.01;
  Cxvel[c] = 0.5;
  Cyvel[c] = 0.0;
  Croughness[c] = 0.02;
  const double log = logLawShear(c);
  ASSERT_GT(log, 0.0);
  struct Row {
    int method;
    double expected;
  };
  const Row rows[] = {{2, log}, {3, 0.0}, {4, std::max(log, 3.0)}, {5, std::sqrt(log * 3.0)},
                      {6, (3.0 + log) * 0.33333}};
  for (const Row &r : rows) {
    FlagDuneShearPartCross = r.method;
    bedshear[i][j] = -1.0;
    computeBedshear();
    EXPECT_NEAR(bedshear[i][j], r.expected, 1e-9) << "method " << r.method;
  }
  FlagDuneShearPartCross = 7;
  bedshear[i][j] = -1.0;
  computeBedshear();
  EXPECT_EQ(bedshear[i][j], -1.0) << "no method 7";
}

// F 189: 300 times the largest k of the cells within the bed roughness above
// the bottom cell, the top cell never included; with F 499 as well the bed
// cells take these values.
TEST_F(BedShear, TramelShear) {
  load("F 499 2\nF 189 1 0.0\n");
  const GridBlock &blk = block[1];
  const int i = blk.i1, j = blk.j1, c = bottomOf(i, j);
  for (int m = 0; m < 9; ++m) Ckinen[cellAbove(c, m)] = 0.001 * (m + 1);
  Croughness[c] = 0.1;  // half heights of 1/18 m: the bottom cell and the one above
  computeBedshear();
  computeShearTramel();
  EXPECT_NEAR(bedshear[i][j], 300.0 * 0.002, 1e-12);
  const int b = pointbed[i][j];
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6, 1e-12);
  // A column of one cell gets 0.
  const int single = bottomOf(i + 1, j);
  Ccellt[single] = 0;
  computeShearTramel();
  EXPECT_EQ(bedshear[i + 1][j], 0.0);
  // Without F 499 the bed cells keep 300 k of their bottom cell.
  FlagDuneShearPartCross = 0;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.3, 1e-12);
}

// The corrections of one bed cell: neighbours, smoothing, grid factor and
// the bed-form and grain reductions of the effective shear.
TEST_F(BedShear, BedCellCorrections) {
  load();
  const GridBlock &blk = block[1];
  const int i = blk.i1 + 2, j = blk.j1 + 1, c0 = bottomOf(i, j), b = pointbed[i][j];
  ASSERT_EQ(dryNeighbourCount(1, i, j), 0);
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.002;
  Ckinen[Ccellw[c0]] = 0.001;
  Ckinen[Ccelle[c0]] = 0.002;
  Ckinen[Ccells[c0]] = 0.003;
  Ckinen[Ccelln[c0]] = 0.004;
  // Smoothing with the neighbours' mean 300 k = 0.75 and largest 1.2; 0.6 own.
  struct Row {
    int option;
    double expected;
  };
  const Row smoothing[] = {{0, 0.6}, {1, 0.675}, {2, 0.667 * 0.75 + 0.333 * 0.6}, {3, 0.72}, {4, 0.75}, {5, 1.2}};
  for (const Row &r : smoothing) {
    FlagShearSmooth = r.option;
    EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, r.expected, 1e-12) << "smoothing " << r.option;
  }
  FlagShearSmooth = 0;
  // Correction 1 takes the cell above when its shear is higher.
  Ckinen[Ccellt[c0]] = 0.005;
  FlagShearNB = 1;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 1.5, 1e-12);
  Ckinen[Ccellt[c0]] = 0.002;
  // Correction 2 where the bed face is steep (its plan area below 0.95 of
  // the column's): the neighbours' largest shear.
  FlagShearNB = 2;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6, 1e-12) << "a flat bed face";
  Faz[Cflateb[c0]] = 0.5 * Barea[b];
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 1.2, 1e-12);
  // Correction 4: the surface slope along the surface velocity, depth x 9810.
  FlagShearNB = 4;
  const int top = cellAbove(c0, 8);
  ASSERT_EQ(Ccellt[top], 0);
  Cxvel[top] = 1.0;
  Cyvel[top] = 0.0;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6, 1e-12) << "a level surface";
  Fvx[Cflatet[top]] = 1e-4;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 1e-4 * Bdepth[b] * 9810.0, 1e-6);
  FlagShearNB = 0;

  // The grid factor by the column's cells, only with entry 1 above 1.
  for (int n = 0; n <= 10; ++n) ShearGridCoeff[n] = 1.0 + 0.1 * n;
  ShearGridCoeff[1] = 1.0;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6, 1e-12);
  ShearGridCoeff[1] = 1.5;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6 * ShearGridCoeff[ant[i][j]], 1e-12);
  ant[i][j] = 14;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tau, 0.6 * 2.0, 1e-12);
  ShearGridCoeff[1] = 1.0;

  // Bed-form reductions with h = 1 m, d90 = 0.2 mm, L = 2, p = 7/3.
  const double p = 7.0 / 3.0;
  Bedformheight[b] = 0.2;
  const Row forms[] = {{1, 0.6 * std::pow(1.0 / (1.0 - 0.1001), p)},
                       {2, 0.6 * std::pow(1.0 / 0.9, p)},
                       {3, 0.6}};
  for (const Row &r : forms) {
    FlagShearBedform = r.option;
    const BedCellShear s = bedCellShear(1, b, 1.0, 0.0002, 0);
    EXPECT_NEAR(s.tauE, r.expected, 1e-12) << "bed-form reduction " << r.option;
    EXPECT_EQ(s.tau, 0.6);
  }
  // Bed forms above the surface: the ratio at its limit, not a power of a
  // negative number.
  Bedformheight[b] = 2.5;
  for (int option = 1; option <= 3; ++option) {
    FlagShearBedform = option;
    EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tauE, 0.6 * std::pow(2.0, p), 1e-12) << option;
  }
  FlagShearBedform = 0;
  // Grain roughness (F 90 4 and 5): the fourth root of 3 d90 / ks.
  Croughness[c0] = 0.0012;
  for (int variant : {4, 5}) {
    FlagRoughness = variant;
    EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 0).tauE, 0.6 * std::pow(0.5, 0.25), 1e-12);
  }
}

// Corrections 5 and 6 act at bank cells only: a column beside a dry one.
TEST_F(BedShear, BankCorrections) {
  load();
  const GridBlock &blk = block[1];
  const int i = blk.i1 + 2, j = blk.j1 + 1;
  const int b = pointbed[i][j], c0 = bottomOf(i, j), inner = pointbed[i + 1][j + 1];
  for (int c = 1; c <= NoCells; ++c) {
    Ckinen[c] = 0.01;
    Cxvel[c] = 0.5;
    Cyvel[c] = 0.0;
  }
  zval[i][j - 1][0] = 0.0;  // the column south of (i, j) falls dry
  ASSERT_EQ(dryNeighbourCount(1, i, j), 1);
  ASSERT_EQ(dryNeighbourCount(1, i + 1, j + 1), 0);
  // The Manning-Strickler cap 9810 U^2 / (M^2 h^(1/3)) of the surface speed.
  FlagShearNB = 5;
  ManningInit = 50.0;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 1).tau, 0.25 / 2500.0 * 9810.0, 1e-6);
  EXPECT_NEAR(bedCellShear(1, inner, 1.0, 0.0002, 0).tau, 3.0, 1e-12);
  // A bank cell without a southern neighbour caps at a deeper northern one.
  FlagShearNB = 6;
  Ccells[c0] = 0;
  Ckinen[Ccelln[c0]] = 0.004;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 1).tau, 3.0, 1e-12) << "not deeper";
  Bdepth[Cbed[Ccelln[c0]]] = Bdepth[b] + 0.5;
  EXPECT_NEAR(bedCellShear(1, b, 1.0, 0.0002, 1).tau, 1.2, 1e-12);
  EXPECT_NEAR(bedCellShear(1, inner, 1.0, 0.0002, 0).tau, 3.0, 1e-12);
}

}  // namespace
