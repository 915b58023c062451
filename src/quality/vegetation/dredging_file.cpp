// Reading of "bagger". Every upper-case T, N, K, D, E, Z, F or L starts a
// record; every other character is skipped, so the file may carry comments.
// A T record opens the next operation, and every other record belongs to the
// operation of the last T before it.
#include "quality/vegetation/dredging_file.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "base/log.h"
#include "files/write_check.h"
#include "model/blocks_groups.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "quality/vegetation/dredging.h"
#include "startup/control_stream.h"

namespace {

// A file longer than this is not read further.
constexpr long kCharacterLimit = 10'000'000;

struct BaggerReader {
  ControlStream stream;
  int operation = -1;   // current operation, -1 before the first T record
  int counted = 0;      // D, E, K and Z records
  int levels = 0;       // L records
  int lastI = 0, lastJ = 0;

  // The operations the tables can hold.
  static int capacity() { return std::min(MaxNoBagger, kMaxBaggerOperations); }

  // A record that belongs to an operation: before the first T record there
  // is none, and the file is refused.
  void needOperation() {
    if (operation < 0) fatalPrintf(-5, nullptr, "Error for T data set no. %d in bagger file\n", 1);
  }

  int areas() const { return NoBaggerAreas[operation]; }

  void timeRecord() {
    double t0 = 0.0, t1 = 0.0;
    const ScanResult r = scan(stream, "%lf %lf", &t0, &t1);
    ++operation;
    if (r.count != 2 || r.bad || t0 > t1 || operation >= capacity())
      fatalPrintf(-5, nullptr, "Error for T data set no. %d in bagger file\n", operation + 1);
    baggerTime[operation][0] = t0;
    baggerTime[operation][1] = t1;
    NoBaggerAreas[operation] = 0;
  }

  void areaRecord() {
    needOperation();
    int i1 = 0, i2 = 0, j1 = 0, j2 = 0;
    const ScanResult r = scan(stream, "%d %d %d %d", &i1, &i2, &j1, &j2);
    const int n = areas();
    if (r.count != 4 || r.bad || n >= kMaxBaggerAreas || i1 < 2 || i1 > i2 || i2 > xnumber || j1 < 2 || j1 > j2 ||
        j2 > ynumber)
      fatalPrintf(-5, nullptr, "Error for dredging no. %d, N data set no. %d, in bagger file\n", operation + 1, n + 1);
    int *area = baggerAreas[operation][n];
    area[0] = i1;
    area[1] = i2;
    area[2] = j1;
    area[3] = j2;
    NoBaggerAreas[operation] = n + 1;
  }

  // K: a dredging level at a grid point of the last area read.
  void levelRecord() {
    needOperation();
    int i = 0, j = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    const ScanResult r = scan(stream, "%d %d %lf %lf %lf", &i, &j, &x, &y, &z);
    bool ok = r.count == 5 && !r.bad && areas() > 0;
    if (ok) {
      const int *area = baggerAreas[operation][areas() - 1];
      ok = i >= area[0] && i <= area[1] && j >= area[2] && j <= area[3];
    }
    if (!ok)
      fatalPrintf(-6, nullptr,
                  "Error for K data set in bagger file: Dredging no. %d, area no. %d, i=%d, j=%d, level=%lf\n",
                  operation + 1, areas(), i, j, z);
    baggerZval[operation][i][j] = z;
    lastI = i;
    lastJ = j;
    ++counted;
  }

  // D or E: a thickness at a grid point of block 1.
  void thicknessRecord(char letter) {
    needOperation();
    int i = 0, j = 0;
    double x = 0.0, y = 0.0, z = 0.0;
    const ScanResult r = scan(stream, "%d %d %lf %lf %lf", &i, &j, &x, &y, &z);
    bool ok = r.count == 5 && !r.bad && NoBlocks >= 1;
    if (ok) {
      const GridBlock &b = block[1];
      ok = i >= b.i1 - 1 && i <= b.i2 && j >= b.j1 - 1 && j <= b.j2;
    }
    if (!ok)
      fatalPrintf(-6, nullptr,
                  "Error for %c data set in bagger file: Feeding no. %d, area no. %d, i=%d, j=%d, level=%lf\n", letter,
                  operation + 1, areas(), i, j, z);
    baggerZval[operation][i][j] = z;
    baggerFlags[operation] = letter == 'D' ? 4 : 5;
    lastI = i;
    lastJ = j;
    ++counted;
  }

