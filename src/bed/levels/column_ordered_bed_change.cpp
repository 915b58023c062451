// The column-ordered bed change: ranked passes over each block so that a
// deposit is in place before any column erodes, and the columns that erode
// through their bed layers go before the others. Each column finds its
// neighbours through its own cell connectivity.
#include "bed/levels/column_ordered_bed_change.h"

#include <cmath>

#include "bed/levels/bed_change_completion.h"
#include "bed/levels/bed_smoothing.h"
#include "bed/levels/corner_spreading.h"
#include "bed/levels/corner_weighting.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

// The eight neighbours from the reference cell's connectivity; a diagonal
// is reached over the side cell, or over the other side where that is
// missing. Each is taken down to the lowest cell of its column.
void findNeighbours(CornerColumn &col) {
  const int r = col.ref;
  const int e = Ccelle[r], s = Ccells[r], w = Ccellw[r], n = Ccelln[r];
  const auto over = [](int first, int second) { return first != 0 ? first : second; };
  int *side = col.side;
  side[East] = e;
  side[South] = s;
  side[West] = w;
  side[North] = n;
  side[SouthEast] = over(Ccelle[s], Ccells[e]);
  side[SouthWest] = over(Ccellw[s], Ccells[w]);
  side[NorthWest] = over(Ccellw[n], Ccelln[w]);
  side[NorthEast] = over(Ccelle[n], Ccelln[e]);
  for (int k = 0; k < kSides; ++k) side[k] = lowestCellUnder(side[k]);
}

// Skew weights 1 + c where c, the cosine between the velocity and the
// corner seen from the centre, is positive: corners downstream of the centre
// take the larger sums.
void downstreamWeights(const CornerColumn &col, double W[5]) {
  const int r = col.ref;
  const double u = Cxvel[r], v = Cyvel[r];
  for (int k = 1; k <= 4; ++k) {
    const int p = cornerPoint(r, k);
    const double dx = Px[p] - Cxcenter[r], dy = Py[p] - Cycenter[r];
    const double c = (u * dx + v * dy) / ((std::sqrt(u * u + v * v) + 1e-20) * (std::sqrt(dx * dx + dy * dy) + 1e-20));
    W[k] = c > 0.0 ? 1.0 + c : 1.0;
  }
}

void skewCorners(CornerColumn &col) {
  static constexpr double kSkew[5] = {0.0, 1.5, 2.0, 5.0, 10.0};
  const int option = FlagSkewedBedchange;
  const bool erosion = col.dz < 0.0;
  double W[5];
  if (option >= 1 && option <= 4) {
    levelWeights(col, kSkew[option], !erosion, W);
  } else if (option == 5 || (option == 6 && erosion)) {
    downstreamWeights(col, W);
  } else {
    return;
  }
  skewAreaSums(col, W);
}

// F 132: a corner water level too low for the largest surface Froude number
// is raised to the depth that number allows; with F 105 above 10000 the
// corners relax towards their reference level instead.
void limitWaterLevels(const CornerColumn &col) {
  const int r = col.ref;
  const double u = Cxvel[r], v = Cyvel[r];
  const double hF = (u * u + v * v) / (FroudeMaxSurface * FroudeMaxSurface * 9.81);
  double *levels[5];
  double sum = 0.0;
  for (int k = 1; k <= 4; ++k) {
    levels[k] = zval[col.i + kCornerDi[k]][col.j + kCornerDj[k]];
    sum += levels[k][znumber];
  }
  sum -= Pz[Cpoint1[r]] + Pz[Cpoint2[r]] + Pz[Cpoint3[r]] + Pz[Cpoint4[r]];
  const double h = 0.25 * sum;
  if (h > 0.0 && h < hF) {
    for (int k = 1; k <= 4; ++k) levels[k][znumber] += hF - h;
  } else if (IterWaterUpdate > 10000 && h > 0.0) {
    for (int k = 1; k <= 4; ++k) {
      const double reference = levels[k][znumber + 1];
      double &w = levels[k][znumber];
      if (w > reference) w = reference + 0.97 * (w - reference);
    }
  }
}

bool isWorkBlock(const GridBlock &g) { return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1; }

// The pass a column's change belongs to: 1 deposits, 2 erosions of more
// than 90 % of the two bed layers, 3 the other erosions; 0 none.
int passOf(int b) {
  const double dz = Bedmove[b];
  if (dz > 1e-12) return 1;
  if (!(dz < -1e-12)) return 0;
  return -dz / (BSedDistrib[0][0][b] + BSedDistrib[1][0][b] + 1e-20) > 0.9 ? 2 : 3;
}

}  // namespace

void bedchangeCell(int i, int j, int b, int i1, int i2, int j1, int j2) {
  Barea[0] = 0.0;
  CornerColumn col{};
  col.i = i;
  col.j = j;
  col.b = b;
  col.c = Bcellt[b];
  col.ref = referenceCell(col.c);
  col.dz = Bedmove[b];
  col.area = armap[i][j];
  findNeighbours(col);
  markInside(col, i1, i2, j1, j2);
  cornerAreas(col, false);
  skewCorners(col);
  cornerLimits(col);
  cornerRounds(col, 1e-9, 1e-10);
  bookRest(col);
  if (col.rest > 1e-6 && debugging == 'S') warnRest(col, true);
  signCornerMoves(col);
  applyCornerMoves(col);
  if (FroudeMaxSurface > 0.5) limitWaterLevels(col);
}

void bedchange2() {
  otime[38] = wallClock();
  Barea[0] = 0.0;
  // Method 5 spreads the column changes before they move the points.
  if (FlagBedSmooth == 5) bedsmooth();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!isWorkBlock(g)) continue;
    for (int pass = 1; pass <= 3; ++pass) {
      for (int i = g.i1; i <= g.i2; ++i) {
        for (int j = g.j1; j <= g.j2; ++j) {
          const int c = static_cast<int>(zval[i][j][0]);
          if (c <= 0) continue;
          const int b = Cbed[c];
          if (passOf(b) == pass) bedchangeCell(i, j, b, g.i1, g.i2, g.j1, g.j2);
        }
      }
    }
  }
  completeBedChange(BedLevelRoutine::ColumnOrder);
}
