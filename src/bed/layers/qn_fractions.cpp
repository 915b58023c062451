// The bed balance and grain fractions on grids of independently layered
// columns. The bed change adds the listed neighbours of each side to the
// five-neighbour balance; the two-layer bed first tops up a thin active
// layer and passes only the rest down, and the layer stack of F 37 3 takes
// the change through ChangeLayers.
#include "bed/layers/qn_fractions.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "bed/layers/bed_balance.h"
#include "bed/layers/bed_layer_operations.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

// The listed cells of one side of cell c: Σ coeff[c][m]·C[first + m]. Such
// a side's single coefficient is 0, so the five-neighbour part adds nothing
// for it.
double listedSide(const double *C, int c, int count, int *const *first, double *const *coeff) {
  if (count <= 0) return 0.0;
  const int q0 = first[c][0];
  const double *row = coeff[c];
  double sum = 0.0;
  for (int m = 0; m < count; ++m) sum += row[m] * C[q0 + m];
  return sum;
}

// Bed change of size k in metres of bed.
double listedChange(int k, int b, int c) {
  const double *C = Cconc[k];
  const double flux = coefficientFlux(k, b, c) + listedSide(C, c, Cncelle[c], Cqncelle, Cqnae) +
                      listedSide(C, c, Cncellw[c], Cqncellw, Cqnaw) + listedSide(C, c, Cncelln[c], Cqncelln, Cqnan) +
                      listedSide(C, c, Cncells[c], Cqncells, Cqnas);
  return flux * 0.001 * TimeStep / (SolidFrac * Barea[b]);
}

void reportFraction(int b, int c, int k, double D, double slice, double sumG, const double midA[]) {
  logPrintf("Error in TSC1: Iter=%d, b=%d, c=%d, l=%d, i=%d, j=%d\n", Iter, b, c, k, Bkooi[b], Bkooj[b]);
  logPrintf("BSedDistrib[%d,%d] = %lf %lf %lf %lf\n", k, b, BSedDistrib[1][k][b], BSedDistrib[1][0][b],
            BSedDistrib[0][k][b], BSedDistrib[0][0][b]);
  logPrintf("dummy = %lg, thick2=%lg, SumG=%lg, midA[%d]=%lg\n", D, slice, sumG, k, midA[k]);
}

// The two-layer bed: a deposit tops a thin active layer up to the active
// thickness and passes the rest down with the new active composition; an
// erosion takes a slice of layer 0 up, and beyond layer 0 thins the active
// layer. A size's negative content is clipped and booked as in the
// two-layer balance.
void updateTwoLayers(int b, int c, const double dz[], double active) {
  double &t0 = BSedDistrib[0][0][b];
  double &t1 = BSedDistrib[1][0][b];
  double *const *f0 = BSedDistrib[0];
  double *const *f1 = BSedDistrib[1];
  double midA[kMaxGrainSizes + 2];
  double S = 0.0;
  const double D = activeContents(b, dz, midA, S);

  double sumG = 0.0, slice = 0.0;
  if (D > 1e-9) {
    double rest = D;
    if (t1 < active) {
      const double filled = std::min(t1 + D, active);
      rest = t1 - filled + D;
      t1 = filled;
    }
    for (int k = 1; k <= lnumber; ++k) f1[k][b] = midA[k] / (S + 1e-30);
    if (rest > 1e-9) {
      double sum = 0.0;
      for (int k = 1; k <= lnumber; ++k) {
        f0[k][b] = (f1[k][b] * rest + f0[k][b] * t0) / (t0 + rest);
        sum += f0[k][b];
      }
      for (int k = 1; k <= lnumber; ++k) f0[k][b] /= sum;
      sumG = 1.0 / sum;
      t0 += rest;
    }
  } else if (D < -1e-9) {
    slice = std::min(-D, t0);
    t1 += std::min(t0 + D, 0.0);
    t0 = std::max(t0 + D, 0.0);
    for (int k = 1; k <= lnumber; ++k) {
      f1[k][b] = std::min(1.0, (slice * f0[k][b] + midA[k]) / (t1 + 1e-30));
      sumG += f1[k][b];
    }
  }
  // Erosion cannot drive the active layer below 0 (it keeps t0 + S); a
  // negative one comes from elsewhere and the stack cannot go on.
  if (t1 < 0.0) fatalPrintf(-44, nullptr, "Error, negative bed layer at i,j=%d %d\n", Bkooi[b], Bkooj[b]);
  for (int k = 1; k <= lnumber; ++k) {
    if (f1[k][b] > 1.0 || f1[k][b] < 0.0) reportFraction(b, c, k, D, slice, sumG, midA);
  }
}

// The layer stack: the per-size changes at the top layer's solid fraction
// go through ChangeLayers, and Bedmove becomes the change of the stack's
// thickness, so the bed levels follow what the stack realised.
void updateStack(int b, const double dz[]) {
  const double solid = Bsolidfraction[BlayerTop[b]][b];
  double movement = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    Bbedchange[k][b] = dz[k] * SolidFrac / solid;
    movement += Bbedchange[k][b];
    Bvolleft[k][b] = 0.0;
  }
  Bedmove[b] = -stackThickness(b);
  ChangeLayers(b, movement);
  Bedmove[b] += stackThickness(b);
  for (int k = 1; k <= lnumber; ++k) Bvollefttot[k] += Bvolleft[k][b] * Barea[b] * 1000.0 * density;
}

}  // namespace

void morphology_QNfractions(double active) {
  double dz[kMaxGrainSizes + 2];
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (!columnBedChange(b, dz, listedChange) || lnumber == 1) continue;
    if (NoBedLayers == 2) {
      updateTwoLayers(b, Bcellt[b], dz, active);
    } else if (FlagTSC == 3) {
      updateStack(b, dz);
    }
  }
}
