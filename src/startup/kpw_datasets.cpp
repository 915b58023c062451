// K, P and W data sets: solver settings per equation, print and output
// controls, start values and point lists.
#include "model/settings.h"
#include "startup/dataset_rows.h"

std::span<const DataSetRow> kRows() {
  static const std::vector<DataSetRow> rows = {};
  return rows;
}

std::span<const DataSetRow> pRows() {
  static const std::vector<DataSetRow> rows = {};
  return rows;
}

std::span<const DataSetRow> wRows() {
  static const std::vector<DataSetRow> rows = {};
  return rows;
}
