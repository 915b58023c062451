// The corner weightings of F 205 inside bedchange, by hand. A lone column
// has the area sum 1 m2 at every corner, so its corner moves are the corner
// factors times |dz|; an interior column of a 3 x 3 block shows how the area
// sums are skewed while the volume placed stays the column's change.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "bed/levels/bed_level_change.h"
#include "bed/levels/bed_level_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "support/run_case.h"

namespace {

// Corner k of column (3, 3): 1 (3, 3), 2 (3, 2), 3 (2, 2), 4 (2, 3).
constexpr int kI[5] = {0, 3, 3, 2, 2};
constexpr int kJ[5] = {0, 3, 2, 2, 3};

class CornerWeighting : public BedLevelFixture {
 protected:
  void SetUp() override {
    BedLevelFixture::SetUp();
    f205param = 2.0;
    for (int i = 0; i <= xnumber + 1; ++i)
      for (int j = 0; j <= ynumber + 1; ++j) Surfaces[3][i][j] = -10.0;  // no erosion limit
  }

  // Corner levels of column (3, 3), corners 1..4.
  static void cornerLevels(std::array<double, 4> z) {
    for (int k = 1; k <= 4; ++k) zval[kI[k]][kJ[k]][1] = z[k - 1];
  }

  // The corner moves of column (3, 3) after one bed change by dz there.
  static std::array<double, 4> movesOf(double dz) {
    double before[5];
    for (int k = 1; k <= 4; ++k) before[k] = zval[kI[k]][kJ[k]][1];
    move(3, 3) = dz;
    bedchange();
    std::array<double, 4> m{};
    for (int k = 1; k <= 4; ++k) m[k - 1] = zval[kI[k]][kJ[k]][1] - before[k];
    return m;
  }

  // The reference cell of column (3, 3) with its corner points and centre.
  static int cellWithCorners() {
    const int c = static_cast<int>(zval[3][3][0]);
    int *const corner[4] = {Cpoint3, Cpoint2, Cpoint1, Cpoint4};
    for (int k = 1; k <= 4; ++k) {
      corner[k - 1][c] = k;
      Px[k] = kI[k] - 1.0;
      Py[k] = kJ[k] - 1.0;
    }
    Cxcenter[c] = Cycenter[c] = 1.5;
    return c;
  }
};

void expectMoves(const std::array<double, 4> &got, const std::array<double, 4> &expected, double tol,
                 const std::string &what) {
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], expected[k], tol) << what << ", corner " << k + 1;
}

// Option 1: corner 1 one metre above the others gives the weights 2, 3, 3, 3
// for erosion; the sums 3 and 4.5 m2 place 0.1 m2 x 1 m, all of it, most at
// the high corner. A deposit goes most to the low corners (weights 3, 2, 2,
// 2: sums 5.5 and 3.667 m2).
TEST_F(CornerWeighting, LevelWeightsKeepTheVolume) {
  bedBlock(2, 4, 2, 4);
  FlagSkewedBedchange = 1;
  cornerLevels({1.0, 0.0, 0.0, 0.0});
  const std::array<double, 4> erosion = movesOf(-0.1);
  expectMoves(erosion, {-0.1 / 3.0, -0.1 / 4.5, -0.1 / 4.5, -0.1 / 4.5}, 1e-12, "erosion");
  EXPECT_NEAR(erosion[0] + erosion[1] + erosion[2] + erosion[3], -0.1, 1e-12);
  EXPECT_EQ(BedMoveDefectAbs, 0.0);

  cornerLevels({1.0, 0.0, 0.0, 0.0});
  const std::array<double, 4> deposit = movesOf(0.1);
  expectMoves(deposit, {0.1 / 5.5, 0.3 / 11.0, 0.3 / 11.0, 0.3 / 11.0}, 1e-12, "deposit");

  // Option 4 reverses option 1: the erosion takes most at the low corners.
  FlagSkewedBedchange = 4;
  cornerLevels({1.0, 0.0, 0.0, 0.0});
  expectMoves(movesOf(-0.1), {-0.1 / 5.5, -0.3 / 11.0, -0.3 / 11.0, -0.3 / 11.0}, 1e-12, "option 4");
}

