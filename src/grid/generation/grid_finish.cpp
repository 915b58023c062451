// The steps after the last block of a generation, in their fixed order: edge
// neighbours of the pressure gradient, nesting lists, work ranges, block joins,
// bed-cell links, the water-edge reshaping, the soil layer, base-grid counts, dead-end marks,
// time-series cells, the bed-statistics samples and the checks of the result. Writes CcellA*, Cbed,
// pointbed, Bkooi, Bkooj, Conecell.
#include <algorithm>

#include "files/file_services.h"
#include "grid/blocks/appended_blocks.h"
#include "grid/generation/bed_statistics_window.h"
#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Passes of the dead-end marking: each pass peels one more cell off a pocket.
constexpr int kDeadEndPasses = 21;

bool countedBlock(const GridBlock &b) { return b.BlockKind == 0 && b.GridLevel == 0; }

int bottomOf(int c) {
  while (Ccellb[c] != 0) c = Ccellb[c];
  return c;
}

// F 114 20: a cell above the bottom of its column without a neighbour on a
// side takes, for the pressure gradient, the neighbour of its column's
// bottom cell on that side.
void edgeNeighbours() {
  for (int *t : {CcellAe, CcellAn, CcellAs, CcellAw}) std::fill(t, t + MaxCeller, 0);
  for (int c = 1; c <= NoCells; ++c) {
    if (Ccellb[c] <= 0) continue;
    const int bottom = bottomOf(c);
    if (Ccelln[c] == 0) CcellAn[c] = Ccelln[bottom];
    if (Ccells[c] == 0) CcellAs[c] = Ccells[bottom];
    if (Ccellw[c] == 0) CcellAw[c] = Ccellw[bottom];
    if (Ccelle[c] == 0) CcellAe[c] = Ccelle[bottom];
  }
}

// On the first grid of a run the bed cells are numbered block by block, i
// outer and j inner, dry columns included; later grids keep the numbering.
void numberBedCells() {
  const std::int64_t capacity = bedCellCapacity();
  int n = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (!countedBlock(blk)) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        if (n + 1 >= capacity) {
          fatalExit(kExitTableFull,
                    "Error, too many bed cells: increase the 1st and 2nd integer on G 1 data set\n\n");
        }
        ++n;
        pointbed[i][j] = n;
        Bkooi[n] = i;
        Bkooj[n] = j;
        Cbed[static_cast<int>(zval[i][j][0])] = n;
      }
    }
  }
}

void linkBedCells() {
  if (Cbed) {
    if (Iter < 2) numberBedCells();
    Cbed[0] = Bkooi[0] = Bkooj[0] = 0;
    for (int b = 1; b <= NoBlocks; ++b) {
      const GridBlock &blk = block[b];
      if (!countedBlock(blk)) continue;
      for (int i = blk.i1; i <= blk.i2; ++i) {
        for (int j = blk.j1; j <= blk.j2; ++j) {
          for (int c = static_cast<int>(zval[i][j][0]); c > 0; c = Ccellt[c]) Cbed[c] = pointbed[i][j];
        }
      }
    }
  }
  zval[0][0][1] = zval[0][0][znumber] = 0.0;
}

// The soil layer of the slide, mud and groundwater models, under block 1.
void appendSoilLayer() {
  if (FlagThixo < 2 && FlagGroundwater <= 0) return;
  refuseLayerWithOneCellBlock();
  if (FlagGroundwater > 0 && FlagThixo == 0) logText("Warning: F 262 data is set without setting slide data set F 236\n\n");
  if (FlagThixoGrid == 0) {
    if (UnstrucThixo3(1) != 0) fatalExit(kExitUnreadable, nullptr);
  } else {
    UnstrucThixo2(1);
  }
}

// The one-cell-per-column block of F 68 or F 311 is appended or rebuilt in
// place; one of an earlier generation goes when neither asks for it.
void appendOneCellBlock() {
  if (Hydrostatic == 1 || Hydrostatic > 2) {
    HydroStaticMake();
  } else if (FlagShallowWater == 1) {
    HydroStaticMake2();
  } else if (NoBlocks > 0 && block[NoBlocks].BlockKind == 1) {
    --NoBlocks;
  }
}

int unmarkedNeighbours(int c) {
  int u = 0;
  for (const int *side : {Ccells, Ccelle, Ccelln, Ccellw, Ccellb, Ccellt}) {
    const int d = side[c];
    if (d > 0 && Conecell[d] == 0) ++u;
  }
  return u;
}

// Water cannot pass through a cell with at most one open neighbour unless a
// discharge group feeds it: such cells are marked, pass by pass, so that
// pockets and one-cell-wide dead ends are peeled from their closed end.
// Cinout still holds the group marks of the previous grid.
void markDeadEnds() {
  for (int pass = 0; pass < kDeadEndPasses; ++pass) {
    for (int c = 1; c <= NoCells; ++c) {
      const int u = unmarkedNeighbours(c);
      if (u == 0 || (u == 1 && Cinout[c] == 0)) Conecell[c] = 1;
    }
  }
}

