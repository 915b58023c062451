// The second grid generator (F 488): resets the tables, sizes the two zones
// of every vertical line, builds the blocks from shared points and faces and
// finishes the grid (work ranges, nesting lists, bed cells, collapsed cells,
// extra layer). Writes the cell, face and point tables and the column arrays.
#include <algorithm>
#include <cmath>

#include "flow/drivers/flow_drivers.h"
#include "grid/water_edge/edge_and_layer.h"
#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "grid/generation/second_generator.h"
#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/threads.h"
#include "model/work_ranges.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Extent of the base grid's levels: highest surface, lowest bed, largest depth.
struct LevelRange {
  double highest = -1e20, lowest = 1e20, deepest = 0.0;
};

LevelRange surveyLevels() {
  LevelRange r;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0 || blk.GridLevel != 0) continue;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        const double bed = zval[i][j][1], surface = zval[i][j][znumber];
        r.highest = std::max(r.highest, surface);
        r.lowest = std::min(r.lowest, bed);
        r.deepest = std::max(r.deepest, surface - bed);
        if (FlagBugFind == 1) checkGridLevels(i, j);
      }
    }
  }
  return r;
}

// The fixed levels of the upper zone span the whole grid, from the lowest bed
// to the highest surface, spaced by the power F 510; "G 3" levels stay as read.
void fixedLevels(const LevelRange &r) {
  if (FlagReadG3 != 0 || UMethod2 != 1 || znumber <= 1) return;
  for (int k = 1; k <= znumber; ++k) {
    zdistrib[k] = std::pow(static_cast<double>(k - 1) / (znumber - 1), GridDistCoeff2) * (r.highest - r.lowest) + r.lowest;
  }
}

int largestNestLevel() {
  int level = 0;
  for (int b = 1; b <= NoBlocks; ++b) level = std::max(level, block[b].NestLevel);
  return level;
}

bool extraLayer() { return FlagThixo >= 2 || FlagGroundwater >= 1; }

void removeOutBlocked(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      if (bedOutBlock[i][j] == 1) ant[i][j] = 0;
    }
  }
}

void lowerZoneWithinColumn(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) antT[i][j] = std::min(antT[i][j], ant[i][j]);
  }
}

void largestCornerCount(const GridBlock &b) {
  for (int j = b.j1; j <= b.j2; ++j) {
    for (int i = b.i1; i <= b.i2; ++i) {
      ant[i][j] = std::max({antlin[i - 1][j - 1], antlin[i][j - 1], antlin[i][j], antlin[i - 1][j]}) - 1;
    }
  }
}

// Line and cell counts of one block, then its points, cells and faces.
// F 492 1 has nothing to act on here: its pass tests the per-column antmax,
// which only the main generator fills, so it changes no line count.
void buildBlock(GridBlock &b, double s) {
  b.FirstCell = NoCells + 1;
  b.FirstFace = NoSurfaces + 1;
  b.FirstPoint = NoPoints + 1;
  NestNoRatioLoc = b.NestLevel == 1 ? 1.0 : NestNoRatio;
  if (GridRoughnessParam <= 1e-5 || !Broughness || pointbed[b.i1][b.j1] == 0) {
    secondLineCounts(s, b.i1, b.i2, b.j1, b.j2);
  } else {
    computeAntlinRoughness(s, b.i1, b.i2, b.j1, b.j2);
  }
  Grid1Stability(b.i1, b.i2, b.j1, b.j2);
  if (FlagTriangle10 > 0) {
    largestCornerCount(b);
    UnstrucTriangular10();
  }
  secondColumnCounts(b.i1, b.i2, b.j1, b.j2);
  if (FlagGridStabFix1 == 2) {
    stabiliseEdgeLines(b.i1, b.i2, b.j1, b.j2);
    secondColumnCounts(b.i1, b.i2, b.j1, b.j2);
  }
  if (OutBlockNo > 0) removeOutBlocked(b);
  if (FlagOrderRemovePonds > 0) Grid2Stability(b.i1, b.i2, b.j1, b.j2);
  if (FlagRemovePonds > 1000) makeRidge();
  if (FlagRemovePonds > 0 && NoBCells > 0) removePonds();
  if (FlagOrderRemovePonds == 0 || FlagRemovePonds == 2) Grid2Stability(b.i1, b.i2, b.j1, b.j2);
  lowerZoneWithinColumn(b);
  buildSecondBlock(b);
  b.LastCell = NoCells;
  b.LastFace = NoSurfaces;
  b.LastPoint = NoPoints;
  b.WorkFlag = 1;
}

// On the first grid of a run the bed cells are numbered block by block, i
// outer and j inner, dry columns included; later grids keep the numbering and
// BedMake links the cells above the bottom ones.
void numberBedCells() {
  const std::int64_t capacity = bedCellCapacity();
  const bool bottomList = FlagTFS == 0 && FlagTSC == 0;
  int n = 0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind == 1) continue;
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        if (n + 1 >= capacity) {
          fatalExit(kExitTableFull,
                    "Error, too many bed cells: increase the 1st and 2nd integer on G 1 data set\n\n");
        }
        ++n;
        pointbed[i][j] = n;
        Cbed[pointcell[i][j]] = n;
        Bkooi[n] = i;
        Bkooj[n] = j;
        if (bottomList) Bcellt[n] = pointcell[i][j];
      }
    }
  }
}

void linkBedCells() {
  if (Cbed) {
    if (Iter < 2) numberBedCells();
    Cbed[0] = Bkooi[0] = Bkooj[0] = 0;
  }
  zval[0][0][1] = zval[0][0][znumber] = 0.0;
}

