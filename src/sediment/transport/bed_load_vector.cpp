// The bed-load vector terms of F 78: the down-slope transport of sediment
// near the bed, as transfers between the sources of neighbouring bottom
// cells (Csourcem, or Csource of a single size) or as shifts of their
// centre coefficients Capm. Every transfer keeps the sediment it moves.
#include "sediment/transport/bed_load_vector.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

// How strongly the slope acts on a grain of mobility theta: the transfers
// divide by this factor. Shifted stays finite at theta 0; the floored one
// caps the transfer of nearly immobile grains at that of theta 0.02.
enum class SlopeFactor { Floored, Shifted, Plain };

double slopeFactor(SlopeFactor kind, double theta) {
  switch (kind) {
    case SlopeFactor::Floored:
      return theta <= 0.02 ? 0.1414213562373095 : std::sqrt(theta);
    case SlopeFactor::Shifted:
      return std::sqrt(0.4 * theta + 0.06);
    case SlopeFactor::Plain:
      break;
  }
  return std::sqrt(theta);
}

// Mobility of size l under the turbulent energy k: bed shear over the
// grain's submerged weight per area.
double mobility(double k, int l) { return std::max(300.0 * k, 0.0) / ((density - 1.0) * gsize[l] * 9810.0); }

// One size with the two-layer bed keeps the shared rows Cap and Csource;
// every other run solves the per-size rows.
double *sourceRow(int l) { return lnumber == 1 && FlagTSC < 3 ? Csource : Csourcem[l]; }

double bottomOf(int c) { return Czcenter[c] - Ckdist[c]; }
double topOf(int c) { return Czcenter[c] + Ckdist[c]; }
double speedOf(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// The two side neighbours of bottom cell c whose tops lie furthest below its
// bottom, searched west, east, south, north; a later side replaces an
// earlier one only when its drop is strictly larger.
struct Drops {
  int m1 = 0, m2 = 0;
  double d1 = 0.0, d2 = 0.0;
};

Drops steepestDrops(int c) {
  const int sides[4] = {Ccellw[c], Ccelle[c], Ccells[c], Ccelln[c]};
  Drops r;
  for (int m : sides) {
    if (m <= 0) continue;
    const double d = bottomOf(c) - topOf(m);
    if (d > 0.0 && d > r.d1) {
      r.m1 = m;
      r.d1 = d;
    }
  }
  for (int m : sides) {
    if (m <= 0) continue;
    const double d = bottomOf(c) - topOf(m);
    if (d > 0.0 && d < r.d1 && d > r.d2) {
      r.m2 = m;
      r.d2 = d;
    }
  }
  return r;
}

// The rise of the bed over the width of column (i, j): the spread of its
// four corner levels over the square root of its area.
double columnSlope(int i, int j, int b) {
  const double z[4] = {zval[i - 1][j - 1][1], zval[i][j - 1][1], zval[i][j][1], zval[i - 1][j][1]};
  const auto [lo, hi] = std::minmax({z[0], z[1], z[2], z[3]});
  return (hi - lo) / std::sqrt(Barea[b]);
}

// Visits the water columns (i, j) of block 1 with their bottom cell c and
// bed cell b; the time-loop variants act on block 1 only.
template <class Visit>
void forColumnsOfBlockOne(Visit visit) {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c = static_cast<int>(zval[i][j][0]);
      const int b = pointbed[i][j];
      if (c > 0 && b > 0) visit(i, j, c, b);
    }
  }
}

}  // namespace

void BedVectorSourceCalc(int l) {
  double *source = sourceRow(l);
  const double *conc = Cconc[l];
  const double tauCritical = std::fabs(shieldscoeff) * gsize[l] * (density - 1.0) * 9810.0 + 1e-30;
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    // Less than one grain of the size in the bed: nothing to roll.
    if (!(BSedDistrib[0][l][b] * BSedDistrib[0][0][b] > gsize[l])) continue;
    const double tau = std::max(300.0 * Ckinen[c], 0.0);
    if (!(tau > 0.0)) continue;  // no bed shear, no bed load
    const int fb = Cflateb[c];
    const double nx = Fvx[fb], ny = Fvy[fb], nz = Fvz[fb];
    const double a = BedLoadVectorParam * std::sqrt(tauCritical / tau) * std::sqrt(std::max(0.0, 1.0 - nz * nz));
    const double u = Cxvel[c], v = Cyvel[c];
    // s is the sine of the angle between flow and bed normal: the slope's
    // share across the flow, signed towards the side the bed falls to. A
    // slope along the flow sends nothing sideways.
    const double s = (nx * v - ny * u) / (std::sqrt((nx * nx + ny * ny) * (u * u + v * v)) + 1e-30);
    const double tx = s * a * v, ty = -s * a * u;
    const double cc = conc[c];
    // East and north faces point out of c: it gives when the flux leaves.
    for (const auto &[m, f] : {std::pair{Ccelle[c], Cflatee[c]}, std::pair{Ccelln[c], Cflaten[c]}}) {
      if (m <= 0) continue;
      const double q = (Fax[f] * tx + Fay[f] * ty) * 1000.0;
      if (q > 0.0) {
        source[c] -= q * cc;
        source[m] += q * cc;
      }
    }
    // West and south faces point into c: it gives when the flux is negative.
    for (const auto &[m, f] : {std::pair{Ccellw[c], Cflatew[c]}, std::pair{Ccells[c], Cflates[c]}}) {
      if (m <= 0) continue;
      const double q = (Fax[f] * tx + Fay[f] * ty) * 1000.0;
      if (q < 0.0) {
        source[c] += q * cc;
        source[m] -= q * cc;
      }
    }
  }
}

