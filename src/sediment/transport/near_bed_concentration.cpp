// The near-bed equilibrium concentration that the suspended-sediment
// equations take as their bed condition: per bed cell the grain statistics,
// the bed shear and, per size, the critical shear and the formula of F 84;
// then the bed forms and the roughness that follow from the transport.
#include "sediment/transport/near_bed_concentration.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "sediment/transport/bank_erosion.h"
#include "sediment/transport/bed_forms.h"
#include "sediment/transport/bed_shear.h"
#include "sediment/transport/boundary_shear_fixes.h"
#include "sediment/transport/cohesive_mixture.h"
#include "sediment/transport/critical_shear.h"

GrainStatistics grainStatistics(const double *f, int sizes) {
  const int L = sizes;
  if (L == 1) return {gsize[1], gsize[1], gsize[1]};
  // cum(k): the fraction finer than the centre of class k.
  auto percentile = [&](double p, double guard, bool coarsestWhenNone) {
    double finer = 0.0;
    for (int k = L; k >= 1; --k) {
      const double cum = finer + f[k] / 2.0;
      if (cum > p) {
        if (k == L) return gsize[L];
        const double t = 2.0 * (cum - p) / (f[k] + f[k + 1] + guard);
        return t * gsize[k + 1] + (1.0 - t) * gsize[k];
      }
      finer += f[k];
    }
    if (coarsestWhenNone) return gsize[1];
    const double cum = finer - f[1] + f[1] / 2.0;
    const double t = 2.0 * (cum - p) / (f[1] + f[2] + guard);
    return t * gsize[2] + (1.0 - t) * gsize[1];
  };
  double dm = 0.0;
  for (int k = 1; k <= L; ++k) dm += f[k] * gsize[k];
  return {percentile(0.9, 0.0, true), percentile(0.5, 1e-30, false), dm};
}

double vanRijnConcentration(double d, double t, double a, double dfac) {
  return ConcFormCoeff * d * std::pow(t, ConcFormTstar) / (std::pow(dfac * d, ConcFormDstar) * a);
}

double profileTransfer(double a, double centre, double h, double rouse) {
  const double z = centre;
  if (z - a > 1e-5) return std::clamp(std::pow(((h - z) / z) * (a / (h - a)), rouse), HRmulmin, 1.0);
  if (z - a < -1e-5) return 1.0 / std::clamp(std::pow(((h - a) / a) * (z / (h - z)), rouse), HRmulmin, 1.0);
  return 1.0;
}

// Abramowitz and Stegun's approximation of the standard normal distribution.
double exceedanceFactor(double tauC, double tau) {
  const double x = std::fabs((tauC / tau - 1.0) / 0.45);
  const double t = 1.0 / (1.0 + 0.2316419 * x);
  const double poly = t * (0.31938153 + t * (-0.356563782 + t * (1.781477937 + t * (-1.821255978 + t * 1.330274429))));
  return 1.0 - 0.3989422804 * std::exp(-x * x / 2.0) * poly;
}

