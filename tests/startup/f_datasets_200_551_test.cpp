// The data sets F 200 to F 551: the engine run end to end for the texts and
// statuses of refused values, and the reader in process for what accepted
// values do, for the data sets that look at others, and for the threads.
#include <gtest/gtest.h>
#include <omp.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include <unistd.h>

#include "base/exit_codes.h"
#include "model/settings.h"
#include "model/threads.h"
#include "startup/control_reader.h"
#include "startup/dataset_rows.h"
#include "base/log.h"
#include "support/run_case.h"

namespace {

// The status of a run that ends at a refused value.
constexpr int kRefused = kExitInputError & 255;

// ---- The rows as a table ---------------------------------------------------------------------

TEST(FDataSetRows, EveryNumberOfTheRangeHasItsRowOnce) {
  const std::set<int> withoutHandler = {207, 211, 220, 228, 240, 243, 286, 288, 300, 302, 307, 321};
  std::map<int, int> seen;
  auto walk = [&](std::span<const DataSetRow> rows, int lowest, int highest) {
    for (const DataSetRow &row : rows) {
      EXPECT_GE(row.number, lowest);
      EXPECT_LE(row.number, highest);
      ++seen[row.number];
    }
  };
  walk(fRows200to299(), 200, 299);
  walk(fRows300to399(), 300, 399);
  walk(fRows400to551(), 400, 551);
  const DataSetTable &table = dataSetTable('F');
  for (int n = 200; n <= 551; ++n) {
    bool expected = withoutHandler.count(n) == 0;
    EXPECT_EQ(seen[n], expected ? 1 : 0) << "F " << n;
    EXPECT_EQ(table.rows[static_cast<std::size_t>(n)] != nullptr, expected) << "F " << n;
  }
}

// A variable that two data sets set must start from one default whichever row
// kread visits last (F 247 and F 410, F 56 and F 270, F 79 and G 1, ...).
TEST(FDataSetRows, SharedVariablesHaveOneDefault) {
  std::map<const void *, std::pair<std::string, double>> first;
  for (char letter : {'F', 'G', 'K', 'P', 'W'}) {
    for (const DataSetRow *row : dataSetTable(letter).rows) {
      if (!row) continue;
      std::string name = std::string(1, letter) + " " + std::to_string(row->number);
      for (const DataSetVar &var : row->vars) {
        auto [it, inserted] = first.emplace(var.target.pointer, std::make_pair(name, var.defaultValue));
        if (!inserted) {
          EXPECT_EQ(it->second.second, var.defaultValue) << it->second.first << " and " << name;
        }
      }
    }
  }
}

// ---- End to end: refused values -------------------------------------------------------------

struct RefusedCase {
  const char *name;
  std::string control;
  int status;
  std::string tail;  // what the log ends with
  friend void PrintTo(const RefusedCase &c, std::ostream *os) { *os << c.name; }
};

class FDataSetRefused : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(FDataSetRefused, EndsWithStatusAndMessage) {
  const RefusedCase &c = GetParam();
  CaseResult r = runControl(c.control);
  std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status) << "control: " << c.control;
  EXPECT_EQ(log.substr(0, kLogHeader.size()), kLogHeader);
  EXPECT_TRUE(endsWith(log, c.tail)) << "control: " << c.control << "\nexpected the log to end with:\n"
                                     << c.tail << "\ngot:\n"
                                     << log;
  expectConsole(r);
}

std::string testName(const ::testing::TestParamInfo<RefusedCase> &info) { return info.param.name; }

// S: "Error for F <n> in control" without a line end.
INSTANTIATE_TEST_SUITE_P(
    StandardText, FDataSetRefused,
    ::testing::Values(
        RefusedCase{"F200SecondPairMissing", "F 200 2 0.1 0.1\n", kRefused, "\nError for F 200 in control"},
        RefusedCase{"F200FlagBelowOne", "F 200 0 0.1 0.1\n", kRefused, "\nError for F 200 in control"},
        RefusedCase{"F201TooManyVariables", "F 201 6 4 1\n", kRefused, "\nError for F 201 in control"},
        RefusedCase{"F202NonFiniteRoughness", "F 202 1 inf\n", kRefused, "\nError for F 202 in control"},
        RefusedCase{"F206NothingRead", "F 206 x\n", kRefused, "\nError for F 206 in control"},
        RefusedCase{"F218NothingRead", "F 218 x\n", kRefused, "\nError for F 218 in control"},
        RefusedCase{"F225OneValue", "F 225 1.0\n", kRefused, "\nError for F 225 in control"},
        RefusedCase{"F270AngleAbove70", "F 270 1 1.0 71.0\n", kRefused, "\nError for F 270 in control"},
        RefusedCase{"F270UpAngleTooSmall", "F 270 1 0.001 5.0\n", kRefused, "\nError for F 270 in control"},
        RefusedCase{"F375Deeper", "F 375 10000.5\n", kRefused, "\nError for F 375 in control"},
        RefusedCase{"F389Zero", "F 389 0\n", kRefused, "\nError for F 389 in control"},
        RefusedCase{"F397LimiterTooSmall", "F 397 1 1 0.0 0.1\n", kRefused, "\nError for F 397 in control"},
        RefusedCase{"F409DistanceZero", "F 409 1 0.0\n", kRefused, "\nError for F 409 in control"}),
    testName);

