// Point levelling of the sand slide with the grain composition of the
// two-layer bed: layer 1 is the active top layer, layer 0 the layer below
// (BSedDistrib[layer][0][b] thickness, [layer][k][b] fraction of size k).
// Writes the bed levels of the grid points, Surfaces plane 1, both layers
// and the tally AvalMove.
#include "bed/slides/bed_slopes/grain_slide.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "bed/layers/bed_layer_operations.h"
#include "bed/slides/bed_slopes/slide_columns.h"
#include "model/bed_cells.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

using namespace slide_columns;

// The plan area of the columns given that exist.
double areaOf(std::initializer_list<int> bedCells) {
  double area = 0.0;
  for (int b : bedCells) {
    if (b > 0) area += Barea[b];
  }
  return area;
}

// One edge test of column (i, j) with bed cell `own`: half the excess over
// the repose slope is asked of the higher point, no more than it stands
// above the non-erodible level; the columns on either side of the edge and
// the others around each point take part.
void levelEdgeWithFractions(int i, int j, int own, const ColumnNeighbours &nb, const EdgeTest &edge) {
  const int pa = i + kCornerDi[edge.a], qa = j + kCornerDj[edge.a];
  const int pb = i + kCornerDi[edge.b], qb = j + kCornerDj[edge.b];
  const double za = zval[pa][qa][1], zb = zval[pb][qb][1];
  const bool aHigh = za > zb;
  const int up = aHigh ? edge.a : edge.b, down = aHigh ? edge.b : edge.a;
  const int pUp = aHigh ? pa : pb, qUp = aHigh ? qa : qb, pDown = aHigh ? pb : pa, qDown = aHigh ? qb : qa;
  double dz = (std::fabs(za - zb) - planLength(pa, qa, pb, qb) * AngleAvalanche) * 0.5;
  dz = std::min(dz, zval[pUp][qUp][1] - Surfaces[3][pUp][qUp]);
  if (!(dz > 1e-12)) return;
  // Along i the edge separates the columns across j; along j those across i.
  const CornerColumns upper = cornerColumns(nb, up), lower = cornerColumns(nb, down);
  const int shared = edge.alongI ? upper.jSide : upper.iSide;
  const int upperSide = edge.alongI ? upper.iSide : upper.jSide;
  const int lowerSide = edge.alongI ? lower.iSide : lower.jSide;
  m_updatebed(own, bedCellOf(shared), bedCellOf(upperSide), bedCellOf(upper.diagonal), bedCellOf(lowerSide),
              bedCellOf(lower.diagonal), pUp, qUp, pDown, qDown, dz);
}

}  // namespace

void levelPointsWithFractions(int sweeps) {
  for (int sweep = 0; sweep < sweeps; ++sweep) {
    forEachWetColumn([](int i, int j, int c) {
      const ColumnNeighbours nb = columnNeighbours(c);
      for (const EdgeTest &edge : kEdgeTests) levelEdgeWithFractions(i, j, Cbed[c], nb, edge);
    });
  }
}

// Each of the four columns around the upper point gives a quarter of the
// lowering from its active layer; what they gave, V, lowers the upper point
// by 4·V over their areas and raises the lower one by 4·V over the areas of
// the columns around it, so the volume of the bed holds also where an active
// layer was too thin to give its quarter or a column is missing.
void m_updatebed(int b0, int b1, int b2, int b3, int b4, int b5, int iUp, int jUp, int iDown, int jDown, double dz) {
  std::fill(AvalMove, AvalMove + lnumber + 1, 0.0);
  for (int b : {b0, b1, b2, b3}) {
    if (b > 0) m_shave(b, dz / 4.0);
  }
  for (int k = 1; k <= lnumber; ++k) AvalMove[0] += AvalMove[k];
  const double volume = AvalMove[0];
  const double areaUp = areaOf({b0, b1, b2, b3}), areaDown = areaOf({b0, b1, b4, b5});
  if (!(volume > 0.0) || areaUp <= 0.0 || areaDown <= 0.0) return;
  moveBedPoint(iUp, jUp, -4.0 * volume / areaUp);
  moveBedPoint(iDown, jDown, 4.0 * volume / areaDown);
  for (int b : {b0, b1, b4, b5}) {
    if (b > 0) m_rise(b, volume / areaDown);
  }
}

void m_shave(int b, double t) {
  double &active = BSedDistrib[1][0][b], &below = BSedDistrib[0][0][b];
  t = std::min(t, active);
  if (!(t > 0.0)) return;
  for (int k = 1; k <= lnumber; ++k) AvalMove[k] += BSedDistrib[1][k][b] * t * Barea[b];
  const double kept = active - t, refill = std::min(below, t), thickness = kept + refill;
  if (thickness > 0.0) {
    for (int k = 1; k <= lnumber; ++k) {
      BSedDistrib[1][k][b] = (BSedDistrib[1][k][b] * kept + BSedDistrib[0][k][b] * refill) / (thickness + 1e-20);
    }
  }
  active = thickness;
  below -= refill;
}

// The active layer's thickness is the loop's active-layer thickness (F 106,
// else the largest grain); the moved material has the composition of
// AvalMove.
void m_rise(int b, double t) {
  if (!(t > 0.0)) return;
  double &active = BSedDistrib[1][0][b], &below = BSedDistrib[0][0][b];
  const double room = std::min(t, referenceLayerThickness() - active);
  const double kept = std::min(active, std::max(0.0, active + room - t));
  const double movedUp = std::min(t, active + room);
  const double oldDown = active - kept, movedDown = t - movedUp;
  const double newActive = active + room, newBelow = below + t - room;
  // A layer left empty keeps its composition, so that its fractions still sum to 1.
  for (int k = 1; k <= lnumber; ++k) {
    const double share = AvalMove[k] / (AvalMove[0] + 1e-20), old = BSedDistrib[1][k][b];
    if (newActive > 0.0) BSedDistrib[1][k][b] = (share * movedUp + old * kept) / (newActive + 1e-20);
    if (newBelow > 0.0) {
      BSedDistrib[0][k][b] = (BSedDistrib[0][k][b] * below + old * oldDown + share * movedDown) / (newBelow + 1e-20);
    }
  }
  active = newActive;
  below = newBelow;
}
