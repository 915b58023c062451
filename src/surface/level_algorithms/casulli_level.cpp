// Casulli level method: a column's level is coupled to its side neighbours
// by the conductance K = A M^2 H^(4/3) / (U dx) of the face between them, so
// that the level drop between two columns carries their flow with the
// Manning-Strickler friction. Writes the coefficient set, Cf, Cpt and Cqt.
#include "surface/level_algorithms/casulli_level.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

int bottomAt(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The equation cell of a column: its bottom cell, or its top cell with
// TopBed 1.
int equationCell(int c0) { return TopBed == 1 ? topOf(c0) : c0; }

double cornerLevelMean(int i, int j) {
  return 0.25 * (zval[i - 1][j - 1][znumber] + zval[i - 1][j][znumber] + zval[i][j - 1][znumber] +
                 zval[i][j][znumber]);
}

template <typename Visit>
void eachWetColumn(Visit &&visit) {
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c0 = bottomAt(i, j);
        if (c0 > 0) visit(c0, equationCell(c0), i, j);
      }
    }
  }
}

// Conductance of the face between the column of c0 and its neighbour on one
// side: H the summed half heights of both columns, Q the column's flux.
double conductance(int c0, const int *next, const int *face, double width, double length, double floor, bool cap) {
  double H = 0.0, Q = 0.0;
  for (int k = c0; k > 0; k = Ccellt[k]) {
    H += Ckdist[next[k]] + Ckdist[k];
    Q += 0.001 * Fflux[face[k]];
  }
  const double A = width * H;
  double U = std::fabs(Q / (A + 1e-30));
  U = std::max(U, floor);
  if (cap) U = std::min(U, 2.0 * std::sqrt(9.81 * H));
  const double M = ManningInit;
  return A * M * M * std::pow(H, 1.33333) / (U * length);
}

double timeFactor() {
  switch (FlagTimeSurf) {
    case 4: return 1.0 / (10.0 * TimeStep);
    case 2: return 1.0 / InnerTimestep;
    case 3: return 1.0 / std::sqrt(TimeStep * InnerTimestep);
    default: return 1.0 / TimeStep;
  }
}

// Mean normal velocity across a side, walking both columns upward together:
// the cells of one column at the levels where the other has a cell.
void sideAdvection(int c, int c0, int nb, int i, int j, int pi1, int pj1, int pi2, int pj2, const int *face,
                   const int *next, double half) {
  const double d = 0.5 * (zval[pi1][pj1][znumber] - zval[pi1][pj1][1] + zval[pi2][pj2][znumber] - zval[pi2][pj2][1]);
  double A = 0.0;
  for (int k = c0; k > 0; k = Ccellt[k]) A += Farea[face[k]];
  const double nx = Fvx[face[c]], ny = Fvy[face[c]];
  double Sc = 0.0, Sn = 0.0;
  int nc = 0, nn = 0;
  for (int own = c0, other = next[c0]; own > 0 || other > 0;) {
    if (own > 0) {
      Sn += Cxvel[other] * nx + Cyvel[other] * ny;
      ++nn;
    }
    if (other > 0) {
      Sc += Cxvel[own] * nx + Cyvel[own] * ny;
      ++nc;
    }
    own = own > 0 ? Ccellt[own] : 0;
    other = other > 0 ? Ccellt[other] : 0;
  }
  const double delta = (Sc / std::max(nc, 1) - Sn / std::max(nn, 1)) * A * d / (half + 1e-30);
  Csource[c] -= delta / Faz[Cflateb[c]];
  Csource[nb] += delta / Faz[Cflateb[nb]];
  (void)i;
  (void)j;
}

}  // namespace

