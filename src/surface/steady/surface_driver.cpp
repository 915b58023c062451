// The steady free-surface update: reference levels, Froude numbers and the
// trace, then the level algorithm of F 36, then the tail that regenerates the
// grid. Writes the grid levels, GlobZRef and GlobPresRef, "boogie-t".
#include "surface/steady/surface_driver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "flow/pressure_limits/partition_pressure.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "sediment/statistics/braiding_measures.h"
#include "base/exit_codes.h"
#include "base/log.h"
#include "startup/operations.h"
#include "surface/backwater_curve.h"
#include "surface/level_algorithms/classic_level_update.h"
#include "surface/level_algorithms/continuity_level.h"
#include "surface/level_equations/driver_level_equations.h"
#include "surface/steady/froude_numbers.h"
#include "surface/steady/reference_levels.h"
#include "surface/steady/steady_dispatch.h"
#include "surface/surface_services.h"
#include "surface/steady/surface_tail.h"

namespace {

bool traceHeaderWritten = false;  // "boogie-t" has its header in this run

// The reference bottom cell: the bottom cell of the reference column, or
// of the column of the cell the reference search returned.
int referenceBottomCell(int ref) {
  int c = static_cast<int>(zval[iPres][jPres][0]);
  if (c == 0) {
    c = ref;
    while (c > 0 && Ccellb[c] > 0) c = Ccellb[c];
  }
  return c;
}

// One row of the trace file: the reference level and pressure before the
// update; the tail adds the mean depth after it (letters C, D, E).
void traceRow(int c) {
  const bool wanted = debugging == 'C' || debugging == 'D' || debugging == 'E' ||
                      (debugging == 'J' && std::fabs(std::fmod(static_cast<double>(Iter), 100.0)) > 0.001);
  if (!wanted) return;
  const double braiding = computeBI();
  const double depth = computeAvDepth();
  if (std::FILE *f = std::fopen("boogie-t", traceHeaderWritten ? "a" : "w")) {
    if (!traceHeaderWritten) {
      std::fputs("Time   dh  Czcenter  Ckdist  iSurfLocal  iPres  jPres   zval   GlobZRef GlobPresRef residualP BI1 "
                 "dep1 dep2\n",
                 f);
      traceHeaderWritten = true;
    }
    const double z = zval[iPres][jPres][znumber];
    std::fprintf(f, "%lf %lf %lf %lf %d %d %d %lf %lf %lf %lf %lf %lf ", stimet, GlobZRef - z, Czcenter[c],
                 Ckdist[c], c, iPres, jPres, z, GlobZRef, GlobPresRef, MaxResidual[4], braiding, depth);
    std::fclose(f);
  }
  // A collapsing braiding index late in a run is kept for a look.
  if (braiding < 0.1 && iterWriteAllData < 0 && Iter > 1000) operations.WriteAllData();
}

// F 36 3: the whole surface moves by one amount, so that the reference
// point ends at GlobZRef; every base block of the three-dimensional kind.
void fixedLevel() {
  const double shift = GlobZRef - zval[iPres][jPres][znumber];
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || b.BlockKind != 0) continue;
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        zval[i][j][znumber] += shift;
        zval[i][j][znumber + 1] = zval[i][j][znumber];
      }
    }
  }
}

// The backwater curve scales the pressure-driven level differences by the
// rise it gives against the rise the pressures ask for (F 343 30 with F 36 4,
// and F 477). false when F 477 1 finds the ratio too small to update at all.
bool backwaterScaling() {
  scaleBackwater = 1.0;
  const bool casulli30 = FlagTFS == 4 && BlockCasulli == 30;
  if (FlagScaleFreeSource > 0 || (casulli30 && maxBackwater < 0.0)) backwater();
  if (casulli30) {
    medianPressure1 = findMedianPressure(1);
    medianPressure2 = findMedianPressure(2);
    scaleBackwater =
        maxBackwater / (std::max(std::fabs(medianPressure1 - medianPressure2) / 9810.0, maxBackwater) + 1e-7);
  }
  scaleBackwater2 = 1.0;
  if (FlagScaleFreeSource <= 0) return true;
  medianPressure1 = findMedianPressure(1);
  medianPressure2 = findMedianPressure(2);
  const double rise = maxBackwater;
  const double head = (medianPressure1 - medianPressure2) / 9810.0;
  switch (FlagScaleFreeSource) {
    case 1:
      scaleBackwater2 = rise / (head + 1e-7);
      if (scaleBackwater2 < updateRatioCriteria) return false;
      scaleBackwater2 = std::min(scaleBackwater2, 1.0);
      break;
    case 2: {
      const GridBlock &b = block[1];
      const int j = b.j2 / 2 + 1;
      const double dz = zval[b.i1 - 1][j][znumber] - zval[b.i2][j][znumber];
      scaleBackwater2 = std::clamp((rise - dz) / (head - dz + 1e-30), 0.0, 1.0);
      break;
    }
    case 3: scaleBackwater2 = std::clamp(rise / (head + 1e-30), 0.0, 1.0); break;
    default: break;
  }
  return true;
}

}  // namespace

