// The smooth, transitional and mixed families of wall laws (F 15 5, 8, 9,
// 19), the fixed wall k of family 11 and the law of turbulence model 3:
// each writes Cap and Csource of the wall cells of the range, as the default
// law does, with its own u+ and its own roughness.
#include "turbulence/wall_law_families.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

using namespace wall_cells;

namespace {


// The smooth log law with its viscous sublayer below `threshold`;
// `inverseKappa` is 1/kappa (2.5 or 1/Xkappa).
inline double smoothUPlus(double yplus, double threshold, double inverseKappa) {
  return yplus < threshold ? sublayer(yplus) : inverseKappa * std::log(9.0 * yplus);
}

// The transitional law of the families 8 and 9 before its lower bound:
// smooth below ks+ 2.25, fully rough above 90, the blend in between, scaled
// linearly to the wall below y+ 11.7. `ustarC` is the friction velocity of
// the clamped k, which forms ks+ and the log-layer distance.
double transitionalUPlus(double yplus, double ustarC, double y, double ks, double kappa) {
  const double ksPlus = 1e6 * ustarC * ks;
  const double yplusLog = std::max(yplus, 11.7);
  const double yLog = yplus >= 11.7 ? y : 1e-6 * 11.7 / ustarC;
  double uplus;
  if (ksPlus < 2.25) {
    uplus = std::log(9.0 * yplusLog) / kappa;
  } else if (ksPlus > 90.0) {
    uplus = std::log(30.0 * yLog / ks) / kappa;
  } else {
    const double lk = std::log(ksPlus);
    uplus = std::sin(0.4258 * (lk - 0.811)) * (3.0 - lk / kappa) + std::log(yplusLog) / kappa + 5.5;
  }
  if (yplus < 11.7) uplus *= yplus / 11.7;
  return uplus;
}

// Bed transpiration (family 9): flow through the bed, r = (n.U) / u* with
// the bed face's normal, thickens (r > 0) or thins the wall layer:
// u+ + c u+^2 with c = 0.25 r within [-0.025, 0.1], then the bound 0.025.
inline double transpired(double uplus, int f, int c, double ustarC) {
  const double r = fullNormalVelocity(f, c) / ustarC;
  const double cr = std::clamp(0.25 * r, -0.025, 0.1);
  return std::max(uplus + cr * uplus * uplus, 0.025);
}

// The bed's kappa under F 494 1: kappa / (1 + 2.5 c0), without a test of c0.
inline double bedKappa(int c, double kappa, bool sediment) { return sediment ? kappa / sedimentFactor(c) : kappa; }

// The k-epsilon wall value of the pairs east-west, north-south and top-bottom
// (y at most 1000 m), the top-bottom one always stretched by the sediment at
// the bed. Model 14 and 15 have none, 16 its omega.
void pairEpsilon(int first, int last, const LawConstants &k, bool omegaSurface) {
  const int model = TurbulenceModel;
  if (model == 14 || model == 15) {
    clearWallCells(first, last);
    return;
  }
  if (model == 16) {
    omegaWallLaw(first, last, omegaSurface);
    return;
  }
  const double factor = k.cmu75 / k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const double k15 = std::pow(std::max(Ckinen[c], ArtMinKinen), 1.5);
    if (sides & (kEast | kWest)) {
      Cap[c] += 1e30;
      Csource[c] += 1e30 * factor * k15 / capped(Cidist[c]);
    }
    if (sides & (kSouth | kNorth)) {
      Cap[c] += 1e30;
      Csource[c] += 1e30 * factor * k15 / capped(Cjdist[c]);
    }
    if (sides & (kTop | kBottom)) {
      Cap[c] += 1e30;
      Csource[c] += 1e30 * factor * sedimentFactor(c) * k15 / capped(Ckdist[c]);
    }
  }
}

// ---- Family 5: smooth walls ----

