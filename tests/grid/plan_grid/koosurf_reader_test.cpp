// The structured grid reader: the channel case end to end, the block record
// it appends, the arrays it fills from files of every shape, and the files it
// refuses with nothing stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

CaseSetup channelCase() {
  CaseSetup setup;
  setup.files["control"] = caseFile("channel", "control");
  setup.files["koosurf"] = caseFile("channel", "koosurf");
  return setup;
}

TEST(KoosurfRun, ChannelIsReadIntoABlock) {
  CaseResult r = runCase(channelCase());
  EXPECT_EQ(r.status, 1);
  // The grid generation follows the reader's line.
  EXPECT_NE(r.file("boogie").find("Have read koosurf file: max i: 11, max j: 5\n\nGenerating grid"), std::string::npos)
      << r.file("boogie");
  expectConsole(r);
}

TEST(KoosurfRun, IndexBeyondG1StopsWithTheSizesNeeded) {
  CaseSetup setup = channelCase();
  setup.files["koosurf"] += "12 1 11.0 0.0 0.0 1.0\n";
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 252);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error, increase the G 1 values in control file and try again\n"
                       "The two first integers on G 1 data set should be at least 14 7\n"))
      << r.file("boogie");
}

TEST(KoosurfRun, MissingFileStops) {
  CaseSetup setup = channelCase();
  setup.files.erase("koosurf");
  CaseResult r = runCase(setup);
  EXPECT_EQ(r.status, 252);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error, can not open koosurf file\n")) << r.file("boogie");
}

// The example with a broken "koosurf": the run stops at the reader with the
// line named, before a grid, a flow or a result file exists. Both once ran
// to "Solution converged": the mistyped field ended the file early, and the
// cut-short file made a 23 m channel on corner points nobody gave.
TEST(KoosurfRun, BrokenExampleStopsAtTheReader) {
  struct Row {
    const char *name;
    std::string koosurf;
    std::string tail;
  };
  const std::string example = caseFile("example", "koosurf");
  std::string cut;
  const std::vector<std::string> lines = linesOf(example);
  for (std::size_t n = 0; n < 199; ++n) cut += lines[n] + "\n";
  const Row rows[] = {
      {"mistyped", withPoint(example, "2 1 1.0 x.0 0.0000 1.0\n"),
       "Error in koosurf file, line 10: 'x.0' is not a number\n"},
      {"cut short", cut,
       "Error in koosurf file, line 199: the file ends after 199 of the 207 grid points of i 1 to 23 and j 1 to 9; "
       "point 23 2 is missing\n"},
  };
  for (const Row &row : rows) {
    SCOPED_TRACE(row.name);
    CaseSetup setup;
    setup.files["control"] = caseFile("example", "control");
    setup.files["koosurf"] = row.koosurf;
    const CaseResult r = runCase(setup);
    EXPECT_EQ(r.status, 252);
    EXPECT_TRUE(endsWith(r.file("boogie"), row.tail)) << r.file("boogie");
    EXPECT_EQ(r.file("boogie").find("Solution converged"), std::string::npos);
    EXPECT_FALSE(r.has("ParaView3U.vtk") || r.has("result.end"));
    expectConsole(r);
  }
}

using KoosurfReader = GridFixture;