namespace {

// Constants of one call.
struct CallConstants {
  double s;           // relative grain density
  double dfac;        // the dimensionless grain size per metre of diameter
  double sq;          // sqrt((s - 1) g)
  double constantG;   // Shields factor when F 11 fixes it, else negative
  bool cohesion;      // the Engelund-Hansen threshold carries the bed cohesion
  bool bankErosion;   // F 214 to F 217: bank factors on the concentration
  bool bankShear;     // F 214 or F 215: the bank factor on the excess shear
};

bool isEngelundHansen(int formula) {
  return formula == 6 || formula == 8 || formula == 9 || formula == 11 || formula == 12;
}

// The fraction reports: they flag a bed the layer bookkeeping has spoilt and
// the run goes on with the fractions as they are.
void checkFractions(int b, int layer, const double *f) {
  const int c0 = Bcellt[b], i = Bkooi[b], j = Bkooj[b];
  const double thickness = BSedDistrib[layer][0][b], below = BSedDistrib[0][0][b];
  double sum = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    sum += f[k];
    if (f[k] <= 1.01) continue;
    logText("Error 1 in concRijn: One size fraction is above unity\n");
    logPrintf("At iteration %d, bed cell %d, cell %d, size %d, 2d index (%d,%d), Top=%d\n", Iter, b, c0, k, i, j,
              layer);
    logPrintf("BSedDistrib[%d,%d] = %lf %lf %lf %lf\n", k, b, f[k], thickness, BSedDistrib[0][k][b], below);
  }
  if ((sum >= 0.99 && sum <= 1.01) || thickness <= 1e-15) return;
  logPrintf("Error 2 in concRijn. Fractions do not sum up to unity but to %lf\n", sum);
  logPrintf("At iteration %d, bed cell %d, cell no %d, 2d cell no (%d,%d)\n", Iter, b, c0, i, j);
  for (int k = 1; k <= lnumber; ++k) {
    logPrintf("BSedDistrib[%d], size[%d] = %lf %lf %lf %lf\n", b, k, f[k], thickness, BSedDistrib[0][k][b], below);
  }
}

