// The groundwater table: levels solved in Cgroundwater over the bottom cells
// of the soil-layer block by Gauss-Seidel sweeps, kept per column in
// Bgroundwater and copied to the river column above; Bthixolev of the layer
// columns is set once to the bed level above them.
#include "quality/groundwater/groundwater_model.h"

#include <algorithm>
#include <string>

#include "base/exit_codes.h"
#include "base/log.h"
#include "grid/generation/grid_build.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "startup/operations.h"
#include "surface/surface_columns.h"
#include "turbulence/mud_friction.h"

namespace {

// The slide and mud-flow loops advance the groundwater by this many steps
// per call of theirs.
constexpr int kStepsPerCall = 20;

// A coefficient this large fixes a cell's level; the storage updates leave
// such cells alone.
constexpr double kFixed = 1e30;
constexpr double kFixedTest = 1e10;

// Level of every column when "wlinit" is missing and no water lies above, m.
constexpr double kDefaultLevel = 1.1;

bool setUpDone = false;

// The groundwater block: the last block with layer mark 1, and the rows
// between one of its columns and the river column above it.
struct GroundwaterBlock {
  int n = 0;
  int jOff = 0;
};

GroundwaterBlock findBlock() {
  const int n = slideLayerBlock();
  // The layer lies under the block before it; a first block has none.
  if (n < 2) return {};
  return {n, block[n].j2 - block[n - 1].j2};
}

// One groundwater column: its bed cell, bottom cell and the bed cell of the
// column above (0 when none).
struct Column {
  int b, c, bm;
};

Column columnAt(const GroundwaterBlock &g, int i, int j) {
  const int b = pointbed[i][j];
  return {b, b > 0 ? Bcellt[b] : 0, pointbed[i][j - g.jOff]};
}

// visit(column, i, j) for every column of the block with a bottom cell, j
// outer and i inner, both ascending.
template <typename Visit>
void eachColumn(const GroundwaterBlock &g, Visit &&visit) {
  const GridBlock &blk = block[g.n];
  for (int j = blk.j1; j <= blk.j2; ++j) {
    for (int i = blk.i1; i <= blk.i2; ++i) {
      const Column col = columnAt(g, i, j);
      if (col.c > 0) visit(col, i, j);
    }
  }
}

// The same, both descending.
template <typename Visit>
void eachColumnBackward(const GroundwaterBlock &g, Visit &&visit) {
  const GridBlock &blk = block[g.n];
  for (int j = blk.j2; j >= blk.j1; --j) {
    for (int i = blk.i2; i >= blk.i1; --i) {
      const Column col = columnAt(g, i, j);
      if (col.c > 0) visit(col, i, j);
    }
  }
}

[[noreturn]] void endWithoutBlock(int code) {
  fatalExit(code,
            "Error in groundwater computation: groundwater grid not generated\n"
            "Data sets F ??? are missing in your control file\n\n");
}

double areaOf(int face) { return face > 0 ? Farea[face] : 0.0; }

// Darcy conductance through one side: K times the mean side area of the
// bottom cell and the cell above it, over the half width of the cell.
double conductance(const int *side, int c, int t, double halfWidth) {
  const double above = t > 0 ? areaOf(side[t]) : 0.0;
  return Conductivity * 0.5 * (above + areaOf(side[c])) / halfWidth;
}

// Mean of a level plane k of zval over the four corners of column (i, j).
double cornerMean(int i, int j, int k) {
  return 0.25 * (zval[i - 1][j - 1][k] + zval[i][j - 1][k] + zval[i][j][k] + zval[i - 1][j][k]);
}

// First call of a process: start levels from "wlinit", or from the water
// above the layer, and the bed level above every layer column.
void setUp(const GroundwaterBlock &g) {
  const int read = readGroundwaterLevels();
  if (read >= 0) {
    logPrintf("Have read %d water level points from wlinit file\n", read);
  } else {
    setStatus(mc_message, "have not used 'wlinit' file ");
    for (int b = 1; b <= NoBCells; ++b) Bgroundwater[b] = kDefaultLevel;
  }
  if (g.n == 0) endWithoutBlock(kExitNoGroundwaterBlock);
  const bool fromWater = read < 0 && NoBlocks >= 2 && block[2].LayerMark == 1;
  const GridBlock &blk = block[g.n];
  for (int j = blk.j1; j <= blk.j2; ++j) {
    for (int i = blk.i1; i <= blk.i2; ++i) {
      const int b = pointbed[i][j];
      if (b <= 0) continue;
      if (fromWater) Bgroundwater[b] = cornerMean(i, j - g.jOff, znumber);
      Bthixolev[b] = cornerMean(i, j - g.jOff, 1);
    }
  }
  ArmapMake();
  setUpDone = true;
}

// Storage of the new step: the level at its start becomes the old level.
void storageSource(const GroundwaterBlock &g) {
  eachColumn(g, [](const Column &col, int, int) {
    if (Cap[col.c] >= kFixedTest) return;
    Cgroundwater_old[col.c] = Bgroundwater[col.b];
    Csource[col.c] = Bgroundwater[col.b] * Faz[Cflateb[col.c]] / TimeStep;
  });
}

void relax(int c) {
  const double *f = Cgroundwater;
  Cgroundwater[c] = (f[Ccelle[c]] * Cae[c] + f[Ccellw[c]] * Caw[c] + f[Ccelln[c]] * Can[c] + f[Ccells[c]] * Cas[c] +
                     Csource[c]) / Cap[c];
}

// A forward and a backward sweep; the backward one also takes the storage
// source at the mean of the new and the step's old level.
void sweepTwice(const GroundwaterBlock &g) {
  eachColumn(g, [](const Column &col, int, int) { relax(col.c); });
  eachColumnBackward(g, [](const Column &col, int, int) {
    relax(col.c);
    if (Cap[col.c] >= kFixedTest) return;
    Cgroundwater_old[col.c] = Bgroundwater[col.b];
    Csource[col.c] = 0.5 * (Cgroundwater[col.c] + Bgroundwater[col.b]) * Faz[Cflateb[col.c]] / TimeStep;
  });
}

void keepLevels(const GroundwaterBlock &g) {
  eachColumn(g, [](const Column &col, int, int) {
    Bgroundwater[col.b] = Cgroundwater[col.c];
    if (col.bm > 0) Bgroundwater[col.bm] = Cgroundwater[col.c];
  });
}

}  // namespace

