// The braiding measures of block 1: runs of neighbouring columns along each
// cross-section, counted by shear, by wetness and by water cover, the
// thalweg and its sinuosity.
#include "sediment/statistics/braiding_measures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/exit_codes.h"
#include "base/log.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

// What a column does to the run being counted.
enum class Step { Extend, End, Neither };

// One kind of run along a cross-section: a run counts as a channel when it
// ends with at least BraidCells columns, or reaches the last column j2 by
// extending it and is then long enough.
struct RunCount {
  int channels = 0, run = 0;
  void add(Step step, bool last) {
    if (step == Step::Extend) {
      ++run;
      if (last && run >= BraidCells) ++channels;
    } else if (step == Step::End) {
      if (run >= BraidCells) ++channels;
      run = 0;
    }
  }
};

// The bed shear of column (i, j): 300 k of its bottom cell (a dry column
// reads cell 0, whose k the callers set to 0).
double shearOf(int i, int j) { return 300.0 * Ckinen[static_cast<int>(zval[i][j][0])]; }

// A column above `active` lengthens the run, one at or below BraidedTot ends
// it, one between the two neither lengthens nor ends it.
Step byShear(double shear, double active) {
  if (shear > active) return Step::Extend;
  return shear <= BraidedTot ? Step::End : Step::Neither;
}

// Channels along cross-section i above the shear threshold `active`.
int channelsAlong(int i, double active) {
  const GridBlock &b = block[1];
  RunCount count;
  for (int j = b.j1; j <= b.j2; ++j) count.add(byShear(shearOf(i, j), active), j == b.j2);
  return count.channels;
}

// The first cross-section counted.
int firstSection() { return IBraidedStart < 0 ? 0 : IBraidedStart; }

// Water over the column: the summed depths of its four corners.
bool waterCovered(int i, int j) {
  double depth = 0.0;
  for (int di = -1; di <= 0; ++di) {
    for (int dj = -1; dj <= 0; ++dj) depth += zval[i + di][j + dj][znumber] - zval[i + di][j + dj][1];
  }
  return depth > 0.0;
}

// The thalweg row of cell c: the y of the lowest point of the parabola
// through the centre levels of c and its j neighbours (c's own y at a block
// edge or beside a dry column) and the bed level of c.
void writeThalwegRow(std::FILE *f, int c) {
  const int s = Ccells[c], n = Ccelln[c];
  double y = Cycenter[c];
  if (s > 0 && n > 0) {
    const double zs = Czcenter[s], zn = Czcenter[n], zc = Czcenter[c];
    y -= (zn - zs) / (zn + zs - 2.0 * zc + 1e-10) * Cjdist[c];
  }
  std::fprintf(f, "%lf %lf %lf\n", Cxcenter[c], y, Czcenter[c] - Ckdist[c]);
}

// The state of the averaging windows between calls.
double previousBI = 0.0;
double windowSum[3] = {0.0, 0.0, 0.0};

// BI above BraidedActive joins the window of its time unless it dropped below
// 0.3 of the previous value, which is reported instead; at 756000 s the
// three window means go to "braided".
void averageWindows(std::FILE *f, double bi) {
  const GridBlock &b = block[1];
  if (bi >= 0.3 * previousBI) {
    windowSum[stimet < 252000.0 ? 0 : (stimet < 504000.0 ? 1 : 2)] += bi;
    previousBI = bi;
  } else {
    const int jm = b.j2 / 2;
    logPrintf("Drop in BI index, %lf -> %lf, wl downstream %lf, wl upstream %lf\n\n", previousBI, bi,
              zval[b.i2][jm][znumber], zval[b.i1][jm][znumber]);
  }
  if (stimet > 755999.0 && stimet < 756001.0) {
    const double calls = 2520.0 / TimeStep;  // calls in 252000 s at one call per 100 steps
    for (double &sum : windowSum) sum /= calls;
    std::fprintf(f, "Averaged BI: %lf %lf %lf\n", windowSum[0], windowSum[1], windowSum[2]);
  }
}

}  // namespace

