// Readers of the side files of "control". A missing file is no error; bad
// contents end the run with the file's message. The tables they fill live in
// model/side_tables.h (and Tinspace, TinspaceTime in model/structured.h).
#include "startup/side_files.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "model/settings.h"
#include "model/side_tables.h"
#include "model/structured.h"
#include "startup/control_stream.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr long kMaxInflowRecords = 600000;
constexpr int kInspaceCharacters = 60000;
constexpr int kInspaceValues = 10;

// B n and ten values: the constant concentrations of grain size n.
void readInspaceB(ControlStream &stream) {
  if (InspaceAlloc > 0) {
    fatalExit(kExitInspaceWithF294,
              "Error in inspace file or F 294 data set: The B data set in the inspace\n"
              "file can not be used with the F 294 data set in the control file\n");
  }
  int n = 0;
  ScanResult read = scan(stream, "%d", &n);
  if (read.count != 1 || read.bad || n < 1 || n > lnumber || n > kInspaceSizes) {
    fatalExit(kExitSideFileData, "Error in reading the inspace file, not correct first integer on the B data set\n");
  }
  for (int p = 1; p <= kInspaceValues; ++p) {
    double value = 0.0;
    read = scan(stream, "%lf ", &value);
    if (read.count != 1 || read.bad) {
      fatalExit(kExitSideFileData, "Error in reading the inspace file, not enough data on the B data set\n");
    }
    inspace[20 * n + p] = value;
  }
}

// T time: opens the next time level; the times may not decrease. The count is
// tested before the time is stored, so the last level F 294 reserves is the
// last one written.
void readInspaceT(ControlStream &stream) {
  if (InspaceAlloc <= 0) {
    fatalExit(kExitInspaceNeedsF294,
              "Error in reading inspace file, the T data set has to be used together with the F 294 data set\n");
  }
  double time = 0.0;
  ScanResult read = scan(stream, "%lf", &time);
  if (read.count != 1 || read.bad || (InspaceTimeNo > 0 && time < TinspaceTime[InspaceTimeNo - 1])) {
    fatalPrintf(kExitInspaceTimes, nullptr,
                "Error in reading inspace file, time steps has to increase for time step %d\n", InspaceTimeNo);
  }
  if (InspaceTimeNo + 1LL > InspaceAlloc + 2LL) {
    fatalExit(kExitInspaceLevels, "Error in reading inspace file, increase F 294 integer\n");
  }
  TinspaceTime[InspaceTimeNo++] = time;
}

// C n and ten values: the concentrations of grain size n at the latest T.
void readInspaceC(ControlStream &stream) {
  if (InspaceAlloc <= 0) {
    fatalExit(kExitInspaceNeedsF294,
              "Error in reading inspace file, the C data set has to be used together with the F 294 data set\n");
  }
  if (InspaceTimeNo == 0) {
    fatalExit(kExitSideFileData, "Error in reading the inspace file, the C data set has to follow a T data set\n");
  }
  const int levelIndex = InspaceTimeNo - 1;
  const double latest = TinspaceTime[levelIndex];
  int n = 0;
  ScanResult read = scan(stream, "%d", &n);
  if (read.count != 1 || read.bad || n < 1 || n > lnumber || n > kInspaceSizes) {
    fatalPrintf(kExitSideFileData, nullptr,
                "Error in reading the inspace file, not correct first integer on the C data set\n"
                "for time step %lf\n\n",
                latest);
  }
  for (int p = 1; p <= kInspaceValues; ++p) {
    double value = 0.0;
    read = scan(stream, "%lf ", &value);
    if (read.count != 1 || read.bad) {
      fatalPrintf(kExitSideFileData, nullptr,
                  "Error in reading the inspace file, not enough data on the C data set\n"
                  "for time step %lf, size no: %d, point no: %d\n\n",
                  latest, n, p);
    }
    Tinspace[levelIndex][n][p] = value;
  }
}

}  // namespace

