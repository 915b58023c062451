// The sources of one water-quality component while its equation is
// assembled: surface loads, the inflow of the discharge groups, the terms of
// the Q table by cell class, the light and algae terms, bed erosion, heat
// exchange, vertical movement, surface exchange, first-order reactions and
// the iterated bed exchange. Adds to Cap and Csource; 2149 updates BQvar.
#include <algorithm>
#include <atomic>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "quality/components/component_terms.h"
#include "quality/components/light_algae_sources.h"
#include "quality/process_sources.h"

namespace {

std::atomic<bool> gSteadyLoadWarned{false};

// The terms of one type in table order.
template <class Apply>
void forType(const ComponentTerms &terms, int type, Apply apply) {
  for (int k = 0; k < terms.count; ++k) {
    if (terms.term[k]->type == type) apply(*terms.term[k]);
  }
}

// Loads spread over listed top cells by their share of the group's surface,
// in the first time step. A steady run has no step to spread them over.
void surfaceLoads(int n) {
  for (const SurfaceDischarge &g : SurfDischargeStruct) {
    if (g.cellCount < 1 || g.component != n) continue;
    if (TimeStep <= 1e-8) {
      if (!gSteadyLoadWarned.exchange(true)) logText("Warning: surface loads are applied in transient runs only\n");
      continue;
    }
    if (std::fabs(stimet - TimeStep) >= 0.001) continue;
    const int count = std::min(g.cellCount, kSurfaceLoadCells);
    double surface = 0.0;
    for (int k = 0; k < count; ++k) {
      if (g.cells[k] >= 1 && g.cells[k] <= NoCells) surface += Farea[Cflatet[g.cells[k]]];
    }
    for (int k = 0; k < count; ++k) {
      const int c = g.cells[k];
      if (c < 1 || c > NoCells) continue;
      Csource[c] += Farea[Cflatet[c]] * g.amount / (surface * TimeStep + 1e-30);
    }
  }
}

// The inflow concentration of component n of group g from the M data sets
// or the "timei" columns; false when neither gives one.
bool componentInflow(int g, int n, double &concentration) {
  if (CompInflowNo < 1 || n >= kCompInflowEntries) return false;
  const int column = CompInflow[g].order[n];
  if (column < 0) return false;
  concentration = TimeInNo == 0 ? CompInflow[g].conc[n] : seriesColumnNow(Cinn, column);
  return true;
}

// The water entering through an inflow group's faces brings its
// concentration: Q·C into the source of each cell behind a face, by the
// face's share of the group's area. The water needs no diagonal term: the
// cell's conservative centre coefficient holds what leaves it. Each group counts
// once: with its M or "timei" concentration of the component where it has
// one, otherwise with its own component's concentration.
void inflowGroups(int n) {
  for (int g = 1; g <= 9; ++g) {
    const DischargeGroup &group = DischargeStruct[g];
    if (group.type != 1 || group.faceCount < 1) continue;
    double concentration = 0.0;
    if (!componentInflow(g, n, concentration)) {
      if (group.component != n) continue;
      concentration = group.concentration;
    }
    const double q = group.discharge / (group.area + 1e-30);
    const int count = std::min(group.faceCount, kGroupFaces);
    for (int k = 0; k < count; ++k) {
      const int f = group.faces[k];
      const int c = Fcell1[f] != 0 ? Fcell1[f] : Fcell2[f];
      const double inflow = Farea[f] * q;
      Csource[c] += concentration * inflow;
    }
  }
}

// The coefficient c1 of the types 1 and 2, spread over the inner iterations
// of a step as written for them.
double perIteration(const SourceTerm &t) {
  return t.c1 * std::pow(1.0 - std::fabs(t.c1), TransInnerIter * TimeStep - 1.0);
}

double monod(double c, double half) { return c / (half + c); }

// Every cell, the top cells (nothing above them) and the bed cells (nothing
// below them), each visited in cell order.
template <class Add>
void everyCell(Add add) {
  for (int c = 1; c <= NoCells; ++c) add(c);
}
template <class Add>
void topCells(Add add) {
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellt[c] == 0) add(c);
  }
}
template <class Add>
void bedCells(Add add) {
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] == 0) add(c);
  }
}

double volume(int c) { return 1000.0 * Cvol[c]; }

