// The corner weightings of F 205 inside bedchange. Area-sum options skew the
// sums the moves are placed with; factor options scale the corner factors
// and rescale them to add up to 4, so the column places its whole change.
#include "bed/levels/corner_weighting.h"

#include <algorithm>
#include <cmath>

#include "base/log.h"
#include "grid/geometry/plane_vectors.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The corner levels of the column as they stand now.
struct CornerLevels {
  double z[5], w[5];
  double zmin, zmax, wmax;
};

CornerLevels levelsOf(const CornerColumn &col) {
  CornerLevels v{};
  v.zmin = 1e30;
  v.zmax = v.wmax = -1e30;
  for (int k = 1; k <= 4; ++k) {
    const double *point = zval[col.i + kCornerDi[k]][col.j + kCornerDj[k]];
    v.z[k] = point[1];
    v.w[k] = point[znumber];
    v.zmin = std::min(v.zmin, v.z[k]);
    v.zmax = std::max(v.zmax, v.z[k]);
    v.wmax = std::max(v.wmax, v.w[k]);
  }
  return v;
}

// Weights 1 + cos(velocity, centre - corner) where the cosine is positive:
// corners upstream of the centre take larger sums and so smaller moves.
void upstreamWeights(const CornerColumn &col, double W[5]) {
  const int ref = col.ref;
  for (int k = 1; k <= 4; ++k) {
    const int p = cornerPoint(ref, k);
    const double c = dotproduct(Cxvel[ref], Cyvel[ref], Cxcenter[ref] - Px[p], Cycenter[ref] - Py[p]);
    W[k] = c > 0.0 ? 1.0 + c : 1.0;
  }
}

// The column's twist against the mean twist of its four side neighbours:
// opposite signs beyond 0.03 (a missing neighbour counts 0).
bool twistOpposes(const CornerColumn &col) {
  if (Bfly == nullptr) return false;
  double mean = 0.0;
  for (int s = East; s <= North; ++s) mean += col.side[s] > 0 ? Bfly[Cbed[col.side[s]]] : 0.0;
  mean *= 0.25;
  const double own = Bfly[col.b];
  return (own > 0.03 && mean < -0.03) || (own < -0.03 && mean > 0.03);
}

// The clipped depth weight max(0.001, max(0, x)/R + p).
double clippedWeight(double x, double range, double p) {
  const double q = range > 1e-10 ? 1.0 / range : 1e10;
  return std::max(0.001, std::max(0.0, x) * q + p);
}

// The factor weights g of options 13 to 21; false where the option is not
// active for this column.
bool factorWeights(int option, const CornerColumn &col, const CornerLevels &v, double p, double g[5]) {
  const bool erosion = col.dz < 0.0;
  double x[5], range = 0.0;
  switch (option) {
    case 19:
      if (erosion) return false;
      [[fallthrough]];
    case 13:
    case 18: {
      const double top = std::max(v.wmax, v.zmin);
      for (int k = 1; k <= 4; ++k) x[k] = top - v.z[k];
      range = top - v.zmin;
      break;
    }
    case 14:
      for (int k = 1; k <= 4; ++k) x[k] = erosion ? v.z[k] - v.zmin : v.zmax - v.z[k];
      range = v.zmax - v.zmin;
      break;
    case 15:
    case 21:
      for (int k = 1; k <= 4; ++k) x[k] = erosion ? v.z[k] - v.zmin : v.wmax - v.z[k];
      range = v.wmax - v.zmin;
      break;
    case 16:
      for (int k = 1; k <= 4; ++k) x[k] = erosion ? v.z[k] - v.zmin : v.wmax - v.z[k];
      range = erosion ? v.zmax - v.zmin : v.wmax - v.zmin;
      break;
    case 17: {
      double depth = 1e30;
      for (int k = 1; k <= 4; ++k) depth = std::min(depth, v.w[k] - v.z[k]);
      if (erosion || !(col.dz > depth)) return false;
      const double low = std::min(v.zmin, depth - MinVertDist0);
      for (int k = 1; k <= 4; ++k) x[k] = depth - v.z[k];
      range = depth - low;
      break;
    }
    case 20: {
      const bool fromTop = !erosion || std::min(v.wmax, v.w[3] - v.z[3]) < 0.0;
      for (int k = 1; k <= 4; ++k) x[k] = fromTop ? v.wmax - v.z[k] : v.z[k] - v.zmin;
      range = v.wmax - v.zmin;
      break;
    }
    default: return false;
  }
  for (int k = 1; k <= 4; ++k) g[k] = clippedWeight(x[k], range, p);
  return true;
}