void probeFracres() {
  if (FlagReadNdata != 0) return;
  char name[64];
  if (FlagMPI > 0) {
    std::snprintf(name, sizeof name, "fracres.mpi%d", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "fracres");
  }
  std::FILE *file = openOptionalInputFile(name);
  if (!file) return;
  FlagReadNdata = -1;
  std::fclose(file);
}

// Lines "k u k epsilon" for k = 1, 2, ... znumber. The values of a line go to
// the level expected next before its number is compared, so a gap stores the
// line after the gap one level low and ends the reading.
void readCyclicFile() {
  if (FlagHaveReadCyclic != 0 || FlagCyclic <= 0) return;
  std::string text;
  if (!readOptionalTextFile("cyclic", text)) {
    logText("Have not used cyclic file\n");
    return;
  }
  ControlStream stream(std::move(text));
  int lastLevel = 0;
  for (int k = 1; k <= znumber; ++k) {
    int number = 0;
    double u = 0.0, kinen = 0.0, epsilon = 0.0;
    ScanResult read = scan(stream, "%d %lf %lf %lf\n", &number, &u, &kinen, &epsilon);
    if (read.count != 4 || read.bad) break;
    cyclicU[k] = u;
    cyclicK[k] = kinen;
    cyclicE[k] = epsilon;
    lastLevel = number;
    if (number != k) break;
  }
  logPrintf("Have read %d points from cyclic file\n", lastLevel);
  if (lastLevel > 1) FlagHaveReadCyclic = 1;
}

// Records "D j k" and five values u, v, w, k, epsilon at point j, level k.
void readInflowFile() {
  std::string text;
  if (!readOptionalTextFile("inflow", text)) {
    logText("Have not used inflow file\n");
    return;
  }
  ControlStream stream(std::move(text));
  long records = 0;
  while (records < kMaxInflowRecords) {
    char letter = 0;
    int j = 0, k = 0;
    ScanResult head = scan(stream, "%c %d %d", &letter, &j, &k);
    if (head.count != 3) break;
    if (letter != 'D') fatalExit(kExitSideFileData, "Error in reading inflow file, the D data set has to be used\n");
    if (head.bad || j < 0 || k < 0 || j >= kInflowPoints || k >= kInflowLevels) {
      fatalPrintf(kExitTableFull, nullptr, "Error in reading inflow file, too large indexes in inflow file: %d %d\n",
                  j, k);
    }
    double u = 0.0, v = 0.0, w = 0.0, kinen = 0.0, epsilon = 0.0;
    ScanResult values = scan(stream, "%lf %lf %lf %lf %lf\n", &u, &v, &w, &kinen, &epsilon);
    if (values.count != 5 || values.bad) {
      fatalPrintf(kExitInflowValues, nullptr,
                  "Error in reading inflow file for line: %d %d\nNote that five floating point numbers must be given\n",
                  j, k);
    }
    inflowu[j][k] = u;
    inflowv[j][k] = v;
    infloww[j][k] = w;
    inflowki[j][k] = kinen;
    inflowe[j][k] = epsilon;
    inflowj = std::max(inflowj, j);
    inflowk = std::max(inflowk, k);
    ++records;
  }
  logPrintf("Have read %ld points in a %d x %d array from inflow file\n", records, inflowj, inflowk);
}

// The first character is read alone: an A takes its integer, any other
// character is lost. Then B, T and C data sets in any order.
void readInspaceFile() {
  std::string text;
  if (!readOptionalTextFile("inspace", text)) return;
  ControlStream stream(std::move(text));
  if (stream.get() == 'A') {
    int value = 0;
    ScanResult read = scan(stream, "%d", &value);
    if (read.count != 1 || read.bad || value <= 0) {
      fatalExit(kExitSideFileData, "Error in reading the inspace file, the A data set has to be used with an integer\n");
    }
    FlagInspace = value;
  }
  for (int examined = 0; examined < kInspaceCharacters; ++examined) {
    int c = stream.get();
    if (c == EOF) break;
    if (c == 'B') {
      readInspaceB(stream);
    } else if (c == 'T') {
      readInspaceT(stream);
    } else if (c == 'C') {
      readInspaceC(stream);
    }
  }
  logText("Inspace file read: \n");
}
