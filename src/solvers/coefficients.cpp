// Convection-diffusion coefficients of the current Equation: the neighbour
// coefficients Cas..Cat of the cells on both sides of every face of a range,
// by the power law or by second-order upwind (then also Cass..Catt).
#include "solvers/coefficients.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/threads.h"
#include "solvers/coefficient_variants.h"
#include "solvers/qn_neighbour_lists.h"
#include "base/log.h"

// Step 1: some turbulence models diffuse k, epsilon and the components at a
// multiple of the eddy viscosity (1.39 = 1/0.7194 for model 1, 0.5 for
// models 15 and 16, 1.5 for the k of model 14); the velocities always take 1.
double diffusionFactor() {
  if ((TurbulenceModel == 15 || TurbulenceModel == 16) && Equation > 3) return 0.5;
  if (TurbulenceModel == 1 && Equation > 3) return 1.3900472616068946;
  if (TurbulenceModel == 14 && Equation == 5) return 1.5;
  return 1.0;
}

double faceDiffusivity(int f, int c1, int c2, bool vertical, bool constantViscosity) {
  if (constantViscosity) return vertical ? TCvert : TChoriz;
  // The nearer cell weighs more: each side by the other side's distance.
  const double *V = vertical ? CgammaV : Cgamma;
  const double inv = 1.0 / (Fdist1[f] + Fdist2[f] + 1e-20);
  return (Fdist1[f] * V[c2] + Fdist2[f] * V[c1]) * inv;
}

namespace {

// The settings of the face diffusion, read once before the face loop.
struct DiffusionSettings {
  double fac;
  bool constantViscosity;  // TurbulenceModel 6: TCvert / TChoriz
  bool minimumOnVertical;  // TurbDensFlag 3: MinGamma on vertical faces
  double minGamma;
};

DiffusionSettings diffusionSettings() {
  return {diffusionFactor(), TurbulenceModel == 6, TurbDensFlag == 3, MinGamma};
}

// The diffusion of one interior face: D, the face diffusivity G behind it and
// the Peclet number of the face flux against D.
struct FaceDiffusion {
  double D, G, Pe;
};

inline FaceDiffusion faceDiffusion(const DiffusionSettings &s, int f, int c1, int c2, bool vertical) {
  const double inv = 1.0 / (Fdist1[f] + Fdist2[f] + 1e-20);
  double G = faceDiffusivity(f, c1, c2, vertical, s.constantViscosity);
  G = (s.minimumOnVertical && vertical) ? s.minGamma : std::max(G, s.minGamma);
  const double D = s.fac * Farea[f] * G * inv;
  return {D, G, std::fabs(Fflux[f] / (D + 1e-20))};
}

inline bool verticalFace(int f) { return Ftype1[f] == 5 || Ftype2[f] == 5; }

// The coefficient arrays by side code 1 south .. 6 top; 0 and other codes name none.
struct SideArrays {
  double *a[7];
  void set(int side, int c, double v) const {
    if (side >= 1 && side <= 6) a[side][c] = v;
  }
};

SideArrays neighbourArrays() { return {{nullptr, Cas, Cae, Can, Caw, Cab, Cat}}; }
SideArrays secondNeighbourArrays() { return {{nullptr, Cass, Caee, Cann, Caww, Cabb, Catt}}; }

// Step 5a: upwind convection plus diffusion; on vertical faces the diffusion
// is damped by the power law, on horizontal faces it is kept whole.
void powerLawFaces(int first, int last) {
  const DiffusionSettings s = diffusionSettings();
  const SideArrays side = neighbourArrays();
  const double tdVert = TDCvert, tdHoriz = TDChoriz;
  const bool turbDens = TurbDensFlag == 1;
  const bool bedform = FlagRBedformsmooth > 0;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const double F = Fflux[f];
    double D = 0.0;  // boundary, bed and surface faces: convection alone
    if (c1 != 0 && c2 != 0) {
      const bool vertical = verticalFace(f);
      const FaceDiffusion k = faceDiffusion(s, f, c1, c2, vertical);
      if (vertical) {
        D = k.D * powerLawFactor(k.Pe) * tdVert;
        if (turbDens) D *= coeff_turbdens(c1, c2);
      } else {
        D = k.D * tdHoriz;
      }
      if (bedform && c1 > 0 && c2 > 0) D += coeff_bedform(f, c1, c2);
    }
    side.set(Ftype1[f], c1, std::max(-F, 0.0) + D);
    side.set(Ftype2[f], c2, std::max(F, 0.0) + D);
  }
}

