// The grid-sequencing driver (F 152): the main driver solves the flow on
// coarse two-dimensional levels appended to the grid and on the base grid,
// coarsest first, each solution carried to the next finer level as a
// correction. Writes the six flow fields, MGSGrid, BlockID, the work ranges
// and, outside the sediment loop, Iter.
#include <algorithm>

#include "flow/flow_drivers.h"
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

// The mean of x over the base-grid column that a level-2 cell stands for
// (its cells bottom up from MGSCpoint[c][1]).
double columnMean(const double *x, int c, int &bottom, int &count) {
  bottom = MGSCpoint[c][1];
  double sum = 0.0;
  count = 0;
  for (int d = bottom; d > 0; d = Ccellt[d], ++count) sum += x[d];
  return count > 0 ? sum / count : 0.0;
}

double childrenMean(const double *x, int c) {
  const int *m = MGSCpoint[c];
  return 0.25 * (x[m[1]] + x[m[2]] + x[m[3]] + x[m[4]]);
}

// The fields of the base grid carried down to every coarse level.
void restrictToLevels() {
  for (int level = 2; level <= MGSNo; ++level) {
    levelRange(level);
    for (double *x : {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon}) {
      for (int c = WCStart; c <= WCEnd; ++c) {
        int bottom, count;
        x[c] = level == 2 ? columnMean(x, c, bottom, count) : childrenMean(x, c);
      }
    }
  }
}

// k and epsilon (fields 4 and 5) stay positive after a correction.
double floorOf(int field) { return field == 4 ? ArtMinKinen : 1e-15; }

// The solution of `level` added to the next finer one as the difference
// between the coarse value and the mean of the finer cells it covers.
void prolong(int level) {
  if (level < 2) return;
  double *const x[6] = {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon};
  for (int v = 0; v < 6; ++v) {
    double *f = x[v];
    const bool floored = v >= 4;
    for (int c = WCStart; c <= WCEnd; ++c) {
      if (level == 2) {
        int bottom, count;
        const double d = f[c] - columnMean(f, c, bottom, count);
        for (int k = bottom; k > 0; k = Ccellt[k]) {
          f[k] += d;
          if (floored) f[k] = std::max(f[k], floorOf(v));
        }
      } else {
        const int *m = MGSCpoint[c];
        const double d = f[c] - childrenMean(f, c);
        for (int n = 1; n <= 4; ++n) {
          f[m[n]] += d;
          if (floored) f[m[n]] = std::max(f[m[n]], floorOf(v));
        }
      }
    }
  }
}

bool levelsMissing() { return NoBlocks < 1 || block[NoBlocks].GridLevel == 0; }

}  // namespace

void MGSsolver() {
  if (levelsMissing()) MGSCoarserGridMake2D();
  if (FlagInitialized == 1 && MGSNo > 1) restrictToLevels();
  const int cycles = FlagTSC > 0 ? 20 : iterGlobalMax;
  for (int n = 1; n <= cycles; ++n) {
    if (FlagTSC == 0) Iter = n;
    for (int level = MGSNo; level >= 1; --level) {
      // A surface update regenerates the base grid without its levels.
      if (levelsMissing()) MGSCoarserGridMake2D();
      levelRange(level);
      operations.WaterSolve();
      levelRange(level);
      prolong(level);
    }
  }
  levelRange(1);
  BlockID = blockOfLevel(1);
}
