// The variants of the face-flux and velocity corrections that protect thin,
// corner, shallow and collapsed cells at the wet edge, chosen by F 157, the
// third values of F 69 and F 291 and F 36 = 11; write Fflux, Cxvel, Cyvel, Czvel.
#include "flow/corrections/correction_variants.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// 1/Vmin of variant 51, set at the start of the stage; infinite when the grid
// spacing gives no meaningful cap.
double volumeCap = std::numeric_limits<double>::infinity();

inline bool present(int c) { return c > 0; }

inline bool singleCell(int c) { return Ccellb[c] == 0 && Ccellt[c] == 0; }

inline int presentSides(int c) {
  return present(Ccelle[c]) + present(Ccellw[c]) + present(Ccelln[c]) + present(Ccells[c]);
}

// A single cell thinner than half the minimum vertical distance at the wet
// edge; `atMost` counts a cell of exactly that thickness as thin.
inline bool thinIsolated(int c, bool atMost) {
  const double limit = 0.5 * MinVertDist;
  const bool thin = atMost ? Ckdist[c] <= limit : Ckdist[c] < limit;
  return singleCell(c) && thin && presentSides(c) < 4;
}

inline bool lacksAdjacentPair(int e, int w, int n, int s) {
  return (!present(e) && !present(n)) || (!present(e) && !present(s)) || (!present(w) && !present(n)) ||
         (!present(w) && !present(s));
}

inline bool cornerCell(int c) {
  return singleCell(c) && lacksAdjacentPair(Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c]);
}

inline int bottomOf(int c) {
  while (Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

// Sum of the half heights of the cell's column: half the water depth.
inline double columnSum(int c) {
  double s = 0.0;
  for (int k = bottomOf(c); k > 0; k = Ccellt[k]) s += Ckdist[k];
  return s;
}

// The column's bottom cell has at least two horizontal neighbours.
inline bool openColumn(int c) { return presentSides(bottomOf(c)) >= 2; }

inline double gradient(const double *p, int c, int lo, int hi) {
  if (lo > 0 && hi > 0) return (p[hi] - p[lo]) / 2.0;
  if (hi > 0) return p[hi] - p[c];
  if (lo > 0) return p[c] - p[lo];
  return 0.0;
}

// ---- face variants ----

inline double faceCoefficient(int f, int c1, int c2) {
  const double D = (CinvAp[c2] * Fdist1[f] + CinvAp[c1] * Fdist2[f]) / (Fdist1[f] + Fdist2[f]);
  return 1000.0 * Farea[f] * Farea[f] * D;
}

// One pass over the faces with both cells present; `scale` gives the share
// of the standard correction a face takes (0 leaves it).
template <class Scale>
void correctFaces(int first, int last, Scale scale) {
  const double *p = Cf;
  const bool openStacked = Seiche3 == 1;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0) continue;
    if (openStacked && (Ftype1[f] == 5 || Ftype2[f] == 5)) continue;
    const double s = scale(c1, c2);
    if (s == 0.0) continue;
    Fflux[f] += s * faceCoefficient(f, c1, c2) * (p[c1] - p[c2]);
  }
}

// ---- velocity variants ----

struct CellTerms {
  double gi, gj, gk, Ax, Ay, Az, f;
};

inline CellTerms standardTerms(const double *p, int c) {
  CellTerms t;
  t.gi = gradient(p, c, Ccellw[c], Ccelle[c]);
  t.gj = gradient(p, c, Ccells[c], Ccelln[c]);
  t.gk = gradient(p, c, Ccellb[c], Ccellt[c]);
  t.Ax = CinvAp[c] * Careax[c] * Careax[c];
  t.Ay = CinvAp[c] * Careay[c] * Careay[c];
  t.Az = CinvAp[c] * Careaz[c] * Careaz[c];
  t.f = 1.0 / Cvol[c];
  return t;
}

inline double du(int c, const CellTerms &t) { return t.f * (Cdxdi[c] * t.Ax * t.gi + Cdxdj[c] * t.Ay * t.gj); }
inline double dv(int c, const CellTerms &t) { return t.f * (Cdydi[c] * t.Ax * t.gi + Cdydj[c] * t.Ay * t.gj); }
inline double dw(int c, const CellTerms &t) {
  return t.f * (Cdzdi[c] * t.Ax * t.gi + Cdzdj[c] * t.Ay * t.gj + Cdzdk[c] * t.Az * t.gk);
}

