// The smoothing methods of F 144 on a block of 6 x 4 columns of 1 m2 with one
// cell each (1 m of water) and bed levels set by hand: what each method
// moves, that the exchanges keep the bed volume, that every move of a point
// is booked in plane 1, and that strength 0 or an unknown method leaves the
// bed as it was.
#include "bed/levels/bed_smoothing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"

namespace {

class BedSmoothing : public BedLayerFixture {
 protected:
  void SetUp() override {
    BedLayerFixture::SetUp();
    allocateBed(1, 2, false, 9, 7);
    flatGrid(0, xnumber + 1, 0, ynumber + 1, 1.0);
    TimeStep = 10.0;
    SolidFrac = 0.5;
    density = 2.65;
    shieldscoeff = -0.047;
    gsize[1] = 0.001;
    FlagBedSmooth = 11;
    ParamBedSmooth = 0.5;
  }

  // A treated block of wet columns i1..i2, j1..j2: one cell of 1 m over a
  // level bed face of 1 m2, flow of 1 m/s along x, 0.001 in suspension,
  // bed forms 0.1 m high and 0.05 m of active layer.
  static void wetBlock(int i1, int i2, int j1, int j2) {
    addBedColumns(i1, i2, j1, j2);
    for (int i = i1; i <= i2; ++i) {
      for (int j = j1; j <= j2; ++j) {
        const int c = static_cast<int>(zval[i][j][0]), b = Cbed[c];
        Careaz[c] = 1.0;
        Ckdist[c] = 0.5;
        Cflateb[c] = c;
        Farea[c] = Fvz[c] = 1.0;
        Fvx[c] = Fvy[c] = 0.0;
        Cxcenter[c] = i - 1.5;
        Cycenter[c] = j - 1.5;
        Cxvel[c] = 1.0;
        Ckinen[c] = 0.01;
        Cconc[0][c] = Cconc[1][c] = 0.001;
        Bedformheight[b] = 0.1;
        BSedDistrib[1][0][b] = 0.05;
      }
    }
  }

  // Uneven bed levels at every grid point.
  static void roughBed() {
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) zval[i][j][1] = 0.01 * ((7 * i + 3 * j) % 5);
  }

  static std::vector<double> levels() {
    std::vector<double> z;
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) z.push_back(zval[i][j][1]);
    return z;
  }

  // Bed volume: each point carries a quarter of the wet plan area around it.
  static double volume() {
    double v = 0.0;
    for (int i = 0; i <= xnumber; ++i) {
      for (int j = 0; j <= ynumber; ++j) {
        double area = 0.0;
        for (const auto &[ci, cj] : {std::pair{i, j}, {i + 1, j}, {i, j + 1}, {i + 1, j + 1}}) {
          const int c = static_cast<int>(zval[ci][cj][0]);
          if (c > 0) area += Careaz[c];
        }
        v += 0.25 * area * zval[i][j][1];
      }
    }
    return v;
  }

  // Plane 1 holds every move: it equals the level less the start.
  static void expectPlaneOneBooked(const std::vector<double> &start) {
    std::size_t n = 0;
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j, ++n)
        EXPECT_NEAR(Surfaces[1][i][j], zval[i][j][1] - start[n], 1e-15) << i << " " << j;
  }

  static double &z(int i, int j) { return zval[i][j][1]; }

  // Every bed point at one level, with no movement booked.
  static void setLevels(double level) {
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) z(i, j) = level, Surfaces[1][i][j] = 0.0;
  }

  // The smoothing leaves every bed point where it was.
  static void expectBedKept() {
    const std::vector<double> start = levels();
    bedsmooth();
    EXPECT_EQ(levels(), start);
  }
};

