// Continuity defect of the pressure correction: the net mass inflow of every
// cell into Csource, level-storage terms of the free surface, the discharges
// of the groups at the current time (DischargeArray) and GlobFluxDefect.
#include "flow/corrections/continuity_defect.h"

#include <algorithm>

#include "flow/boundaries/boundary_fluxes.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

constexpr int kGroups = 9;  // discharge groups 1..9

// Phase 1: what flows in minus what flows out; a face flux leaves the cell
// through its east, north and top sides and enters through the others.
void netInflow() {
  for (int c = WCStart; c <= WCEnd; ++c) {
    Csource[c] = -(Fflux[Cflatee[c]] - Fflux[Cflatew[c]] + Fflux[Cflaten[c]] - Fflux[Cflates[c]] +
                   Fflux[Cflatet[c]] - Fflux[Cflateb[c]]);
  }
}

// Subtracts s from Csource of every cell of the column above bottom cell c.
void withdrawFromColumn(int c, double s) {
  for (; c > 0; c = Ccellt[c]) Csource[c] -= s;
}

int cellsOfColumn(int c) {
  int n = 0;
  for (; c > 0; c = Ccellt[c]) ++n;
  return n;
}

// Phase 2 (F 271): the level correction Bdeltah of a column stores water over
// the storage interval, taken evenly from its cells.
void levelCorrectionStorage() {
  const double dt = std::max(TimeStep, stimeWL2 - stimeWL1);
  if (!(dt > 1e-8)) return;
  for (int b = 1; b <= NoBCells; ++b) {
    if (Bcellt[b] <= 0) continue;
    withdrawFromColumn(Bcellt[b], Bdeltah[b] * 1000.0 * Barea[b] / (Bnocells[b] * dt));
  }
}

// Phase 3.1 (F 287 7): the level change of plane 4 of Surfaces over one
// surface-update interval, the mean of the column's four corners, as a sink.
void surfacePlaneSink() {
  const double interval = IterWaterUpdate * TimeStep;
  if (!(interval > 1e-8)) return;
  double **S = Surfaces[4];
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &k = block[b];
    if (k.GridLevel != 0 || SurfUpdate[b] != 1) continue;
    for (int i = std::max(k.i1 - 1, 1); i <= k.i2; ++i) {
      for (int j = std::max(k.j1 - 1, 1); j <= k.j2; ++j) {
        const int c0 = static_cast<int>(zval[i][j][0]);
        if (c0 <= 0) continue;
        const double corners = S[i][j] + S[i - 1][j] + S[i][j - 1] + S[i - 1][j - 1];
        withdrawFromColumn(c0, corners * 250.0 * Barea[Cbed[c0]] / interval / cellsOfColumn(c0));
      }
    }
  }
}

// Phase 3.2 (F 284): storage of the moving surface added to the centre
// coefficient, in transient runs only.
void surfaceStorageOnCap() {
  if (!(TimeStep > 1e-8) || FlagTFS4 < 1 || FlagTFS4 > 3) return;
  for (int b = 1; b <= NoBCells; ++b) {
    const int bottom = Bcellt[b];
    if (bottom <= 0) continue;
    if (FlagTFS4 == 1) {
      const double add = Barea[b] * relaxPressure * TransInnerIter / (Bnocells[b] * 9.81 * TimeStep);
      for (int c = bottom; c > 0; c = Ccellt[c]) Cap[c] += add;
    } else if (FlagTFS4 == 2) {
      int top = bottom;
      while (Ccellt[top] > 0) top = Ccellt[top];
      Cap[top] += Barea[b] * Barea[b] * 1000.0 * CinvAp[top];
    } else {
      for (int c = bottom; c > 0; c = Ccellt[c]) Cap[c] += Barea[b] * Barea[b] * 1000.0 * CinvAp[c];
    }
  }
}

