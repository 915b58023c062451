// The other column generators of F 64: each chooses its own number of points
// per grid line, cells per column and corner levels, within the frame of the
// default generator (cells numbered bottom up per column, the bottom cell in
// zval[i][j][0], every side with a face shared with the built neighbour).
#include <algorithm>
#include <cmath>
#include <utility>

#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

enum Side { kSouth = 1, kEast, kNorth, kWest, kBottom, kTop };

constexpr double kNearOne = 0.99999;
constexpr double kNearZero = 1e-10;

double depthAt(int i, int j) { return zval[i][j][znumber] - zval[i][j][1]; }

// 30..37 build what 0..7 build (they differ in the finishing steps).
int memberOf(int method) { return method >= 30 && method <= 37 ? method - 30 : method; }

double snap(double f) {
  if (f > kNearOne) return 1.0;
  if (f < kNearZero) return 0.0;
  return f;
}

// The corners of column (i, j): grid points (i-1, j-1), (i, j-1), (i, j), (i-1, j).
struct Corners {
  int i[5], j[5];
  Corners(int ci, int cj) : i{0, ci - 1, ci, ci, ci - 1}, j{0, cj - 1, cj - 1, cj, cj} {}
};

// ---- Points per grid line ------------------------------------------------

// The fixed levels of G 3 down to the first at or below the bed, which
// becomes the bed; the levels below it repeat it.
int fixedLevels(int i, int j, double tolerance) {
  double *z = zval[i][j];
  const double bed = z[1];
  int k = znumber;
  for (; k > 1; --k) {
    z[k] = zdistrib[k];
    if (zdistrib[k] < bed + tolerance) break;
  }
  z[k] = zdistrib[k];
  for (int below = 1; below < k; ++below) z[below] = z[k];
  return znumber - k + 1;
}

// The power law of most members: the depth relative to `scale` to the power
// `exponent` shares out `span` points; 2 below MinVertDist1, 1 below MinVertDist0.
int lawCount(double h, double scale, double exponent, int span, int floorAdd) {
  if (h < MinVertDist0) return 1;
  if (h < MinVertDist1) return 2;
  const int n = static_cast<int>(std::pow(scale > 0.0 ? h / scale : 0.0, exponent) * span);
  return std::max(n, 0) + floorAdd;
}

int lineCount(int member, int i, int j, double deepest) {
  const double h = depthAt(i, j);
  const int span = znumber - 2;
  switch (member) {
    case 0: return fixedLevels(i, j, 1e-8);
    case 1: return fixedLevels(i, j, 1e-6);
    case 2: return lawCount(h, MaxDepth + 1e-10, GridDistCoeff, span, 2);
    case 5:
    case 9: return lawCount(h, deepest, 0.6, span, 2);
    case 6: {
      if (h < MinVertDist) return 1;
      const int n = static_cast<int>(std::pow(deepest > 0.0 ? h / deepest : 0.0, 0.6) * span);
      return std::max(1, n) + 2;
    }
    case 10: {
      if (h < MinVertDist) return 1;
      return static_cast<int>(std::pow(deepest > 0.0 ? h / deepest : 0.0, GridDistCoeff) * span) + 2;
    }
    case 14:
    case 15: return lawCount(h, deepest, GridDistCoeff, znumber - 1, 1);
    default: return lawCount(h, deepest, GridDistCoeff, span, 2);  // 3, 4, 7, 12
  }
}

void countLines(const GridBlock &b, int member, double deepest) {
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      std::fill(num[i][j] + 1, num[i][j] + znumber + 1, 0);
      antlin[i][j] = std::clamp(lineCount(member, i, j, deepest), 1, znumber);
    }
  }
  if (member == 3 || member == 4 || member == 7) Grid1Stability(b.i1, b.i2, b.j1, b.j2);
  if ((member == 3 || member == 4) && FlagGridIter == 1) smoothLineCounts(b);
}

// ---- Cells per column ----------------------------------------------------

