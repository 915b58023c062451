// The in-process set-up shared by the sand-slide tests.
#include "bed/slides/bed_slopes/slide_fixture.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

void SlideFixture::allocateSlideGrid(int sizes, int layers, bool multiLayer, int nx, int ny) {
  allocateBed(sizes, layers, multiLayer, nx, ny);
  flatGrid(0, xnumber + 1, 0, ynumber + 1, 5.0);
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = -10.0;
  }
  AngleAvalanche = 0.5;
  clearBlocks();
}

void SlideFixture::clearBlocks() { NoCells = NoBCells = NoBlocks = 0; }

int SlideFixture::wetBlock(int i1, int i2, int j1, int j2) {
  const int n = addBedColumns(i1, i2, j1, j2);
  auto cellAt = [&](int i, int j) { return i >= i1 && i <= i2 && j >= j1 && j <= j2 ? static_cast<int>(zval[i][j][0]) : 0; };
  for (int i = i1; i <= i2; ++i) {
    for (int j = j1; j <= j2; ++j) {
      const int c = cellAt(i, j);
      Ccelle[c] = cellAt(i + 1, j);
      Ccellw[c] = cellAt(i - 1, j);
      Ccelln[c] = cellAt(i, j + 1);
      Ccells[c] = cellAt(i, j - 1);
    }
  }
  return n;
}

void SlideFixture::linkEastWest(int i1, int j1, int i2, int j2) {
  const int west = static_cast<int>(zval[i1][j1][0]), east = static_cast<int>(zval[i2][j2][0]);
  Ccelle[west] = east;
  Ccellw[east] = west;
}

double SlideFixture::bedVolume(int n) {
  const GridBlock &g = block[n];
  double volume = 0.0;
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const double mean = (zval[i][j][1] + zval[i - 1][j][1] + zval[i][j - 1][1] + zval[i - 1][j - 1][1]) / 4.0;
      volume += armap[i][j] * mean;
    }
  }
  return volume;
}

double SlideFixture::steepestExcess(int n) {
  const GridBlock &g = block[n];
  double worst = -1e30;
  auto edge = [&](int p1, int q1, int p2, int q2) {
    const double length = std::hypot(xval[p1][q1] - xval[p2][q2], yval[p1][q1] - yval[p2][q2]);
    worst = std::max(worst, std::fabs(zval[p1][q1][1] - zval[p2][q2][1]) - AngleAvalanche * length);
  };
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (zval[i][j][0] <= 0.0) continue;
      edge(i, j, i - 1, j);
      edge(i, j - 1, i - 1, j - 1);
      edge(i - 1, j, i - 1, j - 1);
      edge(i, j, i, j - 1);
    }
  }
  return worst;
}

int bedCellAt(int i, int j) { return pointbed[i][j]; }
