// Writing and reading the bed result file. The grid-point lines carry the
// levels that the grid is regenerated on; the bed-cell lines the roughness
// and the thickness and grain fractions of each bed layer, top layer first.
#include "files/restart/bed_result_file.h"

#include <cmath>
#include <cstdio>

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

// Reads count doubles with the format "%lf " each; all must be finite.
void readValues(std::FILE *f, double *values, int count, int line) {
  for (int n = 0; n < count; ++n) {
    if (std::fscanf(f, "%lf ", &values[n]) != 1 || !std::isfinite(values[n])) badLine(line);
  }
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
// and the reading goes on from there. Returns the next line number.
int readBlockPoints(std::FILE *f, const GridBlock &b, int line) {
  int i = b.i1 - 1, j = b.j1 - 1;
  while (i <= b.i2) {
    int li, lj;
    double v[5];
    if (std::fscanf(f, "%d %d ", &li, &lj) != 2) badLine(line);
    if (li < b.i1 - 1 || li > b.i2 || lj < b.j1 - 1 || lj > b.j2) badLine(line);
    readValues(f, v, 5, line);
    i = li;
    j = lj;
    zval[i][j][0] = v[0];
    zval[i][j][1] = v[1];
    zval[i][j][znumber] = v[2];
    Surfaces[3][i][j] = v[3];
    Surfaces[1][i][j] = v[4];
    ++line;
    if (++j > b.j2) {
      j = b.j1 - 1;
      ++i;
    }
  }
  return line;
}

void readLayer(std::FILE *f, int layer, int b, int line) {
  for (int k = 0; k <= lnumber; ++k) readValues(f, &BSedDistrib[layer][k][b], 1, line);
}

void readBedCells(std::FILE *f, char letter, int line) {
  for (int b = 1; b <= NoBCells; ++b, ++line) {
    int number, bottom;
    double v[3];
    if (std::fscanf(f, "%d %d", &number, &bottom) != 2 || bottom < 0 || bottom > NoCells) badLine(line);
    readValues(f, v, 3, line);
    Bcellt[b] = bottom;
    Broughness[b] = v[0];
    Croughness[bottom] = v[1];
    Bedformheight[b] = v[2];
    if (multiLayerBed()) {
      for (int layer = NoBedLayers - 1; layer >= 0; --layer) readLayer(f, layer, b, line);
    } else {
      readLayer(f, 1, b, line);
      if (letter != 'H') readLayer(f, 0, b, line);
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
  int line = 3;
  for (int n = 1; n <= NoBlocks; ++n) {
    if (storedBlock(block[n])) line = readBlockPoints(f, block[n], line);
  }
  endOnGridFailure(Unstructure());
  metric();
  BedMake();
  readBedCells(f, letter, line);
  std::fclose(f);
}
