// Production and dissipation of k and epsilon (omega in the k-omega models):
// assigns Csource and Cap of a cell range from the velocity gradients, and
// with F 71 5 the damping factor CdampDensity of the k equation.
#include "turbulence/k_epsilon_sources.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

// S2 = 2 S:S and O2 = 2 W:W of a cell, from the Gauss theorem over its
// three pairs of opposite faces.
struct Strain {
  double s2, o2;
};

// The value of a field at the face towards neighbour n, interpolated
// linearly by the half extents; a missing neighbour gives the cell's value.
inline double faceValue(const double *q, int c, int n, const double *half) {
  if (n <= 0) return q[c];
  const double w = half[c] / (half[c] + half[n]);
  return q[c] + w * (q[n] - q[c]);
}

Strain strainOf(int c) {
  const int e = Ccelle[c], w = Ccellw[c], n = Ccelln[c], s = Ccells[c], t = Ccellt[c], b = Ccellb[c];
  const double dui = faceValue(Cxvel, c, e, Cidist) - faceValue(Cxvel, c, w, Cidist);
  const double dvi = faceValue(Cyvel, c, e, Cidist) - faceValue(Cyvel, c, w, Cidist);
  const double dwi = faceValue(Czvel, c, e, Cidist) - faceValue(Czvel, c, w, Cidist);
  const double duj = faceValue(Cxvel, c, n, Cjdist) - faceValue(Cxvel, c, s, Cjdist);
  const double dvj = faceValue(Cyvel, c, n, Cjdist) - faceValue(Cyvel, c, s, Cjdist);
  const double dwj = faceValue(Czvel, c, n, Cjdist) - faceValue(Czvel, c, s, Cjdist);
  const double duk = faceValue(Cxvel, c, t, Ckdist) - faceValue(Cxvel, c, b, Ckdist);
  const double dvk = faceValue(Cyvel, c, t, Ckdist) - faceValue(Cyvel, c, b, Ckdist);
  const double dwk = faceValue(Czvel, c, t, Ckdist) - faceValue(Czvel, c, b, Ckdist);
  const int fe = Cflatee[c], fw = Cflatew[c], fn = Cflaten[c], fs = Cflates[c], ft = Cflatet[c], fb = Cflateb[c];
  const double axi = 0.5 * (Fax[fe] + Fax[fw]), ayi = 0.5 * (Fay[fe] + Fay[fw]);
  const double axj = 0.5 * (Fax[fn] + Fax[fs]), ayj = 0.5 * (Fay[fn] + Fay[fs]);
  const double axk = 0.5 * (Fax[ft] + Fax[fb]), ayk = 0.5 * (Fay[ft] + Fay[fb]), azk = 0.5 * (Faz[ft] + Faz[fb]);
  const double inv = 1.0 / Cvol[c];
  const double ux = (dui * axi + duj * axj + duk * axk) * inv, uy = (dui * ayi + duj * ayj + duk * ayk) * inv;
  const double vx = (dvi * axi + dvj * axj + dvk * axk) * inv, vy = (dvi * ayi + dvj * ayj + dvk * ayk) * inv;
  const double wx = (dwi * axi + dwj * axj + dwk * axk) * inv, wy = (dwi * ayi + dwj * ayj + dwk * ayk) * inv;
  const double uz = duk * azk * inv, vz = dvk * azk * inv, wz = dwk * azk * inv;
  const double s2 = 2.0 * (ux * ux + vy * vy + wz * wz) + (uy + vx) * (uy + vx) + (uz + wx) * (uz + wx) +
                    (vz + wy) * (vz + wy);
  const double o2 = (uy - vx) * (uy - vx) + (uz - wx) * (uz - wx) + (vz - wy) * (vz - wy);
  return {s2, o2};
}

// The production rates of the k build, kept for the epsilon build of the
// same stage while `gKeepRates` is on: the velocities do not change between
// the two builds, so epsilon takes them instead of forming the gradients
// again. The store grows with the grid and is never freed in the run.
bool gKeepRates = false;
std::vector<double> gRates;

inline bool touchesWall(int c) {
  return Fflagflow[Cflatee[c]] == -1 || Fflagflow[Cflatew[c]] == -1 || Fflagflow[Cflates[c]] == -1 ||
         Fflagflow[Cflaten[c]] == -1 || Fflagflow[Cflatet[c]] == -1 || Fflagflow[Cflateb[c]] == -1;
}

// The production of a cell without stratification: Cgamma S2 V, or with
// F 272 1 the strain-rotation form of Kato and Launder.
template <bool Kato>
double productionRate(int c) {
  const Strain st = strainOf(c);
  return Kato ? std::sqrt(std::fabs(st.s2 * st.o2)) : st.s2;
}

template <bool Kato>
void plainProduction(int first, int last) {
  const bool store = gKeepRates && Equation == 5, reuse = gKeepRates && Equation == 6;
  double *const kept = gRates.data();
  for (int c = first; c <= last; ++c) {
    if (touchesWall(c)) {
      Csource[c] = 0.0;
      continue;
    }
    double rate;
    if (reuse) {
      rate = kept[c];
    } else {
      rate = productionRate<Kato>(c);
      if (store) kept[c] = rate;
    }
    Csource[c] = Cgamma[c] * rate * Cvol[c];
  }
}

