// Blocks added from a further "koosurf" file and from "koosurf.nes": the
// place after the last block in j, the placing record (move, scale, turn),
// the cut-out written to "control.nes" and OutBlock, and the errors.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

using KoosurfBlocks = GridFixture;

// Grid lines i = 1..3, j = 1..2 at x = i, y = j, bed 0, water 1.
const std::string kSmallGrid = "1 1 1.0 1.0 0.0 1.0\n2 1 2.0 1.0 0.0 1.0\n3 1 3.0 1.0 0.0 1.0\n"
                               "1 2 1.0 2.0 0.0 1.0\n2 2 2.0 2.0 0.0 1.0\n3 2 3.0 2.0 0.0 1.0\n";

// The channel is block 1 (j2 = 5); the second file follows it in j: its
// lines j = 1, 2 become 6, 7 and its one row of columns is j = 7.
TEST_F(KoosurfBlocks, SecondFileFollowsTheLastBlock) {
  allocate(13, 12, 11);
  writeFile("koosurf", caseFile("channel", "koosurf"));
  readKoosurf();
  writeFile("koosurf", kSmallGrid);
  addBlockKoosurf();
  ASSERT_EQ(NoBlocks, 2);
  const GridBlock &b = block[2];
  EXPECT_EQ((std::array<int, 4>{b.i1, b.i2, b.j1, b.j2}), (std::array<int, 4>{2, 3, 7, 7}));
  EXPECT_EQ((std::array<int, 5>{b.NestLevel, b.KoosurfFlag, b.RefSearchFlag, b.k1, b.k2}),
            (std::array<int, 5>{0, 1, 1, 1, 11}));
  EXPECT_EQ(BlockID, 2);
  EXPECT_DOUBLE_EQ(xval[3][6], 3.0);
  EXPECT_DOUBLE_EQ(yval[3][7], 2.0);
  EXPECT_DOUBLE_EQ(zval[2][7][11], 1.0);
}

// The shifted last j must stay below ynumber - 1 (7 + 2 here), as must i.
TEST_F(KoosurfBlocks, SecondFileBeyondG1) {
  allocate(13, 8, 11);
  writeFile("koosurf", caseFile("channel", "koosurf"));
  readKoosurf();
  writeFile("koosurf", kSmallGrid);
  EXPECT_EXIT(addBlockKoosurf(), ::testing::ExitedWithCode(252), "");
  EXPECT_TRUE(endsWith(boogie(), "Error, increase the G 1 values in control file and try again\n"
                                 "The two first integers on G 1 data set should be at least 5 9\n"))
      << boogie();
}

TEST_F(KoosurfBlocks, MissingFiles) {
  allocate(8, 8, 11);
  addBlockKoosurf();
  addBlockKoosurfNested();
  EXPECT_EQ(NoBlocks, 0);
  EXPECT_TRUE(endsWith(boogie(), "Error opening koosurf file\n\nError opening koosurf.nes file\n\n")) << boogie();
}

// Reference point (1,1) onto (10, 20), scale 2, turned 90 degrees: a point
// 1 m east of the reference ends 2 m south of it, one 1 m north ends 2 m east.
TEST_F(KoosurfBlocks, NestedBlockIsPlaced) {
  allocate(8, 8, 11);
  writeFile("control.nes", "earlier line\n");
  writeFile("koosurf.nes", "999998 3 4 2 5 1 1 10.0 20.0 2.0 90.0 0.5\n" + kSmallGrid);
  addBlockKoosurfNested();
  ASSERT_EQ(NoBlocks, 1);
  const GridBlock &b = block[1];
  EXPECT_EQ((std::array<int, 7>{b.i1, b.i2, b.j1, b.j2, b.NestLevel, b.KoosurfFlag, b.RefSearchFlag}),
            (std::array<int, 7>{2, 3, 2, 2, 1, 0, 0}));
  EXPECT_EQ(BlockID, 0);
  const double expected[3][2][2] = {{{10, 20}, {12, 20}}, {{10, 18}, {12, 18}}, {{10, 16}, {12, 16}}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) {
      EXPECT_NEAR(xval[i][j], expected[i - 1][j - 1][0], 1e-9) << i << "," << j;
      EXPECT_NEAR(yval[i][j], expected[i - 1][j - 1][1], 1e-9) << i << "," << j;
      EXPECT_DOUBLE_EQ(zval[i][j][11], 1.0);
    }
  }
  EXPECT_EQ(readFile("control.nes"),
            "earlier line\nAdd new data set for outblocking to control file: G 13 1 3 4 2 5 2 11\n");
  ASSERT_EQ(OutBlockNo, 1);
  const OutBlockEntry &o = OutBlock[1];
  EXPECT_EQ((std::array<int, 7>{o.kind, o.i1, o.i2, o.j1, o.j2, o.k1, o.k2}),
            (std::array<int, 7>{1, 3, 4, 2, 5, 2, 11}));
}

