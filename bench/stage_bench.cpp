// Cost of the chunked stages: one SIMPLE outer iteration on a channel of
// 201,600 cells (400 x 56 columns of 1 m, nine cells deep), serial and with
// F 206 = 2, 4 and 8, with the stage clocks of the coefficient builds and
// completion regions. Runs from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 401;
constexpr int kLinesJ = 57;
constexpr int kWarmUp = 3;

void prepare() { prepareChannelFlow(kLinesI, kLinesJ, 1.0, "210000 640000 235000 10000 1000", "", kWarmUp); }

// Seconds between two stage stamps of the last outer iteration.
double between(int from, int to) { return otime[to] - otime[from]; }

void ChunkedOuterIteration(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
  double build = 0.0, momentum = 0.0, pressure = 0.0, kBuild = 0.0, kComplete = 0.0;
  for (auto _ : state) {
    WaterSolve();
    build += between(2, 3);
    momentum += between(4, 7);
    pressure += between(12, 13);
    kBuild += between(18, 19);
    kComplete += between(21, 22);
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["cells"] = NoCells;
  state.counters["threads"] = threadsInRegion() > 0 && threads > 0 ? maxThreadsOffered() : 1;
  state.counters["U build s"] = build / n;
  state.counters["U completion s"] = momentum / n;
  state.counters["p' diagonal s"] = pressure / n;
  state.counters["k build s"] = kBuild / n;
  state.counters["k completion s"] = kComplete / n;
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("ChunkedOuterIteration", ChunkedOuterIteration)
      ->Arg(0)
      ->Arg(2)
      ->Arg(4)
      ->Arg(8)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  return runBenchmarks(argc, argv);
}