// Methods 1 and 3 move the points of shared edges towards each other and
// keep the volume, a dry column counting with no area.
TEST_F(BedSmoothing, EdgeExchangesKeepTheVolume) {
  for (const int method : {1, 3}) {
    SCOPED_TRACE(method);
    NoBlocks = NoCells = NoBCells = 0;
    wetBlock(2, 7, 2, 5);
    zval[7][5][0] = 0.0;  // a dry column
    roughBed();
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[1][i][j] = 0.0;
    FlagBedSmooth = method;
    ParamBedSmooth = method == 1 ? 50.0 : 100.0;
    const std::vector<double> start = levels();
    const double before = volume();
    bedsmooth();
    EXPECT_NE(levels(), start);
    EXPECT_NEAR(volume(), before, 1e-12 * std::fabs(before));
    expectPlaneOneBooked(start);
  }
}

// Method 3 on one edge between two columns: the rate r = 4·0.001·0.5·1·10·
// 0.1 / (0.5·1·7.3·1) of each, D = 2r·P·0.5·(z_a - z_b), the points moving
// together by D/2 each, whichever is higher.
TEST_F(BedSmoothing, RateExchangeSmoothsBothWays) {
  wetBlock(2, 3, 2, 2);
  FlagBedSmooth = 3;
  ParamBedSmooth = 100.0;
  const double r = 4.0 * 0.001 * 0.5 * 1.0 * 10.0 * 0.1 / (0.5 * 1.0 * 7.3 * 1.0);
  for (const double za : {0.1, -0.1}) {
    z(2, 2) = za;
    z(2, 1) = 0.0;
    const double D = 2.0 * r * 100.0 * 0.5 * za;
    bedsmooth();
    EXPECT_NEAR(z(2, 2), za - 0.5 * D, 1e-15) << za;
    EXPECT_NEAR(z(2, 1), 0.5 * D, 1e-15) << za;
  }
}

// Method 5 on two neighbouring changes of 0.01 and 0.02 m at strength 1: the
// sweeps give 0.015390625 and 0.023125; the 0.008515625 they add is taken
// back evenly. A dry neighbour counts 0 whatever its bed cell holds.
TEST_F(BedSmoothing, SpreadingKeepsTheChangedVolume) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 5;
  ParamBedSmooth = 1.0;
  for (int b = 0; b <= NoBCells; ++b) Bedmove[b] = 0.0;
  Bedmove[pointbed[3][3]] = 0.01;
  Bedmove[pointbed[4][3]] = 0.02;
  zval[5][3][0] = 0.0;
  Bedmove[pointbed[5][3]] = 5.0;
  bedsmooth();
  EXPECT_NEAR(Bedmove[pointbed[3][3]], 0.0111328125, 1e-15);
  EXPECT_NEAR(Bedmove[pointbed[4][3]], 0.0188671875, 1e-15);
  EXPECT_EQ(Bedmove[pointbed[3][4]], 0.0);
  EXPECT_EQ(Bedmove[pointbed[5][3]], 5.0);
  EXPECT_EQ(Bedmove[0], 0.0);
}

// Method 6 on column (4, 3), its bed falling 1:10 towards +x: Q = 0.6·
// sin(slope)·0.001/sqrt(theta), V = Q·2·1·0.5·10/0.5; the two corners
// downhill rise by V·cos 45°, the two uphill fall by as much; the active
// layer caps V.
TEST_F(BedSmoothing, DownSlopeTransportMovesTheCorners) {
  wetBlock(2, 7, 2, 5);
  for (int c = 1; c <= NoCells; ++c) Cconc[1][c] = 0.0;
  const int c = static_cast<int>(zval[4][3][0]);
  Cconc[1][c] = 0.001;
  Fvx[c] = 0.1 / std::sqrt(1.01);
  Fvz[c] = 1.0 / std::sqrt(1.01);
  FlagBedSmooth = 6;
  const double theta = 3.0 / (0.047 * 0.001 * 1.65 * 9810.0);
  const double V = 0.6 * (0.1 / std::sqrt(1.01)) * 0.001 / std::sqrt(theta) * 20.0;
  for (const double layer : {0.05, 1e-7}) {
    BSedDistrib[1][0][pointbed[4][3]] = layer;
    const double moved = std::min(V, layer) * std::sqrt(0.5);
    setLevels(0.0);
    bedsmooth();
    EXPECT_NEAR(z(4, 3), moved, 1e-15) << layer;
    EXPECT_NEAR(z(4, 2), moved, 1e-15) << layer;
    EXPECT_NEAR(z(3, 3), -moved, 1e-15) << layer;
    EXPECT_NEAR(z(3, 2), -moved, 1e-15) << layer;
    EXPECT_NEAR(Surfaces[1][4][3], moved, 1e-15) << layer;
    EXPECT_EQ(z(5, 3), 0.0);
  }
}

