// The per-block build of the second grid generator: the points of every
// vertical grid line, the cell numbers of every column, the faces of every
// grid edge and column, and the cells' faces, corners and neighbours read
// from those faces. Writes Px, Py, Pz, the cell and face tables and the counts.
#include <algorithm>
#include <cmath>
#include <utility>

#include "grid/generation/second_generator.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// A water surface closer than this to TurbTop makes no line of its own, m.
constexpr double kSurfaceGap = 1e-10;

// The tables of F 65 keep one entry spare, as in the main generator.
void roomForPoint() {
  if (NoPoints + 1 < MaxPunkter - 1) return;
  fatalPrintf(kExitControlMissing, nullptr,
              "Error in grid generation, NoPoints = %d, increase numbers on F 65 data set\n\n", NoPoints + 1);
}

void roomForCells(int cells) {
  if (NoCells + cells < MaxCeller - 1) return;
  logPrintf("Error in grid generation, NoCells = %d, MaxCeller = %d\n", NoCells + cells, MaxCeller);
  fatalExit(kExitControlMissing, "Increase numbers on the F 65 data set in the control file\n\n");
}

void roomForFaces(int faces) {
  if (NoSurfaces + faces + 1 < MaxFlater - 1) return;
  logPrintf("Error in grid generation, NoSurfaces = %d, MaxFlater = %d\n", NoSurfaces + faces, MaxFlater);
  fatalExit(kExitControlMissing, "Increase numbers on the F 65 data set in the control file\n\n");
}

bool wet(int i, int j) { return ant[i][j] > 0; }

void addPoint(double x, double y, double z) {
  roomForPoint();
  ++NoPoints;
  Px[NoPoints] = x;
  Py[NoPoints] = y;
  Pz[NoPoints] = z;
}

// The points of one vertical line, bed first. The lower zone is spread by
// F 511 (1 even, above 1 finer at the bed, below 1 finer at TurbTop); the
// upper zone takes the fixed levels and the surface. The line holds exactly
// antlin points: should the filters have left fewer, the rest lie at the top.
void linePoints(int i, int j) {
  pointint[i][j] = NoPoints + 1;
  const double x = xval[i][j], y = yval[i][j], bed = zval[i][j][1], surface = zval[i][j][znumber];
  const double top = TurbTop[i][j], depth = top - bed, c3 = GridDistCoeff3;
  const int n = antlinT[i][j], total = antlin[i][j];
  const double span = n > 2 ? n - 1.0 : 1.0;
  double z = bed;
  for (int k = 1; k <= n; ++k) {
    z = bed;
    if (depth > 0.0) {
      const double g = c3 > 1.0 ? std::pow((k - 1) / span, c3) : 1.0 - std::pow((n - k) / span, 1.0 / c3);
      z = bed + depth * g;
    }
    if (FlagFollowSurface == 1) z = std::min(z, surface);
    addPoint(x, y, z);
  }
  int made = n;
  if (UMethod2 == 1 && depth > 0.0) {
    const double h = n > 1 ? depth / (n - 1) : depth;
    for (int k = 1; k <= znumber && made < total; ++k) {
      if (zdistrib[k] > top + 0.5 * h && zdistrib[k] < surface - 0.5 * h) {
        z = zdistrib[k];
        addPoint(x, y, z);
        ++made;
      }
    }
    if (made < total && surface > top + kSurfaceGap) {
      z = surface;
      addPoint(x, y, z);
      ++made;
    }
  }
  for (; made < total; ++made) addPoint(x, y, z);
}

// A grid line gets points when a column beside it is wet.
void makePoints(const GridBlock &b) {
  for (int j = b.j1 - 1; j <= b.j2; ++j) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      if (antlin[i][j] > 0 && (wet(i, j) || wet(i + 1, j) || wet(i, j + 1) || wet(i + 1, j + 1))) linePoints(i, j);
    }
  }
}

