// The threads of the parallel regions: F 206 fixes their number once, and every
// stage region cuts its index range into NoProcessesSolver chunks by one rule.
// All OpenMP calls of the engine pass through here.
#pragma once

#include "model/settings.h"

// The number of threads the runtime offers (its maximum for the next region).
int maxThreadsOffered();

// Fixes the thread count of every later parallel region and switches dynamic
// adjustment off. A count below 1 leaves the count to the start-up checks,
// which settle it after "control" has been read.
void fixThreadCount(int threads);

// The threads in the current region (1 outside a region).
int threadsInRegion();

// The number of the calling thread in the current region (0 outside a region).
int threadNumber();

// Wall-clock time in seconds, for the stage stamps of otime.
double wallClock();

// An inclusive index range; empty when last < first.
struct IndexChunk {
  int first, last;
};

// Chunk c of `chunks` over start..end: (end-start+1)/chunks items each, the
// last chunk running to end, so the remainder always falls to the last thread.
inline IndexChunk chunkOf(int start, int end, int chunks, int c) {
  int size = (end - start + 1) / chunks;
  int first = start + c * size;
  int last = c == chunks - 1 ? end : first + size - 1;
  return {first, last};
}

// Runs body(first, last) once for each of the NoProcessesSolver chunks of
// start..end in one fork-join region; the chunks are dealt to the threads in
// equal consecutive shares. Without F 206 (0) the whole range is one chunk.
template <class Body>
void forEachChunk(int start, int end, Body &&body) {
  const int chunks = NoProcessesSolver > 0 ? NoProcessesSolver : 1;
#pragma omp parallel for schedule(static) if (chunks > 1)
  for (int c = 0; c < chunks; ++c) {
    IndexChunk chunk = chunkOf(start, end, chunks, c);
    if (chunk.first <= chunk.last) body(chunk.first, chunk.last);
  }
}

// Share s of `shares` over start..end in equal consecutive parts: with n items,
// q = n / shares and r = n mod shares, the first r shares take q + 1 items,
// the others q (the static division of a loop among the threads of a team).
inline IndexChunk shareOf(int start, int end, int shares, int s) {
  const int n = end - start + 1;
  if (n <= 0) return {start, start - 1};
  const int q = n / shares, r = n % shares;
  const int first = start + s * q + (s < r ? s : r);
  return {first, first + q + (s < r ? 1 : 0) - 1};
}

// Runs body(thread, threads) once on every thread of one fork-join region of
// the default team (the count fixed from F 206, one thread without it), for
// solvers that hold a whole sweep loop in one region and meet at barriers.
template <class Body>
void onEveryThread(Body &&body) {
#pragma omp parallel if (NoProcessesSolver > 0)
  body(threadNumber(), threadsInRegion());
}

// Makes every thread of the current region wait until all have reached it.
void teamBarrier();

// Runs body(first, last) for the share of start..end of each thread of the
// default team (the count fixed from F 206, one thread without it): a face
// or cell loop whose items write only their own entries.
template <class Body>
void forEachShare(int start, int end, Body &&body) {
  const int shares = maxThreadsOffered() > 0 ? maxThreadsOffered() : 1;
#pragma omp parallel for schedule(static) if (shares > 1)
  for (int s = 0; s < shares; ++s) {
    IndexChunk share = shareOf(start, end, shares, s);
    if (share.first <= share.last) body(share.first, share.last);
  }
}

// Runs body(first, last) once on every thread of one fork-join region with
// that thread's consecutive share of start..end (empty when first > last),
// so that a thread can gather what it reports and hand it over once. Without
// F 206 (0) the region has one thread, which takes the whole range.
template <class Body>
void forEachThreadShare(int start, int end, Body &&body) {
#pragma omp parallel if (NoProcessesSolver > 0)
  {
    const IndexChunk share = shareOf(start, end, threadsInRegion(), threadNumber());
    body(share.first, share.last);
  }
}