// S+nl: the same text with a line end.
INSTANTIATE_TEST_SUITE_P(
    StandardTextLineEnd, FDataSetRefused,
    ::testing::Values(
        RefusedCase{"F237GroupTen", "F 237 10 1.0\n", kRefused, "\nError for F 237 in control\n"},
        RefusedCase{"F237Negative", "F 237 2 -1.0\n", kRefused, "\nError for F 237 in control\n"},
        RefusedCase{"F237OneValue", "F 237 2\n", kRefused, "\nError for F 237 in control\n"},
        RefusedCase{"F247PoissonAboveHalf", "F 247 1e7 0.6\n", kRefused, "\nError for F 247 in control\n"},
        RefusedCase{"F247ModulusTooSmall", "F 247 1e4 0.3\n", kRefused, "\nError for F 247 in control\n"},
        RefusedCase{"F251NoCurve", "F 251 4\n", kRefused, "\nError for F 251 in control\n"},
        RefusedCase{"F263GroupZero", "F 263 0 5\n", kRefused, "\nError for F 263 in control\n"},
        RefusedCase{"F287Negative", "F 287 -1\n", kRefused, "\nError for F 287 in control\n"},
        RefusedCase{"F292StepTooSmall", "F 292 0 0.0\n", kRefused, "\nError for F 292 in control\n"},
        RefusedCase{"F297OutOfRange", "F 297 5\n", kRefused, "\nError for F 297 in control\n"},
        RefusedCase{"F212Overflow", "F 212 99999999999\n", kRefused, "\nError for F 212 in control\n"},
        RefusedCase{"F317IndexTooHigh", "F 317 99 5\n", kRefused, "\nError for F 317 in control\n"},
        RefusedCase{"F337BlockOutsideTable", "F 308 1\nF 337 100 4 12.5\n", kRefused, "\nError for F 337 in control\n"},
        RefusedCase{"F337NonFinite", "F 308 1\nF 337 2 4 nan\n", kRefused, "\nError for F 337 in control\n"},
        RefusedCase{"F343WithoutF168", "F 343 3\n", kRefused,
                    "\nError for F 343 in control\nThis data set must only be used with the F 168 data set\n\n"},
        RefusedCase{"F350MinimumAboveMaximum", "F 350 1 2 0 0\n", kRefused, "\nError for F 350 in control\n"},
        RefusedCase{"F350NegativePower", "F 350 2 1 0 -1\n", kRefused, "\nError for F 350 in control\n"},
        RefusedCase{"F358ColumnsReversed", "F 358 5 2 1 4 0 10\n", kRefused, "\nError for F 358 in control\n"},
        RefusedCase{"F358RowsStartAtZero", "F 358 1 4 0 4 0 10\n", kRefused, "\nError for F 358 in control\n"},
        RefusedCase{"F358RowsReversed", "F 358 1 4 5 4 0 10\n", kRefused, "\nError for F 358 in control\n"},
        RefusedCase{"F361SlopeAboveTwo", "F 361 1 -2.5\n", kRefused, "\nError for F 361 in control\n"},
        RefusedCase{"F370DuneColumnsReversed", "F 370 0 5 1 2 1\n", kRefused, "\nError for F 370 in control\n"},
        RefusedCase{"F370RowBeyondGrid", "F 370 0 1 5 299 1\n", kRefused, "\nError for F 370 in control\n"},
        RefusedCase{"F381MinimumAboveMaximum", "F 381 3.0 2.0\n", kRefused, "\nError for F 381 in control\n"},
        RefusedCase{"F412Negative", "F 412 -1\n", kRefused, "\nError for F 412 in control\n"},
        RefusedCase{"F413Negative", "F 413 -1\n", kRefused, "\nError for F 413 in control\n"},
        RefusedCase{"F416Negative", "F 416 -2\n", kRefused, "\nError for F 416 in control\n"},
        RefusedCase{"F476NoFormula", "F 476 4\n", kRefused, "\nError for F 476 in control\n"},
        RefusedCase{"F418AboveTen", "F 418 11\n", kRefused, "\nError for F 418 in control\n"},
        RefusedCase{"F428WithoutF36Seven", "F 428 0.5\n", kRefused, "\nError for F 428 in control\n"},
        RefusedCase{"F449BelowMinusTen", "F 449 -11 0\n", kRefused, "\nError for F 449 in control\n"},
        RefusedCase{"F449WindowReversed", "F 449 5 4\n", kRefused, "\nError for F 449 in control\n"},
        RefusedCase{"F469AboveRange", "F 469 2.2\n", kRefused, "\nError for F 469 in control\n"},
        RefusedCase{"F495NegativeFlag", "F 495 -1 1.5\n", kRefused, "\nError for F 495 in control\n"},
        RefusedCase{"F532IntervalOne", "F 532 1 0 10\n", kRefused, "\nError for F 532 in control\n"},
        RefusedCase{"F544Negative", "F 544 -1 1\n", kRefused, "\nError for F 544 in control\n"}),
    testName);

