// Slides of the soil layer: a horizontal strain solve marks where the layer
// fails, the grouping makes slides of the failing columns, a vertical solve
// shapes each sliding surface, and slides whose safety factor shows them
// stable are dropped. Writes Bstrain, Bthixolev, BthixolevMin, Bcellth,
// Surfaces plane 7, the bottom cells' coefficients and the slide table.
#include "bed/slides/soil_layer/slide_location.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/exit_codes.h"
#include "base/log.h"
#include "bed/bed_services.h"
#include "bed/slides/soil_layer/slide_layer.h"
#include "bed/slides/soil_layer/slide_grouping.h"
#include "bed/slides/soil_layer/slide_safety.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"

namespace {

constexpr int kStrengthPlane = 7;

// Unit weight of the soil that drives the slide and of water, N/m3.
constexpr double kSoil = 13600.0, kWater = 9810.0;
// The cohesion holds a layer of 8 c / 17903.25 m alone.
constexpr double kCohesionHeight = 8.0 / 17903.25;
// A fixed column: the centre coefficient swamps every neighbour.
constexpr double kFixed = 1e20;
// Double sweeps of one vertical iteration.
constexpr int kVerticalPasses = 30;

// The first call sets the levels of the layer; later calls go on from them.
bool firstCall = true;
bool warnedModulus = false;

// Level of the sliding surface of each column during the vertical solve,
// indexed by bed cell: the solve keeps it here rather than in whatever flow
// field the driver left selected, which it would overwrite.
std::vector<double> surfaceLevel;
// The labelled columns in ascending order: the vertical sweeps visit only them.
std::vector<int> sliding;
// Marks by label or by slot, sized with the level array.
std::vector<char> marks;

struct Block {
  int first, last;  // bed cells
  bool layered;
};

struct Measure {
  double mean = 0, largest = 0;
  bool ends = false;
};

double wallNow() { return wallClock(); }

bool fixedColumn(int c) { return Cap[c] >= 1e19; }

// Stiffness of the horizontal solve: shear across j, normal along i. F 410
// variants other than 1 take the elasticity modulus for both.
void moduli(double &g, double &e) {
  e = EModulus;
  g = FlagModulus == 1 ? GModulus : EModulus;
  if (FlagModulus > 1 && !warnedModulus) {
    warnedModulus = true;
    logPrintf("Warning: F 410 modulus variant %d is not used by the slide location; it takes E for both moduli\n",
              FlagModulus);
  }
}

void setHorizontalCoefficients(const Block &k) {
  double g, e;
  moduli(g, e);
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    Cae[c] = Ccelle[c] > 0 ? 2.0 * g * Cjdist[c] : 0.0;
    Caw[c] = Ccellw[c] > 0 ? 2.0 * g * Cjdist[c] : 0.0;
    Can[c] = Ccelln[c] > 0 ? 2.0 * e * Cidist[c] : 0.0;
    Cas[c] = Ccells[c] > 0 ? 2.0 * e * Cidist[c] : 0.0;
    Cap[c] = std::max(Cae[c] + Caw[c] + Can[c] + Cas[c], 1.0);
    Cat[c] = Cab[c] = 0.0;
  }
}

void setStartLevels(const Block &k) {
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    if (firstCall) {
      const double top = columnTop(c);
      Bthixolev[b] = BthixolevMin[b] = top;
      Bstrain[b] = 0.0;
      if (Bsolidfraction) Bsolidfraction[1][b] = 0.5;
    }
    surfaceLevel[b] = Bthixolev[b];
    if (Cthixorat) Cthixorat[c] = Bthixolev[b];
  }
}

// With F 408 1 the columns at the edge of the layer are held: along the only
// direction a one-row block has, else all four sides.
void fixBlockEdge(const Block &k, int blk) {
  if (FlagBoundaryThixo != 1) return;
  const GridBlock &g = block[blk];
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    bool edge;
    if (g.i1 == g.i2) {
      edge = Ccells[c] <= 0 || Ccelln[c] <= 0;
    } else if (g.j1 == g.j2) {
      edge = Ccelle[c] <= 0 || Ccellw[c] <= 0;
    } else {
      edge = Ccelle[c] <= 0 || Ccellw[c] <= 0 || Ccelln[c] <= 0 || Ccells[c] <= 0;
    }
    if (edge) {
      Cap[c] = kFixed;
      Csource[c] = 0.0;
    }
  }
}

