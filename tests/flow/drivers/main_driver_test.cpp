// The main flow driver with recorders in place of its stages: the order of
// set-up and stages, the transient shift, the inner-loop exit, the report
// switch, periodic results and the ends of a call.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "flow/flow_fixture.h"
#include "model/bed_cells.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/operations.h"

namespace {

std::vector<std::string> calls;
std::vector<int> reported;   // Iter of the stop tests that write their report lines
std::vector<int> outputsAt;  // Iter of every sprintflow call
double residualOfStages = 0.0;  // what the momentum stage leaves in MaxResidual[1]
int pressureResult = 0;
int stopAt = 0;  // inner iteration at which the stop test ends the call (0 never)

void note(const std::string &name) { calls.push_back(name); }

EngineOperations recorders() {
  EngineOperations o = engineOperations();
  o.metric = [] { note("metric"); };
  o.BedMake = [] { note("BedMake"); };
  o.readBedrough = [] { note("readBedrough"); };
  o.startup = [] { note("startup"); };
  o.computeWCStart = [] { note("computeWCStart"); };
  o.waterflow = [](int, int) { note("waterflow"); };
  o.boundary = [] { note("boundary"); };
  o.pressureEquationVariant = [] { note("variant"); };
  o.momentumStage = [](int k) {
    note("momentum " + std::to_string(k));
    MaxResidual[1] = residualOfStages;
    Cxvel[5] += 1.0;
  };
  o.pressureStage = [](int k) {
    note("pressure " + std::to_string(k));
    return pressureResult;
  };
  o.turbulenceStage = [](int k) { note("turbulence " + std::to_string(k)); };
  o.componentStage = [] { note("components"); };
  o.printEndWaterSolve = [](int k) {
    note("stop test " + std::to_string(k));
    if (FlagPrint == 0 && k == TransInnerIter) reported.push_back(Iter);
    return k == stopAt ? 1 : 0;
  };
  o.sprintflow = [] { outputsAt.push_back(Iter); };
  o.TimePrintFunction = [] { note("timeo"); };
  o.surface = [] { note("surface"); };
  return o;
}

class Driver : public FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    calls.clear();
    reported.clear();
    outputsAt.clear();
    residualOfStages = 0.0;
    pressureResult = 0;
    stopAt = 0;
  }
  static void run() {
    operations = recorders();
    WaterSolve();
  }
};

TEST_F(Driver, SetUpAndStageOrder) {
  channel();
  iterGlobalMax = 2;
  TransInnerIter = 2;
  run();
  const std::vector<std::string> expected{
      "metric", "startup", "computeWCStart", "waterflow",
      "momentum 1", "pressure 1", "turbulence 1", "stop test 1", "momentum 2", "pressure 2", "turbulence 2", "stop test 2",
      "momentum 1", "pressure 1", "turbulence 1", "stop test 1", "momentum 2", "pressure 2", "turbulence 2", "stop test 2"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(FlagInitialized, 1);
  EXPECT_EQ(GlobInnerIter, 3);  // all inner iterations ran
  EXPECT_TRUE(outputsAt.empty());
  EXPECT_NE(boogie().find("Warning: Solution not converged after 2 outer iterations, max residual 0.00e+00\n"),
            std::string::npos);

  // A second call computes no fluxes at the start; no turbulence with a
  // constant eddy viscosity; the pressure-equation variants.
  struct Case {
    const char *name;
    int simple, model;
    std::vector<std::string> inner;
  } cases[] = {
      {"F 24 4", 0, 4, {"momentum 1", "pressure 1", "stop test 1"}},
      {"F 171 2", 2, 0, {"variant", "momentum 1", "pressure 1", "turbulence 1", "stop test 1"}},
      {"F 171 4", 4, 0, {"variant", "momentum 1", "turbulence 1", "stop test 1"}},
      {"F 171 5", 5, 0, {"variant", "turbulence 1", "stop test 1"}},
  };
  iterGlobalMax = 1;
  TransInnerIter = 1;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    FlagSIMPLE = c.simple;
    TurbulenceModel = c.model;
    calls.clear();
    run();
    std::vector<std::string> want{"metric", "startup", "computeWCStart"};
    want.insert(want.end(), c.inner.begin(), c.inner.end());
    EXPECT_EQ(calls, want);
  }
}

TEST_F(Driver, BedCellsAndRoughnessBeforeTheStartValues) {
  channel();
  iterGlobalMax = 0;
  ASSERT_EQ(NoBCells, 40);
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"metric", "startup", "computeWCStart", "waterflow"}));
  calls.clear();
  NoBCells = 0;
  FlagRoughness = 1;
  run();
  EXPECT_EQ(calls, (std::vector<std::string>{"metric", "BedMake", "readBedrough", "startup", "computeWCStart"}));
  // No warning without an outer iteration.
  EXPECT_EQ(boogie().find("Warning"), std::string::npos);
}

