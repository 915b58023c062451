// Momentum source terms of the flow equations: the sources and sinks that
// the modular velocity step adds after the pressure force, and the small
// source routines the main momentum stage shares with it.
#pragma once

// Every source and sink of the velocity equation being assembled (Equation
// 1, 2 or 3) besides the coefficients, wall laws and pressure force, over
// the work range, in the order of velocitySourceSteps.
void VelocitySources();

// One step of VelocitySources: its name, when it acts, and what it adds.
struct VelocitySourceStep {
  const char *name;
  bool (*applies)();
  void (*run)();
};
inline constexpr int kVelocitySourceSteps = 17;
// The steps in the order they act; tests put recorders in place of `run`.
extern VelocitySourceStep velocitySourceSteps[kVelocitySourceSteps];
// The engine's own steps, to restore the table.
void restoreVelocitySourceSteps();

// Bridge decks (G 22): a drag on every cell overlapping a deck, into Cap.
void sourceBridge();
// Turbidity current (F 18): the excess weight of the suspended sediment of
// size class 0 pulls W down.
void turbiditycurrentSource();
// Flow across shallow faces (F 341): the bottom cells on both sides of a
// face of block 1 whose depth is under half the cells' mean height are
// braked in proportion to the speed across the face.
void sourceShallowDamp();
// Normal stresses of the velocity gradients (F 324) over cells first..last.
void computeNormStress(int first, int last);

// Relative density of water at t degrees Celsius, 1 at about 4 degrees.
double relativeWaterDensity(double t);
// Buoyancy of W in cells first..last against the thermocline temperature
// (F 75), the temperature being component 0; nothing without components.
void addThermoclineBuoyancy(int first, int last);
// F 75 without a temperature component: the buoyancy cannot act. Logs the
// warning once per run and returns true then.
bool thermoclineWithoutTemperature();
// Doubles Cap of cell c and adds Cap times the current value to Csource
// before the doubling: the cell's new value is the mean of its old one and
// of the one the equation would give.
void halveRelaxation(int c, const double *u);
// F 291 second value: the halving relaxation of cells whose bed slopes (1
// those alone in their column, 2 all, 3 all and their four horizontal
// neighbours, each time one of them is reached), u the current field.
void dampSlopingCells(int first, int last, const double *u);