// The rows' own texts.
INSTANTIATE_TEST_SUITE_P(
    OwnText, FDataSetRefused,
    ::testing::Values(
        RefusedCase{"F205NegativeParameter", "F 205 1 -1.0\n", kRefused,
                    "\nError for F 205 in control\nTwo parameters are needed, one integer and one float\n"
                    "The float should be larger than 0.0\n"},
        RefusedCase{"F237DischargeTooLow", "F 237 3 0.0\n", kRefused, "\nError for F 237, group 3: discharge is too low\n"},
        RefusedCase{"F238LevelTooLow", "F 238 1 -20001\n", kRefused,
                    "\nError for F 238 in control\nYou have to give in two numbers: an integer and a float\n\n"},
        RefusedCase{"F242NothingRead", "F 242 x\n", kRefused, "\nError for F 242 in control\nHave not read any integer\n"},
        RefusedCase{"F242Zero", "F 242 0\n", kRefused, "\nError for F 242 in control\nInvalid number on data set: 0\n"},
        RefusedCase{"F246ThreeValues", "F 246 1 1 1\n", kRefused,
                    "\nError for F 246 in control, not correct number of parameters\n"},
        RefusedCase{"F256NothingRead", "F 256 x\n", kRefused,
                    "\nError for F 256 in control\nHave not read any floating point number\n"},
        RefusedCase{"F256Negative", "F 256 -0.5\n", kRefused, "In kread \n\nError for F 256 in control\n"},
        RefusedCase{"F269OneValue", "F 269 1\n", kRefused,
                    "\nError for F 269 in control\nThe data set needs two integers. Default F 269 1 1\n"},
        RefusedCase{"F273NegativeCoefficient", "F 273 2 -1.0\n", kRefused,
                    "\nError for 2nd parameter on F 273 data set in control file\n"},
        RefusedCase{"F287LimitsReversed", "F 287 6 3.0 2.0\n", kRefused, "\nError for F 287 6 in control\n"},
        RefusedCase{"F289ThreeIntegers", "F 289 1 2 3 x\n", kRefused,
                    "\nError for F 289 in control\nThere should be four integers on the data set. Now there is 3\n"},
        RefusedCase{"F330PairOutOfRange", "F 330 2 0.5 100 1.0 -5\n", kRefused, "\nError for F 330 in control, 1 parameter\n"},
        RefusedCase{"F330CountZero", "F 330 0\n", kRefused, "\nError for F 330 in control - first integer\n"},
        RefusedCase{"F337TwoNumbers", "F 308 1\nF 337 2 4\n", kRefused,
                    "\nError for F 337 in control: have not read three numbers\n"},
        RefusedCase{"F337GroupTen", "F 308 1\nF 337 2 10 1.0\n", kRefused,
                    "\nError for F 337 in control: 2nd integer not between 1 and 9\n"},
        RefusedCase{"F337NegativeDischarge", "F 308 1\nF 337 2 4 -1.0\n", kRefused,
                    "\nError for F 337, group 4, block 2: discharge is too low\n"},
        RefusedCase{"F368TwoNumbers", "F 368 1 2\n", kRefused, "\nError for F 368 in control: have not read 6 numbers\n"},
        RefusedCase{"F370FourIntegers", "F 370 0 1 5 2\n", kRefused,
                    "\nError for F 370 in control: have not read 5 integers\n"},
        RefusedCase{"F370RowOne", "F 370 0 1 5 1 1\n", kRefused, "\nError for F370, 4th parameter must be larger than 1\n"},
        RefusedCase{"F371FourthMissing", "F 371 9 0 0\n", kRefused,
                    "\nError for F 371 in control: Error for fourth parameter: FroudeSplit = 1.000000\n\n"},
        RefusedCase{"F371TwoIntegers", "F 371 1 0\n", kRefused, "\nError for F 371 in control: have not read 3 integers\n"},
        RefusedCase{"F376OneNumber", "F 376 1.0\n", kRefused, "\nError for F 376 in control: Have not read two numbers"},
        RefusedCase{"F386OneInteger", "F 386 1\n", kRefused,
                    "\nError for F 386 in control: Have not read two integers: Flag + MaxNo"},
        RefusedCase{"F412AfterSlide204", "F 270 204 1.0 1.0\nF 412 0\n", kRefused,
                    "\nError for combination of F 412 and F 56 in control file.\n"
                    "The slide will affect more than one layer.\n"},
        RefusedCase{"F412AfterF56Slide204", "F 37 3\nF 56 204 1.0\nF 412 0\n", kRefused,
                    "\nError for combination of F 412 and F 56 in control file.\n"
                    "The slide will affect more than one layer.\n"},
        RefusedCase{"F292AfterF168AndF102", "F 168 1\nF 102 1\nF 292 1 0.1\n", kRefused,
                    "\nWarning for F 292 and F 168 and F 102 in control file\n"
                    "Combining these three data sets can lead to instabilities\n"
                    "If you still want to do this, use an integer 5 instead of 1 on the F 292 data set\n\n"},
        RefusedCase{"F416IntervalNegative", "F 416 3 -1.0\n", kRefused, "\nError for F 416 3 in control\n"},
        RefusedCase{"F433DepthTooLarge", "F 433 0 2000\n", kRefused,
                    "\nError for F 433 in control. Are two numbers given?\n"},
        RefusedCase{"F451AfterErodeUnderZero", "F 412 0\nF 451 1 0.5\n", kRefused,
                    "\nError for combination of F 451 and F 412 in control file.\n"
                    "The smoothing will affect more than one layer.\n"},
        RefusedCase{"F451WithoutF37Three", "F 451 1 0.5\n", kRefused,
                    "\nThe F 451 data set is only used in combination with the F 37 3 data set\n"
                    "An alternative is the F 144 data set\n\n"},
        RefusedCase{"F453WithoutF37Three", "F 453 1\n", kRefused,
                    "\nError for F 453 in control: The option can only be used with F 37 3\n"},
        RefusedCase{"F495Discontinued", "F 495 0 1.5\n", kRefused,
                    "\nF 495 data set is discontinued from 14. nov. 2023 as it will break the ponds algorithm\n\n"},
        RefusedCase{"F507TenthNotANumber", "F 507 1 1 1 1 1 1 1 1 1 x\n", kRefused, "\nError for F 507 in control, j=10\n"},
        RefusedCase{"F514NoPorosity", "F 514 0 0.0 0.0\n", kRefused,
                    "\nError for F 514 in control: Default: F 514 0 0.0 1.0\n"}),
    testName);

// The codes other than 1: F 337 before F 308 (-1), "vostel" not creatable (-4).
INSTANTIATE_TEST_SUITE_P(
    OtherCodes, FDataSetRefused,
    ::testing::Values(RefusedCase{"F337BeforeF308", "F 337 2 4 12.5\nF 308 1\n", 255,
                                  "\nError in control file. The F 337 data set can only be used\n"
                                  "when preceded by an F 308 (MPI) data set\n\n"},
                      RefusedCase{"F337WithF308Zero", "F 308 0\nF 337 2 4 12.5\n", 255,
                                  "when preceded by an F 308 (MPI) data set\n\n"}),
    testName);

