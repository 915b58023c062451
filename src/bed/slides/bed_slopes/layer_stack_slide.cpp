// The sand-slide variants of the multi-layer bed. A column's level is the
// mean non-erodible level of its corners (Surfaces plane 3) plus its layer
// stack; the higher of two neighbours gives what lies above the repose slope
// through the layer operations (ChangeLayers, JoinLayers), or moves the
// pending change of the step (Bedmove, Bbedchange). The bed levels of the grid
// points stay; the bed change rebuilds them from the layers.
#include "bed/slides/bed_slopes/layer_stack_slide.h"

#include <algorithm>
#include <cmath>

#include "bed/layers/bed_layer_operations.h"
#include "bed/slides/bed_slopes/slide_columns.h"
#include "model/bed_cells.h"
#include "model/settings.h"

namespace {

using namespace slide_columns;

// The thickness of each size in the top of the giving column, m.
double available[51];

double meanCorners(int plane, int i, int j) {
  double sum = 0.0;
  for (int k = 0; k < 4; ++k) {
    const int p = i + kCornerDi[k], q = j + kCornerDj[k];
    sum += plane == 1 ? zval[p][q][1] : Surfaces[3][p][q];
  }
  return sum / 4.0;
}

// The level a variant compares: the top of the stack, with the pending change
// for 205; for 206 the mean bed level of the column's corners.
double columnLevel(int variant, int i, int j, int b) {
  if (variant == 206) return meanCorners(1, i, j);
  const double level = meanCorners(3, i, j) + stackThickness(b);
  return variant == 205 ? level + Bedmove[b] : level;
}

// Plan distance between the centres of column (i, j) and the next one along
// i (alongI) or j, from the midpoints of their outer edges.
double centreDistance(int i, int j, bool alongI) {
  double dx, dy;
  if (alongI) {
    dx = xval[i + 1][j] + xval[i + 1][j - 1] - xval[i - 1][j] - xval[i - 1][j - 1];
    dy = yval[i + 1][j] + yval[i + 1][j - 1] - yval[i - 1][j] - yval[i - 1][j - 1];
  } else {
    dx = xval[i][j + 1] + xval[i - 1][j + 1] - xval[i][j - 1] - xval[i - 1][j - 1];
    dy = yval[i][j + 1] + yval[i - 1][j + 1] - yval[i][j - 1] - yval[i - 1][j - 1];
  }
  return std::hypot(dx, dy) / 4.0;
}

// A thickness that leaves a column of area A_giver spreads over the
// receiver's area: it arrives scaled by A_giver / A_receiver, so the volume holds.
double areaRatio(int giver, int receiver) { return Barea[receiver] > 0.0 ? Barea[giver] / Barea[receiver] : 1.0; }

// Variants 202 and 204: half the excess leaves the top of the higher stack
// with its composition and is laid on the lower one as a new layer.
void exchangeSediment(int high, int low, double dz) {
  computeAvailableFractionMeters(high, available, -dz);
  double total = 0.0;
  for (int k = 1; k <= lnumber; ++k) total += available[k];
  if (!(total > 0.0)) return;
  const double ratio = areaRatio(high, low);
  for (int k = 1; k <= lnumber; ++k) Bbedchange[k][high] = -available[k];
  ChangeLayers(high, -dz);
  for (int k = 1; k <= lnumber; ++k) Bbedchange[k][low] = available[k] * ratio;
  ChangeLayers(low, dz * ratio);
}

// Variant 203: the whole top layer of the higher column, whatever its
// thickness, becomes the new top layer of the lower one (joining two of its
// layers first when its slots are full). A column whose only layer leaves
// keeps an empty layer 0, whose grain fractions the layer routines still read.
bool shiftTopLayer(int high, int low) {
  const int top = BlayerTop[high];
  if (top < 0 || !(BSedDistrib[top][0][high] > 0.0)) return false;
  if (BlayerTop[low] >= NoBedLayers - 1) JoinLayers(low, FindJoinLayer(low));
  const int lowTop = BlayerTop[low];
  const bool emptyBase = lowTop < 0 || (lowTop == 0 && !(BSedDistrib[0][0][low] > 0.0));
  const int slot = emptyBase ? 0 : lowTop + 1;
  BSedDistrib[slot][0][low] = BSedDistrib[top][0][high] * areaRatio(high, low);
  for (int k = 1; k <= lnumber; ++k) BSedDistrib[slot][k][low] = BSedDistrib[top][k][high];
  if (Bsolidfraction) Bsolidfraction[slot][low] = Bsolidfraction[top][high];
  BlayerTop[low] = slot;
  BSedDistrib[top][0][high] = 0.0;
  if (top > 0) {
    for (int k = 1; k <= lnumber; ++k) BSedDistrib[top][k][high] = 0.0;
    BlayerTop[high] = top - 1;
  }
  return true;
}

// Variant 205: half the excess of the levels with the pending change moves
// from the higher column's pending change to the lower one's, per size with
// the composition of the top of the higher stack.
void exchangePending(int high, int low, double dz) {
  computeAvailableFractionMeters(high, available, -dz);
  const double ratio = areaRatio(high, low);
  Bedmove[high] -= dz;
  Bedmove[low] += dz * ratio;
  for (int k = 1; k <= lnumber; ++k) {
    Bbedchange[k][high] -= available[k];
    Bbedchange[k][low] += available[k] * ratio;
  }
}

// Variant 206: a too high column that is gaining hands its whole pending
// deposit to the lower one.
bool shiftPendingDeposit(int high, int low) {
  if (!(Bedmove[high] > 0.0)) return false;
  const double ratio = areaRatio(high, low);
  Bedmove[low] += Bedmove[high] * ratio;
  Bedmove[high] = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    Bbedchange[k][low] += Bbedchange[k][high] * ratio;
    Bbedchange[k][high] = 0.0;
  }
  return true;
}