void computeBedLoadVector() {
  const SlopeFactor kind = BedLoadVectorFlag == 2   ? SlopeFactor::Floored
                           : BedLoadVectorFlag == 3 ? SlopeFactor::Shifted
                                                    : SlopeFactor::Plain;
  forColumnsOfBlockOne([kind](int i, int j, int c, int b) {
    const double s = columnSlope(i, j, b);
    if (!(s > 0.02)) return;
    const Drops d = steepestDrops(c);
    if (!(d.d1 > 1e-6)) return;
    const double w1 = d.d1 / (d.d1 + d.d2), w2 = d.d2 / (d.d1 + d.d2);
    const double carried = s * 2.0 * Ckdist[c] * speedOf(c) * 1000.0;
    for (int l = 1; l <= lnumber; ++l) {
      const double gf = slopeFactor(kind, mobility(Ckinen[c], l));
      if (!(gf > 0.0)) continue;  // no bed shear, no bed load
      const double K = BedLoadVectorParam / gf * carried;
      Capm[l][c] += K;
      Csourcem[l][d.m1] += Cconc_old[l][c] * K * w1;
      if (d.m2 > 0) Csourcem[l][d.m2] += Cconc_old[l][c] * K * w2;
    }
  });
}

void computeBedLoadVector3() {
  const SlopeFactor kind = BedLoadVectorFlag == 22 ? SlopeFactor::Plain : SlopeFactor::Shifted;
  const bool edgesOnly = BedLoadVectorFlag == 21;
  for (int f = WFStart; f <= WFEnd; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0 || Ccellb[c1] != 0 || Ccellb[c2] != 0) continue;
    if (edgesOnly && Fcell11[f] != 0 && Fcell22[f] != 0) continue;
    const double sigma = (bottomOf(c2) - bottomOf(c1)) / (Fdist1[f] + Fdist2[f]);
    if (!(std::fabs(sigma) > 0.01)) continue;
    const double u = 0.5 * (Cxvel[c1] + Cxvel[c2]), v = 0.5 * (Cyvel[c1] + Cyvel[c2]);
    const double U = std::sqrt(u * u + v * v);
    if (!(U > 0.0)) continue;
    // The share of the flow that runs along the face rather than through it.
    const double r = std::max(0.0, 1.0 - std::fabs(Fflux[f] / Farea[f] * 0.001) / U);
    if (!(r > 0.0)) continue;
    const double k = 0.5 * (Ckinen[c1] + Ckinen[c2]);
    for (int l = 1; l <= lnumber; ++l) {
      const double gf = slopeFactor(kind, mobility(k, l));
      if (!(gf > 0.0)) continue;  // no bed shear, no bed load
      const double q = std::clamp(BedLoadVectorParam / gf * sigma, -1.0, 1.0);
      const double F = -Farea[f] * 1000.0 * U * q * r;
      double *source = sourceRow(l);
      // Downhill from the giver, never more than the giver's source.
      const int from = F > 0.0 ? c1 : c2, to = F > 0.0 ? c2 : c1;
      const double T = std::max(0.0, std::min(std::fabs(F) * Cconc[l][from], source[from]));
      source[from] -= T;
      source[to] += T;
    }
  }
}

void computeBedLoadVector4() {
  const SlopeFactor kind = BedLoadVectorFlag == 32   ? SlopeFactor::Floored
                           : BedLoadVectorFlag == 33 ? SlopeFactor::Shifted
                                                     : SlopeFactor::Plain;
  forColumnsOfBlockOne([kind](int, int, int c, int b) {
    const double t = std::tan(std::acos(std::clamp(Fvz[Cflateb[c]], -1.0, 1.0)));
    if (!(t > 0.1)) return;
    // Only beside a wall or a step of the bed.
    if (Ccelle[c] > 0 && Ccelln[c] > 0 && Ccellw[c] > 0 && Ccells[c] > 0) return;
    const Drops d = steepestDrops(c);
    if (!(d.d1 > 1e-6)) return;
    const int m = d.m1;
    const double carried = 2.0 * Ckdist[c] * speedOf(c) * TimeStep * std::sqrt(Barea[b]) * 1000.0 * t * 1000.0;
    for (int l = 1; l <= lnumber; ++l) {
      const double gf = slopeFactor(kind, mobility(Ckinen[c], l));
      if (!(gf > 0.0)) continue;  // no bed shear, no bed load
      const double X = std::min(BedLoadVectorParam / gf * carried, 0.2 * Capm[l][m]);
      Capm[l][c] += X;
      Capm[l][m] -= X;
    }
  });
}