void computeCoeffCasulli() {
  Ckdist[0] = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    Caw[c] = Cas[c] = Can[c] = Cae[c] = Cat[c] = Cab[c] = Csource[c] = Cap[c] = 0.0;
    Cf[c] = 0.0;
  }
  for (int b = 1; b <= NoBlocks; ++b) {
    if (!treated(b)) continue;
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      double Ai = 0.0;
      for (int j = blk.j1; j <= blk.j2; ++j) {
        for (int k = bottomAt(i, j); k > 0; k = Ccellt[k]) Ai += Farea[Cflatew[k]];
      }
      const double Uref = std::max(0.001 * DischargeArray[1] / (Ai + 1e-30), 0.001);
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const int c0 = bottomAt(i, j);
        if (c0 <= 0) continue;
        const int c = equationCell(c0);
        const int w = Ccellw[c], e = Ccelle[c], s = Ccells[c], n = Ccelln[c];
        if (w != 0) {
          const double K = conductance(c0, Ccellw, Cflatew, Cjdist[c] + Cjdist[w], Cidist[c] + Cidist[w],
                                       FlagCasulliCoeff > 0 ? 0.2 * Uref : 0.0001, FlagCasulliLimit > 0);
          Caw[c] = K / armap[i][j];
          Cae[w] = K / armap[i - 1][j];
        } else {
          Caw[c] = 0.0;
        }
        if (e == 0) Cae[c] = 0.0;
        if (s != 0) {
          const double K = conductance(c0, Ccells, Cflates, Cidist[c] + Cidist[s], Cjdist[c] + Cjdist[s],
                                       FlagCasulliCoeff > 1 ? 0.2 * Uref : 0.0001, false);
          Cas[c] = K / armap[i][j];
          Can[s] = K / armap[i][j - 1];
        } else {
          Cas[c] = 0.0;
        }
        if (n == 0) Can[c] = 0.0;
      }
    }
  }
  const double r = timeFactor();
  eachWetColumn([r](int, int c, int i, int j) {
    Cap[c] = Cae[c] + Caw[c] + Can[c] + Cas[c];
    Cf[c] = cornerLevelMean(i, j);
    if (FlagTimeSurf == 5) {
      const double tau = std::max(0.0, BFroude[pointbed[i][j]] - 0.1) + r;
      Csource[c] += tau * Cf[c];
      Cap[c] += tau;
    } else if (FlagTimeSurf > 0) {
      Csource[c] += r * Cf[c];
      Cap[c] += r;
    }
    // A column with no conductance and no time term keeps its start level.
    if (Cap[c] <= 0.0) {
      Cap[c] = 1.0;
      Csource[c] = Cf[c];
    }
  });
}

void computeSourceCasulli() {
  Farea[0] = 0.0;
  eachWetColumn([](int c0, int c, int i, int j) {
    const int w = Ccellw[c], s = Ccells[c];
    if (w >= 1) sideAdvection(c, c0, w, i, j, i - 1, j - 1, i - 1, j, Cflatew, Ccellw, Cidist[c] + Cidist[w]);
    if (s >= 1) sideAdvection(c, c0, s, i, j, i - 1, j - 1, i, j - 1, Cflates, Ccells, Cjdist[c] + Cjdist[s]);
  });
}

void computeBlockCasulli() {
  if (NoBlocks < 1 || !Cpt || !Cqt) return;
  const GridBlock &blk = block[1];
  double p = 0.0, q = 0.0;
  for (int i = blk.i1; i <= blk.i2; ++i) {
    double E = 0.0, W = 0.0, P = 0.0, R = 0.0;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c0 = bottomAt(i, j);
      if (c0 <= 0) continue;
      const int c = equationCell(c0);
      E += Cae[c];
      W += Caw[c];
      P += Cap[c] - Can[c] - Cas[c];
      R += Can[c] * Cf[Ccelln[c]] + Cas[c] * Cf[Ccells[c]] + Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] +
           Csource[c] - Cap[c] * Cf[c];
    }
    const double D = W * p - P + 1e-30;
    p = -E / D;
    q = -(R + W * q) / D;
    Cpt[i + 1] = p;
    Cqt[i + 1] = q;
  }
  double delta = 0.0;
  for (int i = blk.i2; i >= blk.i1; --i) {
    delta = Cpt[i + 1] * delta + Cqt[i + 1];
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c0 = bottomAt(i, j);
      if (c0 > 0) Cf[equationCell(c0)] += delta;
    }
  }
}

