// Nested blocks in the equations: the border of a fine block is an inflow
// boundary fed by the four parent cells of every border face, and the parent
// cells take the fine cells' values back (F 261). Writes Nweight, Nflux, the
// coefficient set of the current Equation, Cpt, Cqt and the field Cf.
#include "grid/blocks/nested_sources.h"

#include <cmath>

#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/nests.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr int kNestSlots = 4;

// u·A of face f, positive into the nested block whose border it is: the area
// vector points from Fcell1 to Fcell2, so it is turned where Fcell2 is none.
double borderFlux(int f, double u, double v, double w) {
  const double q = u * Fax[f] + v * Fay[f] + w * Faz[f];
  return Fcell2[f] == 0 ? -q : q;
}

// The weights of the four parent cells of every entry by their velocity
// towards the face, the interpolated inflow through it, and the weights as
// inflow mass fluxes (kg/s); outflow entries get none.
void updateWeights() {
  for (int n = 1; n <= NoNestflater; ++n) {
    double *w = Nweight[n];
    double sum = 0.0;
    for (int k = 0; k < kNestSlots; ++k) {
      const int c = Ncell[n][k];
      const double *e = Nvect[n][k];
      w[k] = std::abs(Cxvel[c] * e[0] + Cyvel[c] * e[1] + Czvel[c] * e[2]);
      sum += w[k];
    }
    double u = 0.0, v = 0.0, z = 0.0;
    for (int k = 0; k < kNestSlots; ++k) {
      const int c = Ncell[n][k];
      w[k] /= sum + 1e-20;
      u += w[k] * Cxvel[c];
      v += w[k] * Cyvel[c];
      z += w[k] * Czvel[c];
    }
    Nflux[n] = borderFlux(Npflate[n], u, v, z);
    const double mass = Nflux[n] >= 0.0 ? 1000.0 * Nflux[n] : 0.0;
    for (int k = 0; k < kNestSlots; ++k) w[k] *= mass;
  }
}

// The inflow of the parent cells' values into the border cells. The
// transport equations of sediment and components (Equation 7 and up) keep
// their mass: their centre coefficient already holds what a border cell
// gives to its fine neighbours, so the entering water adds only its load,
// and the water leaving through a border face takes the cell's value out.
void addInflow(double *ap, double *source, const double *phi) {
  const bool conservative = Equation >= 7;
  for (int n = 1; n <= NoNestflater; ++n) {
    const int c = Npcelle[n];
    if (conservative && Nflux[n] < 0.0) ap[c] -= 1000.0 * Nflux[n];
    for (int k = 0; k < kNestSlots; ++k) {
      if (!conservative) ap[c] += Nweight[n][k];
      source[c] += Nweight[n][k] * phi[Ncell[n][k]];
    }
  }
}

// The field whose inflow the current transport equation takes, with its
// coefficients; false for an equation without border inflow.
bool inflowField(const double *&phi, double *&ap, double *&source) {
  ap = Cap;
  source = Csource;
  switch (Equation) {
    case 1: phi = Cxvel; return true;
    case 2: phi = Cyvel; return true;
    case 3: phi = Czvel; return true;
    case 5: phi = Ckinen; return true;
    case 6: phi = Cepsilon; return true;
    default: break;
  }
  if (Equation <= 6 || FlagTSC <= 0 || !Cconc) return false;
  const int s = Equation - 6;
  if (lnumber == 1) {
    phi = Cconc[1];
    return s == 1;
  }
  if (s > lnumber || !Capm || !Csourcem) return false;
  phi = Cconc[s];
  ap = Capm[s];
  source = Csourcem[s];
  return true;
}

// Flux of an entry and the sum it adds to: inflow (positive) or outflow.
void tally(double q, double &in, double &out) {
  if (q > 0.0) in += q;
  else out -= q;
}

// The border fluxes of block b for the pressure correction, by F 280, with
// the outflow scaled so that the block keeps its volume.
void blockContinuity(int b) {
  const int variant = block[b].NestLevel == 1 || FlagNestFluxInterpol == 0 ? 0 : FlagNestFluxInterpol;
  double in = 0.0, out = 0.0;
  for (int n = 1; n <= NoNestflater; ++n) {
    if (Npblock[n] != b) continue;
    const int c = Npcelle[n];
    const double q = borderFlux(Npflate[n], Cxvel[c], Cyvel[c], Czvel[c]);
    double &flux = Nflux[n];
    const double blend = 0.5 * q + 0.5 * flux;
    switch (variant) {
      case 0:
        flux = blend;
        tally(flux, in, out);
        break;
      case 1:
        if (flux > 0.0) in += flux;
        else tally(flux = q < 0.0 ? q : blend, in, out);
        break;
      case 2:
        if (q < 0.0) tally(flux = q, in, out);
        else if (flux > 0.0) in += flux;
        else tally(flux = blend, in, out);
        break;
      case 3:
        if (q > 0.0) {
          flux = blend;
          if (flux > 0.0) in += flux;
        }
        break;
      default: break;
    }
  }
  if (variant == 3) out = 0.001 * DischargeArray[1];
  const double ratio = variant >= 0 && variant <= 3 ? in / (out + 1e-30) : 0.0;
  for (int n = 1; n <= NoNestflater; ++n) {
    if (Npblock[n] != b) continue;
    if (Nflux[n] < 0.0) Nflux[n] *= ratio;
    Csource[Npcelle[n]] += 1000.0 * Nflux[n];
  }
}

