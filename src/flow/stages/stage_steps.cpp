// Shared steps of the flow stages: coefficient clearing and sums, relaxation,
// the accelerator rules and the stage clocks.
#include "flow/stages/stage_steps.h"

#include <algorithm>
#include <cmath>

#include "flow/stages/residuals.h"
#include "flow/stages/stage_dumps.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "solvers/block_correction.h"
#include "solvers/multigrid_accelerator.h"

namespace {

void clearRange(double *a, int first, int last) {
  if (a != nullptr && first <= last) std::fill(a + first, a + last + 1, 0.0);
}

// Adds the first `count` entries of a coefficient list.
double listSum(double *const *lists, const int *counts, int c) {
  if (lists == nullptr || counts == nullptr || lists[c] == nullptr) return 0.0;
  double sum = 0.0;
  for (int k = 0; k < counts[c]; ++k) sum += lists[c][k];
  return sum;
}

}  // namespace

void pointVelocityFields(int e) {
  Cf = velocityField(e);
  Cf_old = e == 1 ? Cxvel_old : (e == 2 ? Cyvel_old : Czvel_old);
  if (FlagTimeOrder > 0) Cf_old2 = e == 1 ? Cxvel_old2 : (e == 2 ? Cyvel_old2 : Czvel_old2);
}

void clearNeighbourCoefficients(int first, int last, bool second) {
  for (double *a : {Cae, Caw, Can, Cas, Cat, Cab}) clearRange(a, first, last);
  if (second) {
    for (double *a : {Caee, Caww, Cann, Cass, Catt, Cabb}) clearRange(a, first, last);
  }
}

void clearCentreAndSource(int first, int last) {
  clearRange(Cap, first, last);
  clearRange(Csource, first, last);
}

void keepAbove(double *field, double floor) {
  forEachChunk(WCStart, WCEnd, [field, floor](int first, int last) {
    for (int c = first; c <= last; ++c) field[c] = std::max(field[c], floor);
  });
}

void addNeighbourSum(int first, int last, bool second) {
  // One order of the additions for every form of a stage, so that the
  // chunked and the single-range completions agree to the last bit.
  for (int c = first; c <= last; ++c) Cap[c] = Can[c] + Cas[c] + Cae[c] + Caw[c] + Cat[c] + Cab[c] + Cap[c];
  if (second) {
    for (int c = first; c <= last; ++c)
      Cap[c] = Cann[c] + Cass[c] + Caee[c] + Caww[c] + Catt[c] + Cabb[c] + Cap[c];
  }
  if (QNFlag > 0) {
    for (int c = first; c <= last; ++c) {
      Cap[c] += listSum(Cqnae, Cncelle, c) + listSum(Cqnaw, Cncellw, c) + listSum(Cqnan, Cncelln, c) +
                listSum(Cqnas, Cncells, c);
      if (second)
        Cap[c] += listSum(Cqnaee, Cncelle, c) + listSum(Cqnaww, Cncellw, c) + listSum(Cqnann, Cncelln, c) +
                  listSum(Cqnass, Cncells, c);
    }
  }
}

void relaxEquation(int first, int last, double a, double inverse, const double *f, double fixedFrom) {
  const double keep = 1.0 - a;
  for (int c = first; c <= last; ++c) {
    if (Cap[c] >= fixedFrom) continue;
    Cap[c] *= inverse;
    Csource[c] += keep * f[c] * Cap[c];
  }
}

void addDeadEndCells(int first, int last) {
  for (int c = first; c <= last; ++c)
    if (Conecell[c] == 1) Cap[c] += 1000.0 * Cvol[c];
}

void blockCorrectionByRule(int e, int inner) {
  const int rule = blockcorr[e];
  if (rule == 1 || (rule == 2 && inner == 1) || (rule == 3 && inner == 1 && Iter == 1)) BlockCorrection();
}

