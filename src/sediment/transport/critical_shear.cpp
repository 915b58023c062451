// The critical bed shear stress of a grain size on one bed cell: the Shields
// parameter gives the base value; hiding among the sizes of a mixture, the
// slope of the bed face under the flow direction and cohesion modify it.
#include "sediment/transport/critical_shear.h"

#include <algorithm>
#include <cmath>

#include "grid/geometry/plane_vectors.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

// The particle Reynolds number of diameter d under the bed shear tau, with
// the kinematic viscosity of water 1e-6 m2/s.
double particleReynolds(double tau, double d) { return std::sqrt(0.001 * tau) * d / 1e-6; }

// Sums over the layers from the top downwards until their thickness passes
// the active-layer thickness or layer 1 is in; layer 0 never counts. Returns
// false when the column has no layer above 0.
template <typename Term>
bool overTopLayers(int b, Term term) {
  double thickness = 0.0;
  bool any = false;
  for (int n = BlayerTop[b]; n >= 1; --n) {
    const double t = BSedDistrib[n][0][b];
    term(n, t);
    any = true;
    thickness += t;
    if (thickness > TopThickness) break;
  }
  return any;
}

// Hiding and exposure: a fine grain among coarse ones is sheltered (factor
// above 1), a coarse one exposed.
double hidingFactor(const CriticalShearCell &cell, double d) {
  const int b = cell.b, L = lnumber;
  const double p = HideExParam;
  if (FlagHideEx == 2 && L > 1) {
    if (NoBedLayers == 2) return std::pow(d / cell.d50, p);
    if (NoBedLayers > 2) {
      double sum = 0.0, thickness = 0.0;
      const bool any = overTopLayers(b, [&](int n, double t) {
        for (int i = 1; i <= L; ++i) sum += BSedDistrib[n][i][b] * t * gsize[i];
        thickness += t;
      });
      return any ? std::pow(d / (sum / (thickness + 1e-30)), p) : 1.0;
    }
  }
  if (FlagHideEx == 4) {
    if (NoBedLayers == 2 && L > 1) {
      double ph = 0.0, pe = 0.0;
      for (int i = 1; i <= L; ++i) {
        const double f = BSedDistrib[cell.layer][i][b], di = gsize[i];
        ph += f * d / (di + d);
        pe += f * di / (di + d);
      }
      return std::pow(ph / pe, p);
    }
    if (NoBedLayers > 2) {
      double ph = 0.0, pe = 0.0;
      const bool any = overTopLayers(b, [&](int n, double t) {
        for (int i = 1; i <= L; ++i) {
          const double f = BSedDistrib[n][i][b] * t, di = gsize[i];
          ph += f * d / (di + d);
          pe += f * di / (di + d);
        }
      });
      return any ? std::pow(ph / (pe + 1e-30), p) : 1.0;
    }
  }
  return 1.0;
}

// The bed angle of the Brooks form with the flow direction: the slope angle
// scaled by the flow's cosine to the contour, or the angle of the bed faces
// averaged over F 204 metres along the grid lines.
double brooksAngle(int c0, double alpha, double u, double v) {
  const int fb = Cflateb[c0];
  if (sizeBedCritCorr < 1e-7) return std::fabs(dotproduct(Fvy[fb], -Fvx[fb], u, v)) * alpha;
  double sum = 0.0, weight = 0.0;
  auto walk = [&](int c, const int *next, const double *half) {
    for (double length = 0.0; c > 0 && length < sizeBedCritCorr; c = next[c]) {
      sum += Fvz[Cflateb[c]] * half[c];
      weight += half[c];
      length += 2.0 * half[c];
    }
  };
  walk(c0, Ccellw, Cidist);
  walk(Ccelle[c0], Ccelle, Cidist);
  walk(c0, Ccells, Cjdist);
  walk(Ccelln[c0], Ccelln, Cjdist);
  return std::acos(std::clamp(sum / (weight + 1e-20), -1.0, 1.0));
}

// Whether a slope option acts on the bed cell: the bed must hold more than
// one largest grain, and even options act at banks only.
bool slopeOptionActs(const CriticalShearCell &cell) {
  const int option = FlagBedslopeCorrection, b = cell.b;
  if (option < 1 || option > 10) return false;
  if (option % 2 == 0 && !cell.bank) return false;
  return BSedDistrib[1][0][b] + BSedDistrib[0][0][b] > gsize[1];
}

