// The modular flow driver with recorders in place of its steps and of the
// operations it calls: set-up and step order, the turbulence models, the
// report switch, the inner loop without iterations and in time steps, the
// free-surface table, and the settings restored on both ways out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "flow/drivers/flow_drivers.h"
#include "flow/flow_fixture.h"
#include "flow/drivers/modular_driver.h"
#include "model/cells.h"
#include "model/control_tables.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/operations.h"

namespace {

std::vector<std::string> calls;
std::vector<int> reported;     // Iter of the stop tests that write their report lines
double residualOfSteps = 0.0;  // what the velocity step leaves in MaxResidual[1]
int stopAt = 0;                // inner iteration at which the stop test ends the call (0 never)

void note(const std::string &name) { calls.push_back(name); }

EngineOperations recorders() {
  EngineOperations o = engineOperations();
  o.metric = [] { note("metric"); };
  o.BedMake = [] { note("BedMake"); };
  o.startup = [] { note("startup"); };
  o.computeWCStart = [] { note("computeWCStart"); };
  o.waterflow = [](int, int) { note("waterflow"); };
  o.boundary = [] { note("boundary"); };
  o.printEndWaterSolve = [](int k) {
    note("stop test " + std::to_string(k));
    if (FlagPrint == 0 && k == TransInnerIter) reported.push_back(Iter);
    return k == stopAt ? 1 : 0;
  };
  o.sprintflow = [] { note("sprintflow"); };
  o.surface = [] { note("surface"); };
  o.surface_tfs = [](int a, int b) { note("surface_tfs " + std::to_string(a) + " " + std::to_string(b)); };
  o.surface_LS_update = [] { note("surface_LS_update"); };
  return o;
}

ModularSteps stepRecorders() {
  return ModularSteps{.SimpleVelocities =
                          [](int k) {
                            note("velocities " + std::to_string(k));
                            for (int e = 1; e <= 6; ++e) MaxResidual[e] = 0.0;
                            MaxResidual[1] = residualOfSteps;
                          },
                      .SimplePressure = [](int k) { note("pressure " + std::to_string(k)); },
                      .SimpleTurbulence = [](int e) { note("turbulence " + std::to_string(e)); },
                      .computeEpsilon = [] { note("computeEpsilon"); }};
}

class ModularDriver : public FlowFixture {
 protected:
  void SetUp() override {
    FlowFixture::SetUp();
    calls.clear();
    reported.clear();
    residualOfSteps = 0.0;
    stopAt = 0;
    operations = recorders();
    modularSteps = stepRecorders();
  }
  void TearDown() override {
    operations = engineOperations();
    modularSteps = engineModularSteps();
    FlowFixture::TearDown();
  }
  // The channel, and the log from here on.
  void channelCase(double timeStep = 1e-20) {
    channel(timeStep);
    logStart_ = boogie().size();
  }
  std::string newLog() const { return boogie().substr(logStart_); }
  static int count(const std::string &prefix) {
    int n = 0;
    for (const std::string &c : calls) n += c.rfind(prefix, 0) == 0 ? 1 : 0;
    return n;
  }