TEST_F(Driver, StopTestEndsTheCallAtOnce) {
  channel();
  iterGlobalMax = 5;
  TransInnerIter = 3;
  stopAt = 2;
  run();
  EXPECT_EQ(calls.back(), "stop test 2");
  EXPECT_EQ(Iter, 1);
  EXPECT_EQ(boogie().find("Warning"), std::string::npos);
}

TEST_F(Driver, TransientShiftOncePerTimeStep) {
  channel(10.0);
  iterGlobalMax = 3;
  TransInnerIter = 2;
  residualOfStages = 0.01;  // above F 54: every inner iteration runs
  stimet = 55.0;
  for (int c = 0; c <= NoCells; ++c) Cxvel[c] = Cxvel_old[c] = 0.0;
  std::vector<double> oldSeen, timeSeen;
  static std::vector<double> *olds, *times;
  olds = &oldSeen;
  times = &timeSeen;
  operations = recorders();
  operations.momentumStage = [](int) {
    olds->push_back(Cxvel_old[5]);
    times->push_back(stimet);
    MaxResidual[1] = residualOfStages;
    Cxvel[5] += 1.0;
  };
  WaterSolve();
  EXPECT_EQ(oldSeen, (std::vector<double>{0, 0, 2, 2, 4, 4}));
  EXPECT_EQ(timeSeen, (std::vector<double>{10, 10, 20, 20, 30, 30}));  // a stand-alone run starts at 0
  EXPECT_EQ(GlobInnerIter, 3);
  // No warning in a transient run.
  EXPECT_EQ(boogie().find("Warning"), std::string::npos);
}

TEST_F(Driver, TransientInnerLoopLeavesBelowF54) {
  channel(10.0);
  iterGlobalMax = 2;
  TransInnerIter = 4;
  residualOfStages = 0.001;
  run();
  int momentum = 0;
  for (const std::string &c : calls) momentum += c.rfind("momentum", 0) == 0 ? 1 : 0;
  EXPECT_EQ(momentum, 2);
  EXPECT_EQ(GlobInnerIter, 1);
  EXPECT_DOUBLE_EQ(stimet, 20.0);
}

TEST_F(Driver, SteadyRunKeepsTheTime) {
  channel();
  iterGlobalMax = 3;
  TransInnerIter = 2;
  residualOfStages = 0.001;  // below F 54, but a steady run runs every inner iteration
  stimet = 55.0;
  run();
  EXPECT_DOUBLE_EQ(stimet, 55.0);
  EXPECT_EQ(GlobInnerIter, 3);
  EXPECT_NE(boogie().find("Warning: Solution not converged after 3 outer iterations, max residual 1.00e-03\n"),
            std::string::npos);
}

TEST_F(Driver, ReportSwitch) {
  channel();
  iterGlobalMax = 120;
  TransInnerIter = 1;
  PrintIterBoogie = 25;
  run();
  const std::vector<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90, 100, 120};
  EXPECT_EQ(reported, expected);
}

TEST_F(Driver, PeriodicResults) {
  struct Case {
    const char *name;
    int printRes, printAlways;
    std::vector<int> expected;
  } cases[] = {
      {"P 10 3", 3, 0, {2, 5, 8}},
      {"P 15 5", 0, 5, {6, 7, 8}},
      {"none", 0, 0, {}},
  };
  channel();
  iterGlobalMax = 8;
  TransInnerIter = 1;
  for (const Case &c : cases) {
    SCOPED_TRACE(c.name);
    PrintRes = c.printRes;
    PrintResAlways = c.printAlways;
    outputsAt.clear();
    run();
    EXPECT_EQ(outputsAt, c.expected);
  }
}

TEST_F(Driver, SurfaceReturnOfF36Six) {
  channel();
  iterGlobalMax = 4;
  TransInnerIter = 2;
  FlagTFS = 6;
  jPres = 1;  // the reference column is known
  pressureResult = 1;
  run();
  EXPECT_EQ(calls.back(), "pressure 1");
  EXPECT_NE(boogie().find("Warning: F 36 6 ends a W run after one surface update; it is meant for the sediment loop (F 37)\n"),
            std::string::npos);
  EXPECT_EQ(boogie().find("not converged"), std::string::npos);
}

TEST_F(Driver, GridChangeAtTheHeadOfAnInnerIteration) {
  channel();
  iterGlobalMax = 1;
  TransInnerIter = 2;
  FlagInitialized = 1;
  FlagGridChange = 1;
  run();
  const std::vector<std::string> expected{"metric", "startup", "computeWCStart", "metric", "startup", "boundary", "waterflow",
                                          "momentum 1", "pressure 1", "turbulence 1", "stop test 1",
                                          "momentum 2", "pressure 2", "turbulence 2", "stop test 2"};
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(FlagGridChange, 0);
}

}  // namespace
