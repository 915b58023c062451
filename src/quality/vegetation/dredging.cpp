// Dredging to levels and feeding of sediment by the operations of "bagger".
// A cut keeps, per operation and column, the depth still to come: it starts
// as the height of the column's mean bed above its mean dredging level, grows
// by the column's own deposits, and each step takes the window's part of it.
// So the columns reach their levels at the end of the window whatever the
// corner rule of the bed change does with the neighbours' cuts.
#include "quality/vegetation/dredging.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "base/log.h"
#include "bed/layers/bed_layer_operations.h"
#include "grid/plan_grid/corner_means.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "quality/vegetation/dredging_file.h"

WindowStep windowStep(double t0, double t1, double applied, double t, double dt) {
  WindowStep s;
  if (applied >= 1.0 || !(t0 < t) || !(t - dt < t1)) return s;
  s.acts = true;
  if (t1 - t <= dt) {
    s.fraction = s.cut = 1.0;
  } else {
    s.fraction = (t - t0) / (t1 - t0);
    s.cut = std::min((t - t0) / (t1 - t0 + 1e-20), 1.0);
  }
  s.feed = s.fraction - applied;
  return s;
}

bool feedingActs(int kind) {
  if (kind != 2 && kind != 4) return false;
  switch (FlagBagger) {
    case 1: return true;
    case 2: return kind == 4 ? FlagTSC >= 2 : FlagTSC == 3;
    case 3: return kind == 4 && FlagTSC >= 2;
    case 4: return kind == 4 && FlagTSC >= 1;
    default: return false;
  }
}

namespace {

// The mean of a grid-point table over the four corners of column (i, j).
// Per-size room of the multi-layer cut, sized once for the run's sizes.
std::vector<double> savedChange, available;

void prepareSizes() {
  const std::size_t n = static_cast<std::size_t>(lnumber) + 1;
  if (savedChange.size() < n) {
    savedChange.resize(n);
    available.resize(n);
  }
}

// Takes a cut (m) out of the bed layers of bed cell b at once. Two layers:
// the inactive layer first, then the active layer, whose fractions stay.
// Several layers: the sediment of the top cut metres leaves through
// ChangeLayers, with the step's own bed change of the column kept aside.
void cutLayers(int b, double cut) {
  if (FlagTSC == 3) {
    if (!Bbedchange) return;
    computeAvailableFractionMeters(b, available.data(), -cut);
    for (int k = 1; k <= lnumber; ++k) {
      savedChange[k] = Bbedchange[k][b];
      Bbedchange[k][b] = -available[k];
    }
    ChangeLayers(b, -cut);
    for (int k = 1; k <= lnumber; ++k) Bbedchange[k][b] = savedChange[k];
    return;
  }
  if (!BSedDistrib) return;
  double &inactive = BSedDistrib[0][0][b];
  double &active = BSedDistrib[1][0][b];
  if (cut < inactive) {
    inactive -= cut;
  } else {
    active = std::max(active - (cut - inactive), 0.0);
    inactive = 0.0;
  }
}

// Kind 0: the cut of this step in every column of the operation's areas.
double dredgeToLevels(int n, double w) {
  double volume = 0.0;
  for (int k = 0; k < NoBaggerAreas[n]; ++k) {
    const int *area = baggerAreas[n][k];
    for (int i = area[0] + 1; i <= area[1]; ++i) {
      for (int j = area[2] + 1; j <= area[3]; ++j) {
        const int b = pointbed[i][j];
        if (b <= 0) continue;
        double &rest = baggerRest[n][i][j];
        if (rest < 0.0) rest = std::max(0.0, cornerMean(i, j, 1) - cornerMean(baggerZval[n], i, j));
        const double cut = w * rest;
        rest -= cut;
        if (cut <= 0.0) continue;
        cutLayers(b, cut);
        baggerCut[i][j] += cut;
        volume -= Barea[b] * cut;
      }
    }
  }
  return volume;
}

// The thickness limit of the modes that count every thickness.
constexpr double kNoMinimum = -std::numeric_limits<double>::infinity();

// How a feeding reaches the bed in the mode of the run.
enum class Route { Layers, BedSource, BedChange, TopCell };

struct Feeding {
  int n = 0, kind = 0;
  Route route = Route::Layers;
  double feed = 0.0;      // f
  double minimum = 0.0;   // a smaller thickness counts as 0
  bool levelControl = false;
  double r = 0.0;         // level control: the part of the thickness the bed may have risen by now
};

// The fed sediment goes into the layer below the top, the top layer keeping
// its thickness and taking the fed fractions in proportion.
void mixIntoLayers(const Feeding &fd, int b, double a, int i, int j) {
  const int top = BlayerTop[b];
  if (top < 1) return;
  double sum = 0.0;
  const double dT = BSedDistrib[top][0][b], dBelow = BSedDistrib[top - 1][0][b];
  for (int s = 1; s <= lnumber; ++s) {
    const double z = zugabeFractions[fd.n][s];
    double &fTop = BSedDistrib[top][s][b];
    double &fBelow = BSedDistrib[top - 1][s][b];
    if (dT > a) {
      fBelow = (fTop * a + fBelow * dBelow) / (dBelow + a);
      fTop = ((dT - a) * fTop + z * a) / dT;
    } else {
      fBelow = (fTop * dT + fBelow * dBelow + z * (a - dT)) / (dBelow + a);
      fTop = z;
    }
    sum += fTop;
  }
  BSedDistrib[top - 1][0][b] = dBelow + a;
  if (sum <= 1.01 && sum >= 0.99) return;
  if (fd.kind == 2) {
    logPrintf("Error in bagger algorithm: sum = %lf for i=%d, j=%d\n", sum, i, j);
  } else if (dT > 1e-7) {
    logPrintf("Error in bagger algorithm: sum = %lf for i=%d, j=%d, TopLayer = %lf m\n", sum, i, j, dT);
  }
}

// The source of size s in the concentration equations: a single size is
// solved with the equation's own source.
double *sizeSource(int s) {
  if (lnumber > 1) return Csourcem ? Csourcem[s] : nullptr;
  return Csource;
}

// One column fed with the thickness h; returns the volume it received.
double feedColumn(const Feeding &fd, int i, int j, double h) {
  const int b = pointbed[i][j];
  if (b <= 0) return 0.0;
  if (h < fd.minimum) h = 0.0;
  if (fd.levelControl && cornerMean(i, j, 1) - cornerMean(Surfaces[0], i, j) > fd.r * h) h = 0.0;
  const double a = h * fd.feed;
  Bedmove[b] += a;
  const double mass = a * Barea[b] * density * 1000.0 * SolidFrac;
  const double flux = a * Barea[b] * SolidFrac * 1000.0 / TimeStep;
  switch (fd.route) {
    case Route::Layers:
      if (a > 1e-5) mixIntoLayers(fd, b, a, i, j);
      return Barea[b] * a;
    case Route::BedSource:
      for (int s = 1; s <= lnumber; ++s) Bsource[s][b] -= zugabeFractions[fd.n][s] * flux;
      break;
    case Route::BedChange:
      for (int s = 1; s <= lnumber; ++s) Bbedchange[s][b] += zugabeFractions[fd.n][s] * a;
      break;
    case Route::TopCell: {
      int c = Bcellt[b];
      while (c > 0 && Ccellt[c] > 0) c = Ccellt[c];
      for (int s = 1; s <= lnumber; ++s) sizeSource(s)[c] += zugabeFractions[fd.n][s] * flux;
      break;
    }
  }
  for (int s = 1; s <= lnumber; ++s) kIn[s] += zugabeFractions[fd.n][s] * mass;
  return Barea[b] * a;
}

// Kinds 2 and 4 by the table of F 386 and F 37.
double feedOperation(int n, const WindowStep &step) {
  Feeding fd;
  fd.n = n;
  fd.kind = baggerFlags[n];
  fd.feed = step.feed;
  const double t0 = baggerTime[n][0], t1 = baggerTime[n][1];
  const double r = std::min((stimet - t0) / (t1 - t0 + 1e-20), 1.0);
  if (FlagBagger == 1) {
    fd.route = Route::Layers;
    fd.minimum = fd.kind == 4 ? 0.05 : kNoMinimum;
  } else if (FlagBagger == 4) {
    fd.route = Route::TopCell;
    fd.minimum = 0.05;
  } else if (FlagTSC == 2) {
    fd.route = Route::BedSource;
    fd.minimum = kNoMinimum;
    fd.levelControl = FlagBagger == 3;
    fd.r = r;
  } else {
    fd.route = Route::BedChange;
    fd.minimum = FlagBagger == 3 ? 0.01 : fd.kind == 4 ? 0.05 : kNoMinimum;
    fd.levelControl = FlagBagger == 3;
    fd.r = stimet - t0 <= TimeStep ? 0.0 : r;
  }
  if ((fd.route == Route::TopCell && !sizeSource(1)) || (fd.route == Route::BedChange && !Bbedchange)) return 0.0;
  double volume = 0.0;
  if (fd.kind == 4) {
    const GridBlock &blk = block[1];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) volume += feedColumn(fd, i, j, cornerMean(baggerZval[n], i, j));
    }
    return volume;
  }
  for (int k = 0; k < NoBaggerAreas[n]; ++k) {
    const int *area = baggerAreas[n][k];
    for (int i = area[0]; i <= area[1]; ++i) {
      for (int j = area[2]; j <= area[3]; ++j) volume += feedColumn(fd, i, j, zugabeZval[n]);
    }
  }
  return volume;
}

}  // namespace

