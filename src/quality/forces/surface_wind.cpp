// The wind on the water surface: its shear stress drives the top cells of
// the U and V equations, and it sets k and epsilon of the top cells to the
// values of the turbulence it generates there.
#include <cmath>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/work_ranges.h"
#include "quality/process_sources.h"
#include "turbulence/eddy_viscosity.h"

void WindFunction(int equation) {
  if (equation == 3) return;
  double speed = 0.0, fx = 0.0, fy = 0.0;
  windNow(speed, fx, fy);
  const double drag = windDrag(speed);
  // 0.0012 x drag is the surface shear in N/m2.
  switch (equation) {
    case 1:
    case 2: {
      const double stress = 0.0012 * (equation == 1 ? fx : fy) * drag;
      for (int c = WCStart; c <= WCEnd; ++c) {
        if (Ccellt[c] == 0) Csource[c] += stress * Farea[Cflatet[c]];
      }
      return;
    }
    case 5:
    case 6: {
      // k from the shear velocity, k = u*^2 / sqrt(0.09); epsilon of the
      // wall law at the cell's half height, 0.09^0.75 k^1.5 / (0.4 y).
      const double k = 1.99998e-6 * drag;
      const double epsilonFactor = 0.164317 * 2.5 * std::pow(k, 1.5);
      for (int c = WCStart; c <= WCEnd; ++c) {
        if (Ccellt[c] != 0) continue;
        const double value = equation == 5 ? k : epsilonFactor / (Ckdist[c] + 1e-20);
        Cap[c] += 1e30;
        Csource[c] += 1e30 * value;
      }
      return;
    }
    default: return;
  }
}
