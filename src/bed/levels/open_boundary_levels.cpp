// Corrects zval[.][.][1] at the open side of inflow and outflow columns by
// F 222, keeps plane 1 of Surfaces equal to the movement, and books the
// sediment the correction removes or adds in SumBedMoveDef.
#include "bed/levels/open_boundary_levels.h"

#include "bed/levels/corner_spreading.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Moves corner k of column (i, j) by e, with the movement in plane 1 and the
// sediment it takes from the bed booked (a negative e removes bed).
void moveCorner(int i, int j, int k, int b, double e) {
  const int pi = i + kCornerDi[k], pj = j + kCornerDj[k];
  zval[pi][pj][1] += e;
  Surfaces[1][pi][pj] += e;
  SumBedMoveDef -= e * Barea[b] * 0.25 * 1000.0 * density * SolidFrac;
}

void toOriginalBed(int i, int j, int k, int b) {
  const int pi = i + kCornerDi[k], pj = j + kCornerDj[k];
  moveCorner(i, j, k, b, Surfaces[0][pi][pj] - zval[pi][pj][1]);
}

// Mode 1: on the one open side of an outflow column at its block border the
// bed is lowered where the water above it is shallower than the column.
void keepOutflowDepth(int i, int j, int c, int b, const GridBlock &g) {
  if (Binout[b] >= -1e-10) return;
  if (i != g.i1 && j != g.j1 && i != g.i2 && j != g.j2) return;
  // The open sides in the order west, south, east, north with their corners.
  const int neighbours[4] = {Ccellw[c], Ccells[c], Ccelle[c], Ccelln[c]};
  static constexpr int kCorners[4][2] = {{4, 3}, {3, 2}, {1, 2}, {1, 4}};
  int open = -1, missing = 0;
  for (int s = 0; s < 4; ++s) {
    if (neighbours[s] <= 0) {
      open = s;
      ++missing;
    }
  }
  if (missing != 1) return;
  double depth = 0.0;
  for (int cell = c; cell > 0; cell = Ccellt[cell]) depth += Ckdist[cell];
  depth *= 2.0;
  for (int k : kCorners[open]) {
    const int pi = i + kCornerDi[k], pj = j + kCornerDj[k];
    const double e = zval[pi][pj][znumber] - depth - zval[pi][pj][1];
    if (e < 0.0) moveCorner(i, j, k, b, e);
  }
}

// Mode 2: the open sides of inflow and outflow columns at the block border
// return to the original bed.
void resetOpenSides(int i, int j, int c, int b, const GridBlock &g) {
  if (!(Binout[b] > 1e-10 || Binout[b] < -1e-10)) return;
  if (i == g.i2 && Ccelle[c] == 0 && Ccellw[c] >= 1) {
    toOriginalBed(i, j, 1, b);
    toOriginalBed(i, j, 2, b);
  } else if (i == g.i1 && Ccellw[c] == 0 && Ccelle[c] >= 1) {
    toOriginalBed(i, j, 4, b);
    toOriginalBed(i, j, 3, b);
  }
  if (j == g.j1 && Ccells[c] == 0 && Ccelln[c] > 0) {
    toOriginalBed(i, j, 3, b);
    toOriginalBed(i, j, 2, b);
  }
  if (j == g.j2 && Ccelln[c] == 0 && Ccells[c] != 0) {
    toOriginalBed(i, j, 1, b);
    toOriginalBed(i, j, 4, b);
  }
}

// Mode 3: every outflow column returns to the original bed.
void resetOutflowColumn(int i, int j, int b) {
  if (Binout[b] >= -1e-10) return;
  for (int k = 1; k <= 4; ++k) toOriginalBed(i, j, k, b);
}

}  // namespace

void computeBedBoundary() {
  const int mode = FlagBedDownstream;
  if (mode < 1 || mode > 3) return;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (g.BlockKind != 0 || g.GridLevel != 0 || g.WorkFlag != 1) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]);
        if (c <= 0) continue;
        const int b = Cbed[c];
        switch (mode) {
          case 1:
            keepOutflowDepth(i, j, c, b, g);
            break;
          case 2:
            resetOpenSides(i, j, c, b, g);
            break;
          default:
            resetOutflowColumn(i, j, b);
            break;
        }
      }
    }
  }
}
