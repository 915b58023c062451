// Rough-wall laws at the bed, the side walls and a closed lid, with their
// options: clears Cap and Csource of every cell of the range with a wall face
// and puts the friction of U, V, W, the wall production and dissipation of k,
// or the wall epsilon; the other families of laws are chosen here too.
#include "turbulence/wall_laws.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "base/log.h"
#include "turbulence/face_wall_laws.h"
#include "turbulence/wall_law_cells.h"
#include "turbulence/wall_law_families.h"

namespace {

using namespace wall_cells;

// Cells thinner than the limit of F 86 (F 92 1) carry no equation of their
// own: they are cleared before the wall cells.
void clearThinCells(int first, int last) {
  const double limit = MinVertDist;
  for (int c = first; c <= last; ++c) {
    if (Ckdist[c] < limit) Cap[c] = Csource[c] = 0.0;
  }
}


// The rough log law of the momentum equations, face by face. The side faces
// take the pressure-gradient corrections of F 273 1 (added shear) and 4
// (kappa from the pressure-gradient parameter), the bed the sediment-laden
// kappa of F 494 1.
void momentumLaw(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  const double *nEq = normalComponent(eq);
  const bool sideEq = eq != 3;  // the side walls have no z component
  const int limiter = FlagWallLimiterU;
  const bool addedShear = FlagGENMIX == 1, gradientKappa = FlagGENMIX == 4;
  const bool sideGradient = addedShear || gradientKappa, sediment = FlagConcProf == 1;
  const double kappa = k.kappa, minLog = kappa * MinUPlus, minUPlus = MinUPlus, ks = XksWall, wlu = WallLimiterU;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double u = Cxvel[c], v = Cyvel[c], wz = Czvel[c];
    // Side walls: R kappa A / max(ln(30 y / ks), kappa MinUPlus).
    auto sideFace = [&](int f, double dist, const AlongWall &along) {
      const double y = capped(dist), a = Farea[f];
      const double yplus = 1e6 * w.ustar * y;
      double r = w.r, kap = kappa, floor = minLog;
      if (along.ok && addedShear) {
        // The wall shear stress raised by the pressure gradient times y.
        r = 31.62 * std::sqrt(k.cS * w.kc + along.gradient() * y);
      } else if (along.ok && gradientKappa) {
        kap = pressureKappa(pressureParameter(along.gradient(), std::sqrt(k.cS * w.kc)));
        floor = kap * minUPlus;
      }
      double fw;
      if (limiter == 3 && yplus < 11.63) fw = r * a / sublayer(yplus);
      else fw = r * kap * a / std::max(std::log(30.0 * y / ks), floor);
      addFriction(c, fw, Fvx[f] * u + Fvy[f] * v, sideEq ? nEq[f] : 0.0);
    };
    eachSideWallFace(c, sides, sideGradient, sideFace);
    if (sides & kTop) {
      const int f = Cflatet[c];
      const double y = capped(Ckdist[c]), a = Farea[f];
      const double yplus = 1e6 * w.ustar * y;
      double fw;
      if (limiter == 3 && yplus < 11.63) fw = w.r * a / sublayer(yplus);
      else if (limiter == 5 && Cgamma[c] < 0.0011) fw = 0.001 * a / y;  // a laminar lid, 0.001 Pa s
      else fw = w.r * kappa * a / std::max(std::log(30.0 * y / ks), minLog);
      addFriction(c, fw, Fvx[f] * u + Fvy[f] * v + Fvz[f] * wz, nEq[f]);
    }
    if (sides & kBottom) {
      const int f = Cflateb[c];
      const double y = capped(Ckdist[c]), a = Farea[f], bedKs = Croughness[c];
      double uplus = std::max(std::log(30.0 * y / bedKs) / kappa, MinUPlus);
      if (limiter == 4 && y < wlu * bedKs) uplus = y / (wlu * bedKs) * k.lwu;
      if (limiter == 6 && y < 0.5 * bedKs) uplus = std::max(uplus, 11.5 * y / bedKs + 1.0);
      if (sediment && Cconc[0][c] > 0.0) uplus *= sedimentFactor(c);
      const double yplus = 1e6 * w.ustar * y;
      if (limiter == 3 && yplus < 11.63) uplus = sublayer(yplus);
      const double nU = Fvx[f] * u + Fvy[f] * v + Fvz[f] * wz;
      addFriction(c, w.r * a / uplus, nU, nEq[f]);
      if (limiter == 1 && Ccellt[c] == 0 && y < wlu * bedKs) {
        // A cell thinner than the roughness: porous-medium resistance of
        // permeability 1e-10 m2, faded in as ks / (100 y) below 1.
        Cap[c] += a * 1000.0 * y * 1e-6 / 1e-10 * std::min(1.0, bedKs / (100.0 * y));
      }
    }
  }
}

