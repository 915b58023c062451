// Slides of the soil layer: the failing columns become candidates, joined
// candidates share the smallest label, and each slide gets its size, target
// sliding-surface level, centre column and reference plane. Writes Bcellth,
// the bottom cells' Cap and Csource of unlabelled columns, and the slide table.
#include "bed/slides/soil_layer/slide_grouping.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/slides/soil_layer/slide_layer.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// The last slot that may hold a slide; the next one is the end mark.
constexpr int kLastSlot = kMaxSlideRegions - 2;

// Sweeps of the two groupings; labels only fall, so a sweep that changes
// nothing ends them early with the same result.
constexpr int kSimpleSweeps = 50;
constexpr int kJoinSweeps = 5000;

// Slot of each label during one grouping, -1 for none; sized once.
std::vector<int> slotOf;

struct Range {
  int first, last;  // bed cells of the layer block
  int i1, i2, j1, j2;
};

// A column joins the candidates when it still fails (its bottom cell is not
// fixed) or already slides, and the layer above the non-erodible level is
// thicker than one and a half minimum depths.
void markCandidates(const Range &r) {
  Bcellth[0] = 0;
  for (int b = r.first; b <= r.last; ++b) {
    const int c = Bcellt[b];
    const bool failing = c > 0 && (Cap[c] < 1e10 || Bcellth[b] > 0);
    const int i = Bkooi[b], j = Bkooj[b];
    const bool deep = meanCornerTop(i, j) - meanCornerPlane(3, i, j) > 1.5 * TFSminDepth;
    Bcellth[b] = failing && deep ? b : 0;
  }
}

bool labelled(int b) { return Bcellth[b] > 0; }

void labelOwn(int b) {
  if (Bcellt[b] > 0) Bcellth[b] = b;
}

// Smallest positive label of b and the given neighbours; 0 neighbours skipped.
int smallestLabel(int b, const int *near, int count) {
  int least = Bcellth[b];
  for (int k = 0; k < count; ++k) {
    const int l = near[k] > 0 ? Bcellth[near[k]] : 0;
    if (l > 0 && l < least) least = l;
  }
  return least;
}

int columnAt(const Range &r, int i, int j) {
  if (i < r.i1 || i > r.i2 || j < r.j1 || j > r.j2) return 0;
  return pointbed[i][j];
}

// The simple grouping: gaps of one column along the bed-cell order are
// filled and lone columns dropped, then labels fall along b-1 and west.
void groupSimple(const Range &r) {
  for (int b = r.first + 1; b < r.last; ++b) {
    const bool before = labelled(b - 1), after = labelled(b + 1);
    if (!labelled(b) && before && after) labelOwn(b);
    if (labelled(b) && !before && !after) Bcellth[b] = 0;
  }
  for (int sweep = 0; sweep < kSimpleSweeps; ++sweep) {
    bool changed = false;
    for (int b = r.first + 1; b <= r.last; ++b) {
      if (!labelled(b)) continue;
      const int near[2] = {b - 1, columnAt(r, Bkooi[b] - 1, Bkooj[b])};
      const int least = smallestLabel(b, near, 2);
      if (least != Bcellth[b]) {
        Bcellth[b] = least;
        changed = true;
      }
    }
    if (!changed) break;
  }
}

// A lone labelled column is widened along j, so that a slide is never one
// column across: on the first and last j line towards the inside, elsewhere
// to both sides (F 289 second value 0), to the side that fails more (1), or
// not at all (2 and above).
void widenAlongJ(const Range &r) {
  for (int k = r.first + 1; k <= r.last; ++k) {
    if (!labelled(k)) continue;
    const int j = Bkooj[k];
    if (j == r.j1) {
      if (k + 1 <= r.last && !labelled(k + 1)) labelOwn(k + 1);
    } else if (j == r.j2) {
      if (!labelled(k - 1)) labelOwn(k - 1);
    } else if (!labelled(k - 1) && !labelled(k + 1)) {
      if (FlagThixoGrid == 0) {
        labelOwn(k - 1);
        labelOwn(k + 1);
      } else if (FlagThixoGrid == 1) {
        labelOwn(Bstrain[k + 1] < Bstrain[k - 1] ? k + 1 : k - 1);
      }
    }
  }
}

