// The partition grids of run letter A: no partitions end the run, equal
// shares and given borders cut block 1 with one shared row of columns.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

CaseSetup straightChannel(const std::string &letters, const std::string &extra) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  control.replace(control.find("F 2 YW"), 6, "F 2 " + letters);
  s.files["control"] = control + extra;
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  return s;
}

// The i and j of every line, in file order.
std::vector<std::pair<int, int>> indexesOf(const std::string &text) {
  std::vector<std::pair<int, int>> v;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    std::istringstream l(line);
    int i, j;
    l >> i >> j;
    v.emplace_back(i, j);
  }
  return v;
}

TEST(PartitionKoosurf, WithoutPartitionsTheRunEnds) {
  const CaseResult r = runCase(straightChannel("YA", ""));
  EXPECT_EQ(r.status, 133);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error writing MPI koosurf files, 0 MPI blocks specified\n\n"));
  EXPECT_FALSE(r.has("koosurf.mpi1"));
}

TEST(PartitionKoosurf, EqualSharesOfTheStraightChannel) {
  const CaseResult r = runCase(straightChannel("YA", "F 308 2\n"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  // s = 24: borders 2, 25, 51; the partitions share the grid lines 24 and 25.
  const auto first = indexesOf(r.file("koosurf.mpi1")), second = indexesOf(r.file("koosurf.mpi2"));
  ASSERT_EQ(first.size(), 25u * 6u);
  ASSERT_EQ(second.size(), 28u * 6u);
  EXPECT_EQ(first.front(), std::make_pair(1, 1));
  EXPECT_EQ(first.back(), std::make_pair(25, 6));
  EXPECT_EQ(second.front(), std::make_pair(1, 1));
  EXPECT_EQ(second.back(), std::make_pair(28, 6));
  // Point i = 24 of the channel (x = 46 m) is the first line of the second partition.
  EXPECT_EQ(r.file("koosurf.mpi2").substr(0, 36), "1 1 46.000000 0.000000 0.000000 1.00");
  EXPECT_FALSE(r.has("koosurf.mpi3"));
}

TEST(PartitionKoosurf, GivenBorders) {
  const CaseResult r = runCase(straightChannel("YA", "F 308 3\nG 27 10 30 51\n"));
  EXPECT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(indexesOf(r.file("koosurf.mpi1")).size(), 10u * 6u);   // i = 1 .. 10
  EXPECT_EQ(indexesOf(r.file("koosurf.mpi2")).size(), 22u * 6u);   // i = 9 .. 30
  EXPECT_EQ(indexesOf(r.file("koosurf.mpi3")).size(), 23u * 6u);   // i = 29 .. 51
}

}  // namespace