// Driving stress of a column: the slope of the layer's top (13600 N/m3) and,
// with groundwater, the water-table gradient between its neighbours.
double drivingStress(int b, int c) {
  const int i = Bkooi[b], j = Bkooj[b];
  const int k = znumber;
  double ***z = zval, **x = xval, **y = yval;
  // Mid-points of the four sides from the corners (i-1, j-1), (i, j-1), (i, j), (i-1, j).
  const double li = std::hypot(0.5 * (x[i][j - 1] + x[i][j] - x[i - 1][j - 1] - x[i - 1][j]),
                               0.5 * (y[i][j - 1] + y[i][j] - y[i - 1][j - 1] - y[i - 1][j]));
  const double lj = std::hypot(0.5 * (x[i - 1][j] + x[i][j] - x[i - 1][j - 1] - x[i][j - 1]),
                               0.5 * (y[i - 1][j] + y[i][j] - y[i - 1][j - 1] - y[i][j - 1]));
  const double risei = 0.5 * (z[i][j - 1][k] + z[i][j][k] - z[i - 1][j - 1][k] - z[i - 1][j][k]);
  const double risej = 0.5 * (z[i - 1][j][k] + z[i][j][k] - z[i - 1][j - 1][k] - z[i][j - 1][k]);
  double gi = kSoil * risei / li, gj = kSoil * risej / lj;
  if (FlagGroundwater > 0 && Bgroundwater) {
    if (Ccelle[c] > 0 && Ccellw[c] > 0) {
      gi += kWater * (Bgroundwater[Cbed[Ccelle[c]]] - Bgroundwater[Cbed[Ccellw[c]]]) / (2.0 * li);
    }
    if (Ccelln[c] > 0 && Ccells[c] > 0) {
      gj += kWater * (Bgroundwater[Cbed[Ccelln[c]]] - Bgroundwater[Cbed[Ccells[c]]]) / (2.0 * lj);
    }
  }
  return std::hypot(gi, gj) + 1e-20;
}

// Resisting minus driving stress of every free column is the source of the
// strain solve; plane 7 keeps their ratio for the result files.
void setStrainSources(const Block &k) {
  const bool plane = surfacePlanes() > kStrengthPlane;
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    double *strength = plane ? &Surfaces[kStrengthPlane][Bkooi[b]][Bkooj[b]] : nullptr;
    if (fixedColumn(c)) {
      if (strength) *strength = 0.0;
      continue;
    }
    const double d = drivingStress(b, c);
    const double top = columnTop(c);
    const double thick =
        std::max({columnThickness(c), kCohesionHeight * ThixoCritshear, top - BthixolevMin[b]});
    const bool weakened = k.layered && Bthixolev[b] > BthixolevMin[b] + 0.01;
    const double m = weakened ? ThixoCohesiveModifier : 1.0;
    const double resist = m * ThixoCritshear / (thick + 1e-20) + kSoil * ThixoMySlope;
    Csource[c] = resist - d;
    if (strength) *strength = resist / d;
  }
}

// Stage 2: every column that does not fail is held at its surface, the
// slides are grouped, and each slide's columns get a uniform pull downwards
// that falls with the slide's size.
void prepareVerticalSolve(const Block &k) {
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    if (Bstrain[b] > -1e-8 || columnThickness(c) < MinVertDist0) holdAtSurface(b);
  }
  slideModify();
  sliding.clear();
  for (int b = k.first; b <= k.last; ++b) {
    const int c = Bcellt[b];
    if (c <= 0) continue;
    surfaceLevel[b] = Bthixolev[b];
    if (Bcellth[b] <= 0) {
      holdAtSurface(b);
      continue;
    }
    Cae[c] = Ccelle[c] > 0 ? 0.25 : 0.0;
    Caw[c] = Ccellw[c] > 0 ? 0.25 : 0.0;
    Can[c] = Ccelln[c] > 0 ? 0.25 : 0.0;
    Cas[c] = Ccells[c] > 0 ? 0.25 : 0.0;
    Cap[c] = Cae[c] + Caw[c] + Can[c] + Cas[c];
    Csource[c] = 0.0;
    // A labelled column without a neighbour cell has nothing to follow.
    if (Cap[c] <= 0.0) {
      holdAtSurface(b);
      continue;
    }
    sliding.push_back(b);
  }
  const double p = FlagGridStab1 == 0 ? 1.4 : 0.77;
  for (int s = 0; s < kMaxSlideRegions - 1 && BVal[s] != 0; ++s) {
    kSF[s] = 1000.0;
    kLastMult[s] = 1.2;
    const double source = -(0.05 * kLength[s]) / std::pow(BNo[s] + 1e-20, p);
    for (const int b : slideColumns(BVal[s])) {
      if (Bcellth[b] == BVal[s] && Bcellt[b] > 0) Csource[Bcellt[b]] = source;
    }
  }
}