// The rough log law of k, pair by pair (east-west, north-south, top-bottom);
// 2.5 stands for 1/kappa. The side pairs take the pressure-gradient
// corrections of F 273 1 and 4, the top-bottom pair the sediment factor.
void kLaw(int first, int last, const LawConstants &k) {
  const int limiter = FlagWallLimiterK;
  const bool addedShear = FlagGENMIX == 1, gradientKappa = FlagGENMIX == 4;
  const bool sideGradient = addedShear || gradientKappa, sediment = FlagConcProf == 1;
  const double ks = XksWall, wlk = WallLimiterK, manning = 0.31927 * ManningInit;
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
      double uplus = std::max(factor * std::log(30.0 * y / ks), MinUPlusK);
      if (limiter == 3 && yplus < 11.63) uplus = sublayer(yplus);
      double shear = w.r / uplus;
      if (along.ok && addedShear) shear += along.gradient() * y;
      addKTerms(c, k.cD, w.kc, y, uplus, shear, speed2);
    };
    if (sides & (kEast | kWest)) sidePair(Cidist[c], sideGradient ? alongEastWest(c) : kNoGradient);
    if (sides & (kSouth | kNorth)) sidePair(Cjdist[c], sideGradient ? alongSouthNorth(c) : kNoGradient);
    if (sides & (kTop | kBottom)) {
      const double y = capped(Ckdist[c]), yplus = 1e6 * w.ustar * y, bedKs = Croughness[c];
      double uplus = std::max(2.5 * std::log(30.0 * y / bedKs), MinUPlusK);
      if (limiter == 3 || limiter == 5) {
        if (yplus < 11.63) uplus = sublayer(yplus);
      } else if (limiter == 6) {
        if (y < 0.5 * bedKs) uplus = std::max(uplus, 11.5 * y / bedKs + 1.0);
      } else if (limiter == 1) {
        // Manning-Strickler's mean speed over friction velocity for a cell
        // thinner than the roughness at the surface.
        if (Ccellt[c] == 0 && y < wlk * bedKs) uplus = std::max(uplus, manning * std::pow(2.0 * y, 0.16666667));
      } else if (limiter == 2) {
        if (y < wlk * bedKs) uplus = std::max(uplus, manning * std::pow(Bdepth[Cbed[c]], 0.16666667));
      }
      if (sediment && Cconc[0][c] > 0.0) uplus *= sedimentFactor(c);
      addKTerms(c, k.cD, w.kc, y, uplus, w.r / uplus, speed2);
    }
  }
}

// kappa of the epsilon value of a side pair under F 273: 2 lowers it where
// the pressure gradient produces turbulence along the flow (G' weighted by
// F 273's second value), 4 and 5 take it from the pressure-gradient
// parameter. `a`, `b` are the faces across the along-wall sides.
double sidePairKappa(int c, const AlongWall &along, double y, double kc, int a, int b, double kappa) {
  if (!along.ok) return kappa;
  if (FlagGENMIX == 2) {
    const double g = Ckinen[c] * 300.0 * along.dp * y / (2.0 * along.d);
    const double q = (Fvx[a] + Fvx[b]) * Cxvel[c] + (Fvy[a] + Fvy[b]) * Cyvel[c];
    const double produced = q <= 0.0 ? std::max(-g, 0.0) : std::max(g, 0.0);
    return Xkappa / (produced * coeffEps + 1.0);
  }
  // 5196.1 = 300^1.5.
  const double g = 3.16228e-5 / (std::pow(kc, 1.5) * 5196.1) * along.gradient();
  return pressureKappa(g);
}

