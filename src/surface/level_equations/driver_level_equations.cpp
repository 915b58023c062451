// The driver's own level equations: one unknown per wet water column at its
// bottom cell, coupled to its side (and diagonal) neighbours by weights that
// follow the flow and its Froude number, driven by the top-cell pressure
// differences. Writes the coefficient set, Cf, the grid levels, Bdeltah.
#include "surface/level_equations/driver_level_equations.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "surface/backwater_curve.h"
#include "surface/steady/grid_level_update.h"
#include "surface/level_equations/level_coefficients.h"
#include "surface/level_equations/level_solver.h"
#include "surface/surface_columns.h"
#include "surface/steady/surface_driver.h"
#include "surface/surface_services.h"

namespace {

constexpr double kFix = 1e20;                   // a diagonal that dwarfs every weight holds a column
constexpr double kHeadPerPascal = 0.000101937;  // m of water per Pa

double cornerLevelMean(int i, int j) {
  return 0.25 * (zval[i - 1][j][znumber] + zval[i][j][znumber] + zval[i - 1][j - 1][znumber] +
                 zval[i][j - 1][znumber]);
}

double cornerDepth(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// Depth, depth-weighted speed and Froude number of the column of bottom cell c.
struct ColumnFlow {
  double depth, speed, froude;
};
ColumnFlow columnFlow(int c) {
  double half = 0.0, sum = 0.0;
  for (int k = c; k > 0; k = Ccellt[k]) {
    half += Ckdist[k];
    sum += (Cxvel[k] * Cxvel[k] + Cyvel[k] * Cyvel[k]) * Ckdist[k];
  }
  const double speed = std::sqrt(sum / (half + 1e-20));
  const double depth = 2.0 * half;
  return {depth, speed, speed / std::sqrt(9.81 * depth + 1e-20)};
}

// A column held so that its value is the change up to level Z.
void fixChangeTo(int c, double Z) {
  if (c <= 0) return;
  Csource[c] = (Z - surfaceOf(topOf(c))) * kFix;
  Cap[c] = kFix;
}

// The bottom cells behind the faces of group g.
template <typename Visit>
void eachGroupBottomCell(int g, Visit &&visit) {
  if (g < 1 || g >= kDischargeGroups) return;
  const DischargeGroup &group = DischargeStruct[g];
  for (int k = 0; k < group.faceCount; ++k) {
    const int f = group.faces[k];
    const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
    if (c > 0 && Ccellb[c] == 0) visit(c);
  }
}

int solverCode() { return solverFroude != 0 ? kSurfaceSolverFivePointFloor : kSurfaceSolverFivePoint; }

// F 36 21: the level itself, with the plain pressure slope as source; only
// the columns of the outflow group are held, at GlobZRef.
void levelEquation() {
  eachTreatedColumn([](int b, int i, int j) {
    Csource[b] = 0.0;
    Cf[b] = cornerLevelMean(i, j);
    const int r = TopBed == 1 ? topOf(b) : b;
    const int t = topOf(b);
    const double F = columnFlow(b).froude;
    const double umx = 0.5 * (Cxvel[t] + Cxvel[b]), umy = 0.5 * (Cyvel[t] + Cyvel[b]);
    const double um = std::sqrt(umx * umx + umy * umy + 1e-20);
    const int sides[4] = {Ccellw[r], Ccells[r], Ccelle[r], Ccelln[r]};
    double *const weights[4] = {Caw, Cas, Cae, Can};
    for (int k = 0; k < 4; ++k) {
      weights[k][b] = 0.0;
      if (sides[k] <= 0) continue;
      const int nb = topOf(sides[k]);
      const double dx = Cxcenter[nb] - Cxcenter[t], dy = Cycenter[nb] - Cycenter[t];
      const double dist = std::sqrt(dx * dx + dy * dy);
      const double x = (dx * Cxvel[t] + dy * Cyvel[t]) / (um * dist + 1e-20);
      const double a = computeCoeffSurf(x, F, 0.0);
      const double slope =
          std::clamp((Cpres[t] - Cpres[nb]) / (9810.0 * dist + 1e-20), -Diffslope, Diffslope);
      Csource[b] += dist * slope * scaleBackwater * a;
      weights[k][b] = a;
    }
    // The 1e-20 keeps a column without any weight from dividing by zero;
    // with its start level in the source such a column keeps that level
    // instead of solving to level 0, as it keeps its level under F 36 4.
    Cap[b] = Caw[b] + Cae[b] + Cas[b] + Can[b] + 1e-20;
    Csource[b] += 1e-20 * Cf[b];
  });
  eachGroupBottomCell(kSurf, [](int c) {
    Csource[c] = GlobZRef * kFix;
    Cap[c] = kFix;
  });
  surfaceSolver(solverCode());
  Cf[0] = 0.0;
  // surfaceUpdate relaxes changes: the solved level less the start value.
  eachTreatedColumn([](int b, int i, int j) { Cf[b] -= cornerLevelMean(i, j); });
  surfaceUpdate(ColumnValue::Change);
}

// The level difference of one side of an F 36 4 column.
struct Side {
  int nb;        // top cell of the neighbouring column
  int face;      // face of the top cell (or bottom cell) on this side
  int sgn;       // +1 east and north, -1 west and south
  int ci, cj;    // offset of the neighbouring column
  int p1i, p1j;  // the two corner points of this side, as offsets
  int p2i, p2j;
};

// F 36 4: the level change, with the options of F 246, F 427, F 431, F 438,
// F 422, F 322 and F 474.
void changeEquation(int ref) {
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Cat[c] = Cab[c] = Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = 0.0;
  }
  eachTreatedColumn([](int b, int i, int j) {
    Csource[b] = 0.0;
    const int r = TopBed == 1 ? topOf(b) : b;
    const int t = topOf(b);
    const ColumnFlow flow = columnFlow(b);
    const double h = flow.depth, U = flow.speed, F = flow.froude;
    const double ut = Cxvel[t], vt = Cyvel[t];
    auto faceOn = [t, b](const int *top, const int *bottom) { return top[t] != 0 ? top[t] : bottom[b]; };
    const int fw = faceOn(Cflatew, Cflatew), fs = faceOn(Cflates, Cflates), fe = faceOn(Cflatee, Cflatee),
              fn = faceOn(Cflaten, Cflaten);
    double wn;
    switch (FlagWeightComp) {
      case 1: {
        const double mx = 0.5 * (ut + Cxvel[b]), my = 0.5 * (vt + Cyvel[b]);
        wn = 1.0 / std::sqrt(mx * mx + my * my + 1e-20);
        break;
      }
      case 2:
        wn = 2.0 / (std::fabs(Fflux[fe]) + std::fabs(Fflux[fs]) + std::fabs(Fflux[fn]) + std::fabs(Fflux[fw]) + 1e-20);
        break;
      default: wn = 1.0 / std::sqrt(ut * ut + vt * vt + 1e-20); break;
    }
    const double L = computeLimdepth(b, F, U);
    const Side sides[4] = {{topOf(Ccellw[r]), fw, -1, -1, 0, -1, -1, -1, 0},
                           {topOf(Ccells[r]), fs, -1, 0, -1, -1, -1, 0, -1},
                           {topOf(Ccelle[r]), fe, 1, 1, 0, 0, -1, 0, 0},
                           {topOf(Ccelln[r]), fn, 1, 0, 1, -1, 0, 0, 0}};
    double *const weights[4] = {Caw, Cas, Cae, Can};
    double dm = 0.0;
    if (FlagTestNB == 1) {
      int n = 0;
      for (const Side &s : sides) {
        if (s.nb <= 0) continue;
        dm += std::hypot(Cxcenter[s.nb] - Cxcenter[t], Cycenter[s.nb] - Cycenter[t]);
        ++n;
      }
      dm /= n + 1e-20;
    }
    const bool lacksSide = Ccellw[r] == 0 || Ccells[r] == 0 || Ccelle[r] == 0 || Ccelln[r] == 0;
    const double M = 26.0 / std::pow(0.33333 * Croughness[b], 1.0 / 6.0);
    for (int k = 0; k < 4; ++k) {
      const Side &s = sides[k];
      weights[k][b] = 0.0;
      if (s.nb <= 0) continue;
      const int nb = s.nb;
      const double dx = Cxcenter[nb] - Cxcenter[t], dy = Cycenter[nb] - Cycenter[t];
      const double dist = std::sqrt(dx * dx + dy * dy);
      double x;
      switch (FlagWeightComp) {
        case 1: x = (dx * 0.5 * (Cxvel[b] + ut) + dy * 0.5 * (Cyvel[b] + vt)) * wn / (dist + 1e-20); break;
        case 2: x = (s.sgn > 0 ? std::max(0.0, -Fflux[s.face]) : std::max(0.0, Fflux[s.face])) * wn; break;
        default: x = (dx * ut + dy * vt) * wn / (dist + 1e-20); break;
      }
      double a = computeCoeffSurf(x, F, 0.0);
      if (FlagAddAnbShallow == 1) a += std::min(10.0, std::max(0.0, 15.0 - (h / MinVertDist1) * ValAddAnbShallow));
      if (FlagTestNB == 1) a *= dm / (dist + 1e-20);
      const bool single = Ccellt[b] == 0;
      const bool manning = (FlagSurfLimit1 == 3 && (single || F > 1.0)) ||
                           (FlagSurfLimit1 == 4 && (single || Ccellb[nb] == 0));
      double dh;
      if (manning) {
        dh = computeDhMann(nb, t, s.face, s.sgn, dist, M);
      } else {
        dh = computeDhSurf(nb, t, dist) * scaleBackwater;
        if (FlagSurfLimit5 == 4 && std::fabs(Cpres_res[t]) + std::fabs(Cpres_res[nb]) > 0.005) dh = 0.0;
        if (FlagSurfLimit5 == 5 && std::fabs(Cpres_res[t]) + std::fabs(Cpres_res[nb]) > surfaceResidualLimit) dh = 0.0;
        if (FlagSurfLimit5 == 6 && lacksSide) dh = 0.0;
      }
      if ((FlagSurfLimit1 == 1 && x < 0.0) || FlagSurfLimit1 == 2) dh = std::max(dh, L - h);
      if (FlagSurfLimit1 == 5) {
        const double g = std::max(dh, L - h);
        if (x < -0.4) {
          dh = g;
        } else if (x < 0.0) {
          dh += (dh - g) * 2.5 * x;
        }
      }
      if (FlagSurfLimit5 == 1 || FlagSurfLimit5 == 3) {
        const double m = std::min(cornerDepth(i + s.p1i, j + s.p1j), cornerDepth(i + s.p2i, j + s.p2j));
        const double f = m / surfaceMinVertDist0 - MinVertDist0;
        if (f <= 0.0) {
          dh = 0.0;
        } else if (f < 1.0) {
          dh *= f;
        }
      }
      if ((FlagSurfLimit5 == 2 || FlagSurfLimit5 == 3) && pointcell_old && pointcell_old[i + s.ci][j + s.cj] == 0) {
        dh = 0.0;
      }
      Csource[b] += dh * a;
      weights[k][b] = a;
    }
    Cap[b] = Caw[b] + Cae[b] + Cas[b] + Can[b] + 1e-20;
    if (FlagSurfLimit1 >= 6 && FlagSurfLimit1 <= 8) {
      Csource[b] = std::max(Csource[b], Cap[b] * (0.5 * U * U / 9.81 - h));
      if (FlagSurfLimit1 == 6) Csource[b] = std::min(Csource[b], Cap[b] * MinVertDist1 * 3.0);
      if (FlagSurfLimit1 == 8) Cap[b] += 0.1;
    }
    switch (FlagSurfLimit2) {
      case 2: Cap[b] = std::max(Cap[b], 1.0); break;
      case 4:
        if (Cap[b] < 0.01) {
          const double hb = Bdepth[Cbed[b]];
          Cap[b] = 1.0;
          Csource[b] = std::pow(F, 2.0 * 0.3333333) * hb - hb;
        }
        break;
      case 5:
        if (Cap[b] < 0.01) {
          Cap[b] = 1.0;
          Csource[b] = 0.0;
        }
        break;
      case 7: Csource[b] += 0.05; break;
      default: break;
    }
    switch (FlagTimeSurf) {
      case 1: Cap[b] += F; break;
      case 4: Cap[b] += 4.0 * F; break;
      case 5: Cap[b] += 1.0; break;
      case 6: Cap[b] += std::sqrt(Barea[Cbed[b]]) / TimeStep; break;
      case 7: Cap[b] += 1.0 / TimeStep; break;
      default: break;
    }
  });
  fixChangeTo(ref, GlobZRef);
  eachGroupBottomCell(kSurf, [](int c) {
    fixChangeTo(c, GlobZRef);
    if (FlagGradSurf == 1) Csource[Ccellw[c]] = 0.0;
  });
  if (kSurf2 > 0) eachGroupBottomCell(kSurf2, [](int c) { fixChangeTo(c, GlobZRef2); });
  for (int c = 0; c <= NoCells; ++c) Cf[c] = 0.0;
  if (BlockCasulli == 30) backwater();
  if (BlockCasulli == 4) backwaterPres();
  surfaceSolver(solverCode());
  if (debugging == 'D' || debugging == 'E') surfaceBugtrap(2);
  Cf[0] = 0.0;
  surfaceUpdate(ColumnValue::Change);
}


// The eight neighbours of bottom cell c, counter-clockwise from north: n,
// nw, w, sw, s, se, e, ne; a diagonal is found through either side.
struct Around {
  int cell[8];
};
Around neighboursOf(int c) {
  const int n = Ccelln[c], s = Ccells[c], e = Ccelle[c], w = Ccellw[c];
  return {{n, Ccellw[n] != 0 ? Ccellw[n] : Ccelln[w], w, Ccellw[s] != 0 ? Ccellw[s] : Ccells[w], s,
           Ccelle[s] != 0 ? Ccelle[s] : Ccells[e], e, Ccelle[n] != 0 ? Ccelle[n] : Ccelln[e]}};
}

double *nineWeight(int k) {
  double *const w[8] = {Can, Cann, Caw, Caww, Cas, Cass, Cae, Caee};
  return w[k];
}

void clearNinePoint() {
  Ckdist[0] = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Caww[c] = Cass[c] = Cann[c] = Caee[c] = Cat[c] = Cab[c] = 0.0;
    Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = 0.0;
  }
  zval[iPres][jPres][znumber + 1] = GlobZRef;
}