// Method 9 treats the point (4, 3) only; a spike whose neighbours lie below
// the points beyond them gives D = P·(z - mean of the neighbours), a quarter
// to each neighbour. The south neighbour is compared with the point two
// places north: a spike failing only that comparison stays.
TEST_F(BedSmoothing, SharpPeaks) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 9;
  auto spike = [](double south) {
    setLevels(0.5);
    z(4, 3) = 1.0;
    z(3, 3) = z(5, 3) = z(4, 4) = 0.2;
    z(4, 5) = 0.3;
    z(4, 2) = south;
  };
  spike(0.2);
  bedsmooth();
  EXPECT_NEAR(z(4, 3), 1.0 - 0.4, 1e-15);
  EXPECT_NEAR(z(4, 2), 0.3, 1e-15);
  EXPECT_NEAR(z(3, 3), 0.3, 1e-15);
  EXPECT_NEAR(Surfaces[1][4][3], -0.4, 1e-15);
  EXPECT_NEAR(Surfaces[1][4][2], 0.1, 1e-15);
  spike(0.4);  // below (4, 1) at 0.5, but not below (4, 5) at 0.3
  expectBedKept();
}

// Method 10: a point strictly above its four neighbours is lowered, one
// equal to a neighbour stays.
TEST_F(BedSmoothing, PeaksStrictlyAboveTheirNeighbours) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 10;
  z(4, 3) = 1.0;
  bedsmooth();
  EXPECT_NEAR(z(4, 3), 0.5, 1e-15);
  EXPECT_NEAR(z(5, 3), 0.125, 1e-15);
  setLevels(0.0);
  z(4, 3) = z(5, 3) = 1.0;
  expectBedKept();
}

// Method 11 in two dimensions keeps the sum of the levels of the inner
// points' neighbourhood and lowers a bump; with a first block one column
// wide it smooths the two lines of that row along i only, and with j2 < j1
// it does nothing.
TEST_F(BedSmoothing, LaplacianInTwoAndOneDimensions) {
  wetBlock(2, 7, 2, 5);
  z(4, 3) = 1.0;
  double before = 0.0, after = 0.0;
  for (const double level : levels()) before += level;
  bedsmooth();
  for (const double level : levels()) after += level;
  EXPECT_NEAR(after, before, 1e-14);
  EXPECT_LT(z(4, 3), 0.6);
  EXPECT_GT(z(4, 4), 0.0);

  NoBlocks = 0;
  wetBlock(2, 7, 3, 3);
  setLevels(0.0);
  z(4, 3) = z(4, 2) = 1.0;
  z(4, 4) = 2.0;  // off the row: not smoothed
  bedsmooth();
  for (const int line : {2, 3}) {
    double sum = 0.0;
    for (int i = 0; i <= xnumber + 1; ++i) sum += z(i, line);
    EXPECT_NEAR(sum, 1.0, 1e-15) << line;
    EXPECT_LT(z(4, line), 0.6) << line;
    EXPECT_GT(z(3, line), 0.0) << line;
  }
  EXPECT_EQ(z(4, 4), 2.0);
  EXPECT_EQ(z(4, 1), 0.0);

  block[1].j2 = 2;  // j2 < j1
  expectBedKept();
}

