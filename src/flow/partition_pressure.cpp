// Partition pressure limits: not built yet; a run that asks for them ends.
#include "flow/partition_pressure.h"

#include "startup/log.h"

void limitPressureMPI() { notAvailableYet("limitPressureMPI", "F 316"); }