double computeVolRes() {
  double volume = 0.0;
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (b.GridLevel != 0 || SurfUpdate[n] != 1) continue;
    for (int i = b.i1; i <= b.i2; ++i) {
      for (int j = b.j1; j <= b.j2; ++j) {
        const int bottom = static_cast<int>(zval[i][j][0]);
        if (bottom <= 0) continue;
        double depths = 0.0;
        const int ci[4] = {i, i - 1, i - 1, i}, cj[4] = {j, j, j - 1, j - 1};
        for (int m = 0; m < 4; ++m) {
          const double d = zval[ci[m]][cj[m]][znumber] - zval[ci[m]][cj[m]][1];
          if (d > 0.0) depths += d;
        }
        volume += 0.25 * depths * Barea[Cbed[bottom]];
      }
    }
  }
  return volume;
}

void surface() {
  setStatus(mc_program, " Surface ");
  if (FlagExtraDebug == 1) logText("Start surface\n");
  if (debugging == 'P') otime[72] = wallClock();
  surfaceMinVertDist0 = MinVertDist0;
  if (FlagNoGridSplit > 0) NoGridSplit();

  // Sums over absent neighbours read entry 0 and must find 0 there.
  Ccells[0] = Ccellw[0] = Ccelln[0] = Ccelle[0] = 0;
  Cpres[0] = 0.0;
  Fflux[0] = 0.0;
  if (Bpresavg) Bpresavg[0] = 0.0;
  GlobZRef2 = 0.0;
  if (FlagGlobFlux > 0) SurfVolDefect = computeVolRes();
  if (FlagSurfLimit5 == 5) {
    double sum = 0.0;
    for (int c = 1; c <= NoCells; ++c) sum += std::fabs(Cpres_res[c]);
    surfaceResidualLimit = NoCells > 0 ? 3.0 * sum / NoCells : 0.0;
  }
  if (FlagNestTop == 4) scalePressureNested();
  const bool froude = FlagTFS == 4 || FlagTFS == 7 || FlagTFS == 8 || FlagTFS == 9 ||
                      ((FlagNonHydrostaticSurf == 6 || FlagNonHydrostaticSurf == 7) && Bpresavg);
  if (froude) {
    for (int n = 1; n <= NoBlocks; ++n) {
      if (block[n].GridLevel == 0) computeBFroude(block[n].FirstBedCell, block[n].LastBedCell);
    }
  }
  if (FlagPresMPIboundary == 8) limitPressureMPI();

  const int ref = computeSurfaceReferences();
  const int c = referenceBottomCell(ref);
  if (c == 0) {
    logPrintf("Error 9 in surface computation, reference cell is zero. iPres=%d, jPres=%d, i=%d\n\n\n", iPres, jPres,
              ref);
  }
  const int c2 = jSurf != 0 ? static_cast<int>(zval[iPres2][jPres2][0]) : 0;
  traceRow(c);
  if (std::isnan(GlobPresRef)) {
    logPrintf("Stopped after %lf seconds due to NAN value for pressure reference\n\n", stimet);
    operations.WriteAllData();
    fatalExit(kExitUnreadable, nullptr);
  }

  if (!backwaterScaling()) return;

  if (FlagSurface2 == 1) {
    surface2();
    return;
  }
  if (FlagSurface2 == 2) {
    surface3();
    return;
  }
  switch (FlagTFS) {
    case 3: fixedLevel(); break;
    case 5:
    case 6: surface_continuity(); break;
    case 30: backwater(); break;
    case 4:
    case 21: surfaceFivePoint(c); break;
    case 7:
    case 8:
    case 9: surfaceNinePoint(c); break;
    case 10:
      levelAlgorithm10();
      if (FlagExtraDebug == 1) logText("End surface\n");
      return;
    default: classicLevelUpdate(c, c2); break;
  }
  computeTailSurf();
  if (FlagExtraDebug == 1) logText("End surface\n");
}
