// Letter Y end to end: the grid report of the channel and step cases, the
// tables too small for the grid (the koosurf files and the log), and the
// log lines and stops of the generator's checks.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/run_case.h"

namespace {

// The start of every log: the reader's lines and the allocation sizes vary,
// so a run's own lines are looked for after the koosurf line.
std::string afterKoosurfLine(const std::string &boogie) {
  const std::string line = "Have read koosurf file: max i: ";
  const auto at = boogie.find(line);
  return at == std::string::npos ? std::string() : boogie.substr(at);
}

CaseSetup caseWith(const std::string &name, const std::string &extraControl) {
  CaseSetup setup;
  setup.files["control"] = caseFile(name, "control") + extraControl;
  setup.files["koosurf"] = caseFile(name, "koosurf");
  return setup;
}

TEST(GridGeneratorRun, ChannelReport) {
  CaseResult r = runCase(caseWith("channel", "F 1 Q\n"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(afterKoosurfLine(r.file("boogie")),
            "Have read koosurf file: max i: 11, max j: 5\n\n"
            "Generating grid with F 64 11 algorithm. \n"
            "End of Unstructure, Iter = 0, NoCells = 360\n"
            "Number of antlin points: 550, NoPoints: 550\n"
            "End Unstructure 360 cells\n");
  expectConsole(r);
}

// Line counts 4 and 6: columns of 3 and 5 cells; the two collapsed cells of
// the taller column share no points with the shorter one.
TEST(GridGeneratorRun, StepReport) {
  CaseResult r = runCase(caseWith("step", "F 1 Q\n"));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "End of Unstructure, Iter = 0, NoCells = 8\n"
                       "Number of antlin points: 28, NoPoints: 32\n"
                       "End Unstructure 8 cells\n"))
      << r.file("boogie");
}

// F 65 sizes: the cell numbers are tested once block 1 is numbered, faces and
// points before each cell with room for the six faces and eight points it may add.
struct OverflowCase {
  const char *name;
  const char *f65;
  int status;
  const char *counts;  // the three count lines, or "" when the grid fits
};

void PrintTo(const OverflowCase &c, std::ostream *os) { *os << c.name; }

class GridOverflow : public ::testing::TestWithParam<OverflowCase> {};

constexpr const char *kOverflowAdvice =
    "The coordinates are written to the koosurf file. This can be imported in \n"
    "the Korvalin (Add block from koosurf)\n"
    "The NoMovePoints are written to the control.new file on the W 6 data sets.\n"
    "You may copy the W 6 data sets from control.new file into your control file.\n"
    "The control.new file does not contain all data sets, so don't use it to replace \n"
    "the control file.\n\n";

TEST_P(GridOverflow, StopsWithTheCountsReached) {
  const OverflowCase &c = GetParam();
  CaseResult r = runCase(caseWith("channel", std::string("F 65 ") + c.f65 + "\n"));
  EXPECT_EQ(r.status, c.status);
  const std::string boogie = r.file("boogie");
  if (c.counts[0] == '\0') {
    EXPECT_TRUE(endsWith(boogie, "End Unstructure 360 cells\n")) << boogie;
    EXPECT_FALSE(r.has("koosurf.1"));
    return;
  }
  EXPECT_TRUE(endsWith(boogie, std::string("Generating grid with F 64 11 algorithm. \n"
                                           "Error: Unstructured arrays are too small. Increase with the F 65 "
                                           "data set.\n") +
                                   c.counts + kOverflowAdvice))
      << boogie;
  EXPECT_EQ(r.file("koosurf"), caseFile("channel", "koosurf"));
  for (const char *name : {"koosurf.1", "koosurf.2", "koosurf.cor", "koosurf.fin", "koomin.fin", "control.new"}) {
    EXPECT_TRUE(r.has(name)) << name;
  }
  // The settings go to "control.new"; "control" itself is never written.
  EXPECT_NE(r.file("control.new").find("G 1 13 7 11 1    grid and array sizes\n"), std::string::npos)
      << r.file("control.new");
  EXPECT_EQ(r.file("control"), caseWith("channel", std::string("F 65 ") + c.f65 + "\n").files.at("control"));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GridOverflow,
    ::testing::Values(
        OverflowCase{"CellsNumbered", "361 80000 50000 10000 1000", 254,
                     "NoPoints=0, MaxPoints=50000\nNoSurface=0, MaxFlater=80000\nNoCells=360, MaxCeller=361\n"},
        OverflowCase{"CellsFit", "362 80000 50000 10000 1000", 1, ""},
        OverflowCase{"FacesBeforeACell", "50000 600 50000 10000 1000", 254,
                     "NoPoints=304, MaxPoints=50000\nNoSurface=594, MaxFlater=600\nNoCells=360, MaxCeller=50000\n"}),
    [](const ::testing::TestParamInfo<OverflowCase> &info) { return std::string(info.param.name); });

int lineCount(const std::string &text) {
  int n = 0;
  for (char ch : text) n += ch == '\n';
  return n;
}

// The koosurf files of the channel's block 1 (points 1..11 by 1..5).
TEST(GridOverflowFiles, ChannelBlockWrittenBack) {
  CaseResult r = runCase(caseWith("channel", "F 65 361 80000 50000 10000 1000\n"));
  ASSERT_EQ(r.status, 254);
  const std::string one = r.file("koosurf.1"), two = r.file("koosurf.2");
  EXPECT_EQ(lineCount(one), 55);
  EXPECT_EQ(one.substr(0, 80), "1 1 0.000000 0.000000 0.000000 1.000000\n1 2 0.000000 1.000000 0.000000 1.000000\n");
  EXPECT_EQ(lineCount(two), 55);
  EXPECT_EQ(two.substr(0, 80), "1 1 0.000000 0.000000 0.000000 1.000000\n2 1 1.000000 0.000000 0.000000 1.000000\n");
  EXPECT_EQ(lineCount(r.file("koosurf.cor")), 18);
  EXPECT_EQ(lineCount(r.file("koosurf.fin")), 189);
  EXPECT_EQ(lineCount(r.file("koomin.fin")), 189);
  EXPECT_TRUE(endsWith(r.file("koosurf.cor"), "6 3 10.000000 4.000000 0.000000 1.000000\n"));
  EXPECT_TRUE(endsWith(r.file("koosurf.fin"), "21 9 10.000000 4.000000 0.000000 1.000000\n"));
}

// Log lines and stops of the checks around the generation.
struct CheckCase {
  const char *name;
  const char *extraControl;
  int status;
  const char *tail;
};

void PrintTo(const CheckCase &c, std::ostream *os) { *os << c.name; }

class GridChecks : public ::testing::TestWithParam<CheckCase> {};

TEST_P(GridChecks, LogAndStatus) {
  const CheckCase &c = GetParam();
  CaseSetup setup = caseWith("channel", c.extraControl);
  if (std::string(c.name) == "BadLevelF369") setup.files["koosurf"] = withPoint(setup.files["koosurf"], "6 3 5.0 2.0 -2000.0 1.0\n");
  if (std::string(c.name) == "OutBlockOfTheDefaultGrid") {
    // Checked against the default 300 x 300 grid, before the grid's own G 1.
    setup.files["control"] = c.extraControl;
    setup.files["koosurf"] = "";
  }
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, c.status);
  EXPECT_TRUE(endsWith(r.file("boogie"), c.tail)) << r.file("boogie");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GridChecks,
    ::testing::Values(
        CheckCase{"BadLevelF369", "F 369 1\n", 255,
                  "Generating grid with F 64 11 algorithm. \n"
                  "Bug found for z values in grid: (6,3), Iter = 0\nZ levels: -2000.000000 1.000000\nIter = 0\n"},
        CheckCase{"MpiWithoutF209", "F 308 2\n", 1,
                  "Generating grid with F 64 11 algorithm. \n"
                  "Error: the F 209 data set has to be used when generating mpi grids\n"
                  "End Unstructure 360 cells\n"},
        CheckCase{"MethodWithoutCells", "F 64 20\n", 252,
                  "Warning: No cells were generated in grid\n"
                  "If you are generating a 2D width-averaged grid, you need need to modify the F 159 data set so "
                  "that the 4th integer is 1\n"
                  "End Unstructure 0 cells\n"
                  "Error: the grid from the koosurf file has no cells\n"},
        // G 13 rectangles checked against a larger G 1 than the one that
        // sizes the grid are clipped to it: every column taken out.
        CheckCase{"OutBlockOfALargerGrid", "G 1 30 30 11 1\nG 13 0 2 29 2 29 2 11\nG 1 13 7 11 1\n", 252,
                  "Warning: No cells were generated in grid\n"
                  "If you are generating a 2D width-averaged grid, you need need to modify the F 159 data set so "
                  "that the 4th integer is 1\n"
                  "End Unstructure 0 cells\n"
                  "Error: the grid from the koosurf file has no cells\n"},
        CheckCase{"OutBlockOfTheDefaultGrid", "G 13 0 2 300 2 300 2 3\nG 1 5 5 3 1\nF 2 Y\n", 252,
                  "Warning: No cells were generated in grid\n"
                  "If you are generating a 2D width-averaged grid, you need need to modify the F 159 data set so "
                  "that the 4th integer is 1\n"
                  "End Unstructure 0 cells\n"
                  "Error: the grid from the koosurf file has no cells\n"},
        CheckCase{"SplitCrossSection", "F 1 D\nG 13 0 5 5 2 5 2 11\n", 179,
                  "Error: Grid split for cross-section no 5\n"
                  "Cross-section profile: zval[1],zval[i][znumber],zval[i-1][znumber],Bminwaterlevel\n"
                  "2 13 0 0.000000 1.000000 1.000000\n3 14 0 0.000000 1.000000 1.000000\n"
                  "4 15 0 0.000000 1.000000 1.000000\n5 16 0 0.000000 1.000000 1.000000\n"}),
    [](const ::testing::TestParamInfo<CheckCase> &info) { return std::string(info.param.name); });

TEST(GridGeneratorRun, TimingWithF1P) {
  CaseResult r = runCase(caseWith("channel", "F 1 P\n"));
  EXPECT_EQ(r.status, 1);
  const std::string boogie = r.file("boogie");
  const auto at = boogie.find("End Unstructure 360 cells\nGrid genereation time: ");
  ASSERT_NE(at, std::string::npos) << boogie;
  EXPECT_NE(boogie.find(" seconds at ", at), std::string::npos);
}

}  // namespace
