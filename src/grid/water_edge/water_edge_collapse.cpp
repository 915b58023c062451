// Collapsed cells at the water edge: after the grid is built, a wet column
// that touches dry land with one corner only has that tip corner pulled
// inwards or merged with a neighbouring corner, so that it becomes nearly a
// triangle; single-cell columns reshaped so carry the code of their tip
// corner, regrouped for the corrections of the flow solver. Writes Px, Py,
// Pz of existing points and Ctrekant.
#include <algorithm>
#include <cmath>

#include "grid/water_edge/column_corners.h"
#include "grid/generation/grid_build.h"
#include "grid/water_edge/water_edge.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"

namespace {

int firstOf(int a, int b) { return a != 0 ? a : b; }

// The first corner whose three other columns are dry, 0 for none.
int tipCorner(const Around &a) {
  if (a.s == 0 && a.sw == 0 && a.w == 0) return 1;
  if (a.s == 0 && a.se == 0 && a.e == 0) return 2;
  if (a.e == 0 && a.ne == 0 && a.n == 0) return 3;
  if (a.n == 0 && a.nw == 0 && a.w == 0) return 4;
  return 0;
}

struct Column {
  int i, j, b, cells;
  double d[5];  // depth at corners 1..4
};

double planDistance(int p, int q) { return std::hypot(Px[p] - Px[q], Py[p] - Py[q]); }

void lowerTo(int p, double level) { Pz[p] = std::min(Pz[p], level); }

// Reshapes the column at tip corner k; the tip is merged into the nearer
// adjacent corner when it lies above the water (or F 245 asks for it),
// otherwise pulled towards the opposite corner.
void reshape(const Column &col, int k, double dmin) {
  const int b = col.b;
  const int pk = lowerCorner(k)[b];
  if (col.d[k] < 0.0 || FlagCorrTrekant2 > 0) {
    const int pa = lowerCorner(kAdjacentA[k])[b], pb = lowerCorner(kAdjacentB[k])[b];
    const double da = planDistance(pk, pa), db = planDistance(pk, pb);
    const int into = da < db ? pa : db < da ? pb : lowerCorner(kMergeTie[k])[b];
    Px[pk] = Px[into];
    Py[pk] = Py[into];
    Pz[pk] = Pz[into];
  } else {
    const int po = lowerCorner(kOpposite[k])[b];
    const double r = std::min(col.d[kAdjacentA[k]], col.d[kAdjacentB[k]]) / dmin;
    const double f = r <= 0.5 ? 0.45 : 0.9 * r;
    Px[pk] = f * Px[pk] + (1.0 - f) * Px[po];
    Py[pk] = f * Py[pk] + (1.0 - f) * Py[po];
  }
  if (col.cells == 1 && FlagCorrTrekant == 23) {
    const int o = kOpposite[k];
    lowerTo(lowerCorner(o)[b], Pz[topOfCorner(b, o)] - 3.0 * dmin);
  }
  placeCornerLine(b, k, Px[pk], Py[pk]);
  const double top = Pz[topOfCorner(b, k)];
  if (FlagCorrTrekant3 == 1) {
    collapseCornerLevels(b, k, top, dmin);
  } else if (FlagCorrTrekant3 == 2) {
    spreadCornerLevels(b, k, ant[col.i][col.j], top, dmin);
  }
}

// The code of a reshaped single-cell column, and the level options that go with it.
void markCode(const Column &col, int k, double dmin) {
  const int b = col.b;
  Ctrekant[b] = k;
  if (FlagCorrTrekant == 14) {
    for (const int a : {kAdjacentA[k], kAdjacentB[k]}) lowerTo(lowerCorner(a)[b], Pz[topOfCorner(b, a)] - dmin);
    const int o = kOpposite[k];
    lowerTo(lowerCorner(o)[b], Pz[topOfCorner(b, o)] - 2.0 * dmin);
  } else if (FlagCorrTrekant == 15) {
    double lowest = Pz[Cpoint5[b]];
    for (int c = 2; c <= 4; ++c) lowest = std::min(lowest, Pz[upperCorner(c)[b]]);
    Pz[upperCorner(k)[b]] = std::min(Pz[upperCorner(k)[b]], lowest);
    lowerTo(lowerCorner(k)[b], lowest);
    const int o = kOpposite[k];
    lowerTo(lowerCorner(o)[b], Pz[topOfCorner(b, o)] - Croughness[b]);
  }
}

// F 235 16: a column shallower than its roughness is deepened at its
// deepest corner.
void deepenRoughColumn(const Column &col) {
  const int b = col.b;
  const double ks = std::max(Croughness[b], XksWall);
  double sum = 0.0;
  int deepest = 0;
  for (int k = 1; k <= 4; ++k) {
    if (col.d[k] <= 0.0) continue;
    sum += col.d[k];
    if (deepest == 0 || col.d[k] > col.d[deepest]) deepest = k;
  }
  if (deepest == 0 || 0.25 * sum >= ks) return;
  lowerTo(lowerCorner(deepest)[b], Pz[upperCorner(deepest)[b]] - 0.2 * Croughness[b]);
}

// F 235 17: a column at the waterline whose wet corner is deeper than the
// wet grid lines outside it is lowered there, most at the bed.
void lowerDeepCorners(const Column &col, double dmin) {
  const double smallest = std::min({col.d[1], col.d[2], col.d[3], col.d[4]});
  if (smallest >= 0.0) return;
  // Per corner, the three grid points outside the column that touch it.
  const int outside[5][6] = {{0},
                             {-2, -2, -1, -2, -2, -1},
                             {1, -2, 0, -2, 1, -1},
                             {1, 1, 1, 0, 0, 1},
                             {-2, 1, -1, 1, -2, 0}};
  for (int k = 1; k <= 4; ++k) {
    if (col.d[k] <= dmin) continue;
    double sum = 0.0;
    int q = 0;
    for (int p = 0; p < 6; p += 2) {
      const int gi = col.i + outside[k][p], gj = col.j + outside[k][p + 1];
      if (gridLines(gi, gj) < 2) continue;
      sum += gridDepth(gi, gj);
      ++q;
    }
    double delta = col.d[k] - sum / (q + 0.5);
    if (delta >= 0.0) delta = 0.0;
    const int n = std::max(antlin[col.i + kCornerDi[k]][col.j + kCornerDj[k]], ant[col.i][col.j]);
    int m = 0;
    for (int c = col.b; c > 0; c = Ccellt[c], ++m) Pz[lowerCorner(k)[c]] += (1.0 - double(m) / n) * delta;
  }
}

// F 391 2: a corner between two dry side columns, with the rest of the
// column shallow, gets a bottom MinVertDist0 below its cell top.
void fixShallowCornerBottoms(const Column &col, const Around &a) {
  const bool sideDry[5] = {false, a.s == 0 && a.w == 0, a.s == 0 && a.e == 0, a.e == 0 && a.n == 0,
                           a.n == 0 && a.w == 0};
  for (int k = 1; k <= 4; ++k) {
    if (!sideDry[k]) continue;
    bool othersShallow = true;
    for (int o = 1; o <= 4; ++o) {
      if (o != k && col.d[o] >= MinVertDist0) othersShallow = false;
    }
    if (othersShallow) Pz[lowerCorner(k)[col.b]] = Pz[upperCorner(k)[col.b]] - MinVertDist0;
  }
}

void collapseColumn(int i, int j, double dmin) {
  Column col{i, j, columnBottom(i, j), 0, {}};
  if (col.b <= 0) return;
  for (int c = col.b; c > 0; c = Ccellt[c]) ++col.cells;
  for (int k = 1; k <= 4; ++k) col.d[k] = gridDepth(i + kCornerDi[k], j + kCornerDj[k]);
  const Around a = FlagGridStabFix1 == 0 ? aroundFromLinks(col.b) : aroundFromGrid(i, j);
  const bool single = Ccellt[col.b] == 0;
  if (!(FlagCorrTrekant > 28 && single)) {
    const int k = tipCorner(a);
    if (k != 0 && col.d[kAdjacentA[k]] < dmin && col.d[kAdjacentB[k]] < dmin) {
      reshape(col, k, dmin);
      if (FlagCorrTrekant >= 1 && FlagCorrTrekant <= 28 && single) markCode(col, k, dmin);
    }
  }
  if (FlagCorrTrekant == 16) deepenRoughColumn(col);
  if (FlagCorrTrekant == 17) lowerDeepCorners(col, dmin);
  if (FlagGridStab8 == 2) fixShallowCornerBottoms(col, a);
}

// The grouping of the codes 1..4 into pairs and triples along a straight
// water edge, cell by cell in rising order on the codes as they stand.
void regroupTrekantCodes() {
  int *const code = Ctrekant;
  for (int c = 1; c <= NoCells; ++c) {
    const int e = Ccelle[c], n = Ccelln[c], s = Ccells[c], w = Ccellw[c];
    if (code[c] == 1) {
      const bool east = e > 0 && code[e] == 2, north = n > 0 && code[n] == 4;
      if (east && north) {
        code[c] = 13;
        code[e] = 14;
        code[n] = 24;
      } else if (east) {
        code[c] = 5;
        code[e] = 6;
      } else if (north) {
        const int ne = Ccelle[n];
        if (ne > 0 && code[ne] == 3) {
          code[c] = 23;
          code[n] = 22;
          code[ne] = 21;
        } else {
          code[c] = 12;
          code[n] = 11;
        }
      }
    } else if (code[c] == 3) {
      const bool south = s > 0 && code[s] == 2, west = w > 0 && code[w] == 4;
      if (south && west) {
        code[c] = 19;
        code[s] = 18;
        code[w] = 20;
      } else if (south) {
        const int sw = Ccellw[s];
        if (sw > 0 && code[sw] == 1) {
          code[c] = 17;
          code[s] = 16;
          code[sw] = 15;
        } else {
          code[c] = 8;
          code[s] = 7;
        }
      } else if (west) {
        code[c] = 9;
        code[w] = 10;
      }
    }
  }
}

bool regroups() { return FlagCorrTrekant >= 1 && FlagCorrTrekant <= 30; }

bool collapseMethod() {
  return UMethod == 2 || UMethod == 3 || UMethod == 4 || UMethod == 11 || UMethod == 12 || UMethod == 13 ||
         (UMethod >= 30 && UMethod <= 40) || UMethod >= 100;
}

}  // namespace

