// The slide movement with the flow driver, the surface update and the grid
// services replaced by recorders: what is saved and restored around the
// slide flow, and the rigid-block velocities of hand-built columns.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "bed/bed_services.h"
#include "bed/slides/soil_layer/slide_layer.h"
#include "bed/slides/soil_layer/slide_movement.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "model/work_ranges.h"
#include "startup/operations.h"
#include "support/run_case.h"
#include "turbulence/box_cells.h"

namespace {

std::vector<std::string> calls;
double stepSeen, weightSeen;
int innerSeen, computingSeen;
void (*fillTable)() = [] {};

EngineOperations recorders() {
  EngineOperations o = engineOperations();
  o.WaterSolve = [] {
    calls.emplace_back("WaterSolve");
    stepSeen = TimeStep;
    innerSeen = TransInnerIter;
    computingSeen = FlagThixoIsComputing;
    stimet += TimeStep;
  };
  o.surface_tfs = [](int a, int b) { calls.push_back("surface_tfs " + std::to_string(a) + ' ' + std::to_string(b)); };
  o.groundwater = [] { calls.emplace_back("groundwater"); };
  o.computeSlideLocation = [] {
    calls.emplace_back("computeSlideLocation");
    fillTable();
  };
  o.sprintflow = [] { calls.emplace_back("sprintflow"); };
  o.Unstructure = [] {
    calls.emplace_back("Unstructure");
    return 1;
  };
  o.metric = [] { calls.emplace_back("metric"); };
  o.BedMake = [] { calls.emplace_back("BedMake"); };
  o.waterflow = [](int, int) {
    calls.emplace_back("waterflow");
    weightSeen = RelaxRhieChow;
  };
  return o;
}

class SlideMovement : public BoxCells {
 protected:
  void SetUp() override {
    BoxCells::SetUp();
    operations = recorders();
    calls.clear();
    fillTable = [] {};
  }
  void TearDown() override {
    operations = engineOperations();
    BoxCells::TearDown();
  }

