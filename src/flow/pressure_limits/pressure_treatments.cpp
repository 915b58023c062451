// Pressure and level treatments around the pressure update of the correction
// stage: Cpres from the continuity defect, the water-level change per column
// from p' (Bdeltah), the mud-layer clip and the free-surface top-cell pressure.
#include "flow/pressure_limits/pressure_treatments.h"

#include <algorithm>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/settings.h"

namespace {

// Mean p' of a column from cell c upwards, over the cell count of the whole
// column: a neighbour's walk starts at the neighbour, which need not be its
// column's bottom cell.
double columnMean(const double *p, int c) {
  double sum = 0.0;
  for (int k = c; k > 0; k = Ccellt[k]) sum += p[k];
  return sum / Bnocells[Cbed[c]];
}

}  // namespace

// F 258 = 100 sets, 101 adds a pressure proportional to the mass defect; the
// pressure correction is then not solved.
void stressTermPressure(int firstCell, int lastCell) {
  if (FlagStressTerm == 100) {
    for (int c = firstCell; c <= lastCell; ++c) Cpres[c] = 0.2 * Csource[c];
  } else if (FlagStressTerm == 101) {
    for (int c = firstCell; c <= lastCell; ++c) Cpres[c] += 0.2 * Csource[c];
  }
}

// F 271: a column whose mean p' stands above its neighbours' rises; the
// difference in Pa becomes metres of water (0.0001019 ~ 1/9810), relaxed by
// the pressure relaxation of K 3. A column without a neighbour is reset.
void levelCorrection(int firstCell, int lastCell) {
  const double *p = Cf;
  const double r = relax[4];
  for (int c = firstCell; c <= lastCell; ++c) {
    if (Ccellb[c] != 0) continue;
    const double own = columnMean(p, c);
    const int around[4] = {Ccellw[c], Ccelle[c], Ccells[c], Ccelln[c]};
    double sum = 0.0;
    int count = 0;
    for (int m : around) {
      if (m <= 0 || Bnocells[Cbed[m]] <= 0) continue;
      sum += own - columnMean(p, m);
      ++count;
    }
    double &dh = Bdeltah[Cbed[c]];
    if (count == 0) dh = 0.0;
    else dh += r * (sum * 0.0001019 / count);
  }
}

// F 372 = 2 while the mud layer is computed: no negative pressure, and no
// cell of a column above the hydrostatic pressure at its centre, counted
// from the column top.
void mudPressureClip(int firstCell, int lastCell) {
  for (int c = firstCell; c <= lastCell; ++c) {
    Cpres[c] = std::max(Cpres[c], 0.0);
    if (Ccellt[c] != 0 || Bcellt[Cbed[c]] == c) continue;
    double d = 0.0;
    for (int k = c; k > 0; k = Ccellb[k]) {
      d += Ckdist[k];
      Cpres[k] = std::min(Cpres[k], 9810.0 * d);
      d += Ckdist[k];
    }
  }
}

// F 36 = 11: the top cell's pressure on the line from the cell below to 0
// at the water surface.
void topCellPressure(int firstCell, int lastCell) {
  for (int c = firstCell; c <= lastCell; ++c) {
    const int b = Ccellb[c];
    if (Ccellt[c] == 0 && b > 0) Cpres[c] = Cpres[b] * Ckdist[c] / (2.0 * Ckdist[c] + Ckdist[b]);
  }
}
