// The two-layer concentration solvers: fixed-value (F 37 1) and source
// (F 37 2) coupling of the bottom cells to the bed, for one size and for
// several. Write Cconc over the work cells, the bottom cells' coefficients,
// Bsource (source solvers) and the status text.
#include "sediment/concentration/concentration_solvers.h"

#include <algorithm>
#include <cstdio>

#include "base/log.h"
#include "grid/blocks/nested_sources.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "sediment/transport/bed_load_vector.h"
#include "solvers/point_solver.h"
#include "solvers/sediment_solvers.h"

namespace {

void setIterationStatus(const char *format, int i) {
  char text[kStatusTextLength];
  std::snprintf(text, sizeof text, format, i);
  setStatus(mc_message, text);
}

// Concentrations below 1e-30, negative ones included, become exactly 0.
void clip(int l) {
  double *c = Cconc[l];
  for (int k = WCStart; k <= WCEnd; ++k) {
    if (c[k] < 1e-30) c[k] = 0.0;
  }
}

// The single-size solve through the dispatcher, but never the fast driver's
// five-row solver (F 170 1), which relaxes its own fields and not Cf. No
// data set gives the sediment equation a sweep count (K 4 covers the flow
// equations only): without one it takes the five sweeps of the several-size
// solvers rather than none.
void solveSingle() {
  const int keptFast = FlagFastWatersolve, keptSweeps = sweeps[7];
  FlagFastWatersolve = 0;
  if (keptSweeps < 1) sweeps[7] = 5;
  solver();
  FlagFastWatersolve = keptFast;
  sweeps[7] = keptSweeps;
}

// Before the solve of size l in inner iteration i: the bed-load vector source
// of F 78 1 (in iteration 1) or 3 (half-way).
void bedLoadVectorCall(int l, int i) {
  if ((BedLoadVectorFlag == 1 && i == 1) || (BedLoadVectorFlag == 3 && i == iter_morph / 2)) {
    bedVectorSourceCall(l);
  }
}

// What a bottom cell c of bed cell b exchanges with the bed, for size l.
struct BedCell {
  int b, c;
  double D;  // settling coefficient: the fall velocity through the bed face, kg/s per unit concentration
  bool cohesive;  // the size sticks: its cohesion exceeds the bed shear stress
};

BedCell bedCell(int b, int c, int l) {
  const double tau = 300.0 * Ckinen[c];
  return {b, c, fallvelo[l] * Faz[Cflateb[c]] * 1000.0, cohesive[l] > 1e-10 && cohesive[l] > tau};
}

int topLayer(int b) { return NoBedLayers == 2 ? 1 : BlayerTop[b]; }

// Mass of size l in layer 1 of bed cell x, kg of water-equivalent volume.
double layerMass(int l, int x) { return BSedDistrib[1][l][x] * BSedDistrib[1][0][x] * Barea[x] * 1000.0; }

// The layer-1 mass averaged over the neighbouring columns: weight 4 for the
// own column, 2 for each side neighbour, 1 for each diagonal one present.
double averagedMass(int l, int b, int c) {
  const int e = Ccelle[c], n = Ccelln[c], s = Ccells[c], w = Ccellw[c];
  double sum = 4.0 * layerMass(l, b), weights = 4.0;
  auto add = [&](int x, double weight) {
    if (x > 0) {
      sum += weight * layerMass(l, x);
      weights += weight;
    }
  };
  for (int x : {Cbed[e], Cbed[n], Cbed[s], Cbed[w]}) add(x, 2.0);
  auto diagonal = [](int x, int y) { return x > 0 ? x : y; };
  add(diagonal(Cbed[Ccells[e]], Cbed[Ccelle[s]]), 1.0);
  add(diagonal(Cbed[Ccelln[w]], Cbed[Ccellw[n]]), 1.0);
  add(diagonal(Cbed[Ccells[w]], Cbed[Ccellw[s]]), 1.0);
  add(diagonal(Cbed[Ccelln[e]], Cbed[Ccelle[n]]), 1.0);
  return sum / weights;
}

// Share of the top layer above the non-erodible level at the four corners.
double cornerFactor(int b) {
  const int i = Bkooi[b], j = Bkooj[b];
  const double h = BSedDistrib[1][0][b];
  double sum = 0.0;
  for (int p : {i, i - 1}) {
    for (int q : {j, j - 1}) sum += std::min(h, std::max(0.0, zval[p][q][1] - Surfaces[3][p][q]));
  }
  return sum / (4.0 * h + 1e-20);
}

// Layers below the top one add their mass until one holds more than 1 % of
// one of the two coarsest sizes that the shear cannot move.
double deeperLayers(int l, int b, int c) {
  if (NoBedLayers <= 2) return 0.0;
  const double tau = 300.0 * Ckinen[c];
  double mass = 0.0;
  for (int k = 2; k <= NoBedLayers; ++k) {
    double **layer = BSedDistrib[k];
    if ((485.595 * gsize[1] > tau && layer[1][b] > 0.01) || (485.595 * gsize[2] > tau && layer[2][b] > 0.01)) break;
    mass += layer[l][b] * Barea[b] * layer[0][b] * 1000.0;
  }
  return mass;
}

// Mass available for erosion, by the variant of F 160.
enum class MassRule { SingleSize, Averaged, Corner, Plain };

double availableMass(int l, int b, int c, MassRule rule) {
  if (rule == MassRule::SingleSize) return BSedDistrib[1][0][b] * Barea[b] * 1000.0;
  double M = layerMass(l, b);
  if (rule == MassRule::Averaged) M = averagedMass(l, b, c);
  if (rule == MassRule::Corner) M *= cornerFactor(b);
  return M + deeperLayers(l, b, c);
}

// The rate at which the whole available mass would leave within one step.
double supplyRate(double M) { return M / (TimeStep / SolidFrac); }

// What the neighbours and the base source bring into the bottom cell.
double neighbourSupply(int l, const BedCell &x, const double *top) {
  const int c = x.c;
  const double *Cn = Cconc[l];
  double S = Can[c] * Cn[Ccelln[c]] + Cas[c] * Cn[Ccells[c]] + Caw[c] * Cn[Ccellw[c]] + Cae[c] * Cn[Ccelle[c]] +
             top[c] * Cn[Ccellt[c]] + Bsource[l][x.b];
  if (QNFlag > 0) {
    auto list = [&](int count, const int *firstCell, const double *a) {
      for (int k = 0; k < count; ++k) S += a[k] * Cn[firstCell[0] + k];
    };
    list(Cncelle[c], Cqncelle[c], Cqnae[c]);
    list(Cncellw[c], Cqncellw[c], Cqnaw[c]);
    list(Cncelln[c], Cqncelln[c], Cqnan[c]);
    list(Cncells[c], Cqncells[c], Cqnas[c]);
  }
  return S;
}

// Fixed-value balance after a solve: the bottom cell holds at least what
// settles from the supply, at most the equilibrium value or what the bed and
// the supply can deliver; the value is fixed (1e30 on the diagonal) for the
// next solve.
void fixedValueBalance(int l, MassRule rule, double *ap, double *source, const double *top) {
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    const BedCell x = bedCell(b, c, l);
    const double S = neighbourSupply(l, x, top);
    const double A = Bap[l][b];
    const double R = supplyRate(availableMass(l, b, c, rule));
    const double Cdep = S / (x.D + A);
    const double Cav = x.cohesive ? S / (A + 1e-20) : (R + S) / A;
    const double Ceq = rule == MassRule::SingleSize ? BSedDistrib[1][1][b] * Bconc[1][b]
                                                    : BSedDistrib[topLayer(b)][l][b] * Bconc[l][b];
    double Cb = std::max(Cdep, std::min(Cav, Ceq));
    if (Cb < 1e-30) Cb = 0.0;
    Cconc[l][c] = Cb;
    ap[c] = 1e30;
    source[c] = 1e30 * Cb;
  }
}

