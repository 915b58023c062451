// The sediment loop's mass sums and reports by hand: the continuity table
// and when it is written, the defect ratios, the bed-movement volume, the
// "bootime" row and the end-of-run report.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "base/exit_codes.h"
#include "bed/layers/bed_layer_fixture.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "sediment/loop/sediment_mass_reports.h"

namespace {

using MassReports = BedLayerFixture;

// What a call appended to "boogie".
template <class Call>
std::string logged(Call call) {
  const std::size_t before = readFile("boogie").size();
  call();
  return readFile("boogie").substr(before);
}

void emptyWorkRanges() {
  WCStart = WBStart = 1;
  WCEnd = WBEnd = 0;
}

}  // namespace

TEST_F(MassReports, RunReportTimeUnits) {
  allocateBed(1, 2, false);
  struct Case {
    double time;
    const char *line;
  };
  const Case cases[] = {
      {9999.0, "Time: 9999.000000 seconds\n"},
      {10000.0, "Time: 2.777778 hours\n"},
      {5e6, "Time: 57.870370 days\n"},
  };
  for (const Case &c : cases) {
    stimet = c.time;
    EXPECT_EQ(logged(endOfRunReport),
              std::string(c.line) +
                  "Continuity: Bedchange 0 kg, Inflow 0 kg, Outflow 0 kg\n"
                  "BedMoveDefAbs+Move: 0 0 (kg)\n"
                  "Bed outflow move defect: 0.000000 (kg)\n"
                  "Susp. volume change defect: 0 (kg)\n"
                  "Grid size: Cells: 0, Surfaces: 0, Points: 0\n");
  }
}

// The advice follows failed surface updates above a tenth (integer division)
// of the updates done.
TEST_F(MassReports, AdviceOnFailedSurfaceUpdates) {
  allocateBed(1, 2, false);
  const std::string advice =
      "Advice for solving problem of too few surface updates: \n"
      "1. Increase the number of inner iterations for each time step: F 33 data set\n"
      "2. Decrease relaxation coefficients: K 3 data set\n"
      "3. Use multi-grid method: F 168 / K 5 data sets\n"
      "4. Increase the residual criteria for updates: F 224 data set\n"
      "5. Increase scaling parameters for k and epsilon: F 200 data set\n";
  NoNumSurfUpdate = 15;
  NoNumNoSurfUpdate = 2;
  std::string text = logged(endOfRunReport);
  EXPECT_NE(text.find("Surface updated 15 times\nSurface update failed 2 times\n" + advice), std::string::npos) << text;
  NoNumSurfUpdate = 20;
  text = logged(endOfRunReport);
  EXPECT_NE(text.find("Surface updated 20 times\nSurface update failed 2 times\nGrid size"), std::string::npos) << text;
}

TEST_F(MassReports, ContinuityReportWhenDue) {
  allocateBed(2, 2, false);
  struct Case {
    char letter;
    int print;
    bool due;
  };
  const Case cases[] = {{'N', 0, false}, {'J', 0, true}, {'J', 1, false}, {'D', 1, true}, {'E', 1, true}};
  for (const Case &c : cases) {
    debugging = c.letter;
    FlagPrint = c.print;
    EXPECT_EQ(continuityReportDue(), c.due) << c.letter << " " << c.print;
  }

  // Size 1: 100 in, 50 out, 20 more in suspension, 25 more in the layers and
  // 10 x 2.65 moved into the bed. Size 2: nothing in or out, so its percent
  // divides by 1e-10.
  density = 2.65;
  kIn[1] = 100.0;
  kUt[1] = 50.0;
  kSusp[1] = 30.0;
  kSuspo[1] = 10.0;
  kLayer2[1] = 25.0;
  kBedmove[1] = 10.0;
  kLayer2[2] = -1e-12;
  stimet = 12.0;
  SumBedChange = 1.5;
  SumInflow = 100.0;
  SumOutflow = 50.0;
  SurfacesBM = 0.25;
  FlagSinkScour = 1;
  Iter = 3;
  deltazscourG = 0.5;
  EXPECT_EQ(logged(writeContinuityReport),
            "Time: 12.000000. Continuity: Bedchange 1.500000 kg, Inflow 100.000000 kg, Outflow 50.000000 kg, "
            "Volume bed change 0.250000 m3\n"
            "Defect from erosion under non-movable bed: 0.000000 kg\n"
            "Bed outflow move defect: 0.000000 kg\n"
            "Susp. volume change defect: 0 kg\n"
            "Size  Inflow (kg) Outflow  Suspension BedLayerCh  Bedchange  Defect     Defect2    Def,PST    Def2,PST\n"
            "   1             100              50              30              25            26.5          5        3.5"
            "          5        3.5\n"
            "   2               0               0               0          -1e-12               0      1e-12          0"
            "          1          0\n"
            "Average bedchange: 0.000000, max: 0.000000\n");
  EXPECT_NEAR(PrintMaxErrorSuspSed, 5.0, 1e-9);
  EXPECT_STREQ(mc_program, " Continuity check");
  EXPECT_EQ(readFile("scour"), "3, 12.000000, 0.500000\n");
}

