// The "timei" reader in process: a table of file texts against result code,
// rows and stored values (every data-set letter, every error path), the same
// file read twice, the error report in the log, repetition and the echo;
// and the run letter W through the binary with a series out of order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/exit_codes.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/table_allocator.h"
#include "startup/control_reader.h"
#include "startup/timei_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace fs = std::filesystem;

namespace {

// A transient run with the defaults of "control"; the series are allocated
// once per process with room for every case below (200 rows, 3 sizes).
void transientDefaults() {
  kreadDefaults();
  TimeStep = 10;
  if (!TimeInTime) {
    lnumber = 3;
    TableAllocator a;
    allocateTimeSeries(a);
    ASSERT_FALSE(a.failed());
    lnumber = 1;
  }
}

// Rows as a fresh allocation leaves them, also when the tests share a process.
void clearRows() {
  for (int t = 0; t <= 200; ++t) {
    TimeInTime[t] = TimeInTimStep[t] = TimeInHinn[t] = TimeInHout[t] = Irradi[t] = AirTemp[t] = 0;
    for (int g = 0; g < 10; ++g) QDinn[t][g] = 0;
    for (int k = 0; k < cinnColumns(); ++k) Cinn[t][k] = 0;
  }
}

// Two inflow groups (1 and 3; group 2 is an outflow) and two grain sizes.
void sedimentRun() {
  FlagTSC = 1;
  lnumber = 2;
  DischargeStruct[1].faceCount = 4;
  DischargeStruct[2].type = 0;
  DischargeStruct[2].faceCount = 4;
  DischargeStruct[3].faceCount = 1;
}

// Each test runs in its own process, in a folder of its own.
class Timei : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    transientDefaults();
    clearRows();
  }
};

struct TimeiCase {
  const char *name;
  void (*setup)();  // settings beside the transient defaults, or nullptr
  std::string text;
  int code;
  int rows;                   // TimeInNo after the call
  std::vector<double> times;  // TimeInTime[0..], checked when given
  void (*check)();            // further expectations, or nullptr
};

const std::string kNine = " 1 2 3 4 5 6 7 8 9";

