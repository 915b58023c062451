// Reading the result file back for a restart. The text file is scanned for
// its U, C and F records: U must describe this grid, C restores a cell's
// velocities, k, epsilon and pressure (and its eddy viscosity from k and
// epsilon), F a face flux. The binary file is the arrays as written.
#include "files/file_services.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/restart/bed_result_file.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/faces.h"
#include "model/grid_index.h"
#include "model/points.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/status.h"
#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

// A record is one line of the file; longer lines are not the engine's.
constexpr int kRecordLength = 512;

// The counts of the U record: points, cells, faces, blocks, connections,
// connected faces.
struct GridCounts {
  int points, cells, surfaces, blocks, connect, connFlate;
  bool operator==(const GridCounts &) const = default;
};

// What the writer puts in the U record.
GridCounts writtenCounts() { return {NoPoints, NoCells0, NoSurfaces0, NoBlocks0, NoConnect0, NoConnFlate0}; }

// A file written before a mud or slide layer block was appended holds the
// cells of block 1 only; it is accepted whatever its other counts.
bool layerBlockException(const GridCounts &file) {
  return NoBlocks >= 2 && file.cells == block[1].LastCell && block[2].LayerMark == 1;
}

void reportSizeMismatch(const GridCounts &grid, const GridCounts &file) {
  logText("Error reading result file, array size is not the same as in the grid\n");
  logPrintf("Number of cells in grid is %d, and number of cells in result file is %d\n", grid.cells, file.cells);
  if (grid.points != file.points) {
    logPrintf("No. points in grid: %d, no. points in result file: %d\n", grid.points, file.points);
  }
  if (grid.cells != file.cells) logPrintf("No. cells in grid: %d, no. cells in result file: %d\n", grid.cells, file.cells);
  if (grid.surfaces != file.surfaces) {
    logPrintf("No. surfaces in grid: %d, no. surfaces in result file: %d\n", grid.surfaces, file.surfaces);
  }
  if (grid.blocks != file.blocks) {
    logPrintf("No. blocks in grid: %d, no. blocks in result file: %d\n", grid.blocks, file.blocks);
  }
  if (grid.connect != file.connect) {
    logPrintf("No. connections in grid: %d, no. connections in result file: %d\n", grid.connect, file.connect);
  }
  if (grid.connFlate != file.connFlate) {
    logPrintf("No. connecting surfaces in grid: %d, in result file: %d\n", grid.connFlate, file.connFlate);
  }
  logPrintf("MaxDepth = %lf\n", MaxDepth);
  logText(
      "\nAdvice for fixing the problem: \n"
      "If you are not using an F 112 data set in the control file, then the error \n"
      "comes from you are reading a result file prodeuced from a different grid.\n"
      "If you are using an F 112 data set in the control file, you can try to \n"
      "Add an F 209 data set in the control file, with the same value as.\n"
      "the floating point number on the second line on the bedres file\n"
      "If you are reading a bedres file, check that the result and bedres files \n"
      "are written at the same time\n"
      "If you are reading an unstruc file that is written at the same time as the result file,\n"
      "then the F 112 data set should be removed from the control file\n"
      "Otherwise, the F 112 1 data set should be in the control file\n"
      "Another cause of this error can be if you are using an F 99 data set\n"
      "with an integer above 1\n"
      "If none of these methods work, you can write the whole grid in the unstruc file by using\n"
      "an H at the end of the F 2 data set. Then read this file before reading the result file\n");
}

// The scan of the text file; each failure names the file and the line.
class ResultScan {
 public:
  ResultScan(std::FILE *file, const char *name) : file_(file), name_(name) {}

  enum class Outcome { Read, SizeMismatch };

  Outcome run() {
    const long long limit =
        20LL * (static_cast<long long>(xnumber) * ynumber * znumber + static_cast<long long>(xnumber) * ynumber);
    long long records = 0;
    for (int ch = std::fgetc(file_); ch != EOF && records < limit; ch = std::fgetc(file_)) {
      if (ch == '\n') {
        ++line_;
      } else if (ch == 'U' || ch == 'C' || ch == 'F') {
        ++records;
        readRecordText();
        if (ch == 'U' && !acceptCounts()) return Outcome::SizeMismatch;
        if (ch == 'C') storeCell();
        if (ch == 'F' && storeFace() == NoSurfaces0) break;
      }
    }
    if (!haveCounts_ || cellRecords_ < file_counts_.cells || faceRecords_ < file_counts_.surfaces) fail();
    return Outcome::Read;
  }

  int cellRecords() const { return cellRecords_; }

 private:
  [[noreturn]] void fail() const {
    fatalPrintf(kExitControlMissing, nullptr, "Error reading result file '%s', line %d\n", name_, line_);
  }

  // The rest of the record's line; the newline ends the line.
  void readRecordText() {
    int n = 0, ch;
    while ((ch = std::fgetc(file_)) != EOF && ch != '\n') {
      if (n + 1 >= kRecordLength) fail();
      text_[n++] = static_cast<char>(ch);
    }
    text_[n] = '\0';
    recordLine_ = line_;
    if (ch == '\n') ++line_;
  }

  [[noreturn]] void failRecord() {
    line_ = recordLine_;
    fail();
  }

