// Inflow of the discharge groups for the fast flow driver: a uniform flux
// density over each inflow group's faces, from the group's discharge or the
// "timei" series. Writes Cinout, CinvApf and Csourcem.
#include "flow/drivers/fast_inflow.h"

#include <algorithm>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"

namespace {

constexpr int kGroups = 9;
constexpr int kRows = 5;

int cellOf(int face) { return Fcell1[face] != 0 ? Fcell1[face] : Fcell2[face]; }

// The discharge (kg/s) of inflow group g at stimet, or -1 when the series
// gives it 0 or less and the group is left out. A negative series value
// stands for the group's own discharge.
double inflowOf(int g, const SeriesBracket &at, bool series) {
  const DischargeGroup &group = DischargeStruct[g];
  if (!series) return group.discharge;
  const double q = (1.0 - at.weight) * QDinn[at.lower][g] + at.weight * QDinn[at.upper][g];
  const double mass = q < 0.0 ? group.discharge : 1000.0 * q;
  return mass > 0.0 ? mass : -1.0;
}

// The inflow faces of group g with the flux density q (kg/s per m2).
void addGroupInflow(int g, double q) {
  const DischargeGroup &group = DischargeStruct[g];
  for (int n = 0; n < group.faceCount; ++n) {
    const int f = group.faces[n];
    const int c = cellOf(f);
    if (c < 1) continue;
    const double mass = Farea[f] * q;
    for (int l = 0; l < kRows; ++l) CinvApf[l][c] += mass;
    Cinout[c] = g;
    // The momentum of the water entering with speed q / 1000 along the
    // face normal, pointed into the cell by Fin.
    const double momentum = Fin[f] * Farea[f] * q * q / 1000.0;
    Csourcem[0][c] += Fvx[f] * momentum;
    Csourcem[1][c] += Fvy[f] * momentum;
    Csourcem[3][c] += group.inflowK * mass;
    Csourcem[4][c] += group.inflowEpsilon * mass;
  }
}

}  // namespace

void boundaryFast() {
  std::fill(Cinout + 1, Cinout + NoCells + 1, 0);
  const bool series = FlagDischargeTime > 0 && TimeInNo >= 1 && TimeInTime && QDinn;
  const SeriesBracket at = series ? seriesBracket(TimeInTime, TimeInNo, stimet) : SeriesBracket{0, 0, 0.0};
  for (int g = 1; g <= kGroups; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.faceCount < 1) continue;
    if (group.type == 0) {
      for (int n = 0; n < group.faceCount; ++n) {
        const int c = cellOf(group.faces[n]);
        if (c >= 1) Cinout[c] = -g;
      }
      continue;
    }
    if (group.type != 1) continue;
    const double mass = inflowOf(g, at, series);
    if (series && mass < 0.0) continue;
    addGroupInflow(g, mass / (group.area + 1e-30));
  }
}
