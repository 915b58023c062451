// The data sets F 1 to F 199: refusals through the engine binary (status and
// the text the log ends with), effects and defaults in process, the order in
// which data sets that look at each other must stand, and the row table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

#include "base/exit_codes.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "startup/dataset_rows.h"
#include "support/run_case.h"

namespace {

// ---- Refusals through the binary -------------------------------------------------------------

struct RefusalCase {
  const char *name;
  const char *control;
  const char *logEnd;  // the exact text the log ends with
  friend void PrintTo(const RefusalCase &c, std::ostream *os) { *os << c.name; }
};

class FRefusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FRefusal, EndsAsRefusedInputWithMessage) {
  CaseResult r = runControl(GetParam().control);
  EXPECT_EQ(r.status, kExitInputError & 255) << "control: " << GetParam().control;
  EXPECT_TRUE(endsWith(r.file("boogie"), GetParam().logEnd))
      << "control: " << GetParam().control << "\nexpected end: " << GetParam().logEnd << "\nlog: " << r.file("boogie");
}

// S: "Error for F <n> in control" without a line end.
INSTANTIATE_TEST_SUITE_P(
    MessageS, FRefusal,
    ::testing::Values(RefusalCase{"F10LetterB", "F 10 B\n", "Error for F 10 in control"},
                      RefusalCase{"F3NotANumber", "F 3 nan\n", "Error for F 3 in control"},
                      RefusalCase{"F5Infinite", "F 5 inf\n", "Error for F 5 in control"},
                      RefusalCase{"F24Overflow", "F 24 99999999999\n", "Error for F 24 in control"},
                      RefusalCase{"F12Zero", "F 12 0\n", "Error for F 12 in control"},
                      RefusalCase{"F17BelowLimit", "F 17 1e-11\n", "Error for F 17 in control"},
                      RefusalCase{"F25DiamPoros", "F 25 0.3 2 0.5 0.8 8\n", "Error for F 25 in control"},
                      RefusalCase{"F30CodeSeven", "F 30 1 7\n", "Error for F 30 in control"},
                      RefusalCase{"F47Negative", "F 47 -1\n", "Error for F 47 in control"},
                      RefusalCase{"F52NoSpeed", "F 52 0 1 1\n", "Error for F 52 in control"},
                      RefusalCase{"F52Factors", "F 52 5 1.5 0.6\n", "Error for F 52 in control"},
                      RefusalCase{"F52TwoNumbers", "F 52 5 1\n", "Error for F 52 in control"},
                      RefusalCase{"F56Angle", "F 56 3 60\n", "Error for F 56 in control"},
                      RefusalCase{"F94Negative", "F 94 0.1 -1\n", "Error for F 94 in control"},
                      RefusalCase{"F106TooSmall", "F 106 0\n", "Error for F 106 in control"},
                      RefusalCase{"F110WithoutF60", "F 110 2.0 0.5\n", "Error for F 110 in control"},
                      RefusalCase{"F110AfterF60Zero", "F 60 0 0\nF 110 2.0 0.5\n", "Error for F 110 in control"},
                      RefusalCase{"F111Two", "F 111 2\n", "Error for F 111 in control"},
                      RefusalCase{"F130FirstI", "F 130 1 5 2 5\n", "Error for F 130 in control"},
                      RefusalCase{"F130BeyondDefaultGrid", "F 130 2 301 2 5\n", "Error for F 130 in control"},
                      RefusalCase{"F130BeyondG1", "G 1 10 10 11 1\nF 130 2 11 2 5\n", "Error for F 130 in control"},
                      RefusalCase{"F130Reversed", "F 130 5 4 2 5\n", "Error for F 130 in control"}),
    [](const auto &info) { return std::string(info.param.name); });