// Labels fall to the smallest among the four plan neighbours until every
// connected group carries one label; columns with no labelled neighbour go.
void groupJoined(const Range &r) {
  if (FlagThixoGrid2 <= 2) widenAlongJ(r);
  for (int sweep = 0; sweep < kJoinSweeps; ++sweep) {
    bool changed = false;
    for (int b = r.first; b <= r.last; ++b) {
      if (!labelled(b)) continue;
      const int i = Bkooi[b], j = Bkooj[b];
      const int near[4] = {j != r.j1 ? b - 1 : 0, j != r.j2 ? b + 1 : 0, columnAt(r, i + 1, j), columnAt(r, i - 1, j)};
      const int least = smallestLabel(b, near, 4);
      if (least != Bcellth[b]) {
        Bcellth[b] = least;
        changed = true;
      }
    }
    if (!changed) break;
  }
  for (int b = r.first; b <= r.last; ++b) {
    if (!labelled(b)) continue;
    const int i = Bkooi[b], j = Bkooj[b];
    const int near[4] = {j != r.j1 ? b - 1 : 0, j != r.j2 ? b + 1 : 0, columnAt(r, i + 1, j), columnAt(r, i - 1, j)};
    bool any = false;
    for (const int n : near) any = any || (n > 0 && labelled(n));
    if (!any) Bcellth[b] = 0;
  }
}

// Each distinct label takes the next free slot in the order of the columns.
// A label that finds none loses it: its columns stay where they are, fixed
// like every other unlabelled column.
void listLabels(const Range &r) {
  for (int s = 0; s < kMaxSlideRegions; ++s) clearSlideSlot(s);
  const std::size_t size = static_cast<std::size_t>(bedCellCapacity()) + 1;
  if (slotOf.size() != size) slotOf.assign(size, -1);
  for (int b = r.first; b <= r.last; ++b) slotOf[b] = -1;
  int used = 0;
  bool overflow = false;
  for (int b = r.first; b <= r.last; ++b) {
    const int l = Bcellth[b];
    if (l <= 0 || slotOf[l] >= 0) continue;
    if (used > kLastSlot) {
      overflow = true;
      continue;
    }
    slotOf[l] = used;
    BVal[used++] = l;
  }
  if (!overflow) return;
  for (int b = r.first; b <= r.last; ++b) {
    if (Bcellth[b] > 0 && slotOf[Bcellth[b]] < 0) {
      Bcellth[b] = 0;
      holdAtSurface(b);
    }
  }
  logText("Warning: more than 2999 slides; the rest are not moved\n");
}

double depthFactor() {
  double f = 0.2;
  if (FlagSlide == 2) f = global_fac;
  if (FlagSlide == 3) f = 0.3 * std::log10(std::max(ThixoCritshear, 1.0));
  if (FlagSlide == 2 || FlagSlide == 3) f = std::clamp(f, 0.01, 0.5);
  return f;
}

// Size, target level, centre column and plane of the slide in slot s.
void setTargets(int s, double factor) {
  const int label = BVal[s];
  int count = 0, bH = 0, bL = 0;
  double zH = -10000.0, zL = 10000.0;
  for (const int b : slideColumns(label)) {
    if (Bcellth[b] != label) continue;
    ++count;
    const double top = columnTop(Bcellt[b]);
    if (top > zH) {
      zH = top;
      bH = b;
    }
    if (top < zL) {
      zL = top;
      bL = b;
    }
  }
  BNo[s] = count;
  kStrain[s] = 0.0;
  if (bH == 0 || bL == 0 || bH == bL) {
    kLevel[s] = kLength[s] = kHeight[s] = 0.0;
    BCen[s] = 0;
    return;
  }
  kHeight[s] = zH - zL;
  const int cH = Bcellt[bH], cL = Bcellt[bL];
  if (FlagGridStab1 == 0) {
    kLength[s] = std::hypot(Cxcenter[cH] - Cxcenter[cL], Cycenter[cH] - Cycenter[cL]);
  } else {
    const int di = std::abs(Bkooi[bH] - Bkooi[bL]), dj = std::abs(Bkooj[bH] - Bkooj[bL]);
    kLength[s] = std::min((di + 1) * 2.0 * Cidist[cL], (dj + 1) * 2.0 * Cjdist[cL]);
  }
  if (FlagSlide == 4 || FlagSlide == 6 || FlagSlide == 7) {
    // Cohesion deepens a short slide: 10 c / 17903.25 is the height it holds.
    const double h = 10.0 * ThixoCritshear / 17903.25;
    factor = 0.5 * std::pow(h / (kLength[s] * ThixoMySlope + h), 0.56);
  }
  kFac[s] = factor;
  kLevel[s] = 0.5 * (zH + zL) - kLength[s] * kFac[s];
  BCen[s] = computeBCen(s, kLevel[s]);
  if (BCen[s] == 0) {
    fatalPrintf(kExitSlideCentre, nullptr, "Error setting BCen[%d] for stimet = %lf zTop = %lf, zBot = %lf, BVal[%d] = %d\n",
                s, stimet, zH, zL, s, label);
  }
  const int cc = Bcellt[BCen[s]];
  kLevel[s] = std::min(kLevel[s], Czcenter[cc] + Ckdist[cc]);
  computeThixoFlatSurface(s, bH, bL, zH, zL);
}

}  // namespace

