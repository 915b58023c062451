// The side files read with "control": "inflow" and "inspace" through the
// engine (statuses and log tails), and the tables that "cyclic", "inflow"
// and "inspace" fill, in process.
#include <gtest/gtest.h>

#include <string>

#include "model/allocation.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "startup/side_files.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const std::string kTenValues = " 1 2 3 4 5 6 7 8 9 10\n";

struct FileCase {
  const char *name;
  std::string control;
  std::string file;  // the side file named by the suite
  int status;
  std::string logTail;
  friend void PrintTo(const FileCase &c, std::ostream *os) { *os << c.name; }
};

CaseResult runWithFile(const char *fileName, const FileCase &c) {
  CaseSetup setup;
  setup.files["control"] = c.control;
  setup.files[fileName] = c.file;
  return runCase(setup);
}

class InflowFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(InflowFile, StatusAndLogTail) {
  CaseResult r = runWithFile("inflow", GetParam());
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, GetParam().status) << log;
  EXPECT_TRUE(endsWith(log, GetParam().logTail)) << log;
}

const FileCase kInflow[] = {
    {"LetterOtherThanD", "", "X 1 2 1 2 3 4 5\n", 248, "Error in reading inflow file, the D data set has to be used\n"},
    {"JAbove499", "", "D 500 1 1 2 3 4 5\n", 254, "Error in reading inflow file, too large indexes in inflow file: 500 1\n"},
    {"KAbove49", "", "D 1 50 1 2 3 4 5\n", 254, "Error in reading inflow file, too large indexes in inflow file: 1 50\n"},
    {"JBelowZero", "", "D -1 2 1 2 3 4 5\n", 254, "Error in reading inflow file, too large indexes in inflow file: -1 2\n"},
    {"FourValues", "", "D 1 2 1 2 3 4\n", 253,
     "Error in reading inflow file for line: 1 2\nNote that five floating point numbers must be given\n"},
    {"ValueNotFinite", "", "D 1 2 1 2 nan 4 5\n", 253,
     "Error in reading inflow file for line: 1 2\nNote that five floating point numbers must be given\n"},
    {"TwoRecords", "", "D 3 4 1 2 3 4 5\nD 1 2 5 4 3 2 1\n", 1,
     "\n\nHave read 2 points in a 3 x 4 array from inflow file\nHave allocated        70.38 Mbytes unstructured arrays\n\n"},
    // Reading stops at the first record whose head does not match.
    {"StopsAtAForeignLine", "", "D 499 49 1 2 3 4 5\nend\nD 1 1 1 2 3 4 5\n", 1,
     "Have read 1 points in a 499 x 49 array from inflow file\nHave allocated        70.38 Mbytes unstructured arrays\n\n"},
};

INSTANTIATE_TEST_SUITE_P(Runs, InflowFile, ::testing::ValuesIn(kInflow),
                         [](const ::testing::TestParamInfo<FileCase> &info) { return info.param.name; });

class InspaceFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(InspaceFile, StatusAndLogTail) {
  CaseResult r = runWithFile("inspace", GetParam());
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, GetParam().status) << log;
  EXPECT_TRUE(endsWith(log, GetParam().logTail)) << log;
}

const std::string kInspaceRead = "Have not used inflow file\nInspace file read: \nHave allocated ";

const FileCase kInspace[] = {
    {"AWithoutInteger", "", "A x\n", 248,
     "Error in reading the inspace file, the A data set has to be used with an integer\n"},
    {"AZero", "", "A 0\n", 248, "Error in reading the inspace file, the A data set has to be used with an integer\n"},
    {"TWithoutF294", "", "A 1\nT 0\n", 247,
     "Error in reading inspace file, the T data set has to be used together with the F 294 data set\n"},
    {"CWithoutF294", "", "A 1\nC 1" + kTenValues, 247,
     "Error in reading inspace file, the C data set has to be used together with the F 294 data set\n"},
    {"BWithF294", "F 294 1\n", "A 1\nB 1" + kTenValues, 244,
     "Error in inspace file or F 294 data set: The B data set in the inspace\n"
     "file can not be used with the F 294 data set in the control file\n"},
    {"TimesDecrease", "F 294 1\n", "A 1\nT 0\nT 10\nT 5\n", 245,
     "Error in reading inspace file, time steps has to increase for time step 2\n"},
    // F 294 1 reserves three time levels.
    {"FourthT", "F 294 1\n", "A 1\nT 0\nT 10\nT 10\nT 20\n", 246,
     "Error in reading inspace file, increase F 294 integer\n"},
    {"BSizeAboveLnumber", "", "A 1\nB 2" + kTenValues, 248,
     "Error in reading the inspace file, not correct first integer on the B data set\n"},
    // inspace holds the coefficients of sizes 1..19 only.
    {"BSizeAbove19", "G 1 10 10 11 20\n", "A 1\nB 20" + kTenValues, 248,
     "Error in reading the inspace file, not correct first integer on the B data set\n"},
    {"BTooFewValues", "", "A 1\nB 1 1 2 3\n", 248,
     "Error in reading the inspace file, not enough data on the B data set\n"},
    {"CBeforeAnyT", "F 294 1\n", "A 1\nC 1" + kTenValues, 248,
     "Error in reading the inspace file, the C data set has to follow a T data set\n"},
    {"CSizeOutOfRange", "F 294 1\n", "A 1\nT 5\nC 2" + kTenValues, 248,
     "Error in reading the inspace file, not correct first integer on the C data set\nfor time step 5.000000\n\n"},
    {"CTooFewValues", "F 294 1\n", "A 1\nT 5\nC 1 1 2 3\n", 248,
     "Error in reading the inspace file, not enough data on the C data set\n"
     "for time step 5.000000, size no: 1, point no: 4\n\n"},
    {"ConstantConcentrations", "", "A 2\nB 1" + kTenValues, 1, ""},
    {"ThreeTimeLevels", "F 294 1\n", "A 1\nT 0\nC 1" + kTenValues + "T 0\nT 10\nC 1" + kTenValues, 1, ""},
};