int readGroundwaterLevels() {
  std::string text;
  if (!readOptionalTextFile("wlinit", text)) return -1;
  ControlStream in(std::move(text));
  int used = 0;
  for (long long n = 0; n < 5LL * NoCells; ++n) {
    int i = 0, j = 0;
    double level = 0.0;
    const ScanResult r = scan(in, "%d %d %lf\n", &i, &j, &level);
    if (r.count != 3) break;
    // An index that overflows or a level that is not finite is skipped like
    // a point outside the grid.
    if (r.bad || i <= 0 || i >= xnumber || j <= 0 || j >= ynumber || pointbed[i][j] <= 0) continue;
    Bgroundwater[pointbed[i][j]] = level;
    ++used;
  }
  return used;
}

void forgetGroundwaterSetup() { setUpDone = false; }

void groundwater_coeff() {
  const GroundwaterBlock g = findBlock();
  if (g.n == 0) endWithoutBlock(kExitGroundwaterBlock);
  const GridBlock &blk = block[g.n];
  eachColumn(g, [](const Column &col, int, int) { Cgroundwater[col.c] = Cgroundwater_old[col.c] = Bgroundwater[col.b]; });
  // The block's edges are closed: no groundwater leaves it sideways.
  eachColumn(g, [&blk](const Column &col, int i, int j) {
    const int c = col.c, t = Ccellt[c];
    Cas[c] = j > blk.j1 ? conductance(Cflates, c, t, Cjdist[c]) : 0.0;
    Can[c] = j < blk.j2 ? conductance(Cflaten, c, t, Cjdist[c]) : 0.0;
    Caw[c] = i > blk.i1 ? conductance(Cflatew, c, t, Cidist[c]) : 0.0;
    Cae[c] = i < blk.i2 ? conductance(Cflatee, c, t, Cidist[c]) : 0.0;
    const double storage = armap[i][j] / TimeStep;
    Cap[c] = Cae[c] + Caw[c] + Can[c] + Cas[c] + storage;
    Csource[c] = Cgroundwater_old[c] * storage;
  });
  // Under a dry column the level cannot rise above the top of the soil;
  // under a wet one it is the water surface.
  eachColumn(g, [](const Column &col, int i, int j) {
    const int cm = col.bm > 0 ? Bcellt[col.bm] : 0;
    if (cm == 0) {
      const int t = topOf(col.c);
      const double top = surfaceOf(t);
      const double level = std::min(Bgroundwater[col.b], top);
      Bgroundwater[col.b] = level;
      Cgroundwater[t] = Cgroundwater_old[t] = level;
      Csource[t] = level * armap[i][j] / TimeStep;
      if (col.bm > 0) Bgroundwater[col.bm] = std::min(Bgroundwater[col.bm], top);
    } else {
      const double water = surfaceOf(topOf(cm));
      Cap[col.c] = kFixed;
      Csource[col.c] = kFixed * water;
      Cgroundwater[col.c] = water;
    }
  });
}

void groundwater() {
  setStatus(mc_program, " Groundwater ");
  const int steps = FlagGroundwater == 1 ? iterGlobalMax : kStepsPerCall;
  GroundwaterBlock g = findBlock();
  if (!setUpDone) setUp(g);
  groundwater_coeff();
  for (int s = 1; s <= steps; ++s) {
    storageSource(g);
    for (int n = 0; n < TransInnerIter; ++n) sweepTwice(g);
    keepLevels(g);
    if (FlagGroundwater != 1) continue;
    stimet += TimeStep;
    if (s % 100 == 0) {
      // The layer keeps its mark, so the regeneration of the surface update
      // rebuilds it in place under block 1 rather than appending a second
      // one or generating it as a river block.
      operations.surface2();
      g = findBlock();
      groundwater_coeff();
    }
  }
  setStatus(mc_program, "End groundwater");
}
