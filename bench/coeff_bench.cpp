// Cost of the transport-equation kernels on a generated channel of about
// 100,000 cells: one coefficient build of the power law, the pressure-
// correction coefficients, and one pressure-correction solve (15 symmetric
// sweeps), each serial and on 4 threads. Reported in seconds per million
// cells, so that machines can be compared. Works in a temporary folder.
#include <benchmark/benchmark.h>

#include "bench_support.h"
#include "flow/equation_terms/pressure_coefficients.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"
#include "solvers/point_solver.h"
#include "startup/control_reader.h"

namespace {

constexpr int kLinesI = 223;  // grid lines along the channel: 222 columns of 1 m, 9 cells deep
constexpr int kLinesJ = 51;   // grid lines across: 50 columns

// The channel generated once, with a uniform flow of 0.5 m/s along x, an eddy
// viscosity of 0.01 m2/s and momentum coefficients that a flow solution
// would leave behind.
void prepare() {
  if (!enterTemporaryFolder()) return;
  kreadDefaults();
  xnumber = kLinesI + 2;
  ynumber = kLinesJ + 2;
  znumber = 11;
  MaxCeller = MaxFlater = MaxPunkter = 600000;
  if (sialloc() != 0 || AllocateArrays(1, 1, 1) < 0) std::abort();
  writeChannelKoosurf(kLinesI, kLinesJ, 1.0, 0.001, 2.0);
  readKoosurf();
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 1000.0 * 0.5 * Fax[f];
  for (int c = 1; c <= NoCells; ++c) {
    Cgamma[c] = CgammaV[c] = 10.0;
    CinvAp[c] = 1e-3;
  }
  WCStart = 1;
  WCEnd = NoCells;
  WFStart = 1;
  WFEnd = NoSurfaces;
}

void setThreads(int threads) {
  NoProcessesSolver = threads;
  fixThreadCount(threads > 0 ? threads : 1);
}

void perMillionCells(benchmark::State &state) {
  state.counters["cells"] = NoCells;
  state.counters["s/Mcell"] =
      benchmark::Counter(NoCells * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// The momentum build of U over all faces; on threads the faces are cut into
// F 206 chunks as the coefficient stages of the drivers cut them.
void CoefficientBuild(benchmark::State &state) {
  prepare();
  setThreads(static_cast<int>(state.range(0)));
  Equation = 1;
  for (auto _ : state) {
    forEachChunk(WFStart, WFEnd, [](int first, int last) { coeff_make(first, last); });
    benchmark::DoNotOptimize(Cae[NoCells / 2]);
  }
  perMillionCells(state);
}
BENCHMARK(CoefficientBuild)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

void PressureCoefficients(benchmark::State &state) {
  prepare();
  setThreads(static_cast<int>(state.range(0)));
  Equation = 4;
  for (auto _ : state) {
    pressure_coeff();
    benchmark::DoNotOptimize(Cae[NoCells / 2]);
  }
  perMillionCells(state);
}
BENCHMARK(PressureCoefficients)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

// One solve of the pressure correction: Cap the sum of the neighbours, the
// outflow end held at 0 by the 1e30 rule, a defect of 1 kg/s in every cell.
void PressureSolve(benchmark::State &state) {
  prepare();
  setThreads(static_cast<int>(state.range(0)));
  Equation = 4;
  pressure_coeff();
  for (int c = 1; c <= NoCells; ++c) {
    Cap[c] = Cae[c] + Caw[c] + Can[c] + Cas[c] + Cat[c] + Cab[c] + 1e-10;
    Csource[c] = 1.0;
    if (Ccelle[c] == 0) Cap[c] += 1e30;
  }
  Cf = Cpres;
  for (auto _ : state) {
    solver();
    benchmark::DoNotOptimize(Cf[NoCells / 2]);
  }
  perMillionCells(state);
}
BENCHMARK(PressureSolve)->Arg(0)->Arg(4)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char **argv) { return runBenchmarks(argc, argv); }