INSTANTIATE_TEST_SUITE_P(Runs, InspaceFile, ::testing::ValuesIn(kInspace),
                         [](const ::testing::TestParamInfo<FileCase> &info) { return info.param.name; });

TEST(InspaceFile, GoodFileIsLoggedBeforeTheUnstructuredTotal) {
  CaseResult r = runWithFile("inspace", {"Good", "", "A 2\nB 1" + kTenValues, 1, ""});
  EXPECT_NE(r.file("boogie").find(kInspaceRead), std::string::npos) << r.file("boogie");
  EXPECT_EQ(runControl("").file("boogie").find("Inspace"), std::string::npos);
}

// In process: kread's defaults on a small grid with the structured arrays.
class SideTables : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    xnumber = ynumber = 4;
    lnumber = 2;
  }
  void allocate(int inspaceLevels) {
    InspaceAlloc = inspaceLevels;
    ASSERT_EQ(sialloc(), 0);
  }
  std::string logAfterAllocation() {
    std::string log = readFile("boogie");
    return log.substr(log.find("structured arrays\n") + 18);
  }
};

TEST_F(SideTables, InflowStoresEachRecordAtItsPointAndLevel) {
  writeFile("inflow", "D 3 4 1.5 2.5 3.5 4.5 5.5\nD 499 0 -1 -2 -3 -4 -5\nD 3 4 9 8 7 6 5\n");
  readInflowFile();
  EXPECT_EQ(readFile("boogie"), "Have read 3 points in a 499 x 4 array from inflow file\n");
  EXPECT_DOUBLE_EQ(inflowu[3][4], 9.0);  // the later record wins
  EXPECT_DOUBLE_EQ(inflowe[3][4], 5.0);
  EXPECT_DOUBLE_EQ(inflowv[499][0], -2.0);
  EXPECT_DOUBLE_EQ(infloww[499][0], -3.0);
  EXPECT_DOUBLE_EQ(inflowki[499][0], -4.0);
  EXPECT_EQ(inflowj, 499);
  EXPECT_EQ(inflowk, 4);
}

TEST_F(SideTables, InflowStopsAfter600000Records) {
  std::string text;
  text.reserve(600001 * 20);
  for (int n = 0; n <= 600000; ++n) text += "D 1 1 1 2 3 4 5\n";
  text.replace(text.size() - 16, 16, "D 2 2 7 7 7 7 7\n");
  writeFile("inflow", text);
  readInflowFile();
  EXPECT_EQ(readFile("boogie"), "Have read 600000 points in a 1 x 1 array from inflow file\n");
  EXPECT_DOUBLE_EQ(inflowu[2][2], 0.0);
}

TEST_F(SideTables, InspaceConstantConcentrationsPerSize) {
  allocate(0);
  writeFile("inspace", "A 3\nB 2 1 2 3 4 5 6 7 8 9 10\n");
  readInspaceFile();
  EXPECT_EQ(FlagInspace, 3);
  for (int p = 1; p <= 10; ++p) EXPECT_DOUBLE_EQ(inspace[40 + p], p);
  EXPECT_DOUBLE_EQ(inspace[51], 0.0);
  EXPECT_EQ(logAfterAllocation(), "Inspace file read: \n");
}

