// Triangular-cell flux corrections: not built yet; F 235 and F 436 end the
// run as not available.
#include "flow/triangle_flux_corrections.h"

#include "startup/log.h"

void TrekantFluxCorr(int, int) { notAvailableYet("TrekantFluxCorr", "F 235"); }

void TrekantFluxCorr4(int, int) { notAvailableYet("TrekantFluxCorr4", "F 436"); }
