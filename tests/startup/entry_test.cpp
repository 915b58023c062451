// The engine run end to end in a temporary folder: start-up, the grammar of
// "control" and the run letters, judged by status and log.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "support/run_case.h"

namespace {


TEST(Entry, EmptyFolderCreatesControlAndEndsNormally) {
  CaseResult r = runCase({});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.file("control"), "no values given\n");
  EXPECT_EQ(r.file("boogie").substr(0, kLogHeader.size()), kLogHeader);
  EXPECT_EQ(r.stdoutText, "");
  EXPECT_EQ(r.stderrText, "");
}

TEST(Entry, ControlThatCannotBeOpenedOrCreated) {
  CaseSetup setup;
  setup.links["control"] = "missing-folder/control";
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 252);
  EXPECT_EQ(r.file("boogie"), "Error, cannot open file 'control'\n");
}

// When the log itself cannot be opened, nothing else can tell: one line on
// standard error names the folder and the reason, the only console output.
TEST(Entry, LogThatCannotBeCreated) {
  const std::string prefix = "telva: cannot write the log 'boogie' in " +
                             (std::filesystem::temp_directory_path() / "telva-case-").string();
  struct Row {
    const char *name;
    CaseSetup setup;
    const char *reason;
  };
  Row rows[] = {{"a folder in the way", {}, ": Is a directory\n"},
                {"a link into a missing folder", {}, ": No such file or directory\n"}};
  rows[0].setup.directories.push_back("boogie");
  rows[1].setup.links["boogie"] = "missing-folder/boogie";
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    const CaseResult r = runCase(row.setup);
    EXPECT_EQ(r.status, 253);
    EXPECT_EQ(r.stdoutText, "");
    EXPECT_EQ(r.stderrText.rfind(prefix, 0), 0u) << r.stderrText;
    EXPECT_TRUE(endsWith(r.stderrText, row.reason)) << r.stderrText;
    EXPECT_EQ(std::count(r.stderrText.begin(), r.stderrText.end(), '\n'), 1) << r.stderrText;
  }
}

struct StatusCase {
  const char *name;
  std::string control;
  int status;
  friend void PrintTo(const StatusCase &c, std::ostream *os) { *os << c.name; }
};

class RunLetterStatus : public ::testing::TestWithParam<StatusCase> {};

TEST_P(RunLetterStatus, EndsWithStatus) {
  CaseResult r = runControl(GetParam().control);
  EXPECT_EQ(r.status, GetParam().status) << "control: " << GetParam().control.substr(0, 80);
  expectConsole(r);
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, RunLetterStatus,
    ::testing::Values(
        StatusCase{"LetterX", "F 2 X\n", 0}, StatusCase{"NoBlank", "F2X\n", 0},
        StatusCase{"XTenth", "F 2 TTTTTTTTX\n", 0}, StatusCase{"XEleventh", "F 2 TTTTTTTTTX\n", 1},
        StatusCase{"LowerCaseSkipped", "F 2 xX\n", 0}, StatusCase{"NoUpperCase", "F 2 x9\n", 1},
        StatusCase{"Blanks29999", repeated(" ", 29999) + "F 2 X\n", 0},
        StatusCase{"Blanks30000", repeated(" ", 30000) + "F 2 X\n", 1},
        StatusCase{"ByteFFEndsPass", "\xff" "F 2 X\n", 1},
        StatusCase{"FlowReadsDataSetTwoAgain", "F 2 T\nFlow X\n", 0},
        StatusCase{"IgnoredNumbers", "F 600 1\nF -3\n", 1}, StatusCase{"LaterF2Wins", "F 2 X\nF 2 T\n", 1},
        StatusCase{"TitleTakesF", "T " + repeated("a", 67) + "F 2 X\n", 1},
        StatusCase{"TitleLeavesF", "T " + repeated("a", 68) + "F 2 X\n", 0},
        StatusCase{"OverflowingNumberIgnored", "F 2147483648 X\n", 1},
        StatusCase{"XAfterPasses", "F 20 2\nF 2 TX\n", 0},
        // The largest pass counts end: the counter is wider than F 20.
        StatusCase{"LargestPassCountWithoutLetters", "F 20 2147483647\n", 1},
        StatusCase{"LargestPassCountThenX", "F 20 2147483647\nF 2 TX\n", 0}),
    [](const auto &info) { return std::string(info.param.name); });

// A grid of no cells once ran to "Solution converged" and wrote result
// files of 0 points: it now ends before the flow driver, naming the file.
TEST(Entry, GridWithoutCellsStopsBeforeTheFlow) {
  struct Row {
    const char *name, *control, *koosurf, *tail;
  };
  const Row rows[] = {
      {"one row of grid lines", "F 2 YW\nG 1 8 8 5 1\n", "1 1 0 0 0 1\n2 1 1 0 0 1\n3 1 2 0 0 1\n",
       "Error: the grid from the koosurf file has no cells\n"},
      {"water below the bed", "F 2 YW\nG 1 8 8 5 1\n", "1 1 0 0 2 1\n2 1 1 0 2 1\n1 2 0 1 2 1\n2 2 1 1 2 1\n",
       "Error: the grid from the koosurf file has no cells\n"},
      {"no grid letter", "F 2 W\n", nullptr,
       "Error: letter W needs a grid: read the koosurf file (letter Y) or the unstruc file (letter U) first\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    CaseSetup setup;
    setup.files["control"] = row.control;
    if (row.koosurf) setup.files["koosurf"] = row.koosurf;
    const CaseResult r = runCase(setup);
    EXPECT_EQ(r.status, 252);
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << r.file("boogie");
    EXPECT_EQ(r.file("boogie").find("Solution converged"), std::string::npos);
    EXPECT_EQ(r.files.count("result.end"), 0u);
  }
}

// "F 2 Yw" once computed no flow without a word: every character of the
// first ten that names no run letter is reported once, however often it
// stands there and however many passes F 20 asks for; the run goes on.
TEST(Entry, SkippedRunLettersWarnOnce) {
  const CaseResult r = runControl("F 20 2\nF 2 wTw9.T   x\n");
  EXPECT_EQ(r.status, 1);
  const std::string log = r.file("boogie");
  expectInOrder(log, {"Warning: F 2 letter 'w' is not a run letter and is skipped\n"
                      "Warning: F 2 letter '9' is not a run letter and is skipped\n"
                      "Warning: F 2 letter '.' is not a run letter and is skipped\n"});
  EXPECT_EQ(log.find("letter 'w'"), log.rfind("letter 'w'"));
  EXPECT_EQ(log.find("letter 'x'"), std::string::npos);  // the eleventh character is not read
  EXPECT_EQ(runControl("F 2 TX\n").file("boogie").find("Warning: F 2"), std::string::npos);
}

TEST(Entry, OptionLettersRefuseADataSetLetter) {
  CaseResult r = runControl("F 7 NB F 8 0.5\n");
  EXPECT_EQ(r.status, 255);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error for F 7 data set in control file\nUse 10 spaces after the letters on the F 7 data set\n"))
      << r.file("boogie");
}

}  // namespace