Around aroundFromLinks(int b) {
  int r = b;
  if (TopBed == 1) {
    while (Ccellt[r] > 0) r = Ccellt[r];
  }
  Around a{};
  a.s = Ccells[r];
  a.e = Ccelle[r];
  a.n = Ccelln[r];
  a.w = Ccellw[r];
  a.sw = firstOf(Ccells[a.w], Ccellw[a.s]);
  a.se = firstOf(Ccells[a.e], Ccelle[a.s]);
  a.ne = firstOf(Ccelln[a.e], Ccelle[a.n]);
  a.nw = firstOf(Ccelln[a.w], Ccellw[a.n]);
  return a;
}

Around aroundFromGrid(int i, int j) {
  return {columnBottom(i, j - 1),     columnBottom(i + 1, j),     columnBottom(i, j + 1),     columnBottom(i - 1, j),
          columnBottom(i - 1, j - 1), columnBottom(i + 1, j - 1), columnBottom(i + 1, j + 1), columnBottom(i - 1, j + 1)};
}

double collapseDepth() {
  switch (FlagMinLevUnstruc) {
    case 0: return 0.0;
    case 1:
    case 4: return MinVertDist0;
    case 3: return MinVertDist1;
    default: return 0.5 * MinVertDist0;
  }
}

void collapseCornerLevels(int b, int k, double top, double dmin) {
  Pz[upperCorner(k)[b]] = top;
  const int bottom = lowerCorner(k)[b];
  Pz[bottom] = std::max(Pz[bottom], top - dmin);
  for (int c = Ccellt[b]; c > 0; c = Ccellt[c]) Pz[upperCorner(k)[c]] = top;
}