const std::vector<TimeiCase> &timeiCases() {
  static const std::vector<TimeiCase> cases = {
      // I: five values, times not decreasing.
      {"IncreasingI", nullptr, "I 0 1 2 3 4\nI 10 5 6 7 8\n", 0, 2, {0, 10},
       [] {
         EXPECT_EQ(QDinn[1][1], 5);
         EXPECT_EQ(QDinn[1][2], 6);
         EXPECT_EQ(TimeInHinn[1], 7);
         EXPECT_EQ(TimeInHout[1], 8);
         EXPECT_EQ(FlagJTime, 0);
         EXPECT_EQ(FlagDischargeTime, 1);
       }},
      {"SameTimeTwice", nullptr, "I 0 1 0 0 0\nI 0 2 0 0 0\n", 0, 2, {0, 0}, nullptr},
      {"ZeroDischargeLeavesSeriesOff", nullptr, "I 0 0 1 0 0\n", 0, 1, {0}, [] { EXPECT_EQ(FlagDischargeTime, 0); }},
      {"TimeGoesBack", nullptr, "I 0 1 0 0 0\nI 10 1 0 0 0\nI 5 1 0 0 0\n", 9, 2, {0, 10}, nullptr},
      {"NegativeFirstTime", nullptr, "I -1 1 0 0 0\n", 8, 0, {}, nullptr},
      {"NegativeLaterTime", nullptr, "I 0 1 0 0 0\nI -1 1 0 0 0\n", 9, 1, {}, nullptr},
      {"FourValues", nullptr, "I 0 1 0 0\n", 8, 0, {}, nullptr},
      {"TimeNotANumber", nullptr, "I nan 1 0 0 0\n", 8, 0, {}, nullptr},
      {"OtherCharactersSkipped", nullptr, "comment: 1 2 3 Bxyz\nI 0 1 0 0 0\n", 0, 1, {0}, nullptr},
      // H: time and two levels.
      {"HRows", nullptr, "H 0 5 4\nH 10 5.5 4\n", 0, 2, {0, 10}, [] { EXPECT_EQ(TimeInHinn[1], 5.5); }},
      {"HTwoValues", nullptr, "H 0 5\n", 65, 0, {}, nullptr},
      {"HNegativeTime", nullptr, "H -1 5 4\n", 65, 0, {}, nullptr},
      {"HTimeGoesBack", nullptr, "H 10 5 4\nH 5 5 4\n", 9, 1, {}, nullptr},
      // J: I with its own time step; accepted without sediment and irradiance.
      {"JRows", nullptr, "J 0 1 0 0 0 2\nJ 10 1 0 0 0 3\n", 0, 2, {0, 10},
       [] {
         EXPECT_EQ(TimeInTimStep[1], 3);
         EXPECT_EQ(FlagJTime, 1);
       }},
      {"JNegativeStep", nullptr, "J 0 1 0 0 0 -2\n", 12, 0, {}, nullptr},
      {"JFiveValues", nullptr, "J 0 1 0 0 0\n", 8, 0, {}, nullptr},
      // D: nine discharges, repeating the times of the rows or defining them.
      {"DRepeatsTimes", nullptr, "I 0 1 0 0 0\nI 10 1 0 0 0\nD 0" + kNine + "\nD 10.00005" + kNine + "\n", 0, 2,
       {0, 10},
       [] {
         EXPECT_EQ(QDinn[1][1], 1);
         EXPECT_EQ(QDinn[1][9], 9);
       }},
      {"DTimeDiffers", nullptr, "I 0 1 0 0 0\nI 10 1 0 0 0\nD 0.001" + kNine + "\n", 15, 2, {}, nullptr},
      {"DBeyondTheRows", nullptr, "I 0 1 0 0 0\nD 0" + kNine + "\nD 0" + kNine + "\n", 15, 1, {}, nullptr},
      {"DDefinesRows", nullptr, "D 0" + kNine + "\nD 5" + kNine + "\nD 7" + kNine + "\n", 0, 3, {0, 5, 7},
       [] { EXPECT_EQ(FlagDischargeTime, 1); }},
      {"DEightDischarges", nullptr, "D 0 1 2 3 4 5 6 7 8\n", 102, 0, {}, nullptr},
      {"DTimeNotRead", nullptr, "D x\n", 8, 0, {}, nullptr},
      {"DLevelMissing", [] { kSurf = 1; }, "D 0" + kNine + "\n", 14, 0, {}, nullptr},
      {"DEightDischargesLevelWanted", [] { iSurf = 2; }, "D 0 1 2 3 4 5 6 7 8\n", 14, 0, {}, nullptr},
      {"DWithLevel", [] { kSurf = 1; }, "D 0" + kNine + " 3.5\n", 0, 1, {0},
       [] { EXPECT_EQ(TimeInHout[0], 3.5); }},
      // Q: discharges of the D counter's rows.
      {"QRepeatsTime", nullptr, "I 0 1 0 0 0\nQ 0" + kNine + "\n", 0, 1, {0}, [] { EXPECT_EQ(QDinn[0][5], 5); }},
      {"QTimeDiffers", nullptr, "I 0 1 0 0 0\nQ 1" + kNine + "\n", 15, 1, {}, nullptr},
      {"QTimeNotRead", nullptr, "I 0 1 0 0 0\nQ x\n", 63, 1, {}, nullptr},
      {"QThreeDischarges", nullptr, "I 0 1 0 0 0\nQ 0 1 2 3\n", 30, 1, {}, nullptr},
      // Sediment concentrations per inflow group and size (I multiplied by G 51, J and C not).
      {"ISediment", [] { sedimentRun(); multCinn[1] = 2; }, "I 0 1 0 0 0 1 2 3 4\n", 0, 1, {0},
       [] {
         EXPECT_EQ(Cinn[0][1], 2);
         EXPECT_EQ(Cinn[0][2], 2);
         EXPECT_EQ(Cinn[0][3], 6);
         EXPECT_EQ(Cinn[0][4], 4);
       }},
      {"ISedimentShort", sedimentRun, "I 0 1 0 0 0 1 2 3\n", 101, 0, {}, nullptr},
      {"JSediment", [] { sedimentRun(); multCinn[1] = 2; }, "J 0 1 0 0 0 1 5 6 7 8\n", 0, 1, {0},
       [] { EXPECT_EQ(Cinn[0][1], 5); }},
      {"JSedimentShort", sedimentRun, "J 0 1 0 0 0 1 5\n", 103, 0, {}, nullptr},
      {"CSediment", sedimentRun, "I 0 1 0 0 0 1 2 3 4\nC 0 5 6 7 8\n", 0, 1, {0},
       [] {
         EXPECT_EQ(Cinn[0][1], 5);
         EXPECT_EQ(Cinn[0][4], 8);
       }},
      {"CShort", sedimentRun, "I 0 1 0 0 0 1 2 3 4\nC 0 5 6\n", 20, 1, {}, nullptr},
      {"CTimeDiffers", sedimentRun, "I 0 1 0 0 0 1 2 3 4\nC 2 5 6 7 8\n", 15, 1, {}, nullptr},
      {"CTimeNotRead", sedimentRun, "C x\n", 64, 0, {}, nullptr},
      {"NoInflowGroupNoConcentrations", [] { FlagTSC = 1; }, "I 0 1 0 0 0\nI 10 1 0 0 0\n", 0, 2, {}, nullptr},
      // Wind (F 52) and irradiance or air temperature (Q terms).
      {"IWind", [] { Wind[0] = 1; }, "I 0 1 0 0 0 3 0.5 0.25\n", 0, 1, {0},
       [] {
         EXPECT_EQ(Winn[0][0], 3);
         EXPECT_EQ(Winn[0][2], 0.25);
       }},
      {"IWindShort", [] { Wind[0] = 1; }, "I 0 1 0 0 0 3\n", 12, 0, {}, nullptr},
      {"IIrradianceMissing", [] { NoTerms = 1; QTerms[0].type = 6100; }, "I 0 1 0 0 0\n", 13, 0, {}, nullptr},
      {"IIrradiance", [] { NoTerms = 2; QTerms[1].type = 42; }, "I 0 1 0 0 0 250\n", 0, 1, {0},
       [] { EXPECT_EQ(Irradi[0], 250); }},
      // N: time, time step, discharges, component concentrations of the M columns.
      {"NRows", [] { CompInflowNo = 2; }, "N 0 60" + kNine + " 0.1 0.2\nN 60 60" + kNine + " 0.3 0.4\n", 0, 2,
       {0, 60},
       [] {
         EXPECT_EQ(Cinn[1][0], 0.3);
         EXPECT_EQ(Cinn[1][1], 0.4);
         EXPECT_EQ(QDinn[0][9], 9);
         EXPECT_EQ(TimeInTimStep[1], 60);
         EXPECT_EQ(FlagJTime, 1);
         EXPECT_EQ(FlagDischargeTime, 1);
       }},
      {"NFewDischarges", nullptr, "N 0 60 1 2 3\n", 10, 0, {}, nullptr},
      {"NConcentrationMissing", [] { CompInflowNo = 1; }, "N 0 60" + kNine + "\n", 10, 0, {}, nullptr},
      {"NNegativeStep", nullptr, "N 0 -1" + kNine + "\n", 12, 0, {}, nullptr},
      {"NAirTemperatureMissing", [] { NoTerms = 1; QTerms[0].type = 1060; }, "N 0 60" + kNine + "\n", 14, 0, {},
       nullptr},
      {"NAirTemperature", [] { NoTerms = 1; QTerms[0].type = 1060; }, "N 0 60" + kNine + " 12.5\n", 0, 1, {0},
       [] { EXPECT_EQ(AirTemp[0], 12.5); }},
      {"NNoStep", nullptr, "N 0\n", 8, 0, {}, nullptr},
      {"NTimeGoesBack", nullptr, "N 10 60" + kNine + "\nN 0 60" + kNine + "\n", 9, 1, {}, nullptr},
      // M: its own counter; it defines the rows only when it comes first.
      {"MDefinesRows", [] { CompInflowNo = 1; }, "M 0 60 0.5\nM 60 60 0.6\n", 0, 2, {0, 60},
       [] { EXPECT_EQ(Cinn[1][0], 0.6); }},
      {"MAfterI", [] { CompInflowNo = 1; }, "I 0 1 0 0 0\nI 10 1 0 0 0\nM 0 30 0.5\n", 0, 2, {0, 10},
       [] { EXPECT_EQ(TimeInTimStep[0], 30); }},
      {"MNegativeTime", nullptr, "M -1 60\n", 8, 0, {}, nullptr},
      {"MNegativeStep", nullptr, "M 0 -60\n", 12, 0, {}, nullptr},
      {"MWindShort", [] { Wind[0] = 1; }, "M 0 60 2\n", 12, 0, {}, nullptr},
      // A: result times, at most 100.
      {"AResultTimes", nullptr, "A 100\nA 200\n", 0, 0, {},
       [] {
         EXPECT_EQ(NoAlldataPrintout, 2);
         EXPECT_EQ(AlldataPrintout[1], 200);
       }},
      {"ANotRead", nullptr, "A x\n", 44, 0, {}, nullptr},
      {"A100", nullptr, repeated("A 1\n", 100), 0, 0, {}, [] { EXPECT_EQ(NoAlldataPrintout, 100); }},
      {"A101", nullptr, repeated("A 1\n", 101), 44, 0, {}, nullptr},
      // O: point sets of "timeo".
      {"OSet", nullptr, "O 100 4\nu 5 z 3 4\nc 7 1 Q 2\n", 0, 0, {},
       [] {
         ASSERT_EQ(TimePrintNo, 1);
         const TimePrintSet &set = TimePrint[0];
         EXPECT_EQ(set.time, 100);
         EXPECT_EQ(set.count, 4);
         EXPECT_EQ(set.item[0].letter, 'u');
         EXPECT_EQ(set.item[0].number, 5);
         EXPECT_EQ(set.item[1].letter, 'z');
         EXPECT_EQ(set.item[1].i, 3);
         EXPECT_EQ(set.item[1].j, 4);
         EXPECT_EQ(set.item[2].index, 1);
         EXPECT_EQ(set.item[3].letter, 'Q');
       }},
      {"OComponent", [] { NoComponents = 3; }, "O 0 1\nq 4 2\n", 0, 0, {}, [] { EXPECT_EQ(TimePrint[0].item[0].index, 2); }},
      {"O26Items", nullptr, "O 0 26\n", 1, 0, {}, nullptr},
      {"ONoCount", nullptr, "O 0\n", 1, 0, {}, nullptr},
      {"ONegativeTime", nullptr, "O -1 1\nu 5\n", 2, 0, {}, nullptr},
      {"OTimeGoesBack", nullptr, "O 10 0\nO 5 0\n", 3, 0, {}, [] { EXPECT_EQ(TimePrintNo, 1); }},
      {"ONegativeNumber", nullptr, "O 0 1\nu -5\n", 4, 0, {}, nullptr},
      {"OItemMissing", nullptr, "O 0 2\nu 5\n", 4, 0, {}, nullptr},
      {"OLetterJ", nullptr, "O 0 1\nj 5\n", 5, 0, {}, nullptr},
      {"OFractionOutside", nullptr, "O 0 1\nc 5 2\n", 6, 0, {}, nullptr},
      {"OSecondIndexMissing", nullptr, "O 0 1\nz 5\n", 6, 0, {}, nullptr},
      {"OComponentOutside", nullptr, "O 0 1\nq 5 0\n", 17, 0, {}, nullptr},
      {"O20Sets", nullptr, repeated("O 0 0\n", 20), 0, 0, {}, [] { EXPECT_EQ(TimePrintNo, 20); }},
      {"O21Sets", nullptr, repeated("O 0 0\n", 21), 7, 0, {}, nullptr},
      // Room: ArrayTimeSteps rows for the data sets, and for the repetition.
      {"RowsFull", [] { ArrayTimeSteps = 2; }, "I 0 1 0 0 0\nI 1 1 0 0 0\nI 2 1 0 0 0\n", 11, 2, {0, 1}, nullptr},
      {"DRowsFull", [] { ArrayTimeSteps = 1; }, "D 0" + kNine + "\nD 1" + kNine + "\n", 11, 1, {}, nullptr},
      {"RoundsUsedUp", [] { ArrayTimeSteps = 1; }, std::string(3000, ' ') + "I 0 1 0 0 0\n", 0, 0, {}, nullptr},
      {"LastRound", [] { ArrayTimeSteps = 1; }, std::string(2999, ' ') + "I 0 1 0 0 0\n", 0, 1, {0}, nullptr},
      {"Repeated", [] { NoRepeatTimei = 2; }, "I 0 1 2 3 4\nI 10 1 0 0 0\nI 20 1 0 0 0\n", 0, 9,
       {0, 10, 20, 30, 40, 50, 60, 70, 80},
       [] {
         EXPECT_EQ(QDinn[6][2], 2);
         EXPECT_EQ(TimeInHinn[3], 3);
         EXPECT_EQ(TimeInHout[6], 4);
       }},
      {"RepeatedTooMany", [] { NoRepeatTimei = 2; ArrayTimeSteps = 8; }, "I 0 1 0 0 0\nI 10 1 0 0 0\nI 20 1 0 0 0\n",
       11, 3, {0, 10, 20}, nullptr},
      {"RepeatedToTheLastRow", [] { NoRepeatTimei = 2; ArrayTimeSteps = 9; }, "I 0 1 0 0 0\nI 10 1 0 0 0\nI 20 1 0 0 0\n",
       0, 9, {}, nullptr},
      {"EmptyFile", nullptr, "", 0, 0, {}, nullptr},
  };
  return cases;
}

