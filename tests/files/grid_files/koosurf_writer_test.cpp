// The koosurf files of block 1: the unchanged grid in both orders, every
// second grid line renumbered, the grid refined by two (means of x, y and
// both levels, so linear fields are reproduced), and the files it cannot open.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "files/grid_files/koosurf_writer.h"
#include "grid/grid_fixture.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

namespace fs = std::filesystem;

using KoosurfWriter = GridFixture;

// Block 1 with grid points i = 1..5, j = 1..3; every value linear in i and j.
void linearBlock() {
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 3; ++j) {
      xval[i][j] = i;
      yval[i][j] = 10.0 * j;
      zval[i][j][1] = -i;
      zval[i][j][znumber] = j;
      Surfaces[3][i][j] = 0.5 * i;
    }
  }
  addBlock(2, 5, 2, 3);
}

std::vector<std::string> linesOf(const std::string &name) {
  std::ifstream in(name);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string koosurfLine(int i, int j, double x, double y, double bed, double water) {
  char text[200];
  std::snprintf(text, sizeof text, "%d %d %lf %lf %lf %lf", i, j, x, y, bed, water);
  return text;
}

TEST_F(KoosurfWriter, UnchangedInBothOrders) {
  allocate(7, 5, 5);
  linearBlock();
  writekoosurf();
  std::vector<std::string> iOuter, jOuter;
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 3; ++j) iOuter.push_back(koosurfLine(i, j, i, 10.0 * j, -i, j));
  }
  for (int j = 1; j <= 3; ++j) {
    for (int i = 1; i <= 5; ++i) jOuter.push_back(koosurfLine(i, j, i, 10.0 * j, -i, j));
  }
  EXPECT_EQ(linesOf("koosurf.1"), iOuter);
  EXPECT_EQ(linesOf("koosurf.2"), jOuter);
}

TEST_F(KoosurfWriter, EverySecondLineRenumbered) {
  allocate(7, 5, 5);
  linearBlock();
  writekoosurf();
  EXPECT_EQ(linesOf("koosurf.cor"),
            (std::vector<std::string>{koosurfLine(1, 1, 1, 10, -1, 1), koosurfLine(1, 2, 1, 30, -1, 3),
                                      koosurfLine(2, 1, 3, 10, -3, 1), koosurfLine(2, 2, 3, 30, -3, 3),
                                      koosurfLine(3, 1, 5, 10, -5, 1), koosurfLine(3, 2, 5, 30, -5, 3)}));
}

// 9 x 5 points, each once; a refined point (I, J) lies at i = (I+1)/2, j = (J+1)/2.
TEST_F(KoosurfWriter, RefinedByTwo) {
  allocate(7, 5, 5);
  linearBlock();
  writekoosurf();
  const std::vector<std::string> fine = linesOf("koosurf.fin"), limit = linesOf("koomin.fin");
  ASSERT_EQ(fine.size(), 45u);
  ASSERT_EQ(limit.size(), 45u);
  std::set<std::pair<int, int>> seen;
  std::vector<std::pair<int, int>> order;
  for (std::size_t n = 0; n < fine.size(); ++n) {
    std::istringstream in(fine[n]), inLimit(limit[n]);
    int I, J, IL, JL;
    in >> I >> J;
    inLimit >> IL >> JL;
    const double i = (I + 1) / 2.0, j = (J + 1) / 2.0;
    EXPECT_EQ(fine[n], koosurfLine(I, J, i, 10.0 * j, -i, j));
    char text[200];
    std::snprintf(text, sizeof text, "%d %d %lf %lf %lf", I, J, i, 10.0 * j, 0.5 * i);
    EXPECT_EQ(limit[n], text);
    seen.insert({I, J});
    order.push_back({I, J});
  }
  EXPECT_EQ(seen.size(), 45u);
  EXPECT_EQ(*seen.begin(), std::make_pair(1, 1));
  EXPECT_EQ(*seen.rbegin(), std::make_pair(9, 5));
  const std::vector<std::pair<int, int>> firstRow = {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3},
                                                       {2, 3}, {1, 4}, {2, 4}, {1, 5}, {2, 5}};
  order.resize(10);
  EXPECT_EQ(order, firstRow);
}

