// The bed mass balance of the two-layer bed: per bed cell and grain size the
// change dz_k in metres of bed (pores included), its sum Bedmove, the mass
// tallies kBedmove, bedLimDef and kLimDef, and the layer thicknesses and
// fractions in BSedDistrib[0] (inactive) and BSedDistrib[1] (active).
#include "bed/layers/bed_balance.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

enum class Exchange { Coefficients, Settling };

// What the bottom cell c gives to the bed of size k, from the neighbours'
// coefficients of its last sediment equation, as metres of bed.
double coefficientChange(int k, int b, int c) {
  return coefficientFlux(k, b, c) * 0.001 * TimeStep / (SolidFrac * (Barea[b] + 1e-20));
}

// What settles through the bottom face minus what is picked up (Bsource in
// kg/s), as metres of bed.
double settlingChange(int k, int b, int c) {
  const double area = lnumber == 1 ? Barea[b] : Barea[b] + 1e-20;
  const double flux = Cconc[k][c] * Faz[Cflateb[c]] * fallvelo[k] * 1000.0 - Bsource[k][b];
  return flux * 0.001 * TimeStep / (SolidFrac * area);
}

// One grain size: the active layer keeps its thickness while an inactive
// layer exists, so erosion and deposition go to layer 0. An erosion deeper
// than both layers leaves an empty active layer, never a negative one.
void updateOneSize(int b, double dz, double active) {
  double &t0 = BSedDistrib[0][0][b];
  double &t1 = BSedDistrib[1][0][b];
  if (dz < -1e-9) {
    if (-dz < t0) {
      t0 += dz;
    } else if (t0 >= 1e-15) {
      t1 = std::max(t1 + t0 + dz, 0.0);
      t0 = 0.0;
    } else {
      t0 = 0.0;
      t1 = std::max(t1 + dz, 0.0);
    }
  } else if (dz > 1e-9) {
    if (t0 > 1e-15) {
      t0 += dz;
    } else if (t1 + dz >= active) {
      t0 = t1 + dz - active;
      t1 = active;
    } else {
      t1 += dz;
    }
  }
}

// Several grain sizes: the new active content of each size, clipped at 0,
// decides the net change D of the active layer; a deposit passes a slice
// down to layer 0, an erosion takes a slice of layer 0 up.
void updateSeveralSizes(int b, int c, const double dz[], double active, Exchange exchange) {
  double &t0 = BSedDistrib[0][0][b];
  double &t1 = BSedDistrib[1][0][b];
  double *const *f0 = BSedDistrib[0];
  double *const *f1 = BSedDistrib[1];
  double midA[kMaxGrainSizes + 2];
  double S = 0.0;
  const double D = activeContents(b, dz, midA, S);

  double sumG = 1.0;
  double thick2 = 0.0;
  if (D > 1e-9) {
    if (t0 > 1e-15) {
      bool slice = false;
      if (exchange == Exchange::Coefficients) {
        double m = 0.0;
        for (int k = 1; k <= lnumber; ++k) m = std::min(m, dz[k] / (f1[k][b] + 1e-20));
        slice = D - m <= active;
      }
      sumG = 0.0;
      if (slice) {
        // A slice D of the old active composition goes down; the active
        // layer keeps its thickness with what stays and what came.
        for (int k = 1; k <= lnumber; ++k) {
          f0[k][b] = (f1[k][b] * D + f0[k][b] * t0) / (t0 + D);
          f1[k][b] = (f1[k][b] * (active - D) + dz[k]) / (t1 + 1e-15);
          sumG += f1[k][b];
        }
      } else {
        for (int k = 1; k <= lnumber; ++k) {
          f1[k][b] = midA[k] / S;
          f0[k][b] = (f1[k][b] * D + f0[k][b] * t0) / (t0 + D);
          sumG += f0[k][b];
        }
      }
      t0 += D;
    } else {
      const bool overflows = t1 + D >= active;
      for (int k = 1; k <= lnumber; ++k) {
        f1[k][b] = midA[k] / S;
        if (overflows) f0[k][b] = midA[k] / S;
      }
      if (overflows) {
        t0 = t1 + D - active;
        t1 = active;
      } else {
        t1 += D;
      }
    }
  } else if (D < -1e-9) {
    const double E = -D;
    if (E < t0) {
      sumG = 0.0;
      for (int k = 1; k <= lnumber; ++k) {
        f1[k][b] = (f0[k][b] * E + midA[k]) / (t1 + 1e-30);
        sumG += f1[k][b];
      }
      t0 -= E;
      thick2 = E;
    } else if (t0 >= 1e-15) {
      double sum = 0.0;
      for (int k = 1; k <= lnumber; ++k) sum += f0[k][b] * t0 + midA[k];
      for (int k = 1; k <= lnumber; ++k) f1[k][b] = (f0[k][b] * t0 + midA[k]) / (sum + 1e-20);
      t1 = t1 + t0 + D;
      t0 = 0.0;
    } else {
      t0 = 0.0;
      t1 = std::max(t1 + D, 0.0);
      double sum = S;
      if (exchange == Exchange::Coefficients) {
        // Nothing left of any size: the first size takes the empty layer.
        if (sum < 1e-50) {
          sum += 1e-50;
          midA[1] += 1e-50;
        }
      } else {
        sum += 1e-20;
      }
      for (int k = 1; k <= lnumber; ++k) f1[k][b] = midA[k] / sum;
    }
  }

  for (int k = 1; k <= lnumber; ++k) {
    if (std::fabs(f0[k][b]) < 1e-15) f0[k][b] = 0.0;
    if (std::fabs(f1[k][b]) < 1e-15) f1[k][b] = 0.0;
  }
  if ((sumG < 0.99 || sumG > 1.01) && std::fabs(Bedmove[b]) > 1e-8) printErrorMorphology2(b, sumG, D);
  for (int k = 1; k <= lnumber; ++k) {
    if (f1[k][b] > 1.0 || f1[k][b] < 0.0) printErrorMorphology3(Iter, b, c, k, midA, D, thick2, sumG);
  }
}