// The equilibrium value the pick-up drives the bottom cell towards.
double equilibrium(int l, const BedCell &x, bool singleSize) {
  const int b = x.b, c = x.c;
  const double *Cn = Cconc[l];
  double Ceq;
  if (singleSize) {
    Ceq = Bconc[1][b];
  } else {
    Ceq = BSedDistrib[topLayer(b)][l][b] * Bconc[l][b];
    if (FlagSumFractions == 1) Ceq *= findSuspFraction(b);
    else if (FlagSumFractions == 2) Ceq = std::max(Ceq, Cn[c] / Cconc[0][c] * Bconc[l][b]);
    else if (FlagSumFractions == 3) Ceq = Bconc[l][b];
  }
  if (FlagBedVer > 0) {
    Ceq = std::max(Ceq, Cn[c]);
    if (FlagBedVer != 1) Ceq = std::min(Ceq, Bconc[l][b]);
  }
  return Ceq;
}

// Pick-up source of every bottom cell before the solves of inner iteration
// i: the settling flux times the equilibrium value, limited by what the bed
// can give in one step plus what settles. The last inner iteration leaves the
// pick-up in Bsource for the bed balance.
void erosionSources(int l, int i, MassRule rule, double *source) {
  const bool single = rule == MassRule::SingleSize;
  const bool last = i == iter_morph - 1;
  for (int b = WBStart; b <= WBEnd; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    const BedCell x = bedCell(b, c, l);
    const double Esup = x.cohesive ? 0.0 : supplyRate(availableMass(l, b, c, rule)) + Cconc[l][c] * x.D;
    double E = std::min(Esup, x.D * equilibrium(l, x, single));
    if (!single && E < 1e-30) E = 0.0;
    source[c] = Bsource[l][b] + E;
    if (last) Bsource[l][b] = E;
  }
}

