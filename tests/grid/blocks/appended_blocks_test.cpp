// The blocks the generator appends: the refined patch of F 130 with its
// transition ring and connection records, the one-cell-per-column block of
// F 68 and F 311, and the soil layer of F 236 and F 262 under block 1.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "grid/generation/grid_build.h"
#include "grid/grid_fixture.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/grid_index.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/control_reader.h"
#include "startup/control_stream.h"
#include "support/run_case.h"

namespace {

class AppendedBlocks : public GridFixture {
 protected:
  // The control text read over the defaults and the given "koosurf" read
  // into block 1, as the letter Y does before it generates; the
  // non-erodible level 10 m below the bed, as the default block lays it.
  static void readCase(const std::string &control, const std::string &koosurf) {
    ControlStream stream(control);
    kreadPass(stream);
    ASSERT_EQ(sialloc(), 0);
    ASSERT_GT(AllocateArrays(1, 1, 1), 0.0);
    writeFile("koosurf", koosurf);
    readKoosurf();
    for (int i = 0; i <= xnumber + 1; ++i) {
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = zval[i][j][1] - 10.0;
    }
  }
  static void generate() {
    ASSERT_EQ(Unstructure(), 1);
    metric();
    BedMake();
  }
};

// "koosurf" of the channel moved in plan.
std::string movedChannel(double dx, double dy) {
  std::string out;
  for (const std::string &line : linesOf(caseFile("channel", "koosurf"))) {
    int i, j;
    double x, y, bed, surface;
    if (std::sscanf(line.c_str(), "%d %d %lf %lf %lf %lf", &i, &j, &x, &y, &bed, &surface) != 6) continue;
    char text[200];
    std::snprintf(text, sizeof text, "%d %d %.3f %.3f %.3f %.3f\n", i, j, x + dx, y + dy, bed, surface);
    out += text;
  }
  return out;
}

const char *kPatchControl = "F 2 Y\nG 1 15 20 11 1\nF 130 5 6 3 4\n";

TEST_F(AppendedBlocks, RefinedPatchBlockAndRecords) {
  readCase(kPatchControl, caseFile("channel", "koosurf"));
  generate();
  ASSERT_EQ(NoBlocks, 2);
  const GridBlock &b = block[2];
  EXPECT_EQ(b.i1, 2);
  EXPECT_EQ(b.i2, 13);
  EXPECT_EQ(b.j1, 7);
  EXPECT_EQ(b.j2, 18);
  EXPECT_EQ(b.NestLevel, 2);
  EXPECT_EQ(b.k1, 1);
  EXPECT_EQ(b.k2, 11);
  EXPECT_EQ(b.KoosurfFlag, 1);
  EXPECT_EQ(b.ExtraFlag, 0);
  EXPECT_EQ(b.RefSearchFlag, 1);
  EXPECT_EQ(b.BlockKind, 0);
  for (int i = 2; i <= 11; ++i) {
    for (int j = 2; j <= 5; ++j) {
      const bool cut = i >= 4 && i <= 7;
      EXPECT_EQ(bedOutBlock[i][j], cut ? 1 : 0) << i << "," << j;
      EXPECT_EQ(zval[i][j][0] > 0.0, !cut) << i << "," << j;
    }
  }
  const int records[12][4] = {{3, 2, 7, 8},     {3, 3, 7, 1},    {2, 3, 8, 1},    {12, 11, 16, 17},
                              {12, 7, 16, 5},   {11, 7, 17, 5},  {11, 12, 7, 8},  {11, 7, 7, 1},
                              {12, 7, 8, 1},    {2, 3, 16, 17},  {2, 3, 16, 5},   {3, 3, 17, 5}};
  ASSERT_EQ(NoConnect, 12);
  for (int n = 0; n < 12; ++n) {
    for (int k = 0; k < 4; ++k) EXPECT_EQ(conn[n][k], records[n][k]) << "record " << n + 1 << " field " << k + 1;
  }
  // Offset (2, 2) of the first quad: a third of the way from (0, 2) to the
  // quad's east side, at x = 2 + 2/3, y = 2/3.
  EXPECT_NEAR(xval[3][8], 2.0 + 2.0 / 3.0, 1e-9);
  EXPECT_NEAR(yval[3][8], 2.0 / 3.0, 1e-9);
  // The open ring columns join the base grid through the records.
  EXPECT_GT(NoConnFlate, 0);

  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoBlocks, 2);
  EXPECT_EQ(NoConnect, 12);
}

TEST_F(AppendedBlocks, RefinedPatchStaysInPlaceAtRealCoordinates) {
  readCase(kPatchControl, movedChannel(500000.0, 6600000.0));
  ASSERT_EQ(Unstructure(), 1);
  EXPECT_NEAR(xval[3][8], 500000.0 + 2.0 + 2.0 / 3.0, 1e-6);
  EXPECT_NEAR(yval[3][8], 6600000.0 + 2.0 / 3.0, 1e-6);
}

