// Samples of the F 358 window: writes bedStatDepth, bedStatBed, bedStatDev,
// bedStatK and BedStatNo, which the sediment run averages in its report.
#include "grid/generation/bed_statistics_window.h"

#include <algorithm>
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The column's summed vertical speed through the tops of its cells over its
// summed horizontal speed, top cell left out. A column at rest, of one cell
// or dry has no ratio and adds 0.
double speedRatio(int bottom) {
  double vertical = 0.0, horizontal = 0.0;
  for (int c = bottom; c >= 1 && Ccellt[c] >= 1; c = Ccellt[c]) {
    const int top = Cflatet[c];
    vertical += std::fabs(Fflux[top] / Faz[top]);
    horizontal += std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]);
  }
  return horizontal > 0.0 ? vertical / horizontal : 0.0;
}

}  // namespace

void sampleBedStatistics() {
  if (BedStatI1 <= 0 || !(BedStatTime1 < stimet && stimet < BedStatTime2) || !bedStatDepth) return;
  // Points beyond the grid arrays have no levels; the window skips them.
  const int iLast = std::min(BedStatI2, xnumber + 1), jLast = std::min(BedStatJ2, ynumber + 1);
  const int jFirst = std::max(BedStatJ1, 0);
  if (BedStatNo == 0) {
    for (int i = BedStatI1; i <= BedStatI2; ++i) {
      for (int j = jFirst; j <= BedStatJ2; ++j) {
        bedStatDepth[i][j] = bedStatBed[i][j] = bedStatDev[i][j] = bedStatK[i][j] = 0.0;
      }
    }
  }
  for (int i = BedStatI1; i <= iLast; ++i) {
    for (int j = jFirst; j <= jLast; ++j) {
      const double bed = zval[i][j][1];
      bedStatDepth[i][j] += zval[i][j][znumber] - bed;
      bedStatBed[i][j] += bed;
      bedStatDev[i][j] += std::fabs(bed - Surfaces[0][i][j]);
      const int bottom = static_cast<int>(zval[i][j][0]);
      if (bottom >= 1) bedStatK[i][j] += speedRatio(bottom);
    }
  }
  ++BedStatNo;
}
