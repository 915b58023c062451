// The grid generator: rebuilds the cells, faces and points of every block from
// the structured grid and the current bed and water levels, in place in the
// tables sized by F 65. Writes the counts, the cell, face and point tables, the
// column work arrays, MaxDepth, the block ranges and the finishing steps' tables.
#include <omp.h>

#include <algorithm>
#include <cstdio>

#include "files/grid_files/koosurf_writer.h"
#include "flow/drivers/flow_drivers.h"
#include "grid/blocks/appended_blocks.h"
#include "grid/generation/grid_build.h"
#include "grid/generation/grid_generation.h"
#include "grid/grid_services.h"
#include "grid/generation/second_generator.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "startup/control_writer.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Why the last generation returned a negative result.
enum class Failure { None, Allocation, TablesFull };
Failure lastFailure = Failure::None;

// Levels outside this band are taken as corrupted data by the F 369 check, m.
constexpr double kLowestLevel = -1000.0;
constexpr double kHighestLevel = 10000.0;

void clearColumnArrays() {
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      antlin[i][j] = ant[i][j] = antmin[i][j] = antmax[i][j] = vv[i][j] = 0;
      std::fill(num[i][j], num[i][j] + znumber + 2, 0);
    }
  }
  if (UMethod == 9) {
    for (int i = 0; i <= xnumber; ++i) {
      for (int j = 0; j <= ynumber; ++j) crackI[i][j] = crackJ[i][j] = vn[i][j] = 0;
    }
  }
}

// The slots any grid of this run has reached: the tables come zero-filled
// from the system, so the slots beyond these have never been written and
// need no clearing (the pages a run never uses stay untouched).
struct SlotsReached {
  int cells = 0, faces = 0, connections = 0;
};
SlotsReached reached;

// The slots up to and including count, the previous grid's, within the table.
int slotsUpTo(int &mark, int count, int capacity) {
  mark = std::max(mark, std::min(std::max(count, 0), capacity - 1) + 1);
  return std::min(mark, capacity);
}

// Links of every slot an earlier grid has reached, not only of the last grid,
// so that no entry of an earlier, larger grid survives.
void clearTables() {
  const int connections = slotsUpTo(reached.connections, NoConnFlate, MaxConnFlate);
  const int cells = slotsUpTo(reached.cells, NoCells, MaxCeller);
  const int faces = slotsUpTo(reached.faces, NoSurfaces, MaxFlater);
  for (int n = 0; n < connections; ++n) connFlate[n][0] = connFlate[n][1] = 0;
  for (int *t : {Cflates, Cflatee, Cflaten, Cflatew, Cflateb, Cflatet, Ccells, Ccelle, Ccelln, Ccellw, Ccellt, Ccellb,
                 CflagDim, Conecell, Ctrekant}) {
    std::fill(t, t + cells, 0);
  }
  if (QNFlag > 0) {
    for (int *t : {Cncells, Cncelle, Cncelln, Cncellw}) std::fill(t, t + cells, 0);
    for (int **t : {Cqncells, Cqncelle, Cqncelln, Cqncellw}) {
      for (int c = 0; c < cells; ++c) std::fill(t[c], t[c] + znumber, 0);
    }
  }
  for (int *t : {Fcell1, Fcell2, Fcell11, Fcell22, Fqndum}) std::fill(t, t + faces, 0);
}

// The largest depth of the base grid scales the vertical line counts; it only
// grows during a run, so a falling water level keeps the earlier resolution.
// F 209 fixes it. The soil layer holds no water: its thickness is no depth.
// The largest depth of the base grid found by the last survey.
double deepestBaseDepth = 0.0;

void surveyDepth() {
  double deepest = 0.0;
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    if (blk.BlockKind != 0 || blk.GridLevel != 0 || blk.LayerMark == 1) continue;
    for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
      for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
        deepest = std::max(deepest, zval[i][j][znumber] - zval[i][j][1]);
        if (FlagBugFind == 1) checkGridLevels(i, j);
      }
    }
  }
  deepestBaseDepth = deepest;
  if (deepest >= MaxDepth) MaxDepth = deepest;
  if (MaxDepth209 > 0.0) MaxDepth = MaxDepth209;
}