void bagger() {
  if (NoBaggerTimes == -1) readBagger();
  prepareSizes();
  for (int n = 0; n <= NoBaggerTimes; ++n) {
    const int kind = baggerFlags[n];
    if (kind != 0 && !feedingActs(kind)) continue;
    const WindowStep step = windowStep(baggerTime[n][0], baggerTime[n][1], baggerApplied[n], stimet, TimeStep);
    if (!step.acts) continue;
    const double volume = kind == 0 ? dredgeToLevels(n, step.cut) : feedOperation(n, step);
    baggerApplied[n] = step.fraction;
    appendBagRes(stimet, volume);
  }
}

void addDredgedCuts() {
  if (FlagBagger <= 0 || !baggerCut || NoBaggerTimes < 0) return;
  // Deposits of the step in columns still being dredged are cut later on.
  for (int n = 0; n <= NoBaggerTimes; ++n) {
    if (baggerFlags[n] != 0 || !(baggerApplied[n] > 0.0 && baggerApplied[n] < 1.0)) continue;
    for (int k = 0; k < NoBaggerAreas[n]; ++k) {
      const int *area = baggerAreas[n][k];
      for (int i = area[0] + 1; i <= area[1]; ++i) {
        for (int j = area[2] + 1; j <= area[3]; ++j) {
          const int b = pointbed[i][j];
          if (b > 0 && baggerRest[n][i][j] >= 0.0) baggerRest[n][i][j] += std::max(Bedmove[b], 0.0);
        }
      }
    }
  }
  for (int i = 1; i <= xnumber; ++i) {
    for (int j = 1; j <= ynumber; ++j) {
      if (baggerCut[i][j] == 0.0) continue;
      const int b = pointbed[i][j];
      if (b > 0) Bedmove[b] -= baggerCut[i][j];
      baggerCut[i][j] = 0.0;
    }
  }
}
