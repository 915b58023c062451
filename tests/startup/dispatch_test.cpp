// The run letters in process: which operation each letter calls, the flags
// around the call, the passes, "timei" first and the driver choice of W.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_reader.h"
#include "startup/entry.h"
#include "startup/operations.h"

namespace {

std::vector<std::string> calls;
std::string gFlagsSeen;   // the activity flags at the moment of the last recorded call
int readTimesResult = 0;
int readUnstructureResult = 0;

void note(const char *name) {
  calls.emplace_back(name);
  gFlagsSeen = std::to_string(gFlagRead) + std::to_string(gFlagWriteR) + std::to_string(gFlagFlow) +
               std::to_string(gFlagSedim) + std::to_string(gFlagComp) + std::to_string(FlagWhatsRunning);
}

// Every operation becomes a recorder of its own name.
EngineOperations recorders() {
  EngineOperations o{};
  o.kread = [] { note("kread"); };
  o.AllocateArrays = [](int, int, int) { note("AllocateArrays"); return 0.0; };
  o.ReadTimes = [] { note("ReadTimes"); return readTimesResult; };
  o.readKoosurf = [] { note("readKoosurf"); };
  o.Unstructure = [] { note("Unstructure"); return 1; };
  o.bedinter = [] { note("bedinter"); };
  o.computeRoughness = [] { note("computeRoughness"); };
  o.computeWCStart = [] { note("computeWCStart"); };
  o.startup = [] { note("startup"); };
  o.WaterSolve = [] { note("WaterSolve"); };
  o.WaterSolveNew = [] { note("WaterSolveNew"); };
  o.WaterSolveFast = [] { note("WaterSolveFast"); };
  o.WaterSolveHydrostatic = [] { note("WaterSolveHydrostatic"); };
  o.WaterSolve2D = [] { note("WaterSolve2D"); };
  o.MGSsolver = [] { note("MGSsolver"); };
  o.shallowWater = [] { note("shallowWater"); return 0; };
  o.metric = [] { note("metric"); };
  o.backwater = [] { note("backwater"); };
  o.BedMake = [] { note("BedMake"); };
  o.writeMPIkoosurf = [] { note("writeMPIkoosurf"); };
  o.ReadAllData = [] { note("ReadAllData"); return 0; };
  o.writeConqRes = [] { note("writeConqRes"); return 0; };
  o.writeConcRes = [] { note("writeConcRes"); return 0; };
  o.WriteUnstructure = [] { note("WriteUnstructure"); return 0; };
  o.WriteAllData = [] { note("WriteAllData"); };
  o.sprintflow = [] { note("sprintflow"); };
  o.readConRes = [] { note("readConRes"); return 0; };
  o.readres = [] { note("readres"); };
  o.ReadUnstructure = [] { note("ReadUnstructure"); return readUnstructureResult; };
  o.makeWeirSTL = [] { note("makeWeirSTL"); return 0; };
  o.concRijn = [] { note("concRijn"); };
  o.morphology_tsc = [] { note("morphology_tsc"); };
  o.computeSlidemovement = [] { note("computeSlidemovement"); return 0; };
  o.computeSoilStress = [] { note("computeSoilStress"); };
  o.computeSlideLocation = [] { note("computeSlideLocation"); };
  o.Components = [] { note("Components"); };
  o.groundwater = [] { note("groundwater"); };
  o.computeVegdataFromSTL = [] { note("computeVegdataFromSTL"); return 0; };
  return o;
}

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    kreadDefaults();
    operations = recorders();
    operations.kread = [] { note("kread"); };
    calls.clear();
    readTimesResult = 0;
    readUnstructureResult = 0;
    NoComponents = 1;
    FlagGroundwater = 1;
    NoCells = 1;  // the recorders build no grid: the letters find one cell
  }
  void TearDown() override { operations = engineOperations(); }

  // Runs InitialFunction with the given run string.
  void runLetters(const std::string &letters) {
    std::memset(run, ' ', sizeof run);
    std::memcpy(run, letters.data(), std::min(letters.size(), sizeof run));
    calls.clear();
    InitialFunction();
    calls.erase(calls.begin(), calls.begin() + 2);  // kread, AllocateArrays
  }
};

struct LetterCase {
  char letter;
  std::vector<std::string> calls;
  std::string flags;  // gFlagRead, gFlagWriteR, gFlagFlow, gFlagSedim, gFlagComp, FlagWhatsRunning
};

