// The discharges of a sediment step, the outflow terms of the bed-cell
// balance (Bap, Binout), the suspended volume kept over a grid move (Cconc,
// Cconc_old, totalsusp) and the deposit depths of block 1.
#include "sediment/loop/bed_coefficients.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/operations.h"

namespace {

constexpr int kGroups = 9;

// The cell behind a boundary face.
int boundaryCell(int f) { return Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f]; }

// A bottom cell has no cell below it.
bool bottomCell(int c) { return c > 0 && Ccellb[c] == 0; }

// Outflow term of face f of group g by its boundary kind; sumOut is the
// group's summed outgoing velocity (zero-gradient groups).
double outflowTerm(const DischargeGroup &group, double q, int f, int c, double sumOut) {
  const double byArea = Farea[f] * q / (group.area + 1e-30);
  if (group.boundaryKind == 0) return byArea;
  const double out = std::max(0.0, -(Cxvel[c] * Fax[f] + Cyvel[c] * Fay[f] + 1e-20) * Fin[f]);
  return out * q / sumOut * relaxOutFlux + (1.0 - relaxOutFlux) * byArea;
}

// The mean deposit depth (bed level over its start level) of grid points
// i = from..to, j = j1-1..j2-1 of block 1; 0 for an empty range.
double meanDeposit(int from, int to) {
  const GridBlock &b = block[1];
  double sum = 0.0;
  int n = 0;
  for (int i = std::max(from, 0); i <= to; ++i) {
    for (int j = b.j1 - 1; j <= b.j2 - 1; ++j) {
      sum += zval[i][j][1] - Surfaces[0][i][j];
      ++n;
    }
  }
  return n > 0 ? sum / n : 0.0;
}

// A suspended volume that is not a number: the first cell that makes the sum
// so is reported, the results are written and the run ends.
[[noreturn]] void stopAtNaN(int l) {
  double sum = 1e-30;
  int c = 1;
  for (; c < NoCells; ++c) {
    sum += Cconc[l][c] * Cvol[c];
    if (std::isnan(sum)) break;
  }
  logPrintf("Error in scaleConcGridMove2, l=%d, i=%d, Cconc = %le, Cvol = %le\n\n", l, c, Cconc[l][c], Cvol[c]);
  operations.sprintflow();
  fatalExit(kExitConcentrationNaN, nullptr);
}

}  // namespace

void stepDischarges(bool clampWeight) {
  if (FlagDischargeTime == 0 || TimeInNo < 1 || !TimeInTime || !QDinn) {
    for (int g = 1; g <= kGroups; ++g) DischargeArray[g] = DischargeStruct[g].discharge;
    return;
  }
  SeriesBracket at = seriesBracket(TimeInTime, TimeInNo, stimet);
  if (clampWeight) at.weight = std::max(at.weight, 0.0);
  for (int g = 1; g <= kGroups; ++g) {
    if (DischargeStruct[g].type <= 0 && g > 2) continue;
    DischargeArray[g] = ((1.0 - at.weight) * QDinn[at.lower][g] + at.weight * QDinn[at.upper][g]) * 1000.0;
  }
}

void MakeAp(int l) {
  stepDischarges(true);
  double *ap = Bap[l];
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 0 || group.faceCount < 1) continue;
    if (group.boundaryKind != 0 && group.boundaryKind != 1) continue;
    const double q = DischargeArray[g];
    double sumOut = 1e-40;
    if (group.boundaryKind == 1) {
      for (int n = 0; n < group.faceCount; ++n) {
        const int f = group.faces[n], c = boundaryCell(f);
        sumOut += std::max(0.0, -(Cxvel[c] * Fax[f] + Cyvel[c] * Fay[f] + 1e-20) * Fin[f]);
      }
    }
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n], c = boundaryCell(f);
      if (!bottomCell(c) || Cbed[c] <= 0) continue;
      const double term = outflowTerm(group, q, f, c, sumOut);
      ap[Cbed[c]] += term;
      if (l == 1) Binout[Cbed[c]] -= term;
    }
  }
  for (int n = 1; n <= NoNestflater; ++n) {
    const int c = Npcelle[n];
    if (!bottomCell(c) || Nflux[n] >= 0.0) continue;
    ap[Cbed[c]] -= Nflux[n] * 1000.0;
  }
}

void scaleConcGridMove1() {
  for (int l = 1; l <= lnumber; ++l) {
    double sum = 1e-30;
    for (int c = 1; c <= NoCells; ++c) sum += Cconc[l][c] * Cvol[c];
    totalsusp[l] = sum;
  }
}

void scaleConcGridMove2() {
  for (int l = 1; l <= lnumber; ++l) {
    double sum = 1e-30;
    for (int c = 1; c <= NoCells; ++c) sum += Cconc[l][c] * Cvol[c];
    if (std::isnan(sum)) stopAtNaN(l);
    double factor = totalsusp[l] / sum;
    if (FlagDefectRatio > 0) factor *= std::clamp(1.0 + kDefectRatio[l], 0.9, 1.1);
    for (int c = 1; c <= NoCells; ++c) Cconc[l][c] *= factor;
    if (Cconc_old) {
      for (int c = 1; c <= NoCells; ++c) Cconc_old[l][c] *= factor;
    }
  }
}

void computeDepthDeposit() {
  const GridBlock &b = block[1];
  if (NoDownstreamDeposit == 0) NoDownstreamDeposit = b.i2 / 6;
  // The outlet range starts no lower than the block's first grid line.
  const int outFrom = std::max(b.i2 - NoDownstreamDeposit, b.i1 - 1);
  depthDepositOut = meanDeposit(outFrom, b.i2 - 1);
  const int inEnd = b.i2 / 5 > b.i1 + 2 ? b.i2 / 5 : b.i1 + 2;
  depthDepositIn = meanDeposit(b.i1, inEnd - 1);
  depthDepositOut = std::max(depthDepositOut, 0.0);
  depthDepositIn = std::max(depthDepositIn, 0.0);
}
