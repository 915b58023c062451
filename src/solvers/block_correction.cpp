// Block correction: not built yet; K 5 values 1..3 end the run as not available.
#include "solvers/block_correction.h"

#include "startup/log.h"

void BlockCorrection() { notAvailableYet("BlockCorrection", "K 5"); }
