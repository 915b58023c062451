// The point-based bed levels on a block of 3 x 2 columns with hand-set
// layers: the points from the layer tops (F 255 5), the border lines from the
// column changes and the rest from the layers (F 255 4), the mean column
// change limited by the non-erodible level (F 255 3), and the end on a layer
// that is not a number.
#include "bed/levels/point_bed_levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/operations.h"

namespace {

class PointBedLevels : public BedLayerFixture {
 protected:
  void SetUp() override {
    BedLayerFixture::SetUp();
    saved_ = operations;
    operations.Unstructure = [] { return 1; };
    operations.metric = [] {};
    operations.BedMake = [] {};
    operations.waterflow = [](int, int) {};
    operations.computeSandSlide = [] {};
  }
  void TearDown() override {
    operations = saved_;
    BedLayerFixture::TearDown();
  }

  // Block 1 with columns 2..4 x 2..jLast, bed cells numbered along j first;
  // the non-erodible level -0.1 i - 0.01 j, the bed at 0.
  static void blockOf(int jLast) {
    allocateBed(1, 5, true, 6, 6);
    NoBlocks = 0;
    GridBlock &g = block[addBlock(2, 4, 2, jLast)];
    g.WorkFlag = 1;
    int b = 0;
    for (int i = 2; i <= 4; ++i) {
      for (int j = 2; j <= jLast; ++j) {
        pointbed[i][j] = ++b;
        Bcellt[b] = 10 * b;
        Bkooi[b] = i;
        Bkooj[b] = j;
        Barea[b] = 1.0;
      }
    }
    NoBCells = b;
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= 6; ++j) {
        Surfaces[3][i][j] = -0.1 * i - 0.01 * j;
        zval[i][j][1] = 0.0;
        Surfaces[1][i][j] = 0.0;
      }
    }
    FlagBedDownstream = 0;
    IterAvalanche = 0;
    FlagSlideDLL = 0;
    BedRecIter = 1000;
    Iter = 2;  // a step without regeneration
    WCStart = 1;
    WCEnd = 0;
  }

  static double meanPlane3(int i, int j) {
    return (Surfaces[3][i][j] + Surfaces[3][i - 1][j] + Surfaces[3][i - 1][j - 1] + Surfaces[3][i][j - 1]) / 4.0;
  }

  // The mean of f over the columns of point (i, j) that have a bed cell.
  template <class F>
  static double pointMean(int i, int j, F f) {
    double sum = 0.0;
    int n = 0;
    for (int ci : {i, i + 1}) {
      for (int cj : {j, j + 1}) {
        if (pointbed[ci][cj] <= 0) continue;
        sum += f(ci, cj, pointbed[ci][cj]);
        ++n;
      }
    }
    return sum / n;
  }

 private:
  EngineOperations saved_{};
};

// Stack thickness 0.1 b of column b, one layer or two.
void layeredStacks() {
  for (int b = 1; b <= NoBCells; ++b) {
    if (b % 2 == 0) setStack(b, {{0.04 * b, 0.5, {1.0}}, {0.06 * b, 0.5, {1.0}}});
    else setStack(b, {{0.1 * b, 0.5, {1.0}}});
  }
}

// Empty layers put every point on the mean non-erodible level of its
// columns; with layers the points lie at the mean layer top, Bedmove is not
// read, the bed volume equals the layers' (equal areas), plane 1 follows and
// the per-size change is cleared.
TEST_F(PointBedLevels, Bedchange5BuildsTheBedFromTheLayers) {
  blockOf(3);
  for (int b = 1; b <= NoBCells; ++b) setStack(b, {{0.0, 0.5, {1.0}}});
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 1.0;
  bedchange5();
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const double expected = pointMean(i, j, [](int ci, int cj, int) { return meanPlane3(ci, cj); });
      EXPECT_NEAR(zval[i][j][1], expected, 1e-14) << i << " " << j;
      EXPECT_NEAR(Surfaces[1][i][j], expected, 1e-14) << i << " " << j;
    }
  }

  layeredStacks();
  Bbedchange[1][3] = 0.5;
  bedchange5();
  EXPECT_EQ(Bbedchange[1][3], 0.0);
  double bedVolume = 0.0, layerVolume = 0.0;
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) {
      const double expected =
          pointMean(i, j, [](int ci, int cj, int b) { return meanPlane3(ci, cj) + 0.1 * b; });
      EXPECT_NEAR(zval[i][j][1], expected, 1e-14) << i << " " << j;
      EXPECT_NEAR(Surfaces[1][i][j], expected, 1e-14) << i << " " << j;
    }
  }
  for (int i = 2; i <= 4; ++i) {
    for (int j = 2; j <= 3; ++j) {
      const int b = pointbed[i][j];
      EXPECT_NEAR(Bedlev[b], meanPlane3(i, j) + 0.1 * b, 1e-14);
      bedVolume += (zval[i][j][1] + zval[i - 1][j][1] + zval[i - 1][j - 1][1] + zval[i][j - 1][1]) / 4.0;
      layerVolume += Bedlev[b];
    }
  }
  EXPECT_NEAR(bedVolume, layerVolume, 1e-13);
}

