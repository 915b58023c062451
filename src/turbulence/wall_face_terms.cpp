// The wall terms of the face-by-face laws, one wall face or pair at a time:
// u+ by the family of F 15, then Cap and Csource of the cell for momentum,
// k or epsilon, with C_mu 0.09 whatever the model and ks from Croughness.
#include "turbulence/wall_face_terms.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

// What the terms read of the cell at the distance y (at most 1000 m): y+
// from the stored k (a negative k counting as 0), the clamped k, the mass
// friction velocity R = 31.62 sqrt(300 k_c) and y / ks.
struct FaceWall {
  double y, yplus, kc, r, yks;
};

FaceWall faceWall(int cell, const double *dist) {
  const double y = std::min(dist[cell], 1000.0);
  const double stored = Ckinen[cell], kc = std::max(stored, ArtMinKinen);
  return {y, 1e6 * std::sqrt(0.3 * std::max(stored, 0.0)) * y, kc, 31.62 * std::sqrt(300.0 * kc),
          y / (Croughness[cell] + 1e-20)};
}

// u+ kept away from 0 where the sublayer meets a cell without k.
inline double positive(double uplus) { return std::max(uplus, 1e-20); }

}  // namespace

// Family 0 the rough law, 5 the smooth law with its viscous sublayer, 8 the
// transitional law with ks+ = y+ / (y / ks) (smooth below 2.25, rough above
// 90); 1/kappa is the literal 2.5. The face-by-face laws are the only
// callers; other families take the rough law.
double wall_laws_uplus(double yplus, double yks) {
  const int family = FlagWallAll;
  if (family == 5) return yplus < 11.63 ? yplus : 2.5 * std::log(9.0 * yplus);
  if (family != 8) return std::max(2.5 * std::log(30.0 * yks), MinUPlus);
  const double ksPlus = yplus / yks;
  double uplus;
  if (ksPlus < 2.25) {
    uplus = 2.5 * std::log(9.0 * yplus);
  } else if (ksPlus > 90.0) {
    uplus = 2.5 * std::log(30.0 * yks);
  } else {
    const double lk = std::log(ksPlus);
    uplus = std::sin(0.4258 * (lk - 0.811)) * (3.0 - 2.5 * lk) + 2.5 * std::log(yplus) + 5.5;
  }
  if (yplus < 11.7) uplus *= yplus / 11.7;
  return std::max(uplus, 0.025);
}

// Fw = R A / u+ in Cap, Fw (n.U) n_eq in Csource, with the face's full
// normal at every face: a tilted side wall also brakes W.
WallFriction wall_face_friction(int cell, const int *faces, const double *dist) {
  const int f = faces[cell];
  const FaceWall w = faceWall(cell, dist);
  const double fw = w.r * Farea[f] / positive(wall_laws_uplus(w.yplus, w.yks));
  const double nU = Fvx[f] * Cxvel[cell] + Fvy[f] * Cyvel[cell] + Fvz[f] * Czvel[cell];
  const double nEq = Equation == 1 ? Fvx[f] : (Equation == 2 ? Fvy[f] : Fvz[f]);
  return {fw, fw * nU * nEq};
}

void wall_laws_surface_u(int cell, const int *faces, const double *dist) {
  const WallFriction w = wall_face_friction(cell, faces, dist);
  Cap[cell] += w.fw;
  Csource[cell] += w.source;
}

// Dissipation (164.31676725154983 = 1000 x 0.09^0.75) and production by the
// wall shear stress, averaged over the cell.
void wall_laws_surface_k(int cell, const double *dist) {
  const FaceWall w = faceWall(cell, dist);
  const double uplus = positive(wall_laws_uplus(w.yplus, w.yks)), vol = Cvol[cell];
  const double speed2 = Cxvel[cell] * Cxvel[cell] + Cyvel[cell] * Cyvel[cell] + Czvel[cell] * Czvel[cell];
  Cap[cell] += 164.31676725154983 * std::sqrt(w.kc) * uplus / w.y * vol;
  Csource[cell] += w.r / uplus * speed2 / w.y * vol;
}

// The wall value 0.1643 k^1.5 / (0.4 y) with the weight 1e30 (1.643e29 the
// product); omega k^1.5 / (0.21908 y) for model 16; none for 14 and 15.
void wall_laws_surface_eps(int cell, const double *dist) {
  const int model = TurbulenceModel;
  if (model == 14 || model == 15) return;
  const double y = std::min(dist[cell], 1000.0);
  const double k15 = std::pow(std::max(Ckinen[cell], ArtMinKinen), 1.5);
  Cap[cell] += 1e30;
  if (model == 16) Csource[cell] += 1e30 * k15 / (y >= 1000.0 ? 219.08 : 0.21908 * y + 1e-20);
  else Csource[cell] += 1.643e29 * k15 / (y >= 1000.0 ? 400.0 : 0.4 * y);
}
