// The level-set surface of F 36 50 in two halves: during the outer iterations
// each water column gathers the level change its vertical flux brings
// (Bdeltah); every F 105 iterations the grid points take the mean change of
// the columns around them and the grid is regenerated on the new levels.
#include "surface/level_algorithms/level_set.h"

#include <algorithm>
#include <cmath>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/multigrid.h"
#include "startup/operations.h"
#include "surface/steady/froude_numbers.h"
#include "surface/surface_services.h"

namespace {

int bottomCellOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The columns around corner (i, j), SW, NW, NE, SE by their bottom cells;
// a missing one is found through the neighbour links of the others.
void cornerColumns(int i, int j, int cols[4]) {
  int &sw = cols[0], &nw = cols[1], &ne = cols[2], &se = cols[3];
  sw = bottomCellOf(i, j);
  nw = bottomCellOf(i, j + 1);
  ne = bottomCellOf(i + 1, j + 1);
  se = bottomCellOf(i + 1, j);
  if (sw <= 0) sw = nw > 0 ? Ccells[nw] : (se > 0 ? Ccellw[se] : 0);
  if (nw <= 0) nw = sw > 0 ? Ccelln[sw] : (ne > 0 ? Ccellw[ne] : 0);
  if (ne <= 0) ne = nw > 0 ? Ccelle[nw] : (se > 0 ? Ccelln[se] : 0);
  if (se <= 0) se = sw > 0 ? Ccelle[sw] : (ne > 0 ? Ccells[ne] : 0);
}

// The level change of one corner: the plain mean of its columns' changes,
// or their mean weighted by where the corner lies in each column's flow.
// A corner whose weights are all 0 keeps its level.
double cornerChange(int i, int j, bool weighted) {
  int cols[4];
  cornerColumns(i, j, cols);
  double sum = 0.0, weights = 0.0;
  int n = 0;
  for (const int c : cols) {
    if (c <= 0) continue;
    const double dh = Bdeltah[Cbed[c]];
    if (weighted) {
      const double w = VectorWeight(c, i, j);
      sum += w * dh;
      weights += w;
    } else {
      sum += dh;
    }
    ++n;
  }
  if (n == 0) return 0.0;
  if (!weighted) return sum / n;
  return weights > 0.0 ? sum / weights : 0.0;
}

void updateCorners() {
  const bool weighted = TFSfroudeforward == 2;
  if (TFSfroudeforward > 2) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0) continue;
    if (weighted) computeBFroude(b.FirstBedCell, b.LastBedCell);
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        if (bottomCellOf(i, j) <= 0 && bottomCellOf(i, j + 1) <= 0 && bottomCellOf(i + 1, j + 1) <= 0 &&
            bottomCellOf(i + 1, j) <= 0) {
          continue;
        }
        zval[i][j][znumber] += cornerChange(i, j, weighted);
        zval[i][j][znumber + 1] = zval[i][j][znumber];
      }
    }
  }
}

void regenerate() {
  if (Cxvel_old) {
    const int first = WCStart, last = WCEnd + 1;
    if (first < last) {
      std::copy(Cxvel + first, Cxvel + last, Cxvel_old + first);
      std::copy(Cyvel + first, Cyvel + last, Cyvel_old + first);
      std::copy(Czvel + first, Czvel + last, Czvel_old + first);
      std::copy(Cpres + first, Cpres + last, Cpres_old + first);
      std::copy(Ckinen + first, Ckinen + last, Ckinen_old + first);
      std::copy(Cepsilon + first, Cepsilon + last, Cepsilon_old + first);
    }
  }
  endOnGridFailure(operations.Unstructure());
  operations.metric();
  operations.BedMake();
  std::fill(CinvAp + 1, CinvAp + NoCells + 1, 0.0);
  operations.waterflow(WFStart, WFEnd);
  if (Flag2DAccSolver >= 1 && block[NoBlocks].BlockKind == 0) AlgMGMake();
  FlagGridChange = 1;
}

}  // namespace

