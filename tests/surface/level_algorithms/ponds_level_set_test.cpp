// Pond reduction and the level-set surface of F 36 50: in-process on the
// generated channel (levels lowered or left, the column change of a vertical
// flux, the corner means, the face coefficients and weights), and the
// straight channel run through the binary with the level-set update.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "files/channel_fields.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/control_reader.h"
#include "support/run_case.h"
#include "support/work_folder.h"
#include "surface/level_algorithms/level_set.h"
#include "surface/surface_services.h"

namespace {

class PondReduction : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel("F 379 1 5.0 0.001\nF 94 0.05 0.01\n");
    for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 1e-6;  // 0.0003 Pa: still water
  }
  static double &level(int i, int j) { return zval[i][j][znumber]; }
  static double bed(int i, int j) { return zval[i][j][1]; }
};

// With F 94 0.05 a point is shallow below 0.25 m and is lowered to the bed
// plus 0.025 m.
TEST_F(PondReduction, ShallowStillPointsAreLoweredToJustAboveTheBed) {
  const GridBlock &b = block[1];
  const int i = b.i1 + 1, j = b.j1;
  struct Row {
    double depth, after;
  };
  const Row rows[] = {{0.2, 0.025}, {0.3, 0.3}, {0.01, 0.01}, {0.249, 0.025}};
  for (const Row &row : rows) {
    level(i, j) = bed(i, j) + row.depth;
    const double second = zval[i][j][znumber + 1];
    reducePonds();
    EXPECT_NEAR(level(i, j) - bed(i, j), row.after, 1e-12) << row.depth;
    EXPECT_EQ(zval[i][j][znumber + 1], second);
  }
}

TEST_F(PondReduction, FlowingOrShearlessNeighbourhoodsAreLeftAlone) {
  const GridBlock &b = block[1];
  const int i = b.i1 + 1, j = b.j1;
  // One flowing column among the four.
  level(i, j) = bed(i, j) + 0.2;
  Ckinen[static_cast<int>(zval[i + 1][j + 1][0])] = 1.0;
  reducePonds();
  EXPECT_NEAR(level(i, j) - bed(i, j), 0.2, 1e-12);
  // No shear anywhere around.
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 0.0;
  reducePonds();
  EXPECT_NEAR(level(i, j) - bed(i, j), 0.2, 1e-12);
  // Switched off.
  for (int c = 1; c <= NoCells; ++c) Ckinen[c] = 1e-6;
  FlagReducePonds = 0;
  reducePonds();
  EXPECT_NEAR(level(i, j) - bed(i, j), 0.2, 1e-12);
}

class LevelSet : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    kreadDefaults();
    generateChannel("F 36 50\n");
    FlagTSC = 1;  // keep the grid: the tests read the corners
    FlagSurfRegen = 0;
    SurfSmoothFlag = 0;
    for (int b = 0; b <= NoBCells; ++b) Bdeltah[b] = 0.0;
    for (int c = 1; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = 0.0;
  }
  static int bedCell(int i, int j) { return Cbed[static_cast<int>(zval[i][j][0])]; }
};

TEST_F(LevelSet, VerticalFluxIntoTheTopCellRaisesTheColumn) {
  TimeStep = 1.0;
  const int b = 1;
  Barea[b] = 4.0;
  EXPECT_DOUBLE_EQ(surface_LS_source(100.0, b), 0.025);

  for (int f = 0; f <= NoSurfaces; ++f) Fflux[f] = 0.0;
  const int c = Bcellt[b];
  int belowTop = c;
  while (Ccellt[Ccellt[belowTop]] > 0) belowTop = Ccellt[belowTop];
  Fflux[Cflatet[belowTop]] = 100.0;
  surface_LS();
  surface_LS();
  EXPECT_NEAR(Bdeltah[b], 0.05, 1e-12);
  EXPECT_EQ(Bdeltah[b + 1], 0.0);  // no flux, no change
}

