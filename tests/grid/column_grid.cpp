// The test stand-in for the grid generator.
#include "grid/column_grid.h"

#include <fstream>

#include <gtest/gtest.h>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"

void setLineLevels(int i, int j, const std::vector<double> &levels) {
  const int n = static_cast<int>(levels.size());
  for (int k = 1; k <= znumber - n; ++k) zval[i][j][k] = levels.front();
  for (int m = 0; m < n; ++m) zval[i][j][znumber - n + 1 + m] = levels[m];
}

void uniformLevels(int b, int lines) {
  const GridBlock &blk = block[b];
  for (int i = blk.i1 - 1; i <= blk.i2; ++i) {
    for (int j = blk.j1 - 1; j <= blk.j2; ++j) {
      const double bed = zval[i][j][1], surface = zval[i][j][znumber];
      std::vector<double> levels(lines);
      for (int m = 0; m < lines; ++m) levels[m] = bed + (surface - bed) * m / (lines - 1);
      setLineLevels(i, j, levels);
    }
  }
}

void setColumnCells(int b, int cells) {
  const GridBlock &blk = block[b];
  for (int i = blk.i1; i <= blk.i2; ++i) {
    for (int j = blk.j1; j <= blk.j2; ++j) ant[i][j] = cells;
  }
}

namespace {

void numberBlock(const GridBlock &blk) {
  for (int j = blk.j1; j <= blk.j2; ++j) {
    for (int i = blk.i1; i <= blk.i2; ++i) {
      const int n = ant[i][j];
      for (int k = 1; k <= znumber; ++k) num[i][j][k] = 0;
      zval[i][j][0] = n > 0 ? NoCells + 1 : 0;
      for (int m = 0; m < n; ++m) num[i][j][znumber - n + 1 + m] = NoCells + 1 + m;
      NoCells += n;
    }
  }
}

void buildCell(const GridBlock &blk, int i, int j, int k) {
  NewCell = NewCellRecord{};
  const int ci[4] = {i - 1, i, i, i - 1}, cj[4] = {j - 1, j - 1, j, j};
  for (int m = 0; m < 4; ++m) {
    NewCell.x[m + 1] = NewCell.x[m + 5] = xval[ci[m]][cj[m]];
    NewCell.y[m + 1] = NewCell.y[m + 5] = yval[ci[m]][cj[m]];
    NewCell.z[m + 1] = zval[ci[m]][cj[m]][k - 1];
    NewCell.z[m + 5] = zval[ci[m]][cj[m]][k];
  }
  NewCell.cell[1] = num[i][j - 1][k];
  NewCell.cell[2] = num[i + 1][j][k];
  NewCell.cell[3] = num[i][j + 1][k];
  NewCell.cell[4] = num[i - 1][j][k];
  NewCell.cell[5] = num[i][j][k - 1];
  NewCell.cell[6] = num[i][j][k + 1];
  if (i > blk.i1 && num[i - 1][j][k] > 0) NewCell.face[4] = Cflatee[num[i - 1][j][k]];
  if (j > blk.j1 && num[i][j - 1][k] > 0) NewCell.face[1] = Cflaten[num[i][j - 1][k]];
  if (k > 1) NewCell.face[5] = Cflatet[num[i][j][k - 1]];
  MakeCell(num[i][j][k]);
}

}  // namespace

void buildBlocks() {
  for (int b = 1; b <= NoBlocks; ++b) {
    const GridBlock &blk = block[b];
    numberBlock(blk);
    for (int j = blk.j1; j <= blk.j2; ++j) {
      for (int i = blk.i1; i <= blk.i2; ++i) {
        for (int k = znumber - ant[i][j] + 1; k <= znumber; ++k) buildCell(blk, i, j, k);
      }
    }
  }
  WCStart = WFStart = 1;
  WCEnd = NoCells;
  WFEnd = NoSurfaces;
  FlagHaveDoneMetric = 0;
  FlagGridHasChanged = 1;
  FlagNeedsToBeInterpolated = 1;
}

void readCaseGrid(const std::string &caseName, const std::string &extraControl) {
  const std::string text = caseFile(caseName, "control");
  ASSERT_FALSE(text.empty()) << "no case folder cases/" << caseName;
  ControlStream control(text + extraControl);
  kreadPass(control);
  ASSERT_EQ(sialloc(), 0);
  ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
  std::ofstream("koosurf", std::ios::binary) << caseFile(caseName, "koosurf");
  readKoosurf();
  ArmapMake();
}

namespace {

// The case folder and the grid lines of its columns (cells plus one).
struct CaseSize {
  const char *name;
  int lines;
};

CaseSize sizeOf(CaseGrid grid) {
  switch (grid) {
    case CaseGrid::Cube: return {"cube", 2};
    case CaseGrid::Column3: return {"column3", 4};
    default: return {"channel", 10};
  }
}

}  // namespace

const char *caseName(CaseGrid grid) { return sizeOf(grid).name; }

void buildCaseByHand(CaseGrid grid) {
  const CaseSize s = sizeOf(grid);
  readCaseGrid(s.name);
  if (::testing::Test::HasFatalFailure()) return;
  uniformLevels(1, s.lines);
  setColumnCells(1, s.lines - 1);
  buildBlocks();
}

void generateCase(CaseGrid grid) {
  const CaseSize s = sizeOf(grid);
  readCaseGrid(s.name);
  if (::testing::Test::HasFatalFailure()) return;
  Unstructure();
}

void generateStep() {
  readCaseGrid("step");
  if (::testing::Test::HasFatalFailure()) return;
  Unstructure();
}

void expectOneBlockRanges() {
  EXPECT_EQ(block[1].FirstCell, 1);
  EXPECT_EQ(block[1].LastCell, NoCells);
  EXPECT_EQ(block[1].FirstFace, 1);
  EXPECT_EQ(block[1].LastFace, NoSurfaces);
  EXPECT_EQ(block[1].FirstPoint, 1);
  EXPECT_EQ(block[1].LastPoint, NoPoints);
}

void expectClosedCells() {
  for (int c = 1; c <= NoCells; ++c) {
    const int plus[3] = {Cflatee[c], Cflaten[c], Cflatet[c]}, minus[3] = {Cflatew[c], Cflates[c], Cflateb[c]};
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (int m = 0; m < 3; ++m) {
      sx += Fax[plus[m]] - Fax[minus[m]];
      sy += Fay[plus[m]] - Fay[minus[m]];
      sz += Faz[plus[m]] - Faz[minus[m]];
    }
    EXPECT_NEAR(sx, 0.0, 1e-12) << "cell " << c;
    EXPECT_NEAR(sy, 0.0, 1e-12) << "cell " << c;
    EXPECT_NEAR(sz, 0.0, 1e-12) << "cell " << c;
  }
}

int facesFlagged(int flag) {
  int n = 0;
  for (int f = 1; f <= NoSurfaces; ++f) n += Fflagflow[f] == flag;
  return n;
}
