// Shared pieces of the component source routines: the records of a
// component, the series at the simulated time, step growth, the temperature
// factor and the vertical movement rule. Writes only Csource.
#include "quality/components/component_terms.h"

#include <cmath>
#include <vector>

#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"

void collectComponentTerms(int component, ComponentTerms &terms) {
  terms.count = 0;
  const int used = NoTerms < kMaxQTerms ? NoTerms : kMaxQTerms;
  for (int t = 0; t < used; ++t) {
    if (QTerms[t].target == component) terms.term[terms.count++] = &QTerms[t];
  }
}

const double *componentField(int index) {
  if (index >= 0 && index < NoComponents) return Ccomp[index];
  // Grown with the grid only, never per call.
  static std::vector<double> zeros;
  if (zeros.size() < static_cast<size_t>(NoCells) + 1) zeros.assign(static_cast<size_t>(NoCells) + 1, 0.0);
  return zeros.data();
}

double seriesNow(const double *series) {
  if (TimeInNo < 1 || !TimeInTime || !series) return 0.0;
  const SeriesBracket b = seriesBracket(TimeInTime, TimeInNo, stimet);
  return (1.0 - b.weight) * series[b.lower] + b.weight * series[b.upper];
}

double seriesColumnNow(double *const *series, int column) {
  if (TimeInNo < 1 || !TimeInTime || !series) return 0.0;
  const SeriesBracket b = seriesBracket(TimeInTime, TimeInNo, stimet);
  return (1.0 - b.weight) * series[b.lower][column] + b.weight * series[b.upper][column];
}

double stepGrowth(int cell, double rate, double value) {
  return std::expm1(kPerDayRate * rate * TimeStep) * 1000.0 * Cvol[cell] * value / TimeStep;
}

double temperatureFactor(int cell, double theta) {
  if (TemperatureFlag != 1 || theta <= 0.0) return 1.0;
  return std::pow(theta, Ccomp[0][cell] - 20.0);
}

void moveVertically(int cell, double flux) {
  if (flux > 0.0) {
    const int above = Ccellt[cell];
    if (above <= 0) return;
    Csource[cell] -= flux;
    Csource[above] += flux;
  } else if (flux < 0.0) {
    Csource[cell] += flux;
    const int below = Ccellb[cell];
    if (below > 0) Csource[below] -= flux;
  }
}

double topArea(int cell) { return 1000.0 * Farea[Cflatet[cell]]; }
double bottomArea(int cell) { return 1000.0 * Farea[Cflateb[cell]]; }

void firstOrderReaction(const SourceTerm &t) {
  const double *c1 = componentField(t.i1), *ct = Ccomp[t.target];
  for (int c = 1; c <= NoCells; ++c) {
    Csource[c] += stepGrowth(c, t.c1 * c1[c] * temperatureFactor(c, t.c2), ct[c]);
  }
}
