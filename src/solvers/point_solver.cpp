// Symmetric point Gauss-Seidel on the coefficient set, serial or on the chunks
// of the F 206 threads, and the dispatcher that picks the execution. Writes
// only the field behind Cf.
#include "solvers/point_solver.h"

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/block_gauss_seidel.h"
#include "solvers/fast_solver.h"
#include "solvers/qn_neighbour_lists.h"
#include "solvers/stencil.h"

namespace {

template <bool SecondOrder, class Field>
void sweep(const Stencil &s, const Field &f, int first, int last, int sweeps) {
  for (int n = 0; n < sweeps; ++n) {
    for (int c = first; c <= last; ++c) f.store(c, relaxed<SecondOrder>(s, f, c));
    for (int c = last; c >= first; --c) f.store(c, relaxed<SecondOrder>(s, f, c));
  }
}

// The kernel of the current equation, chosen once per call.
template <class Field>
void relaxRange(int first, int last, int sweeps) {
  const bool secondOrder = sou[Equation] == 1;
  const Stencil s = currentStencil(secondOrder);
  const Field f{Cf};
  if (secondOrder) {
    sweep<true>(s, f, first, last, sweeps);
  } else {
    sweep<false>(s, f, first, last, sweeps);
  }
}

// Chunks of equal cell counts relaxed concurrently, each with its own sweeps;
// the chunks exchange values only through the shared field.
void chunkedGauss(int first, int last, int sweeps) {
  if (QNFlag > 0) {
    forEachChunk(first, last, [](int a, int b) { GaussQNShared(a, b); });
    return;
  }
  forEachChunk(first, last, [sweeps](int a, int b) { relaxRange<SharedField>(a, b, sweeps); });
}

}  // namespace

void Gauss(int first, int last, int sweeps) {
  if (QNFlag > 0) {
    GaussQN(first, last, sweeps);
    return;
  }
  relaxRange<OwnField>(first, last, sweeps);
}

int solverSweeps() { return Equation == 4 ? 3 * sweeps[Equation] : sweeps[Equation]; }

SolverExecution solverExecution() {
  if (FlagThixo > 0 && FlagThixoIsComputing == 1 && Cthixolev) return SolverExecution::Serial;
  if (FlagRapSolver > 20) return SolverExecution::BlockParallel;
  if (NoProcessesSolver != 0) return FlagOpenMP[8] == 1 ? SolverExecution::Serial : SolverExecution::Chunked;
  if (FlagFastWatersolve == 0 || FlagOpenMP[8] == 1) return SolverExecution::Serial;
  if (FlagFastWatersolve == 1) return SolverExecution::Fast;
  // F 170 of 2 or more without threads has no chunk count: serial.
  return SolverExecution::Serial;
}

void solver() {
  const int n = solverSweeps();
  switch (solverExecution()) {
    case SolverExecution::Chunked:
      chunkedGauss(WCStart, WCEnd, n);
      break;
    case SolverExecution::BlockParallel:
      GaussN(WCStart, WCEnd, n);
      break;
    case SolverExecution::Fast:
      GaussFast(WCStart, WCEnd, n);
      break;
    case SolverExecution::Serial:
      Gauss(WCStart, WCEnd, n);
      break;
  }
}
