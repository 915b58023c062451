// The end of the reading of "control" through the engine: the exact log of a
// plain run, each check across data sets in its order with its status and
// text, the warnings that let the reading go on, and the status text left.
#include <gtest/gtest.h>

#include <string>

#include "base/exit_codes.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

const std::string kEcho = "TurbulenceModel = 0 (F 24)\nNumber of threads: 0 (F 206)\n";

TEST(ReadEnd, TitleStandsBetweenTheTwoTotals) {
  CaseResult r = runControl("T channel test\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("boogie"), kLogHeader + kEcho +
                                  "Have allocated        20.11 Mbytes structured arrays\n"
                                  " channel test \n\n"
                                  "Have not used inflow file\n"
                                  "Have allocated        70.38 Mbytes unstructured arrays\n\n");
  expectConsole(r);
}

TEST(ReadEnd, EchoesTheGivenModelAndThreads) {
  CaseSetup setup;
  setup.files["control"] = "F 24 2\nF 206 2\n";
  setup.environment["OMP_NUM_THREADS"] = "4";
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.file("boogie").find("Max. number of threads: 4, value F 206: 2\n"
                                  "TurbulenceModel = 2 (F 24)\n"
                                  "Number of threads: 2 (F 206)\n"
                                  "Have allocated "),
            std::string::npos)
      << r.file("boogie");
}

struct EndCase {
  const char *name;
  std::string control;
  int status;
  std::string logTail;
  friend void PrintTo(const EndCase &c, std::ostream *os) { *os << c.name; }
};

class ReadCheckEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(ReadCheckEnd, StatusAndLogTail) {
  const EndCase &c = GetParam();
  CaseResult r = runControl(c.control);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, c.status) << log;
  EXPECT_TRUE(endsWith(log, c.logTail)) << log;
  // Every check ends the run before the unstructured tables are allocated.
  EXPECT_EQ(log.find("unstructured arrays"), std::string::npos) << log;
}

const std::string kNoNDataSets =
    "For sediment computations (F 37) it is necessary to specify N data sets\n"
    "in the control file, or use a 'fracres' file with an 'O' in the F 2 data set\n";

// One case per check, in the order the checks run. The conflicts of F data
// sets end with -5, a missing companion with -1, fractions with -4.
const EndCase kEnds[] = {
    {"F493FiveWithoutF488", "F 493 5\n", 251, kEcho + "Error in control file: F 493 5 is only used with F 488 > 0\n\n"},
    {"SedimentWithoutNDataSets", "F 37 1\nG 1 10 10 11 2\n", 251, kEcho + kNoNDataSets},
    {"F168WithF36", "F 168 1\nF 36 13\n", 251,
     kEcho +
         "The combination of values on the F 168 and F 36 data sets in the control file \n"
         "will not work. It is recommended to set the F 168 data set to zero when using \n"
         "your choise of F 36 data set.\n\n"},
    // F 206 stands after F 296: the checks see the final values.
    {"F296WithThreads", "F 296 1\nF 206 1\n", 251, "Error in control file: F 296 data set only works for F 206 0\n\n"},
    {"F419WithThreads", "F 419 1\nF 206 1\n", 251,
     "Error in control file: F 419 data set only works with F 206 = 0 and F 328 = 0\n\n"},
    {"F419WithF328", "F 419 1\nF 328 1\n", 251,
     kEcho + "Error in control file: F 419 data set only works with F 206 = 0 and F 328 = 0\n\n"},
    {"F104WithThreads", "F 104 1\nF 206 1\n", 251, "Error in control file: F 104 data set only works with F 206 = 0\n\n"},
    {"F316WithThreads", "F 316 1\nF 206 1\n", 251, "Error in control file: F 316 only works with F 206 = 0\n\n"},
    {"F373WithoutThreads", "F 373 1\n", 251,
     kEcho + "Error in control file: F 373 data set will only work with F 206 > 0 and F 328 = 0\n\n"},
    {"F373WithF328", "F 373 1\nF 206 1\nF 328 1\n", 251,
     "Error in control file: F 373 data set will only work with F 206 > 0 and F 328 = 0\n\n"},
    {"F202WithF174", "F 202 1 0.1\nF 174 1\n", 251,
     kEcho + "Error in control file: F 202 and (F 174 1st integer != 0) must not be used together\n\n"},
    // After the allocation: the title stands before the message.
    {"F37WithoutF64", "T t\nF 37 1\nF 64 0\n", 255,
     "structured arrays\n t \n\n"
     "Error in control file: When the F 37 data set is used, the F 64 data set must also be given\n"
     "Often F 64 11 is used in combination with F 37\n"},
    {"F37ThreeWithoutF255", "F 37 3\n", 255, "structured arrays\n\n\nError: Use F 255 5 data set with F 37 3\n"},
    // F 414 needs the layer stack of F 37 3, whichever data set comes first.
    {"F414WithoutF37", "F 414 1\n", 251,
     "structured arrays\n\n\nError: The F 414 data set is only used in combination with the F 37 3 data set\n"},
    {"F414BeforeF37Two", "F 414 2\nF 37 2\n", 251,
     "structured arrays\n\n\nError: The F 414 data set is only used in combination with the F 37 3 data set\n"},
    {"F202WithF524", "F 202 1 0.1\nF 524 1\n", 255,
     "structured arrays\n\n\nError: Both F 524 and F 202 are used in the control file. Only one can be used\n\n"},
    {"FractionsSumToZero", "G 1 5 5 2 0\n", 252,
     "structured arrays\n\n\nError, N - data sets : Sum of fractions = 0.000000e+00\nNumber of N data sets read: 0\n\n"},
    {"BlockNumberTooLarge", "B 20 2 3 2 3\n", kExitInputError & 255, "structured arrays\n\n\nInput error for B in control"},
    // The first failing check ends the run; the later ones are not reached.
    {"FirstFailingCheckEnds", "F 37 3\nF 493 5\nF 296 1\nF 206 1\n", 251,
     "Number of threads: 1 (F 206)\nError in control file: F 493 5 is only used with F 488 > 0\n\n"},
};