TEST(FDataSetFiles, VostelThatCannotBeCreated) {
  CaseSetup setup;
  setup.files["control"] = "F 293 0\n";
  setup.directories.push_back("vostel");
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 252);
  EXPECT_EQ(r.file("boogie"), kLogHeader + "Error, cannot open file 'vostel'\n");
}

TEST(FDataSetFiles, VostelHoldsItsHeaderWhateverTheValue) {
  for (const char *control : {"F 293 0\n", "F 293 3\n"}) {
    CaseSetup setup;
    setup.files["control"] = control;
    setup.files["vostel"] = "an old residual history\n";
    CaseResult r = runCase(setup);
    EXPECT_EQ(r.file("vostel"), "Iteration, Residuals: Ux, Uy, Uz, Continuity, k, epsilon\n") << control;
    EXPECT_EQ(r.file("boogie").find("vostel"), std::string::npos) << control;
  }
}

// ---- End to end: accepted values and warnings -----------------------------------------------

struct AcceptedCase {
  const char *name;
  std::string control;
  std::string absent;   // the handler's refusal, which must not appear
  std::string present;  // a warning or report that must appear ("" none)
  friend void PrintTo(const AcceptedCase &c, std::ostream *os) { *os << c.name; }
};

class FDataSetAccepted : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(FDataSetAccepted, LeavesNoRefusal) {
  const AcceptedCase &c = GetParam();
  CaseResult r = runControl(c.control);
  std::string log = r.file("boogie");
  EXPECT_EQ(log.find(c.absent), std::string::npos) << "control: " << c.control << "\nlog:\n" << log;
  if (!c.present.empty()) {
    EXPECT_NE(log.find(c.present), std::string::npos) << "control: " << c.control << "\nlog:\n" << log;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Values, FDataSetAccepted,
    ::testing::Values(
        AcceptedCase{"F200FirstTriple", "F 200 1 0.1 0.1\n", "Error for F 200", ""},
        AcceptedCase{"F200SecondPair", "F 200 2 0.1 0.1 0.2 0.2\n", "Error for F 200", ""},
        AcceptedCase{"F218WithoutCell", "F 218 5\n", "Error for F 218", ""},
        AcceptedCase{"F237SmallestDischarge", "F 237 9 1e-20\n", "Error for F 237", ""},
        AcceptedCase{"F287WithoutLimits", "F 287 5\n", "Error for F 287", ""},
        AcceptedCase{"F329StopsAtOutOfRange", "F 329 5 7 250 9\n", "Error",
                     "In kread \n\nHave read 2 integers from the F 329 data set\n"},
        AcceptedCase{"F337AfterF308", "F 308 1\nF 337 2 4 12.5\n", "F 337", ""},
        AcceptedCase{"F371WithoutFourth", "F 371 5 0 0\n", "Error for F 371", ""},
        AcceptedCase{"F412AfterSlide203", "F 270 203 1.0 1.0\nF 412 0\n", "The slide will affect", ""},
        AcceptedCase{"F412AfterF56Slide203", "F 37 3\nF 56 203 1.0\nF 412 0\n", "The slide will affect", ""},
        AcceptedCase{"F412ValueNotRead", "F 412 x\n", "Error for F 412", ""},
        AcceptedCase{"F416WithoutInterval", "F 416 2\n", "Error for F 416", ""},
        AcceptedCase{"F451WithF37Three", "F 37 3\nF 451 1 0.5\n", "F 451", ""},
        AcceptedCase{"F453WithF37Three", "F 37 3\nF 453 1\n", "F 453", ""},
        // Warnings go on reading: the refusal of a later data set still comes.
        AcceptedCase{"F235WarnsForZero", "F 235 0\nF 389 0\n", "F 235 in control",
                     "Warning: The F 235 0 data set will only work when\n"
                     "not used in combination with the F 206 data set\n\nError for F 389 in control"},
        AcceptedCase{"F260WarnsWithoutF37", "F 260 1\nF 389 0\n", "F 260 in control",
                     "Error in control file. The F 260 data set will only work\n"
                     "when the F 37 data set is set to 2 or 3\n\nError for F 389 in control"},
        AcceptedCase{"F261WarnsAfterF206", "F 206 1\nF 261 18 0.5\nF 389 0\n", "F 261 in control",
                     "Warning: The combination of F 206 and F 261 data sets in the control file will\n"
                     "give incorrect residuals\nError for F 389 in control"},
        AcceptedCase{"F291AlwaysWarns", "F 291 0 0 0\nF 389 0\n", "F 291 in control",
                     "Warning: The F 291 data set parameters will mostly only work\nwith F 206 0\n\n"
                     "Error for F 389 in control"}),
    [](const ::testing::TestParamInfo<AcceptedCase> &info) { return std::string(info.param.name); });

// ---- End to end: the thread count -----------------------------------------------------------

struct ThreadCase {
  const char *name;
  const char *offered;  // OMP_NUM_THREADS
  std::string control;
  std::string line;
  friend void PrintTo(const ThreadCase &c, std::ostream *os) { *os << c.name; }
};

class FDataSetThreads : public ::testing::TestWithParam<ThreadCase> {};

TEST_P(FDataSetThreads, LogsOfferAndValue) {
  CaseSetup setup;
  setup.files["control"] = GetParam().control;
  setup.environment["OMP_NUM_THREADS"] = GetParam().offered;
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.file("boogie").substr(kLogHeader.size(), GetParam().line.size()), GetParam().line);
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(
    F206, FDataSetThreads,
    ::testing::Values(ThreadCase{"AboveOffer", "2", "F 206 8\n", "Max. number of threads: 2, value F 206: 8\n"},
                      ThreadCase{"EqualToOffer", "4", "F 206 4\n", "Max. number of threads: 4, value F 206: 4\n"},
                      ThreadCase{"BelowOffer", "4", "F 206 2\n", "Max. number of threads: 4, value F 206: 2\n"},
                      ThreadCase{"Zero", "2", "F 206 0\n", "Max. number of threads: 2, value F 206: 0\n"},
                      ThreadCase{"Negative", "2", "F 206 -3\n", "Max. number of threads: 2, value F 206: -3\n"}),
    [](const ::testing::TestParamInfo<ThreadCase> &info) { return std::string(info.param.name); });

// ---- In process ------------------------------------------------------------------------------

// Holds the log in a file of its own, so that messages of the reader, also
// those of a refusal in a death test's child, can be read back.
class FDataSetsInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    logPath_ = (std::filesystem::temp_directory_path() / "telva-log-XXXXXX").string();
    int fd = ::mkstemp(logPath_.data());
    ASSERT_GE(fd, 0);
    setHeldLog(::fdopen(fd, "w"));
  }
  void TearDown() override {
    closeHeldLog();
    std::remove(logPath_.c_str());
  }

  // kread's defaults, then the settings a test gives, then the pass.
  static void read(const std::string &text, void (*setup)() = nullptr) {
    kreadDefaults();
    if (setup) setup();
    ControlStream stream(text);
    kreadPass(stream);
  }

  // Everything written to the log so far.
  std::string log() const {
    std::fflush(heldLog());
    std::ifstream in(logPath_, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }

  std::string logPath_;
};

