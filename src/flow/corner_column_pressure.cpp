// The corner-column pressure of F 437: not in the engine yet, so a run that
// asks for it ends here as not available.
#include "flow/corner_column_pressure.h"

#include "startup/log.h"

void TrekantPresCorr(int, int) { notAvailableYet("TrekantPresCorr", "F 437"); }
