// Stop test: not built yet, never stops.
#include "flow/stop_test.h"

int printEndWaterSolve(int) { return 0; }
