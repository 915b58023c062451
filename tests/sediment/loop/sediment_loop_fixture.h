// In-process set-up of the sediment loop tests: the channel case (10 x 4
// columns of nine cells) generated with the sediment data sets, and the
// operations of the later stages replaced by recorders.
#pragma once

#include <string>
#include <vector>

#include "grid/grid_fixture.h"

// One recorded call: the operation, its argument (-1 none) and the step.
struct Call {
  std::string name;
  int argument;
  int iter;
  bool operator==(const Call &) const = default;
};

class SedimentLoopTest : public GridFixture {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The channel with "F 37 2", "F 33 <timeStep> 1", "N 0 1 1.0", "S 1 0.0002 0.025" and then
  // `extraControl`, generated, with its geometry and bed cells.
  static void channel(double timeStep = 0.5, const std::string &extraControl = "");

  // The names of the recorded calls, in order, from the first call of step
  // `iter` up to the end of that step (0: the calls before the first step).
  static std::vector<std::string> callsOf(int iter);

  // The steps in which the operation was called.
  static std::vector<int> stepsOf(const std::string &name);
};

// Every recorded call since the test began.
extern std::vector<Call> calls;

// Runs in the flow drivers' place after they are recorded; by default they
// advance the clock as a transient driver does.
extern void (*onDriver)(const char *name);
// Runs when the sediment equation terms are recorded (after the flow).
extern void (*onEquationTerms)();
// Runs when the mass report of a step is recorded.
extern void (*onStepReport)();
