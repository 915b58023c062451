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
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

// Corner k of column (i, j): 1 (i, j), 2 (i, j-1), 3 (i-1, j-1), 4 (i-1, j).
constexpr int kCornerDi[5] = {0, 0, 0, -1, -1};
constexpr int kCornerDj[5] = {0, 0, -1, -1, 0};

// Neighbour positions around a column, in the order east, south, west,
// north, south-east, south-west, north-west, north-east.
enum Side { East, South, West, North, SouthEast, SouthWest, NorthWest, NorthEast, kSides };
constexpr int kSideDi[kSides] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int kSideDj[kSides] = {0, -1, 0, 1, -1, -1, 1, 1};

// The three other columns sharing each corner: the two sides and the diagonal.
constexpr Side kCornerSides[5][3] = {{East, East, East},
                                     {East, North, NorthEast},
                                     {East, South, SouthEast},
                                     {West, South, SouthWest},
                                     {West, North, NorthWest}};

bool isBedBlock(const GridBlock &g) {
  return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1 && g.LayerMark == 0;
}

// The lowest cell of the column at structured position (i, j), 0 for none.
int neighbourCell(int i, int j) {
  int c = Bcellt[pointbed[i][j]];
  while (c > 0 && Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

struct Column {
  int i, j, b, c, ref;
  double dz, area;
  int side[kSides];     // neighbour cells
  bool inside[kSides];  // neighbour column inside the block
  double S[5], f[5], L[5], m[5];
  double rest;
  int rounds;
};

void findNeighbours(Column &col, const GridBlock &g) {
  const bool in[4] = {col.i<g.i2, col.j> g.j1, col.i > g.i1, col.j < g.j2};  // east, south, west, north
  for (int s = 0; s < kSides; ++s) {
    col.side[s] = neighbourCell(col.i + kSideDi[s], col.j + kSideDj[s]);
    col.inside[s] = s < 4 ? in[s] : false;
  }
  col.inside[SouthEast] = in[East] && in[South];
  col.inside[SouthWest] = in[West] && in[South];
  col.inside[NorthWest] = in[West] && in[North];
  col.inside[NorthEast] = in[East] && in[North];
}

void cornerAreas(Column &col) {
  for (int k = 1; k <= 4; ++k) {
    if (FlagNoSides != 0) {
      col.S[k] = 4.0 * col.area;
      continue;
    }
    double sum = col.area;
    for (Side s : kCornerSides[k]) {
      sum += col.inside[s] ? armap[col.i + kSideDi[s]][col.j + kSideDj[s]] : Barea[Cbed[col.side[s]]];
    }
    col.S[k] = sum;
  }
}

void cornerLimits(Column &col) {
  for (int k = 1; k <= 4; ++k) {
    const int pi = col.i + kCornerDi[k], pj = col.j + kCornerDj[k];
    if (FlagBedChange == 2) {
      col.L[k] = 1000.0;
    } else if (col.dz < 0.0) {
      col.L[k] = std::max(zval[pi][pj][1] - Surfaces[3][pi][pj], 0.0);
    } else if (FlagBedChange == 1) {
      col.L[k] = std::max(zval[pi][pj][znumber] - zval[pi][pj][1], 0.0);
    } else {
      col.L[k] = 1000.0;
    }
  }
}

// The corner moves as positive depths, with the rest r that the limits hold
// back as a level over the column.
void cornerMoves(Column &col) {
  double volume = std::fabs(col.dz) * col.area;
  for (int k = 1; k <= 4; ++k) col.m[k] = 0.0;
  col.rest = 0.0;
  col.rounds = 0;
  if (FlagBedMove == 1) {
    // One pass without limits: the moves stand, the excess over the limits
    // is booked with the same corner share as the rounds use.
    double excess = 0.0;
    for (int k = 1; k <= 4; ++k) {
      col.m[k] = col.f[k] * volume / col.S[k];
      excess += std::max(col.m[k] - col.L[k], 0.0) * col.S[k] * 0.25;
    }
    col.rest = excess / col.area;
    return;
  }
  static constexpr int kEven[4] = {1, 2, 3, 4};
  static constexpr int kOdd[4] = {2, 1, 4, 3};
  const int *order = col.ref % 2 == 0 ? kEven : kOdd;
  for (int round = 0; round < NumMoveBedchange; ++round) {
    for (int k = 1; k <= 4; ++k) col.m[k] += col.f[k] * volume / col.S[k];
    double excess = 0.0;
    for (int n = 0; n < 4; ++n) {
      const int k = order[n];
      if (col.m[k] > col.L[k]) {
        excess += (col.m[k] - col.L[k]) * col.S[k] * 0.25;
        col.m[k] = col.L[k];
      }
    }
    col.rest = excess / col.area;
    volume = col.rest * col.area;
    if (col.rest < 1e-9) break;
    ++col.rounds;
  }
}

void warnRest(const Column &col) {
  const int b = col.b, c = Bcellt[b];
  logPrintf(
      "Warning in bed change, i,j,b,ii,l,Bedmove,rest,dz,area = %d %d %d "
      "%d %d %lg %lg %lg %lg\n",
      col.i, col.j, b, FlagBedMove != 1 && col.ref % 2 != 0 ? 3 : 5, col.rounds, Bedmove[b], col.rest, col.dz,
      col.area);
  logPrintf("Iter: %d, Thickness top: %lg bottom: %lg\n", Iter, BSedDistrib[1][0][b], BSedDistrib[0][0][b]);
  logPrintf(
      "Velocity, pressure, bedshear: %lg m/s, %lg m/s, %lg m/s, %lg Pa, "
      "%lg Pa\n",
      Cxvel[c], Cyvel[c], Czvel[c], Cpres[c], 300.0 * Ckinen[c]);
  for (int s = 1; s <= lnumber; ++s) logPrintf(" Conc[%d] = %lg", s, Cconc[s][c]);
  logText("\n");
  double available = 0.0, eroded = 0.0, limits = 0.0, moves = 0.0;
  for (int k = 1; k <= 4; ++k) {
    available += col.L[k] * col.S[k] * 0.25;
    eroded += col.S[k] * col.m[k] * 0.25;
    limits += col.L[k];
    moves += col.m[k];
  }
  logPrintf(
      "Volume available: %lg, eroded: %lg, supp_eroded: %lg, avl_box_2: "
      "%lg, avl_box_1: %lg\n",
      available, eroded, col.dz * col.area, col.area * 0.25 * limits, BSedDistrib[1][0][b] * col.area);
  logPrintf("Fluxes through cell (tenws): %e %e %e %e %e\n", Fflux[Cflatet[c]], Fflux[Cflatee[c]], Fflux[Cflaten[c]],
            Fflux[Cflatew[c]], Fflux[Cflates[c]]);
  logPrintf("Neighbour cell indexes (tenws): %d %d %d %d %d\n", Ccellt[c], Ccelle[c], Ccelln[c], Ccellw[c], Ccells[c]);
  logPrintf("Distances: i: %lf j: %lf k: %lf\n", Cidist[c], Cjdist[c], Ckdist[c]);
  logPrintf("Barea: %lf, m_armap: %lf, Careaz: %lf\n", Barea[b], armap[col.i][col.j], Careaz[c]);
  logPrintf(
      "Distances: av_minmove: %lg, av_move: %lg, vaval/area: %lg, "
      "BSedDistrib[TOP]: %lg, BSedDistrib[BED]: %lg, "
      "dz: %lg\n",
      limits * 0.25, moves * 0.25, available / col.area, BSedDistrib[1][0][b], BSedDistrib[0][0][b], col.dz);
  for (int k = 1; k <= 4; ++k) {
    logPrintf("Corner %d, move, factor, minmove, weight = %lg %lg %lg %lg\n", k, col.m[k], col.S[k], col.L[k],
              col.f[k]);
  }
  // The per-size bed change exists only with the multi-layer bed.
  for (int s = 1; s <= lnumber; ++s) {
    logPrintf(
        "Cell P: Size %d, Conc: %lg, Fraction: %lg, Bbedmove %lg, "
        "Bsource %lg\n",
        s, Cconc[s][c], BSedDistrib[1][s][b], FlagTSC == 3 ? Bbedchange[s][b] : 0.0, Bsource[s][b]);
  }
}

void checkMoves(const Column &col) {
  for (int k = 1; k <= 4; ++k) {
    if (!std::isnan(col.m[k])) continue;
    logPrintf("Bug in bedchange: i,j=(%d,%d), move(%d) = %lf\n", col.i, col.j, k, col.m[k]);
    logPrintf("factor = %lf, minmove = %lf, arp = %lf\n", col.S[k], col.L[k], col.area);
    if (FlagSkewedBedchange > 0) logText("This could be due to the F 205 data set\n");
  }
}

// Moves corner k of the column at the grid point of bed cell n (its corner 1)
// by move, unless that point is the one just moved.
void moveOther(const Column &col, int n, int k, int ownCorner, double move) {
  const int pi = Bkooi[n] + kCornerDi[k], pj = Bkooj[n] + kCornerDj[k];
  if (pi == col.i + kCornerDi[ownCorner] && pj == col.j + kCornerDj[ownCorner]) return;
  zval[pi][pj][1] += move;
  Surfaces[1][pi][pj] += move;
}

// A border point of a block exists again in the neighbouring block and moves
// alike there; a corner at a block corner goes to the diagonal column when
// exactly one of its two sides is an open block border.
void moveConnectedPoints(const Column &col, const GridBlock &g) {
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

void treatColumn(Column &col, const GridBlock &g) {
  findNeighbours(col, g);
  col.area = armap[col.i][col.j] + 1e-20;
  cornerAreas(col);
  for (int k = 1; k <= 4; ++k) col.f[k] = 1.0;
  cornerLimits(col);
  cornerMoves(col);

  const double unit = col.area * SolidFrac * 1000.0 * density;
  BedMoveDefectSum += col.dz / std::fabs(col.dz + 1e-20) * col.rest * unit;
  BedMoveDefectAbs += col.rest * unit;
  if (col.rest > restCrit) warnRest(col);
  if (col.dz < 0.0) {
    for (int k = 1; k <= 4; ++k) col.m[k] = -col.m[k];
  }
  if (FlagBugFind == 1) checkMoves(col);
  for (int k = 1; k <= 4; ++k) {
    const int pi = col.i + kCornerDi[k], pj = col.j + kCornerDj[k];
    zval[pi][pj][1] += col.m[k];
    Surfaces[1][pi][pj] += col.m[k];
  }
  if (NoBlocks >= 2) moveConnectedPoints(col, g);
}

// The reference cell of the corner order: the bottom cell, or with F 64 1
// the top cell of the column.
int referenceCell(int c) {
  if (TopBed != 1) return c;
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

}  // namespace

void bedchange() {
  if (debugging == 'P') otime[37] = wallClock();
  Barea[0] = 0.0;
  Cbed[0] = 0;
  Bcellt[0] = 0;
  // Routines the spreading depends on that the engine does not have yet.
  if (FlagSkewedBedchange != 0) notAvailableYet("corner weighting", "F 205");

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

  Column col{};
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
