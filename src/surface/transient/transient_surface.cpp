// Transient free surface (F 36 1, 11..19): the level change of every wet
// column over one time step, spread onto the grid points, bounded at the
// boundaries, smoothed, and the grid regenerated on the new levels.
#include "surface/transient/transient_surface.h"

#include <algorithm>
#include <cmath>

#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/multigrid.h"
#include "base/log.h"
#include "startup/operations.h"
#include "surface/transient/corner_spreading.h"
#include "surface/transient/slide_coupling.h"
#include "surface/surface_columns.h"
#include "surface/surface_services.h"
#include "surface/steady/surface_smoothers.h"
#include "surface/transient/transient_boundary_levels.h"
#include "turbulence/thixotropic_damping.h"

namespace {

int bottomCellOf(int i, int j) { return static_cast<int>(zval[i][j][0]); }

double sideBalance(int c) { return Fflux[Cflatee[c]] - Fflux[Cflatew[c]] + Fflux[Cflaten[c]] - Fflux[Cflates[c]]; }

// Rule 16: the net inflow of the top cell through its sides and bottom
// fills the area of its top face.
double fluxRule(int top) { return -(sideBalance(top) - Fflux[Cflateb[top]]) * 0.001 / (Faz[Cflatet[top]] + 1e-20) * TimeStep; }

// Rule 14: the surface moves with the water at it (kinematic condition).
double kinematicRule(int top) {
  const int tf = Cflatet[top];
  return (Cxvel[top] * Fax[tf] + Cyvel[top] * Fay[tf] + Czvel[top] * Faz[tf]) / (Faz[tf] + 1e-20) * TimeStep;
}

// Rule 12: the side balance of the bottom cell over the top face's area.
double bottomCellRule(int top, int bot) { return -sideBalance(bot) / (1000.0 * Farea[Cflatet[top]]) * TimeStep; }

double meanCornerPlane(double **plane, int i, int j) {
  return 0.25 * (plane[i - 1][j - 1] + plane[i][j - 1] + plane[i][j] + plane[i - 1][j]);
}

// Rule 17's additions in the slide modes: the top stays above the limit of
// the movable bed, a rigid slide keeps its volume, settling mud expands.
double slideAdditions(double dh, int i, int j, int top, int b) {
  const double T = Czcenter[top] + Ckdist[top];
  if (dh < 0.0) {
    const double S3 = meanCornerPlane(Surfaces[3], i, j);
    dh = T >= S3 ? std::max(dh, -(T - S3)) : std::max(dh, 0.0);
  }
  if (FlagThixo == 3) {
    for (int k = 0; k < kMaxSlideRegions - 1 && BVal[k] != 0; ++k) {
      if (BVal[k] == Bcellth[b]) dh -= kFlux[k];
    }
  }
  if (FlagThixo >= 2 && dh > 0.0) {
    if (Bsolidfraction) {
      const double x = T - 1.8 + dh;
      const double s = Bsolidfraction[1][b];
      Bsolidfraction[1][b] = x * s / (x + (ThixoExpansion - 1.0) * dh);
    }
    dh *= ThixoExpansion;
  }
  return dh;
}

// The cells on the moved levels; the fields of this time step become the
// previous ones first, so that the regeneration carries both.
void regenerateGrid() {
  if (Cxvel_old) {
    const int last = NoCells + 1;
    std::copy(Cxvel + 1, Cxvel + last, Cxvel_old + 1);
    std::copy(Cyvel + 1, Cyvel + last, Cyvel_old + 1);
    std::copy(Czvel + 1, Czvel + last, Czvel_old + 1);
    std::copy(Cpres + 1, Cpres + last, Cpres_old + 1);
    std::copy(Ckinen + 1, Ckinen + last, Ckinen_old + 1);
    std::copy(Cepsilon + 1, Cepsilon + last, Cepsilon_old + 1);
  }
  endOnGridFailure(operations.Unstructure());
  operations.metric();
  operations.BedMake();
  std::fill(CinvAp + 1, CinvAp + NoCells + 1, 0.0);
  operations.waterflow(WFStart, WFEnd);
  if (Flag2DAccSolver > 0 && block[NoBlocks].BlockKind == 0 && FlagTSC == 0) AlgMGMake();
  FlagGridChange = 1;
}

// With the letter J every hundredth step of a one-column-wide channel: the
// discharge at a quarter (or F 452's section) and at half its length.
void crossContinuityLine() {
  const GridBlock &g = block[1];
  if (debugging != 'J' || Iter % 100 != 0 || g.j1 != g.j2) return;
  const int first = surfaceDampSec > 0 ? surfaceDampSec + 1 : g.i2 / 4;
  logPrintf("Cross-continuity = %lf ", columnWestDischarge(first, g.j1));
  logPrintf("%lf m3/s\n", columnWestDischarge(g.i2 / 2, g.j1));
}

void trace(const char *text) {
  if (FlagExtraDebug == 1) logText(text);
}

}  // namespace

double columnWestDischarge(int i, int j) {
  double q = 0.0;
  for (int c = bottomCellOf(i, j); c > 0; c = Ccellt[c]) q += Fax[Cflatew[c]] * Cxvel[c];
  return q;
}

