// Warm and cold water: the baroclinic pressure force that differences of
// the temperature-driven density between neighbouring columns put on U and
// V, the density differences the face fluxes use, and the damping of the
// vertical velocity in stably layered water.
#include <cmath>

#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/forces/density_layers.h"
#include "quality/process_sources.h"

namespace {

// The layer integrals of one walk cell c below walk cell `above` (0 at the
// top) and the cell's own and the two side differences of them.
struct Layer {
  double own, east, north;  // integrals of c and of its east and north neighbours
  double di, dj;            // the side differences along i and j
};

Layer layerOf(int c, int above) {
  const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c];
  Layer l;
  l.own = densityStep(c, above);
  l.east = densityStep(e, above > 0 ? Ccelle[above] : 0);
  const double west = densityStep(w, above > 0 ? Ccellw[above] : 0);
  l.north = densityStep(n, above > 0 ? Ccelln[above] : 0);
  const double south = densityStep(s, above > 0 ? Ccells[above] : 0);
  l.di = sideDifference(e, w, l.east, west, l.own);
  l.dj = sideDifference(n, s, l.north, south, l.own);
  return l;
}

// 9810 x 0.5 x the face-weighted differences: the cell's force in newtons.
double cellForce(int c, const double *area, double gi, double gj) {
  return 9810.0 * 0.5 *
         ((area[Cflatee[c]] + area[Cflatew[c]]) * gi + (area[Cflaten[c]] + area[Cflates[c]]) * gj);
}

// A side neighbour whose centre is not level with the cell's own.
bool leavesLevel(int c) {
  const int sides[4] = {Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c]};
  for (int x : sides) {
    if (x != 0 && std::fabs(Czcenter[x] - Czcenter[c]) > 1e-7) return true;
  }
  return false;
}

// The column below top cell c0, walked while its neighbours are level with
// it: the force relative to a share proportional to the cell heights, and
// the depth-mean-free differences for the face fluxes.
void columnWalk(int c0, const double *area, double relax) {
  double h = 0.0, sum = 0.0, mi = 0.0, mj = 0.0;
  double ae = 0.0, he = 0.0, be = 0.0, an = 0.0, hn = 0.0, bn = 0.0;
  double gi = 0.0, gj = 0.0;
  int above = 0;
  for (int c = c0; c > 0 && !leavesLevel(c); above = c, c = Ccellb[c]) {
    const Layer l = layerOf(c, above);
    gi += l.di;
    gj += l.dj;
    h += Ckdist[c];
    sum += cellForce(c, area, gi, gj);
    mi += gi * Ckdist[c];
    mj += gj * Ckdist[c];
    if (Ccelle[c] > 0) {
      ae += l.east - l.own;
      he += Ckdist[c];
      be += ae * Ckdist[c];
    }
    if (Ccelln[c] > 0) {
      an += l.north - l.own;
      hn += Ckdist[c];
      bn += an * Ckdist[c];
    }
  }
  if (above == 0) return;  // the top cell itself is not level with its neighbours
  const double meanI = mi / h, meanJ = mj / h;
  ae = -be / (he + 1e-30);
  an = -bn / (hn + 1e-30);
  gi = gj = 0.0;
  above = 0;
  for (int c = c0; c > 0 && !leavesLevel(c); above = c, c = Ccellb[c]) {
    const Layer l = layerOf(c, above);
    gi += l.di;
    gj += l.dj;
    Csource[c] -= (cellForce(c, area, gi, gj) - Ckdist[c] * sum / h) * relax;
    Cdensgradi[c] = gi - meanI;
    Cdensgradj[c] = gj - meanJ;
    if (Ccelle[c] > 0) {
      ae += l.east - l.own;
      Fdgrad[Cflatee[c]] = ae;
    }
    if (Ccelln[c] > 0) {
      an += l.north - l.own;
      Fdgrad[Cflaten[c]] = an;
    }
  }
}

// The side neighbour of cell c: 0 east, 1 west, 2 north, 3 south.
int sideOf(int c, int k) {
  switch (k) {
    case 0: return Ccelle[c];
    case 1: return Ccellw[c];
    case 2: return Ccelln[c];
    default: return Ccells[c];
  }
}