// The wall value of epsilon for each pair of sides with a wall, fixed with
// the weight 1e30: a cell with walls in several pairs takes their mean.
// Options: F 273 2, 4, 5 (kappa of the side pairs), F 409 (distance floor
// of the north-south pair), F 546 (north-south value at bed corners without
// its weight), F 494 (sediment at the top-bottom pair), F 185 (surface).
void epsilonLaw(int first, int last, const LawConstants &k) {
  const int model = TurbulenceModel;
  if (model == 14 || model == 15) {
    // No wall value: the wall cells start from Cap = Csource = 0.
    clearWallCells(first, last);
    return;
  }
  if (model == 16) {
    omegaWallLaw(first, last, FlagSurfEps == 1);
    return;
  }
  const int surface = FlagSurfEps == 1 || FlagSurfEps == 3 ? FlagSurfEps : 0;
  const int genmix = FlagGENMIX;
  const bool sideKappa = genmix == 2 || genmix == 4 || genmix == 5, sediment = FlagConcProf == 1;
  const bool floorNS = FlagMinDistEps == 1, corner = FlagWallCorner != 0;
  const double factor = k.cmu75 / k.kappa, kappa = k.kappa, minDist = MinDistEps;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) {
      if (surface && Ccellt[c] == 0) surfaceEpsilon(c, surface, false);
      continue;
    }
    Cap[c] = Csource[c] = 0.0;
    const double kc = std::max(Ckinen[c], ArtMinKinen), k15 = std::pow(kc, 1.5);
    if (sides & (kEast | kWest)) {
      const double y = capped(Cidist[c]);
      double f = factor;
      if (sideKappa) f = k.cmu75 / sidePairKappa(c, alongEastWest(c), y, kc, Cflaten[c], Cflates[c], kappa);
      Cap[c] += 1e30;
      Csource[c] += 1e30 * f * k15 / y;
    }
    if (sides & (kSouth | kNorth)) {
      double y = capped(Cjdist[c]);
      if (floorNS) y = std::max(y, minDist);
      double f = factor;
      if (sideKappa) f = k.cmu75 / sidePairKappa(c, alongSouthNorth(c), y, kc, Cflatew[c], Cflatee[c], kappa);
      // At a bed corner the value joins the bed's without a weight of its own.
      if (!(corner && (sides & kBottom))) Cap[c] += 1e30;
      Csource[c] += 1e30 * f * k15 / y;
    }
    if (sides & (kTop | kBottom)) {
      const double f = sediment ? factor * sedimentFactor(c) : factor;
      Cap[c] += 1e30;
      Csource[c] += 1e30 * f * k15 / capped(Ckdist[c]);
    }
    if (surface && Ccellt[c] == 0) surfaceEpsilon(c, surface, false);
  }
}

// The bed terms of one cell of a shallow column at the distance y from the
// bed, with the roughness and the sediment factor of the column's bottom cell.
void shallowCellTerms(int c, int eq, double y, double ks, double sediment, const LawConstants &k) {
  const CellWall w = cellWall(c, k);
  const double yplus = 1e6 * w.ustar * y;
  const bool viscous = FlagWallLimiterU == 3 && yplus < 11.63;
  if (eq >= 1 && eq <= 3) {
    const int f = Cflateb[c];
    const double uplus = viscous ? sublayer(yplus) : std::max(std::log(30.0 * y / ks) / k.kappa, MinUPlus);
    addFriction(c, w.r * Farea[f] / uplus, fullNormalVelocity(f, c), normalComponent(eq)[f]);
  } else if (eq == 5) {
    double uplus = viscous ? sublayer(yplus) : 2.5 * std::log(30.0 * y / ks);
    uplus = std::max(uplus * sediment, MinUPlusK);
    addKTerms(c, k.cD, w.kc, y, uplus, w.r / uplus, speedSquared(c));
  } else if (eq == 6) {
    fixEpsilon(c, sediment * k.cmu75 * std::pow(w.kc, 1.5) / (k.kappa * y));
  }
}