  // Three columns of two boxes 1 m x 1 m x 0.5 m as block 2, the slide
  // layer; block 1 without columns.
  static void layerOfBoxes() {
    BoxCells::build(3, 2, 1.0, 1.0, 0.5);
    NoBlocks = 2;
    block[1] = GridBlock{};
    block[1].FirstBedCell = 1;
    block[2] = GridBlock{};
    block[2].LayerMark = 1;
    block[2].FirstCell = block[2].FirstBedCell = block[2].FirstFace = 1;
    block[2].LastCell = NoCells;
    block[2].LastBedCell = NoBCells;
    block[2].LastFace = NoSurfaces;
  }
};

TEST_F(SlideMovement, FlowStepLeavesTheTimeAsItWas) {
  layerOfBoxes();
  stimet = 100.0;
  TimeStep = 5.0;
  TransInnerIter = 1;
  IterThixo = 4;
  TimeStepThixo = 0.5;
  FlagThixoDamp = 4;
  FlagGroundwater = 2;
  EXPECT_EQ(computeSlidemovement(), 0);
  const std::vector<std::string> expected = {"WaterSolve", "surface_tfs 0 2", "groundwater", "computeSlideLocation"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(stepSeen, 0.5);
  EXPECT_EQ(innerSeen, 4);
  EXPECT_EQ(computingSeen, 1);
  EXPECT_EQ(FlagThixoIsComputing, 0);
  EXPECT_EQ(stimet, 100.0);
  EXPECT_EQ(TimeStep, 5.0);
  EXPECT_EQ(TransInnerIter, 1);
  EXPECT_EQ(WorkBlockNo, 2);
  EXPECT_EQ(WorkBlock[1], 0);
  EXPECT_EQ(WorkBlock[2], 1);
  EXPECT_STREQ(mc_program, "End slide movement");
}

TEST_F(SlideMovement, SedimentRunWorksOnTheLayerCells) {
  layerOfBoxes();
  FlagTSC = 1;
  FlagUnstrucThixo = 1;
  EXPECT_EQ(computeSlidemovement(), 0);
  EXPECT_EQ(WCStart, 1 + 2);  // one column layer higher: last minus first bed cell
  EXPECT_EQ(WCEnd, NoCells);
  EXPECT_EQ(WFStart, 1);
  EXPECT_EQ(WFEnd, NoSurfaces);
}

TEST_F(SlideMovement, FailedFlowWritesTheResults) {
  layerOfBoxes();
  FlagErrorBreak = 1;
  EXPECT_EQ(computeSlidemovement(), -1);
  EXPECT_EQ(calls.back(), "sprintflow");
  EXPECT_EQ(std::strncmp(mc_v1, "Written from morphology due to error", 36), 0) << mc_v1;
}

// Slot 0 (columns 1 and 2): 1000 N/m2 of driving force along x against
// 500 of resistance, half of it in excess; slot 1 (column 3) holds.
void twoSlides() {
  for (int s = 0; s < kMaxSlideRegions; ++s) BVal[s] = 0;
  BVal[0] = 1;
  BVal[1] = 3;
  kGravityI[0] = 800.0;
  kGroundwaterI[0] = 200.0;
  kGravityJ[0] = kGroundwaterJ[0] = 0.0;
  kFriction[0] = 400.0;
  kCohesion[0] = 100.0;
  kHeightN[0] = 0.4;
  kGravityI[1] = 300.0;
  kFriction[1] = 300.0;
  kCohesion[1] = 1.0;
  kHeightN[1] = 0.4;
  Bcellth[1] = Bcellth[2] = 1;
  Bcellth[3] = 3;
  listSlideColumns(1, 3);
}

TEST_F(SlideMovement, RigidBlocksGlideWithTheirExcessForce) {
  layerOfBoxes();
  FlagThixo = 3;
  ThixoEddyvisc = 1000.0;
  TimeStep = 1.0;
  RelaxRhieChow = 0.7;
  fillTable = twoSlides;
  for (int c = 1; c <= NoCells; ++c) Cxvel[c] = Cyvel[c] = Czvel[c] = 9.0;
  // The base of column 2's upper cell slopes: its normal leans 0.6 along x.
  Fvx[Cflateb[cell(1, 1)]] = 0.6;
  computeSlideBlock();
  const std::vector<std::string> expected = {"computeSlideLocation", "Unstructure", "metric", "BedMake", "waterflow",
                                             "surface_tfs 0 2"};
  EXPECT_EQ(calls, expected);
  // u = -0.5 · 0.5 · (1 + 1) · 1000 · 0.4 / 1000 = -0.2 m/s, within 0.4 m/s.
  EXPECT_NEAR(Cxvel[cell(0, 1)], -0.2, 1e-12);
  EXPECT_NEAR(Cxvel[cell(1, 1)], -0.2, 1e-12);
  EXPECT_EQ(Cyvel[cell(0, 1)], 0.0);
  EXPECT_EQ(Czvel[cell(0, 1)], 0.0);
  EXPECT_NEAR(Czvel[cell(1, 1)], -0.5 * -0.2 * 0.6, 1e-12);
  // The stable slide and every bottom cell stay at rest.
  for (const int c : {cell(2, 0), cell(2, 1), cell(0, 0), cell(1, 0)}) {
    EXPECT_EQ(Cxvel[c], 0.0) << c;
    EXPECT_EQ(Cyvel[c], 0.0) << c;
    EXPECT_EQ(Czvel[c], 0.0) << c;
  }
  EXPECT_EQ(weightSeen, 0.0);
  EXPECT_EQ(RelaxRhieChow, 0.7);
}

// A thin viscosity or a long step would move the block beyond half a cell
// (or its own height) in one step: the speed is held at that limit.
TEST_F(SlideMovement, BlockSpeedIsLimited) {
  layerOfBoxes();
  ThixoEddyvisc = 10.0;
  TimeStep = 2.0;
  fillTable = twoSlides;
  computeSlideBlock();
  EXPECT_NEAR(Cxvel[cell(0, 1)], -0.2, 1e-12);  // min(0.5, 0.5, 0.4) / 2 s
}

// The driving terms are cleared before the location: a slide the location
// leaves without new ones (F 325 0 judges none) does not move.
TEST_F(SlideMovement, ClearedDrivingTermsMoveNothing) {
  layerOfBoxes();
  ThixoEddyvisc = 1000.0;
  TimeStep = 1.0;
  twoSlides();
  computeSlideBlock();
  for (int c = 1; c <= NoCells; ++c) EXPECT_EQ(Cxvel[c], 0.0) << c;
}

TEST_F(SlideMovement, BlockSlidesNeedAViscosity) {
  ThixoEddyvisc = 0.0;
  EXPECT_EXIT(computeSlideBlock(), ::testing::ExitedWithCode(251), "");
  EXPECT_TRUE(endsWith(boogie(), "\nError: F 236 3 needs a positive viscosity (second value of F 236)\n")) << boogie();
}

}  // namespace