// F 36 8: pressure slope and Froude-dependent weights, scaled by distance.
void simpleNinePoint(int c) {
  const double F = BFroude[Cbed[c]];
  const Around around = neighboursOf(c);
  const int tc = topOf(c);
  const double ux = Cxvel[tc], uy = Cyvel[tc];
  const double speed = std::sqrt(ux * ux + uy * uy + 1e-20);
  double half = 0.0;
  for (int k = c; k > 0; k = Ccellt[k]) half += Ckdist[k];
  Cap[c] = 1e-20;
  Csource[c] = 0.0;
  for (int k = 0; k < 8; ++k) {
    nineWeight(k)[c] = 0.0;
    if (around.cell[k] <= 0) continue;
    const int tk = topOf(around.cell[k]);
    const double dx = Cxcenter[tk] - Cxcenter[tc], dy = Cycenter[tk] - Cycenter[tc];
    const double q = 1.0 / std::sqrt(dx * dx + dy * dy + 1e-20);
    const double cosk = (dx * ux + dy * uy) * q / speed;
    const double slope = std::clamp((Cpres[tc] - Cpres[tk]) * q / 9810.0, -Diffslope, Diffslope);
    const double r = 1.0 / (q + 1e-20);
    double dh = slope * r - (surfaceOf(tc) - surfaceOf(tk));
    if (cosk < 0.0) dh = std::max(dh, -2.0 * half);
    const double a = computeCoeffSurf(cosk, F, 0.0) * r;
    Csource[c] += dh * a;
    Cap[c] += a;
    nineWeight(k)[c] = a;
  }
}

