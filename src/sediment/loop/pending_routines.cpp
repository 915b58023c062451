// Placeholders of the sediment run's later routines: one block each, so that
// a block goes when its routine lands.
#include "sediment/loop/pending_routines.h"

#include "base/log.h"
#include "sediment/sediment_services.h"

void morphology_QNfractions(double) { notAvailableYet("morphology_QNfractions", "F 137"); }

void bedchange2() { notAvailableYet("bedchange2", "F 255"); }

void smoothBedchange() { notAvailableYet("smoothBedchange", "F 414"); }

void computeSandSlide() { notAvailableYet("computeSandSlide", "F 56"); }

void computeSlideBlock() { notAvailableYet("computeSlideBlock", "F 236"); }

void bagger() { notAvailableYet("bagger", "F 386"); }

void computeMorphStatistics() { notAvailableYet("computeMorphStatistics", "F 404"); }

void computeDensityStat(int, int) { notAvailableYet("computeDensityStat", "F 71"); }

void writeDune() { notAvailableYet("writeDune", "F 370"); }

void writeBraided() { notAvailableYet("writeBraided", "F 368"); }

void bedSmooth4() { notAvailableYet("bedSmooth4", "F 451"); }