// The parent of c, followed down to the cell of level 0.
int levelZeroParent(int c) {
  int p = Cinterpolnest[c];
  for (int steps = 0; p > 0 && Cinterpolnest[p] > 0 && steps < NoCells; ++steps) p = Cinterpolnest[p];
  return p;
}

// Runs body(c, parent) for every cell of the blocks above `level` that has
// a parent cell, in cell order.
template <class Body>
void forNestedCells(int level, Body &&body) {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel <= level) continue;
    for (int c = blk.FirstCell; c <= blk.LastCell; ++c) {
      const int p = Cinterpolnest[c];
      if (p > 0) body(c, p);
    }
  }
}

// Runs body(c) for every cell of blocks 1..last whose NestLevel is below `below`.
template <class Body>
void forCoarseCells(int last, int below, Body &&body) {
  for (int b = 1; b <= last; ++b) {
    const GridBlock &blk = block[b];
    if (blk.NestLevel >= below) continue;
    for (int c = blk.FirstCell; c <= blk.LastCell; ++c) body(c);
  }
}

// F 261 18: the coarse cells behind border entries marked by a negative
// first weight are drawn towards the mean of the fine border values.
void coupleBorderMeans(double r) {
  forCoarseCells(NoBlocks - 1, nestlevmax, [](int c) { Cpt[c] = Cqt[c] = 0.0; });
  for (int n = 1; n <= NoNestflater; ++n) {
    const int coarse = Ncell[n][0], fine = Npcelle[n];
    if (Nweight[n][0] >= -1e-20 || coarse < 1 || fine < 1) continue;
    Cpt[coarse] += Cf[fine];
    Cqt[coarse] += 1.0;
  }
  forCoarseCells(NoBlocks - 1, nestlevmax, [r](int c) {
    if (Cqt[c] > 0.5) Csource[c] += (Cpt[c] / Cqt[c] - Cf[c]) * r * Cap[c];
  });
}

// F 261 19: the sources of the finest cells move into the level-0 cells
// under them, in proportion to the volume they cover.
void moveSourcesDown() {
  forCoarseCells(NoBlocks - 1, 1, [](int c) { Cpt[c] = Cqt[c] = 0.0; });
  forNestedCells(1, [](int c, int) {
    const int p = levelZeroParent(c);
    Cpt[p] += Csource[c];
    Cqt[p] += Cvol[c];
  });
  forCoarseCells(NoBlocks - 1, 1, [](int c) { Csource[c] = Csource[c] * (1.0 - Cqt[c] / Cvol[c]) + Cpt[c]; });
}

}  // namespace

void nestsource() {
  if (FlagNestDLL > 0 || NoNestflater < 1) return;
  if (Equation == 1 || Equation == 4 || Equation == 5 || Equation == 8) updateWeights();
  if (Equation == 4) {
    for (int b = 1; b <= NoBlocks; ++b) {
      if (block[b].NestLevel > 0) blockContinuity(b);
    }
    return;
  }
  const double *phi = nullptr;
  double *ap = nullptr, *source = nullptr;
  if (inflowField(phi, ap, source)) addInflow(ap, source, phi);
}

void nestComponentSource(const double *component) {
  if (FlagNestDLL > 0 || NoNestflater < 1 || !component) return;
  if (Equation == 8) updateWeights();
  addInflow(Cap, Csource, component);
}

void CoupledSolver2Nesting() {
  if (!Cinterpolnest) return;
  const double r = RelaxCoupledNesting;
  switch (FlagCoupledNesting) {
    case 16:
    case 17:
      forNestedCells(FlagCoupledNesting == 16 ? 0 : 1, [r](int c, int p) {
        const double a = Cvol[c] * Cap[p] / Cvol[p];
        Cap[p] += a;
        Csource[p] += a * Cf[c] * r;
      });
      return;
    case 18:
      if (Cpt && Cqt) coupleBorderMeans(r);
      return;
    case 19:
      if (Cpt && Cqt) moveSourcesDown();
      return;
    default:
      // The parent's coefficient is divided by 1 - R, which needs R below 1.
      if (r >= 1.0) {
        fatalPrintf(kExitInconsistent, nullptr, "Error: F 261 %d needs a relaxation below 1, now %lf\n",
                    FlagCoupledNesting, r);
      }
      forNestedCells(0, [r](int c, int p) {
        Cap[p] = Cap[p] / (1.0 - r);
        Csource[p] += Cf[c] * r * Cap[p];
      });
  }
}

void CoupledSolverNesting() {
  if (!Cinterpolnest) return;
  const double r = RelaxCoupledNesting;
  forCoarseCells(NoBlocks, nestlevmax, [](int c) { Cap[c] = Csource[c] = 0.0; });
  forNestedCells(0, [](int c, int p) {
    Csource[p] += Cf[c] * Cvol[c];
    Cap[p] += Cvol[c];
  });
  forCoarseCells(NoBlocks, nestlevmax, [r](int c) {
    const double e = Cvol[c] - Cap[c] > 0.0 ? Cvol[c] - Cap[c] : 0.0;
    Cap[c] += e;
    Csource[c] += e * Cf[c];
    Cf[c] = r * Csource[c] / Cap[c] + (1.0 - r) * Cf[c];
  });
}