TEST_F(Timei, FileTextsAgainstCodeAndRows) {
  for (const TimeiCase &c : timeiCases()) {
    SCOPED_TRACE(c.name);
    transientDefaults();
    TimePrintNo = 0;
    for (TimeInNo = 0; TimeInNo < 10; ++TimeInNo) TimeInTime[TimeInNo] = 1e9;  // rows left from an earlier series
    if (c.setup) c.setup();
    writeFile("timei", c.text);
    EXPECT_EQ(ReadTimes(), c.code);
    EXPECT_EQ(TimeInNo, c.rows);
    for (std::size_t t = 0; t < c.times.size(); ++t) EXPECT_EQ(TimeInTime[t], c.times[t]) << "row " << t;
    if (c.check) c.check();
  }
}

TEST_F(Timei, NoFile) {
  TimeInNo = 5;
  EXPECT_EQ(ReadTimes(), 0);
  EXPECT_EQ(TimeInNo, 0);
  EXPECT_STREQ(mc_message, "have not used 'timei' file ");
  EXPECT_FALSE(fs::exists("boogie"));
}

// A valid file read before every transient letter gives the same series each
// time; its result times must neither pile up nor overflow.
TEST_F(Timei, SameFileReadTwice) {
  writeFile("timei", "A 100\nA 200\nO 0 1\nu 5\nI 0 1 0 0 0\nI 10 2 0 0 0\nD 0" + kNine + "\nD 10" + kNine + "\n" +
                         repeated("A 300\n", 60));
  for (int call = 1; call <= 2; ++call) {
    SCOPED_TRACE(call);
    EXPECT_EQ(ReadTimes(), 0);
    EXPECT_EQ(TimeInNo, 2);
    EXPECT_EQ(TimeInTime[1], 10);
    EXPECT_EQ(QDinn[1][9], 9);
    EXPECT_EQ(NoAlldataPrintout, 62);
    EXPECT_EQ(AlldataPrintout[1], 200);
    EXPECT_EQ(TimePrintNo, 1);
  }
  EXPECT_FALSE(fs::exists("boogie"));
}