// Critical depth of the full form by the third value of F 246.
double criticalDepthOf(int c, double Fr, double h) {
  switch (FlagSurfLimit3) {
    case -1: return Fr > 1.0 ? h : 0.0;
    case -2: return Fr > 1.0 ? 1.1 * h : 0.0;
    case -3:
    case -5: return Fr > 1.0 ? Fr * h : 0.0;
    case -4: return Fr > 0.9 ? h : 0.0;
    case -6: return Fr > 0.5 ? h : 0.0;
    case -7: return Fr > 1.0 ? std::pow(Fr, 0.66666667) * h : 0.0;
    case -8: {
      if (Fr < 1.0) return 0.0;
      const double nz = Fvz[Cflateb[c]];
      const double u = std::sqrt(9.81 * h) * Fr;
      if (nz >= 0.9) return u * u / 9.81;
      const double M = 26.0 / std::pow(0.3333 * Croughness[c], 1.0 / 6.0);
      return std::pow(u / (std::sqrt(std::acos(std::clamp(nz, -1.0, 1.0))) * M + 1e-20), 1.5);
    }
    default: return 0.0;
  }
}

double lowestCorner(int t) {
  return std::min({Pz[Cpoint5[t]], Pz[Cpoint6[t]], Pz[Cpoint7[t]], Pz[Cpoint8[t]]});
}
double highestCorner(int t) {
  return std::max({Pz[Cpoint5[t]], Pz[Cpoint6[t]], Pz[Cpoint7[t]], Pz[Cpoint8[t]]});
}