void bedBalance(double active, Exchange exchange) {
  double dz[kMaxGrainSizes + 2];
  const SizeChange change = exchange == Exchange::Coefficients ? coefficientChange : settlingChange;
  for (int b = WBStart; b <= WBEnd; ++b) {
    if (!columnBedChange(b, dz, change)) continue;
    const int c = Bcellt[b];
    if (lnumber == 1) {
      updateOneSize(b, dz[1], active);
    } else {
      updateSeveralSizes(b, c, dz, active, exchange);
    }
  }
}

}  // namespace

double activeContents(int b, const double dz[], double midA[], double &S) {
  const double t1 = BSedDistrib[1][0][b];
  S = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    double v = dz[k] + BSedDistrib[1][k][b] * t1;
    if (v <= 0.0) {
      bedLimDef[k] += v;
      v = 0.0;
    }
    midA[k] = v;
    S += v;
  }
  const double D = S - t1;
  kLimDef += SolidFrac * (Bedmove[b] - D) * Barea[b] * 1000.0 * density;
  return D;
}

bool columnBedChange(int b, double dz[], SizeChange change) {
  const int c = Bcellt[b];
  if (c < 1) {
    Bedmove[b] = 0.0;
    return false;
  }
  double total = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    dz[k] = change(k, b, c);
    total += dz[k];
    kBedmove[k] += Barea[b] * dz[k] * 1000.0 * SolidFrac;
  }
  Bedmove[b] = total;
  return true;
}

double coefficientFlux(int k, int b, int c) {
  const double *C = Cconc[k];
  const double top = lnumber == 1 ? Cat[c] : Catm[k][c];
  return C[Ccelln[c]] * Can[c] + C[Ccells[c]] * Cas[c] + C[Ccellw[c]] * Caw[c] + C[Ccelle[c]] * Cae[c] +
         C[Ccellt[c]] * top + Bsource[k][b] - Bap[k][b] * C[c];
}

void morphology_fractions(double active) { bedBalance(active, Exchange::Coefficients); }

void morphology2_fractions(double active) { bedBalance(active, Exchange::Settling); }

void printErrorMorphology2(int b, double sumG, double D) {
  logPrintf("Warning, SumG = %lf at i,j=%d %d\n", sumG, Bkooi[b], Bkooj[b]);
  logPrintf("Bedmove = %lf, bedmove = %lf, InactiveThickness = %lf\n", Bedmove[b], D, BSedDistrib[0][0][b]);
}

void printErrorMorphology3(int iter, int b, int c, int k, const double midA[], double D, double thick2, double sumG) {
  logPrintf("TSC error, fractions: Iter=%d, b=%d, c=%d, l=%d, i=%d, j=%d\n", iter, b, c, k, Bkooi[b], Bkooj[b]);
  logPrintf("BSedDistrib[l=%d,b=%d] = %lf %lf %lf %lf\n", k, b, BSedDistrib[1][k][b], BSedDistrib[1][0][b],
            BSedDistrib[0][k][b], BSedDistrib[0][0][b]);
  logPrintf("bedmove = %lg, thick2=%lg, SumG=%lg, midA[%d]=%lg\n", D, thick2, sumG, k, midA[k]);
}
