// Pond removal: water columns of block 1 that no inflow or outflow reaches
// across wet columns (or, with ridge marks, across passable grid edges) lose
// their cells, so that cut-off ponds do not stall the solution. Writes
// ridgeI, ridgeJ, Bponds, Bdepth, ant of block 1 and, with F 542, Cpres.
#include <algorithm>

#include "grid/generation/grid_build.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"

namespace {

bool wetLine(int i, int j) { return antlin[i][j] >= 2; }

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

double meanCornerDepth(int i, int j) {
  return 0.25 * (depthAt(i - 1, j - 1) + depthAt(i, j - 1) + depthAt(i, j) + depthAt(i - 1, j));
}

bool groupHasFaces(int g) { return DischargeStruct[g].faceCount >= 1; }

// The reference depth of the seeds: the deepest column listed by a group
// (the last entry of each list left out), times F 491.
double seedThreshold() {
  double deepest = -1e7;
  for (int g = 1; g <= 9; ++g) {
    if (!groupHasFaces(g)) continue;
    const int *list = DischargeStruct[g].bedCells;
    for (int n = 1; n <= list[0] - 1; ++n) deepest = std::max(deepest, Bdepth[list[n]]);
  }
  return CoeffPonds * deepest;
}

void markSeeds(double threshold) {
  for (int g = 1; g <= 9; ++g) {
    if (!groupHasFaces(g) || DischargeStruct[g].bedCells[0] < 2) continue;
    const int *list = DischargeStruct[g].bedCells;
    for (int n = 1; n <= list[0] - 1; ++n) {
      if (Bdepth[list[n]] > threshold || threshold < 0.01) Bponds[list[n]] = 1;
    }
  }
}

// The column (i, j) is marked when it lies in the grid, has a bed cell and cells.
void reach(int i, int j) {
  if (i < 0 || j < 0 || i > xnumber + 1 || j > ynumber + 1) return;
  const int b = pointbed[i][j];
  if (b > 0 && ant[i][j] > 0) Bponds[b] = 1;
}

// From a marked column to its four side neighbours; with ridge marks only
// across the edges that water can pass.
void spreadFrom(int i, int j, bool ridges) {
  if (Bponds[pointbed[i][j]] != 1) return;
  if (!ridges || ridgeI[i][j] == 1) reach(i + 1, j);
  if (!ridges || ridgeI[i - 1][j] == 1) reach(i - 1, j);
  if (!ridges || ridgeJ[i][j] == 1) reach(i, j + 1);
  if (!ridges || ridgeJ[i][j - 1] == 1) reach(i, j - 1);
}

void spread(const GridBlock &b) {
  const bool ridges = FlagRemovePonds > 1000;
  const int passes = ridges ? FlagRemovePonds - 1000 : FlagRemovePonds;
  for (int pass = 0; pass < passes; ++pass) {
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) spreadFrom(i, j, ridges);
    }
    for (int j = b.j2; j >= b.j1; --j) {
      for (int i = b.i2; i >= b.i1; --i) spreadFrom(i, j, ridges);
    }
  }
}

// F 542 clears the pressure of the removed column from the bottom cell its
// level 0 names; while the grid is built that entry is still 0, so only the
// spare cell 0 is reached.
void clearColumnPressure(int i, int j) {
  if (!Cpres) return;
  for (int c = static_cast<int>(zval[i][j][0]);; c = Ccellt[c]) {
    Cpres[c] = 0.0;
    if (Ccellt[c] <= 0) break;
  }
}

}  // namespace

// The counts of MakeAntlin, before the filters, tell where water can pass
// between two columns of block 1.
void makeRidge() {
  for (int i = 0; i <= xnumber + 1; ++i) {
    std::fill(ridgeI[i], ridgeI[i] + ynumber + 2, 0);
    std::fill(ridgeJ[i], ridgeJ[i] + ynumber + 2, 0);
  }
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2 - 1; ++j) {
      if (wetLine(i, j - 1) || wetLine(i, j)) ridgeI[i][j] = 1;
    }
  }
  for (int i = b.i1; i <= b.i2 - 1; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      if (wetLine(i - 1, j) || wetLine(i, j)) ridgeJ[i][j] = 1;
    }
  }
}

// Marks spread from the bed cells under the discharge groups' faces; what is
// not reached is a pond. The lists are filled by the bed-cell index after the
// first grid, so the first grid keeps its ponds.
void removePonds() {
  setStatus(mc_message, "Function removePonds");
  if (DischargeStruct[1].bedCells[0] == 0 || NoBlocks < 1 || !Bponds || !Bdepth) {
    setStatus(mc_message, "End removePonds");
    return;
  }
  const GridBlock &b = block[1];
  std::fill(Bponds, Bponds + NoBCells + 1, 0);
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) Bdepth[pointbed[i][j]] = meanCornerDepth(i, j);
  }
  markSeeds(seedThreshold());
  spread(b);
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (Bponds[pointbed[i][j]] == 1) continue;
      ant[i][j] = 0;
      if (FlagPondsPres == 1) clearColumnPressure(i, j);
    }
  }
  setStatus(mc_message, "End removePonds");
}
