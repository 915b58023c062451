// The time-series file "timei" of transient runs.
#pragma once

// Reads "timei"; 0 when read, a positive error code otherwise.
int ReadTimes();