double neighbourSum(int c) {
  const double *l = surfaceLevel.data();
  return Cae[c] * l[Cbed[Ccelle[c]]] + Caw[c] * l[Cbed[Ccellw[c]]] + Can[c] * l[Cbed[Ccelln[c]]] +
         Cas[c] * l[Cbed[Ccells[c]]];
}

void relaxColumn(int b) {
  const int c = Bcellt[b];
  surfaceLevel[b] = std::min((neighbourSum(c) + Csource[c]) / Cap[c], Czcenter[c] + Ckdist[c]);
}

void verticalPasses() {
  for (int pass = 0; pass < kVerticalPasses; ++pass) {
    for (const int b : sliding) relaxColumn(b);
    for (auto it = sliding.rbegin(); it != sliding.rend(); ++it) relaxColumn(*it);
  }
}

// Multiplies (or adds to) the sources of every column of slide s.
template <typename Change>
void changeSources(int s, Change change) {
  for (const int b : slideColumns(BVal[s])) {
    if (Bcellth[b] == BVal[s] && Bcellt[b] > 0) change(Csource[Bcellt[b]]);
  }
}

double centreLevel(int s) { return surfaceLevel[BCen[s]]; }

// Modes 1 to 4 (and above 7): the sources scale towards the target level.
Measure scaleToTarget(int listed) {
  Measure m;
  int treated = 0;
  for (int s = 0; s < listed; ++s) {
    if (kLength[s] <= 1e-7) continue;
    const double r = std::clamp(0.5 * (kLevel[s] - centreLevel(s)) / (kLength[s] + 1e-15), -0.5, 0.5);
    changeSources(s, [r](double &q) { q *= 1.0 - r; });
    m.mean += std::fabs(r);
    m.largest = std::max(m.largest, std::fabs(r));
    ++treated;
  }
  if (treated == 0) m.ends = true;
  m.mean /= std::max(treated, 1);
  return m;
}

// Mode 5: while the safety factor falls the sources grow by the last
// multiplier; a rise turns the multiplier round for the next call. One pass.
Measure scaleBySafety(int listed, double &lastStored) {
  for (int s = 0; s < listed; ++s) {
    const double stored = kSF[s];
    lastStored = stored;
    const double sf = computeSlideSF(s);
    double mult = kLastMult[s];
    if (sf > stored) mult = (kLastMult[s] <= 1.0 ? 0.98 : 1.02) / kLastMult[s];
    if (stored - sf > 1e-8 && sf > 1e-8) changeSources(s, [mult](double &q) { q *= mult; });
    kSF[s] = sf;
    kLastMult[s] = mult;
  }
  Measure m;
  m.ends = true;
  return m;
}

// Mode 6: the difference to the target level is spread over the columns.
Measure addToTarget(int listed) {
  Measure m;
  for (int s = 0; s < listed; ++s) {
    const double e = kLevel[s] - centreLevel(s);
    const double share = e / BNo[s];
    changeSources(s, [share](double &q) { q += share; });
    m.mean += std::fabs(e);
    m.largest = std::max(m.largest, std::fabs(e));
  }
  if (listed == 0) m.ends = true;
  m.mean /= std::max(listed, 1);
  return m;
}

