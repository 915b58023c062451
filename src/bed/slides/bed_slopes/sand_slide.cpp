// The sand slide's dispatch, point levelling with one grain size and the
// plane rotation of wet columns. Both move the bed levels of the grid points
// (zval level 1) in place, Gauss-Seidel fashion, and add every move to the
// accumulated bed movement (Surfaces plane 1); nothing goes below the
// non-erodible level (plane 3).
#include "bed/slides/bed_slopes/sand_slide.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "base/log.h"
#include "bed/slides/bed_slopes/grain_slide.h"
#include "bed/slides/bed_slopes/layer_stack_slide.h"
#include "bed/slides/bed_slopes/slide_columns.h"
#include "grid/geometry/plane_vectors.h"
#include "model/bed_cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

using namespace slide_columns;

// What point levelling needs of each wet column, from slot
// (i·(ynumber+2) + j)·8: the areas of its four corners, then the height
// difference its four edge tests allow (the repose tangent times the plan
// length). Sized at the first call; nothing of it changes while the grid
// stands, so every call fills it once and the sweeps only read it.
constexpr std::size_t kSlotSize = 8;
std::vector<double> columnTable;

std::size_t columnSlot(int i, int j) { return (static_cast<std::size_t>(i) * (ynumber + 2) + j) * kSlotSize; }

double bedArea(int cell) { return cell > 0 ? Barea[bedCellOf(cell)] : 0.0; }

// The plan area around grid point (p, q): the four columns that share it.
double pointArea(int p, int q) {
  double area = 0.0;
  for (int i = p; i <= std::min(p + 1, xnumber + 1); ++i) {
    for (int j = q; j <= std::min(q + 1, ynumber + 1); ++j) area += armap[i][j];
  }
  return area;
}

// The corner areas and edge allowances of the wet columns of block g. On the
// block's border the columns beyond it belong to another block and lie
// elsewhere in the index space, so their bed-cell areas are added through
// the cell neighbours.
void fillColumnTable(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const ColumnNeighbours nb = columnNeighbours(c);
      double *slot = &columnTable[columnSlot(i, j)];
      for (int corner = 0; corner < 4; ++corner) {
        const bool borderI = corner < 2 ? i == g.i2 : i == g.i1;
        const bool borderJ = corner == 0 || corner == 3 ? j == g.j2 : j == g.j1;
        const CornerColumns beyond = cornerColumns(nb, corner);
        slot[corner] = pointArea(i + kCornerDi[corner], j + kCornerDj[corner]);
        if (borderI) slot[corner] += bedArea(beyond.iSide);
        if (borderJ) slot[corner] += bedArea(beyond.jSide);
        if (borderI && borderJ) slot[corner] += bedArea(beyond.diagonal);
      }
      for (int t = 0; t < 4; ++t) {
        const EdgeTest &edge = kEdgeTests[t];
        slot[4 + t] = AngleAvalanche * planLength(i + kCornerDi[edge.a], j + kCornerDj[edge.a], i + kCornerDi[edge.b],
                                                  j + kCornerDj[edge.b]);
      }
    }
  }
}

// One edge test of column (i, j): a height difference above the plan length
// times the repose tangent is levelled to it. The higher point falls by the
// excess times the lower point's share of the two areas, the lower rises by
// the rest, so area times change is equal and opposite and the volume holds.
// The fall stops at the non-erodible level; the rise then keeps the volume.
void levelEdge(int i, int j, const EdgeTest &edge, double *const *z, const double *area, double allowed) {
  const double za = *z[edge.a], zb = *z[edge.b];
  const double excess = std::fabs(za - zb) - allowed;
  if (!(excess > 0.0)) return;
  const int high = za > zb ? edge.a : edge.b, low = za > zb ? edge.b : edge.a;
  const int pHigh = i + kCornerDi[high], qHigh = j + kCornerDj[high];
  const int pLow = i + kCornerDi[low], qLow = j + kCornerDj[low];
  const double areaHigh = area[high], areaLow = area[low];
  if (areaLow <= 0.0) return;
  const double fall = std::min(excess * areaLow / (areaHigh + areaLow + 1e-20), *z[high] - Surfaces[3][pHigh][qHigh]);
  if (!(fall > 0.0)) return;
  moveBedPoint(pHigh, qHigh, -fall);
  moveBedPoint(pLow, qLow, fall * areaHigh / areaLow);
}

// The repose angle of a column in the plane rotation.
double reposeAngle(int variant, int c) {
  if (variant == 201) {
    // Where the flow runs up the slope (cosine -1) the upslope tangent holds,
    // where it runs down (+1) the ordinary one, and between them a blend.
    const int fb = Cflateb[c];
    const double w = (1.0 + dotproduct(Fvx[fb], Fvy[fb], Cxvel[c], Cyvel[c])) / 2.0;
    return std::atan((1.0 - w) * AngleAvalancheUp + w * AngleAvalanche);
  }
  if (FlagBedAngles > 1 && Bavalanche) return std::atan(Bavalanche[Cbed[c]]);
  return std::atan(AngleAvalanche);
}