// A flat column keeps its sums under every area-sum option of the levels:
// each corner of an interior column takes a quarter.
TEST_F(CornerWeighting, FlatColumnKeepsItsSums) {
  bedBlock(2, 4, 2, 4);
  for (int option : {1, 2, 3, 4, 11}) {
    FlagSkewedBedchange = option;
    cornerLevels({0.0, 0.0, 0.0, 0.0});
    expectMoves(movesOf(-0.04), {-0.01, -0.01, -0.01, -0.01}, 1e-15, "option " + std::to_string(option));
  }
}

// Option 2 weights erosion only; option 11 erosion only under more than
// F 94's second value of mean depth; option 3 only where the column's twist
// and its side neighbours' mean twist have opposite signs beyond 0.03, a
// dry neighbour counting 0.
TEST_F(CornerWeighting, OptionsActOnlyWhereTheirConditionHolds) {
  bedBlock(2, 4, 2, 4);
  const std::array<double, 4> even = {0.01, 0.01, 0.01, 0.01};
  const std::array<double, 4> skewed = {-0.1 / 3.0, -0.1 / 4.5, -0.1 / 4.5, -0.1 / 4.5};
  struct Case {
    int option;
    double dz, minDepth;
    bool skews;
  };
  for (const Case &t : {Case{2, 0.04, 0.01, false}, Case{2, -0.1, 0.01, true}, Case{11, -0.1, 0.01, true},
                        Case{11, -0.1, 0.8, false}}) {
    FlagSkewedBedchange = t.option;
    MinVertDist1 = t.minDepth;  // the corners' mean depth is 0.75 m
    cornerLevels({1.0, 0.0, 0.0, 0.0});
    const std::array<double, 4> m = movesOf(t.dz);
    const std::string what = "option " + std::to_string(t.option) + " dz " + std::to_string(t.dz);
    if (t.skews) {
      expectMoves(m, skewed, 1e-12, what);
    } else {
      expectMoves(m, t.dz > 0 ? even : std::array<double, 4>{-0.025, -0.025, -0.025, -0.025}, 1e-12, what);
    }
  }

  FlagSkewedBedchange = 3;
  const int b = pointbed[3][3];
  Bfly[b] = 0.05;
  for (const auto &[i, j] : {std::pair{4, 3}, {3, 2}, {2, 3}, {3, 4}}) Bfly[pointbed[i][j]] = -0.05;
  cornerLevels({1.0, 0.0, 0.0, 0.0});
  expectMoves(movesOf(-0.1), skewed, 1e-12, "opposite twists");
  // One dry side neighbour: mean -0.0375, still beyond 0.03.
  Ccelle[static_cast<int>(zval[3][3][0])] = 0;
  pointbed[4][3] = 0;
  cornerLevels({1.0, 0.0, 0.0, 0.0});
  expectMoves(movesOf(-0.1), skewed, 1e-12, "one dry neighbour");
  // Two dry: mean -0.025, the weighting rests.
  pointbed[3][2] = 0;
  cornerLevels({1.0, 0.0, 0.0, 0.0});
  expectMoves(movesOf(-0.1), {-0.025, -0.025, -0.025, -0.025}, 1e-12, "two dry neighbours");
}

// Option 5: with the flow along x the upstream corners 3 and 4 take the
// weight 1 + cos 45° and so the smaller moves; the volume stays.
TEST_F(CornerWeighting, UpstreamCornersMoveLess) {
  bedBlock(2, 4, 2, 4);
  const int c = cellWithCorners();
  Cxvel[c] = 1.0;
  FlagSkewedBedchange = 5;
  const std::array<double, 4> m = movesOf(0.1);
  const double harmonic = 0.25 * (2.0 + 2.0 / (1.0 + std::sqrt(0.5)));
  const double down = 0.1 / (4.0 * harmonic), up = 0.1 / (4.0 * (1.0 + std::sqrt(0.5)) * harmonic);
  expectMoves(m, {down, down, up, up}, 1e-12, "option 5");
  EXPECT_NEAR(m[0] + m[1] + m[2] + m[3], 0.1, 1e-12);
  // Option 6 weights erosion only.
  FlagSkewedBedchange = 6;
  expectMoves(movesOf(0.04), {0.01, 0.01, 0.01, 0.01}, 1e-15, "option 6, deposit");
}