TEST_F(FDataSetsInProcess, GroupDischargesStayUnsetExceptThoseGiven) {
  read("F 237 2 5.5\nF 237 5 0.25\n");
  for (int g = 0; g < 20; ++g) {
    double expected = g == 2 ? 5.5 : g == 5 ? 0.25 : -1.0;
    EXPECT_DOUBLE_EQ(discharges[g], expected) << "group " << g;
  }
}

TEST_F(FDataSetsInProcess, GroupUpdatesAndBoundaryRows) {
  read("F 263 4 7\nF 317 5 12\nF 318 98 3\n");
  for (int g = 0; g < 20; ++g) EXPECT_EQ(updates[g], g == 4 ? 7 : -1) << "group " << g;
  EXPECT_EQ(jPresUp[5], 12);
  EXPECT_EQ(jPresUp[98], 0);
  EXPECT_EQ(jPresDown[98], 3);
  EXPECT_EQ(jPresDown[5], 0);
}

// Moduli worked out by hand for E 1e7, nu 0.25: G = 1e7/2.5, L = 2.5e6/(0.5*1.25).
TEST_F(FDataSetsInProcess, ModuliFromElasticityAndPoisson) {
  for (const char *control : {"F 247 1e7 0.25\n", "F 410 1e7 0.25 1\n"}) {
    read(control);
    EXPECT_DOUBLE_EQ(GModulus, 4e6) << control;
    EXPECT_DOUBLE_EQ(LModulus, 4e6) << control;
  }
  read("F 247 1e7 0.25\nF 410 2e7 0.0 0\n");
  EXPECT_DOUBLE_EQ(GModulus, 1e7);
  EXPECT_DOUBLE_EQ(LModulus, 0.0);
  read("");
  EXPECT_DOUBLE_EQ(EModulus, 6.5e7);
  EXPECT_DOUBLE_EQ(GModulus, 6.5e7);
  EXPECT_DOUBLE_EQ(LModulus, 0.0);
}

TEST_F(FDataSetsInProcess, PrintSelectionStopsAtFirstUnusableValue) {
  read("F 329 5 7 250 9\n");
  EXPECT_EQ(PrintArrayFlags[0], 5);
  EXPECT_EQ(PrintArrayFlags[1], 7);
  EXPECT_EQ(PrintArrayFlags[2], 0);  // neither 250 nor the 9 after it
  EXPECT_EQ(PrintArrayFlags[3], 0);
  EXPECT_EQ(log(), "Have read 2 integers from the F 329 data set\n");
}

TEST_F(FDataSetsInProcess, PrintSelectionReadsTwentyAtMost) {
  std::string control = "F 329";
  for (int v = 1; v <= 25; ++v) {
    control += ' ';
    control += std::to_string(v);
  }
  read(control + "\n");
  for (int j = 0; j < 20; ++j) EXPECT_EQ(PrintArrayFlags[j], j + 1) << j;
  EXPECT_EQ(PrintArrayFlags[20], 0);
  EXPECT_EQ(log(), "Have read 20 integers from the F 329 data set\n");
}

TEST_F(FDataSetsInProcess, PrintSelectionStopsAtOverflow) {
  read("F 329 3 99999999999 4\n");
  EXPECT_EQ(PrintArrayFlags[0], 3);
  EXPECT_EQ(PrintArrayFlags[1], 1);  // its default
  EXPECT_EQ(log(), "Have read 1 integers from the F 329 data set\n");
}

TEST_F(FDataSetsInProcess, PartitionDischargeAtGroupPlusTwentyBlocks) {
  read("F 308 1\nF 337 2 4 12.5\nF 337 0 9 3.0\nF 337 99 1 7.0\n");
  EXPECT_DOUBLE_EQ(dischargesMPI[44], 12.5);
  EXPECT_DOUBLE_EQ(dischargesMPI[9], 3.0);
  EXPECT_DOUBLE_EQ(dischargesMPI[1981], 7.0);
  EXPECT_DOUBLE_EQ(dischargesMPI[45], 0.0);
}

TEST_F(FDataSetsInProcess, CohesionTable) {
  read("F 330 2 0.5 100 1.0 2e5\n");
  EXPECT_EQ(NoCohesiveDepth, 2);
  EXPECT_DOUBLE_EQ(cohesiveDepth[0], 0.5);
  EXPECT_DOUBLE_EQ(cohesiveArr[0], 100.0);
  EXPECT_DOUBLE_EQ(cohesiveDepth[1], 1.0);
  EXPECT_DOUBLE_EQ(cohesiveArr[1], 2e5);
}

