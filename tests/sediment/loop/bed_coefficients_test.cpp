// The per-step pieces of the sediment loop by hand: work stages, the
// suspended volume over a grid move, deposit depths and the outflow terms of
// the bed-cell balance.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "sediment/loop/bed_coefficients.h"
#include "sediment/loop/sediment_loop_fixture.h"
#include "sediment/loop/work_stages.h"

namespace {

using BedCoefficients = SedimentLoopTest;

void setBlock(int b, int first, int last) {
  block[b].FirstCell = first;
  block[b].LastCell = last;
  block[b].FirstFace = 10 * first;
  block[b].LastFace = 10 * last;
  block[b].FirstBedCell = first / 10;
  block[b].LastBedCell = last / 10;
  block[b].GridLevel = 0;
  block[b].LayerMark = 0;
}

// Group 2 an outflow ("Dirichlet", 900 kg/s) over the 36 faces of the
// channel's east end, 1/9 m2 each; the bed cells of the four bottom cells
// behind them.
std::vector<int> eastOutflow() {
  DischargeGroup &group = DischargeStruct[2];
  group.type = 0;
  group.boundaryKind = 0;
  group.discharge = 900.0;
  group.faceCount = 0;
  group.area = 0.0;
  std::vector<int> beds;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccelle[c] != 0) continue;
    group.faces[group.faceCount++] = Cflatee[c];
    group.area += Farea[Cflatee[c]];
    if (Ccellb[c] == 0) beds.push_back(Cbed[c]);
  }
  EXPECT_EQ(group.faceCount, 36);
  return beds;
}

TEST(WorkStages, StageRunsFromItsFirstToItsLastBlock) {
  NoBlocks = 3;
  setBlock(1, 1, 100);
  setBlock(2, 101, 200);
  setBlock(3, 201, 300);
  WorkBlockNo = 3;
  WorkBlock[1] = 2;
  WorkBlock[2] = 1;
  WorkBlock[3] = 2;
  EXPECT_EQ(workStageCount(), 2);
  computeWorkBlocks(2);
  EXPECT_EQ(WCStart, 1);
  EXPECT_EQ(WCEnd, 300);
  EXPECT_EQ(WFStart, 10);
  EXPECT_EQ(WFEnd, 3000);
  EXPECT_EQ(WBStart, 0);
  EXPECT_EQ(WBEnd, 30);
  EXPECT_EQ(block[1].WorkFlag, 1);
  EXPECT_EQ(block[2].WorkFlag, 0);
  EXPECT_EQ(block[3].WorkFlag, 1);
  // A stage without blocks, and a last block marked below 0, treat nothing.
  computeWorkBlocks(3);
  EXPECT_TRUE(emptyWorkRange());
  EXPECT_EQ(WBStart, 1);
  EXPECT_EQ(WBEnd, 0);
  WorkBlockNo = 0;
  block[3].LayerMark = -1;
  computeWorkBlocks(1);
  EXPECT_TRUE(emptyWorkRange());
  // A slide layer appended last stays out.
  block[3].LayerMark = 1;
  computeWorkBlocks(1);
  EXPECT_EQ(WCStart, 1);
  EXPECT_EQ(WCEnd, 200);
  // F 188 -1 without nested blocks: nothing; F 188 2: block 2 alone.
  FlagWorkSedim = -1;
  for (int b = 1; b <= 3; ++b) block[b].NestLevel = 0;
  sedimentWorkRanges();
  EXPECT_TRUE(emptyWorkRange());
  block[3].NestLevel = 1;
  sedimentWorkRanges();
  EXPECT_EQ(WCStart, 201);
  EXPECT_EQ(WCEnd, 300);
  FlagWorkSedim = 2;
  sedimentWorkRanges();
  EXPECT_EQ(WCStart, 101);
  EXPECT_EQ(WCEnd, 200);
  EXPECT_EQ(block[2].WorkFlag, 1);
  EXPECT_EQ(block[3].WorkFlag, 0);
  FlagWorkSedim = 0;
  NoBlocks = 0;
}

TEST_F(BedCoefficients, SuspendedVolumeIsKeptOverAGridMove) {
  channel(0.5);
  for (int c = 1; c <= NoCells; ++c) Cconc[1][c] = Cconc_old[1][c] = 0.001 * (c % 7);
  scaleConcGridMove1();
  const double before = Cconc[1][17];
  scaleConcGridMove2();
  EXPECT_NEAR(Cconc[1][17], before, 1e-15);
  // F 448: the mass defect raises or lowers the factor by at most 10 %.
  FlagDefectRatio = 1;
  const double ratios[][2] = {{0.3, 1.1}, {-0.3, 0.9}, {0.05, 1.05}};
  for (const auto &row : ratios) {
    kDefectRatio[1] = row[0];
    scaleConcGridMove1();
    const double c17 = Cconc[1][17], old17 = Cconc_old[1][17];
    scaleConcGridMove2();
    EXPECT_NEAR(Cconc[1][17], c17 * row[1], 1e-15) << row[0];
    EXPECT_NEAR(Cconc_old[1][17], old17 * row[1], 1e-15) << row[0];
  }
  FlagDefectRatio = 0;
  kDefectRatio[1] = 0.0;
  // The grid shrinks to half its volume: the concentrations double.
  scaleConcGridMove1();
  const double c9 = Cconc[1][9];
  for (int c = 1; c <= NoCells; ++c) Cvol[c] *= 0.5;
  scaleConcGridMove2();
  EXPECT_NEAR(Cconc[1][9], 2.0 * c9, 1e-15);
}

