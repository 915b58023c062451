// End to end: a transient run whose water level falls below a bank and rises
// again regenerates its grid every step; the bank row falls dry, comes back
// and the run goes through without an error.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "support/run_case.h"

namespace {

CaseSetup bankTide() {
  CaseSetup s;
  for (const char *name : {"control", "koosurf", "timei"}) s.files[name] = caseFile("bank-tide", name);
  return s;
}

// The cell count at the end of the second line of a bed result file.
int cellCount(const std::string &bedres) {
  const std::vector<std::string> lines = linesOf(bedres);
  if (lines.size() < 2) return -1;
  return std::stoi(lines[1].substr(lines[1].rfind(' ') + 1));
}

TEST(BankTideRun, BankRowFallsDryAndComesBack) {
  const CaseResult r = runCase(bankTide());
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie").find("Error"), std::string::npos) << r.file("boogie");
  std::vector<int> counts;
  for (int n = 0;; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "bedres.%04d", n);
    if (!r.has(name)) break;
    const std::string file = r.file(name);
    counts.push_back(cellCount(file));
    if (counts.back() != 180) continue;
    // The bank row (j = 5) has no bottom cell while the level is low.
    for (const std::string &line : linesOf(file)) {
      int i, j;
      double bottom;
      if (std::sscanf(line.c_str(), "%d %d %lf", &i, &j, &bottom) == 3 && j == 5 && i >= 2 && i <= 11) {
        EXPECT_EQ(bottom, 0.0) << name << ": " << line;
      }
    }
  }
  ASSERT_GE(counts.size(), 3u);
  EXPECT_EQ(counts.front(), 320);
  EXPECT_EQ(counts.back(), 320);
  int lowest = counts.front();
  for (const int c : counts) lowest = std::min(lowest, c);
  EXPECT_EQ(lowest, 180);
}

}  // namespace
