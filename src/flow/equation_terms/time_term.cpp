// The storage term of the transient equations (implicit Euler, extrapolated
// second order or Crank-Nicolson), the inner pseudo-time term, the collapsed
// cell and side-column treatments, and the diagonal lift of F 382.
#include "flow/equation_terms/time_term.h"

#include <algorithm>
#include <initializer_list>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "solvers/coefficients.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Storage of cell c in kg/s per unit of the variable over step dt.
inline double storage(int c, double dt) { return 1000.0 * Cvol[c] / dt; }

// The main term over first..last, one form chosen before the loop.
void addMainTerm(int first, int last) {
  const double dt = TimeStep;
  if (FlagTimeOrder == 0 && CrankNicols < 1e-8) {
    for (int c = first; c <= last; ++c) {
      const double d = storage(c, dt);
      Cap[c] += d;
      Csource[c] += d * Cf_old[c];
    }
    return;
  }
  if (FlagTimeOrder > 0 && CrankNicols < 1e-8) {
    for (int c = first; c <= last; ++c) {
      const double d = storage(c, dt);
      Cap[c] += d;
      Csource[c] += d * (2.0 * Cf_old[c] - Cf_old2[c]);
    }
    return;
  }
  // Crank-Nicolson: the explicit part of the neighbour fluxes at the old
  // time, weighted by CN/(1-CN). The old centre value enters with the sum of
  // the neighbour coefficients, so that a steady field stays steady.
  if (CrankNicols >= 1.0) fatalExit(kExitInconsistent, "Error for F 61 in control\n");
  const double g = CrankNicols / (1.0 - CrankNicols);
  const double *old = Cf_old;
  for (int c = first; c <= last; ++c) {
    const double d = storage(c, dt);
    const double oc = old[c];
    const double explicitPart = Can[c] * (old[Ccelln[c]] - oc) + Cas[c] * (old[Ccells[c]] - oc) +
                                Cae[c] * (old[Ccelle[c]] - oc) + Caw[c] * (old[Ccellw[c]] - oc) +
                                Cat[c] * (old[Ccellt[c]] - oc) + Cab[c] * (old[Ccellb[c]] - oc);
    Cap[c] += d;
    Csource[c] += d * oc + g * explicitPart;
  }
}

// The pseudo-time term of the inner iterations on one cell; it vanishes at
// convergence since it pulls towards the current value.
inline void addInnerTerm(int c) {
  const double d = storage(c, InnerTimestep);
  Cap[c] += d;
  Csource[c] += d * Cf[c];
}

// The velocity treatments of collapsed cells and the inner term variants.
void addVelocityTerms(int first, int last) {
  if (FlagCorrTrekant == 1) {
    for (int c = first; c <= last; ++c) {
      if (Ctrekant[c] == 0) continue;
      const double d = storage(c, TimeStep);
      Cap[c] += d;
      Csource[c] += d * Cf_old[c];
    }
  } else if (FlagCorrTrekant == 5) {
    for (int c = first; c <= last; ++c)
      if (Ctrekant[c] != 0) Csource[c] = 0.0;
  } else if (FlagInnerTimestep == 2) {
    for (int c = first; c <= last; ++c)
      if (Ctrekant[c] != 0) addInnerTerm(c);
  } else if (FlagInnerTimestep == 3) {
    if (Iter > 2)
      for (int c = first; c <= last; ++c) addInnerTerm(c);
  } else if (FlagInnerTimestep == 4) {
    if (FlagThixoIsComputing == 1)
      for (int c = first; c <= last; ++c) addInnerTerm(c);
  }
}

// Cap of the water column (i, j) multiplied by factor; a dry column has no
// bottom cell and is skipped.
void dampColumn(int i, int j, double factor) {
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) Cap[c] *= factor;
}

}  // namespace

bool sideDampingApplies() {
  return (FlagSideDamp == 1 && Equation >= 1 && Equation <= 3) || (FlagSideDamp == 2 && Equation == 5);
}

void addSideDamping() {
  if (!sideDampingApplies() || NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    dampColumn(i, b.j1, 4.0);
    dampColumn(i, b.j1 + 1, 2.0);
    dampColumn(i, b.j2, 4.0);
    dampColumn(i, b.j2 - 1, 2.0);
  }
}

void addTimestepCells(int first, int last) {
  if (first > last) return;
  const bool mainTerm = !(FlagPresStability == 1 && FlagThixoIsComputing == 0);
  if (mainTerm) addMainTerm(first, last);
  const bool inner = ((FlagInnerTimestep == 1 || FlagInnerTimestep == 5) &&
                      !(FlagPresStability == 2 && FlagThixoIsComputing != 1)) ||
                     (FlagInnerTimestep == 6 && FlagThixoIsComputing == 1);
  if (inner)
    for (int c = first; c <= last; ++c) addInnerTerm(c);
  if (Equation >= 1 && Equation <= 3) addVelocityTerms(first, last);
}

void addTimestep(int first, int last) {
  addTimestepCells(first, last);
  addSideDamping();
}

void addAp(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int e = Ccelle[c], w = Ccellw[c], s = Ccells[c], n = Ccelln[c];
    const int count = (e > 0) + (w > 0) + (s > 0) + (n > 0);
    if (count > 2) continue;
    for (int nb : {e, w, s, n})
      if (nb > 0) Cap[c] = std::max(Cap[c], Cap[nb] * Ckdist[c] / Ckdist[nb]);
  }
}