// The driving difference of column c (top tc) over column ck (top tk) by
// F 233, in metres.
double drivingDifference(int c, int tc, int ck, int tk) {
  const double L = surfaceOf(tc) - surfaceOf(tk);
  switch (FlagNonHydrostaticSurf) {
    case 6: return (Bpresavg[Cbed[c]] - Bpresavg[Cbed[ck]]) * kHeadPerPascal - L;
    case 7: {
      const double dp = (Bpresavg[Cbed[c]] - Bpresavg[Cbed[ck]]) * kHeadPerPascal;
      if (dp <= 0.0) return std::min(0.0, dp - (lowestCorner(tc) - highestCorner(tk)));
      return std::max(0.0, dp - (highestCorner(tc) - lowestCorner(tk)));
    }
    case 5: return (Cpres[tc] + Cpres[c] - Cpres[tk] - Cpres[ck]) * 0.5 * kHeadPerPascal - L;
    default: break;
  }
  double base = (Cpres[tc] - Cpres[tk]) * kHeadPerPascal;
  const double layer = ((Cpres[tc] - Cpres[c]) - Cpres[tk] + Cpres[ck]) * kHeadPerPascal;
  const bool layered = tc != c && tk != ck;
  const double below = layered ? ((Cpres[tc] - Cpres[tc - 1]) - Cpres[tk] + Cpres[tk - 1]) * kHeadPerPascal : 0.0;
  switch (FlagNonHydrostaticSurf) {
    case 1: base -= layer; break;
    case 2: base += layer; break;
    case 3: base -= below; break;
    case 4: base += below; break;
    default: break;
  }
  return base - L;
}