// S+nl: the same text with a line end.
INSTANTIATE_TEST_SUITE_P(
    MessageSnl, FRefusal,
    ::testing::Values(RefusalCase{"F134WithoutF37", "F 134 3\n", "Error for F 134 in control\n"},
                      RefusalCase{"F134BeforeF37", "F 134 3\nF 37 3\n", "Error for F 134 in control\n"},
                      RefusalCase{"F134TooMany", "F 37 3\nF 134 5001\n", "Error for F 134 in control\n"},
                      RefusalCase{"F147FiveNumbers", "F 147 20 2 2 0.2 1.0\n", "Error for F 147 in control\n"},
                      RefusalCase{"F152Eleven", "F 152 11\n", "Error for F 152 in control\n"},
                      RefusalCase{"F154Zero", "F 154 0 1.0\n", "Error for F 154 in control\n"},
                      RefusalCase{"F174Nothing", "F 174\n", "Error for F 174 in control\n"},
                      RefusalCase{"F193NotANumber", "F 193 x\n", "Error for F 193 in control\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// The rows' own texts.
INSTANTIATE_TEST_SUITE_P(
    OwnText, FRefusal,
    ::testing::Values(
        RefusalCase{"F56SlideBeforeF37", "F 56 204 1.0\nF 37 3\n",
                    "Error for F 56/F 37 data sets: F 56 204/205 should only be used with F 37 3\n\n"},
        RefusalCase{"F56SlideWithF37One", "F 37 1\nF 56 202 1.0\n",
                    "Error for F 56/F 37 data sets: F 56 204/205 should only be used with F 37 3\n\n"},
        RefusalCase{"F131Index", "F 131 21 1.0\n", "Error for F 131 in control - index\n"},
        RefusalCase{"F131IndexZero", "F 131 0 1.0\n", "Error for F 131 in control - index\n"},
        RefusalCase{"F131Negative", "F 131 4 -1.0\n", "Error for F 131 in control - negative cohesion\n"},
        RefusalCase{"F131NoValue", "F 131 4\n", "Error for F 131 in control - negative cohesion\n"},
        RefusalCase{"F132Negative", "F 132 -1\n", "Error for F 132 in control - negative value\n"},
        RefusalCase{"F139First", "F 139 -1 1\n", "Error for F 139 in control, 1st. parameter\n"},
        RefusalCase{"F139Second", "F 139 1 -1\n", "Error for F 139 in control, 2nd. parameter\n"},
        RefusalCase{"F174NoRelaxation", "F 174 1 5\n", "Error for F 174 x 5 in control\n"},
        RefusalCase{"F174RelaxationAboveOne", "F 174 1 5 1.5\n", "Error for F 174 x 5 in control\n"},
        RefusalCase{"F159FourNumbers", "F 159 1 0 0 1\n", "Error for F 159 in control\nDefault F 159: 1 0 0 1 0\n"},
        RefusalCase{"F159Negative", "F 159 1 0 -1 1 0\n", "Error for F 159 in control\nDefault F 159: 1 0 0 1 0\n"},
        RefusalCase{"F33OneNumber", "F 33 10\n", "Two numbers are required on F 33 data set\n"},
        RefusalCase{"F33RangeBeforeCount", "F 33 0\n", "Error for F 33 in control"},
        // F 33 does not store its count, so the word Flow reads F 33 again and finds no number.
        RefusalCase{"F33ReadAgainByFlow", "F 33 10 1\nFlow\n", "Two numbers are required on F 33 data set\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// Messages that report how many items were converted; size tests come first on F 65.
INSTANTIATE_TEST_SUITE_P(
    Counts, FRefusal,
    ::testing::Values(
        RefusalCase{"F65FourNumbers", "F 65 100 200 300 1\n", "Error for F 65 in control: Have only read 4 numbers."},
        // At the end of the input nothing was converted: the count is 0, not the read's EOF.
        RefusalCase{"F65EndOfInput", "F 65", "Error for F 65 in control: Have only read 0 numbers."},
        RefusalCase{"F65SizeBeforeCount", "F 65 100 200 5 1\n", "Error for F 65 in control: too low numbers"},
        RefusalCase{"F65NoCells", "F 65 0 200 300 1 1\n", "Error for F 65 in control: too low numbers"},
        RefusalCase{"F82FourNumbers", "F 82 -0.5 10 -1.5 3.33\n",
                    "Error for F 82 in control, have read 4 of 5 floating point numbers,"},
        RefusalCase{"F82EndOfInput", "F 82\n", "Error for F 82 in control, have read 0 of 5 floating point numbers,"},
        RefusalCase{"F82PositiveAlpha", "F 82 0.5 10 -1.5 3.33 1e-6\n",
                    "Error for F 82 in control, have read 5 of 5 floating point numbers,"}),
    [](const auto &info) { return std::string(info.param.name); });

// ---- Accepted through the binary: the handler's message is absent ----------------------------

struct AcceptedCase {
  const char *name;
  const char *control;
  const char *absent;  // the refusal text of the data set
  friend void PrintTo(const AcceptedCase &c, std::ostream *os) { *os << c.name; }
};

class FAccepted : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(FAccepted, LogHasNoRefusal) {
  CaseResult r = runControl(GetParam().control);
  EXPECT_EQ(r.file("boogie").find(GetParam().absent), std::string::npos)
      << "control: " << GetParam().control << "\nlog: " << r.file("boogie");
}

INSTANTIATE_TEST_SUITE_P(Order, FAccepted,
                         ::testing::Values(AcceptedCase{"F10LetterY", "F 10 Y\n", "Error for F 10"},
                                           AcceptedCase{"F10LetterE", "F 10 E\n", "Error for F 10"},
                                           AcceptedCase{"F56SlideAfterF37", "F 37 3\nF 56 204 1.0\n", "Error for F 56"},
                                           AcceptedCase{"F56OtherAlgorithm", "F 56 201 1.0\n", "Error for F 56"},
                                           AcceptedCase{"F134AfterF37", "F 37 3\nF 134 3\n", "Error for F 134"},
                                           AcceptedCase{"F134TwoAlways", "F 134 2\n", "Error for F 134"},
                                           AcceptedCase{"F110AfterF60", "F 60 1 0\nF 110 2.0 0.5\n", "Error for F 110"},
                                           AcceptedCase{"F130InsideG1", "G 1 400 400 11 1\nF 130 2 301 2 5\n",
                                                        "Error for F 130"},
                                           AcceptedCase{"F130AtGridEdge", "F 130 2 300 2 300\n", "Error for F 130"},
                                           AcceptedCase{"F174RelaxationGiven", "F 174 1 5 0.3\n", "Error for F 174"},
                                           AcceptedCase{"F131LastIndex", "F 131 20 0.0\n", "Error for F 131"},
                                           AcceptedCase{"F65AllFive", "F 65 100 200 300 1 1\n", "Error for F 65"},
                                           AcceptedCase{"F106Negative", "F 106 -5\n", "Error for F 106"},
                                           AcceptedCase{"F159AllFive", "F 159 1 0 0 1 0\n", "Error for F 159"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(FDataSetsBinary, SharedNumberTakesTheStoredCount) {
  // F 94 stores its count 2, so the word Flow reads data set 2 again and its X runs.
  CaseResult r = runControl("F 2 T\nF 94 -0.001 0.01\nFlow X\n");
  EXPECT_EQ(r.status, 0) << r.file("boogie");
}

TEST(FDataSetsBinary, SedimentSchemeIsReported) {
  CaseResult r = runControl("F 27 0\n");
  EXPECT_NE(r.file("boogie").find("Using SOU scheme for sediment calculations\n"), std::string::npos)
      << r.file("boogie");
}

TEST(FDataSetsBinary, SlidePressureGradientWarnsOnlyAfterF37) {
  const std::string warning =
      "Warning: F 114 4 is based on a special algorithm for slides, and may give instabilities\n\n";
  CaseResult after = runControl("F 37 1\nF 114 4\n");
  EXPECT_NE(after.file("boogie").find(warning), std::string::npos) << after.file("boogie");
  EXPECT_EQ(after.file("boogie").find("Error for F 114"), std::string::npos);
  CaseResult before = runControl("F 114 4\nF 37 1\n");
  EXPECT_EQ(before.file("boogie").find(warning), std::string::npos) << before.file("boogie");
}

// ---- Effects in process ----------------------------------------------------------------------

void readControl(const std::string &text) {
  kreadDefaults();
  ControlStream stream(text);
  kreadPass(stream);
}

struct EffectCase {
  const char *name;
  const char *control;
  double (*observed)();
  double expected;
  friend void PrintTo(const EffectCase &c, std::ostream *os) { *os << c.name; }
};

class FEffect : public ::testing::TestWithParam<EffectCase> {};

TEST_P(FEffect, SetsValue) {
  readControl(GetParam().control);
  EXPECT_NEAR(GetParam().observed(), GetParam().expected, 1e-12 * (1.0 + std::fabs(GetParam().expected)))
      << "control: " << GetParam().control;
}

#define VALUE(expr) [] { return static_cast<double>(expr); }

INSTANTIATE_TEST_SUITE_P(
    Effects, FEffect,
    ::testing::Values(
        EffectCase{"F5Sine", "F 5 30\n", VALUE(SinReposeAngle), 0.5},
        // A failed read of F 5 (Flow after F 65 stored the count 5) keeps the value.
        EffectCase{"F5FailedReadKeepsDefault", "F 65 100 200 300 1 1\nFlow\n", VALUE(SinReposeAngle), 1.0},
        EffectCase{"F5FailedReadKeepsSine", "F 5 30\nF 65 100 200 300 1 1\nFlow\n", VALUE(SinReposeAngle), 0.5},
        EffectCase{"F16InflowRoughness", "F 16 0.05\n", VALUE(XksInflow), 0.05},
        EffectCase{"F17ThenF33", "F 17 5\nF 33 2 3\n", VALUE(TimeStep), 2.0},
        EffectCase{"F33ThenF17", "F 33 2 3\nF 17 5\n", VALUE(TimeStep), 5.0},
        EffectCase{"F22ThenF25", "F 22 0.4 1\nF 25 0.3 3 0.5 0.8 5\n", VALUE(RelaxPorosity), 3.0},
        EffectCase{"F30FirstThree", "F 30 1 2 3\nF 20 4\n", VALUE(BedFlags[2]), 3},
        EffectCase{"F30RestStayZero", "F 30 1 2 3\nF 20 4\n", VALUE(BedFlags[3] + BedFlags[4] + BedFlags[5]), 0},
        EffectCase{"F30LoopGoesOn", "F 30 1 2 3\nF 20 4\n", VALUE(IterF2), 4},
        EffectCase{"F36OneGravity", "F 36 1\n", VALUE(FlagGravity), 1},
        EffectCase{"F36ElevenGravity", "F 36 11\n", VALUE(FlagGravity), 1},
        EffectCase{"F36ElevenCorrections", "F 36 11\n", VALUE(FlagSimpleCorrections), 30},
        EffectCase{"F36NineteenGravity", "F 36 19\n", VALUE(FlagGravity), 1},
        EffectCase{"F36NineteenNoCorrections", "F 36 19\n", VALUE(FlagSimpleCorrections), 0},
        EffectCase{"F36TenNoGravity", "F 36 10\n", VALUE(FlagGravity), 0},
        EffectCase{"F36TwentyNoGravity", "F 36 20\n", VALUE(FlagGravity), 0},
        EffectCase{"F41", "F 41 3\n", VALUE(FlagMinBedLev), 41},
        EffectCase{"F42", "F 42 -2\n", VALUE(FlagMinBedLev), 42},
        EffectCase{"F41ThenF42", "F 41 3\nF 42 -2\n", VALUE(FlagMinBedLev), 42},
        EffectCase{"F42ThenF41", "F 42 -2\nF 41 3\n", VALUE(FlagMinBedLev), 41},
        EffectCase{"F47OneValue", "F 47 0.1\nF 20 4\n", VALUE(InterALimit), 1e10},
        EffectCase{"F47OneValueLimit", "F 47 0.1\nF 20 4\n", VALUE(InterLimit), 0.1},
        EffectCase{"F47OneValueLoopGoesOn", "F 47 0.1\nF 20 4\n", VALUE(IterF2), 4},
        EffectCase{"F47TwoValues", "F 47 0.1 7\n", VALUE(InterALimit), 7},
        EffectCase{"F47StoresSecondCount", "F 47 0.1 7\n", VALUE(DataSetNumber), 1},
        EffectCase{"F47StoresFailedCount", "F 47 0.1 x\n", VALUE(DataSetNumber), 0},
        EffectCase{"F51Flag", "F 51 1.5\n", VALUE(FlagCoriolis), 1},
        EffectCase{"F51ThenF80", "F 51 1.5\nF 80 -0.5 0.2\n", VALUE(Coriolis), -0.5},
        EffectCase{"F80ThenF51", "F 80 -0.5 0.2\nF 51 1.5\n", VALUE(Coriolis), 1.5},
        EffectCase{"F80Flag", "F 80 -0.5 0.2\n", VALUE(FlagCoriolis), 1},
        EffectCase{"F63WithF37Sediment", "F 37 1\nF 63 1\n", VALUE(sou[7] + sou[8] + sou[9]), 3},
        EffectCase{"F63BeforeF37", "F 63 1\nF 37 1\n", VALUE(sou[7]), 0},
        EffectCase{"F63ComponentsOnlyForOne", "F 37 2\nF 63 5\n", VALUE(sou[7] * 100 + sou[8] + sou[9]), 500},
        EffectCase{"F65Nester", "F 65 100 200 300 1 1\n", VALUE(MaxNester), 2},
        EffectCase{"F65ConnFlate", "F 65 100 200 300 1 1\n", VALUE(MaxConnFlate), 2},
        EffectCase{"F65LargeKept", "F 65 100 200 300 7 9\n", VALUE(MaxNester * 100 + MaxConnFlate), 709},
        EffectCase{"F67AfterF50", "F 50 3\nF 67 1\n", VALUE(NoComponents), 3},
        EffectCase{"F67Alone", "F 67 1\n", VALUE(NoComponents), 1},
        EffectCase{"F67Zero", "F 67 0\n", VALUE(NoComponents), 0},
        EffectCase{"F75Flag", "F 75 10\n", VALUE(FlagThermocline), 1},
        EffectCase{"F86Distance", "F 86 0.04\n", VALUE(MinVertDist1), 0.04},
        EffectCase{"F86Quarter", "F 86 0.04\n", VALUE(MinVertDist0), 0.01},
        EffectCase{"F94SetsDistance", "F 94 0.002 0.05\n", VALUE(MinVertDist), 0.05},
        EffectCase{"F86ThenF94", "F 86 0.04\nF 94 0.002 0.05\n", VALUE(MinVertDist0), 0.002},
        EffectCase{"F94ThenF86", "F 94 0.002 0.05\nF 86 0.04\n", VALUE(MinVertDist1), 0.04},
        EffectCase{"F93Flag", "F 93 2\n", VALUE(FlagFroudeHystat), 1},
        EffectCase{"F95WithF92Zero", "F 92 0\nF 95 0.1 0.1\n", VALUE(PorosWallFlag), 2},
        EffectCase{"F95Default", "F 95 0.1 0.1\n", VALUE(PorosWallFlag), 2},
        EffectCase{"F95KeepsF92", "F 92 3\nF 95 0.1 0.1\n", VALUE(PorosWallFlag), 3},
        EffectCase{"F101Smallest", "F 101 0 5 -3 2\n", VALUE(TransWriteFiles[0]), 2},
        EffectCase{"F101NonePositive", "F 101 0 0 -1 0\n", VALUE(TransWriteFiles[0]), 1000000},
        EffectCase{"F101NotGiven", "", VALUE(TransWriteFiles[0]), 0},
        EffectCase{"F111Cleared", "F 111 1\n", VALUE(FlagBedDLL), 0},
        EffectCase{"F113Original", "F 113 7\n", VALUE(OrigFlagRhieChow), 7},
        EffectCase{"F120WallsAfterF15", "F 15 7\nF 120 0\n", VALUE(FlagWallAll), 1000},
        EffectCase{"F15AfterF120", "F 120 0\nF 15 7\n", VALUE(FlagWallAll), 7},
        EffectCase{"F131Cohesion", "F 131 4 2.5\n", VALUE(cohesive[4]), 2.5},
        EffectCase{"F139Second", "F 139 2 3\n", VALUE(MinUPlusK), 3},
        EffectCase{"F157AfterF36", "F 36 11\nF 157 2\n", VALUE(FlagSimpleCorrections), 2},
        EffectCase{"F159SecondOri", "F 159 2 3 0 1 4\n", VALUE(FlagGridStab2ori), 3},
        EffectCase{"F159FifthOri", "F 159 2 3 0 1 4\n", VALUE(FlagGridStab5ori), 4},
        EffectCase{"F168Ori", "F 168 5\n", VALUE(Flag2DAccSolverOri), 5},
        EffectCase{"F174SingleValueFlag", "F 174 1\nF 20 3\n", VALUE(FlagCyclic), 1},
        EffectCase{"F174SingleValueVariant", "F 174 1\nF 20 3\n", VALUE(FlagCyclicS), 0},
        EffectCase{"F174SingleValueRelax", "F 174 1\nF 20 3\n", VALUE(relaxCyclicS), 0.1},
        EffectCase{"F174SingleValueLoopGoesOn", "F 174 1\nF 20 3\n", VALUE(IterF2), 3},
        EffectCase{"F174VariantFive", "F 174 1 5 0.3\n", VALUE(relaxCyclicS), 0.3},
        EffectCase{"F174OtherVariantNoRelax", "F 174 1 3 0.3\n", VALUE(relaxCyclicS), 0.1},
        EffectCase{"F181AfterF36", "F 36 1\nF 181 0\n", VALUE(FlagGravity), 0},
        EffectCase{"F182AfterF7", "F 7 B\nF 182 0\n", VALUE(FlagBedslopeCorrection), 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FDataSetsEffects, TemperatureNamesComponentZero) {
  readControl("F 50 3\nF 67 1\n");
  EXPECT_STREQ(QualityName[0], "Temperature        ");
  readControl("F 67 0\n");
  EXPECT_STREQ(QualityName[0], "");
}

TEST(FDataSetsEffects, GridAlgorithmSetsTopBed) {
  for (int method : {3, 4, 8, 10, 11, 12, 13, 33, 38, 100, 250, 500}) {
    readControl("F 64 1\nF 64 " + std::to_string(method) + "\n");
    EXPECT_EQ(TopBed, 0) << "F 64 " << method;
  }
  for (int method : {0, 1, 2, 5, 7, 9, 14, 32, 34, 37, 39, 99}) {
    readControl("F 64 " + std::to_string(method) + "\n");
    EXPECT_EQ(TopBed, 1) << "F 64 " << method;
  }
}

// ---- Defaults --------------------------------------------------------------------------------

TEST(FDataSetsDefaults, ValuesTheGridAndFlowBuildOn) {
  readControl("");
  EXPECT_DOUBLE_EQ(TimeStep, 1e-20);
  EXPECT_EQ(TransInnerIter, 1);
  EXPECT_EQ(UMethod, 11);
  EXPECT_EQ(TopBed, 0);
  EXPECT_EQ(MaxCeller, 50000);
  EXPECT_EQ(MaxFlater, 80000);
  EXPECT_EQ(MaxPunkter, 50000);
  EXPECT_EQ(MaxNester, 10000);
  EXPECT_EQ(MaxConnFlate, 1000);
  EXPECT_DOUBLE_EQ(MinVertDist, 0.001);
  EXPECT_DOUBLE_EQ(MinVertDist0, -0.001);
  EXPECT_DOUBLE_EQ(MinVertDist1, 0.01);
  EXPECT_EQ(ExtrapIter, 20);
  EXPECT_EQ(ExtrapAlgo1, 2);
  EXPECT_EQ(ExtrapAlgo2, 2);
  EXPECT_DOUBLE_EQ(ExtrapRelVel, 0.2);
  EXPECT_DOUBLE_EQ(ExtrapRelK, 1.0);
  EXPECT_DOUBLE_EQ(ExtrapRelE, 1.0);
  EXPECT_EQ(FlagResidual, 1);
  EXPECT_EQ(FlagGridStab1, 1);
  EXPECT_EQ(FlagGridStab2, 0);
  EXPECT_EQ(FlagGridStab3, 0);
  EXPECT_EQ(FlagGridStab4, 1);
  EXPECT_EQ(FlagGridStab5, 0);
  EXPECT_EQ(FlagCyclic, 0);
  EXPECT_EQ(FlagCyclicS, 0);
  EXPECT_DOUBLE_EQ(relaxCyclicS, 0.1);
  EXPECT_DOUBLE_EQ(SinReposeAngle, 1.0);
  EXPECT_EQ(SedimentFormula, 'R');
  EXPECT_EQ(debugging, 'N');
  EXPECT_EQ(NoBedLayers, 2);
  EXPECT_DOUBLE_EQ(InterALimit, 1e10);
  EXPECT_EQ(ArrayTimeSteps, 200);
}

TEST(FDataSetsDefaults, DerivedValuesAreResetBeforeEachPass) {
  readControl(
      "F 36 11\nF 41 1\nF 51 1\nF 64 1\nF 75 1\nF 93 1\nF 37 1\nF 63 1\nF 67 1\nF 86 0.04\n"
      "F 101 1 2 3 4\nF 113 3\nF 131 2 1\nF 159 1 2 0 1 3\nF 168 2\nF 16 0.1\n");
  readControl("");
  EXPECT_EQ(FlagGravity + FlagSimpleCorrections + FlagMinBedLev + FlagCoriolis + TopBed + FlagThermocline +
                FlagFroudeHystat + OrigFlagRhieChow + FlagGridStab2ori + FlagGridStab5ori + Flag2DAccSolverOri,
            0);
  EXPECT_EQ(sou[7] + sou[8] + sou[9], 0);
  EXPECT_EQ(NoComponents, 0);
  EXPECT_EQ(QualityName[0][0], '\0');
  EXPECT_DOUBLE_EQ(MinVertDist0, -0.001);
  EXPECT_EQ(TransWriteFiles[0], 0);
  EXPECT_DOUBLE_EQ(cohesive[2], 0.0);
  EXPECT_DOUBLE_EQ(XksInflow, 0.0);
}

// ---- The row table ---------------------------------------------------------------------------

TEST(FDataSetsTable, EveryNumberWithAHandlerHasExactlyOneRow) {
  const std::set<int> withoutHandler = {0,   29,  43,  44,  45,  46,  49,  55,  57,  59,  97,  100, 107,
                                        108, 117, 118, 119, 122, 123, 124, 127, 133, 142, 145, 146, 150,
                                        151, 155, 158, 161, 167, 173, 190, 194, 195, 196, 197, 199};
  int seen[200] = {};
  for (auto list : {grammarRows(), fRows1to99(), fRows100to199()}) {
    for (const DataSetRow &row : list) {
      ASSERT_GE(row.number, 0);
      ASSERT_LT(row.number, 200);
      ++seen[row.number];
    }
  }
  const DataSetTable &table = dataSetTable('F');
  for (int n = 0; n < 200; ++n) {
    bool expected = withoutHandler.count(n) == 0;
    EXPECT_EQ(seen[n], expected ? 1 : 0) << "F " << n;
    EXPECT_EQ(table.rows[static_cast<std::size_t>(n)] != nullptr, expected) << "F " << n;
  }
}

TEST(FDataSetsTable, IgnoredNumberLeavesTheLineToTheLoop) {
  // F 29 has no handler: its values are examined as text, and the F of the next data set is read.
  readControl("F 29 5 F 20 3\n");
  EXPECT_EQ(IterF2, 3);
}

}  // namespace
