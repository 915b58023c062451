// The grid points of the three-dimensional visualisation files: their
// structured position (Pi, Pj), the point whose cells give them values (Pc),
// the cells around a point, and the nearest structured grid points.
#pragma once

// Clears Pi, Pj over 0..lastPoint, then gives every corner of the cells of
// the wet columns (a, b), a = ia..ib, b = ja..jb, its grid position: a point
// no column reaches keeps (0, 0), never a stale position.
void fillPointPositions(int ia, int ib, int ja, int jb, int lastPoint);

// Pc the identity on 1..lastPoint, then the points of the first face of
// every connected face pair mapped to those of the second face.
void fillPointCells(int lastPoint);

inline constexpr int kMaxTouchingCells = 64;

// The cells whose corner is point q around grid position (i, j), walking
// each column up from its bottom cell; a dry column gives none. Returns
// the count (at most kMaxTouchingCells) and the cells in cells.
int touchingCells(int q, int i, int j, int *cells);

// As touchingCells with the Tecplot scan: the cell numbers from a column's
// bottom cell to bottom + znumber, and, on grids of several blocks, a dry
// column replaced by the cells reached through the neighbour links of the
// diagonal column, so that the cells across a block connection count.
int touchingCellsAcross(int q, int i, int j, int *cells);

// The structured value of a letter at (x, y): the nearest grid point
// (Manhattan distance below 1000, the first in i-outer, j-inner order among
// equals) when it lies within 0.001, else the distance-weighted mean of the
// two nearest. The grid points are bucketed once per writer call.
class NearestGridPoints {
 public:
  void build();  // buckets the points i = 1..xnumber, j = 1..ynumber
  double value(char letter, double x, double y) const;

  struct Found {
    int i1 = -1, j1 = -1, i2 = -1, j2 = -1;
    double d1 = 0.0, d2 = 0.0;
  };
  Found find(double x, double y) const;

 private:
  double x0_ = 0.0, y0_ = 0.0, h_ = 1.0;
  long long lastBucketX_ = 0, lastBucketY_ = 0;
};