// The cell of each time-series item: m+1 cells above the bottom cell of its
// column, the top cell of a shorter column, the bottom cell for a negative
// level or a column of one cell. Items outside the grid arrays are left alone.
void placeTimeSeriesCells() {
  for (int t = 0; t < TimePrintNo; ++t) {
    TimePrintSet &set = TimePrint[t];
    for (int n = 0; n < set.count; ++n) {
      TimePrintItem &item = set.item[n];
      if (item.i <= 0 || item.i > xnumber || item.j < 0 || item.j > ynumber) continue;
      const int bottom = static_cast<int>(zval[item.i][item.j][0]);
      int c = bottom;
      if (item.level >= 0 && Ccellt[bottom] != 0) {
        for (int up = 0; up <= item.level && Ccellt[c] != 0; ++up) c = Ccellt[c];
      }
      item.number = c;
    }
  }
}

int antlinSum(const GridBlock &b) {
  int sum = 0;
  for (int i = b.i1 - 1; i <= b.i2; ++i) {
    for (int j = b.j1 - 1; j <= b.j2; ++j) sum += antlin[i][j];
  }
  return sum;
}

void reportGrid() {
  if (debugging != 'Q' && FlagUnstrucWedge <= 0) return;
  logPrintf("End of Unstructure, Iter = %d, NoCells = %d\n", Iter, NoCells);
  logPrintf("Number of antlin points: %d, NoPoints: %d\n", NoBlocks >= 1 ? antlinSum(block[1]) : 0, NoPoints);
}

void warnWithoutCells() {
  if (NoCells != 0) return;
  logText("Warning: No cells were generated in grid\n");
  setStatus(mc_message, "Warning: No cells generated in grid. For 2D: remember F 159");
  if (FlagGridStab1 == 1) {
    logText("If you are generating a 2D width-averaged grid, you need need to modify the F 159 data set so that "
            "the 4th integer is 1\n");
  }
}

// The generator reads the column beyond j2; a block must end below ynumber.
void checkBlockSizes() {
  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].j2 >= ynumber) {
      fatalExit(kExitBlockAlloc, "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n");
    }
  }
}

// F 1 D: a cross-section of block 1 without cells cuts the river in two; it
// is reported with its profile, the grid is written for inspection and the
// run ends.
void checkGridSplit() {
  if (debugging != 'D' || NoBlocks < 1) return;
  const GridBlock &b = block[1];
  bool split = false;
  for (int i = b.i1; i <= b.i2; ++i) {
    bool wet = false;
    for (int j = b.j1; j <= b.j2; ++j) wet = wet || ant[i][j] > 0;
    if (wet) continue;
    split = true;
    logPrintf("Error: Grid split for cross-section no %d\n", i);
    logText("Cross-section profile: zval[1],zval[i][znumber],zval[i-1][znumber],Bminwaterlevel\n");
    for (int j = b.j1; j <= b.j2; ++j) {
      const double bed = zval[i][j][1], surface = zval[i][j][znumber], before = zval[i - 1][j][znumber];
      if (FlagNoGridSplit < 1) {
        logPrintf("%d %d %d %lf %lf %lf\n", j, pointbed[i][j], ant[i][j], bed, surface, before);
      } else {
        logPrintf("%d %d %d %lf %lf %lf %lf\n", j, pointbed[i][j], ant[i][j], bed, surface, before,
                  Bminwaterlevel[pointbed[i][j]]);
      }
    }
  }
  if (!split) return;
  sprintflow();
  FlagCrashGrid = 2;
  WriteUnstructure();
  fatalExit(kExitGridSplit, nullptr);
}

}  // namespace

int finishGrid() {
  if (FlagPresGrad == 20) edgeNeighbours();
  if (const int result = computeNestedArrays(); result != 0) return result;
  NoConnFlate = 0;
  WCStart = 1;
  WCEnd = NoCells;
  WFStart = 1;
  WFEnd = NoSurfaces;
  if (NoConnect > 0 && connectBlockSides() == kConnectListFull) return kConnectListFull;
  NoConnFlate0 = NoConnFlate;
  if (UnevenConnect > 0) connectUneven();
  linkBedCells();
  reshapeWaterEdge();
  appendSoilLayer();
  NoCells0 = NoCells;
  NoBlocks0 = NoBlocks;
  NoSurfaces0 = NoSurfaces;
  NoConnect0 = NoConnect;
  appendOneCellBlock();
  markDeadEnds();
  placeTimeSeriesCells();
  sampleBedStatistics();
  reportGrid();
  warnWithoutCells();
  checkBlockSizes();
  checkGridSplit();
  return 0;
}