// Terms on the top cells (1001-1012; 1005-1011 add nothing), then on the
// bed cells (2001-2004), then on every cell (1-4, 120, 230, 340).
void topCellTerm(const SourceTerm &t) {
  const double *c1 = componentField(t.i1), *c2 = componentField(t.i2), *ct = Ccomp[t.target];
  switch (t.type) {
    case 1001: topCells([&](int c) { Csource[c] += t.c1 * topArea(c); }); break;
    case 1002: topCells([&](int c) { Csource[c] += t.c1 * topArea(c) * (c1[c] - ct[c]); }); break;
    case 1003: topCells([&](int c) { Csource[c] += t.c1 * topArea(c) * c1[c] * c2[c]; }); break;
    case 1004: topCells([&](int c) { Csource[c] += std::max(t.c1 * c1[c] * c2[c], c2[c]) * topArea(c); }); break;
    case 1012: topCells([&](int c) { Csource[c] += t.c1 * topArea(c) * c1[c]; }); break;
    default: break;
  }
}

void bedCellTerm(const SourceTerm &t) {
  const double *c1 = componentField(t.i1), *c2 = componentField(t.i2);
  switch (t.type) {
    case 2001: bedCells([&](int c) { Csource[c] += t.c1 * volume(c); }); break;
    case 2002: bedCells([&](int c) { Csource[c] += t.c1 * volume(c) * c1[c]; }); break;
    case 2003: bedCells([&](int c) { Csource[c] += t.c1 * volume(c) * c1[c] * c2[c]; }); break;
    case 2004: bedCells([&](int c) { Csource[c] += std::max(t.c1 * c1[c] * c2[c], c2[c]) * volume(c); }); break;
    default: break;
  }
}

void everyCellTerm(const SourceTerm &t) {
  const double *c1 = componentField(t.i1), *c2 = componentField(t.i2), *c3 = componentField(t.i3);
  const double *ct = Ccomp[t.target];
  switch (t.type) {
    case 1: {
      const double k = perIteration(t);
      everyCell([&](int c) { Csource[c] += k * volume(c); });
      break;
    }
    case 2: {
      const double k = perIteration(t);
      everyCell([&](int c) { Csource[c] += k * volume(c) * c1[c]; });
      break;
    }
    case 3: everyCell([&](int c) { Csource[c] += t.c1 * volume(c) * c1[c] * c2[c]; }); break;
    case 4: everyCell([&](int c) { Csource[c] += std::max(t.c1 * c1[c] * c2[c], c2[c]) * volume(c); }); break;
    case 120: everyCell([&](int c) { Csource[c] += t.c1 * volume(c) * ct[c] * monod(c1[c], t.c2); }); break;
    case 230:
      everyCell([&](int c) {
        Csource[c] += t.c1 * volume(c) * ct[c] * std::min(monod(c1[c], t.c2), monod(c2[c], t.c3));
      });
      break;
    case 340:
      everyCell([&](int c) {
        Csource[c] +=
            t.c1 * volume(c) * ct[c] * std::min({monod(c1[c], t.c2), monod(c2[c], t.c3), monod(c3[c], t.c4)});
      });
      break;
    default: break;
  }
}

void cellClassTerms(const ComponentTerms &terms) {
  for (int k = 0; k < terms.count; ++k) {
    if (terms.term[k]->type >= 1001 && terms.term[k]->type <= 1012) topCellTerm(*terms.term[k]);
  }
  for (int k = 0; k < terms.count; ++k) {
    if (terms.term[k]->type >= 2001 && terms.term[k]->type <= 2004) bedCellTerm(*terms.term[k]);
  }
  for (int k = 0; k < terms.count; ++k) everyCellTerm(*terms.term[k]);
}

// Erosion from the bed where the bed shear stress 300 k (Pa) passes c1.
void bedErosion(const SourceTerm &t) {
  bedCells([&](int c) {
    Csource[c] += t.c2 * bottomArea(c) * std::pow(std::max(0.0, 300.0 * Ckinen[c] - t.c1), t.c3);
  });
}