// Step 5b, first pass: pure diffusion on both sides, second neighbours cleared;
// damping never takes the diffusivity below MinGamma.
void secondOrderDiffusion(int first, int last) {
  const DiffusionSettings s = diffusionSettings();
  const SideArrays side = neighbourArrays();
  const SideArrays side2 = secondNeighbourArrays();
  const double tdVert = TDCvert, tdHoriz = TDChoriz, minGamma = MinGamma;
  const bool turbDens = TurbDensFlag == 1;
  const bool bedform = FlagRBedformsmooth > 0;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    double D = 0.0;
    if (c1 != 0 && c2 != 0) {
      const bool vertical = verticalFace(f);
      const FaceDiffusion k = faceDiffusion(s, f, c1, c2, vertical);
      double t = tdHoriz;
      if (vertical) t = turbDens ? tdVert * coeff_turbdens(c1, c2) : tdVert;
      D = k.D * std::max(t, minGamma / k.G);
      if (bedform && c1 > 0 && c2 > 0) D += coeff_bedform(f, c1, c2);
    }
    side.set(Ftype1[f], c1, D);
    side.set(Ftype2[f], c2, D);
    side2.set(Ftype1[f], c1, 0.0);
    side2.set(Ftype2[f], c2, 0.0);
  }
}

// Step 6: in a transient run the Crank-Nicolson share CrankNicols of the
// neighbour terms belongs to the old time level, so the implicit part keeps
// (1 - CrankNicols) of every neighbour coefficient.
void crankNicolsonWeighting() {
  if (!(TimeStep > 1e-8 && CrankNicols > 1e-8)) return;
  const double keep = 1.0 - CrankNicols;
  for (double *a : {Cae, Caw, Can, Cas, Cat, Cab}) {
    for (int c = 1; c <= NoCells; ++c) a[c] *= keep;
  }
}

// Second-order upwind convection of one face into the downstream cell N: the
// face value is extrapolated from the upwind cell U and the cell UU beyond it
// with the weight w = (2 dU + dUU) / (dU + dUU), 1.5 on a uniform grid; the
// part (w - 1) |F| that U itself carries toward UU goes to aU[U].
inline void upwindFace(double *a, double *aa, double *aU, int U, int N, int UU, double dU, double dUU, double absF) {
  if (UU == 0) {
    a[N] += absF;
    aa[N] = 0.0;
    return;
  }
  const double w = (2.0 * dU + dUU) / (dU + dUU);
  aU[U] += (w - 1.0) * absF;
  a[N] += w * absF;
  aa[N] = (1.0 - w) * absF;
}

}  // namespace

void secondOrderConvectionPass(int first, int last, const UpwindPass &pass) {
  double *const top = pass.top, *const bottom = pass.bottom;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if ((pass.skipListedFaces && Fqndum[f] != 0) || (c1 == 0 && c2 == 0)) continue;
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    const bool vertical = t1 == 6 || t2 == 6;
    if (vertical && pass.horizontalOnly) continue;
    const double F = vertical ? Fflux[f] - pass.settling * Faz[f] : Fflux[f];
    const double absF = std::fabs(F);
    if (F < 0.0) {  // from c2 (upwind) into c1
      if (t1 == 3 && Ccelln[c1] != 0) {
        const int UU = Ccelln[c2];
        upwindFace(Can, Cann, Can, c2, c1, UU, Cjdist[c2], t2 == 1 ? Cjdist[UU] : Cidist[UU], absF);
      } else if (t1 == 6 && Ccellt[c1] != 0) {
        const int UU = Ccellt[c2];
        upwindFace(top, Catt, top, c2, c1, UU, Ckdist[c2], Ckdist[UU], absF);
      } else if (t1 == 2 && Ccelle[c1] != 0) {
        const int UU = Ccelle[c2];
        upwindFace(Cae, Caee, Cae, c2, c1, UU, Cidist[c2], t2 == 4 ? Cidist[UU] : Cjdist[UU], absF);
      }
    } else {  // from c1 (upwind) into c2
      if (t2 == 4 && Ccellw[c2] != 0) {
        const int UU = Ccellw[c1];
        const bool matching = t1 == 2;
        upwindFace(Caw, Caww, matching ? Caw : Cas, c1, c2, UU, Cidist[c1], matching ? Cidist[UU] : Cjdist[UU],
                   absF);
      } else if (t2 == 5 && Ccellb[c2] != 0) {
        const int UU = Ccellb[c1];
        upwindFace(bottom, Cabb, bottom, c1, c2, UU, Ckdist[c1], Ckdist[UU], absF);
      } else if (t2 == 1 && Ccells[c2] != 0) {
        const int UU = Ccells[c1];
        const bool matching = t1 == 3;
        upwindFace(Cas, Cass, matching ? Cas : Caw, c1, c2, UU, Cjdist[c1], matching ? Cjdist[UU] : Cidist[UU],
                   absF);
      }
    }
  }
}

