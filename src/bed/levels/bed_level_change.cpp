// Spreads the column changes Bedmove onto the structured bed points
// zval[.][.][1] and plane 1 of Surfaces, column by column so that later columns
// see the levels earlier ones produced; what a limit holds back is
// redistributed in rounds and the rest booked in BedMoveDefectSum and
// BedMoveDefectAbs.
#include "bed/levels/bed_level_change.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "bed/levels/bed_change_completion.h"
#include "bed/levels/bed_smoothing.h"
#include "bed/levels/corner_spreading.h"
#include "bed/levels/corner_weighting.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

bool isBedBlock(const GridBlock &g) {
  return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1 && g.LayerMark == 0;
}

void findNeighbours(CornerColumn &col, const GridBlock &g) {
  for (int s = 0; s < kSides; ++s) col.side[s] = lowestCellAt(col.i + kSideDi[s], col.j + kSideDj[s]);
  markInside(col, g.i1, g.i2, g.j1, g.j2);
}

void checkMoves(const CornerColumn &col) {
  for (int k = 1; k <= 4; ++k) {
    if (!std::isnan(col.m[k])) continue;
    logPrintf("Bug in bedchange: i,j=(%d,%d), move(%d) = %lf\n", col.i, col.j, k, col.m[k]);
    logPrintf("factor = %lf, minmove = %lf, arp = %lf\n", col.Sw[k], col.L[k], col.area);
    if (FlagSkewedBedchange > 0) logText("This could be due to the F 205 data set\n");
  }
}

// Moves corner k of the column at the grid point of bed cell n (its corner 1)
// by move, unless that point is the one just moved.
void moveOther(const CornerColumn &col, int n, int k, int ownCorner, double move) {
  const int pi = Bkooi[n] + kCornerDi[k], pj = Bkooj[n] + kCornerDj[k];
  if (pi == col.i + kCornerDi[ownCorner] && pj == col.j + kCornerDj[ownCorner]) return;
  zval[pi][pj][1] += move;
  Surfaces[1][pi][pj] += move;
}

// A border point of a block exists again in the neighbouring block and moves
// alike there; a corner at a block corner goes to the diagonal column when
// exactly one of its two sides is an open block border.
void moveConnectedPoints(const CornerColumn &col, const GridBlock &g) {
  const bool border[4] = {col.i == g.i2, col.j == g.j1, col.i == g.i1, col.j == g.j2};  // east, south, west, north
  const double *m = col.m;
  auto sideMove = [&](Side s, int k1, int own1, int k2, int own2) {
    if (!border[s] || col.side[s] <= 0) return;
    const int n = Cbed[col.side[s]];
    moveOther(col, n, k1, own1, m[own1]);
    moveOther(col, n, k2, own2, m[own2]);
  };
  sideMove(East, 4, 1, 3, 2);
  sideMove(South, 4, 3, 1, 2);
  sideMove(West, 1, 4, 2, 3);
  sideMove(North, 2, 1, 3, 4);
  struct Diagonal {
    Side diagonal, a, b;
    int own, other;
  };
  static constexpr Diagonal kDiagonals[4] = {{NorthEast, North, East, 1, 3},
                                             {SouthEast, South, East, 2, 4},
                                             {SouthWest, South, West, 3, 1},
                                             {NorthWest, North, West, 4, 2}};
  for (const Diagonal &d : kDiagonals) {
    if (col.side[d.diagonal] <= 0) continue;
    const int n = Cbed[col.side[d.diagonal]];
    if (n <= 0) continue;
    const bool openA = border[d.a] && col.side[d.a] == 0, openB = border[d.b] && col.side[d.b] == 0;
    if ((openA && !border[d.b]) || (openB && !border[d.a])) moveOther(col, n, d.other, d.own, m[d.own]);
  }
}

void treatColumn(CornerColumn &col, const GridBlock &g) {
  findNeighbours(col, g);
  col.area = armap[col.i][col.j] + 1e-20;
  cornerAreas(col, FlagNoSides != 0);
  if (FlagSkewedBedchange != 0) weightCorners(col);
  cornerLimits(col);
  if (FlagBedMove == 1) {
    cornerSinglePass(col);
  } else {
    cornerRounds(col, 1e-9, 1e-9);
  }
  bookRest(col);
  if (col.rest > restCrit) warnRest(col, false);
  signCornerMoves(col);
  if (FlagBugFind == 1) checkMoves(col);
  applyCornerMoves(col);
  if (NoBlocks >= 2) moveConnectedPoints(col, g);
}

}  // namespace

void bedchange() {
  if (debugging == 'P') otime[37] = wallClock();
  Barea[0] = 0.0;
  Cbed[0] = 0;
  Bcellt[0] = 0;

  if (FlagGridConnect == 1 && FlagThixo > 0) {
    for (int n = 1; n <= NoBlocks; ++n) {
      const GridBlock &g = block[n];
      if (!isBedBlock(g)) continue;
      for (int i = g.i1 - 1; i <= g.i2; ++i) {
        for (int j = g.j1 - 1; j <= g.j2; ++j)
          zval[i][j][1] = Surfaces[0][i][j] + Surfaces[1][i][j] + Surfaces[6][i][j];
      }
    }
  }
  // Method 5 spreads the column changes before they move the points.
  if (FlagBedSmooth == 5) bedsmooth();

  CornerColumn col{};
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!isBedBlock(g)) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c <= 0 || Bcellt[Cbed[c]] < 1) continue;
        const int b = Cbed[c];
        if (!(std::fabs(Bedmove[b]) > 1e-12)) continue;
        col.i = i;
        col.j = j;
        col.b = b;
        col.c = c;
        col.ref = referenceCell(c);
        col.dz = Bedmove[b];
        treatColumn(col, g);
      }
    }
  }
  completeBedChange();
}
