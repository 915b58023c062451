// The momentum sources of the modular velocity step on the generated channel
// (10 x 4 columns of nine cells of 1 x 1 x 1/9 m): which steps of
// VelocitySources act and in what order, and the values of the bridge-deck
// drag, the turbidity current, the thermocline buoyancy, the damping across
// shallow faces, the halving relaxations and the normal stresses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "flow/flow_fixture.h"
#include "flow/equation_terms/momentum_sources.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "support/run_case.h"

namespace {

std::vector<std::string> ran;

template <int Row>
void record() {
  ran.push_back(velocitySourceSteps[Row].name);
}

// Every step but the clock records its name instead of acting.
template <int... Rows>
void recordAll(std::integer_sequence<int, Rows...>) {
  ((velocitySourceSteps[Rows].run = std::string(velocitySourceSteps[Rows].name) == "clock"
                                        ? velocitySourceSteps[Rows].run
                                        : record<Rows>),
   ...);
}

class VelocitySourceTerms : public FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    channel();
    WCStart = 1, WCEnd = NoCells;
    WFStart = 1, WFEnd = NoSurfaces;
    ran.clear();
    restoreVelocitySourceSteps();
    clearCoefficients();
  }
  void TearDown() override {
    restoreVelocitySourceSteps();
    Cconc = nullptr;
    Ccomp = nullptr;
    FlowFixture::TearDown();
  }
  // The bottom cell of column (i, j) of block 1, counted from its corner.
  static int bottomOf(int di, int dj) {
    return static_cast<int>(zval[block[1].i1 + di][block[1].j1 + dj][0]);
  }
};

// Defaults: the boundary terms alone. Every data set adds its step, in the
// order of the list; wind skips W, the thermocline and the turbidity
// current act on W only, and the thermocline replaces the density gradients.
TEST_F(VelocitySourceTerms, StepsActInTheirOrder) {
  recordAll(std::make_integer_sequence<int, kVelocitySourceSteps>{});
  struct Case {
    const char *name;
    int equation;
    bool all;
    int thermocline;
    std::vector<std::string> expected;
  } cases[] = {
      {"defaults", 1, false, 0, {"boundary"}},
      {"all on U", 1, true, 0,
       {"boundary", "vegetation", "dune drag", "gravity", "nesting", "wind", "density gradients", "coriolis",
        "deferred correction", "dead ends", "triangular cells", "sloping cells", "shallow faces", "bridges"}},
      {"all on W with F 75", 3, true, 1,
       {"boundary", "vegetation", "dune drag", "gravity", "nesting", "thermocline", "coriolis", "turbidity current",
        "deferred correction", "dead ends", "triangular cells", "sloping cells", "shallow faces", "bridges"}},
  };
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    const int on = k.all ? 1 : 0;
    FlagDragDLL = FlagDragDune = FlagGravity = NoNestflater = TemperatureFlag = FlagCoriolis = on;
    Wind[0] = on * 2.0;
    SourDens = on * 1.0;
    sou[k.equation] = on * 10;
    OneCellSource = on;
    FlagCorrTrekant = on * 11;
    FlagDamp2 = on * 2;
    FlagShallowDamp = on;
    BridgeNo = on;
    FlagThermocline = k.thermocline;
    Equation = k.equation;
    ran.clear();
    VelocitySources();
    EXPECT_EQ(ran, k.expected);
  }
  NoNestflater = 0;
}

// A cell that is triangular (F 235 11) and has a sloping bed (F 291 0 2) is
// halved twice: Cap times 4, and its value still the fixed point.
TEST_F(VelocitySourceTerms, TriangularAndSlopingCellHalvedTwice) {
  velocitySourceSteps[0].run = [] {};  // no boundary terms
  const int c = bottomOf(2, 1), other = bottomOf(3, 1);
  Barea[Cbed[c]] = 2.0 * Faz[Cflateb[c]];
  Ctrekant[c] = 1;
  FlagCorrTrekant = 11;
  FlagDamp2 = 2;
  Equation = 1;
  Cf = Cxvel;
  Cxvel[c] = Cxvel[other] = 0.5;
  Cap[c] = Cap[other] = 3.0;
  Csource[c] = Csource[other] = 1.5;
  VelocitySources();
  EXPECT_DOUBLE_EQ(Cap[c], 12.0);
  EXPECT_DOUBLE_EQ(Csource[c], 1.5 + 1.5 + 3.0);  // + Cap u twice, with Cap 3 then 6
  EXPECT_DOUBLE_EQ(Cap[other], 3.0);
  EXPECT_DOUBLE_EQ(Csource[other], 1.5);
}

