// The pressure force of the momentum equations: for the current Equation
// (1 U, 2 V, 3 W) the pressure gradient integrated over each cell of a range,
// subtracted from Csource, in the discretisation that F 114 selects.
#include "flow/equation_terms/pressure_source.h"

#include <algorithm>
#include <cmath>

#include "grid/geometry/gradients.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

// The differences of one cell: Di (W to E), Dj (S to N) and the vertical
// term of U and V (0 where the variant uses the horizontal terms only), and
// the vertical difference of W.
struct Differences {
  double di = 0.0, dj = 0.0, dk = 0.0, dw = 0.0;
};

// The difference across c along one direction, m the minus-side and q the
// plus-side neighbour (0 absent): central with both, one-sided with one.
template <class Field>
inline double cellDifference(Field f, int c, int m, int q) {
  if (m > 0 && q > 0) return 0.5 * (f(q) - f(m));
  if (q > 0) return f(q) - f(c);
  if (m > 0) return f(c) - f(m);
  return 0.0;
}

// The same, second order where only one side has a neighbour that itself has
// one further on (qq beyond q, mm beyond m).
template <class Field>
inline double secondOrderDifference(Field f, int c, int m, int q, int mm, int qq) {
  if (m > 0 && q > 0) return 0.5 * (f(q) - f(m));
  if (q > 0) return qq > 0 ? 0.5 * (4.0 * f(q) - 3.0 * f(c) - f(qq)) : f(q) - f(c);
  if (m > 0) return mm > 0 ? 0.5 * (3.0 * f(c) - 4.0 * f(m) + f(mm)) : f(c) - f(m);
  return 0.0;
}

inline double pressure(int c) { return Cpres[c]; }
inline double pressureHead(int c) { return Cpres[c] + 9810.0 * Czcenter[c]; }

inline double plainVertical(int c) { return cellDifference(pressure, c, Ccellb[c], Ccellt[c]); }

// Subtracts the force of every cell of the range: U and V from the mean area
// vectors of the three pairs of opposite faces, W from the vertical
// difference times the z component of the top face's area vector.
template <class Kernel>
void subtractForces(int first, int last, Kernel kernel) {
  switch (Equation) {
    case 1:
    case 2: {
      const double *a = Equation == 1 ? Fax : Fay;
      for (int c = first; c <= last; ++c) {
        const Differences d = kernel(c);
        Csource[c] -= 0.5 * (d.di * (a[Cflatee[c]] + a[Cflatew[c]]) + d.dj * (a[Cflaten[c]] + a[Cflates[c]]) +
                             d.dk * (a[Cflatet[c]] + a[Cflateb[c]]));
      }
      break;
    }
    case 3:
      for (int c = first; c <= last; ++c) Csource[c] -= kernel(c).dw * Faz[Cflatet[c]];
      break;
    default:
      break;
  }
}

// Variants 0 and 5: cell differences, with or without the vertical term.
Differences plainDifferences(int c, bool vertical) {
  Differences d;
  d.di = cellDifference(pressure, c, Ccellw[c], Ccelle[c]);
  d.dj = cellDifference(pressure, c, Ccells[c], Ccelln[c]);
  d.dw = plainVertical(c);
  d.dk = vertical ? d.dw : 0.0;
  return d;
}

// Variant 1: horizontal differences of p + 9810 z, so that a hydrostatic
// field gives 9810 times the level difference whatever the grid's slope.
Differences headDifferences(int c) {
  Differences d;
  d.di = cellDifference(pressureHead, c, Ccellw[c], Ccelle[c]);
  d.dj = cellDifference(pressureHead, c, Ccells[c], Ccelln[c]);
  d.dw = plainVertical(c);
  return d;
}

// Variant 2: variant 1 with second-order one-sided differences in i and in
// the vertical (on p alone).
Differences secondOrderHeadDifferences(int c) {
  Differences d;
  const int w = Ccellw[c], e = Ccelle[c], b = Ccellb[c], t = Ccellt[c];
  d.di = secondOrderDifference(pressureHead, c, w, e, Ccellw[w], Ccelle[e]);
  d.dj = cellDifference(pressureHead, c, Ccells[c], Ccelln[c]);
  d.dw = secondOrderDifference(pressure, c, b, t, Ccellb[b], Ccellt[t]);
  return d;
}

// Variant 3: second-order one-sided differences of p in i and j, all terms.
Differences secondOrderDifferences(int c) {
  Differences d;
  const int w = Ccellw[c], e = Ccelle[c], s = Ccells[c], n = Ccelln[c];
  d.di = secondOrderDifference(pressure, c, w, e, Ccellw[w], Ccelle[e]);
  d.dj = secondOrderDifference(pressure, c, s, n, Ccells[s], Ccelln[n]);
  d.dw = plainVertical(c);
  d.dk = d.dw;
  return d;
}