// Phase 4: the discharge of each group now, kg/s: as given, or interpolated
// in the "timei" series (m3/s) for the groups with faces and always for the
// inflow and outflow groups 1 and 2; the downstream level likewise.
void dischargesInUse() {
  if (FlagDischargeTime == 0 || !TimeInTime) {
    for (int g = 1; g <= kGroups; ++g) DischargeArray[g] = DischargeStruct[g].discharge;
    Hout = 0.0;
    return;
  }
  const SeriesBracket s = seriesBracket(TimeInTime, TimeInNo, stimet);
  const double earlier = 1.0 - s.weight;
  for (int g = 1; g <= kGroups; ++g) {
    if (DischargeStruct[g].faceCount < 1 && g > 2) continue;
    DischargeArray[g] = 1000.0 * (earlier * QDinn[s.lower][g] + s.weight * QDinn[s.upper][g]);
  }
  Hout = earlier * TimeInHout[s.lower] + s.weight * TimeInHout[s.upper];
}

// Phase 5: what the groups with faces bring in minus what they take out.
void globalFluxDefect() {
  GlobFluxDefect = 0.0;
  if (FlagMPI != 0) return;
  for (int g = 1; g <= kGroups; ++g) {
    if (DischargeStruct[g].faceCount < 1 || !(DischargeArray[g] > 1e-8)) continue;
    GlobFluxDefect += DischargeStruct[g].type == 0 ? -DischargeArray[g] : DischargeArray[g];
  }
}

// The blocks whose columns the appended two-dimensional block stands for.
inline bool collectedBlock(const GridBlock &b) { return b.NestLevel == 0 && b.BlockKind == 0; }

// Phase 6: the three-dimensional cells start from 0, so that only the
// boundary fluxes of phase 7 reach them.
void clearCollectedBlocks() {
  for (int b = 1; b <= NoBlocks - 1; ++b) {
    if (!collectedBlock(block[b])) continue;
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) Csource[c] = 0.0;
  }
}

// Phase 8: each column's sources summed onto its cell of the two-dimensional
// block, column by column in cell order.
void collectColumnSums() {
  int k = WCStart;
  for (int b = 1; b <= NoBlocks - 1; ++b) {
    if (!collectedBlock(block[b])) continue;
    for (int c = block[b].FirstCell; c <= block[b].LastCell; ++c) {
      if (Ccellt[c] != 0) continue;
      double sum = 0.0;
      for (int d = c; d > 0; d = Ccellb[d]) sum += Csource[d];
      Csource[k++] += sum;
    }
  }
}

// Phase 9 (F 181, F 234 1 and 2): the outflow cells take no correction; with
// F 234 1 their pressure is hydrostatic below the surface.
void outflowCells() {
  if (FlagSurfPresDownstream != 1 && FlagSurfPresDownstream != 2) return;
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 0 || group.faceCount < 1) continue;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
      Csource[c] = 0.0;
      if (FlagSurfPresDownstream == 1) {
        double above = 0.0;
        for (int d = Ccellt[c]; d > 0; d = Ccellt[d]) above += Ckdist[d];
        Cpres[c] = 9810.0 * (Ckdist[c] + 2.0 * above);
      }
    }
  }
}

// Phase 10 (F 373 above 1): no cell's defect beyond ±0.01·F 373 kg/s.
void clampDefect() {
  const double bound = 0.01 * FlagPresCorrStab;
  for (int c = WCStart; c <= WCEnd; ++c) Csource[c] = std::clamp(Csource[c], -bound, bound);
}

}  // namespace

void pressure_fluxes() {
  netInflow();
  if (FlagTFS2 > 0) levelCorrectionStorage();
  if (FlagTFS > 0) {
    if (FlagGlobFlux == 7) surfacePlaneSink();
    surfaceStorageOnCap();
  }
  dischargesInUse();
  globalFluxDefect();
  const bool twoDimensional = WCStart >= 1 && WCStart <= WCEnd && CflagDim[WCStart] == 1;
  if (twoDimensional) clearCollectedBlocks();
  boundaryFluxes();
  if (twoDimensional) collectColumnSums();
  if (FlagGravity > 0) outflowCells();
  if (FlagPresCorrStab > 1) clampDefect();
}