double speedOf(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// The depth-averaged speed over the bottom cell's speed, within 0.01..20.
double depthAverageFactor(int c0, double h) {
  double sum = 0.0;
  for (int c = c0; c > 0; c = Ccellt[c]) sum += Ckdist[c] * speedOf(c);
  const double r = sum / (h / 2.0) / speedOf(c0);
  if (!(r < 20.0)) return 20.0;
  return std::max(r, 0.01);
}

// What one bed cell carries through its sizes.
struct BedCellWork {
  int b, c0, layer;
  bool bank;
  BankFactors bankFactors;
  double h, speed, depthFactor;
  GrainStatistics grains;
  BedCellShear shear;
  double f[kMaxGrainSizes + 2];   // fractions of the surface layer
};

// The Engelund-Hansen threshold of diameter d: the slope and hiding factors
// on the grain weight, plus the bed cohesion when it takes part.
double engelundThreshold(const CallConstants &cc, const BedCellWork &w, double d, const CriticalShear &crit) {
  double q = 0.0;
  if (FlagCohesion > 0) q = Bcohesion[1][w.b];
  if (w.bank && BankCohesion > 1e-20) q += BankCohesion;
  const double tauR = crit.k * crit.h * d * (cc.s - 1.0) * 1000.0 * 9.81;
  return cc.cohesion ? tauR + 21.3 * q : tauR;
}

// The Engelund-Hansen total load of diameter d as a concentration over the
// bottom cell.
double engelundHansen(const CallConstants &cc, const BedCellWork &w, double coeff, double d, double tauR) {
  const double s = cc.s, r = w.depthFactor;
  return s * coeff * 1000.0 * r * r * std::sqrt(d / ((s - 1.0) * 9.81)) * std::pow(w.shear.tau / tauR, 1.5) *
         w.speed / (2.0 * s * 1000.0 * Ckdist[w.c0]);
}

double engelundStart(const CallConstants &cc, const BedCellWork &w, double d, const CriticalShear &crit) {
  const double tau = w.shear.tau;
  double c = engelundHansen(cc, w, EHcoeff, d, engelundThreshold(cc, w, d, crit));
  if (BedLoadFlag == 12 && tau / crit.tauC < crit.k) c = 0.0;
  if (FlagReduceEH == 1 && crit.tauC > tau) {
    // A coefficient of 1 leaves no band below the critical shear.
    const double band = (1.0 - coeffReduceEH) * crit.tauC;
    c = band > 0.0 ? c * std::max(0.0, tau - coeffReduceEH * crit.tauC) / band : 0.0;
  }
  return c;
}

// The sand-clay mixture value of size k (F 84 7).
double mixtureConcentration(const CallConstants &cc, const BedCellWork &w, int k, double tauC) {
  MixtureInput in{};
  in.profileSwitch = TSCbedrouse;
  in.tau = w.shear.tau;
  in.tauC = tauC;
  in.d = gsize[k];
  in.coeff = ConcFormCoeff;
  in.powerT = ConcFormTstar;
  in.powerD = ConcFormDstar;
  in.zc = Ckdist[w.c0];
  in.h = w.h;
  in.dfac = cc.dfac;
  in.ks = Croughness[w.c0];
  in.ws = fallvelo[k];
  in.d50 = w.grains.d50;
  in.solid = Bsolidfraction != nullptr ? Bsolidfraction[w.layer][w.b] : SolidFrac;
  in.f = w.f;
  in.sizes = lnumber;
  return computeConcentrationKalvet(in);
}

// The concentration of size k when the excess shear e moves it.
double movingConcentration(const CallConstants &cc, const BedCellWork &w, int k, double e, double tauC, double start) {
  const double d = gsize[k], s = cc.s, tau = w.shear.tau, z = Ckdist[w.c0];
  const double t = e / tauC, dstar = cc.dfac * d;
  const double a = TSCbedrouse == 1 ? std::max({3.0 * w.grains.d90, Bedformheight[w.b] / 2.0, 0.01 * w.h}) : z;
  auto referenceConcentration = [&] {
    double cr = vanRijnConcentration(d, t, a, cc.dfac);
    if (TSCbedrouse == 1) {
      const double rouse = std::min(HRzmax, 2.5 * fallvelo[k] / std::sqrt(0.001 * tau + 1e-20));
      cr *= profileTransfer(a, z, w.h, rouse);
    }
    return cr;
  };
  auto bedLoadTerm = [&] {
    return ConcFormBCoeff * std::pow(d, ConcFormBD50) * std::pow(t, ConcFormBTstar) * cc.sq /
           (2.0 * z * std::pow(dstar, ConcFormBDstar) * w.speed + 1e-20);
  };
  double c = 0.0;
  switch (BedLoadFlag) {
    case 0: c = referenceConcentration(); break;
    case 1: c = bedLoadTerm(); break;
    case 2: c = referenceConcentration() + bedLoadTerm(); break;
    case 3: c = 0.0053 * std::pow(t, 2.2) * std::sqrt((s - 1.0) * 9.81 * d * d * d) / (2.0 * z * w.speed); break;
    case 4: c = ConcFormBCoeff * t; break;
    case 5:
      c = (std::pow(e, 1.5) / (((s - 1.0) / s) * std::pow(10.0 * MPMcoeff, 1.5) * 9.81)) / (s * 1000.0) /
          (2.0 * z * w.speed);
      break;
    default: c = isEngelundHansen(BedLoadFlag) || BedLoadFlag == 7 ? start : 0.0; break;
  }
  if (FlagRoughness == 5) c *= exceedanceFactor(tauC, tau);
  return c;
}

// Formulas 9 and 11 rescale all sizes so that their mixture carries the
// Engelund-Hansen total load of the median grain, at most ten times over.
void rescaleToMedianLoad(const CallConstants &cc, const BedCellWork &w, const CriticalShear &last) {
  const double d50 = w.grains.d50;
  const double cT = engelundHansen(cc, w, 0.05, d50, engelundThreshold(cc, w, d50, last));
  double mixture = 0.0;
  for (int k = 1; k <= lnumber; ++k) mixture += Bconc[k][w.b] * w.f[k];
  const double factor = std::min(10.0, cT / (mixture + 1e-20));
  for (int k = 1; k <= lnumber; ++k) Bconc[k][w.b] *= factor;
}

void bedCellConcentrations(const CallConstants &cc, int blockNo, int b) {
  BedCellWork w;
  w.b = b;
  w.c0 = Bcellt[b];
  w.layer = NoBedLayers == 2 && FlagTSC != 3 ? 1 : BlayerTop[b];
  for (int k = 1; k <= lnumber; ++k) w.f[k] = BSedDistrib[w.layer][k][b];
  checkFractions(b, w.layer, w.f);
  const int i = Bkooi[b], j = Bkooj[b];
  w.bank = dryNeighbourCount(blockNo, i, j) > 0;
  double half = 0.0;
  for (int c = w.c0; c > 0; c = Ccellt[c]) half += Ckdist[c];
  w.h = 2.0 * half;
  w.speed = speedOf(w.c0);
  w.grains = grainStatistics(w.f, lnumber);
  Bd90[b] = w.grains.d90;
  w.shear = bedCellShear(blockNo, b, w.h, w.grains.d90, w.bank ? 1 : 0);
  if (cc.bankErosion) w.bankFactors = bankErosionFactors(w.c0, w.h, w.bank);
  w.depthFactor = isEngelundHansen(BedLoadFlag) || FlagDuneFormula >= 2 ? depthAverageFactor(w.c0, w.h) : 0.0;
  const CriticalShearCell cell{b, w.c0, w.layer, w.bank, w.shear.tau, w.grains.d50};
  const double f6 =
      FlagRoughness == 6 ? std::pow(std::min(1.0, 3.0 * w.grains.d90 / Croughness[w.c0]), 0.25) : 1.0;
  double stageSum = 0.0;
  CriticalShear crit{};
  for (int k = 1; k <= lnumber; ++k) {
    crit = criticalShear(cell, k, cc.constantG);
    const double tau = w.shear.tau, tauC = crit.tauC;
    double start = 0.0;
    if (isEngelundHansen(BedLoadFlag)) start = engelundStart(cc, w, gsize[k], crit);
    if (BedLoadFlag == 7) start = mixtureConcentration(cc, w, k, tauC);
    if ((tau - tauC) * f6 > 1e-6) stageSum += (tau - tauC) * f6 / tauC;
    const double e = cc.bankShear ? w.bankFactors.shear * w.shear.tauE - tauC : (w.shear.tauE - tauC) * f6;
    double c = start;
    if (e > 1e-6) {
      c = movingConcentration(cc, w, k, e, tauC, start);
    } else if (BedLoadFlag == 8 || BedLoadFlag == 9) {
      c = 0.0;
    }
    if (cc.bankErosion) c = c * w.bankFactors.concentration + w.bankFactors.added;
    Bconc[k][b] = std::min(c, MaxBedConc);
  }
  if (BedLoadFlag == 9 || BedLoadFlag == 11) rescaleToMedianLoad(cc, w, crit);
  updateBedForms({b, w.c0, w.layer, w.h, w.grains.dm, w.grains.d90, stageSum, w.depthFactor, w.shear.tau, w.speed});
}

}  // namespace

