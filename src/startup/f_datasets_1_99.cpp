// Data sets F 1 to F 99: time stepping, turbulence, sediment and grid
// generation settings, each with its default, checks and message.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> fRows1to99() {
  static const std::vector<DataSetRow> rows = {
      {.number = 17, .format = "%lf", .vars = {{TimeStep, 1e-20}}, .checks = {atLeast(0, 1e-10)}},
      {.number = 20, .format = "%d", .vars = {{IterF2, 1}}, .checks = {above(0, 0)}},
      {.number = 33,
       .format = "%lf %d",
       .vars = {{TimeStep, 1e-20}, {TransInnerIter, 1}},
       .checks = {atLeast(0, 1e-20), atLeast(1, 0), countAtLeast(2, "Two numbers are required on F 33 data set\n")},
       .storesCount = 0},
      {.number = 37, .format = "%d", .vars = {{FlagTSC, 0}}, .checks = {range(0, 0, 3)}},
      {.number = 50, .format = "%d", .vars = {{NoComponents, 0}}, .checks = {range(0, 0, 10)}},
      {.number = 68, .format = "%d", .vars = {{Hydrostatic, 0}}, .checks = {countAtLeast(1), range(0, 0, 10)}},
  };
  return rows;
}
