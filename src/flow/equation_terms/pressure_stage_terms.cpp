// Extra terms of the pressure-correction stage: the flux corrections of the
// lines of block 1 (F 360) and the condition of p' at the water surface on the
// equations of the top cells (F 357).
#include "flow/equation_terms/pressure_stage_terms.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "model/structured.h"
#include "solvers/coefficients.h"

namespace {

// Flux through face f, 0 where the side has no face.
inline double flux(int f) { return f > 0 ? Fflux[f] : 0.0; }
inline void scaleFlux(int f, double factor) {
  if (f > 0) Fflux[f] *= factor;
}

// Calls visit(c) for every cell of line i of block 1: columns j1..j2, each
// from its bottom cell up; dry columns have none.
template <class Visit>
void forLineCells(int i, Visit &&visit) {
  const GridBlock &b = block[1];
  for (int j = b.j1; j <= b.j2; ++j)
    for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) visit(c);
}

// Mode 1: the east fluxes of the line moved towards the inflow discharge by
// at most the factor F 360 per call.
void towardsInflow(int i, double qg, double factor) {
  double sum = 0.0;
  forLineCells(i, [&](int c) { sum += flux(Cflatee[c]); });
  if (sum == 0.0) return;
  const double r = qg / sum;
  double scale = 1.0;
  if (r > factor) scale = factor;
  else if (r < 1.0 / factor) scale = 1.0 / factor;
  if (scale == 1.0) return;
  forLineCells(i, [&](int c) { scaleFlux(Cflatee[c], scale); });
}

// Mode 3: east and west sums of a line brought together.
void balanceLine(int i, double factor) {
  double se = 0.0, sw = 0.0;
  forLineCells(i, [&](int c) {
    se += flux(Cflatee[c]);
    sw += flux(Cflatew[c]);
  });
  if (se == 0.0 || sw == 0.0) return;
  if (sw / se > factor) forLineCells(i, [&](int c) { scaleFlux(Cflatee[c], sw / se); });
  if (se / sw > factor) forLineCells(i, [&](int c) { scaleFlux(Cflatew[c], se / sw); });
}

// Mode 4: a minimum eastward velocity from the twelfth cell of each column up.
void minimumEastFlow(int i, double velocity) {
  const GridBlock &b = block[1];
  for (int j = b.j1; j <= b.j2; ++j) {
    int level = 1;
    for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c], ++level) {
      if (level < 12) continue;
      const int f = Cflatee[c];
      if (f > 0) Fflux[f] = std::max(Fflux[f], velocity * 1000.0 * Farea[f]);
      Cxvel[c] = std::max(Cxvel[c], velocity);
    }
  }
}

// Modes 2 and 5: vertical against horizontal fluxes of each cell.
void cellProportions(int i, int mode, double factor) {
  forLineCells(i, [&](int c) {
    const double vertical = std::fabs(flux(Cflatet[c]) + flux(Cflateb[c]));
    const double horizontal = std::fabs(flux(Cflatee[c]) + flux(Cflatew[c]));
    if (horizontal == 0.0) return;
    const double ratio = vertical / horizontal;
    if (ratio <= factor) return;
    if (mode == 2) {
      const double scale = std::max(0.01, factor / ratio);
      scaleFlux(Cflatet[c], scale);
      scaleFlux(Cflateb[c], scale);
    } else {
      const double scale = ratio - factor + 1.0;
      scaleFlux(Cflatee[c], scale);
      scaleFlux(Cflatew[c], scale);
    }
  });
}

// The fixing step: p' of top cell c tied to the cell below b, falling
// linearly to 0 at the surface.
inline void fixTopCell(int c, int b) {
  Cap[c] = 1e20;
  Cab[c] = 1e20 * Ckdist[c] / (2.0 * Ckdist[c] + Ckdist[b]);
}

// Modes 3 and more: the upper cells of a column pulled towards a profile
// falling linearly to 0 at the surface, at most `depth` cells.
void penaltyWalk(int c, int depth, double weight) {
  int m = 0;
  for (int cc = c;; --cc, ++m) {
    Cap[cc] += weight;
    Cab[cc] += weight * (2.0 * m + 1.0) / (2.0 * m + 3.0);
    const int next = cc - 1;
    if (!(m + 2 <= depth && next - 1 >= 0 && Ccellb[next - 1] != 0)) break;
  }
}

}  // namespace

void fluxCorrFunction(int first, int last) {
  const int mode = FlagFluxCorr;
  const double factor = FluxCorrVal;
  if (mode < 1 || mode > 5 || NoBlocks < 1) return;
  if (mode == 3) {
    for (int i = first + 1; i <= last - 2; ++i) balanceLine(i, factor);
    return;
  }
  const double qg = DischargeStruct[1].discharge;
  for (int i = first; i <= last - 1; ++i) {
    if (mode == 1) towardsInflow(i, qg, factor);
    else if (mode == 4) minimumEastFlow(i, factor);
    else cellProportions(i, mode, factor);
  }
}

void presSurfFunction(int first, int last) {
  const int mode = FlagPresSurf;
  const double weight = CoeffPresSurf;
  if (mode == -1 || (mode <= -4 && mode >= -10)) return;
  for (int c = first; c <= last; ++c) {
    const bool top = Ccellt[c] == 0;
    const int b = Ccellb[c];
    switch (mode) {
      case 0:
        if (top && b > 0) fixTopCell(c, b);
        break;
      case 1:
        if (!top) break;
        if (b > 0) fixTopCell(c, b);
        Csource[c] = 0.0;
        break;
      case 2:
        if (top && b > 0) fixTopCell(c, b);
        else if (Bcellt[Cbed[c]] == c) Csource[c] = 0.0;
        break;
      case -3:
        if (!(top && b > 0)) break;
        fixTopCell(c, b);
        Csource[b] += Csource[c];
        break;
      case -2: {
        if (!(top && b > 0)) break;
        const double q = Cpres[c] / (9810.0 * Ckdist[c]);
        const double r = q * q * q * q;
        Cap[c] *= 1.0 + weight * r;
        Cab[c] += r * Cap[c] * weight * 0.3333333333;
        break;
      }
      default:
        if (mode >= 3 && top && c - 1 >= 0 && Ccellb[c - 1] != 0) penaltyWalk(c, mode, weight);
        break;
    }
  }
}
