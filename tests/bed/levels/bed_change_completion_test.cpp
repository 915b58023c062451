// The completion of a bed change in process, its grid routines recorded: the
// regeneration schedule of F 99 and its order, the suspended mass the move
// of the fields creates, and the surface update of F 432 before it.
#include "bed/levels/bed_change_completion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bed/layers/bed_layer_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/structured.h"
#include "model/work_ranges.h"
#include "startup/operations.h"

namespace {

std::vector<std::string> calls;

class BedChangeCompletion : public BedLayerFixture {
 protected:
  void SetUp() override {
    BedLayerFixture::SetUp();
    allocateBed(1, 2, false, 4, 4);
    saved_ = operations;
    calls.clear();
    operations.Unstructure = [] {
      calls.push_back("Unstructure");
      return 1;
    };
    operations.metric = [] { calls.push_back("metric"); };
    operations.BedMake = [] { calls.push_back("BedMake"); };
    operations.waterflow = [](int, int) { calls.push_back("waterflow"); };
    operations.surface = [] { calls.push_back("surface"); };
    operations.computeSandSlide = [] { calls.push_back("computeSandSlide"); };
    FlagBedDownstream = 0;
    IterAvalanche = 0;
    FlagSlideDLL = 0;
    UMethod2 = 1;
    MGSNo = 0;
    FlagCallSurface = 0;
    WCStart = 1;
    WCEnd = 0;
    WFStart = 1;
    WFEnd = 0;
    density = 2.65;
    SuspVolChangeDef = 0.0;
  }
  void TearDown() override {
    operations = saved_;
    BedLayerFixture::TearDown();
  }

 private:
  EngineOperations saved_{};
};

// F 99 5 regenerates in steps 1, 6, 11, each time in the order of a grid
// change; the sand slide comes before it.
TEST_F(BedChangeCompletion, RegeneratesEveryF99StepsInOrder) {
  BedRecIter = 5;
  FlagSlideDLL = 1;
  std::vector<int> steps;
  for (Iter = 1; Iter <= 12; ++Iter) {
    calls.clear();
    completeBedChange();
    if (calls.size() > 1) {
      steps.push_back(Iter);
      EXPECT_EQ(calls, (std::vector<std::string>{"computeSandSlide", "Unstructure", "metric", "BedMake", "waterflow"}))
          << "step " << Iter;
    } else {
      EXPECT_EQ(calls, std::vector<std::string>{"computeSandSlide"}) << "step " << Iter;
    }
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 6, 11}));
  // The slides of F 56 205 and 206 belong to the loop, not to this step.
  for (int avalanche : {205, 206}) {
    IterAvalanche = avalanche;
    calls.clear();
    Iter = 2;
    completeBedChange();
    EXPECT_TRUE(calls.empty()) << avalanche;
  }
}

// The suspended mass that the regeneration takes from the cells is booked as
// density x (before - after) x 1000.
TEST_F(BedChangeCompletion, BooksTheSuspendedMassTheRegenerationMoves) {
  WCStart = 1;
  WCEnd = 2;
  for (int c = 1; c <= 2; ++c) {
    Cvol[c] = 2.0;
    Cconc[1][c] = 0.001;
  }
  operations.Unstructure = [] {
    Cconc[1][1] = Cconc[1][2] = 0.0005;
    return 1;
  };
  BedRecIter = 2;
  Iter = 2;  // no regeneration: nothing booked
  completeBedChange();
  EXPECT_EQ(SuspVolChangeDef, 0.0);
  Iter = 3;
  completeBedChange();
  EXPECT_NEAR(SuspVolChangeDef, 2.65 * (0.004 - 0.002) * 1000.0, 1e-12);
}

// F 432 1: a due surface update runs before the regeneration, never with
// F 36 6; F 36 3 runs it whatever the residuals, others count a skip.
TEST_F(BedChangeCompletion, SurfaceUpdateBeforeTheRegeneration) {
  struct Case {
    int tfs;
    double residual;
    bool updated;
    int skipped;
  };
  const Case cases[] = {{6, 0.0, false, 0}, {3, 1e6, true, 0}, {2, 0.0, true, 0}, {2, 1e6, false, 1}};
  BedRecIter = 1;
  FlagCallSurface = 1;
  FlagRoof = 1;
  IterWaterUpdate = 10;
  SurfResCrit = 100.0;
  Iter = 10;
  for (const Case &c : cases) {
    calls.clear();
    NoNumNoSurfUpdate = 0;
    FlagTFS = c.tfs;
    for (int e = 1; e <= 6; ++e) MaxResidual[e] = c.residual;
    completeBedChange();
    EXPECT_EQ(!calls.empty() && calls.front() == "surface", c.updated) << "F 36 " << c.tfs;
    EXPECT_EQ(NoNumNoSurfUpdate, c.skipped) << "F 36 " << c.tfs;
  }
}

// The form of the column-ordered bed change: no surface update before the
// regeneration even when one is due, and the coarse point under a nested
// column takes that column's corner 1 through Bnestcoarse.
TEST_F(BedChangeCompletion, OrderedFormSkipsTheSurfaceAndCopiesNestedColumns) {
  BedRecIter = 1;
  FlagCallSurface = 1;
  FlagRoof = 1;
  FlagTFS = 3;
  IterWaterUpdate = 10;
  Iter = 10;
  int nest[4] = {0, 0, 0, 1};  // bed cell 3 lies over bed cell 1
  NoBCells = 3;
  NoNestflater = 2;
  Bkooi[1] = 2, Bkooj[1] = 2;
  Bkooi[3] = 4, Bkooj[3] = 3;
  zval[4][3][1] = 0.3;
  Surfaces[1][4][3] = 0.1;
  Bnestcoarse = nest;
  calls.clear();
  completeBedChange(BedLevelRoutine::ColumnOrder);
  Bnestcoarse = nullptr;
  EXPECT_EQ(calls, (std::vector<std::string>{"Unstructure", "metric", "BedMake", "waterflow"}));
  EXPECT_EQ(zval[2][2][1], 0.3);
  EXPECT_EQ(Surfaces[1][2][2], 0.1);
  calls.clear();
  completeBedChange();
  EXPECT_EQ(calls.front(), "surface") << "the area-ordered form updates it";
}

}  // namespace