double transientLevelChange(int i, int j) {
  const int bot = bottomCellOf(i, j), top = topOf(bot);
  const int tf = Cflatet[top];
  switch (FlagTFS) {
    case 1: return (Cpres[top] / 9810.0 - Ckdist[top]) * RelaxTFS;
    case 11:
      return -(sideBalance(top) - Fflux[Cflateb[top]]) / (1000.0 * Farea[tf]) * TimeStep * RelaxTFS;
    case 12: return bottomCellRule(top, bot);
    case 13: return TimeStep * RelaxTFS * (Cxvel[top] * Fvx[tf] + Cyvel[top] * Fvy[tf] + Czvel[top]);
    case 14: return kinematicRule(top);
    case 15: return 0.5 * (fluxRule(top) + kinematicRule(top));
    case 16: return fluxRule(top);
    case 18: {
      const double fe = Fflux[Cflatee[top]], fw = Fflux[Cflatew[top]], fn = Fflux[Cflaten[top]], fs = Fflux[Cflates[top]];
      const double sides = std::fabs(fe) + std::fabs(fw) + std::fabs(fn) + std::fabs(fs);
      return 0.001 / (Faz[tf] + 1e-20) * TimeStep * (std::min(Fflux[Cflateb[top]], sides) - (fe - fw + fn - fs));
    }
    case 19: {
      double h = 0.0;
      for (int c = bot; c > 0; c = Ccellt[c]) h += Ckdist[c];
      h *= 2.0;
      const double r = 3.33333 * std::sqrt(Cxvel[top] * Cxvel[top] + Cyvel[top] * Cyvel[top]) / h - 1.0;
      const double d12 = bottomCellRule(top, bot);
      if (r <= 0.0) return d12;
      const double d15 = 0.5 * (fluxRule(top) + kinematicRule(top));
      return r >= 1.0 ? d15 : r * d15 + (1.0 - r) * d12;
    }
    default: break;
  }
  // Rule 17, and every other value in the slide modes; an undefined rule
  // leaves the column where it is.
  if (FlagTFS != 17 && FlagThixo < 2) return 0.0;
  const double W = TFS17WeightPresCorr;
  const double dh = W * fluxRule(top) + (1.0 - W) * kinematicRule(top);
  return FlagThixo >= 1 ? slideAdditions(dh, i, j, top, Cbed[bot]) : dh;
}

double limitLevelChange(double dh, int top) {
  const double u = Cxvel[top], v = Cyvel[top], w = Czvel[top];
  if (SurfULimit > 0.001) {
    // A column slower than the limit may only fall.
    const double s = std::sqrt(u * u + v * v);
    dh = s <= SurfULimit ? std::min(dh, 0.0) : std::min(dh, (s - SurfULimit) * SurfUFactor * TimeStep);
  }
  if (FlagLimitSurf >= 1 && FlagLimitSurf <= 5) {
    if (FlagLimitSurf >= 2) {
      // A Courant-like factor: the change slows where the water would
      // cross more than a fraction c of the cell in one step.
      static constexpr double kShare[6] = {0.0, 0.0, 0.2, 0.1, 0.3, 0.25};
      const double speed = std::sqrt(u * u + v * v + w * w);
      const double f = Cidist[top] / speed * kShare[FlagLimitSurf] / TimeStep;
      if (f <= 1.0) dh *= f;
    }
    dh = std::max(-Ckdist[top], std::min(Ckdist[top], dh));
  }
  return dh;
}

void surface_tfs(int mode, int b) {
  setStatus(mc_program, " Surface_tfs ");
  Cxvel[0] = Cyvel[0] = 0.0;
  if (FlagThixo == 3) TFS17WeightPresCorr = 1.0;
  const GridBlock &g = block[b];
  if (mode > 0 || FlagSlide > 0) {
    for (int i = g.i1 - 1; i <= g.i2; ++i) {
      for (int j = g.j1 - 1; j <= g.j2; ++j) zval[i][j][znumber + 1] = zval[i][j][znumber];
    }
  }
  if (FlagThixo == 3 && BVal[0] != 0) computeThixoFluxes();

  for (int i = g.i1; i <= g.i2; ++i) {
    for (int j = g.j1; j <= g.j2; ++j) {
      const int bot = bottomCellOf(i, j);
      if (bot <= 0 || (FlagSlide >= 2 && Ccellt[bot] == 0)) continue;
      double dh = limitLevelChange(transientLevelChange(i, j), topOf(bot));
      double inc[4];
      spreadLevelChange(i, j, dh, inc);
      slideColumnCoupling(b, i, j, inc);
    }
  }

  trace("In surface_tfs-1\n");
  const double outflowLevel = transientOutflowLevel(b), inflowLevel = transientInflowLevel(b);
  if (g.LayerMark == 0) imposeSeriesLevels(outflowLevel, -1.0);
  trace("In surface_tfs-2\n");
  if (g.LayerMark == 0) {
    imposeSeriesLevels(-1.0, inflowLevel);
    frictionSlopeLevels(b, outflowLevel, inflowLevel);
  }
  trace("In surface_tfs-3\n");
  crossContinuityLine();
  if (FlagSurfSmooth > 0 || FlagSurfSlope > 0) surface_smoother2(b);
  if (SurfSmoothFlag > 0) surface_smoother();
  if (g.LayerMark == 0) outflowMinimumDepth();
  if (mode > 0) levelChangeAsSource(b);
  if (g.LayerMark > 0 && FlagThixo > 1) layerCoupling(b);
  if (mode == 0 && !(FlagTSC != 0 && FlagSurfRegen != 1)) regenerateGrid();
  trace("End surface_tfs\n");
}