void smoothMomentum(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  const double *nEq = normalComponent(eq);
  const bool sideEq = eq != 3;
  const double inverseKappa = 1.0 / k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    auto face = [&](int f, double dist, bool vertical) {
      const double yplus = 1e6 * w.ustar * capped(dist);
      const double fw = w.r * Farea[f] / smoothUPlus(yplus, 11.626, inverseKappa);
      if (vertical) addFriction(c, fw, fullNormalVelocity(f, c), nEq[f]);
      else addFriction(c, fw, sideNormalVelocity(f, c), sideEq ? nEq[f] : 0.0);
    };
    if (sides & kEast) face(Cflatee[c], Cidist[c], false);
    if (sides & kWest) face(Cflatew[c], Cidist[c], false);
    if (sides & kSouth) face(Cflates[c], Cjdist[c], false);
    if (sides & kNorth) face(Cflaten[c], Cjdist[c], false);
    if (sides & kTop) face(Cflatet[c], Ckdist[c], true);
    if (sides & kBottom) face(Cflateb[c], Ckdist[c], true);
  }
}

void smoothK(int first, int last, const LawConstants &k) {
  const bool addedShear = FlagGENMIX == 1;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double speed2 = speedSquared(c);
    auto pair = [&](double dist, const AlongWall &along) {
      const double y = capped(dist);
      const double uplus = smoothUPlus(1e6 * w.ustar * y, 11.63, 2.5);
      double shear = w.r / uplus;
      if (along.ok) shear += along.gradient() * y;
      addKTerms(c, k.cD, w.kc, y, uplus, shear, speed2);
    };
    if (sides & (kEast | kWest)) pair(Cidist[c], kNoGradient);
    if (sides & (kSouth | kNorth)) pair(Cjdist[c], addedShear ? alongSouthNorth(c) : kNoGradient);
    if (sides & (kTop | kBottom)) pair(Ckdist[c], kNoGradient);
  }
}

// ---- Families 8 and 9: transitional roughness ----

void transitionalMomentum(int first, int last, const LawConstants &k, bool transpiration) {
  const int eq = Equation;
  const double *nEq = normalComponent(eq);
  const bool sideEq = eq != 3, sediment = FlagConcProf == 1;
  const double kappa = k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double ks = Croughness[c];
    auto face = [&](int f, double y, bool vertical) {
      const double uplus = std::max(transitionalUPlus(1e6 * w.ustar * y, w.ustarC, y, ks, kappa), 0.025);
      const double fw = w.r * Farea[f] / uplus;
      if (vertical) addFriction(c, fw, fullNormalVelocity(f, c), nEq[f]);
      else addFriction(c, fw, sideNormalVelocity(f, c), sideEq ? nEq[f] : 0.0);
    };
    if (sides & kEast) face(Cflatee[c], Cidist[c], false);
    if (sides & kWest) face(Cflatew[c], Cidist[c], false);
    if (sides & kSouth) face(Cflates[c], Cjdist[c], false);
    if (sides & kNorth) face(Cflaten[c], Cjdist[c], false);
    if (sides & kTop) face(Cflatet[c], Ckdist[c], true);
    if (sides & kBottom) {
      const int f = Cflateb[c];
      const double y = Ckdist[c];
      double uplus = transitionalUPlus(1e6 * w.ustar * y, w.ustarC, y, ks, bedKappa(c, kappa, sediment));
      uplus = transpiration ? transpired(uplus, f, c, w.ustarC) : std::max(uplus, 0.025);
      addFriction(c, w.r * Farea[f] / uplus, fullNormalVelocity(f, c), nEq[f]);
    }
  }
}

void transitionalK(int first, int last, const LawConstants &k, bool transpiration) {
  const bool sediment = FlagConcProf == 1;
  const double kappa = k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double speed2 = speedSquared(c), ks = Croughness[c];
    auto term = [&](double y, double kap, int bedFace) {
      double uplus = transitionalUPlus(1e6 * w.ustarC * y, w.ustarC, y, ks, kap);
      uplus = bedFace > 0 ? transpired(uplus, bedFace, c, w.ustarC) : std::max(uplus, 0.025);
      addKTerms(c, k.cD, w.kc, y, uplus, w.r / uplus, speed2);
    };
    if (sides & (kEast | kWest)) term(Cidist[c], kappa, 0);
    if (sides & (kSouth | kNorth)) term(Cjdist[c], kappa, 0);
    if (transpiration) {
      // The lid and the bed as two terms, the bed with its sediment kappa
      // and the flow through it.
      if (sides & kTop) term(Ckdist[c], kappa, 0);
      if (sides & kBottom) term(Ckdist[c], bedKappa(c, kappa, sediment), Cflateb[c]);
    } else if (sides & (kTop | kBottom)) {
      term(Ckdist[c], (sides & kBottom) ? bedKappa(c, kappa, sediment) : kappa, 0);
    }
  }
}

