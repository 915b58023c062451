// Cost of one grid regeneration of a large channel: the generator, the
// geometry pass and the bed-cell index, as every free-surface update and bed
// change pays them. Run from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/settings.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 401;  // grid lines along the channel: 400 columns of 1 m
constexpr int kLinesJ = 51;   // grid lines across: 50 columns

void prepare() {
  if (!enterTemporaryFolder()) return;
  kreadDefaults();
  xnumber = kLinesI + 2;
  ynumber = kLinesJ + 2;
  znumber = 11;
  MaxCeller = MaxFlater = MaxPunkter = 1000000;
  if (sialloc() != 0 || AllocateArrays(1, 1, 1) < 0) std::abort();
  writeChannelKoosurf(kLinesI, kLinesJ, 1.0, 0.001, 2.0);
  readKoosurf();
}

void GridRegeneration(benchmark::State &state) {
  prepare();
  for (auto _ : state) {
    endOnGridFailure(Unstructure());
    metric();
    BedMake();
    benchmark::DoNotOptimize(NoCells);
  }
  state.counters["cells"] = NoCells;
}
BENCHMARK(GridRegeneration)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runBenchmarks(argc, argv); }
