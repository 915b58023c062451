// The G, K, P and W data sets: messages and exit statuses through the engine,
// and the tables they fill, in process.
#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "model/control_tables.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "startup/dataset_rows.h"
#include "support/run_case.h"

namespace {

// The status of a run that ends at a refused value.
constexpr int kRefused = kExitInputError & 255;

// A data set that always fails during the pass: put after an accepted data
// set, it shows that the data set logged nothing and reading went on, whatever
// the checks after the pass do.
const std::string kSentinel = "K 2 9 9\n";
const std::string kSentinelMessage = "Input error for K 2 in control";

class DataSetLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(DataSetLog, EndsWithMessageAndStatus) {
  expectLogCase(GetParam());
}

// Data sets that are refused: the message is the last thing in the log.
INSTANTIATE_TEST_SUITE_P(
    Refused, DataSetLog,
    ::testing::Values(
        LogCase{"G1TooFewLines", "G 1 3 10 11 1\n", kRefused, "Input error for G 1 in control"},
        LogCase{"G1NegativeSizes", "G 1 10 10 11 -1\n", kRefused, "Input error for G 1 in control"},
        LogCase{"G1TooManySizes", "G 1 10 10 11 51\n", kRefused, "Input error for G 1 in control"},
        LogCase{"G1OneLevel", "G 1 10 10 1 1\n", kRefused, "Input error for G 1 in control"},
        LogCase{"G2StartsAtEdge", "G 2 1 5 2 5\n", kRefused, "Input error for G 2 in control"},
        LogCase{"G3Decreasing", "G 3 0 0.2 0.1 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0\n", kRefused,
                "Input error for G 3 in control, j= 3\n"},
        LogCase{"G3MissingValue", "G 1 10 10 3 1\nG 3 0 0.5\n", kRefused, "Input error for G 3 in control, j= 3\n"},
        LogCase{"G3NotFinite", "G 1 10 10 3 1\nG 3 0 nan 1\n", kRefused, "Input error for G 3 in control, j= 2\n"},
        LogCase{"G3TooManyLevels", "G 1 10 10 4998 1\nG 3 0\n", 254, "Error - increase zdistrib array, nz = 5000\n"},
        LogCase{"G30TooManyLevels", "G 1 10 10 4998 1\nG 30 0\n", 254, "Error - increase zdistrib array, nz = 5000\n"},
        LogCase{"G30BelowG3Start", "G 1 10 10 2 1\nG 3 0.5 1\nG 30 0.4 1\n", kRefused, "Input error for G 30 in control"},
        LogCase{"G4IndexOutside", "G 4 305 1 1 0.5\n", kRefused, "Input error for G 4 in control"},
        LogCase{"G5Second", "G 5 2 305 2 3 2 3 0.5\n", kRefused, "Input error for G 5 in control\nWrong second indexes"},
        LogCase{"G5Match", "G 5 3 2 2 3 2 3 0.5\n", kRefused, "Input error for G 5 in control\nWrong match beween indexes"},
        LogCase{"G6Convergence", "G 6 0 0 0 0.1 2e7\n", kRefused, "Input error for G 6 in control\n"},
        LogCase{"G6NotFinite", "G 6 0 0 0 nan 0.01\n", kRefused, "Input error for G 6 in control\n"},
        LogCase{"G7Twentieth", repeated("G 7 0 0 0 0 0 0 0 0 1 1 1 1\n", 20), kRefused,
                "Input error for G 7 in control\nData sets must not exceed 19\n"},
        LogCase{"G9Zero", "G 9 0\n", kRefused, "Error for G 9 in control"},
        LogCase{"G10Edge", "G 10 1 3 2 3 2 3 0.5\n", kRefused, "Input error for G 10 in control"},
        LogCase{"G12Group", "G 12 10 0.5\n", kRefused, "Input error for G 12, first parameter, in control"},
        LogCase{"G12Concentration", "G 12 1 1.5\n", kRefused, "Input error for G 12, concentration, in control"},
        LogCase{"G13Kind", "G 13 5 2 3 2 3 2 3\n", kRefused, "Input error for G 13 in control"},
        LogCase{"G14Code", "G 14 7 2 2 2\n", kRefused, "Input error for G 14 in control"},
        LogCase{"G18Twentieth", repeated("G 18 0 0 0 0 0 0\n", 20), 254, "Increase array for G 18 and recompile\n"},
        LogCase{"G22Levels", "G 22 2 3 2 3 5.0 4.0 1.0\n", kRefused, "Input error for G 22 in control"},
        LogCase{"G24Count300", "G 24 300\n", kRefused, "Too many points in G 24 data set\n"},
        LogCase{"G24Negative", "G 24 -1\n", kRefused, "The G 24 data set has to include a positive integer first\n"},
        // The line end after the count is read as the letter; the level read then fails on U.
        LogCase{"G24LineEndAsLetter", "G 24 1\nU 0 0\n", kRefused, "Error in G 24 data set, variable no. 1\n"},
        LogCase{"G24TenBlanks", "G 24 1          c 1 0\n", kRefused, "Error in G 24 data set, variable no. 1\n"},
        LogCase{"G24LevelAboveAll", "G 24 2 U 0 0 V 5000 0\n", kRefused, "Error in G 24 data set, variable no. 2\n"},
        LogCase{"G24NegativeLevel", "G 24 1 U -1 0\n", kRefused, "Error in G 24 data set, variable no. 1\n"},
        LogCase{"G24SizeAboveL", "G 24 1 c 1 2\n", kRefused, "Error in G 24 data set, variable no. 1\n"},
        LogCase{"G24ZNoSubcode", "G 24 1 Z 1 1\n", kRefused,
                "Error for G 24 data set. The Z variable needs an extra integer\n\n"},
        LogCase{"G24ZSubcode1001", "G 24 1 Z 1001 1 1\n", kRefused,
                "Error for G 24 data set. The Z variable needs an extra integer\n\n"},
        LogCase{"G24Z100OnlySlides", "G 24 1 Z 100 1 1\n", kRefused,
                "Error for G 24 data set. The Z variable is only used with slides\n\n"},
        LogCase{"G24Z101OnlySlides", "G 24 1 Z 101 1 1\n", kRefused,
                "Error for G 24 data set. The Z variable is only used with slides\n\n"},
        LogCase{"G24MOnlySlides", "G 24 1 M 1 1\n", kRefused,
                "Error for G 24 data set. The M variable is only used with slides\n\n"},
        LogCase{"G24NWithoutF37", "G 24 1 N 1 1\n", kRefused,
                "Error in G 24 data set. The N variable can not be used when the F 37 data set is not 3\n"},
        LogCase{"G24jWithoutF385", "G 24 1 j 1 1\n", kRefused,
                "Error in G 24 data set. The j variable can only be used when the F 385 data set is above zero\n"},
        LogCase{"G25Count", "G 25 0\n", kRefused, "Error first integer on G 25 data set\n"},
        LogCase{"G25Block", "G 25 2 1 21\n", kRefused, "Error for integer no. 3 on G 25 data set\n"},
        LogCase{"G26Count91", "G 26 91\n", kRefused, "Error first integer on G 26 data set\n"},
        LogCase{"G26Value", "G 26 2 0 11\n", kRefused, "Error after reading 3 integer in the G 26 data set\n"},
        LogCase{"G26Missing", "G 26 2 0\n", kRefused, "Error after reading 3 integer in the G 26 data set\n"},
        LogCase{"G27BeforeF308", "G 27 1\nF 308 2\n", 255,
                "Error for G 27 data set in control file. The F 308 data set\n"
                "must be present in the control file and have an integer above 1\n\n"},
        LogCase{"G28Coefficient", "G 28 2 5 2 5 1.0 0.5 1.5\n", 255,
                "Error for G 28 in the control file, 1 occurrence\n"},
        LogCase{"G28SecondTooFarEast", "G 28 2 5 2 5 1.0 1.5 1.5\nG 28 2 299 2 5 1.0 1.5 1.5\n", 255,
                "Error for G 28 in the control file, 2 occurrence\n"},
        LogCase{"G28ShortRecord", "G 28 2 5 2 5 1.0 1.5\n", 255, "Error for G 28 in the control file, 1 occurrence\n"},
        // The table holds 20 weirs; a 21st must not be written past its end.
        LogCase{"G28TwentyFirst", repeated("G 28 2 5 2 5 1.0 1.5 1.5\n", 21), 254,
                "Error for G 28 in the control file: there is room for 20 weirs, remove G 28 data sets\n"},
        LogCase{"G29ThreeValues", "G 29 2 3 2\n", 255, "Error for G 29 in control file\n\n"},
        LogCase{"G31Index", "G 31 21 1.0\n", kRefused, "Input error for G 31 in control - first parameter"},
        LogCase{"G31Multiplier", "G 31 1 -1\n", kRefused, "Input error for G 31 in control - second parameter"},
        LogCase{"G40Count", "G 40 50\n", kRefused, "Input error for G 40 in control"},
        LogCase{"G41Points", "G 41 0 0\n", kRefused, "Input error for G 41 in control"},
        LogCase{"G41Eleventh", repeated("G 41 0 1 0.5 1.0\n", 11), kRefused,
                "Input error for G 41 in control - too many data sets"},
        LogCase{"G42TwentyFirst", repeated("G 42 1 1\n", 21), kRefused, "Too many G 42 data sets\n"},
        LogCase{"G62FiveValues", "G 62 0 0 0 0 0.1\n", kRefused,
                "Input error for G 62 in control. Have you provided 6 parameters?\n"},
        LogCase{"G62Convergence", "G 62 0 0 0 0 0.1 11\n", kRefused,
                "Input error for one of the values on the G 62 data set in the in control file\n"},
        LogCase{"K2", "K 2 0 2\n", kRefused, "Input error for K 2 in control"},
        LogCase{"K3Above5", "K 3 0.8 0.8 0.8 0.2 0.5 5.1\n", kRefused, "Input error for K 3 in control"},
        LogCase{"K3Missing", "K 3 0.8 0.8 0.8 0.2 0.5\n", kRefused, "Input error for K 3 in control"},
        LogCase{"K3Infinite", "K 3 0.8 0.8 0.8 0.2 0.5 inf\n", kRefused, "Input error for K 3 in control"},
        LogCase{"K4", "K 4 1 1 1 201 1 1\n", kRefused, "Input error for K 4 in control"},
        LogCase{"K5", "K 5 0 0 0 0 0 21\n", kRefused, "Input error for K 5 in control"},
        LogCase{"K6", "K 6 -1 0 0 0 0 0\n", kRefused, "Input error for K 6 in control"},
        LogCase{"P0", "P 0\n", 255, "Error in boogie file: data set P 0 does not exist\n\n"},
        LogCase{"PNegative", "P -3 1\n", 255, "Error in boogie file: data set P -3 does not exist\n\n"},
        // A P in free text takes the shared number, 0 before any data set.
        LogCase{"PInFreeText", "Pressure\n", 255, "Error in boogie file: data set P 0 does not exist\n\n"},
        LogCase{"P3", "P 3 0 2 2 1\n", kRefused, "Input error for P 3 in control"},
        LogCase{"P6", "P 6 2 1\n", kRefused, "Input error for P 6 in control"},
        LogCase{"P12Count", "P 12 1 51\n", kRefused, "Error 1 reading P 12 data set\n"},
        LogCase{"P12Number", "P 12 1 2 5 0\n", kRefused, "Error 2 reading P 12 data set\n"},
        LogCase{"P13Start", "P 13 0 1 5\n", kRefused, "Error 1 reading P 13 data set\n"},
        LogCase{"P14", "P 14 -1\n", kRefused, "Error reading P 14 data set\n"},
        LogCase{"P15", "P 15 x\n", kRefused, "Error reading P 15 data set\n"},
        LogCase{"P16", "P 16 -2 5 1 5\n", kRefused, "Error reading P 16 data set\n"},
        LogCase{"P17Order", "P 17 5 2 1 1 1 1\n", 157, "Error for reading P 17 data set no. 1\n\n"},
        LogCase{"P17Short", "P 17 1 2 1 1 1 1\nP 17 1 2\n", 157, "Error for reading P 17 data set no. 2\n\n"},
        LogCase{"P17Thousandth", repeated("P 17 1 2 1 1 1 1\n", 1000), 254,
                "Error for P 17 data set in control file: there is room for 999 data sets, remove P 17 data sets\n\n"},
        LogCase{"P18Count", "P 18 0\n", 157, "Error for P 18 data set in control file\n\n"},
        LogCase{"P18Number", "P 18 2 5 298\n", 157, "Error for number 2 on P 18 data set in control file\n\n"},
        LogCase{"P18TooMany", "P 18 1000\n", 254,
                "Error for P 18 data set in control file: there is room for 999 numbers, give fewer\n\n"},
        LogCase{"W1Manning", "W 1 0.5 1 1\n", kRefused, "Input error for W 1 in control"},
        LogCase{"W1Level", "W 1 50 1 10000.5\n", kRefused, "Input error for W 1 in control"},
        LogCase{"W2Falling", "W 2 2 5 4\n", kRefused, "Input error for W 2 in control"},
        LogCase{"W2Negative", "W 2 -1\n", kRefused, "Input error for W 2 in control"},
        LogCase{"W2TooMany", "W 2 300\n", 254, "Error for W 2 in control: there is room for 299 numbers, give fewer\n"},
        LogCase{"W4Node", "W 4 2 1 301 1 1 1 1\n", kRefused, "Input error for W 4 in control\nA-MWall(1).node = 301\n"},
        LogCase{"W4Dir", "W 4 4 1 1 1 1 1 1\n", kRefused, "Input error for W 4 in control\nMWall(1).dir = 4\n"},
        LogCase{"W4Posneg", "W 4 1 2 1 1 1 1 1\n", kRefused, "Input error for W 4 in control\nMWall(1).posneg = 2\n"},
        LogCase{"W4Ranges", "W 4 1 0 1 2 1 1 1\n", kRefused, "Input error for W 4 in control\nA-MWall(1)\n"},
        LogCase{"W4RangeEnd", "W 4 3 0 1 1 1 1 301\n", kRefused, "Input error for W 4 in control\nB-MWall(1)\n"},
        LogCase{"W4Thirtieth", repeated("W 4 1 0 1 1 1 1 1\n", 30), kRefused,
                "Input error for W 4 in control\nMWallNo = 30, too large\n"},
        LogCase{"W6", "W 6 1 1\nW 6 301 0\n", kRefused, "Input error for W 6 data set no. 2 in control\n"},
        LogCase{"W7", "W 7 4 1 1 0 0\n", kRefused, "Integer error, for data set W 7, 1\n"},
        // G 1 after a data set that was checked against the default sizes.
        LogCase{"G1BeforeW2", "G 1 200 200 11 1\nW 2 1 250\n", kRefused, "Input error for W 2 in control"}),
    [](const auto &info) { return std::string(info.param.name); });

// Data sets that are accepted: the sentinel after them is the only message,
// or follows the warnings the data set logs.
INSTANTIATE_TEST_SUITE_P(
    Accepted, DataSetLog,
    ::testing::Values(
        LogCase{"G1Small", "G 1 5 5 2 0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G1AfterW2", "W 2 1 250\nG 1 200 200 11 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G3EqualNeighbours", "G 3 0 0.1 0.1 0.3 0.4 0.5 0.6 0.7 0.8 0.9 1.0\n" + kSentinel, kRefused,
                kSentinelMessage},
        LogCase{"G3Largest", "G 1 10 10 4997 1\nG 3 " + repeated("1 ", 4997) + "\n" + kSentinel, kRefused,
                kSentinelMessage},
        LogCase{"G24Zero", "G 24 0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G24NineBlanks", "G 24 2         c 1 0 Z 102 11 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G24SlideLetters", "F 236 1 0 0 0.8\nG 24 2 Z 100 1 1 M 1 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G24NWithF37", "F 37 3\nG 24 1 N 1 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G28", "G 28 2 5 2 5 1.0 1.5 3\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G28Twenty", repeated("G 28 2 5 2 5 1.0 1.5 1.5\n", 20) + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G18Nineteen", repeated("G 18 0 0 0 0 0 0\n", 19) + kSentinel, kRefused, kSentinelMessage},
        LogCase{"G50LogsAndReadsOn", "G 50 0 0 0 0 3 0 0 0 0 0\n" + kSentinel, kRefused,
                "Error for G 50 data set in control file\nInteger no. 4 = 3\n" + kSentinelMessage},
        LogCase{"G51LogsAndReadsOn", "G 51 -1\n" + kSentinel, kRefused,
                "Error for G 51 data set in control file\nInteger no. 1 = -1.000000\n" + kSentinelMessage},
        LogCase{"K3Five", "K 3 0.8 0.8 0.8 0.2 0.5 5.0\n" + kSentinel, kRefused, kSentinelMessage},
        // Only K 3 needs all six values; the others keep what is not given.
        LogCase{"K4FiveValues", "K 4 1 1 1 1 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"K5OneValue", "K 5 3\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"K6NoValue", "K 6\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"IgnoredNumbers", "K 7 1\nW 5 1\nP 19 1\nP 1 1\nK 0 1\nW 3 1\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"P10ThenNextLine", "P 10 5\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"P17NineHundredNinetyNine", repeated("P 17 1 2 1 1 1 1\n", 999) + kSentinel, kRefused, kSentinelMessage},
        LogCase{"W1Level10000", "W 1 50 1 10000\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"W2Rising", "W 2 3 4 4 7\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"W2Empty", "W 2 0\n" + kSentinel, kRefused, kSentinelMessage},
        LogCase{"W4", "W 4 2 1 300 1 300 1 11\n" + kSentinel, kRefused, kSentinelMessage}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(DataSetRun, P10ThenRunLetterX) {
  CaseResult r = runControl("P 10 5\nF 2 X\n");
  EXPECT_EQ(r.status, 0);
}

// ---- In process ------------------------------------------------------------------------------

void readControlText(const std::string &text) {
  ControlStream stream(text);
  kreadPass(stream);
}

class GKPWTables : public ::testing::Test {
 protected:
  void SetUp() override { kreadDefaults(); }
};

TEST_F(GKPWTables, Defaults) {
  EXPECT_EQ(xnumber, 300);
  EXPECT_EQ(znumber, 11);
  EXPECT_EQ(lnumber, 1);
  EXPECT_DOUBLE_EQ(zdistrib[0], 0.0);
  EXPECT_DOUBLE_EQ(zdistrib[1], 0.0);
  EXPECT_DOUBLE_EQ(zdistrib[2], 0.1);
  EXPECT_DOUBLE_EQ(zdistrib[11], 1.0);
  EXPECT_EQ(FlagReadG3, 0);
  EXPECT_DOUBLE_EQ(RelaxSurface, 0.1);
  EXPECT_DOUBLE_EQ(ConvSurface, 0.01);
  EXPECT_EQ(SurfUpdate[1], 1);
  EXPECT_EQ(SurfUpdate[98], 1);
  EXPECT_EQ(divisionMPI[1], -1);
  EXPECT_DOUBLE_EQ(inflowMult[1], 1.0);
  EXPECT_DOUBLE_EQ(inflowMult[20], 1.0);
  EXPECT_DOUBLE_EQ(multCinn[50], 1.0);
  EXPECT_EQ(iterGlobalMax, 40000);
  EXPECT_EQ(IterSurface, 50000);
  EXPECT_EQ(FlagRoof, 1);
  const double relaxDefaults[] = {0.8, 0.8, 0.8, 0.2, 0.5, 0.5};
  const int sweepDefaults[] = {1, 1, 1, 5, 1, 1};
  for (int e = 1; e <= 6; ++e) {
    EXPECT_DOUBLE_EQ(relax[e], relaxDefaults[e - 1]) << e;
    EXPECT_EQ(sweeps[e], sweepDefaults[e - 1]) << e;
    EXPECT_EQ(blockcorr[e], 0) << e;
    EXPECT_EQ(sou[e], 0) << e;
  }
  EXPECT_EQ(graph, 'g');
  EXPECT_EQ(xnode, 2);
  EXPECT_EQ(lnode, 1);
  EXPECT_DOUBLE_EQ(xscale, 1.0);
  EXPECT_DOUBLE_EQ(ManningInit, 50);
  EXPECT_DOUBLE_EQ(discharge, 1);
  EXPECT_DOUBLE_EQ(level, 1);
  EXPECT_EQ(FlagReadW1, 0);
}

TEST_F(GKPWTables, SurfaceUpdateCodesOfTheFirstBlocks) {
  readControlText("G 26 2 0 10\n");
  EXPECT_EQ(FlagSurfaceUpdate, 2);
  EXPECT_EQ(SurfUpdate[1], 0);
  EXPECT_EQ(SurfUpdate[2], 10);
  for (int b = 3; b <= 98; ++b) EXPECT_EQ(SurfUpdate[b], 1) << b;
}

TEST_F(GKPWTables, PerEquationSettingsFillEntriesOneToSix) {
  sou[7] = 4;  // set by another data set; K 6 leaves it
  readControlText("K 3 0.1 0.2 0.3 0.4 0.6 5\nK 4 0 2 3 4 5 200\nK 5 1 2 3 4 5 20\nK 6 6 5 4 3 2 100\n");
  const double r[] = {0.1, 0.2, 0.3, 0.4, 0.6, 5};
  const int s[] = {0, 2, 3, 4, 5, 200}, b[] = {1, 2, 3, 4, 5, 20}, u[] = {6, 5, 4, 3, 2, 100};
  for (int e = 1; e <= 6; ++e) {
    EXPECT_DOUBLE_EQ(relax[e], r[e - 1]) << e;
    EXPECT_EQ(sweeps[e], s[e - 1]) << e;
    EXPECT_EQ(blockcorr[e], b[e - 1]) << e;
    EXPECT_EQ(sou[e], u[e - 1]) << e;
  }
  EXPECT_EQ(sou[7], 4);
  EXPECT_DOUBLE_EQ(relax[7], 0.0);
}

// K 4 to K 6 do not test that all six values were read: the missing ones keep
// their earlier values.
TEST_F(GKPWTables, PerEquationValuesNotGivenKeepTheirValues) {
  readControlText("K 4 2 3 4 5 6 7\nK 4 9 8\nK 6 7 ;\n");
  const int s[] = {9, 8, 4, 5, 6, 7};
  for (int e = 1; e <= 6; ++e) EXPECT_EQ(sweeps[e], s[e - 1]) << e;
  EXPECT_EQ(sou[1], 7);
  for (int e = 2; e <= 6; ++e) EXPECT_EQ(sou[e], 0) << e;
}

TEST_F(GKPWTables, LeftOutRectanglesAreKeptForTheMarking) {
  readControlText("G 1 20 30 11 1\nG 13 1 2 5 3 6 2 11\nG 13 0 7 21 9 31 2 12\n");
  ASSERT_EQ(OutBlockNo, 2);
  EXPECT_EQ(OutBlock[1].kind, 1);
  EXPECT_EQ(OutBlock[1].i1, 2);
  EXPECT_EQ(OutBlock[1].i2, 5);
  EXPECT_EQ(OutBlock[1].j1, 3);
  EXPECT_EQ(OutBlock[1].j2, 6);
  EXPECT_EQ(OutBlock[1].k1, 2);
  EXPECT_EQ(OutBlock[1].k2, 11);
  EXPECT_EQ(OutBlock[2].i2, 21);
  EXPECT_EQ(OutBlock[2].j2, 31);
  EXPECT_EQ(OutBlock[2].k2, 12);
}

TEST_F(GKPWTables, VerticalDistributionOfG3AndG30) {
  readControlText("G 1 10 10 3 1\nG 3 0.2 0.5 0.5\n");
  EXPECT_DOUBLE_EQ(zdistrib[0], 0.2);
  EXPECT_DOUBLE_EQ(zdistrib[3], 0.5);
  EXPECT_EQ(FlagReadG3, 1);
  kreadDefaults();
  readControlText("G 1 10 10 3 1\nG 30 0 0.5 1\n");
  EXPECT_DOUBLE_EQ(zdistrib[0], 0.0);
  EXPECT_DOUBLE_EQ(zdistrib[2], 0.5);
  EXPECT_EQ(FlagReadG3, 0);
}

TEST_F(GKPWTables, OutputVariables) {
  FlagCohesion = 1;
  NoBedLayers = 20;
  FlagMorphStatistics = 1;
  // Nine blanks before the letter; a level above znumber but within the bed layers.
  readControlText("G 24 4         c 1 0 j 15 1 Z 100 3 1  Z 1000 2 0\n");
  ASSERT_EQ(TecStrucNo, 4);
  EXPECT_EQ(TecStruc[0].letter, 'c');
  EXPECT_EQ(TecStruc[0].levelIndex, 1);
  EXPECT_EQ(TecStruc[0].sizeIndex, 0);
  EXPECT_EQ(TecStruc[0].subcode, 0);
  EXPECT_EQ(TecStruc[1].letter, 'j');
  EXPECT_EQ(TecStruc[1].levelIndex, 15);
  EXPECT_EQ(TecStruc[1].sizeIndex, 1);
  EXPECT_EQ(TecStruc[2].letter, 'Z');
  EXPECT_EQ(TecStruc[2].subcode, 100);
  EXPECT_EQ(TecStruc[2].levelIndex, 3);
  EXPECT_EQ(TecStruc[3].subcode, 1000);
}

TEST_F(GKPWTables, OutputVariableLevelAboveZnumberAndBedLayersRefused) {
  NoBedLayers = 20;
  EXPECT_EXIT(readControlText("G 24 1 U 21 0\n"), ::testing::ExitedWithCode(kExitInputError & 255), "");
}

TEST_F(GKPWTables, PartitionBordersAfterF308) {
  FlagMPI = 3;
  readControlText("G 27 5 10 10\n");
  EXPECT_EQ(divisionMPI[1], 5);
  EXPECT_EQ(divisionMPI[2], 10);
  EXPECT_EQ(divisionMPI[3], 10);
}

TEST_F(GKPWTables, PartitionBordersFalling) {
  FlagMPI = 3;
  EXPECT_EXIT(readControlText("G 27 5 10 9\n"), ::testing::ExitedWithCode(255), "");
}

TEST_F(GKPWTables, PartitionBordersMissing) {
  FlagMPI = 3;
  EXPECT_EXIT(readControlText("G 27 5 10\n"), ::testing::ExitedWithCode(255), "");
}

TEST_F(GKPWTables, SwitchesAndMultipliersKeepInvalidValues) {
  readControlText("G 50 0 1 2 0 3 0 0 0 0 1\nG 1 10 10 11 3\nG 51 0.5 -2 4\n");
  EXPECT_EQ(FlagOpenMP[4], 3);
  EXPECT_EQ(FlagOpenMP[2], 2);
  EXPECT_EQ(FlagOpenMP[9], 1);
  EXPECT_DOUBLE_EQ(multCinn[1], 0.5);
  EXPECT_DOUBLE_EQ(multCinn[2], -2);
  EXPECT_DOUBLE_EQ(multCinn[3], 4);
}

// 50 sizes, the largest lnumber: the per-size tables of G 4 and G 51 hold all of them.
TEST_F(GKPWTables, FiftySizes) {
  std::string values;
  for (int l = 1; l <= 50; ++l) {
    values += ' ';
    values += std::to_string(l);
  }
  readControlText("G 1 10 10 11 50\nG 4 2 2 2" + values + "\nG 51" + values + "\n");
  EXPECT_DOUBLE_EQ(pointsource[50], 50);
  EXPECT_DOUBLE_EQ(multCinn[50], 50);
  EXPECT_DOUBLE_EQ(multCinn[1], 1);
  EXPECT_EQ(i_pointsource, 2);
}

TEST_F(GKPWTables, SurfaceCellBoundedByCellCapacity) {
  MaxCeller = 100;
  readControlText("G 6 100 1 2 0.5 1e-3\n");
  EXPECT_EQ(iSurf, 100);
  EXPECT_EQ(jSurf, 1);
  EXPECT_EQ(kSurf, 2);
  EXPECT_DOUBLE_EQ(RelaxSurface, 0.5);
  readControlText("G 62 3 4 5 6 0.2 1e-4\n");
  EXPECT_EQ(kSurf2, 6);
  EXPECT_EQ(iSurf, 3);
  EXPECT_EXIT(readControlText("G 6 101 0 0 0.1 0.01\n"), ::testing::ExitedWithCode(kExitInputError & 255), "");
}

TEST_F(GKPWTables, RecordsOfGDataSets) {
  readControlText("G 7 0 1 2 3 4 5 6 7 1.5 2.5 3.5 4.5\nG 10 2 3 2 3 2 3 0.5\nG 11 2 3 2 3 2 3 0.5 0.7\n"
                  "G 18 1 2 3 4 5 6\nG 22 2 3 4 5 1.0 2.0 0.1\nG 28 2 5 3 3 10.0 1.5 2\n"
                  "G 31 20 3.0\nG 40 2 10 4 5 3\nG 41 1 2 0 1 1 2\nG 12 3 0.25\n");
  ASSERT_EQ(IONo, 1);
  EXPECT_EQ(IO[1].param[0], 0);
  EXPECT_EQ(IO[1].param[7], 7);
  EXPECT_DOUBLE_EQ(IO[1].value[3], 4.5);
  ASSERT_EQ(VolSourceNo, 2);
  EXPECT_DOUBLE_EQ(VolSource[1].value2, 2.0);
  EXPECT_DOUBLE_EQ(VolSource[2].value2, 0.7);
  ASSERT_EQ(UInitNo, 1);
  EXPECT_DOUBLE_EQ(UInit[1].value[1], 1);
  EXPECT_DOUBLE_EQ(UInit[1].value[6], 6);
  ASSERT_EQ(BridgeNo, 1);
  EXPECT_EQ(Bridge[1].j2, 5);
  EXPECT_DOUBLE_EQ(Bridge[1].coefficient, 0.1);
  ASSERT_EQ(NoWeirs, 1);
  EXPECT_EQ(Weirs[0].j1, 3);
  EXPECT_DOUBLE_EQ(Weirs[0].crest, 10.0);
  EXPECT_DOUBLE_EQ(Weirs[0].exponent, 2);
  EXPECT_DOUBLE_EQ(inflowMult[20], 3.0);
  ASSERT_EQ(NoVerttemp, 2);
  EXPECT_DOUBLE_EQ(Verttemp[1][0], 10);
  EXPECT_DOUBLE_EQ(Verttemp[2][1], 3);
  ASSERT_EQ(NoQI, 1);
  EXPECT_EQ(NoVariable[0], 1);
  EXPECT_DOUBLE_EQ(VertQInit[0][2][1], 2);
  ASSERT_EQ(SedSourceNo, 1);
  EXPECT_EQ(SedSource[1].group, 3);
  EXPECT_DOUBLE_EQ(SedSource[1].conc[1], 0.25);
}

TEST_F(GKPWTables, RecordsOfPAndWDataSets) {
  readControlText("P 2 2 3 4 5 6\nP 4 v\nP 6 1 2\nP 12 1 2 5 6\nP 17 1 4 1 2 8 2\nP 18 2 5 7\n"
                  "W 1 30 25 105.5\nW 2 3 4 4 7\nW 4 1 -1 5 1 10 2 11\nW 6 0 300\nW 7 3 4 5 0.5 1.5\n");
  EXPECT_DOUBLE_EQ(movey, 6);
  EXPECT_EQ(graph, 'v');
  EXPECT_EQ(OGLminmax, 1);
  EXPECT_DOUBLE_EQ(OGLmax, 2);
  EXPECT_EQ(PlotCrossNo, 2);
  EXPECT_EQ(PlotCross[2], 6);
  ASSERT_EQ(NoVProfiles, 1);
  EXPECT_EQ(VProfiles[1].i2, 4);
  EXPECT_EQ(VProfiles[1].iStep, 1);
  EXPECT_EQ(VProfiles[1].j2, 8);
  EXPECT_EQ(VProfiles[1].jStep, 2);
  ASSERT_EQ(NoCrossPrint, 2);
  EXPECT_EQ(CrossPrint[2], 7);
  EXPECT_EQ(FlagReadW1, 1);
  EXPECT_DOUBLE_EQ(level, 105.5);
  ASSERT_EQ(initnumber, 3);
  EXPECT_EQ(initarray[3], 7);
  ASSERT_EQ(MWallNo, 1);
  EXPECT_EQ(MWall[1].posneg, -1);
  EXPECT_EQ(MWall[1].b2, 11);
  ASSERT_EQ(FastNo, 1);
  EXPECT_EQ(jFast[1], 300);
  ASSERT_EQ(AttractNo, 1);
  EXPECT_EQ(Attract[1].type, 3);
  EXPECT_EQ(Attract[1].j, 5);
  EXPECT_DOUBLE_EQ(Attract[1].value2, 1.5);
}

// Only F data sets store their item counts in the shared number.
TEST_F(GKPWTables, CountedReadsKeepTheSharedNumber) {
  readControlText("K 3 0.1 0.2 0.3 0.4 0.5 0.6\n");
  EXPECT_EQ(DataSetNumber, 3);
  readControlText("G 29 2 3 2 3\n");
  EXPECT_EQ(DataSetNumber, 29);
  readControlText("P 16 0 5 1 5\n");
  EXPECT_EQ(DataSetNumber, 16);
}

// A P data set that reads nothing more leaves the next line to the loop.
TEST_F(GKPWTables, PReadsOnAfterItsValue) {
  readControlText("P 10 5\nK 1 7 8\n");
  EXPECT_EQ(PrintRes, 5);
  EXPECT_EQ(iterGlobalMax, 7);
  EXPECT_EQ(IterSurface, 8);
}

}  // namespace

namespace {

// Every number with a handler, and only those: the others are ignored.
TEST(GKPWRegistry, HandlersStandAtTheirNumbersOnce) {
  struct Expected {
    char letter;
    std::span<const DataSetRow> (*rows)();
    std::vector<int> numbers;
  };
  const Expected tables[] = {
      {'G', gRows, {1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14, 18, 22, 24, 25, 26, 27, 28, 29, 30, 31, 40, 41, 42, 50,
                    51, 62}},
      {'K', kRows, {1, 2, 3, 4, 5, 6}},
      {'P', pRows, {2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18}},
      {'W', wRows, {1, 2, 4, 6, 7}},
  };
  for (const Expected &e : tables) {
    std::vector<int> listed;
    for (const DataSetRow &row : e.rows()) listed.push_back(row.number);
    EXPECT_EQ(listed, e.numbers) << e.letter << ": rows in rising order, each once";
    const DataSetTable &table = dataSetTable(e.letter);
    std::vector<int> dispatched;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
      if (table.rows[i]) dispatched.push_back(static_cast<int>(i) + table.lowest);
    }
    EXPECT_EQ(dispatched, e.numbers) << e.letter;
  }
}

// The range checks of later data sets add to the largest sizes G 1 accepts
// in 64 bits: the indexes are accepted, and the tables are then refused as
// larger than the machine (status 253), not the data set.
struct SizeSumCase {
  const char *name;
  std::string control;
  friend void PrintTo(const SizeSumCase &c, std::ostream *os) { *os << c.name; }
};

class SizeSums : public ::testing::TestWithParam<SizeSumCase> {};

TEST_P(SizeSums, AcceptedUpToTheLargestGrid) {
  CaseResult r = runControl("G 1 2147483647 2147483647 2147483647 1\n" + GetParam().control);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 253) << log;
  EXPECT_NE(log.find("Error: the tables of G 1 need "), std::string::npos) << log;
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(
    Largest, SizeSums,
    ::testing::Values(SizeSumCase{"G4", "G 4 2147483647 2147483647 2147483647 0.5\n"},
                      SizeSumCase{"G5", "G 5 2 2147483647 2 2147483647 2 2147483647 0.5\n"},
                      SizeSumCase{"G10", "G 10 2 2147483647 2 2147483647 2 2147483647 0.5\n"},
                      SizeSumCase{"G11", "G 11 2 2147483647 2 2147483647 2 2147483647 0.5 1\n"},
                      SizeSumCase{"G13", "G 13 0 2 2147483647 2 2147483647 2 2147483647\n"},
                      SizeSumCase{"G14", "G 14 1 2147483647 2147483647 2147483647\n"},
                      SizeSumCase{"P3", "P 3 2 2147483647 2147483647 1\n"},
                      SizeSumCase{"P16", "P 16 -1 2147483647 1 2147483647\n"}),
    [](const auto &info) { return std::string(info.param.name); });

// G 30 with the largest znumber names the levels it would need, counted in 64 bits.
TEST(SizeSums, LargestZnumberForTheDistribution) {
  CaseResult r = runControl("G 1 10 10 2147483647 1\nG 30 0\n");
  EXPECT_EQ(r.status, 254);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error - increase zdistrib array, nz = 2147483649\n")) << r.file("boogie");
}

}  // namespace
