// The time-series file "timei" of transient runs.
#pragma once

// Reads "timei" into the series rows, the result times and the "timeo" point
// sets, anew at every call; 0 when read or absent, otherwise the positive
// error code, which it has already written to the log.
int ReadTimes();

// True when the source-term table holds a term that makes the irradiance
// of the "timei" rows read.
bool anyTermReadsIrradiance();
