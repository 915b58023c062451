// The geometry pass of the grid: centres, extents, areas and volumes of the
// cells, areas, normals, side codes, second neighbours and distances of the
// faces, the flow flag of every face and the solve order of the cells, with
// the optional steps of geometry_variants.cpp at their places. Refuses a
// cell that no finite-volume scheme can work on.
#include <cmath>

#include "grid/geometry/geometry_variants.h"
#include "grid/generation/grid_build.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"

namespace {

// A cell thinner or flatter than this has no volume to solve for.
constexpr double kZeroVolume = 1e-30;
// The top face centre may lie this far beside the bottom face centre (m):
// the columns are vertical, and more than rounding means broken input.
constexpr double kMaxSkew = 1e-7;

// The eight corners of one cell: point numbers and coordinates, 1..8.
struct Corners {
  int p[9];
  double x[9], y[9], z[9];
};

void loadCorners(int c, Corners &k) {
  const int p[9] = {0, Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c], Cpoint5[c], Cpoint6[c], Cpoint7[c], Cpoint8[c]};
  for (int m = 0; m <= 8; ++m) {
    k.p[m] = p[m];
    k.x[m] = Px[p[m]];
    k.y[m] = Py[p[m]];
    k.z[m] = Pz[p[m]];
  }
}

// Sum of the corners of the +side minus those of the -side.
double across(const double *v, int a, int b, int c, int d, int e, int f, int g, int h) {
  return v[a] + v[b] + v[c] + v[d] - v[e] - v[f] - v[g] - v[h];
}

double length(double x, double y, double z) { return std::sqrt(x * x + y * y + z * z); }

// The structured column (i, j) whose four corner lines are in the grid.
bool columnInGrid(int i, int j) { return i >= 1 && j >= 1 && i <= xnumber + 1 && j <= ynumber + 1; }

// Levels of plane k at the four corner lines of column (i, j), in corner order.
void logCornerLevels(const char *label, int i, int j, int k) {
  logPrintf("%s: %lf %lf %lf %lf\n", label, zval[i - 1][j - 1][k], zval[i][j - 1][k], zval[i][j][k], zval[i - 1][j][k]);
}

[[noreturn]] void zeroVolume(int c, const Corners &k) {
  const int b = Cbed ? Cbed[c] : 0;
  logPrintf("\nIn metric, Error for cell %d, zero volume: %lf\n ", c, Cvol[c]);
  logPrintf("Bed cell b=%d\n", b);
  // Without a bed cell the column is unknown; its levels are not shown.
  if (Bkooi && b >= 1 && columnInGrid(Bkooi[b], Bkooj[b])) {
    const int i = Bkooi[b], j = Bkooj[b];
    logPrintf("Cell indexes: i=%d, j=%d, bed cell=%d\n", i, j, static_cast<int>(zval[i][j][0]));
    logCornerLevels("zval[1]", i, j, 1);
    logCornerLevels("zval[znumber]", i, j, znumber);
    logPrintf("Surfaces[LB]: %lf %lf %lf %lf\n", Surfaces[3][i - 1][j - 1], Surfaces[3][i][j - 1], Surfaces[3][i][j],
              Surfaces[3][i - 1][j]);
  }
  logPrintf("Iter = %d\n", Iter);
  logPrintf("idist,jdist,kdist = %lf %lf %lf\n", Cidist[c], Cjdist[c], Ckdist[c]);
  logPrintf("Careax = %lf, Careay = %lf, Careaz = %lf\n", Careax[c], Careay[c], Careaz[c]);
  const double *axis[3] = {k.x, k.y, k.z};
  const char *label[3] = {"x", "y", "z"};
  for (int a = 0; a < 3; ++a) {
    logPrintf("Coordinates: %s: %lf %lf %lf %lf\n", label[a], axis[a][1], axis[a][2], axis[a][3], axis[a][4]);
    logPrintf("Coordinates: %s: %lf %lf %lf %lf\n", label[a], axis[a][5], axis[a][6], axis[a][7], axis[a][8]);
  }
  if (UMethod2 > 0) {
    logPrintf("Point numbers: %d %d %d %d %d %d %d %d\n", k.p[1], k.p[2], k.p[3], k.p[4], k.p[5], k.p[6], k.p[7],
              k.p[8]);
  }
  operations.WriteAllData();
  fatalExit(kExitUnreadable, nullptr);
}

