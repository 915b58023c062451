// The optional steps of the geometry pass: collapsed-cell corrections, the
// faces of independently layered columns, tilted side faces, partition and
// nesting borders, small-face cuts, discharge-face levels, the map from the
// nested borders to their parent cells, and the grid statistics of F 212.
// Writes face and cell geometry, Fflagflow, Ncell, Nvect, Cinterpolnest,
// "cellvol" and lines of "boogie".
#include "files/write_check.h"
#include "grid/geometry/geometry_variants.h"

#include <cmath>
#include <cstdio>

#include "flow/boundaries/discharge_groups.h"
#include "grid/grid_services.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

// The slots of the parent cells of one border face.
constexpr int kNestSlots = 4;
// Bins of the level histograms of "cellvol": 0..100.
constexpr int kLevelBins = 101;
// At most this many points of "geodata" enter the second histogram.
constexpr long kMaxGeodataPoints = 1000000000L;

// Doubles the area of the side faces of c that have a cell beyond.
void doubleSideAreas(int c) {
  const int *faces[4] = {Cflatee, Cflaten, Cflates, Cflatew};
  const int *cells[4] = {Ccelle, Ccelln, Ccells, Ccellw};
  for (int s = 0; s < 4; ++s) {
    if (cells[s][c] > 0) Farea[faces[s][c]] *= 2.0;
  }
}

// One side of the independently layered columns: every listed cell of the
// column beyond takes c on the given side of its facing face.
struct QNSide {
  int *count, **first;
  int *nearFace;      // face of the listed cell that faces c
  int *across;        // neighbour of c across that face
  int *opposite;      // neighbour of c on the far side
  double *dist;       // half width of c normal to the side
  bool cIsFirst;      // c becomes Fcell1 of the face (its east or north side)
  int type;           // side code of c on that face
};

void applyQNSide(int c, const QNSide &s) {
  const int n = s.count[c];
  if (n <= 0) return;
  const int m0 = s.first[c][0];
  for (int m = m0; m < m0 + n; ++m) {
    const int f = s.nearFace[m];
    if (s.cIsFirst) {
      Fcell1[f] = c;
      Fdist1[f] = s.dist[c];
      Fcell11[f] = s.opposite[c];
      Ftype1[f] = s.type;
    } else {
      Fcell2[f] = c;
      Fdist2[f] = s.dist[c];
      Fcell22[f] = s.opposite[c];
      Ftype2[f] = s.type;
    }
  }
  const int beyond = s.across[c];
  if (beyond <= 0) return;
  const int f = s.nearFace[beyond];
  if (s.cIsFirst) Fdist2[f] = s.dist[beyond];
  else Fdist1[f] = s.dist[beyond];
}

// The faces on one side (`side`, a face table) of the cells of column (i, j)
// from its bottom cell up: 0 where the flag is -1 (a wall becomes a
// partition border).
void openColumnSide(int i, int j, const int *side) {
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
    if (Fflagflow[side[c]] == -1) Fflagflow[side[c]] = 0;
  }
}

// Cuts the link of cell c across the side `type` (1..4) of a too small face.
void cutSide(int c, int type) {
  int *neighbour[5] = {nullptr, Ccells, Ccelle, Ccelln, Ccellw};
  if (type >= 1 && type <= 4) neighbour[type][c] = 0;
}

void disconnectSmallFaces() {
  for (int f = 1; f <= NoSurfaces; ++f) {
    if (Farea[f] >= SmallNumberUnstruc || Fcell1[f] <= 0 || Fcell2[f] <= 0) continue;
    if (Ftype1[f] >= 1 && Ftype1[f] <= 4) {
      cutSide(Fcell1[f], Ftype1[f]);
      Fflagflow[f] = 0;
      Fcell1[f] = 0;
    }
    if (Ftype2[f] >= 1 && Ftype2[f] <= 4) {
      cutSide(Fcell2[f], Ftype2[f]);
      Fflagflow[f] = 0;
      Fcell2[f] = 0;
    }
  }
}