// The production with the buoyancy of a density stratification (F 71).
void stratifiedProduction(int first, int last) {
  const int eq = Equation, mode = TurbDensFlag;
  const double limit = coeffTurbFlag5, c3e = coeffTurbC3e;
  const bool damping = eq == 5 && mode == 5 && CdampDensity;
  for (int c = first; c <= last; ++c) {
    const bool wall = touchesWall(c);
    if (wall && !damping) {
      Csource[c] = 0.0;
      continue;
    }
    const double v = Cvol[c];
    double p = strainOf(c).s2 * v;
    const int lower = Ccellb[c] > 0 ? Ccellb[c] : c, upper = Ccellt[c] > 0 ? Ccellt[c] : c;
    if (eq == 5 && (mode == 4 || mode == 6)) {
      const double b = std::max({std::min(densityDamp(lower, upper), 0.0) * v, -limit * p, -0.001 * p});
      p += b;
    } else if (damping) {
      const double b = std::min(densityDamp(lower, upper) * v, 0.0);
      const double n = p + b < 1e-20 ? 1e-40 : (p + b) * (p + b);
      double d;
      if (p + c3e * b < 1e-20) d = p > 1e-20 ? std::max(1e-20 * p, 1e-40) : 1e-40;
      else d = std::max((p + c3e * b) * std::max(p, 1e-20), 1e-40);
      CdampDensity[c] = std::max(0.001, std::pow(n / d, limit));
    } else if (eq == 6 && mode == 6) {
      p += std::min(densityDamp(lower, upper), 0.0) * v * c3e;
    }
    Csource[c] = wall ? 0.0 : Cgamma[c] * p;
  }
}

// The dissipation (implicit, in Cap) and the factors of the equation.
void dissipation(int first, int last, int model) {
  const int eq = Equation;
  if (eq == 5) {
    if (model == 16) {
      for (int c = first; c <= last; ++c) Cap[c] = 1000.0 * 0.09 * Cepsilon[c] * Cvol[c];
    } else {
      for (int c = first; c <= last; ++c) Cap[c] = 1000.0 * Cepsilon[c] / (Ckinen[c] + 1e-20) * Cvol[c];
    }
    return;
  }
  if (eq != 6) return;
  if (model == 15 || model == 16) {
    for (int c = first; c <= last; ++c) {
      const double omega = Cepsilon[c];
      Cap[c] = 1000.0 * 0.072 * omega * Cvol[c];
      Csource[c] = 0.52 * omega / (Ckinen[c] + 1e-20) * Csource[c];
    }
    return;
  }
  if (model == 1) {
    // RNG: the strain parameter eta = S k / epsilon reduces the dissipation
    // coefficient where the strain is large.
    for (int c = first; c <= last; ++c) {
      const double k = Ckinen[c], e = Cepsilon[c], v = Cvol[c];
      const double r = e / (k + 1e-20);
      const double eta = std::sqrt(Csource[c] / (Cgamma[c] * v + 1e-20)) * k / (e + 1e-20);
      const double eta3 = eta * eta * eta;
      Cap[c] = 1000.0 * r * v * (1.68 + 0.0845 * eta3 * (1.0 - eta / 4.38) / (1.0 + 0.012 * eta3));
      Csource[c] = 1.42 * r * Csource[c];
    }
    return;
  }
  // 1.3 undoes the 0.7692 that the eddy viscosity of the epsilon equation
  // carries for the standard models.
  const double c1 = EpsilonCs1 * 1.3, c2 = EpsilonCs2 * 1000.0;
  for (int c = first; c <= last; ++c) {
    const double r = Cepsilon[c] / (Ckinen[c] + 1e-20);
    Csource[c] = c1 * r * Csource[c];
    Cap[c] = c2 * r * Cvol[c];
  }
}

// Relative density of water at temperature t (deg C), 1 at about 4 deg C.
inline double waterDensity(double t) {
  return 0.9999726 * (1.0 - 9.297173e-6 * std::pow(std::fabs(t - 4.029325), 1.894816));
}

}  // namespace

double strainRateSquared(int c) { return strainOf(c).s2; }

void keepRatesForEpsilon(bool keep) {
  gKeepRates = keep;
  if (keep && gRates.size() < static_cast<std::size_t>(NoCells) + 1) gRates.resize(static_cast<std::size_t>(NoCells) + 1);
}

// Starts the k (Equation 5) or epsilon (6) equation of cells first..last:
// the production by the mean shear in Csource, zero in cells touching a
// wall (the wall law takes over there), and the dissipation in Cap.
void turbulence(int first, int last) {
  const int model = TurbulenceModel;
  if (model >= 2 && model <= 7) return;
  if (TurbDensFlag >= 1) stratifiedProduction(first, last);
  else if (FlagKatoLaunder == 1) plainProduction<true>(first, last);
  else plainProduction<false>(first, last);
  if (FlagTurbDLL > 0) {
    for (int c = first; c <= last; ++c) Cap[c] = 0.0;
    return;
  }
  dissipation(first, last, model);
}

// g times the vertical gradient of the relative density between the cell
// below and the cell above: from the temperature of component 0, or in the
// transient sediment computation from the suspended sediment. Without a
// temperature component the water counts as unstratified.
double densityDamp(int lower, int upper) {
  double d = Ckdist[upper] + Ckdist[lower];
  if (upper - lower > 1) d += 2.0 * Ckdist[lower + 1];
  double difference;
  if (FlagTSC <= 0) {
    if (!Ccomp || NoComponents < 1) return 0.0;
    difference = waterDensity(Ccomp[0][upper]) - waterDensity(Ccomp[0][lower]);
  } else {
    difference = (Cconc[0][upper] - Cconc[0][lower]) * density;
  }
  return difference / d * 9.81;
}
