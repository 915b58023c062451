// The relaxed bed movement and veering angle of the columns, and the height,
// discharge and velocity scale of a turbidity current, per time step.
#include "sediment/statistics/bed_movement_statistics.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// Degrees per radian as the statistics have always been scaled (180/3.1415).
constexpr double kDegrees = 57.29746936176985;

// The angle (degrees, positive to the left) by which the surface velocity of
// the column of bottom cell c has turned from the bed velocity.
double veeringAngle(int c) {
  int t = c;
  while (Ccellt[t] > 0) t = Ccellt[t];
  if (t == c) return 0.0;
  const double ub = Cxvel[c], vb = Cyvel[c], ut = Cxvel[t], vt = Cyvel[t];
  const double sine = (ub * vt - vb * ut) / std::sqrt((ub * ub + vb * vb) * (ut * ut + vt * vt) + 1e-20);
  return std::asin(std::clamp(sine, -1.0, 1.0)) * kDegrees;
}

}  // namespace

void computeMorphStatistics() {
  double **movement = Surfaces[5], **angle = Surfaces[6];
  if (MorphInitiated == 0) {
    MorphInitiated = 1;
    for (int n = 1; n <= NoBlocks; ++n) {
      const GridBlock &b = block[n];
      if (b.WorkFlag <= 0) continue;
      for (int i = b.i1; i <= b.i2; ++i) {
        for (int j = b.j1; j <= b.j2; ++j) movement[i][j] = angle[i][j] = 0.0;
      }
    }
  }
  const double r = RelaxMorphStatistics;
  const bool summed = FlagMorphStatistics == 5;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.WorkFlag <= 0) continue;
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        const int bed = pointbed[i][j];
        const double move = bed > 0 ? Bedmove[bed] : 0.0;
        movement[i][j] = summed ? movement[i][j] + move : (1.0 - r) * movement[i][j] + r * move;
        const int c = bed > 0 ? Bcellt[bed] : 0;
        if (c <= 0) continue;
        angle[i][j] = (1.0 - r) * angle[i][j] + r * veeringAngle(c);
      }
    }
  }
}

void computeDensityStat(int i1, int i2) {
  const GridBlock &b = block[1];
  // A zero TDvelo must not divide by zero: the velocity takes at least 1e-20.
  const double smallest = std::max(TDvelo, 1e-20);
  for (int i = i1; i <= i2; ++i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int bed = pointbed[i][j];
      if (bed <= 0) continue;
      const int bottom = Bcellt[bed];
      if (bottom <= 0) {
        BTheight[bed] = BTdischarge[bed] = BTugrad[bed] = 0.0;
        continue;
      }
      double height = 0.0, discharge = 0.0, fastest = 0.0;
      for (int c = bottom;; c = Ccellt[c]) {
        const double u = Cxvel[c];
        height += Ckdist[c];
        discharge += Ckdist[c] * u;
        fastest = std::max(fastest, u);
        // The first cell flowing back over a forward flow closes the current.
        if (c != bottom && u < 0.0 && Cxvel[Ccellb[c]] > 0.0) break;
        if (Ccellt[c] <= 0) break;
      }
      BTheight[bed] = 2.0 * height;
      BTdischarge[bed] = 2.0 * discharge;
      BTugrad[bed] = 2.0 * height / std::max(fastest, smallest);
    }
  }
}
