// Placeholders of the sediment run's later routines: one block each, so that
// a block goes when its routine lands.
#include "sediment/loop/pending_routines.h"

#include "base/log.h"
#include "sediment/sediment_services.h"

void morphology_tsc_solver_tsc3_standard() { notAvailableYet("morphology_tsc_solver_tsc3_standard", "F 37"); }

void morphology3_fractions(double) { notAvailableYet("morphology3_fractions", "F 37"); }

void bedchange3() { notAvailableYet("bedchange3", "F 255"); }

void bedchange4(int) { notAvailableYet("bedchange4", "F 255"); }

void bedchange5() { notAvailableYet("bedchange5", "F 255"); }


void computeSlideBlock() { notAvailableYet("computeSlideBlock", "F 236"); }

int setInitialCohesive() { notAvailableYet("setInitialCohesive", "F 385"); }

void computeCohesion() { notAvailableYet("computeCohesion", "F 385"); }
