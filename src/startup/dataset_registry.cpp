// The dispatch tables of the data-set letters, indexed by number and built
// once from the row lists.
#include <array>

#include "startup/dataset_rows.h"

namespace {

DataSetTable makeTable(char letter, int lowest, int highest, std::initializer_list<std::span<const DataSetRow>> lists) {
  DataSetTable table{letter, lowest, highest, {}};
  table.rows.assign(static_cast<std::size_t>(highest - lowest + 1), nullptr);
  for (std::span<const DataSetRow> list : lists) {
    for (const DataSetRow &row : list) {
      if (row.number >= lowest && row.number <= highest) table.rows[static_cast<std::size_t>(row.number - lowest)] = &row;
    }
  }
  return table;
}

}  // namespace

const DataSetTable &dataSetTable(char letter) {
  static const DataSetTable f = makeTable(
      'F', 0, 551, {grammarRows(), fRows1to99(), fRows100to199(), fRows200to299(), fRows300to399(), fRows400to551()});
  static const DataSetTable g = makeTable('G', 0, 62, {gRows()});
  static const DataSetTable k = makeTable('K', 0, 6, {kRows()});
  static const DataSetTable p = makeTable('P', 0, 999, {pRows()});
  static const DataSetTable w = makeTable('W', 0, 7, {wRows()});
  switch (letter) {
    case 'F': return f;
    case 'G': return g;
    case 'K': return k;
    case 'P': return p;
    default: return w;
  }
}

std::span<const LetterReader> letterReaders() {
  static constexpr LetterReader readers[] = {
      {'Q', readQDataSet}, {'H', readHDataSet}, {'I', readIDataSet}, {'L', readLDataSet},
      {'M', readMDataSet}, {'N', readNDataSet}, {'S', readSDataSet}, {'T', readTitle},
  };
  return readers;
}
