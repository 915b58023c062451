// Net outflow of every cell for the conservative centre coefficient of the
// transport equations. Writes only the centre coefficients it is given.
#include "solvers/net_outflow.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

inline bool realSide(int side) { return side >= 1 && side <= 6; }

}  // namespace

double implicitShare(bool secondOrder) {
  if (secondOrder || !(TimeStep > 1e-8 && CrankNicols > 1e-8)) return 1.0;
  return 1.0 - CrankNicols;
}

void addNetOutflow(int first, int last, double *ap, const SideRows &rows, double settling, double share) {
  const int c0 = WCStart, cEnd = WCEnd;
  auto inRange = [c0, cEnd](int c) { return c >= c0 && c <= cEnd; };
  for (int f = first; f <= last; ++f) {
    const int c1 = Fcell1[f], c2 = Fcell2[f];
    const int t1 = Ftype1[f], t2 = Ftype2[f];
    if (c1 > 0 && c2 > 0) {
      // Between two cells: the builders put max(-F, 0) + D on each side, so
      // adding F leaving the cell gives D + max(F, 0), what it gives away.
      const double F = t1 == 6 || t2 == 6 ? Fflux[f] - settling * Faz[f] : Fflux[f];
      if (realSide(t1) && inRange(c1)) ap[c1] += share * F;
      if (realSide(t2) && inRange(c2)) ap[c2] -= share * F;
    } else if (c1 > 0 && realSide(t1) && inRange(c1)) {
      // East, north and top boundaries; at the water surface (top) nothing
      // settles out, only water that leaves carries sediment with it.
      ap[c1] += share * std::max(Fflux[f], 0.0) - rows.a[t1][c1];
    } else if (c2 > 0 && realSide(t2) && inRange(c2)) {
      // West, south and bed boundaries; through the bed face the grains
      // settle into the bed at their full rate.
      const double out = -Fflux[f];
      const double leaves = t2 == 5 ? std::max(out + settling * Faz[f], 0.0) : share * std::max(out, 0.0);
      ap[c2] += leaves - rows.a[t2][c2];
    }
  }
}

void addGroupOutflow(double *ap, bool stepDischarges) {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 0 || group.faceCount < 1) continue;
    const double q = (stepDischarges ? DischargeArray[g] : group.discharge) / (group.area + 1e-30);
    const int count = std::min(group.faceCount, kGroupFaces);
    for (int n = 0; n < count; ++n) {
      const int f = group.faces[n];
      const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
      if (c >= WCStart && c <= WCEnd) ap[c] += Farea[f] * q;
    }
  }
}
