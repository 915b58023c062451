// The one chunk rule of the parallel regions: chunk sizes worked out by hand,
// and a region over a range that must visit every index exactly once.
#include <gtest/gtest.h>

#include <vector>

#include "model/settings.h"
#include "model/threads.h"

namespace {

struct ChunkCase {
  int start, end, chunks;
  std::vector<IndexChunk> expected;
};

TEST(ChunkRule, EqualChunksAndTheRemainderToTheLast) {
  const ChunkCase cases[] = {
      {1, 10, 3, {{1, 3}, {4, 6}, {7, 10}}},
      {0, 99, 4, {{0, 24}, {25, 49}, {50, 74}, {75, 99}}},
      {5, 5, 1, {{5, 5}}},
      // Fewer items than chunks: the first chunks are empty, the last takes all.
      {1, 2, 4, {{1, 0}, {1, 0}, {1, 0}, {1, 2}}},
  };
  for (const ChunkCase &c : cases) {
    for (int k = 0; k < c.chunks; ++k) {
      IndexChunk got = chunkOf(c.start, c.end, c.chunks, k);
      EXPECT_EQ(got.first, c.expected[k].first) << c.start << ".." << c.end << " chunk " << k << " of " << c.chunks;
      EXPECT_EQ(got.last, c.expected[k].last) << c.start << ".." << c.end << " chunk " << k << " of " << c.chunks;
    }
  }
}

TEST(ChunkRule, RegionVisitsEveryIndexOnce) {
  fixThreadCount(3);
  for (int threads : {0, 1, 3, 7}) {
    NoProcessesSolver = threads;
    std::vector<int> hits(102, 0);
    forEachChunk(1, 100, [&](int first, int last) {
      for (int i = first; i <= last; ++i) ++hits[static_cast<std::size_t>(i)];
    });
    EXPECT_EQ(hits[0], 0) << threads;
    EXPECT_EQ(hits[101], 0) << threads;
    for (int i = 1; i <= 100; ++i) ASSERT_EQ(hits[static_cast<std::size_t>(i)], 1) << "index " << i << ", " << threads;
  }
}

TEST(ChunkRule, WithoutThreadCountOneChunkOnOneThread) {
  NoProcessesSolver = 0;
  int calls = 0, first = 0, last = 0, threads = 0;
  forEachChunk(3, 17, [&](int f, int l) {
    ++calls;
    first = f;
    last = l;
    threads = threadsInRegion();
  });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(first, 3);
  EXPECT_EQ(last, 17);
  EXPECT_EQ(threads, 1);
}

}  // namespace
