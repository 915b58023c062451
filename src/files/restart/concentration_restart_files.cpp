// Writers and the reader of the concentration and component restart files:
// one line per cell, "%e " per value. The reader of run letter O also reads
// the bed fractions, since the three files restart one sediment run.
#include "files/restart/concentration_restart_files.h"

#include <cstdio>
#include <string>

#include "files/restart/fraction_restart_files.h"
#include "files/grid_files/record_reader.h"
#include "files/series_files.h"
#include "model/cells.h"
#include "model/settings.h"
#include "model/status.h"
#include "base/exit_codes.h"
#include "base/log.h"

namespace {

constexpr int kSeriesDigits = 3;

void cannotOpen(const std::string &name) {
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "cannot open file '%s' ", name.c_str());
  setStatus(mc_message, message);
}

// Closes a written file; a short file is logged, as these writers return
// their failures rather than end the run.
void closeAndCheck(std::FILE *f, const std::string &name) {
  const bool failed = std::ferror(f) != 0;
  if (std::fclose(f) != 0 || failed) logPrintf("Error writing file '%s'\n", name.c_str());
}

// A suspended concentration is a volume fraction of grain in water: more
// than 1 is more grain than volume, and one such cell can hold more mass than
// the whole bed. Below 0 a margin is kept for the round-off undershoots a
// run may write; the loop clips those to 0 at its start.
constexpr double kConcentrationUndershoot = 1e-3;

bool concentrationAccepted(double value) { return value >= -kConcentrationUndershoot && value <= 1.0; }

void readComponents() {
  RecordReader in;
  if (!in.openOptional("compres")) {
    setStatus(mc_message, "could not open 'compres' file ");
    return;
  }
  for (int c = 1; c <= NoCells; ++c) {
    in.at("cell", c);
    for (int n = 0; n < NoComponents; ++n) {
      double value;
      if (!in.tryDouble(value)) return;
      Ccomp[n][c] = value;
    }
  }
  setStatus(mc_message, "have read 'compres' file ");
}

void readConcentrations() {
  char name[64] = "con2res";
  if (FlagMPI != 0) std::snprintf(name, sizeof name, "con2res.mpi%d", FlagMPI);
  RecordReader in;
  if (!in.openOptional(name)) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "have not used file '%s' ", name);
    setStatus(mc_message, message);
    return;
  }
  in.at("header", 1);
  const int cells = in.readInt(), sizes = in.readInt();
  if (cells != NoCells || sizes != lnumber) {
    logPrintf("Error reading %s file\n", name);
    logPrintf("con2res: No. cells = %d, no. sizes = %d\n", cells, sizes);
    logPrintf("Unstruc/control file: No. cells = %d, no. sizes = %d\n", NoCells, lnumber);
    fatalExit(kExitUnreadable, nullptr);
  }
  for (int c = 1; c <= NoCells; ++c) {
    in.at("cell", c);
    for (int k = 0; k <= lnumber; ++k) {
      double value;
      if (!in.tryDouble(value)) return;
      if (!concentrationAccepted(value)) in.refuseValue(value, "is not a concentration of 0 to 1");
      Cconc[k][c] = value;
      if (Cconc_old) Cconc_old[k][c] = value;
    }
  }
  char message[kStatusTextLength];
  std::snprintf(message, sizeof message, "have read '%s' file ", name);
  setStatus(mc_message, message);
}

}  // namespace

int writeConcRes() {
  char fixed[64], base[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "con2res.mpi%d.new", FlagMPI);
    std::snprintf(base, sizeof base, "con2res.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "con2res.new");
    std::snprintf(base, sizeof base, "con2res.");
  }
  std::string name;
  std::FILE *f = openSeriesFile(PrintComp, fixed, base, kSeriesDigits, "", "w", name);
  if (!f) {
    cannotOpen(name);
    return 1;
  }
  for (int c = 1; c <= NoCells; ++c) {
    double sum = 0.0;
    for (int k = 1; k <= lnumber; ++k) sum += Cconc[k][c];
    Cconc[0][c] = sum;
  }
  std::fprintf(f, "%d %d\n", NoCells, lnumber);
  for (int c = 1; c <= NoCells; ++c) {
    for (int k = 0; k <= lnumber; ++k) std::fprintf(f, "%e ", Cconc[k][c]);
    std::fputc('\n', f);
  }
  closeAndCheck(f, name);
  setStatus(mc_message, "have written 'con2res' file ");
  return 0;
}

int writeConqRes() {
  if (NoComponents == 0 || !Ccomp) return -1;
  std::string name;
  std::FILE *f = openSeriesFile(PrintComp, "compres", "compres.", kSeriesDigits, "", "w", name);
  if (!f) {
    cannotOpen(name);
    return 1;
  }
  for (int c = 1; c <= NoCells; ++c) {
    for (int n = 0; n < NoComponents; ++n) std::fprintf(f, "%e ", Ccomp[n][c]);
    std::fputc('\n', f);
  }
  closeAndCheck(f, name);
  setStatus(mc_message, "have written 'compres' file ");
  return 0;
}

int readConRes() {
  if (NoComponents != 0 && Ccomp) readComponents();
  if (FlagTSC > 0) readConcentrations();
  if (FlagUseBedres > 0) return 0;
  return readFracres();
}
