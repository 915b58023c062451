// Thixotropic damping: not built yet; a slide run that reaches it ends.
#include "turbulence/thixotropic_damping.h"

#include "startup/log.h"

void ThixoDamp(int) { notAvailableYet("ThixoDamp", "F 236, F 289"); }
void ThixoDamp1(int) { notAvailableYet("ThixoDamp1", "F 236, F 289"); }
void ThixoDamp2(int) { notAvailableYet("ThixoDamp2", "F 236, F 289"); }
void ThixoDamp3(int) { notAvailableYet("ThixoDamp3", "F 236, F 289"); }

// The slide regions are not built yet and no region label is ever set, so
// there is nothing to average: a slide run stops before it gets here.
void computeThixoFluxes() {}
