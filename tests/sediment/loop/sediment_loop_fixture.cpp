// Recorders of the sediment loop's operations and the channel they run on.
#include "sediment/loop/sediment_loop_fixture.h"

#include <gtest/gtest.h>

#include "grid/column_grid.h"
#include "grid/grid_services.h"
#include "model/allocation.h"
#include "model/run_state.h"
#include "startup/control_reader.h"
#include "model/settings.h"
#include "startup/operations.h"

std::vector<Call> calls;
void (*onDriver)(const char *name) = nullptr;
void (*onEquationTerms)() = nullptr;
void (*onStepReport)() = nullptr;

namespace {

void note(const char *name, int argument = -1) { calls.push_back({name, argument, Iter}); }

void driver(const char *name) {
  note(name);
  if (onDriver) {
    onDriver(name);
  } else {
    stimet += TimeStep;
  }
}

// The engine's routines, with every operation the loop reaches beyond its
// own work recorded instead.
EngineOperations recorders() {
  EngineOperations o = engineOperations();
  o.WaterSolve = [] { driver("WaterSolve"); };
  o.WaterSolveNew = [] { driver("WaterSolveNew"); };
  o.WaterSolveFast = [] { driver("WaterSolveFast"); };
  o.WaterSolveHydrostatic = [] { driver("WaterSolveHydrostatic"); };
  o.WaterSolve2D = [] { driver("WaterSolve2D"); };
  o.MGSsolver = [] { driver("MGSsolver"); };
  o.WriteAllData = [] { note("WriteAllData"); };
  o.sprintflow = [] { note("sprintflow"); };
  o.TimePrintFunction = [] { note("TimePrintFunction"); };
  o.writeConcRes = [] { note("writeConcRes"); return 0; };
  o.computeSlidemovement = [] { note("computeSlidemovement"); return 0; };
  o.initialiseBed = [] { note("initialiseBed"); };
  o.sumStartLayerMasses = [] { note("sumStartLayerMasses"); };
  o.setInitialCohesive = [] { note("setInitialCohesive"); return 0; };
  o.computeDensityStat = [](int i1, int) { note("computeDensityStat", i1); };
  o.computeSlideBlock = [] { note("computeSlideBlock"); };
  o.computeBFroude = [](int first, int) { note("computeBFroude", first); };
  o.sedimentEquationTerms = [] {
    note("sedimentEquationTerms");
    if (onEquationTerms) onEquationTerms();
  };
  o.morphology_tsc_solver_tsc1_single = [] { note("morphology_tsc_solver_tsc1_single"); };
  o.morphology_tsc_solver_tsc1_multiple = [] { note("morphology_tsc_solver_tsc1_multiple"); };
  o.morphology_tsc_solver_tsc2_single = [] { note("morphology_tsc_solver_tsc2_single"); };
  o.morphology_tsc_solver_tsc2_multiple = [] { note("morphology_tsc_solver_tsc2_multiple"); };
  o.morphology_tsc_solver_tsc2_multiple_v2 = [] { note("morphology_tsc_solver_tsc2_multiple_v2"); };
  o.morphology_tsc_solver_tsc3_standard = [] { note("morphology_tsc_solver_tsc3_standard"); };
  o.smoothBedchange = [] { note("smoothBedchange"); };
  o.bagger = [] { note("bagger"); };
  o.computeSandSlide = [] { note("computeSandSlide"); };
  o.morphology_fractions = [](double) { note("morphology_fractions"); };
  o.morphology2_fractions = [](double) { note("morphology2_fractions"); };
  o.morphology3_fractions = [](double) { note("morphology3_fractions"); };
  o.morphology_QNfractions = [](double) { note("morphology_QNfractions"); };
  o.sumOutflowMass = [] { note("sumOutflowMass"); };
  o.sumBedMoveMass = [] { note("sumBedMoveMass"); };
  o.print_profiles = [] { note("print_profiles"); };
  o.bedchange = [] { note("bedchange"); };
  o.bedchange2 = [] { note("bedchange2"); };
  o.bedchange3 = [] { note("bedchange3"); };
  o.bedchange4 = [](int later) { note("bedchange4", later); };
  o.bedchange5 = [] { note("bedchange5"); };
  o.WriteTransFiles = [] { note("WriteTransFiles"); };
  o.computeMorphStatistics = [] { note("computeMorphStatistics"); };
  o.computeCohesion = [] { note("computeCohesion"); };
  o.stepMassReport = [] {
    note("stepMassReport");
    if (onStepReport) onStepReport();
  };
  o.writeBraided = [] { note("writeBraided"); };
  o.writeDune = [] { note("writeDune"); };
  o.print_fractions = [] { note("print_fractions"); };
  o.make_Bfractionsprint = [] { note("make_Bfractionsprint"); };
  o.makeDarnevoli = [] { note("makeDarnevoli"); };
  o.print_paraview3d = [](int) { note("print_paraview3d"); };
  o.endOfRunReport = [] { note("endOfRunReport"); };
  o.endOfRunReportTail = [] { note("endOfRunReportTail"); };
  return o;
}

}  // namespace

void SedimentLoopTest::SetUp() {
  GridFixture::SetUp();
  calls.clear();
  onDriver = nullptr;
  onEquationTerms = nullptr;
  onStepReport = nullptr;
  operations = recorders();
}

void SedimentLoopTest::TearDown() {
  operations = engineOperations();
  GridFixture::TearDown();
}

void SedimentLoopTest::channel(double timeStep, const std::string &extraControl) {
  // A fresh set of tables for every channel, so that a test can start over.
  SetArraysZero();
  kreadDefaults();
  readCaseGrid("channel", "F 37 2\nF 33 " + std::to_string(timeStep) + " 1\nN 0 1 1.0\nS 1 0.0002 0.025\n" + extraControl);
  if (::testing::Test::HasFatalFailure()) return;
  Unstructure();
  metric();
  BedMake();
  stimet = 0.0;
  Iter = 0;
}

std::vector<std::string> SedimentLoopTest::callsOf(int iter) {
  std::vector<std::string> names;
  for (const Call &c : calls) {
    if (c.iter == iter) names.push_back(c.name);
  }
  return names;
}

std::vector<int> SedimentLoopTest::stepsOf(const std::string &name) {
  std::vector<int> steps;
  for (const Call &c : calls) {
    if (c.name == name) steps.push_back(c.iter);
  }
  return steps;
}