void computeBlockCasulliMG() {
  if (NoBlocks < 1) return;
  const GridBlock &blk = block[1];
  // The line arrays are kept for the run: five of 3 xnumber + 6 entries.
  static std::vector<double> E, W, P, S, V;
  const std::size_t size = 3 * static_cast<std::size_t>(xnumber) + 6;
  if (E.size() < size) {
    for (auto *a : {&E, &W, &P, &S, &V}) a->assign(size, 0.0);
  }
  for (auto *a : {&E, &W, &P, &S, &V}) std::fill(a->begin(), a->end(), 0.0);
  double lastV = GlobZRef;
  for (int i = blk.i1; i <= blk.i2; ++i) {
    int wet = 0;
    double sumV = 0.0;
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c0 = bottomAt(i, j);
      if (c0 <= 0) continue;
      const int c = equationCell(c0);
      E[i] += Cae[c];
      W[i] += Caw[c];
      P[i] += Cap[c] - Can[c] - Cas[c];
      S[i] += Csource[c];
      sumV += Cf[c];
      ++wet;
    }
    if (wet == 0) {
      // A line without a wet column holds the level of the line before.
      P[i] = 1.0;
      E[i] = W[i] = S[i] = 0.0;
      V[i] = lastV;
    } else {
      V[i] = sumV / wet;
    }
    lastV = V[i];
  }
  // Levels: first and last index of each, fine level first.
  struct Range {
    int a, b;
  };
  Range levels[12];
  int count = 0;
  levels[count++] = {blk.i1, blk.i2};
  while (count <= 10) {
    const Range &f = levels[count - 1];
    const int n = (f.b - f.a + 1) / 2;
    if (n < 1) break;
    const Range c{f.b + 1, f.b + n};
    if (static_cast<std::size_t>(c.b) >= size) break;
    for (int l = f.a; l <= f.b; ++l) {
      const int x = l - f.a;
      const int m = std::min(c.b, c.a + x / 2);
      S[m] += S[l];
      P[m] += P[l];
      if (x % 2 == 0) {
        W[m] = 0.5 * W[l];
        V[m] = V[l];
        P[m] -= E[l] + 0.5 * W[l];
      } else {
        E[m] = 0.5 * E[l];
        P[m] -= W[l] + 0.5 * E[l];
      }
    }
    if ((f.b - f.a + 1) % 2 == 0) E[c.b] = E[f.b];
    levels[count++] = c;
    if (n < 4) break;
  }
  auto smooth = [&](const Range &r) {
    auto value = [&](int l) {
      const double east = l + 1 <= r.b ? V[l + 1] : 0.0;
      const double west = l - 1 >= r.a ? V[l - 1] : 0.0;
      return (E[l] * east + W[l] * west + S[l]) / (P[l] + 1e-30);
    };
    for (int pass = 0; pass < 2; ++pass) {
      for (int l = r.a; l <= r.b; ++l) V[l] = value(l);
      for (int l = r.b; l >= r.a; --l) V[l] = value(l);
    }
  };
  for (int k = count - 1; k >= 1; --k) {
    const Range &c = levels[k];
    if (c.b - c.a + 1 <= 2) continue;
    smooth(c);
    const Range &f = levels[k - 1];
    for (int t = 0; f.a + t <= f.b; ++t) V[f.a + t] = V[std::min(c.a + t / 2, c.b)];
  }
  smooth(levels[0]);
  for (int i = blk.i1; i <= blk.i2; ++i) {
    for (int j = blk.j1; j <= blk.j2; ++j) {
      const int c0 = bottomAt(i, j);
      if (c0 > 0) Cf[equationCell(c0)] = V[i];
    }
  }
}
