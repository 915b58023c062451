// Coefficients of the two-dimensional level equation: one unknown per wet
// water column at its bottom cell (Cap Cf = sum a Cf_nb + Csource), weighted
// towards the upstream side by the Froude number. Writes the coefficient set,
// Cf (start values) and Bdeltah.
#include "surface/level_equations/level_coefficients.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "surface/surface_columns.h"

namespace {

constexpr double kFix = 1e20;  // a diagonal that dwarfs every weight holds a column's value

double clampSlope(double s) { return std::clamp(s, -Diffslope, Diffslope); }

double tanhStep(double s) { return 0.5 * (1.0 + std::tanh(s)); }
double rampG(double F) { return F < 0.2 ? 0.0 : F > 1.2 ? 10.0 : 10.0 * (F - 0.2); }
double rampH(double F) { return F < 1.0 ? 0.0 : F > 2.0 ? 100.0 : 100.0 * (F - 1.0); }
double upstreamWeight(double x) { return x > -0.2 ? 5.0 * x * x : -x; }
double downstreamWeight(double x) { return x < 0.1 ? 10.0 * x * x : x; }

// The tanh rows raise a downstream weight under subcritical flow.
double tanhVariant(int variant, double x, double F) {
  double r = tanhStep(variant == 18 ? -10.0 * x - 1.0 : -20.0 * x);
  if (x <= 0.0) return r;
  switch (variant) {
    case 13:
      if (F > 0.9 && F < 1.1) r = std::max(r, 5.0 * (1.1 - F));
      if (F < 0.9) r = std::max(r, 1.0 / (F + 0.1));
      break;
    case 15: {
      const double L = solverFroudeLimit;
      if (F > 1.0 && F < L) r = std::max(r, (L - F) / (L - 1.0 + 1e-8));
      if (F < 1.0) r = std::max(r, 1.1 / (F + 0.1));
      break;
    }
    case 16:
    case 18:
      if (F > 1.0 && F < 1.1) r = std::max(r, 10.0 * (1.1 - F));
      if (F < 1.0) r = std::max(r, 1.1 / (F + 0.1));
      break;
    case 17:
      if (F < 1.0) r = std::max(r, 1.1 / (F + 0.1));
      break;
    default: break;
  }
  return r;
}

double rawWeight(double x, double F, double w0) {
  if (FlagTFS3 == 0) {
    if (FlagTFS == 7) {
      if (F > 1.0 && x < 0.0) return upstreamWeight(x) * (F < 2.0 ? F - 1.0 : 1.0);
      if (F < 1.0 && x > 0.0) return downstreamWeight(x) * (F < 0.75 ? 4.0 - 4.0 * F : 1.0) + 0.03;
      return 0.0;
    }
    if (F > 1.0 && x < 0.0) return F * upstreamWeight(x);
    if (F < 1.0 && x > 0.0) return 0.03 + downstreamWeight(x) / F;
    return 0.0;
  }
  if (FlagTFS == 0) return w0;
  switch (FlagTFS3) {
    case 1: return std::max(0.0, (1.0 - F) * x);
    case 2: return (1.0 - F) * x > 0.0 ? (1.0 - F) * x + 0.1 : 0.1;
    case 3: return std::max(0.0, (1.3 - F) * x);
    case 4: return std::max(0.0, (2.0 - F) * x);
    case 5:
    case 9: return 1.0;
    case 6: return x >= -0.1 ? 1.0 : 0.0;
    case 7:
      if (x > -0.1 && F < 2.0) return std::min(2.0 - F, 1.0);
      if (x < -0.5 && F > 2.0) return x * x * (F - 1.0);
      return 0.0;
    case 8:
      if (F > 1.0 && x < 0.0) return 1.0;
      if (F < 1.0) return x > 0.0 ? 1.0 : 0.0;
      return 0.0;
    case 10: return rampG(F) + std::max(0.0, x);
    case 11: return rampG(F) + std::max(0.0, x) + rampH(F) * std::max(0.0, -x);
    case 12: return F > 1.0 && x < 0.0 ? 0.0 : rampG(F) + std::max(0.0, x);
    case 13:
    case 15:
    case 16:
    case 17:
    case 18: return tanhVariant(FlagTFS3, x, F);
    case 14: return std::max(tanhStep(-20.0 * x), 1.0 / (F + 0.1));
    case 19:
    case 20: {
      const double m = 5.0 * std::max(0.2 - x, 1.2 - F);
      double r = m > 0.0 ? std::min(m, 1.0) : 0.0;
      if (FlagTFS3 == 20 && F < 1.0 && x > -0.1) {
        double q = 1.1 / (F + 0.1);
        const double factor = 5.0 * (x + 0.1);
        if (factor <= 1.0) q *= factor;
        r = std::max(r, q);
      }
      return r;
    }
    case 21: return std::max(0.0, x);
    default: return 0.0;
  }
}

// Bed angle of the column, radians, and whether it counts as steep.
double bedAngle(int c) { return std::acos(std::clamp(Fvz[Cflateb[c]], -1.0, 1.0)); }
bool steepBed(int c) { return Fvz[Cflateb[c]] < 0.9; }

double normalDepth(int c, double U, double k, double e) {
  return std::pow(U / (std::sqrt(bedAngle(c)) * 26.0 / std::pow(k * Croughness[c], e) + 1e-20), 1.5);
}
double criticalDepth(double F, double U, double D) {
  return std::pow(U * U * U / (F * F * 9.81 + 1e-30) / D, 0.666666666667);
}

// The speed and the Froude number of the column of bottom cell c from the
// depth-weighted mean of u^2 + v^2.
struct ColumnFlow {
  double depth, speed, froude;
};
ColumnFlow columnFlow(int c) {
  double half = 0.0, sum = 0.0;
  for (int k = c; k > 0; k = Ccellt[k]) {
    half += Ckdist[k];
    sum += (Cxvel[k] * Cxvel[k] + Cyvel[k] * Cyvel[k]) * Ckdist[k];
  }
  const double speed = std::sqrt(sum / half);
  const double depth = 2.0 * half;
  return {depth, speed, speed / std::sqrt(9.81 * depth)};
}

// Column c fixed at level Z (or, for a change, at the change up to Z).
void fixColumn(int c, double Z) {
  if (c <= 0) return;
  const double v = FlagTFS == 9 ? Z : Z - surfaceOf(topOf(c));
  Csource[c] = kFix * v;
  Cap[c] = kFix;
}

int bottomOf(int c) {
  while (c > 0 && Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

// The columns of group g's faces whose cell is a bottom cell.
void fixGroup(int g, double Z) {
  if (g < 1 || g >= kDischargeGroups) return;
  const DischargeGroup &group = DischargeStruct[g];
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k];
    const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
    if (c > 0 && Ccellb[c] == 0) fixColumn(c, Z);
  }
}

// F 36 9: the discharge of every group enters (type 1) or leaves (type 0)
// the columns behind its faces as a level source.
void groupSources(int type, double sign) {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1 || group.type != type) continue;
    const double q = 0.001 * DischargeArray[g] / (group.area + 1e-30);
    for (int k = 0; k < group.faceCount; ++k) {
      const int f = group.faces[k];
      const int cb = bottomOf(Fcell1[f] > 0 ? Fcell1[f] : Fcell2[f]);
      if (cb > 0) Csource[cb] += sign * Farea[f] * q / Faz[Cflateb[cb]];
    }
  }
}

}  // namespace