TEST_F(KoosurfReader, ChannelBlockRecordAndArrays) {
  readChannel();
  ASSERT_EQ(NoBlocks, 1);
  EXPECT_EQ(BlockID, 1);
  const GridBlock &b = block[1];
  EXPECT_EQ(b.i1, 2);
  EXPECT_EQ(b.i2, 11);
  EXPECT_EQ(b.j1, 2);
  EXPECT_EQ(b.j2, 5);
  EXPECT_EQ(b.k1, 1);
  EXPECT_EQ(b.k2, 11);
  EXPECT_EQ(b.NestLevel, 0);
  EXPECT_EQ(b.BlockKind, 0);
  EXPECT_EQ(b.GridLevel, 0);
  EXPECT_EQ(b.RefSearchFlag, 1);
  EXPECT_EQ(b.InitFlag, 1);
  EXPECT_EQ(b.KoosurfFlag, 1);
  EXPECT_EQ(b.ExtraFlag, 0);
  EXPECT_EQ(b.FirstCell + b.LastCell + b.FirstFace + b.LastFace + b.FirstPoint + b.LastPoint, 0);
  EXPECT_EQ(b.BlockParam1, 0.0);
  EXPECT_EQ(b.BlockParam2, 0.0);
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) {
      EXPECT_EQ(xval[i][j], i - 1.0);
      EXPECT_EQ(yval[i][j], j - 1.0);
      EXPECT_EQ(zval[i][j][1], 0.0);
      EXPECT_EQ(zval[i][j][11], 1.0);
      EXPECT_EQ(zval[i][j][12], 1.0) << "the slot above the water level keeps the level read";
    }
  }
  // The levels between bed and surface and the bottom-cell entry are left alone.
  EXPECT_EQ(zval[5][3][0], 0.0);
  EXPECT_EQ(zval[5][3][6], 0.0);
  EXPECT_TRUE(endsWith(boogie(), "Have read koosurf file: max i: 11, max j: 5\n\n"));
}

// Each bed level read is also the bed at the start of the run (plane 0):
// the bank's 0.65 m rise is relief, not bed change.
TEST_F(KoosurfReader, BedLevelsAreTheStartBed) {
  allocate(13, 7, 11);
  writeFile("koosurf", caseFile("bank", "koosurf"));
  readKoosurf();
  const GridBlock &b = block[1];
  EXPECT_EQ(Surfaces[0][1][4], 0.65);
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) EXPECT_EQ(Surfaces[0][i][j], zval[i][j][1]) << i << " " << j;
  }
}

// Each file yields the points listed as (i, j, x, y, bed, surface), the
// maxima and nothing else.
struct ReadCase {
  const char *name;
  std::string koosurf;
  int maxI, maxJ;
  std::vector<std::array<double, 6>> points;
  friend void PrintTo(const ReadCase &c, std::ostream *os) { *os << c.name; }
};

// The arrays hold each point (i, j, x, y, bed, surface) of a grid of 4 levels.
void expectPoints(const std::vector<std::array<double, 6>> &points) {
  for (const auto &p : points) {
    const int i = static_cast<int>(p[0]), j = static_cast<int>(p[1]);
    EXPECT_EQ(xval[i][j], p[2]) << i << " " << j;
    EXPECT_EQ(yval[i][j], p[3]) << i << " " << j;
    EXPECT_EQ(zval[i][j][1], p[4]) << i << " " << j;
    EXPECT_EQ(zval[i][j][4], p[5]) << i << " " << j;
  }
}

class KoosurfFiles : public GridFixture, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(KoosurfFiles, StoresThePointsRead) {
  const ReadCase &c = GetParam();
  allocate(6, 6, 4);
  zval[5][1][1] = 7.0;  // a grid line outside the block keeps its value
  writeFile("koosurf", c.koosurf);
  readKoosurf();
  ASSERT_EQ(NoBlocks, 1);
  EXPECT_EQ(block[1].i2, c.maxI);
  EXPECT_EQ(block[1].j2, c.maxJ);
  expectPoints(c.points);
  EXPECT_EQ(zval[5][1][1], 7.0);
  char line[80];
  std::snprintf(line, sizeof line, "Have read koosurf file: max i: %d, max j: %d\n\n", c.maxI, c.maxJ);
  EXPECT_TRUE(endsWith(boogie(), line)) << boogie();
}

// Every grid point of lines 1..ni by 1..nj at x = i, y = j, bed 0, water 1,
// the point of the last line given as that line.
std::string wholeBlock(int ni, int nj, const std::string &last) {
  std::string text;
  for (int j = 1; j <= nj; ++j) {
    for (int i = 1; i <= ni; ++i) text += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(i) + " " +
                                          std::to_string(j) + " 0 1\n";
  }
  return withPoint(text, last);
}