// Turns the bed plane of wet column (i, j) to the repose angle when it is
// steeper and the bed above the non-erodible level is thick enough for the
// turn. The plane keeps its direction of steepest slope and its centre.
void rotateColumn(int variant, int i, int j) {
  const int c = bottomCell(i, j);
  if (c <= 0) return;
  const double phi = reposeAngle(variant, c);
  double x[4], y[4], z[4], floor[4];
  for (int k = 0; k < 4; ++k) {
    const int p = i + kCornerDi[k], q = j + kCornerDj[k];
    x[k] = xval[p][q];
    y[k] = yval[p][q];
    z[k] = zval[p][q][1];
    floor[k] = Surfaces[3][p][q];
  }
  // The normal of the two diagonals, upwards on a grid whose i runs along x.
  const double d1x = x[0] - x[2], d1y = y[0] - y[2], d1z = z[0] - z[2];
  const double d2x = x[1] - x[3], d2y = y[1] - y[3], d2z = z[1] - z[3];
  const double nx = d2y * d1z - d2z * d1y, ny = d2z * d1x - d2x * d1z, nz = d2x * d1y - d2y * d1x;
  const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
  const double theta = std::acos(nz / (length + 1e-20));
  if (!(std::cos(theta) < std::cos(phi))) return;
  const double f = variant == 207 ? std::sin(theta - phi) : std::tan(theta - phi);
  double height = z[0] - floor[0];
  for (int k = 1; k < 4; ++k) height = std::min(height, z[k] - floor[k]);
  if (!(height > 2.0 * f * std::sqrt(length))) return;
  const double scale = std::sin(phi) / std::sin(theta) / length;
  const double ax = nx * scale, ay = ny * scale, az = std::cos(phi);
  const double xm = (x[0] + x[1] + x[2] + x[3]) / 4.0, ym = (y[0] + y[1] + y[2] + y[3]) / 4.0;
  const double zm = (z[0] + z[1] + z[2] + z[3]) / 4.0;
  double level[4], mean = 0.0;
  for (int k = 0; k < 4; ++k) {
    level[k] = std::max(zm - (ax * (x[k] - xm) + ay * (y[k] - ym)) / az, floor[k]);
    mean += level[k] / 4.0;
  }
  // The mean level is restored, which lowers every corner when one was held
  // at the non-erodible level; a column that would then cut into it keeps
  // its bed in this sweep.
  for (double &l : level) l += zm - mean;
  for (int k = 0; k < 4; ++k) {
    if (level[k] < floor[k]) return;
  }
  for (int k = 0; k < 4; ++k) moveBedPoint(i + kCornerDi[k], j + kCornerDj[k], level[k] - z[k]);
}

}  // namespace

void levelPoints(int sweeps) {
  const std::size_t size = columnSlot(xnumber + 2, 0);
  if (columnTable.size() != size) columnTable.assign(size, 0.0);
  for (int b = 1; b <= NoBlocks; ++b) {
    if (slideBlock(block[b])) fillColumnTable(block[b]);
  }
  for (int sweep = 0; sweep < sweeps; ++sweep) {
    forEachWetColumn([](int i, int j, int) {
      const double *column = &columnTable[columnSlot(i, j)];
      double *z[4];
      for (int k = 0; k < 4; ++k) z[k] = &zval[i + kCornerDi[k]][j + kCornerDj[k]][1];
      for (int t = 0; t < 4; ++t) levelEdge(i, j, kEdgeTests[t], z, column, column[4 + t]);
    });
  }
}

void rotateColumns(int variant, bool backward) {
  if (!backward) {
    forEachWetColumn([variant](int i, int j, int) { rotateColumn(variant, i, j); });
    return;
  }
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &g = block[b];
    if (!slideBlock(g)) continue;
    for (int i = g.i2; i >= g.i1; --i) {
      for (int j = g.j2; j >= g.j1; --j) rotateColumn(variant, i, j);
    }
  }
}

void computeSandSlide() {
  const int variant = IterAvalanche;
  if (variant <= 0) return;
  switch (variant) {
    case 200:
    case 201: rotateColumns(variant, false); return;
    case 207:
      rotateColumns(variant, false);
      rotateColumns(variant, true);
      return;
    case 202:
    case 203:
    case 204:
    case 205:
    case 206: slideLayerStacks(variant); return;
    default: break;
  }
  if (lnumber == 1) {
    levelPoints(variant);
  } else if (lnumber > 1 && FlagTSC < 3) {
    levelPointsWithFractions(variant);
  } else if (lnumber > 1 && FlagSandSlideWarned == 0) {
    // Point levelling cannot keep the grain sizes of the layer stack.
    FlagSandSlideWarned = 1;
    logPrintf("Warning: F 56 %d does nothing with F 37 3 and several grain sizes\n", variant);
  }
}