inline void apply(int c, const CellTerms &t, bool vertical) {
  Cxvel[c] -= du(c, t);
  Cyvel[c] -= dv(c, t);
  if (vertical) Czvel[c] -= dw(c, t);
}

// One pass over the cells: `terms` adjusts the standard terms of a cell and
// returns false for a cell left uncorrected, or applies its own update.
template <class Terms>
void correctCells(int first, int last, Terms terms) {
  const double *p = Cf;
  for (int c = first; c <= last; ++c) {
    CellTerms t = standardTerms(p, c);
    terms(c, t);
  }
}

// A one-sided difference towards a single neighbour is halved when the face
// on the absent side has no area: the cell is pinched off there.
inline void halveAtThinFaces(const double *p, int c, CellTerms &t) {
  const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c];
  if (present(e) && !present(w) && Farea[Cflatew[c]] < 1e-10) t.gi = 0.5 * (p[e] - p[c]);
  if (present(w) && !present(e) && Farea[Cflatee[c]] < 1e-10) t.gi = 0.5 * (p[c] - p[w]);
  if (present(n) && !present(s) && Farea[Cflates[c]] < 1e-10) t.gj = 0.5 * (p[n] - p[c]);
  if (present(s) && !present(n) && Farea[Cflaten[c]] < 1e-10) t.gj = 0.5 * (p[c] - p[s]);
}

// Mean height of a side face, thin when below a fifth of the cell's half
// height and a tenth of the minimum vertical distance.
inline bool thinFace(int face, double halfLength, double halfHeight) {
  const double h = 0.5 * Farea[face] / halfLength;
  return h < 0.2 * halfHeight && h < 0.1 * MinVertDist;
}

inline double thinFaceDifference(const double *p, int c, int lo, int hi, bool loThin, bool hiThin) {
  if (!present(lo) && !present(hi)) return 0.0;
  if (!present(lo)) return p[hi] - p[c];
  if (!present(hi)) return p[c] - p[lo];
  if (loThin) return p[hi] - p[c];
  if (hiThin) return p[c] - p[lo];
  return (p[hi] - p[lo]) / 2.0;
}

// Variants 10 and 20: horizontal differences that avoid a thin side face,
// and none at all in a cell open on two adjacent sides only.
template <bool replaced>
inline void thinFaceRule(const double *p, int c, CellTerms &t) {
  int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c];
  if (replaced) {
    if (!present(e)) e = CcellAe[c];
    if (!present(w)) w = CcellAw[c];
    if (!present(n)) n = CcellAn[c];
    if (!present(s)) s = CcellAs[c];
  }
  const bool both_i = present(e) && present(w), both_j = present(n) && present(s);
  const bool wThin = both_i && thinFace(Cflatew[c], Cjdist[c], Ckdist[c]);
  const bool eThin = both_i && !wThin && thinFace(Cflatee[c], Cjdist[c], Ckdist[c]);
  const bool sThin = both_j && thinFace(Cflates[c], Cidist[c], Ckdist[c]);
  const bool nThin = both_j && !sThin && thinFace(Cflaten[c], Cidist[c], Ckdist[c]);
  t.gi = thinFaceDifference(p, c, w, e, wThin, eThin);
  t.gj = thinFaceDifference(p, c, s, n, sThin, nThin);
  if (lacksAdjacentPair(e, w, n, s)) t.gi = t.gj = 0.0;
}

// Variant 3: in a column shallow against its bed face (H/B at most 0.1) the
// horizontal corrections are limited to the turbulent velocity scale of a
// rough bed, L = 4.54 (H/ks)^0.166667 sqrt(k), and w is left alone.
struct ShallowClamp {
  bool on = false;
  double limit = 0.0;
};

ShallowClamp clampOfColumn(int bottom) {
  double H = 0.0;
  for (int k = bottom; k > 0; k = Ccellt[k]) H += Ckdist[k];
  H *= 2.0;
  const double B = std::sqrt(Farea[Cflateb[bottom]]);
  ShallowClamp s;
  if (H / B > 0.1) return s;
  s.on = true;
  s.limit = 4.54 * std::pow(H / (Croughness[bottom] + 1e-20), 0.166667) * std::sqrt(Ckinen[bottom]);
  return s;
}

