// Spreading of a column's transient level change onto its four corners: in
// subcritical flow the upstream corners take the change, in supercritical
// flow the downstream ones. Writes zval[..][znumber] and BFroude.
#include "surface/transient/corner_spreading.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Share every corner receives beside its upwind share: flattens the weights
// toward equal ones, most of all in slow flow.
double diffusiveShare(double fr) {
  switch (FlagSurfDiffusive) {
    case 1: return 1.0 / (fr + 0.0001);
    case 2: return 1.0;
    case 3: return 1.0 / ((fr + 0.0001) * (fr + 0.0001));
    case 4: return 1.0 / std::sqrt(fr + 0.0001);
    default: return 0.0;
  }
}

}  // namespace

void spreadLevelChange(int i, int j, double &dh, double (&inc)[4]) {
  const int ci[4] = {i - 1, i, i, i - 1};
  const int cj[4] = {j - 1, j - 1, j, j};
  const int bot = static_cast<int>(zval[i][j][0]);
  int top = bot;
  while (Ccellt[top] > 0) top = Ccellt[top];

  double w[4] = {0.25, 0.25, 0.25, 0.25};
  int wallCell = top;
  const bool upwind = FlagSurfUpwind == 1 || FlagSurfUpwind == 2;
  if (upwind) {
    // Depth-averaged velocity and Froude number of the column before it moves.
    double H2 = 0.0, U = 0.0, V = 0.0;
    for (int c = top; c > 0; c = Ccellb[c]) {
      H2 += Ckdist[c];
      U += Cxvel[c] * Ckdist[c];
      V += Cyvel[c] * Ckdist[c];
    }
    U /= H2;
    V /= H2;
    const double fr = std::sqrt((U * U + V * V) / (19.62 * H2 + 1e-20));
    BFroude[Cbed[bot]] = fr;
    // No column falls by more than its depth less (U^2 + V^2) / 981.
    dh = std::max(dh, (U * U + V * V) / 981.0 - 2.0 * H2);
    if (FlagSurfUpwind == 2) {
      const int around[5] = {bot, Ccelle[bot], Ccelln[bot], Ccells[bot], Ccellw[bot]};
      U = V = 0.0;
      for (int c : around) {
        U += Cxvel[c];
        V += Cyvel[c];
      }
    }
    const double dw = diffusiveShare(fr);
    // Projections of the flow on the column's diagonals: a > 0 points to
    // corner 2, b > 0 to corner 3.
    const int p1 = Cpoint1[bot], p2 = Cpoint2[bot], p3 = Cpoint3[bot], p4 = Cpoint4[bot];
    const double a = U * (Px[p2] - Px[p4]) + V * (Py[p2] - Py[p4]);
    const double b = U * (Px[p3] - Px[p1]) + V * (Py[p3] - Py[p1]);
    double raw[4];
    if (fr >= 1.0) {
      raw[0] = std::max(-b, 0.0), raw[1] = std::max(a, 0.0), raw[2] = std::max(b, 0.0), raw[3] = std::max(-a, 0.0);
    } else {
      raw[0] = std::max(b, 0.0), raw[1] = std::max(-a, 0.0), raw[2] = std::max(-b, 0.0), raw[3] = std::max(a, 0.0);
    }
    const double sum = raw[0] + raw[1] + raw[2] + raw[3] + 4.0 * dw + 1e-30;
    for (int k = 0; k < 4; ++k) w[k] = (raw[k] + dw) / sum;
    wallCell = bot;
    if (FlagSideSurfDamp > 0 && (Ccells[bot] == 0 || Ccelln[bot] == 0)) std::fill(w, w + 4, 0.25);
  }
  // Wall corners are shared by half as many columns: they get TFSdampwall
  // times their share, without normalising again.
  if (Ccells[wallCell] == 0) w[0] *= TFSdampwall, w[1] *= TFSdampwall;
  if (Ccelln[wallCell] == 0) w[2] *= TFSdampwall, w[3] *= TFSdampwall;
  if (Ccellw[wallCell] == 0) w[0] *= TFSdampwall, w[3] *= TFSdampwall;
  if (Ccelle[wallCell] == 0) w[1] *= TFSdampwall, w[2] *= TFSdampwall;

  for (int k = 0; k < 4; ++k) {
    double *z = zval[ci[k]][cj[k]];
    inc[k] = w[k] * dh;
    if (TFSminFlag == 1) {
      const double limit = std::max(0.0, 0.1 * (z[znumber] - z[1]));
      inc[k] = std::max(-limit, std::min(limit, inc[k]));
    }
    z[znumber] += inc[k];
  }
}
