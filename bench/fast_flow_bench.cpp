// Cost of one outer iteration (one inner iteration) of the fast flow driver
// (F 170) beside the main driver's on the straight channel of 101,250 cells,
// in seconds per iteration per million cells, serial and on all threads.
// Runs from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/threads.h"

namespace {

constexpr int kWarmUp = 3;  // fast outer iterations before the timing starts

// The channel with the fast driver's five-row tables, warmed up by the fast
// driver. Done once per process.
void prepare() {
  static bool prepared = false;
  if (prepared) return;
  prepared = true;
  prepareChannelFlow(251, 46, 2.0, "110000 400000 160000 10000 1000", "F 170 1\n", 0);
  for (int n = 0; n < kWarmUp; ++n) WaterSolveFast();
}

void setThreads(benchmark::State &state) {
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
  state.counters["threads"] = threads > 0 ? threads : 1;
}

void rate(benchmark::State &state) {
  state.counters["s/iter/Mcells"] =
      benchmark::Counter(NoCells / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["cells"] = NoCells;
}

void FastOuterIteration(benchmark::State &state) {
  prepare();
  setThreads(state);
  for (auto _ : state) {
    WaterSolveFast();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  rate(state);
}

// The main driver on the same tables; F 170 is set aside while it runs, as
// its solves would otherwise take the five-row path.
void MainOuterIteration(benchmark::State &state) {
  prepare();
  setThreads(state);
  FlagFastWatersolve = 0;
  for (auto _ : state) {
    WaterSolve();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  FlagFastWatersolve = 1;
  rate(state);
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("FastOuterIteration", FastOuterIteration)
      ->Arg(0)
      ->Arg(maxThreadsOffered())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("MainOuterIteration", MainOuterIteration)
      ->Arg(0)
      ->Arg(maxThreadsOffered())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return runBenchmarks(argc, argv);
}