void correctShallowClamped(int first, int last) {
  const double *p = Cf;
  ShallowClamp state{};
  if (first <= last && Ccellb[first] != 0) state = clampOfColumn(bottomOf(first));
  for (int c = first; c <= last; ++c) {
    if (Ccellb[c] == 0) state = clampOfColumn(c);
    const CellTerms t = standardTerms(p, c);
    if (!state.on) {
      apply(c, t, true);
      continue;
    }
    const double L = state.limit;
    Cxvel[c] -= std::clamp(du(c, t), -L, L);
    Cyvel[c] -= std::clamp(dv(c, t), -L, L);
  }
}

enum class VelocityVariant { None, NoVertical, Damped, V1, V2, V3, V4, V5, V6, V7, V8, V9, V10, V11, V20, V30, V50, V51 };

// The velocity rule in the order of precedence; the standard rule (F 157 0,
// F 69 third value 0) is the correction stage's own.
VelocityVariant velocityVariant() {
  const int v = FlagSimpleCorrections;
  if (v == 50) return VelocityVariant::V50;
  if (v == 51) return VelocityVariant::V51;
  if (FlagDamp3 > 0) return VelocityVariant::Damped;
  if (v == 0) return Seiche3 == 2 ? VelocityVariant::None : VelocityVariant::NoVertical;
  switch (v) {
    case 1: return VelocityVariant::V1;
    case 2: return VelocityVariant::V2;
    case 3: return VelocityVariant::V3;
    case 4: return VelocityVariant::V4;
    case 5: return VelocityVariant::V5;
    case 6: return VelocityVariant::V6;
    case 7: return VelocityVariant::V7;
    case 8: return VelocityVariant::V8;
    case 9: return VelocityVariant::V9;
    case 10: return VelocityVariant::V10;
    case 11: return VelocityVariant::V11;
    case 20: return VelocityVariant::V20;
    case 30: return FlagTFS == 11 ? VelocityVariant::V30 : VelocityVariant::None;
    default: return VelocityVariant::None;
  }
}

}  // namespace

// Variant 51: cells smaller than a third of a MinVertDist0-high cell of the
// first grid cell's plan size are corrected as if they had that volume.
void SimpleVolumeCap(int, int) {
  const double product = (xval[2][2] - xval[1][2]) * (yval[2][2] - yval[2][1]) * MinVertDist0;
  volumeCap = product > 0.0 ? 3.0 / product : std::numeric_limits<double>::infinity();
}

void checkCorrectionVariant() {
  const int v = FlagSimpleCorrections;
  if ((v == 9 && Cthixorat == nullptr) || (v == 20 && (CcellAe == nullptr || CcellAw == nullptr ||
                                                       CcellAs == nullptr || CcellAn == nullptr))) {
    fatalExit(kExitInconsistent, "Error for F 157 in control\nVariant 9 needs F 236, variant 20 needs F 114 20\n\n");
  }
}

void SimpleFluxVariant(int firstFace, int lastFace) {
  if (FlagTFS == 11) {
    correctFaces(firstFace, lastFace, [](int c1, int c2) { return Ccellt[c1] > 0 || Ccellt[c2] > 0 ? 1.0 : 0.0; });
    return;
  }
  switch (FlagSimpleCorrections) {
    case 1:
      correctFaces(firstFace, lastFace, [](int c1, int c2) {
        return thinIsolated(c1, false) || thinIsolated(c2, false) ? 0.0 : 1.0;
      });
      break;
    case 2:
      correctFaces(firstFace, lastFace, [](int c1, int c2) {
        const bool ok = openColumn(c1) && !thinIsolated(c1, false) && openColumn(c2) && !thinIsolated(c2, false);
        return ok ? 1.0 : 0.0;
      });
      break;
    case 3: correctFaces(firstFace, lastFace, [](int, int) { return 1.0; }); break;
    case 6: {
      const double inv = 1.0 / MinVertDist;
      correctFaces(firstFace, lastFace, [inv](int c1, int c2) {
        const double R = (columnSum(c1) + columnSum(c2)) * inv;
        return std::min(1.0, R * R);
      });
      break;
    }
    default: break;
  }
}

