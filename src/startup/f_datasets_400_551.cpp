// Data sets F 400 to F 551.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> fRows400to551() {
  static const std::vector<DataSetRow> rows = {};
  return rows;
}
