// Time-series output "timeo": one row per call with the simulated time and
// the items of the O data sets of "timei".
#pragma once

// The set whose items a row holds: the last set whose start time is at or
// below the simulated time, set 0 before the first start time.
int chosenTimePrintSet();

// Appends one row to "timeo".
void TimePrintFunction();