void coeff_make(int first, int last) {
  // Boundary sides read the dummy cell 0: its extents and velocities are 0.
  Cidist[0] = Cjdist[0] = Cxvel[0] = Cyvel[0] = 0.0;
  if (MGSNo > 0) coeff_MGS(first, last);
  if (sou[Equation] == 1) {
    secondOrderDiffusion(first, last);
    secondOrderConvectionPass(first, last, {Cat, Cab, 0.0, true, false});
  } else {
    powerLawFaces(first, last);
    crankNicolsonWeighting();
  }
  if (QNFlag > 0) QNGridCoeff();
}

void coeff_make_chunked(int first, int last) {
  Cidist[0] = Cjdist[0] = Cxvel[0] = Cyvel[0] = 0.0;
  const bool second = sou[Equation] == 1;
  // The per-face passes write only the entries of their own faces; the
  // convection pass of the second-order scheme adds into neighbouring
  // entries and the Crank-Nicolson weighting and QN lists cover all cells,
  // so they run once after the join.
  forEachChunk(first, last, [second](int a, int b) {
    if (MGSNo > 0) coeff_MGS(a, b);
    if (second) secondOrderDiffusion(a, b);
    else powerLawFaces(a, b);
  });
  if (second) secondOrderConvectionPass(first, last, {Cat, Cab, 0.0, true, false});
  else crankNicolsonWeighting();
  if (QNFlag > 0) QNGridCoeff();
}

void coeff_make_pow_chunked(int first, int last) {
  forEachChunk(first, last, [](int a, int b) { coeff_make_pow(a, b); });
}

void coeff_make_sou2_chunked(int first, int last) {
  Cidist[0] = Cjdist[0] = Fflux[0] = 0.0;
  std::atomic<int> lowest{0};
  forEachChunk(first, last, [&](int a, int b) {
    const int f = coeffSou2Faces(a, b);
    if (f != 0) atomicLowest(lowest, f > 0 ? f : -f);
  });
  // The lowest failing face decides, as in one call over the range; its
  // pass again tells which side failed.
  const int face = lowest.load();
  if (face != 0) reportSou2Failure(coeffSou2Faces(face, face));
}

// Power law of the threaded k build: diffusion D t max(t, MinGamma/G), no
// coefficient at boundary faces, and only the side codes an Fcell1 (2, 3, 6)
// or an Fcell2 (1, 4, 5) can have; another code is logged and skipped.
void coeff_make_pow(int first, int last) {
  Cidist[0] = Cjdist[0] = Cxvel[0] = Cyvel[0] = 0.0;
  const DiffusionSettings s = diffusionSettings();
  const SideArrays side = neighbourArrays();
  const double tdVert = TDCvert, tdHoriz = TDChoriz;
  const bool turbDens = TurbDensFlag == 1;
  const bool bedform = FlagRBedformsmooth > 0;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    if (c1 == 0 || c2 == 0) {
      if (c1 != 0) side.set(t1, c1, 0.0);
      if (c2 != 0) side.set(t2, c2, 0.0);
      continue;
    }
    const double F = Fflux[f];
    const bool vertical = verticalFace(f);
    const FaceDiffusion k = faceDiffusion(s, f, c1, c2, vertical);
    double t = tdHoriz;
    if (vertical) {
      t = powerLawFactor(k.Pe) * tdVert;
      if (turbDens) t *= coeff_turbdens(c1, c2);
    }
    double D = k.D * t * std::max(t, s.minGamma / k.G);
    if (bedform) D += coeff_bedform(f, c1, c2);
    if (t1 == 2 || t1 == 3 || t1 == 6) {
      side.set(t1, c1, std::max(-F, 0.0) + D);
    } else {
      logPrintf("Error in coefficient1 computation, surface %d, cells %d %d, type %d, area %lf\n", f, c1, c2, t1,
                Farea[f]);
    }
    if (t2 == 1 || t2 == 4 || t2 == 5) {
      side.set(t2, c2, std::max(F, 0.0) + D);
    } else {
      logPrintf("Error in coefficient2 computation, surface %d, cells %d %d, type %d, area %lf\n", f, c1, c2, t2,
                Farea[f]);
    }
  }
}