TEST_F(Timei, ErrorReportInTheLog) {
  writeFile("timei", "I 0 1 0 0 0\nI 10 1 0 0 0\nI 5 1 0 0 0\n");
  EXPECT_EQ(ReadTimes(), 9);
  EXPECT_EQ(readFile("boogie"),
            "Error in timei file: code 9\n"
            "The times on the data set are not in increasing order\n"
            "Have read 2 data sets from timei file: \n"
            "0.000000  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n"
            "10.000000  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n");
  EXPECT_STREQ(mc_message, "Error in 'timei' file: code 9 ");
}

TEST_F(Timei, ReportsOfTheCodesWithOwnTexts) {
  struct Report {
    const char *text;
    void (*setup)();
    const char *log;
    const char *message;
  };
  const Report reports[] = {
      {"I 0 1 0 0 0 1 2 3\n", sedimentRun,
       "Error in timei file: code 101\n"
       "Not read enough sediment concentrations on the I data set\n"
       "The number of floats should be 2 * 2 (sediment sizes * number of inflow groups)\n"
       "Have read 0 data sets from timei file: \n",
       "Error in 'timei' file: code 101 "},
      {"I 0 1 0 0 0\nI 1 1 0 0 0\n", [] { ArrayTimeSteps = 1; },
       "Error in timei file: code 11\n"
       "Too many time steps given in the timei file. Use F 81 in the control file or increase its existing value"
       "Have read 1 data sets from timei file: \n"
       "0.000000  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n",
       "Error in 'timei': use F 81 or increase its value"},
      {"O 0 26\n", nullptr, "Error in timei file: code 1\nHave read 0 data sets from timei file: \n",
       "Error in 'timei' file: code 1 "},
  };
  for (const Report &r : reports) {
    SCOPED_TRACE(r.text);
    transientDefaults();
    if (r.setup) r.setup();
    fs::remove("boogie");
    writeFile("timei", r.text);
    EXPECT_GT(ReadTimes(), 0);
    EXPECT_EQ(readFile("boogie"), r.log);
    EXPECT_STREQ(mc_message, r.message);
  }
}