// The vertical difference V and the vertical distance H of a cell.
struct Vertical {
  double v, h;
};

Vertical verticalOf(int c) {
  const int b = Ccellb[c], t = Ccellt[c];
  if (b > 0 && t > 0) return {0.5 * (Cpres[t] - Cpres[b]), 0.5 * (2.0 * Ckdist[c] + Ckdist[t] + Ckdist[b])};
  if (t > 0) return {Cpres[t] - Cpres[c], Ckdist[c] + Ckdist[t]};
  if (b > 0) return {Cpres[c] - Cpres[b], Ckdist[c] + Ckdist[b]};
  return {0.0, 1e-20};
}

// Variant 7's blend: where the mud of the cell yields above resting mud, the
// vertical gradient is taken more from the cell and the cell above alone.
Vertical mudVerticalOf(int c) {
  Vertical vh = verticalOf(c);
  const int b = Ccellb[c], t = Ccellt[c];
  if (b > 0 && t > 0 && Cthixorat != nullptr && Cthixorat[c] > 1.0 && Cthixorat[b] < 1.0) {
    const double w = std::min(Cthixorat[c] - Cthixorat[b], 1.0);
    vh.v = w * (Cpres[t] - Cpres[c]) + (1.0 - w) * vh.v;
    vh.h = w * (Ckdist[c] + Ckdist[t]) + (1.0 - w) * vh.h;
  }
  return vh;
}

