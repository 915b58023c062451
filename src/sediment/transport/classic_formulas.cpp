// The classic transport formulas as the near-bed concentration of the
// suspended-sediment equations: each formula's transport per width is
// divided by the depth integral of the Rouse profile times the speed, so the
// concentration field built on Bconc carries the formula's transport.
#include "sediment/transport/classic_formulas.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

constexpr double kG = 9.81, kNu = 1e-6;

double speedOf(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// A concentration by weight in ppm carries its load with the water
// discharge U h; as a volume over the profile integral.
double ppmToConcentration(double ppm, const FormulaColumn &col, double s) {
  return ppm * 1e-6 * col.U * col.h / (s * col.integral);
}

double mobility(const FormulaColumn &col, const FormulaGrain &g) {
  return col.tauG / (1000.0 * kG * (g.s - 1.0) * g.d);
}

}  // namespace

double classicCriticalShear(double d, double ustar, double s) {
  if (shieldscoeff > 0.0) return d * std::fabs(shieldscoeff) * (s - 1.0) * 9810.0 + 1e-20;
  const double re = ustar * d / kNu;
  double theta;
  if (re > 500.0) {
    theta = 0.0624927;
  } else if (re < 0.2) {
    theta = 0.6;
  } else {
    const double x = std::log10(re);
    theta = std::pow(10.0, -0.99863612 - 0.92539586 * x + 0.54283631 * x * x - 0.084544063 * x * x * x);
  }
  return d * (s - 1.0) * theta * 9810.0 + 1e-20;
}

double classicD90(const double *f, int sizes) {
  if (sizes <= 1) return gsize[1];
  double finer = 0.0;
  for (int k = sizes; k >= 1; --k) {
    const double centre = finer + f[k] / 2.0;
    // The finest centre holds at most half, so k + 1 is a size here.
    if (centre > 0.9) {
      const double w = 2.0 * (centre - 0.9) / (f[k] + f[k + 1]);
      return gsize[k] * (1.0 - w) + gsize[k + 1] * w;
    }
    finer += f[k];
  }
  return gsize[1];
}

double engelundHansenLoad(const FormulaColumn &col, const FormulaGrain &g) {
  return 0.05 * col.U * col.U * std::sqrt(g.d / (kG * (g.s - 1.0))) * std::pow(mobility(col, g), 1.5);
}

double meyerPeterMuellerLoad(const FormulaColumn &col, const FormulaGrain &g) {
  if (col.tauG < g.tauC) return 0.0;
  return 0.02578 * std::pow(col.tauG - g.tauC, 1.5) * g.s / (g.s - 1.0) / (1000.0 * g.s);
}

double einsteinBrownLoad(const FormulaColumn &col, const FormulaGrain &g) {
  const double d3 = g.d * g.d * g.d;
  // Rubey's fall parameter.
  const double k = 3.6e-11 / (kG * d3 * (g.s - 1.0));
  const double rubey = std::sqrt(0.66667 + k) - std::sqrt(k);
  const double theta = mobility(col, g);
  return 40.0 * theta * theta * theta * rubey * std::sqrt((g.s - 1.0) * kG * d3);
}

double ackersWhitePpm(const FormulaColumn &col, const FormulaGrain &g) {
  const double gs = kG * (g.s - 1.0);
  const double dgr = g.d * std::pow(gs, 0.33333) * 9999.907897020428;
  double n = 0.0, a = 0.17, m = 1.5, cg = 0.025;
  if (dgr <= 60.0) {
    const double l = std::log10(dgr);
    n = 1.0 - 0.56 * l;
    a = 0.23 / std::sqrt(dgr) + 0.14;
    m = 9.66 / dgr + 1.34;
    cg = std::pow(10.0, 2.86 * l - l * l - 3.53);
    if (dgr < 1.0) {
      logText("Ackers/White formula not valid for this situation\n");
      n = 1.0;
    }
  }
  const double fgr = std::pow(col.ustar, n) / std::sqrt(gs * g.d) *
                     std::pow(col.U / (5.656854249492381 * std::log10(10.0 * col.h / g.d)), 1.0 - n);
  const double excess = fgr / a - 1.0;
  if (excess < 0.0) return 0.0;
  return cg * std::pow(excess, m) * 1e6 * g.s * g.d / col.h * std::pow(col.U / col.ustar, n);
}

double yangPpm(const FormulaColumn &col, const FormulaGrain &g) {
  const double re = col.ustar * g.d / kNu;
  const double ucr = re < 70.0 ? g.w * (2.5 / (std::log10(re) - 0.06) + 0.66) : 2.05 * g.w;
  const double power = (col.U - ucr) * col.slope;
  // Below the critical stream power the sand stays, as below the other
  // formulas' thresholds.
  if (power <= 0.0) return 0.0;
  const double lw = std::log10(g.w * g.d / kNu), lu = std::log10(col.ustar / g.w);
  const double logC = 5.435 - 0.286 * lw - 0.457 * lu + (1.799 - 0.409 * lw - 0.314 * lu) * std::log10(power / g.w);
  return std::pow(10.0, logC);
}

