// The modular flow driver's table of steps: the engine's own steps, which
// tests replace by recorders.
#pragma once

struct ModularSteps {
  void (*SimpleVelocities)(int inner);
  void (*SimplePressure)(int inner);
  void (*SimpleTurbulence)(int equation);
  void (*computeEpsilon)();
};

// The table in use; starts with the engine's own steps.
extern ModularSteps modularSteps;

// The engine's own steps, to restore the table.
ModularSteps engineModularSteps();
