// The continuity defect of the pressure correction: the mass balance of a
// cell, the discharges of the groups in time, the global flux balance, the
// storage terms of the free surface, the outflow cells and the clamp.
#include <gtest/gtest.h>

#include "flow/corrections/continuity_defect.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/hand_cells.h"

namespace {

class ContinuityDefect : public HandCellsTest {};

// Cell 2 between cell 1 (west) and cell 3 (east), cell 4 on top of it; the
// defect reads only each cell's faces.
void crossOfCells(double west, double east, double top) {
  setFace(1, {1, 2, 2, 4, 1.0, 0.5, 0.5, west});
  setFace(2, {2, 3, 2, 4, 1.0, 0.5, 0.5, east});
  setFace(3, {2, 4, 6, 5, 1.0, 0.5, 0.5, top});
  Cflatee[1] = 1;
  Cflatew[2] = 1;
  Cflatee[2] = 2;
  Cflatew[3] = 2;
  Cflatet[2] = 3;
  Cflateb[4] = 3;
}

TEST_F(ContinuityDefect, NetInflowOfEachCell) {
  allocateCells(4);
  crossOfCells(5.0, 3.0, 2.0);  // 5 kg/s in at the west, 3 out east, 2 out at the top
  pressure_fluxes();
  EXPECT_EQ(Csource[2], 0.0);
  EXPECT_EQ(Csource[1], -5.0);
  EXPECT_EQ(Csource[3], 3.0);
  EXPECT_EQ(Csource[4], 2.0);
}

// The F 373 clamp: 5 limits every defect to ±0.05 kg/s, 1 limits nothing.
TEST_F(ContinuityDefect, ClampOfTheDefect) {
  struct Case {
    int stab;
    double cell1;
  };
  const Case cases[] = {{5, -0.05}, {1, -5.0}, {0, -5.0}, {200, -2.0}};
  allocateCells(4);
  crossOfCells(5.0, 4.98, 0.02);
  for (const Case &c : cases) {
    FlagPresCorrStab = c.stab;
    pressure_fluxes();
    EXPECT_DOUBLE_EQ(Csource[1], c.cell1) << c.stab;
    EXPECT_DOUBLE_EQ(Csource[4], 0.02) << c.stab;
  }
}

class DischargeSeries : public HandCellsTest {
 protected:
  void SetUp() override {
    HandCellsTest::SetUp();
    TimeStep = 1.0;  // the series exist in transient runs
    allocateCells(1);
    FlagDischargeTime = 1;
    TimeInNo = 2;
    TimeInTime[0] = 0.0;
    TimeInTime[1] = 3600.0;
    QDinn[0][1] = 10.0;
    QDinn[1][1] = 20.0;
    QDinn[0][3] = 1.0;
    QDinn[1][3] = 2.0;
    TimeInHout[0] = 100.0;
    TimeInHout[1] = 101.0;
  }
};

TEST_F(DischargeSeries, InterpolatedInTime) {
  struct Case {
    int rows;
    double firstTime, now, group1, hout;
  };
  const Case cases[] = {
      {2, 0.0, 900.0, 12500.0, 100.25},
      {2, 0.0, 3600.0, 20000.0, 101.0},
      {2, 0.0, 5000.0, 20000.0, 101.0},  // after the last time: held
      {1, 0.0, 900.0, 10000.0, 100.0},   // a single row holds row 0
      // Before the first time the first interval is extrapolated.
      {2, 1000.0, 0.0, 1000.0 * (20.0 - 10.0 * 3600.0 / 2600.0), 101.0 - 3600.0 / 2600.0},
  };
  for (const Case &c : cases) {
    TimeInNo = c.rows;
    TimeInTime[0] = c.firstTime;
    stimet = c.now;
    DischargeArray[3] = -1.0;
    pressure_fluxes();
    EXPECT_NEAR(DischargeArray[1], c.group1, 1e-9) << c.rows << " rows at " << c.now;
    EXPECT_NEAR(Hout, c.hout, 1e-12) << c.rows << " rows at " << c.now;
    EXPECT_EQ(DischargeArray[3], -1.0) << "a group without faces keeps its value";
  }
  DischargeStruct[3].faceCount = 1;
  TimeInNo = 2;
  TimeInTime[0] = 0.0;
  stimet = 1800.0;
  pressure_fluxes();
  EXPECT_NEAR(DischargeArray[3], 1500.0, 1e-9);
}

TEST_F(ContinuityDefect, GivenDischargesWithoutASeries) {
  allocateCells(1);
  DischargeStruct[1].discharge = 700.0;
  DischargeStruct[5].discharge = 30.0;
  Hout = 4.0;
  pressure_fluxes();
  EXPECT_EQ(DischargeArray[1], 700.0);
  EXPECT_EQ(DischargeArray[5], 30.0);
  EXPECT_EQ(Hout, 0.0);
}

// Only groups with faces and more than 1e-8 kg/s count; inflow adds, outflow
// withdraws; a partitioned run leaves the balance at 0.
TEST_F(ContinuityDefect, GlobalFluxBalance) {
  allocateCells(1);
  struct Group {
    int type, faces;
    double discharge;
  };
  const Group groups[10] = {{}, {1, 3, 100.0}, {0, 2, 60.0}, {1, 0, 50.0}, {1, 1, 1e-9}, {2, 1, 7.0}, {0, 1, 0.0}};
  for (int g = 1; g <= 9; ++g) {
    DischargeStruct[g].type = groups[g].type;
    DischargeStruct[g].faceCount = groups[g].faces;
    DischargeStruct[g].discharge = groups[g].discharge;
  }
  pressure_fluxes();
  EXPECT_DOUBLE_EQ(GlobFluxDefect, 100.0 - 60.0 + 7.0);
  FlagMPI = 1;
  pressure_fluxes();
  EXPECT_EQ(GlobFluxDefect, 0.0);
}

// F 271: the level correction of a column (0.01 m on 4 m2 over 10 s) is a
// sink of 4 kg/s shared by its two cells; a steady run has none.
TEST_F(ContinuityDefect, LevelCorrectionStorage) {
  FlagTFS2 = 2;
  allocateCells(2);
  stackColumn(1, 2);
  NoBCells = 1;
  Bcellt[1] = 1;
  Bnocells[1] = 2;
  Barea[1] = 4.0;
  Bdeltah[1] = 0.01;
  for (double dt : {10.0, 0.0}) {
    TimeStep = dt;
    pressure_fluxes();
    EXPECT_DOUBLE_EQ(Csource[1], dt > 0 ? -2.0 : 0.0) << dt;
    EXPECT_DOUBLE_EQ(Csource[2], dt > 0 ? -2.0 : 0.0) << dt;
  }
}

// F 36 with F 287 7: the level change of plane 4 over one update interval
// (the mean of the column's four corners, 0.01 m on 2 m2 over 5 steps of
// 2 s) is a sink of 1 kg/s in each of the column's two cells.
TEST_F(ContinuityDefect, SurfacePlaneSink) {
  allocateCells(2);
  stackColumn(1, 2);
  addBlock(2, 2, 2, 2);
  zval[2][2][0] = 1;
  for (int i = 1; i <= 2; ++i) {
    for (int j = 1; j <= 2; ++j) Surfaces[4][i][j] = 0.01;
  }
  Cbed[1] = Cbed[2] = 1;
  Barea[1] = 2.0;
  FlagTFS = 1;
  FlagGlobFlux = 7;
  IterWaterUpdate = 5;
  for (double dt : {2.0, 0.0}) {
    TimeStep = dt;
    pressure_fluxes();
    EXPECT_DOUBLE_EQ(Csource[1], dt > 0 ? -1.0 : 0.0) << dt;
    EXPECT_DOUBLE_EQ(Csource[2], dt > 0 ? -1.0 : 0.0) << dt;
  }
  SurfUpdate[1] = 0;  // a block whose surface is not updated
  TimeStep = 2.0;
  pressure_fluxes();
  EXPECT_EQ(Csource[1], 0.0);
}

// F 36 with F 284: storage of the moving surface on the centre coefficient,
// 1 on every cell of the column, 2 on the top cell, 3 by each cell's CinvAp.
TEST_F(ContinuityDefect, SurfaceStorageOnTheCentreCoefficient) {
  allocateCells(2);
  stackColumn(1, 2);
  NoBCells = 1;
  Bcellt[1] = 1;
  Bnocells[1] = 2;
  Barea[1] = 3.0;
  CinvAp[1] = 0.1;
  CinvAp[2] = 0.2;
  FlagTFS = 1;
  relaxPressure = 0.2;
  TransInnerIter = 4;
  struct Case {
    int form;
    double timeStep, cap1, cap2;
  };
  const double form1 = 3.0 * 0.2 * 4 / (2 * 9.81 * 10.0);
  const Case cases[] = {{1, 10.0, form1, form1}, {2, 10.0, 0.0, 9000.0 * 0.2}, {3, 10.0, 9000.0 * 0.1, 9000.0 * 0.2},
                        {1, 0.0, 0.0, 0.0}, {0, 10.0, 0.0, 0.0}};
  for (const Case &c : cases) {
    FlagTFS4 = c.form;
    TimeStep = c.timeStep;
    Cap[1] = Cap[2] = 0.0;
    pressure_fluxes();
    EXPECT_DOUBLE_EQ(Cap[1], c.cap1) << c.form << " " << c.timeStep;
    EXPECT_DOUBLE_EQ(Cap[2], c.cap2) << c.form << " " << c.timeStep;
  }
}

// F 181 with F 234 1: an outflow cell takes no correction and the
// hydrostatic pressure of the water above its centre.
TEST_F(ContinuityDefect, OutflowCellsWithGravity) {
  allocateCells(3);
  stackColumn(1, 3);
  for (int c = 1; c <= 3; ++c) Ckdist[c] = 0.5;
  setFace(1, {1, 0, 2, 0, 1.0, 0.5, 0.0, 4.0});  // the outflow face of the bottom cell
  Cflatee[1] = 1;
  DischargeStruct[2].type = 0;
  DischargeStruct[2].faceCount = 1;
  DischargeStruct[2].faces[0] = 1;
  FlagGravity = 1;
  for (int rule : {1, 2, 0}) {
    FlagSurfPresDownstream = rule;
    Cpres[1] = -1.0;
    pressure_fluxes();
    EXPECT_EQ(Csource[1], rule == 0 ? -4.0 : 0.0) << rule;
    EXPECT_DOUBLE_EQ(Cpres[1], rule == 1 ? 9810.0 * 2.5 : -1.0) << rule;
  }
}

// The appended one-cell-per-column block: the three-dimensional cells start
// from 0, and each column's sum lands on its two-dimensional cell.
TEST_F(ContinuityDefect, TwoDimensionalBlockCollectsItsColumns) {
  allocateCells(6);
  stackColumn(1, 2);
  stackColumn(3, 2);
  NoBlocks = 2;
  block[1] = GridBlock{};
  block[1].FirstCell = 1;
  block[1].LastCell = 4;
  block[2] = GridBlock{};
  block[2].BlockKind = 1;
  block[2].FirstCell = 5;
  block[2].LastCell = 6;
  CflagDim[5] = CflagDim[6] = 1;
  WCStart = 5;
  WCEnd = 6;
  linkEast(5, 6);
  setFace(1, {5, 6, 2, 4, 1.0, 0.5, 0.5, 1.5});
  Cflatee[5] = 1;
  Cflatew[6] = 1;
  for (int c = 1; c <= 4; ++c) Csource[c] = 9.0;
  pressure_fluxes();
  for (int c = 1; c <= 4; ++c) EXPECT_EQ(Csource[c], 0.0) << c;
  EXPECT_EQ(Csource[5], -1.5);
  EXPECT_EQ(Csource[6], 1.5);
}

}  // namespace