// One size moved by the bed-load vector of F 78 1 with a defect above 10 kg.
TEST_F(MassReports, AdviceOnTheBedLoadVector) {
  allocateBed(1, 2, false);
  BedLoadVectorFlag = 1;
  const std::string advice = "Possible cause of continuity error: F 78 1. Try F 78 3 instead\n";
  kIn[1] = 20.0;
  EXPECT_NE(logged(writeContinuityReport).find(advice), std::string::npos);
  kIn[1] = 10.0;
  EXPECT_EQ(logged(writeContinuityReport).find(advice), std::string::npos);
}

// After the bed change: the defect ratio of F 448 and the volume of plane 1
// over the columns 2..xnumber, 2..ynumber only.
TEST_F(MassReports, DefectRatiosAndBedMovementVolume) {
  allocateBed(1, 2, false);
  density = 1.0;
  WCStart = 1;
  WCEnd = 1;
  WBStart = 1;
  WBEnd = 0;
  Cvol[1] = 1.0;
  Cconc[1][1] = 0.002;  // 2 kg in suspension
  kIn[1] = 100.0;
  kSuspo[1] = 0.0;
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      Surfaces[1][i][j] = 1.0;
      armap[i][j] = 1.0;
    }
  }
  struct Case {
    int method;
    double layerStart, ratio;
  };
  // d = 100 - 2 + layers lost; the ratio divides by 2 (1) or by 102 (2, 3).
  const Case cases[] = {{1, 200.0, 149.0}, {2, 200.0, 1.0}, {3, 200.0, 298.0 / 102.0}, {3, 2000.0, 10.0},
                        {2, -300.0, -1.0}};
  for (const Case &c : cases) {
    FlagDefectRatio = c.method;
    kLayer1[1] = c.layerStart;
    sumSedimentMasses();
    EXPECT_NEAR(kSusp[1], 2.0, 1e-12);
    EXPECT_NEAR(kDefectRatio[1], c.ratio, 1e-12) << "F 448 " << c.method << ", " << c.layerStart;
  }
  EXPECT_DOUBLE_EQ(SurfacesBM, (xnumber - 1) * (ynumber - 1));
}

TEST_F(MassReports, OutflowThroughAnOutflowGroup) {
  allocateBed(1, 2, false);
  density = 2.65;
  TimeStep = 10.0;
  DischargeStruct[1].type = 0;
  DischargeStruct[1].faceCount = 1;
  DischargeStruct[1].faces[0] = 1;
  DischargeStruct[1].area = 2.0;
  DischargeArray[1] = 4.0;
  DischargeStruct[2].type = 1;  // an inflow group is not counted
  DischargeStruct[2].faceCount = 1;
  DischargeStruct[2].faces[0] = 1;
  DischargeArray[2] = 4.0;
  Fcell1[1] = 0;
  Fcell2[1] = 3;
  Farea[1] = 2.0;
  Cconc[1][3] = 0.01;
  kUt[1] = 1.0;
  SumOutflow = 0.0;
  sumOutflowMass();
  EXPECT_NEAR(kUt[1], 1.0 + 0.01 * 2.0 * 2.0 * 10.0 * 2.65, 1e-12);
  EXPECT_NEAR(SumOutflow, 1.06, 1e-12);
}

TEST_F(MassReports, BootimeRow) {
  allocateBed(1, 2, false);
  debugging = 'H';
  emptyWorkRanges();
  Iter = 3;
  GlobInnerIter = 4;
  NoCells = 2;
  NoSurfaces = 5;
  NoPoints = 6;
  for (int e = 1; e <= 6; ++e) MaxResidual[e] = e;
  Cvol[1] = 2.0;
  Cconc[1][1] = 0.25;
  Cvol[2] = 3.0;
  Cconc[1][2] = 0.5;
  writeBootimeRow();
  EXPECT_EQ(readFile("bootime"),
            "3 4 2 5 6 1.0000000000000000e+00 2.0000000000000000e+00 3.0000000000000000e+00 "
            "4.0000000000000000e+00 5.0000000000000000e+00 6.0000000000000000e+00 2.0000000000000000e+00 \n");
  EXPECT_DOUBLE_EQ(MaxResidual[7], 2.0);
}