TEST_F(Dispatch, EachLetterCallsItsOperationWithItsFlags) {
  const LetterCase cases[] = {
      {'A', {"writeMPIkoosurf"}, "000000"},   {'B', {"ReadAllData"}, "000000"},
      {'C', {"Components"}, "000010"},        {'D', {"computeSlidemovement"}, "000000"},
      {'E', {"writeConqRes"}, "010000"},      {'F', {"writeConcRes"}, "010000"},
      {'G', {"metric", "BedMake", "groundwater"}, "000000"}, {'H', {"WriteUnstructure"}, "010000"},
      {'I', {"concRijn"}, "000000"},          {'J', {"WriteAllData"}, "000000"},
      {'K', {"computeRoughness"}, "000000"},  {'L', {"shallowWater"}, "000000"},
      {'M', {"sprintflow"}, "010000"},        {'N', {}, ""},
      {'O', {"readConRes"}, "100000"},        {'P', {"metric", "BedMake", "computeVegdataFromSTL"}, "000000"},
      {'Q', {"metric", "backwater"}, "000000"}, {'R', {"readres"}, "100000"},
      {'S', {"morphology_tsc"}, "000102"},    {'T', {}, ""},
      {'U', {"ReadUnstructure"}, "100000"},   {'V', {"bedinter"}, "000000"},
      {'W', {"computeWCStart", "WaterSolve"}, "001001"},
      {'Y', {"readKoosurf", "Unstructure"}, "000000"},
      {'Z', {"makeWeirSTL"}, "000000"},
  };
  for (const LetterCase &c : cases) {
    calls.clear();
    gFlagsSeen.clear();
    FlagInitialFinished = 0;
    EXPECT_TRUE(RunLetter(c.letter, 1)) << c.letter;
    EXPECT_EQ(calls, c.calls) << c.letter;
    EXPECT_EQ(gFlagsSeen, c.flags) << c.letter;
    EXPECT_EQ(gFlagRead + gFlagWriteR + gFlagFlow + gFlagSedim + gFlagComp + FlagWhatsRunning, 0) << c.letter;
  }
  EXPECT_STREQ(mc_v1, "Written from initial");
}

// A grid letter that leaves no cells, or a flow letter before any grid,
// ends the run before a driver could report convergence on nothing.
TEST_F(Dispatch, GridWithoutCellsStops) {
  NoCells = 0;
  for (char letter : {'W', 'L'}) {
    EXPECT_EXIT(RunLetter(letter, 1), ::testing::ExitedWithCode(252), "") << letter;
  }
  EXPECT_TRUE(calls.empty());
  EXPECT_EXIT(RunLetter('Y', 1), ::testing::ExitedWithCode(252), "");
  EXPECT_EXIT(RunLetter('U', 1), ::testing::ExitedWithCode(252), "");
}

TEST_F(Dispatch, LetterXEndsWithStatusZero) {
  EXPECT_EXIT(RunLetter('X', 1), ::testing::ExitedWithCode(0), "");
}

TEST_F(Dispatch, GridLettersFinishTheInitialisation) {
  FlagInitialFinished = 0;
  RunLetter('Y', 1);
  EXPECT_EQ(FlagInitialFinished, 1);
  FlagInitialFinished = 0;
  RunLetter('U', 1);
  EXPECT_EQ(FlagInitialFinished, 1);
}

TEST_F(Dispatch, WaterFlowDriverChoice) {
  struct Row {
    int solveNew, fast, hydrostatic, mgs;
    std::vector<std::string> calls;
  };
  const Row rows[] = {
      {1, 1, 1, 1, {"WaterSolveNew"}},
      {0, 1, 1, 0, {"computeWCStart", "WaterSolveFast"}},
      {0, 0, 2, 1, {"MGSsolver"}},
      {0, 0, 1, 0, {"computeWCStart", "WaterSolveHydrostatic"}},
      {0, 0, 3, 0, {"computeWCStart", "WaterSolve2D"}},
      {0, 0, 2, 0, {"computeWCStart"}},
      {0, 0, 0, 0, {"computeWCStart", "WaterSolve"}},
      {0, 0, 0, 2, {"MGSsolver"}},
      {0, 0, 0, -1, {}},
  };
  for (const Row &r : rows) {
    FlagWaterSolveNew = r.solveNew;
    FlagFastWatersolve = r.fast;
    Hydrostatic = r.hydrostatic;
    MGSNo = r.mgs;
    calls.clear();
    RunLetter('W', 1);
    EXPECT_EQ(calls, r.calls) << r.solveNew << r.fast << r.hydrostatic << r.mgs;
  }
}

TEST_F(Dispatch, ThixoFlowMarksTheSlideComputation) {
  FlagThixo = 1;
  RunLetter('W', 1);
  EXPECT_EQ(FlagThixoIsComputing, 1);
}

TEST_F(Dispatch, SoilStressLetterFollowsF248) {
  const std::pair<int, std::vector<std::string>> rows[] = {
      {0, {}},
      {1, {"metric", "BedMake", "startup", "computeSoilStress"}},
      {2, {"metric", "BedMake", "startup", "computeSlideLocation"}},
      {3, {}}};
  for (const auto &[mode, expected] : rows) {
    FlagSoilStress = mode;
    calls.clear();
    RunLetter('N', 1);
    EXPECT_EQ(calls, expected) << mode;
  }
}

