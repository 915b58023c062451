// Bed roughness per water column of block 1 from the scatter of the measured
// bed points about the bed face of each bottom cell; columns without points
// are filled from their neighbours, and the map is written to "bedrough.new".
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "grid/bed_levels/bed_points.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "surface/surface_services.h"

namespace {

// A value held by the fill: the centre coefficient and source dwarf the rest.
constexpr double kHold = 1e20;

void holdCell(int c, double value) {
  Cae[c] = Caw[c] = Can[c] = Cas[c] = 0.0;
  Cap[c] = kHold;
  Csource[c] = value * kHold;
}

// The fill sweeps the bottom cells of every block whose surface is updated:
// those outside block 1 keep the roughness they have.
void holdOtherBlocks() {
  for (int b = 2; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.GridLevel != 0 || SurfUpdate[b] != 1) continue;
    for (int c = blk.FirstCell; c <= blk.LastCell; ++c) {
      if (c >= 1 && Ccellb[c] == 0) holdCell(c, Croughness[c]);
    }
  }
}

// Coupling of the bottom cell c to its side neighbours: face area times the
// cell's half width across that side, 0 where there is no neighbour.
void sideCoefficients(int c) {
  Cae[c] = Ccelle[c] > 0 ? Farea[Cflatee[c]] * Cidist[c] : 0.0;
  Caw[c] = Ccellw[c] > 0 ? Farea[Cflatew[c]] * Cidist[c] : 0.0;
  Can[c] = Ccelln[c] > 0 ? Farea[Cflaten[c]] * Cjdist[c] : 0.0;
  Cas[c] = Ccells[c] > 0 ? Farea[Cflates[c]] * Cjdist[c] : 0.0;
  Cap[c] = Can[c] + Cas[c] + Caw[c] + Cae[c] + 1e-20;
  Csource[c] = 0.0;
}

// Mean distance of the bed points inside the cell's plan from the plane of
// its bed face, times F 295; the number of points in `inside`.
double scatterOf(int c, int &inside) {
  const double px = Cxcenter[c], py = Cycenter[c], pz = Czcenter[c] - Ckdist[c];
  const int f = Cflateb[c];
  const double nx = Fvx[f], ny = Fvy[f], nz = Fvz[f];
  // Only points within the plan box of the bottom corners can lie inside.
  const int corners[4] = {Cpoint1[c], Cpoint2[c], Cpoint3[c], Cpoint4[c]};
  double xmin = Px[corners[0]], xmax = xmin, ymin = Py[corners[0]], ymax = ymin;
  for (int p : corners) {
    xmin = std::min(xmin, Px[p]);
    xmax = std::max(xmax, Px[p]);
    ymin = std::min(ymin, Py[p]);
    ymax = std::max(ymax, Py[p]);
  }
  double sum = 0.0;
  inside = 0;
  for (int n = 0; n < NoGeo; ++n) {
    const double x = xg[n], y = yg[n];
    if (x < xmin || x > xmax || y < ymin || y > ymax) continue;
    if (!insideQuadCellGeo(n, c)) continue;
    sum += std::fabs(nx * (x - px) + ny * (y - py) + nz * (zg[n] - pz));
    ++inside;
  }
  return RoughnessFactor * sum / (inside + 1e-10);
}

}  // namespace

void setRoughnessFill() {
  holdOtherBlocks();
  if (NoBlocks < 1) return;
  const GridBlock &b = block[1];
  for (int i = b.i1; i <= b.i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int c = static_cast<int>(zval[i][j][0]);
      if (c <= 0) continue;
      sideCoefficients(c);
      int inside = 0;
      Croughness[c] = scatterOf(c, inside);
      if (inside > 0) holdCell(c, Croughness[c]);
    }
  }
}

bool storeRoughness() {
  std::FILE *out = std::fopen("bedrough.new", "w");
  if (!out) {
    setStatus(mc_message, "have not used 'bedrough.new' file ");
    return false;
  }
  if (NoBlocks >= 1) {
    const GridBlock &b = block[1];
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c <= 0) continue;
        std::fprintf(out, "B %d %d %lf\n", i, j, Croughness[c]);
        roughness[i][j] = Croughness[c];
        if (Broughness && Cbed) Broughness[Cbed[c]] = Croughness[c];
      }
    }
  }
  std::fclose(out);
  return true;
}

void computeRoughness() {
  if (NoGeo == 0) readGeodata();
  if (NoGeo == 0) return;
  // The bottom cells' centres, half widths and face normals must be current.
  metric();
  double *const field = Cf;
  Cf = Croughness;
  setRoughnessFill();
  surfaceSolver(4);
  Cf = field;
  storeRoughness();
}
