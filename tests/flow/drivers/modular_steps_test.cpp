// The steps of the modular driver on the hand-built channel: the
// coefficients V and W use, the first call without fresh fluxes, Seiche4,
// the p' of F 258 and an empty range, the relaxed wall values of epsilon
// and the lower limit of k, and the threaded forms against the serial ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "flow/boundaries/face_fluxes.h"
#include "flow/drivers/modular_steps.h"
#include "flow/stages/stage_steps.h"
#include "flow/stage_regions.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"
#include "solvers/coefficients.h"

namespace {

class ModularStepChecks : public StageRegionBase {
 protected:
  // p' in a buffer of its own, as the driver leaves Cf for the pressure step.
  void pressureBuffer() {
    correction_.assign(NoCells + 1, 0.0);
    Cf = correction_.data();
  }
  std::vector<double> correction_;

  // The six neighbour coefficients of every cell.
  static std::vector<double> neighbourCoefficients() {
    std::vector<double> a;
    for (int c = 1; c <= NoCells; ++c)
      for (const double *x : {Cae, Caw, Can, Cas, Cat, Cab}) a.push_back(x[c]);
    return a;
  }
};

// U of the second-order scheme and V and W of the first order: V builds
// anew with coeff_make and W solves with V's coefficients, which stay.
TEST_F(ModularStepChecks, FirstOrderComponentsAfterASecondOrderU) {
  sou[1] = 1;  // before the tables are allocated: the second neighbours' coefficients
  sou[2] = sou[3] = 0;
  prepare();
  waterflow(WFStart, WFEnd);  // convection, which the schemes treat differently
  SimpleVelocities(1);
  EXPECT_EQ(Equation, 3);
  const std::vector<double> left = neighbourCoefficients();
  for (double *x : {Cae, Caw, Can, Cas, Cat, Cab}) std::fill(x, x + NoCells + 1, 0.0);
  Equation = 2;
  coeff_make(WFStart, WFEnd);
  EXPECT_EQ(neighbourCoefficients(), left);
  // U was built by the second-order builder, which alone fills the second
  // neighbours' coefficients.
  double second = 0.0;
  for (int c = 1; c <= NoCells; ++c)
    for (const double *x : {Caee, Caww, Cann, Cass, Catt, Cabb}) second += std::fabs(x[c]);
  EXPECT_GT(second, 0.0);
}

// The first call builds from the fluxes it finds; from then on 1/Ap exists
// and the step recomputes the fluxes first.
TEST_F(ModularStepChecks, FirstCallKeepsTheFluxes) {
  prepare();
  for (int f = 1; f <= NoSurfaces; ++f) Fflux[f] = 0.25 * f;
  const std::vector<double> marked(Fflux, Fflux + NoSurfaces + 1);
  FlagInitializedInvAp = 0;
  SimpleVelocities(1);
  EXPECT_EQ(FlagInitializedInvAp, 1);
  EXPECT_EQ(std::vector<double>(Fflux, Fflux + NoSurfaces + 1), marked);
  SimpleVelocities(2);
  EXPECT_NE(std::vector<double>(Fflux, Fflux + NoSurfaces + 1), marked);
}

// With F 69's Seiche4 the step ends after V: W and its residual stay.
TEST_F(ModularStepChecks, SeicheKeepsWAndItsResidual) {
  prepare();
  Seiche4 = 1;
  MaxResidual[3] = 0.125;
  const std::vector<double> w(Czvel, Czvel + NoCells + 1);
  SimpleVelocities(1);
  EXPECT_EQ(Equation, 2);
  EXPECT_EQ(MaxResidual[3], 0.125);
  EXPECT_EQ(std::vector<double>(Czvel, Czvel + NoCells + 1), w);
}

// F 258 leaves p' unsolved: after the reference shift it is -0.001 in every
// cell, and the corrections still run. With F 181 there is no shift.
TEST_F(ModularStepChecks, UnsolvedPressureCorrection) {
  prepare();
  pressureBuffer();
  FlagStressTerm = 1;
  SimplePressure(1);
  EXPECT_EQ(Equation, 4);
  for (int c = 1; c <= NoCells; ++c) ASSERT_DOUBLE_EQ(Cf[c], -0.001) << c;
  FlagGravity = 1;
  SimplePressure(1);
  for (int c = 1; c <= NoCells; ++c) ASSERT_EQ(Cf[c], 0.0) << c;
}

// An empty work range: no defect, and the cell of the largest defect is 1.
TEST_F(ModularStepChecks, EmptyRangeStatistics) {
  prepare();
  pressureBuffer();
  WCStart = 1, WCEnd = 0;
  Glob_dmI = 7;
  GlobContinuity = GlobDefMax = 3.0;
  SimplePressure(1);
  EXPECT_EQ(Glob_dmI, 1);
  EXPECT_EQ(GlobContinuity, 0.0);
  EXPECT_EQ(GlobDefMax, 0.0);
}

// k at least ArtMinKinen after its solve; epsilon without a floor. The block
// correction (K 5 1) has no effect on k or epsilon in this step.
TEST_F(ModularStepChecks, TurbulenceLimitsAndBlockCorrection) {
  prepare();
  ArtMinKinen = 0.004;
  const Snapshot start = take();
  std::vector<double> k[2], e[2];
  for (int rule : {0, 1}) {
    restore(start);
    blockcorr[5] = blockcorr[6] = rule;
    SimpleTurbulence(5);
    SimpleTurbulence(6);
    k[rule].assign(Ckinen + 1, Ckinen + NoCells + 1);
    e[rule].assign(Cepsilon + 1, Cepsilon + NoCells + 1);
  }
  EXPECT_EQ(k[0], k[1]);
  EXPECT_EQ(e[0], e[1]);
  for (double v : k[0]) ASSERT_GE(v, 0.004);
  EXPECT_EQ(Equation, 6);
  EXPECT_EQ(Cf, Cepsilon);
}

// The wall values of epsilon are relaxed here too: a cell fixed by n wall
// faces (Cap n 1e30) ends with Cap 2n 1e30 and the mean of its old and its
// wall value, positive.
TEST_F(ModularStepChecks, EpsilonWallValuesRelaxed) {
  prepare();
  FlagWallAll = 0;  // the wall laws act on the channel's bed and sides
  relax[6] = 0.5;
  SimpleTurbulence(6);
  int fixed = 0;
  for (int c = 1; c <= NoCells; ++c) {
    if (Cap[c] < 1e29) continue;
    ++fixed;
    const double faces = Cap[c] / 2e30;
    ASSERT_NEAR(faces, std::round(faces), 1e-9) << c;
    ASSERT_GE(faces, 1.0) << c;
    ASSERT_NEAR(Cepsilon[c], Csource[c] / Cap[c], 1e-9 * Cepsilon[c]) << c;
    ASSERT_GT(Cepsilon[c], 0.0) << c;
  }
  EXPECT_GT(fixed, 0);
}

// The blends after a solve by F 291's first value, where every bed slopes:
// 1 halves towards the old value everywhere, 2 takes 0.8 of the old value
// in cells alone in their column only.
TEST_F(ModularStepChecks, SlopingCellBlendsAfterTheSolve) {
  prepare();
  for (int b = 1; b <= NoBCells; ++b) Barea[b] *= 2.0;
  const int alone = NoCells / 2;
  Ccellb[alone] = Ccellt[alone] = 0;  // taken for a column of one cell
  std::vector<double> old(NoCells + 1, 1.0);
  for (int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    FlagDamp1 = mode;
    for (int c = 0; c <= NoCells; ++c) Cxvel[c] = 2.0;
    Cf = Cxvel;
    Cf_old = old.data();
    dampAfterSolve(1, NoCells);
    for (int c = 1; c <= NoCells; ++c) {
      const double expected = mode == 1 ? 1.5 : (c == alone ? 1.2 : 2.0);
      ASSERT_DOUBLE_EQ(Cxvel[c], expected) << c;
    }
  }
}

struct StepOption {
  const char *name;
  void (*set)();
  bool transient;
  friend void PrintTo(const StepOption &o, std::ostream *os) { *os << o.name; }
};

class ModularStepRegions : public StageRegionBase, public ::testing::WithParamInterface<StepOption> {
 protected:
  std::vector<double> correction_;
};

// The threaded forms of the three steps leave what the serial ones do.
TEST_P(ModularStepRegions, ThreadedFormsMatchTheSerialForms) {
  GetParam().set();
  prepare();
  if (GetParam().transient) TimeStep = 10.0;
  for (int threads : {1, 4, 7}) {
    compare([] { SimpleVelocities(1); }, threads);
    correction_.assign(NoCells + 1, 0.0);
    compare(
        [this] {
          std::fill(correction_.begin(), correction_.end(), 0.0);
          Cf = correction_.data();
          SimplePressure(1);
        },
        threads);
    compare([] { SimpleTurbulence(5); }, threads);
    compare([] { SimpleTurbulence(6); }, threads);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Options, ModularStepRegions,
    ::testing::Values(StepOption{"Defaults", [] {}, false}, StepOption{"Transient", [] {}, true},
                      StepOption{"SideDamping", [] { FlagSideDamp = 1; }, true},
                      StepOption{"DiagonalLift", [] { FlagAddApTrekant = 1; }, false},
                      StepOption{"SecondOrderMomentum", [] { sou[1] = sou[2] = sou[3] = 1; }, false},
                      StepOption{"SlopingCellsAndNeighbours", [] { FlagDamp2 = 3; }, false},
                      StepOption{"TurbulenceModelTen", [] { TurbulenceModel = 10; }, false}),
    [](const auto &info) { return std::string(info.param.name); });

}  // namespace
