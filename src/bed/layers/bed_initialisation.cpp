// The start bed of a sediment run: for every column the sediment thickness
// between the grid bed (zval plane 1) and the non-movable level (plane 3 of
// Surfaces) is shared among the layers of BSedDistrib, or, on a restart,
// the layers read are checked against it and fixed by F 310.
#include "bed/layers/bed_initialisation.h"

#include <algorithm>
#include <cmath>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/layers/bed_layer_operations.h"
#include "grid/plan_grid/corner_means.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The mean of a grid-point table over the four corners of column (i, j).
bool isBaseBlock(const GridBlock &blk) { return blk.BlockKind == 0 && blk.GridLevel == 0; }

bool restartBed() { return FlagReadFracres > 0 || FlagUseBedres > 0 || FlagReadAlldata > 0; }

void setSampleFractions(int layer, int b) {
  for (int k = 1; k <= lnumber; ++k) BSedDistrib[layer][k][b] = SedimentSample[0][k];
}

double layerSum(int b) {
  double sum = 0.0;
  for (int layer = 0; layer < NoBedLayers; ++layer) sum += BSedDistrib[layer][0][b];
  return sum;
}

// A fresh bed: the active layer takes the sediment down to A (DA), the rest
// is shared evenly among the layers below it.
void freshLayers(int b, double d, double da) {
  BSedDistrib[1][0][b] = da;
  BSedDistrib[0][0][b] = std::max(0.0, d - da);
  setSampleFractions(1, b);
  setSampleFractions(0, b);
  if (FlagBedConcentration == 3 && BfGzeroTime && BfGzeroHeight) BfGzeroTime[b] = BfGzeroHeight[b] = 0.0;
  if (NoBedLayers <= 2) return;
  const int top = NoBedLayers - 1;
  BSedDistrib[top][0][b] = da;
  setSampleFractions(top, b);
  for (int k = 1; k <= lnumber; ++k) Bvolleft[k][b] = 0.0;
  const double below = std::max(0.0, d - da) / (NoBedLayers - 1);
  for (int layer = 0; layer < top; ++layer) {
    BSedDistrib[layer][0][b] = below;
    setSampleFractions(layer, b);
  }
}

// An "alldata" stack: empty layers at the top are dropped, down to layer 1.
void dropEmptyTopLayers(int b) {
  while (BlayerTop[b] > 1 && BSedDistrib[BlayerTop[b]][0][b] < 1e-20) {
    BSedDistrib[BlayerTop[b]][0][b] = 0.0;
    --BlayerTop[b];
  }
}

// A "fracres" start: the sediment thickness D' is one layer when thinner than
// A, else an active layer A over layers sharing the rest.
void fracresLayers(int b, double d, double a) {
  const double depth = std::max(0.0, d);
  if (depth < a) {
    BlayerTop[b] = 0;
    BSedDistrib[0][0][b] = depth;
    return;
  }
  const int top = NoBedLayers - 1;
  BlayerTop[b] = top;
  BSedDistrib[top][0][b] = a;
  for (int layer = top - 1; layer >= 0; --layer) BSedDistrib[layer][0][b] = (depth - a) / (NoBedLayers - 1);
}

[[noreturn]] void reportThicknessMismatch(int b, int i, int j, double d, double s) {
  logPrintf("\nError for cell no. %d, i = %d, j = %d: The sediment thickness computed\n", b, i, j);
  logText("from the difference between the grid bed level and the koordina file\n");
  logPrintf("is %lf meters. The sum of the thickness of the bed sediment layers is %lf meters\n", d, s);
  logText("The reason for the error is lack of correspondence between the information\n");
  logText("in the files: fracres, bedres, koomin and the unstruc/koordina.\n");
  logText("The problem can be solved by using F 310 1 or 2 in the control file\n");
  fatalExit(kExitBedThickness, "If you are reading an alldata file, a fix in this file was done on the 3rd July 2020\n\n");
}

// Restart layers that do not fill the sediment thickness D: F 310 1 removes
// the excess from the bottom up or adds the shortage to layer 0.
void fitLayersToThickness(int b, double d, double s) {
  if (d > s) {
    BSedDistrib[0][0][b] += d - s;
    return;
  }
  double remaining = s;
  for (int layer = 0; layer < NoBedLayers; ++layer) {
    double &t = BSedDistrib[layer][0][b];
    const double rest = remaining - t;
    if (rest <= d) {
      t = d - rest;
      return;
    }
    t = 0.0;
    remaining = rest;
    if (remaining < 1e-10) return;
  }
}

void checkRestartThickness(int b, int i, int j, double d) {
  const double s = layerSum(b);
  if (std::fabs(d - s) / (d + s + 0.01) <= 0.1) return;
  if (FlagFixBed == 0) reportThicknessMismatch(b, i, j, d, s);
  if (FlagFixBed == 1) fitLayersToThickness(b, d, s);
}