struct EffectCase {
  const char *control;
  double (*value)();
  double expected;
};

TEST_F(FDataSetsInProcess, EffectsOfAcceptedValues) {
  const EffectCase cases[] = {
      {"F 541 2.5\n", [] { return dischargeSolverLimit; }, 2500.0},
      {"", [] { return dischargeSolverLimit; }, 1e20},
      {"F 476 2\n", [] { return KarimCoeff; }, 0.085},
      {"F 476 2\nF 476 3\n", [] { return KarimCoeff; }, 0.47},
      {"F 452 0.5 0.5 9\n", [] { return double(surfaceDownstreamDamp); }, 5},
      {"F 353 2\nF 452 0.5 0.5 9\n", [] { return double(surfaceDownstreamDamp); }, 5},
      {"F 353 7\nF 452 0.5 0.5 9\n", [] { return double(surfaceDownstreamDamp); }, 7},
      {"F 452 0.5 0.5 9\nF 353 2\n", [] { return double(surfaceDownstreamDamp); }, 2},
      {"F 245 0 0 1\n", [] { return double(FlagGridStab6); }, 1},
      {"F 245 0 0 2\n", [] { return double(FlagGridStab6); }, 0},
      {"F 245 0 0 1\nF 383 0\n", [] { return double(FlagGridStab6); }, 0},
      {"F 235 5\nF 245 10 0 0\n", [] { return double(FlagCorrTrekant); }, 10},
      {"F 350 2 1 0 0\n", [] { return double(FlagComputeTimestep); }, 1},
      {"F 356 4\n", [] { return double(PointIntervalO); }, 4},
      {"", [] { return double(PointIntervalO); }, 1},
      {"F 374 3\n", [] { return double(Iter2DMGori); }, 3},
      {"F 375 2.5\n", [] { return double(FlagMinBedLev); }, 375},
      {"F 375 2.5\n", [] { return MaxDepthScour; }, 2.5},
      {"F 285 1 0\nF 376 1 2\n", [] { return double(FlagBedConcentration); }, 3},
      {"F 363 2 3\n", [] { return double(FlagGeoScale); }, 1},
      {"F 364 2 3\n", [] { return double(FlagGeoMaxMin); }, 1},
      {"F 368 2 0.1 0.1 0.2 0.3 4\n", [] { return double(FlagBraidedIndex); }, 1},
      {"F 381 1 2\n", [] { return double(FlagFlushWaterLevel); }, 1},
      {"F 269 0 0\n", [] { return double(FlagOpenMP[10] + FlagOpenMP[11]); }, 0},
      {"", [] { return double(FlagOpenMP[10] + FlagOpenMP[11] + FlagOpenMP[9] + FlagOpenMP[12]); }, 2},
      {"F 270 204 10 30\n", [] { return double(IterAvalanche); }, 204},
      {"F 270 204 10 30\n", [] { return AngleAvalanche; }, 30},
      {"F 202 1 0.05\n", [] { return XksInflow; }, 0.05},
      {"F 550 1\n", [] { return double(FlagFlowDirCor); }, 1},
      {"F 507 1 2 3 4 5 6 7 8 9 10\n", [] { return ShearGridCoeff[10]; }, 10},
      {"F 507 1 2 3 4 5 6 7 8 9 10\n", [] { return ShearGridCoeff[0]; }, 1.0},
      {"", [] { return double(FlagErodeUnder); }, 1},
      {"", [] { return double(FlagWriteUnstruc); }, 3},
      {"", [] { return OpenFOAMinLevel; }, 1e20},
  };
  for (const EffectCase &c : cases) {
    read(c.control);
    EXPECT_DOUBLE_EQ(c.value(), c.expected) << "control: " << c.control;
  }
}

// Values after the first are read only for the value that asks for them.
TEST_F(FDataSetsInProcess, OptionalValues) {
  read("F 218 5 7\nF 218 6\n");
  EXPECT_EQ(StopIter, 6);
  EXPECT_EQ(PrintDebugBoogie, 0);
  read("F 218 5 7\n");
  EXPECT_EQ(PrintDebugBoogie, 7);

  read("F 273 1 0.5\n");
  EXPECT_DOUBLE_EQ(coeffEps, 1.0);
  read("F 273 2 0.5\n");
  EXPECT_DOUBLE_EQ(coeffEps, 0.5);

  read("F 287 5 0.1 0.2\n");
  EXPECT_DOUBLE_EQ(GlobFluxLim1, 0.5);
  EXPECT_DOUBLE_EQ(GlobFluxLim2, 2.0);
  read("F 287 6 0.1 0.2\n");
  EXPECT_DOUBLE_EQ(GlobFluxLim1, 0.1);
  EXPECT_DOUBLE_EQ(GlobFluxLim2, 0.2);

  read("F 416 2 7.5\n");
  EXPECT_DOUBLE_EQ(IntervalPresDownstream, 100.0);
  read("F 416 3 7.5\n");
  EXPECT_DOUBLE_EQ(IntervalPresDownstream, 7.5);

  read("F 200 1 0.1 0.2 0.3 0.4\n");
  EXPECT_DOUBLE_EQ(NormVel, 0.001);
  EXPECT_DOUBLE_EQ(NormPres, 0.001);
  read("F 200 2 0.1 0.2 0.3 0.4\n");
  EXPECT_DOUBLE_EQ(NormVel, 0.3);
  EXPECT_DOUBLE_EQ(NormPres, 0.4);

  read("F 371 5 0 0 2.5\n");
  EXPECT_DOUBLE_EQ(FroudeSplit, 1.0);
  read("F 371 11 1 1 2.5\n");
  EXPECT_DOUBLE_EQ(FroudeSplit, 2.5);
}