// Corners in vertical pairs: 1 and 5, 2 and 6, 3 and 7, 4 and 8.
constexpr int kPairOrder[8] = {1, 5, 2, 6, 3, 7, 4, 8};

[[noreturn]] void skewed(int c, const Corners &k) {
  logPrintf("\nIn metric, Error for cell %d, skewed in horizontal direction\n", c);
  logPrintf("Iter = %d\n", Iter);
  logPrintf("Cdxdk,Cdydk = %lf %lf\n", Cdxdk[c], Cdydk[c]);
  logText("Both these numbers should have very small values\n");
  logText("This error may be due to too large numbers in the geometry data\n");
  logText("A correction is to use a local coordinate system,\n");
  logText("with origo close to the work area\n");
  logText("Another cause of the error may be incorrect data in the input files\n");
  logText("Then check that pairs of coordinates below are identical:\n");
  logText("Coordinates: x and y values for the eight corners of the cell: \n");
  for (int m : kPairOrder) logPrintf("Point %d: %lf %lf\n", m, k.x[m], k.y[m]);
  logText("Indexes for pointers to cells: \n");
  for (int m = 1; m <= 8; ++m) logPrintf("Point %d: %d\n", m, k.p[m]);
  if (Cbed) {
    // Down the column to its bottom cell, at most one step per cell.
    int bottom = c;
    for (int steps = 0; Ccellb[bottom] > 0 && steps < NoCells; ++steps) bottom = Ccellb[bottom];
    const int b = Cbed[bottom];
    logPrintf("Grid indexes: (%d,%d)\n", Bkooi[b], Bkooj[b]);
  }
  logText("Neighbour cells: \n");
  logPrintf("North: %d, South: %d, East: %d, West: %d, Top: %d, Bottom: %d\n", Ccelln[c], Ccells[c], Ccelle[c],
            Ccellw[c], Ccellt[c], Ccellb[c]);
  operations.WriteAllData();
  operations.sprintflow();
  fatalExit(kExitUnreadable, nullptr);
}

[[noreturn]] void upsideDown(int c, const Corners &k) {
  logPrintf("\nIn metric, Error for cell %d, negative vertical direction\n", c);
  logPrintf("Iter = %d\n", Iter);
  logPrintf("Cdzdk = %le, Ckdist = %le\n", Cdzdk[c], Ckdist[c]);
  logPrintf("Ccellb = %d, Ccellt = %d\n", Ccellb[c], Ccellt[c]);
  logPrintf("Cdzdk[Ccellt[ll]] = %le\n", Cdzdk[Ccellt[c]]);
  for (int m : kPairOrder) logPrintf("Point %d: %lf %lf %le\n", m, k.x[m], k.y[m], k.z[m]);
  const int b = Cbed ? Cbed[c] : 0;
  // The column and its four side neighbours must lie inside the structured arrays.
  if (Bkooi && Bkooi[b] > 1 && Bkooj[b] > 1 && Bkooi[b] <= xnumber && Bkooj[b] <= ynumber) {
    const int i = Bkooi[b], j = Bkooj[b];
    const int ci[4] = {i - 1, i, i, i - 1}, cj[4] = {j - 1, j - 1, j, j};
    double water = 0.0, bed = 0.0;
    for (int m = 0; m < 4; ++m) {
      water += zval[ci[m]][cj[m]][znumber];
      bed += zval[ci[m]][cj[m]][1];
    }
    logPrintf("2D cell indexes: %d %d, depth = %lf meters.\n", i, j, 0.25 * water - 0.25 * bed);
    logPrintf("ant = %d, antlin = %d, %d, %d, %d\n", ant[i][j], antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j],
              antlin[i - 1][j]);
    logPrintf("zval[i-1][j-1] = %lf %lf\n", zval[i - 1][j - 1][1], zval[i - 1][j - 1][znumber]);
    logPrintf("zval[i][j-1] = %lf %lf\n", zval[i][j - 1][1], zval[i][j - 1][znumber]);
    logPrintf("zval[i][j] = %lf %lf\n", zval[i][j][1], zval[i][j][znumber]);
    logPrintf("zval[i-1][j] = %lf %lf\n", zval[i - 1][j][1], zval[i - 1][j][znumber]);
    logPrintf("Bed neighbours (senw): %d %d %d %d\n", pointbed[i][j - 1], pointbed[i + 1][j], pointbed[i][j + 1],
              pointbed[i - 1][j]);
    logPrintf("Cell neighbours (senw): %d %d %d %d\n", static_cast<int>(zval[i][j - 1][0]),
              static_cast<int>(zval[i + 1][j][0]), static_cast<int>(zval[i][j + 1][0]),
              static_cast<int>(zval[i - 1][j][0]));
    logPrintf("zval[0] = %d\n", static_cast<int>(zval[i][j][0]));
  }
  operations.WriteAllData();
  fatalExit(kExitUnreadable, nullptr);
}