// ---- Family 19: smooth side walls over a rough bed ----

void mixedMomentum(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  const double *nEq = normalComponent(eq);
  const bool sideEq = eq != 3;
  const int limiter = FlagWallLimiterU;
  const bool addedShear = FlagGENMIX == 1, gradientKappa = FlagGENMIX == 4;
  const bool sideGradient = addedShear || gradientKappa;
  const double kappa = k.kappa, minLog = kappa * MinUPlus, ks = XksWall;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    auto sideFace = [&](int f, double dist, const AlongWall &along) {
      const double y = capped(dist);
      double r = w.r, kap = kappa;
      if (along.ok && addedShear) r = 31.62 * std::sqrt(k.cS * w.kc + along.gradient() * y);
      else if (along.ok && gradientKappa) {
        kap = pressureKappa(pressureParameter(along.gradient(), std::sqrt(k.cS * w.kc)));
      }
      const double fw = r * Farea[f] / smoothUPlus(1e6 * w.ustar * y, 11.63, 1.0 / kap);
      addFriction(c, fw, sideNormalVelocity(f, c), sideEq ? nEq[f] : 0.0);
    };
    eachSideWallFace(c, sides, sideGradient, sideFace);
    if (sides & kTop) {
      const int f = Cflatet[c];
      const double y = capped(Ckdist[c]), a = Farea[f], yplus = 1e6 * w.ustar * y;
      double fw;
      if (limiter == 3 && yplus < 11.63) fw = w.r * a / sublayer(yplus);
      else if (limiter == 5 && Cgamma[c] < 0.0011) fw = 0.001 * a / y;
      else fw = w.r * kappa * a / std::max(std::log(30.0 * y / ks), minLog);
      addFriction(c, fw, fullNormalVelocity(f, c), nEq[f]);
    }
    if (sides & kBottom) {
      const int f = Cflateb[c];
      const double y = capped(Ckdist[c]), yplus = 1e6 * w.ustar * y;
      double uplus = std::max(std::log(30.0 * y / Croughness[c]) / kappa, MinUPlus);
      if (limiter == 3 && yplus < 11.63) uplus = sublayer(yplus);
      addFriction(c, w.r * Farea[f] / uplus, fullNormalVelocity(f, c), nEq[f]);
    }
  }
}

void mixedK(int first, int last, const LawConstants &k) {
  const bool addedShear = FlagGENMIX == 1, gradientKappa = FlagGENMIX == 4;
  const bool sideGradient = addedShear || gradientKappa, sediment = FlagConcProf == 1;
  const bool viscousBed = FlagWallLimiterU == 3 || FlagWallLimiterU == 5;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double speed2 = speedSquared(c);
    auto sidePair = [&](double dist, const AlongWall &along) {
      const double y = capped(dist), yplus = 1e6 * w.ustar * y;
      double factor = 2.5;
      if (along.ok && gradientKappa) {
        factor = 1.0 / pressureKappa(pressureParameter(along.gradient(), std::sqrt(k.cS * w.kc)));
      }
      const double uplus = yplus >= 11.63 ? std::max(factor * std::log(9.0 * yplus), MinUPlusK) : sublayer(yplus);
      double shear = w.r / uplus;
      if (along.ok && addedShear) shear += along.gradient() * y;
      addKTerms(c, k.cD, w.kc, y, uplus, shear, speed2);
    };
    if (sides & (kEast | kWest)) sidePair(Cidist[c], sideGradient ? alongEastWest(c) : kNoGradient);
    if (sides & (kSouth | kNorth)) sidePair(Cjdist[c], sideGradient ? alongSouthNorth(c) : kNoGradient);
    if (sides & (kTop | kBottom)) {
      const double y = capped(Ckdist[c]), yplus = 1e6 * w.ustar * y;
      double uplus = 2.5 * std::log(30.0 * y / Croughness[c]);
      if (viscousBed && yplus < 11.63) uplus = sublayer(yplus);
      if (sediment) uplus *= sedimentFactor(c);
      uplus = std::max(uplus, MinUPlusK);
      addKTerms(c, k.cD, w.kc, y, uplus, w.r / uplus, speed2);
    }
  }
}