MassRule severalSizeRule() {
  if (FlagBedVol == 1) return MassRule::Corner;
  if (FlagBedVol == 2) return MassRule::Averaged;
  return MassRule::Plain;
}

void coupleNestedSizes() {
  if (FlagCoupledNesting != 2) return;
  for (int l = 1; l <= lnumber; ++l) {
    Cf = Cconc[l];
    CoupledSolverNesting();
  }
}

}  // namespace

void (*bedVectorSourceCall)(int l) = BedVectorSourceCalc;

void morphology_tsc_solver_tsc1_single() {
  for (int i = 0; i < iter_morph; ++i) {
    setIterationStatus("Iter, %d   ", i);
    Cf = Cconc[1];
    solveSingle();
    clip(1);
    fixedValueBalance(1, MassRule::SingleSize, Cap, Csource, Cat);
  }
}

void morphology_tsc_solver_tsc1_multiple() {
  const MassRule rule = FlagBedVol != 0 ? MassRule::Averaged : MassRule::Plain;
  for (int i = 0; i < iter_morph; ++i) {
    setIterationStatus("Iter, %d   ", i);
    for (int l = 1; l <= lnumber; ++l) {
      bedLoadVectorCall(l, i);
      std::fill(Csource + WCStart, Csource + std::max(WCStart, WCEnd + 1), 0.0);
      Cf = Cconc[l];
      solver2(l);
      clip(l);
      fixedValueBalance(l, rule, Capm[l], Csourcem[l], Catm[l]);
    }
  }
}

void morphology_tsc_solver_tsc2_single() {
  Cf = Cconc[1];
  for (int i = 0; i < iter_morph; ++i) {
    erosionSources(1, i, MassRule::SingleSize, Csource);
    setIterationStatus("Iter, %d   ", i);
    if (BedLoadVectorFlag == 3 && i == iter_morph / 2) bedVectorSourceCall(1);
    if (FlagCoupledNesting == 12) CoupledSolverNesting();
    Cf = Cconc[1];
    solveSingle();
    clip(1);
  }
  if (FlagCoupledNesting == 2) {
    Cf = Cconc[1];
    CoupledSolverNesting();
  }
}

void morphology_tsc_solver_tsc2_multiple() {
  if (FlagFracVer0 == 1) {
    // The settling through the bed face leaves the bottom cell: its diagonal
    // takes the settling coefficient less the water flux through that face.
    for (int l = 1; l <= lnumber; ++l) {
      for (int b = WBStart; b <= WBEnd; ++b) {
        const int c = Bcellt[b];
        if (c > 0) Capm[l][c] += bedCell(b, c, l).D - Fflux[Cflateb[c]];
      }
    }
  }
  const MassRule rule = severalSizeRule();
  const bool bedVector = BedLoadVectorFlag >= 5 && BedLoadVectorFlag <= 9;
  for (int i = 0; i < iter_morph; ++i) {
    setIterationStatus(" Sediment iter %d         ", i);
    for (int l = 1; l <= lnumber; ++l) {
      if (FlagSumFractions == 2) {
        for (int b = WBStart; b <= WBEnd; ++b) {
          const int c = Bcellt[b];
          if (c <= 0) continue;
          double sum = 1e-30;
          for (int k = 1; k <= lnumber; ++k) sum += Cconc[k][c];
          Cconc[0][c] = sum;
        }
      }
      erosionSources(l, i, rule, Csourcem[l]);
    }
    for (int l = 1; l <= lnumber; ++l) {
      bedLoadVectorCall(l, i);
      Cf = Cconc[l];
      if (bedVector) solver2m(l);
      else solver2(l);
      clip(l);
    }
  }
  coupleNestedSizes();
}

