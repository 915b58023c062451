// The water-level multigrid on the depth-summed levels: restriction of the
// bottom-cell equation to 2x2 groups, smoothing from the coarsest level down
// with injection as start, and the level-1 values back to the bottom cells.
#include "solvers/surface_multigrid.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/multigrid.h"
#include "solvers/smoother_2d.h"

namespace {

bool fewerThanTenCells(int b) { return b >= 0 && b < kMaxBlocks && block[b].LastCell - block[b].FirstCell < 9; }

// The finest levels that are worth relaxing: levels of fewer than ten cells
// at the coarse end are left out.
int levelBound(int b1) {
  const int levels = std::min(Flag2DAccSolver, NoMGlevels);
  int m = levels;
  if (fewerThanTenCells(b1 + levels - 2)) {
    m = levels - 1;
    if (fewerThanTenCells(b1 + levels - 3)) m = levels - 2;
  }
  return m;
}

bool usable(const GridBlock &b) { return b.LastCell > 0 && b.FirstCell <= b.LastCell; }

// The couplings between the four children of a group, which stay inside it.
double innerCouplings(const int *f) {
  return Caw[f[4]] + Caw[f[3]] + Can[f[1]] + Can[f[4]] + Cae[f[1]] + Cae[f[2]] + Cas[f[2]] + Cas[f[3]];
}

void restrictLevel(const GridBlock &level) {
  for (int c = level.FirstCell; c <= level.LastCell; ++c) {
    const int *f = MGSCpoint[c];
    double source = 0.0, diagonal = 0.0;
    for (int e = 1; e <= 4; ++e) {
      if (f[e] <= 0) continue;
      source += Csource[f[e]];
      diagonal += Cap[f[e]];
    }
    Csource[c] = source;
    Caw[c] = Caw[f[1]] + Caw[f[2]];
    Cas[c] = Cas[f[1]] + Cas[f[4]];
    Can[c] = Can[f[2]] + Can[f[3]];
    Cae[c] = Cae[f[3]] + Cae[f[4]];
    Cap[c] = std::max(diagonal - innerCouplings(f), 1e-15);
    Cf[c] = 0.0;
  }
}

void restrictLevelCasulli(const GridBlock &level, bool dropNorthSouth) {
  for (int c = level.FirstCell; c <= level.LastCell; ++c) {
    const int *f = MGSCpoint[c];
    double source = 0.0, diagonal = 0.0, start = 0.0;
    int wet = 0;
    for (int e = 1; e <= 4; ++e) {
      const int k = f[e];
      if (k <= 0) continue;
      if (Cap[k] < 1e15) {
        source += Csource[k];
        diagonal += Cap[k];
      }
      if (Cap[k] > 1e-14) {
        start += Cf[k];
        ++wet;
      }
    }
    Csource[c] = source;
    Cf[c] = wet > 0 ? start / wet : 0.0;
    Caw[c] = 0.5 * (Caw[f[1]] + Caw[f[2]]);
    Cas[c] = 0.5 * (Cas[f[1]] + Cas[f[4]]);
    Can[c] = 0.5 * (Can[f[2]] + Can[f[3]]);
    Cae[c] = 0.5 * (Cae[f[3]] + Cae[f[4]]);
    const double outerHalf =
        0.5 * (Caw[f[1]] + Cas[f[1]] + Can[f[2]] + Cae[f[3]] + Caw[f[2]] + Cas[f[4]] + Can[f[3]] + Cae[f[4]]);
    Cap[c] = std::max(diagonal - innerCouplings(f) - outerHalf, 1e-15);
    if (dropNorthSouth) {
      Cap[c] -= Can[c] + Cas[c];
      Can[c] = Cas[c] = 0.0;
    }
  }
}

void injectIntoChildren(const GridBlock &level) {
  for (int c = level.FirstCell; c <= level.LastCell; ++c) {
    for (int e = 1; e <= 4; ++e) {
      const int f = MGSCpoint[c][e];
      if (f > 0) Cf[f] = Cf[c];
    }
  }
}

// Steps shared by both forms after the restriction: the coarse levels
// smoothed from the top down, level 1 relaxed once, the values returned.
void smoothAndReturn(int b1, int m) {
  if (Flag2DAccSolver > 1 && m > 2) {
    for (int b = b1 + m - 2; b >= b1 + 1; --b) {
      if (block[b].GridLevel <= 2) continue;
      Gauss2D(block[b].FirstCell, block[b].LastCell, 6);
      injectIntoChildren(block[b]);
    }
  }
  const GridBlock &one = block[b1];
  relaxLevelInChunks(one.FirstCell, one.LastCell, 1);
  for (int c = one.FirstCell; c <= one.LastCell; ++c) Cf[MGSCpoint[c][1]] = Cf[c];
}

void copyBottomEquation(int c, int k) {
  Csource[c] = Csource[k];
  Cae[c] = Cae[k];
  Caw[c] = Caw[k];
  Can[c] = Can[k];
  Cas[c] = Cas[k];
  Cap[c] = Cap[k];
}

// F 343 3: the reference column's value is known; the level cells above it
// without an east neighbour take it as one.
void linkReferenceColumn(int b1, int m) {
  const int r = static_cast<int>(zval[iPres][jPres][0]);
  if (r <= 0) return;
  Cf[r] = Csource[r] / Cap[r];
  int p = r;
  for (int b = b1; b <= b1 + m - 2; ++b) {
    if (block[b].WorkFlag != 0 || block[b].LastCell <= 0) continue;
    p = MGSCpoint[p][0];
    if (p <= 0) return;
    if (Caw[p] > 0.0 && Cae[p] < 1e-15) {
      Cae[p] = Caw[p];
      Cap[p] += Caw[p];
      Ccelle[p] = r;
    }
  }
}

}  // namespace

void AlgMGSurf() {
  const int b1 = firstLevelBlock();
  if (b1 == 0) return;
  Cae[0] = Caw[0] = Can[0] = Cas[0] = 0.0;
  const int m = levelBound(b1);
  if (m <= 1) return;
  const GridBlock &one = block[b1];
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    copyBottomEquation(c, MGSCpoint[c][1]);
    Cf[c] = 0.0;
  }
  for (int b = b1 + 1; b <= b1 + m - 2; ++b) {
    if (usable(block[b])) restrictLevel(block[b]);
  }
  smoothAndReturn(b1, m);
}

void AlgMGSurfCasulli() {
  const int b1 = firstLevelBlock();
  if (b1 == 0) return;
  Cae[0] = Caw[0] = Can[0] = Cas[0] = 0.0;
  const int m = levelBound(b1);
  if (m <= 1) return;
  const GridBlock &one = block[b1];
  for (int c = one.FirstCell; c <= one.LastCell; ++c) {
    const int k = MGSCpoint[c][1];
    copyBottomEquation(c, k);
    Cf[c] = Cf[k];
    // A fixed level stays out of the level equations.
    if (Cap[c] > 1e15) {
      Csource[c] = 0.0;
      Cap[c] = Caw[c] + Cae[c] + Can[c] + Cas[c];
    }
  }
  for (int b = b1 + 1; b <= b1 + m - 2; ++b) {
    if (usable(block[b])) restrictLevelCasulli(block[b], b > b1 + NoCasulliMG);
  }
  if (BlockCasulli == 3) linkReferenceColumn(b1, m);
  smoothAndReturn(b1, m);
}