namespace {

// One side of a face in the fixed-weight second-order build: its coefficient
// and second-neighbour rows, the cell beyond the neighbour and the face on
// the opposite side of the cell.
struct Sou2Side {
  double *a, *aa;
  int far, opposite;
};

}  // namespace

int coeffSou2Faces(int first, int last) {
  const DiffusionSettings s = diffusionSettings();
  const SideArrays side = neighbourArrays();
  const SideArrays side2 = secondNeighbourArrays();
  const double tdVert = TDCvert, tdHoriz = TDChoriz;
  const bool turbDens = TurbDensFlag == 1;
  const bool bedform = FlagRBedformsmooth > 0;
  const int fold = FlagSetPow;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    if (c1 == 0 || c2 == 0) {
      if (c1 != 0) {
        side.set(t1, c1, 0.0);
        side2.set(t1, c1, 0.0);
      }
      if (c2 != 0) {
        side.set(t2, c2, 0.0);
        side2.set(t2, c2, 0.0);
      }
    } else {
      const double F = Fflux[f];
      const bool vertical = verticalFace(f);
      const FaceDiffusion k = faceDiffusion(s, f, c1, c2, vertical);
      double t = tdHoriz;
      if (vertical) t = turbDens ? tdVert * coeff_turbdens(c1, c2) : tdVert;
      double Dd = k.D * std::max(t, s.minGamma / k.G);
      if (bedform) Dd += coeff_bedform(f, c1, c2);
      // The cell c1 receives from c2 when F < 0; its far cell lies beyond c2.
      Sou2Side one{nullptr, nullptr, 0, 0};
      if (t1 == 2) one = {Cae, Caee, Ccelle[c2], Cflatew[c1]};
      else if (t1 == 3) one = {Can, Cann, Ccelln[c2], Cflates[c1]};
      else if (t1 == 6) one = {Cat, Catt, Ccellt[c2], Cflateb[c1]};
      else if (t1 != 0) return -f;
      if (one.a != nullptr) {
        double a, aa = 0.0;
        if (one.far < 1) {
          a = std::max(-F, 0.0) + Dd;
        } else {
          a = std::max(-1.5 * F, 0.0) + Dd;
          if (F < 0.0) aa = 0.5 * F;
        }
        a += std::max(-0.5 * Fflux[one.opposite], 0.0);
        one.a[c1] = a;
        one.aa[c1] = aa;
      }
      Sou2Side two{nullptr, nullptr, 0, 0};
      if (t2 == 1) two = {Cas, Cass, Ccells[c1], Cflaten[c2]};
      else if (t2 == 4) two = {Caw, Caww, Ccellw[c1], Cflatee[c2]};
      else if (t2 == 5) two = {Cab, Cabb, Ccellb[c1], Cflatet[c2]};
      else if (t2 != 0) return f;
      if (two.a != nullptr) {
        double a, aa = 0.0;
        if (two.far < 1) {
          a = std::max(F, 0.0) + Dd;
        } else {
          a = std::max(1.5 * F, 0.0) + Dd;
          if (F > 0.0) aa = -0.5 * F;
        }
        a += std::max(0.5 * Fflux[two.opposite], 0.0);
        two.a[c2] = a;
        two.aa[c2] = aa;
      }
    }
    // F 362: the second neighbours of east-west (1) or vertical (3) faces
    // folded into the first.
    if ((fold == 1 && t1 == 2) || (fold == 3 && t1 == 6)) {
      double *a1 = fold == 1 ? Cae : Cat, *aa1 = fold == 1 ? Caee : Catt;
      double *a2 = fold == 1 ? Caw : Cab, *aa2 = fold == 1 ? Caww : Cabb;
      if (c1 > 0) {
        a1[c1] += aa1[c1];
        aa1[c1] = 0.0;
      }
      if (c2 > 0) {
        a2[c2] += aa2[c2];
        aa2[c2] = 0.0;
      }
    }
  }
  return 0;
}

void reportSou2Failure(int failure) {
  if (failure == 0) return;
  const int f = failure > 0 ? failure : -failure;
  const bool first = failure < 0;
  logPrintf("Error in coefficient%d computation, surface %d, cells %d %d, type %d, area %lf\n", first ? 1 : 2, f,
            Fcell1[f], Fcell2[f], first ? Ftype1[f] : Ftype2[f], Farea[f]);
  fatalExit(first ? -77 : -78, nullptr);
}