// Extents, centre, areas and volume of every cell from its eight corners;
// each cell is checked before the next is computed.
void cellPass() {
  Corners k;
  for (int c = 1; c <= NoCells; ++c) {
    loadCorners(c, k);
    const double six = across(k.x, 2, 3, 6, 7, 1, 4, 5, 8), siy = across(k.y, 2, 3, 6, 7, 1, 4, 5, 8),
                 siz = across(k.z, 2, 3, 6, 7, 1, 4, 5, 8);
    const double sjx = across(k.x, 3, 4, 7, 8, 1, 2, 5, 6), sjy = across(k.y, 3, 4, 7, 8, 1, 2, 5, 6),
                 sjz = across(k.z, 3, 4, 7, 8, 1, 2, 5, 6);
    const double skx = across(k.x, 5, 6, 7, 8, 1, 2, 3, 4), sky = across(k.y, 5, 6, 7, 8, 1, 2, 3, 4),
                 skz = across(k.z, 5, 6, 7, 8, 1, 2, 3, 4);
    Cdxdi[c] = 0.25 * six;
    Cdydi[c] = 0.25 * siy;
    Cdzdi[c] = 0.25 * siz;
    Cidist[c] = 0.125 * length(six, siy, siz);
    Cdxdj[c] = 0.25 * sjx;
    Cdydj[c] = 0.25 * sjy;
    Cdzdj[c] = 0.25 * sjz;
    Cjdist[c] = 0.125 * length(sjx, sjy, sjz);
    Cdxdk[c] = 0.25 * skx;
    Cdydk[c] = 0.25 * sky;
    Cdzdk[c] = 0.25 * skz;
    Ckdist[c] = 0.125 * length(skx, sky, skz);
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (int m = 1; m <= 8; ++m) {
      sx += k.x[m];
      sy += k.y[m];
      sz += k.z[m];
    }
    Cxcenter[c] = 0.125 * sx;
    Cycenter[c] = 0.125 * sy;
    Czcenter[c] = 0.125 * sz;
    // Positive when the bottom corners run anticlockwise seen from above.
    Careaz[c] = 0.5 * ((k.x[1] - k.x[3]) * (k.y[2] - k.y[4]) - (k.x[2] - k.x[4]) * (k.y[1] - k.y[3]));
    Cvol[c] = 2.0 * Careaz[c] * Ckdist[c];
    Careay[c] = 2.0 * Ckdist[c] * std::sqrt(Cdxdi[c] * Cdxdi[c] + Cdydi[c] * Cdydi[c]);
    Careax[c] = 2.0 * Ckdist[c] * std::sqrt(Cdxdj[c] * Cdxdj[c] + Cdydj[c] * Cdydj[c]);

    if (Cvol[c] < kZeroVolume || std::isnan(Cvol[c])) zeroVolume(c, k);
    if (std::fabs(Cdxdk[c]) > kMaxSkew || std::fabs(Cdydk[c]) > kMaxSkew) skewed(c, k);
    if (Cdzdk[c] < kZeroVolume) upsideDown(c, k);
  }
}

// What one side of a cell gives to the face on that side: the side code, the
// cell beyond, and the half width normal to the face.
struct SideValues {
  int type, beyond;
  double dist;
};