double shenHungPpm(const FormulaColumn &col, const FormulaGrain &g) {
  // Velocities in feet per second.
  const double y = std::pow(3.28 * col.U * std::pow(col.slope, 0.57) / std::pow(3.28 * g.w, 0.32), 0.0075);
  return std::pow(10.0, -107404.5 + 324214.7 * y - 326309.6 * y * y + 109503.9 * y * y * y);
}

double classicConcentration(char letter, const FormulaColumn &col, const FormulaGrain &g, int size, int b) {
  switch (letter) {
    case 'E': {
      const double qt = engelundHansenLoad(col, g);
      const double c = qt / col.integral;
      if (c > 2.65) {
        logPrintf("Error Engelund Bconc(%d,%d) = %e\n", size, b, c);
        logPrintf("  engelund,konc,eqshear = %e %e %e\n", qt, col.integral, g.tauC);
        logPrintf("  velocity,slope,partfroude = %e %e %e\n", col.U, col.slope, mobility(col, g));
      }
      return c;
    }
    case 'M': return meyerPeterMuellerLoad(col, g) / col.integral;
    case 'I':
      if (!(col.bottomFlow > 1e-20)) fatalExit(kExitInputError, "Einsteins formula not valid for this situation");
      return einsteinBrownLoad(col, g) / col.bottomFlow;
    case 'A': return ppmToConcentration(ackersWhitePpm(col, g), col, g.s);
    case 'Y': return ppmToConcentration(yangPpm(col, g), col, g.s);
    case 'S': return ppmToConcentration(shenHungPpm(col, g), col, g.s);
    default: return 0.0;
  }
}

double classicBedFormHeight(double meanStage, double h, double dm, double thickness) {
  const double t = meanStage;
  double form = 0.0;
  if (t <= 25.0) form = 0.11 * h * std::pow(dm / h, 0.3) * (1.0 - std::exp(-0.5 * t)) * (25.0 - t);
  return std::min({form, thickness / 2.0, 3.0 * h});
}

double classicBedRoughness(double thickness, double d90, double form, double h, double stored) {
  if (FlagRoughness < 2 || FlagRoughness > 6) return stored;
  if (Flag2BedRoughness != 0 && Flag2BedRoughness != 1) return stored;
  const double kc = coeffRoughRijn;
  if (thickness <= d90) return Flag2BedRoughness == 1 ? XksWall : std::max(XksWall, kc * thickness);
  if (FlagRoughness == 2) return kc * d90;
  return kc * d90 + 1.1 * form * (1.0 - std::exp(-25.0 * form / (7.3 * h)));
}

double rouseIntegral(int c0, double h, double rouse) {
  const double a = Ckdist[c0];
  double sum = 0.0, below = 0.0;
  for (int c = c0; c > 0; c = Ccellt[c]) {
    const double y = below + Ckdist[c];
    sum += std::pow((h - y) / y * a / (h - a), rouse) * 2.0 * Ckdist[c] * speedOf(c);
    below += 2.0 * Ckdist[c];
  }
  return sum;
}

namespace {

void bedCellFormulas(int b) {
  const int c0 = Bcellt[b];
  const int top = NoBedLayers == 2 ? 1 : BlayerTop[b];
  const double s = density;
  double half = 0.0, flow = 0.0;
  for (int c = c0; c > 0; c = Ccellt[c]) {
    half += Ckdist[c];
    flow += speedOf(c) * Ckdist[c];
  }
  FormulaColumn col{};
  col.h = 2.0 * half;
  col.U = flow / half;
  const double tau = 300.0 * Ckinen[c0] + 1e-20;
  col.ustar = std::sqrt(tau * 0.001);
  col.slope = tau / (9810.0 * col.h + 1e-20);
  col.bottomFlow = 2.0 * Ckdist[c0] * speedOf(c0);
  double f[kMaxGrainSizes + 2];
  for (int l = 1; l <= lnumber; ++l) f[l] = BSedDistrib[top][l][b];
  const double d90 = classicD90(f, lnumber);
  Bd90[b] = d90;
  col.tauG = tau;
  if (FlagRoughness == 4 || FlagRoughness == 5) col.tauG = tau * std::pow(std::min(1.0, 3.0 * d90 / Croughness[c0]), 0.25);
  double stageSum = 0.0, dm = 0.0;
  for (int l = 1; l <= lnumber; ++l) {
    const FormulaGrain g{gsize[l], fallvelo[l], s, classicCriticalShear(gsize[l], col.ustar, s)};
    stageSum += std::max(0.0, (col.tauG - g.tauC) / g.tauC);
    col.integral = rouseIntegral(c0, col.h, g.w / (0.4 * col.ustar));
    Bconc[l][b] = col.integral < 1e-10 ? 0.0 : classicConcentration(SedimentFormula, col, g, l, b);
    dm += f[l] * gsize[l];
  }
  const double thickness = BSedDistrib[top][0][b] + BSedDistrib[0][0][b];
  const double form = classicBedFormHeight(stageSum / lnumber, col.h, dm, thickness);
  Bedformheight[b] = form;
  Broughness[b] = classicBedRoughness(thickness, d90, form, col.h, Broughness[b]);
}

}  // namespace

void concEngelund() {
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (Bcellt[b] > 0) bedCellFormulas(b);
  }
}
