// Writing and reading the bed result file. The grid-point lines carry the
// levels that the grid is regenerated on; the bed-cell lines the roughness
// and the thickness and grain fractions of each bed layer, top layer first.
#include "files/restart/bed_result_file.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "files/series_files.h"
#include "files/write_check.h"
#include "grid/grid_services.h"
#include "model/bed_cells.h"
#include "model/blocks_groups.h"
#include "model/cells.h"
#include "model/run_state.h"
#include "model/settings.h"
#include "model/structured.h"
#include "base/exit_codes.h"
#include "base/input_file.h"
#include "base/log.h"

namespace {

constexpr int kBedresDigits = 4;

// Blocks appended for the hydrostatic or two-dimensional solver and the
// multigrid levels are regenerated from the base grid, not stored.
bool storedBlock(const GridBlock &b) { return b.GridLevel == 0 && b.BlockKind == 0; }

// The layered bed of F 37 3 with more than two layers stores every layer;
// otherwise layers 1 and 0.
bool multiLayerBed() { return BlayerTop && NoBedLayers > 2 && FlagTSC == 3; }

void writeLayer(std::FILE *f, int layer, int b) {
  for (int k = 0; k <= lnumber; ++k) std::fprintf(f, "%lf ", BSedDistrib[layer][k][b]);
}

[[noreturn]] void badLine(int line) {
  fatalPrintf(kExitCannotOpen, nullptr, "Error in reading bedres file: line %d\n", line);
}

// A line that cannot be what its place in the file says, with the reason.
[[noreturn]] void badLine(int line, const char *why) {
  fatalPrintf(kExitCannotOpen, nullptr, "Error in reading bedres file: line %d: %s\n", line, why);
}

// A grid-point line: i, j, the bottom cell number and four levels.
constexpr std::size_t kPointNumbers = 7;

// The record lines after the header. The writer puts every grid point and
// every bed cell on a line of its own, so each line is read whole: a line
// with the count of the other section is that section's line out of place,
// and reading on would shift every later value into the wrong field.
class RecordLines {
 public:
  RecordLines(std::FILE *f, int firstLine) : f_(f), line_(firstLine - 1) {}

  // The next line that is not blank, split into its numbers; a field that
  // is not a finite number refuses the line. False at the end of the file.
  bool next() {
    for (;;) {
      ++line_;
      text_.clear();
      int c;
      while ((c = std::fgetc(f_)) != EOF && c != '\n') text_.push_back(static_cast<char>(c));
      if (c == EOF && text_.empty()) return false;
      split();
      if (!values_.empty()) return true;
    }
  }
  int line() const { return line_; }
  std::size_t count() const { return values_.size(); }
  double value(std::size_t n) const { return values_[n]; }
  // A field that must be a whole number, as the writer's "%d" gives it.
  int integer(std::size_t n) const {
    const double v = values_[n];
    if (v != std::floor(v) || std::fabs(v) > 2e9) badLine(line_);
    return static_cast<int>(v);
  }

 private:
  void split() {
    values_.clear();
    const char *p = text_.c_str();
    for (;;) {
      while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\v' || *p == '\f') ++p;
      if (*p == '\0') return;
      char *end = nullptr;
      const double v = std::strtod(p, &end);
      if (end == p || !std::isfinite(v) || (*end != '\0' && !std::isspace(static_cast<unsigned char>(*end)))) {
        badLine(line_);
      }
      values_.push_back(v);
      p = end;
    }
  }

  std::FILE *f_;
  int line_;
  std::string text_;
  std::vector<double> values_;
};

// The numbers of a bed-cell line: number, bottom cell, roughness twice and
// bed-form height, then lnumber + 1 values per layer stored.
std::size_t bedCellNumbers(char letter, bool multi) {
  const int layers = multi ? NoBedLayers : (letter == 'H' ? 1 : 2);
  return 5 + static_cast<std::size_t>(layers) * static_cast<std::size_t>(lnumber + 1);
}

// A level of the grid or the bed planes beyond any river refuses the line.
void checkLevel(int line, double level) {
  if (std::fabs(level) <= kMaxLevelMagnitude) return;
  char why[96];
  std::snprintf(why, sizeof why, "level %g is beyond %g m", level, kMaxLevelMagnitude);
  badLine(line, why);
}

void checkSizes(int nx, int ny, int nz, int nl) {
  if (nx == xnumber && ny == ynumber && nz == znumber && nl == lnumber) return;
  logText("Error in reading bedres file: array size is not correct\n");
  if (nx != xnumber) logPrintf("Number of bedres grid lines in i direction is %d, and in control file %d.\n", nx, xnumber);
  if (ny != ynumber) logPrintf("Number of bedres grid lines in j direction is %d, and in control file %d.\n", ny, ynumber);
  if (nz != znumber) logPrintf("Number of bedres grid lines in k direction is %d, and in control file %d.\n", nz, znumber);
  if (nl != lnumber) logPrintf("Number of bedres sediment sizes is %d, and in control file %d.\n", nl, lnumber);
  fatalExit(kExitCannotOpen, nullptr);
}

// The grid-point lines of one block; the i and j of a line place its values
// and the reading goes on from there. A line of bed-cell length here is a
// bed-cell line among the grid points.
void readBlockPoints(RecordLines &in, const GridBlock &b, std::size_t bedCellLength) {
  int i = b.i1 - 1, j = b.j1 - 1;
  while (i <= b.i2) {
    if (!in.next()) badLine(in.line());
    const int line = in.line();
    if (in.count() != kPointNumbers) {
      if (in.count() == bedCellLength) badLine(line, "a bed-cell line among the grid-point lines");
      badLine(line);
    }
    const int li = in.integer(0), lj = in.integer(1);
    if (li < b.i1 - 1 || li > b.i2 || lj < b.j1 - 1 || lj > b.j2) badLine(line);
    for (std::size_t n = 3; n < kPointNumbers; ++n) checkLevel(line, in.value(n));
    i = li;
    j = lj;
    zval[i][j][0] = in.value(2);
    zval[i][j][1] = in.value(3);
    zval[i][j][znumber] = in.value(4);
    Surfaces[3][i][j] = in.value(5);
    Surfaces[1][i][j] = in.value(6);
    if (++j > b.j2) {
      j = b.j1 - 1;
      ++i;
    }
  }
}

void readLayer(const RecordLines &in, std::size_t &n, int layer, int b) {
  for (int k = 0; k <= lnumber; ++k) BSedDistrib[layer][k][b] = in.value(n++);
}

// The bed-cell lines, one per bed cell of the regenerated grid. A line of
// grid-point length here is a grid point among the bed cells.
void readBedCells(RecordLines &in, char letter) {
  const bool multi = multiLayerBed();
  const std::size_t length = bedCellNumbers(letter, multi);
  for (int b = 1; b <= NoBCells; ++b) {
    if (!in.next()) badLine(in.line());
    const int line = in.line();
    if (in.count() != length) {
      if (in.count() == kPointNumbers) badLine(line, "a grid-point line among the bed-cell lines");
      badLine(line);
    }
    const int bottom = in.integer(1);
    if (bottom < 0 || bottom > NoCells) badLine(line);
    Bcellt[b] = bottom;
    Broughness[b] = in.value(2);
    Croughness[bottom] = in.value(3);
    Bedformheight[b] = in.value(4);
    std::size_t n = 5;
    if (multi) {
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) readLayer(in, n, layer, b);
    } else {
      readLayer(in, n, 1, b);
      if (letter != 'H') readLayer(in, n, 0, b);
    }
  }
}

}  // namespace