// The side of cell a that face f is, 0 for none; a later match wins, as the
// sides are tested south, east, north, west, bottom, top.
SideValues sideOf(int f, int a) {
  SideValues v{0, 0, 0.0};
  if (a <= 0) return v;
  if (Cflates[a] == f) v = {1, Ccelln[a], Cjdist[a]};
  if (Cflatee[a] == f) v = {2, Ccellw[a], Cidist[a]};
  if (Cflaten[a] == f) v = {3, Ccells[a], Cjdist[a]};
  if (Cflatew[a] == f) v = {4, Ccelle[a], Cidist[a]};
  if (Cflateb[a] == f) v = {5, Ccellt[a], Ckdist[a]};
  if (Cflatet[a] == f) v = {6, Ccellb[a], Ckdist[a]};
  return v;
}

// Height of a side face: its upper edge minus its lower edge, from the
// corner order of the side (points 2-3 above 1-4 on south and north faces,
// 3-4 above 1-2 on east and west faces).
double sideHeight(int type, const double z[5]) {
  if (type == 1 || type == 3) return 0.5 * (z[2] + z[3] - z[1] - z[4]);
  if (type == 2 || type == 4) return 0.5 * (z[4] + z[3] - z[1] - z[2]);
  return 0.0;
}

// Area vector, normal and the two sides of every face. The second-neighbour
// and distance entries of a face that is no side of its cell are cleared, so
// nothing of an earlier grid survives in them; the height of a side face is
// taken from Fcell1, or from Fcell2 when the face is no side of Fcell1.
void facePass() {
  for (int f = 1; f <= NoSurfaces; ++f) {
    const int p[5] = {0, Fpoint1[f], Fpoint2[f], Fpoint3[f], Fpoint4[f]};
    const double d1x = Px[p[1]] - Px[p[3]], d1y = Py[p[1]] - Py[p[3]], d1z = Pz[p[1]] - Pz[p[3]];
    const double d2x = Px[p[2]] - Px[p[4]], d2y = Py[p[2]] - Py[p[4]], d2z = Pz[p[2]] - Pz[p[4]];
    const double nx = d1y * d2z - d1z * d2y, ny = d1z * d2x - d1x * d2z, nz = d1x * d2y - d1y * d2x;
    const double n = length(nx, ny, nz);
    Farea[f] = 0.5 * n;
    Fvx[f] = nx / (n + 1e-20);
    Fvy[f] = ny / (n + 1e-20);
    Fvz[f] = nz / (n + 1e-20);
    Fax[f] = 0.5 * nx;
    Fay[f] = 0.5 * ny;
    Faz[f] = 0.5 * nz;

    const SideValues one = sideOf(f, Fcell1[f]);
    const SideValues two = sideOf(f, Fcell2[f]);
    const double z[5] = {0.0, Pz[p[1]], Pz[p[2]], Pz[p[3]], Pz[p[4]]};
    Ftype1[f] = one.type;
    Fcell11[f] = one.beyond;
    Fdist1[f] = one.dist;
    // A boundary face on the west, south or bed side has no Fcell1: its
    // height comes from the side it is of Fcell2, whose corner order is the same.
    Fdz[f] = sideHeight(one.type != 0 ? one.type : two.type, z);
    Ftype2[f] = two.type;
    Fcell22[f] = two.beyond;
    Fdist2[f] = two.dist;
  }
}

// A joined pair of faces across a block border: each face record takes the
// other block's cell as its second cell, with its side code, the cell beyond
// and its distance. The own side of a face is side 1 when Ftype1 is set.
void joinConnectedFaces() {
  for (int r = 1; r <= NoConnFlate; ++r) {
    const int a = connFlate[r][0], b = connFlate[r][1];
    const bool aFirst = Ftype1[a] != 0, bFirst = Ftype1[b] != 0;
    const SideValues ownA = aFirst ? SideValues{Ftype1[a], Fcell11[a], Fdist1[a]}
                                   : SideValues{Ftype2[a], Fcell22[a], Fdist2[a]};
    const SideValues ownB = bFirst ? SideValues{Ftype1[b], Fcell11[b], Fdist1[b]}
                                   : SideValues{Ftype2[b], Fcell22[b], Fdist2[b]};
    auto writeOther = [](int f, bool first, const SideValues &v) {
      if (first) {
        Ftype2[f] = v.type;
        Fcell22[f] = v.beyond;
        Fdist2[f] = v.dist;
      } else {
        Ftype1[f] = v.type;
        Fcell11[f] = v.beyond;
        Fdist1[f] = v.dist;
      }
    };
    writeOther(a, aFirst, ownB);
    writeOther(b, bFirst, ownA);
  }
}

