// Free-surface operations that are not built yet: each does nothing.
#include "surface/surface_services.h"

void backwater() {}