// Mode 7: the greatest depth below the slide's plane is driven towards
// kLength kFac; the sources never push the surface up.
Measure addToDepth(int listed) {
  Measure m;
  for (int s = 0; s < listed; ++s) {
    double deepest = 0.0;
    for (const int b : slideColumns(BVal[s])) {
      const int c = Bcellt[b];
      if (Bcellth[b] != BVal[s] || c <= 0) continue;
      deepest = std::max(deepest, slidePlaneLevel(s, Cxcenter[c], Cycenter[c]) - surfaceLevel[b]);
    }
    kDiff[s] = deepest;
    const double e = kDiff[s] - kLength[s] * kFac[s];
    const double share = e / BNo[s];
    changeSources(s, [share](double &q) { q = std::min(q + share, 0.0); });
    m.mean += std::fabs(e);
    m.largest = std::max(m.largest, std::fabs(e));
  }
  if (listed == 0) m.ends = true;
  m.mean /= std::max(listed, 1);
  return m;
}

// The depth mode reads the plane of each column's slide: a label that the
// table does not hold has none.
void requireListedLabels(int listed) {
  std::vector<char> &known = marks;
  std::fill(known.begin(), known.end(), 0);
  for (int s = 0; s < listed; ++s) known[BVal[s]] = 1;
  for (const int b : sliding) {
    if (known[Bcellth[b]]) continue;
    fatalPrintf(kExitSlideLabel, nullptr, "Error in computeSlideLocation: slide label %d is not in the slide table\n",
                Bcellth[b]);
  }
}

// Stage 3: up to F 465 second value iterations of 30 double sweeps, each
// followed by the adjustment of F 325, until the mean measure is below 0.01.
Measure shapeSurfaces(int listed, double &lastStored) {
  if (FlagSlide == 7) requireListedLabels(listed);
  Measure m;
  for (int iter = 0; iter < IterSlideVert; ++iter) {
    verticalPasses();
    if (FlagSlide <= 0) {
      m = Measure{};
      m.ends = true;
    } else if (FlagSlide == 5) {
      m = scaleBySafety(listed, lastStored);
    } else if (FlagSlide == 6) {
      m = addToTarget(listed);
    } else if (FlagSlide == 7) {
      m = addToDepth(listed);
    } else {
      m = scaleToTarget(listed);
    }
    if (m.ends || m.mean < 0.01) break;
    char program[kStatusTextLength];
    std::snprintf(program, sizeof program, "ComputeSlideLocation - depth solver %d", iter);
    setStatus(mc_program, program);
  }
  return m;
}

void keepLevels(const Block &k) {
  for (int b = k.first; b <= k.last; ++b) {
    if (Bcellt[b] <= 0) continue;
    BthixolevMin[b] = std::min({BthixolevMin[b], Bthixolev[b], surfaceLevel[b]});
    Bthixolev[b] = std::max(surfaceLevel[b], meanCornerPlane(3, Bkooi[b], Bkooj[b]));
  }
}

// Stage 4: a slide stays when its safety factor is at most the limit and it
// has a length; otherwise its columns return to their tops, and it leaves
// the table (F 236 3 keeps it listed without driving force).
void judgeSlides(int listed, bool layered) {
  const double limit = layered ? ThixoSlideModifier : 1.0;
  std::vector<char> &gone = marks;
  std::fill(gone.begin(), gone.begin() + listed, 0);
  for (int s = listed - 1; s >= 0; --s) {
    const double sf = computeSlideSF(s);
    if (debugging == 'S') {
      logPrintf("Slide no. %d, sf = %lf, Cohesion, Friction, Gravity, Groundw = %lf %lf %lf %lf %lf %lf", s, sf,
                kCohesion[s], kFriction[s], kGravityI[s], kGravityJ[s], kGroundwaterI[s], kGroundwaterJ[s]);
      logPrintf(" Heights: %lf %lf %lf\n", kHeightN[s], kHeightW[s], kHeightD[s]);
    }
    if (sf <= limit && kLength[s] >= 0.0001) continue;
    for (const int b : slideColumns(BVal[s])) {
      if (Bcellth[b] != BVal[s] || Bcellt[b] <= 0) continue;
      Bthixolev[b] = columnTop(Bcellt[b]);
      Bcellth[b] = 0;
    }
    if (FlagThixo == 3) {
      kGravityI[s] = kGravityJ[s] = kGroundwaterI[s] = kGroundwaterJ[s] = 0.0;
    } else {
      gone[s] = 1;
    }
  }
  int kept = 0;
  for (int s = 0; s < listed; ++s) {
    if (gone[s]) continue;
    if (kept != s) moveSlideSlot(kept, s);
    ++kept;
  }
  for (int s = kept; s < listed; ++s) clearSlideSlot(s);
}

}  // namespace

