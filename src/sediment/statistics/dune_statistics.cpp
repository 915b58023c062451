// Dune statistics along one longitudinal grid line. A crest is a bed point
// no point of its window lies above, a trough one no point lies below; a
// dune runs from a crest to the grid line before the next crest.
#include "sediment/statistics/dune_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/exit_codes.h"
#include "base/log.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

enum Mark { kTrough = -1, kNeither = 0, kCrest = 1 };

// What the analysis keeps between calls, sized on the first call.
struct DuneState {
  bool started = false;
  std::vector<int> mark, previousMark;  // per grid line i
  std::vector<double> profile;          // accumulated diffusion parameter per level
  std::vector<double> duneLevels;       // per-level sums over one dune
  std::vector<double> callLevels;       // per-level sums over one call
  int totalDunes = 0;
};
DuneState state;

// Sums of one call over its dunes.
struct CallSums {
  int dunes = 0;
  double depth = 0.0, height = 0.0, length = 0.0, diffusion = 0.0, viscosity = 0.0;
};

double bedAt(int i) { return zval[i][WriteDuneJ1][1]; }
double relativeBedAt(int i) { return bedAt(i) - Surfaces[0][i][WriteDuneJ1]; }
double xAt(int i) { return xval[i][WriteDuneJ1]; }

// Block 1's grid points along i: the profile reads only these.
bool onGrid(int i) { return i >= block[1].i1 - 1 && i <= block[1].i2 && i >= 0 && i <= xnumber + 1; }

std::FILE *createFile(const char *name, const char *header, const char *error) {
  std::FILE *f = std::fopen(name, "w");
  if (!f) fatalExit(kExitUnreadable, error);
  std::fputs(header, f);
  return f;
}

void start() {
  if (WriteDuneI2 > 8998) {
    fatalExit(kExitUnreadable, "Error in F 370 data set. Recompile if the grid has more than 9000 profiles\n");
  }
  const std::size_t lines = static_cast<std::size_t>(std::max(xnumber, WriteDuneI2) + 2);
  const std::size_t levels = static_cast<std::size_t>(znumber + 2);
  state.mark.assign(lines, kNeither);
  state.previousMark.assign(lines, kNeither);
  state.profile.assign(levels, 0.0);
  state.duneLevels.assign(levels, 0.0);
  state.callLevels.assign(levels, 0.0);
  state.started = true;
  const char *header = FlagDepthDeposit != 0
                           ? "Time,   depth,  duneheigh,  dunelength, dunespeed, K_A, alpha_diff, bech1, bech2\n"
                           : "Time,  depth,  duneheight, dunelength, dunespeed, K_A, alpha_diff\n";
  closeWrittenFile(createFile("dune", header, "Error in opening dune file\n\n"), "dune");
  closeWrittenFile(createFile("dunediff",
                              "K_A [-], a_diff [-], gamma [Pa s], Froude [-], velocity [m/s], duneheight [m], "
                              "dunelength [m], waterdepth [m], stimet [s], duneno [-]\n",
                              "Error in opening dunediff file\n\n"),
                   "dunediff");
}

// The marks of the profile lines; returns the first and last crest (0 none).
void markProfile(int &firstCrest, int &lastCrest) {
  firstCrest = lastCrest = 0;
  for (int i = WriteDuneI1; i <= WriteDuneI2; ++i) {
    state.previousMark[i] = state.mark[i];
    state.mark[i] = kNeither;
    if (!onGrid(i)) continue;
    const double z = bedAt(i);
    bool higher = false, lower = false;
    for (int k = i - WriteDuneDI; k <= i + WriteDuneDI; ++k) {
      if (k == i || !onGrid(k)) continue;
      higher = higher || bedAt(k) > z;
      lower = lower || bedAt(k) < z;
    }
    if (!lower) {
      state.mark[i] = kTrough;
    } else if (!higher) {
      state.mark[i] = kCrest;
      if (firstCrest == 0) firstCrest = i;
      lastCrest = i;
    }
  }
}

// The slope that drives the flow: of the water surface between the first and
// the last crest, or of the bed between the profile ends; at least 1e-8.
double drivingSlope(int firstCrest, int lastCrest) {
  double slope = 0.0;
  const int J = WriteDuneJ1;
  if (firstCrest > 0 && lastCrest != firstCrest) {
    slope = (zval[firstCrest][J][znumber] - zval[lastCrest][J][znumber]) / (xAt(lastCrest) - xAt(firstCrest));
  } else if (onGrid(WriteDuneI1) && onGrid(WriteDuneI2) && xAt(WriteDuneI2) != xAt(WriteDuneI1)) {
    slope = (bedAt(WriteDuneI1) - bedAt(WriteDuneI2)) / (xAt(WriteDuneI2) - xAt(WriteDuneI1));
  }
  return std::max(slope, 1e-8);
}