// The excess weight of the sediment: a 1 m3 cell with c0 0.001, F 18 1 and
// F 11 2.65 gets -16.1865 N; with a grain density of 1 nothing.
TEST_F(VelocitySourceTerms, TurbidityCurrentByHand) {
  std::vector<double> concentration(NoCells + 1, 0.001);
  double *sizes[1] = {concentration.data()};
  Cconc = sizes;
  SourDens = 1.0;
  const int c = bottomOf(0, 0);
  Cvol[c] = 1.0;
  for (double grain : {2.65, 1.0}) {
    density = grain;
    Csource[c] = 0.0;
    turbiditycurrentSource();
    EXPECT_NEAR(Csource[c], grain == 1.0 ? 0.0 : -16.1865, 1e-10) << "F 11 " << grain;
  }
}

// Water of 20 degrees against a thermocline of 10: +1.49716 N per m3, no
// gravity factor. Without a component the buoyancy is skipped and the
// warning is logged once.
TEST_F(VelocitySourceTerms, ThermoclineBuoyancyByHand) {
  std::vector<double> temperature(NoCells + 1, 20.0);
  double *components[1] = {temperature.data()};
  FlagThermocline = 1;
  Thermocline = 10.0;
  EXPECT_TRUE(thermoclineWithoutTemperature());
  EXPECT_TRUE(thermoclineWithoutTemperature());
  const std::string warning = "Warning: F 75 needs a temperature component (F 67 1); no thermocline buoyancy\n";
  EXPECT_TRUE(endsWith(boogie(), warning)) << boogie();
  EXPECT_EQ(boogie().find(warning), boogie().rfind(warning));
  addThermoclineBuoyancy(1, NoCells);
  EXPECT_EQ(Csource[1], 0.0);

  Ccomp = components;
  NoComponents = 1;
  EXPECT_FALSE(thermoclineWithoutTemperature());
  addThermoclineBuoyancy(1, NoCells);
  for (int c = 1; c <= NoCells; ++c) ASSERT_NEAR(Csource[c] / Cvol[c], 1.49716, 5e-6) << c;
  NoComponents = 0;
}

// The damping across the east face of the corner column of the last row:
// r = depth / (sum of the two bottom half heights, 1/9 m). r = 0.25 gives
// 937.5 |u n| in every cell of both columns, r = 0.5 nothing, a depth sum
// that is not positive the full 1000 |u n|. Nothing else is damped.
TEST_F(VelocitySourceTerms, ShallowFaceDamping) {
  const GridBlock &b = block[1];
  const int i = b.i1, j = b.j2;
  const int c = static_cast<int>(zval[i][j][0]);
  ASSERT_GT(c, 0);
  const int n = Ccelle[c];
  ASSERT_GT(n, 0);
  ASSERT_EQ(Fflagflow[Cflatee[c]], 1);
  for (int x = 0; x <= NoCells; ++x) Cxvel[x] = 0.8, Cyvel[x] = 0.3;
  struct Case {
    double depth, factor;
  } cases[] = {{0.25 / 9.0, 937.5}, {0.5005 / 9.0, 0.0}, {-0.1, 1000.0}};  // r just above 0.5: the heights carry rounding
  for (const Case &k : cases) {
    SCOPED_TRACE(k.depth);
    clearCoefficients();
    for (int jj : {j, j - 1}) {
      zval[i][jj][1] = 0.0;
      zval[i][jj][znumber] = k.depth;
    }
    sourceShallowDamp();
    std::vector<int> damped;
    for (int x = c, y = n; x > 0 && y > 0; x = Ccellt[x], y = Ccellt[y]) damped.push_back(x), damped.push_back(y);
    EXPECT_EQ(damped.size(), 18u);
    for (int x = 1; x <= NoCells; ++x) {
      const bool in = std::find(damped.begin(), damped.end(), x) != damped.end();
      ASSERT_NEAR(Cap[x], in ? k.factor * 0.8 : 0.0, 1e-6) << "cell " << x;
    }
  }
}

