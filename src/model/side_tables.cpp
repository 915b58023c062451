// Start values of the side-file tables: nothing read yet.
#include "model/side_tables.h"

#include <algorithm>
#include <iterator>

void setSideTableDefaults() {
  FlagHaveReadCyclic = 0;
  inflowj = 0;
  inflowk = 0;
  FlagInspace = 0;
  InspaceTimeNo = 0;
  std::fill(std::begin(inspace), std::end(inspace), 0.0);
}