double computeCoeffSurf(double x, double F, double w0) {
  double r = rawWeight(x, F, w0);
  if (SurfSmoothFlag == 5) r += SurfSmoothVal;
  return r + AddValTFS7;
}

double computeDhSurf(int nb, int c, double d) {
  double s = (Cpres[c] - Cpres[nb]) / (9810.0 * d + 1e-20);
  if (FlagScaleFreeSource > 2) s *= scaleBackwater2;
  return d * clampSlope(s) - (surfaceOf(c) - surfaceOf(nb));
}

double computeDhSurf2(int nb, int c, double d) {
  return d * clampSlope((Cpres[c] - Cpres[nb]) / (9810.0 * d + 1e-20));
}

double computeDhMann(int a, int b, int f, int sgn, double d, double M) {
  const double u = 0.001 * Fflux[f] / (0.5 * (Farea[Cflatet[b]] + Farea[Cflatet[a]]));
  const double R = std::pow(Ckdist[b] + Ckdist[a], 1.33333);
  const double S = u * std::fabs(u) / (M * M * R);
  return clampSlope(sgn * S) * d - (surfaceOf(b) - surfaceOf(a));
}

double computeDist1(int a, int b) { return std::hypot(Cxcenter[a] - Cxcenter[b], Cycenter[a] - Cycenter[b]); }

