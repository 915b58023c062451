// Cost of one SIMPLE outer iteration (momentum, pressure correction, k,
// epsilon and the stop test) on a straight channel of 101,250 cells, in
// seconds per iteration per million cells, serial and on all threads.
// Runs from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/threads.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 251;  // grid lines along the channel: 250 columns of 2 m
constexpr int kLinesJ = 46;   // grid lines across: 45 columns of 2 m
constexpr int kWarmUp = 3;    // outer iterations before the timing starts

void prepare() { prepareChannelFlow(kLinesI, kLinesJ, 2.0, "110000 400000 160000 10000 1000", "", kWarmUp); }

// One outer iteration per benchmark iteration, with F 206 given by the
// argument (0: serial, every stage on one thread).
void SimpleOuterIteration(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
  for (auto _ : state) {
    WaterSolve();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  state.counters["s/iter/Mcells"] =
      benchmark::Counter(NoCells / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["cells"] = NoCells;
  state.counters["threads"] = threads > 0 ? threads : 1;
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("SimpleOuterIteration", SimpleOuterIteration)
      ->Arg(0)
      ->Arg(maxThreadsOffered())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return runBenchmarks(argc, argv);
}