void numberCells(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (!wet(i, j)) continue;
      roomForCells(ant[i][j]);
      pointcell[i][j] = NoCells + 1;
      zval[i][j][0] = NoCells + 1;
      NoCells += ant[i][j];
    }
  }
}

// Faces reserved on the edge between lines P and Q: the lower zone of the
// line with more lower points, and the larger upper zone.
int edgeFaces(int pi, int pj, int qi, int qj) {
  return std::max({antlinT[pi][pj], antlinT[qi][qj], 1}) - 1 +
         std::max(antlin[pi][pj] - antlinT[pi][pj], antlin[qi][qj] - antlinT[qi][qj]);
}

// Reserved numbers that no face takes stay empty: no cells, no points.
int reserve(int faces) {
  roomForFaces(faces);
  const int first = NoSurfaces + 1;
  NoSurfaces += faces;
  for (int *t : {Fpoint1, Fpoint2, Fpoint3, Fpoint4}) std::fill(t + first, t + NoSurfaces + 1, 0);
  return first;
}

// Returns the first face of the j-edges and of the columns.
std::pair<int, int> numberFaces(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      if (!wet(i, j) && !wet(i + 1, j)) continue;
      if (const int m = edgeFaces(i, j - 1, i, j); m > 0) intSurfI[i][j] = reserve(m);
    }
  }
  const int firstJ = NoSurfaces + 1;
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      if (!wet(i, j) && !wet(i, j + 1)) continue;
      if (const int m = edgeFaces(i - 1, j, i, j); m > 0) intSurfJ[i][j] = reserve(m);
    }
  }
  const int firstK = NoSurfaces + 1;
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (wet(i, j)) intSurfK[i][j] = reserve(ant[i][j] + 1);
    }
  }
  return {firstJ, firstK};
}

// A column beside an edge: its bottom cell (0 dry or outside the arrays), its
// lower-zone and total cell counts.
struct EdgeColumn {
  int bottom = 0, lower = 0, cells = 0;
};

EdgeColumn columnAt(int i, int j) {
  if (i < 0 || j < 0 || i > xnumber + 1 || j > ynumber + 1 || ant[i][j] <= 0) return {};
  return {pointcell[i][j], antT[i][j], ant[i][j]};
}

// A vertical line at an edge end: bed point, lower top, top point.
struct EdgeLine {
  int bed = 0, lowerTop = 0, top = 0, lower = 0, lines = 0;
};

EdgeLine lineAt(int i, int j) {
  const int p = pointint[i][j];
  return {p, p + antlinT[i][j] - 1, p + antlin[i][j] - 1, antlinT[i][j], antlin[i][j]};
}

void setFace(int f, int a, int b, int p0, int p1, int q0, int q1, bool iEdge) {
  Fcell1[f] = a;
  Fcell2[f] = b;
  Fpoint1[f] = p0;
  if (iEdge) {
    Fpoint2[f] = q0;
    Fpoint3[f] = q1;
    Fpoint4[f] = p1;
  } else {
    Fpoint2[f] = p1;
    Fpoint3[f] = q1;
    Fpoint4[f] = q0;
  }
}

// The lower points of face k on a line: t steps down from its lower top; the
// lowest face stands on the bed points, a dry line gives its one point.
void lowerPoints(const EdgeLine &x, int t, bool lowest, int &lo, int &up) {
  if (x.lower <= 1) {
    lo = up = x.bed;
  } else if (lowest) {
    lo = x.bed;
    up = x.bed + 1;
  } else {
    up = std::max(x.lowerTop - t, x.bed + 1);
    lo = std::max(x.lowerTop - t - 1, x.bed + 1);
  }
}