// The bottom cells of the previous grid are kept for the filters and the
// field transfer; the columns start without cells.
void keepBottomCells() {
  for (int i = 0; i <= xnumber; ++i) {
    for (int j = 0; j <= ynumber; ++j) {
      pointcell_old[i][j] = static_cast<int>(zval[i][j][0]);
      zval[i][j][0] = 0.0;
    }
  }
}

int largestNestLevel() {
  int level = 0;
  for (int b = 1; b <= NoBlocks; ++b) level = std::max(level, block[b].NestLevel);
  return level;
}

bool defaultGenerator() { return UMethod == 8 || UMethod == 11 || UMethod == 13 || UMethod == 38 || UMethod >= 100; }

// The tables are too small for the grid: the block is written back as
// "koosurf" files so that a coarser grid can be made, with the settings in
// "control.new", and the caller is told the largest count reached.
int tablesTooSmall() {
  lastFailure = Failure::TablesFull;
  const int result = -std::max({NoCells, NoSurfaces, NoPoints});
  std::FILE *log = std::fopen("boogie", "a");
  if (!log) {
    setStatus(mc_message, "cannot open file 'boogie' ");
    return result;
  }
  std::fclose(log);
  writekoosurf();
  writeControl();
  logText("Error: Unstructured arrays are too small. Increase with the F 65 data set.\n");
  logPrintf("NoPoints=%d, MaxPoints=%d\n", NoPoints, MaxPunkter);
  logPrintf("NoSurface=%d, MaxFlater=%d\n", NoSurfaces, MaxFlater);
  logPrintf("NoCells=%d, MaxCeller=%d\n", NoCells, MaxCeller);
  logText("The coordinates are written to the koosurf file. This can be imported in \n"
          "the Korvalin (Add block from koosurf)\n"
          "The NoMovePoints are written to the control.new file on the W 6 data sets.\n"
          "You may copy the W 6 data sets from control.new file into your control file.\n"
          "The control.new file does not contain all data sets, so don't use it to replace \n"
          "the control file.\n\n");
  return result;
}

enum class Generator { None, Default, QN, Member };

// F 137 layers every column on its own whatever F 64 says; otherwise F 64
// picks the default method, one of the other methods, or none.
Generator chooseGenerator() {
  if (QNFlag > 0) return Generator::QN;
  if (defaultGenerator()) return Generator::Default;
  if (otherGenerator(UMethod)) return Generator::Member;
  return Generator::None;
}

bool buildBlock(Generator g, GridBlock &blk) {
  switch (g) {
    case Generator::Default: return buildDefaultBlock(blk);
    case Generator::QN: return buildQNBlock(blk, deepestBaseDepth);
    case Generator::Member: return buildMemberBlock(blk, deepestBaseDepth);
    default: return true;
  }
}

// Builds the blocks in order; false when the tables filled up.
bool buildBlocks() {
  const Generator g = chooseGenerator();
  for (int b = 1; b <= NoBlocks; ++b) {
    GridBlock &blk = block[b];
    if (blk.BlockKind == 1) continue;
    blk.FirstCell = NoCells + 1;
    blk.FirstFace = NoSurfaces + 1;
    blk.FirstPoint = NoPoints + 1;
    if (!buildBlock(g, blk)) return false;
    blk.LastCell = NoCells;
    blk.LastFace = NoSurfaces;
    blk.LastPoint = NoPoints;
    if (g == Generator::Default) blk.WorkFlag = 1;
  }
  if (g == Generator::QN) fillQNLists();
  return true;
}

// F 488 serves only with its own two values, and builds no one-cell-per-column
// block for the hydrostatic, two-dimensional or shallow-water drivers.
void checkSecondGenerator() {
  if (UMethod2 > 2) {
    logText("Error for F 488 in control\n");
    fatalExit(kExitInconsistent, "Only 1 and 2 select the second grid generator\n\n");
  }
  if (Hydrostatic == 1 || Hydrostatic > 2 || FlagShallowWater == 1) {
    logText("Error for F 488 in control\n");
    fatalExit(kExitInconsistent, "F 488 cannot be used with F 68 or F 311\n\n");
  }
}

}  // namespace