// F 36 7 and 9: critical depths, the pressure forms of F 233 and the
// options of F 246, F 283, F 422, F 428 and F 322.
void fullNinePoint(int c) {
  const Around around = neighboursOf(c);
  const double h = Bdepth[Cbed[c]];
  const int tc = topOf(c);
  double Fr = BFroude[Cbed[c]];
  if (FlagSurfLimit3 == -5) {
    for (int ck : around.cell) {
      if (ck > 0) Fr = std::max(Fr, BFroude[Cbed[ck]]);
    }
  }
  double cosk[8] = {}, dist[8] = {};
  double sumCos = 0.0, sumDist = 0.0;
  int count = 0;
  for (int k = 0; k < 8; ++k) {
    const int ck = around.cell[k];
    if (ck <= 0) continue;
    const int tk = topOf(ck);
    const double dx = Cxcenter[ck] - Cxcenter[c], dy = Cycenter[ck] - Cycenter[c];
    dist[k] = std::sqrt(dx * dx + dy * dy);
    const double vx = Cxvel[c] + Cxvel[tk], vy = Cyvel[c] + Cyvel[tk];
    // Two velocities that cancel give no direction: the 1e-20 keeps it 0.
    cosk[k] = (dx * vx + dy * vy) / ((std::sqrt(vx * vx + vy * vy) + 1e-20) * dist[k] + 1e-20);
    sumCos += std::fabs(cosk[k]);
    sumDist += dist[k];
    ++count;
  }
  const double dm = sumDist / (count + 1e-20);
  Cap[c] = 1e-20;
  Csource[c] = 0.0;
  const double hc = criticalDepthOf(c, Fr, h);
  double a[8] = {};
  for (int k = 0; k < 8; ++k) {
    const int ck = around.cell[k];
    if (ck <= 0) continue;
    const int tk = topOf(ck);
    double dh = drivingDifference(c, tc, ck, tk);
    dh = dist[k] * std::min(Diffslope, std::max(-Diffslope, dh / (dist[k] + 1e-20)));
    if ((FlagSurfLimit1 == 1 && cosk[k] < 0.0) || FlagSurfLimit1 == 2) dh = std::max(dh, hc - h);
    double w = computeCoeffSurf(cosk[k], BFroude[Cbed[ck]], 0.0);
    if (FlagTestNB == 1) w *= dm / (dist[k] + 1e-20);
    if (reduceCornersSurf > -0.1 && k % 2 == 1) w *= reduceCornersSurf;
    Csource[c] += dh * w;
    Cap[c] += w;
    a[k] = w;
    if (FlagSurfLimit4 == 1 && Fr > 1.0 && cosk[k] > 0.0 && surfaceOf(tk) < surfaceOf(tc)) Cap[c] += Fr;
  }
  const double S = 0.5 * sumCos;
  switch (FlagSurfLimit2) {
    case 1: Cap[c] += S * std::max(0.0, Fr <= 1.0 ? 10.0 * Fr - 9.0 : 11.0 - 10.0 * Fr); break;
    case 2: Cap[c] = std::max(Cap[c], 1.0); break;
    case 3: Cap[c] += S * std::max(0.0, Fr <= 1.0 ? (10.0 * Fr - 5.0) * 0.2 : (15.0 - 10.0 * Fr) * 0.2); break;
    case 4:
      if (Cap[c] < 0.01) {
        Cap[c] = 1.0;
        Csource[c] = std::pow(Fr, 2.0 * 0.3333333) * h - h;
      }
      break;
    case 5:
      for (double &w : a) w *= std::max(0.0, 1.0 - Fr);
      break;
    case 6: Csource[c] *= 0.3; break;
    default: break;
  }
  for (int k = 0; k < 8; ++k) nineWeight(k)[c] = FlagTFS == 7 ? a[k] : 0.0;
  if (FlagTimeSurf > 0) Cap[c] += FlagTimeSurf * Fr;
}

}  // namespace

