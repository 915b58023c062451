// The surface of the slide layer in the block-slide mode: the net inflow into
// the top cell of each column over one time step, limited by the speed of the
// surface, the depth and the lowest level the layer may reach, averaged over
// the column's slide group for the transient surface update.
#include "turbulence/thixotropic_damping.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "turbulence/mud_friction.h"

namespace {

int topOfColumn(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// The net volume flowing into top cell t during one step per unit plan
// area, m.
double inflowRise(int t) {
  const double out = Fflux[Cflatee[t]] - Fflux[Cflatew[t]] + Fflux[Cflaten[t]] - Fflux[Cflates[t]] -
                     Fflux[Cflateb[t]];
  return -0.001 * out / (Faz[Cflatet[t]] + 1e-20) * TimeStep;
}

// A rise of the expanding material: the solid fraction of the upper bed
// layer diluted over the layer thickness h (top of t less the bottom of c0,
// plus the rise), and the rise stretched by the expansion.
double expand(int b, int c0, int t, double d) {
  const double E = ThixoExpansion;
  const double h = (Czcenter[t] + Ckdist[t]) - (Czcenter[c0] - Ckdist[c0]) + d;
  double &s = Bsolidfraction[1][b];
  s = std::clamp(h * s / ((E - 1.0) * d + h * (1.0 - s) + h * s), 0.0, 1.0);
  return d * E;
}

// The depth limit of F 179 1 and 2: no fall below the depth-averaged
// velocity head less the column depth.
double depthLimit(int t, double d) {
  double H = 0.0, U = 0.0, V = 0.0;
  for (int c = t; c > 0; c = Ccellb[c]) {
    H += Ckdist[c];
    U += Cxvel[c] * Ckdist[c];
    V += Cyvel[c] * Ckdist[c];
  }
  return std::max(d, ((U / H) * (U / H) + (V / H) * (V / H)) / 981.0 - 2.0 * H);
}

// The lowest level of the layer surface of column (i, j): the mean of plane
// 3 at its four corners.
double lowestLevel(int i, int j) {
  double **s = Surfaces[3];
  return 0.25 * (s[i][j] + s[i - 1][j] + s[i - 1][j - 1] + s[i][j - 1]);
}

}  // namespace

void computeThixoFluxes() {
  if (BVal[0] == 0) return;
  const int blk = slideLayerBlock();
  if (blk == 0) fatalExit(kExitSurfaceUpdate, "Error: F 236 3 needs the slide layer block (LayerMark 1)\n");
  std::fill(std::begin(kFlux), std::end(kFlux), 0.0);
  const int listed = kMaxSlideRegions - 1;
  const GridBlock &g = block[blk];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c0 = static_cast<int>(zval[i][j][0]);
      if (c0 <= 0) continue;
      const int b = pointbed[i][j];
      if (Ccellt[Bcellt[b]] == 0) continue;  // a column of one cell
      const int group = Bcellth[b];
      if (group <= 0) continue;
      const int t = topOfColumn(c0);
      double d = inflowRise(t);
      if (d > 0.0) d = expand(b, c0, t, d);
      if (SurfULimit > 0.001) {
        const double speed = std::sqrt(Cxvel[t] * Cxvel[t] + Cyvel[t] * Cyvel[t]);
        if (speed > SurfULimit) d = std::min(d, SurfUFactor * (speed - SurfULimit) * TimeStep);
        else if (d >= 0.0) d = 0.0;
      }
      if (FlagSurfUpwind == 1 || FlagSurfUpwind == 2) d = depthLimit(t, d);
      if (d < 0.0) {
        // The top of the layer stays above its lowest level.
        const double room = Czcenter[t] + Ckdist[t] - lowestLevel(i, j);
        d = room >= 0.0 ? std::max(d, -room) : 0.0;
      }
      for (int k = 0; k < listed && BVal[k] != 0; ++k) {
        if (BVal[k] == group) kFlux[k] += d;
      }
    }
  }
  for (int k = 0; k < listed && BVal[k] != 0; ++k) {
    if (BNo[k] > 0) kFlux[k] /= BNo[k];
  }
}