TEST_F(LevelSet, CornersTakeTheMeanChangeOfTheirColumns) {
  const GridBlock &g = block[1];
  const int j = g.j1;
  // West edge corner (i1 - 1, j1) between columns (i1, j1) and (i1, j1 + 1).
  Bdeltah[bedCell(g.i1, j)] = 0.1;
  Bdeltah[bedCell(g.i1, j + 1)] = 0.3;
  struct Row {
    int mode;
    double edge, corner;
  };
  // The south-west corner has the one column (i1, j1).
  const Row rows[] = {{1, 0.2, 0.1}, {2, 0.2, 0.1}, {3, 0.0, 0.0}};
  for (const Row &row : rows) {
    TFSfroudeforward = row.mode;
    const double edge = zval[g.i1 - 1][j][znumber], corner = zval[g.i1 - 1][j - 1][znumber];
    surface_LS_update();
    EXPECT_NEAR(zval[g.i1 - 1][j][znumber] - edge, row.edge, 1e-12) << row.mode;
    EXPECT_NEAR(zval[g.i1 - 1][j - 1][znumber] - corner, row.corner, 1e-12) << row.mode;
    EXPECT_EQ(zval[g.i1 - 1][j][znumber + 1], zval[g.i1 - 1][j][znumber]);
  }
}

TEST(LevelSetFormulas, FaceCoefficientsFollowTheFroudeNumber) {
  struct Row {
    double q, fr, expected;
  };
  const Row rows[] = {
      {0.0, 0.2, 0.0},    {0.0, 2.0, 0.0},
      {-10.0, 0.2, 10.0},                     // outflow side, subcritical
      {10.0, 0.2, 0.5},                       // inflow: only the diffusive part
      {-10.0, 0.75, 9.5 * 0.5 + 0.5},         // fading toward 1
      {-10.0, 1.0, 10.0},                     // no factor at exactly 1
      {10.0, 1.25, 9.5 * 0.5 + 0.5},          // inflow side, supercritical
      {10.0, 2.0, 10.0},
  };
  for (const Row &row : rows) EXPECT_NEAR(surface_LS_coeff(row.q, 1.0, row.fr, 1, 0), row.expected, 1e-12) << row.q << " " << row.fr;
}

TEST_F(LevelSet, StillColumnWeighsEveryCornerByHalf) {
  const int c = block[1].FirstCell;
  for (const double fr : {0.2, 1.0, 2.0}) {
    BFroude[Cbed[c]] = fr;
    EXPECT_NEAR(VectorWeight(c, block[1].i1, block[1].j1), 0.5, 1e-9) << fr;
  }
  // Slow flow toward +x: the upstream corner weighs 1, the downstream 0.
  Cxvel[c] = 1.0;
  BFroude[Cbed[c]] = 0.2;
  const int i = block[1].i1, j = block[1].j1;
  EXPECT_GT(VectorWeight(c, i - 1, j), 0.8);
  EXPECT_LT(VectorWeight(c, i, j), 0.2);
}

// One inner iteration, so the column equation runs in every step, and five
// level updates in 50 outer iterations.
TEST(LevelSetRun, StraightChannelRunsFiveUpdates) {
  CaseSetup s;
  std::string control = caseFile("straight-channel", "control");
  const std::size_t at = control.find("K 1 5000 50000");
  ASSERT_NE(at, std::string::npos);
  control.replace(at, 14, "K 1 50");
  control.replace(control.find("F 2 YW"), 6, "F 2 YWH");  // H writes the levels to "koosurf.t"
  s.files["control"] = control + "F 36 50\nF 33 1.0 1\n";
  s.files["koosurf"] = caseFile("straight-channel", "koosurf");
  const CaseResult r = runCase(s);
  ASSERT_EQ(r.status, 1) << r.file("boogie");
  EXPECT_EQ(r.file("boogie").find("is not available yet"), std::string::npos);
  // Every level of the grid points is finite.
  const std::vector<std::string> lines = linesOf(r.file("koosurf.t"));
  ASSERT_EQ(lines.size(), 51u * 6u);
  for (const std::string &line : lines) {
    int i, j;
    double x, y, bed, level;
    ASSERT_EQ(std::sscanf(line.c_str(), "%d %d %lf %lf %lf %lf", &i, &j, &x, &y, &bed, &level), 6) << line;
    EXPECT_TRUE(std::isfinite(level)) << line;
  }
}

}  // namespace