void SimpleVelocityVariant(int firstCell, int lastCell) {
  const bool vert0 = Seiche3 == 0;
  const int first = firstCell, last = lastCell;
  switch (velocityVariant()) {
    case VelocityVariant::None: break;
    case VelocityVariant::NoVertical:
      correctCells(first, last, [](int c, CellTerms &t) { apply(c, t, false); });
      break;
    case VelocityVariant::Damped: {
      const double damp = 0.5 / FlagDamp3;
      correctCells(first, last, [damp](int c, CellTerms &t) {
        if (Barea[Cbed[c]] / Faz[Cflateb[c]] > 1.1) t.f = damp / Cvol[c];
        apply(c, t, true);
      });
      break;
    }
    case VelocityVariant::V1:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        if (!thinIsolated(c, true)) apply(c, t, vert0);
      });
      break;
    case VelocityVariant::V2:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        if (openColumn(c) && !thinIsolated(c, true)) apply(c, t, vert0);
      });
      break;
    case VelocityVariant::V3: correctShallowClamped(first, last); break;
    case VelocityVariant::V4:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        const bool corner = cornerCell(c);
        if (corner) t.Ax = t.Ay = CinvAp[c] * Careax[c] * Careay[c];
        apply(c, t, !corner && vert0);
      });
      break;
    case VelocityVariant::V5:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        if (!cornerCell(c)) {
          apply(c, t, vert0);
          return;
        }
        t.Ax = t.Ay = CinvAp[c] * Careax[c] * Careax[c];
        const double L = 0.2 * std::fabs(Cxvel[c]);
        Cxvel[c] -= std::clamp(du(c, t), -L, L);
        Cyvel[c] -= dv(c, t);
      });
      break;
    case VelocityVariant::V6: {
      const double inv = 1.0 / MinVertDist;
      correctCells(first, last, [inv](int c, CellTerms &t) {
        const double r = 2.0 * columnSum(c) * inv;
        t.f *= std::min(1.0, r * r);
        apply(c, t, true);
      });
      break;
    }
    case VelocityVariant::V7: {
      const double limit = 0.5 * MinVertDist0;
      correctCells(first, last, [limit](int c, CellTerms &t) {
        const bool pinched = Farea[Cflatee[c]] <= 1e-10 || Farea[Cflatew[c]] <= 1e-10 ||
                             Farea[Cflaten[c]] <= 1e-10 || Farea[Cflates[c]] <= 1e-10;
        if (singleCell(c) && Ckdist[c] <= limit && pinched) return;
        apply(c, t, true);
      });
      break;
    }
    case VelocityVariant::V8:
      correctCells(first, last, [](int c, CellTerms &t) {
        halveAtThinFaces(Cf, c, t);
        apply(c, t, true);
      });
      break;
    case VelocityVariant::V9:
      correctCells(first, last, [](int c, CellTerms &t) {
        halveAtThinFaces(Cf, c, t);
        const double r = std::min(Cthixorat[c], 1.0);
        t.f *= r * r * r;
        apply(c, t, true);
      });
      break;
    case VelocityVariant::V10:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        thinFaceRule<false>(Cf, c, t);
        apply(c, t, vert0);
      });
      break;
    case VelocityVariant::V20:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        thinFaceRule<true>(Cf, c, t);
        apply(c, t, vert0);
      });
      break;
    case VelocityVariant::V11:
      correctCells(first, last, [](int c, CellTerms &t) {
        apply(c, t, false);
        Czvel[c] -= t.f * Cdzdk[c] * t.Az * t.gk;
      });
      break;
    case VelocityVariant::V30:
      correctCells(first, last, [vert0](int c, CellTerms &t) {
        const int above = Ccellt[c], below = Ccellb[c];
        if (above <= 0) return;
        t.gk = below > 0 ? (Cf[above] - Cf[below]) / 2.0 : Cf[above] - Cf[c];
        apply(c, t, vert0);
      });
      break;
    case VelocityVariant::V50:
      correctCells(first, last, [](int c, CellTerms &t) {
        if (singleCell(c)) {
          t.gk = 0.0;
          if (presentSides(c) < 4) t.f = 0.5 / Cvol[c];
        }
        apply(c, t, true);
      });
      break;
    case VelocityVariant::V51: {
      const double cap = volumeCap;
      correctCells(first, last, [cap](int c, CellTerms &t) {
        t.f = std::min(t.f, cap);
        apply(c, t, true);
      });
      break;
    }
  }
}
