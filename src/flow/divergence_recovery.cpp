// Divergence remedies and the crash report: not built yet. The stop test
// allows no remedy until they exist, and a diverged run ends with the stop
// test's own lines only.
#include "flow/divergence_recovery.h"

#include "startup/log.h"

void flushFunction(int) { notAvailableYet("flushFunction", "F 219"); }
void printAtCrash() {}
