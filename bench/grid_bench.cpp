// Cost of one grid regeneration of a large channel: the generator, the
// geometry pass and the bed-cell index, as every free-surface update and bed
// change pays them. Run from any folder: it works in a temporary one.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

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

// A channel of kLinesI x kLinesJ grid points, 1 m apart, bed sloping along i.
void writeKoosurf() {
  std::FILE *file = std::fopen("koosurf", "w");
  for (int i = 1; i <= kLinesI; ++i) {
    for (int j = 1; j <= kLinesJ; ++j) {
      std::fprintf(file, "%d %d %d.0 %d.0 %.4f 2.0\n", i, j, i - 1, j - 1, -0.001 * i);
    }
  }
  std::fclose(file);
}

std::string gFolder;  // the temporary folder the benchmark works in

void prepare() {
  if (!gFolder.empty()) return;
  gFolder = (std::filesystem::temp_directory_path() / "telva-bench-XXXXXX").string();
  if (!mkdtemp(gFolder.data()) || chdir(gFolder.c_str()) != 0) std::abort();
  kreadDefaults();
  xnumber = kLinesI + 2;
  ynumber = kLinesJ + 2;
  znumber = 11;
  MaxCeller = MaxFlater = MaxPunkter = 1000000;
  if (sialloc() != 0 || AllocateArrays(1, 1, 1) < 0) std::abort();
  writeKoosurf();
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

}  // namespace

int main(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!gFolder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
  }
  return 0;
}