// The repetition copies the sediment concentrations of every inflow group.
TEST_F(Timei, RepetitionCarriesSedimentConcentrations) {
  sedimentRun();
  NoRepeatTimei = 1;
  writeFile("timei", "I 0 1 0 0 0 1 2 3 4\nI 60 1 0 0 0 5 6 7 8\n");
  EXPECT_EQ(ReadTimes(), 0);
  ASSERT_EQ(TimeInNo, 4);
  EXPECT_EQ(TimeInTime[2], 120);
  EXPECT_EQ(TimeInTime[3], 180);
  EXPECT_EQ(Cinn[2][4], 4);
  EXPECT_EQ(Cinn[3][1], 5);
  EXPECT_EQ(Cinn[3][4], 8);
}

TEST_F(Timei, DebugEchoWritesTheSeries) {
  debugging = 'D';
  sedimentRun();
  writeFile("timei", "I 0 1.5 2 3 4 0.25 2 3 4\nI 10 1 0 0 0 1e-7 0 0 0\n");
  EXPECT_EQ(ReadTimes(), 0);
  EXPECT_EQ(readFile("timei.out"),
            "Time q1 q2 q3 h1 h2 c0\n"
            "0.000000 1.500000 2.000000 3.000000 4.000000 0.25 2 \n"
            "10.000000 1.000000 0.000000 0.000000 0.000000 1e-07 0 \n");
}

