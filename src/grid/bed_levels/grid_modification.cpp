// Local deepening of the grid where the flow does not settle: the bed corners
// under the bottom cell with the largest k residual are lowered to a margin
// below the water level of their grid lines.
#include "grid/bed_levels/grid_modification.h"

#include <algorithm>
#include <cmath>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/log.h"

namespace {

// Lowers point p to the water level of grid line (i, j) less the margin.
void lowerCorner(int p, int i, int j) {
  Pz[p] = std::min(Pz[p], zval[i][j][znumber] - DzModifyGrid);
}

// A full geometry pass resets every face flag: the discharge-group faces
// carry flow again, as the start of the flow computation marked them.
void markGroupFaces() {
  for (int g = 0; g < kDischargeGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (!(std::fabs(group.discharge) > 1e-20)) continue;
    for (int n = 0; n < group.faceCount; ++n) {
      const int f = group.faces[n];
      if (f >= 1 && f <= NoSurfaces) Fflagflow[f] = 1;
    }
  }
}

}  // namespace

void ModifyGrid() {
  if (!Bkooi || !Ckinen_res || WCStart > WCEnd) return;
  int cell = 0;
  double largest = 0.0;
  for (int c = WCStart; c <= WCEnd; ++c) {
    if (Ccellb[c] == 0 && Ckinen_res[c] > largest) {
      largest = Ckinen_res[c];
      cell = c;
    }
  }
  if (cell == 0) return;
  const int b = Cbed[cell], i = Bkooi[b], j = Bkooj[b];
  lowerCorner(Cpoint1[cell], i - 1, j - 1);
  lowerCorner(Cpoint2[cell], i, j - 1);
  lowerCorner(Cpoint3[cell], i, j);
  lowerCorner(Cpoint4[cell], i - 1, j);
  if (FlagModifyGrid > 1) {
    if (const int e = Ccelle[cell]; e > 0) {
      lowerCorner(Cpoint2[e], i + 1, j - 1);
      lowerCorner(Cpoint3[e], i + 1, j);
    }
    if (const int w = Ccellw[cell]; w > 0) {
      lowerCorner(Cpoint1[w], i - 2, j - 1);
      lowerCorner(Cpoint4[w], i - 2, j);
    }
    if (const int s = Ccells[cell]; s > 0) {
      lowerCorner(Cpoint1[s], i - 1, j - 2);
      lowerCorner(Cpoint2[s], i, j - 2);
    }
    if (const int n = Ccelln[cell]; n > 0) {
      lowerCorner(Cpoint3[n], i, j + 1);
      lowerCorner(Cpoint4[n], i - 1, j + 1);
    }
  }
  const bool recomputes = FlagTestBugMetric != 0;
  metric();
  if (recomputes) markGroupFaces();
  if (debugging == 'D') logPrintf("ModifyGrid algorithm: %d cells, maxresidualcell = %lf\n", cell, largest);
}
