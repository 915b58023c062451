// Continuity-based level: the net inflow through the side faces of a top
// cell raises its column; inflow faces couple a column to its upstream
// neighbour, outflow faces add to its diagonal. Writes the coefficient set,
// Cf and the grid levels.
#include "surface/level_algorithms/continuity_level.h"

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/point_solver.h"
#include "base/log.h"
#include "surface/surface_columns.h"

namespace {

double edgeSum(int t, int c, const int *top1, const int *top2, const int *bottom1, const int *bottom2) {
  return Pz[top1[t]] + Pz[top2[t]] - Pz[bottom1[c]] - Pz[bottom2[c]] + 1e-20;
}

// The columns of the four sides of grid point (i, j), filled once through
// the neighbours of the present ones.
int pointColumns(int i, int j, int k[4]) {
  k[0] = static_cast<int>(zval[i][j][0]);
  k[1] = static_cast<int>(zval[i][j + 1][0]);
  k[2] = static_cast<int>(zval[i + 1][j + 1][0]);
  k[3] = static_cast<int>(zval[i + 1][j][0]);
  if (k[0] + k[1] + k[2] + k[3] <= 0) return 0;
  if (k[0] == 0 && k[1] != 0) k[0] = Ccells[k[1]];
  if (k[0] == 0 && k[3] != 0) k[0] = Ccellw[k[3]];
  if (k[1] == 0 && k[0] != 0) k[1] = Ccelln[k[0]];
  if (k[1] == 0 && k[2] != 0) k[1] = Ccellw[k[2]];
  if (k[2] == 0 && k[1] != 0) k[2] = Ccelle[k[1]];
  if (k[2] == 0 && k[3] != 0) k[2] = Ccelln[k[3]];
  if (k[3] == 0 && k[0] != 0) k[3] = Ccelle[k[0]];
  if (k[3] == 0 && k[2] != 0) k[3] = Ccells[k[2]];
  return (k[0] != 0) + (k[1] != 0) + (k[2] != 0) + (k[3] != 0);
}

}  // namespace

void surface_continuity() {
  const bool steady = TimeStep <= 1e-8;
  int held = 0;
  for (int c = 1; c <= NoCells; ++c) {
    Csource[c] = Cas[c] = Can[c] = Cae[c] = Caw[c] = 0.0;
    if (Ccellb[c] != 0) {
      Cap[c] = 1e20;
      continue;
    }
    const int t = topOf(c);
    Cap[c] = Farea[Cflateb[c]] * TimeStep;
    double qs = 0.0, qw = 0.0, qn = 0.0, qe = 0.0;
    for (int k = c; k > 0; k = Ccellt[k]) {
      qs += Fflux[Cflates[k]];
      qw += Fflux[Cflatew[k]];
      qn += Fflux[Cflaten[k]];
      qe += Fflux[Cflatee[k]];
    }
    Csource[c] = 0.001 * (Fflux[Cflates[t]] + Fflux[Cflatew[t]] - Fflux[Cflaten[t]] - Fflux[Cflatee[t]]);
    qs /= edgeSum(t, c, Cpoint6, Cpoint5, Cpoint1, Cpoint2);
    qn /= edgeSum(t, c, Cpoint7, Cpoint8, Cpoint3, Cpoint4);
    qw /= edgeSum(t, c, Cpoint5, Cpoint8, Cpoint1, Cpoint4);
    qe /= edgeSum(t, c, Cpoint7, Cpoint6, Cpoint3, Cpoint2);
    // Inflow faces couple the column to its upstream neighbour, outflow
    // faces add to the diagonal.
    if (qs > 0.0) Cas[c] = qs; else Cap[c] += std::fabs(qs);
    if (qw > 0.0) Caw[c] = qw; else Cap[c] += std::fabs(qw);
    if (qn < 0.0) Can[c] = -qn; else Cap[c] += qn;
    if (qe < 0.0) Cae[c] = -qe; else Cap[c] += qe;
    // In a steady run a column without outflow has only plan area x 1e-20
    // on its diagonal: it keeps its level rather than jump by its source
    // over that.
    if (steady && Cap[c] < 1e-10) {
      Cap[c] = 1.0;
      Csource[c] = Cas[c] = Can[c] = Cae[c] = Caw[c] = 0.0;
      ++held;
    }
  }
  if (held > 0) logPrintf("Warning: %d water columns without outflow keep their level in surface_continuity\n", held);
  for (int c = 1; c <= NoCells; ++c) Cf[c] = 0.0;
  Cf[0] = 0.0;
  solver();
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      int k[4];
      const int n = pointColumns(i, j, k);
      if (n == 0) continue;
      zval[i][j][znumber] += (Cf[k[0]] + Cf[k[1]] + Cf[k[2]] + Cf[k[3]]) / (n + 1e-20);
      zval[i][j][znumber + 1] = zval[i][j][znumber];
    }
  }
}
