// Numbered output series: padding of the names, the first free number on
// disk (gaps are filled, anything present counts as taken), the switch off,
// partitioned names and the last number written again when all are taken.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "files/series_files.h"
#include "support/work_folder.h"

namespace {

using SeriesFiles = WorkFolderTest;

struct NameCase {
  const char *base;
  int number, width;
  const char *suffix, *name;
};

TEST(SeriesNames, PaddedToTheWriterWidth) {
  constexpr NameCase cases[] = {
      {"con2res.", 7, 3, "", "con2res.007"},       {"result.", 0, 4, "", "result.0000"},
      {"result.", 42, 4, "", "result.0042"},       {"result.", 10000, 4, "", "result.10000"},
      {"fracres_", 12, 5, ".new", "fracres_00012.new"}, {"alldata.", 12, 1, "", "alldata.12"},
      {"result.mpi2.", 0, 4, "", "result.mpi2.0000"}, {"pontu_", 999998, 5, ".dat", "pontu_999998.dat"},
  };
  for (const NameCase &c : cases) EXPECT_EQ(seriesName(c.base, c.number, c.width, c.suffix), c.name);
}

TEST_F(SeriesFiles, GapsAreFilledFirst) {
  for (const char *name : {"result.0000", "result.0001", "result.0003"}) writeFile(name, "x");
  std::string chosen;
  std::FILE *f = openSeriesFile(1, "result.end", "result.", 4, "", "w", chosen);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(chosen, "result.0002");
  f = openSeriesFile(1, "result.end", "result.", 4, "", "w", chosen);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(chosen, "result.0004");
  EXPECT_EQ(readFile("result.0001"), "x");
  EXPECT_FALSE(std::filesystem::exists("result.end"));
}

// A file the engine cannot read, a folder or a dangling link under a series
// name is never overwritten.
TEST_F(SeriesFiles, AnythingPresentIsTaken) {
  writeFile("bedres.0000", "x");
  std::filesystem::permissions("bedres.0000", std::filesystem::perms::none);
  std::filesystem::create_directory("bedres.0001");
  std::filesystem::create_symlink("nowhere", "bedres.0002");
  EXPECT_EQ(firstFreeSeriesNumber("bedres.", 4, ""), 3);
}

TEST_F(SeriesFiles, SwitchOffWritesTheFixedName) {
  writeFile("result.0000", "kept");
  std::string chosen;
  for (int call = 0; call < 2; ++call) {
    std::FILE *f = openSeriesFile(0, "result.end", "result.", 4, "", "w", chosen);
    ASSERT_NE(f, nullptr);
    std::fputs("new", f);
    std::fclose(f);
    EXPECT_EQ(chosen, "result.end");
  }
  EXPECT_EQ(readFile("result.end"), "new");
  EXPECT_EQ(readFile("result.0000"), "kept");
  EXPECT_FALSE(std::filesystem::exists("result.0001"));
}

TEST_F(SeriesFiles, PartitionedSeriesLeavesThePlainOneAlone) {
  std::string chosen;
  std::FILE *f = openSeriesFile(1, "result.mpi2", "result.mpi2.", 4, "", "w", chosen);
  ASSERT_NE(f, nullptr);
  std::fclose(f);
  EXPECT_EQ(chosen, "result.mpi2.0000");
  EXPECT_FALSE(std::filesystem::exists("result.0000"));
}

// With the bound lowered to 3: numbers 0..3 taken, 3 is taken again.
TEST_F(SeriesFiles, LastNumberIsReusedWhenAllAreTaken) {
  for (const char *name : {"con2res.000", "con2res.001", "con2res.002"}) writeFile(name, "x");
  EXPECT_EQ(firstFreeSeriesNumber("con2res.", 3, "", 3), 3);
  writeFile("con2res.003", "x");
  EXPECT_EQ(firstFreeSeriesNumber("con2res.", 3, "", 3), 3);
  EXPECT_EQ(firstFreeSeriesNumber("con2res.", 3, "", 4), 4);
}

}  // namespace
