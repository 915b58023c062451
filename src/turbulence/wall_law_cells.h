// What every wall law reads of a wall cell: its wall sides, the friction
// velocities from k, the pressure gradient along a side wall, and the two
// ways a u+ enters the momentum and the k equations (Cap and Csource).
#pragma once

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace wall_cells {

// Wall sides of a cell, one bit each.
enum : unsigned { kEast = 1, kWest = 2, kSouth = 4, kNorth = 8, kTop = 16, kBottom = 32 };

// The six reads of Fflagflow that decide whether a cell touches a wall.
inline unsigned wallSides(int c) {
  return (Fflagflow[Cflatee[c]] == -1 ? kEast : 0u) | (Fflagflow[Cflatew[c]] == -1 ? kWest : 0u) |
         (Fflagflow[Cflates[c]] == -1 ? kSouth : 0u) | (Fflagflow[Cflaten[c]] == -1 ? kNorth : 0u) |
         (Fflagflow[Cflatet[c]] == -1 ? kTop : 0u) | (Fflagflow[Cflateb[c]] == -1 ? kBottom : 0u);
}

// Constants of one call: C_mu (0.0845 for RNG), its 0.75 power,
// cD = 1000 C_mu^0.75, cS = 1000 sqrt(C_mu), kappa and the log of limiter 4.
struct LawConstants {
  double cmu75, cD, cS, kappa, lwu;
};

// Per cell: the friction velocity of y+ (from the stored k, a negative k
// counting as 0), the clamped k, the friction velocity of the clamped k and
// the mass friction velocity R = 1000 u* of the clamped k.
struct CellWall {
  double ustar, kc, ustarC, r;
};

inline CellWall cellWall(int c, const LawConstants &k) {
  const double stored = Ckinen[c];
  const double kc = std::max(stored, ArtMinKinen);
  // 31.62 = sqrt(1000): R is rho u* in kg/(m2 s).
  return {std::sqrt(0.001 * k.cS * std::max(stored, 0.0)), kc, std::sqrt(0.001 * k.cS * kc),
          31.62 * std::sqrt(k.cS * kc)};
}

inline double capped(double y) { return std::min(y, 1000.0); }

// u+ in the viscous sublayer, kept away from 0 for a cell without k.
inline double sublayer(double yplus) { return std::max(yplus, 1e-20); }

// The factor by which suspended sediment at the bed stretches the log law:
// kappa / (1 + 2.5 c0), c0 the concentration of the first size class.
inline double sedimentFactor(int c) { return 1.0 + 2.5 * Cconc[0][c]; }

// The pressure difference along a side wall between the two neighbours
// across the perpendicular pair of sides, and d, half the distance between
// them over two; `ok` is false when one of the neighbours is missing.
struct AlongWall {
  bool ok;
  double dp, d;
  // |dp| / (4 d): the pressure gradient along the wall, Pa/m.
  double gradient() const { return std::fabs(dp) / (4.0 * d); }
};

// For the east and west faces: north minus south, d = Cjdist.
inline AlongWall alongEastWest(int c) {
  const int n = Ccelln[c], s = Ccells[c];
  if (n <= 0 || s <= 0) return {false, 0.0, 1.0};
  return {true, Cpres[n] - Cpres[s], Cjdist[c]};
}

// For the south and north faces: east minus west, d = Cidist.
inline AlongWall alongSouthNorth(int c) {
  const int e = Ccelle[c], w = Ccellw[c];
  if (e <= 0 || w <= 0) return {false, 0.0, 1.0};
  return {true, Cpres[e] - Cpres[w], Cidist[c]};
}

// No pressure difference along the wall: the plain law.
inline constexpr AlongWall kNoGradient{false, 0.0, 1.0};

// Calls sideFace(face, half width across the face, along-wall difference) for
// the east, west, south and north wall faces of cell c in `sides`; the
// difference along the wall only when withGradient is set.
template <class SideFace>
inline void eachSideWallFace(int c, unsigned sides, bool withGradient, SideFace &&sideFace) {
  if (sides & (kEast | kWest)) {
    const AlongWall along = withGradient ? alongEastWest(c) : kNoGradient;
    if (sides & kEast) sideFace(Cflatee[c], Cidist[c], along);
    if (sides & kWest) sideFace(Cflatew[c], Cidist[c], along);
  }
  if (sides & (kSouth | kNorth)) {
    const AlongWall along = withGradient ? alongSouthNorth(c) : kNoGradient;
    if (sides & kSouth) sideFace(Cflates[c], Cjdist[c], along);
    if (sides & kNorth) sideFace(Cflaten[c], Cjdist[c], along);
  }
}

// kappa raised by an adverse or favourable pressure gradient: g is the
// pressure-gradient parameter nu (dp/dx) / (rho u*^3); 0.4 at g = 0.
inline double pressureKappa(double g) { return (0.6 * g + 0.4) / (g + 1.0); }

// The pressure-gradient parameter of the momentum and k laws from the
// gradient along the wall and s = sqrt(cS k_c) (3.16228e-5 = 1e-6 / sqrt(1000)).
inline double pressureParameter(double gradient, double s) { return gradient * 3.16228e-5 / (s * s * s); }

// Friction of one wall face on the velocity component of the equation:
// Fw in Cap, Fw (n.U) n_eq in Csource, so only the velocity along the wall
// is braked.
inline void addFriction(int c, double fw, double nU, double nEq) {
  Cap[c] += fw;
  Csource[c] += fw * nU * nEq;
}

// The wall terms of k for one pair of sides: the dissipation, linear in k,
// and the production by the wall shear stress with the production
// coefficient `shear` (R / u+ of the law, possibly corrected).
inline void addKTerms(int c, double cD, double kc, double y, double uplus, double shear, double speed2) {
  const double vol = Cvol[c];
  Cap[c] += cD * std::sqrt(kc) * uplus / y * vol;
  Csource[c] += shear * speed2 / y * vol;
}

// A fixed value of epsilon (or omega) with the weight 1e30.
inline void fixEpsilon(int c, double value) {
  Cap[c] += 1e30;
  Csource[c] += 1e30 * value;
}

inline double speedSquared(int c) { return Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c] + Czvel[c] * Czvel[c]; }

