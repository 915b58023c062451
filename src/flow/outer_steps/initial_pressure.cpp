// Start pressure from the water levels, the column filter of the pressure
// and the time-step cut of a slide run: the small routines of the main
// driver that act on the pressure field and the time step.
#include "flow/outer_steps/initial_pressure.h"

#include <algorithm>
#include <cmath>

#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"

namespace {

int topOf(int c) {
  while (Ccellt[c] > 0) c = Ccellt[c];
  return c;
}

// Mode 1: a slow column (three times its Froude number below 1) is pulled
// towards hydrostatic by the share 1 - F; a column with a bottom pressure of
// 0 or less is left alone, since the factor would flip its pressures.
void froudeBlend(int bottom) {
  double half = 0.0, speed = 0.0;
  int n = 0;
  for (int c = bottom; c > 0; c = Ccellt[c]) {
    half += Ckdist[c];
    speed += std::sqrt(Cxvel[c] * Cxvel[c] + Cyvel[c] * Cyvel[c]);
    ++n;
  }
  const double pb = Cpres[bottom];
  if (pb <= 0.0) return;
  const double h = 2.0 * half;
  const double f = 3.0 * (speed / n) / std::sqrt(9.81 * h);
  const double hydrostatic = 9810.0 * h;
  const double target = f >= 1.0 ? pb : (f > 0.0 ? f * pb + (1.0 - f) * hydrostatic : hydrostatic);
  const double factor = std::min(target / pb, 1.0);
  for (int c = bottom; c > 0; c = Ccellt[c]) Cpres[c] *= factor;
}

// Mode 2: no cell above twice the hydrostatic pressure at its centre.
void capHydrostatic(int bottom) {
  double s = 0.0;
  for (int c = topOf(bottom); c > 0; c = Ccellb[c]) {
    s += Ckdist[c];
    Cpres[c] = std::min(Cpres[c], 2.0 * 9810.0 * s);
    s += Ckdist[c];
  }
}

// Mode 3: the pressure rises downwards by at most twice the hydrostatic
// increase over a cell.
void capIncrease(int bottom) {
  const int top = topOf(bottom);
  for (int c = Ccellb[top]; c > 0; c = Ccellb[c]) Cpres[c] = std::min(Cpres[c], Cpres[Ccellt[c]] + 39240.0 * Ckdist[c]);
}

double baseTimeStep = -1.0;  // the time step of the first call, kept for the run

}  // namespace

void initiatePressure() {
  const GridBlock &b = block[1];
  int jRef = b.j2 / 2;
  if (jRef < b.j1 - 1) jRef = (b.j1 - 1 + b.j2) / 2;  // a block 1 that starts far from j = 1
  const double reference = zval[b.i2][jRef][znumber];
  for (int i = b.i2; i >= b.i1; --i) {
    for (int j = b.j1; j <= b.j2; ++j) {
      const int bottom = static_cast<int>(zval[i][j][0]);
      if (bottom < 1) continue;
      const double p = 9810.0 * (zval[i][j][znumber] - reference);
      for (int c = bottom; c > 0; c = Ccellt[c]) Cpres[c] = p;
    }
  }
}

void pressureFilter() {
  const int mode = FlagPresFilter;
  if (mode < 1 || mode > 3 || NoBlocks < 1) return;
  for (int b = block[1].FirstBedCell; b <= block[1].LastBedCell; ++b) {
    const int bottom = Bcellt[b];
    if (bottom < 1) continue;
    if (mode == 1) froudeBlend(bottom);
    else if (mode == 2) capHydrostatic(bottom);
    else capIncrease(bottom);
  }
}

double computeChangeTimestep() {
  if (baseTimeStep < 0.0) baseTimeStep = TimeStep;
  TimeStep = WCStart > block[1].LastCell ? 0.1 * baseTimeStep : baseTimeStep;
  return TimeStep;
}

double computePresResStat() {
  if (!Cpres_res || NoCells < 1) return 0.0;
  double sum = 0.0;
  for (int c = 1; c <= NoCells; ++c) sum += std::fabs(Cpres_res[c]);
  return 3.0 * sum / NoCells;
}