// The wall distance of a side pair stretched where the flow reverses
// (F 312): when the horizontal velocity of the neighbour `n` points against
// the cell's at a cosine below -0.7, y grows by the factor 1.1 - cosine.
inline double reversedDistance(int c, int n, double y) {
  if (n <= 0) return y;
  const double dot = Cxvel[c] * Cxvel[n] + Cyvel[c] * Cyvel[n];
  if (dot >= 0.0) return y;
  const double cosine = dot / std::sqrt((Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]) * (Cxvel[n] * Cxvel[n] + Cyvel[n] * Cyvel[n]));
  return cosine < -0.7 ? y * (1.1 - cosine) : y;
}

void mixedEpsilon(int first, int last, const LawConstants &k) {
  const int model = TurbulenceModel;
  if (model == 14 || model == 15) {
    clearWallCells(first, last);
    return;
  }
  if (model == 16) {
    omegaWallLaw(first, last, FlagSurfEps == 1);
    return;
  }
  const bool sideKappa = FlagGENMIX == 4 || FlagGENMIX == 5, reversal = FlagModEpsilon > 0;
  const bool sediment = FlagConcProf == 1;
  const double factor = k.cmu75 / k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const double kc = std::max(Ckinen[c], ArtMinKinen), k15 = std::pow(kc, 1.5);
    auto sidePair = [&](double dist, const AlongWall &along, int across) {
      double y = capped(dist);
      if (reversal) y = reversedDistance(c, across, y);
      double f = factor;
      if (along.ok) {
        // 5196.1 = 300^1.5.
        f = k.cmu75 / pressureKappa(3.16228e-5 / (k15 * 5196.1) * along.gradient());
      }
      Cap[c] += 1e30;
      Csource[c] += 1e30 * f * k15 / y;
    };
    if (sides & (kEast | kWest)) {
      sidePair(Cidist[c], sideKappa ? alongEastWest(c) : kNoGradient, Ccelle[c] > 0 ? Ccelle[c] : Ccellw[c]);
    }
    if (sides & (kSouth | kNorth)) {
      sidePair(Cjdist[c], sideKappa ? alongSouthNorth(c) : kNoGradient, Ccells[c] > 0 ? Ccells[c] : Ccelln[c]);
    }
    if (sides & (kTop | kBottom)) {
      const double f = sediment ? factor * sedimentFactor(c) : factor;
      Cap[c] += 1e30;
      Csource[c] += 1e30 * f * k15 / capped(Ckdist[c]);
    }
  }
}

}  // namespace

void omegaWallLaw(int first, int last, bool surface) {
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) {
      if (surface && Ccellt[c] == 0) surfaceEpsilon(c, 1, true);
      continue;
    }
    Cap[c] = Csource[c] = 0.0;
    const double k15 = std::pow(std::max(Ckinen[c], ArtMinKinen), 1.5);
    const bool pairs[3] = {(sides & (kTop | kBottom)) != 0, (sides & (kEast | kWest)) != 0,
                           (sides & (kSouth | kNorth)) != 0};
    const double dist[3] = {Ckdist[c], Cidist[c], Cjdist[c]};
    const double c0 = Cconc[0][c];
    // omega at the wall from k and the distance, top-bottom first; the bed's
    // sediment stretches the top-bottom value.
    for (int p = 0; p < 3; ++p) {
      if (!pairs[p]) continue;
      const double y = capped(dist[p]);
      const double denominator = y >= 1000.0 ? 219.08 : 0.21908 * y + 1e-20;
      double value = k15 / denominator;
      if (p == 0) value *= 1.0 + 2.5 * c0;
      Cap[c] += 1e30;
      Csource[c] += 1e30 * value;
    }
    if (surface && Ccellt[c] == 0) surfaceEpsilon(c, 1, true);
  }
}

