// Data sets F 300 to F 399: output selection, partitioned runs, bed statistics
// and the other settings of this range.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> fRows300to399() {
  static const std::vector<DataSetRow> rows = {
      {.number = 328, .format = "%d", .vars = {{FlagWaterSolveNew, 0}}, .checks = {countAtLeast(1), atLeast(0, 0)},
       .message = kMessageSnl},
  };
  return rows;
}
