// The rough-wall law of the fast flow driver: one u+ per wall face serves
// the friction of U, V, W and the k terms, and every wall face fixes
// epsilon. Writes rows 0..4 of CinvApf (still the centre coefficients) and
// Csourcem, XksWall and Xkappa.
#include "turbulence/fast_wall_laws.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "turbulence/wall_law_cells.h"
#include "turbulence/wall_laws.h"

namespace {

using namespace wall_cells;

constexpr int kRows = 5;

// What one call fixes: C_mu^0.75, cD, cS, the epsilon factor
// C_mu^0.75 / kappa, and the sublayer switch of F 397 3.
struct FastLaw {
  double cmu75, cD, cS, epsFactor;
  bool sublayer;
};

// u+ of a wall at distance y with roughness ks: the viscous sublayer below
// y+ 11.63 with F 397 3, else the rough log law bounded by MinUPlus.
inline double uplusOf(const FastLaw &law, double ustar, double y, double ks) {
  if (law.sublayer) {
    const double yplus = 1e6 * ustar * y;
    if (yplus < 11.63) return sublayer(yplus);
  }
  return std::max(2.5 * std::log(30.0 * y / ks), MinUPlus);
}

// The terms of one wall face of cell c: friction Fw on U, V, W (in the
// source only along the rows the face's normal spans), the production and
// dissipation of k, and the fixed epsilon value.
inline void addWallFace(const FastLaw &law, const CellWall &cw, int c, int f, double dist, double ks, bool vertical) {
  const double y = capped(dist);
  const double uplus = uplusOf(law, cw.ustar, y, ks);
  const double fw = cw.r * Farea[f] / uplus;
  for (int l = 0; l < 3; ++l) CinvApf[l][c] += fw;
  const double nx = Fvx[f], ny = Fvy[f], nz = vertical ? Fvz[f] : 0.0;
  const double s = fw * (nx * Cxvel[c] + ny * Cyvel[c] + nz * Czvel[c]);
  Csourcem[0][c] += nx * s;
  Csourcem[1][c] += ny * s;
  Csourcem[2][c] += nz * s;
  const double vol = Cvol[c];
  CinvApf[3][c] += law.cD * std::sqrt(cw.kc) * uplus / y * vol;
  Csourcem[3][c] += cw.r / uplus * speedSquared(c) / y * vol;
  CinvApf[4][c] += 1e30;
  Csourcem[4][c] += 1e30 * law.epsFactor * std::pow(cw.kc, 1.5) / y;
}

}  // namespace

void wallFast() {
  const double cmu = TurbulenceModel == 1 ? 0.0845 : 0.09;
  XksWall = std::max(XksWall, 0.0001);
  Xkappa = 0.4;
  const double cmu75 = std::pow(cmu, 0.75);
  const FastLaw law{cmu75, 1000.0 * cmu75, 1000.0 * std::sqrt(cmu), cmu75 / Xkappa, FlagWallLimiterU == 3};
  const LawConstants constants{cmu75, law.cD, law.cS, Xkappa, 0.0};
  const double ks = XksWall;
  // Each wall cell takes only its own faces: the cell chunks of F 206.
  forEachChunk(WCStart, WCEnd, [&](int first, int last) {
    for (int c = first; c <= last; ++c) {
      const unsigned sides = wallSides(c);
      if (sides == 0) continue;
      for (int l = 0; l < kRows; ++l) CinvApf[l][c] = Csourcem[l][c] = 0.0;
      const CellWall cw = cellWall(c, constants);
      if (sides & kEast) addWallFace(law, cw, c, Cflatee[c], Cidist[c], ks, false);
      if (sides & kWest) addWallFace(law, cw, c, Cflatew[c], Cidist[c], ks, false);
      if (sides & kSouth) addWallFace(law, cw, c, Cflates[c], Cjdist[c], ks, false);
      if (sides & kNorth) addWallFace(law, cw, c, Cflaten[c], Cjdist[c], ks, false);
      if (sides & kTop) addWallFace(law, cw, c, Cflatet[c], Ckdist[c], ks, true);
      if (sides & kBottom) addWallFace(law, cw, c, Cflateb[c], Ckdist[c], Croughness[c], true);
    }
  });
}