// A column whose corner depths differ by more than its horizontal size would
// stack thin cells up a steep bank: it loses cells in proportion to the excess.
int slopeCorrection(int i, int j, int a) {
  const Corners c(i, j);
  double hmax = -1e300, hmin = 1e300;
  int deepest = 1, most = 0, fewest = 1 << 30;
  for (int m = 1; m <= 4; ++m) {
    const double h = depthAt(c.i[m], c.j[m]);
    if (h > hmax) {
      hmax = h;
      deepest = m;
    }
    hmin = std::min(hmin, h);
    most = std::max(most, antlin[c.i[m]][c.j[m]]);
    fewest = std::min(fewest, antlin[c.i[m]][c.j[m]]);
  }
  auto length = [](int ia, int ja, int ib, int jb) { return std::hypot(xval[ib][jb] - xval[ia][ja], yval[ib][jb] - yval[ia][ja]); };
  const double side = std::min(length(i, j - 1, i, j), length(i - 1, j, i, j));
  const double excess = (hmax - hmin) - side;
  if (!(excess > 0.0 && hmax > 0.0)) return a;
  const int lines = antlin[c.i[deepest]][c.j[deepest]];
  const int fewer = std::min(static_cast<int>(excess * lines / (hmax + 1e-20)), most - fewest);
  return std::max(a - fewer, 0);
}

// A block of fixed layers (`k1` not 1, from a grid file) is not sized from the
// depth: every column gets `k2` cells between BlockParam2 - BlockParam1 and
// BlockParam2. Members 0 and 1 space their levels evenly there; 2 and 7 take
// those as the bed and the water level of the block's grid points, so their
// interval rules space the cells evenly. Member 7 layers only the columns its
// depth law makes wet.
bool fixedLayers(const GridBlock &b, int member) { return b.k1 != 1 && (member <= 2 || member == 7); }

int fixedLayerCount(const GridBlock &b) { return std::clamp(b.k2, 0, znumber - 1); }

void setFixedLayerPoint(const GridBlock &b, int member, int i, int j) {
  const int a = fixedLayerCount(b);
  const double bottom = b.BlockParam2 - b.BlockParam1;
  double *z = zval[i][j];
  if (member <= 1) {
    for (int k = 1; k <= znumber; ++k) {
      const int above = std::max(k - (znumber - a), 0);
      z[k] = bottom + b.BlockParam1 * above / std::max(a, 1);
    }
  } else {
    z[1] = bottom;
    z[znumber] = b.BlockParam2;
  }
  antlin[i][j] = a + 1;
}

void setFixedLayers(const GridBlock &b, int member) {
  if (member != 7) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) setFixedLayerPoint(b, member, i, j);
    }
    return;
  }
  // The depth law decides which columns are wet before their corners move.
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      ant[i][j] = std::max({antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]}) > 1;
    }
  }
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      if (ant[i][j] == 0) continue;
      const Corners c(i, j);
      for (int m = 1; m <= 4; ++m) setFixedLayerPoint(b, member, c.i[m], c.j[m]);
    }
  }
}

void countCells(const GridBlock &b, int member) {
  if (fixedLayers(b, member)) {
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        const bool wet = member != 7 || ant[i][j] > 0;
        ant[i][j] = wet && bedOutBlock[i][j] != 1 ? fixedLayerCount(b) : 0;
      }
    }
    return;
  }
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      int a = std::max({antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]}) - 1;
      if (member == 1 || member == 2 || member == 14 || member == 15) a = slopeCorrection(i, j, a);
      if (bedOutBlock[i][j] == 1 || (b.k1 != 1 && (member == 5 || member == 6))) a = 0;
      ant[i][j] = a;
    }
  }
  if (member == 3 || member == 4) Grid2Stability(b.i1, b.i2, b.j1, b.j2);
}

// Cells at the top a levels, or from the bed up (levels 1..a) for 3 and 4.
bool fromBed(int member) { return member == 3 || member == 4; }

int lowestLevel(int member, int a) { return fromBed(member) ? 1 : znumber - a + 1; }

void numberCells(const GridBlock &b, int member) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      const int a = ant[i][j];
      if (a <= 0) continue;
      zval[i][j][0] = NoCells + 1;
      for (int k = lowestLevel(member, a); k < lowestLevel(member, a) + a; ++k) num[i][j][k] = ++NoCells;
    }
  }
}

// ---- Corner levels -------------------------------------------------------

// Fixed levels: every level a wet column uses is the lowest of its four
// corners, so the cells of a row lie flat and meet their neighbours.
void flattenFixedLevels(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      const int a = ant[i][j];
      if (a <= 0) continue;
      const Corners c(i, j);
      for (int k = znumber; k >= znumber - a; --k) {
        double low = zval[c.i[1]][c.j[1]][k];
        for (int m = 2; m <= 4; ++m) low = std::min(low, zval[c.i[m]][c.j[m]][k]);
        for (int m = 1; m <= 4; ++m) zval[c.i[m]][c.j[m]][k] = low;
      }
    }
  }
}

