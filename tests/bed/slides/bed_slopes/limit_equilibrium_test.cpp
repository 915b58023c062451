// Bank failure by limit equilibrium on one column built by hand: 1 m² plan,
// corners 0, 0, 1, 1 along j (S = 1, a 45° bed face), dry to the north,
// grain density 2.65 and solid fraction 0.5. Then V = 0.4 m³, W = 5199.3 N,
// F = W and R = 0.65·W = 3379.5 N: it fails and h = 0.02·V = 0.008 m, each
// corner moving 0.002 m towards the mean.
#include "bed/slides/bed_slopes/limit_equilibrium.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <functional>

#include "grid/grid_fixture.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/points.h"
#include "model/settings.h"
#include "model/structured.h"
#include "startup/operations.h"

namespace {

// Column (3, 3) with bottom cell 1 and bed cell 1; its corners in the order
// (2, 2), (3, 2), (3, 3), (2, 3), points 1..4.
constexpr int kI = 3, kJ = 3;
constexpr int kPi[4] = {2, 3, 3, 2}, kPj[4] = {2, 2, 3, 3};

int groundwaterCalls = 0;

class LimitEquilibrium : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    saved_ = operations;
    FlagGroundwater = 1;  // so that the groundwater table exists
    allocate(6, 6, 4);
    const int n = addBlock(2, 4, 2, 4);
    block[n].WorkFlag = 1;
    operations.groundwater = [] { ++groundwaterCalls; };
    reset();
  }

  // The column as described above, before each case.
  static void reset() {
    for (int i = 0; i <= 6; ++i) {
      for (int j = 0; j <= 6; ++j) zval[i][j][0] = 7.0;  // wet all round
    }
    zval[kI][kJ + 1][0] = 0.0;  // dry to the north
    zval[kI][kJ][0] = 1.0;
    setCorners({0.0, 0.0, 1.0, 1.0});
    Cbed[1] = 1;
    Barea[1] = 1.0;
    Cflateb[1] = 1;
    Fvz[1] = std::sqrt(0.5);
    Cidist[1] = Cjdist[1] = 0.5;
    Ccelle[1] = Ccellw[1] = Ccelln[1] = Ccells[1] = 0;
    density = 2.65;
    SolidFrac = 0.5;
    FlagGLEA = 1;
    SlopeGLEA = 0.65;
    CohesionGLEA = 0.0;
    FlagGroundwater = 0;
    groundwaterCalls = 0;
  }
  void TearDown() override {
    operations = saved_;
    GridFixture::TearDown();
  }

  // Corner levels of the cell and of the grid points, the non-erodible level
  // 10 m below.
  static void setCorners(const std::array<double, 4> &z) {
    const int points[4] = {Cpoint1[1] = 1, Cpoint2[1] = 2, Cpoint3[1] = 3, Cpoint4[1] = 4};
    for (int k = 0; k < 4; ++k) {
      Pz[points[k]] = z[k];
      zval[kPi[k]][kPj[k]][1] = z[k];
      Surfaces[1][kPi[k]][kPj[k]] = 0.0;
      Surfaces[3][kPi[k]][kPj[k]] = -10.0;
    }
  }

  static std::array<double, 4> moves() {
    std::array<double, 4> m{};
    for (int k = 0; k < 4; ++k) m[k] = zval[kPi[k]][kPj[k]][1] - Pz[k + 1];
    return m;
  }

 private:
  EngineOperations saved_{};
};

TEST_F(LimitEquilibrium, CornerMovesOfOneColumn) {
  struct Case {
    const char *name;
    std::function<void()> setup;
    std::array<double, 4> moves;
  };
  const double q = 0.002, big = 0.408 / 4;
  const Case cases[] = {
      {"bank fails", [] {}, {q, q, -q, -q}},
      {"friction holds", [] { SlopeGLEA = 1.1; }, {0, 0, 0, 0}},
      // Cohesion above friction: h = V·(1 + 0.02) = 0.408 m.
      {"cohesion above friction", [] { SlopeGLEA = 0.1, CohesionGLEA = 1000.0; }, {big, big, -big, -big}},
      {"flat column", [] { setCorners({0.5, 0.5, 0.5, 0.5}), Fvz[1] = 1.0; }, {0, 0, 0, 0}},
      {"wet interior column", [] { zval[kI][kJ + 1][0] = 7.0; }, {0, 0, 0, 0}},
      // Corner 3 has 1 mm above the non-erodible level for a 2 mm move down:
      // all four moves halve, the column keeps its volume.
      {"corner near the non-erodible level", [] { Surfaces[3][3][3] = 0.999; }, {q / 2, q / 2, -q / 2, -q / 2}},
      {"only the groundwater with F 266 2", [] { FlagGLEA = 2; }, {0, 0, 0, 0}},
  };
  for (const Case &c : cases) {
    reset();
    c.setup();
    computeGLEA();
    const std::array<double, 4> m = moves();
    double sum = 0.0;
    for (int k = 0; k < 4; ++k) {
      EXPECT_NEAR(m[k], c.moves[k], 1e-12) << c.name << ", corner " << k + 1;
      EXPECT_NEAR(Surfaces[1][kPi[k]][kPj[k]], c.moves[k], 1e-12) << c.name << ", corner " << k + 1;
      sum += m[k];
    }
    EXPECT_NEAR(sum, 0.0, 1e-15) << c.name;
    EXPECT_EQ(groundwaterCalls, 0) << c.name;
  }
}

// With groundwater the push of the gradient across the column adds to the
// weight's: a level 0.3 m higher to the north adds 9810·0.3·1·0.5 = 1471.5 N
// to F = 5199.3 N against R = 1.2·W = 6239.2 N, and 0.3 m lower takes it
// away. The missing south neighbour reads the column's own level, not the
// dummy cell's. F 266 2 only advances the groundwater.
TEST_F(LimitEquilibrium, GroundwaterGradient) {
  struct Case {
    int flag;
    double north;
    bool fails;
  };
  const Case cases[] = {{1, 0.3, true}, {1, -0.3, false}, {2, 0.3, false}};
  for (const Case &c : cases) {
    reset();
    FlagGroundwater = 2;
    FlagGLEA = c.flag;
    SlopeGLEA = 1.2;
    Bgroundwater[0] = -50.0;
    Bgroundwater[1] = 1.0;
    Bgroundwater[2] = 1.0 + c.north;
    Ccelln[1] = 6;
    Cbed[6] = 2;
    computeGLEA();
    EXPECT_EQ(groundwaterCalls, 1);
    const double q = c.fails ? 0.002 : 0.0;
    const std::array<double, 4> expected{q, q, -q, -q};
    const std::array<double, 4> m = moves();
    for (int k = 0; k < 4; ++k) EXPECT_NEAR(m[k], expected[k], 1e-12) << c.north << ", corner " << k + 1;
  }
}

}  // namespace