// The relative density in the column from cell `start` down at the level z:
// interpolated between the first cell whose centre lies below z and the
// cell above it; a level above the column's top centre holds the top cell's
// value, one below its bottom centre the bottom cell's. `reached` is the
// cell below z, 0 when the column ends above z. For levels that only fall,
// `start` may move to the last cell found above z: the walk resumes there.
double densityAtLevel(int &start, double z, int &reached) {
  const double *t = Ccomp[0];
  int last = 0, m = start;
  while (m > 0 && Czcenter[m] >= z) {
    last = m;
    m = Ccellb[m];
  }
  reached = m;
  if (last > 0) start = last;
  if (m == 0) return relativeWaterDensity(t[last]);
  const int u = Ccellt[m];
  if (u == 0) return relativeWaterDensity(t[m]);
  const double f = (Czcenter[u] - z) / ((Czcenter[u] - Czcenter[m]) + 1e-30);
  return relativeWaterDensity(f * t[m] + (1.0 - f) * t[u]);
}

// The integrals of the relative density from the water surface down to the
// centre of each cell of the column below c0, for the column itself and for
// the neighbouring columns at the same depth below their own surfaces. The
// whole cells above the current one are carried as running sums.
class EqualDepthColumn {
 public:
  explicit EqualDepthColumn(int c0) {
    const double surface = Czcenter[c0] + Ckdist[c0];
    for (int k = 0; k < 4; ++k) {
      int top = sideOf(c0, k);
      start_[k] = top;
      while (top > 0 && Ccellt[top] > 0) top = Ccellt[top];
      offset_[k] = top > 0 ? surface - (Czcenter[top] + Ckdist[top]) : 0.0;
    }
  }

  // The differences along i and j at cell c, the next cell down.
  void differences(int c, double &gi, double &gj) const {
    const double *t = Ccomp[0];
    const double own = above_ + Ckdist[c] * relativeWaterDensity(t[c]);
    double side[4];
    int end[4];
    for (int k = 0; k < 4; ++k) {
      const int nb = sideOf(c, k);
      side[k] = whole_[k];
      end[k] = 0;
      if (nb == 0) continue;
      if (std::fabs(Czcenter[c] - Czcenter[nb]) < 1e-7) {
        side[k] += Ckdist[nb] * relativeWaterDensity(t[nb]);
        end[k] = nb;
      } else {
        side[k] += Ckdist[c] * densityAtLevel(start_[k], Czcenter[c] - offset_[k], end[k]);
      }
    }
    gi = sideDifference(end[0], end[1], side[0], side[1], own);
    gj = sideDifference(end[2], end[3], side[2], side[3], own);
  }

  // Cell c joins the whole cells above the next one.
  void pass(int c) {
    const double *t = Ccomp[0];
    above_ += 2.0 * Ckdist[c] * relativeWaterDensity(t[c]);
    for (int k = 0; k < 4; ++k) {
      if (stopped_[k]) continue;
      const int nb = sideOf(c, k);
      if (nb == 0) {
        stopped_[k] = true;
      } else if (std::fabs(Czcenter[c] - Czcenter[nb]) < 1e-7) {
        whole_[k] += 2.0 * Ckdist[nb] * relativeWaterDensity(t[nb]);
      } else {
        int reached = 0, from = nb;
        whole_[k] += 2.0 * Ckdist[c] * densityAtLevel(from, Czcenter[c] - offset_[k], reached);
      }
    }
  }

 private:
  mutable int start_[4];  // the half-cell walks resume where the last one stopped
  double offset_[4];
  double above_ = 0.0;
  double whole_[4] = {};
  bool stopped_[4] = {};
};

// The equal-depth force of the column below c0, relative to a share
// proportional to the cell heights.
void equalDepth(int c0, const double *area, double relax) {
  double h = 0.0, sum = 0.0;
  {
    EqualDepthColumn column(c0);
    for (int c = c0; c > 0; c = Ccellb[c]) {
      double gi, gj;
      column.differences(c, gi, gj);
      h += Ckdist[c];
      sum += cellForce(c, area, gi, gj);
      column.pass(c);
    }
  }
  EqualDepthColumn column(c0);
  for (int c = c0; c > 0; c = Ccellb[c]) {
    double gi, gj;
    column.differences(c, gi, gj);
    Csource[c] -= (cellForce(c, area, gi, gj) - Ckdist[c] * sum / h) * relax;
    column.pass(c);
  }
}

