// Residuals of U, V, W, k and epsilon in the fast flow driver: per row the
// summed size of the Jacobi change of every cell, normalised. Writes the
// residual fields and MaxResidual[1, 2, 3, 5, 6]; MaxResidual[4] is the
// pressure correction's.
#include "flow/drivers/fast_residuals.h"

#include <array>
#include <cmath>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/stencil.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr int kRows = 5;
// The equation number of each row's residual: U, V, W, k, epsilon.
constexpr int kEquationOfRow[kRows] = {1, 2, 3, 5, 6};

template <bool SecondOrder>
void sumRows(int first, int last, double (&sums)[kRows]) {
  const Stencil s = currentStencil(SecondOrder);
  double *keep[kRows] = {Cxvel_res, Cyvel_res, Czvel_res, Ckinen_res, Cepsilon_res};
  for (int c = first; c <= last; ++c) {
    for (int l = 0; l < kRows; ++l) {
      const double inv = CinvApf[l][c];
      // A fixed value (1e30 on the diagonal) has a tiny reciprocal.
      if (!(inv > 1e-14)) continue;
      const OwnField f{Cff[l]};
      const double r = (neighbourTerms<SecondOrder>(s, f, f, f, c) + Csourcem[l][c] - Cff[l][c] / inv) * inv;
      if (keep[l]) keep[l][c] = r;
      sums[l] += std::fabs(r);
    }
  }
}

}  // namespace

void residualFast() {
  for (int e = 1; e <= 6; ++e) {
    if (NormResidual[e] < 1e-10) {
      fatalPrintf(kExitInconsistent, nullptr, "Error, residual not set for equation no. %d\n", e);
    }
  }
  // One sum per cell chunk of F 206, added in the order of the chunks, so
  // that a run gives the same residuals whatever the thread timing.
  const int chunks = NoProcessesSolver > 0 ? NoProcessesSolver : 1;
  static std::vector<std::array<double, kRows>> chunkSums;
  if (static_cast<int>(chunkSums.size()) < chunks) chunkSums.resize(chunks);
  const bool second = sou[Equation] == 1;
  const int first = WCStart, last = WCEnd;
  forEachChunk(0, chunks - 1, [&](int a, int b) {
    for (int k = a; k <= b; ++k) {
      const IndexChunk cells = chunkOf(first, last, chunks, k);
      double part[kRows] = {0.0, 0.0, 0.0, 0.0, 0.0};
      if (second) sumRows<true>(cells.first, cells.last, part);
      else sumRows<false>(cells.first, cells.last, part);
      for (int l = 0; l < kRows; ++l) chunkSums[k][l] = part[l];
    }
  });
  double sums[kRows] = {0.0, 0.0, 0.0, 0.0, 0.0};
  for (int k = 0; k < chunks; ++k)
    for (int l = 0; l < kRows; ++l) sums[l] += chunkSums[k][l];
  for (int l = 0; l < kRows; ++l) MaxResidual[kEquationOfRow[l]] = sums[l] / NormResidual[kEquationOfRow[l]];
}