double distance3(int a, int b) {
  const double dx = Cxcenter[b] - Cxcenter[a], dy = Cycenter[b] - Cycenter[a], dz = Czcenter[b] - Czcenter[a];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double distance2(int a, int b) {
  const double dx = Cxcenter[b] - Cxcenter[a], dy = Cycenter[b] - Cycenter[a];
  return std::sqrt(dx * dx + dy * dy);
}

// One horizontal direction of the slope construction: the difference along
// the line between two centres is split, with the vertical gradient V/H,
// into its horizontal part, returned times the horizontal (half) distance.
// V grows by 1e-20 when the direction has a neighbour.
double slopeDifference(int c, int m, int q, Vertical &vh) {
  double d, s, h, dz, length;
  if (m > 0 && q > 0) {
    d = 0.5 * (Cpres[q] - Cpres[m]);
    length = distance3(m, q);
    s = 0.5 * length;
    h = 0.5 * distance2(m, q);
    dz = Czcenter[q] - Czcenter[m];
  } else if (q > 0) {
    d = Cpres[q] - Cpres[c];
    length = s = distance3(c, q);
    h = distance2(c, q);
    dz = Czcenter[q] - Czcenter[c];
  } else if (m > 0) {
    d = Cpres[c] - Cpres[m];
    length = s = distance3(m, c);
    h = distance2(m, c);
    dz = Czcenter[c] - Czcenter[m];
  } else {
    return 0.0;
  }
  vh.v += 1e-20;
  const double alpha = std::asin(dz / length);
  const double beta = 1.570796326 - alpha;
  const double t = ((d * vh.h) / (s * vh.v) - std::cos(beta)) / std::sin(beta);
  const double gamma = std::atan(t);
  return std::sin(gamma) * vh.v / (vh.h * std::cos(gamma)) * h;
}

// Variants 4 and 7: horizontal differences at the cell's own level.
template <bool Mud>
Differences slopeDifferences(int c) {
  Vertical vh = Mud ? mudVerticalOf(c) : verticalOf(c);
  Differences d;
  d.di = slopeDifference(c, Ccellw[c], Ccelle[c], vh);
  d.dj = slopeDifference(c, Ccells[c], Ccelln[c], vh);
  d.dw = vh.v;
  return d;
}

// Zi / H raised to the power a, keeping the sign of the ratio.
inline double signedPower(double x, double a) { return x < 0.0 ? -std::pow(-x, a) : std::pow(x, a); }

// The difference and the height difference of the same two centres along
// one direction (the full height difference with both neighbours).
inline void differenceWithHeight(int c, int m, int q, double &d, double &z) {
  if (m > 0 && q > 0) {
    d = 0.5 * (Cpres[q] - Cpres[m]);
    z = Czcenter[q] - Czcenter[m];
  } else if (q > 0) {
    d = Cpres[q] - Cpres[c];
    z = Czcenter[q] - Czcenter[c];
  } else if (m > 0) {
    d = Cpres[c] - Cpres[m];
    z = Czcenter[c] - Czcenter[m];
  } else {
    d = z = 0.0;
  }
}

// The factor that scales V in the F 355 options 4 and 5: 0 below 0, itself
// up to 1, 1 above.
inline double verticalWeight(double w) { return w < 0.0 ? 0.0 : (w > 1.0 ? 1.0 : w); }

// Variant 8: horizontal differences corrected for the height difference of
// the centres by F 355 (i) and F 496 (j); F 487 sets the vertical term of U
// and V. The options are read once per call.
struct HeightCorrected {
  int iRule, jRule, oldPres;
  double a;

  Differences operator()(int c) const {
    const Vertical vh = verticalOf(c);
    const double h = vh.h;
    double v = vh.v;
    Differences d;
    d.dw = v;
    double zi, zj;
    differenceWithHeight(c, Ccellw[c], Ccelle[c], d.di, zi);
    differenceWithHeight(c, Ccells[c], Ccelln[c], d.dj, zj);
    const double ri = zi / h;
    switch (iRule) {
      case 0: d.di -= a * ri * v; break;
      case 1: d.di -= 0.5 * signedPower(ri, a) * v; break;
      case 2: d.di -= std::pow(0.5, 1.0 / a) * signedPower(ri, a) * v; break;
      case 3:
      case 6: d.di -= std::min(std::max(0.5 * ri, -a), a) * v; break;
      case 4: {
        d.di -= 0.5 * ri * v;
        v *= verticalWeight(2.0 * (-a - Fvx[Cflatet[c]]));
        break;
      }
      case 5: {
        d.di -= 0.5 * ri * v;
        const double w = std::fabs(2.0 * Fflux[Cflateb[c]] / (Fflux[Cflatew[c]] + Fflux[Cflatee[c]] + 1e-20)) - a;
        v *= verticalWeight(w);
        break;
      }
      case 7:
        d.di -= 0.5 * ri * v;
        v *= a;
        break;
      case 8: d.di -= std::min(ri, a) * v; break;
      case 9:
        d.di -= 0.5 * ri * v;
        d.di = std::min(d.di, 4.0 * 9810.0 * a * Cidist[c]);
        break;
      case 10: d.di -= 0.5 * ri * std::max(v, -9810.0 * h); break;
      case 11: d.di -= 0.5 * ri * v * std::min(-v / (9810.0 * h), 1.0); break;
      case 14: {
        if (BFroude == nullptr) break;
        double f = 4.0 * BFroude[Cbed[c]];
        f = f > 0.0 ? std::min(f, 1.0) : 0.0;
        d.di -= a * ri * v * f;
        break;
      }
      default: break;
    }
    if (Ccells[c] > 0 || Ccelln[c] > 0) {
      const double rj = zj / h;
      if (jRule == 0) d.dj -= a * rj * v;
      else if (jRule == 1) d.dj -= 0.5 * signedPower(rj, a) * v;
      else logText("Error for gradients in j-direction: not coded yet\n\n");
    }
    if (oldPres == 1) v = 0.0;
    else if (oldPres == 2) v *= std::max(0.0, 1.0 - Fvz[Cflatet[c]] - 0.1);
    d.dk = v;
    return d;
  }
};

// A west or east face is thin when its height (area over the cell's width)
// is below both 0.2 Ckdist and 0.1 MinVertDist; south and north likewise
// with the cell's length.
inline bool thinFace(int face, double width, int c) {
  const double q = 0.5 * Farea[face] / width;
  return q < 0.2 * Ckdist[c] && q < 0.1 * MinVertDist;
}

// The i or j difference of the thin-face rule: with both neighbours a thin
// face on the minus side takes the plus side alone, else a thin plus-side
// face the minus side alone.
inline double thinFaceDifference(int c, int m, int q, int faceM, int faceQ, double width) {
  if (m > 0 && q > 0) {
    if (thinFace(faceM, width, c)) return Cpres[q] - Cpres[c];
    if (thinFace(faceQ, width, c)) return Cpres[c] - Cpres[m];
    return 0.5 * (Cpres[q] - Cpres[m]);
  }
  return cellDifference(pressure, c, m, q);
}

// Variants 11 to 20 (and up to 100): thin-face and corner rules; with
// `substitutes` an absent horizontal neighbour is replaced by the one of the
// column's lowest cell on that side.
template <bool Substitutes>
Differences thinFaceDifferences(int c) {
  int w = Ccellw[c], e = Ccelle[c], s = Ccells[c], n = Ccelln[c];
  if constexpr (Substitutes) {
    if (w == 0 && CcellAw != nullptr) w = CcellAw[c];
    if (e == 0 && CcellAe != nullptr) e = CcellAe[c];
    if (s == 0 && CcellAs != nullptr) s = CcellAs[c];
    if (n == 0 && CcellAn != nullptr) n = CcellAn[c];
  }
  Differences d;
  d.dw = plainVertical(c);
  d.dk = d.dw;
  const bool corner = (n == 0 && e == 0) || (s == 0 && e == 0) || (n == 0 && w == 0) || (s == 0 && w == 0);
  if (corner) return d;
  d.di = thinFaceDifference(c, w, e, Cflatew[c], Cflatee[c], Cjdist[c]);
  d.dj = thinFaceDifference(c, s, n, Cflates[c], Cflaten[c], Cidist[c]);
  return d;
}

// Variants 6, 9 and 10: the grid's gradient routines give the whole force.
template <class Force>
void subtractRoutineForces(int first, int last, Force force, bool skipBottomCells) {
  if (Equation < 1 || Equation > 3) return;
  const int direction = Equation;
  for (int c = first; c <= last; ++c) {
    if (skipBottomCells && Bcellt[Cbed[c]] == c) continue;
    Csource[c] -= force(direction, c);
  }
}

// The increment of the fast driver across c along one direction, m the low
// and q the high neighbour: central with both, one-sided with one (the
// other exactly 0), else nothing. With `second` a one-sided increment is of
// second order where the cell beyond the neighbour (qq, mm) exists, of first
// order where there is none (0), and 0 where that number is negative.
inline double fastIncrement(int c, int m, int q, int mm, int qq, bool second) {
  const double *p = Cpres;
  if (m > 0 && q > 0) return 0.5 * (p[q] - p[m]);
  if (m == 0 && q > 0) {
    if (!second || qq == 0) return p[q] - p[c];
    return qq > 0 ? 0.5 * (4.0 * p[q] - 3.0 * p[c] - p[qq]) : 0.0;
  }
  if (q == 0 && m > 0) {
    if (!second || mm == 0) return p[c] - p[m];
    return mm > 0 ? 0.5 * (3.0 * p[c] - 4.0 * p[m] + p[mm]) : 0.0;
  }
  return 0.0;
}

}  // namespace

