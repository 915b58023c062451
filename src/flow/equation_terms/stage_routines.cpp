// Source hooks of the flow stages, column by column: gravity and the bed-form
// and roughness-layer drag on the momentum equations (Csource, Cap), the
// Froude-number pressure and the seiche rebuilds of the vertical fluxes.
#include "flow/equation_terms/stage_routines.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

double horizontalSpeed(int c) { return std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]); }

// The weight of a cell shared with its vertical neighbours so that the
// pressure difference between two centres carries the water between them:
// half of each neighbouring cell at the top and bottom of the column.
void subtractSharedWeight(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int t = Ccellt[c], b = Ccellb[c];
    if (t == 0 && b > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[b]);
    else if (b == 0 && t > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[t]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

// As above, the inner cells weighing a quarter of each neighbour as well.
void subtractSpreadWeight(int first, int last) {
  for (int c = first; c <= last; ++c) {
    const int t = Ccellt[c], b = Ccellb[c];
    if (t == 0 && b > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[b]);
    else if (b == 0 && t > 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[t]);
    else if (t > 0 && b > 0) Csource[c] -= 2452.5 * (2.0 * Cvol[c] + Cvol[t] + Cvol[b]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

// The surface slope drives the horizontal flow: every cell of a column takes
// the along-slope weight of the normal of the column's top face.
void addSurfaceSlope(int eq, int first, int last) {
  const double *normal = eq == 1 ? Fvx : Fvy;
  for (int t = first; t <= last; ++t) {
    if (Ccellt[t] != 0) continue;
    const double s = 9810.0 * normal[Cflatet[t]];
    for (int c = t; c > 0; c = Ccellb[c]) Csource[c] += Cvol[c] * s;
  }
}

// The weight of a slide or mud layer: block 1 with the first mode, the
// appended layer block (without its bottom cells) with the others.
void subtractLayerWeight() {
  if (FlagThixo == 1) {
    subtractSharedWeight(block[1].FirstCell, block[1].LastCell);
    return;
  }
  if (NoBlocks < 2 || block[2].LayerMark <= 0) return;
  for (int c = block[2].FirstCell; c <= block[2].LastCell; ++c) {
    if (Ccellb[c] == 0) continue;
    if (Ccellt[c] == 0) Csource[c] -= 4905.0 * (Cvol[c] + Cvol[Ccellb[c]]);
    else Csource[c] -= 9810.0 * Cvol[c];
  }
}

}  // namespace

// Gravity in the momentum equations: the surface slope on U and V (F 135),
// the weight of the water on W (F 181, or F 36 1 and 11..19, which solve the
// surface in time and need the weight in the pressure), the slide-layer
// weight, and a fixed along-slope drive of U (F 181 4, slope F 505).
void GravityFunction(int eq, int first, int last) {
  if (FlagThixo > 0 && FlagThixoIsComputing == 0) return;
  if (FlagGravityTerm >= 1 && eq <= 2) {
    addSurfaceSlope(eq, first, last);
    return;
  }
  if (eq == 3 && FlagThixo == 0) {
    switch (FlagGravity) {
      case 1: subtractSharedWeight(first, last); break;
      case 2:
        for (int c = first; c <= last; ++c) Csource[c] -= 9810.0 * Cvol[c];
        return;
      case 3: subtractSpreadWeight(first, last); break;
      default: break;
    }
  }
  if (eq == 3 && FlagThixo >= 1) {
    subtractLayerWeight();
    return;
  }
  if (FlagGravity == 4 && Equation == 1 && FlagThixo == 0) {
    const double drive = 9810.0 * GravitySlope;
    for (int c = first; c <= last; ++c) Csource[c] += drive * Cvol[c];
  }
}

// Roughness-layer drag (F 189): inside a bed roughness taller than the
// first cell centre, each cell below the roughness height (not the top cell)
// is braked towards the speed profile rising linearly to the speed U_R just
// above the roughness. The bottom cell's thread writes its whole column.
void computeTramel(int first, int last) {
  const double p = ParamTramel;
  for (int c = first; c <= last; ++c) {
    if (Ccellb[c] != 0 || Ccellt[c] == 0) continue;
    const double R = Croughness[c];
    if (Ckdist[c] > R) continue;
    double uR = 0.0;
    double z = Ckdist[c];
    for (int k = c; k > 0; k = Ccellt[k]) {
      if (z > R) {
        uR = horizontalSpeed(k);
        break;
      }
      if (Ccellt[k] > 0) z += Ckdist[k] + Ckdist[Ccellt[k]];
    }
    z = Ckdist[c];
    for (int k = c; Ccellt[k] > 0 && z <= R; k = Ccellt[k]) {
      Cap[k] += p * Cvol[k] * 1000.0 * std::max(0.0, horizontalSpeed(k) - (z / R) * uR);
      z += Ckdist[k] + Ckdist[Ccellt[k]];
    }
  }
}

// Bed-form drag (F 498): the dune roughness ks = 1.1 H (1 - exp(-25 H /
// 7.3 D)) of the column's bed gives every cell a drag growing with the
// column-mean speed.
void computeDragDune() {
  if (NoBlocks < 1) return;
  for (int c = block[1].FirstCell; c <= block[1].LastCell; ++c) {
    if (Ccellb[c] != 0) continue;
    int n = 0;
    double D = 0.0, U = 0.0;
    for (int k = c; k > 0; k = Ccellt[k]) {
      ++n;
      D += 2.0 * Ckdist[k];
      U += horizontalSpeed(k);
    }
    U /= n;
    const double H = Bedformheight[Cbed[c]];
    const double ks = 1.1 * H * (1.0 - std::exp(-25.0 * H / (7.3 * D)));
    const double add = std::pow(ks, 0.333) * U * 14.511834319526628 / n;
    for (int k = c; k > 0; k = Ccellt[k]) Cap[k] += add;
  }
}

// Supercritical columns (F 93) take a uniform pressure and correction: the
// hydrostatic balance does not hold where the flow outruns the surface
// waves. Acts on the bed range of the sediment time loop only.
void FroudeHystatFunction() {
  static bool warned = false;
  if (!warned && WBEnd < 1) {
    warned = true;
    logText("Warning: F 93 acts only in the sediment time loop (letter S)\n");
  }
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (b < 1 || Bnocells[b] <= 0) continue;
    const int bottom = Bcellt[b];
    if (bottom <= 0) continue;
    int n = 0;
    double D = 0.0, U = 0.0, P = 0.0, F = 0.0;
    for (int k = bottom; k > 0; k = Ccellt[k]) {
      ++n;
      D += 2.0 * Ckdist[k];
      U += horizontalSpeed(k);
      P += Cpres[k];
      F += Cf[k];
    }
    U /= n;
    if (U * U <= 9.81 * D) continue;
    for (int k = bottom; k > 0; k = Ccellt[k]) Cpres[k] = P / n, Cf[k] = F / n;
  }
}

namespace {

double topArea(int k) { return Farea[Cflatet[k]]; }

// Fluxes rebuilt downwards from the top of each column from the cells'
// defects, blended with the old ones by `keep`; then w from the mean of the
// cell's two vertical fluxes.
void rebuildFromTop(int first, int last, double keep, double wKeep, double wFactor) {
  for (int t = first; t <= last; ++t) {
    if (Ccellt[t] != 0 || Ccellb[t] == 0) continue;
    double F = 0.0;
    for (int k = t; k > 0; k = Ccellb[k]) {
      F -= Csource[k];
      double &fb = Fflux[Cflateb[k]];
      fb = keep * fb + (1.0 - keep) * F;
    }
    for (int k = t; k > 0; k = Ccellb[k])
      Czvel[k] = wKeep * Czvel[k] + wFactor * (Fflux[Cflateb[k]] + Fflux[Cflatet[k]]) / topArea(k);
  }
}

// Mode 4: the column's positive and negative defects scaled to the same
// magnitude, so that the column as a whole balances.
void balanceDefects(int first, int last) {
  for (int t = first; t <= last; ++t) {
    if (Ccellt[t] != 0 || Ccellb[t] == 0) continue;
    double P = 0.0, N = 0.0;
    for (int k = t; k > 0; k = Ccellb[k]) (Csource[k] > 0.0 ? P : N) += std::fabs(Csource[k]);
    const double m = (P + N) / 2.0;
    for (int k = t; k > 0; k = Ccellb[k]) Csource[k] *= Csource[k] > 0.0 ? m / (P + 1e-10) : m / (N + 1e-10);
  }
}

}  // namespace

// Seiche set-ups (F 69 fourth value): the vertical fluxes and w of the
// columns rebuilt from the continuity defects of the pressure stage.
void SeicheFunctions() {
  const int first = WCStart, last = WCEnd;
  switch (Seiche4) {
    case 1: rebuildFromTop(first, last, 0.8, 0.8, 0.0001); break;
    case 3: rebuildFromTop(first, last, 0.0, 0.0, 0.0005); break;
    case 4:
      balanceDefects(first, last);
      rebuildFromTop(first, last, 0.8, 0.0, 0.0005);
      break;
    case 2:
      for (int c = first; c <= last; ++c) {
        if (Ccellb[c] != 0 || Ccellt[c] == 0) continue;
        for (int k = c; k > 0; k = Ccellt[k]) Czvel[k] = -0.001 * Csource[k] / topArea(k);
        for (int k = c; Ccellt[k] > 0; k = Ccellt[k])
          Fflux[Cflatet[k]] = 500.0 * (Czvel[k] + Czvel[Ccellt[k]]) * Farea[Cflatet[k]];
      }
      break;
    case 5:
      for (int c = first; c <= last; ++c) {
        if (Ccellb[c] != 0 || Ccellt[c] == 0) continue;
        double F = 0.0;
        for (int k = c; Ccellt[k] > 0; k = Ccellt[k]) {
          F += Csource[k];
          Fflux[Cflatet[k]] = F;
        }
        for (int k = c; k > 0; k = Ccellt[k])
          Czvel[k] = 0.0005 * (Fflux[Cflateb[k]] + Fflux[Cflatet[k]]) / topArea(k);
      }
      break;
    default: break;
  }
}

// Wall-like drag of thin edge cells and porous walls; no stage calls it.
void TSCstabilityFunction(int eq) {
  const int first = WCStart, last = WCEnd;
  if (eq <= 3) {
    if (FlagBedPoros == 1 && eq <= 2) {
      const double *u = eq == 1 ? Cxvel : Cyvel;
      for (int c = first; c <= last; ++c) {
        const bool single = Ccellb[c] == 0 && Ccellt[c] == 0;
        const bool open = Ccelle[c] > 0 && Ccellw[c] > 0 && Ccelln[c] > 0 && Ccells[c] > 0;
        if (single && Ckdist[c] < 0.5 * MinVertDist && !open)
          Cap[c] += 300.0 * std::fabs(u[c]) * Ckdist[c] * std::sqrt(Barea[Cbed[c]]);
      }
    }
    if (PorosWallFlag == 2 || PorosWallFlag == 3) {
      for (int c = first; c <= last; ++c) {
        double z = Ckdist[c];
        for (int k = Ccellb[c]; k > 0; k = Ccellb[k]) z += 2.0 * Ckdist[k];
        if (z >= BPWparam1 * Croughness[c]) continue;
        const double u = eq == 1 ? std::fabs(Cxvel[c]) : eq == 2 ? std::fabs(Cyvel[c]) : horizontalSpeed(c);
        Cap[c] += 2000.0 * u * Ckdist[c] * BPWparam2 * std::sqrt(Barea[Cbed[c]]);
      }
    }
  } else if (eq == 5 && FlagBedPoros == 1) {
    for (int c = first; c <= last; ++c) {
      if (Ckdist[c] >= 0.5 * MinVertDist) continue;
      const double h2 = 2.0 * Ckdist[c];
      const double kr = 0.47453 * h2 * std::pow(Croughness[c] / h2, 0.333333);
      Cap[c] += std::max(0.0, Ckinen[c] - kr) * Cap[c] / kr;
    }
  }
}
