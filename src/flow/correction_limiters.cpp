// Post-correction limiters: not built yet, does nothing.
#include "flow/correction_limiters.h"

void CorrSimpleCorrections(int) {}