// The slope factor of a bed cell where an option acts.
double bedSlopeFactor(const CriticalShearCell &cell) {
  const int option = FlagBedslopeCorrection, b = cell.b, c0 = cell.c0;
  if (option <= 2 && FlagBedAngles > 1) {
    BedCritTanSlopeUp = BrooksUp[b];
    BedCritTanSlopeDown = BrooksDown[b];
    BedCritMinDamp = BrooksLimit[b];
  }
  const int fb = Cflateb[c0];
  const double u = Cxvel[c0], v = Cyvel[c0];
  const double r = dotproduct(Fvx[fb], Fvy[fb], u, v);
  const double w = (1.0 + r) / 2.0;
  const double t = (1.0 - w) * BedCritTanSlopeUp + w * BedCritTanSlopeDown;
  const double alpha = std::acos(std::clamp(Fvz[fb], -1.0, 1.0));
  const double beta = option <= 2 ? brooksAngle(c0, alpha, u, v) : 0.0;
  return slopeFactor(option, r, alpha, beta, t, BedCritTanSlopeUp, BedCritMinDamp);
}

// Brooks' factor for a bed tilted by angle a, with a the lateral tilt term.
double brooks(double a, double angle, double t, double m) {
  const double c = std::cos(angle), tn = t * std::tan(angle);
  const double d = c * c * (1.0 - tn * tn) + a * a;
  const double k = d < 0.01 ? a + 0.1 : a + std::sqrt(d);
  return std::max(k, m);
}

}  // namespace

double shieldsParameter(int curve, double re) {
  const double r = std::clamp(re, 0.01, 100000.0);
  switch (curve) {
    case 1: return 0.03 * (1.0 - 0.699 * std::exp(-0.015 * r)) + 0.075 / (r + 0.5);
    case 2: return 0.075 * (1.0 - 0.699 * std::exp(-0.015 * r)) + 0.028 / (r + 1.2);
    case 3: return 0.0475 * (1.0 - 0.699 * std::exp(-0.015 * r)) + 0.188 / (r + 1.0);
    default: {
      if (re < 0.2) return 0.6;
      if (re > 500.0) return 0.0624927;
      const double x = std::log10(re);
      return std::pow(10.0, -0.99863612 - 0.92539586 * x + 0.54283631 * x * x - 0.084544063 * x * x * x);
    }
  }
}

double slopeFactor(int option, double r, double alpha, double beta, double t, double tu, double m) {
  const double rc = std::clamp(r, -1.0, 1.0);
  switch (option) {
    case 1:
    case 2: return brooks(-std::sin(std::acos(rc)) * std::sin(beta) * t, beta, t, m);
    case 3:
    case 4: return brooks(-std::sin(alpha) * r * t, alpha, t, m);
    case 5:
    case 6: {
      const double phi = std::atan(1.0 / t);
      const double along = std::pow(std::max(0.0, 1.0 - alpha * r / phi), 0.745);
      const double across = std::pow(std::max(0.0, 1.0 - (1.0 - std::fabs(r)) * alpha / phi), 0.372);
      return std::max(0.954 * along * across, m);
    }
    case 7:
    case 8: return std::max(std::sqrt(std::max(0.0, 1.0 - t * std::tan(alpha))) * std::cos(alpha), m);
    case 9:
    case 10: {
      const double x = 1.0 - alpha / std::atan(tu);
      return x > 0.0 ? std::min(std::max(std::pow(x, 0.372), m), 1.0) : m;
    }
    default: return 1.0;
  }
}

double constantShieldsFactor() { return shieldscoeff > 0.0 ? shieldscoeff * (density - 1.0) * 9810.0 : -1.0; }

CriticalShear criticalShear(const CriticalShearCell &cell, int k, double constantG) {
  const double d = gsize[k], weight = (density - 1.0) * 9810.0;
  const double g =
      constantG > 0.0 ? constantG : shieldsParameter(FlagShields, particleReynolds(cell.tau, d)) * weight;
  double tauC = g * d + 1e-20;
  // The mixture formula takes the median grain on curve 0 for every size.
  if (BedLoadFlag == 7) tauC = shieldsParameter(0, particleReynolds(cell.tau, cell.d50)) * cell.d50 * weight + 1e-20;
  const double h = hidingFactor(cell, d);
  tauC *= h;
  double slope = 1.0;
  if (slopeOptionActs(cell)) {
    slope = bedSlopeFactor(cell);
    tauC = g * d * slope * h + 1e-20;
  }
  if (cohesive[k] > 1e-10) tauC += cohesive[k];
  if (FlagCohesion > 0 || NoCohesiveDepth > 0) tauC += Bcohesion[cell.layer][cell.b];
  if (cell.bank && BankCohesion > 1e-20) tauC += BankCohesion;
  return {tauC, g, slope, h};
}
