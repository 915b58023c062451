// What the sand-slide routines share about the columns of the structured
// grid: which blocks they treat, the corners of a column and its neighbours
// across the sides and corners, and the plan length of an edge.
#pragma once

#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/structured.h"

// Kept in a namespace of their own: other folders have helpers of these names.
namespace slide_columns {

// The slides work on the blocks of the base grid that the sediment work
// range holds.
inline bool slideBlock(const GridBlock &g) { return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1; }

// Corner c = 0..3 of column (i, j) is the grid point (i, j), (i, j-1),
// (i-1, j-1), (i-1, j): the corners 1..4 of the bed-level routines.
inline constexpr int kCornerDi[4] = {0, 0, -1, -1};
inline constexpr int kCornerDj[4] = {0, -1, -1, 0};

// The bottom cells around a column's bottom cell: the sides e, w, n, s and
// the diagonals, each reached over a side and then across; 0 where there is
// none.
struct ColumnNeighbours {
  int e, w, n, s, ne, nw, se, sw;
};

inline ColumnNeighbours columnNeighbours(int c) {
  ColumnNeighbours nb{Ccelle[c], Ccellw[c], Ccelln[c], Ccells[c], 0, 0, 0, 0};
  auto across = [](int first, const int *firstSide, int second, const int *secondSide) {
    const int via = first > 0 ? firstSide[first] : 0;
    return via > 0 ? via : (second > 0 ? secondSide[second] : 0);
  };
  nb.ne = across(nb.n, Ccelle, nb.e, Ccelln);
  nb.nw = across(nb.n, Ccellw, nb.w, Ccelln);
  nb.se = across(nb.s, Ccelle, nb.e, Ccells);
  nb.sw = across(nb.s, Ccellw, nb.w, Ccells);
  return nb;
}

// The three other columns that share corner c with the column: the one
// across the i side (e or w), the one across the j side (n or s) and the
// diagonal one.
struct CornerColumns {
  int iSide, jSide, diagonal;
};

inline CornerColumns cornerColumns(const ColumnNeighbours &nb, int corner) {
  switch (corner) {
    case 0: return {nb.e, nb.n, nb.ne};
    case 1: return {nb.e, nb.s, nb.se};
    case 2: return {nb.w, nb.s, nb.sw};
    default: return {nb.w, nb.n, nb.nw};
  }
}

// The four edge tests of point levelling, in their order, as corner pairs:
// along i on the high-j side, along i on the low-j side, along j on the
// low-i side, along j on the high-i side.
struct EdgeTest {
  int a, b;
  bool alongI;
};
inline constexpr EdgeTest kEdgeTests[4] = {{0, 3, true}, {1, 2, true}, {3, 2, false}, {0, 1, false}};

// Plan length of the edge between grid points (p1, q1) and (p2, q2), m.
inline double planLength(int p1, int q1, int p2, int q2) {
  const double dx = xval[p1][q1] - xval[p2][q2], dy = yval[p1][q1] - yval[p2][q2];
  return std::sqrt(dx * dx + dy * dy);
}

// Moves the bed level of grid point (p, q) by dz and books it in the
// accumulated bed movement (Surfaces plane 1), which rebuilds of the bed from
// the planes read.
inline void moveBedPoint(int p, int q, double dz) {
  zval[p][q][1] += dz;
  Surfaces[1][p][q] += dz;
}

// The bed cell of a cell's column, 0 for no cell.
inline int bedCellOf(int cell) { return cell > 0 ? Cbed[cell] : 0; }

// The bottom cell of column (i, j), 0 for a dry column.
inline int bottomCell(int i, int j) { return static_cast<int>(zval[i][j][0]); }

// Calls visit(i, j, c) for every wet column (bottom cell c) of the treated
// blocks, blocks in ascending order, i outer and j inner.
template <class Visit>
void forEachWetColumn(Visit visit) {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!slideBlock(g)) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int c = bottomCell(i, j);
        if (c > 0) visit(i, j, c);
      }
    }
  }
}

}  // namespace slide_columns
