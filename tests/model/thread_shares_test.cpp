// Items dealt to the threads of one region in consecutive shares: count/T
// each and one more for each of the first count mod T threads.
#include <gtest/gtest.h>

#include <vector>

#include "model/settings.h"
#include "model/threads.h"

namespace {

TEST(ThreadShares, ConsecutiveSharesTheFirstThreadsOneMore) {
  struct Row {
    int start, end, threads;
    std::vector<IndexChunk> expected;
  };
  const Row rows[] = {
      {1, 9, 4, {{1, 3}, {4, 5}, {6, 7}, {8, 9}}},
      {1, 9, 2, {{1, 5}, {6, 9}}},
      {1, 9, 1, {{1, 9}}},
      {1, 2, 3, {{1, 1}, {2, 2}, {3, 2}}},
  };
  for (const Row &row : rows) {
    for (int t = 0; t < row.threads; ++t) {
      const IndexChunk got = shareOf(row.start, row.end, row.threads, t);
      EXPECT_EQ(got.first, row.expected[t].first) << row.threads << " threads, share " << t;
      EXPECT_EQ(got.last, row.expected[t].last) << row.threads << " threads, share " << t;
    }
  }
}

TEST(ThreadShares, RegionVisitsEveryItemOnceOnItsThread) {
  for (int threads : {0, 1, 3, 4, 11}) {
    NoProcessesSolver = threads;
    if (threads > 0) fixThreadCount(threads);
    std::vector<int> owner(10, -1);
    forEachThreadShare(1, 9, [&](int first, int last) {
      for (int g = first; g <= last; ++g) owner[static_cast<std::size_t>(g)] = threadNumber();
    });
    for (int g = 1; g <= 9; ++g) {
      ASSERT_GE(owner[static_cast<std::size_t>(g)], 0) << threads << " item " << g;
      if (g == 1) continue;
      EXPECT_LE(owner[static_cast<std::size_t>(g - 1)], owner[static_cast<std::size_t>(g)]) << threads;
    }
    if (threads <= 1) {
      EXPECT_EQ(owner[9], 0);
    }
  }
}

}  // namespace
