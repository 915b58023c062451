// Bank factors on a hand-built stencil: two columns wide (x = 0, 1) and
// three long (y = 0, 1, 2), two cells high, the bank cell at (0, 1) with the
// dry side to the west. The flow runs north; the bed velocity is turned
// 10 degrees clockwise and the surface velocity 10 degrees anticlockwise,
// a veering of 20 degrees towards the dry side.
#include "sediment/transport/bank_erosion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "model/cells.h"
#include "model/faces.h"
#include "model/settings.h"
#include "sediment/transport/tiny_grid.h"
#include "startup/control_reader.h"

namespace {

constexpr int kBank = 3;
int bottom(int i, int j) { return 1 + i + 2 * j; }

class BankErosion : public ::testing::Test {
 protected:
  void SetUp() override {
    kreadDefaults();
    grid_.reset();  // a stencil set up again is bound anew
    grid_ = std::make_unique<TinyGrid>(12, 1, 0, 0);
    const double turn = 10.0 * M_PI / 180.0;
    for (int j = 0; j < 3; ++j) {
      for (int i = 0; i < 2; ++i) {
        const int c = bottom(i, j), t = c + 6;
        grid_->stack(c, t);
        for (int level : {0, 6}) {
          if (i == 0) Ccelle[c + level] = bottom(1, j) + level;
          if (i == 1) Ccellw[c + level] = bottom(0, j) + level;
          if (j > 0) Ccells[c + level] = bottom(i, j - 1) + level;
          if (j < 2) Ccelln[c + level] = bottom(i, j + 1) + level;
          Cxcenter[c + level] = i;
          Cycenter[c + level] = j;
        }
        // The bank cell's column flows at half the speed.
        const double speed = c == kBank ? 0.5 : 1.0;
        Cxvel[c] = speed * std::sin(turn);
        Cyvel[c] = speed * std::cos(turn);
        Cxvel[t] = -speed * std::sin(turn);
        Cyvel[t] = speed * std::cos(turn);
      }
    }
    Cflateb[kBank] = 1;
    Fvz[1] = std::cos(30.0 * M_PI / 180.0);
    Farea[1] = 1.0;
    Cvol[kBank] = 0.5;
    SolidFrac = 0.6;
    TimeStep = 10.0;
  }
  void TearDown() override { grid_.reset(); }
  std::unique_ptr<TinyGrid> grid_;
};

void expectFactors(const BankFactors &f, double shear, double concentration, double added, const std::string &what) {
  EXPECT_NEAR(f.shear, shear, 1e-6 * shear) << what;
  EXPECT_NEAR(f.concentration, concentration, 1e-6 * concentration) << what;
  EXPECT_NEAR(f.added, added, 1e-6 * added + 1e-15) << what;
}

// Slope 30 degrees above a threshold of 20: S = tan(10 degrees); depth 2 m;
// psi = 20 degrees in radians; the speed ratio r2 = (5.5 / 5) / 0.5 = 2.2;
// the weight |psi| / 30 |sigma| with sigma = 1.
TEST_F(BankErosion, FactorsTowardsTheDrySide) {
  struct Row {
    const char *what;
    int lea2, lea3, lea4, lea5;
    double shear, concentration, added;
  };
  const Row rows[] = {
      {"F 214 1", 1, 0, 0, 0, 12.1948748, 3.2, 0.0},
      {"F 214 2", 2, 0, 0, 0, 1.01332492, 1.02559816, 0.0},
      {"F 215 1", 0, 1, 0, 0, 1.34202014, 1.0, 0.0},
      {"F 215 2", 0, 2, 0, 0, 1.54030231, 1.0, 0.0},
      {"F 216 1", 0, 0, 1, 0, 1.0, 1.0, 0.293878301},
      {"F 216 2", 0, 0, 2, 0, 1.0, 1.0, 0.00341942931},
      {"F 217 1", 0, 0, 0, 1, 1.0, 1.0, 0.00587756603},
      {"F 214 1 and F 215 1", 1, 1, 0, 0, 12.1948748 * 1.34202014, 3.2, 0.0},
      {"F 216 1 and F 217 1", 0, 0, 1, 1, 1.0, 1.0, 0.293878301 + 0.00587756603},
  };
  for (const Row &r : rows) {
    FlagLEA2 = r.lea2;
    FlagLEA3 = r.lea3;
    FlagLEA4 = r.lea4;
    FlagLEA5 = r.lea5;
    CoeffLEA2_teta = CoeffLEA4_teta = CoeffLEA5_teta = 20.0;
    CoeffLEA2_k2 = CoeffLEA2_k3 = CoeffLEA2_k4 = CoeffLEA3 = 1.0;
    CoeffLEA5_Ub = 0.001;
    ASSERT_TRUE(bankErosionOn());
    expectFactors(bankErosionFactors(kBank, 2.0, true), r.shear, r.concentration, r.added, r.what);
  }
  // A bank flatter than the thresholds: r1 = 1 and nothing added.
  FlagLEA2 = FlagLEA4 = FlagLEA5 = 1;
  FlagLEA3 = 0;
  CoeffLEA2_teta = CoeffLEA4_teta = CoeffLEA5_teta = 40.0;
  expectFactors(bankErosionFactors(kBank, 2.0, true), (2.2 * 2.2 + 1.0) * 2.0, 3.2, 0.0, "flat bank");
}

TEST_F(BankErosion, NoEffectWithoutVeeringTowardsTheDrySide) {
  auto switchOn = [] {
    FlagLEA2 = FlagLEA4 = 1;
    CoeffLEA2_k2 = CoeffLEA2_k3 = CoeffLEA2_k4 = 1.0;
  };
  switchOn();
  expectFactors(bankErosionFactors(kBank, 2.0, false), 1.0, 1.0, 0.0, "no bank cell");
  // Veering away from the dry side.
  for (int c = 1; c <= 6; ++c) std::swap(Cxvel[c], Cxvel[c + 6]);
  expectFactors(bankErosionFactors(kBank, 2.0, true), 1.0, 1.0, 0.0, "veering to the wet side");
  // Columns of a single cell have no veering.
  SetUp();
  switchOn();
  for (int c = 1; c <= 6; ++c) Ccellt[c] = 0;
  expectFactors(bankErosionFactors(kBank, 2.0, true), 1.0, 1.0, 0.0, "single-cell columns");
  // Still water.
  SetUp();
  switchOn();
  for (int c = 1; c <= 12; ++c) Cxvel[c] = Cyvel[c] = 0.0;
  expectFactors(bankErosionFactors(kBank, 2.0, true), 1.0, 1.0, 0.0, "still water");
  FlagLEA2 = FlagLEA4 = 0;
  EXPECT_FALSE(bankErosionOn());
}

}  // namespace
