// Solvers of one grain size: solver2 (shared sides, the size's own vertical,
// centre and source rows, optionally the implicit pick-up from the bed),
// solver2m (all rows of the size) and solver2bed (the bottom cells as one
// plane). Write the field behind Cf, Cfn, and with F 253 1 Bsource[l].
#include "solvers/sediment_solvers.h"

#include <algorithm>
#include <vector>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/column_blocks.h"
#include "solvers/stencil.h"

namespace {

// Every call makes five symmetric sweeps, whatever sweeps[7] says: the
// caller repeats the solve iter_morph times within a time step.
constexpr int kSweeps = 5;

// The stencil of size l: its own centre, vertical and source rows, the side
// rows shared by all sizes or, with `ownSides`, its own too.
Stencil sizeStencil(int l, bool ownSides, bool secondOrder) {
  Stencil s = currentStencil(secondOrder);
  s.ap = Capm[l];
  s.at = Catm[l];
  s.ab = Cabm[l];
  s.src = Csourcem[l];
  if (ownSides) {
    s.ae = Caem[l];
    s.aw = Cawm[l];
    s.an = Canm[l];
    s.as = Casm[l];
  }
  return s;
}

// The bed-plane update: the four horizontal neighbours and the source.
template <class Field>
inline double bedPlaneValue(const Stencil &s, const Field &f, int c) {
  return (s.ae[c] * f.load(s.ne[c]) + s.aw[c] * f.load(s.nw[c]) + s.an[c] * f.load(s.nn[c]) +
          s.as[c] * f.load(s.ns[c]) + s.src[c]) /
         s.ap[c];
}

// Symmetric sweeps in place over first..last on the calling thread; `update`
// returns the new value of a cell from the field as it stands.
template <class Update>
void serialInPlace(int first, int last, Update &&update) {
  for (int n = 0; n < kSweeps; ++n) {
    for (int c = first; c <= last; ++c) update(c);
    for (int c = last; c >= first; --c) update(c);
  }
}

// Symmetric sweeps in place on the static thread shares: upward each thread
// its share in increasing order, downward its share of the reversed sequence.
// Border cells are read while their owner writes them (relaxed atomics).
template <class Update>
void sharesInPlace(int first, int last, Update &&update) {
  for (int n = 0; n < kSweeps; ++n) {
    forEachThreadShare(first, last, [&](int a, int b) {
      for (int c = a; c <= b; ++c) update(c);
    });
    forEachThreadShare(0, last - first, [&](int a, int b) {
      for (int m = a; m <= b; ++m) update(last - m);
    });
  }
}

// The block bounds, grown to the largest block count asked, never per call.
std::vector<int> blockBounds;

int *boundTable(int blocks) {
  if (static_cast<int>(blockBounds.size()) < blocks + 1) {
    blockBounds.assign(static_cast<std::size_t>(std::max(33, blocks + 1)), 0);
  }
  return blockBounds.data();
}

// Column blocks: Cfn takes the field, then each sweep an upward region that
// writes Cfn and a downward region that writes the field, every block of
// whole columns on one thread. Outside first..last Cfn holds the field, so the
// half-steps read there what the field holds, not another equation's values.
template <class Up, class Down>
void columnBlocks(int first, int last, Up &&up, Down &&down) {
  Cf[0] = Cfn[0] = 0.0;
  const int blocks = sedimentSolverBlocks();
  int *bound = boundTable(blocks);
  cutColumnBlocks(first, last, blocks, false, bound);
  for (int c = 1; c < first; ++c) Cfn[c] = Cf[c];
  for (int c = last + 1; c <= NoCells; ++c) Cfn[c] = Cf[c];
  forEachThreadShare(1, blocks, [bound](int a, int b) {
    for (int k = a; k <= b; ++k) {
      if (bound[k] > bound[k - 1]) std::copy(Cf + bound[k - 1] + 1, Cf + bound[k] + 1, Cfn + bound[k - 1] + 1);
    }
  });
  for (int n = 0; n < kSweeps; ++n) {
    forEachThreadShare(1, blocks, [&](int a, int b) {
      for (int k = a; k <= b; ++k) {
        for (int c = bound[k - 1] + 1; c <= bound[k]; ++c) up(c);
      }
    });
    forEachThreadShare(1, blocks, [&](int a, int b) {
      for (int k = a; k <= b; ++k) {
        for (int c = bound[k]; c > bound[k - 1]; --c) down(c);
      }
    });
  }
}

// The seven-point column forms of solver2 and solver2m: upward the bottom
// neighbour from Cfn (already new in this column), downward the top one from
// the field; the horizontal neighbours from the array the region leaves alone.
void sevenPointColumns(const Stencil &s, int first, int last) {
  const OwnField f{Cf}, fn{Cfn};
  columnBlocks(
      first, last, [&](int c) { Cfn[c] = (neighbourTerms<false>(s, f, f, fn, c) + s.src[c]) / s.ap[c]; },
      [&](int c) { Cf[c] = (neighbourTerms<false>(s, fn, f, fn, c) + s.src[c]) / s.ap[c]; });
}

template <bool SecondOrder>
void pointSweeps(const Stencil &s, int first, int last, bool shares) {
  if (shares) {
    const SharedField f{Cf};
    sharesInPlace(first, last, [&](int c) { f.store(c, relaxed<SecondOrder>(s, f, c)); });
  } else {
    const OwnField f{Cf};
    serialInPlace(first, last, [&](int c) { Cf[c] = relaxed<SecondOrder>(s, f, c); });
  }
}

// F 253 1: a bottom cell takes from the bed what the layer offers, the
// pick-up E = p·Bconc·w·A·1000, but never more than settles onto the bed plus
// what layer 1 holds of the size per time step. The last backward pass leaves
// the exchange in Bsource[l] for the bed balance.
void implicitExchangeSweeps(const Stencil &s, int l, int first, int last) {
  const double w = fallvelo[l], perStep = 1000.0 * SolidFrac / TimeStep;
  double *const *layer = BSedDistrib[1];
  const OwnField f{Cf};
  auto exchange = [&](int c) {
    const int b = Cbed[c];
    const double A = Barea[b], p = layer[l][b], h = layer[0][b];
    const double E = p * Bconc[l][b] * w * A * 1000.0;
    const double L = Cf[c] * w * 1000.0 * A + A * p * h * perStep;
    return std::min(E, L);
  };
  for (int n = 0; n < kSweeps; ++n) {
    for (int c = first; c <= last; ++c) {
      const double term = Ccellb[c] == 0 ? exchange(c) : 0.0;
      Cf[c] = (neighbourTerms<false>(s, f, f, f, c) + s.src[c] + term) / s.ap[c];
    }
    for (int c = last; c >= first; --c) {
      double term = 0.0;
      if (Ccellb[c] == 0) {
        term = exchange(c);
        Bsource[l][Cbed[c]] = term;
      }
      Cf[c] = (neighbourTerms<false>(s, f, f, f, c) + s.src[c] + term) / s.ap[c];
    }
  }
}

bool columnBlockSolver() { return FlagRapSolver == 31 || FlagRapSolver == 33; }
bool serialSolver() { return FlagRapSolver >= 21 && FlagRapSolver <= 29; }

}  // namespace

