// Cost of the linear solvers on a generated straight channel of 201,600 cells
// (400 x 56 columns of nine cells): one pressure-correction solve (15
// sweeps) for each F 164 variant, the line solver and the plane correction,
// and one outer iteration with the point solver and the column blocks,
// serially and on 2, 4 and 8 threads. Runs in a temporary folder.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "flow/flow_drivers.h"
#include "flow/pressure_coefficients.h"
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
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 401;  // grid lines along the channel: 400 columns of 2 m
constexpr int kLinesJ = 57;   // grid lines across: 56 columns of 2 m

// The straight-channel data sets on a channel 800 m long and 112 m wide, 1 m
// deep, with the line solver's work arrays; K 1 1 makes every driver call
// one outer iteration.
void writeControl() {
  std::FILE *file = std::fopen("control", "w");
  std::fprintf(file,
               "T straight channel, 800 m long, 112 m wide, 1 m deep, 84 m3/s\n"
               "G 1 %d %d 11 1\n"
               "F 65 210000 800000 300000 10000 1000\n"
               "F 314 1 1\n"
               "F 237 1 84\n"
               "F 237 2 84\n"
               "F 186 1\n"
               "W 1 50 7.5 1.0\n"
               "K 1 1\n",
               kLinesI + 3, kLinesJ + 3);
  std::fclose(file);
}

void writeKoosurf() {
  std::FILE *file = std::fopen("koosurf", "w");
  for (int i = 1; i <= kLinesI; ++i) {
    for (int j = 1; j <= kLinesJ; ++j) std::fprintf(file, "%d %d %d.0 %d.0 0.0 1.0\n", i, j, 2 * (i - 1), 2 * (j - 1));
  }
  std::fclose(file);
}

std::string gFolder;

void prepare() {
  if (!gFolder.empty()) return;
  gFolder = (std::filesystem::temp_directory_path() / "telva-solver-bench-XXXXXX").string();
  if (!mkdtemp(gFolder.data()) || chdir(gFolder.c_str()) != 0) std::abort();
  writeControl();
  writeKoosurf();
  kread();
  if (AllocateArrays(1, 1, 1) < 0) std::abort();
  readKoosurf();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  computeWCStart();
  startup();
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
  benchmark::Initialize(&argc, argv);
  auto *solve = benchmark::RegisterBenchmark("PressureSolve", PressureSolve);
  for (int variant : {0, 25, 27, 28, 29, 30, 31, 32}) {
    for (int threads : {0, 2, 4, 8}) solve->Args({variant, threads});
  }
  solve->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("LineSolve", LineSolve)->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RegisterBenchmark("PlaneCorrection", PlaneCorrection)->Unit(benchmark::kMillisecond)->UseRealTime();
  auto *outer = benchmark::RegisterBenchmark("OuterIteration", OuterIteration);
  for (int variant : {0, 31}) {
    for (int threads : {0, 2, 4, 8}) outer->Args({variant, threads});
  }
  outer->Unit(benchmark::kMillisecond)->UseRealTime();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (!gFolder.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(gFolder, ignored);
  }
  return 0;
}