// The centre of face f: the mean of its four points.
void faceCentre(int f, double &x, double &y, double &z) {
  const int p[4] = {Fpoint1[f], Fpoint2[f], Fpoint3[f], Fpoint4[f]};
  x = y = z = 0.0;
  for (int k : p) {
    x += 0.25 * Px[k];
    y += 0.25 * Py[k];
    z += 0.25 * Pz[k];
  }
}

// The nearest cells so far, nearest first; a candidate enters only when it
// is strictly nearer than a held one, so ties keep the lower cell number, as
// four scans that each skip the cells already chosen would.
struct NearestCells {
  int cell[kNestSlots] = {0, 0, 0, 0};
  double d[kNestSlots] = {1e30, 1e30, 1e30, 1e30};
  void offer(int c, double dist) {
    int k = kNestSlots;
    while (k > 0 && dist < d[k - 1]) --k;
    if (k == kNestSlots) return;
    for (int m = kNestSlots - 1; m > k; --m) {
      cell[m] = cell[m - 1];
      d[m] = d[m - 1];
    }
    cell[k] = c;
    d[k] = dist;
  }
};

// The cell of the column of top cell t whose centre level is nearest to z;
// the upper one on a tie.
int cellAtLevel(int t, double z) {
  int chosen = t;
  double best = std::fabs(Czcenter[t] - z);
  for (int m = Ccellb[t]; m > 0; m = Ccellb[m]) {
    const double d = std::fabs(Czcenter[m] - z);
    if (d < best) {
      best = d;
      chosen = m;
    }
  }
  return chosen;
}

// Border entry n of a nested top face: the cell of block 1 above the face
// nearest in space; the other slots stay empty.
void mapTopFace(int n, double xf, double yf, double zf) {
  const GridBlock &coarse = block[1];
  int chosen = 0;
  double best = 1e300;
  for (int c = coarse.FirstCell; c <= coarse.LastCell; ++c) {
    if (Czcenter[c] <= zf) continue;
    const double dx = Cxcenter[c] - xf, dy = Cycenter[c] - yf, dz = Czcenter[c] - zf;
    const double d = dx * dx + dy * dy + dz * dz;
    if (d < best) {
      best = d;
      chosen = c;
    }
  }
  Ncell[n][0] = chosen;
  for (int k = 1; k < kNestSlots; ++k) Ncell[n][k] = 0;
}

// Border entry n of a nested side face: the four top cells of block 1
// nearest in plan on the outer side of the face, each then taken at the
// level of the face.
void mapSideFace(int n, int f, double xf, double yf, double zf) {
  const GridBlock &coarse = block[1];
  const double sign = Fcell1[f] == 0 ? -1.0 : 1.0;
  NearestCells near;
  for (int c = coarse.FirstCell; c <= coarse.LastCell; ++c) {
    if (Ccellt[c] != 0) continue;
    const double dx = Cxcenter[c] - xf, dy = Cycenter[c] - yf;
    if (sign * (dx * Fvx[f] + dy * Fvy[f]) <= 0.0) continue;
    near.offer(c, dx * dx + dy * dy);
  }
  for (int k = 0; k < kNestSlots; ++k) Ncell[n][k] = near.cell[k] > 0 ? cellAtLevel(near.cell[k], zf) : 0;
}

void setUnitVectors(int n, double xf, double yf, double zf) {
  for (int k = 0; k < kNestSlots; ++k) {
    const int c = Ncell[n][k];
    double *v = Nvect[n][k];
    if (c <= 0) {
      v[0] = v[1] = v[2] = 0.0;
      continue;
    }
    const double dx = Cxcenter[c] - xf, dy = Cycenter[c] - yf, dz = Czcenter[c] - zf;
    const double l = std::sqrt(dx * dx + dy * dy + dz * dz + 1e-20);
    v[0] = dx / l;
    v[1] = dy / l;
    v[2] = dz / l;
  }
}