// F 68 1: one cell per wet column after the 360 cells of the channel.
TEST_F(AppendedBlocks, HydrostaticBlock) {
  readCase("F 2 Y\nG 1 13 7 11 1\nF 68 1\n", caseFile("channel", "koosurf"));
  generate();
  ASSERT_EQ(NoBlocks, 2);
  EXPECT_EQ(block[2].BlockKind, 1);
  EXPECT_EQ(block[2].FirstCell, 361);
  EXPECT_EQ(block[2].LastCell, 400);
  EXPECT_EQ(NoCells, 400);
  EXPECT_EQ(NoCells0, 360);
  EXPECT_EQ(NoBlocks0, 1);
  EXPECT_EQ(WCStart, 361);
  EXPECT_EQ(WCEnd, 400);
  for (int j = 2; j <= 5; ++j) {
    for (int i = 2; i <= 11; ++i) {
      const int c = 361 + 10 * (j - 2) + (i - 2);
      EXPECT_EQ(num[i][j][1], c);
      EXPECT_EQ(CflagDim[c], 1);
      EXPECT_NEAR(Cvol[c], 1.0, 1e-12);
      EXPECT_EQ(Cbed[c], pointbed[i][j]) << c;
      // The three-dimensional cells keep their own column.
      EXPECT_EQ(Cbed[static_cast<int>(zval[i][j][0])], pointbed[i][j]);
      EXPECT_EQ(Ccellb[c], 0);
      EXPECT_EQ(Ccellt[c], 0);
      EXPECT_EQ(Ccelle[c], i < 11 ? c + 1 : 0);
      EXPECT_EQ(Ccelln[c], j < 5 ? c + 10 : 0);
    }
  }
  EXPECT_EQ(Bnocells[pointbed[2][2]], 9);

  ASSERT_EQ(Unstructure(), 1);
  EXPECT_EQ(NoBlocks, 2);
  EXPECT_EQ(block[2].FirstCell, 361);
  EXPECT_EQ(block[2].LastCell, 400);
}

// F 311 1: every column of block 1 gets a cell, the dry bank row too, with a
// least height above its bed; the cell becomes the column's bottom cell.
TEST_F(AppendedBlocks, ShallowWaterBlockCoversDryColumns) {
  readCase("F 2 Y\nG 1 13 7 11 1\nF 311 1\n", caseFile("bank", "koosurf"));
  for (int i = 1; i <= 11; ++i) {
    for (int j = 1; j <= 5; ++j) zval[i][j][znumber] = 0.5;
  }
  generate();
  ASSERT_EQ(NoBlocks, 2);
  EXPECT_EQ(block[2].BlockKind, 1);
  EXPECT_EQ(NoCells0, 180 + 90);
  EXPECT_EQ(NoCells - NoCells0, 40);
  for (int i = 2; i <= 11; ++i) {
    const int dry = num[i][5][1];
    EXPECT_EQ(zval[i][5][0], dry);
    EXPECT_GE(Cvol[dry], MinVertDist0 - 1e-12);
    EXPECT_GT(Cvol[dry], 0.0);
    EXPECT_EQ(Bcellt[pointbed[i][5]], dry);
  }
}

TEST(AppendedBlocksRun, HydrostaticGridFile) {
  CaseSetup s;
  s.files["control"] = "F 2 YH\nG 1 13 7 11 1\nF 68 1\n";
  s.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "End Unstructure 400 cells\n")) << r.file("boogie");
  EXPECT_EQ(linesOf(r.file("unstruc")).at(0), "3 360 1246 1 0 0 0 660");
}

// A one-cell block that does not fit the tables of F 65 ends the run: the
// flow cannot be computed on a half-built block.
TEST(AppendedBlocksRun, HydrostaticBlockTooLargeForF65) {
  CaseSetup s;
  s.files["control"] = "F 2 YH\nG 1 13 7 11 1\nF 68 1\nF 65 395 80000 50000 10000 1000\n";
  s.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 254);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error: Unstructured arrays are too small. Increase with the F 65 data set.\n"
                                         " \t\t\t\tNoPoints, NoSurfaces, NoCells = 550 1246 400\n"))
      << r.file("boogie");
  EXPECT_FALSE(r.has("unstruc"));
}