// The F 358 window after two samples; a window reaching beyond the grid
// reports only the points the grid has.
TEST_F(MassReports, BedStatisticsOfTheWindow) {
  BedStatI1 = 2;
  BedStatI2 = 9;
  BedStatJ1 = 2;
  BedStatJ2 = 2;
  allocateBed(1, 2, false);  // columns up to 6, grid points up to 7
  BedStatI2 = 3;
  BedStatNo = 2;
  const double depth[2] = {2.0, 3.0}, orig[2] = {0.5, 0.25}, bed[2] = {1.0, 0.6}, dev[2] = {0.2, 0.4}, k[2] = {4, 2};
  for (int n = 0; n < 2; ++n) {
    bedStatDepth[2 + n][2] = depth[n];
    Surfaces[0][2 + n][2] = orig[n];
    bedStatBed[2 + n][2] = bed[n];
    bedStatDev[2 + n][2] = dev[n];
    bedStatK[2 + n][2] = k[n];
  }
  std::string text = logged(endOfRunReport);
  EXPECT_NE(text.find("\nBed statistics after 2 samples\n"
                      "i, j, depth [m], orig. bedlevel [m], bedlevel [m], bedlevel deviation [m]\n"
                      "2 2 1.000000 0.500000 0.500000 0.100000\n"
                      "3 2 1.500000 0.250000 0.300000 0.200000\n"
                      "Average depth: 1.250000 m, Average bed deviation: 0.150000 m\n"
                      "Average K factor: 1.500000\n\n"),
            std::string::npos)
      << text;
  BedStatI1 = 6;
  BedStatI2 = 9;
  text = logged(endOfRunReport);
  EXPECT_NE(text.find("6 2 0.000000 0.000000 0.000000 0.000000\n7 2 0.000000 0.000000 0.000000 0.000000\nAverage"),
            std::string::npos)
      << text;
}

// The bed gained since the start, against plane 0, in m3 and in kg of
// solids at the grain density of F 11.
TEST_F(MassReports, TotalChangeInBedLevels) {
  allocateBed(1, 2, false);
  NoBlocks = 0;
  addBlock(2, 3, 2, 2);
  SolidFrac = 0.5;
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      zval[i][j][1] = 0.1;
      Surfaces[0][i][j] = 0.0;
      armap[i][j] = 2.0;
    }
  }
  density = 2.65;
  EXPECT_EQ(logged(endOfRunReportTail), "Total change in bed levels: 4.000000e-01 qubic meters or 5.300000e+02 kg\n");
  density = 2.0;
  EXPECT_EQ(logged(endOfRunReportTail), "Total change in bed levels: 4.000000e-01 qubic meters or 4.000000e+02 kg\n");
}

// The balance backstop after the sums of a step: a defect within the mass
// the row accounts for goes on, also a dredged bed at exactly the bound;
// suspension that vanished (a start concentration far above 1 did that) or a
// value that is not finite ends the run with the step and the row.
TEST_F(MassReports, BalanceBackstop) {
  allocateBed(1, 2, false);
  density = 1.0;
  WCStart = WBStart = 1;
  WCEnd = 1;
  WBEnd = 0;  // no bed cells: the layers' change is -kLayer1
  Cvol[1] = 1.0;
  debugging = 'N';
  Iter = 3;
  stimet = 30.0;
  struct Case {
    const char *name;
    double inflow, conc, startSuspension, startLayers;
    bool stops;
  };
  const Case cases[] = {
      {"closed", 100.0, 0.002, 0.0, -98.0, false},
      {"dredged at the bound", 0.0, 0.0, 0.0, 7950.0, false},
      {"suspension vanished", 0.0, 0.0017, 396000.0, 0.0, true},
      {"inflow not finite", INFINITY, 0.0, 0.0, 0.0, true},
  };
  for (const Case &c : cases) {
    kIn[1] = c.inflow;
    Cconc[1][1] = c.conc;
    kSuspo[1] = c.startSuspension;
    kLayer1[1] = c.startLayers;
    writeFile("boogie", "");
    if (!c.stops) {
      stepMassReport();
      EXPECT_EQ(readFile("boogie"), "") << c.name;
      continue;
    }
    EXPECT_EXIT(stepMassReport(), ::testing::ExitedWithCode(kExitMassBalance & 255), "") << c.name;
    const std::string log = readFile("boogie");
    EXPECT_EQ(log.substr(0, log.rfind("  1 ")),
              "Error in continuity check, time step 3, time 30.000000: the defect of size 1 is not finite or larger "
              "than its inflow, outflow, suspension and bed change together\n"
              "Size  Inflow (kg) Outflow  Suspension BedLayerCh  Bedchange  Defect\n ")
        << c.name;
  }
}
