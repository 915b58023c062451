// The multi-layer bed update: the per-size bed change of a step from the
// fluxes through the bottom faces, and its application to the layer stacks.
// Every column is updated by itself, so the threads share the bed cells
// without locks; the one shared figure, what the bed could not supply, is
// summed per thread and added after the region in thread order.
#include "bed/layers/multi_layer_update.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/log.h"
#include "bed/layers/bed_initialisation.h"
#include "bed/layers/bed_layer_operations.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/threads.h"
#include "model/work_ranges.h"

namespace {

using SizeSums = std::array<double, kMaxGrainSizes + 1>;

void warnLargeChange(int b, int k, int c, double s) {
  logPrintf(
      "Warning in computeBedmove, b=%d, l=%d, Conc=%lf, Barea=%lf, Faz=%lf, Bupflux=%lf, Bbedchange = %lf, "
      "Bsolidfraction = %lf ",
      b, k, Cconc[k][c], Barea[b], Faz[Cflateb[c]], Bupflux[k][b], Bbedchange[k][b], s);
  if (Bkooi[b] > 0) logPrintf("i = %d, j = %d\n", Bkooi[b], Bkooj[b]);
  const double source = Csourcem ? Csourcem[k][c] : 0.0, old = Cconc_old ? Cconc_old[k][c] : 0.0;
  logPrintf("Csourcem = %lf, Cconc_old = %lf\n", source, old);
}

// The solid fractions of the stack by F 264; the thickness of a layer whose
// solid fraction changes follows so that its solids stay.
void keepSolidFractions(int b, double active) {
  const int top = BlayerTop[b];
  if (FlagDensityAlgo == -2) {
    for (int layer = 0; layer <= top; ++layer) Bsolidfraction[layer][b] = SolidFrac;
  } else if (FlagDensityAlgo == -1) {
    for (int layer = 0; layer <= top; ++layer) {
      const double s = sortedSolidFraction(layer, b);
      BSedDistrib[layer][0][b] *= Bsolidfraction[layer][b] / s;
      Bsolidfraction[layer][b] = s;
    }
  } else if (FlagDensityAlgo > 0 && top > 0 && stackThickness(b) > active) {
    // The top layer is brought to the active thickness; a shortage is filled
    // from the layer below only by what that layer holds.
    const double d = BSedDistrib[top][0][b] - active;
    if (d > 0.0) {
      MoveSediment(top, top - 1, b, d);
    } else if (d < 0.0) {
      const double fill = std::min(-d, std::max(BSedDistrib[top - 1][0][b], 0.0));
      if (fill > 0.0) MoveSediment(top - 1, top, b, fill);
    }
  }
}

// Debug letter D: layers whose fractions do not sum to 1 or whose thickness
// is negative are reported; the run goes on.
void reportLayers(int b) {
  for (int layer = BlayerTop[b]; layer >= 0; --layer) {
    const double t = BSedDistrib[layer][0][b];
    double sum = 0.0;
    for (int k = 1; k <= lnumber; ++k) sum += BSedDistrib[layer][k][b];
    if (!((sum < 0.99 || sum > 1.01) && t > 1e-5) && !(t < -1e-10)) continue;
    logPrintf("Error after function morphology3_fractions sum of grain sizes active layer = %lf for bedcell %d\n", sum,
              b);
    for (int k = 1; k <= lnumber; ++k) logPrintf("size=%d, fraction=%lg\n", k, BSedDistrib[layer][k][b]);
    logPrintf("Thickness of layer %d: %lg meters\n", layer, t);
  }
}

// One partial sum per thread, kept between steps so that no step allocates.
std::vector<SizeSums> threadSums;

}  // namespace

void computeBedmove(int b) {
  Bedmove[b] = 0.0;
  const int c = Bcellt[b];
  if (c < 1) {
    for (int k = 1; k <= lnumber; ++k) Bbedchange[k][b] = 0.0;
    return;
  }
  const double s = Bsolidfraction[std::max(BlayerTop[b], 0)][b];
  const double settlingArea = Faz[Cflateb[c]];
  for (int k = 1; k <= lnumber; ++k) {
    double dz = (settlingArea * Cconc[k][c] * fallvelo[k] - Bupflux[k][b] * 0.001) * TimeStep / (Barea[b] * s);
    if (std::fabs(dz) < 1e-15) dz = 0.0;
    Bbedchange[k][b] = dz;
    if (std::fabs(dz) > restCrit && debugging == 'D') warnLargeChange(b, k, c, s);
    Bedmove[b] += dz;
    SumBedChangeLoc += Barea[b] * dz * 1000.0 * density * s;
  }
}

void morphology3_fractions_parallel(int b, double active, double leftKg[]) {
  for (int k = 1; k <= lnumber; ++k) Bvolleft[k][b] = 0.0;
  if (Bcellt[b] >= 1) {
    const double movement = Bedmove[b];
    Bedmove[b] = -stackThickness(b);
    ChangeLayers(b, movement);
    keepSolidFractions(b, active);
    if (debugging == 'D') reportLayers(b);
    Bedmove[b] += stackThickness(b);
  }
  const double kg = Barea[b] * 1000.0 * density;
  for (int k = 1; k <= lnumber; ++k) leftKg[k] += Bvolleft[k][b] * kg;
}

void morphology3_fractions(double active) {
  SizeSums total{};
  if (NoProcessesSolver == 0) {
    for (int b = WBStart; b <= WBEnd; ++b) {
      char text[kStatusTextLength];
      std::snprintf(text, sizeof text, " Morphology_fractions cell b=%d         ", b);
      setStatus(mc_message, text);
      morphology3_fractions_parallel(b, active, total.data());
    }
  } else {
    const std::size_t threads = static_cast<std::size_t>(std::max(maxThreadsOffered(), 1));
    if (threadSums.size() < threads) threadSums.resize(threads);
    for (SizeSums &sums : threadSums) sums.fill(0.0);
    forEachThreadShare(WBStart, WBEnd, [active](int first, int last) {
      SizeSums &mine = threadSums[static_cast<std::size_t>(threadNumber())];
      for (int b = first; b <= last; ++b) morphology3_fractions_parallel(b, active, mine.data());
    });
    for (const SizeSums &sums : threadSums) {
      for (int k = 1; k <= lnumber; ++k) total[static_cast<std::size_t>(k)] += sums[static_cast<std::size_t>(k)];
    }
  }
  for (int k = 1; k <= lnumber; ++k) Bvollefttot[k] += total[static_cast<std::size_t>(k)];
}
