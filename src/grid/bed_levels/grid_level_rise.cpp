// The water levels of the structured grid points before a regeneration: raised
// to the minimum levels of their wet columns, so each cross-section stays
// connected, and smoothed where new wet or dry corners left steps.
#include <algorithm>

#include "grid/bed_levels/minimum_water_levels.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/grid_index.h"
#include "surface/surface_services.h"

using columns::bottomCell;

namespace {

void setLevel(int i, int j, double z) {
  zval[i][j][znumber] = z;
  zval[i][j][znumber + 1] = z;
}

double wetMinimum(int i, int j, double M) {
  const int b = pointbed[i][j];
  if (bottomCell(i, j) > 0 && b > 0) M = std::max(M, Bminwaterlevel[b]);
  return M;
}

}  // namespace

void NoGridSplitRise() {
  if (FlagNoGridSplit <= 0 || NoBlocks < 1 || !Bminwaterlevel) return;
  const GridBlock &g = block[1];
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    for (int j = g.j1 - 1; j <= g.j2; ++j) {
      double M = -1e20;
      M = wetMinimum(i, j, M);
      M = wetMinimum(i + 1, j, M);
      M = wetMinimum(i, j + 1, M);
      M = wetMinimum(i + 1, j + 1, M);
      if (M > -100.0) setLevel(i, j, std::max(zval[i][j][znumber], M));
    }
  }
}

namespace {

void markNewCorners(const GridBlock &g) {
  int **flag = wetdryCornerFlag;
  for (int i = g.i1 - 1; i <= g.i2; ++i) std::fill(flag[i] + g.j1 - 1, flag[i] + g.j2 + 1, 1);
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (bottomCell(i, j) > 0) continue;
      flag[i][j] = flag[i - 1][j] = flag[i][j - 1] = flag[i - 1][j - 1] = 0;
    }
  }
  if (FlagSmoothNewCorners == 1) {
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        if (bottomCell(i, j) > 0 || ant[i][j] <= 0) continue;
        for (int *p : {&flag[i][j], &flag[i - 1][j], &flag[i][j - 1], &flag[i - 1][j - 1]}) {
          if (*p == 0) *p = 2;
        }
      }
    }
  } else if (FlagSmoothNewCorners == 2 && g.i1 < g.i2) {
    for (int i = g.i1; i <= g.i2 - 1; ++i) {
      for (int j = g.j1; j <= g.j2 - 1; ++j) {
        const int a = ant[i][j];
        if (a < 0) continue;
        const int east = ant[i + 1][j], north = ant[i][j + 1];
        if ((a == 0 && east > 0) || (a > 0 && east == 0)) flag[i][j] = flag[i][j - 1] = 2;
        if ((a == 0 && north > 0) || (a > 0 && north == 0)) flag[i][j] = flag[i - 1][j] = 2;
      }
    }
  }
}

void smoothPoint(int i, int j) {
  int **flag = wetdryCornerFlag;
  if (flag[i][j] != 2) return;
  double sum = 0.0;
  int n = 0;
  for (const auto &[pi, pj] : {std::pair{i - 1, j}, std::pair{i + 1, j}, std::pair{i, j - 1}, std::pair{i, j + 1}}) {
    if (flag[pi][pj] < 1) continue;
    sum += zval[pi][pj][znumber];
    ++n;
  }
  if (n == 0) return;
  setLevel(i, j, 0.5 * sum / n + 0.5 * zval[i][j][znumber]);
}

}  // namespace

void smoothNewCorners() {
  if (!wetdryCornerFlag || NoBlocks < 1) return;
  const GridBlock &g = block[1];
  markNewCorners(g);
  for (int round = 0; round < 4; ++round) {
    for (int i = g.i1; i <= g.i2 - 1; ++i) {
      for (int j = g.j1; j <= g.j2 - 1; ++j) smoothPoint(i, j);
    }
    for (int i = g.i1; i <= g.i2 - 1; ++i) {
      for (int j = g.j2 - 1; j >= g.j1; --j) smoothPoint(i, j);
    }
  }
}