const std::vector<std::array<double, 6>> kTwoByTwo = {
    {1, 1, 0.5, 0.25, -1, 2}, {2, 1, 1.5, 0.25, -2, 2}, {1, 2, 0.5, 1.25, -3, 2}, {2, 2, 1.5, 1.25, -4, 2.5}};

INSTANTIATE_TEST_SUITE_P(
    Shapes, KoosurfFiles,
    ::testing::Values(
        ReadCase{"InOrder", "1 1 0.5 0.25 -1 2\n2 1 1.5 0.25 -2 2\n1 2 0.5 1.25 -3 2\n2 2 1.5 1.25 -4 2.5\n", 2, 2,
                 kTwoByTwo},
        ReadCase{"Reversed", "2 2 1.5 1.25 -4 2.5\n1 2 0.5 1.25 -3 2\n2 1 1.5 0.25 -2 2\n1 1 0.5 0.25 -1 2\n", 2, 2,
                 kTwoByTwo},
        ReadCase{"SixNumbersOverTwoLines", "1 1 0.5\n 0.25 -1 2\n2 1 1.5 0.25\n-2 2 1 2 0.5 1.25 -3 2\n"
                 "2 2 1.5 1.25 -4 2.5", 2, 2, kTwoByTwo},
        ReadCase{"EmptyFileMakesABlockWithoutColumns", "", 0, 0, {}},
        ReadCase{"LargestIndexesG1Accepts", wholeBlock(4, 4, "4 4 1 2 3 4\n"), 4, 4, {{4, 4, 1, 2, 3, 4}}}));

// A letter Y given twice appends a second block over the same grid lines.
TEST_F(KoosurfReader, SecondReadAppendsASecondBlock) {
  readChannel();
  readKoosurf();
  ASSERT_EQ(NoBlocks, 2);
  EXPECT_EQ(BlockID, 2);
  EXPECT_EQ(block[2].i2, 11);
  EXPECT_EQ(block[2].j2, 5);
  EXPECT_EQ(block[2].i1, 2);
}

// Refused files end the run before a block or a point is stored: the exit
// handler reports what the tables held when the process ended.
void reportTablesAtExit() {
  std::atexit([] { std::fprintf(stderr, "blocks %d, x %g, bed %g\n", NoBlocks, xval[1][1], zval[1][1][1]); });
}

struct RefusedCase {
  const char *name;
  std::string koosurf;
  int status;
  std::string logTail;
  friend void PrintTo(const RefusedCase &c, std::ostream *os) { *os << c.name; }
};

class KoosurfRefused : public GridFixture, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(KoosurfRefused, StopsWithNothingStored) {
  const RefusedCase &c = GetParam();
  allocate(6, 6, 4);
  writeFile("koosurf", c.koosurf);
  EXPECT_EXIT(
      {
        reportTablesAtExit();
        readKoosurf();
      },
      ::testing::ExitedWithCode(c.status), "blocks 0, x 0, bed 0");
  EXPECT_TRUE(endsWith(boogie(), c.logTail)) << boogie();
}

