// Light in the water column and what it drives: growth and uptake limited by
// light and nutrients, the fixed light and colony-density values, and the
// vertical migration of algal colonies. Adds to (and for fixed values sets)
// Cap and Csource of the current component.
#include "quality/components/light_algae_sources.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/log.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "startup/timei_reader.h"

namespace {

// A value far above every coefficient makes a cell hold a given value:
// Cap·f = Csource gives f = value to the solver's precision.
constexpr double kFix = 1e30;

std::atomic<bool> gNoIrradianceWarned[3];

// Visits every cell with the depth of its centre below the water surface,
// column by column from the top cell down: half the top cell's height, the
// whole heights between, half the cell's own height.
template <class Visit>
void forEachDepth(Visit visit) {
  for (int top = 1; top <= NoCells; ++top) {
    if (Ccellt[top] != 0) continue;
    double depth = Ckdist[top];
    for (int c = top; c > 0; c = Ccellb[c]) {
      visit(c, depth);
      if (Ccellb[c] > 0) depth += Ckdist[c] + Ckdist[Ccellb[c]];
    }
  }
}

// The light at every cell centre, I·e^(-k·depth) with the extinction k of
// the cell (a coefficient or a concentration of the cell); the types that
// have no use for negative light see it as 0.
template <class Extinction, class Apply>
void withLight(const SourceTerm &t, bool noNegative, Extinction extinction, Apply apply) {
  const double irradiance = irradianceFor(t.type);
  forEachDepth([&](int c, double depth) {
    const double a = std::exp(-extinction(c) * depth);
    double light = a < 1.0 ? a * irradiance : irradiance;
    if (noNegative && light < 0.0) light = 0.0;
    apply(c, light);
  });
}

// 1 - f: the light-saturation factor that rises from 0 in the dark to 1.
double saturation(double light, double half) { return 1.0 - std::exp(-std::max(light, 0.0) / (1e-30 + half)); }

double monod(double c, double half) { return c / (half + c); }

void grow(int c, double rate) { Csource[c] += stepGrowth(c, rate, Ccomp[Equation - 8][c]); }
void takeUp(int c, double rate) { Csource[c] -= stepGrowth(c, rate, Ccomp[Equation - 8][c]); }

void fixValue(int c, double value) {
  Cap[c] = kFix;
  Csource[c] = kFix * value;
}

double limited(double value, double low, double high) { return std::max(low, std::min(value, high)); }

// Stokes velocity of a colony of relative density rho, diameter d and form
// resistance phi in water of the temperature (1e-6 m2/s without one).
double stokesVelocity(double rho, double d, double phi, double viscosity) {
  return (1.0 - rho) * 0.545 / viscosity * d * d / phi;
}
double viscosityAt(double temperature) { return 1e-6 * std::exp(0.55234 - 0.026668 * temperature); }

void migrate(int c, double velocity) {
  moveVertically(c, std::max(Ccomp[Equation - 8][c], 0.0) * velocity * topArea(c));
}

// The extinction k = a·C(component) + b of the cell.
auto linear(double a, const double *component, double b) {
  return [a, component, b](int c) { return a * component[c] + b; };
}
auto constant(double k) {
  return [k](int) { return k; };
}

// The relative colony density after a step of light-driven change.
double densityStep(double current, double gain, double light, double half, double loss) {
  return current + (gain * light / (half + light + 1e-30) - loss) * TimeStep;
}

void applyTerm(const SourceTerm &t) {
  const double *ct = Ccomp[t.target];
  const double *c1 = componentField(t.i1), *c2 = componentField(t.i2), *c3 = componentField(t.i3);
  const double dt = TimeStep;
  switch (t.type) {
    case 152:
      withLight(t, false, constant(t.c1), [&](int c, double i) {
        grow(c, std::min(std::max(t.c2 * saturation(i, t.c3), t.c4), t.c5));
      });
      break;
    case 162:
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        grow(c, std::min(std::max(t.c3 * saturation(i, t.c4), t.c5), t.c6));
      });
      break;
    case 81:
      withLight(t, true, linear(t.c1, ct, t.c2), [&](int c, double i) {
        const double rho = limited(densityStep(ct[c], t.c3, i, t.c6, t.c4 * i + t.c5), 0.7, 1.5);
        const double nu = TemperatureFlag == 1 ? viscosityAt(Ccomp[0][c]) : 1e-6;
        migrate(c, stokesVelocity(rho, t.c7, t.c8, nu));
      });
      break;
    case 42:
      withLight(t, true, linear(t.c1, ct, t.c2), [&](int c, double i) { grow(c, t.c3 * saturation(i, t.c4)); });
      break;
    case 281:
      withLight(t, true, linear(t.c1, ct, t.c2), [&](int c, double i) {
        const double r = std::min({t.c3 * saturation(i, t.c4), t.c5 * monod(c1[c], t.c6), t.c5 * monod(c2[c], t.c7)});
        grow(c, r * temperatureFactor(c, t.c8));
      });
      break;
    case 361:
      for (int c = 1; c <= NoCells; ++c) {
        const double r =
            std::min({t.c1 * saturation(c1[c], t.c2), t.c3 * monod(c2[c], t.c4), t.c3 * monod(c3[c], t.c5)});
        grow(c, r * temperatureFactor(c, t.c6));
      }
      break;
    case 252:
      for (int c = 1; c <= NoCells; ++c) {
        const double r = std::min(t.c1 * saturation(c1[c], t.c2), t.c3 * monod(c2[c], t.c4));
        grow(c, r * temperatureFactor(c, t.c5));
      }
      break;
    case 291:
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        const double m = std::min({t.c3 * saturation(i, t.c4), t.c5 * monod(ct[c], t.c6), t.c5 * monod(c2[c], t.c7)});
        takeUp(c, t.c9 * m * temperatureFactor(c, t.c8));
      });
      break;
    case 371:
      for (int c = 1; c <= NoCells; ++c) {
        const double m =
            std::min({t.c1 * saturation(c1[c], t.c2), t.c3 * monod(ct[c], t.c4), t.c3 * monod(c2[c], t.c5)});
        takeUp(c, t.c7 * m * temperatureFactor(c, t.c6));
      }
      break;
    case 261:
      for (int c = 1; c <= NoCells; ++c) {
        const double m = std::min(t.c1 * saturation(c1[c], t.c2), t.c3 * monod(ct[c], t.c4));
        takeUp(c, t.c6 * m * temperatureFactor(c, t.c5));
      }
      break;
    case 121: firstOrderReaction(t); break;
    case 272:
      withLight(t, false, linear(t.c1, c1, t.c2), [&](int c, double i) {
        const double light = std::min(t.c3 * saturation(i, t.c4), c2[c] / (t.c5 + c2[c] + 1e-30));
        grow(c, std::min(std::max(light, t.c6), t.c7));
      });
      break;
    case 151:
      withLight(t, false, constant(t.c1), [&](int c, double i) {
        fixValue(c, limited(densityStep(ct[c], t.c2, i, t.c5, t.c3 * i + t.c4), 0.7, 1.5));
      });
      break;
    case 161:
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        fixValue(c, limited(densityStep(ct[c], t.c3, i, t.c6, t.c4 * i + t.c5), 0.7, 1.5));
      });
      break;
    case 282:
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        fixValue(c, limited(densityStep(ct[c], t.c3, i, t.c6, t.c4 * c2[c] + t.c5), t.c7, t.c8));
      });
      break;
    case 132: {
      const double q = dt / t.c3;
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        fixValue(c, q < 1.0 ? q * i + (1.0 - q) * ct[c] : i);
      });
      break;
    }
    case 133: {
      const double q = dt / t.c3;
      withLight(t, true, linear(t.c1, c1, t.c2), [&](int c, double i) {
        const double d = q < 1.0 ? q * (i - ct[c]) : i - ct[c];
        Csource[c] += d * 1000.0 * Cvol[c] / dt;
      });
      break;
    }
    case 113: {
      // The time scale of the relaxation is c1 (s).
      const double q = dt / t.c1;
      for (int c = 1; c <= NoCells; ++c) {
        const double d = q < 1.0 ? q * (c1[c] - ct[c]) : c1[c] - ct[c];
        Csource[c] += d * 1000.0 * Cvol[c] / dt;
      }
      break;
    }
    case 221:
      for (int c = 1; c <= NoCells; ++c) migrate(c, stokesVelocity(c1[c], t.c1, t.c2, viscosityAt(c2[c])));
      break;
    case 131: {
      const double nu = viscosityAt(t.c3);
      for (int c = 1; c <= NoCells; ++c) {
        const double reach = 2.0 * Ckdist[c] / (dt + 1e-30);
        migrate(c, limited(stokesVelocity(c1[c], t.c1, t.c2, nu), -reach, reach));
      }
      break;
    }
    case 51:
      withLight(t, true, linear(t.c1, ct, t.c2), [&](int c, double i) {
        migrate(c, t.c4 * limited((t.c3 - i) / t.c5, -1.0, 1.0));
      });
      break;
    default: break;
  }
}