// 999999 sets the water level of every point; a nested block after block 1
// shifts the cut-out rows with it; i1o 0 writes the line but adds no rectangle.
TEST_F(KoosurfBlocks, NestedLevelAndShift) {
  allocate(8, 10, 11);
  writeFile("koosurf", kSmallGrid);
  readKoosurf();
  writeFile("koosurf.nes", "999999 0 0 1 2 1 1 0.0 0.0 1.0 0.0 0.5\n" + kSmallGrid);
  addBlockKoosurfNested();
  const GridBlock &b = block[2];
  EXPECT_EQ((std::array<int, 2>{b.j1, b.j2}), (std::array<int, 2>{4, 4}));
  EXPECT_DOUBLE_EQ(zval[2][4][11], 0.5);
  EXPECT_NEAR(xval[2][4], 1.0, 1e-12);
  EXPECT_NEAR(yval[2][4], 1.0, 1e-12);
  EXPECT_EQ(readFile("control.nes"), "Add new data set for outblocking to control file: G 13 1 0 0 3 4 2 11\n");
  EXPECT_EQ(OutBlockNo, 0);
}

// The joined and nested files end their points at a trailing line as
// "koosurf" does; a placing record cut short at the end is not kept.
TEST_F(KoosurfBlocks, TrailingLinesEndThePoints) {
  allocate(8, 10, 11);
  writeFile("koosurf", kSmallGrid + "end\n");
  addBlockKoosurf();
  writeFile("koosurf.nes", "999999 0 0 1 2 1 1 0.0 0.0 1.0 0.0 0.5\n" + kSmallGrid + "3 2 9.0 9.0 0.0 1.0\n" +
                               "999998 3 4 2 5 1 1 10.0\n");
  addBlockKoosurfNested();
  ASSERT_EQ(NoBlocks, 2);
  EXPECT_EQ((std::array<int, 4>{block[1].i2, block[1].j2, block[2].i2, block[2].j2}),
            (std::array<int, 4>{3, 2, 3, 4}));
  EXPECT_NEAR(xval[3][4], 8.0, 1e-12) << "the later line of a point given again, moved by the record";
  EXPECT_DOUBLE_EQ(zval[2][4][11], 0.5) << "the level of the first placing record";
  EXPECT_EQ(readFile("control.nes"), "Add new data set for outblocking to control file: G 13 1 0 0 3 4 2 11\n");
  expectInOrder(boogie(), {"Warning: koosurf line 7: 'end' ends the points; the rest of the file is ignored\n",
                           "Warning: koosurf.nes line 9: '999998 3 4 2 5 1 1 10.0' ends the points; the rest of the "
                           "file is ignored\n",
                           "Warning: koosurf.nes line 8: grid point 3 2 given again (first on line 7); the later "
                           "values are kept\n"});
}

TEST_F(KoosurfBlocks, NestedErrors) {
  struct Row {
    const char *name;
    std::string file;
    int ny, status;
    std::string tail;
  };
  const Row rows[] = {
      {"rows reversed", "999998 3 4 5 2 1 1 0.0 0.0 1.0 0.0 0.5\n" + kSmallGrid, 8, 129, ""},
      {"negative scale", "999998 3 4 2 5 1 1 0.0 0.0 -1.0 0.0 0.5\n" + kSmallGrid, 8, 129, ""},
      {"beyond G 1", kSmallGrid, 3, 251,
       "Error, increase G 1 values in control file and try again\n"
       "The two first integers on G 1 data set should be at least 5 4\n"},
      {"not a number", "1 1 nan 1.0 0.0 1.0\n", 8, 252, "Error in koosurf.nes file, line 1: 'nan' is out of range\n"},
      {"negative index", "1 -1 1.0 1.0 0.0 1.0\n", 8, 252,
       "Error in koosurf.nes file, line 1: grid index -1, the grid lines are numbered from 1\n"},
      {"mistyped record", "999998 3 4 2 5 1 1 10.0 20.O 2.0 90.0 0.5\n" + kSmallGrid, 8, 252,
       "Error in koosurf.nes file, line 1: '20.O' is not a number\n"},
      {"point missing", "999998 3 4 2 5 1 1 10.0 20.0 2.0 90.0 0.5\n" + kSmallGrid.substr(0, kSmallGrid.rfind("1 2 ")) +
       "2 2 2.0 2.0 0.0 1.0\n3 2 3.0 2.0 0.0 1.0\n", 8, 252,
       "Error in koosurf.nes file, line 6: the file ends after 5 of the 6 grid points of i 1 to 3 and j 1 to 2; "
       "point 1 2 is missing\n"},
      {"extra value missing", "999997 3 4 2 5 1 1 10.0 20.0 2.0 90.0 0.5\n" + kSmallGrid, 8, 252,
       "Error in koosurf.nes file, line 3: '2.0' is not a whole number\n"},
  };
  allocate(8, 8, 11);
  for (const Row &r : rows) {
    SCOPED_TRACE(r.name);
    writeFile("boogie", "");
    writeFile("koosurf.nes", r.file);
    ynumber = r.ny;
    EXPECT_EXIT(addBlockKoosurfNested(), ::testing::ExitedWithCode(r.status), "");
    EXPECT_TRUE(endsWith(boogie(), r.tail)) << boogie();
  }
}

}  // namespace