 private:
  std::size_t logStart_ = 0;
};

// Set-up (BedMake always), then velocities, pressure, k and epsilon and the
// stop test in every inner iteration; a stand-alone steady run that runs
// out of iterations warns and writes no result.
TEST_F(ModularDriver, SetUpAndStepOrder) {
  channelCase();
  iterGlobalMax = 2;
  TransInnerIter = 2;
  WaterSolveNew();
  std::vector<std::string> expected{"metric", "BedMake", "startup", "computeWCStart", "waterflow"};
  for (int outer = 1; outer <= 2; ++outer) {
    for (int inner = 1; inner <= 2; ++inner) {
      const std::string k = std::to_string(inner);
      expected.insert(expected.end(),
                      {"velocities " + k, "pressure " + k, "turbulence 5", "turbulence 6", "stop test " + k});
    }
  }
  EXPECT_EQ(calls, expected);
  EXPECT_EQ(FlagInitialized, 1);
  EXPECT_EQ(GlobInnerIter, 3);
  EXPECT_EQ(newLog(), "Warning: Solution not converged after 2 outer iterations, max residual 0.00e+00\n");
}

// Models 4 to 7 solve no turbulence equation; 18 to 20 solve k and take
// epsilon from the length scale; the others k and epsilon.
TEST_F(ModularDriver, TurbulenceByModel) {
  channelCase();
  iterGlobalMax = 1;
  TransInnerIter = 1;
  FlagInitialized = 1;
  const struct {
    int model;
    std::vector<std::string> steps;
  } cases[] = {
      {0, {"turbulence 5", "turbulence 6"}}, {1, {"turbulence 5", "turbulence 6"}},
      {4, {}},                               {7, {}},
      {17, {"turbulence 5", "turbulence 6"}}, {18, {"turbulence 5", "computeEpsilon"}},
      {20, {"turbulence 5", "computeEpsilon"}},
  };
  for (const auto &k : cases) {
    SCOPED_TRACE(k.model);
    TurbulenceModel = k.model;
    calls.clear();
    WaterSolveNew();
    std::vector<std::string> expected{"metric", "BedMake", "startup", "computeWCStart", "velocities 1", "pressure 1"};
    expected.insert(expected.end(), k.steps.begin(), k.steps.end());
    expected.push_back("stop test 1");
    EXPECT_EQ(calls, expected);
  }
}

// The report lines: the first nine iterations, every tenth below 100, the
// multiples of F 53 and the last; the debug letter J adds nothing here.
TEST_F(ModularDriver, ReportSwitchWithoutTheJRule) {
  channelCase();
  iterGlobalMax = 205;
  TransInnerIter = 1;
  PrintIterBoogie = 30;
  debugging = 'J';
  WaterSolveNew();
  const std::vector<int> expected{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20, 30, 40, 50, 60, 70, 80, 90, 120, 150, 180, 205};
  EXPECT_EQ(reported, expected);
}

// No inner iteration: no step runs, the largest residual stays at its start
// value 10000, and the inner counter at the loop's exit is 1.
TEST_F(ModularDriver, NoInnerIterations) {
  channelCase();
  iterGlobalMax = 3;
  TransInnerIter = 0;
  PrintRes = 2;
  WaterSolveNew();
  EXPECT_EQ(count("velocities"), 0);
  EXPECT_EQ(count("stop test"), 0);
  EXPECT_EQ(count("sprintflow"), 2);  // Iter + 1 a multiple of 2: Iter 1 and 3
  EXPECT_EQ(GlobInnerIter, 1);
  EXPECT_EQ(newLog(), "Warning: Solution not converged after 3 outer iterations, max residual 1.00e+04\n");
}

// A time step leaves its inner loop once the residual is below F 54; with
// F 308 every inner iteration runs. The time advances once per step.
TEST_F(ModularDriver, TimeStepEndsBelowTheBreakLimit) {
  struct Case {
    const char *name;
    int mpi;
    int velocitySteps, innerAtExit;
  } cases[] = {{"F 54", 0, 2, 1}, {"F 308", 1, 8, 5}};
  channelCase(10.0);
  for (const Case &k : cases) {
    SCOPED_TRACE(k.name);
    iterGlobalMax = 2;
    TransInnerIter = 4;
    residualOfSteps = 0.001;
    FlagMPI = k.mpi;
    calls.clear();
    WaterSolveNew();
    EXPECT_EQ(count("velocities"), k.velocitySteps);
    EXPECT_EQ(GlobInnerIter, k.innerAtExit);
    EXPECT_DOUBLE_EQ(stimet, 20.0);
  }
}

// The free-surface update after the inner iterations: the steady
// algorithms (F 36 3 among them) wait for the residual test of F 224 and
// count the updates left out; F 36 1 and 11..19 update every outer
// iteration with surface_tfs(0, 1).
TEST_F(ModularDriver, FreeSurfaceTable) {
  struct Case {
    int tfs;
    double residual;
    int surfaces, tfsCalls, missed;
  } cases[] = {
      {3, 0.5, 2, 0, 0}, {3, 200.0, 0, 0, 2}, {2, 200.0, 0, 0, 2}, {1, 200.0, 0, 4, 0}, {15, 0.5, 0, 4, 0}, {0, 0.5, 0, 0, 0},
  };
  channelCase();
  for (const Case &k : cases) {
    SCOPED_TRACE(k.tfs);
    iterGlobalMax = 4;
    TransInnerIter = 1;
    IterWaterUpdate = 2;
    FlagRoof = 1;
    FlagTFS = k.tfs;
    residualOfSteps = k.residual;
    NoNumNoSurfUpdate = 0;
    calls.clear();
    WaterSolveNew();
    EXPECT_EQ(count("surface_tfs 0 1"), k.tfsCalls);
    EXPECT_EQ(count("surface") - count("surface_tfs"), k.surfaces);
    EXPECT_EQ(NoNumNoSurfUpdate, k.missed);
  }
}

// A remedy of the stop test lasts one call: the relaxation, the Rhie-Chow
// variant and, with F 219, the grid stabilisation and the accelerator come
// back from the values read, on the stop test's return as at the end.
TEST_F(ModularDriver, BothReturnsRestoreTheRemedies) {
  channelCase();
  iterGlobalMax = 2;
  TransInnerIter = 1;
  FlagFlush = 2;
  OrigFlagRhieChow = 0;
  FlagGridStab2ori = 0, FlagGridStab5ori = 0;
  Flag2DAccSolverOri = 2;
  for (int stop : {1, 0}) {
    SCOPED_TRACE(stop == 1 ? "stop test" : "end");
    stopAt = stop;
    operations.printEndWaterSolve = [](int k) {
      relaxVelocity = relax[1] / 2.0, relaxPressure = relax[4] / 2.0, invRelaxVelocity = 2.0 / relax[1];
      FlagRhieChow = 7;
      FlagGridStab2 = 9, FlagGridStab5 = 2;
      Flag2DAccSolver = 1;
      return k == stopAt ? 1 : 0;
    };
    WaterSolveNew();
    EXPECT_EQ(relaxVelocity, relax[1]);
    EXPECT_EQ(relaxPressure, relax[4]);
    EXPECT_EQ(invRelaxVelocity, 1.0 / relax[1]);
    EXPECT_EQ(FlagRhieChow, 0);
    EXPECT_EQ(FlagGridStab2, 0);
    EXPECT_EQ(FlagGridStab5, 0);
    EXPECT_EQ(Flag2DAccSolver, 2);
  }
}

// The G 22 and F 341 warnings of the other drivers, once per data set.
TEST_F(ModularDriver, MainDriverWarnsOfModularOnlyInput) {
  channelCase();
  iterGlobalMax = 0;
  BridgeNo = 1;
  FlagShallowDamp = 2;
  WaterSolve();
  WaterSolve();
  EXPECT_EQ(newLog(),
            "Warning: G 22 is only used by the modular flow driver (F 328 1)\n"
            "Warning: F 341 is only used by the modular flow driver (F 328 1)\n");
  BridgeNo = 0;
}

// F 1 Q ends a flow run before anything is computed.
TEST_F(ModularDriver, DebugLetterQEndsTheRun) {
  channelCase();
  debugging = 'Q';
  EXPECT_EXIT(WaterSolveNew(), ::testing::ExitedWithCode(251), "");
  EXPECT_EQ(newLog(),
            "Error: The F 1 Q data set in the control file is only used when generating\n"
            "the grid. It is not used when running the program\n\n");
}

}  // namespace
