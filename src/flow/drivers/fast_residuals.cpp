// Residuals of U, V, W, k and epsilon in the fast flow driver: per row the
// summed size of the Jacobi change of every cell, normalised. Writes the
// residual fields and MaxResidual[1, 2, 3, 5, 6]; MaxResidual[4] is the
// pressure correction's.
#include "flow/drivers/fast_residuals.h"

#include <cmath>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/stencil.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr int kRows = 5;
// The equation number of each row's residual: U, V, W, k, epsilon.
constexpr int kEquationOfRow[kRows] = {1, 2, 3, 5, 6};

template <bool SecondOrder>
void sumRows(double (&sums)[kRows]) {
  const Stencil s = currentStencil(SecondOrder);
  double *keep[kRows] = {Cxvel_res, Cyvel_res, Czvel_res, Ckinen_res, Cepsilon_res};
  for (int c = WCStart; c <= WCEnd; ++c) {
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
  double sums[kRows] = {0.0, 0.0, 0.0, 0.0, 0.0};
  if (sou[Equation] == 1) {
    sumRows<true>(sums);
  } else {
    sumRows<false>(sums);
  }
  for (int l = 0; l < kRows; ++l) MaxResidual[kEquationOfRow[l]] = sums[l] / NormResidual[kEquationOfRow[l]];
}
