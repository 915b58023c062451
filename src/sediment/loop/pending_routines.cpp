// Placeholders of the sediment run's later routines: one block each, so that
// a block goes when its routine lands.
#include "sediment/loop/pending_routines.h"

#include "base/log.h"
#include "sediment/sediment_services.h"

void computeSlideBlock() { notAvailableYet("computeSlideBlock", "F 236"); }