int sedimentSolverBlocks() {
  if (FlagOpenMP[8] > 0) return 1;
  return NoProcessesSolver > 0 ? NoProcessesSolver : 1;
}

void solver2(int l) {
  const int first = WCStart, last = WCEnd;
  const bool secondOrder = sou[Equation] == 1;
  if (FlagImplicitSedim == 1) {
    implicitExchangeSweeps(sizeStencil(l, false, false), l, first, last);
    return;
  }
  const Stencil s = sizeStencil(l, false, secondOrder);
  if (columnBlockSolver() && !secondOrder) {
    sevenPointColumns(s, first, last);
  } else if (secondOrder) {
    pointSweeps<true>(s, first, last, !serialSolver());
  } else {
    pointSweeps<false>(s, first, last, !serialSolver());
  }
}

void solver2m(int l) {
  if (sou[Equation] == 1) return;  // its coefficient builder builds nothing for scheme 1
  const int first = WCStart, last = WCEnd;
  const Stencil s = sizeStencil(l, true, false);
  if (columnBlockSolver()) {
    sevenPointColumns(s, first, last);
  } else {
    pointSweeps<false>(s, first, last, !serialSolver());
  }
}

void solver2bed(int l) {
  const int first = WCStart, last = WCEnd;
  const Stencil s = sizeStencil(l, false, false);
  const int *below = Ccellb;
  if (columnBlockSolver()) {
    // A Jacobi iteration on the bed plane: each region reads one array and
    // writes the other.
    const OwnField f{Cf}, fn{Cfn};
    columnBlocks(
        first, last, [&](int c) { if (below[c] == 0) Cfn[c] = bedPlaneValue(s, f, c); },
        [&](int c) { if (below[c] == 0) Cf[c] = bedPlaneValue(s, fn, c); });
  } else if (NoProcessesSolver >= 20 && NoProcessesSolver <= 30) {
    const SharedField f{Cf};
    sharesInPlace(first, last, [&](int c) {
      if (below[c] == 0) f.store(c, bedPlaneValue(s, f, c));
    });
  } else {
    const OwnField f{Cf};
    serialInPlace(first, last, [&](int c) {
      if (below[c] == 0) Cf[c] = bedPlaneValue(s, f, c);
    });
  }
}