INSTANTIATE_TEST_SUITE_P(InOrder, ReadCheckEnd, ::testing::ValuesIn(kEnds),
                         [](const ::testing::TestParamInfo<EndCase> &info) { return info.param.name; });

TEST(ReadCheckEnd, FracresStandsInForTheNDataSets) {
  CaseSetup setup;
  setup.files["control"] = "F 37 1\nG 1 10 10 11 2\n";
  setup.files["fracres"] = "";
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("boogie").find("For sediment computations"), std::string::npos) << r.file("boogie");
}

TEST(ReadCheckEnd, PartitionedRunProbesItsOwnFracres) {
  CaseSetup setup;
  setup.files["control"] = "F 308 2\nF 37 1\nG 1 10 10 11 2\n";
  setup.files["fracres"] = "";
  EXPECT_EQ(runCase(setup).status, 251);
  setup.files["fracres.mpi2"] = "";
  EXPECT_EQ(runCase(setup).status, 1);
}

struct WarningCase {
  const char *name;
  std::string control;
  std::string beforeArrays;  // logged after the echo, before the structured total
  std::string afterTitle;    // logged after the (empty) title, before "inflow"
  friend void PrintTo(const WarningCase &c, std::ostream *os) { *os << c.name; }
};

class ReadWarning : public ::testing::TestWithParam<WarningCase> {};

TEST_P(ReadWarning, LogsAndReadsOn) {
  const WarningCase &c = GetParam();
  CaseResult r = runControl(c.control);
  const std::string log = r.file("boogie");
  EXPECT_EQ(r.status, 1) << log;
  EXPECT_NE(log.find("Number of threads: 0 (F 206)\n" + c.beforeArrays + "Have allocated "), std::string::npos)
      << log;
  EXPECT_NE(log.find("structured arrays\n\n\n" + c.afterTitle + "Have not used inflow file\n"), std::string::npos)
      << log;
  EXPECT_TRUE(endsWith(log, "unstructured arrays\n\n")) << log;
}

const WarningCase kWarnings[] = {
    {"F488WithoutF493", "F 488 1\n", "Warning: F 488 has only been tested with F 493 5\n\n", ""},
    {"F36NineWithoutF323", "F 36 9\n",
     "Using F 36 9 in the control file should only be done in combination with F 323 1\n\n", ""},
    {"F255WithF144", "F 255 5\nF 144 1 0.5\n", "",
     "Warning: possible problem in control file: combination of the F 255 data with one of the F 144, F 205 or "
     "F 266 data sets\n\n"},
    {"ArtificialViscosityAndDeposition", "F 14 0.5\nF 23 0.5 0\n", "",
     "Warning: using artificial viscosity of 5.000000e-01\nUsing accellertated deposition routine\n"},
    // F 370 is checked against the grid after the default block.
    {"F370BeyondTheGrid", "G 1 10 10 11 1\nF 370 1 2 11 3 1\n", "",
     "Error in control file: index on F 370 data set larger than number of cross-sections on W 1 data set\n"},
    {"F370OnTheGrid", "G 1 10 10 11 1\nF 370 1 2 10 3 1\n", "", ""},
};

INSTANTIATE_TEST_SUITE_P(Warnings, ReadWarning, ::testing::ValuesIn(kWarnings),
                         [](const ::testing::TestParamInfo<WarningCase> &info) { return info.param.name; });

class ReadTail : public WorkFolderTest {};

TEST_F(ReadTail, LeavesTheReadStatusAndComponents) {
  writeFile("control", "G 1 10 10 11 4\nF 400 1\nF 50 2\n");
  kread();
  EXPECT_STREQ(mc_message, " Have read data file    ");
  // The bed composition needs a component per grain size and one more.
  EXPECT_EQ(NoComponents, 5);
}

}  // namespace