// Heat exchange of the top cells with the atmosphere: short-wave and
// long-wave radiation in, back radiation, convection and evaporation out.
void heatExchange(const SourceTerm &t) {
  const double irradiance = irradianceFor(t.type);
  const double air = seriesNow(AirTemp);
  const double wind = seriesColumnNow(Winn, 0);
  const double incoming =
      t.c1 * irradiance + (t.c2 + 0.031 * std::sqrt(t.c3)) * 0.0049 * std::pow(273.0 + air, 4) * (1.0 - t.c4);
  topCells([&](int c) {
    const double w = Ccomp[0][c];
    const double h = incoming - 0.0049 * t.c5 * std::pow(273.0 + w, 4) - t.c6 * wind * (w - air) -
                     wind * (t.c2 - 4.596 * std::exp(17.27 * w / (w + 273.3)));
    Csource[c] += h * topArea(c);
  });
}

void monodMovement(const SourceTerm &t) {
  const double *c1 = componentField(t.i1), *ct = Ccomp[t.target];
  for (int c = 1; c <= NoCells; ++c) {
    moveVertically(c, t.c1 * topArea(c) * std::max(0.0, c1[c] * ct[c] / (t.c1 + ct[c])));
  }
}

void surfaceExchange(const SourceTerm &t) {
  const double *ct = Ccomp[t.target];
  topCells([&](int c) { Csource[c] += Cgamma[c] * t.c2 * topArea(c) * (t.c1 - ct[c]); });
}

void constantMovement(const SourceTerm &t) {
  const double *ct = Ccomp[t.target];
  for (int c = 1; c <= NoCells; ++c) moveVertically(c, std::max(ct[c], 0.0) * t.c1 * topArea(c));
}

// Exchange with a bed state iterated per bed cell: the bed cell's state
// variables a, b and s start from their stored values, and the flux D
// leaves the bottom cell through its bed face.
void iteratedBedExchange(const SourceTerm &t) {
  const int count = FlagBedCalc > 0 && BQvar ? FlagBedCalc : 0;
  for (int index : {t.i2, t.i3, t.i4}) {
    if (index >= count) {
      fatalPrintf(kExitInconsistent, nullptr, "Error for Q 2149: index %d not below the F 79 count %d\n", index,
                  count);
    }
  }
  const double *c1 = componentField(t.i1), *ct = Ccomp[t.target];
  double *sv = BQvar[t.i4], *av = BQvar[t.i2], *bv = BQvar[t.i3];
  const double rho = 0.5 * t.c5 / t.c4;
  for (int bed = 1; bed <= NoBCells; ++bed) {
    const int c = Bcellt[bed];
    if (c <= 0) continue;
    const double j = c1[c] * t.c7 / t.c4 + av[bed];
    const double g = t.c1 * t.c3 * c1[c] + bv[bed];
    const double p = t.c5 * ct[c];
    double s = sv[bed], a = av[bed], b = bv[bed], next = s, d = 0.0;
    for (int k = 0; k < 100; ++k) {
      const double f = rho / (0.5 * t.c5 / s + rho + t.c2 * s);
      a = j - t.c1 * a;
      b = b * (f - 1.0) * rho / t.c4 + g;
      d = t.c3 * t.c8 * s * f * b + t.c9 * s * f * a;
      next = p / d;
      if ((next - s) / (next + s) < 0.01) break;
      s = next;
    }
    // A state that starts at 0 or runs away gives no usable flux: the cell
    // keeps its stored state rather than a not-a-number source.
    const double flux = d * t.c2 * bottomArea(c);
    if (!std::isfinite(flux) || !std::isfinite(next)) continue;
    av[bed] = a;
    bv[bed] = b;
    sv[bed] = next;
    Csource[c] -= flux;
  }
}

}  // namespace

void CompSource() {
  const int n = Equation - 8;
  if (n < 0 || n >= NoComponents || !Ccomp) return;
  ComponentTerms terms;
  collectComponentTerms(n, terms);
  surfaceLoads(n);
  inflowGroups(n);
  if (NoCells >= 1) cellClassTerms(terms);
  CompSourceAlgae(terms);
  forType(terms, 2030, bedErosion);
  forType(terms, 1060, heatExchange);
  forType(terms, 123, monodMovement);
  forType(terms, 1102, surfaceExchange);
  forType(terms, 122, firstOrderReaction);
  forType(terms, 11, constantMovement);
  forType(terms, 2149, iteratedBedExchange);
}
