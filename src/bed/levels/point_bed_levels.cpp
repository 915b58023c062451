// Point-based bed levels: the columns around grid point (i, j) are (i, j),
// (i+1, j), (i, j+1) and (i+1, j+1); a column counts when its bed cell has a
// bottom cell. The layered variants rebuild the bed from the stacks, so the
// levels always match what the layers hold.
#include "bed/levels/point_bed_levels.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/layers/bed_layer_operations.h"
#include "bed/levels/bed_change_completion.h"
#include "bed/levels/bed_smoothing.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

bool isPointBlock(const GridBlock &g) { return g.BlockKind == 0 && g.GridLevel == 0 && g.WorkFlag == 1; }

bool isLayerBlock(const GridBlock &g) { return isPointBlock(g) && g.LayerMark == 0; }

// The columns around grid point (i, j), in the order the reports number them.
constexpr int kColumnDi[4] = {0, 1, 0, 1};
constexpr int kColumnDj[4] = {0, 0, 1, 1};

bool counts(int b) { return b > 0 && Bcellt[b] > 0; }

// The mean of value(k, ci, cj, b) over the columns of point (i, j) that
// count, k their position 1..4; false when none counts.
template <class Value>
bool columnMean(int i, int j, Value value, double &mean) {
  double sum = 0.0;
  int n = 0;
  for (int k = 0; k < 4; ++k) {
    const int ci = i + kColumnDi[k], cj = j + kColumnDj[k], b = pointbed[ci][cj];
    if (!counts(b)) continue;
    sum += value(k + 1, ci, cj, b);
    ++n;
  }
  if (n > 0) mean = sum / n;
  return n > 0;
}

// Moves point (i, j) to level, adding the change to plane 1 when asked.
void setPointLevel(int i, int j, double level, bool countMovement) {
  if (countMovement) Surfaces[1][i][j] += level - zval[i][j][1];
  zval[i][j][1] = level;
}

[[noreturn]] void endOnBrokenLayers(int i, int j, int b) {
  logPrintf("Iter = %d, b=%d, i,j = (%d,%d)\n", Iter, b, i, j);
  fatalPrintf(kExitLayerStack, nullptr, "BSedDistrib[0][b] = %lf %lf\n", BSedDistrib[0][0][b],
              BSedDistrib[std::max(BlayerTop[b], 0)][0][b]);
}

// bedchange4: a point between the border lines takes the mean layer top of
// its columns.
void pointFromLayers(int i, int j, bool countMovement) {
  double mean = 0.0;
  const bool any = columnMean(
      i, j,
      [i, j](int k, int ci, int cj, int b) {
        const double T = layerTop(ci, cj, b);
        if (std::isnan(T)) {
          logPrintf("Error in bedchange4: NAN%d: %lf\n", k, T);
          endOnBrokenLayers(i, j, b);
        }
        return T;
      },
      mean);
  if (any) setPointLevel(i, j, mean, countMovement);
}

// bedchange4: border line j follows the changes of the columns of row
// `row` along i, as a longitudinal profile.
void lineFromColumns(const GridBlock &g, int j, int row, bool countMovement) {
  for (int i = g.i1 - 1; i <= g.i2; ++i) {
    double move;
    if (i == g.i1 - 1) move = Bedmove[pointbed[g.i1][row]];
    else if (i == g.i2) move = Bedmove[pointbed[g.i2][row]];
    else move = 0.5 * (Bedmove[pointbed[i][row]] + Bedmove[pointbed[i + 1][row]]);
    zval[i][j][1] += move;
    if (countMovement) Surfaces[1][i][j] += move;
  }
}

}  // namespace

double layerTop(int i, int j, int b) {
  const double base =
      (Surfaces[3][i][j] + Surfaces[3][i - 1][j] + Surfaces[3][i - 1][j - 1] + Surfaces[3][i][j - 1]) / 4.0;
  return BlayerTop[b] < 0 ? base : base + stackThickness(b);
}

void bedchange3() {
  Barea[0] = 0.0;
  if (FlagBedSmooth == 5) bedsmooth();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!isPointBlock(g)) continue;
    for (int i = g.i1 - 1; i <= g.i2; ++i) {
      for (int j = g.j1 - 1; j <= g.j2; ++j) {
        double mean = 0.0;
        if (columnMean(i, j, [](int, int, int, int b) { return Bedmove[b]; }, mean)) {
          setPointLevel(i, j, std::max(Surfaces[3][i][j], zval[i][j][1] + mean), true);
        }
      }
    }
  }
  completeBedChange(BedLevelRoutine::PointMeans);
}

void bedchange4(int countMovement) {
  otime[38] = wallClock();
  Barea[0] = 0.0;
  Bedmove[0] = 0.0;
  if (FlagBedSmooth == 5) bedsmooth();
  const bool count = countMovement == 1;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!isLayerBlock(g)) continue;
    const bool oneRow = g.j1 == g.j2;
    if (!oneRow) {
      lineFromColumns(g, g.j1 - 1, g.j1, count);
      lineFromColumns(g, g.j2, g.j2, count);
    }
    const int jFirst = oneRow ? g.j1 - 1 : g.j1, jLast = oneRow ? g.j1 : g.j2 - 1;
    for (int i = g.i1 - 1; i <= g.i2; ++i) {
      for (int j = jFirst; j <= jLast; ++j) pointFromLayers(i, j, count);
    }
  }
  completeBedChange(BedLevelRoutine::LayerLines, count);
}

void bedchange5() {
  otime[38] = wallClock();
  Barea[0] = 0.0;
  Bedmove[0] = 0.0;
  // The per-size change exists only with the multi-layer bed.
  if (Bbedchange) {
    for (int s = 1; s <= lnumber; ++s) std::fill(Bbedchange[s] + 1, Bbedchange[s] + NoBCells + 1, 0.0);
  }
  slideAfterBedChange();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &g = block[n];
    if (!isLayerBlock(g)) continue;
    for (int i = g.i1; i <= g.i2; ++i) {
      for (int j = g.j1; j <= g.j2; ++j) {
        const int b = pointbed[i][j];
        if (b <= 0) continue;
        const double sum = stackThickness(b);
        if (std::isnan(sum)) {
          logPrintf("Error in bedchange5: NAN5: %lf\n", sum);
          endOnBrokenLayers(i, j, b);
        }
        Bedlev[b] = layerTop(i, j, b);
      }
    }
    for (int i = g.i1 - 1; i <= g.i2; ++i) {
      for (int j = g.j1 - 1; j <= g.j2; ++j) {
        double mean = 0.0;
        if (columnMean(i, j, [](int, int, int, int b) { return Bedlev[b]; }, mean)) setPointLevel(i, j, mean, true);
      }
    }
  }
  completeBedChange(BedLevelRoutine::Layers);
}