std::FILE *openCellvol(const char *mode) {
  std::FILE *out = std::fopen("cellvol", mode);
  if (!out) endCannotOpen("cellvol");
  return out;
}

// Adds level z to its bin; levels outside the table are left out.
void addToBin(long bins[kLevelBins], double z, double zmin, double dz) {
  if (!(dz > 0.0)) return;
  const double x = (z - zmin) / dz + 1e-6;
  if (x < 0.0 || x >= kLevelBins) return;
  ++bins[static_cast<int>(x)];
}

void writeBins(std::FILE *out, const long bins[kLevelBins], double zmin, double dz) {
  for (int k = 0; k < kLevelBins; ++k) std::fprintf(out, "%lf %lf\n", zmin + k * dz, static_cast<double>(bins[k]));
}

// "cellvol": the histogram of the bottom levels of the columns in 101 bins
// between the lowest cell bottom and the highest cell centre, and when
// "geodata" is there, that of the measured bed points.
void writeCellLevels() {
  double zmin = 10000.0, zmax = -100000.0;
  for (int c = 1; c <= NoCells; ++c) {
    zmin = std::fmin(zmin, Czcenter[c] - Ckdist[c]);
    zmax = std::fmax(zmax, Czcenter[c]);
  }
  const double dz = (zmax - zmin) / 100.0;
  long bins[kLevelBins] = {};
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] == 0) addToBin(bins, Czcenter[c] - Ckdist[c], zmin, dz);
  }
  std::FILE *out = openCellvol("w");
  writeBins(out, bins, zmin, dz);
  std::fclose(out);

  std::FILE *geo = openInputFile("geodata");
  if (!geo) return;
  for (long &b : bins) b = 0;
  long points = 0;
  double x, y, z;
  while (points < kMaxGeodataPoints && std::fscanf(geo, "E %lf %lf %lf\n", &x, &y, &z) == 3) {
    if (!std::isfinite(z)) break;
    addToBin(bins, z, zmin, dz);
    ++points;
  }
  std::fclose(geo);
  out = openCellvol("a");
  std::fprintf(out, "No. points used in geodata file: %ld\n", points);
  writeBins(out, bins, zmin, dz);
  std::fclose(out);
}

void logCellHeights() {
  double largest = 0.0, smallest = 1e7, sum = 0.0;
  for (int c = 1; c <= NoCells; ++c) {
    largest = std::fmax(largest, Cdzdk[c]);
    smallest = std::fmin(smallest, Cdzdk[c]);
    sum += Cdzdk[c];
  }
  const double mean = NoCells > 0 ? sum / NoCells : 0.0;
  logPrintf("Vertical cell size: Max: %lf, Min: %lf, Average: %lf m\n\n", largest, smallest, mean);
}

void logAspectRatio() {
  double sum = 0.0;
  for (int c = 1; c <= NoCells; ++c) sum += Ckdist[c] / std::sqrt(Cidist[c] * Cjdist[c] + 1e-20);
  logPrintf("Average cell height/width = %lf\n", NoCells > 0 ? sum / NoCells : 0.0);
}

}  // namespace

void correctCollapsedCells() {
  if (FlagCorrTrekant != 2 && FlagCorrTrekant != 3 && FlagCorrTrekant != 22) return;
  for (int c = 1; c <= NoCells; ++c) {
    if (Ctrekant[c] == 0) continue;
    if (FlagCorrTrekant == 2) {
      doubleSideAreas(c);
    } else if (FlagCorrTrekant == 3) {
      Cvol[c] *= 2.0;
    } else {
      Careax[c] = std::fmax(Farea[Cflatee[c]], Farea[Cflatew[c]]);
      Careay[c] = std::fmax(Farea[Cflates[c]], Farea[Cflaten[c]]);
    }
  }
}