void surfaceFivePoint(int c) {
  if (FlagTFS == 21) {
    levelEquation();
  } else {
    changeEquation(c);
  }
}

void surfaceNinePoint(int c) {
  // The F 36 9 equation sits at the bottom cells, which the grid methods
  // with TopBed 1 leave without a solved value.
  if (FlagTFS == 9 && TopBed == 1) fatalPrintf(kExitInconsistent, nullptr, "Error: F 36 9 does not work with F 64 %d\n", UMethod);
  clearNinePoint();
  const bool simple = FlagTFS == 8;
  eachTreatedColumn([simple](int col, int, int) { simple ? simpleNinePoint(col) : fullNinePoint(col); });
  if (!simple && FlagTFS7 > 0) eachTreatedColumn([](int col, int, int) { Cap[col] += FlagTFS7 / TimeStep; });
  fixChangeTo(c, GlobZRef);
  eachGroupBottomCell(kSurf, [](int col) { fixChangeTo(col, GlobZRef); });
  if (!simple) {
    if (kSurf2 > 0) eachGroupBottomCell(kSurf2, [](int col) { fixChangeTo(col, GlobZRef2); });
    if (NoNestflater > 1 && FlagCoupledNesting == 4) {
      for (int k = 1; k <= NoCells; ++k) {
        if (Ccoarsenest[k] > 0) {
          Cap[k] = kFix;
          Csource[k] = kFix * Cf[Ccoarsenest[k]];
        }
      }
    }
  }
  for (int k = WCStart; k <= WCEnd; ++k) Cf[k] = 0.0;
  surfaceSolver(kSurfaceSolverNinePoint);
  if (debugging == 'E') surfaceBugtrap(simple ? 3 : 4);
  Cf[0] = 0.0;
  if (simple) {
    surfaceUpdate(ColumnValue::Change);
    return;
  }
  if (FlagUpdateDownwind != 0) {
    surfaceUpdateDownwind();
  } else {
    surfaceUpdate(ColumnValue::Change);
  }
  if (FlagPreventDiv != 0) surfacePreventDiv();
  if (FlagTFS2 == 3 || FlagTFS2 == 4) {
    eachTreatedColumn([](int col, int, int) {
      double &kept = Bdeltah[Cbed[col]];
      kept = FlagTFS2 == 3 ? Cf[col] : 0.5 * Cf[col] + 0.5 * kept;
    });
  }
}