void initialiseColumn(int i, int j, double a) {
  const int b = pointbed[i][j];
  Bedmove[b] = 0.0;
  if (FlagTSC == 3 && Barmourthick) Barmourthick[b] = 0;
  if (FlagBedDefect > 0 && Bdefect) Bdefect[b] = 0.0;
  BlayerTop[b] = NoBedLayers - 1;
  const int ci[4] = {i, i - 1, i - 1, i}, cj[4] = {j, j, j - 1, j - 1};
  double d = 0.0, da = 0.0;
  for (int c = 0; c < 4; ++c) {
    const double t = zval[ci[c]][cj[c]][1] - Surfaces[3][ci[c]][cj[c]];
    d += 0.25 * t;
    da += 0.25 * std::min(t, a);
  }
  if (FlagCohesion > 4 && BcohesionLevel) {
    BcohesionLevel[b] = cornerMean(Surfaces[Bcellt[b] > 0 ? 3 : 0], i, j);
  }
  const bool restart = restartBed();
  if (!restart) freshLayers(b, d, da);
  if ((FlagTSC == 3 || FlagBedchangeOption == 3) && Bedlev) Bedlev[b] = cornerMean(i, j, 1);
  if (FlagTSC == 3 && FlagReadAlldata > 0 && NoBedLayers > 1) dropEmptyTopLayers(b);
  if (FlagTSC == 3 && FlagFracresVersion == 1 && FlagReadFracres == 1) {
    fracresLayers(b, cornerMean(i, j, 1) - cornerMean(Surfaces[3], i, j), a);
  }
  if (NoBedLayers > 2 && FlagInitiateBedlayers > 0) {
    for (int layer = BlayerTop[b]; layer >= 0; --layer) setSampleFractions(layer, b);
  }
  // The solid fractions follow the layers' final grain fractions.
  if (FlagTSC == 3 && Bsolidfraction) {
    for (int layer = 0; layer <= NoBedLayers; ++layer) Bsolidfraction[layer][b] = SolidFrac;
    if (FlagDensityAlgo == -1) {
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) Bsolidfraction[layer][b] = sortedSolidFraction(layer, b);
    }
  }
  const double topThickness = BSedDistrib[NoBedLayers - 1][0][b];
  if (debugging == 'D' && FlagReadFracres > 0 && topThickness > a) {
    logText("Warning in reading fracres file. Top layer larger then coarsest\n");
    logPrintf("grain size at i,j=%d %d\n", i, j);
    logPrintf("Top layer size fracres: %lf, maxgrain: %lf\n\n", topThickness, a);
  }
  if (BSedDistrib[1][0][b] < 0.0) fatalPrintf(kExitBlockAlloc, nullptr, "Error, startup, negative bed layer at i,j=%d %d\n", i, j);
  if (restart) checkRestartThickness(b, i, j, d);
}

// F 310 2: the non-movable level of every grid point moves to lie the mean
// layer thickness of its neighbouring columns below the bed.
void fitNonMovableLevel() {
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!isBaseBlock(blk)) continue;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        double sum = 0.0;
        int count = 0;
        for (int ci = i; ci <= std::min(i + 1, xnumber + 1); ++ci) {
          for (int cj = j; cj <= std::min(j + 1, ynumber + 1); ++cj) {
            const int b = pointbed[ci][cj];
            if (b <= 0) continue;
            sum += layerSum(b);
            ++count;
          }
        }
        Surfaces[3][i][j] = zval[i][j][1] - sum / (count + 1e-10);
      }
    }
  }
}

}  // namespace

double sortedSolidFraction(int layer, int b) {
  if (lnumber < 1) return 0.64;
  double mean = 0.0;
  for (int k = 1; k <= lnumber; ++k) mean += BSedDistrib[layer][k][b] * std::log2(gsize[k]);
  double variance = 0.0;
  for (int k = 1; k <= lnumber; ++k) {
    const double deviation = std::log2(gsize[k]) - mean;
    variance += BSedDistrib[layer][k][b] * deviation * deviation;
  }
  return std::clamp(0.64 + 0.06 * variance, 0.05, 0.99);
}

void initialiseBed() {
  const double a = referenceLayerThickness();
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &blk = block[n];
    if (!isBaseBlock(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        // A column without a bed cell has no bed to give layers to.
        if (pointbed[i][j] > 0) initialiseColumn(i, j, a);
      }
    }
  }
  if (FlagPlastics > 0 && BplasticDeposits) {
    for (int k = 0; k <= lnumber; ++k) std::fill(BplasticDeposits[k], BplasticDeposits[k] + NoBCells + 1, 0.0);
  }
  if (FlagFixBed == 2 && restartBed()) fitNonMovableLevel();
}