void appendExtraLayer() {
  if (!extraLayer()) return;
  if (FlagThixo == 0 && FlagGroundwater >= 1) logText("Warning: F 262 data is set without setting slide data set F 236\n\n");
  if (FlagThixoGrid != 0) {
    UnstrucThixo2(1);
  } else if (UnstrucThixo3(1) != 0) {
    fatalExit(kExitUnreadable, nullptr);
  }
}

// F 548: a column of two or more cells beside a column of one cell marks a
// triangular edge of the bed.
void markTriangularEdges() {
  if (FlagTriEdges <= 0 || !Btriedges) return;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    for (int i = blk.i1; i <= blk.i2; ++i) {
      for (int j = blk.j1; j <= blk.j2; ++j) {
        const bool edge = ant[i][j] >= 2 &&
                          (ant[i - 1][j] == 1 || ant[i + 1][j] == 1 || ant[i][j + 1] == 1 || ant[i][j - 1] == 1);
        Btriedges[pointbed[i][j]] = edge ? ant[i][j] : 0;
      }
    }
  }
  Btriedges[0] = 1;
}

}  // namespace

void setArraysZeroUnstruc() {
  NoPoints = NoCells = NoSurfaces = 0;
  FlagGridHasChanged = 1;
  FlagNeedsToBeInterpolated = 1;
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      pointcell_old[i][j] = pointcell[i][j];
      antlin[i][j] = antlinT[i][j] = ant[i][j] = antT[i][j] = 0;
      pointint[i][j] = pointcell[i][j] = intSurfI[i][j] = intSurfJ[i][j] = intSurfK[i][j] = 0;
      std::fill(num[i][j], num[i][j] + znumber + 2, 0);
      const double bed = zval[i][j][1], surface = zval[i][j][znumber];
      if (UMethod2 == 1) TurbTop[i][j] = std::min(bed + TurbThick, surface);
      if (UMethod2 == 2) TurbTop[i][j] = surface;
    }
  }
  for (int n = 0; n < MaxConnFlate; ++n) connFlate[n][0] = connFlate[n][1] = 0;
  for (int *t : {Cflates, Cflatee, Cflaten, Cflatew, Cflateb, Cflatet, Ccells, Ccelle, Ccellw, Ccelln, Ccellt, Ccellb,
                 CflagDim, Conecell, Ctrekant, Cpoint1, Cpoint2, Cpoint3, Cpoint4, Cpoint5, Cpoint6, Cpoint7,
                 Cpoint8}) {
    std::fill(t, t + MaxCeller, 0);
  }
  if (QNFlag > 0) {
    for (int *t : {Cncells, Cncelle, Cncellw, Cncelln}) std::fill(t, t + MaxCeller, 0);
    for (int **t : {Cqncells, Cqncelle, Cqncellw, Cqncelln}) {
      for (int c = 0; c < MaxCeller; ++c) std::fill(t[c], t[c] + znumber, 0);
    }
  }
  for (int *t : {Fcell1, Fcell2, Fcell11, Fcell22, Ftype1, Ftype2, Fqndum}) std::fill(t, t + MaxFlater, 0);
  for (int i = 0; i <= xnumber; ++i) {
    for (int j = 0; j <= ynumber; ++j) zval[i][j][0] = 0.0;
  }
}

// Every regeneration of an F 488 run comes here instead of the main generator.
// It makes no connections between blocks and no one-cell-per-column block.
int Unstructure2() {
  if (debugging == 'P') otime[70] = wallClock();
  setStatus(mc_message, "Unstructure2 grid generation");
  if (stimet < 0.001 || debugging == 'D') logPrintf("Generating grid with F 64 %d algorithm2. \n", UMethod);
  if (FlagMPI >= 1 && MaxDepth209 < 0.0) {
    logText("Error: the F 209 data set has to be used when generating mpi grids\n");
  }
  double allocated = 0.0;
  if (!Cxvel) allocated = AllocateArrays(50001, 50001, 50001);
  nestlevmax = largestNestLevel();
  if (allocated < -0.01) {
    logText("Error in allocation of arrays. The array size is probably\n"
            "larger than what is available of memory on your computer\n\n");
    setStatus(mc_message, " Error in array allocation       ");
    return -1;
  }
  setArraysZeroUnstruc();

  const LevelRange levels = surveyLevels();
  MaxDepth = std::max(MaxDepth, levels.deepest);
  if (MaxDepth209 > 0.0) MaxDepth = MaxDepth209;
  const double s = 1.0 / (MaxDepth + 1e-10);
  fixedLevels(levels);
  ArmapMake();
  if (MinVertDist0 < 0.0) computeF94();
  // The extra layer of the last generation is appended again at the end.
  if (extraLayer() && NoBlocks >= 2 && block[NoBlocks].LayerMark == 1) --NoBlocks;

  for (int b = 1; b <= NoBlocks; ++b) {
    if (block[b].BlockKind != 1) buildBlock(block[b], s);
  }

  WCStart = 1;
  WCEnd = NoCells;
  WFStart = 1;
  WFEnd = NoSurfaces;
  if (debugging == 'D') gridTest();
  if (const int result = computeNestedArrays(); result != 0) return result;
  linkBedCells();
  reshapeWaterEdge();
  appendExtraLayer();
  NoBlocks0 = NoBlocks;
  NoCells0 = NoCells;
  NoSurfaces0 = NoSurfaces;
  NoConnect0 = NoConnect;
  if ((FlagGenerateUpFlux > 0 || FlagGenerateDownFlux > 0) && DischargeStruct[1].faceCount <= 0) setFluxes();
  markTriangularEdges();
  FlagHaveDoneMetric = 0;
  setStatus(mc_message, "End Unstructure2");
  return 1;
}
