// Limiters after the SIMPLE correction, on the driver's thread over the work
// ranges: the pressure of lone edge cells (Cpres), the vertical velocity and
// flux between stacked cells (Czvel, Fflux), and cells whose faces all let out.
#include "flow/corrections/correction_limiters.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

// A single cell of its column at the edge of the wet area (at most two
// horizontal neighbours) may not differ in pressure from its closest
// neighbour by more than a water-surface slope of F 136 over their distance.
void limitEdgePressure() {
  const double slope = PresGradMax;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] != 0 || Ccellt[c] != 0) continue;
    const int sides[4] = {Ccellw[c], Ccelle[c], Ccells[c], Ccelln[c]};
    int present = 0;
    for (int m : sides) present += m > 0;
    if (present > 2) continue;
    int r = 0;
    bool alongI = false;
    double closest = 1e20;
    for (int k = 0; k < 4; ++k) {
      const int m = sides[k];
      if (m <= 0) continue;
      const double d = std::fabs(Cpres[m] - Cpres[c]);
      if (d < closest) {
        closest = d;
        r = m;
        alongI = k < 2;
      }
    }
    if (r == 0) continue;
    const double L = slope * 9810.0 * (alongI ? Cidist[r] + Cidist[c] : Cjdist[r] + Cjdist[c]);
    Cpres[c] = std::min(std::max(Cpres[c], Cpres[r] - L), Cpres[r] + L);
  }
}

// The vertical velocity of stacked cells, and the flux between them, held
// within a share of their mean horizontal speed: 0.1 (F 203 1), the cell's
// aspect ratio (2), or the ratio of flat cells only (3).
void limitVerticalVelocity(int rule) {
  for (int f = WFStart; f <= WFEnd; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    if (c1 <= 0 || c2 <= 0) continue;
    if (Ftype1[f] != 6 && Ftype2[f] != 6) continue;
    const double V = 0.5 * (std::sqrt(Cxvel[c1] * Cxvel[c1] + Cyvel[c1] * Cyvel[c1]) +
                            std::sqrt(Cxvel[c2] * Cxvel[c2] + Cyvel[c2] * Cyvel[c2]));
    double L;
    if (rule == 1) {
      L = 0.1 * V;
    } else if (rule == 2) {
      L = Ckdist[c1] / Cidist[c1] * V;
    } else {
      const double ratio = (Ckdist[c1] + Ckdist[c2]) / (Cidist[c1] + Cidist[c2] + Cjdist[c1] + Cjdist[c2]);
      if (!(ratio < 0.01)) continue;
      L = ratio * V;
    }
    Czvel[c1] = std::min(std::max(Czvel[c1], -L), L);
    Czvel[c2] = std::min(std::max(Czvel[c2], -L), L);
    const double F = 1000.0 * L * Farea[f];
    Fflux[f] = std::min(std::max(Fflux[f], -F), F);
  }
}

// A cell that only lets water out cannot hold mass: the flux of its first
// side with a neighbour (south, west, north, east, bottom, top) is turned
// into a small inflow. Cells of the discharge groups are left as they are.
void repairOutflowCells(int inner) {
  const bool logLines = inner == TransInnerIter && debugging == 'K';
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Cinout[c] != 0) continue;
    if (Fflux[Cflateb[c]] > 0.0 || Fflux[Cflatet[c]] < 0.0 || Fflux[Cflates[c]] > 0.0 ||
        Fflux[Cflaten[c]] < 0.0 || Fflux[Cflatee[c]] < 0.0 || Fflux[Cflatew[c]] > 0.0) {
      continue;
    }
    const int neighbours[6] = {Ccells[c], Ccellw[c], Ccelln[c], Ccelle[c], Ccellb[c], Ccellt[c]};
    const int faces[6] = {Cflates[c], Cflatew[c], Cflaten[c], Cflatee[c], Cflateb[c], Cflatet[c]};
    static constexpr char kLetters[6] = {'s', 'w', 'n', 'e', 'b', 't'};
    for (int k = 0; k < 6; ++k) {
      if (neighbours[k] <= 0) continue;
      Fflux[faces[k]] *= -0.01;
      if (logLines) {
        const int b = Cbed[c];
        logPrintf("WarningSC, Iter %d, [%d,%d], corrected direction of flow%c(%d)\n", Iter, Bkooi[b], Bkooj[b],
                  kLetters[k], c);
      }
      break;
    }
  }
}

}  // namespace

void CorrSimpleCorrections(int inner) {
  if (PresGradMax > 1e-20) limitEdgePressure();
  if (FlagVertVelStab >= 1 && FlagVertVelStab <= 3) limitVerticalVelocity(FlagVertVelStab);
  if (FlagFlowDirCor == 1) repairOutflowCells(inner);
}
