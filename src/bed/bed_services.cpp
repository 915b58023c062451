// Slides and soil stress are not built yet: a run that asks for them ends.
#include "bed/bed_services.h"

#include "base/log.h"

int computeSlidemovement() { notAvailableYet("computeSlidemovement", "D"); }
void computeSoilStress() { notAvailableYet("computeSoilStress", "N"); }
void computeSlideLocation() { notAvailableYet("computeSlideLocation", "N, F 289"); }
