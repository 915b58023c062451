// Thomas algorithm along the water columns: P and Q in Cpt and Cqt, a pivot
// kept from zero by 1e-20; no sweeps and no relaxation of its own.
#include "solvers/line_solver.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/qn_stencil.h"
#include "solvers/stencil.h"

namespace {

// The explicit part of cell c's row: the four horizontal neighbours at their
// current values plus the source.
// On a grid of independently layered columns a listed side sums its cells.
inline double horizontalTerms(int c) {
  if (QNFlag > 0) return qnHorizontalTerms<false>(OwnField{Cf}, c) + Csource[c];
  return Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] + Can[c] * Cf[Ccelln[c]] + Cas[c] * Cf[Ccells[c]] +
         Csource[c];
}

// Forward elimination over first..last from P = Q = 0 below first; nothing of
// Cf is written, so every row reads the values from before the pass.
void eliminate(int first, int last) {
  double p = 0.0, q = 0.0;
  for (int c = first; c <= last; ++c) {
    const double d = Cap[c] - p * Cab[c] + 1e-20;
    p = Cat[c] / d;
    q = (horizontalTerms(c) + Cab[c] * q) / d;
    Cpt[c] = p;
    Cqt[c] = q;
  }
}

void substituteDown(int first, int last, double above) {
  for (int c = last; c >= first; --c) {
    above = Cpt[c] * above + Cqt[c];
    Cf[c] = above;
  }
}

}  // namespace

void solverTDMA() {
  int first = WCStart, last = WCEnd;
  if (sou[Equation] == 1 && Caee) {
    first = 1;
    last = NoCells;
  }
  if (first > last) return;
  Cpt[first - 1] = 0.0;
  Cqt[first - 1] = 0.0;
  eliminate(first, last);
  // The last row's coupling upward reads the cell numbered next to it.
  const double above = last + 1 < MaxCeller ? Cf[last + 1] : 0.0;
  substituteDown(first, last, above);
}

void solverVertTDMA() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &bl = block[b];
    if (bl.GridLevel != 0) continue;
    for (int i = bl.i2; i >= bl.i1; --i) {
      for (int j = bl.j1; j <= bl.j2; ++j) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom <= 0) continue;
        int top = bottom;
        while (Ccellt[top] > 0) top = Ccellt[top];
        if (top - bottom <= 3) continue;
        eliminate(bottom, top);
        substituteDown(bottom, top, 0.0);
      }
    }
  }
}