// Option 9: the corners downslope of the bed face take more of a deposit,
// those upslope more of an erosion.
void slopeFactors(CornerColumn &col) {
  const int ref = col.ref, face = Cflateb[ref];
  const double s = col.dz < 0.0 ? -1.0 : std::min(Fvz[face] / BedCritTanSlopeUp, 1.0);
  double sum = 0.0;
  for (int k = 1; k <= 4; ++k) {
    const int p = cornerPoint(ref, k);
    col.f[k] = 1.0 + s * dotproduct(Fvx[face], Fvy[face], Px[p] - Cxcenter[ref], Py[p] - Cycenter[ref]);
    sum += col.f[k];
  }
  const double scale = 4.0 / (sum + 1e-20);
  for (int k = 1; k <= 4; ++k) col.f[k] *= scale;
}

bool warnedQuarter = false;

// Option 21 places a quarter of the change; the rest is booked as defect.
void bookUnplacedQuarter(CornerColumn &col) {
  double sum = 0.0;
  for (int k = 1; k <= 4; ++k) sum += col.f[k];
  col.unplaced = (1.0 - 0.25 * sum) * std::fabs(col.dz);
  if (warnedQuarter) return;
  warnedQuarter = true;
  logText("Warning: F 205 21 places a quarter of each bed change; the rest is booked as bed-move defect\n");
}

}  // namespace

void skewAreaSums(CornerColumn &col, const double W[5]) {
  // A weight of 0 (a corner at the extreme level with p = 0) would take the
  // whole change at that corner; the floor keeps the sums finite.
  double w[5], inverse = 0.0;
  for (int k = 1; k <= 4; ++k) {
    w[k] = std::max(W[k], 1e-20);
    inverse += 1.0 / w[k];
  }
  for (int k = 1; k <= 4; ++k) col.Sw[k] = col.S[k] * w[k] * 0.25 * inverse;
}

void levelWeights(const CornerColumn &col, double p, bool highHeavier, double W[5]) {
  const CornerLevels v = levelsOf(col);
  const double range = v.zmax - v.zmin + 1e-20;
  for (int k = 1; k <= 4; ++k) W[k] = (highHeavier ? v.z[k] - v.zmin : v.zmax - v.z[k]) / range + p;
}

void weightCorners(CornerColumn &col) {
  const int option = FlagSkewedBedchange;
  const double p = f205param;
  const bool erosion = col.dz < 0.0;
  double W[5];
  switch (option) {
    case 12: fatalExit(-3, "Error in F 205 data set. Option 12 is discontinued due to bug\n");
    case 1:
    case 2:
    case 3:
    case 4:
    case 11: {
      if (option == 2 && !erosion) return;
      if (option == 3 && !twistOpposes(col)) return;
      if (option == 11) {
        const CornerLevels v = levelsOf(col);
        const double depth = 0.25 * (v.w[1] + v.w[2] + v.w[3] + v.w[4]) - 0.25 * (v.z[1] + v.z[2] + v.z[3] + v.z[4]);
        if (!erosion || !(depth > MinVertDist1)) return;
      }
      // Erosion takes most at the high corners (their sums grow least),
      // deposition at the low ones; option 4 the reverse.
      levelWeights(col, p, option == 4 ? erosion : !erosion, W);
      skewAreaSums(col, W);
      return;
    }
    case 5:
    case 6:
      if (option == 6 && !erosion) return;
      upstreamWeights(col, W);
      skewAreaSums(col, W);
      return;
    case 9: slopeFactors(col); return;
    default: break;
  }
  double g[5];
  const CornerLevels v = levelsOf(col);
  const bool active = factorWeights(option, col, v, p, g);
  if (!active && option != 17) return;
  double sum = 0.0;
  for (int k = 1; k <= 4; ++k) {
    if (active) col.f[k] *= g[k];
    sum += col.f[k];
  }
  const double scale = (option == 21 ? 1.0 : 4.0) / sum;
  for (int k = 1; k <= 4; ++k) col.f[k] *= scale;
  if (option == 21) bookUnplacedQuarter(col);
}