void accelerateSolve(int e, int inner) {
  const int rule = blockcorr[e];
  if (rule >= 10 && rule <= 12) {
    if (Flag2DAccSolver > 0 &&
        (rule == 10 || (rule == 11 && inner == 1) || (rule == 12 && inner == 1 && Iter == 1)))
      AlgMGSolve();
    return;
  }
  blockCorrectionByRule(e, inner);
}

double pressureDiagonal(double sum) {
  if (std::isnan(sum)) return 1e-10;
  if (sum < 1e-30) return 1.0;
  return std::max(sum, 1e-10);
}

void continuityStatistics(int first, int last) {
  double sum = 0.0, largest = 0.0;
  int at = 1;
  for (int c = first; c <= last; ++c) {
    sum += Csource[c];
    const double magnitude = std::fabs(Csource[c]);
    if (magnitude > largest) {
      largest = magnitude;
      at = c;
    }
  }
  GlobContinuity = sum;
  GlobDefMax = largest;
  Glob_dmI = at;
}

void stageStamp(int i) {
  if (FlagThixoIsComputing == 0) otime[i] = wallClock();
}

double netOutflow(int c) {
  double out = 0.0;
  for (int f : {Cflatee[c], Cflatew[c], Cflaten[c], Cflates[c], Cflatet[c], Cflateb[c]}) {
    if (f <= 0) continue;
    if (Fcell1[f] == c) out += Fflux[f];
    else if (Fcell2[f] == c) out -= Fflux[f];
  }
  return out;
}

bool isMultiple(int a, int b) { return std::fabs(std::fmod(static_cast<double>(a), static_cast<double>(b))) < 0.001; }

bool slopingBed(int c) { return Barea[Cbed[c]] / Faz[Cflateb[c]] > 1.1; }

bool debugDumpDue(int inner) { return Iter == StopIter + 1 && PrintDebugBoogie != 0 && inner < 3; }

void keepInverseDiagonal(int first, int last) {
  for (int c = first; c <= last; ++c) {
    if (!(Cap[c] >= 1e-30 && Cap[c] <= 1e20)) printErrorAp(c);
    CinvAp[c] = 1.0 / Cap[c];
  }
}

void keepInverseDiagonalChunk(int first, int last, std::atomic<int> &unusable) {
  for (int c = first; c <= last; ++c) {
    if (!(Cap[c] >= 1e-30 && Cap[c] <= 1e20)) {
      atomicLowest(unusable, c);
      return;
    }
    CinvAp[c] = 1.0 / Cap[c];
  }
}

void smoothInverseDiagonal(int first, int last) {
  for (int c = first; c <= last; ++c) {
    if (Ccellb[c] != 0) continue;
    if (!(Ckdist[c] / std::sqrt(Faz[Cflateb[c]]) < 0.01)) continue;
    double sum = 0.0;
    int n = 0;
    for (int k = c; k > 0; k = Ccellt[k], ++n) sum += CinvAp[k];
    const double mean = sum / n;
    for (int k = c; k > 0; k = Ccellt[k]) CinvAp[k] = mean;
  }
}

void dampAfterSolve(int first, int last) {
  if (Cf_old == nullptr) return;
  double *u = Cf;
  const double *old = Cf_old;
  if (FlagCorrTrekant == 10) {
    const double r = relaxTrekant1;
    for (int c = first; c <= last; ++c)
      if (Ctrekant[c] > 0) u[c] = (1.0 - r) * u[c] + r * old[c];
  }
  if (FlagDamp1 == 1) {
    for (int c = first; c <= last; ++c)
      if (slopingBed(c)) u[c] = 0.5 * u[c] + 0.5 * old[c];
  } else if (FlagDamp1 == 2) {
    for (int c = first; c <= last; ++c)
      if (singleCellColumn(c) && slopingBed(c)) u[c] = 0.2 * u[c] + 0.8 * old[c];
  }
}

void finishVelocityChunks(int e, double total, int unusable) {
  if (unusable != 0) printErrorAp(unusable);
  endIfResidualNotSet();
  if (e == 1 && FlagInvApSmooth == 1) smoothInverseDiagonal(WCStart, WCEnd);
  MaxResidual[e] = total;
}