TEST_F(SideTables, InspaceLevelsTakeTheLatestTime) {
  allocate(2);
  writeFile("inspace", "A 1\nT 0\nC 1 1 2 3 4 5 6 7 8 9 10\nT 60\nT 60\nC 2 11 12 13 14 15 16 17 18 19 20\n");
  readInspaceFile();
  ASSERT_EQ(InspaceTimeNo, 3);
  EXPECT_DOUBLE_EQ(TinspaceTime[1], 60.0);
  EXPECT_DOUBLE_EQ(Tinspace[0][1][10], 10.0);
  EXPECT_DOUBLE_EQ(Tinspace[2][2][1], 11.0);
  EXPECT_DOUBLE_EQ(Tinspace[1][2][1], 0.0);
}

TEST_F(SideTables, InspaceWithoutALosesItsFirstLetter) {
  allocate(0);
  // The B of the first line is read alone and dropped; its numbers are text.
  writeFile("inspace", "B 1 5 5 5 5 5 5 5 5 5 5\nB 2 1 2 3 4 5 6 7 8 9 10\n");
  readInspaceFile();
  EXPECT_EQ(FlagInspace, 0);
  EXPECT_DOUBLE_EQ(inspace[21], 0.0);
  EXPECT_DOUBLE_EQ(inspace[41], 1.0);
}

TEST_F(SideTables, InspaceLastReservedLevelIsWritten) {
  allocate(1);
  writeFile("inspace", "A 1\nT 1\nT 2\nT 3\n");
  readInspaceFile();
  EXPECT_EQ(InspaceTimeNo, 3);
  EXPECT_DOUBLE_EQ(TinspaceTime[2], 3.0);
}

struct CyclicCase {
  const char *name;
  std::string file;
  std::string log;
  int flag;         // FlagHaveReadCyclic after the read
  double level3u;   // cyclicU[3]
  friend void PrintTo(const CyclicCase &c, std::ostream *os) { *os << c.name; }
};

class CyclicFile : public SideTables, public ::testing::WithParamInterface<CyclicCase> {};

TEST_P(CyclicFile, ProfileAndLog) {
  const CyclicCase &c = GetParam();
  FlagCyclic = 1;
  znumber = 11;
  writeFile("cyclic", c.file);
  readCyclicFile();
  EXPECT_EQ(readFile("boogie"), c.log);
  EXPECT_EQ(FlagHaveReadCyclic, c.flag);
  EXPECT_DOUBLE_EQ(cyclicU[3], c.level3u);
}

std::string cyclicLines(int first, int last) {
  std::string text;
  for (int k = first; k <= last; ++k) {
    text += std::to_string(k) + " " + std::to_string(k / 10.0) + " 0.01 0.001\n";
  }
  return text;
}

const CyclicCase kCyclic[] = {
    // The values of the line numbered 4 go to level 3, then the reading stops.
    {"GapStoresOneLevelLow", "1 0.1 0.01 0.001\n2 0.2 0.02 0.002\n4 0.4 0.04 0.004\n5 0.5 0.05 0.005\n",
     "Have read 4 points from cyclic file\n", 1, 0.4},
    {"OneLevelIsNoProfile", "1 0.1 0.01 0.001\n", "Have read 1 points from cyclic file\n", 0, 0.0},
    {"UnreadableFirstLine", "level u k e\n", "Have read 0 points from cyclic file\n", 0, 0.0},
    {"StopsAtZnumber", cyclicLines(1, 14), "Have read 11 points from cyclic file\n", 1, 0.3},
    {"ThreeValuesEndTheProfile", "1 0.1 0.01 0.001\n2 0.2 0.02 none\n3 0.3 0.03 0.003\n",
     "Have read 1 points from cyclic file\n", 0, 0.0},
};

INSTANTIATE_TEST_SUITE_P(Lines, CyclicFile, ::testing::ValuesIn(kCyclic),
                         [](const ::testing::TestParamInfo<CyclicCase> &info) { return info.param.name; });

TEST_F(SideTables, CyclicIsReadOnceAndOnlyWithF174) {
  znumber = 11;
  readCyclicFile();  // F 174 not given: not even the absence is logged
  EXPECT_EQ(readFile("boogie"), "");
  FlagCyclic = 1;
  readCyclicFile();
  EXPECT_EQ(readFile("boogie"), "Have not used cyclic file\n");
  writeFile("cyclic", cyclicLines(1, 11));
  readCyclicFile();
  writeFile("cyclic", "1 9 9 9\n2 9 9 9\n");
  readCyclicFile();  // a profile is held: the file is not read again
  EXPECT_EQ(readFile("boogie"), "Have not used cyclic file\nHave read 11 points from cyclic file\n");
  EXPECT_DOUBLE_EQ(cyclicU[2], 0.2);
}

TEST_F(SideTables, CyclicHasRoomForEveryLevel) {
  FlagCyclic = 1;
  znumber = 4997;
  writeFile("cyclic", cyclicLines(1, 4997));
  readCyclicFile();
  EXPECT_EQ(readFile("boogie"), "Have read 4997 points from cyclic file\n");
  EXPECT_DOUBLE_EQ(cyclicU[4997], 499.7);
}

}  // namespace