void morphology_tsc_solver_tsc2_multiple_v2() {
  const double perStep = 1000.0 / TimeStep;
  for (int l = 1; l <= lnumber; ++l) {
    for (int b = WBStart; b <= WBEnd; ++b) {
      const int c = Bcellt[b];
      if (c <= 0) continue;
      Capm[l][c] = Cae[c] + Caw[c] + Can[c] + Cas[c] + Cvol[c] * perStep + Bap[l][b];
    }
  }
  for (int i = 0; i < iter_morph; ++i) {
    const bool last = i == iter_morph - 1;
    setIterationStatus(" Sediment iter %d         ", i);
    for (int l = 1; l <= lnumber; ++l) {
      for (int b = WBStart; b <= WBEnd; ++b) {
        const int c = Bcellt[b];
        if (c <= 0) continue;
        // Exchange with the bed: towards the equilibrium value G, at most what
        // layer 1 holds of the size, V, at the bottom cell's outflow rate K.
        const double H = Cvol[c] * perStep;
        const double K = Capm[l][c] - H;
        const double V = BSedDistrib[1][l][b] * BSedDistrib[1][0][b] * SolidFrac;
        const double G = BSedDistrib[topLayer(b)][l][b] * Bconc[l][b] - Cconc[l][c];
        const double X = std::min(V * K, G * K);
        Csourcem[l][c] = Cconc_old[l][c] * H + X + Bsource[l][b];
        // The exchange is kept for after the last solve.
        if (last) Bsource[l][b] = X;
      }
    }
    setIterationStatus("Iter: %d ", i);
    for (int l = 1; l <= lnumber; ++l) {
      bedLoadVectorCall(l, i);
      Cf = Cconc[l];
      solver2bed(l);
      clip(l);
    }
  }
  if (iter_morph >= 1) {
    // The bed balance books the settling through the bed face less Bsource:
    // with the settling of the solved concentration added here, the bed
    // gains exactly minus the exchange the bottom cells received.
    for (int l = 1; l <= lnumber; ++l) {
      for (int b = WBStart; b <= WBEnd; ++b) {
        const int c = Bcellt[b];
        if (c > 0) Bsource[l][b] += Cconc[l][c] * bedCell(b, c, l).D;
      }
    }
  }
  coupleNestedSizes();
}

void checkImplicitExchange() {
  if (FlagImplicitSedim != 1) return;
  const bool bedVector = BedLoadVectorFlag >= 5 && BedLoadVectorFlag <= 9;
  // solver2 takes the exchange wherever it runs: for several sizes with F 37
  // 1 or 2 (not the bed-plane variant or the bed-load vector rows), and for
  // any size count in the multi-layer solver (F 37 3), one size included.
  bool solver2Runs = false;
  if (FlagTSC == 1) solver2Runs = lnumber > 1;
  else if (FlagTSC == 2) solver2Runs = lnumber > 1 && FlagFracVer0 < 2 && !bedVector;
  else if (FlagTSC == 3) solver2Runs = !bedVector;
  if (solver2Runs) fatalPrintf(-5, nullptr, "Error: F 253 1 can not be combined with F 37 %d\n", FlagTSC);
}

double findSuspFraction(int b) {
  if (lnumber < 1) return 1.0;
  const int c = Bcellt[b];
  double Q = 0.0;
  for (int l = 1; l <= lnumber; ++l) {
    if (Bconc[l][b] > 1e-8) Q += Cconc[l][c] / Bconc[l][b];
  }
  return Q > 0.02 && Q < 1.0 ? 1.0 / Q : 1.0;
}
