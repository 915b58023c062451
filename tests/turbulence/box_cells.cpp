// The hand-built boxes of the turbulence tests.
#include "turbulence/box_cells.h"

#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/work_ranges.h"

namespace {

int gCells = 0;  // boxes per column of the last build

// A new face from cell `from` to cell `to` (0 none) with the area vector
// (ax, ay, az) and the flow flag given.
int newFace(int from, int to, double ax, double ay, double az, int flag) {
  const int f = ++NoSurfaces;
  Fcell1[f] = from;
  Fcell2[f] = to;
  Fax[f] = ax;
  Fay[f] = ay;
  Faz[f] = az;
  Farea[f] = ax + ay + az;
  Fvx[f] = ax > 0 ? 1.0 : 0.0;
  Fvy[f] = ay > 0 ? 1.0 : 0.0;
  Fvz[f] = az > 0 ? 1.0 : 0.0;
  Fflagflow[f] = flag;
  return f;
}

}  // namespace

void BoxCells::SetUp() {
  GridFixture::SetUp();
  allocate(8, 4, 12, 400);
}

int BoxCells::cell(int column, int level) { return column * gCells + level + 1; }

void BoxCells::build(int columns, int cells, double dx, double dy, double dz, const BoxFlags &flags) {
  gCells = cells;
  NoCells = columns * cells;
  NoSurfaces = 0;
  NoBCells = columns;
  const double ai = dy * dz, aj = dx * dz, ak = dx * dy;
  for (int i = 0; i < columns; ++i) {
    const int b = i + 1;
    Bcellt[b] = cell(i, 0);
    Barea[b] = ak;
    Bdepth[b] = cells * dz;
    for (int k = 0; k < cells; ++k) {
      const int c = cell(i, k);
      const bool bottom = k == 0, top = k == cells - 1, westEnd = i == 0, eastEnd = i == columns - 1;
      Ccellb[c] = bottom ? 0 : c - 1;
      Ccellt[c] = top ? 0 : c + 1;
      Ccellw[c] = westEnd ? 0 : cell(i - 1, k);
      Ccelle[c] = eastEnd ? 0 : cell(i + 1, k);
      Ccells[c] = Ccelln[c] = 0;
      Cflateb[c] = bottom ? newFace(0, c, 0, 0, ak, flags.bed) : Cflatet[c - 1];
      Cflatet[c] = newFace(c, top ? 0 : c + 1, 0, 0, ak, top ? flags.lid : 1);
      Cflatew[c] = westEnd ? newFace(0, c, ai, 0, 0, flags.ends) : Cflatee[cell(i - 1, k)];
      Cflatee[c] = newFace(c, eastEnd ? 0 : cell(i + 1, k), ai, 0, 0, eastEnd ? flags.ends : 1);
      Cflates[c] = newFace(0, c, 0, aj, 0, flags.banks);
      Cflaten[c] = newFace(c, 0, 0, aj, 0, flags.banks);
      Cidist[c] = 0.5 * dx;
      Cjdist[c] = 0.5 * dy;
      Ckdist[c] = 0.5 * dz;
      Cvol[c] = dx * dy * dz;
      Cxcenter[c] = (i + 0.5) * dx;
      Cycenter[c] = 0.5 * dy;
      Czcenter[c] = (k + 0.5) * dz;
      Cbed[c] = b;
    }
  }
  WCStart = 1;
  WCEnd = NoCells;
  Equation = 1;
}