// Column (iFrom, jFrom) gives to its neighbour (iTo, jTo) when it stands
// higher by more than the repose tangent times the distance of their
// centres; returns whether it gave.
bool slidePair(int variant, int iFrom, int jFrom, int iTo, int jTo) {
  const int from = pointbed[iFrom][jFrom], to = pointbed[iTo][jTo];
  if (from <= 0 || to <= 0) return false;
  const bool alongI = iFrom != iTo;
  const double distance = centreDistance(alongI ? std::min(iFrom, iTo) : iFrom, alongI ? jFrom : std::min(jFrom, jTo), alongI);
  const double allowed = AngleAvalanche * distance;
  const double difference = columnLevel(variant, iFrom, jFrom, from) - columnLevel(variant, iTo, jTo, to);
  if (!(difference > allowed)) return false;
  const double dz = (difference - allowed) / 2.0;
  switch (variant) {
    case 203: return shiftTopLayer(from, to);
    case 205: exchangePending(from, to, dz); return true;
    case 206: return shiftPendingDeposit(from, to);
    default: exchangeSediment(from, to, dz); return true;
  }
}

// Variant 202: along j, then along i, each line forward and then backward.
void fourPasses(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j < g.j2; ++j) slidePair(202, i, j, i, j + 1);
    for (int j = g.j2 - 1; j >= g.j1; --j) slidePair(202, i, j + 1, i, j);
  }
  for (int j = g.j1; j <= g.j2; ++j) {
    for (int i = g.i1; i < g.i2; ++i) slidePair(202, i, j, i + 1, j);
    for (int i = g.i2 - 1; i >= g.i1; --i) slidePair(202, i + 1, j, i, j);
  }
}

// Variant 203: along i, each line forward and then backward.
void shiftPasses(const GridBlock &g) {
  for (int j = g.j1; j <= g.j2; ++j) {
    for (int i = g.i1; i < g.i2; ++i) slidePair(203, i, j, i + 1, j);
    for (int i = g.i2 - 1; i >= g.i1; --i) slidePair(203, i + 1, j, i, j);
  }
}

// Variants 204 to 206: one pass along i, each pair tested down i first.
void onePass(int variant, const GridBlock &g) {
  for (int i = g.i1; i < g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      if (!slidePair(variant, i, j, i + 1, j)) slidePair(variant, i + 1, j, i, j);
    }
  }
}

}  // namespace

void slideLayerStacks(int variant) {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &g = block[b];
    if (!slideBlock(g)) continue;
    if (variant == 202) {
      fourPasses(g);
    } else if (variant == 203) {
      shiftPasses(g);
    } else {
      onePass(variant, g);
    }
  }
}
