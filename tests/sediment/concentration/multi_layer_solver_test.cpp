// The pick-up of the multi-layer solver by hand on one column of 4 m2 with two
// sizes (1 mm and 0.2 mm, 60 % and 40 %), a settling coefficient of 100 kg/s
// per unit concentration and 400 kg/s per metre of solids over a 10 s step:
// the active depth, the equilibrium share, the supply limit of F 441, the
// cohesion tests, an empty column with F 304, and a step without inner
// iterations.
#include "sediment/concentration/multi_layer_solver.h"

#include <gtest/gtest.h>

#include "bed/layers/bed_layer_fixture.h"
#include "bed/layers/bed_layer_operations.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/work_ranges.h"

namespace {

constexpr int kB = 7, kC = 10, kF = 20;

class MultiLayerPickUp : public BedLayerFixture {
 protected:
  void SetUp() override {
    BedLayerFixture::SetUp();
    FlagCohesion = 2;  // so that Bcohesion exists
    allocateBed(2, 5);
    FlagCohesion = 0;
    Bcellt[kB] = kC;
    Barea[kB] = 4.0;
    Cflateb[kC] = kF;
    Faz[kF] = 4.0;
    TimeStep = 10.0;
    gsize[1] = 0.001;
    gsize[2] = 0.0002;
    fallvelo[1] = fallvelo[2] = 0.025;
    Bconc[1][kB] = 0.01;
    Bconc[2][kB] = 0.02;
    Bsource[1][kB] = 1.0;
    Bsource[2][kB] = 2.0;
    Ckinen[kC] = 0.01;  // 3 Pa
  }
};

TEST_F(MultiLayerPickUp, PickUpByHand) {
  // Without F 106 the active thickness is the largest grain, 1 mm.
  EXPECT_EQ(referenceLayerThickness(), 0.001);
  struct Case {
    const char *name;
    double stack, bedmove, conc1;
    int maxFlux;
    double cohesive1, topCohesion;
    int flagCohesion;
    double e1, e2;
  };
  const Case cases[] = {
      // Top 1 mm: 0.3 and 0.2 mm of solids, 0.12 and 0.08 kg/s; the
      // equilibrium shares 0.6·0.01 and 0.4·0.02 would allow 0.6 and 0.8.
      {"active 1 mm", 1.0, 0.0, 0.0, 1, 0.0, 0.0, 0, 0.12, 0.08},
      // 2 mm eroded so far: the active layer reaches 3 mm down.
      {"eroded 2 mm", 1.0, -0.002, 0.0, 1, 0.0, 0.0, 0, 0.36, 0.24},
      // A stack of 0.5 mm gives all it has.
      {"thin stack", 0.0005, 0.0, 0.0, 1, 0.0, 0.0, 0, 0.06, 0.04},
      // The settling of 0.001 adds 0.1 kg/s with F 441 1, else the larger.
      {"F 441 1", 1.0, 0.0, 0.001, 1, 0.0, 0.0, 0, 0.22, 0.08},
      {"F 441 0", 1.0, 0.0, 0.001, 0, 0.0, 0.0, 0, 0.12, 0.08},
      // A size cohesive above the 3 Pa of shear holds only while eroding.
      {"cohesive, not eroding", 1.0, 0.0, 0.0, 1, 5.0, 0.0, 0, 0.12, 0.08},
      {"cohesive, eroding", 1.0, -0.002, 0.0, 1, 5.0, 0.0, 0, 0.0, 0.24},
      // F 385 2: the top layer's cohesion holds every size of an eroding column.
      {"F 385 2, not eroding", 1.0, 0.0, 0.0, 1, 0.0, 5.0, 2, 0.12, 0.08},
      {"F 385 2, eroding", 1.0, -0.002, 0.0, 1, 0.0, 5.0, 2, 0.0, 0.0},
      {"F 385 2, weak bed", 1.0, -0.002, 0.0, 1, 0.0, 2.0, 2, 0.36, 0.24},
  };
  for (const Case &c : cases) {
    setStack(kB, {{c.stack, 0.5, {0.6, 0.4}}});
    Bedmove[kB] = c.bedmove;
    Cconc[1][kC] = c.conc1;
    Cconc[2][kC] = 0.0;
    FlagMaxFlux = c.maxFlux;
    cohesive[1] = c.cohesive1;
    FlagCohesion = c.flagCohesion;
    Bcohesion[0][kB] = c.topCohesion;
    pickUpFromLayers(kB, kC, 0.001);
    EXPECT_NEAR(Bupflux[1][kB], c.e1, 1e-12) << c.name;
    EXPECT_NEAR(Bupflux[2][kB], c.e2, 1e-12) << c.name;
    EXPECT_NEAR(Csourcem[1][kC], 1.0 + c.e1, 1e-12) << c.name;
    EXPECT_NEAR(Csourcem[2][kC], 2.0 + c.e2, 1e-12) << c.name;
  }
}

// Nothing to pick up: no pick-up, or with F 304 only the settling balance
// (the concentration itself, with 2 not above the equilibrium value).
TEST_F(MultiLayerPickUp, EmptyColumn) {
  Cconc[1][kC] = 0.001;
  Bconc[1][kB] = 0.0005;
  for (bool noLayer : {true, false}) {
    if (noLayer) {
      setStack(kB, {{0.0, 0.5, {0.6, 0.4}}});
      BlayerTop[kB] = -1;
    } else {
      setStack(kB, {{0.0, 0.5, {0.6, 0.4}}, {0.0, 0.5, {0.6, 0.4}}});
    }
    for (const auto &[bedVer, expected] : {std::pair{0, 0.0}, std::pair{1, 0.1}, std::pair{2, 0.05}}) {
      FlagBedVer = bedVer;
      pickUpFromLayers(kB, kC, 0.001);
      EXPECT_NEAR(Bupflux[1][kB], expected, 1e-12) << "F 304 " << bedVer << (noLayer ? ", no layer" : "");
    }
  }
}

// Without inner iterations the step clears Bedmove and Bupflux and adds no
// bed change, also none left from an earlier step.
TEST_F(MultiLayerPickUp, NoInnerIterations) {
  iter_morph = 0;
  WBStart = WBEnd = kB;
  Bedmove[kB] = 0.3;
  Bupflux[1][kB] = Bupflux[2][kB] = 0.4;
  SumBedChange = 5.0;
  SumBedChangeLoc = -2.0;
  morphology_tsc_solver_tsc3_standard();
  EXPECT_EQ(Bedmove[kB], 0.0);
  EXPECT_EQ(Bupflux[1][kB], 0.0);
  EXPECT_EQ(Bupflux[2][kB], 0.0);
  EXPECT_EQ(SumBedChange, 5.0);
}

}  // namespace
