// Plane block correction: the cell equations of each plane of whole water
// columns summed into one row, the rows of a direction solved by TDMA (P in
// Spt, Q in Sqt) and each plane's value added to all its cells.
#include "solvers/block_correction.h"

#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The summed row of one plane.
struct PlaneSums {
  double a = 0.0, l = 0.0, u = 0.0, r = 0.0;
};

// Which couplings of a column count as inside the plane, and which lead to
// the previous and next plane.
enum class Direction { J, I };

// Adds the cells of column (i, j) to the plane row, fixed cells left out: for
// a j-plane the east and west couplings are in-plane except east at the
// plane's upper end and west at its lower end; for an i-plane north and south.
void addColumn(int i, int j, Direction dir, bool upperEnd, bool lowerEnd, PlaneSums &p) {
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) {
    if (Cap[c] >= 1e15) continue;
    double inPlane;
    if (dir == Direction::J) {
      inPlane = (upperEnd ? 0.0 : Cae[c]) + (lowerEnd ? 0.0 : Caw[c]);
      p.l += Cas[c];
      p.u += Can[c];
    } else {
      inPlane = (upperEnd ? 0.0 : Can[c]) + (lowerEnd ? 0.0 : Cas[c]);
      p.l += Caw[c];
      p.u += Cae[c];
    }
    p.a += Cap[c] - Cat[c] - Cab[c] - inPlane;
    p.r += Csource[c] - Cap[c] * Cf[c] + Cae[c] * Cf[Ccelle[c]] + Caw[c] * Cf[Ccellw[c]] +
           Can[c] * Cf[Ccelln[c]] + Cas[c] * Cf[Ccells[c]] + Cat[c] * Cf[Ccellt[c]] + Cab[c] * Cf[Ccellb[c]];
  }
}

void correctColumn(int i, int j, double corr) {
  for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) Cf[c] += corr;
}

// One elimination step into entry k from entry k-1; a plane without free
// cells, or a singular one, gets no correction and passes no coupling on.
void eliminatePlane(int k, const PlaneSums &p) {
  double d = p.a - p.l * Spt[k - 1];
  if (std::fabs(d / (p.a + 1e-20)) < 1e-10) d = 1e30;
  Spt[k] = p.u / d;
  Sqt[k] = (p.r + p.l * Sqt[k - 1]) / d;
}

bool inPlaneSystem(const GridBlock &b) { return b.BlockKind == 0 && b.WorkFlag == 1; }

// The j-plane j of block b.
PlaneSums jPlane(const GridBlock &b, int j) {
  PlaneSums p;
  for (int i = b.i1; i <= b.i2; ++i) addColumn(i, j, Direction::J, i == b.i2, i == b.i1, p);
  return p;
}

void correctJPlane(const GridBlock &b, int j, double corr) {
  for (int i = b.i1; i <= b.i2; ++i) correctColumn(i, j, corr);
}

// Method 0: every block's j-planes, then every block's i-planes, each block's
// system started from zero below its first plane.
void planesBlockByBlock() {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (!inPlaneSystem(b)) continue;
    Spt[1] = Sqt[1] = Spt[b.j1 - 1] = Sqt[b.j1 - 1] = 0.0;
    for (int j = b.j1; j <= b.j2; ++j) eliminatePlane(j, jPlane(b, j));
    double corr = 0.0;
    for (int j = b.j2; j >= b.j1; --j) {
      corr = corr * Spt[j] + Sqt[j];
      correctJPlane(b, j, corr);
    }
  }
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (!inPlaneSystem(b)) continue;
    Spt[1] = Sqt[1] = Spt[b.i1 - 1] = Sqt[b.i1 - 1] = 0.0;
    for (int i = b.i1; i <= b.i2; ++i) {
      PlaneSums p;
      for (int j = b.j1; j <= b.j2; ++j) addColumn(i, j, Direction::I, j == b.j2, j == b.j1, p);
      eliminatePlane(i, p);
    }
    double corr = 0.0;
    for (int i = b.i2; i >= b.i1; --i) {
      corr = corr * Spt[i] + Sqt[i];
      for (int j = b.j1; j <= b.j2; ++j) correctColumn(i, j, corr);
    }
  }
}

// Method 1: the j-planes of all blocks chained into one system (numbered from
// 2, block after block), then one i-system over i = 2..the largest i2, whose
// plane i holds the columns of every block whose i-range contains i.
void planesOfTheWholeGrid() {
  Spt[1] = Sqt[1] = 0.0;
  int k = 1;
  int imax = 2;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (!inPlaneSystem(b)) continue;
    if (b.i2 > imax) imax = b.i2;
    for (int j = b.j1; j <= b.j2; ++j) eliminatePlane(++k, jPlane(b, j));
  }
  double corr = 0.0;
  for (int n = NoBlocks; n >= 1; --n) {
    const GridBlock &b = block[n];
    if (!inPlaneSystem(b)) continue;
    for (int j = b.j2; j >= b.j1; --j, --k) {
      corr = corr * Spt[k] + Sqt[k];
      correctJPlane(b, j, corr);
    }
  }

  const int lastJ = NoBlocks > 0 ? block[NoBlocks].j2 : 0;
  Spt[1] = Sqt[1] = 0.0;
  for (int i = 2; i <= imax; ++i) {
    PlaneSums p;
    for (int n = 1; n <= NoBlocks; ++n) {
      const GridBlock &b = block[n];
      if (b.BlockKind != 0 || i < b.i1 || i > b.i2) continue;
      for (int j = b.j1; j <= b.j2; ++j) addColumn(i, j, Direction::I, j == lastJ, j == 2, p);
    }
    eliminatePlane(i, p);
  }
  corr = 0.0;
  for (int i = imax; i >= 2; --i) {
    corr = corr * Spt[i] + Sqt[i];
    for (int n = 1; n <= NoBlocks; ++n) {
      const GridBlock &b = block[n];
      if (b.BlockKind != 0 || i < b.i1 || i > b.i2) continue;
      for (int j = b.j1; j <= b.j2; ++j) correctColumn(i, j, corr);
    }
  }
}

}  // namespace

void BlockCorrection() {
  if (sou[Equation] == 1 && Caee) return;
  if (QNFlag != 0) return;
  if (BlockMethodFlag == 0) {
    if (NoBlocks > 0) planesBlockByBlock();
  } else if (BlockMethodFlag == 1) {
    planesOfTheWholeGrid();
  }
}