// Method 12 at threshold 0.5: a twist of -1 in every column passes by
// magnitude in the forward sweep only, +1 in both sweeps, 0.2 in none.
TEST_F(BedSmoothing, TwistThresholdByMagnitudeThenBySign) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 12;
  std::vector<double> result[3];
  const double twists[3] = {-1.0, 1.0, 0.2};
  for (int n = 0; n < 3; ++n) {
    setLevels(0.0);
    z(4, 3) = 1.0;
    for (int b = 1; b <= NoBCells; ++b) Bfly[b] = twists[n];
    bedsmooth();
    result[n] = levels();
  }
  setLevels(0.0);
  z(4, 3) = 1.0;
  const std::vector<double> untouched = levels();
  EXPECT_NE(result[0], untouched);
  EXPECT_NE(result[1], result[0]);
  EXPECT_EQ(result[2], untouched);
}

// Method 13: the step of a point is at most 0.25·P times the summed change
// of its four columns.
TEST_F(BedSmoothing, LimitedLaplacianFollowsTheBedChange) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 13;
  ParamBedSmooth = 1.0;
  for (int b = 1; b <= NoBCells; ++b) Bedmove[b] = 0.004;  // L = 0.004
  z(4, 3) = 1.0;
  bedsmooth();
  // Its own two steps of at most L and a quarter of each neighbour's two.
  EXPECT_LE(z(4, 3), 1.0 - 0.004 + 1e-15);
  EXPECT_GE(z(4, 3), 1.0 - 0.016 - 1e-15);
}

// Method 14 moves a point only next to a column with a Froude number above
// 0.6, towards the mean of its neighbours on that side.
TEST_F(BedSmoothing, FastFlowSmoothing) {
  wetBlock(2, 7, 2, 5);
  FlagBedSmooth = 14;
  for (int b = 1; b <= NoBCells; ++b) BFroude[b] = 0.6;
  roughBed();
  const std::vector<double> start = levels();
  expectBedKept();
  BFroude[pointbed[4][3]] = 0.7;
  bedsmooth();
  bool moved = false;
  for (int i = 0; i <= xnumber + 1; ++i) {
    for (int j = 0; j <= ynumber + 1; ++j) {
      const bool near = i >= 2 && i <= 5 && j >= 1 && j <= 4;
      if (!near) {
        EXPECT_EQ(z(i, j), start[i * (ynumber + 2) + j]) << i << " " << j;
      }
      moved = moved || z(i, j) != start[i * (ynumber + 2) + j];
    }
  }
  EXPECT_TRUE(moved);
}

// Strength 0 leaves the bed and the column changes of every method but 6 as
// they were; values without a method change nothing at any strength.
TEST_F(BedSmoothing, NothingAtStrengthZeroOrWithoutAMethod) {
  wetBlock(2, 7, 2, 5);
  for (int b = 1; b <= NoBCells; ++b) {
    Bedmove[b] = 0.001 * (b % 3);
    Bfly[b] = BFroude[b] = 1.0;
  }
  roughBed();
  const std::vector<double> start = levels();
  const std::vector<double> moves(Bedmove, Bedmove + NoBCells + 1);
  struct Case {
    int method;
    double strength;
  };
  for (const Case k : {Case{1, 0.0}, Case{3, 0.0}, Case{5, 0.0}, Case{9, 0.0}, Case{10, 0.0}, Case{11, 0.0},
                       Case{12, 0.0}, Case{13, 0.0}, Case{14, 0.0}, Case{0, 0.5}, Case{2, 0.5}, Case{4, 0.5},
                       Case{7, 0.5}, Case{8, 0.5}, Case{15, 0.5}}) {
    FlagBedSmooth = k.method;
    ParamBedSmooth = k.strength;
    bedsmooth();
    EXPECT_EQ(levels(), start) << k.method;
    EXPECT_EQ(std::vector<double>(Bedmove, Bedmove + NoBCells + 1), moves) << k.method;
  }
}

}  // namespace
