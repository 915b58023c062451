// The Coriolis force of the earth's rotation in the U and V equations:
// +rho f v on U and -rho f u on V over the cell volume (rho = 1000 kg/m3),
// with an optional stabilising term on the diagonal (F 80).
#include <cmath>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"

void CoriolisFunction() {
  if (Equation != 1 && Equation != 2) return;
  const double f = Coriolis;
  const double relax = relaxCoriolis;
  if (Equation == 1) {
    for (int c = WCStart; c <= WCEnd; ++c) {
      const double length = std::sqrt(2.0 * Cvol[c] * Ckdist[c]);
      Csource[c] += Cvol[c] * 1000.0 * f * Cyvel[c];
      Cap[c] += relax * std::fabs(1000.0 * f * Cyvel[c] - 1000.0 * Cxvel[c]) * length;
    }
  } else {
    // The stabilising term of V is formed from the U velocity in both places,
    // as the engine has always done; it vanishes with the default factor 0.
    for (int c = WCStart; c <= WCEnd; ++c) {
      const double length = std::sqrt(2.0 * Cvol[c] * Ckdist[c]);
      Csource[c] -= Cvol[c] * 1000.0 * f * Cxvel[c];
      Cap[c] += relax * std::fabs(1000.0 * f * Cxvel[c] - 1000.0 * Cxvel[c]) * length;
    }
  }
}
