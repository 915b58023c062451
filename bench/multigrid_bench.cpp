// Cost and effect of the depth-summed accelerator (F 168 2) on straight
// channels: the level build and one accelerated p' solve on 400 x 56 columns
// of nine cells (serially and on 2, 4 and 8 threads), seconds per outer
// iteration with K 5 0 0 0 10 0 0 against the plain run, and the outer
// iterations a 50 x 5 channel needs to converge with and without it (each
// run in a child process of its own, since the tables are allocated once).
#include <benchmark/benchmark.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "channel_flow.h"
#include "flow/drivers/flow_drivers.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "solvers/multigrid.h"
#include "solvers/multigrid_accelerator.h"
#include "startup/entry.h"

namespace {

void prepare() { prepareChannelFlow(401, 57, 2.0, "240000 800000 300000 10000 1000", "F 168 2\n", 0); }

void useThreads(int threads) {
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
}

// The channel's pressure-correction equation with a varying defect, from 0.
void pressureEquation() {
  Equation = 4;
  for (int c = 1; c <= NoCells; ++c) CinvAp[c] = 0.01 * (1.0 + 0.1 * std::sin(0.3 * c));
  pressure_coeff();
  for (int c = 1; c <= NoCells; ++c) {
    Cap[c] = 1.001 * (Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c]);
    Csource[c] = std::sin(0.37 * c);
  }
  Cf = Cpres;
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
}

void LevelBuild(benchmark::State &state) {
  prepare();
  useThreads(0);
  for (auto _ : state) {
    AlgMGMake();
    benchmark::DoNotOptimize(NoMGlevels);
  }
  state.counters["cells"] = NoCells;
  state.counters["levels"] = NoMGlevels;
}

// One accelerated p' solve with F 206 = range(0).
void PressureAccelerator(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(0));
  useThreads(threads);
  AlgMGMake();
  pressureEquation();
  for (auto _ : state) {
    AlgMGSolve();
    benchmark::DoNotOptimize(Cf[1]);
  }
  state.counters["threads"] = threads > 0 ? threads : 1;
}

// One outer iteration with K 5 for p' = range(0) (0 plain, 10 accelerated)
// and F 206 = range(1).
void OuterIteration(benchmark::State &state) {
  prepare();
  const int threads = static_cast<int>(state.range(1));
  useThreads(threads);
  blockcorr[4] = static_cast<int>(state.range(0));
  for (auto _ : state) {
    WaterSolve();
    benchmark::DoNotOptimize(Cxvel[1]);
  }
  blockcorr[4] = 0;
  state.counters["threads"] = threads > 0 ? threads : 1;
}

// The 100 m x 10 m channel of 50 x 5 columns run to convergence in a child
// process with the data sets `extra`; the outer iterations and seconds.
struct ConvergedRun {
  int iterations = -1;
  double seconds = 0.0;
};

ConvergedRun convergeChannel(const std::string &extra) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    std::string folder = (std::filesystem::temp_directory_path() / "telva-converge-XXXXXX").string();
    if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0) _exit(1);
    std::FILE *file = std::fopen("control", "w");
    std::fprintf(file,
                 "T straight channel, 100 m long, 10 m wide, 1 m deep, 7.5 m3/s\nF 2 YW\nG 1 54 9 11 1\n"
                 "F 314 1 1\nF 237 1 7.5\nF 237 2 7.5\nW 1 50 7.5 1.0\nK 1 5000 50000\n%s",
                 extra.c_str());
    std::fclose(file);
    writeChannelKoosurf(51, 6, 2.0, 0.0, 1.0);
    const auto start = std::chrono::steady_clock::now();
    InitialFunction();
    ConvergedRun run{Iter, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
    if (write(pipeEnds[1], &run, sizeof run) != sizeof run) _exit(1);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    _exit(0);
  }
  close(pipeEnds[1]);
  ConvergedRun run;
  if (read(pipeEnds[0], &run, sizeof run) != sizeof run) run = {};
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return run;
}

// range(0): 0 plain, 1 with F 168 2 and K 5 0 0 0 10 0 0.
void IterationsToConvergence(benchmark::State &state) {
  const std::string extra = state.range(0) == 1 ? "F 168 2\nK 5 0 0 0 10 0 0\n" : "";
  ConvergedRun run;
  for (auto _ : state) run = convergeChannel(extra);
  state.counters["outer_iterations"] = run.iterations;
  state.counters["seconds_per_outer"] = run.iterations > 0 ? run.seconds / run.iterations : 0.0;
}

}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("IterationsToConvergence", IterationsToConvergence)
      ->Arg(0)
      ->Arg(1)
      ->Iterations(1)
      ->Unit(benchmark::kSecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("LevelBuild", LevelBuild)->Unit(benchmark::kMillisecond)->UseRealTime();
  auto *solve = benchmark::RegisterBenchmark("PressureAccelerator", PressureAccelerator);
  for (int threads : {0, 2, 4, 8}) solve->Arg(threads);
  solve->Unit(benchmark::kMillisecond)->UseRealTime();
  auto *outer = benchmark::RegisterBenchmark("OuterIteration", OuterIteration);
  for (int rule : {0, 10}) {
    for (int threads : {0, 4}) outer->Args({rule, threads});
  }
  outer->Unit(benchmark::kMillisecond)->UseRealTime();
  return runBenchmarks(argc, argv);
}
