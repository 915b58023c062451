// The thread count of the parallel regions, set through the OpenMP runtime.
#include "model/threads.h"

#include <omp.h>

int maxThreadsOffered() { return omp_get_max_threads(); }

void fixThreadCount(int threads) {
  if (threads >= 1) omp_set_num_threads(threads);
  omp_set_dynamic(0);
}

int threadsInRegion() { return omp_get_num_threads(); }

int threadNumber() { return omp_get_thread_num(); }

double wallClock() { return omp_get_wtime(); }

void teamBarrier() {
#pragma omp barrier
}
