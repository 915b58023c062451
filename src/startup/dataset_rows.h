// The row lists of the data sets of "control", one list per letter or number
// range, and the readers of the letters that take no data-set number.
#pragma once

#include <span>

#include "startup/dataset_table.h"

// F data sets by number range.
std::span<const DataSetRow> fRows1to99();
std::span<const DataSetRow> fRows100to199();
std::span<const DataSetRow> fRows200to299();
std::span<const DataSetRow> fRows300to399();
std::span<const DataSetRow> fRows400to551();

// G, K, P and W data sets.
std::span<const DataSetRow> gRows();
std::span<const DataSetRow> kRows();
std::span<const DataSetRow> pRows();
std::span<const DataSetRow> wRows();

// The letters Q, H, I, L, M, N, S: each reads its own integers.
void readQDataSet(ControlStream &stream);
void readHDataSet(ControlStream &stream);
void readIDataSet(ControlStream &stream);
void readLDataSet(ControlStream &stream);
void readMDataSet(ControlStream &stream);
void readNDataSet(ControlStream &stream);
void readSDataSet(ControlStream &stream);
// Defaults of the tables that Q, H, I, L, M, N and S fill.
void setLetterDataSetDefaults();

// The data sets for which the reader itself holds the grammar: F 2, F 7 and T.
std::span<const DataSetRow> grammarRows();
void readTitle(ControlStream &stream);

// The dispatch tables by letter, built from the lists above.
const DataSetTable &dataSetTable(char letter);

// The letters that take no data-set number (Q, H, I, L, M, N, S and T), each
// with its reader; the first pass looks a letter up here when it is not one
// of the numbered letters F, G, K, P and W.
struct LetterReader {
  char letter;
  void (*read)(ControlStream &stream);
};
std::span<const LetterReader> letterReaders();