// F 411 to F 418 do not test their count: a value not read stays, the count
// still goes to the shared number, and only the range applies.
TEST_F(FDataSetsInProcess, UncountedValuesKeepThePreviousOne) {
  read("F 413 2\nF 413 x\n");
  EXPECT_EQ(FlagCorrectContinuity, 2);
  EXPECT_EQ(DataSetNumber, 0);
  read("F 412 0\nF 412 x\n");
  EXPECT_EQ(FlagErodeUnder, 0);
  read("F 418 0.5\n");
  EXPECT_DOUBLE_EQ(global_fac, 0.5);
  EXPECT_EQ(DataSetNumber, 1);
  read("F 201 2 3 4\n");
  EXPECT_EQ(DataSetNumber, 3);
  read("F 203 1\n");
  EXPECT_EQ(DataSetNumber, 1);
  read("F 329 1 2 3 x\n");
  EXPECT_EQ(DataSetNumber, 0);  // the count of the last read, the one that failed
}

TEST_F(FDataSetsInProcess, CorrTrekantWarnsOutsideItsThreadSafeValues) {
  struct {
    const char *control;
    bool warns;
  } cases[] = {{"F 235 1\n", false}, {"F 235 5\n", false}, {"F 235 10\n", false}, {"F 235 21\n", false},
               {"F 235 0\n", true},  {"F 235 2\n", true},  {"F 235 22\n", true},  {"F 235 -1\n", true}};
  std::string before;
  for (const auto &c : cases) {
    read(c.control);
    std::string added = log().substr(before.size());
    before = log();
    EXPECT_EQ(added.find("Warning: The F 235"), c.warns ? 0 : std::string::npos) << c.control;
  }
  EXPECT_NE(before.find("Warning: The F 235 -1 data set will only work when\n"), std::string::npos);
}

// ---- The data sets that look at others, both ways round -------------------------------------

enum Outcome { Refused, Absent, Present };

struct OrderCase {
  const char *name;
  void (*setup)();        // settings of data sets outside this range, as if read before
  std::string control;
  Outcome outcome;        // refused with the message, or read without it, or with it as a warning
  std::string message;
};

class FDataSetOrder : public FDataSetsInProcess, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(FDataSetOrder, SeesTheOtherSettingAsItStandsThen) {
  const OrderCase &c = GetParam();
  std::fflush(heldLog());
  if (c.outcome == Refused) {
    EXPECT_EXIT(read(c.control, c.setup), ::testing::ExitedWithCode(kExitInputError & 255), "");
    EXPECT_TRUE(endsWith(log(), c.message)) << "expected the log to end with:\n" << c.message << "\ngot:\n" << log();
    return;
  }
  read(c.control, c.setup);
  if (c.outcome == Absent) {
    EXPECT_EQ(log().find(c.message), std::string::npos) << log();
  } else {
    EXPECT_NE(log().find(c.message), std::string::npos) << log();
  }
}

const char kF292[] =
    "Warning for F 292 and F 168 and F 102 in control file\n"
    "Combining these three data sets can lead to instabilities\n"
    "If you still want to do this, use an integer 5 instead of 1 on the F 292 data set\n\n";
const char kF343[] = "Error for F 343 in control\nThis data set must only be used with the F 168 data set\n\n";
const char kF412[] =
    "Error for combination of F 412 and F 56 in control file.\nThe slide will affect more than one layer.\n";
const char kF451ErodeUnder[] =
    "Error for combination of F 451 and F 412 in control file.\nThe smoothing will affect more than one layer.\n";
const char kF451TSC[] =
    "The F 451 data set is only used in combination with the F 37 3 data set\nAn alternative is the F 144 data set\n\n";
const char kF453[] = "Error for F 453 in control: The option can only be used with F 37 3\n";
const char kF260[] = "The F 260 data set will only work";
const char kF261[] = "Warning: The combination of F 206 and F 261";

