// Bed operations that are not built yet: each does nothing.
#include "bed/bed_services.h"

int computeSlidemovement() { return 0; }
void computeSoilStress() {}
void computeSlideLocation() {}
