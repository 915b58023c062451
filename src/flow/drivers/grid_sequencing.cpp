// The grid-sequencing driver (F 152): the main driver solves the flow on
// coarse two-dimensional levels appended to the grid and on the base grid,
// coarsest first, each solution carried to the next finer level as a
// correction: in the first cycle the difference to the finer level's means,
// later what the coarse level changed during the cycle. Writes the six flow
// fields, MGSGrid, BlockID, the work ranges and, outside the sediment loop,
// Iter.
#include <algorithm>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "flow/hydrostatic/layer_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/coarse_grid_levels.h"
#include "startup/operations.h"

namespace {

// Levels 2.. are blocks appended after the base grid, the coarsest last; the
// builder makes at least level 2.
int levelsBuilt() { return std::max(MGSNo, 2) - 1; }
int blockOfLevel(int level) { return NoBlocks - levelsBuilt() + level - 1; }

void levelRange(int level) {
  const GridBlock &b = block[blockOfLevel(level)];
  MGSGrid = level;
  BlockID = blockOfLevel(level);
  WCStart = b.FirstCell;
  WCEnd = b.LastCell;
  WFStart = b.FirstFace;
  WFEnd = b.LastFace;
  if (level == 1) WCStart = WFStart = 1;
}

// The cells bottom up of the base-grid column that level-2 cell c stands for.
int columnStart(int c) { return MGSCpoint[c][1]; }

double columnMean(const double *x, int c) {
  double sum = 0.0;
  int count = 0;
  for (int d = columnStart(c); d > 0; d = Ccellt[d], ++count) sum += x[d];
  return count > 0 ? sum / count : 0.0;
}

double childrenMean(const double *x, int c) {
  const int *m = MGSCpoint[c];
  return 0.25 * (x[m[1]] + x[m[2]] + x[m[3]] + x[m[4]]);
}

// x += d; k (field 4) stays at least ArtMinKinen and epsilon (5) 1e-15.
inline void correct(double *x, int c, double d, int field) {
  x[c] += d;
  if (field == 4) x[c] = std::max(x[c], ArtMinKinen);
  if (field == 5) x[c] = std::max(x[c], 1e-15);
}

int firstCoarseCell() { return block[blockOfLevel(2)].FirstCell; }

// The six fields of every coarse cell, from the first cell of level 2 on.
void snapshotLevels(std::vector<double> (&before)[6]) {
  const double *const fields[6] = {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon};
  const int first = firstCoarseCell(), last = block[blockOfLevel(std::max(MGSNo, 2))].LastCell;
  for (int v = 0; v < 6; ++v) before[v].assign(fields[v] + first, fields[v] + last + 1);
}

bool levelsMissing() { return NoBlocks < 1 || block[NoBlocks].GridLevel == 0; }

}  // namespace

void restrictFlowToLevels() {
  for (int level = 2; level <= MGSNo; ++level) {
    levelRange(level);
    for (double *x : {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon}) {
      for (int c = WCStart; c <= WCEnd; ++c) x[c] = level == 2 ? columnMean(x, c) : childrenMean(x, c);
    }
  }
}

void prolongFlowFromLevel(int level, const std::vector<double> *before) {
  if (level < 2) return;
  levelRange(level);
  double *const fields[6] = {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon};
  const int first = firstCoarseCell();
  for (int v = 0; v < 6; ++v) {
    double *x = fields[v];
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (before) {
        const double d = x[c] - before[v][c - first];
        if (level == 2) {
          for (int k = columnStart(c); k > 0; k = Ccellt[k]) correct(x, k, d, v);
        } else {
          for (int n = 1; n <= 4; ++n) correct(x, MGSCpoint[c][n], d, v);
        }
      } else if (level == 2) {
        const double d = x[c] - columnMean(x, c);
        for (int k = columnStart(c); k > 0; k = Ccellt[k]) correct(x, k, d, v);
      } else {
        const double d = x[c] - childrenMean(x, c);
        for (int n = 1; n <= 4; ++n) correct(x, MGSCpoint[c][n], d, v);
      }
    }
  }
}

void MGSsolver() {
  if (levelsMissing()) MGSCoarserGridMake2D();
  if (FlagInitialized == 1 && MGSNo > 1) restrictFlowToLevels();
  const int cycles = FlagTSC > 0 ? 20 : iterGlobalMax;
  // The coarse levels' fields as they stood at the start of the cycle.
  std::vector<double> before[6];
  for (int n = 1; n <= cycles; ++n) {
    if (FlagTSC == 0) Iter = n;
    // From the second cycle on every coarse level starts from its own last
    // solution, not from the finer grid's means: only what it changed during
    // the cycle (the correction from the level above and its own solve) goes
    // down. The first cycle carries the difference to the finer means, which
    // is the same after a restriction and brings a first solution down.
    const bool ownStart = n >= 2 && !levelsMissing();
    if (ownStart) snapshotLevels(before);
    for (int level = MGSNo; level >= 1; --level) {
      // A surface update regenerates the base grid without its levels.
      if (levelsMissing()) MGSCoarserGridMake2D();
      levelRange(level);
      operations.WaterSolve();
      prolongFlowFromLevel(level, ownStart ? before : nullptr);
    }
  }
  levelRange(1);
  BlockID = blockOfLevel(1);
}