TEST_F(Dispatch, ConditionalLetters) {
  NoComponents = 0;
  FlagGroundwater = 2;
  RunLetter('E', 1);
  RunLetter('G', 1);
  EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, SedimentModeRefusedInFlowOnlyRun) {
  FlagTSC = 1;
  EXPECT_EXIT(RunLetter('W', 1), ::testing::ExitedWithCode(251), "");
  FlagTSC = -1;
  EXPECT_EXIT(RunLetter('W', 1), ::testing::ExitedWithCode(249), "");
}

TEST_F(Dispatch, GridFileReadOnlyInTheFirstPass) {
  IterF2 = 2;
  runLetters(" UW\n");
  EXPECT_EQ(calls, (std::vector<std::string>{"ReadUnstructure", "computeWCStart", "WaterSolve", "computeWCStart",
                                             "WaterSolve"}));
  EXPECT_STREQ(mc_message, " Initial run finished       ");
  EXPECT_EQ(FlagInitialFinished, 1);
}

TEST_F(Dispatch, GridFileFailuresStopTheLetters) {
  struct Row {
    int result;
    const char *message;
  };
  const Row rows[] = {{-58, " Error in x or y values in koomin file       "},
                      {-54, " Error on 2nd integer, G 1 data set "},
                      {-55, " Error on 1st integer, G 1 data set "},
                      {-3, " Error reading unstruc file  "}};
  for (const Row &r : rows) {
    readUnstructureResult = r.result;
    setStatus(mc_message, "");
    runLetters(" UW");
    EXPECT_EQ(calls, std::vector<std::string>{"ReadUnstructure"}) << r.result;
    EXPECT_STREQ(mc_message, r.message);
    EXPECT_EQ(gFlagRead, 1);
  }
  readUnstructureResult = 1;
  runLetters(" UT");
  EXPECT_EQ(gFlagRead, 0);
}

TEST_F(Dispatch, TransientRunReadsTimeiBeforeEveryTimedLetter) {
  TimeStep = 1e-7;
  FlagGroundwater = 0;
  IterF2 = 2;
  runLetters(" CGSWT");
  std::vector<std::string> pass = {"ReadTimes", "Components",     "ReadTimes", "ReadTimes",
                                   "morphology_tsc", "ReadTimes", "computeWCStart", "WaterSolve"};
  std::vector<std::string> both = pass;
  both.insert(both.end(), pass.begin(), pass.end());
  EXPECT_EQ(calls, both);
}

TEST_F(Dispatch, TimeiErrorStopsTheLettersWithoutTheFinalStep) {
  TimeStep = 1e-7;
  readTimesResult = 3;
  setStatus(mc_message, "");
  runLetters(" TWC");
  EXPECT_EQ(calls, std::vector<std::string>{"ReadTimes"});
  EXPECT_STREQ(mc_message, "");
}

TEST_F(Dispatch, BedConcentrationsKeptOnlyInSedimentRuns) {
  lnumber = 2;
  NoCells = 3;
  double now[3][4] = {{9, 9, 9, 9}, {0, 1, 2, 3}, {0, 4, 5, 6}};
  double old[3][4] = {};
  double *nowRows[3] = {now[0], now[1], now[2]};
  double *oldRows[3] = {old[0], old[1], old[2]};
  Cconc = nowRows;
  Cconc_old = oldRows;
  FlagTSC = 0;
  RunLetter('I', 1);
  EXPECT_EQ(old[1][1], 0.0);
  FlagTSC = 1;
  RunLetter('I', 1);
  EXPECT_EQ(old[0][1], 0.0);  // size 0 is not copied
  EXPECT_EQ(old[1][3], 3.0);
  EXPECT_EQ(old[2][1], 4.0);
  EXPECT_EQ(old[2][0], 0.0);  // the dummy cell is not copied
  Cconc = Cconc_old = nullptr;
}

TEST_F(Dispatch, MPIkoosurfModeOnlyWithinTenPositions) {
  runLetters("TTTTTTTTTTA");
  EXPECT_EQ(FlagMPIkoosurf, 0);
  EXPECT_TRUE(calls.empty());
  runLetters(" TA");
  EXPECT_EQ(FlagMPIkoosurf, 1);
}

TEST_F(Dispatch, FailedAllocationStopsBeforeTheLetters) {
  operations.AllocateArrays = [](int, int, int) {
    note("AllocateArrays");
    return -1.0;
  };
  runLetters(" TW");
  EXPECT_TRUE(calls.empty());
  EXPECT_STREQ(mc_message, " Error in array allocation       ");
}

TEST_F(Dispatch, SedimentInflowInBothPlaces) {
  FlagTSC = 1;
  FlagDischargeTime = 1;
  CompInflowNo = 1;
  std::memset(run, ' ', sizeof run);
  EXPECT_EXIT(InitialFunction(), ::testing::ExitedWithCode(250), "");
  std::memcpy(run, " X", 2);
  EXPECT_EXIT(InitialFunction(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
