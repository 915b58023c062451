// The second pass over "control" for the B data sets. It looks only at F (to
// step over the run string and the option letters), T (to step over most of
// the title) and B; every other character is ignored.
#include "startup/b_datasets.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "model/control_tables.h"
#include "model/settings.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr int kCharactersExamined = 10000;

void skip(ControlStream &stream, int count) {
  for (int n = 0; n < count; ++n) {
    if (stream.get() == EOF) return;
  }
}

// B block i1 i2 j1 j2. Five integers not all read (a word such as "Bed") are
// no data set; block 0 stands for the whole grid.
void readBDataSet(ControlStream &stream) {
  BDataSetEntry r{};
  ScanResult read = scan(stream, " %d %d %d %d %d", &r.block, &r.i1, &r.i2, &r.j1, &r.j2);
  if (read.count < 5) return;
  const char *message = "Input error for B in control";
  if (read.bad) fatalExit(kExitInputError, message);
  if (r.block == 0) {
    r.i1 = 2;
    r.i2 = xnumber;
    r.j1 = 2;
    r.j2 = ynumber;
  }
  if (r.block > 19 || r.block < 0 || r.i1 > xnumber || r.i2 <= 1 || r.j1 > ynumber || r.j2 <= 1 || r.j1 > r.j2 ||
      r.i1 > r.i2) {
    fatalExit(kExitInputError, message);
  }
  if (NoBdatasets + 1 >= kMaxBdatasets) {
    fatalExit(kExitTableFull, "Error in control file: at most 20 B data sets can be given\n");
  }
  Bdatasets[++NoBdatasets] = r;
}

}  // namespace

void setBDataSetDefaults() {
  std::fill(std::begin(Bdatasets), std::end(Bdatasets), BDataSetEntry{});
  NoBdatasets = -1;
}

void readBDataSets(ControlStream &stream) {
  for (int examined = 0; examined < kCharactersExamined; ++examined) {
    int c = stream.get();
    if (c == EOF) return;
    if (c == 'F') {
      int number = 0;
      ScanResult read = scan(stream, "%d", &number);
      if (read.count == 1 && (number == 2 || number == 7)) skip(stream, 10);
    } else if (c == 'T') {
      skip(stream, 30);
    } else if (c == 'B') {
      readBDataSet(stream);
    }
  }
}

void readBDataSets() {
  std::string text;
  if (!readTextFile("control", text)) fatalExit(kExitCannotOpen, nullptr, "cannot open file 'control' ");
  ControlStream stream(std::move(text));
  readBDataSets(stream);
}