// Members 2 and 5: the line's intervals counted from the surface, without the
// default generator's cap, so the lower cells collapse onto the bed.
double uncappedLevel(int gi, int gj, int k, bool top, bool belowSurface) {
  const double zb = zval[gi][gj][1], zs = zval[gi][gj][znumber];
  const double q = antlin[gi][gj] - 1 + (belowSurface ? 1e-20 : 1e-10);
  double f = snap((top ? znumber - k : znumber - k + 1) / q);
  if (belowSurface) return f * std::min(zb, zs) + (1.0 - f) * zs;
  if (zb > zs) f = 0.0;
  return f * zb + (1.0 - f) * zs;
}

// Members 3 and 4: the line's intervals counted from the bed; cells above
// them collapse just below the surface, the top cell ends on it.
double bedUpLevel(int gi, int gj, int k, bool top, bool topCell) {
  const double zb = zval[gi][gj][1], zs = zval[gi][gj][znumber];
  const int L = antlin[gi][gj];
  const double q = L - 1 + 1e-10;
  double f = top ? 1.0 - k / q : 1.0 - (k - 1) / q;
  if (L > 2 && f < 1.0 / q && (!top || (k >= L - 1 && !topCell))) f = 1.0 / q;
  f = snap(f);
  return std::min(zs, (1.0 - f) * zs + f * zb);
}

// The fraction of the default generator from the surface: the line's
// intervals with the cap, so that a column's cells beyond the line's
// intervals collapse onto the first point above the bed and only the bottom
// of the bottom cell (n = 1) reaches the bed.
double cappedFraction(int gi, int gj, int k, int n, bool top) {
  const double q = antlin[gi][gj] - 1 + 1e-10;
  if (top) return std::min((znumber - k) / q, 1.0 - 1.0 / q);
  const double f = (znumber - k + 1) / q;
  return n != 1 ? std::min(f, 1.0 - 1.0 / q) : f;
}

double levelFrom(int gi, int gj, double f) {
  const double zb = zval[gi][gj][1], zs = zval[gi][gj][znumber];
  f = snap(f);
  if (zb > zs) f = 0.0;
  return f * zb + (1.0 - f) * zs;
}

// Member 7: at a grid point marked 1 the bottom corners follow the uncapped
// intervals until they reach the bed, then the mark turns -1 and the default
// cap applies; unmarked points keep the cap.
double markedLevel(int gi, int gj, int k, int n, bool top) {
  const double q = antlin[gi][gj] - 1 + 1e-10;
  double f = 0.0;
  if (vv[gi][gj] == 1) {
    f = (top ? znumber - k : znumber - k + 1) / q;
    if (!top && f > 1.0) vv[gi][gj] = -1;
  }
  if (vv[gi][gj] != 1) f = cappedFraction(gi, gj, k, n, top);
  return levelFrom(gi, gj, f);
}

// Member 9. A grid point marked in vv (an end of a crack, or reached by the
// spreading of the marks) follows the bed: its intervals are counted from
// the surface without the cap, so that a column's cells beyond the line's
// intervals collapse onto the bed there, as member 5's do. Every other point
// keeps the cap of the default generator. The rule belongs to the grid
// point, so the four columns around it put a cell of the same level and
// place in the column at the same height there. The cap counts whole intervals (at most L - 2 from the surface) before it
// divides, so that two cells meeting at a point put it at the same height to
// the last bit, whether the cap or their own level holds them there.
double crackLevel(int gi, int gj, int k, int n, bool top) {
  if (vv[gi][gj] == 1) return uncappedLevel(gi, gj, k, top, false);
  const int L = antlin[gi][gj];
  const int intervals = top ? znumber - k : znumber - k + 1;
  const int capped = !top && n == 1 ? intervals : std::min(intervals, L - 2);
  return levelFrom(gi, gj, capped / (L - 1 + 1e-10));
}

double cornerLevel(int member, int gi, int gj, int k, int n, int a, bool top) {
  switch (member) {
    case 0:
    case 1: return zval[gi][gj][top ? k : k - 1];
    case 2: return uncappedLevel(gi, gj, k, top, true);
    case 3:
    case 4: return bedUpLevel(gi, gj, k, top, n == a);
    case 5: return uncappedLevel(gi, gj, k, top, false);
    case 9: return crackLevel(gi, gj, k, n, top);
    default: return markedLevel(gi, gj, k, n, top);  // 7
  }
}

