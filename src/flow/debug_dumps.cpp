// Cell dumps: not built yet; a run whose debug data sets reach them ends.
#include "flow/debug_dumps.h"

#include "startup/log.h"

void printDebugTrekant(int, int) { notAvailableYet("printDebugTrekant", "F 235, F 1 D"); }
