// Five fields relaxed together on one set of neighbour coefficients for the
// fast flow driver, and the point relaxation restricted to a mud layer.
#include "solvers/fast_solver.h"

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/stencil.h"

namespace {

constexpr int kFastRows = 5;

template <bool SO>
inline void relaxFiveRows(const Stencil &s, int c) {
  for (int m = 0; m < kFastRows; ++m) {
    const OwnField f{Cff[m]};
    Cff[m][c] = (neighbourTerms<SO>(s, f, f, f, c) + Csourcem[m][c]) * CinvApf[m][c];
  }
}

template <bool SO>
void fastSweeps(int first, int last, int sweeps) {
  const Stencil s = currentStencil(SO);
  for (int n = 0; n < sweeps; ++n) {
    for (int c = first; c <= last; ++c) relaxFiveRows<SO>(s, c);
    for (int c = last; c >= first; --c) relaxFiveRows<SO>(s, c);
  }
}

}  // namespace

void GaussFast(int first, int last, int sweeps) {
  // The second neighbours exist with the second-order scheme only; on a
  // neighbour-list grid with another scheme the 7-point form is the 13-point
  // one with zero second-neighbour coefficients.
  if (sou[Equation] == 1) {
    fastSweeps<true>(first, last, sweeps);
  } else {
    fastSweeps<false>(first, last, sweeps);
  }
}

void GaussThixo(int first, int last, int sweeps) {
  const OwnField f{Cf};
  if (sou[Equation] == 1) {
    const Stencil s = currentStencil(true);
    for (int n = 0; n < sweeps; ++n) {
      for (int c = first; c <= last; ++c) {
        if (Cthixolev[c] > 1) Cf[c] = relaxed<true>(s, f, c);
      }
    }
    return;
  }
  const Stencil s = currentStencil(false);
  for (int n = 0; n < sweeps; ++n) {
    for (int c = first; c <= last; ++c) Cf[c] = Cthixorat[c] > 1.0 ? relaxed<false>(s, f, c) : 0.0;
  }
}
