// The secondary flow of a bend turns the surface velocity against the bed
// velocity; where that veering, over the stencil around a bank cell, points
// towards the dry side the bank is attacked harder than the bed shear says.
#include "sediment/transport/bank_erosion.h"

#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"

namespace {

constexpr double kDegree = 3.141592652 / 180.0;

// The cell beside c, or 0 when c itself is missing.
int step(const int *towards, int c) { return c > 0 ? towards[c] : 0; }

// tan of the part of slope angle alpha above thetaDegrees, 0 when flatter.
double steepness(double alpha, double thetaDegrees) {
  const double theta = thetaDegrees * kDegree;
  return alpha > theta ? std::tan(alpha - theta) : 0.0;
}

}  // namespace

bool bankErosionOn() { return FlagLEA2 > 0 || FlagLEA3 > 0 || FlagLEA4 > 0 || FlagLEA5 > 0; }

BankFactors bankErosionFactors(int c0, double h, bool bank) {
  BankFactors out;
  if (!bank) return out;
  const int s = Ccells[c0], e = Ccelle[c0], n = Ccelln[c0], w = Ccellw[c0];
  auto corner = [](int first, int second) { return first > 0 ? first : second; };
  const int stencil[9] = {c0,
                          s,
                          corner(step(Ccelle, s), step(Ccells, e)),
                          e,
                          corner(step(Ccelln, e), step(Ccelle, n)),
                          n,
                          corner(step(Ccellw, n), step(Ccelln, w)),
                          w,
                          corner(step(Ccells, w), step(Ccellw, s))};
  int neighbours = 0, veered = 0;
  double dx = 0.0, dy = 0.0, U = 0.0, V = 0.0, veering = 0.0, speeds = 0.0, q0 = 0.0;
  for (int k = 0; k < 9; ++k) {
    const int c = stencil[k];
    if (c <= 0) continue;
    if (k > 0) ++neighbours;
    dx += Cxcenter[c0] - Cxcenter[c];
    dy += Cycenter[c0] - Cycenter[c];
    const double ubx = Cxvel[c], uby = Cyvel[c];
    const double ub = std::sqrt(ubx * ubx + uby * uby);
    double q;
    if (Ccellt[c] > 0) {
      int top = c;
      while (Ccellt[top] > 0) top = Ccellt[top];
      const double utx = Cxvel[top], uty = Cyvel[top];
      const double ut = std::sqrt(utx * utx + uty * uty);
      q = 0.5 * ut + 0.5 * ub;
      veering += std::asin((ubx * uty - uby * utx) / std::sqrt(ub * ub * ut * ut + 1e-20));
      ++veered;
      U += (ubx + utx) / 2.0;
      V += (uby + uty) / 2.0;
    } else {
      q = ub;
      U += ubx;
      V += uby;
    }
    speeds += q;
    if (k == 0) q0 = q;
  }
  // psi > 0: the surface turned anticlockwise from the bed; sigma: the sine
  // from the mean velocity to the direction towards c0, the dry side.
  const double psi = veered > 0 ? veering / veered : 0.0;
  const double sigma = (U * dy - V * dx) / (std::sqrt((dx * dx + dy * dy) * (U * U + V * V)) + 1e-30);
  if (psi * sigma <= 0.0) return out;
  const int fb = Cflateb[c0];
  const double alpha = std::acos(Fvz[fb]), area = Farea[fb];
  const double weight = std::fabs(psi) / 30.0 * std::fabs(sigma);
  if (FlagLEA2 > 0) {
    double r1 = (steepness(alpha, CoeffLEA2_teta) * std::sqrt(area) + h) / (h + 1e-30);
    double r2 = (speeds / neighbours) / (q0 + 1e-30);
    if (FlagLEA2 == 2) {
      r1 *= weight;
      r2 *= weight;
    }
    out.concentration = CoeffLEA2_k4 * r2 + 1.0;
    out.shear = (CoeffLEA2_k3 * r2 * r2 + 1.0) * (CoeffLEA2_k2 * r1 + 1.0);
  }
  if (FlagLEA3 == 1) out.shear *= std::fabs(std::sin(psi)) * CoeffLEA3 + 1.0;
  if (FlagLEA3 == 2) out.shear *= std::fabs(std::cos(sigma)) * CoeffLEA3 + 1.0;
  if (FlagLEA4 > 0) {
    double v = area * steepness(alpha, CoeffLEA4_teta) * std::sqrt(area) * 0.5 / SolidFrac;
    if (FlagLEA4 == 2) v *= weight;
    out.added = v / Cvol[c0];
  }
  if (FlagLEA5 > 0) {
    double v = steepness(alpha, CoeffLEA5_teta) * CoeffLEA5_Ub * TimeStep * area / SolidFrac;
    if (FlagLEA5 == 2) v *= weight;
    out.added += v / Cvol[c0];
  }
  return out;
}
