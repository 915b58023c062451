// Time-series output: not built yet, does nothing.
#include "files/time_series_output.h"

void TimePrintFunction() {}
