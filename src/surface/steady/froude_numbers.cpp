// Froude numbers of the water columns: the depth-averaged speed over the
// column's cells against the shallow-water wave speed. Writes Bdepth, BFroude,
// Bfly and, on request, BLevFroude and Bpresavg.
#include "surface/steady/froude_numbers.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

double bedAt(int i, int j) { return zval[i][j][1]; }
double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// The level floor of algorithm 9: the level at which the column's flow has
// Froude number L, blended 1:9 with the last floor after the first iteration.
void floorAlgorithm9(int b, int c, double speed, double limit) {
  const double level = speed * speed / (limit * 9.81 * limit) + Czcenter[c] - Ckdist[c];
  BLevFroude[b] = Iter <= 1 ? level : 0.1 * level + 0.9 * BLevFroude[b];
}

// The level-change floor of algorithm 7: up to the depth at which the deepest
// corner would flow at Froude number L; -10 marks a column too slow to need
// one, and a floor that follows a mark is taken unblended.
void floorAlgorithm7(int b, double speed, double limit) {
  if (BFroude[b] < 0.1) {
    BLevFroude[b] = -10.0;
    return;
  }
  const int i = Bkooi[b], j = Bkooj[b];
  const double deepest = std::max({depthAt(i, j), depthAt(i - 1, j), depthAt(i, j - 1), depthAt(i - 1, j - 1)});
  double change = speed * speed / (limit * limit * 9.81) - deepest;
  if (Iter > 1 && BLevFroude[b] >= -9.0) change = 0.1 * change + 0.9 * BLevFroude[b];
  BLevFroude[b] = change;
}

}  // namespace

void computeBFroude(int first, int last) {
  const bool floors = solverFroude == 1 && BLevFroude && (FlagTFS == 7 || FlagTFS == 9);
  const bool meanPressure = (FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7) && Bpresavg;
  const double limit = solverFroudeLimit;
  for (int b = first; b <= last; ++b) {
    const int c = Bcellt[b];
    double speed = 0.0;
    if (c < 1) {
      Bdepth[b] = 2.0 * 1e-20;
      BFroude[b] = 0.0;
    } else {
      // Depth-weighted means of u and v over the column's cells.
      double half = 1e-20, u = 0.0, v = 0.0;
      for (int k = c; k > 0; k = Ccellt[k]) {
        half += Ckdist[k];
        u += Cxvel[k] * Ckdist[k];
        v += Cyvel[k] * Ckdist[k];
      }
      u /= half;
      v /= half;
      speed = std::sqrt(u * u + v * v);
      Bdepth[b] = 2.0 * half;
      BFroude[b] = speed / std::sqrt(9.81 * 2.0 * half);
    }
    const int i = Bkooi[b], j = Bkooj[b];
    Bfly[b] = 0.5 * (bedAt(i, j) + bedAt(i - 1, j - 1) - bedAt(i, j - 1) - bedAt(i - 1, j)) / std::sqrt(Barea[b] + 1e-20);
    // A dry column has no bed cell to stand on in algorithm 9; in algorithm 7
    // its Froude number 0 marks it.
    if (floors && FlagTFS == 9 && c >= 1) floorAlgorithm9(b, c, speed, limit);
    if (floors && FlagTFS == 7) floorAlgorithm7(b, speed, limit);
    if (meanPressure && c >= 1) {
      double sum = 0.0;
      int cells = 0;
      for (int k = c; k > 0; k = Ccellt[k], ++cells) sum += Cpres[k];
      Bpresavg[b] = sum / cells;
    }
  }
}