void spreadCornerLevels(int b, int k, int n, double top, double dmin) {
  int m = 0;
  for (int c = b; c > 0; c = Ccellt[c], ++m) {
    Pz[lowerCorner(k)[c]] = top - dmin + m * dmin / n;
    Pz[upperCorner(k)[c]] = top - dmin + (m + 1) * dmin / n;
  }
}

void UnstrucTriangular() {
  const double dmin = collapseDepth();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (blk.BlockKind == 1) continue;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        if (ant[i][j] > 0) collapseColumn(i, j, dmin);
      }
    }
  }
}

void setCorrTrekant() {
  if (regroups()) regroupTrekantCodes();
}

void reshapeWaterEdge() {
  if (!Cbed || FlagMinLevUnstruc <= 0 || !collapseMethod()) return;
  if (FlagHorMove > 0) UnstrucHorMove();
  switch (FlagTriangleAlgo) {
    case 0: UnstrucTriangular(); break;
    case 1: UnstrucTriangular0(); break;
    case 2: UnstrucTriangular2(); break;
    case 3: UnstrucTriangular3(); break;
    case 4: UnstrucTriangular4(); break;
    case 5: UnstrucTriangular5(); break;
    case 6: UnstrucTriangular6(); break;
    default: break;
  }
  if (regroups()) regroupTrekantCodes();
  if (FlagFixGrid == 1) FixInflowCells();
}