void concRijn() {
  if (FlagExtraDebug == 1) logText("Start concRijn\n");
  const double s = density;
  // 9810000000000 is g / nu^2 with nu = 1e-6 m2/s; the cube root is taken
  // as the power 0.3333, as the formula has always been fitted with.
  const CallConstants cc{s, std::pow((s - 1.0) * 9810000000000.0, 0.3333), std::sqrt((s - 1.0) * 9.81),
                         constantShieldsFactor(), BankCohesion > 1e-20 || FlagCohesion > 0,
                         bankErosionOn(), FlagLEA2 > 0 || FlagLEA3 > 0};
  if (FlagZeroGradSedim > 0) computeZeroGradSedim();
  if (FlagDuneShearPartCross > 0) computeBedshear();
  if (outflowFixShear > 1e-20) computeOutflowFix();
  if (FlagTramel > 0) computeShearTramel();
  if (lnumber >= 1) {
    for (int n = 1; n <= NoBlocks; ++n) {
      if (block[n].WorkFlag != 1) continue;
      for (int b = block[n].FirstBedCell; b <= block[n].LastBedCell; ++b) {
        if (Bcellt[b] > 0) bedCellConcentrations(cc, n, b);
      }
    }
    smoothBedRoughness();
  }
  if (FlagExtraDebug == 1) logText("End concRijn\n");
}