// The factor options on a lone column with corners at 0.4, 0, 0, 0.2 m under
// a water level of 1 m, p = 2: each corner moves f_k |dz|, the factors
// adding up to 4.
TEST_F(CornerWeighting, FactorOptions) {
  bedBlock(3, 3, 3, 3);
  struct Case {
    int option;
    double dz;
    std::array<double, 4> z, f;
  };
  const std::array<double, 4> levels = {0.4, 0.0, 0.0, 0.2};
  const std::array<double, 4> one = {1.0, 1.0, 1.0, 1.0};
  const std::array<double, 4> fromTop = {0.912281, 1.052632, 1.052632, 0.982456};
  const std::array<double, 4> fromLow = {1.263158, 0.842105, 0.842105, 1.052632};
  const std::array<double, 4> fromLowWater = {1.116279, 0.930233, 0.930233, 1.023256};
  const Case cases[] = {
      {13, 0.01, levels, fromTop},
      {13, 0.01, {1.5, 0.0, 0.0, 0.2}, {0.740741, 1.111111, 1.111111, 1.037037}},  // above the water: g = p
      {14, -0.01, levels, fromLow},
      {14, 0.01, levels, {0.761905, 1.142857, 1.142857, 0.952381}},
      {15, 0.01, levels, fromTop},
      {15, -0.01, levels, fromLowWater},
      {16, -0.01, levels, fromLow},
      {16, 0.01, levels, fromTop},
      {17, 0.01, levels, one},  // a deposit within the smallest depth 0.6 m
      {17, 0.7, levels, {0.848485, 1.090909, 1.090909, 0.969697}},
      {18, 0.01, levels, fromTop},
      {19, 0.01, levels, fromTop},
      {19, -0.01, levels, one},
      {20, -0.01, levels, fromLowWater},
      {20, 0.01, levels, fromTop},
      {7, -0.01, levels, one},
      {22, -0.01, levels, one},
      {-3, -0.01, levels, one},
  };
  for (const Case &t : cases) {
    FlagSkewedBedchange = t.option;
    cornerLevels(t.z);
    const std::array<double, 4> m = movesOf(t.dz);
    std::array<double, 4> expected{};
    for (int k = 0; k < 4; ++k) expected[k] = t.f[k] * t.dz;
    expectMoves(m, expected, 1e-6 * std::fabs(t.dz), "option " + std::to_string(t.option));
  }
}

// Option 9: the bed face tilted along x (normal 0.6, 0, 0.8) makes an
// erosion take more at the upslope corners 3 and 4; a horizontal face keeps
// the factors 1.
TEST_F(CornerWeighting, SlopeFactors) {
  bedBlock(3, 3, 3, 3);
  const int c = cellWithCorners();
  Cflateb[c] = 1;
  FlagSkewedBedchange = 9;
  expectMoves(movesOf(-0.01), {-0.01, -0.01, -0.01, -0.01}, 1e-15, "horizontal face");
  Fvx[1] = 0.6;
  Fvz[1] = 0.8;
  const double r = std::sqrt(0.5);
  expectMoves(movesOf(-0.01), {-(1 - r) * 0.01, -(1 - r) * 0.01, -(1 + r) * 0.01, -(1 + r) * 0.01}, 1e-15,
              "tilted face, erosion");
  // A deposit with s = min(0.8/1.23, 1): more at the downslope corners.
  const double s = 0.8 / 1.23;
  expectMoves(movesOf(0.01), {(1 + s * r) * 0.01, (1 + s * r) * 0.01, (1 - s * r) * 0.01, (1 - s * r) * 0.01},
              1e-15, "tilted face, deposit");
}

// Option 21 places a quarter of a flat column's change and books the other
// three quarters as defect, with one warning for the run.
TEST_F(CornerWeighting, QuarterOptionBooksTheRest) {
  bedBlock(3, 3, 3, 3);
  bedBlock(6, 6, 6, 6);
  FlagSkewedBedchange = 21;
  move(6, 6) = -0.02;
  expectMoves(movesOf(-0.02), {-0.005, -0.005, -0.005, -0.005}, 1e-15, "flat column");
  const double kg = 0.02 * 0.5 * 1000.0 * 2.65;
  EXPECT_NEAR(BedMoveDefectSum, -2 * 0.75 * kg, 1e-9);
  EXPECT_NEAR(BedMoveDefectAbs, 2 * 0.75 * kg, 1e-9);
  const std::string log = boogie();
  const std::string warning =
      "Warning: F 205 21 places a quarter of each bed change; the rest is booked as bed-move defect\n";
  ASSERT_NE(log.find(warning), std::string::npos) << log;
  EXPECT_EQ(log.find(warning), log.rfind(warning)) << "one warning for the run";
}

}  // namespace