// ---- Links ---------------------------------------------------------------

// The cell beside level k in a neighbouring column, or 0.
int sameLevel(int ni, int nj, bool onEdge, int k) { return onEdge ? 0 : num[ni][nj][k]; }

// Member 4: a top cell meets the top cell of every neighbour; a lower cell
// only a neighbour that reaches above it.
int topToTop(int ni, int nj, bool onEdge, int k, int a) {
  if (onEdge) return 0;
  const int other = ant[ni][nj];
  if (other <= 0) return 0;
  if (k == a) return num[ni][nj][other];
  return other > k ? num[ni][nj][k] : 0;
}

// Member 9: across a side whose two ends follow the bed the columns meet
// level by level, at the levels both have; the cells of the taller column
// below the other's bottom cell get a wall there (of no height, as they lie
// on the bed at both ends). The marks make every side with one end following
// the bed and the other capped a side between equal counts, where both rules
// link level by level too; the remaining sides keep the default links.
int crackLink(int ni, int nj, bool onEdge, int a, int n, int k, bool followsBed) {
  if (!followsBed) return surfaceAlignedNeighbour(ni, nj, onEdge, a, n, k);
  return onEdge || ant[ni][nj] <= 0 ? 0 : num[ni][nj][k];
}

void describeCrackLinks(const GridBlock &b, int i, int j, int k, int n, int a) {
  const Corners c(i, j);
  auto follows = [&c](int p, int q) { return vv[c.i[p]][c.j[p]] == 1 && vv[c.i[q]][c.j[q]] == 1; };
  int *cell = NewCell.cell;
  cell[kSouth] = crackLink(i, j - 1, j == b.j1, a, n, k, follows(1, 2));
  cell[kEast] = crackLink(i + 1, j, i == b.i2, a, n, k, follows(2, 3));
  cell[kNorth] = crackLink(i, j + 1, j == b.j2, a, n, k, follows(3, 4));
  cell[kWest] = crackLink(i - 1, j, i == b.i1, a, n, k, follows(4, 1));
}

void describeLinks(int member, const GridBlock &b, int i, int j, int k, int n, int a) {
  int *cell = NewCell.cell;
  int *face = NewCell.face;
  if (member == 7) {
    describeDefaultLinks(b, i, j, k, n, a);
    return;
  }
  // Member 0 links across block edges too; the others stay inside the block.
  const bool edges = member != 0;
  const bool south = edges && j == b.j1, east = edges && i == b.i2, north = edges && j == b.j2, west = edges && i == b.i1;
  if (member == 9) {
    describeCrackLinks(b, i, j, k, n, a);
  } else if (member == 4) {
    cell[kSouth] = topToTop(i, j - 1, south, k, a);
    cell[kEast] = topToTop(i + 1, j, east, k, a);
    cell[kNorth] = topToTop(i, j + 1, north, k, a);
    cell[kWest] = topToTop(i - 1, j, west, k, a);
  } else {
    cell[kSouth] = sameLevel(i, j - 1, south, k);
    cell[kEast] = sameLevel(i + 1, j, east, k);
    cell[kNorth] = sameLevel(i, j + 1, north, k);
    cell[kWest] = sameLevel(i - 1, j, west, k);
  }
  cell[kBottom] = num[i][j][k - 1];
  cell[kTop] = num[i][j][k + 1];
  std::fill(face, face + 7, 0);
  // Linked cells meet on the whole side: at one level, (member 4) two top
  // cells, whose upper parts all end between the last point below the
  // surface and the surface, or (member 9, capped ends) two bottom cells from
  // the bed to the first point above it.
  if (i > b.i1 && cell[kWest] != 0) face[kWest] = Cflatee[cell[kWest]];
  if (j > b.j1 && cell[kSouth] != 0) face[kSouth] = Cflaten[cell[kSouth]];
  if (cell[kBottom] != 0) face[kBottom] = Cflatet[cell[kBottom]];
}

// Member 9 builds with MakeCell: the taking of upper corners from the cell
// above the west or south neighbour of MakeCellNew would put a wall cell's
// top on that neighbour's bed where the cap holds the cell one interval
// above it, turning its side edge upside down.
bool usesMakeCellNew(int member) { return member == 0 || member == 2 || member == 7; }