// The dune from crest i0 to the line before crest i1. Columns with fewer than
// two cells (or none) have no depth or velocity and are left out; a dune
// without such columns is not counted.
void analyseDune(int i0, int i1, double slope, std::FILE *diff, CallSums &sums) {
  const int J = WriteDuneJ1;
  int n = 0, lastLevels = 0;
  double depthSum = 0.0, velocitySum = 0.0, verticalSum = 0.0, froudeSum = 0.0, gammaSum = 0.0;
  bool trough = false;
  double troughLevel = 0.0, lowest = relativeBedAt(i0);
  std::fill(state.duneLevels.begin(), state.duneLevels.end(), 0.0);
  for (int i = i0; i < i1; ++i) {
    lowest = std::min(lowest, relativeBedAt(i));
    if (state.mark[i] == kTrough) {
      trough = true;
      troughLevel = relativeBedAt(i);
    }
    const int bottom = static_cast<int>(zval[i][J][0]);
    if (bottom <= 0 || Ccellt[bottom] <= 0) continue;
    int k = 0;
    double depth = 0.0, velocity = 0.0, vertical = 0.0;
    for (int c = bottom; Ccellt[c] > 0; c = Ccellt[c]) ++k;
    // The per-level terms need the column's mean velocity first.
    for (int c = bottom; Ccellt[c] > 0; c = Ccellt[c]) {
      depth += 2.0 * Ckdist[c];
      velocity += Cxvel[c];
    }
    velocity /= k;
    int m = 1;
    for (int c = bottom; Ccellt[c] > 0; c = Ccellt[c], ++m) {
      const int top = Cflatet[c];
      const double w = std::fabs(Fflux[top] / Farea[top]) * 0.001 * Ckdist[c];
      vertical += w;
      gammaSum += Cgamma[c];
      if (m < static_cast<int>(state.duneLevels.size())) state.duneLevels[m] += w / (velocity + 1e-30);
    }
    vertical /= k;
    ++n;
    lastLevels = k;
    depthSum += depth;
    velocitySum += velocity;
    verticalSum += vertical;
    froudeSum += velocity / std::sqrt(9.81 * depth);
  }
  if (n == 0) return;
  if (!trough) troughLevel = lowest;
  const double h = depthSum / n, u = velocitySum / n, w = verticalSum / n;
  const double length = xAt(i1) - xAt(i0);
  const double height = 0.5 * (relativeBedAt(i0) + relativeBedAt(i1)) - troughLevel;
  const double gamma = gammaSum / (n * lastLevels);
  const double froude = froudeSum / n;
  const double shearVelocity = std::sqrt(slope * 1000.0 * 9.81 * (h + 1e-20) * 0.001);
  const double diffusion = w / (height * u + 1e-20);
  const double viscosity = gamma * 0.001 / (shearVelocity * (h + 1e-20));
  ++sums.dunes;
  std::fprintf(diff, "%lf %lf %lf %lf %lf %lf %lf %lf %lf %d\n", diffusion, viscosity, gamma, froude, u, height,
               length, h + 1e-20, stimet, sums.dunes);
  // A dune as high as its trough (a step in the bed) must not divide by zero.
  const double levelDivisor = n * height + 1e-20;
  for (std::size_t m = 0; m < state.duneLevels.size(); ++m) state.callLevels[m] += state.duneLevels[m] / levelDivisor;
  sums.depth += h + 1e-20;
  sums.height += height;
  sums.length += length;
  sums.diffusion += diffusion;
  sums.viscosity += viscosity;
}

// The mean distance the crests of the previous call moved downstream, per
// second; 0 when no crest can be followed.
double crestSpeed(double dunes) {
  double moved = 0.0;
  int found = 0;
  for (int i = WriteDuneI1 + 1; i <= WriteDuneI2 + 1; ++i) {
    if (state.previousMark[i - 1] != kCrest || state.previousMark[i] == kCrest) continue;
    for (int g = i; g <= WriteDuneI2; ++g) {
      if (state.previousMark[g] == kCrest) break;
      if (state.mark[g] == kCrest) {
        moved += xAt(g) - xAt(i - 1);
        ++found;
        break;
      }
    }
  }
  return found > 0 ? moved / dunes / (WriteDuneIter * TimeStep) : 0.0;
}

void writeProfile() {
  std::FILE *f = createFile("dunevert", "\nVertical distribution of diffusion parameter [-]:\n",
                            "Error in opening dunevert file\n\n");
  for (int m = 1; m <= znumber && state.profile[m] > 1e-20; ++m) {
    std::fprintf(f, "%d %le\n", m, state.profile[m] / state.totalDunes);
  }
  closeWrittenFile(f, "dunevert");
}

}  // namespace

void writeDune() {
  if (!state.started) start();
  std::fill(state.callLevels.begin(), state.callLevels.end(), 0.0);
  int firstCrest, lastCrest;
  markProfile(firstCrest, lastCrest);
  const double slope = drivingSlope(firstCrest, lastCrest);

  std::FILE *diff = std::fopen("dunediff", "a");
  if (!diff) fatalExit(kExitUnreadable, "Error in opening dunediff file\n\n");
  CallSums sums;
  int crest = 0;
  for (int i = WriteDuneI1; i <= WriteDuneI2; ++i) {
    if (state.mark[i] != kCrest) continue;
    if (crest > 0) analyseDune(crest, i, slope, diff, sums);
    crest = i;
  }
  closeWrittenFile(diff, "dunediff");

  const double dunes = sums.dunes + 1e-20;
  state.totalDunes += sums.dunes;
  for (std::size_t m = 0; m < state.profile.size(); ++m) state.profile[m] += state.callLevels[m];
  const double speed = crestSpeed(dunes);

  std::FILE *f = std::fopen("dune", "a");
  if (!f) fatalExit(kExitUnreadable, "Error in opening dune file\n\n");
  std::fprintf(f, "%lf %lf %lf %lf %lf %lf %lf", stimet, sums.depth / dunes, sums.height / dunes,
               sums.length / dunes, speed, sums.diffusion / dunes, sums.viscosity / dunes);
  if (FlagDepthDeposit > 0) std::fprintf(f, " %lf %lf", depthDepositIn, depthDepositOut);
  std::fprintf(f, "\n");
  closeWrittenFile(f, "dune");
  writeProfile();
}
