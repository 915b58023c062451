// Face-flux corrections around collapsed cells at the water edge and the
// corner columns of block 1: the fluxes of the two or three open faces are
// relaxed towards a balanced state, since such cells cannot balance them.
#include "flow/corrections/triangle_flux_corrections.h"

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The blend of a face flux towards a target (F 244 second value).
inline void towards(int face, double target, double r) { Fflux[face] = (1.0 - r) * Fflux[face] + r * target; }

// Sums of the fluxes and areas of one side over a column, from b0 upwards.
struct SideSum {
  double flux = 0.0, area = 0.0;
};

SideSum sumSide(int b0, int *side) {
  SideSum s;
  for (int k = b0; k > 0; k = Ccellt[k]) {
    s.flux += Fflux[side[k]];
    s.area += Farea[side[k]];
  }
  return s;
}

// Every cell of the column: 0.1 of its flux plus its area share of `share`.
void spread(int b0, int *side, double share, double area) {
  for (int k = b0; k > 0; k = Ccellt[k]) Fflux[side[k]] = 0.1 * Fflux[side[k]] + Farea[side[k]] * share / area;
}

}  // namespace

// Codes 1..4 (two open faces) always; the group codes of adjacent collapsed
// cells only with F 235 above 8 and a linear solver below 20. The group
// factor is 0.3333 as the grid generator's cells were tuned with it.
void TrekantFluxCorr(int first, int last) {
  const double r = relaxTrekant2;
  Ctrekant[0] = 0;
  for (int c = first; c <= last; ++c) {
    const int N = Cflaten[c], E = Cflatee[c], S = Cflates[c], W = Cflatew[c];
    switch (Ctrekant[c]) {
      case 1: {
        const double m = (Fflux[N] - Fflux[E]) / 2.0;
        towards(N, m, r), towards(E, -m, r);
        break;
      }
      case 2: {
        const double m = (Fflux[W] + Fflux[N]) / 2.0;
        towards(N, m, r), towards(W, m, r);
        break;
      }
      case 3: {
        const double m = (Fflux[S] - Fflux[W]) / 2.0;
        towards(S, m, r), towards(W, -m, r);
        break;
      }
      case 4: {
        const double m = (Fflux[E] + Fflux[S]) / 2.0;
        towards(S, m, r), towards(E, m, r);
        break;
      }
      default: break;
    }
  }
  if (!(FlagCorrTrekant > 8 && FlagRapSolver < 20)) return;
  for (int c = first; c <= last; ++c) {
    const int N = Cflaten[c], E = Cflatee[c], S = Cflates[c], W = Cflatew[c];
    const int n = Ccelln[c], e = Ccelle[c], s = Ccells[c], w = Ccellw[c];
    switch (Ctrekant[c]) {
      case 5: {
        const int Ne = Cflaten[e];
        const double m = (Fflux[N] - Fflux[E] - Fflux[Ne]) * 0.3333;
        towards(N, m, r), towards(E, -m, r), towards(Ne, -m, r);
        break;
      }
      case 7: {
        const int Wn = Cflatew[n];
        const double m = (Fflux[N] + Fflux[W] - Fflux[Wn]) * 0.3333;
        towards(W, m, r), towards(N, m, r), towards(Wn, -m, r);
        break;
      }
      case 9: {
        const int Sw = Cflates[w];
        const double m = (Fflux[S] - Fflux[W] - Fflux[Sw]) * 0.3333;
        towards(S, m, r), towards(W, -m, r), towards(Sw, -m, r);
        break;
      }
      case 11: {
        const int Es = Cflatee[s];
        const double m = (Fflux[S] + Fflux[E] - Fflux[Es]) * 0.3333;
        towards(E, m, r), towards(S, m, r), towards(Es, -m, r);
        break;
      }
      case 13: {
        const int En = Cflatee[n], Ne = Cflaten[e];
        const double m = (Fflux[En] - Fflux[Ne]) / 2.0;
        towards(En, m, r), towards(Ne, -m, r), towards(N, m, r), towards(E, -m, r);
        break;
      }
      case 16: {
        const int Nw = Cflaten[w], Wn = Cflatew[n];
        const double m = (Fflux[Wn] + Fflux[Nw]) / 2.0;
        towards(Nw, m, r), towards(Wn, m, r), towards(N, -m, r), towards(W, -m, r);
        break;
      }
      case 19: {
        const int Ws = Cflatew[s], Sw = Cflates[w];
        const double m = (Fflux[Ws] - Fflux[Sw]) / 2.0;
        towards(Ws, m, r), towards(Sw, -m, r), towards(S, m, r), towards(W, -m, r);
        break;
      }
      case 22: {
        const int Se = Cflates[e], Es = Cflatee[s];
        const double m = (Fflux[Es] + Fflux[Se]) / 2.0;
        towards(Se, m, r), towards(Es, m, r), towards(E, -m, r), towards(S, -m, r);
        break;
      }
      default: break;
    }
  }
}

// The corner columns of the interior of block 1 (F 436): the two open sides
// take 90 % of their balanced total, spread over the cells by face area.
// A side without open area is left alone.
void TrekantFluxCorr4(int, int) {
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1 + 1; i <= b.i2 - 1; ++i) {
    for (int j = b.j1 + 1; j <= b.j2 - 1; ++j) {
      const int b0 = static_cast<int>(zval[i][j][0]);
      if (b0 <= 0) continue;
      const bool noE = Ccelle[b0] == 0, noW = Ccellw[b0] == 0, noN = Ccelln[b0] == 0, noS = Ccells[b0] == 0;
      if (noE && noS) {
        const SideSum W = sumSide(b0, Cflatew), N = sumSide(b0, Cflaten);
        if (W.area > 0.0 && N.area > 0.0) {
          const double m = 0.9 * (N.flux + W.flux) / 2.0;
          spread(b0, Cflatew, m, W.area), spread(b0, Cflaten, m, N.area);
        }
      }
      if (noW && noS) {
        const SideSum E = sumSide(b0, Cflatee), N = sumSide(b0, Cflaten);
        if (E.area > 0.0 && N.area > 0.0) {
          const double m = 0.9 * (N.flux - E.flux) / 2.0;
          spread(b0, Cflatee, -m, E.area), spread(b0, Cflaten, m, N.area);
        }
      }
      if (noE && noN) {
        const SideSum W = sumSide(b0, Cflatew), S = sumSide(b0, Cflates);
        if (W.area > 0.0 && S.area > 0.0) {
          const double m = 0.9 * (S.flux - W.flux) / 2.0;
          spread(b0, Cflatew, -m, W.area), spread(b0, Cflates, m, S.area);
        }
      }
      if (noW && noN) {
        const SideSum E = sumSide(b0, Cflatee), S = sumSide(b0, Cflates);
        if (E.area > 0.0 && S.area > 0.0) {
          const double m = 0.9 * (E.flux + S.flux) / 2.0;
          spread(b0, Cflatee, m, E.area), spread(b0, Cflates, m, S.area);
        }
      }
    }
  }
}
