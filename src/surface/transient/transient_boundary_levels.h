// Levels of the transient free surface at the open boundaries: the levels of
// the "timei" series, the friction-slope extrapolation of F 353, and the
// minimum water depth at the outflow.
#pragma once

// The "timei" series H (one value per row) interpolated at stimet; a single
// row holds its value.
double seriesLevelAt(const double *H);

// Outflow and inflow levels of the series for block b, by F 439; -1 when
// there is no series or b is a layer block.
double transientOutflowLevel(int b);
double transientInflowLevel(int b);

// Imposes the series levels on the corners of the first outflow group and of
// every inflow group (levels above 0 only).
void imposeSeriesLevels(double outflowLevel, double inflowLevel);

// Re-extrapolates the corners of every group's boundary faces from inside
// with the friction slope, by F 353, within block b.
void frictionSlopeLevels(int b, double outflowLevel, double inflowLevel);

// Holds the corners of the first outflow group at least TFSminDepth above
// the bed.
void outflowMinimumDepth();
