// Slide layers, groundwater and the source mode of the transient free
// surface: Surfaces planes 4 and 6, Bgroundwater, the water block's bed under
// a moving layer, and Csource when a level change becomes a mass source.
#include "surface/transient/slide_coupling.h"

#include <algorithm>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

constexpr int kCornerI[4] = {-1, 0, 0, -1};
constexpr int kCornerJ[4] = {-1, -1, 0, 0};

// j offset from a layer block's corners to the same points of the block
// before it; block 1 has no block before it.
bool partnerOffset(int b, int &d) {
  if (b <= 1) return false;
  d = block[b].j2 - block[b - 1].j2;
  return true;
}

double meanCorners(int i, int j, int slot) {
  double s = 0.0;
  for (int k = 0; k < 4; ++k) s += zval[i + kCornerI[k]][j + kCornerJ[k]][slot];
  return 0.25 * s;
}

}  // namespace

void slideColumnCoupling(int b, int i, int j, const double (&inc)[4]) {
  int d = 0;
  const bool partner = partnerOffset(b, d);
  if (FlagThixo > 0 && Surfaces && surfacePlanes() > 6) {
    for (int k = 0; k < 4; ++k) {
      const int ci = i + kCornerI[k], cj = j + kCornerJ[k];
      Surfaces[6][ci][cj] += inc[k];
      if (partner) Surfaces[6][ci][cj - d] += inc[k];
    }
  }
  if (FlagFixSurfSlide == 1 && partner) {
    for (int k = 0; k < 4; ++k) zval[i + kCornerI[k]][j + kCornerJ[k] - d][znumber] += inc[k];
  }
  if (FlagGroundwater > 0 && FlagThixo > 0 && FlagGT > 0 && Bgroundwater && Bthixolev) {
    const int bc = pointbed[i][j];
    double gw = Bgroundwater[bc];
    const double tl = Bthixolev[bc];
    if (bc <= 0 || gw <= tl) return;
    const double L = meanCorners(i, j, znumber);
    const double fr = std::clamp((gw - tl) / (L - tl + 1e-20), 0.0, 1.0);
    const double s = inc[0] + inc[1] + inc[2] + inc[3];
    gw += (FlagGT == 3 ? 0.7 : fr) * s / 4.0;
    if (FlagGT == 2 && bc + 1 <= NoBCells) gw = std::max(gw, Bgroundwater[bc + 1]);
    Bgroundwater[bc] = gw;
  }
}

void layerCoupling(int b) {
  int d = 0;
  if (!partnerOffset(b, d)) return;
  const GridBlock &g = block[b];
  if (FlagGroundwater > 0 && Bgroundwater && Bthixolev) {
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int bc = pointbed[i][j];
        if (bc <= 0) continue;
        const double Lm = meanCorners(i, j, znumber);
        const double Lw = meanCorners(i, j - d, znumber);
        const double Lb = meanCorners(i, j - d, 1);  // the layer top of the previous call
        double &gw = Bgroundwater[bc];
        if (gw > Bthixolev[bc]) gw += 0.5 * (Lm - Lb);
        gw = Lw > Lm ? Lw : std::min(gw, Lm);
      }
    }
  }
  // The top of the layer becomes the bed of the water block.
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) zval[i][j - d][1] = zval[i][j][znumber];
  }
}

void levelChangeAsSource(int b) {
  const GridBlock &g = block[b];
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      double *z = zval[i][j];
      Surfaces[4][i][j] = z[znumber] - z[znumber + 1];
      z[znumber] = z[znumber + 1];
    }
  }
  if (FlagTFS == 12) {
    for (int c = 1; c <= NoCells; ++c) Csource[c] *= 1.0 - RelaxTFS;
    return;
  }
  if (FlagTFS != 1 && FlagTFS != 11) return;
  // The mass of the mean level change over the column's plan area, kg:
  // 1000 kg/m3 times the mean of the four corners.
  for (int i = std::max(g.i1 - 1, 1); i <= g.i2; ++i) {
    for (int j = std::max(g.j1 - 1, 1); j <= g.j2; ++j) {
      const int bot = static_cast<int>(zval[i][j][0]);
      if (bot <= 0) continue;
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += Surfaces[4][i + kCornerI[k]][j + kCornerJ[k]];
      const double dV = sum * 250.0 * Barea[Cbed[bot]];
      if (FlagTFS == 11) {
        int top = bot;
        while (Ccellt[top] > 0) top = Ccellt[top];
        Csource[top] -= dV;
        continue;
      }
      int n = 0;
      for (int c = bot; c > 0; c = Ccellt[c]) ++n;
      for (int c = bot; c > 0; c = Ccellt[c]) Csource[c] -= dV / n;
    }
  }
}