  void fedThicknessRecord() {
    needOperation();
    double h = 0.0;
    const ScanResult r = scan(stream, "%lf", &h);
    if (r.count != 1 || r.bad)
      fatalPrintf(-6, nullptr, "Error for Z data set in bagger file: Feeding no. %d, area no. %d, level=%lf\n",
                  operation + 1, areas(), h);
    zugabeZval[operation] = h;
    baggerFlags[operation] = 2;
    ++counted;
  }

  void fractionsRecord() {
    needOperation();
    for (int s = 1; s <= lnumber; ++s) {
      double f = 0.0;
      const ScanResult r = scan(stream, "%lf", &f);
      if (r.count != 1 || r.bad || f < 0.0 || f > 1.0)
        fatalPrintf(-6, nullptr,
                    "Error for F data set in bagger file: Feeding no. %d, area no. %d, i=%d, j=%d, size = %d, "
                    "fraction=%lf\n",
                    operation + 1, areas(), lastI, lastJ, s, f);
      zugabeFractions[operation][s] = f;
    }
  }

  void levelOfOperationRecord() {
    needOperation();
    ++levels;
    double level = 0.0;
    const ScanResult r = scan(stream, "%lf", &level);
    if (r.count != 1 || r.bad) fatalPrintf(-4, nullptr, "Error for L data set no. %d in bagger file\n", levels);
    baggerLevels[operation] = level;
  }
};

// One warning per operation that will never act, so that the user sees why
// its lines are missing from "bag_res".
void warnIdleOperations() {
  for (int n = 0; n <= NoBaggerTimes; ++n) {
    const int kind = baggerFlags[n];
    if (kind == 5) {
      logPrintf("Warning: E data sets of operation no. %d in bagger file have no effect\n", n + 1);
    } else if (kind != 0 && !feedingActs(kind)) {
      logPrintf("Warning: %c data sets of operation no. %d in bagger file have no effect with F 386 %d and F 37 %d\n",
                kind == 2 ? 'Z' : 'D', n + 1, FlagBagger, FlagTSC);
    }
  }
}

// The tables of the operations, emptied before the file is read.
void clearOperations() {
  const int rows = BaggerReader::capacity();
  for (int n = 0; n < rows; ++n) {
    baggerFlags[n] = 0;
    NoBaggerAreas[n] = 0;
    zugabeZval[n] = 0.0;
    baggerLevels[n] = 0.0;
    baggerApplied[n] = 0.0;
    for (int i = 0; i <= xnumber + 1; ++i) {
      std::fill_n(baggerZval[n][i], ynumber + 2, 0.0);
      std::fill_n(baggerRest[n][i], ynumber + 2, -1.0);
    }
  }
}

}  // namespace

void readBagger() {
  std::string text;
  if (!readTextFile("bagger", text)) fatalExit(-8, "Could not open 'baggger' file\n");
  std::FILE *res = std::fopen("bag_res", "w");
  if (!res) fatalExit(-9, "Could not open 'bag_res' file\n");
  std::fputs("Time [sec], Volume [m3]\n\n", res);
  closeWrittenFile(res, "bag_res");

  clearOperations();
  BaggerReader r;
  r.stream = ControlStream(std::move(text));
  long seen = 0;
  for (int ch = r.stream.get(); ch != EOF && seen < kCharacterLimit; ch = r.stream.get(), ++seen) {
    switch (ch) {
      case 'T': r.timeRecord(); break;
      case 'N': r.areaRecord(); break;
      case 'K': r.levelRecord(); break;
      case 'D':
      case 'E': r.thicknessRecord(static_cast<char>(ch)); break;
      case 'Z': r.fedThicknessRecord(); break;
      case 'F': r.fractionsRecord(); break;
      case 'L': r.levelOfOperationRecord(); break;
      default: break;
    }
  }
  NoBaggerTimes = r.operation;
  res = std::fopen("bag_res", "a");
  if (!res) fatalExit(-10, "Could not open 'bag_res' file\n");
  std::fprintf(res, "Have read %d T data sets and %d D/E/F/N/K data sets from bagger file\n", r.operation + 1,
               r.counted);
  closeWrittenFile(res, "bag_res");
  warnIdleOperations();
}

void appendBagRes(double time, double volume) {
  std::FILE *res = std::fopen("bag_res", "a");
  if (!res) fatalExit(-10, "Could not open 'bag_res' file\n");
  std::fprintf(res, "%lf, %lf\n", time, volume);
  closeWrittenFile(res, "bag_res");
}