std::string bedResultFileName() {
  char fixed[64], base[64];
  if (FlagMPI != 0) {
    std::snprintf(fixed, sizeof fixed, "bedres.mpi%d.t", FlagMPI);
    std::snprintf(base, sizeof base, "bedres.mpi%d.", FlagMPI);
  } else {
    std::snprintf(fixed, sizeof fixed, "bedres.t");
    std::snprintf(base, sizeof base, "bedres.");
  }
  if (PrintRes == 0 && PrintResAlways == 0) return fixed;
  return seriesName(base, firstFreeSeriesNumber(base, kBedresDigits, ""), kBedresDigits, "");
}

void print_bedres() {
  const std::string name = bedResultFileName();
  std::FILE *f = std::fopen(name.c_str(), "w");
  if (!f) endCannotOpen(name.c_str());
  std::fprintf(f, "Results from TELVA 2, iter = %d\n", Iter);
  std::fprintf(f, "K %d %d %d %d %d %22.17lf %d\n", xnumber, ynumber, znumber, lnumber, NoBCells, MaxDepth, NoCells);
  for (int n = 1; n <= NoBlocks; ++n) {
    const GridBlock &b = block[n];
    if (!storedBlock(b)) continue;
    for (int i = b.i1 - 1; i <= b.i2; ++i) {
      for (int j = b.j1 - 1; j <= b.j2; ++j) {
        std::fprintf(f, "%d %d %6.1lf %20.14lf %20.14lf %lf %lf\n", i, j, zval[i][j][0], zval[i][j][1],
                     zval[i][j][znumber], Surfaces[3][i][j], Surfaces[1][i][j]);
      }
    }
  }
  const bool multi = multiLayerBed();
  for (int b = 1; b <= NoBCells; ++b) {
    const int bottom = Bcellt[b];
    std::fprintf(f, "%d %d %lf %lf %lf ", b, bottom, Broughness[b], Croughness[bottom], Bedformheight[b]);
    if (multi) {
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) writeLayer(f, layer, b);
    } else {
      writeLayer(f, 1, b);
      writeLayer(f, 0, b);
    }
    std::fputc('\n', f);
  }
  closeWrittenFile(f, name.c_str());
}

void readBedres() {
  char name[64];
  if (FlagMPI != 0) {
    std::snprintf(name, sizeof name, "bedres.mpi%d", FlagMPI);
  } else {
    std::snprintf(name, sizeof name, "bedres");
  }
  std::FILE *f = openOptionalInputFile(name);
  if (!f) {
    logText("Have not used 'bedres' file\n");
    return;
  }
  int iteration;
  if (std::fscanf(f, "Results from TELVA 2, iter = %d ", &iteration) != 1) badLine(1);
  char letter;
  int nx, ny, nz, nl, bedCells, cells;
  double depth;
  if (std::fscanf(f, "%c %d %d %d %d %d %lf %d ", &letter, &nx, &ny, &nz, &nl, &bedCells, &depth, &cells) != 8 ||
      (letter != 'K' && letter != 'H') || !std::isfinite(depth)) {
    badLine(2);
  }
  MaxDepth = depth;
  checkSizes(nx, ny, nz, nl);
  RecordLines in(f, 3);
  const std::size_t bedCellLength = bedCellNumbers(letter, multiLayerBed());
  for (int n = 1; n <= NoBlocks; ++n) {
    if (storedBlock(block[n])) readBlockPoints(in, block[n], bedCellLength);
  }
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  readBedCells(in, letter);
  std::fclose(f);
}