void clearSlideSlot(int s) {
  BVal[s] = BNo[s] = BCen[s] = 0;
  for (double *t : {kFlux, kHeight, kLength, kFac, kLevel, kA, kB, kC, kD, ikC, kDiff, kSF, kLastMult, kStrain,
                    kCohesion, kFriction, kGravityI, kGravityJ, kGroundwaterI, kGroundwaterJ, kHeightN, kHeightW,
                    kHeightD}) {
    t[s] = 0.0;
  }
}

void moveSlideSlot(int to, int from) {
  BVal[to] = BVal[from];
  BNo[to] = BNo[from];
  BCen[to] = BCen[from];
  for (double *t : {kFlux, kHeight, kLength, kFac, kLevel, kA, kB, kC, kD, ikC, kDiff, kSF, kLastMult, kStrain,
                    kCohesion, kFriction, kGravityI, kGravityJ, kGroundwaterI, kGroundwaterJ, kHeightN, kHeightW,
                    kHeightD}) {
    t[to] = t[from];
  }
}

int listedSlides() {
  int n = 0;
  while (n <= kLastSlot && BVal[n] != 0) ++n;
  return n;
}

void slideModify() {
  const int blk = slideLayerBlock(true);
  if (blk == 0) return;
  const GridBlock &g = block[blk];
  const Range r{g.FirstBedCell, g.LastBedCell, g.i1, g.i2, g.j1, g.j2};
  markCandidates(r);
  if (FlagGridStab1 == 0) {
    groupSimple(r);
  } else {
    groupJoined(r);
  }
  for (int b = r.first; b <= r.last; ++b) {
    if (!labelled(b)) holdAtSurface(b);
  }
  listLabels(r);
  listSlideColumns(r.first, r.last);
  const double factor = depthFactor();
  for (int s = 0; s <= kLastSlot && BVal[s] != 0; ++s) setTargets(s, factor);
}

int computeBCen(int s, double level) {
  if (NoBlocks < 2) return 0;
  const GridBlock &g = block[2];
  int found = 0;
  double nearest = 1e10;
  for (const int b : slideColumns(BVal[s])) {
    if (b < g.FirstBedCell || b > g.LastBedCell || Bcellth[b] != BVal[s] || Bcellt[b] <= 0) continue;
    const double d = std::fabs(columnTop(Bcellt[b], g.FirstCell) - level);
    if (d < nearest) {
      nearest = d;
      found = b;
    }
  }
  return found;
}

void computeThixoFlatSurface(int s, int bH, int bL, double zH, double zL) {
  if (bH == bL) return;
  const int cH = Bcellt[bH], cL = Bcellt[bL];
  const double xL = Cxcenter[cL], yL = Cycenter[cL];
  const double dx = Cxcenter[cH] - xL, dy = Cycenter[cH] - yL, dz = zH - zL;
  kA[s] = -dx * dz;
  kB[s] = -dy * dz;
  kC[s] = dx * dx + dy * dy;
  kD[s] = -(kA[s] * xL + kB[s] * yL + zL * kC[s]);
  ikC[s] = -1.0 / (kC[s] + 1e-10);
}

double slidePlaneLevel(int s, double x, double y) { return (kA[s] * x + kB[s] * y + kD[s]) * ikC[s]; }