// The faces of one edge from the top of each zone downwards: every column
// gives its cells one per face from its top down, so columns of different
// counts pair their upper cells; the lowest face pairs the bottom cells.
void buildEdge(int f0, const EdgeColumn &a, const EdgeColumn &b, const EdgeLine &p, const EdgeLine &q, bool iEdge) {
  const int lower = std::max(p.lower, q.lower);
  for (int k = lower - 2; k >= 0; --k) {
    const int t = lower - 2 - k;
    int ca = a.bottom > 0 ? a.bottom + a.lower - 1 - t : 0;
    int cb = b.bottom > 0 ? b.bottom + b.lower - 1 - t : 0;
    if (ca < a.bottom) ca = 0;
    if (cb < b.bottom) cb = 0;
    if (k == 0) {
      ca = a.bottom;
      cb = b.bottom;
    }
    int p0, p1, q0, q1;
    lowerPoints(p, t, k == 0, p0, p1);
    lowerPoints(q, t, k == 0, q0, q1);
    setFace(f0 + k, ca, cb, p0, p1, q0, q1, iEdge);
  }
  const int lines = std::max(p.lines, q.lines);
  for (int k = lines - 2; k >= lower - 1; --k) {
    const int t = lines - 2 - k;
    const int ca = a.bottom > 0 && a.bottom + a.cells - 1 - t >= a.bottom + a.lower ? a.bottom + a.cells - 1 - t : 0;
    const int cb = b.bottom > 0 && b.bottom + b.cells - 1 - t >= b.bottom + b.lower ? b.bottom + b.cells - 1 - t : 0;
    if (ca == 0 && cb == 0) break;
    setFace(f0 + k, ca, cb, std::max(p.top - t - 1, p.lowerTop), std::max(p.top - t, p.lowerTop),
            std::max(q.top - t - 1, q.lowerTop), std::max(q.top - t, q.lowerTop), iEdge);
  }
}

void buildEdges(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      if ((wet(i, j) || wet(i + 1, j)) && edgeFaces(i, j - 1, i, j) > 0) {
        buildEdge(intSurfI[i][j], columnAt(i, j), columnAt(i + 1, j), lineAt(i, j - 1), lineAt(i, j), true);
      }
    }
  }
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) {
      if ((wet(i, j) || wet(i, j + 1)) && edgeFaces(i - 1, j, i, j) > 0) {
        buildEdge(intSurfJ[i][j], columnAt(i, j), columnAt(i, j + 1), lineAt(i - 1, j), lineAt(i, j), false);
      }
    }
  }
}

// The horizontal faces of a wet column, bed to surface. A lower face k below
// the lower top takes on each corner line the point k below its lower top,
// never the bed point; an upper face the point k below the line's top, never
// below the lower top.
void buildColumnFaces(int i, int j) {
  const int f0 = intSurfK[i][j], c = pointcell[i][j], lower = antT[i][j], cells = ant[i][j];
  const EdgeLine x[4] = {lineAt(i - 1, j - 1), lineAt(i, j - 1), lineAt(i, j), lineAt(i - 1, j)};
  int lowTop[4];
  for (int n = 0; n < 4; ++n) {
    lowTop[n] = lower > 0 && x[n].lower > 1 ? x[n].bed - 1 + std::max(x[n].lower, 2) : x[n].bed;
  }
  auto put = [](int f, int below, int above, const int pts[4]) {
    Fcell1[f] = below;
    Fcell2[f] = above;
    Fpoint1[f] = pts[0];
    Fpoint2[f] = pts[1];
    Fpoint3[f] = pts[2];
    Fpoint4[f] = pts[3];
  };
  int pts[4];
  for (int n = 0; n < 4; ++n) pts[n] = x[n].bed;
  put(f0, 0, c, pts);
  for (int k = 0; k < lower; ++k) {
    for (int n = 0; n < 4; ++n) pts[n] = x[n].lower <= 1 ? x[n].bed : x[n].bed - 1 + std::max(x[n].lower - k, 2);
    put(f0 + lower - k, c + lower - k - 1, c + lower - k, pts);
  }
  for (int k = 0; k < cells - lower; ++k) {
    for (int n = 0; n < 4; ++n) pts[n] = std::max(x[n].top - k, lowTop[n]);
    put(f0 + cells - k, c + cells - 1 - k, c + cells - k, pts);
  }
  Fcell2[f0 + cells] = 0;
}

