// Cost of the bed interpolation of letter V: 10^4 grid points from 10^5
// surveyed bed points, serial and on four threads. Every grid point scans
// every bed point, so the cost is their product. Run from any folder.
#include <cmath>
#include <cstdio>

#include "bench_support.h"

#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 200;  // grid lines along the reach, 1 m apart
constexpr int kLinesJ = 50;   // grid lines across
constexpr int kPoints = 100000;

// 10^5 scattered points over the reach (a fixed pseudo-random pattern), bed
// falling along it with a V across.
void writeGeodata() {
  std::FILE *file = std::fopen("geodata", "w");
  unsigned state = 12345;
  auto next = [&state] {
    state = state * 1103515245u + 12345u;
    return (state >> 8) / 16777216.0;
  };
  for (int n = 0; n < kPoints; ++n) {
    const double x = next() * (kLinesI + 1) - 1, y = next() * (kLinesJ + 1) - 1;
    std::fprintf(file, "E %.4f %.4f %.4f\n", x, y, -0.001 * x + 0.05 * std::fabs(y - kLinesJ / 2.0));
  }
  std::fclose(file);
}

void prepare() {
  if (!enterTemporaryFolder()) return;
  kreadDefaults();
  xnumber = kLinesI + 2;
  ynumber = kLinesJ + 2;
  znumber = 3;
  if (sialloc() != 0) std::abort();
  for (int i = 1; i <= kLinesI; ++i) {
    for (int j = 1; j <= kLinesJ; ++j) {
      xval[i][j] = i - 1;
      yval[i][j] = j - 1;
    }
  }
  NoBlocks = 1;
  block[1] = GridBlock{};
  block[1].i1 = block[1].j1 = 2;
  block[1].i2 = kLinesI;
  block[1].j2 = kLinesJ;
  block[1].k1 = 1;
  writeGeodata();
}

void BedInterpolation(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads > 1 ? threads : 0;
  if (threads > 1) fixThreadCount(threads);
  bedinter();  // reads the points once
  for (auto _ : state) {
    bedinter();
    benchmark::DoNotOptimize(zval[2][2][1]);
  }
  state.counters["grid points"] = kLinesI * kLinesJ;
  state.counters["bed points"] = NoGeo;
}
BENCHMARK(BedInterpolation)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv) { return runBenchmarks(argc, argv); }