// Slow flow sends a column's change to the corners upstream of its centre
// (where a backwater comes from), fast flow to those downstream; between
// Froude numbers 0.5 and 1.5 the weight passes linearly from one to the other.
double VectorWeight(int cell, int i, int j) {
  const double fr = BFroude[Cbed[cell]];
  const double dx = xval[i][j] - Cxcenter[cell], dy = yval[i][j] - Cycenter[cell];
  const double qx = Cxvel[cell], qy = Cyvel[cell];
  const double c = (dx * qx + dy * qy) / (std::sqrt(dx * dx + dy * dy) * std::sqrt(qx * qx + qy * qy + 1e-20));
  const double w0 = (1.0 - c) * 0.5;
  if (fr < 0.5) return w0;
  if (fr > 1.5) return 1.0 - w0;
  return w0 + (1.0 - 2.0 * w0) * (fr - 0.5);
}

void surface_LS_update() {
  updateCorners();
  if (SurfSmoothFlag == 1) surface_smoother();
  if (FlagTSC == 0 || FlagSurfRegen == 1) regenerate();
}

// The upwind part of a face coefficient follows the Froude number: the
// outflow side below 1, the inflow side above, fading to 0 toward 1 from
// both sides; 5 % of the flux is always added as a diffusive part.
double surface_LS_coeff(double q, double /*area*/, double Fr, int /*b*/, int /*bn*/) {
  const double p = 0.95 * q;
  double upwind = 0.0;
  if (Fr <= 1.0) {
    upwind = std::max(-p, 0.0);
    if (Fr > 0.5 && Fr < 1.0) upwind *= 2.0 - 2.0 * Fr;
  } else {
    upwind = std::max(p, 0.0);
    if (Fr < 1.5) upwind *= 2.0 * Fr - 2.0;
  }
  return upwind + 0.05 * std::fabs(q);
}

// The level change (m) that a mass flux F (kg/s) into the top cell brings
// over one time step on the column's plan area.
double surface_LS_source(double F, int b) { return F * 0.001 * TimeStep / Barea[b]; }

void surface_LS() {
  Bdeltah[0] = 0.0;
  const GridBlock &bl = block[1];
  for (int c = bl.FirstCell; c <= bl.LastCell; ++c) {
    if (Ccellb[c] != 0) continue;
    const int b = Cbed[c];
    double qw = 0, qe = 0, qs = 0, qn = 0, aw = 0, ae = 0, as = 0, an = 0, h2 = 0, fv = 0;
    for (int k = c; k > 0; k = Ccellt[k]) {
      qw += Fflux[Cflatew[k]], qe += Fflux[Cflatee[k]], qs += Fflux[Cflates[k]], qn += Fflux[Cflaten[k]];
      aw += Farea[Cflatew[k]], ae += Farea[Cflatee[k]], as += Farea[Cflates[k]], an += Farea[Cflaten[k]];
      h2 += Ckdist[k];
      // A one-cell column has no cell below its top cell: nothing flows up into it.
      if (Ccellt[k] > 0 && Ccellt[Ccellt[k]] == 0) fv = Fflux[Cflatet[k]];
    }
    const double h = 2.0 * h2;
    const double u = 0.001 * (qw - qe) / (aw + ae + 1e-20);
    const double v = 0.001 * (qs - qn) / (as + an + 1e-20);
    const double fr = std::sqrt((u * u + v * v) / (9.81 * h + 1e-20));
    Caw[c] = surface_LS_coeff(qw, aw, fr, b, 0);
    Cae[c] = surface_LS_coeff(-qe, ae, fr, b, 0);
    Cas[c] = surface_LS_coeff(qs, as, fr, b, 0);
    Can[c] = surface_LS_coeff(-qn, an, fr, b, 0);
    Cap[c] = Caw[c] + Cae[c] + Cas[c] + Can[c] + 1e-80 + h * Faz[Cflateb[c]] * 1000.0 / (TimeStep + 1e-30);
    Bdeltah[b] += surface_LS_source(fv, b);
  }
}

// The level excess between two columns: the level difference their
// pressures ask for (slope limited to 0.3) minus that of their cell tops.
double surface_EL(int c1, int c2) {
  const double dx = Cxcenter[c2] - Cxcenter[c1], dy = Cycenter[c2] - Cycenter[c1];
  const double d = std::sqrt(dx * dx + dy * dy);
  const double s = std::clamp((Cpres[c2] - Cpres[c1]) / (9810.0 * d + 1e-20), -0.3, 0.3);
  return s * d - ((Czcenter[c2] + Ckdist[c2]) - (Czcenter[c1] + Ckdist[c1]));
}