void buildColumns(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (wet(i, j)) buildColumnFaces(i, j);
    }
  }
}

// The dummy cell 0 collects the links of boundary faces; it is cleared after
// each family of faces.
void clearDummyCell() {
  for (int *t : {Cflates, Cflatee, Cflaten, Cflatew, Cflateb, Cflatet, Ccells, Ccelle, Ccelln, Ccellw, Ccellb, Ccellt,
                 Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7, Cpoint8}) {
    t[0] = 0;
  }
}

// A later block's edge face takes over the side of an earlier block's cell:
// the earlier block's own face there would still bound that cell in the face
// loops, so it loses both cells.
void takeOver(int *faceOfSide, int cell, int f, const GridBlock &b) {
  const int old = faceOfSide[cell];
  if (cell > 0 && cell < b.FirstCell && old > 0 && old < b.FirstFace) Fcell1[old] = Fcell2[old] = 0;
  faceOfSide[cell] = f;
}

// Corners of a cell side, in the order of the face points 1..4.
void setCorners(int cell, int *const corners[4], int f) {
  corners[0][cell] = Fpoint1[f];
  corners[1][cell] = Fpoint2[f];
  corners[2][cell] = Fpoint3[f];
  corners[3][cell] = Fpoint4[f];
}

// One family of faces: the first cell takes the face on side `out`, the
// second on side `in`, and each names the other as neighbour.
void linkFamily(int first, int last, int *outFace, int *inFace, int *outCell, int *inCell, int *const outCorners[4],
                int *const inCorners[4], const GridBlock &b, bool sideFamily) {
  for (int f = first; f <= last; ++f) {
    const int a = Fcell1[f], c = Fcell2[f];
    if (a == 0 && c == 0) continue;
    if (sideFamily) {
      takeOver(outFace, a, f, b);
      takeOver(inFace, c, f, b);
    } else {
      outFace[a] = f;
      inFace[c] = f;
    }
    setCorners(a, outCorners, f);
    setCorners(c, inCorners, f);
    if (a > 0) outCell[a] = c;
    if (c > 0) inCell[c] = a;
  }
  clearDummyCell();
}

// The face ranges of the three families follow each other in the block's
// numbering: i-edges, j-edges, columns.
void linkCells(const GridBlock &b, int firstJ, int firstK) {
  int *const east[4] = {Cpoint2, Cpoint3, Cpoint7, Cpoint6};
  int *const west[4] = {Cpoint1, Cpoint4, Cpoint8, Cpoint5};
  linkFamily(b.FirstFace, firstJ - 1, Cflatee, Cflatew, Ccelle, Ccellw, east, west, b, true);
  int *const north[4] = {Cpoint4, Cpoint8, Cpoint7, Cpoint3};
  int *const south[4] = {Cpoint1, Cpoint5, Cpoint6, Cpoint2};
  linkFamily(firstJ, firstK - 1, Cflaten, Cflates, Ccelln, Ccells, north, south, b, true);
  int *const top[4] = {Cpoint5, Cpoint6, Cpoint7, Cpoint8};
  int *const bottom[4] = {Cpoint1, Cpoint2, Cpoint3, Cpoint4};
  linkFamily(firstK, NoSurfaces, Cflatet, Cflateb, Ccellt, Ccellb, top, bottom, b, false);
}

}  // namespace

void buildSecondBlock(const GridBlock &b) {
  makePoints(b);
  numberCells(b);
  const auto [firstJ, firstK] = numberFaces(b);
  buildEdges(b);
  buildColumns(b);
  linkCells(b, firstJ, firstK);
}
