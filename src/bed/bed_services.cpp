// Slide movement and slide location are not built yet: a run that asks for
// them ends. The soil stress lives in bed/slides/soil_stress.cpp.
#include "bed/bed_services.h"

#include "base/log.h"

int computeSlidemovement() { notAvailableYet("computeSlidemovement", "D"); }
void computeSlideLocation() { notAvailableYet("computeSlideLocation", "N, F 289"); }
