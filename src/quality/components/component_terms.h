// What the component source routines share: the source-term records of one
// component, the conversion of the per-day rates, the "timei" series at the
// simulated time, exponential growth over a step and the vertical movement
// of a flux through the top faces of a column.
#pragma once

#include "model/control_tables.h"

// Rates per day of the Q data sets become rates per second with this factor.
inline constexpr double kPerDayRate = 1.182033e-5;

// The records of the source-term table whose target is one component, in
// table order; filled once per assembly of that component's equation.
struct ComponentTerms {
  int count = 0;
  const SourceTerm *term[kMaxQTerms];
};
void collectComponentTerms(int component, ComponentTerms &terms);

// The field of the component with the index given: an index past the
// components (the Q data sets that take an index up to the F 50 count)
// reads a field of zeros, not memory beyond the table.
const double *componentField(int index);

// The value of a "timei" series at stimet (interpolated between its rows,
// the last row held after the end); 0 when no rows were read.
double seriesNow(const double *series);
double seriesColumnNow(double *const *series, int column);

// What a step of exponential growth with a per-day rate adds to a cell
// holding the value: (e^(k·rate·dt) - 1)·V·value/dt, with the whole time step
// (each inner iteration solves the same step again) and expm1, so that a
// steady run's dt of 1e-20 keeps the rate instead of rounding it to nothing.
double stepGrowth(int cell, double rate, double value);

// theta^(T - 20) with the cell's water temperature when component 0 is the
// temperature (F 67), else 1; a theta of 0 or less counts as 1.
double temperatureFactor(int cell, double theta);

// A flux of the cell's component through its top face (kg/s units of the
// sources, positive upwards): upwards it passes to the cell above and stops
// at the surface; downwards it passes to the cell below, and out of a bed
// cell it leaves the water.
void moveVertically(int cell, double flux);

// Plan area of the cell's top and bottom faces times 1000 (the face-flux unit).
double topArea(int cell);
double bottomArea(int cell);

// Types 121 and 122: a first-order reaction of the target with the rate
// c1·C(i1) per day, times theta^(T - 20) with theta = c2, integrated
// exponentially over the step.
void firstOrderReaction(const SourceTerm &term);
