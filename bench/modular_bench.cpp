// Cost of one inner iteration of the modular driver (F 328 1) beside the
// main driver's on the straight channel of 101,250 cells, in seconds per
// iteration per million cells, serial and on all threads. Runs from any
// folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/threads.h"

namespace {

constexpr int kLinesI = 251;  // grid lines along the channel: 250 columns of 2 m
constexpr int kLinesJ = 46;   // grid lines across: 45 columns of 2 m
constexpr int kWarmUp = 3;    // outer iterations of the main driver before the timing starts

void prepare() { prepareChannelFlow(kLinesI, kLinesJ, 2.0, "110000 400000 160000 10000 1000", "", kWarmUp); }

// One outer iteration of one inner iteration (K 1 1) of the driver given,
// with F 206 given by the argument (0: serial).
template <void (*Driver)()>
void InnerIteration(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
  for (auto _ : state) {
    Driver();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  state.counters["s/iter/Mcells"] =
      benchmark::Counter(NoCells / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
  state.counters["cells"] = NoCells;
  state.counters["threads"] = threads > 0 ? threads : 1;
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("MainDriverInnerIteration", InnerIteration<WaterSolve>)
      ->Arg(0)
      ->Arg(maxThreadsOffered())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("ModularDriverInnerIteration", InnerIteration<WaterSolveNew>)
      ->Arg(0)
      ->Arg(maxThreadsOffered())
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return runBenchmarks(argc, argv);
}
