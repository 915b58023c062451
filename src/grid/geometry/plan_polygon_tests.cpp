// Plan tests of a point against a triangle or a quadrilateral: on which side
// of each edge the point lies decides whether a bed point, a tracer or a
// plant stem falls inside a cell or a marked area.
#include "grid/bed_levels/bed_points.h"
#include "model/cells.h"
#include "model/output_tables.h"
#include "model/points.h"
#include "model/run_state.h"

namespace {

// Above 0 when (px, py) lies left of the edge from a to b, below 0 right of it.
inline double edgeSide(double xa, double ya, double xb, double yb, double px, double py) {
  return (xb - xa) * (py - ya) - (yb - ya) * (px - xa);
}

// Strictly left of each edge of the bottom corners 1-2-3-4 of cell c.
int insideBottomCorners(double x, double y, int c) {
  const int p[5] = {Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c], Cpoint1[c]};
  for (int e = 0; e < 4; ++e) {
    if (!(edgeSide(Px[p[e]], Py[p[e]], Px[p[e + 1]], Py[p[e + 1]], x, y) > 0.0)) return 0;
  }
  return 1;
}

}  // namespace

int insideTriangle(double x, double y, double x1, double y1, double x2, double y2, double x3, double y3) {
  // Right of (or on) every edge of 1-2-3: inside a clockwise triangle.
  if (edgeSide(x1, y1, x2, y2, x, y) < 1e-20 && edgeSide(x2, y2, x3, y3, x, y) < 1e-20 &&
      edgeSide(x3, y3, x1, y1, x, y) < 1e-20) {
    return 1;
  }
  // Right of every edge of 1-3-2: inside a counter-clockwise one.
  if (edgeSide(x1, y1, x3, y3, x, y) < 1e-20 && edgeSide(x3, y3, x2, y2, x, y) < 1e-20 &&
      edgeSide(x2, y2, x1, y1, x, y) < 1e-20) {
    return -1;
  }
  return 0;
}

int insideQuadCellGeo(int n, int c) { return insideBottomCorners(xg[n], yg[n], c); }

int insideQuadCellTrace(int n, int c) { return insideBottomCorners(tracerX[n], tracerY[n], c); }

int insideQuad(double x, double y, double x1, double y1, double x2, double y2, double x3, double y3, double x4,
               double y4) {
  const double xs[5] = {x1, x2, x3, x4, x1}, ys[5] = {y1, y2, y3, y4, y1};
  for (int e = 0; e < 4; ++e) {
    if (!(edgeSide(xs[e], ys[e], xs[e + 1], ys[e + 1], x, y) < 0.0)) return 0;
  }
  return 1;
}

int insideTriGeo(int n) {
  const int next[4] = {0, 2, 3, 1};
  for (int e = 1; e <= 3; ++e) {
    const int f = next[e];
    if (edgeSide(xDelGeo[e], yDelGeo[e], xDelGeo[f], yDelGeo[f], xg[n], yg[n]) < 0.0) return 0;
  }
  return 1;
}
