// The grid-sequencing driver (F 152) on the channel case (10 x 4 columns of
// nine cells): level 2 one cell per column, level 3 one per 2 x 2 group. The
// fields go down to the levels as column and group means and come back as
// corrections, k and epsilon kept positive; the cycles call the main driver
// coarsest level first, 20 times in the sediment loop without touching Iter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "flow/hydrostatic/layer_drivers.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "solvers/coarse_grid_levels.h"
#include "startup/entry.h"
#include "startup/operations.h"
#include "support/run_case.h"
#include "support/work_folder.h"

namespace {

class GridSequencing : public WorkFolderTest {
 protected:
  void generate(const char *caseName, const std::string &grid, const std::string &extra) {
    writeFile("control", "F 2 Y\n" + grid + extra);
    writeFile("koosurf", caseFile(caseName, "koosurf"));
    InitialFunction();
    base = NoBlocks;
    baseCells = NoCells;
    MGSCoarserGridMake2D();
  }
  static double *field(int v) {
    double *const f[6] = {Cxvel, Cyvel, Czvel, Cpres, Ckinen, Cepsilon};
    return f[v];
  }
  int base = 0, baseCells = 0;
};

TEST_F(GridSequencing, RestrictionAndProlongationByHand) {
  generate("channel", "G 1 13 7 11 1\n", "F 152 3\n");
  ASSERT_EQ(NoBlocks, base + 2);
  const GridBlock &two = block[base + 1], &three = block[base + 2];
  ASSERT_EQ(two.LastCell - two.FirstCell + 1, 40);
  ASSERT_EQ(three.LastCell - three.FirstCell + 1, 10);
  for (int v = 0; v < 6; ++v) {
    for (int c = 1; c <= baseCells; ++c) field(v)[c] = c + 1000.0 * v;
  }
  restrictFlowToLevels();
  // Level 2: the mean of the nine consecutive cells of the column.
  for (int n = two.FirstCell; n <= two.LastCell; ++n) {
    const int bottom = MGSCpoint[n][1];
    for (int v = 0; v < 6; ++v) ASSERT_DOUBLE_EQ(field(v)[n], bottom + 4 + 1000.0 * v) << n;
  }
  // Level 3: the mean of the four level-2 cells of the group.
  for (int n = three.FirstCell; n <= three.LastCell; ++n) {
    const int *m = MGSCpoint[n];
    ASSERT_DOUBLE_EQ(Cxvel[n], 0.25 * (Cxvel[m[1]] + Cxvel[m[2]] + Cxvel[m[3]] + Cxvel[m[4]])) << n;
  }

  // Level 3 moves u by 1 and sends k and epsilon below 0: the four cells
  // under each group take the change, k and epsilon their floors.
  const int group = three.FirstCell;
  const int *children = MGSCpoint[group];
  std::vector<double> before;
  for (int n = 1; n <= 4; ++n) {
    before.push_back(Cxvel[children[n]]);
    Ckinen[children[n]] = Cepsilon[children[n]] = 1.0 + 0.1 * n;
  }
  Cxvel[group] += 1.0;
  Ckinen[group] = Cepsilon[group] = -10.0;
  prolongFlowFromLevel(3);
  for (int n = 1; n <= 4; ++n) {
    EXPECT_DOUBLE_EQ(Cxvel[children[n]], before[n - 1] + 1.0);
    EXPECT_EQ(Ckinen[children[n]], ArtMinKinen);
    EXPECT_EQ(Cepsilon[children[n]], 1e-15);
  }
  // Level 2 moves p by 0.5: every cell of the column follows.
  const int column = two.FirstCell;
  Cpres[column] += 0.5;
  prolongFlowFromLevel(2);
  for (int c = MGSCpoint[column][1], k = 0; c > 0; c = Ccellt[c], ++k) EXPECT_DOUBLE_EQ(Cpres[c], c + 3000.0 + 0.5) << k;
  EXPECT_EQ(MGSGrid, 2);
}

// A column of one cell takes the coarse value itself.
TEST_F(GridSequencing, SingleCellColumnTakesTheCoarseValue) {
  generate("cube", "G 1 4 4 3 1\n", "F 152 2\n");
  const GridBlock &two = block[base + 1];
  ASSERT_GE(two.LastCell, two.FirstCell);
  for (int n = two.FirstCell; n <= two.LastCell; ++n) {
    const int cell = MGSCpoint[n][1];
    ASSERT_EQ(Ccellt[cell], 0);
    Cxvel[cell] = 5.0;
    Cxvel[n] = 7.25;
    Ckinen[cell] = 0.5;
    Ckinen[n] = 0.125;
  }
  prolongFlowFromLevel(2);
  for (int n = two.FirstCell; n <= two.LastCell; ++n) {
    EXPECT_EQ(Cxvel[MGSCpoint[n][1]], 7.25);
    EXPECT_EQ(Ckinen[MGSCpoint[n][1]], 0.125);
  }
}

std::vector<int> levelsSolved;
std::vector<int> rangeStarts;

TEST_F(GridSequencing, CyclesCoarsestFirstAndIterInTheSedimentLoop) {
  generate("channel", "G 1 13 7 11 1\n", "F 152 3\nK 1 2\n");
  operations.WaterSolve = [] {
    levelsSolved.push_back(MGSGrid);
    rangeStarts.push_back(WCStart);
  };
  FlagTSC = 1;
  Iter = 7;
  MGSsolver();
  EXPECT_EQ(Iter, 7);
  ASSERT_EQ(levelsSolved.size(), 60u);
  for (std::size_t n = 0; n < levelsSolved.size(); ++n) {
    ASSERT_EQ(levelsSolved[n], 3 - static_cast<int>(n % 3)) << n;
    const int level = levelsSolved[n];
    ASSERT_EQ(rangeStarts[n], level == 1 ? 1 : block[base + level - 1].FirstCell) << n;
  }
  levelsSolved.clear();
  FlagTSC = 0;
  MGSsolver();
  EXPECT_EQ(Iter, 2);
  EXPECT_EQ(levelsSolved.size(), 6u);
  EXPECT_EQ(MGSGrid, 1);
  EXPECT_EQ(BlockID, base);
  EXPECT_EQ(WCStart, 1);
  EXPECT_EQ(WCEnd, block[base].LastCell);
  operations = engineOperations();
}

// With the coarse fields from the start of the cycle, only what the level
// changed goes down: the finer cells keep their own means.
TEST_F(GridSequencing, ProlongationOfWhatTheSolveChanged) {
  generate("channel", "G 1 13 7 11 1\n", "F 152 3\n");
  const GridBlock &two = block[base + 1], &three = block[base + 2];
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = c, Ckinen[c] = 1.0;
  for (int level : {3, 2}) {
    const GridBlock &b = level == 3 ? three : two;
    std::vector<double> before[6];
    for (int v = 0; v < 6; ++v) before[v].assign(field(v) + two.FirstCell, field(v) + NoCells + 1);
    std::vector<double> finer(NoCells + 1);
    for (int c = 1; c <= NoCells; ++c) finer[c] = Cxvel[c];
    for (int n = b.FirstCell; n <= b.LastCell; ++n) Cxvel[n] += 0.25, Ckinen[n] -= 5.0;
    prolongFlowFromLevel(level, before);
    for (int n = b.FirstCell; n <= b.LastCell; ++n) {
      std::vector<int> cells;
      if (level == 3) {
        cells.assign(MGSCpoint[n] + 1, MGSCpoint[n] + 5);
      } else {
        for (int c = MGSCpoint[n][1]; c > 0; c = Ccellt[c]) cells.push_back(c);
      }
      for (int c : cells) {
        ASSERT_DOUBLE_EQ(Cxvel[c], finer[c] + 0.25) << level << " " << c;
        ASSERT_EQ(Ckinen[c], ArtMinKinen) << level << " " << c;
      }
    }
  }
}

// From the second cycle on a coarse level that its solve leaves alone does
// not pull the base grid back to its column means.
TEST_F(GridSequencing, LaterCyclesKeepTheBaseGridsOwnProgress) {
  generate("channel", "G 1 13 7 11 1\n", "F 152 2\nK 1 2\n");
  const int first = block[base + 1].FirstCell;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = c < first ? 0.0 : 0.5;
  operations.WaterSolve = [] {
    if (MGSGrid != 1) return;
    for (int c = WCStart; c <= WCEnd; ++c) Cxvel[c] += 0.125;
  };
  FlagTSC = 0;
  FlagInitialized = 0;
  MGSsolver();
  operations = engineOperations();
  // Cycle 1 sets every column mean to 0.5; each base-grid solve adds 0.125.
  for (int c = 1; c < first; ++c) ASSERT_DOUBLE_EQ(Cxvel[c], 0.75) << c;
}

}  // namespace
