// Grid modification: not built yet; a run that asks for it ends.
#include "grid/grid_modification.h"

#include "startup/log.h"

void ModifyGrid() { notAvailableYet("ModifyGrid", "F 395"); }
