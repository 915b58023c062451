// What the momentum sources and the hydrostatic flow share of the baroclinic
// pressure force: the relative density integrated over half cells, and the
// difference across a column from the two sides.
#pragma once

#include "flow/equation_terms/momentum_sources.h"
#include "model/cells.h"

// The depth integral of the relative density from the centre above down to
// the centre of cell x, whose counterpart one level up is `above` (0 at the
// top); a missing cell x carries nothing.
inline double densityStep(int x, int above) {
  const double *t = Ccomp[0];
  const double here = x > 0 ? relativeWaterDensity(t[x]) * Ckdist[x] : 0.0;
  return above > 0 ? here + relativeWaterDensity(t[above]) * Ckdist[above] : here;
}

// One-sided where a neighbour is missing, central where both exist.
inline double sideDifference(int plus, int minus, double dPlus, double dMinus, double dCentre) {
  if (plus > 0 && minus > 0) return 0.5 * (dPlus - dMinus);
  if (plus > 0) return dPlus - dCentre;
  if (minus > 0) return dCentre - dMinus;
  return 0.0;
}
