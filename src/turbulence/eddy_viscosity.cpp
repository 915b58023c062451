// Eddy viscosity of the turbulence models for the equation being built:
// writes Cgamma (side faces) and CgammaV (bottom and top faces), both 1000
// times the kinematic eddy viscosity, over a cell range.
#include "turbulence/eddy_viscosity.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "solvers/coefficients.h"
#include "turbulence/bed_form_viscosity.h"
#include "turbulence/realizable_length_scale.h"

namespace {

bool isColumnModel(int model) { return model >= 8 && model <= 13; }
bool isMomentum(int equation) { return equation >= 1 && equation <= 3; }

// The friction velocity of the wind (m/s) from its drag law (F 73).
double windShearVelocity() {
  double w, fx, fy;
  windNow(w, fx, fy);
  return std::sqrt(0.0012 * 0.001 * windDrag(w));
}

// Model 5: one value for the range, from the half height of its first top
// cell; a range without a top cell takes the floor alone.
void windRangeValue(int first, int last, double floor) {
  int top = 0;
  for (int c = first; c <= last && top == 0; ++c) {
    if (Ccellt[c] == 0) top = c;
  }
  const double value = top > 0 ? floor + 400.0 * 0.5477 * Ckdist[top] * windShearVelocity() : floor;
  for (int c = first; c <= last; ++c) Cgamma[c] = value;
}

// Model 7: one value per water column from its depth, written from each top
// cell of the range down the whole column.
void windColumnValue(int first, int last, double floor) {
  const double ustar = windShearVelocity();
  for (int c = first; c <= last; ++c) {
    if (Ccellt[c] != 0) continue;
    double s = 0.0;
    for (int m = c; m > 0; m = Ccellb[m]) s += Ckdist[m];
    const double value = floor + 1000.0 * 0.11 * (2.0 * s) * ustar;
    for (int m = c; m > 0; m = Ccellb[m]) Cgamma[m] = value;
  }
}

// Runs sink(c, g) for every cell of the range with g the per-cell model
// value of step 1, the epsilon factor of step 2 and the damping of F 71 5
// applied; the model and the options are chosen here, outside the loops.
template <bool Damp, class Sink>
void perCellValues(int first, int last, int model, double floor, Sink &&sink) {
  auto damped = [](int c, double g) {
    if constexpr (Damp) return g * CdampDensity[c];
    else return g;
  };
  if (model == 4 || model == 6 || (model >= 4 && model <= 7 && FlagCorrTrekant != 24)) {
    for (int c = first; c <= last; ++c) sink(c, damped(c, floor));
    return;
  }
  if (model == 15 || model == 16) {
    for (int c = first; c <= last; ++c) sink(c, damped(c, Ckinen[c] / (Cepsilon[c] + 1e-20)));
    return;
  }
  // The epsilon equation's 0.7692 (about 1/1.3) pairs with the 1.3 of the
  // epsilon production for the models that get it.
  const bool epsilonFactor = Equation == 6 && (model == 0 || model == 2 || isColumnModel(model));
  const double factor = epsilonFactor ? 0.7692 : 1.0, cap = MaxGamma;
  if (model != 1 && FlagCorrTrekant == 24) {
    // Half the new value and half the one the previous call left.
    for (int c = first; c <= last; ++c) {
      const double k = Ckinen[c];
      const double g = 0.5 * std::min(cap, 90.0 * k * k / (Cepsilon[c] + 1e-20) + floor) + 0.5 * Cgamma[c];
      sink(c, damped(c, g * factor));
    }
    return;
  }
  const double a = model == 1 ? 84.5 : 90.0;
  for (int c = first; c <= last; ++c) {
    const double k = Ckinen[c];
    sink(c, damped(c, std::min(cap, a * k * k / (Cepsilon[c] + 1e-20) + floor) * factor));
  }
}

template <class Sink>
void perCellValues(int first, int last, int model, double floor, Sink &&sink) {
  if (TurbDensFlag == 5 && CdampDensity) perCellValues<true>(first, last, model, floor, sink);
  else perCellValues<false>(first, last, model, floor, sink);
}

// The wind models blow, and their value is not one of a cell alone.
bool windDriven(int model) { return (model == 5 || model == 7) && Wind[0] > 1e-10; }

// Model 17 takes the realizable coefficient unless F 235 24 relaxes the
// standard value.
bool realizable(int model) { return model == 17 && FlagCorrTrekant != 24; }

// Step 1 (with 2 and the damping of F 71 5) into Cgamma, for the paths
// whose later steps need the model values of other cells.
void modelValue(int first, int last, int model, double floor) {
  if (windDriven(model)) {
    if (model == 5) windRangeValue(first, last, floor);
    else windColumnValue(first, last, floor);
    if (TurbDensFlag == 5 && CdampDensity) {
      for (int c = first; c <= last; ++c) Cgamma[c] *= CdampDensity[c];
    }
    return;
  }
  if (realizable(model)) {
    GammaCalcRealizable(first, last);
    if (TurbDensFlag == 5 && CdampDensity) {
      for (int c = first; c <= last; ++c) Cgamma[c] *= CdampDensity[c];
    }
    return;
  }
  perCellValues(first, last, model, floor, [](int c, double g) { Cgamma[c] = g; });
}

// Step 3 with F 71 2: the Richardson damping between the cells below and
// above, then the floor.
void richardsonDamping(int first, int last, double floor) {
  for (int c = first; c <= last; ++c) {
    const int lower = Ccellb[c] > 0 ? Ccellb[c] : c;
    const int upper = Ccellt[c] > 0 ? Ccellt[c] : c;
    if (lower != upper) Cgamma[c] *= coeff_turbdens(lower, upper);
    Cgamma[c] = std::max(Cgamma[c], floor);
  }
}

// The bottom cell of the column a cell belongs to.
int bottomOf(int c) {
  while (Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

// Models 8 and 9: the low-Reynolds damping of the vertical viscosity near
// the bed in slow, shallow columns. Column values come from the column's
// bottom cell, also for a range that starts inside a column.
void lowReynoldsVertical(int first, int last, int model) {
  int c = first;
  while (c <= last) {
    const int b = bottomOf(c);
    double s = 0.0, speed = 0.0;
    int n = 0;
    for (int m = b; m > 0; m = Ccellt[m]) {
      s += Ckdist[m];
      speed += std::sqrt(Cxvel[m] * Cxvel[m] + Cyvel[m] * Cyvel[m]);
      ++n;
    }
    const double re = 2.0 * s * 1e6 * speed / n;
    const double ustar = std::sqrt(0.3 * Ckinen[b]);
    double below = 0.0;  // full heights of the cells below m
    int m = b;
    for (; m > 0; m = Ccellt[m]) {
      if (m >= first && m <= last) {
        if (re >= 3000.0) {
          CgammaV[m] = Cgamma[m];
        } else {
          const double yplus = ustar * (below + Ckdist[m]) * 1e6;
          double f;
          if (model == 8) {
            f = 1.0 - std::exp(-0.0002 * yplus - 0.00065 * yplus * yplus);
          } else {
            const double k = Ckinen[m];
            const double rt = k * k * 1e6 / (Cepsilon[m] + 1e-20);
            const double d = 1.0 - std::exp(-0.03846 * yplus);
            f = (1.0 + 4.1 * std::pow(rt + 1e-20, -0.75)) * d * d;
          }
          CgammaV[m] = std::max(f, 0.0) * Cgamma[m] + 0.001;
        }
      }
      below += 2.0 * Ckdist[m];
      if (Ccellt[m] == 0) break;
    }
    c = m + 1;
  }
}

// Models 10 to 13: shallow columns take a depth-averaged vertical viscosity
// 0.11 u* H, or its geometric mean with Cgamma, written up the whole column
// from each bottom cell of the range.
void shallowColumnVertical(int first, int last, int model) {
  const bool planArea = model >= 12;
  const double low = planArea ? 0.1 : 0.05, high = planArea ? 0.2 : 0.1;
  for (int b = first; b <= last; ++b) {
    if (Ccellb[b] != 0) continue;
    double s = 0.0;
    int top = b;
    for (int m = b; m > 0; m = Ccellt[m]) {
      s += Ckdist[m];
      top = m;
    }
    const bool open = model == 13 && Ccelle[top] > 0 && Ccellw[top] > 0 && Ccelln[top] > 0 && Ccells[top] > 0;
    const double area = planArea ? Barea[Cbed[b]] : Farea[Cflateb[b]];
    const double r = s / (std::sqrt(area) + 1e-15);
    const double ustar = std::sqrt(0.3 * Ckinen[b]);
    const double v = 1000.0 * 0.11 * ustar * 2.0 * s;
    const bool moving = ustar > 1e-10;
    const bool depthMean = !open && model != 10 && moving && r < low;
    const bool blend = !open && !depthMean && moving && r < high;
    for (int m = b; m > 0; m = Ccellt[m]) {
      CgammaV[m] = depthMean ? v + 0.001 : (blend ? std::sqrt(Cgamma[m] * v) + 0.001 : Cgamma[m]);
    }
  }
}

// A multiplier of F 149 or F 544 acts only outside 0.99..1.01.
double activeFactor(double f) { return f > 1.01 || f < 0.99 ? f : 1.0; }

// Steps 5 to 9 of a cell, with the options chosen once per call: the
// vertical value (copied when no column rule set it), the artificial
// diffusion, the multipliers and the triangular edges.
struct Finish {
  bool copy;
  double add, vert, hor;
  bool edges;
  double edgeFactor;
};

Finish finishOf(int model) {
  const int eq = Equation;
  Finish f{};
  f.copy = FlagTurbDLL == 0 && !isColumnModel(model);
  f.add = ArtDiff > 0.001 ? ArtDiff : 0.0;
  f.vert = activeFactor(TurbMultVert);
  f.hor = activeFactor(TurbMultHor);
  if (isMomentum(eq)) {
    f.vert *= activeFactor(TurbMultVertU);
    f.hor *= activeFactor(TurbMultHorU);
  } else {
    if (TurbMultVertU < 0.99) f.vert *= TurbMultVertU;
    if (TurbMultHorU < 0.99) f.hor *= TurbMultHorU;
  }
  f.edges = isMomentum(eq) && FlagTriEdges >= 1 && FlagTriEdges <= 3 && Btriedges && Btriedges[0] == 1;
  f.edgeFactor = FlagTriEdges == 1 ? 100.0 : (FlagTriEdges == 2 ? 20.0 : 5.0);
  return f;
}

inline void finishCell(int c, double g, const Finish &f) {
  double gv = f.copy ? g : CgammaV[c];
  gv = (gv + f.add) * f.vert;
  if (f.edges && Btriedges[Cbed[c]] > 0) gv *= f.edgeFactor;
  CgammaV[c] = gv;
  Cgamma[c] = (g + f.add) * f.hor;
}

// Step 10: corner columns, whose bottom cell misses an east or west and a
// north or south neighbour, get more horizontal mixing.
void cornerColumns(int first, int last) {
  const double f = VertDiffTrekant;
  for (int b = first; b <= last; ++b) {
    if (Ccellb[b] != 0) continue;
    const bool openI = Ccelle[b] > 0 && Ccellw[b] > 0, openJ = Ccelln[b] > 0 && Ccells[b] > 0;
    if (openI || openJ) continue;
    for (int m = b; m > 0; m = Ccellt[m]) Cgamma[m] *= f;
  }
}

// Whether the model value and every modification up to the corner columns
// are the cell's own, so that one pass over the cells forms them.
bool everyStepOwn(int model, bool mud) {
  return !windDriven(model) && !realizable(model) && TurbDensFlag != 2 && !isColumnModel(model) && !mud;
}

}  // namespace

double windDrag(double w) {
  switch (WindFlag) {
    case 0: return w > 5.6 ? w * w * (1.0 + 1.9 * (1.0 - 5.6 / w) * (1.0 - 5.6 / w)) : w * w;
    case 1: return 1.1 * w * w;
    case 2: return w < 1.0 ? 1.25 * std::pow(w, 1.5) : (w < 15.0 ? 0.5 * std::pow(w, 2.5) : 2.6 * w * w);
    default: return w;
  }
}

void windNow(double &speed, double &fx, double &fy) {
  if (TimeInNo == 0 || !Winn) {
    speed = Wind[0];
    fx = Wind[1];
    fy = Wind[2];
    return;
  }
  const SeriesBracket b = seriesBracket(TimeInTime, TimeInNo, stimet);
  const double *lower = Winn[b.lower], *upper = Winn[b.upper];
  speed = (1.0 - b.weight) * lower[0] + b.weight * upper[0];
  fx = (1.0 - b.weight) * lower[1] + b.weight * upper[1];
  fy = (1.0 - b.weight) * lower[2] + b.weight * upper[2];
}

// The eddy viscosity of cells first..last for the current Equation: the
// model value of F 24, then the chain of optional modifications in their
// fixed order. Models 7 and 10 to 13 and the corner columns write whole
// water columns, also beyond the range.
void GammaCalc(int first, int last) {
  const int model = TurbulenceModel;
  const double floor = MinGamma + ArtEddyVisc;
  const bool mud = mudOverrideActive();
  if (first > last) {
    // Only the block-wide mud steps can act.
    if (mud) mudOverride(first, last);
    bedFormTerms(first, last);
    return;
  }
  const Finish finish = finishOf(model);
  if (everyStepOwn(model, mud)) {
    // Every step is the cell's own: one pass.
    perCellValues(first, last, model, floor, [&finish](int c, double g) { finishCell(c, g, finish); });
  } else {
    modelValue(first, last, model, floor);
    if (TurbDensFlag == 2) richardsonDamping(first, last, floor);
    if (mud) mudOverride(first, last);
    if (model == 8 || model == 9) lowReynoldsVertical(first, last, model);
    else if (isColumnModel(model)) shallowColumnVertical(first, last, model);
    for (int c = first; c <= last; ++c) finishCell(c, Cgamma[c], finish);
  }
  if (VertDiffTrekant > 1e-20) cornerColumns(first, last);
  bedFormTerms(first, last);
}

void GammaCalcOnChunks(int first, int last) {
  const bool cellwise = everyStepOwn(TurbulenceModel, mudOverrideActive()) && VertDiffTrekant <= 1e-20 &&
                        !bedFormTermsAct(Equation);
  if (NoProcessesSolver > 0 && cellwise && first <= last) forEachChunk(first, last, [](int a, int b) { GammaCalc(a, b); });
  else GammaCalc(first, last);
}
