// The sand slide's dispatch, point levelling with one grain size and the
// plane rotation of wet columns. Both move the bed levels of the grid points
// (zval level 1) in place, Gauss-Seidel fashion, and add every move to the
// accumulated bed movement (Surfaces plane 1); nothing goes below the
// non-erodible level (plane 3).
#include "bed/slides/sand_slide.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "base/log.h"
#include "bed/slides/grain_slide.h"
#include "bed/slides/layer_stack_slide.h"
#include "bed/slides/slide_columns.h"
#include "grid/geometry/plane_vectors.h"
#include "model/bed_cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"

namespace {

using namespace slide_columns;

// The area each wet column gives each of its four corners for point
// levelling: [(i·(ynumber+2) + j)·4 + corner]. Sized at the first call; the
// areas do not change while the grid stands, so every call fills it once.
std::vector<double> cornerAreas;

std::size_t columnSlot(int i, int j) { return (static_cast<std::size_t>(i) * (ynumber + 2) + j) * 4; }

double bedArea(int cell) { return cell > 0 ? Barea[bedCellOf(cell)] : 0.0; }

// The plan area around grid point (p, q): the four columns that share it.
double pointArea(int p, int q) {
  double area = 0.0;
  for (int i = p; i <= std::min(p + 1, xnumber + 1); ++i) {
    for (int j = q; j <= std::min(q + 1, ynumber + 1); ++j) area += armap[i][j];
  }
  return area;
}

// The corner areas of the wet columns of block g. On the block's border the
// columns beyond it belong to another block and lie elsewhere in the index
// space, so their bed-cell areas are added through the cell neighbours.
void fillCornerAreas(const GridBlock &g) {
  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int c = bottomCell(i, j);
      if (c <= 0) continue;
      const ColumnNeighbours nb = columnNeighbours(c);
      double *area = &cornerAreas[columnSlot(i, j)];
      for (int corner = 0; corner < 4; ++corner) {
        const bool borderI = corner < 2 ? i == g.i2 : i == g.i1;
        const bool borderJ = corner == 0 || corner == 3 ? j == g.j2 : j == g.j1;
        const CornerColumns beyond = cornerColumns(nb, corner);
        area[corner] = pointArea(i + kCornerDi[corner], j + kCornerDj[corner]);
        if (borderI) area[corner] += bedArea(beyond.iSide);
        if (borderJ) area[corner] += bedArea(beyond.jSide);
        if (borderI && borderJ) area[corner] += bedArea(beyond.diagonal);
      }
    }
  }
}

// One edge test of column (i, j): a height difference above the plan length
// times the repose tangent is levelled to it. The higher point falls by the
// excess times the lower point's share of the two areas, the lower rises by
// the rest, so area times change is equal and opposite and the volume holds.
// The fall stops at the non-erodible level; the rise then keeps the volume.
void levelEdge(int i, int j, const EdgeTest &edge, const double *area) {
  const int pa = i + kCornerDi[edge.a], qa = j + kCornerDj[edge.a];
  const int pb = i + kCornerDi[edge.b], qb = j + kCornerDj[edge.b];
  const double za = zval[pa][qa][1], zb = zval[pb][qb][1];
  const double excess = std::fabs(za - zb) - planLength(pa, qa, pb, qb) * AngleAvalanche;
  if (!(excess > 0.0)) return;
  const bool aHigh = za > zb;
  const int pHigh = aHigh ? pa : pb, qHigh = aHigh ? qa : qb, pLow = aHigh ? pb : pa, qLow = aHigh ? qb : qa;
  const double areaHigh = area[aHigh ? edge.a : edge.b], areaLow = area[aHigh ? edge.b : edge.a];
  if (areaLow <= 0.0) return;
  const double fall =
      std::min(excess * areaLow / (areaHigh + areaLow + 1e-20), zval[pHigh][qHigh][1] - Surfaces[3][pHigh][qHigh]);
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
  if (cornerAreas.size() != size) cornerAreas.assign(size, 0.0);
  for (int b = 1; b <= NoBlocks; ++b) {
    if (slideBlock(block[b])) fillCornerAreas(block[b]);
  }
  for (int sweep = 0; sweep < sweeps; ++sweep) {
    for (int b = 1; b <= NoBlocks; ++b) {
      const GridBlock &g = block[b];
      if (!slideBlock(g)) continue;
      for (int i = g.i1; i <= g.i2; ++i) {
        for (int j = g.j1; j <= g.j2; ++j) {
          if (bottomCell(i, j) <= 0) continue;
          const double *area = &cornerAreas[columnSlot(i, j)];
          for (const EdgeTest &edge : kEdgeTests) levelEdge(i, j, edge, area);
        }
      }
    }
  }
}

void rotateColumns(int variant, bool backward) {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &g = block[b];
    if (!slideBlock(g)) continue;
    if (backward) {
      for (int i = g.i2; i >= g.i1; --i) {
        for (int j = g.j2; j >= g.j1; --j) rotateColumn(variant, i, j);
      }
    } else {
      for (int i = g.i1; i <= g.i2; ++i) {
        for (int j = g.j1; j <= g.j2; ++j) rotateColumn(variant, i, j);
      }
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
