// The spreading of one column's bed change over its four corner points,
// shared by the area-ordered (F 255 0) and column-ordered (F 255 1) bed
// changes: the corner area sums, the limits, the rounds that redistribute
// what a limit holds back, the tallies of the rest and its warning.
#pragma once

// Corner k of column (i, j): 1 (i, j), 2 (i, j-1), 3 (i-1, j-1), 4 (i-1, j).
// The tables have internal linkage: the water-edge routines number corners
// differently under the same name.
constexpr int kCornerDi[5] = {0, 0, 0, -1, -1};
constexpr int kCornerDj[5] = {0, 0, -1, -1, 0};

// Neighbour positions around a column, in the order east, south, west,
// north, south-east, south-west, north-west, north-east.
enum Side { East, South, West, North, SouthEast, SouthWest, NorthWest, NorthEast, kSides };
constexpr int kSideDi[kSides] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int kSideDj[kSides] = {0, -1, 0, 1, -1, -1, 1, 1};

// One column while its change is spread. S are the corner area sums, the
// corner's true share of the bed being S/4; Sw the sums the moves are placed
// with (S, or S skewed by a corner weighting that keeps the volume); f the
// corner factors, L the limits and m the moves (positive depths until the
// sign is applied).
struct CornerColumn {
  int i, j, b, c, ref;
  double dz, area;
  int side[kSides];     // neighbour cells, 0 for none
  bool inside[kSides];  // neighbour column inside the block
  double S[5], Sw[5], f[5], L[5], m[5];
  double rest;      // level over the column the limits held back
  double unplaced;  // level over the column a weighting left unplaced
  int rounds;       // rounds that ended with a rest
};

// The inside flags of the eight neighbours for a block of columns i1..i2,
// j1..j2.
void markInside(CornerColumn &col, int i1, int i2, int j1, int j2);

// Corner area sums S (and Sw = S): the column's area plus the three other
// columns sharing the corner, or four column areas each with noSides; f = 1.
void cornerAreas(CornerColumn &col, bool noSides);

// Corner limits L by F 163: the erodible depth, the water depth or none.
void cornerLimits(CornerColumn &col);

// The rounds: each places f·V/Sw at every corner and takes back what passes
// a limit, counted with the corner's true share S/4. They stop when the rest
// falls below stopEven (even reference cell, corners 1, 2, 3, 4) or stopOdd
// (odd, corners 2, 1, 4, 3), or after F 242 rounds.
void cornerRounds(CornerColumn &col, double stopEven, double stopOdd);

// F 502 1: one pass without limits; the excess over the limits is booked.
void cornerSinglePass(CornerColumn &col);

// BedMoveDefectSum and BedMoveDefectAbs take the rest and the unplaced share.
void bookRest(const CornerColumn &col);

// The warning block of a column whose rest is large; ordered selects the
// shorter form of the column-ordered bed change.
void warnRest(const CornerColumn &col, bool ordered);

// Signs the moves: erosion lowers the corners.
void signCornerMoves(CornerColumn &col);

// Adds the signed moves to the corners' bed level and accumulated movement.
void applyCornerMoves(const CornerColumn &col);

// The lowest cell of the column at structured position (i, j), 0 for none.
int lowestCellAt(int i, int j);

// The lowest cell under cell c, 0 for none.
int lowestCellUnder(int c);

// The point of cell c under corner k: 1 Cpoint3, 2 Cpoint2, 3 Cpoint1,
// 4 Cpoint4.
int cornerPoint(int c, int k);

// The reference cell: the bottom cell, or with F 64 1 the top cell of the
// column.
int referenceCell(int c);