void coeff_make_sou2(int first, int last) {
  Cidist[0] = Cjdist[0] = Fflux[0] = 0.0;
  reportSou2Failure(coeffSou2Faces(first, last));
}

double deferredLimiter(int scheme, double r) {
  double psi;
  switch (scheme) {
    case 10: psi = 0.75 * r + 0.25; break;
    case 11: psi = 0.5 * (1.3333 * r + 0.666667); break;
    case 12: psi = std::max(0.0, std::min({2.0 * r, 0.75 * r + 0.25, 4.0})); break;
    case 13: psi = 2.0 * (r + std::fabs(r)) / (r + 3.0); break;
    case 14: psi = (r + std::fabs(r)) / (r + 1.0); break;
    case 15: psi = std::max({0.0, std::min(2.0 * r, 1.0), std::min(r, 2.0)}); break;
    case 16: psi = std::max(0.0, std::min(r, 1.0)); break;
    case 17: psi = 1.0; break;
    case 19: psi = std::max(0.0, std::min({2.0 * r, 0.5 * r + 0.5, 2.0})); break;
    default: psi = 0.0; break;  // 18 plain upwind; codes without a limiter
  }
  return std::isnan(psi) ? 0.0 : psi;
}

void coeff_make_source(int first, int last) {
  const int e = Equation;
  const int scheme = sou[e];
  if (scheme < 10 || scheme > 17) {
    if (scheme != 19) return;  // 18 and the codes without a limiter add nothing
  }
  const double *phi = nullptr;
  if (e == 1) phi = Cxvel;
  else if (e == 2) phi = Cyvel;
  else if (e == 3) phi = Czvel;
  else if (e == 5) phi = Ckinen;
  else if (e == 6) phi = Cepsilon;
  else if (e == 7) phi = Cconc[grainsize_number];
  if (phi == nullptr) return;
  double *source = (e == 7 && lnumber > 1) ? Csourcem[grainsize_number] : Csource;
  const double settling = e == 7 ? 1000.0 * fallvelo[grainsize_number] : 0.0;
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 == 0 || c2 == 0) continue;
    double F = Fflux[f];
    if (e == 7 && (Ftype1[f] == 6 || Ftype2[f] == 6)) F -= settling * Faz[f];
    int U, UU, D;
    if (F > 0.0 && Fcell11[f] >= 1) {
      U = c1, UU = Fcell11[f], D = c2;
    } else if (F < 0.0 && Fcell22[f] >= 1) {
      U = c2, UU = Fcell22[f], D = c1;
    } else {
      continue;
    }
    const double dd = phi[U] - phi[UU];
    const double r = (phi[D] - phi[U]) / (dd + 1e-30);
    const double corr = F * 0.5 * deferredLimiter(scheme, r) * dd;
    source[c1] -= corr;
    source[c2] += corr;
  }
}

// Relative density of water at temperature t (degrees Celsius), 1 at 4 degrees
// times 0.9999726.
inline double relativeWaterDensity(double t) {
  return 0.9999726 * (1.0 - 9.297173e-6 * std::pow(std::fabs(t - 4.029325), 1.894816));
}

double coeff_turbdens(int lower, int upper) {
  // Distance of the two centres; a cell between them counts whole.
  double d = Ckdist[lower] + Ckdist[upper];
  if (upper - lower > 1 || lower - upper > 1) d += 2.0 * Ckdist[Ccellt[lower]];
  // Density of the upper water minus that of the lower: from the suspended
  // sediment in the sediment computation, else from the temperature of
  // component 0 (without it the water counts as unstratified).
  double difference;
  if (FlagTSC >= 1) {
    difference = (Cconc[0][upper] - Cconc[0][lower]) * density;
  } else {
    if (!Ccomp || NoComponents < 1) return 1.0;
    difference = relativeWaterDensity(Ccomp[0][upper]) - relativeWaterDensity(Ccomp[0][lower]);
  }
  // Only heavier water below lighter water damps; a neutral pair needs no
  // shear length (with TDvelo 0 and equal velocities it would be infinite).
  if (!(difference < 0.0)) return 1.0;
  const double gradient = difference / d;
  double length;
  if (FlagTVertGrad == 1) {
    length = BTugrad[Cbed[lower]];
  } else {
    const double du = Cxvel[lower] - Cxvel[upper], dv = Cyvel[lower] - Cyvel[upper];
    length = d / (std::sqrt(du * du + dv * dv) + TDvelo);
  }
  const double ri = std::max(-9.81 * gradient * length * length, 0.0);
  return std::pow(1.0 + TDbeta * ri, TDalpha);
}