// The normal velocity n.U at a side face (no z component) and at a top or
// bottom face (all three).
inline double sideNormalVelocity(int f, int c) { return Fvx[f] * Cxvel[c] + Fvy[f] * Cyvel[c]; }
inline double fullNormalVelocity(int f, int c) {
  return Fvx[f] * Cxvel[c] + Fvy[f] * Cyvel[c] + Fvz[f] * Czvel[c];
}

// The component of a face normal along the velocity of the equation.
inline const double *normalComponent(int equation) {
  return equation == 1 ? Fvx : (equation == 2 ? Fvy : Fvz);
}

// Clears every cell of the range that touches a wall: the wall terms, or
// nothing, take the place of what the caller put there.
inline void clearWallCells(int first, int last) {
  for (int c = first; c <= last; ++c) {
    if (wallSides(c)) Cap[c] = Csource[c] = 0.0;
  }
}

// Half the water depth at a surface cell: its own half height (at most
// 1000 m unless `uncapped`) and the half heights of the cells below it.
inline double surfaceHalfDepth(int c, bool uncapped) {
  double d = uncapped ? Ckdist[c] : capped(Ckdist[c]);
  for (int below = Ccellb[c]; below > 0; below = Ccellb[below]) d += Ckdist[below];
  return d;
}

// The epsilon options of the water surface at a cell without a cell above:
// option 1 (F 185 1) the value k^1.5 / (depth x F 185's coefficient),
// option 3 the vertical diffusive flux of k into the surface cell from the
// two cells below it (none when the column has fewer than three cells).
inline void surfaceEpsilon(int c, int option, bool uncapped) {
  if (option == 1) {
    const double kc = std::max(Ckinen[c], ArtMinKinen);
    fixEpsilon(c, std::pow(kc, 1.5) / (2.0 * surfaceHalfDepth(c, uncapped) * SurfEpsCoeff + 1e-20));
    return;
  }
  const int c1 = Ccellb[c], c2 = c1 > 0 ? Ccellb[c1] : 0;
  if (c2 <= 0) return;
  const double *k = Ckinen, *nu = CgammaV;
  const double v = 0.5 * ((k[c] - k[c1]) * (nu[c] + nu[c1]) - (k[c1] - k[c2]) * (nu[c1] + nu[c2]));
  fixEpsilon(c, std::max(v, 0.0));
}

}  // namespace wall_cells