void layeredColumnSides() {
  if (QNFlag <= 0 || !Cncelle) return;
  const QNSide sides[4] = {
      {Cncelle, Cqncelle, Cflatew, Ccelle, Ccellw, Cidist, true, 2},
      {Cncellw, Cqncellw, Cflatee, Ccellw, Ccelle, Cidist, false, 4},
      {Cncelln, Cqncelln, Cflates, Ccelln, Ccells, Cjdist, true, 3},
      {Cncells, Cqncells, Cflaten, Ccells, Ccelln, Cjdist, false, 1},
  };
  for (int c = 1; c <= NoCells; ++c) {
    for (const QNSide &s : sides) applyQNSide(c, s);
  }
}

void tiltSideNormals() {
  if (FlagTiltSurf != 1) return;
  for (int f = 1; f <= NoSurfaces; ++f) {
    const int a = Fcell1[f], b = Fcell2[f];
    if (Fvz[f] >= 0.01 || a <= 0 || b <= 0) continue;
    const double tops = 0.5 * (Fvz[Cflatet[a]] + Fvz[Cflatet[b]]);
    // Rounding may carry a level top face a hair past 1.
    const double s = std::sqrt(std::fmax(0.0, 1.0 - tops * tops));
    const double l = std::sqrt(Fvx[f] * Fvx[f] + Fvy[f] * Fvy[f] + s * s);
    Fvx[f] /= l;
    Fvy[f] /= l;
    Fvz[f] = s / l;
    Fax[f] = Farea[f] * Fvx[f];
    Fay[f] = Farea[f] * Fvy[f];
    Faz[f] = Farea[f] * Fvz[f];
  }
}

void markBorderFaces() {
  if (FlagMPI > 0 && NoBlocks >= 1) {
    const GridBlock &b = block[1];
    for (int j = b.j1; j <= b.j2; ++j) {
      openColumnSide(b.i1, j, Cflatew);
      openColumnSide(b.i2, j, Cflatee);
    }
  }
  if (FlagGridStab5 == 5 || FlagGridStab5 == 6) disconnectSmallFaces();
  // The nested borders take their flow from nestsource, not from the faces;
  // only a bed face of a block sized from the depth (k1 1) keeps its flag.
  for (int n = 1; n <= NoNestflater; ++n) {
    const int f = Npflate[n];
    const bool bedFace = (Ftype1[f] == 5 || Ftype2[f] == 5) && block[Npblock[n]].k1 == 1;
    if (!bedFace) Fflagflow[f] = 0;
  }
}

void levelDischargeFaces() {
  if (FlagCyclic != 0 || inflowj > 0) fillFaceLevels();
}

void mapNestedBorders() {
  if (NoNestflater <= 1 || FlagNestDLL >= 1 || NoBlocks < 1) return;
  for (int n = 1; n <= NoNestflater; ++n) {
    const int f = Npflate[n];
    double xf, yf, zf;
    faceCentre(f, xf, yf, zf);
    if (NestSurf > 0 && Ftype1[f] == 6) mapTopFace(n, xf, yf, zf);
    else mapSideFace(n, f, xf, yf, zf);
    setUnitVectors(n, xf, yf, zf);
  }
}

void mapParentCells() {
  if (!Cinterpolnest) return;
  for (int c = 1; c <= NoCells; ++c) Cinterpolnest[c] = 0;
  if (NestInterpolRelax > 1e-8 || (FlagCoupledNesting >= 1 && FlagCoupledNesting != 10) || FlagNestTop == 4) {
    computeCinterpolnest();
  }
}

void writeGridStatistics() {
  if (FlagWriteSpecial == 12) writeCellLevels();
  if (FlagWriteSpecial == 15) logCellHeights();
  if (FlagWriteSpecial == 16) logAspectRatio();
}