int reportTablesTooSmall() { return tablesTooSmall(); }

// F 369: a level far outside any river, or not a number, is taken as
// corrupted data; the grid must not be built on it.
void checkGridLevels(int i, int j) {
  const double bed = zval[i][j][1], surface = zval[i][j][znumber];
  if (bed >= kLowestLevel && bed <= kHighestLevel && surface >= kLowestLevel && surface <= kHighestLevel) return;
  logPrintf("Bug found for z values in grid: (%d,%d), Iter = %d\n", i, j, Iter);
  logPrintf("Z levels: %lf %lf\n", bed, surface);
  fatalPrintf(kExitUnreadable, nullptr, "Iter = %d\n", Iter);
}

bool cellNumbersFull() { return NoCells >= MaxCeller - 1; }

bool noRoomForCell() { return NoSurfaces + 6 >= MaxFlater - 1 || NoPoints + 8 >= MaxPunkter - 1; }

// The whole grid is made again at every call. F 488 hands every generation
// to the second generator: 0 after it, or its failure; otherwise F 137 and
// the column methods of F 64 choose the generator of each block.
int Unstructure() {
  lastFailure = Failure::None;
  const double started = omp_get_wtime();
  if (debugging == 'P') otime[70] = started;
  if (UMethod2 > 0) {
    checkSecondGenerator();
    const int result = Unstructure2();
    if (result == -1) lastFailure = Failure::Allocation;
    if (result < -1) lastFailure = Failure::TablesFull;
    return result < 0 ? result : 0;
  }
  if (stimet < 0.001 || debugging == 'D') logPrintf("Generating grid with F 64 %d algorithm. \n", UMethod);
  if (FlagMPI > 0 && MaxDepth209 < 0.0) {
    logText("Error: the F 209 data set has to be used when generating mpi grids\n");
  }
  double allocated = 0.0;
  if (!Cxvel) allocated = AllocateArrays(50001, 50001, 50001);
  nestlevmax = largestNestLevel();
  if (allocated < -0.01) {
    logText("Error in allocation of arrays. The array size is probably\n"
            "larger than what is available of memory on your computer\n\n");
    setStatus(mc_message, " Error in array allocation       ");
    lastFailure = Failure::Allocation;
    return -1;
  }

  // The previous grid's counts tell which slots need clearing.
  clearTables();
  NoPoints = NoCells = NoSurfaces = 0;
  FlagGridHasChanged = 1;
  FlagNeedsToBeInterpolated = 1;
  clearColumnArrays();
  surveyDepth();
  keepBottomCells();
  ArmapMake();
  if (MinVertDist0 < 0.0) computeF94();
  // The extra layer of the last generation is appended again at its end.
  if ((FlagThixo >= 2 || FlagGroundwater > 0) && NoBlocks > 1 && block[NoBlocks].LayerMark == 1) --NoBlocks;
  if (TetI1 > 0 && NoBlocks < 9) UnstrucTett();

  if (!buildBlocks()) return tablesTooSmall();
  if (const int result = finishGrid(); result != 0) {
    lastFailure = Failure::TablesFull;
    return result;
  }

  // The generated inflow and outflow ends are mapped on the first grid; later
  // grids get them again when the fields are carried over.
  if ((FlagGenerateUpFlux > 0 || FlagGenerateDownFlux > 0) && DischargeStruct[1].faceCount <= 0) setFluxes();
  if (stimet < 0.001 || debugging == 'D') logPrintf("End Unstructure %d cells\n", NoCells);
  if (debugging == 'P') {
    const double elapsed = omp_get_wtime() - started;
    logPrintf("Grid genereation time: %lf seconds at %lf seconds\n", elapsed, started - otime[0]);
    otimeGridsolve += elapsed;
  }
  FlagHaveDoneMetric = 0;
  return 1;
}

// A grid that stopped half-built must not be computed on.
void endOnGridFailure(int result) {
  if (result >= 0) return;
  fatalExit(lastFailure == Failure::Allocation ? kExitUnreadable : kExitTableFull, nullptr);
}