// The third value of F 246 chooses the depth below which a supercritical
// column may not fall. Row 2 is a product with 9.81, as the option was made:
// it is no depth dimensionally, but it lifts a column once F passes about 1.
double computeLimdepth(int c, double F, double U) {
  switch (FlagSurfLimit3) {
    case 0:
      if (F < 1.0) return 0.0;
      return steepBed(c) ? normalDepth(c, U, 0.3333, 0.16666666666666666) : criticalDepth(F, U, 3.132091952673165);
    case 2:
      if (F < 1.0) return 0.0;
      return F >= 2.0 ? 0.25 * U * U * 9.81 : 0.25 * U * U * 9.81 * (F - 1.0);
    case 5: return F < 1.0 ? 0.0 : 0.5 * U * U / 9.81;
    case 9:
      if (F < 1.0) return 0.0;
      return steepBed(c) ? normalDepth(c, U, 1.0, 0.1666666667) : criticalDepth(F, U, 3.132091952673165);
    case 10: {
      if (F < 0.9) return 0.0;
      double h = std::min(normalDepth(c, U, 0.3333, 0.166666666667), U * U / 39.24);
      const double factor = 5.0 * (F - 0.9);
      if (factor <= 1.0) h *= factor;
      return h;
    }
    case 11: {
      if (F < 1.0) return 0.0;
      if (steepBed(c)) return normalDepth(c, U, 0.333333, 0.1666666667);
      double h = criticalDepth(F, U, 6.26418390534633);
      const double factor = 10.0 * (F - 1.0);
      if (factor < 1.0) h *= factor;
      return h;
    }
    default: return 0.0;
  }
}

void computeCoeffTFS4() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Cat[c] = Cab[c] = Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = 0.0;
  }
  eachTreatedColumn([](int c, int i, int j) {
    const int r = TopBed == 1 ? topOf(c) : c;
    const int t = topOf(c);
    const ColumnFlow flow = columnFlow(c);
    const double h = flow.depth, U = flow.speed, F = flow.froude;
    const double ut = Cxvel[t], vt = Cyvel[t];
    const double speedTop = std::sqrt(ut * ut + vt * vt + 1e-20);
    // Below a supercritical column the surface may not drop under the
    // normal depth (steep bed) or the critical depth.
    double hlim = 0.0;
    if (F > 1.0) {
      const double nz = Fvz[Cflateb[c]];
      if (nz < 0.9) {
        hlim = std::pow(U * h / (std::sqrt(bedAngle(c)) * 26.0 / std::pow(Croughness[c], 1.0 / 6.0) + 1e-20), 0.6);
      } else if (nz > 0.9) {
        hlim = std::pow(U * h / 3.132091952673165, 0.666666666667);
      }
    }
    const int sides[4] = {Ccellw[r], Ccelle[r], Ccells[r], Ccelln[r]};
    double *const weights[4] = {Caw, Cae, Cas, Can};
    for (int k = 0; k < 4; ++k) {
      if (sides[k] <= 0) continue;
      const int nb = topOf(sides[k]);
      const double dx = Cxcenter[nb] - Cxcenter[t], dy = Cycenter[nb] - Cycenter[t];
      const double d = std::sqrt(dx * dx + dy * dy);
      double dh = computeDhSurf(nb, t, d);
      const double x = (dx * ut + dy * vt) / speedTop / d;
      if ((FlagSurfLimit1 == 1 && x < 0.0) || FlagSurfLimit1 == 2) dh = std::max(dh, hlim - h);
      const double a = computeCoeffSurf(x, F, dh) / d;
      weights[k][c] = a;
      Csource[c] += dh * a;
    }
    Cap[c] = Caw[c] + Cae[c] + Cas[c] + Can[c] + 1e-20;
    switch (FlagSurfLimit2) {
      case 2: Cap[c] = std::max(Cap[c], 1.0); break;
      case 4:
        if (Cap[c] < 0.01) {
          const double D = Bdepth[pointbed[i][j]];
          Cap[c] = 1.0;
          Csource[c] = std::pow(F * F, 0.3333333) * D - D;
        }
        break;
      case 5:
        if (Cap[c] < 0.01) {
          Cap[c] = 1.0;
          Csource[c] = 0.0;
        }
        break;
      case 7: Csource[c] += 0.05; break;
      default: break;
    }
    if (FlagTimeSurf > 0) Cap[c] += FlagTimeSurf * F;
  });
  setSurfaceBoundary();
}