// The south and north lines follow the column changes along i, the points
// between them the layers; argument 0 leaves plane 1 alone, 1 adds to it.
TEST_F(PointBedLevels, Bedchange4BorderLinesByChangeInnerPointsByLayers) {
  blockOf(3);
  layeredStacks();
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = -0.01 * b;
  auto move = [](int i, int j) { return Bedmove[pointbed[i][j]]; };
  // The south line j = 1 takes row 2, the north line j = 3 row 3.
  auto lineChange = [&](int i, int row) {
    if (i == 1) return move(2, row);
    if (i == 4) return move(4, row);
    return 0.5 * (move(i, row) + move(i + 1, row));
  };
  for (int count : {0, 1}) {
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= 6; ++j) zval[i][j][1] = Surfaces[1][i][j] = 0.0;
    }
    bedchange4(count);
    for (int i = 1; i <= 4; ++i) {
      const double inner = pointMean(i, 2, [](int ci, int cj, int b) { return meanPlane3(ci, cj) + 0.1 * b; });
      const double expected[4] = {0.0, lineChange(i, 2), inner, lineChange(i, 3)};
      for (int j = 1; j <= 3; ++j) {
        EXPECT_NEAR(zval[i][j][1], expected[j], 1e-14) << count << ": " << i << " " << j;
        EXPECT_NEAR(Surfaces[1][i][j], count == 1 ? expected[j] : 0.0, 1e-14) << count << ": " << i << " " << j;
      }
    }
  }
}

// A block of one row takes both of its lines from the layers.
TEST_F(PointBedLevels, Bedchange4OneRowTakesBothLinesFromTheLayers) {
  blockOf(2);
  layeredStacks();
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 5.0;
  bedchange4(1);
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 2; ++j) {
      const double expected = pointMean(i, j, [](int ci, int cj, int b) { return meanPlane3(ci, cj) + 0.1 * b; });
      EXPECT_NEAR(zval[i][j][1], expected, 1e-14) << i << " " << j;
    }
  }
}

// The mean change of the columns with cells, never below the non-erodible
// level; a point without such columns keeps its level.
TEST_F(PointBedLevels, Bedchange3MovesByTheMeanChangeDownToPlane3) {
  blockOf(3);
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = -0.01 * b;
  Bcellt[pointbed[4][3]] = 0;  // a column without cells
  bedchange3();
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 3; ++j) {
      double sum = 0.0;
      int n = 0;
      for (int ci : {i, i + 1}) {
        for (int cj : {j, j + 1}) {
          const int b = pointbed[ci][cj];
          if (b > 0 && Bcellt[b] > 0) sum += Bedmove[b], ++n;
        }
      }
      const double expected = n > 0 ? std::max(Surfaces[3][i][j], sum / n) : 0.0;
      EXPECT_NEAR(zval[i][j][1], expected, 1e-14) << i << " " << j;
      EXPECT_NEAR(Surfaces[1][i][j], expected, 1e-14) << i << " " << j;
    }
  }
  // Point (4, 3) has only the column without cells: it stays.
  EXPECT_EQ(zval[4][3][1], 0.0);
  // An erosion far below the non-erodible level stops there.
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = -100.0;
  bedchange3();
  EXPECT_NEAR(zval[2][2][1], Surfaces[3][2][2], 1e-14);
  EXPECT_NEAR(zval[1][1][1], Surfaces[3][1][1], 1e-14);
}

// A layer that is not a number ends the run with -4 and names the column.
using PointBedLevelsDeathTest = PointBedLevels;
TEST_F(PointBedLevelsDeathTest, NotANumberLayerEndsTheRun) {
  blockOf(3);
  layeredStacks();
  BSedDistrib[0][0][4] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EXIT(bedchange5(), ::testing::ExitedWithCode(252), "");
  std::string log = boogie();
  EXPECT_NE(log.find("Error in bedchange5: NAN5: nan\nIter = 2, b=4, i,j = (3,3)\nBSedDistrib[0][b] = nan 0.240000\n"),
            std::string::npos)
      << log;
  EXPECT_EXIT(bedchange4(1), ::testing::ExitedWithCode(252), "");
  log = boogie();
  // Point (2, 2) has columns (2,2), (3,2), (2,3), (3,3): bed cell 4 is the fourth.
  EXPECT_NE(log.find("Error in bedchange4: NAN4: nan\nIter = 2, b=4, i,j = (2,2)\nBSedDistrib[0][b] = nan 0.240000\n"),
            std::string::npos)
      << log;
}

}  // namespace
