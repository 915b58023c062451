// Cost of the linear solvers on a generated straight channel of 201,600 cells
// (400 x 56 columns of nine cells): one pressure-correction solve (15
// sweeps) for each F 164 variant, the line solver and the plane correction,
// one solve of a grain size by the sediment solver, and one outer iteration
// with the point solver and the column blocks, serially and on 2, 4 and 8
// threads. Runs in a temporary folder.
#include <benchmark/benchmark.h>

#include <cmath>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/block_correction.h"
#include "solvers/line_solver.h"
#include "solvers/point_solver.h"
#include "solvers/sediment_solvers.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 401;  // grid lines along the channel: 400 columns of 2 m
constexpr int kLinesJ = 57;   // grid lines across: 56 columns of 2 m

void prepare() {
  // Two grain sizes (F 79) give the per-size coefficient rows.
  prepareChannelFlow(kLinesI, kLinesJ, 2.0, "210000 800000 300000 10000 1000", "F 186 1\nF 79 0 2\n", 0);
}

// The pressure-correction equation of the channel: the pressure
// coefficients, a small sink on Cap and a varying defect; the field from 0.
void pressureEquation() {
  Equation = 4;
  sweeps[4] = 5;
  for (int c = 1; c <= NoCells; ++c) CinvAp[c] = 0.01 * (1.0 + 0.1 * std::sin(0.3 * c));
  pressure_coeff();
  for (int c = 1; c <= NoCells; ++c) {
    Cap[c] = 1.001 * (Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c]);
    Csource[c] = std::sin(0.37 * c);
  }
  Cf = Cpres;
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
}

void useThreads(int threads) {
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
}

void counters(benchmark::State &state, int threads) {
  state.counters["cells"] = NoCells;
  state.counters["threads"] = threads > 0 ? threads : 1;
  int used = 1;
  onEveryThread([&used](int thread, int team) {
    if (thread == 0) used = team;
  });
  state.counters["threads_used"] = used;
}

// One solve (15 sweeps) with F 164 = range(0) and F 206 = range(1).
void PressureSolve(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(1));
  useThreads(threads);
  pressureEquation();
  FlagRapSolver = static_cast<int>(state.range(0));
  for (auto _ : state) {
    solver();
    benchmark::DoNotOptimize(Cf[1]);
  }
  FlagRapSolver = 0;
  counters(state, threads);
}

// One sediment solve of size 1 (five sweeps) on the pressure-correction
// coefficients, with F 164 = range(0) and F 206 = range(1).
void SedimentSolve(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(1));
  useThreads(threads);
  pressureEquation();
  for (int c = 1; c <= NoCells; ++c) {
    Capm[1][c] = Cap[c];
    Catm[1][c] = Cat[c];
    Cabm[1][c] = Cab[c];
    Csourcem[1][c] = Csource[c];
  }
  Equation = 7;
  Cf = Cconc[1];
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
  FlagRapSolver = static_cast<int>(state.range(0));
  for (auto _ : state) {
    solver2(1);
    benchmark::DoNotOptimize(Cf[1]);
  }
  FlagRapSolver = 0;
  counters(state, threads);
}

void LineSolve(benchmark::State &state) {
  prepare();
  useThreads(0);
  pressureEquation();
  for (auto _ : state) {
    solverTDMA();
    benchmark::DoNotOptimize(Cf[1]);
  }
  counters(state, 0);
}

void PlaneCorrection(benchmark::State &state) {
  prepare();
  useThreads(0);
  pressureEquation();
  for (auto _ : state) {
    BlockCorrection();
    benchmark::DoNotOptimize(Cf[1]);
  }
  counters(state, 0);
}

// One outer iteration of the main driver with F 164 = range(0).
void OuterIteration(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(1));
  useThreads(threads);
  FlagRapSolver = static_cast<int>(state.range(0));
  for (auto _ : state) {
    WaterSolve();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  FlagRapSolver = 0;
  counters(state, threads);
}

}  // namespace

int main(int argc, char **argv) {
  auto *solve = benchmark::RegisterBenchmark("PressureSolve", PressureSolve);
  for (int variant : {0, 25, 27, 28, 29, 30, 31, 32}) {
    for (int threads : {0, 2, 4, 8}) solve->Args({variant, threads});
  }
  solve->Unit(benchmark::kMillisecond)->UseRealTime();
  auto *sediment = benchmark::RegisterBenchmark("SedimentSolve", SedimentSolve);
  for (int variant : {0, 21, 31}) {
    for (int threads : {0, 4, 8}) sediment->Args({variant, threads});
  }
  sediment->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("LineSolve", LineSolve)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("PlaneCorrection", PlaneCorrection)->Unit(benchmark::kMillisecond)->UseRealTime();
  auto *outer = benchmark::RegisterBenchmark("OuterIteration", OuterIteration);
  for (int variant : {0, 31}) {
    for (int threads : {0, 2, 4, 8}) outer->Args({variant, threads});
  }
  outer->Unit(benchmark::kMillisecond)->UseRealTime();
  return runBenchmarks(argc, argv);
}