// Shallow columns (F 92 1): in a column whose half depth is below the limit
// of F 86, every cell feels the bed at its own distance from it. Each cell
// of the range gets its terms from the run of range cells it belongs to, so
// that a range cut inside a column writes only its own cells and the sums
// are formed bottom up in one order, whatever the cut.
void shallowColumns(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  if (eq == 6 && (TurbulenceModel == 14 || TurbulenceModel == 15)) return;
  const double limit = MinVertDist;
  const bool sedimentOn = FlagConcProf == 1;
  for (int c = first; c <= last; ++c) {
    const int under = Ccellb[c];
    if (under >= first && under <= last && under > 0) continue;  // inside a run started below
    int b = c;
    while (Ccellb[b] > 0) b = Ccellb[b];
    double half = 0.0;
    for (int x = b; x > 0 && half < limit; x = Ccellt[x]) half += Ckdist[x];
    if (half >= limit) continue;
    const double ks = Croughness[b];
    const double c0 = Cconc[0][b];
    // The bed's sediment stretches epsilon always, k only under F 494 1.
    const double sediment = eq == 6 || (sedimentOn && c0 > 0.0) ? 1.0 + 2.5 * c0 : 1.0;
    double below = 0.0;
    bool inRun = false;
    for (int x = b; x > 0; x = Ccellt[x]) {
      if (x == c) inRun = true;
      if (inRun && (x < first || x > last)) break;
      if (inRun) shallowCellTerms(x, eq, below + Ckdist[x], ks, sediment, k);
      below += 2.0 * Ckdist[x];
    }
  }
}

// The face-by-face laws know the rough, smooth and transitional u+ only
// (F 15 0, 5, 8): any other family, reachable when F 15 follows F 305 in
// "control", takes the rough law, and the run says so once.
void warnFaceLawFamily() {
  static std::atomic<bool> warned{false};
  const int family = FlagWallAll;
  if (family == 0 || family == 5 || family == 8) return;
  if (!warned.exchange(true)) logPrintf("Warning: F 305 uses the rough wall law for F 15 %d\n", family);
}

}  // namespace

// The wall terms of the current Equation over cells first..last, by the
// implementation of F 305 and the family of F 15.
void wall_laws(int first, int last) {
  if (FlagNewWall == 1 || FlagNewWall == 2) {
    warnFaceLawFamily();
    if (FlagNewWall == 1) wall_laws_new(first, last);
    else wall_laws_river(first, last);
    return;
  }
  const int model = TurbulenceModel, eq = Equation, family = FlagWallAll;
  const double cmu = model == 1 ? 0.0845 : 0.09;
  // Written only when they change, so that the chunks of one region, which
  // all find them set, only read them.
  if (XksWall < 1e-6) XksWall = 1e-6;
  if (Xkappa != 0.4) Xkappa = 0.4;
  const LawConstants k{std::pow(cmu, 0.75), 1000.0 * std::pow(cmu, 0.75), 1000.0 * std::sqrt(cmu), Xkappa,
                       std::log(30.0 * WallLimiterU)};
  if (first > last) return;
  if (model == 3 && (eq == 5 || eq == 6)) {
    modelThreeWallLaw(first, last, k);
    return;
  }
  if (PorosWallFlag == 1) clearThinCells(first, last);
  const bool momentum = eq >= 1 && eq <= 3;
  if (!momentum && eq != 5 && eq != 6) {
    clearWallCells(first, last);
    return;
  }
  switch (family) {
    case 0:
    case 11:
      if (momentum) momentumLaw(first, last, k);
      else if (eq == 6) epsilonLaw(first, last, k);
      else if (family == 11) fixedKWallLaw(first, last, k);
      else kLaw(first, last, k);
      // k of family 11 is fixed at the walls: the shallow columns leave it.
      if (PorosWallFlag == 1 && !(family == 11 && eq == 5)) shallowColumns(first, last, k);
      return;
    case 5:
      smoothWallLaw(first, last, k);
      return;
    case 8:
    case 9:
      transitionalWallLaw(first, last, k, family == 9);
      return;
    case 19:
      mixedWallLaw(first, last, k);
      return;
    default:
      clearWallCells(first, last);
  }
}