// A file that cannot be opened: "koosurf.cor" stops the writer before it
// writes anything; "koosurf.2", opened last, leaves the others complete.
// With dredging on and a period read, "bagger.cor" holds its times, the fed
// fractions and the coarse points whose dredging value exceeds 0.01 m.
TEST_F(KoosurfWriter, CoarseDredgingOfTheLastPeriod) {
  MaxNoBagger = 2;
  allocate(7, 5, 5);
  linearBlock();
  FlagBagger = 1;
  NoBaggerTimes = 1;
  baggerTime[1][0] = 3600.0;
  baggerTime[1][1] = 7200.0;
  zugabeFractions[1][1] = 1.0;
  baggerZval[1][3][3] = -0.5;   // coarse point (2, 2)
  baggerZval[1][5][1] = 0.005;  // coarse point (3, 1): too small
  baggerZval[0][1][1] = 1.0;    // an earlier period
  writekoosurf();
  EXPECT_EQ(linesOf("bagger.cor"),
            (std::vector<std::string>{"T 3600.000000 7200.000000", "F 1.000000 ", "D 2 2 3.000000 30.000000 -0.500000"}));
  FlagBagger = 0;
  std::filesystem::remove("bagger.cor");
  writekoosurf();
  EXPECT_FALSE(std::filesystem::exists("bagger.cor"));
}

// Before any period is known the writer has "bagger" read, and writes its
// last period; no operation acts, so "bag_res" holds only the count.
TEST_F(KoosurfWriter, ReadsTheDredgingFileForItsLastPeriod) {
  MaxNoBagger = 2;
  allocate(7, 5, 5);
  linearBlock();
  FlagBagger = 1;
  NoBaggerTimes = -1;
  std::ofstream("bagger") << "T 0 10\nD 3 3 0 0 0.3\nT 10 20\nF 0.5\nD 3 3 0 0 -0.5\nD 5 1 0 0 0.005\n";
  writekoosurf();
  EXPECT_EQ(NoBaggerTimes, 1);
  EXPECT_EQ(linesOf("bagger.cor"),
            (std::vector<std::string>{"T 10.000000 20.000000", "F 0.500000 ", "D 2 2 3.000000 30.000000 -0.500000"}));
  EXPECT_EQ(linesOf("bag_res"), (std::vector<std::string>{"Time [sec], Volume [m3]", "",
                                                         "Have read 2 T data sets and 3 D/E/F/N/K data sets from "
                                                         "bagger file"}));
}

TEST_F(KoosurfWriter, FileThatCannotBeOpened) {
  allocate(7, 5, 5);
  linearBlock();
  fs::create_directory("koosurf.cor");
  writekoosurf();
  EXPECT_TRUE(fs::exists("koosurf.1"));
  EXPECT_EQ(fs::file_size("koosurf.1"), 0u);
  EXPECT_EQ(fs::file_size("koosurf.fin"), 0u);
  EXPECT_FALSE(fs::exists("koosurf.2"));

  fs::remove("koosurf.cor");
  fs::create_directory("koosurf.2");
  writekoosurf();
  EXPECT_EQ(linesOf("koosurf.1").size(), 15u);
  EXPECT_EQ(linesOf("koosurf.cor").size(), 6u);
  EXPECT_EQ(linesOf("koomin.fin").size(), 45u);
}

// The files are opened in the order koosurf.1, koosurf.fin, koomin.fin,
// koosurf.cor: one that cannot be opened leaves the later ones uncreated.
TEST_F(KoosurfWriter, LaterFilesAreNotCreatedAfterAFailedOpen) {
  allocate(7, 5, 5);
  linearBlock();
  fs::create_directory("koosurf.fin");
  writekoosurf();
  EXPECT_EQ(fs::file_size("koosurf.1"), 0u);
  for (const char *name : {"koomin.fin", "koosurf.cor", "koosurf.2"}) EXPECT_FALSE(fs::exists(name)) << name;
}

TEST_F(KoosurfWriter, NothingWithoutABlock) {
  allocate(7, 5, 5);
  writekoosurf();
  EXPECT_FALSE(fs::exists("koosurf.1"));
}

}  // namespace
