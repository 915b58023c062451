// The time series of "timei": one row per time step 0..ArrayTimeSteps, of
// which TimeInNo are in use. They exist only in transient runs (TimeStep
// above 1e-8); the "timei" reader fills them before every transient letter.
#pragma once

class TableAllocator;

inline double *TimeInTime;     // [row] time, s
inline double *TimeInTimStep;  // [row] time step, s
inline double *TimeInHinn;     // [row] upstream water level, m
inline double *TimeInHout;     // [row] downstream water level, m
inline double **Cinn;          // [row][column] inflow concentrations, cinnColumns() columns
inline double **Winn;          // [row][0..2] wind speed, m/s, and its x and y factors
inline double *Irradi;         // [row] irradiance
inline double *AirTemp;        // [row] air temperature, deg C
inline double **QDinn;         // [row][group 1..9] discharge of each discharge group

// The times at which full result files are wanted (A data sets of "timei").
inline constexpr int kMaxAlldataPrintout = 100;
inline double AlldataPrintout[kMaxAlldataPrintout + 1];  // [0..NoAlldataPrintout-1] times, s

// One point set of the time-series output "timeo" (O data sets of "timei").
inline constexpr int kTimePrintSets = 20;
inline constexpr int kTimePrintItems = 25;
struct TimePrintItem {
  char letter;  // the variable: Q, a..i, k, m..z
  int number;   // cell or group number as given
  int i, j;     // column indexes (z and h: the number and the second integer)
  int level;    // level above the bottom cell; not set by the "timei" reader
  int index;    // fraction (c) or component (q) index, 0 otherwise
};
struct TimePrintSet {
  double time;  // start time: "timeo" writes the last set whose time is at or below the simulated time, s
  int count;    // items in use, at most 25
  TimePrintItem item[kTimePrintItems];
};
inline TimePrintSet TimePrint[kTimePrintSets];  // sets 0..TimePrintNo-1
inline int TimePrintNo;                         // sets in use

// Columns of a Cinn row: 20 for the M and N data sets of "timei", and room
// for column lnumber·g + k (size k of inflow group g up to 9) of the
// sediment data sets.
int cinnColumns();

// Where time t falls in a series of increasing times[0..count-1]: a value
// of the series at t is (1 - weight) * v[lower] + weight * v[upper]. Before
// the second time the first interval is extrapolated; after the last time
// the last value is held; a single row holds its own values.
struct SeriesBracket {
  int lower, upper;
  double weight;  // weight of v[upper]
};
SeriesBracket seriesBracket(const double *times, int count, double t);

// Allocates the series in a transient run.
void allocateTimeSeries(TableAllocator &allocator);

