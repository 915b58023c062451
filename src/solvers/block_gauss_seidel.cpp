// Block-parallel Gauss-Seidel variants: each chooses its stencil form once,
// forks its regions from the caller's thread and writes only its own cells,
// so that the column-block variants give one field on any thread count.
#include "solvers/block_gauss_seidel.h"

#include <algorithm>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "solvers/column_blocks.h"
#include "solvers/qn_neighbour_lists.h"
#include "solvers/stencil.h"
#include "base/log.h"

namespace {

// The block bounds, sized on first use for the blocks the thread count asks
// (at least 16 blocks and one bound for every thread of F 206), never per call.
std::vector<int> blockBounds;

int *boundTable(int blocks) {
  if (static_cast<int>(blockBounds.size()) < blocks + 1) {
    blockBounds.assign(static_cast<std::size_t>(std::max({33, blocks + 1, NoProcessesSolver + 1})), 0);
  }
  return blockBounds.data();
}

// Cells outside first..last keep their current value in Cfn, so that the
// second half-steps read there what the field holds, not another equation's
// leftovers. A range over the whole grid copies nothing.
void copyOutsideRange(int first, int last) {
  for (int c = 1; c < first; ++c) Cfn[c] = Cf[c];
  for (int c = last + 1; c <= NoCells; ++c) Cfn[c] = Cf[c];
}

template <bool SO>
void jacobiStep(const Stencil &s, const double *src, double *dst, int first, int last) {
  const OwnField f{const_cast<double *>(src)};
  for (int c = first; c <= last; ++c) dst[c] = relaxed<SO>(s, f, c);
}

// Upward form: the bottom term from Cfn (the new value of the cell below),
// everything else from the field.
template <bool SO, class Below>
void upward(const Stencil &s, const Below &fn, int first, int last) {
  const OwnField f{Cf};
  for (int c = first; c <= last; ++c) fn.store(c, (neighbourTerms<SO>(s, f, f, fn, c) + s.src[c]) / s.ap[c]);
}

// Downward form: the top term from the field (the new value of the cell
// above), everything else from Cfn.
template <bool SO, class Above>
void downward(const Stencil &s, const Above &f, int last, int first) {
  const OwnField fn{Cfn};
  for (int c = last; c >= first; --c) f.store(c, (neighbourTerms<SO>(s, fn, f, fn, c) + s.src[c]) / s.ap[c]);
}

// 27: one region for the whole sweep loop, Jacobi both ways on static shares.
template <bool SO>
void jacobiInOneRegion(const Stencil &s, int first, int last, int sweeps) {
  Cfn[0] = 0.0;
  copyOutsideRange(first, last);
  onEveryThread([&](int thread, int threads) {
    const IndexChunk share = shareOf(first, last, threads, thread);
    for (int n = 0; n < sweeps; ++n) {
      jacobiStep<SO>(s, Cf, Cfn, share.first, share.last);
      teamBarrier();
      teamBarrier();
      jacobiStep<SO>(s, Cfn, Cf, share.first, share.last);
      teamBarrier();
    }
  });
}

// 29: the same Jacobi iteration, one region per half-step.
template <bool SO>
void jacobiInRegions(const Stencil &s, int first, int last, int sweeps) {
  Cfn[0] = 0.0;
  copyOutsideRange(first, last);
  for (int n = 0; n < sweeps; ++n) {
    forEachThreadShare(first, last, [&](int a, int b) { jacobiStep<SO>(s, Cf, Cfn, a, b); });
    forEachThreadShare(first, last, [&](int a, int b) { jacobiStep<SO>(s, Cfn, Cf, a, b); });
  }
}

// 28, 7-point: in place on static shares, forward then backward, in one
// region; border cells are read while their owner writes them.
void inPlaceOnShares(const Stencil &s, int first, int last, int sweeps) {
  const int n = last - first + 1;
  onEveryThread([&](int thread, int threads) {
    const SharedField f{Cf};
    const IndexChunk up = shareOf(first, last, threads, thread);
    const IndexChunk down = shareOf(0, n - 1, threads, thread);
    for (int k = 0; k < sweeps; ++k) {
      for (int c = up.first; c <= up.last; ++c) f.store(c, relaxed<false>(s, f, c));
      teamBarrier();
      for (int m = down.first; m <= down.last; ++m) f.store(last - m, relaxed<false>(s, f, last - m));
      teamBarrier();
    }
  });
}

void clearDummyCell() {
  Cf[0] = 0.0;
  Cfn[0] = 0.0;
}

// 30: along the columns on static shares of cells; a share border may split
// a column, so the vertical neighbour is read with relaxed atomics.
template <bool SO>
void columnsOnShares(const Stencil &s, int first, int last, int sweeps) {
  const int n = last - first + 1;
  clearDummyCell();
  copyOutsideRange(first, last);
  forEachThreadShare(first, last, [](int a, int b) { std::copy(Cf + a, Cf + b + 1, Cfn + a); });
  for (int k = 0; k < sweeps; ++k) {
    forEachThreadShare(first, last, [&](int a, int b) { upward<SO>(s, SharedField{Cfn}, a, b); });
    forEachThreadShare(0, n - 1, [&](int a, int b) { downward<SO>(s, SharedField{Cf}, last - a, last - b); });
  }
}

// 31, 32, 33: along the columns on blocks of whole columns, each block on one
// thread; the result depends neither on the blocks nor on the threads.
template <bool SO>
void columnsOnBlocks(const Stencil &s, int first, int last, int sweeps, bool sixteenBlocks) {
  int blocks = 16;
  if (!sixteenBlocks) blocks = FlagOpenMP[8] == 1 || NoProcessesSolver <= 0 ? 1 : NoProcessesSolver;
  int *bound = boundTable(blocks);
  clearDummyCell();
  cutColumnBlocks(first, last, blocks, sixteenBlocks, bound);
  copyOutsideRange(first, last);
  forEachThreadShare(1, blocks, [bound](int a, int b) {
    for (int k = a; k <= b; ++k) {
      if (bound[k] > bound[k - 1]) std::copy(Cf + bound[k - 1] + 1, Cf + bound[k] + 1, Cfn + bound[k - 1] + 1);
    }
  });
  for (int n = 0; n < sweeps; ++n) {
    forEachThreadShare(1, blocks, [&](int a, int b) {
      for (int k = a; k <= b; ++k) upward<SO>(s, OwnField{Cfn}, bound[k - 1] + 1, bound[k]);
    });
    if (sixteenBlocks) {
      forEachThreadShare(0, blocks - 1, [&](int a, int b) {
        for (int m = a; m <= b; ++m) downward<SO>(s, OwnField{Cf}, bound[blocks - m], bound[blocks - m - 1] + 1);
      });
    } else {
      forEachThreadShare(1, blocks, [&](int a, int b) {
        for (int k = a; k <= b; ++k) downward<SO>(s, OwnField{Cf}, bound[k], bound[k - 1] + 1);
      });
    }
  }
}

// The serial forms: in-place symmetric sweeps, or with the 13-point stencil
// pairs of Jacobi steps each copied back; both multiply by 1/Cap.
void serialVariant(int first, int last, int sweeps) {
  if (QNFlag > 0) {
    GaussNQN(first, last);
    return;
  }
  for (int c = first; c <= last; ++c) CnInvAp[c] = 1.0 / Cap[c];
  const double *inv = CnInvAp;
  if (sou[Equation] != 1) {
    const Stencil s = currentStencil(false);
    const OwnField f{Cf};
    for (int n = 0; n < sweeps; ++n) {
      for (int c = first; c <= last; ++c) Cf[c] = (neighbourTerms<false>(s, f, f, f, c) + s.src[c]) * inv[c];
      for (int c = last; c >= first; --c) Cf[c] = (neighbourTerms<false>(s, f, f, f, c) + s.src[c]) * inv[c];
    }
    return;
  }
  const Stencil s = currentStencil(true);
  const OwnField f{Cf};
  for (int n = 0; n < 2 * sweeps; ++n) {
    for (int c = first; c <= last; ++c) Cfn[c] = (neighbourTerms<true>(s, f, f, f, c) + s.src[c]) * inv[c];
    if (first <= last) std::copy(Cfn + first, Cfn + last + 1, Cf + first);
  }
}

template <bool SO>
void parallelVariant(int variant, int first, int last, int sweeps) {
  const Stencil s = currentStencil(SO);
  switch (variant) {
    case 27:
      jacobiInOneRegion<SO>(s, first, last, sweeps);
      break;
    case 28:
      inPlaceOnShares(s, first, last, sweeps);
      break;
    case 29:
      jacobiInRegions<SO>(s, first, last, sweeps);
      break;
    case 30:
      columnsOnShares<SO>(s, first, last, sweeps);
      break;
    case 32:
      columnsOnBlocks<SO>(s, first, last, sweeps, true);
      break;
    default:  // 31 and 33
      columnsOnBlocks<SO>(s, first, last, sweeps, false);
      break;
  }
}

}  // namespace

const int *OmpArray() { return blockBounds.data(); }

void GaussN(int first, int last, int sweeps) {
  const int variant = FlagRapSolver;
  const bool secondOrder = sou[Equation] == 1;
  // The parallel forms relax single neighbours only; on a grid of
  // independently layered columns they would drop the listed couplings.
  const bool parallel = variant >= 27 && variant <= 33 && !(variant == 28 && secondOrder) && QNFlag <= 0;
  if (!parallel) {
    serialVariant(first, last, sweeps);
  } else if (secondOrder) {
    parallelVariant<true>(variant, first, last, sweeps);
  } else {
    parallelVariant<false>(variant, first, last, sweeps);
  }
}
