// Placeholders of the sediment run's later routines: one block each, so that
// a block goes when its routine lands.
#include "sediment/loop/pending_routines.h"

#include "base/log.h"
#include "sediment/sediment_services.h"

void morphology_tsc_solver_tsc3_standard() { notAvailableYet("morphology_tsc_solver_tsc3_standard", "F 37"); }

void morphology3_fractions(double) { notAvailableYet("morphology3_fractions", "F 37"); }

void morphology_QNfractions(double) { notAvailableYet("morphology_QNfractions", "F 137"); }

void bedchange2() { notAvailableYet("bedchange2", "F 255"); }

void bedchange3() { notAvailableYet("bedchange3", "F 255"); }

void bedchange4(int) { notAvailableYet("bedchange4", "F 255"); }

void bedchange5() { notAvailableYet("bedchange5", "F 255"); }

void smoothBedchange() { notAvailableYet("smoothBedchange", "F 414"); }

void computeSandSlide() { notAvailableYet("computeSandSlide", "F 56"); }

void bagger() { notAvailableYet("bagger", "F 386"); }

int setInitialCohesive() { notAvailableYet("setInitialCohesive", "F 385"); }

void computeCohesion() { notAvailableYet("computeCohesion", "F 385"); }

void computeMorphStatistics() { notAvailableYet("computeMorphStatistics", "F 404"); }

void computeDensityStat(int, int) { notAvailableYet("computeDensityStat", "F 71"); }

void writeDune() { notAvailableYet("writeDune", "F 370"); }

void writeBraided() { notAvailableYet("writeBraided", "F 368"); }