bool buildColumn(int member, const GridBlock &b, int i, int j) {
  const int a = ant[i][j];
  const Corners c(i, j);
  for (int m = 1; m <= 4; ++m) {
    NewCell.x[m] = NewCell.x[m + 4] = xval[c.i[m]][c.j[m]];
    NewCell.y[m] = NewCell.y[m + 4] = yval[c.i[m]][c.j[m]];
  }
  const int low = lowestLevel(member, a);
  for (int n = 1, k = low; n <= a; ++n, ++k) {
    for (int m = 1; m <= 4; ++m) {
      NewCell.z[m] = cornerLevel(member, c.i[m], c.j[m], k, n, a, false);
      NewCell.z[m + 4] = cornerLevel(member, c.i[m], c.j[m], k, n, a, true);
    }
    describeLinks(member, b, i, j, k, n, a);
    if (noRoomForCell()) return false;
    if (usesMakeCellNew(member)) {
      MakeCellNew(num[i][j][k], i, j, k);
    } else {
      MakeCell(num[i][j][k]);
    }
  }
  return true;
}

// ---- Members 14 and 15: points per grid line, cells and faces built here ---

// The points of every grid line, evenly spaced from the bed to the surface at
// the line's top levels; the levels below reuse the lowest point.
bool makeLinePoints(const GridBlock &b) {
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      const int L = antlin[i][j];
      if (NoPoints + L >= MaxPunkter - 1) return false;
      const double zb = zval[i][j][1], zs = zval[i][j][znumber];
      const int lowest = znumber - L + 1;
      for (int k = lowest; k <= znumber; ++k) {
        const int p = ++NoPoints;
        Px[p] = xval[i][j];
        Py[p] = yval[i][j];
        Pz[p] = L > 1 ? zb + (zs - zb) * (k - lowest) / (L - 1) : zs;
        numc[i][j][k] = p;
      }
      for (int k = 0; k < lowest; ++k) numc[i][j][k] = numc[i][j][lowest];
    }
  }
  return true;
}

// Corners of a face by side, as every cell builder orders them (the face of a
// side read from the neighbour's side gives the neighbour's corners).
constexpr int kFaceCorners[7][4] = {
    {0, 0, 0, 0}, {1, 5, 6, 2}, {2, 3, 7, 6}, {4, 8, 7, 3}, {1, 4, 8, 5}, {1, 2, 3, 4}, {5, 6, 7, 8}};

int *faceOf(int side) {
  switch (side) {
    case kSouth: return Cflates;
    case kEast: return Cflatee;
    case kNorth: return Cflaten;
    case kWest: return Cflatew;
    case kBottom: return Cflateb;
    default: return Cflatet;
  }
}

void buildLineCell(int cell, const int p[9], const int link[7], const int shared[7]) {
  for (int side = kSouth; side <= kTop; ++side) {
    int f = shared[side];
    if (f > 0) {
      Fcell2[f] = cell;
    } else {
      f = ++NoSurfaces;
      const bool first = side == kEast || side == kNorth || side == kTop;
      Fcell1[f] = first ? cell : 0;
      Fcell2[f] = first ? 0 : cell;
      const int *corner = kFaceCorners[side];
      Fpoint1[f] = p[corner[0]];
      Fpoint2[f] = p[corner[1]];
      Fpoint3[f] = p[corner[2]];
      Fpoint4[f] = p[corner[3]];
    }
    faceOf(side)[cell] = f;
  }
  int *corner[9] = {nullptr, Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8};
  for (int m = 1; m <= 8; ++m) corner[m][cell] = p[m];
  Ccells[cell] = link[kSouth];
  Ccelle[cell] = link[kEast];
  Ccelln[cell] = link[kNorth];
  Ccellw[cell] = link[kWest];
  Ccellb[cell] = link[kBottom];
  Ccellt[cell] = link[kTop];
}

// Member 14 and the grid points marked in vv of member 15 follow the bed: a
// cell takes the line's points at its own two levels, so the cells beyond
// the line's intervals collapse onto the bed point. The other points of
// member 15 keep the default generator's cap: the bottom of the bottom cell
// lies on the bed point, the other levels of a cell no lower than the first
// point above it, where the cells beyond the intervals collapse.
bool linesFollowBed(int member, int gi, int gj) { return member == 14 || vv[gi][gj] == 1; }

int linePoint(int member, int gi, int gj, int k, int n, bool top) {
  const int level = top ? k : k - 1;
  if (linesFollowBed(member, gi, gj) || (!top && n == 1)) return numc[gi][gj][level];
  const int aboveBed = znumber - antlin[gi][gj] + 2;
  return numc[gi][gj][std::min(std::max(level, aboveBed), znumber)];
}