// The force of the depth-mean densities of the column below top cell c0 and
// its neighbouring columns, spread over the column by cell height, less the
// cell-by-cell force of the column walk; with F 69 3 that cell-by-cell
// force is first scaled down towards the depth-mean one (by at most ten).
void columnMean(int c0, const double *area, double relax, bool limited) {
  double own = 0.0, h = 0.0;
  double side[4] = {}, height[4] = {};
  int x[4] = {Ccelle[c0], Ccellw[c0], Ccelln[c0], Ccells[c0]};
  int bottom = c0;
  for (int c = c0; c > 0; c = Ccellb[c]) {
    bottom = c;
    own += relativeWaterDensity(Ccomp[0][c]) * Ckdist[c];
    h += Ckdist[c];
    for (int k = 0; k < 4; ++k) {
      if (x[k] <= 0) continue;
      side[k] += relativeWaterDensity(Ccomp[0][x[k]]) * Ckdist[x[k]];
      height[k] += Ckdist[x[k]];
      x[k] = Ccellb[x[k]];
    }
  }
  double mean[4];
  for (int k = 0; k < 4; ++k) mean[k] = side[k] / (height[k] + 1e-30);
  const double ownMean = own / h;
  const int b = bottom;
  const double gi = sideDifference(Ccelle[b], Ccellw[b], mean[0], mean[1], ownMean);
  const double gj = sideDifference(Ccelln[b], Ccells[b], mean[2], mean[3], ownMean);
  const double depthMean = ((area[Cflatee[b]] + area[Cflatew[b]]) * gi + (area[Cflaten[b]] + area[Cflates[b]]) * gj) *
                           9810.0 * h * 0.5 * h / Ckdist[b];
  double ratio = 1.0;
  if (limited) {
    double s = 0.0, ri = 0.0, rj = 0.0;
    int above = 0;
    for (int c = c0; c > 0; above = c, c = Ccellb[c]) {
      const Layer l = layerOf(c, above);
      ri += l.di;
      rj += l.dj;
      s += cellForce(c, area, ri, rj) * relax;
    }
    s = -s;
    ratio = -depthMean / (s + 1e-30);
    if (!(ratio > 0.1)) ratio = 0.1;
    if (ratio >= 1.0) ratio = 1.0;
  }
  double ri = 0.0, rj = 0.0;
  int above = 0;
  for (int c = c0; c > 0; above = c, c = Ccellb[c]) {
    const Layer l = layerOf(c, above);
    ri += l.di;
    rj += l.dj;
    Csource[c] -= (cellForce(c, area, ri, rj) * ratio - Ckdist[c] * depthMean / h) * relax;
  }
}

// Stable layering (denser water below) damps W by -D w, D growing with the
// density gradient; the damping takes over as much of the existing source
// as it cancels and puts the rest on the diagonal.
void dampVerticalMotion() {
  const double *t = Ccomp[0];
  for (int c = WCStart; c <= WCEnd; ++c) {
    const int b = Ccellb[c], up = Ccellt[c];
    double g = 0.0;
    if (b > 0 && up > 0) {
      g = (relativeWaterDensity(t[b]) - relativeWaterDensity(t[up])) / (Czcenter[up] - Czcenter[b]);
    } else if (b > 0) {
      g = (relativeWaterDensity(t[b]) - relativeWaterDensity(t[c])) / (Ckdist[b] + Ckdist[c]);
    } else if (up > 0) {
      g = (relativeWaterDensity(t[c]) - relativeWaterDensity(t[up])) / (Ckdist[up] + Ckdist[c]);
    }
    double d = Cvol[c] * TimeStep * g * 1000.0 * 9.81;
    if (!(d >= 0.0)) d = 0.0;
    const double q = Csource[c] / (Czvel[c] * d + 1e-10);
    if (!(q > 0.0)) {
      Cap[c] += d;
    } else if (q < 1.0) {
      Csource[c] -= q * d * Czvel[c];
      Cap[c] += (1.0 - q) * d;
    } else {
      Csource[c] -= d * Czvel[c];
    }
  }
}

}  // namespace

void DensityGradients(int) {
  if (TemperatureFlag != 1 || !(relaxDensityTurb > 0.0)) return;
  const int e = Equation;
  if (e == 1 || e == 2) {
    const double *area = e == 1 ? Fax : Fay;
    if (Seiche2 == 3) {
      for (int c = WCStart; c <= WCEnd; ++c) {
        if (c > 0 && Ccellt[c] == 0) equalDepth(c, area, relaxDensityTurb);
      }
      return;
    }
    const bool mean = Seiche1 == 2 || Seiche1 == 3;
    if (!mean && (Seiche1 > 1 || UMethod != 0)) return;
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (c <= 0 || Ccellt[c] != 0) continue;
      if (mean) columnMean(c, area, relaxDensityTurb, Seiche1 == 3);
      else columnWalk(c, area, relaxDensityTurb);
    }
    return;
  }
  if (e == 3 && Seiche1 >= 1 && NoVerttemp > 0) dampVerticalMotion();
}