// Type 6100: the light of several light-absorbing species, each with its
// own extinction c(2m-1)·C(i(m+1)) + c(2m), their attenuations multiplied
// and capped at 1 after each; the cell value is added as a fixed value.
void speciesLight(const SourceTerm &t) {
  const int species = std::clamp(t.i1, 0, 5);
  const int component[5] = {t.i2, t.i3, t.i4, t.i5, t.i6};
  const double slope[5] = {t.c1, t.c3, t.c5, t.c7, t.c9};
  const double base[5] = {t.c2, t.c4, t.c6, t.c8, t.c10};
  const double irradiance = irradianceFor(t.type);
  forEachDepth([&](int c, double depth) {
    double a = 1.0;
    for (int m = 0; m < species; ++m) {
      a = std::min(a * std::exp(-(slope[m] * componentField(component[m])[c] + base[m]) * depth), 1.0);
    }
    const double value = std::max(a * irradiance, 0.0);
    Cap[c] += kFix;
    Csource[c] += kFix * value;
  });
}

// The order in which the term types act.
constexpr int kTermOrder[] = {152, 162, 81,  42,  6100, 281, 361, 252, 291, 371, 261,
                              121, 272, 151, 161, 282,  132, 133, 113, 221, 131, 51};

}  // namespace

double irradianceFor(int type) {
  const int unread = type == 81 ? 0 : type == 133 ? 1 : type == 1060 ? 2 : -1;
  if (unread >= 0 && !anyTermReadsIrradiance()) {
    if (!gNoIrradianceWarned[unread].exchange(true)) {
      logPrintf("Warning: no irradiance is read from 'timei' for Q %d\n", type);
    }
    return 0.0;
  }
  return seriesNow(Irradi);
}

void CompSourceAlgae(const ComponentTerms &terms) {
  if (NoTerms < 1) return;
  for (int type : kTermOrder) {
    for (int k = 0; k < terms.count; ++k) {
      const SourceTerm &t = *terms.term[k];
      if (t.type != type) continue;
      if (type == 6100) {
        speciesLight(t);
      } else {
        applyTerm(t);
      }
    }
  }
}
