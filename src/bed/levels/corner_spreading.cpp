// The corner spreading of one column's bed change: area sums, limits, the
// rounds of redistribution, the tallies of what stays unplaced and the
// warning that shows a column whose change the limits held back.
#include "bed/levels/corner_spreading.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The three other columns sharing each corner: the two sides and the diagonal.
constexpr Side kCornerSides[5][3] = {{East, East, East},
                                     {East, North, NorthEast},
                                     {East, South, SouthEast},
                                     {West, South, SouthWest},
                                     {West, North, NorthWest}};

}  // namespace

void markInside(CornerColumn &col, int i1, int i2, int j1, int j2) {
  const bool in[4] = {col.i < i2, col.j > j1, col.i > i1, col.j < j2};  // east, south, west, north
  for (int s = 0; s < 4; ++s) col.inside[s] = in[s];
  col.inside[SouthEast] = in[East] && in[South];
  col.inside[SouthWest] = in[West] && in[South];
  col.inside[NorthWest] = in[West] && in[North];
  col.inside[NorthEast] = in[East] && in[North];
}

void cornerAreas(CornerColumn &col, bool noSides) {
  for (int k = 1; k <= 4; ++k) {
    double sum = 4.0 * col.area;
    if (!noSides) {
      sum = col.area;
      for (Side s : kCornerSides[k]) {
        sum += col.inside[s] ? armap[col.i + kSideDi[s]][col.j + kSideDj[s]] : Barea[Cbed[col.side[s]]];
      }
    }
    col.S[k] = col.Sw[k] = sum;
    col.f[k] = 1.0;
  }
  col.unplaced = 0.0;
}

void cornerLimits(CornerColumn &col) {
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

void cornerSinglePass(CornerColumn &col) {
  const double volume = std::fabs(col.dz) * col.area;
  col.rounds = 0;
  // The moves stand; the excess over the limits is booked with the same
  // corner share as the rounds use.
  double excess = 0.0;
  for (int k = 1; k <= 4; ++k) {
    col.m[k] = col.f[k] * volume / col.Sw[k];
    excess += std::max(col.m[k] - col.L[k], 0.0) * col.S[k] * 0.25;
  }
  col.rest = excess / col.area;
}

void cornerRounds(CornerColumn &col, double stopEven, double stopOdd) {
  static constexpr int kEven[4] = {1, 2, 3, 4};
  static constexpr int kOdd[4] = {2, 1, 4, 3};
  const bool even = col.ref % 2 == 0;
  const int *order = even ? kEven : kOdd;
  const double stop = even ? stopEven : stopOdd;
  double volume = std::fabs(col.dz) * col.area;
  for (int k = 1; k <= 4; ++k) col.m[k] = 0.0;
  col.rest = 0.0;
  col.rounds = 0;
  for (int round = 0; round < NumMoveBedchange; ++round) {
    for (int k = 1; k <= 4; ++k) col.m[k] += col.f[k] * volume / col.Sw[k];
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
    if (col.rest < stop) break;
    ++col.rounds;
  }
}

void bookRest(const CornerColumn &col) {
  const double unit = col.area * SolidFrac * 1000.0 * density;
  const double level = col.rest + col.unplaced;
  BedMoveDefectSum += col.dz / std::fabs(col.dz + 1e-20) * level * unit;
  BedMoveDefectAbs += level * unit;
}

void warnRest(const CornerColumn &col, bool ordered) {
  const int b = col.b, c = Bcellt[b];
  const int mark = (ordered || FlagBedMove != 1) && col.ref % 2 != 0 ? 3 : 5;
  if (ordered) {
    logPrintf("Warning in bed change, i,j,ii,Bedmove,rest,dz,area = %d %d %d %lg %lg %lg %lg\n", col.i, col.j, mark,
              Bedmove[b], col.rest, col.dz, col.area);
  } else {
    logPrintf(
        "Warning in bed change, i,j,b,ii,l,Bedmove,rest,dz,area = %d %d %d "
        "%d %d %lg %lg %lg %lg\n",
        col.i, col.j, b, mark, col.rounds, Bedmove[b], col.rest, col.dz, col.area);
  }
  logPrintf("Iter: %d, Thickness top: %lg bottom: %lg\n", Iter, BSedDistrib[1][0][b], BSedDistrib[0][0][b]);
  logPrintf(
      "Velocity, pressure, bedshear: %lg m/s, %lg m/s, %lg m/s, %lg Pa, "
      "%lg Pa\n",
      Cxvel[c], Cyvel[c], Czvel[c], Cpres[c], 300.0 * Ckinen[c]);
  if (!ordered) {
    for (int s = 1; s <= lnumber; ++s) logPrintf(" Conc[%d] = %lg", s, Cconc[s][c]);
    logText("\n");
  }
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
  // The area sum shown is the one the moves were placed with.
  for (int k = 1; k <= 4; ++k) {
    if (ordered) {
      logPrintf("Corner %d, move, factor, minmove = %lg %lg %lg\n", k, col.m[k], col.Sw[k], col.L[k]);
    } else {
      logPrintf("Corner %d, move, factor, minmove, weight = %lg %lg %lg %lg\n", k, col.m[k], col.Sw[k], col.L[k],
                col.f[k]);
    }
  }
  for (int s = 1; s <= lnumber; ++s) {
    if (ordered) {
      logPrintf("Cell P: Size %d, Conc: %lg, Fraction: %lg\n", s, Cconc[s][c], BSedDistrib[1][s][b]);
    } else {
      // The per-size bed change exists only with the multi-layer bed.
      logPrintf(
          "Cell P: Size %d, Conc: %lg, Fraction: %lg, Bbedmove %lg, "
          "Bsource %lg\n",
          s, Cconc[s][c], BSedDistrib[1][s][b], FlagTSC == 3 ? Bbedchange[s][b] : 0.0, Bsource[s][b]);
    }
  }
}

void signCornerMoves(CornerColumn &col) {
  if (col.dz < 0.0) {
    for (int k = 1; k <= 4; ++k) col.m[k] = -col.m[k];
  }
}

void applyCornerMoves(const CornerColumn &col) {
  for (int k = 1; k <= 4; ++k) {
    const int pi = col.i + kCornerDi[k], pj = col.j + kCornerDj[k];
    zval[pi][pj][1] += col.m[k];
    Surfaces[1][pi][pj] += col.m[k];
  }
}

int lowestCellUnder(int c) {
  while (c > 0 && Ccellb[c] > 0) c = Ccellb[c];
  return c;
}

int lowestCellAt(int i, int j) { return lowestCellUnder(Bcellt[pointbed[i][j]]); }

int referenceCell(int c) {
  if (TopBed != 1) return c;
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

int cornerPoint(int c, int k) {
  switch (k) {
    case 1: return Cpoint3[c];
    case 2: return Cpoint2[c];
    case 3: return Cpoint1[c];
    default: return Cpoint4[c];
  }
}