INSTANTIATE_TEST_SUITE_P(
    Files, KoosurfRefused,
    ::testing::Values(
        RefusedCase{"IndexOneBeyondG1InI", "1 1 1 1 1 1\n5 1 1 1 1 1\n", 252,
                    "Error, increase the G 1 values in control file and try again\n"
                    "The two first integers on G 1 data set should be at least 7 3\n"},
        RefusedCase{"IndexOneBeyondG1InJ", "1 1 1 1 1 1\n1 5 1 1 1 1\n", 252,
                    "The two first integers on G 1 data set should be at least 3 7\n"},
        RefusedCase{"LargestInt", "1 1 1 1 1 1\n2147483647 1 1 1 1 1\n", 252,
                    "The two first integers on G 1 data set should be at least 2147483649 3\n"},
        // A field mistyped with points after it stops the run naming the
        // line: a grid built from the points before it, or from points never
        // given, would run to "Solution converged" on the wrong channel.
        RefusedCase{"MistypedCoordinate",
                    "1 1 0.0 0.0 0.0 1.0\n1 2 0.0 1.0 0.0 1.0\n2 1 x.0 0.0 0.0 1.0\n2 2 1.0 1.0 0.0 1.0\n", 252,
                    "Error in koosurf file, line 3: 'x.0' is not a number\n"},
        RefusedCase{"TwoPointsInOneField", "1 1 1.0.5 0.0 0.0 1.0\n1 2 0.0 1.0 0.0 1.0\n", 252,
                    "Error in koosurf file, line 1: '1.0.5' is not a number\n"},
        RefusedCase{"IndexNotWhole", "1 1 1 1 1 1\n\n\n1.5 1 1 1 1 1\n2 1 1 1 1 1\n", 252,
                    "Error in koosurf file, line 4: '1.5' is not a whole number\n"},
        // A group that does not convert with a whole point after it is a
        // typo inside the points; a tail that leaves a point of the block
        // missing is refused too, after its warning.
        RefusedCase{"EndLineBeforePoints", "1 1 0 0 0 1\n2 1 1 0 0 1\nend\n1 2 0 1 0 1\n2 2 1 1 0 1\n", 252,
                    "Error in koosurf file, line 3: 'end' is not a whole number\n"},
        RefusedCase{"PointOverLinesAfterTheTail", "1 1 0 0 0 1\n2 1 1 0 0 1\n--\n1 2\n0 1\n0 1\n", 252,
                    "Error in koosurf file, line 3: '--' is not a whole number\n"},
        RefusedCase{"TailLeavesAPointMissing", "1 1 0 0 0 1\n2 1 1 0 0 1\n1 2 0 1 0 1\n2 2 1 x 0 1\n", 252,
                    "Warning: koosurf line 4: '2 2 1 x 0 1' ends the points; the rest of the file is ignored\n"
                    "Error in koosurf file, line 3: the file ends after 3 of the 4 grid points of i 1 to 2 and j 1 to "
                    "2; point 2 2 is missing\n"},
        RefusedCase{"PointMissingInside", "1 1 1 1 1 1\n2 1 1 1 1 1\n3 1 1 1 1 1\n1 2 1 1 1 1\n3 2 1 1 1 1\n", 252,
                    "Error in koosurf file, line 5: the file ends after 5 of the 6 grid points of i 1 to 3 and j 1 to "
                    "2; point 2 2 is missing\n"},
        // Cut inside the last row of points: 12 characters to a line.
        RefusedCase{"CutShort", wholeBlock(4, 4, "4 4 1 1 1 1\n").substr(0, 12 * 13), 252,
                    "Error in koosurf file, line 13: the file ends after 13 of the 16 grid points of i 1 to 4 and j 1 "
                    "to 4; point 2 4 is missing\n"},
        RefusedCase{"IndexZero", "1 1 1 1 1 1\n0 1 1 1 1 1\n", 252,
                    "Error in koosurf file, line 2: grid index 0, the grid lines are numbered from 1\n"},
        RefusedCase{"NegativeIndex", "1 1 1 1 1 1\n2 -1 1 1 1 1\n", 252,
                    "Error in koosurf file, line 2: grid index -1, the grid lines are numbered from 1\n"},
        RefusedCase{"NotANumber", "1 1 1 1 1 1\n2 2 1 1 nan 1\n", 252,
                    "Error in koosurf file, line 2: 'nan' is out of range\n"},
        RefusedCase{"Infinite", "1 1 1 1 1 1\n2 2 1 1 1 -inf\n", 252,
                    "Error in koosurf file, line 2: '-inf' is out of range\n"},
        RefusedCase{"DoubleOverflow", "1 1 1 1 1 1\n2 2 1e999 1 1 1\n", 252,
                    "Error in koosurf file, line 2: '1e999' is out of range\n"},
        RefusedCase{"IntOverflow", "3 3 1 1 1 1\n2147483648 2 1 1 1 1\n", 252,
                    "Error in koosurf file, line 2: '2147483648' is out of range\n"}));