// The patch must fit the structured arrays: nothing is appended.
TEST(AppendedBlocksRun, RefinedPatchTooLargeForG1) {
  CaseSetup s;
  s.files["control"] = "F 2 YH\nG 1 13 7 11 1\nF 130 5 6 3 4\n";
  s.files["koosurf"] = caseFile("channel", "koosurf");
  const CaseResult r = runCase(s);
  EXPECT_EQ(r.status, 252);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error, increase the G 1 values in control file and try again\n"
                                         "The two first integers on G 1 data set should be at least 15 20\n"))
      << r.file("boogie");
  EXPECT_FALSE(r.has("unstruc"));
}

// ---- The soil layer ----

const char *kLayerControl = "F 2 Y\nG 1 13 13 11 1\n";

TEST_F(AppendedBlocks, SoilLayerOnTheFirstGrid) {
  readCase(std::string(kLayerControl) + "F 236 2 0 0 0.8\n", caseFile("channel", "koosurf"));
  generate();
  ASSERT_EQ(NoBlocks, 2);
  const GridBlock &b = block[2];
  EXPECT_EQ(b.LayerMark, 1);
  EXPECT_EQ(b.i1, 2);
  EXPECT_EQ(b.i2, 11);
  EXPECT_EQ(b.j1, 8);
  EXPECT_EQ(b.j2, 11);
  EXPECT_EQ(SurfUpdate[2], 0);
  EXPECT_EQ(NoCells, 400);
  EXPECT_EQ(NoCells0, 400);
  EXPECT_EQ(NoBCells, 80);
  for (int j = 8; j <= 11; ++j) {
    for (int i = 2; i <= 11; ++i) {
      const int c = 361 + 10 * (j - 8) + (i - 2);
      EXPECT_EQ(zval[i][j][0], c);
      EXPECT_NEAR(Cvol[c], 10.0, 1e-9);
      EXPECT_NEAR(Czcenter[c], -5.0, 1e-9);
      EXPECT_EQ(Ccellt[c], 0);
      EXPECT_EQ(Cbed[c], pointbed[i][j]);
      EXPECT_EQ(Bnocells[pointbed[i][j]], 1);
    }
  }
  EXPECT_EQ(pointbed[2][8], 41);
  // A second grid reuses the record.
  generate();
  EXPECT_EQ(NoBlocks, 2);
  EXPECT_EQ(NoCells, 400);
  EXPECT_EQ(NoBCells, 80);
}

// F 289 second value 1: the unsplit layer, graded over its whole thickness
// (10 m against a largest depth of 1 m: every grid line, ten 1 m cells).
TEST_F(AppendedBlocks, UnsplitLayer) {
  readCase(std::string(kLayerControl) + "F 236 2 0 0 0.8\nF 289 0 1 0 0\n", caseFile("channel", "koosurf"));
  generate();
  ASSERT_EQ(NoBlocks, 2);
  EXPECT_EQ(block[2].LayerMark, 1);
  EXPECT_EQ(NoCells, 760);
  EXPECT_EQ(zval[2][8][0], 361);
  const int b = pointbed[2][8];
  EXPECT_EQ(Bnocells[b], 10);
  for (int c = 361; c <= 370; ++c) EXPECT_NEAR(Cvol[c], 1.0, 1e-9) << c;
  EXPECT_NEAR(Czcenter[361], -9.5, 1e-9);
}

// On a later grid the layer splits at the mobile layer's level, never above
// the bed; F 236 3 moves the layer as one block, with one cell above the split.
struct SplitCase {
  const char *name;
  const char *f236;
  int cellsAbove;  // of an inner layer column
};

class SplitLayer : public AppendedBlocks, public ::testing::WithParamInterface<SplitCase> {};

TEST_P(SplitLayer, CellsAboveTheSplit) {
  const SplitCase &t = GetParam();
  readCase(std::string(kLayerControl) + t.f236, caseFile("channel", "koosurf"));
  generate();
  for (int b = block[2].FirstBedCell; b <= block[2].LastBedCell; ++b) {
    Bthixolev[b] = -2.0;
    Bcellth[b] = 1;
  }
  Iter = 2;
  generate();
  // Inner grid points split at -2, the outer ones stay on the bed.
  EXPECT_DOUBLE_EQ(Surfaces[5][5][9], -2.0);
  EXPECT_DOUBLE_EQ(Surfaces[5][5][9 - 6], -2.0);
  EXPECT_DOUBLE_EQ(Surfaces[5][1][9], 0.0);
  const int b = pointbed[6][10];
  EXPECT_EQ(Bnocells[b], 1 + t.cellsAbove);
  const int bottom = Bcellt[b];
  EXPECT_NEAR(Czcenter[bottom], -6.0, 1e-9);
  const int lowest = Ccellt[bottom];
  ASSERT_GT(lowest, 0);
  EXPECT_EQ(Ccellb[lowest], 0);
  double height = 0.0;
  for (int c = lowest; c > 0; c = Ccellt[c]) height += 2.0 * Ckdist[c];
  EXPECT_NEAR(height, 2.0, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(Layer, SplitLayer,
                         ::testing::Values(SplitCase{"Graded", "F 236 2 0 0 0.8\n", 9},
                                           SplitCase{"BlockSlide", "F 236 3 0 0 0.8\n", 1}),
                         [](const auto &info) { return std::string(info.param.name); });

CaseSetup layerCase(const std::string &control) {
  CaseSetup s;
  s.files["control"] = control;
  s.files["koosurf"] = caseFile("channel", "koosurf");
  return s;
}

TEST(SoilLayerRun, GroundwaterAloneBuildsTheLayerWithAWarning) {
  const CaseResult r = runCase(layerCase("F 2 YH\nG 1 13 13 11 1\nF 262 1 5.3e-6\n"));
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Warning: F 262 data is set without setting slide data set F 236\n\n"
                                         "End Unstructure 400 cells\n"))
      << r.file("boogie");
  EXPECT_EQ(linesOf(r.file("unstruc")).at(0).substr(0, 10), "3 400 1420");
}

