// Water-quality operations that are not built yet: each does nothing.
#include "quality/quality_services.h"

void Components() {}
void groundwater() {}
int computeVegdataFromSTL() { return 0; }
