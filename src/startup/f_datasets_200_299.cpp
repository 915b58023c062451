// Data sets F 200 to F 299: threads, discharge groups, slides, groundwater and
// the other settings of this range.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> fRows200to299() {
  static const std::vector<DataSetRow> rows = {
      {.number = 236,
       .format = "%d %lf %lf %lf",
       .vars = {{FlagThixo, 0}, {ThixoEddyvisc, 0}, {ThixoCritshear, 0}, {ThixoMySlope, 0.8}},
       .checks = {countAtLeast(4)},
       .message = kMessageSnl},
      {.number = 248, .format = "%d", .vars = {{FlagSoilStress, 0}}, .checks = {countAtLeast(1)},
       .message = kMessageSnl},
      {.number = 262,
       .format = "%d %lf",
       .vars = {{FlagGroundwater, 0}, {Conductivity, 5.3e-6}},
       .checks = {countAtLeast(2), atLeast(0, 0), atLeast(1, 0.0)},
       .message = kMessageSnl},
  };
  return rows;
}
