// Water quality, groundwater and vegetation are not built yet: a run that
// asks for them ends.
#include "quality/quality_services.h"

#include "base/log.h"

void Components() { notAvailableYet("Components", "C"); }
void groundwater() { notAvailableYet("groundwater", "G, F 262"); }
int computeVegdataFromSTL() { notAvailableYet("computeVegdataFromSTL", "P"); }
