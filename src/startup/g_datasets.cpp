// G data sets: the size of the structured grid and the geometric and output
// tables.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> gRows() {
  static const std::vector<DataSetRow> rows = {
      {.number = 1,
       .format = "%d %d %d %d",
       .vars = {{xnumber, 300}, {ynumber, 300}, {znumber, 11}, {lnumber, 1}}},
  };
  return rows;
}
