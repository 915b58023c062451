// The variants of the face-flux and velocity corrections: not in the engine
// yet, so a run that chooses one ends here as not available.
#include "flow/correction_variants.h"

#include "startup/log.h"

void SimpleVolumeCap(int, int) { notAvailableYet("SimpleVolumeCap", "F 157 51"); }
void SimpleFluxVariant(int, int) { notAvailableYet("SimpleFluxVariant", "F 157, F 36 11"); }
void SimpleVelocityVariant(int, int) { notAvailableYet("SimpleVelocityVariant", "F 157, F 69, F 291, F 36 11"); }