  bool acceptCounts() {
    GridCounts &f = file_counts_;
    if (std::sscanf(text_, "%d%d%d%d%d%d", &f.points, &f.cells, &f.surfaces, &f.blocks, &f.connect, &f.connFlate) !=
        6) {
      failRecord();
    }
    haveCounts_ = true;
    if (layerBlockException(f)) return true;
    const GridCounts g = writtenCounts();
    if (f == g) return true;
    reportSizeMismatch(g, f);
    return false;
  }

  void storeCell() {
    int c;
    double v[6];
    if (std::sscanf(text_, "%d%lf%lf%lf%lf%lf%lf", &c, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]) != 7 || c < 1 ||
        c > NoCells || !std::all_of(v, v + 6, [](double x) { return std::isfinite(x); })) {
      failRecord();
    }
    Cxvel[c] = v[0];
    Cyvel[c] = v[1];
    Czvel[c] = v[2];
    Ckinen[c] = v[3];
    Cepsilon[c] = v[4];
    Cpres[c] = v[5];
    // The eddy viscosity of the standard k-epsilon model, 1000 · 0.09 k²/ε.
    const double gamma = std::min(MaxGamma, 90.0 * v[3] * v[3] / (1e-20 + v[4]) + MinGamma + ArtEddyVisc);
    Cgamma[c] = CgammaV[c] = gamma;
    ++cellRecords_;
  }

  int storeFace() {
    int s;
    double flux;
    if (std::sscanf(text_, "%d%lf", &s, &flux) != 2 || s < 1 || s > NoSurfaces || !std::isfinite(flux)) failRecord();
    Fflux[s] = flux;
    ++faceRecords_;
    return s;
  }

  std::FILE *file_;
  const char *name_;
  int line_ = 1, recordLine_ = 1;
  char text_[kRecordLength];
  GridCounts file_counts_{};
  bool haveCounts_ = false;
  int cellRecords_ = 0, faceRecords_ = 0;
};

// Returns false when the file is missing or holds another grid: the fields
// then stay as they were.
bool readTextResult() {
  char name[64];
  if (FlagMPI != 0) {
    std::snprintf(name, sizeof name, "result.mpi%d", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "result");
  }
  std::FILE *f = openInputFile(name);
  if (!f) {
    char message[kStatusTextLength];
    std::snprintf(message, sizeof message, "cannot open file %s ", name);
    setStatus(mc_message, message);
    logPrintf("Warning: have not been able to open the file '%s' for reading ", name);
    return false;
  }
  setStatus(mc_program, " Readres-reading results ");
  logText(" In readres \n\n");
  ResultScan scan(f, name);
  if (scan.run() == ResultScan::Outcome::SizeMismatch) {
    setStatus(mc_message, " Error reading result file        ");
    std::fclose(f);
    return false;
  }
  FlagReadRes = 1;
  std::fclose(f);
  logPrintf("Have read %d cell values from %s file\n", scan.cellRecords(), name);
  return true;
}

// The seven arrays as the binary writer wrote them, checked by length first.
void readBinaryResult() {
  std::FILE *f = openInputFile("resultb");
  if (!f) {
    fatalExit(kExitCannotOpen, " cannot open file 'resultb' for reading ", "cannot open file 'resultb' ");
  }
  const long cells = static_cast<long>(NoCells) + 1, faces = static_cast<long>(NoSurfaces) + 1;
  const long expected = 8 * (6 * cells + faces);
  const bool sized = std::fseek(f, 0, SEEK_END) == 0 && std::ftell(f) == expected && std::fseek(f, 0, SEEK_SET) == 0;
  bool complete = sized;
  for (double *field : {Cxvel, Cyvel, Czvel, Ckinen, Cepsilon, Cpres}) {
    complete = complete && std::fread(field, 8, cells, f) == static_cast<std::size_t>(cells) &&
               std::all_of(field, field + cells, [](double x) { return std::isfinite(x); });
  }
  complete = complete && std::fread(Fflux, 8, faces, f) == static_cast<std::size_t>(faces) &&
             std::all_of(Fflux, Fflux + faces, [](double x) { return std::isfinite(x); });
  std::fclose(f);
  if (!complete) fatalExit(kExitControlMissing, "Error reading 'resultb' file\n");
}

void copyToOld() {
  if (!Cxvel_old) return;
  const int n = NoCells + 1;
  std::copy(Cxvel + 1, Cxvel + n, Cxvel_old + 1);
  std::copy(Cyvel + 1, Cyvel + n, Cyvel_old + 1);
  std::copy(Czvel + 1, Czvel + n, Czvel_old + 1);
  std::copy(Cpres + 1, Cpres + n, Cpres_old + 1);
  std::copy(Ckinen + 1, Ckinen + n, Ckinen_old + 1);
  std::copy(Cepsilon + 1, Cepsilon + n, Cepsilon_old + 1);
}

}  // namespace

void readres() {
  readBedres();
  if (FlagInterpolVal == 15) {
    readBinaryResult();
  } else if (!readTextResult()) {
    return;
  }
  copyToOld();
  FlagInitialized = 1;
  gFlagRead = 0;
  setStatus(mc_message, " Have finished reading 'result'");
}
