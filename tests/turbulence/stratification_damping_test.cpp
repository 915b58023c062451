// The damping factor of a stable stratification between two cells of a
// column, from the temperature of component 0, worked by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "solvers/coefficients.h"
#include "turbulence/box_cells.h"

namespace {

class Stratification : public BoxCells {
 protected:
  void SetUp() override {
    BoxCells::SetUp();
    build(1, 3, 1.0, 1.0, 0.5);  // half heights 0.25 m
    temperature_.assign(NoCells + 1, 0.0);
    rows_[0] = temperature_.data();
    Ccomp = rows_;
    NoComponents = 1;
  }
  void setTemperatures(double lower, double upper) {
    temperature_[1] = lower;
    temperature_[2] = upper;
  }
  std::vector<double> temperature_;
  double *rows_[1];
};

double rho(double t) { return 0.9999726 * (1.0 - 9.297173e-6 * std::pow(std::fabs(t - 4.029325), 1.894816)); }

TEST_F(Stratification, WarmOverColdWater) {
  setTemperatures(10.0, 20.0);
  Cxvel[1] = 0.1;
  Cxvel[2] = 0.0;
  struct Pair {
    double alpha, beta, factor;
  };
  // Ri = 0.734344 for both pairs.
  for (const Pair &p : {Pair{-0.5, 10.0, 0.346200}, Pair{-1.5, 3.33, 0.156368}}) {
    TDalpha = p.alpha;
    TDbeta = p.beta;
    EXPECT_NEAR(coeff_turbdens(1, 2), p.factor, 5e-7) << p.alpha;
  }
  setTemperatures(20.0, 10.0);
  EXPECT_EQ(coeff_turbdens(1, 2), 1.0) << "heavier water above: no damping";
  setTemperatures(15.0, 15.0);
  EXPECT_EQ(coeff_turbdens(1, 2), 1.0);
  TDvelo = 0.0;
  Cxvel[1] = Cxvel[2];
  EXPECT_EQ(coeff_turbdens(1, 2), 1.0) << "a neutral pair without shear";
}

TEST_F(Stratification, RichardsonNumberOfOneTenth) {
  // Shear chosen so that Ri = 0.1: the defaults of the two pairs give
  // (1 + 1)^-0.5 and (1 + 0.333)^-1.5.
  setTemperatures(10.0, 20.0);
  TDvelo = 0.0;
  const double d = 0.5, g = (rho(20.0) - rho(10.0)) / d;
  Cxvel[1] = d * std::sqrt(-9.81 * g / 0.1);
  Cxvel[2] = 0.0;
  TDalpha = TurbDensAlphaU;
  TDbeta = TurbDensBetaU;
  EXPECT_NEAR(coeff_turbdens(1, 2), 0.707107, 5e-7);
  TDalpha = TurbDensAlphaT;
  TDbeta = TurbDensBetaT;
  EXPECT_NEAR(coeff_turbdens(1, 2), 0.649763, 5e-7);
}

TEST_F(Stratification, ACellBetweenThePairCountsWhole) {
  // Cells 1 and 3 with cell 2 between: d = 0.25 + 0.25 + 0.5 = 1 m.
  temperature_[1] = 10.0;
  temperature_[3] = 20.0;
  TDvelo = 0.0;
  const double g = rho(20.0) - rho(10.0);  // per 1 m
  Cxvel[1] = 1.0 * std::sqrt(-9.81 * g / 0.1);
  TDalpha = -0.5;
  TDbeta = 10.0;
  EXPECT_NEAR(coeff_turbdens(1, 3), std::sqrt(0.5), 1e-9);
}

TEST_F(Stratification, WithoutComponentsTheWaterIsUnstratified) {
  NoComponents = 0;
  Ccomp = nullptr;
  EXPECT_EQ(coeff_turbdens(1, 2), 1.0);
}

}  // namespace
