// The per-cell value of vegetation, porous structures and solid bodies
// (Cporosity), interpolated from the column profiles of "vegdata" in time and
// elevation, and its terms in the momentum, k and epsilon equations.
#include "quality/vegetation/porosity_sources.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "quality/vegetation/vegdata_reader.h"

void vegetationTimeWeight(double t, int &set, double &weight) {
  set = 0;
  weight = 1.0;
  if (VegTimes <= 1) return;
  if (t < VegTime[0]) {
    set = 1;
    weight = 0.0;
    return;
  }
  for (int j = 1; j < VegTimes; ++j) {
    if (VegTime[j - 1] <= t && t < VegTime[j]) {
      set = j;
      weight = (t - VegTime[j - 1]) / (VegTime[j] - VegTime[j - 1] + 1e-20);
      return;
    }
  }
  set = VegTimes - 1;
}

namespace {

int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// The deepest scour under a structure (bottom cell value above 100) grows
// deltazscourG, which never decreases: a hole that fills again keeps the
// profile of its deepest state.
void followSinkScour() {
  const int jFirst = FlagSinkScour == 1 ? 2 : FlagSinkScour;
  const int jLast = FlagSinkScour == 1 ? ynumber + 1 : FlagSinkScour;
  int bi = 0, bj = 0;
  double lowest = 0.0;
  for (int i = 2; i <= xnumber + 1; ++i) {
    for (int j = std::max(jFirst, 0); j <= std::min(jLast, ynumber + 1); ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0 || Cporosity[c] <= 100.0) continue;
      if (bi == 0 || Czcenter[c] < lowest) {
        bi = i;
        bj = j;
        lowest = Czcenter[c];
      }
    }
  }
  if (bi == 0) return;
  const double depth = Surfaces[0][bi][bj] - zval[bi][bj][1];
  deltazscourG = std::max(deltazscourG, std::max(0.0, depth + deltaSinkScour));
}

// Strong pressure gradients at the bed tear the vegetation of the bottom cell away.
void removeByPressureGradient() {
  const GridBlock &g = block[1];
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const int w = Ccellw[c], e = Ccelle[c], s = Ccells[c], n = Ccelln[c];
      if (w <= 0 || e <= 0 || s <= 0 || n <= 0) continue;
      const double gi = std::fabs(Cpres[w] - Cpres[e]) / (4.0 * Cidist[c]);
      const double gj = std::fabs(Cpres[n] - Cpres[s]) / (4.0 * Cjdist[c]);
      if (gi > presGradPorosBed || gj > presGradPorosBed) Cporosity[c] = 0.0;
    }
  }
}

void reportOddValues(int set, double weight) {
  for (int i = 2; i <= xnumber; ++i) {
    for (int j = 2; j <= ynumber; ++j) {
      for (int c = bottomCell(i, j); c > 0; c = Ccellt[c]) {
        if (Cporosity[c] >= -1e7 && Cporosity[c] <= 1e6) continue;
        const int b = Cbed[c];
        logPrintf("Error in setting porosity: value (%d) = %le \n", c, Cporosity[c]);
        logPrintf("i=%d,j=%d,b=%d,nx=%d,ny=%d,iTime=%d\n", i, j, b, xnumber + 2, ynumber + 2, set);
        logPrintf("midt = %le,\n", weight);
        for (int t : {set, set - 1}) {
          if (t < 0 || b <= 0) continue;
          for (int k = 0; k < std::min(4, VegLevels); ++k)
            logPrintf("Bveg[b][iTime%s][0][%d] = %le,Bveg[b][iTime%s][1][%d] = %le\n", t == set ? "" : "-1", k,
                      Bveg[b][t][0][k], t == set ? "" : "-1", k, Bveg[b][t][1][k]);
        }
      }
    }
  }
}

}  // namespace

