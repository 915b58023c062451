// Cross-section continuity corrections: the flux through the east faces of
// each cross-section of block 1 against the inflow discharge Q1 of group 1,
// and the factor f = Q1 / F that would make them equal.
#include "flow/corrections/continuity_corrections.h"

#include <algorithm>
#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

int bottomCellOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Calls visit(c) for every cell of cross-section i of block 1, bottom up.
template <class Visit>
void eachSectionCell(int i, Visit &&visit) {
  const GridBlock &b = block[1];
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int c = bottomCellOf(i, j); c > 0; c = Ccellt[c]) visit(c);
  }
}

// Q1 / (flux through the east faces of cross-section i + 1e-20).
double sectionFactor(int i) {
  double flux = 0.0;
  eachSectionCell(i, [&](int c) { flux += Fflux[Cflatee[c]]; });
  return DischargeStruct[1].discharge / (flux + 1e-20);
}

// A factor that may scale a cross-section: a section with net reverse flow
// (or none at all) would have every flux or velocity flipped or blown up.
bool scales(double f) { return std::isfinite(f) && f > 0.0; }

}  // namespace

void correctContinuity() {
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    const double f = sectionFactor(i);
    if (!scales(f)) continue;
    eachSectionCell(i, [&](int c) { Fflux[Cflatee[c]] *= f; });
  }
}

void correctContinuity2() {
  const int eq = Equation;
  if (eq != 1 && eq != 4) return;
  const GridBlock &b = block[1];
  const int last = std::min(b.i2, surfaceDampSec);
  for (int i = b.i1; i <= last; ++i) {
    const double f = sectionFactor(i);
    if (eq == 1) {
      // A section short of Q1 is driven by at most 2 Cap per cell; one that
      // passes Q1 or more gets nothing.
      const double push = (f >= 3.0 ? 3.0 : std::max(f, 1.0)) - 1.0;
      if (push > 0.0) eachSectionCell(i, [&](int c) { Csource[c] += Cap[c] * push; });
    } else if (scales(f)) {
      eachSectionCell(i, [&](int c) { Cxvel[c] *= f; });
    }
  }
}

void setVelocitiesZero() {
  if (!Cxvel_old) return;
  for (int c = 1; c <= NoCells; ++c) {
    Cxvel_old[c] = Cxvel[c];
    Cyvel_old[c] = Cyvel[c];
    Czvel_old[c] = Czvel[c];
    Cxvel[c] = Cyvel[c] = Czvel[c] = 0.0;
  }
  auto restore = [](int c) {
    Cxvel[c] = Cxvel_old[c];
    Cyvel[c] = Cyvel_old[c];
    Czvel[c] = Czvel_old[c];
  };
  for (int p = 1; p <= NoVProfiles; ++p) {
    const VProfileEntry &r = VProfiles[p];
    const int di = std::max(r.iStep, 1), dj = std::max(r.jStep, 1);
    for (int i = r.i1; i <= r.i2; i += di) {
      for (int j = r.j1; j <= r.j2; j += dj) {
        const int bottom = bottomCellOf(i, j);
        if (bottom <= 0 || Ccellt[bottom] <= 0) continue;  // dry or a single cell
        int top = bottom;
        while (Ccellt[top] > 0) top = Ccellt[top];
        restore(bottom);
        restore(top);
      }
    }
  }
}