void pressure_source(int first, int last) {
  const int variant = FlagPresGrad;
  if (variant < 0 || first > last) return;
  switch (variant) {
    case 0: subtractForces(first, last, [](int c) { return plainDifferences(c, true); }); break;
    case 1: subtractForces(first, last, headDifferences); break;
    case 2: subtractForces(first, last, secondOrderHeadDifferences); break;
    case 3: subtractForces(first, last, secondOrderDifferences); break;
    case 4: subtractForces(first, last, slopeDifferences<false>); break;
    case 5: subtractForces(first, last, [](int c) { return plainDifferences(c, false); }); break;
    case 6: subtractRoutineForces(first, last, d_di_orth_Pres, true); break;
    case 7: subtractForces(first, last, slopeDifferences<true>); break;
    case 8:
      subtractForces(first, last, HeightCorrected{FlagPresSource, FlagPresLatSource, FlagOldPres, CoeffPresSource});
      break;
    case 9: subtractRoutineForces(first, last, d_di_anti_Pres, false); break;
    case 10: subtractRoutineForces(first, last, d_di_anti_Pres2, false); break;
    case 20: subtractForces(first, last, thinFaceDifferences<true>); break;
    default:
      // 11 to 19, and 21 to 100: the substitute neighbours exist only for 20.
      subtractForces(first, last, thinFaceDifferences<false>);
      break;
  }
}

void presSourceFast() {
  const bool second = Seiche5 != 0;
  double *su = Csourcem[0], *sv = Csourcem[1], *sw = Csourcem[2];
  forEachChunk(WCStart, WCEnd, [=](int first, int last) {
    for (int c = first; c <= last; ++c) {
      const int w = Ccellw[c], e = Ccelle[c], s = Ccells[c], n = Ccelln[c];
      const double gi = fastIncrement(c, w, e, w > 0 ? Ccellw[w] : 0, e > 0 ? Ccelle[e] : 0, second);
      const double gj = fastIncrement(c, s, n, s > 0 ? Ccells[s] : 0, n > 0 ? Ccelln[n] : 0, second);
      const double gk = fastIncrement(c, Ccellb[c], Ccellt[c], 0, 0, false);
      const int fe = Cflatee[c], fw = Cflatew[c], fn = Cflaten[c], fs = Cflates[c], ft = Cflatet[c], fb = Cflateb[c];
      su[c] -= 0.5 * ((Fax[fe] + Fax[fw]) * gi + (Fax[fn] + Fax[fs]) * gj + (Fax[ft] + Fax[fb]) * gk);
      sv[c] -= 0.5 * ((Fay[fe] + Fay[fw]) * gi + (Fay[fn] + Fay[fs]) * gj + (Fay[ft] + Fay[fb]) * gk);
      sw[c] -= gk * Faz[ft];
    }
  });
}
