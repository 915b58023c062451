// The file "bedangle" on the channel (G 1 13 7: records for columns
// 1..12 x 1..6, at most 5 x 13 x 7 = 455 records read or skipped).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model/bed_cells.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "sediment/transport/bed_angle_file.h"
#include "sediment/transport/sediment_channel.h"
#include "support/run_case.h"

namespace {

using BedAngleFile = SedimentChannel;

constexpr double kDegree = 3.1415 / 180.0;

int bedOf(int i, int j) { return pointbed[i][j]; }

TEST_F(BedAngleFile, MissingFileChangesNothing) {
  load("F 274 1\n");
  readBedangle();
  EXPECT_STREQ(mc_message, "have not used 'bedangle' file ");
  EXPECT_EQ(BrooksUp[bedOf(3, 3)], 0.0);
  EXPECT_EQ(FlagBedAngles, 1);
}

// Every column gets the F 109 and F 56 values, then the records; a column
// given twice takes the later record, and both count.
TEST_F(BedAngleFile, RecordsOverTheDefaults) {
  load("F 274 1\n");
  writeFile("bedangle", "3 3 45 45 0.5 30\n4 2 20 40 0.25 35\n3 3 45 60 0.75 30\n");
  readBedangle();
  const int b = bedOf(3, 3), other = bedOf(5, 5), second = bedOf(4, 2);
  EXPECT_NEAR(BrooksUp[b], 1.0000463, 1e-7);
  EXPECT_NEAR(BrooksDown[b], 1.0 / std::tan(60.0 * kDegree), 1e-12);
  EXPECT_EQ(BrooksLimit[b], 0.75);
  EXPECT_NEAR(Bavalanche[b], std::tan(30.0 * kDegree), 1e-12);
  EXPECT_NEAR(BrooksUp[second], 1.0 / std::tan(20.0 * kDegree), 1e-12);
  EXPECT_EQ(BrooksUp[other], 1.23);
  EXPECT_EQ(BrooksDown[other], 0.78);
  EXPECT_EQ(BrooksLimit[other], 0.2);
  EXPECT_EQ(Bavalanche[other], AngleAvalanche);
  EXPECT_EQ(FlagBedAngles, 2);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Have read 3 bed angle data sets bedangle file\n"));
}

// Records outside the grid or with values that are not finite are skipped;
// a malformed record ends the reading, the records before it stay.
TEST_F(BedAngleFile, SkippedAndMalformedRecords) {
  load("F 274 1\n");
  writeFile("bedangle",
            "0 3 45 45 0.5 30\n13 3 45 45 0.5 30\n3 7 45 45 0.5 30\n3 3 nan 45 0.5 30\n3 3 45 1e999 0.5 30\n"
            "4 4 45 45 0.5 30\n5 5 45 x 0.5 30\n6 5 45 45 0.5 30\n");
  readBedangle();
  EXPECT_EQ(BrooksUp[bedOf(3, 3)], 1.23);
  EXPECT_NEAR(BrooksUp[bedOf(4, 4)], 1.0000463, 1e-7);
  EXPECT_EQ(BrooksUp[bedOf(6, 5)], 1.23);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Have read 1 bed angle data sets bedangle file\n"));
}

// The 456th record is not read.
TEST_F(BedAngleFile, RecordLimit) {
  load("F 274 1\n");
  const std::string skipped = repeated("0 0 45 45 0.5 30\n", 454);
  writeFile("bedangle", skipped + "3 3 45 45 0.5 30\n4 4 45 45 0.5 30\n");
  readBedangle();
  EXPECT_NEAR(BrooksUp[bedOf(3, 3)], 1.0000463, 1e-7);
  EXPECT_EQ(BrooksUp[bedOf(4, 4)], 1.23);
  EXPECT_TRUE(endsWith(readFile("boogie"), "Have read 1 bed angle data sets bedangle file\n"));
}

// The grid file's reader reads "bedangle" with F 274 (letter U after a run
// that wrote "unstruc" with the letter H).
TEST(BedAngleFileRun, ReadWithTheGridFile) {
  CaseSetup first;
  first.files["control"] = "F 2 YH\nG 1 13 7 11 1\n";
  first.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult grid = runCase(first);
  ASSERT_EQ(grid.status, 1) << grid.file("boogie");
  CaseSetup second;
  second.files["control"] = "F 2 U\nG 1 13 7 11 1\nF 274 1\n";
  second.files["unstruc"] = grid.file("unstruc");
  second.files["bedangle"] = "3 3 45 45 0.5 30\n";
  const CaseResult r = runCase(second);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Have read 1 bed angle data sets bedangle file\n")) << r.file("boogie");
}

}  // namespace