double computeBI() {
  const GridBlock &b = block[1];
  if (NoBlocks < 1 || IBraidedStart > b.i2) return 0.0;
  Ckinen[0] = 0.0;  // a dry column reads cell 0 and has no shear
  int channels = 0, sections = 0;
  for (int i = firstSection(); i <= b.i2; ++i, ++sections) channels += channelsAlong(i, BraidedActive);
  return sections > 0 ? static_cast<double>(channels) / sections : 0.0;
}

double computeAvDepth() {
  const GridBlock &b = block[1];
  if (NoBlocks < 1 || b.i2 < b.i1 - 1) return 0.0;
  double sum = 0.0;
  int points = 0;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j, ++points) {
      const double depth = zval[i][j][znumber] - zval[i][j][1];
      if (depth > 0.0) sum += depth;
    }
  }
  return sum / (points + 1e-20);
}

void writeBraided() {
  const GridBlock &b = block[1];
  std::FILE *thalweg = nullptr;
  if (FlagThalweg > 0) {
    thalweg = std::fopen("thalweg", "a");
    if (!thalweg) fatalExit(kExitUnreadable, "Error in opening thalweg file\n\n");
    std::fprintf(thalweg, "\n\nTime %lf sec.\n", stimet);
  }
  Ckinen[0] = 0.0;  // a dry column reads cell 0 and has no shear
  const double thresholds[4] = {BraidedActive, BraidedActive2, BraidedActive3, BraidedTot};
  int runs[6] = {0, 0, 0, 0, 0, 0}, sections = 0, bankCases = 0, previous = 0;
  double thalwegLength = 0.0, straightLength = 0.0;
  for (int i = firstSection(); i <= b.i2; ++i, ++sections) {
    if (shearOf(i, b.j1) > 0.01 || shearOf(i, b.j2) > 0.01) ++bankCases;
    RunCount count[6];
    int lowest = 0;
    for (int j = b.j1; j <= b.j2; ++j) {
      const bool last = j == b.j2;
      const double shear = shearOf(i, j);
      for (int t = 0; t < 4; ++t) count[t].add(byShear(shear, thresholds[t]), last);
      const int c = static_cast<int>(zval[i][j][0]);
      count[4].add(c > 0 ? Step::Extend : Step::End, last);
      count[5].add(waterCovered(i, j) ? Step::Extend : Step::End, last);
      if (c > 0 && (lowest == 0 || Czcenter[c] - Ckdist[c] < Czcenter[lowest] - Ckdist[lowest])) lowest = c;
    }
    for (int t = 0; t < 6; ++t) runs[t] += count[t].channels;
    // A dry cross-section keeps the thalweg of the one before it.
    const int c = lowest > 0 ? lowest : previous;
    if (c > 0 && previous > 0) {
      thalwegLength += std::hypot(Cxcenter[c] - Cxcenter[previous], Cycenter[c] - Cycenter[previous]);
      straightLength += Cidist[c] + Cidist[previous];
    }
    if (thalweg && c > 0) writeThalwegRow(thalweg, c);
    previous = c;
  }
  if (thalweg) closeWrittenFile(thalweg, "thalweg");

  std::FILE *f = std::fopen("braided", "a");
  if (!f) fatalExit(kExitUnreadable, "Error in opening braided file\n\n");
  // Without cross-sections every quotient is written as 0.
  const double perSection = sections > 0 ? 1.0 / sections : 0.0;
  std::fprintf(f, "%lf", stimet);
  for (int t = 0; t < 6; ++t) std::fprintf(f, " %lf", runs[t] * perSection);
  std::fprintf(f, " %lf %lf\n", thalwegLength / (straightLength + 1e-20), bankCases / (sections + 1e-20));
  averageWindows(f, runs[0] * perSection);
  closeWrittenFile(f, "braided");
}
