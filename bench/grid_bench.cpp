// Cost of one grid regeneration of a large channel: the generator, the
// geometry pass and the bed-cell index, as every free-surface update and bed
// change pays them. Run from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "startup/control_reader.h"
#include "surface/surface_services.h"

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

// One steady surface update of the same channel (F 36 2, the outlet column
// at mid width as reference): reference levels, the classic level update of
// every grid point and the regeneration with face fluxes.
void SurfaceUpdate(benchmark::State &state) {
  prepare();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  FlagTFS = 2;
  iPres = kLinesI;
  jPres = kLinesJ / 2 + 1;
  for (auto _ : state) {
    surface();
    benchmark::DoNotOptimize(GlobZRef);
  }
  state.counters["cells"] = NoCells;
}
BENCHMARK(SurfaceUpdate)->Unit(benchmark::kMillisecond);

// One transient free-surface step of the same channel (F 36 16): the level
// change of every column, its spreading, the boundary levels and the
// regeneration; then the same step without the regeneration (as in a
// sediment run), which leaves the column loop and the boundary levels.
void TransientSurfaceStep(benchmark::State &state) {
  prepare();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  FlagTFS = 16;
  TimeStep = 1.0;
  FlagTSC = state.range(0) == 0 ? 0 : 1;
  for (auto _ : state) {
    surface_tfs(0, 1);
    benchmark::DoNotOptimize(NoCells);
  }
  FlagTSC = 0;
  state.counters["cells"] = NoCells;
}
BENCHMARK(TransientSurfaceStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char **argv) { return runBenchmarks(argc, argv); }