// The neighbouring column (ni, nj) across the side from corner ca to corner
// cb of column (i, j). Where both ends follow the bed the cells meet level
// by level; elsewhere by the default links. A pair is linked only when its
// two faces have the same four points, so a column whose count the slope
// correction lowered meets a wall where the rules would put their faces
// apart.
int lineLink(int member, const Corners &c, int ca, int cb, int ni, int nj, bool onEdge, int a, int n, int k) {
  if (onEdge || ant[ni][nj] <= 0) return 0;
  const int ga = c.i[ca], gja = c.j[ca], gb = c.i[cb], gjb = c.j[cb];
  const bool follows = linesFollowBed(member, ga, gja) && linesFollowBed(member, gb, gjb);
  const int other = follows ? num[ni][nj][k] : surfaceAlignedNeighbour(ni, nj, false, a, n, k);
  if (other == 0) return 0;
  const int otherN = other - static_cast<int>(zval[ni][nj][0]) + 1;
  const int otherK = znumber - ant[ni][nj] + otherN;
  for (const auto &[gi, gj] : {std::pair{ga, gja}, std::pair{gb, gjb}}) {
    for (const bool top : {false, true}) {
      if (linePoint(member, gi, gj, k, n, top) != linePoint(member, gi, gj, otherK, otherN, top)) return 0;
    }
  }
  return other;
}

bool buildLineColumn(int member, const GridBlock &b, int i, int j) {
  const int a = ant[i][j];
  const Corners c(i, j);
  for (int n = 1, k = znumber - a + 1; n <= a; ++n, ++k) {
    int p[9];
    for (int m = 1; m <= 4; ++m) {
      p[m] = linePoint(member, c.i[m], c.j[m], k, n, false);
      p[m + 4] = linePoint(member, c.i[m], c.j[m], k, n, true);
    }
    int link[7] = {}, shared[7] = {};
    link[kSouth] = lineLink(member, c, 1, 2, i, j - 1, j == b.j1, a, n, k);
    link[kEast] = lineLink(member, c, 2, 3, i + 1, j, i == b.i2, a, n, k);
    link[kNorth] = lineLink(member, c, 3, 4, i, j + 1, j == b.j2, a, n, k);
    link[kWest] = lineLink(member, c, 4, 1, i - 1, j, i == b.i1, a, n, k);
    link[kBottom] = num[i][j][k - 1];
    link[kTop] = num[i][j][k + 1];
    if (link[kWest] != 0) shared[kWest] = Cflatee[link[kWest]];
    if (link[kSouth] != 0) shared[kSouth] = Cflaten[link[kSouth]];
    if (link[kBottom] != 0) shared[kBottom] = Cflatet[link[kBottom]];
    if (noRoomForCell()) return false;
    buildLineCell(num[i][j][k], p, link, shared);
  }
  return true;
}

}  // namespace

bool otherGenerator(int method) {
  const int m = memberOf(method);
  return (m >= 0 && m <= 7) || m == 9 || m == 10 || m == 12 || m == 14 || m == 15;
}

bool buildMemberBlock(GridBlock &b, double deepest) {
  const int member = memberOf(UMethod);
  // Member 9 leaves the appended extra layers without cells.
  if (member == 9 && b.LayerMark != 0) return true;
  countLines(b, member, deepest);
  if (fixedLayers(b, member)) setFixedLayers(b, member);
  countCells(b, member);
  if (member == 6 || member == 10 || member == 12) return buildCountedBlock(b);
  numberCells(b, member);
  if (cellNumbersFull()) return false;
  if (member == 14 || member == 15) {
    b.WorkFlag = 1;
    if (member == 15) {
      markSteepLines(b);
      spreadBedMarks(b);
    }
    if (!makeLinePoints(b)) return false;
    for (int j = b.j1; j <= b.j2; ++j) {
      for (int i = b.i1; i <= b.i2; ++i) {
        if (ant[i][j] > 0 && !buildLineColumn(member, b, i, j)) return false;
      }
    }
    return true;
  }
  if (member == 0 || member == 1) flattenFixedLevels(b);
  if (member == 7) markSteepLines(b);
  if (member == 9) {
    markCracks(b);
    spreadBedMarks(b);
  }
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (ant[i][j] > 0 && !buildColumn(member, b, i, j)) return false;
    }
  }
  return true;
}