TEST_F(BedCoefficients, SuspendedVolumeThatIsNotANumberEndsTheRun) {
  channel(0.5);
  scaleConcGridMove1();
  Cconc[1][4] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EXIT(scaleConcGridMove2(), ::testing::ExitedWithCode(157), "");
  EXPECT_NE(boogie().find("Error in scaleConcGridMove2, l=1, i=4, Cconc = nan, Cvol = 1.111111e-01\n\n"),
            std::string::npos)
      << boogie();
}

TEST_F(BedCoefficients, DepositDepthsNearInletAndOutlet) {
  SetArraysZero();
  allocate(31, 5, 3);
  NoBlocks = 1;
  block[1].i1 = 2;
  block[1].i2 = 30;
  block[1].j1 = 2;
  block[1].j2 = 3;
  for (int i = 0; i <= 32; ++i) {
    for (int j = 0; j <= 6; ++j) {
      zval[i][j][1] = 0.01 * i;
      Surfaces[0][i][j] = 0.0;
    }
  }
  NoDownstreamDeposit = 0;
  computeDepthDeposit();
  EXPECT_EQ(NoDownstreamDeposit, 5);
  EXPECT_NEAR(depthDepositOut, 0.27, 1e-12);  // grid lines 25..29
  EXPECT_NEAR(depthDepositIn, 0.035, 1e-12);  // grid lines 2..5
  block[1].i1 = 5;
  computeDepthDeposit();
  EXPECT_NEAR(depthDepositIn, 0.055, 1e-12);  // grid lines 5..6
  // A bed below its start level deposits nothing; a long outlet range
  // starts at the block's first grid line.
  for (int i = 0; i <= 32; ++i) zval[i][2][1] = zval[i][1][1] = -1.0;
  NoDownstreamDeposit = 40;
  computeDepthDeposit();
  EXPECT_EQ(depthDepositOut, 0.0);
  EXPECT_EQ(depthDepositIn, 0.0);
}

// Outflow through the channel's east end: 36 faces of 1/9 m2, of which the
// four beside bottom cells count, and a nested face carrying water out.
TEST_F(BedCoefficients, OutflowTermsOfTheBedCells) {
  channel(0.5);
  DischargeGroup &group = DischargeStruct[2];
  const std::vector<int> beds = eastOutflow();
  ASSERT_EQ(beds.size(), 4u);
  MakeAp(1);
  for (int b : beds) {
    EXPECT_NEAR(Bap[1][b], 25.0, 1e-7);
    EXPECT_NEAR(Binout[b], -25.0, 1e-7);
  }
  // Zero gradient: nine tenths of the discharge follow the outgoing
  // velocity, 2 m/s in the bottom cells and 1 m/s above (4 x 2 + 32 x 1 = 40).
  group.boundaryKind = 1;
  relaxOutFlux = 0.9;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = Ccellb[c] == 0 ? 2.0 : 1.0;
  for (int b : beds) Bap[1][b] = Binout[b] = 0.0;
  MakeAp(1);
  for (int b : beds) EXPECT_NEAR(Bap[1][b], 0.9 * 900.0 * 2.0 / 40.0 + 0.1 * 900.0 / 36.0, 1e-7);
  // A nested face with -0.002 m3/s out of the grid adds 2 kg/s.
  group.faceCount = 0;
  for (int b : beds) Bap[1][b] = 0.0;
  NoNestflater = 1;
  Npcelle[1] = Bcellt[beds[0]];
  Nflux[1] = -0.002;
  MakeAp(1);
  EXPECT_NEAR(Bap[1][beds[0]], 2.0, 1e-12);
  NoNestflater = 0;
}

// With two sizes each takes its outflow term; the water outflow of the
// column is booked with size 1 only.
TEST_F(BedCoefficients, ColumnOutflowIsBookedWithTheFirstSize) {
  channel(0.5, "G 1 13 7 11 2\nS 1 0.001 0.1\nS 2 0.0002 0.025\nN 0 1 0.5\nN 0 2 0.5\n");
  ASSERT_EQ(lnumber, 2);
  const int bed = eastOutflow()[0];
  MakeAp(1);
  EXPECT_NEAR(Binout[bed], -25.0, 1e-7);
  MakeAp(2);
  EXPECT_NEAR(Bap[1][bed], 25.0, 1e-7);
  EXPECT_NEAR(Bap[2][bed], 25.0, 1e-7);
  EXPECT_NEAR(Binout[bed], -25.0, 1e-7);
}

}  // namespace
