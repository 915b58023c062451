// Data sets F 100 to F 199: multigrid, cyclic inflow, grid stabilisation and
// the other settings of this range.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> fRows100to199() {
  static const std::vector<DataSetRow> rows = {
      {.number = 152,
       .format = "%d",
       .vars = {{MGSNo, 0}},
       .checks = {countAtLeast(1), range(0, 0, 10)},
       .message = kMessageSnl},
      {.number = 170, .format = "%d", .vars = {{FlagFastWatersolve, 0}}, .checks = {countAtLeast(1)},
       .message = kMessageSnl},
  };
  return rows;
}
