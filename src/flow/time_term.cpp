// Time term and diagonal lift: not built yet. A transient run or F 382 with
// cells to treat ends as not available; an empty range has nothing to do.
#include "flow/time_term.h"

#include "startup/log.h"

void addTimestep(int first, int last) {
  if (first <= last) notAvailableYet("addTimestep", "F 33");
}

void addAp(int first, int last) {
  if (first <= last) notAvailableYet("addAp", "F 382");
}
