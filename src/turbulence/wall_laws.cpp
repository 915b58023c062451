// Rough-wall laws at the bed, the side walls and a closed lid: clears Cap and
// Csource of every cell of the range with a wall face and puts the friction
// of U, V, W, the wall production and dissipation of k, or the wall epsilon.
#include "turbulence/wall_laws.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "startup/log.h"

namespace {

// Wall sides of a cell, one bit each.
enum : unsigned { kEast = 1, kWest = 2, kSouth = 4, kNorth = 8, kTop = 16, kBottom = 32 };

// The six reads of Fflagflow that decide whether a cell touches a wall.
inline unsigned wallSides(int c) {
  return (Fflagflow[Cflatee[c]] == -1 ? kEast : 0u) | (Fflagflow[Cflatew[c]] == -1 ? kWest : 0u) |
         (Fflagflow[Cflates[c]] == -1 ? kSouth : 0u) | (Fflagflow[Cflaten[c]] == -1 ? kNorth : 0u) |
         (Fflagflow[Cflatet[c]] == -1 ? kTop : 0u) | (Fflagflow[Cflateb[c]] == -1 ? kBottom : 0u);
}

// Constants of one call: C_mu (0.0845 for RNG), cD = 1000 C_mu^0.75,
// cS = 1000 sqrt(C_mu), kappa and the log of limiter 4.
struct LawConstants {
  double cmu75, cD, cS, kappa, lwu;
};

// Per cell: the friction velocity of y+ (from the stored k, a negative k
// counting as 0), the clamped k and the mass friction velocity R = 1000 u*.
struct CellWall {
  double ustar, kc, r;
};

inline CellWall cellWall(int c, const LawConstants &k) {
  const double stored = Ckinen[c];
  const double kc = std::max(stored, ArtMinKinen);
  // 31.62 = sqrt(1000): R is rho u* in kg/(m2 s).
  return {std::sqrt(0.001 * k.cS * std::max(stored, 0.0)), kc, 31.62 * std::sqrt(k.cS * kc)};
}

inline double capped(double y) { return std::min(y, 1000.0); }

// u+ in the viscous sublayer, kept away from 0 for a cell without k.
inline double sublayer(double yplus) { return std::max(yplus, 1e-20); }

// Clears the cells of the range that touch a wall (after the thin cells of
// F 92 1): the wall terms, or nothing, take the place of what the caller
// put there.
void clearWallCells(int first, int last) {
  if (PorosWallFlag == 1) {
    for (int c = first; c <= last; ++c) {
      if (Ckdist[c] < MinVertDist) Cap[c] = Csource[c] = 0.0;
    }
  }
  for (int c = first; c <= last; ++c) {
    if (wallSides(c)) Cap[c] = Csource[c] = 0.0;
  }
}

// Friction of one wall face on the velocity component of the equation:
// Fw in Cap, Fw (n.U) n_eq in Csource, so only the velocity along the wall
// is braked.
inline void addFriction(int c, double fw, double nU, double nEq) {
  Cap[c] += fw;
  Csource[c] += fw * nU * nEq;
}

// The rough log law of the momentum equations, face by face.
void momentumLaw(int first, int last, const LawConstants &k) {
  const int eq = Equation;
  const double *nEq = eq == 1 ? Fvx : (eq == 2 ? Fvy : Fvz);
  const bool sideEq = eq != 3;  // the side walls have no z component
  const int limiter = FlagWallLimiterU;
  const double kappa = k.kappa, minLog = kappa * MinUPlus, ks = XksWall, wlu = WallLimiterU;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double u = Cxvel[c], v = Cyvel[c], wz = Czvel[c];
    // Side walls and the lid: R kappa A / max(ln(30 y / ks), kappa MinUPlus).
    auto wallFace = [&](int f, double dist, bool lid) {
      const double y = capped(dist), a = Farea[f];
      const double yplus = 1e6 * w.ustar * y;
      double fw;
      if (limiter == 3 && yplus < 11.63) fw = w.r * a / sublayer(yplus);
      else if (lid && limiter == 5 && Cgamma[c] < 0.0011) fw = 0.001 * a / y;  // a laminar lid, 0.001 Pa s
      else fw = w.r * kappa * a / std::max(std::log(30.0 * y / ks), minLog);
      const double nU = Fvx[f] * u + Fvy[f] * v + (lid ? Fvz[f] * wz : 0.0);
      addFriction(c, fw, nU, lid || sideEq ? nEq[f] : 0.0);
    };
    if (sides & kEast) wallFace(Cflatee[c], Cidist[c], false);
    if (sides & kWest) wallFace(Cflatew[c], Cidist[c], false);
    if (sides & kSouth) wallFace(Cflates[c], Cjdist[c], false);
    if (sides & kNorth) wallFace(Cflaten[c], Cjdist[c], false);
    if (sides & kTop) wallFace(Cflatet[c], Ckdist[c], true);
    if (sides & kBottom) {
      const int f = Cflateb[c];
      const double y = capped(Ckdist[c]), a = Farea[f], bedKs = Croughness[c];
      double uplus = std::max(std::log(30.0 * y / bedKs) / kappa, MinUPlus);
      if (limiter == 4 && y < wlu * bedKs) uplus = y / (wlu * bedKs) * k.lwu;
      if (limiter == 6 && y < 0.5 * bedKs) uplus = std::max(uplus, 11.5 * y / bedKs + 1.0);
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

// The wall terms of k for one pair of sides: the dissipation, linear in k,
// and the production by the wall shear stress.
inline void addKTerms(int c, const CellWall &w, const LawConstants &k, double y, double uplus, double speed2) {
  const double vol = Cvol[c];
  Cap[c] += k.cD * std::sqrt(w.kc) * uplus / y * vol;
  Csource[c] += w.r / uplus * speed2 / y * vol;
}

// The rough log law of k, pair by pair (east-west, north-south, top-bottom);
// 2.5 stands for 1/kappa.
void kLaw(int first, int last, const LawConstants &k) {
  const int limiter = FlagWallLimiterK;
  const double ks = XksWall, wlk = WallLimiterK, manning = 0.31927 * ManningInit;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const CellWall w = cellWall(c, k);
    const double speed2 = Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c] + Czvel[c] * Czvel[c];
    auto sidePair = [&](double dist) {
      const double y = capped(dist), yplus = 1e6 * w.ustar * y;
      double uplus = std::max(2.5 * std::log(30.0 * y / ks), MinUPlusK);
      if (limiter == 3 && yplus < 11.63) uplus = sublayer(yplus);
      addKTerms(c, w, k, y, uplus, speed2);
    };
    if (sides & (kEast | kWest)) sidePair(Cidist[c]);
    if (sides & (kSouth | kNorth)) sidePair(Cjdist[c]);
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
      addKTerms(c, w, k, y, uplus, speed2);
    }
  }
}