void smoothWallLaw(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  if (eq == 5) smoothK(first, last, k);
  else if (eq == 6) pairEpsilon(first, last, k, FlagSurfEps == 1);
  else smoothMomentum(first, last, k);
}

void transitionalWallLaw(int first, int last, const LawConstants &k, bool transpiration) {
  const int eq = Equation;
  if (eq == 5) transitionalK(first, last, k, transpiration);
  else if (eq == 6) pairEpsilon(first, last, k, false);
  else transitionalMomentum(first, last, k, transpiration);
}

void mixedWallLaw(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  if (eq == 5) mixedK(first, last, k);
  else if (eq == 6) mixedEpsilon(first, last, k);
  else mixedMomentum(first, last, k);
}

// k fixed in each pair with a wall at u*^2 / sqrt(C_mu) for the friction
// velocity |U| / u+ (3.33333 standing for 1 / 0.3, whatever the model), with
// the weight 1e20: lighter than the 1e30 of epsilon, heavier than any term.
void fixedKWallLaw(int first, int last, const LawConstants &k) {
  const int limiter = FlagWallLimiterK;
  const bool sediment = FlagConcProf == 1;
  const double ks = XksWall;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double speed = std::sqrt(speedSquared(c));
    auto fix = [&](double uplus) {
      const double ustar = speed / uplus;
      Cap[c] += 1e20;
      Csource[c] += 1e20 * 3.33333 * ustar * ustar;
    };
    auto sidePair = [&](double dist) {
      const double y = capped(dist), yplus = 1e6 * w.ustar * y;
      double uplus = std::max(2.5 * std::log(30.0 * y / ks), MinUPlusK);
      if (limiter == 3 && yplus < 11.63) uplus = sublayer(yplus);
      fix(uplus);
    };
    if (sides & (kEast | kWest)) sidePair(Cidist[c]);
    if (sides & (kSouth | kNorth)) sidePair(Cjdist[c]);
    if (sides & (kTop | kBottom)) {
      const double y = capped(Ckdist[c]), yplus = 1e6 * w.ustar * y;
      double uplus = 2.5 * std::log(30.0 * y / Croughness[c]);
      if ((limiter == 3 || limiter == 5) && yplus < 11.63) uplus = sublayer(yplus);
      if (sediment && Cconc[0][c] > 0.0) uplus *= sedimentFactor(c);
      fix(std::max(uplus, MinUPlusK));
    }
  }
}

// Model 3 (k and epsilon without sources) feels a wall in every cell at
// half the cell's horizontal size, h = 0.5 sqrt(Cvol / height): the terms
// are set, not added, over whatever the caller put there.
void modelThreeWallLaw(int first, int last, const LawConstants &k) {
  const bool epsilon = Equation == 6, viscous = FlagWallLimiterU == 3;
  const double ks = XksWall, minUPlus = MinUPlusK;
  for (int c = first; c <= last; ++c) {
    const double h = std::min(0.5 * std::sqrt(Cvol[c] / (2.0 * Ckdist[c] + 1e-20)), 1000.0);
    const CellWall w = cellWall(c, k);
    if (epsilon) {
      Cap[c] = 1e30;
      Csource[c] = 1e30 * k.cmu75 * std::pow(w.kc, 1.5) / (k.kappa * h);
      continue;
    }
    const double yplus = 1e6 * w.ustar * h;
    const double uplus =
        viscous && yplus < 11.63 ? sublayer(yplus) : std::max(2.5 * std::log(30.0 * h / ks), minUPlus);
    const double vol = Cvol[c];
    Cap[c] = k.cD * std::sqrt(w.kc) * uplus / h * vol;
    Csource[c] = w.r / uplus * speedSquared(c) / h * vol;
  }
}