void solverB(double *f, int first, int last, double bound) {
  auto relax = [f, bound](int b) {
    const int c = Bcellt[b];
    if (c <= 0) return;
    const double sum = Cae[c] * f[Cbed[Ccelle[c]]] + Caw[c] * f[Cbed[Ccellw[c]]] + Can[c] * f[b + 1] +
                       Cas[c] * f[b - 1] + Csource[c];
    f[b] = std::min(bound, sum / Cap[c]);
  };
  for (int pass = 0; pass < 3; ++pass) {
    for (int b = first; b <= last; ++b) relax(b);
    for (int b = last; b >= first; --b) relax(b);
  }
}

void computeSlideLocation() {
  const double started = wallNow();
  setStatus(mc_program, "ComputeSlideLocation");
  if (NoBCells == 0) BedMake();
  // The groundwater layer of F 262 alone has no slide tables: no slide block.
  const int blk = slideLayerBlock(true);
  if (blk == 0 || !Bstrain || !BthixolevMin) return;
  const Block k{block[blk].FirstBedCell, block[blk].LastBedCell, !firstCall && layerIsLayered(blk)};
  const std::size_t size = static_cast<std::size_t>(bedCellCapacity()) + 2;
  if (surfaceLevel.size() != size) {
    surfaceLevel.assign(size, 0.0);
    marks.assign(size, 0);
    sliding.reserve(size);
  }
  surfaceLevel[0] = 0.0;

  // Stage 1: where the layer fails.
  setHorizontalCoefficients(k);
  setStartLevels(k);
  fixBlockEdge(k, blk);
  setStrainSources(k);
  const double introDone = wallNow();
  for (int iter = 0; iter < IterSlideHoriz; ++iter) {
    char program[kStatusTextLength];
    std::snprintf(program, sizeof program, "ComputeSlideLocation - horiz solver %d", iter);
    setStatus(mc_program, program);
    solverB(Bstrain, k.first, k.last, 0.0);
  }
  const double horizontalDone = wallNow();

  // Stages 2 and 3: the slides and their sliding surfaces.
  prepareVerticalSolve(k);
  const int listed = listedSlides();
  const double verticalStart = wallNow();
  double lastStored = 10.0;
  const Measure m = shapeSurfaces(listed, lastStored);
  const double verticalDone = wallNow();

  // Stage 4: keep the converged surfaces and drop the stable slides.
  firstCall = false;
  if (listed >= 1 && std::fabs(m.mean) < 0.1) keepLevels(k);
  if (std::fabs(m.mean) >= 0.1 && debugging == 'D') {
    const double diff = (kLevel[0] - centreLevel(0)) / (kHeight[0] + 1e-20);
    logPrintf("Sand slide not converged, BVal = %d, diff = %lf, diffav = %lf, diffmax = %lf\n", BVal[0], diff, m.mean,
              m.largest);
  }
  if (debugging == 'D') {
    const double sf1 = FlagSlide == 5 ? lastStored : 10.0;
    logPrintf("Sand slide data, noslides = %d, diffmax = %lf, diffav = %lf, sf1 = %lf\n", listed, m.largest, m.mean,
              sf1);
  }
  if (debugging == 'P') {
    logPrintf("Slides time: Intro: %lf, HorSolver: %lf, IntroVert: %lf, VertSolver: %lf seconds\n",
              introDone - started, horizontalDone - introDone, verticalStart - horizontalDone,
              verticalDone - verticalStart);
    otimeSlideVertSolve += verticalDone - verticalStart;
  }
  if (FlagSlide >= 1) judgeSlides(listed, k.layered);
  setStatus(mc_program, "End ComputeSlideLocation");
}
