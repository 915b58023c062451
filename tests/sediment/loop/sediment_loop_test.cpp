// The sediment time loop in process, its later stages recorded: the order of
// a step, the clock, the step count, the time-step size, the print steps, the
// fill stop, the concentration cap, a flow failure and the "tolvenika" rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "sediment/loop/sediment_loop_fixture.h"
#include "sediment/loop/time_step_size.h"
#include "sediment/sediment_services.h"
#include "support/run_case.h"

namespace {

using Names = std::vector<std::string>;

// A copy of block 1 as block 2, each block a work-block stage of its own.
void twoStages(int first, int second) {
  block[2] = block[1];
  NoBlocks = 2;
  WorkBlockNo = 2;
  WorkBlock[1] = first;
  WorkBlock[2] = second;
}

TEST_F(SedimentLoopTest, OneStepCallsEveryStageInOrder) {
  channel(0.5);
  iterGlobalMax = 2;
  iterWriteAllData = 2;
  TurbDensFlag = 1;
  FlagBagger = 4;
  FlagSmoothBedchange = 1;
  FlagProfiles = 1;
  TransWriteFiles[1] = 1;
  FlagMorphStatistics = 1;
  FlagCohesion = 3;
  WriteDuneI1 = 1;
  WriteDuneIter = 1;
  FlagInterpolVal = 30;
  FlagFractionsPrint = 1;
  PrintArrayFlags[10] = 19;
  morphology_tsc();
  EXPECT_EQ(callsOf(0), (Names{"setInitialCohesive", "initialiseBed", "sumStartLayerMasses"}));
  const Names step = {"computeDensityStat", "WaterSolve", "computeBFroude", "sedimentEquationTerms", "bagger",
                      "morphology_tsc_solver_tsc2_single", "smoothBedchange", "morphology2_fractions",
                      "sumOutflowMass", "print_profiles", "bedchange", "WriteTransFiles", "computeMorphStatistics",
                      "computeCohesion", "stepMassReport", "writeDune", "print_fractions", "make_Bfractionsprint",
                      "makeDarnevoli"};
  EXPECT_EQ(callsOf(1), step);
  Names second = step;
  second.insert(second.begin(), "WriteAllData");
  EXPECT_EQ(callsOf(2), second);
  EXPECT_EQ(callsOf(3), (Names{"endOfRunReport", "writeConcRes", "endOfRunReportTail", "sprintflow"}));
  EXPECT_STREQ(mc_v1, "Written from end of morphology");
  EXPECT_STREQ(mc_message, "Sediment calculation finished");
  const std::string log = boogie();
  expectInOrder(log, {"Relaxation: 0.800000 0.200000 0.500000 0.500000\n", "Using van Rijns suspended load formula\n\n",
                      "\n ***** In morphology_tsc **********\n\n",
                      "FlagTSC = 2, Hydrostatic = 0, NoBlocks = 1, iterGlobalMax = 2\n",
                      "Volume of geometry: 4.0000000000000", "e+01 qubic meters\n", "Have written con2res file \n"});
}

// The solver, fraction and bed routines by bed model, size count and F 255.
TEST_F(SedimentLoopTest, BedModelChoosesSolverFractionsAndBedRoutine) {
  struct Row {
    int tsc, fracVer0, option, hydrostatic;
    Names expected;
  };
  const Row rows[] = {
      {1, 0, 1, 0, {"morphology_tsc_solver_tsc1_single", "morphology_fractions", "bedchange2"}},
      {2, 0, 3, 0, {"morphology_tsc_solver_tsc2_single", "morphology2_fractions", "bedchange3"}},
      {3, 0, 5, 0, {"morphology_tsc_solver_tsc3_standard", "morphology3_fractions", "sumBedMoveMass", "bedchange5"}},
      {2, 0, 2, 0, {"morphology_tsc_solver_tsc2_single", "morphology2_fractions"}},
      {2, 0, 0, 2, {"morphology_tsc_solver_tsc2_single", "morphology2_fractions"}},
  };
  channel(0.5);
  iterGlobalMax = 1;
  for (const Row &row : rows) {
    calls.clear();
    FlagTSC = row.tsc;
    FlagFracVer0 = row.fracVer0;
    FlagBedchangeOption = row.option;
    Hydrostatic = row.hydrostatic;
    stimet = 0.0;
    morphology_tsc();
    Names picked;
    for (const std::string &name : callsOf(1)) {
      if (name.find("morphology") == 0 || name.find("bedchange") == 0 || name == "sumBedMoveMass") {
        picked.push_back(name);
      }
    }
    EXPECT_EQ(picked, row.expected) << "F 37 " << row.tsc << ", F 255 " << row.option;
  }
}

// Two sizes with F 37 2: F 303 0 and 1 run the source solver of several
// sizes, 2 its bed-layer variant and 3 (and above) no concentration solver
// at all; the grain fractions and the bed change run in every case.
TEST_F(SedimentLoopTest, F303ChoosesTheSeveralSizeSolverOrNone) {
  channel(0.5, "G 1 13 7 11 2\nS 2 0.0001 0.008\nN 0 1 0.5\nN 0 2 0.5\n");
  ASSERT_EQ(lnumber, 2);
  iterGlobalMax = 1;
  const struct {
    int fracVer0;
    Names expected;
  } rows[] = {
      {0, {"morphology_tsc_solver_tsc2_multiple", "morphology2_fractions", "bedchange"}},
      {1, {"morphology_tsc_solver_tsc2_multiple", "morphology2_fractions", "bedchange"}},
      {2, {"morphology_tsc_solver_tsc2_multiple_v2", "morphology2_fractions", "bedchange"}},
      {3, {"morphology2_fractions", "bedchange"}},
  };
  for (const auto &row : rows) {
    calls.clear();
    FlagFracVer0 = row.fracVer0;
    stimet = 0.0;
    morphology_tsc();
    Names picked;
    for (const std::string &name : callsOf(1)) {
      if (name.find("morphology") == 0 || name.find("bedchange") == 0) picked.push_back(name);
    }
    EXPECT_EQ(picked, row.expected) << "F 303 " << row.fracVer0;
  }
}

// A concentration that is not a number after the solver ends the run with
// the exit of a suspended volume that is not a number, before the grain
// fractions, the bed change or any result.
TEST_F(SedimentLoopTest, ConcentrationNotANumberEndsTheRun) {
  channel(0.5);
  iterGlobalMax = 2;
  onEquationTerms = [] { Cconc[1][7] = std::nan(""); };
  EXPECT_EXIT(morphology_tsc(), ::testing::ExitedWithCode(157), "");
  EXPECT_TRUE(endsWith(boogie(), "Error: sediment concentration of size 1 is not a number in cell 7 in time step 1\n\n"))
      << boogie();
}

// A bed change that is not a number ends the step before the bed levels
// move, with the exit of a suspended volume that is not a number. (A solid
// fraction of 0 once made one; the control reader now refuses that value.)
TEST_F(SedimentLoopTest, BedChangeNotANumberEndsTheRun) {
  channel(0.5);
  iterGlobalMax = 2;
  onEquationTerms = [] { Bedmove[pointbed[3][3]] = std::nan(""); };
  EXPECT_EXIT(morphology_tsc(), ::testing::ExitedWithCode(157), "");
  const std::string expected =
      "Error: bed change is not a number in bed cell " + std::to_string(pointbed[3][3]) + " in time step 1\n\n";
  EXPECT_TRUE(endsWith(boogie(), expected)) << boogie();
}

// The clock moves once per step, exactly one time step, however many drivers
// or stages ran and whether a bed routine ran or not.
TEST_F(SedimentLoopTest, EveryStepEndsOneTimeStepLater) {
  struct Row {
    const char *name;
    void (*set)();
    int driversPerStep;
  };
  const Row rows[] = {
      {"plain", [] {}, 1},
      {"two G 25 stages", [] { twoStages(1, 2); }, 2},
      {"F 68 4", [] { Hydrostatic = 4; }, 2},
      {"F 68 4, two stages, F 255 4",
       [] {
         Hydrostatic = 4;
         FlagBedchangeOption = 4;
         twoStages(2, 1);
       },
       4},
      {"F 68 2", [] { Hydrostatic = 2; }, 0},
      {"F 68 7 with a bed routine", [] { Hydrostatic = 7; }, 0},
      {"F 255 2", [] { FlagBedchangeOption = 2; }, 1},
      {"F 454 3", [] { skipWatersolve = 3; }, -1},
  };
  for (const Row &row : rows) {
    calls.clear();
    channel(0.5);
    iterGlobalMax = 6;
    row.set();
    static std::vector<double> seen;
    seen.clear();
    onStepReport = [] { seen.push_back(stimet - Iter * TimeStep); };
    morphology_tsc();
    ASSERT_EQ(seen.size(), 6u) << row.name;
    for (double off : seen) EXPECT_EQ(off, 0.0) << row.name;
    EXPECT_EQ(stimet, 3.0) << row.name;
    if (row.driversPerStep >= 0) {
      int drivers = 0;
      for (const Call &c : calls) drivers += c.name.rfind("WaterSolve", 0) == 0 ? 1 : 0;
      EXPECT_EQ(drivers, 6 * row.driversPerStep) << row.name;
    }
  }
}

TEST_F(SedimentLoopTest, StepCountTimeEndAndNoSteps) {
  channel(0.5);
  iterGlobalMax = 10;
  TimeEnd = 1.2;
  morphology_tsc();
  EXPECT_EQ(Iter, 3);
  EXPECT_EQ(stepsOf("WaterSolve"), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(stepsOf("endOfRunReport"), (std::vector<int>{3}));

  calls.clear();
  iterGlobalMax = 0;
  morphology_tsc();
  EXPECT_EQ(callsOf(1), (Names{"endOfRunReport", "writeConcRes", "endOfRunReportTail", "sprintflow"}));
}

TEST_F(SedimentLoopTest, SkippedFlowStepsAndPeriodicOutputs) {
  channel(0.5);
  iterGlobalMax = 9;
  skipWatersolve = 3;
  PrintRes = 2;
  FlagProfiles = 2;
  morphology_tsc();
  EXPECT_EQ(stepsOf("WaterSolve"), (std::vector<int>{1, 3, 6, 9}));
  EXPECT_EQ(stepsOf("sprintflow"), (std::vector<int>{2, 4, 6, 8, 10}));
  EXPECT_EQ(stepsOf("print_profiles"), (std::vector<int>{2, 4, 6, 8}));
}

TEST_F(SedimentLoopTest, BedChange4TakesZeroInTheFirstStepOnly) {
  channel(0.5);
  iterGlobalMax = 3;
  FlagBedchangeOption = 4;
  morphology_tsc();
  std::vector<int> arguments;
  for (const Call &c : calls) {
    if (c.name == "bedchange4") arguments.push_back(c.argument);
  }
  EXPECT_EQ(arguments, (std::vector<int>{0, 1, 1}));
}

// Hydrostatic 2 solves no flow: the groups take their faces' areas, and the
// bed movement goes a quarter to each corner of the column's plane 1.
TEST_F(SedimentLoopTest, Hydrostatic2KeepsTheGridAndAccumulatesBedMovement) {
  channel(0.5);
  iterGlobalMax = 1;
  Hydrostatic = 2;
  DischargeGroup &group = DischargeStruct[1];
  group.discharge = 1000.0;
  group.faceCount = 2;
  group.faces[0] = 1;
  group.faces[1] = 2;
  group.area = 99.0;
  onEquationTerms = [] { Bedmove[pointbed[3][3]] = 0.4; };
  morphology_tsc();
  EXPECT_TRUE(stepsOf("WaterSolve").empty());
  EXPECT_DOUBLE_EQ(group.area, Farea[1] + Farea[2]);
  EXPECT_DOUBLE_EQ(Surfaces[1][3][3], 0.1);
  EXPECT_DOUBLE_EQ(Surfaces[1][2][3], 0.1);
  EXPECT_DOUBLE_EQ(Surfaces[1][2][2], 0.1);
  EXPECT_DOUBLE_EQ(Surfaces[1][3][2], 0.1);
  EXPECT_DOUBLE_EQ(Surfaces[1][4][4], 0.0);
}

TEST_F(SedimentLoopTest, TimeStepSizes) {
  channel(0.5);
  // F 532 4 1 16: geometric growth over the first four steps.
  varTimeInterval = 4;
  varTimeStart = 1.0;
  varTimeEnd = 16.0;
  std::vector<double> steps;
  for (Iter = 1; Iter <= 6; ++Iter) {
    stepTimeStepSize();
    steps.push_back(TimeStep);
  }
  EXPECT_EQ(steps, (std::vector<double>{1, 2, 4, 8, 16, 16}));
  varTimeInterval = 0;
  // The "timei" time-step column: the first row at or after stimet.
  TimeInNo = 3;
  const double times[] = {0.0, 10.0, 20.0}, sizes[] = {1.0, 2.0, 3.0};
  for (int k = 0; k < 3; ++k) {
    TimeInTime[k] = times[k];
    TimeInTimStep[k] = sizes[k];
  }
  FlagJTime = 1;
  const double at[][2] = {{0.0, 1.0}, {5.0, 2.0}, {10.0, 2.0}, {15.0, 3.0}, {50.0, 3.0}};
  for (const auto &row : at) {
    stimet = row[0];
    stepTimeStepSize();
    EXPECT_EQ(TimeStep, row[1]) << "stimet " << row[0];
  }
  // F 350 60 5 7.5 1.
  maxTimeStep = 60.0;
  minTimeStep = 5.0;
  QRefTimeStep = 7.5;
  powTimeStep = 1.0;
  const double byDischarge[][2] = {{7500.0, 60.0}, {15000.0, 30.0}, {150000.0, 5.0}, {0.0, 5.0}};
  for (const auto &row : byDischarge) {
    DischargeArray[1] = row[0];
    computeTimestep();
    EXPECT_DOUBLE_EQ(TimeStep, row[1]) << "discharge " << row[0];
  }
}

TEST_F(SedimentLoopTest, PrintFlagMarksTheReportSteps) {
  channel(0.5);
  iterGlobalMax = 100;
  PrintIterBoogie = 30;
  static std::vector<int> printed;
  printed.clear();
  onStepReport = [] {
    if (FlagPrint == 0) printed.push_back(Iter);
  };
  morphology_tsc();
  EXPECT_EQ(printed, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
  printed.clear();
  channel(0.5);
  iterGlobalMax = 12;
  debugging = 'D';
  morphology_tsc();
  EXPECT_EQ(printed.size(), 12u);
}

TEST_F(SedimentLoopTest, FillStopEndsTheRunWithItsOutput) {
  channel(0.5);
  iterGlobalMax = 10;
  FillStop = 0.5;
  onEquationTerms = [] {
    if (Iter != 2) return;
    for (int c = 1; c <= NoCells; ++c) Cvol[c] *= 0.4;
  };
  morphology_tsc();
  EXPECT_EQ(Iter, 2);
  EXPECT_TRUE(endsWith(boogie(), "Stopped due to 40.000000 percent left of reservoir volume\n\nHave written con2res file \n"))
      << boogie();
  EXPECT_EQ(stepsOf("endOfRunReport"), (std::vector<int>{2}));
}

TEST_F(SedimentLoopTest, HighConcentrationIsLoggedAndCapped) {
  channel(0.5);
  iterGlobalMax = 1;
  onEquationTerms = [] { Cconc[1][5] = 0.2; };
  morphology_tsc();
  EXPECT_EQ(Cconc[1][5], 0.1);
  const std::string log = boogie();
  expectInOrder(log, {"Warning for instability in TSC method: high sediment conc(1,5)=0.200000, depth = ", "Bconc[",
                      "NoVcells = 9, c_bed = ", "Cap = ", "\n"});
}

// A failing flow in the second of two stages: reported, results written, no
// end-of-run output.
TEST_F(SedimentLoopTest, FlowFailureInTheSecondStage) {
  channel(0.5);
  iterGlobalMax = 5;
  twoStages(1, 2);
  onDriver = [](const char *) {
    stimet += TimeStep;
    if (std::count_if(calls.begin(), calls.end(), [](const Call &c) { return c.name == "WaterSolve"; }) == 2) FlagErrorBreak = 1;
  };
  morphology_tsc();
  FlagErrorBreak = 0;
  EXPECT_EQ(callsOf(1), (Names{"WaterSolve", "WaterSolve", "sprintflow"}));
  EXPECT_TRUE(stepsOf("endOfRunReport").empty());
  EXPECT_STREQ(mc_v1, "Written from morphology due to error");
  EXPECT_TRUE(endsWith(boogie(), "Written from morphology due to ErrorBreak 1 in a WaterSolve function\n"));
}

TEST_F(SedimentLoopTest, TolvenikaRowsAndPressureReset) {
  channel(0.5);
  iterGlobalMax = 2;
  FlagTolvenika = 1;
  CrossTolvenika = 3;
  FlagPresSetZero = 1;
  for (int c = 0; c <= NoCells; ++c) Cpres[c] = 5.0;
  zval[3][2][1] = -0.25;
  morphology_tsc();
  EXPECT_EQ(readFile("tolvenika"),
            "0.500000 0.000000 -0.250000 0.000000 0.000000 0.000000 \n"
            "1.000000 0.000000 -0.250000 0.000000 0.000000 0.000000 \n");
  EXPECT_EQ(readFile("tolvenika_wl"),
            "0.500000 1.000000 1.000000 1.000000 1.000000 1.000000 \n"
            "1.000000 1.000000 1.000000 1.000000 1.000000 1.000000 \n");
  for (int c = 0; c <= NoCells; ++c) ASSERT_EQ(Cpres[c], 0.0) << c;
}

}  // namespace
