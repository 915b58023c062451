// The "bedrough" reader in process on a 5 x 4 grid: the roughness every
// column gets from F 16 or W 1, the records that overwrite it and those
// skipped, the partition file name and the missing file with F 90 1.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/table_allocator.h"
#include "startup/bedrough_reader.h"
#include "startup/control_reader.h"

namespace fs = std::filesystem;
#include "support/work_folder.h"

namespace {

// (26 / 50)^6: the Strickler relation with the default number of W 1.
constexpr double kStricklerDefault = 0.019770609664;

class Bedrough : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    xnumber = 5;
    ynumber = 4;
    znumber = 2;
    TableAllocator a;
    allocateStructuredArrays(a);
    ASSERT_FALSE(a.failed());
  }
};

TEST_F(Bedrough, StricklerRoughnessWithoutAFile) {
  readBedrough();
  EXPECT_NEAR(XksWall, kStricklerDefault, 1e-12);
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      bool filled = i >= 2 && i <= xnumber && j >= 2 && j <= ynumber;
      EXPECT_EQ(roughness[i][j], filled ? XksWall : 0.0) << i << " " << j;
    }
  }
  EXPECT_STREQ(mc_message, "have not used bedrough file ");
  EXPECT_FALSE(fs::exists("boogie"));
}

TEST_F(Bedrough, RoughnessOfF16AndItsLowerBound) {
  const double given[] = {0.05, 1e-7};
  const double used[] = {0.05, 1e-5};
  for (int n = 0; n < 2; ++n) {
    XksWall = given[n];
    readBedrough();
    EXPECT_EQ(XksWall, used[n]);
    EXPECT_EQ(roughness[3][3], used[n]);
  }
}

TEST_F(Bedrough, RecordsOverwriteColumnsInsideTheGrid) {
  struct FileCase {
    const char *name;
    std::string text;
    int stored;
  };
  const FileCase cases[] = {
      // i = xnumber, j = ynumber and i = 0 are skipped; i = 1, j = 1 stored.
      {"Ranges", "B 5 2 0.5\nB 1 1 0.3\nB 4 3 0.2\nB 2 4 0.7\nB 0 2 0.9\n", 2},
      {"NoRecords", "roughness\nB 2 2 0.5\n", 0},
      {"MalformedLineEnds", "B 2 2 0.5\nB 3 x 0.1\nB 3 3 0.4\n", 1},
      // Values that are not finite or overflow are skipped, the reading goes on.
      {"NotFinite", "B 2 2 nan\nB 99999999999 2 0.1\nB 3 3 inf\nB 3 2 0.4\n", 1},
  };
  for (const FileCase &c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove("boogie");
    writeFile("bedrough", c.text);
    readBedrough();
    EXPECT_EQ(readFile("boogie"), "Have read " + std::to_string(c.stored) + " roughness points from bedrough file\n");
  }
  // The last case leaves its record and the roughness of F 16 / W 1 elsewhere.
  EXPECT_EQ(roughness[3][2], 0.4);
  EXPECT_EQ(roughness[2][2], XksWall);
  EXPECT_EQ(roughness[3][3], XksWall);
  writeFile("bedrough", "B 5 2 0.5\nB 1 1 0.3\nB 4 3 0.2\nB 2 4 0.7\n");
  readBedrough();
  EXPECT_EQ(roughness[1][1], 0.3);
  EXPECT_EQ(roughness[4][3], 0.2);
  EXPECT_EQ(roughness[5][2], XksWall);
  EXPECT_EQ(roughness[2][4], XksWall);
}

// At most 5 records per column of the grid are read.
TEST_F(Bedrough, RecordLimit) {
  xnumber = ynumber = 2;
  std::string text;
  for (int n = 1; n <= 21; ++n) text += "B 1 1 " + std::to_string(n) + "\n";
  writeFile("bedrough", text);
  readBedrough();
  EXPECT_EQ(roughness[1][1], 20);
  EXPECT_EQ(readFile("boogie"), "Have read 20 roughness points from bedrough file\n");
}

TEST_F(Bedrough, EmptyGridReadsNothing) {
  ynumber = 0;
  roughness[1][1] = -1;
  writeFile("bedrough", "B 1 1 0.3\n");
  readBedrough();
  EXPECT_EQ(roughness[1][1], -1);
  EXPECT_EQ(readFile("boogie"), "Have read 0 roughness points from bedrough file\n");
}

TEST_F(Bedrough, PartitionFileName) {
  FlagMPI = 3;
  writeFile("bedrough", "B 1 1 0.3\n");
  readBedrough();
  EXPECT_STREQ(mc_message, "have not used bedrough.mpi3 file ");
  writeFile("bedrough.mpi3", "B 1 1 0.6\n");
  readBedrough();
  EXPECT_EQ(roughness[1][1], 0.6);
  FlagMPIkoosurf = 1;
  readBedrough();
  EXPECT_EQ(roughness[1][1], 0.3);
}

TEST_F(Bedrough, MissingFileWithF90) {
  FlagRoughness = 1;
  EXPECT_EXIT(readBedrough(), ::testing::ExitedWithCode(251), "");
  EXPECT_EQ(readFile("boogie"), "Error: bedrough file not found when using F 90 1\n\n");
}

}  // namespace
