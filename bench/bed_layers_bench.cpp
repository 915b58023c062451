// Cost of the multi-layer bed update (F 37 3): 50,000 columns of five layers
// and three grain sizes, each step eroding or depositing a little, on one
// thread and on eight. Every column is updated by itself, so the threads
// should divide the time. Run from any folder.
#include <cstdlib>

#include "bench_support.h"

#include "bed/layers/multi_layer_update.h"
#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"

namespace {

constexpr int kColumns = 50000;

void prepare() {
  if (!enterTemporaryFolder()) return;
  kreadDefaults();
  xnumber = 250;
  ynumber = 200;
  znumber = 3;
  lnumber = 3;
  FlagTSC = 3;
  FlagBedchangeOption = 5;
  NoBedLayers = 5;
  MaxCeller = MaxFlater = MaxPunkter = 60000;
  if (sialloc() != 0 || AllocateArrays(1, 1, 1) < 0) std::abort();
  gsize[1] = 0.002;
  gsize[2] = 0.0005;
  gsize[3] = 0.0001;
  for (int b = 1; b <= kColumns; ++b) {
    Bcellt[b] = b;
    Barea[b] = 1.0;
    BlayerTop[b] = 4;
    for (int l = 0; l <= 4; ++l) {
      BSedDistrib[l][0][b] = 0.1;
      BSedDistrib[l][1][b] = 0.5;
      BSedDistrib[l][2][b] = 0.3;
      BSedDistrib[l][3][b] = 0.2;
      Bsolidfraction[l][b] = 0.5;
    }
  }
  WBStart = 1;
  WBEnd = kColumns;
}

// Alternate steps erode and deposit 1 mm in every column, so the stacks keep
// their size.
void setChanges(int step) {
  const double sign = step % 2 == 0 ? -1.0 : 1.0;
  for (int b = 1; b <= kColumns; ++b) {
    Bbedchange[1][b] = sign * 0.0005;
    Bbedchange[2][b] = sign * 0.0003;
    Bbedchange[3][b] = sign * 0.0002;
    Bedmove[b] = sign * 0.001;
  }
}

void MultiLayerUpdate(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  NoProcessesSolver = threads > 1 ? threads : 0;
  if (threads > 1) fixThreadCount(threads);
  int step = 0;
  for (auto _ : state) {
    setChanges(step++);
    morphology3_fractions(0.0);
    benchmark::DoNotOptimize(Bedmove[1]);
  }
  state.counters["columns"] = kColumns;
}
BENCHMARK(MultiLayerUpdate)->Arg(1)->Arg(8)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv) { return runBenchmarks(argc, argv); }
