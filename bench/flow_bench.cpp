// Cost of one SIMPLE outer iteration (momentum, pressure correction, k,
// epsilon and the stop test) on a straight channel of 101,250 cells, in
// seconds per iteration per million cells, serial and on all threads.
// Runs from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_support.h"
#include "flow/flow_drivers.h"
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

// The straight-channel data sets on a channel 500 m long and 90 m wide,
// 1 m deep; the discharge keeps the fixture's mean speed of 0.75 m/s. K 1 1
// makes every driver call one outer iteration.
void writeControl() {
  std::FILE *file = std::fopen("control", "w");
  std::fprintf(file,
               "T straight channel, 500 m long, 90 m wide, 1 m deep, 67.5 m3/s\n"
               "G 1 %d %d 11 1\n"
               "F 65 110000 400000 160000 10000 1000\n"
               "F 314 1 1\n"
               "F 237 1 67.5\n"
               "F 237 2 67.5\n"
               "W 1 50 7.5 1.0\n"
               "K 1 1\n",
               kLinesI + 3, kLinesJ + 3);
  std::fclose(file);
}

// Reads the data sets, builds the grid in-process, prepares the flow and
// runs the warm-up iterations, once per process.
void prepare() {
  if (!enterTemporaryFolder()) return;
  writeControl();
  writeChannelKoosurf(kLinesI, kLinesJ, 2.0, 0.0, 1.0);  // flat bed at 0, water level 1 m
  kread();
  if (AllocateArrays(1, 1, 1) < 0) std::abort();
  readKoosurf();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  computeWCStart();
  startup();
  for (int n = 0; n < kWarmUp; ++n) WaterSolve();
}

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