// The points end at a group that does not convert when no whole point
// follows it: a trailing comment or "end" line, a last point cut short. The
// rest of the file is ignored with one warning and the block is built from
// the points before it. A point given again keeps its later line, with one
// warning for each repeat. Points missing from the block stay refused.
struct TailCase {
  const char *name;
  std::string koosurf;
  std::vector<std::array<double, 6>> points;  // what the arrays hold
  std::string warnings;                        // the log after the header lines
  friend void PrintTo(const TailCase &c, std::ostream *os) { *os << c.name; }
};

class KoosurfTail : public GridFixture, public ::testing::WithParamInterface<TailCase> {};

TEST_P(KoosurfTail, BuildsTheBlockAndWarns) {
  const TailCase &c = GetParam();
  allocate(6, 6, 4);
  writeFile("koosurf", c.koosurf);
  readKoosurf();
  ASSERT_EQ(NoBlocks, 1);
  EXPECT_EQ(block[1].i2, 2);
  EXPECT_EQ(block[1].j2, 2);
  expectPoints(c.points);
  // The warnings, each once, right before the reader's own line.
  const std::string log = boogie();
  EXPECT_TRUE(endsWith(log, c.warnings + "Have read koosurf file: max i: 2, max j: 2\n\n")) << log;
  EXPECT_EQ(log.find("Warning"), log.size() - c.warnings.size() - 44) << log;
}

const std::string kSquare = "1 1 0.5 0.25 -1 2\n2 1 1.5 0.25 -2 2\n1 2 0.5 1.25 -3 2\n2 2 1.5 1.25 -4 2.5\n";

INSTANTIATE_TEST_SUITE_P(
    Files, KoosurfTail,
    ::testing::Values(
        TailCase{"EndLine", kSquare + "end of file\n", kTwoByTwo,
                 "Warning: koosurf line 5: 'end of file' ends the points; the rest of the file is ignored\n"},
        // Numbers on the line of the tail itself are no point after it.
        TailCase{"CommentWithNumbers", kSquare + "\n# written 2024 12 11 10 30 00  \r\n\n  \n", kTwoByTwo,
                 "Warning: koosurf line 6: '# written 2024 12 11 10 30 00' ends the points; the rest of the file is "
                 "ignored\n"},
        TailCase{"LastPointCutShort", kSquare + "2 2 9.0\n", kTwoByTwo,
                 "Warning: koosurf line 5: '2 2 9.0' ends the points; the rest of the file is ignored\n"},
        TailCase{"PointGivenAgain", "1 1 9 9 9 9\n2 1 1.5 0.25 -2 2\n" + kSquare.substr(kSquare.find("\n1 2") + 1) +
                                        "1 1 8 8 8 8\n1 1 0.5 0.25 -1 2\n",
                 kTwoByTwo,
                 "Warning: koosurf line 5: grid point 1 1 given again (first on line 1); the later values are kept\n"
                 "Warning: koosurf line 6: grid point 1 1 given again (first on line 1); the later values are kept\n"},
        TailCase{"GivenAgainThenEnd", kSquare + "2 2 7 7 7 7\nEND\n", {{2, 2, 7, 7, 7, 7}},
                 "Warning: koosurf line 6: 'END' ends the points; the rest of the file is ignored\n"
                 "Warning: koosurf line 5: grid point 2 2 given again (first on line 4); the later values are kept\n"}));

TEST_F(KoosurfReader, HundredthBlockIsRefused) {
  allocate(6, 6, 4);
  writeFile("koosurf", "1 1 1 1 1 1\n");
  NoBlocks = 99;
  EXPECT_EXIT(readKoosurf(), ::testing::ExitedWithCode(254), "");
  EXPECT_TRUE(endsWith(boogie(), "Error, the grid holds at most 99 blocks: use fewer Y letters on the F 2 data set "
                                 "in control file\n"))
      << boogie();
}

}  // namespace