TEST_F(Timei, DebugEchoWithoutAFile) {
  debugging = 'D';
  EXPECT_EQ(ReadTimes(), 0);
  EXPECT_EQ(readFile("timei.out"), "Time q1 q2 q3 h1 h2 c0\n");
  fs::remove("timei.out");
  fs::create_directory("timei.out");
  EXPECT_EQ(ReadTimes(), 0);
  EXPECT_EQ(readFile("boogie"), "Error opening timei.out file\n\n");
}

// The run letter W of a transient run stops at a series out of order; the
// run ends as refused input, with the error in the log.
TEST(TimeiRun, SeriesOutOfOrderStopsTheLetters) {
  CaseSetup setup;
  setup.files["control"] = "F 33 10 1\nF 2 W\n";
  setup.files["timei"] = "I 0 1 0 0 0\nI 10 1 0 0 0\nI 5 1 0 0 0\n";
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, kExitInputError & 255);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error in timei file: code 9\n"
                       "The times on the data set are not in increasing order\n"
                       "Have read 2 data sets from timei file: \n"
                       "0.000000  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n"
                       "10.000000  1.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000 0.000000\n"))
      << r.file("boogie");
}

// A steady run never reads "timei"; a good series lets the letters go on.
TEST(TimeiRun, ReadOnlyInTransientRuns) {
  CaseSetup setup;
  setup.files["timei"] = "I 5 1 0 0 0\nI 0 1 0 0 0\n";
  // One flow iteration on the channel without inflow: fixed residual norms
  // (F 200 2) stand in for the norms an inflow would give.
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  const std::string norms = "G 1 13 7 11 1\nK 1 1\nF 200 2 0.0001 0.0001 0.001 0.001\n";
  setup.files["control"] = norms + "F 2 YWX\n";
  EXPECT_EQ(runCase(setup).status, 0);
  setup.files["control"] = norms + "F 33 10 1\nF 2 YWX\n";
  EXPECT_EQ(runCase(setup).status, kExitInputError & 255);
  setup.files["timei"] = "I 0 1 0 0 0\nI 5 1 0 0 0\n";
  EXPECT_EQ(runCase(setup).status, 0);
}

}  // namespace
