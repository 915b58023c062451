// Debug dumps of the flow stages (not built yet: the data sets that ask for
// them end the run as not available) and the momentum diagonal report.
#include "flow/stage_dumps.h"

#include <cstdio>

#include "model/cells.h"
#include "model/run_state.h"
#include "startup/exit_codes.h"
#include "startup/log.h"

void printDebug(int) { notAvailableYet("printDebug", "F 218"); }

void printDebug2() { notAvailableYet("printDebug2", "F 183"); }

void ompbugtrapFunction(int first, int last) {
  if (first <= last) notAvailableYet("ompbugtrapFunction", "F 223");
}

void computeOmpbugtrap() { notAvailableYet("computeOmpbugtrap", "F 223"); }

// The cell and its diagonal; the fuller dump of the cell's neighbourhood
// comes with the debug reports.
void printErrorAp(int c) {
  char message[120];
  std::snprintf(message, sizeof message, "Error, Cap(%d) = %e\n", c, Cap[c]);
  FlagErrorBreak = 1;
  fatalPrintf(kExitInconsistent, message, "Error 2, Cap(%d) = %e\n", c, Cap[c]);
}
