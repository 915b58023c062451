// kread: the one pass over "control". Upper-case data-set letters start data
// sets wherever they stand; everything a data set does not consume itself is
// examined by the loop, so a comment such as "Flow" starts an F data set.
#include "startup/control_reader.h"

#include <cstdio>
#include <string>

#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "startup/dataset_rows.h"
#include "startup/exit_codes.h"
#include "startup/log.h"

namespace {

constexpr int kCharactersExamined = 30000;

// Reads the whole of "control"; false when it cannot be opened or read.
bool readControlText(std::string &text) {
  std::FILE *file = std::fopen("control", "r");
  if (!file) return false;
  char buffer[65536];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  return !failed;
}

// The number after F, G, K, P or W, read by its format. A number that cannot
// be read leaves the shared number as it is, and the data set of that number
// is read; one that overflows is ignored like an out-of-range number.
void readNumberedDataSet(char letter, const char *format, ControlStream &stream) {
  int number = 0;
  ScanResult read = scan(stream, format, &number);
  if (read.bad) return;
  if (read.count == 1) DataSetNumber = number;
  // P has no data set 0 or below; such a number, also the shared one taken
  // when no number follows the letter, ends the run.
  if (letter == 'P' && DataSetNumber <= 0) {
    fatalPrintf(kExitUnreadable, nullptr, "Error in boogie file: data set P %d does not exist\n\n", DataSetNumber);
  }
  const DataSetTable &table = dataSetTable(letter);
  if (DataSetNumber < table.lowest || DataSetNumber > table.highest) return;
  const DataSetRow *row = table.rows[static_cast<std::size_t>(DataSetNumber - table.lowest)];
  if (row) readDataSetRow(stream, *row);
}

}  // namespace

void kreadDefaults() {
  setRunStateDefaults();
  setBlockAndGroupDefaults();
  for (char &c : run) c = '\0';
  for (char &c : options) c = '\0';
  for (char &c : Title) c = '\0';
  for (char letter : {'F', 'G', 'K', 'P', 'W'}) {
    for (const DataSetRow *row : dataSetTable(letter).rows) {
      if (row) setRowDefaults(std::span<const DataSetRow>(row, 1));
    }
  }
  setLetterDataSetDefaults();
}

void readDataSetLetter(int letter, ControlStream &stream) {
  switch (letter) {
    case 'F': readNumberedDataSet('F', " %d", stream); break;
    case 'G': readNumberedDataSet('G', "%d", stream); break;
    case 'K': readNumberedDataSet('K', " %d ", stream); break;
    case 'P': readNumberedDataSet('P', " %d ", stream); break;
    case 'W': readNumberedDataSet('W', " %d ", stream); break;
    case 'Q': readQDataSet(stream); break;
    case 'H': readHDataSet(stream); break;
    case 'I': readIDataSet(stream); break;
    case 'L': readLDataSet(stream); break;
    case 'M': readMDataSet(stream); break;
    case 'N': readNDataSet(stream); break;
    case 'S': readSDataSet(stream); break;
    case 'T': readTitle(stream); break;
    default: break;
  }
}

void kreadPass(ControlStream &stream) {
  int counter = kCharactersExamined;
  for (;;) {
    int c = stream.get();
    if (c == EOF || c == 0xFF) break;
    readDataSetLetter(c, stream);
    if (--counter == 0) break;
  }
}

void kreadTail() {
  // The checks across data sets run here, before the structured arrays exist.

  closeHeldLog();
  if (sialloc() != 0) fatalExit(kExitCannotOpen, "Could not allocate enough memory");

  // The B data sets and the side files are read here, into the structured arrays.
}

void kread() {
  std::FILE *log = std::fopen("boogie", "w");
  if (!log) fatalExit(kExitCannotOpen, nullptr, "cannot open file 'boogie' ");
  setHeldLog(log);
  std::string text;
  if (!readControlText(text)) {
    fatalExit(kExitControlMissing, "Error, cannot open file 'control'\n", "cannot open file 'control' ");
  }
  setStatus(mc_program, " In kread         ");
  setStatus(mc_message, " Reading data file    ");
  logText("TELVA 2.586 output file. 4. June 2024.\n");
  logText("In kread \n\n");
  kreadDefaults();
  ControlStream stream(std::move(text));
  kreadPass(stream);
  kreadTail();
}
