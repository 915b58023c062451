// Cost of the two-dimensional level solver, the grid level update and the
// backwater march on a generated straight channel of 400 x 56 columns of
// nine cells (22,400 columns, 201,600 cells): the rates are per column, so
// that the sweeps' skip of the cells above the bed shows. Runs in a
// temporary folder.
#include <benchmark/benchmark.h>

#include "channel_flow.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "surface/steady/grid_level_update.h"
#include "surface/level_equations/level_solver.h"
#include "surface/surface_services.h"

namespace {

constexpr int kLinesI = 401;
constexpr int kLinesJ = 57;

void prepare() {
  // F 36 8 gives the nine-point coefficients room.
  prepareChannelFlow(kLinesI, kLinesJ, 2.0, "210000 800000 300000 10000 1000", "F 36 8\n", 0);
}

int columns() { return (block[1].i2 - block[1].i1 + 1) * (block[1].j2 - block[1].j1 + 1); }

// A diffusion fill over the columns, as letter K's: every side neighbour
// weighs 1, the outlet columns are held at 0 and a source lifts the rest.
void fillEquations() {
  for (int c = 0; c <= NoCells; ++c) {
    Cap[c] = Cae[c] = Caw[c] = Can[c] = Cas[c] = Csource[c] = Cf[c] = 0.0;
    Caee[c] = Caww[c] = Cass[c] = Cann[c] = 0.0;
  }
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int c = static_cast<int>(zval[i][j][0]);
      if (i == b.i2) {
        Cap[c] = 1e20;
        continue;
      }
      Cae[c] = Ccelle[c] > 0 ? 1.0 : 0.0;
      Caw[c] = Ccellw[c] > 0 ? 1.0 : 0.0;
      Can[c] = Ccelln[c] > 0 ? 1.0 : 0.0;
      Cas[c] = Ccells[c] > 0 ? 1.0 : 0.0;
      Cap[c] = Cae[c] + Caw[c] + Can[c] + Cas[c] + 1e-20;
      Csource[c] = 0.001;
    }
  }
}

// Code range(0), ten iterations: ten double sweeps for code 4, ten times
// four sweeps for code 8.
void LevelSolve(benchmark::State &state) {
  prepare();
  const int code = static_cast<int>(state.range(0));
  fillEquations();
  residualCasulli = 0.0;
  iterSurfSolv1 = iterSurfSolv2 = 10;
  for (auto _ : state) {
    surfaceSolver(code);
    benchmark::DoNotOptimize(Cf[1]);
  }
  const double sweeps = code == kSurfaceSolverFivePoint ? 20.0 : 40.0;
  state.counters["columns"] = columns();
  state.counters["s_per_sweep_per_million_columns"] = benchmark::Counter(
      sweeps * columns() / 1e6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void GridLevelUpdate(benchmark::State &state) {
  prepare();
  fillEquations();
  for (int c = 1; c <= NoCells; ++c) Cf[c] = Ccellb[c] == 0 ? 1e-9 : 0.0;
  for (auto _ : state) {
    surfaceUpdate(ColumnValue::Change);
    benchmark::DoNotOptimize(zval[2][2][znumber]);
  }
  state.counters["columns"] = columns();
}

void BackwaterMarch(benchmark::State &state) {
  prepare();
  FlagTFS = 30;
  GlobZRef = 1.0;
  for (auto _ : state) {
    backwater();
    benchmark::DoNotOptimize(maxBackwater);
  }
  FlagTFS = 8;
  state.counters["columns"] = columns();
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("LevelSolve", LevelSolve)
      ->Arg(kSurfaceSolverFivePoint)
      ->Arg(kSurfaceSolverNinePoint)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("GridLevelUpdate", GridLevelUpdate)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("BackwaterMarch", BackwaterMarch)->Unit(benchmark::kMillisecond)->UseRealTime();
  return runBenchmarks(argc, argv);
}
