// Symmetric point Gauss-Seidel on the coefficient set, serial or on the chunks
// of the F 206 threads, and the dispatcher that picks the execution. Writes
// only the field behind Cf.
#include "solvers/point_solver.h"

#include <atomic>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/qn_neighbour_lists.h"

namespace {

// Field access of one thread alone: plain loads and stores.
struct OwnField {
  double *v;
  double load(int k) const { return v[k]; }
  void store(int k, double x) const { v[k] = x; }
};

// Field access while other chunks relax the same field: a cell next to a chunk
// border reads cells another thread writes, so every access is one relaxed
// atomic load or store (a plain move on x86-64) and never sees a torn value.
struct SharedField {
  double *v;
  double load(int k) const { return std::atomic_ref<double>(v[k]).load(std::memory_order_relaxed); }
  void store(int k, double x) const { std::atomic_ref<double>(v[k]).store(x, std::memory_order_relaxed); }
};

// The arrays of the stencil, copied once per call so that the loop reads
// locals only.
struct Stencil {
  const double *ap, *ae, *aw, *an, *as, *at, *ab, *src;
  const int *ne, *nw, *nn, *ns, *nt, *nb;
  const double *aee, *aww, *ann, *ass, *att, *abb;
};

Stencil currentStencil(bool secondOrder) {
  Stencil s{Cap, Cae, Caw, Can, Cas, Cat, Cab, Csource, Ccelle, Ccellw, Ccelln, Ccells, Ccellt, Ccellb,
            nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
  if (secondOrder) {
    s.aee = Caee;
    s.aww = Caww;
    s.ann = Cann;
    s.ass = Cass;
    s.att = Catt;
    s.abb = Cabb;
  }
  return s;
}

// New value of cell c from its neighbours as they stand: the 7-point stencil,
// or the 13-point one with the neighbours' neighbours across the same sides.
template <bool SecondOrder, class Field>
inline double relaxed(const Stencil &s, const Field &f, int c) {
  double sum = s.ae[c] * f.load(s.ne[c]) + s.aw[c] * f.load(s.nw[c]) + s.an[c] * f.load(s.nn[c]) +
               s.as[c] * f.load(s.ns[c]) + s.at[c] * f.load(s.nt[c]) + s.ab[c] * f.load(s.nb[c]);
  if constexpr (SecondOrder) {
    sum += s.aee[c] * f.load(s.ne[s.ne[c]]) + s.aww[c] * f.load(s.nw[s.nw[c]]) +
           s.ann[c] * f.load(s.nn[s.nn[c]]) + s.ass[c] * f.load(s.ns[s.ns[c]]) +
           s.att[c] * f.load(s.nt[s.nt[c]]) + s.abb[c] * f.load(s.nb[s.nb[c]]);
  }
  return (sum + s.src[c]) / s.ap[c];
}

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
    GaussQN(first, last, sweeps);
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
    case SolverExecution::Serial:
    case SolverExecution::BlockParallel:
    case SolverExecution::Fast:
      Gauss(WCStart, WCEnd, n);
      break;
  }
}