// The deck's drag on the cells of one column (1 m wide, nine cells of 1/9 m
// from the bed at 0): the overlap with the deck times 1000 Cd and the width;
// below Cd 0.7 times the horizontal speed as well; nothing above the water.
TEST_F(VelocitySourceTerms, BridgeDeckDrag) {
  const int di = 3, dj = 1;
  const int bottom = bottomOf(di, dj);
  ASSERT_NEAR(Barea[Cbed[bottom]], 1.0, 1e-12);
  ASSERT_NEAR(Czcenter[bottom], 1.0 / 18.0, 1e-9);
  for (int x = 0; x <= NoCells; ++x) Cxvel[x] = 1.2, Cyvel[x] = 1.6;  // speed 2
  struct Case {
    double lower, upper, cd, speedFactor;
  } cases[] = {{0.5, 1.5, 1.0, 1.0}, {0.5, 1.5, 0.7, 1.0}, {0.5, 1.5, 0.5, 2.0}, {2.0, 3.0, 1.0, 0.0}};
  const int i = block[1].i1 + di, j = block[1].j1 + dj;
  for (const Case &k : cases) {
    SCOPED_TRACE(k.cd);
    clearCoefficients();
    Bridge[1] = BridgeEntry{i, i, j, j, k.lower, k.upper, k.cd};
    BridgeNo = 1;
    sourceBridge();
    int level = 0;
    for (int x = bottom; x > 0; x = Ccellt[x], ++level) {
      const double o = std::max(0.0, std::min((level + 1) / 9.0, k.upper) - std::max(level / 9.0, k.lower));
      ASSERT_NEAR(Cap[x], 1000.0 * k.cd * o * k.speedFactor, 1e-5) << "level " << level;
    }
    EXPECT_EQ(level, 9);
    double total = 0.0;
    for (int x = 1; x <= NoCells; ++x) total += Cap[x];
    EXPECT_NEAR(total, 1000.0 * k.cd * (k.lower < 1.0 ? 0.5 : 0.0) * k.speedFactor, 1e-5);
  }
  BridgeNo = 0;
}

// The normal stress of a flow stretched along x only (u = a x): the
// deviatoric form (F 324 1) takes two thirds of what the plain form (2)
// adds to U, with the opposite sign, and puts a third of it on W; any other
// value adds nothing.
TEST_F(VelocitySourceTerms, NormalStressForms) {
  for (int x = 0; x <= NoCells; ++x) {
    Cxvel[x] = 0.1 * Cxcenter[x];
    Cyvel[x] = Czvel[x] = 0.0;
    Cgamma[x] = 2.0;
  }
  const int c = bottomOf(4, 1) + 4;  // an inner cell
  auto stress = [c](int mode, int equation) {
    FlagNormStress = mode;
    Equation = equation;
    Csource[c] = 0.0;
    computeNormStress(c, c);
    return Csource[c];
  };
  const double plainU = stress(2, 1);
  EXPECT_GT(plainU, 0.0);
  EXPECT_NEAR(stress(1, 1), -2.0 / 3.0 * plainU, 1e-6 * plainU);
  EXPECT_NEAR(stress(2, 3), 0.0, 1e-12);
  EXPECT_NEAR(stress(1, 3), 0.1 * 0.333333 * 2.0 * Faz[Cflatet[c]], 1e-9);
  EXPECT_EQ(stress(0, 1), 0.0);
  EXPECT_EQ(stress(3, 2), 0.0);
}

}  // namespace
