// Smoothing of whole water columns of the multi-layer bed: the step between
// neighbouring sediment surfaces limited by moving layer material (F 451),
// and a step's deposit passed from a column standing too high to its lowest
// neighbour (F 414). Writes the layer stacks, Bbedchange and Bedmove.
#include <cmath>
#include <vector>

#include "bed/layers/bed_layer_operations.h"
#include "bed/levels/bed_smoothing.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Bulk metres of each size taken off the column being eroded, sized once.
std::vector<double> taken;

// Mean of the non-erodible level at the four corners of column (i, j).
double baseLevel(int i, int j) {
  return 0.25 * (Surfaces[3][i - 1][j - 1] + Surfaces[3][i][j - 1] + Surfaces[3][i][j] + Surfaces[3][i - 1][j]);
}

// Summed thickness of layers 0..top of bed cell b.
double layersUpTo(int b, int top) {
  double t = 0.0;
  for (int l = 0; l <= top; ++l) t += BSedDistrib[l][0][b];
  return t;
}

double sedimentSurface(int i, int j, int b) { return baseLevel(i, j) + layersUpTo(b, BlayerTop[b]); }

// Takes the top `depth` metres off bed cell b into `taken`; false when the
// column holds nothing there.
bool erodeTop(int b, double depth) {
  computeAvailableFractionMeters(b, taken.data(), -depth);
  double total = 0.0;
  for (int k = 1; k <= lnumber; ++k) total += taken[k];
  if (!(total > 0.0)) return false;
  for (int k = 1; k <= lnumber; ++k) Bbedchange[k][b] = -taken[k];
  ChangeLayers(b, -depth);
  return true;
}

// Lays `share` of what was taken from bed cell `from` on bed cell `to`, as
// the same volume: a smaller column receives a thicker layer.
void depositOn(int to, int from, double share, double depth) {
  const double scale = share * Barea[from] / Barea[to];
  for (int k = 1; k <= lnumber; ++k) Bbedchange[k][to] = taken[k] * scale;
  ChangeLayers(to, depth * scale);
}

// One position of a pass: column q between qm and qp (bed cells), L the
// distance the allowed step is measured over.
void limitStep(int qm, int q, int qp, double sm, double s, double sp, double L) {
  const double mean = 0.5 * (sm + sp);
  const double hump = (s - mean) - BedSmooth4 * L;
  if (hump > 0.0) {
    // Half the excess leaves the hump, half of that to each neighbour.
    const double e = 0.5 * hump;
    if (erodeTop(q, e)) {
      depositOn(qp, q, 0.5, e);
      depositOn(qm, q, 0.5, e);
    }
    return;
  }
  const double hollow = (mean - s) - BedSmooth4 * L;
  if (hollow > 0.0) {
    // Each neighbour gives a quarter of the deficit.
    const double d = 0.25 * hollow;
    if (erodeTop(qm, d)) depositOn(q, qm, 1.0, d);
    if (erodeTop(qp, d)) depositOn(q, qp, 1.0, d);
  }
}

double length(double dx, double dy) { return std::sqrt(dx * dx + dy * dy); }

void passAlongI(const GridBlock &g) {
  for (int i = g.i1 + 1; i <= g.i2 - 1; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int qm = pointbed[i - 1][j], q = pointbed[i][j], qp = pointbed[i + 1][j];
      if (qm <= 0 || q <= 0 || qp <= 0) continue;
      const double L = length(xval[i][j] + xval[i][j - 1] - xval[i - 1][j] - xval[i - 1][j - 1],
                              yval[i][j] + yval[i][j - 1] - yval[i - 1][j] - yval[i - 1][j - 1]);
      limitStep(qm, q, qp, sedimentSurface(i - 1, j, qm), sedimentSurface(i, j, q), sedimentSurface(i + 1, j, qp), L);
    }
  }
}

void passAlongJ(const GridBlock &g) {
  for (int j = g.j1 + 1; j <= g.j2 - 1; ++j) {
    for (int i = g.i1; i <= g.i2; ++i) {
      const int qm = pointbed[i][j - 1], q = pointbed[i][j], qp = pointbed[i][j + 1];
      if (qm <= 0 || q <= 0 || qp <= 0) continue;
      const double L = length(xval[i][j] + xval[i - 1][j] - xval[i][j - 1] - xval[i - 1][j - 1],
                              yval[i][j] + yval[i - 1][j] - yval[i][j - 1] - yval[i - 1][j - 1]);
      limitStep(qm, q, qp, sedimentSurface(i, j - 1, qm), sedimentSurface(i, j, q), sedimentSurface(i, j + 1, qp), L);
    }
  }
}

}  // namespace

void bedSmooth4() {
  if (taken.size() < static_cast<std::size_t>(lnumber + 1)) taken.assign(lnumber + 1, 0.0);
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (g.BlockKind != 0 || g.GridLevel != 0 || g.WorkFlag != 1) continue;
    passAlongI(g);
    if (FlagBedSmooth4 == 2) passAlongJ(g);
  }
}

void smoothBedchange() {
  if (NoBlocks < 1) return;
  const GridBlock &g = block[1];
  const double T = referenceLayerThickness();
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int b = pointbed[i][j];
      if (b <= 0 || Bcellt[b] <= 0) continue;
      const int c = Bcellt[b];
      const double grid = 0.25 * (zval[i - 1][j - 1][1] + zval[i][j - 1][1] + zval[i][j][1] + zval[i - 1][j][1]);
      if (!(sedimentSurface(i, j, b) > grid + 2.0 * T && Bedmove[b] > 0.0)) continue;
      // The neighbour whose sediment, below its top layer, stands lowest
      // against the bottom of the cell beside this column's bottom cell.
      const int sides[4][3] = {
          {i - 1, j, Ccellw[c]}, {i, j - 1, Ccells[c]}, {i + 1, j, Ccelle[c]}, {i, j + 1, Ccelln[c]}};
      double smallest = 10000.0;
      int target = 0;
      for (const auto &side : sides) {
        const int nb = pointbed[side[0]][side[1]], beside = side[2];
        if (nb <= 0 || beside <= 0) continue;  // no bed, or no cell across that side to compare with
        const double below = BlayerTop[nb] > 0 ? layersUpTo(nb, BlayerTop[nb] - 1) : 0.0;
        const double surplus = baseLevel(side[0], side[1]) + below - (Czcenter[beside] - Ckdist[beside]);
        if (surplus < smallest) {
          smallest = surplus;
          target = nb;
        }
      }
      if (target == 0) continue;
      if (FlagSmoothBedchange != 2 && std::fabs(smallest) <= 2.0 * T) continue;
      // The same volume on the target's plan area.
      const double ratio = Barea[b] / Barea[target];
      for (int k = 1; k <= lnumber; ++k) {
        Bbedchange[k][target] += Bbedchange[k][b] * ratio;
        Bbedchange[k][b] = 0.0;
      }
      Bedmove[target] += Bedmove[b] * ratio;
      Bedmove[b] = 0.0;
    }
  }
}