TEST(SoilLayerRun, LayerRowsBeyondG1) {
  const CaseResult r = runCase(layerCase("F 2 YH\nG 1 13 7 11 1\nF 236 2 0 0 0.8\n"));
  EXPECT_EQ(r.status, 212);
  EXPECT_TRUE(endsWith(r.file("boogie"), "Error in allocation of blocks: increase 2nd integer on G 1 data set\n\n"))
      << r.file("boogie");
  EXPECT_FALSE(r.has("unstruc"));
  EXPECT_FALSE(r.has("koosurf.1"));
}

TEST(SoilLayerRun, LayerTooLargeForF65) {
  const CaseResult r = runCase(layerCase("F 2 YH\nG 1 13 13 11 1\nF 236 2 0 0 0.8\nF 65 390 80000 50000 10000 1000\n"));
  EXPECT_EQ(r.status, 255);
  EXPECT_TRUE(endsWith(r.file("boogie"),
                       "Error: Unstructured arrays are too small. Increase with the F 65 data set.\n"
                       "NoPoints=550, MaxPoints=50000\n"
                       "NoSurface=1246, MaxFlater=80000\n"
                       "NoCells=400, MaxCeller=390\n"
                       "The coordinates are written to the koosurf file. This can be imported in \n"
                       "the Korvalin (Add block from koosurf)\n"
                       "The NoMovePoints are written to the control.new file on the W 6 data sets.\n"
                       "You may copy the W 6 data sets from control.new file into your control file.\n"
                       "The control.new file does not contain all data sets, so don't use it to replace \n"
                       "the control file.\n\n"))
      << r.file("boogie");
  EXPECT_TRUE(r.has("control.new"));
}

TEST(SoilLayerRun, LayerRefusedUnderTheOneCellBlock) {
  for (const char *oneCell : {"F 68 1\n", "F 311 1\n"}) {
    const CaseResult r = runCase(layerCase(std::string("F 2 YH\nG 1 13 13 11 1\nF 236 2 0 0 0.8\n") + oneCell));
    EXPECT_EQ(r.status, 251) << oneCell;
    EXPECT_TRUE(endsWith(r.file("boogie"),
                         "Error: the layer of F 236/F 262 cannot be combined with the one-cell block of F 68/F 311\n"))
        << r.file("boogie");
  }
}

// Where fewer than three of the four columns around a grid point slide, the
// split stays on the bed; F 339 numbers every bottom cell of the layer first.
TEST_F(AppendedBlocks, PartialSlideAndBottomCellsFirst) {
  readCase(std::string(kLayerControl) + "F 236 2 0 0 0.8\nF 339 1\n", caseFile("channel", "koosurf"));
  generate();
  for (int i = 2; i <= 11; ++i) {
    for (int j = 8; j <= 11; ++j) {
      Bthixolev[pointbed[i][j]] = -2.0;
      Bcellth[pointbed[i][j]] = i <= 5 ? 1 : 0;
    }
  }
  Iter = 2;
  generate();
  EXPECT_DOUBLE_EQ(Surfaces[5][4][9], -2.0);
  EXPECT_DOUBLE_EQ(Surfaces[5][5][9], 0.0);
  EXPECT_DOUBLE_EQ(Surfaces[5][6][9], 0.0);
  for (int j = 8; j <= 11; ++j) {
    for (int i = 2; i <= 11; ++i) EXPECT_EQ(zval[i][j][0], 361 + 10 * (j - 8) + (i - 2)) << i << "," << j;
  }
  EXPECT_GT(NoCells, 400);
  EXPECT_GT(Ccellt[static_cast<int>(zval[4][9][0])], 400);
  EXPECT_EQ(Ccellt[static_cast<int>(zval[8][9][0])], 0);
}

}  // namespace