// The flow flag of a face with cells on at most one side, by F 70.
int boundaryFlag(int f) {
  if (WallFlag == 5) return Ftype1[f] == 6 && Fcell2[f] == 0 ? -1 : 0;
  if (Ftype1[f] == 6 && Fcell2[f] == 0 && WallFlag != 4) return 0;  // the water surface: closed, frictionless
  if (Fcell1[f] == 0 && Ftype2[f] == 5) return -1;                  // the bed
  if (Farea[f] < SmallNumberUnstruc) return findFlagflowTriangle(f);
  if (WallFlag == 0 || WallFlag == 3 || WallFlag == 4) return -1;
  if (WallFlag == 1) return Ftype1[f] == 0 && Ftype2[f] == 5 ? -1 : 0;
  return 0;
}

void setFlowFlags() {
  for (int f = 1; f <= NoSurfaces; ++f) {
    Fflagflow[f] = Fcell1[f] > 0 && Fcell2[f] > 0 ? 1 : boundaryFlag(f);
    const int t = Ftype2[f];
    Fin[f] = t == 1 || t == 4 || t == 5 ? 1 : -1;
  }
}

// The cells of the three-dimensional blocks column by column, i outer and j
// inner, each column from its bottom cell up; 0 before the first and after
// the last. The list never runs past the cell table.
void buildSolveOrder() {
  int n = 0;
  Cisolve[0] = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0 || blk.i1 > blk.i2) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        for (int c = static_cast<int>(zval[i][j][0]); c >= 1; c = Ccellt[c]) {
          if (n + 2 >= MaxCeller) {
            fatalPrintf(kExitTableFull, nullptr,
                        "Error in metric: the solve order of the cells does not fit, increase the first integer on "
                        "the F 65 data set\n");
          }
          Cisolve[++n] = c;
        }
      }
    }
  }
  Cisolve[n + 1] = 0;
}

}  // namespace

int findFlagflowTriangle(int f) {
  const int c1 = Fcell1[f];
  if (c1 > 0 && Ccellb[c1] > 0) {
    int m = c1;
    while (Ccellb[m] > 0) m = Ccellb[m];
    if (Ftype1[f] == 2) return Ccelle[m] > 0 ? 2 : 0;
    if (Ftype1[f] == 3) return Ccelln[m] > 0 ? 2 : 0;
  }
  const int c2 = Fcell2[f];
  if (c2 < 1 || Ccellb[c2] <= 0) return 0;
  int m = c2;
  while (Ccellb[m] > 0) m = Ccellb[m];
  if (Ftype2[f] == 1) return Ccells[m] > 0 ? 2 : 0;
  if (Ftype2[f] == 4) return Ccellw[m] > 0 ? 2 : 0;
  return 0;
}

void metric() {
  if (FlagExtraDebug == 1) logPrintf("In start of metric %d\n", FlagHaveDoneMetric);
  if (FlagHaveDoneMetric == 1 && FlagTestBugMetric == 0) return;
  cellPass();
  facePass();
  correctCollapsedCells();
  layeredColumnSides();
  tiltSideNormals();
  otime[44] = wallClock();
  joinConnectedFaces();
  setFlowFlags();
  markBorderFaces();
  levelDischargeFaces();
  otime[45] = wallClock();
  mapNestedBorders();
  otime[46] = wallClock();
  mapParentCells();
  otime[47] = wallClock();
  writeGridStatistics();
  buildSolveOrder();
  FlagHaveDoneMetric = 1;
  if (FlagExtraDebug == 1) logText("End metric\n");
}