void computePorosity() {
  int set = 0;
  double weight = 1.0;
  vegetationTimeWeight(stimet, set, weight);
  if (FlagSinkScour == 1 || FlagSinkScour > 30) {
    followSinkScour();
    vegetationTimeWeight(deltazscourG, set, weight);
  }
  const int previous = set > 0 ? set - 1 : 0;
  for (int i = 2; i <= xnumber + 1; ++i) {
    for (int j = 2; j <= ynumber + 1; ++j) {
      const int bottom = bottomCell(i, j);
      if (bottom <= 0 || Cbed[bottom] <= 0) continue;
      double ***veg = Bveg[Cbed[bottom]];
      for (int c = bottom; c > 0; c = Ccellt[c]) {
        const double z = Czcenter[c];
        const double now = profileValue(veg[set][0], veg[set][1], VegLevels, z);
        Cporosity[c] =
            VegTimes == 1 ? now : weight * now + (1.0 - weight) * profileValue(veg[previous][0], veg[previous][1],
                                                                                 VegLevels, z);
      }
    }
  }
  Cporosity[0] = 0.0;
  if (presGradPorosBed > 0.0001) removeByPressureGradient();
  if (debugging == 'D') reportOddValues(set, weight);
}

namespace {

double equationVelocity(int c) { return Equation == 1 ? Cxvel[c] : Equation == 2 ? Cyvel[c] : Czvel[c]; }

// Momentum: a linear resistance of blockage data stops the flow inside the
// body; vegetation retards it with a quadratic drag.
void momentumTerms() {
  if (FlagDragDLL == 101 && Equation != 1) return;
  if (FlagDragDLL == 101 && std::fabs(momentumAddInflow) > 1e-20) {
    // The added momentum is spread over the vegetated cells in proportion to Cvol x P.
    double total = 0.0;
    for (int c = WCStart; c <= WCEnd; ++c) total += Cvol[c] * Cporosity[c];
    if (total <= 0.0) return;
    for (int c = WCStart; c <= WCEnd; ++c) Csource[c] += 1000.0 * momentumAddInflow * Cvol[c] * Cporosity[c] / total;
    return;
  }
  if (FlagDragDLL == 2 && Equation == 3) return;
  if (FlagTypeVegdata == 4) {
    for (int c = WCStart; c <= WCEnd; ++c) Cap[c] += 1000.0 * Cvol[c] * Cporosity[c];
    return;
  }
  if (FlagDragDLL != 1 && FlagDragDLL != 2) return;
  const bool areaBased = FlagTypeVegdata == 2;
  for (int c = WCStart; c <= WCEnd; ++c) {
    const double u = equationVelocity(c);
    const double area = areaBased ? Farea[Cflateb[c]] : 1.0;
    const double drag = 1000.0 * Ckdist[c] * std::fabs(u) * Cporosity[c] * area;
    if (FlagDragDLL == 1)
      Cap[c] += drag;
    else
      Csource[c] -= drag * u;
  }
}

// An open cell beside a blocked one, above or below.
bool besideBlocked(int c) {
  return Cporosity[c] < 0.01 && (Cporosity[Ccellb[c]] > 0.01 || Cporosity[Ccellt[c]] > 0.01);
}

// k and epsilon of the wall law on the faces of a solid body: k is produced
// and dissipated as at a wall, epsilon is fixed to its wall value.
void turbulenceTerms() {
  if (FlagTypeVegdata != 4) return;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (!besideBlocked(c)) continue;
    const double k = std::max(Ckinen[c], ArtMinKinen);
    const double y = Ckdist[c];
    if (Equation == 5) {
      const double u2 = Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c] + Czvel[c] * Czvel[c];
      const double logLaw = XksWall > 0.0 ? 2.5 * std::log(30.0 * y / XksWall) : MinUPlusK;
      const double uPlus = std::max(MinUPlusK, logLaw);
      Cap[c] += 164.31676725 * std::sqrt(k) * uPlus / y * Cvol[c];
      Csource[c] += 31.62 * std::sqrt(300.0 * k) * u2 / (uPlus * y) * Cvol[c];
    } else {
      Cap[c] = 1e30;
      Csource[c] = 1.643e29 * std::pow(k, 1.5) / (0.4 * y);
    }
  }
}

}  // namespace

void extra_source() {
  if (FlagInitPoros == 0) readVegdata();
  computePorosity();
  if (FlagDragDLL <= 0) return;
  if (Equation >= 1 && Equation <= 3)
    momentumTerms();
  else if (Equation == 5 || Equation == 6)
    turbulenceTerms();
}
