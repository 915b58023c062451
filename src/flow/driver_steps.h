// Steps of the outer loop that the flow drivers share: the interval test,
// the largest residual, the report switch, the shift of the old time level
// and the pressure-regression sums.
#pragma once

// a counts as a multiple of b (|fmod(a, b)| < 0.001).
bool multipleOf(double a, double b);
// The largest of the six flow residuals; entries below 1e-90 become 0, and a
// residual that is not a number makes the largest not a number too.
double largestResidual();
// Which outer iterations write their report lines: 0 writes, 1 not. With
// `jRule` the debug letter J also reports every 100th iteration.
int reportSwitch(bool jRule);
// The old-time fields take the current ones, once per time step.
void shiftOldFields();
// The least-squares sums of the surface pressure of every column over the
// outer iterations, read by the surface update.
void pressureRegression();
// Bridge decks (G 22) and the shallow-face damping (F 341) act only in the
// modular driver: the other drivers log once per run and data set that
// they ignore them.
void warnModularOnlyInputs();