INSTANTIATE_TEST_SUITE_P(
    Orders, FDataSetOrder,
    ::testing::Values(
        OrderCase{"F260BeforeF37", nullptr, "F 260 1\nF 37 2\n", Present, kF260},
        OrderCase{"F260AfterF37", nullptr, "F 37 2\nF 260 1\n", Absent, kF260},
        OrderCase{"F261AfterF206", nullptr, "F 206 1\nF 261 16 0.5\n", Present, kF261},
        OrderCase{"F261BeforeF206", nullptr, "F 261 16 0.5\nF 206 1\n", Absent, kF261},
        OrderCase{"F292AfterF168AndF102", [] { Flag2DAccSolver = 1; FlagMinLevUnstruc = 2; }, "F 292 1 0.1\n", Refused,
                  kF292},
        OrderCase{"F292FiveAfterF168AndF102", [] { Flag2DAccSolver = 1; FlagMinLevUnstruc = 1; }, "F 292 5 0.1\n",
                  Absent, "F 292"},
        OrderCase{"F292AfterF168Only", [] { Flag2DAccSolver = 1; }, "F 292 1 0.1\n", Absent, "F 292"},
        OrderCase{"F292BeforeThem", nullptr, "F 292 1 0.1\n", Absent, "F 292"},
        OrderCase{"F292AfterF168AndF102InFile", nullptr, "F 168 1\nF 102 1\nF 292 1 0.1\n", Refused, kF292},
        OrderCase{"F292BeforeF168AndF102InFile", nullptr, "F 292 1 0.1\nF 168 1\nF 102 1\n", Absent, "F 292"},
        OrderCase{"F305AfterF15InFile", nullptr, "F 15 2\nF 305 1\n", Refused, "Error for F 305 in control\n"},
        OrderCase{"F305BeforeF15InFile", nullptr, "F 305 1\nF 15 2\n", Absent, "F 305"},
        OrderCase{"F343AfterF168InFile", nullptr, "F 168 1\nF 343 3\n", Absent, "F 343"},
        OrderCase{"F343BeforeF168InFile", nullptr, "F 343 3\nF 168 1\n", Refused, kF343},
        OrderCase{"F428AfterF36SevenInFile", nullptr, "F 36 7\nF 428 0.5\n", Absent, "F 428"},
        OrderCase{"F428BeforeF36SevenInFile", nullptr, "F 428 0.5\nF 36 7\n", Refused, "Error for F 428 in control\n"},
        OrderCase{"F305AfterF15", [] { FlagWallAll = 2; }, "F 305 1\n", Refused, "Error for F 305 in control\n"},
        OrderCase{"F305ZeroAfterF15", [] { FlagWallAll = 2; }, "F 305 0\n", Absent, "F 305"},
        OrderCase{"F305BeforeF15", nullptr, "F 305 1\n", Absent, "F 305"},
        OrderCase{"F337AfterF308", nullptr, "F 308 1\nF 337 2 4 12.5\n", Absent, "F 337"},
        OrderCase{"F343BeforeF168", nullptr, "F 343 3\n", Refused, kF343},
        OrderCase{"F343AfterF168", [] { Flag2DAccSolver = 1; }, "F 343 3\n", Absent, "F 343"},
        OrderCase{"F343TwoWithoutF168", nullptr, "F 343 2\n", Absent, "F 343"},
        OrderCase{"F412AfterSlide204", nullptr, "F 270 204 1 1\nF 412 0\n", Refused, kF412},
        OrderCase{"F412AfterF56Slide204", [] { IterAvalanche = 204; }, "F 412 0\n", Refused, kF412},
        OrderCase{"F412AfterF56Slide203", [] { IterAvalanche = 203; }, "F 412 0\n", Absent, "F 412"},
        OrderCase{"F412BeforeSlide204", nullptr, "F 412 0\nF 270 204 1 1\n", Absent, "F 412"},
        OrderCase{"F412OneAfterSlide204", nullptr, "F 270 204 1 1\nF 412 1\n", Absent, "F 412"},
        OrderCase{"F428AfterF36Seven", [] { FlagTFS = 7; }, "F 428 0.5\n", Absent, "F 428"},
        OrderCase{"F428WithoutF36Seven", [] { FlagTFS = 6; }, "F 428 0.5\n", Refused, "Error for F 428 in control\n"},
        OrderCase{"F451AfterF412Zero", nullptr, "F 37 3\nF 412 0\nF 451 1 0.5\n", Refused, kF451ErodeUnder},
        OrderCase{"F451ErodeUnderBeforeF37", nullptr, "F 412 0\nF 451 1 0.5\nF 37 3\n", Refused, kF451ErodeUnder},
        OrderCase{"F451BeforeF412Zero", nullptr, "F 37 3\nF 451 1 0.5\nF 412 0\n", Absent, "F 451"},
        OrderCase{"F451BeforeF37", nullptr, "F 451 1 0.5\nF 37 3\n", Refused, kF451TSC},
        OrderCase{"F451AfterF37", nullptr, "F 37 3\nF 451 1 0.5\n", Absent, "F 451"},
        OrderCase{"F453BeforeF37", nullptr, "F 453 1\nF 37 3\n", Refused, kF453},
        OrderCase{"F453AfterF37", nullptr, "F 37 3\nF 453 1\n", Absent, "F 453"},
        OrderCase{"F453ZeroWithoutF37", nullptr, "F 453 0\n", Absent, "F 453"}),
    [](const ::testing::TestParamInfo<OrderCase> &info) { return std::string(info.param.name); });

TEST_F(FDataSetsInProcess, PartitionDischargeBeforeF308EndsWithMinusOne) {
  std::fflush(heldLog());
  EXPECT_EXIT(read("F 337 2 4 12.5\nF 308 1\n"), ::testing::ExitedWithCode(255), "");
  EXPECT_EQ(log(), "Error in control file. The F 337 data set can only be used\n"
                   "when preceded by an F 308 (MPI) data set\n\n");
}

// ---- F 206 and the runtime ------------------------------------------------------------------

struct RuntimeCase {
  const char *control;
  int stored;  // NoProcessesSolver
  int region;  // threads of the next region
};

// The runtime offers 3 threads (as OMP_NUM_THREADS=3 would); F 206 caps at
// them, fixes the count of every later region and switches dynamic
// adjustment off; 0 and negative values leave the runtime's count alone.
TEST_F(FDataSetsInProcess, ThreadCountFixesTheRuntime) {
  const RuntimeCase cases[] = {
      {"F 206 8\n", 3, 3}, {"F 206 3\n", 3, 3}, {"F 206 2\n", 2, 2}, {"F 206 0\n", 0, 3}, {"F 206 -3\n", 0, 3}};
  for (const RuntimeCase &c : cases) {
    omp_set_num_threads(3);
    omp_set_dynamic(1);
    read(c.control);
    EXPECT_EQ(NoProcessesSolver, c.stored) << c.control;
    EXPECT_EQ(omp_get_dynamic(), 0) << c.control;
    EXPECT_EQ(maxThreadsOffered(), c.region) << c.control;
    int inRegion = 0;
#pragma omp parallel
    {
#pragma omp single
      inRegion = omp_get_num_threads();
    }
    EXPECT_EQ(inRegion, c.region) << c.control;
  }
  EXPECT_NE(log().find("Max. number of threads: 3, value F 206: -3\n"), std::string::npos);
}

TEST_F(FDataSetsInProcess, ThreadCountDealsOneChunkPerThread) {
  omp_set_num_threads(4);
  read("F 206 2\n");
  int threadsSeen[2] = {0, 0};
  forEachChunk(1, 10, [&](int first, int) { threadsSeen[first == 1 ? 0 : 1] = threadsInRegion(); });
  EXPECT_EQ(threadsSeen[0], 2);
  EXPECT_EQ(threadsSeen[1], 2);
}

}  // namespace
