// Placeholders of the sediment run's later routines: one block each, so that
// a block goes when its routine lands.
#include "sediment/loop/pending_routines.h"

#include "base/log.h"
#include "sediment/sediment_services.h"

void morphology_QNfractions(double) { notAvailableYet("morphology_QNfractions", "F 137"); }

void bedchange2() { notAvailableYet("bedchange2", "F 255"); }

void computeSandSlide() { notAvailableYet("computeSandSlide", "F 56"); }

void computeSlideBlock() { notAvailableYet("computeSlideBlock", "F 236"); }

void bagger() { notAvailableYet("bagger", "F 386"); }