// Bank failure through the binary, cases/bank-failure: one sediment step on a
// river 1 m deep beside a bank 1 m above the water. The wet row 4 beside the
// dry row 5 has its bottom cell's bank corners at the water level (S = 1), so
// every column of it fails and moves each corner 0.002 m towards the mean;
// the grain of 0.1 m stays put, so nothing else moves the bed.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "support/bedres_levels.h"
#include "support/run_case.h"

namespace {

// Bed levels of the grid points in "bedres.t", by (i, j).
std::map<std::pair<int, int>, double> bedLevels(const std::string &bedres) {
  std::map<std::pair<int, int>, double> levels;
  for (const std::vector<double> &v : bedresPointRows(bedres)) {
    levels[{static_cast<int>(v[0]), static_cast<int>(v[1])}] = v[3];
  }
  return levels;
}

TEST(BankFailureRun, RowBesideTheBankFlattens) {
  const CaseResult r = runCaseFolder("bank-failure");
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  std::map<std::pair<int, int>, double> after = bedLevels(r.file("bedres.t"));
  ASSERT_FALSE(after.empty()) << r.file("bedres.t");
  double volumeBefore = 0.0, volumeAfter = 0.0;
  const auto start = [](int j) { return j >= 4 ? 2.0 : 0.0; };
  for (int i = 1; i <= 9; ++i) {
    for (int j = 1; j <= 6; ++j) {
      const double edge = (i == 1 || i == 9) ? 0.002 : 0.004;
      const double change = j == 3 ? edge : j == 4 ? -edge : 0.0;
      const std::pair<int, int> point{i, j};
      ASSERT_TRUE(after.count(point)) << i << " " << j;
      EXPECT_NEAR(after[point] - start(j), change, 1e-12) << "point " << i << " " << j;
    }
  }
  // Every column has 1 m² of plan: the bed volume is the sum of the columns'
  // mean corner levels.
  for (int i = 2; i <= 9; ++i) {
    for (int j = 2; j <= 6; ++j) {
      for (const auto &[di, dj] : {std::pair{-1, -1}, {0, -1}, {0, 0}, {-1, 0}}) {
        volumeBefore += 0.25 * start(j + dj);
        volumeAfter += 0.25 * after[std::pair{i + di, j + dj}];
      }
    }
  }
  EXPECT_NEAR(volumeAfter, volumeBefore, 1e-9 * volumeBefore);
}

}  // namespace