void computeCoeffTFS8() {
  Ckdist[0] = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Cat[c] = Cab[c] = 0.0;
    Caww[c] = Cass[c] = Cann[c] = Caee[c] = 0.0;
    Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = 0.0;
  }
  zval[iPres][jPres][znumber + 1] = GlobZRef;
  eachTreatedColumn([](int c, int, int) {
    const double F = BFroude[Cbed[c]];
    const int n = Ccelln[c], s = Ccells[c], e = Ccelle[c], w = Ccellw[c];
    // North, north-west, west, south-west, south, south-east, east, north-east.
    const int around[8] = {n,
                           Ccellw[n] != 0 ? Ccellw[n] : Ccelln[w],
                           w,
                           Ccellw[s] != 0 ? Ccellw[s] : Ccells[w],
                           s,
                           Ccelle[s] != 0 ? Ccelle[s] : Ccells[e],
                           e,
                           Ccelle[n] != 0 ? Ccelle[n] : Ccelln[e]};
    double *const weights[8] = {Can, Cann, Caw, Caww, Cas, Cass, Cae, Caee};
    const int t = topOf(c);
    const double ut = Cxvel[t], vt = Cyvel[t];
    const double speedTop = std::sqrt(ut * ut + vt * vt + 1e-20);
    double half = 0.0;
    for (int k = c; k > 0; k = Ccellt[k]) half += Ckdist[k];
    Cap[c] = 1e-20;
    Csource[c] = 0.0;
    for (int k = 0; k < 8; ++k) {
      if (around[k] <= 0) continue;
      const int nb = topOf(around[k]);
      const double dx = Cxcenter[nb] - Cxcenter[t], dy = Cycenter[nb] - Cycenter[t];
      const double q = 1.0 / std::sqrt(dx * dx + dy * dy + 1e-20);
      const double x = (dx * ut + dy * vt) * q / speedTop;
      const double D = 1.0 / (q + 1e-20);
      const double slope = clampSlope((Cpres[t] - Cpres[nb]) * q / 9810.0);
      double dh = slope * D - (surfaceOf(t) - surfaceOf(nb));
      if (x < 0.0) dh = std::max(dh, -2.0 * half);
      const double a = computeCoeffSurf(x, F, dh) * D;
      weights[k][c] = a;
      Csource[c] += dh * a;
      Cap[c] += a;
    }
  });
  setSurfaceBoundary();
}

void setSurfaceBoundary() {
  fixColumn(static_cast<int>(zval[iPres][jPres][0]), GlobZRef);
  if (jSurf > 0) fixColumn(static_cast<int>(zval[iPres2][jPres2][0]), GlobZRef2);
  if (kSurf > 0) fixGroup(kSurf, GlobZRef);
  if (kSurf2 > 0) fixGroup(kSurf2, GlobZRef2);
  if (FlagTFS != 9) return;
  groupSources(1, 1.0);
  groupSources(0, -1.0);
  // Without a second reference no wet column starts below the reference
  // level.
  if (jSurf != 0 || zval[iPres][jPres][0] <= 0.0) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c > 0) Cf[c] = std::max(Cf[c], GlobZRef);
      }
    }
  }
}

void computeBDeltah() {
  if (FlagTFS2 != 3 && FlagTFS2 != 4) return;
  eachTreatedColumn([](int c, int, int) {
    double &kept = Bdeltah[Cbed[c]];
    kept = FlagTFS2 == 3 ? Cf[c] : 0.5 * Cf[c] + 0.5 * kept;
  });
}
