// Nine-point coefficients of algorithm 7: each column weighs its eight
// neighbours by the flow direction and the Froude number, the target
// difference comes from the top-cell (or column) pressures, and options
// steer shallow and supercritical columns. Writes the coefficient set, Cf
// and the second level slot of the reference point.
#include "surface/level_equations/nine_point_coefficients.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "surface/level_equations/level_coefficients.h"
#include "surface/surface_columns.h"

namespace {

constexpr double kHeadPerPascal = 0.000101937;  // m of water per Pa

double lowestCorner(int t) { return std::min({Pz[Cpoint5[t]], Pz[Cpoint6[t]], Pz[Cpoint7[t]], Pz[Cpoint8[t]]}); }
double highestCorner(int t) { return std::max({Pz[Cpoint5[t]], Pz[Cpoint6[t]], Pz[Cpoint7[t]], Pz[Cpoint8[t]]}); }

double limitingDepth(double F0, double h) {
  switch (FlagSurfLimit3) {
    case -1: return F0 > 1.0 ? h : 0.0;
    case -2: return F0 > 1.0 ? 1.1 * h : 0.0;
    case -3:
    case -5: return F0 > 1.0 ? h * F0 : 0.0;
    case -4: return F0 > 0.9 ? h : 0.0;
    case -6: return F0 > 0.5 ? h : 0.0;
    case -7: return F0 > 1.0 ? std::pow(F0, 0.66666667) * h : 0.0;
    default: return 0.0;
  }
}

// Target difference of column c (top t0) over neighbour ck (top tk) by F 233.
double targetDifference(int c, int t0, int ck, int tk) {
  const double p0 = Cpres[t0], pk = Cpres[tk];
  const double L = surfaceOf(t0) - surfaceOf(tk);
  const double base = (p0 - pk) * kHeadPerPascal;
  const double layered = ((p0 - Cpres[c]) - pk + Cpres[ck]) * kHeadPerPascal;
  const bool multi = c != t0 && tk != ck;
  const double below = multi ? ((p0 - Cpres[t0 - 1]) - pk + Cpres[tk - 1]) * kHeadPerPascal : 0.0;
  switch (FlagNonHydrostaticSurf) {
    case 1: return base - layered - L;
    case 2: return base + layered - L;
    case 3: return base - below - L;
    case 4: return base + below - L;
    case 5: return ((p0 + Cpres[c]) - pk - Cpres[ck]) * 0.5 * kHeadPerPascal - L;
    case 6: return (Bpresavg[Cbed[c]] - Bpresavg[Cbed[ck]]) * kHeadPerPascal - L;
    case 7: {
      const double P = (Bpresavg[Cbed[c]] - Bpresavg[Cbed[ck]]) * kHeadPerPascal;
      if (P <= 0.0) return std::min(P - (lowestCorner(t0) - highestCorner(tk)), 0.0);
      return std::max(P - (highestCorner(t0) - lowestCorner(tk)), 0.0);
    }
    default: return base - L;
  }
}

void columnEquation(int c, int i, int j) {
  const int n = Ccelln[c], s = Ccells[c], e = Ccelle[c], w = Ccellw[c];
  const int cell[8] = {n, Ccellw[n] != 0 ? Ccellw[n] : Ccelln[w], w, Ccellw[s] != 0 ? Ccellw[s] : Ccells[w], s,
                       Ccelle[s] != 0 ? Ccelle[s] : Ccells[e], e, Ccelle[n] != 0 ? Ccelle[n] : Ccelln[e]};
  const int t0 = topOf(c);
  const double h = Bdepth[Cbed[c]];
  double F0 = BFroude[Cbed[c]];
  int tk[8];
  double dk[8] = {}, xk[8] = {}, Fk[8] = {}, a[8] = {};
  double Sx = 0.0;
  for (int k = 0; k < 8; ++k) {
    tk[k] = topOf(cell[k]);
    if (cell[k] <= 0) continue;
    Fk[k] = BFroude[Cbed[cell[k]]];
    const double dx = Cxcenter[cell[k]] - Cxcenter[c], dy = Cycenter[cell[k]] - Cycenter[c];
    dk[k] = std::sqrt(dx * dx + dy * dy);
    const double U = Cxvel[c] + Cxvel[t0] + Cxvel[tk[k]] + Cxvel[cell[k]];
    const double V = Cyvel[c] + Cyvel[t0] + Cyvel[tk[k]] + Cyvel[cell[k]];
    xk[k] = (dx * U + dy * V) / (dk[k] * std::sqrt(U * U + V * V) + 1e-20);
    Sx += 0.5 * std::fabs(xk[k]);
    if (FlagSurfLimit3 == -5) F0 = std::max(F0, Fk[k]);
  }
  Cap[c] = 1e-20;
  Csource[c] = 0.0;
  const double hlim = limitingDepth(F0, h);
  for (int k = 0; k < 8; ++k) {
    if (tk[k] == 0) continue;
    double dh = targetDifference(c, t0, cell[k], tk[k]);
    dh = dk[k] * std::clamp(dh / (dk[k] + 1e-20), -Diffslope, Diffslope);
    if ((FlagSurfLimit1 == 1 && xk[k] < 0.0) || FlagSurfLimit1 == 2) dh = std::max(dh, hlim - h);
    double weight = computeCoeffSurf(xk[k], FlagTFS5 == 0 ? F0 : Fk[k], dh);
    const bool gate1 = xk[k] > 0.0 && F0 < 1.0 && Fk[k] > 1.0;
    const bool gate2 = xk[k] < 0.0 && F0 > 1.0 && Fk[k] < 1.0;
    if ((FlagTFS6 == 1 && gate1) || (FlagTFS6 == 2 && gate2) || (FlagTFS6 == 3 && (gate1 || gate2))) weight = 0.0;
    a[k] = weight;
    Csource[c] += dh * weight;
    Cap[c] += weight;
    if (FlagSurfLimit4 == 1 && F0 > 1.0 && xk[k] > 0.0 && surfaceOf(t0) > surfaceOf(tk[k])) Cap[c] += F0;
  }
  switch (FlagSurfLimit2) {
    case 1: Cap[c] += Sx * std::max(0.0, F0 > 1.0 ? 11.0 - 10.0 * F0 : 10.0 * F0 - 9.0); break;
    case 2: Cap[c] = std::max(Cap[c], 1.0); break;
    case 3: Cap[c] += Sx * std::max(0.0, F0 > 1.0 ? 0.2 * (15.0 - 10.0 * F0) : 0.2 * (10.0 * F0 - 5.0)); break;
    case 4:
      if (Cap[c] < 0.01) {
        Cap[c] = 1.0;
        Csource[c] = std::pow(F0 * F0, 0.3333333) * h - h;
      }
      break;
    case 5:
      if (Cap[c] < 0.01) {
        Cap[c] = 1.0;
        Csource[c] = 0.0;
      }
      break;
    default: break;
  }
  if (FlagSurfLimit4 == 2) {
    // A column dry at a corner takes the plain mean of its neighbours.
    double m = 1e20;
    for (int di = -1; di <= 0; ++di) {
      for (int dj = -1; dj <= 0; ++dj) m = std::min(m, zval[i + di][j + dj][znumber] - zval[i + di][j + dj][1]);
    }
    if (m < MinVertDist0) {
      int count = 0;
      for (int k = 0; k < 8; ++k) {
        a[k] = tk[k] != 0 ? 1.0 : 0.0;
        count += tk[k] != 0;
      }
      Cap[c] = count;
      Csource[c] = 0.0;
    }
  }
  Can[c] = a[0];
  Cann[c] = a[1];
  Caw[c] = a[2];
  Caww[c] = a[3];
  Cas[c] = a[4];
  Cass[c] = a[5];
  Cae[c] = a[6];
  Caee[c] = a[7];
  if (FlagTimeSurf > 0) Cap[c] += F0 * FlagTimeSurf;
}

}  // namespace

void computeCoeffTFS7() {
  Ckdist[0] = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Caww[c] = Cass[c] = Cann[c] = Caee[c] = Cat[c] = Cab[c] = 0.0;
    Csource[c] = 0.0;
    Cap[c] = 0.0001;
    Cf[c] = 0.0;
  }
  zval[iPres][jPres][znumber + 1] = GlobZRef;
  eachTreatedColumn(columnEquation);
  if (FlagTFS7 > 0) eachTreatedColumn([](int c, int, int) { Cap[c] += FlagTFS7 / TimeStep; });
}