// The wall value of epsilon for each pair of sides with a wall, fixed with
// the weight 1e30: a cell with walls in several pairs takes their mean.
void epsilonLaw(int first, int last, const LawConstants &k) {
  const int model = TurbulenceModel;
  if (model == 14 || model == 15) {
    // No wall value: the wall cells start from Cap = Csource = 0.
    clearWallCells(first, last);
    return;
  }
  const double factor = k.cmu75 / k.kappa;
  for (int c = first; c <= last; ++c) {
    const unsigned sides = wallSides(c);
    if (!sides) continue;
    Cap[c] = Csource[c] = 0.0;
    const double k15 = std::pow(std::max(Ckinen[c], ArtMinKinen), 1.5);
    const bool pairs[3] = {(sides & (kTop | kBottom)) != 0, (sides & (kEast | kWest)) != 0,
                           (sides & (kSouth | kNorth)) != 0};
    const double dist[3] = {Ckdist[c], Cidist[c], Cjdist[c]};
    if (model == 16) {
      // omega at the wall from k and the distance, top-bottom first.
      const double c0 = Cconc[0][c];
      for (int p = 0; p < 3; ++p) {
        if (!pairs[p]) continue;
        const double y = capped(dist[p]);
        const double denominator = y >= 1000.0 ? 219.08 : 0.21908 * y + 1e-20;
        double value = k15 / denominator;
        if (p == 0) value *= 1.0 + 2.5 * c0;
        Cap[c] += 1e30;
        Csource[c] += 1e30 * value;
      }
      continue;
    }
    for (int p : {1, 2, 0}) {
      if (!pairs[p]) continue;
      Cap[c] += 1e30;
      Csource[c] += 1e30 * factor * k15 / capped(dist[p]);
    }
  }
}

// The options and families of the wall laws that the engine does not have
// yet: a run that asks for one ends here.
void endOnMissingLaw(int family) {
  switch (family) {
    case 5: notAvailableYet("wall_laws", "F 15 5");
    case 8: notAvailableYet("wall_laws", "F 15 8");
    case 9: notAvailableYet("wall_laws", "F 15 9");
    case 19: notAvailableYet("wall_laws", "F 15 19");
    case 0:
    case 11: break;
    default: return;
  }
  if (family == 11 && Equation == 5) notAvailableYet("wall_laws", "F 15 11");
  if (FlagGENMIX == 1 || FlagGENMIX == 2 || FlagGENMIX == 4 || FlagGENMIX == 5) notAvailableYet("wall_laws", "F 273");
  if (FlagConcProf == 1) notAvailableYet("wall_laws", "F 494");
  if (FlagMinDistEps == 1 && Equation == 6) notAvailableYet("wall_laws", "F 409");
  if (FlagWallCorner != 0 && Equation == 6) notAvailableYet("wall_laws", "F 546");
  if ((FlagSurfEps == 1 || FlagSurfEps == 3) && Equation == 6) notAvailableYet("wall_laws", "F 185");
  if (PorosWallFlag == 1) notAvailableYet("wall_laws", "F 92");
}

}  // namespace

// The wall terms of the current Equation over cells first..last, by the
// implementation of F 305 and the family of F 15.
void wall_laws(int first, int last) {
  if (FlagNewWall == 1) notAvailableYet("wall_laws_new", "F 305 1");
  if (FlagNewWall == 2) notAvailableYet("wall_laws_river", "F 305 2");
  const int model = TurbulenceModel, eq = Equation, family = FlagWallAll;
  const double cmu = model == 1 ? 0.0845 : 0.09;
  XksWall = std::max(XksWall, 1e-6);
  Xkappa = 0.4;
  const LawConstants k{std::pow(cmu, 0.75), 1000.0 * std::pow(cmu, 0.75), 1000.0 * std::sqrt(cmu), Xkappa,
                       std::log(30.0 * WallLimiterU)};
  if (first > last) return;
  if (model == 3 && (eq == 5 || eq == 6)) notAvailableYet("wall_laws", "F 24 3");
  endOnMissingLaw(family);
  const bool law = (family == 0 || family == 11) && PorosWallFlag != 1;
  if (!law) {
    clearWallCells(first, last);
    return;
  }
  if (eq >= 1 && eq <= 3) momentumLaw(first, last, k);
  else if (eq == 5) kLaw(first, last, k);
  else if (eq == 6) epsilonLaw(first, last, k);
  else clearWallCells(first, last);
}
