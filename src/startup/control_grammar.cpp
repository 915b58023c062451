// The data sets whose text the reader takes character by character: the run
// letters of F 2, the option letters of F 7 and the title of T.
#include <cctype>

#include "model/settings.h"
#include "startup/dataset_rows.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

// Printable as the "C" locale tests it: blank to tilde; the end of the file is not.
bool printable(int c) { return c >= ' ' && c <= '~'; }

// F 2: the 20 characters after the number, blank first, up to and including
// the first character that is not printable.
void readRunLetters(ControlStream &stream) {
  for (char &c : run) c = ' ';
  for (int i = 0; i < 20; ++i) {
    int c = stream.get();
    run[i] = static_cast<char>(c);
    if (!printable(c)) break;
  }
}

// F 7: up to eight option letters; F and S are refused, because a data set
// written right after the letters would otherwise be lost without a word.
void readOptionLetters(ControlStream &stream) {
  for (int i = 1; i <= 8; ++i) options[i] = ' ';
  for (int i = 1; i <= 8; ++i) {
    int c = stream.get();
    options[i] = static_cast<char>(c);
    switch (c) {
      case 'N': FlagBedGradient = 1; break;
      case 'B': FlagBedslopeCorrection = 1; break;
      case 'V': FlagPlotVertical = 1; break;
      case 'I': FlagInflowDirection = 1; break;
      case 'A': FlagDiffNonVert = 0; break;
      case 'Z': FlagZ0Small = 1; break;
      case 'X': FlagXCYC = 1; break;
      case 'C': FlagInZero = 0; break;
      case 'P': FlagBedPoros = 1; break;
      case 'G': FlagBedPoros = 2; break;
      case 'E': FlagFlowDirCor = 1; break;
      case 'F':
      case 'S':
        fatalExit(kExitUnreadable,
                  "Error for F 7 data set in control file\n"
                  "Use 10 spaces after the letters on the F 7 data set\n");
      default: break;
    }
    if (!printable(c)) break;
  }
}

void optionDefaults() {
  FlagBedGradient = FlagBedslopeCorrection = FlagPlotVertical = FlagInflowDirection = 0;
  FlagZ0Small = FlagXCYC = FlagBedPoros = FlagFlowDirCor = 0;
  FlagDiffNonVert = FlagInZero = 1;
}

}  // namespace

std::span<const DataSetRow> grammarRows() {
  static const std::vector<DataSetRow> rows = {
      {.number = 2, .handler = readRunLetters},
      {.number = 7, .defaults = optionDefaults, .handler = readOptionLetters},
  };
  return rows;
}

// T: at most 68 characters of title; the 69th, or the first that is not
// printable, is consumed and replaced by a blank.
void readTitle(ControlStream &stream) {
  int last = 0;
  for (int i = 1; i <= 69; ++i) {
    int c = stream.get();
    Title[i] = static_cast<char>(c);
    last = i;
    if (!printable(c)) break;
  }
  Title[last] = ' ';
}
