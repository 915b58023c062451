// kread: one pass over "control" in which upper-case data-set letters start
// data sets wherever they stand (so a comment such as "Flow" starts an F data
// set), then the checks, arrays, B data sets and side files that follow it.
#include "startup/control_reader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "model/allocation.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/series.h"
#include "model/settings.h"
#include "model/side_tables.h"
#include "model/status.h"
#include "model/threads.h"
#include "startup/b_datasets.h"
#include "startup/dataset_rows.h"
#include "startup/default_grid.h"
#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"
#include "startup/read_checks.h"
#include "startup/side_files.h"

namespace {

constexpr int kCharactersExamined = 30000;

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

// The letters that start a data set ("B" in the second pass).
bool isDataSetLetter(int c) { return c != 0 && std::strchr("BFGHIKLMNPQSTW", c) != nullptr; }

// A line that starts with a letter the pass takes for no data set ("E 237"
// typed for "F 237", a lower-case "f 237") is skipped; the run would then
// fail much later, or quietly do less than asked, so the user is told once
// per line; the line the engine writes itself into a missing "control"
// ("no values given") is no mistake. Follows the lines of the text as the
// pass examines it.
class StrayLineWatch {
 public:
  explicit StrayLineWatch(std::string_view text) : text_(text) {}

  // The character at position at is examined by the pass.
  void examine(std::size_t at) {
    for (; counted_ < at; ++counted_) {
      const char c = text_[counted_];
      if (c == '\n') {
        ++line_;
        blanksOnly_ = true;
      } else if (c != ' ' && c != '\t' && c != '\r') {
        blanksOnly_ = false;
      }
    }
    const unsigned char c = static_cast<unsigned char>(text_[at]);
    if (!blanksOnly_ || !std::isalpha(c) || isDataSetLetter(c)) return;
    std::size_t end = text_.find('\n', at);
    if (end == std::string_view::npos) end = text_.size();
    while (end > at && (text_[end - 1] == ' ' || text_[end - 1] == '\t' || text_[end - 1] == '\r')) --end;
    if (text_.substr(at, end - at) == kNoValuesGiven) return;
    const int shown = static_cast<int>(end - at < kShownLine ? end - at : kShownLine);
    logPrintf("Warning: control line %ld: '%.*s' is not a data set and is ignored\n", line_, shown, text_.data() + at);
  }

 private:
  static constexpr std::size_t kShownLine = 60;
  static constexpr std::string_view kNoValuesGiven = "no values given";
  std::string_view text_;
  std::size_t counted_ = 0;
  long line_ = 1;
  bool blanksOnly_ = true;
};

// The "timeo" sets are empty until "timei" is read.
void clearTimePrintSets() {
  for (TimePrintSet &set : TimePrint) {
    set = TimePrintSet{};
    for (TimePrintItem &item : set.item) item.letter = ' ';
  }
  TimePrintNo = 0;
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
  setBDataSetDefaults();
  setSideTableDefaults();
}

void readDataSetLetter(int letter, ControlStream &stream) {
  switch (letter) {
    case 'F': readNumberedDataSet('F', " %d", stream); break;
    case 'G': readNumberedDataSet('G', "%d", stream); break;
    case 'K': readNumberedDataSet('K', " %d ", stream); break;
    case 'P': readNumberedDataSet('P', " %d ", stream); break;
    case 'W': readNumberedDataSet('W', " %d ", stream); break;
    default:
      for (const LetterReader &reader : letterReaders()) {
        if (reader.letter == letter) {
          reader.read(stream);
          break;
        }
      }
      break;
  }
}

void kreadPass(ControlStream &stream) {
  int counter = kCharactersExamined;
  StrayLineWatch watch(stream.text());
  for (;;) {
    int c = stream.get();
    if (c == EOF || c == 0xFF) break;
    watch.examine(stream.position() - 1);
    readDataSetLetter(c, stream);
    if (--counter == 0) break;
  }
}

// The read after the pass, in its fixed order: settings that depend on other
// data sets, the echo of two settings, the checks across data sets, the
// structured arrays, the B data sets, the default block and the side files.
void kreadTail() {
  // Components of the bed composition: one per grain size and one more.
  if (FlagHCB > 0 && NoComponents < lnumber + 1) NoComponents = lnumber + 1;
  if (FlagReadW1 == 0) levelFromGeodata();

  logPrintf("TurbulenceModel = %d (F 24)\n", TurbulenceModel);
  // Without F 206 every region runs on one thread.
  if (NoProcessesSolver == 0) fixThreadCount(1);
  logPrintf("Number of threads: %d (F 206)\n", NoProcessesSolver);

  probeFracres();
  runReadChecks(checksBeforeAllocation());

  closeHeldLog();
  if (sialloc() != 0) endOutOfMemory();
  std::FILE *log = openLog("a");
  setHeldLog(log);
  logPrintf("%s\n\n", Title + 1);

  runReadChecks(checksAfterAllocation());
  checkGrainFractions();

  readBDataSets();
  markOutBlocks();
  layDefaultBlock();
  runReadChecks(checksOnTheGrid());
  clearSlidePlane();

  readCyclicFile();
  readInflowFile();
  clearTimePrintSets();
  readInspaceFile();

  closeHeldLog();
  setStatus(mc_message, " Have read data file    ");
}

void kread() {
  std::FILE *log = openLog("w");
  setHeldLog(log);
  std::string text;
  if (!readTextFile("control", text)) {
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
